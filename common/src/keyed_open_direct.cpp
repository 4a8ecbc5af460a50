// Opening a keyed catalogue file straight from a CD, described by the
// built-in descriptor table instead of a master file.
#include <cstdio>
#include <cstring>

#include "keyed_handle.h"
#include "pxall/cdrom.h"
#include "pxall/paths.h"

namespace pxall {

namespace {

namespace kl = keyed;

int fail(int* detail, int d) {
    set_detail(detail, d);
    return 128;
}

// The descriptor row of a file among the data set's files or a catalogue's.
int find_row(const char* name, bool catalog, int key_set) {
    int first = catalog ? kl::kCatalogFirst : kl::kRootFirst;
    int count = catalog ? kl::kCatalogCount : kl::kRootCount;
    for (int i = first; i < first + count; ++i) {
        const kl::FileDesc& d = kl::file_table()[i];
        if (std::strncmp(d.name, name, kl::kNameSize) != 0) continue;
        if (d.key_sets > 1 && d.file_id != key_set) continue;
        return i;
    }
    return -1;
}

int cd_path(const char* catalog, const char* file, int drive, char* path) {
    std::memset(path, 0, kPathSize);
    if (catalog != nullptr && catalog[0] != 0)
        std::snprintf(path, kPathSize, kl::kCdCatalogFileFormat, catalog, file);
    else
        std::snprintf(path, kPathSize, kl::kCdFileFormat, file);
    return get_path_name(kPathCdDrive, drive, path);
}

}  // namespace

int cdopen_direct(const char* name, const char* catalog, int key_set, int drive, int direction, const char* cd_id,
                  const char* cd_no, const char* cd_date, int32_t file_len, int32_t file_offset, int read_mode,
                  CdHandle** out, int* detail) {
    set_detail(detail, 0);
    if (out != nullptr) *out = nullptr;
    if (out == nullptr || name == nullptr || name[0] == 0) return fail(detail, cdd::kNoArgument);
    if (cd_id == nullptr || static_cast<unsigned char>(cd_id[0]) <= ' ') return fail(detail, cdd::kNoCdId);
    bool in_catalog = catalog != nullptr && catalog[0] != 0;
    int row = find_row(name, in_catalog, key_set);
    if (row < 0) return fail(detail, cdd::kNoEntry);

    int found = -1;
    int r = cdset_cd(drive, cd_id, cd_no, cd_date, &found, nullptr, nullptr, direction, detail);
    if (r != 0) return r;

    CdHandle* h = new_handle();
    if (h == nullptr) {
        set_detail(detail, cdd::kNoMemHandle);
        return 20;
    }
    const kl::FileDesc& d = kl::file_table()[row];
    std::memcpy(h->name, d.name, strnlen(d.name, kl::kNameSize));
    h->file_id = d.file_id;
    h->mask = d.mask;
    h->key_len = d.key_len;
    h->key_off = d.key_off;
    h->rec_len = d.rec_len;
    h->secondary = d.multi_key != 0 && d.file_id > 1;
    h->read_mode = read_mode;
    h->direction = direction;
    h->drive = found;

    FileSlot& data = h->slot[kDataSlot];
    data.mask = d.mask;
    data.key_len = d.key_len;
    data.rec_len = d.rec_len;
    data.loc = kl::kOnCd;
    if (file_len > 0 && file_offset >= 0) {
        data.first = file_offset;
        data.blocks = file_len;
    } else {
        r = cdfile_get(name, catalog, found, detail, &data.blocks);
        if (r != 0) {
            free_handle(h, nullptr);
            return r;
        }
    }
    // A data file's index levels are the files IA1, IA2, IA3 present on the CD.
    int base = in_catalog ? kl::kCatalogFirst : kl::kRootFirst;
    bool data_row = (row - base) % kl::kGroupRows == kl::kGroupRows - 1;
    if (data_row && d.key_len > 0) {
        for (int k = 0; k < kl::kMaxLevels; ++k) {
            const kl::FileDesc& x = kl::file_table()[row - kl::kMaxLevels + k];
            if (x.rec_len != kl::index_rec_len(x.key_len) || x.key_len < 1) break;
            int32_t blocks = 0;
            int d2 = 0;
            if (cdfile_get(x.name, catalog, found, &d2, &blocks) != 0 || blocks == 0) break;
            FileSlot& s = h->slot[k];
            s.blocks = blocks;
            s.mask = x.mask;
            s.key_len = x.key_len;
            s.rec_len = x.rec_len;
            s.loc = kl::kOnCd;
            h->levels = k + 1;
        }
        if (h->levels > 0) {
            h->idx_key_len = h->slot[0].key_len;
            h->idx_rec_len = h->slot[0].rec_len;
        }
    }
    if (!alloc_buffers(h)) {
        free_handle(h, nullptr);
        set_detail(detail, cdd::kNoMemData);
        return 20;
    }
    for (int k = 0; k <= kDataSlot; ++k) {
        FileSlot& s = h->slot[k];
        if (s.blocks == 0 || (k < kDataSlot && k >= h->levels)) continue;
        const char* file = k == kDataSlot ? h->name : kl::file_table()[row - kl::kMaxLevels + k].name;
        char path[kPathSize];
        if (cd_path(catalog, file, found, path) != 0) {
            free_handle(h, nullptr);
            return fail(detail, k == kDataSlot ? cdd::kDataPath : cdd::kIndexPath);
        }
        r = open_container(path, &s.fd, detail);
        if (r != 0) {
            free_handle(h, nullptr);
            return r;
        }
        s.own_fd = true;
    }
    measure_slots(h);
    *out = h;
    return 0;
}

}  // namespace pxall
