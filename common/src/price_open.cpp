// Opening, rewinding and closing a keyed price file through its master.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "keyed_handle.h"
#include "pxall/commit_files.h"
#include "pxall/fdtable.h"
#include "pxall/hinban.h"
#include "pxall/paths.h"
#include "pxall/price_file.h"
#include "pxall/price_layout.h"

namespace pxall {

namespace {

namespace pl = price;

uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint32_t u16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

// "KAKAKU  D " -> "KAKAKU.D": the first 10 characters of an entry's id.
void file_name(const uint8_t* entry, char* path) {
    char buf[14] = {};
    std::memcpy(buf, entry + pl::pment::kId, 10);
    buf[10] = ' ';
    edit_filename(buf);
    std::memset(path, 0, kPathSize);
    std::snprintf(path, kPathSize, "%s", buf);
}

int read_master(int mode, uint8_t* m, int* detail) {
    char path[kPathSize] = {};
    std::snprintf(path, sizeof path, "%s", mode == 2 ? pl::kPriceMaster : pl::kLocalMaster);
    if (get_path_name(mode, -1, path) != 0) {
        set_detail(detail, prd::kMasterPath);
        return 128;
    }
    // A price import a kill interrupted is finished (or undone) first; one
    // that cannot be finished leaves no files to read as a set.
    int32_t err = 0;
    if (settle_commit(path, &err) != 0) {
        set_detail(detail, err);
        return 13;
    }
    int fd = -1;
    int r = open_container(path, &fd, detail);
    if (r != 0) return r;
    ssize_t n = ::pread(fd, m, pl::kMasterSize, 0);
    int e = errno;
    close2(fd);
    if (n != pl::kMasterSize) {
        set_detail(detail, n < 0 ? e : 0);
        return 14;
    }
    return 0;
}

// The handle's fields from the four entries; false when they cannot be true.
bool fill(CdHandle* h, const uint8_t* m) {
    const uint8_t* d = m + pl::kDataEntry * pl::pment::kSize;
    const uint8_t* l3 = m + 2 * pl::pment::kSize;
    h->form = IndexForm::kBinary;
    h->block_size = static_cast<int32_t>(u16(d + pl::pment::kBlockSize));
    h->mask = d[pl::pment::kMask];
    h->key_len = d[pl::pment::kKeyLen];
    h->key_off = d[pl::pment::kKeyOff];
    h->file_id = d[pl::pment::kFileNo];
    h->rec_len = static_cast<int32_t>(u16(d + pl::pment::kRecLen));
    h->levels = d[pl::pment::kLevels];
    // The index levels take their key and entry length from the third entry.
    h->idx_key_len = l3[pl::pment::kKeyLen];
    h->idx_rec_len = static_cast<int32_t>(u16(l3 + pl::pment::kRecLen));
    if (h->block_size < 1 || h->rec_len < 1 || h->rec_len > h->block_size || h->key_len < 1 ||
        h->key_len > keyed::kMaxKey || h->key_off + h->key_len > h->rec_len || h->levels > keyed::kMaxLevels)
        return false;
    if (h->levels > 0 && (h->idx_key_len != pl::kKeySize || h->idx_rec_len != pl::kIndexEntrySize ||
                          h->idx_rec_len > h->block_size))
        return false;
    for (int k = 0; k <= kDataSlot; ++k) {
        if (k < kDataSlot && k >= h->levels) continue;
        const uint8_t* e = m + k * pl::pment::kSize;
        uint32_t first = u32(e + pl::pment::kFirstBlock), blocks = u32(e + pl::pment::kBlocks);
        if (blocks > 0x7fffffffu || first > 0x7fffffffu - blocks) return false;
        FileSlot& s = h->slot[k];
        s.first = static_cast<int32_t>(first);
        s.blocks = static_cast<int32_t>(blocks);
        s.mask = e[pl::pment::kMask];
        s.loc = e[pl::pment::kClass];
        s.key_len = k == kDataSlot ? h->key_len : h->idx_key_len;
        s.rec_len = k == kDataSlot ? h->rec_len : h->idx_rec_len;
    }
    return true;
}

}  // namespace

int hdopen(const char* id, int mode, CdHandle** out, int* detail) {
    set_detail(detail, 0);
    if (out == nullptr || id == nullptr) return 128;
    *out = nullptr;
    if (mode != 2 && mode != 3) {
        set_detail(detail, prd::kBadMode);
        return 128;
    }
    uint8_t m[pl::kMasterSize];
    int r = read_master(mode, m, detail);
    if (r != 0) return r;
    const uint8_t* d = m + pl::kDataEntry * pl::pment::kSize;
    if (std::memcmp(d + pl::pment::kId, id, pl::kIdSize) != 0 || u32(d + pl::pment::kBlocks) == 0) return -1;

    CdHandle* h = new_handle();
    if (h == nullptr) return 20;
    h->kind = std::memcmp(id, pl::kKakakuId, pl::kIdSize) == 0   ? kKakakuFile
              : std::memcmp(id, pl::kPrice3Id, pl::kIdSize) == 0 ? kPrice3File
                                                                 : kLocalFile;
    std::memcpy(h->name, id, keyed::kNameSize);
    if (!fill(h, m)) {
        free_handle(h, nullptr);
        set_detail(detail, cdd::kBadMasterEntry);
        return 128;
    }
    if (!alloc_buffers(h)) {
        free_handle(h, nullptr);
        return 20;
    }
    char path[kPathSize];
    file_name(d, path);
    if (get_path_name(mode, -1, path) != 0) {
        free_handle(h, nullptr);
        set_detail(detail, prd::kMasterPath);
        return 128;
    }
    r = open_container(path, &h->slot[kDataSlot].fd, detail);
    if (r == 0) {
        h->slot[kDataSlot].own_fd = true;
        if (h->levels > 0) {
            file_name(m, path);
            if (get_path_name(mode, -1, path) != 0) {
                set_detail(detail, prd::kMasterPath);
                r = 128;
            } else {
                r = open_container(path, &h->slot[0].fd, detail);
            }
            if (r == 0) {
                h->slot[0].own_fd = true;
                for (int k = 1; k < h->levels; ++k) h->slot[k].fd = h->slot[0].fd;
            }
        }
    }
    if (r != 0) {
        free_handle(h, nullptr);
        return r;
    }
    measure_slots(h);
    *out = h;
    return 0;
}

int hdropen(CdHandle* h) {
    if (h == nullptr) return 128;
    reset_search(h);
    return 0;
}

int hdclose(CdHandle** h) {
    if (h == nullptr || *h == nullptr) return 0;
    free_handle(*h, nullptr);
    *h = nullptr;
    return 0;
}

int hdread(void* rec, const char* key, int key_len, CdHandle* h, int* detail) {
    return cdread(rec, key, key_len, 0, nullptr, nullptr, h, detail);
}

int hd_search_index(CdHandle* h, int* detail) { return cdread_search_index(h, detail); }

int hd_search_data(void* rec, CdHandle* h, int* detail) {
    return cdread_search_data(rec, 0, nullptr, nullptr, h, detail);
}

}  // namespace pxall
