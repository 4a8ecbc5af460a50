// Opening a keyed catalogue file through the master files of an installed
// data set: the root master, a catalogue's master, or the frame-number master.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "keyed_handle.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/fdtable.h"
#include "pxall/paths.h"

namespace pxall {

namespace {

namespace kl = keyed;

// A root master is 72 entries; anything far beyond that is not one.
constexpr size_t kMasterReadLimit = 64 * 1024;
// The first data entry with index levels: after the header and three levels.
constexpr size_t kLevelEntriesAt = kl::mhdr::kSize + kl::kMaxLevels * kl::ment::kSize;

struct Request {
    const char* name;
    const char* catalog;  // null or empty: the data set's own files
    int key_set;
    int read_mode;
    int drive;
    int setup;
    int option;
    int master_kind;      // path kind of the master and of location-1 files
    const char* master;   // file name of the master (root or frame)
};

int fail(int* detail, int d) {
    set_detail(detail, d);
    return 128;
}

bool has_catalog(const char* c) { return c != nullptr && c[0] != 0; }

uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint32_t u16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

int setup_count() {
    const unsigned char* top = get_ctop_addr();
    return top == nullptr ? 0 : get_i32(top + ctop::kSetupCount);
}

std::string master_name(const Request& q) {
    if (!has_catalog(q.catalog)) return q.master;
    char buf[32];
    std::snprintf(buf, sizeof buf, kl::kCatalogMasterFormat, q.catalog);
    return buf;
}

// Reads a master file: the root and frame masters whole, a catalogue master
// as its first block.
int read_master(const Request& q, int setup, std::vector<uint8_t>* out, int* detail) {
    char path[kPathSize] = {};
    std::string name = master_name(q);
    std::snprintf(path, sizeof path, "%s", name.c_str());
    if (get_path_name(q.master_kind, setup, path) != 0) return fail(detail, cdd::kPathTooLong);
    int fd = -1;
    int r = open_container(path, &fd, detail);
    if (r != 0) return r;
    size_t limit = has_catalog(q.catalog) ? static_cast<size_t>(kl::kCatalogMasterRead) : kMasterReadLimit;
    out->assign(limit, 0);
    size_t got = 0;
    while (got < limit) {
        ssize_t n = ::pread(fd, out->data() + got, limit - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            set_detail(detail, errno);
            close2(fd);
            return 14;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    close2(fd);
    out->resize(got);
    if (got < kl::mhdr::kSize) {
        set_detail(detail, 0);
        return 14;
    }
    return 0;
}

// The offset of the file's entry in the master, or 0 when none.
size_t find_entry(const std::vector<uint8_t>& m, const char* name, int key_set) {
    char want[kl::kNameSize] = {};
    std::memcpy(want, name, strnlen(name, kl::kNameSize));
    for (size_t at = kl::mhdr::kSize; at + kl::ment::kSize <= m.size(); at += kl::ment::kSize) {
        const uint8_t* e = &m[at];
        if (std::memcmp(e + kl::ment::kName, want, kl::kNameSize) != 0) continue;
        if (e[kl::ment::kKeySets] > 1 && e[kl::ment::kFileId] != key_set) continue;
        return at;
    }
    return 0;
}

// Fills the handle from the data entry at `at` and the three entries of its
// index levels before it, of which the first `levels` hold the file's levels;
// false when they cannot describe a readable file.
bool fill_handle(CdHandle* h, const std::vector<uint8_t>& m, size_t at) {
    const uint8_t* e = &m[at];
    int levels = e[kl::ment::kLevels];
    if (levels > kl::kMaxLevels || (levels > 0 && at < kLevelEntriesAt)) return false;
    std::memcpy(h->name, e + kl::ment::kName, kl::kNameSize);
    h->file_id = e[kl::ment::kFileId];
    h->mask = e[kl::ment::kMask];
    h->key_len = e[kl::ment::kKeyLen];
    h->key_off = e[kl::ment::kKeyOff];
    h->rec_len = static_cast<int32_t>(u16(e + kl::ment::kRecLen));
    h->secondary = e[kl::ment::kKeySets] > 1 && h->file_id > 1;
    h->levels = levels;
    for (int k = 0; k <= kl::kMaxLevels; ++k) {
        if (k < kl::kMaxLevels && k >= levels) continue;
        const uint8_t* x = k == kl::kMaxLevels ? e : e - static_cast<size_t>(kl::kMaxLevels - k) * kl::ment::kSize;
        FileSlot& s = h->slot[k];
        uint32_t first = u32(x + kl::ment::kFirstBlock), blocks = u32(x + kl::ment::kBlocks);
        if (blocks > 0x7fffffffu || first > 0x7fffffffu - blocks) return false;
        s.first = static_cast<int32_t>(first);
        s.blocks = static_cast<int32_t>(blocks);
        s.mask = x[kl::ment::kMask];
        s.key_len = x[kl::ment::kKeyLen];
        s.rec_len = static_cast<int32_t>(u16(x + kl::ment::kRecLen));
        s.loc = x[kl::ment::kLocation];
        if (s.blocks > 0 && s.loc > kl::kInMaster) return false;
    }
    if (h->key_len > kl::kMaxKey || h->rec_len > kl::kBlockSize) return false;
    if (h->key_len > 0 && h->rec_len > 0 && h->key_off + h->key_len > h->rec_len) return false;
    if (levels > 0) {
        h->idx_key_len = h->slot[0].key_len;
        h->idx_rec_len = h->slot[0].rec_len;
        if (h->key_len < 1) return false;
        for (int k = 0; k < levels; ++k) {
            const FileSlot& s = h->slot[k];
            if (s.key_len < 1 || s.key_len > kl::kMaxKey || s.rec_len != kl::index_rec_len(s.key_len)) return false;
        }
    }
    return true;
}

// Opens every slot that holds blocks; containers shared where the layout
// shares them.
int open_slots(CdHandle* h, const Request& q, const uint8_t* level1_name, int* detail) {
    int master_fd = -1, disk_index_fd = -1;
    for (int k = 0; k <= kDataSlot; ++k) {
        FileSlot& s = h->slot[k];
        if (s.blocks == 0 || (k < kDataSlot && k >= h->levels)) continue;
        char path[kPathSize] = {};
        int kind = q.master_kind, entry = h->setup_index;
        int* shared = nullptr;
        if (s.loc == kl::kInMaster) {
            std::snprintf(path, sizeof path, "%s", master_name(q).c_str());
            shared = &master_fd;
        } else if (s.loc == kl::kOnDisk && k < kDataSlot) {
            std::snprintf(path, sizeof path, "%.*s", kl::kDiskIndexNameSize, reinterpret_cast<const char*>(level1_name));
            shared = &disk_index_fd;
        } else if (s.loc == kl::kOnDisk) {
            std::snprintf(path, sizeof path, "%.10s", h->name);
        } else {
            // On a CD every level is a file of its own name.
            const uint8_t* src = k == kDataSlot ? reinterpret_cast<const uint8_t*>(h->name)
                                                : level1_name + static_cast<size_t>(k) * kl::ment::kSize;
            char file[kl::kNameSize + 1] = {};
            std::memcpy(file, src, kl::kNameSize);
            if (has_catalog(q.catalog))
                std::snprintf(path, sizeof path, kl::kCdCatalogFileFormat, q.catalog, file);
            else
                std::snprintf(path, sizeof path, kl::kCdFileFormat, file);
            kind = kPathCdDrive;
            entry = h->drive;
        }
        if (shared != nullptr && *shared >= 0) {
            s.fd = *shared;
            continue;
        }
        if (get_path_name(kind, entry, path) != 0) return fail(detail, cdd::kPathTooLong);
        int r = open_container(path, &s.fd, detail);
        if (r != 0) return r;
        s.own_fd = true;
        if (shared != nullptr) *shared = s.fd;
    }
    return 0;
}

int open_via_master(const Request& q, CdHandle** out, int* detail) {
    set_detail(detail, 0);
    if (out != nullptr) *out = nullptr;
    if (out == nullptr || q.name == nullptr || q.name[0] == 0) return fail(detail, cdd::kNoArgument);
    int count = setup_count();
    int setup = q.setup;
    if (setup < 0 || setup >= count || setup >= ctop::kMaxSetup) return fail(detail, cdd::kNoDataSet);

    std::vector<uint8_t> m;
    size_t at = 0;
    bool moved = false;
    for (int pass = 0;; ++pass) {
        int r = read_master(q, setup, &m, detail);
        if (r != 0) return r;
        const uint8_t* hdr = m.data();
        if (pass == 0 && !has_catalog(q.catalog) && hdr[kl::mhdr::kOwnDir] != 0 &&
            std::memcmp(hdr + kl::mhdr::kOwnDir, hdr + kl::mhdr::kDirName, 2) != 0) {
            if (count < 1) return fail(detail, cdd::kNoDataSet);
            setup = 0;
            r = read_master(q, setup, &m, detail);
            if (r != 0) return r;
        }
        at = find_entry(m, q.name, q.key_set);
        if (at == 0) return fail(detail, cdd::kNoEntry);
        const uint8_t* ds = &m[at + kl::ment::kDataSet];
        const unsigned char* own = setup_entry_addr(setup);
        if (ds[0] == 0 || own == nullptr || std::memcmp(ds, own + setup_entry::kName, 2) == 0) break;
        // The file lies in the first data set of the area named there; a
        // second move would never end.
        if (moved) return fail(detail, cdd::kNoDataSet);
        int to = setuped_top_cdno(static_cast<char>(ds[0]));
        if (to < 0) return fail(detail, cdd::kNoDataSet);
        setup = to;
        moved = true;
    }

    CdHandle* h = new_handle();
    if (h == nullptr) {
        set_detail(detail, 0);
        return 20;
    }
    h->read_mode = q.read_mode;
    h->setup_index = setup;
    if (!fill_handle(h, m, at)) {
        free_handle(h, nullptr);
        return fail(detail, cdd::kBadMasterEntry);
    }
    const uint8_t* level1 = h->levels > 0 ? &m[at - kl::kMaxLevels * kl::ment::kSize] : nullptr;
    int r = 0;
    if (h->slot[kDataSlot].blocks > 0) {
        bool on_cd = false;
        for (int k = 0; k <= kDataSlot; ++k)
            if ((k == kDataSlot || k < h->levels) && h->slot[k].blocks > 0 && h->slot[k].loc == kl::kOnCd) on_cd = true;
        if (on_cd) {
            const unsigned char* e = setup_entry_addr(setup);
            char id[3] = {char(e[0]), char(e[1]), 0}, no[3] = {char(e[2]), char(e[3]), 0}, date[9] = {};
            std::memcpy(date, e + setup_entry::kCdDate, 8);
            r = cdset_cd(q.drive, id, no, date, &h->drive, nullptr, nullptr, q.option, detail);
        }
        if (r == 0 && alloc_buffers(h) == false) {
            set_detail(detail, 0);
            r = 20;
        }
        if (r == 0) r = open_slots(h, q, level1, detail);
    }
    if (r != 0) {
        free_handle(h, nullptr);
        return r;
    }
    measure_slots(h);
    *out = h;
    return 0;
}

}  // namespace

int cdopen(const char* name, const char* catalog, int key_set, int read_mode, int drive, int setup_index,
           int cd_option, CdHandle** out, int* detail) {
    Request q{name, catalog, key_set, read_mode, drive, setup_index, cd_option, kPathMaster, kl::kRootMaster};
    return open_via_master(q, out, detail);
}

int fcdopen(const char* name, int key_set, int read_mode, int drive, int setup_index, int option, CdHandle** out,
            int* detail) {
    const unsigned char* top = get_ctop_addr();
    int kind = (top != nullptr && get_i32(top + ctop::kAreaIndex) == 3) ? kPathFrameJapan : kPathFrameWorld;
    Request q{name, nullptr, key_set, read_mode, drive, setup_index, option, kind, kl::kFrameMaster};
    return open_via_master(q, out, detail);
}

}  // namespace pxall
