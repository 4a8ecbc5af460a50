// The master files of an installed data set (layout in
// pxall/keyed_layout.h, shared with the common library's reader and the
// data-set builder): the root master PXROOTMF.MST with the separate files
// it places on disk, one catalogue master PX<cat6>.MST per catalogue
// directory of the CD with the files it holds, and the frame-number master
// PXFRNOMF.MST. Entries are filled from the one descriptor table.
#include <algorithm>
#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/space.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/dataset_folder.h"
#include "pxall/dates.h"
#include "pxall/errlog.h"
#include "pxall/fileutil.h"
#include "pxall/keyed_layout.h"
#include "pxall/paths.h"
#include "pxall/setup_scan.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace kl = pxall::keyed;

constexpr const char* kModule = "PXSTUP11";
// The CD file is read in pieces of whole blocks; a large piece keeps the
// copy as fast as a plain file copy.
constexpr int kCopyBlocks = 128;
constexpr int kMaxCdDirs = 100;
constexpr int kCdDirNameKept = 8;
constexpr int kCatalogName = 6;

enum class Master { kRoot, kCatalog, kFrame };

struct Entry {
    int row = 0;
    uint8_t loc = 0;
    int32_t first = 0;
    int32_t blocks = 0;
    char dir[2] = {0, 0};
    uint8_t level = 0;
};
using Group = Entry[kl::kGroupRows];

const kl::FileDesc& row(int i) { return kl::file_table()[i]; }

void log(const char* function, const std::string& step, int code, int place) {
    pxall::syerr_message(kModule, function, step.c_str(), code, run().syserr, place);
}

// Where an entry's file is read from, by master and install kind.
uint8_t location(Master m, const kl::FileDesc& d, char kind, const std::string& lang) {
    uint8_t cls = d.loc_class;
    if (cls == 9) return std::memcmp(d.name + 4, lang.data(), 2) == 0 ? uint8_t{kl::kOnDisk} : uint8_t{kl::kOnCd};
    if (kind != '1') return cls;
    switch (m) {
        case Master::kRoot: return kl::kOnDisk;
        case Master::kCatalog: return cls == kl::kOnCd ? uint8_t{kl::kInMaster} : cls;
        case Master::kFrame: return cls == kl::kOnCd ? uint8_t{kl::kOnDisk} : cls;
    }
    return cls;
}

void put_u32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t get_u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void put_entry(uint8_t* e, const Entry& s) {
    const kl::FileDesc& d = row(s.row);
    std::memset(e, 0, kl::ment::kSize);
    std::memcpy(e + kl::ment::kName, d.name, strnlen(d.name, kl::kNameSize));
    e[kl::ment::kFileId] = d.file_id;
    e[kl::ment::kMask] = d.mask;
    e[kl::ment::kKeyLen] = static_cast<uint8_t>(d.key_len);
    e[kl::ment::kKeyOff] = static_cast<uint8_t>(d.key_off);
    e[kl::ment::kKeySets] = static_cast<uint8_t>(d.key_sets);
    put_u32(e + kl::ment::kFirstBlock, static_cast<uint32_t>(s.first));
    put_u32(e + kl::ment::kBlocks, static_cast<uint32_t>(s.blocks));
    e[kl::ment::kRecLen] = static_cast<uint8_t>(d.rec_len & 0xff);
    e[kl::ment::kRecLen + 1] = static_cast<uint8_t>((d.rec_len >> 8) & 0xff);
    e[kl::ment::kLevels] = s.level;
    e[kl::ment::kLocation] = s.loc;
    if (s.loc != kl::kOnCd) std::memcpy(e + kl::ment::kDataSet, s.dir, 2);
}

void put_header(uint8_t* h, const CdWork& w, bool catalog) {
    std::memset(h, 0, kl::mhdr::kSize);
    std::memcpy(h + kl::mhdr::kCdDate, w.issue, 8);
    pxall::date2(reinterpret_cast<char*>(h + kl::mhdr::kSetupDate));
    pxall::time2(reinterpret_cast<char*>(h + kl::mhdr::kSetupTime));
    std::memcpy(h + kl::mhdr::kDirName, w.name, 2);
    std::memcpy(h + kl::mhdr::kCdNo, w.code, 2);
    h[kl::mhdr::kLangDigit] = static_cast<uint8_t>(data_lang()[1]);
    if (catalog) std::memcpy(h + kl::mhdr::kOwnDir, w.name, 2);
}

// The length in blocks of a file on the current CD; 0 when it is absent.
int32_t cd_blocks(const char* name, const char* catalog) {
    int32_t blocks = 0;
    int detail = 0;
    if (pxall::cdfile_get(name, catalog, run().cd_drive, &detail, &blocks) != 0) return 0;
    return blocks;
}

// The data files a CD must carry for the data set its kind makes: without
// one the set would stand as installed with a file of size 0. "nn" is the
// data language. A later master-files-only CD of an area reads the shared
// files from the first CD's set and carries only its own illustrations.
enum class CdKind { kCatalogue, kSharedCatalogue, kFrame };
struct NeededFiles {
    CdKind kind;
    const char* files[8];
};
constexpr NeededFiles kNeededFiles[] = {
    {CdKind::kCatalogue,
     {"SHAMEI.DAT", "JOUHOU.DAT", "FRAMNO.DAT", "RYAKUG.DAT", "FIGMnn.DAT", "HINMnn.DAT", "FIGIND.DAT", "IMAGEF.DAT"}},
    {CdKind::kSharedCatalogue, {"FIGIND.DAT", "IMAGEF.DAT"}},
    {CdKind::kFrame, {"FRKATA.DAT"}},
};

// 0 when the current CD carries every data file of its kind, else 11 logged
// with the first missing name; nothing is written before.
int check_cd_files(CdKind kind, const char* function, int place) {
    const std::string lang = data_lang();
    for (const NeededFiles& needed : kNeededFiles) {
        if (needed.kind != kind) continue;
        for (const char* file : needed.files) {
            if (file == nullptr) break;
            std::string name = file;
            if (size_t at = name.find("nn"); at != std::string::npos) name.replace(at, 2, lang);
            if (cd_blocks(name.c_str(), nullptr) > 0) continue;
            run().syserr = ENOENT;
            log(function, name, 11, place);
            return 11;
        }
    }
    return 0;
}

// The data entry's level count and the start blocks of separate index
// levels, which follow one another in one file.
void finish_group(Group& g) {
    int32_t s1 = g[0].blocks, s2 = g[1].blocks, s3 = g[2].blocks;
    for (int i = 0; i < 3; ++i) g[i].level = static_cast<uint8_t>(row(g[i].row).level);
    g[3].level = s1 == 0 ? 0 : s2 == 0 ? 1 : s3 == 0 ? 2 : 3;
    if (g[0].loc == kl::kOnDisk) g[0].first = 0;
    if (g[3].loc == kl::kOnDisk) g[3].first = 0;
    if (g[1].loc == kl::kOnDisk) g[1].first = s1;
    if (g[2].loc == kl::kOnDisk) g[2].first = s1 + s2;
}

// Opens a file of the current CD for reading: its root, or a catalogue's
// directory.
std::FILE* open_cd_file(const char* name, const char* catalog) {
    char path[pxall::kPathSize] = {};
    if (catalog != nullptr && catalog[0] != 0)
        std::snprintf(path, sizeof path, kl::kCdCatalogFileFormat, catalog, name);
    else
        std::snprintf(path, sizeof path, kl::kCdFileFormat, name);
    if (pxall::get_path_name(pxall::kPathCdDrive, run().cd_drive, path) != 0) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    return plat::fopen(path, "rb");
}

// Appends one CD file to an open disk file: 0, or 11 (CD open) or the
// copy's code.
int append_cd_file(const char* name, const char* catalog, int32_t blocks, std::FILE* dst, const std::string& dst_path) {
    std::FILE* src = open_cd_file(name, catalog);
    if (src == nullptr) {
        run().syserr = errno;
        return 11;
    }
    int r = stup_write_setup_file(src, dst, dst_path, blocks);
    std::fclose(src);
    return r;
}

// Closes a written file; false with errno when its data did not reach the
// disk.
bool close_written(std::FILE* fp) {
    errno = 0;
    if (std::fclose(fp) != 0) {
        if (errno == 0) errno = EIO;
        return false;
    }
    return true;
}

// 884 for a full disk, else 13 (logged).
int write_failure(const char* function, const std::string& step, int place) {
    if (run().syserr == ENOSPC) return kDiskFull;
    log(function, step, 13, place);
    return 13;
}

// A folder to build a data set in, empty: 0, or the error number (a
// leftover there that will not go is never built upon).
int fresh_dir(const std::string& dir) {
    std::string failed;
    if (int e = pxall::remove_folder(dir, &failed)) return e;
    return make_dirs(dir) ? 0 : plat::last_error();
}

}  // namespace

std::string building_dir(const std::string& base, const char* name) {
    return pxall::aside_of(join(base, std::string(name, 2)));
}

void remove_aside(const std::string& win_dir) {
    std::string failed;
    int e = pxall::remove_folder(win_dir, &failed);
    if (e == 0) return;
    run().syserr = e;
    pxall::syerr_message("PXSTUP10", "stup_cd_setup", failed.c_str(), pxall::kNotRemoved, e, 16);
    run().unremoved = true;
}

void drop_building(const std::string& base, const char* name) { remove_aside(building_dir(base, name)); }

int drop_set(const std::string& win_dir) {
    if (int e = pxall::set_folder_aside(win_dir)) {
        run().syserr = e;
        pxall::syerr_message("PXSTUP10", "stup_cd_setup", win_dir.c_str(), pxall::kNotRemoved, e, 17);
        return pxall::kNotRemoved;
    }
    const bool before = run().unremoved;
    run().unremoved = false;
    remove_aside(pxall::aside_of(win_dir));
    const bool failed = run().unremoved;
    run().unremoved = before || failed;
    return failed ? pxall::kNotRemoved : 0;
}

int put_set_in_place(const std::string& base, const char* name) {
    std::string old_at;
    if (int e = pxall::put_folder_in_place(join(base, std::string(name, 2)), &old_at)) {
        run().syserr = e;
        return 13;
    }
    if (!old_at.empty()) remove_aside(old_at);
    return 0;
}

namespace {

// One group of a root or frame-number master: its 128 bytes, then (outside
// shared mode) its separate files copied into `into`, the data set's
// directory being built (the entries' own directory: shared mode copies none).
int stup_write_rmst_dat(std::FILE* mst, const std::string& mst_path, Group& g, bool shared, const std::string& into,
                        bool* jouhou_done) {
    const char* fn = "stup_write_rmst_dat";
    finish_group(g);
    uint8_t bytes[kl::kGroupRows * kl::ment::kSize];
    for (int i = 0; i < kl::kGroupRows; ++i) put_entry(bytes + i * kl::ment::kSize, g[i]);
    if (!put_bytes(mst, mst_path, bytes, sizeof bytes)) {
        run().syserr = errno;
        return write_failure(fn, "ENDWROOT", 1);
    }
    if (shared) return 0;

    auto copy = [&](const std::string& target, const std::vector<const Entry*>& parts) -> int {
        std::FILE* out = plat::fopen(target, "wb");
        if (out == nullptr) {
            run().syserr = errno;
            log(fn, "ENDWROOT", 11, 2);
            return 11;
        }
        for (const Entry* e : parts) {
            int r = append_cd_file(row(e->row).name, nullptr, e->blocks, out, target);
            if (r != 0) {
                std::fclose(out);
                if (r == 13 && run().syserr == ENOSPC) return kDiskFull;
                log(fn, "ENDWROOT", r, 3);
                return r;
            }
        }
        if (!close_written(out)) {
            run().syserr = errno;
            if (run().syserr == ENOSPC) return kDiskFull;
            log(fn, "ENDWROOT", 12, 4);
            return 12;
        }
        return 0;
    };

    const Entry& data = g[3];
    const char* data_name = row(data.row).name;
    bool is_jouhou = std::strncmp(data_name, "JOUHOU.DAT", kl::kNameSize) == 0;
    if (data.loc == kl::kOnDisk && data.blocks > 0 && !(is_jouhou && *jouhou_done)) {
        int r = copy(join(into, data_name), {&data});
        if (r != 0) return r;
        if (is_jouhou) *jouhou_done = true;
    }
    if (g[0].loc == kl::kOnDisk && g[3].level > 0) {
        std::vector<const Entry*> levels;
        for (int i = 0; i < 3; ++i)
            if (g[i].loc == kl::kOnDisk && g[i].blocks > 0) levels.push_back(&g[i]);
        std::string name(row(g[0].row).name, kl::kDiskIndexNameSize);
        int r = copy(join(into, name), levels);
        if (r != 0) return r;
    }
    return 0;
}

// The sizes of the separate files of the area's first data set, read from
// its root master on disk: row -> blocks.
int first_set_sizes(const std::string& first_dir, int32_t* sizes) {
    std::string path = join(first_dir, kl::kRootMaster);
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) {
        run().syserr = errno;
        log("stup_root_file", path, 11, 5);
        return 11;
    }
    std::vector<uint8_t> mst(kl::mhdr::kSize + kl::kRootCount * kl::ment::kSize);
    size_t got = std::fread(mst.data(), 1, mst.size(), fp);
    std::fclose(fp);
    if (got != mst.size()) {
        run().syserr = 0;
        log("stup_root_file", path, 14, 6);
        return 14;
    }
    for (int i = 0; i < kl::kRootCount; ++i) {
        sizes[i] = 0;
        for (int j = 0; j < kl::kRootCount; ++j) {
            const uint8_t* e = mst.data() + kl::mhdr::kSize + j * kl::ment::kSize;
            if (std::strncmp(reinterpret_cast<const char*>(e), row(i).name, kl::kNameSize) != 0) continue;
            if (e[kl::ment::kFileId] != row(i).file_id) continue;
            sizes[i] = static_cast<int32_t>(get_u32(e + kl::ment::kBlocks));
            break;
        }
    }
    return 0;
}

}  // namespace

// The kernel copies the whole blocks of the file from where src stands to
// the end of dst, without passing them through this process: the bytes
// copied, or -1 with errno (nothing is lost: the caller goes on by reading
// and writing from where it stopped).
int64_t kernel_copy(std::FILE* src, std::FILE* dst, int64_t whole_bytes) {
    if (std::fflush(dst) != 0) return -1;
    int in = fileno(src), out = fileno(dst);
    int64_t done = 0;
    while (done < whole_bytes) {
        ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(whole_bytes - done), 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (n == 0) break;
        done += n;
    }
    int e = errno;
    // The streams take up where the descriptors now stand.
    std::fseek(dst, 0, SEEK_END);
    std::fseek(src, static_cast<long>(done), SEEK_SET);
    errno = e;
    return done;
}

int stup_write_setup_file(std::FILE* src, std::FILE* dst, const std::string& dst_path, int32_t expected_blocks) {
    const char* fn = "stup_write_setup_file";
    int64_t total = 0;

    // The whole blocks first, charged to the disk before they are written.
    struct stat st;
    if (fstat(fileno(src), &st) == 0 && S_ISREG(st.st_mode)) {
        int64_t whole = static_cast<int64_t>(st.st_size) / kl::kBlockSize * kl::kBlockSize;
        if (whole > 0) {
            if (!plat::charge_disk_write(dst_path, static_cast<uint64_t>(whole))) {
                run().syserr = ENOSPC;
                return 13;
            }
            std::fflush(dst);
            const long start = std::ftell(dst);
            int64_t done = kernel_copy(src, dst, whole);
            if (done < whole && errno == ENOSPC) {
                run().syserr = ENOSPC;
                return 13;
            }
            if (done < 0) done = 0;
            // A piece of a block copied before a failure is copied again below.
            total = done / kl::kBlockSize;
            if (done % kl::kBlockSize != 0 && start >= 0 &&
                ::ftruncate(fileno(dst), static_cast<off_t>(start + total * kl::kBlockSize)) != 0) {
                run().syserr = errno;
                log(fn, "fwrite", 13, 5);
                return 13;
            }
            std::fseek(src, static_cast<long>(total * kl::kBlockSize), SEEK_SET);
            std::fseek(dst, 0, SEEK_END);
        }
    }

    std::vector<uint8_t> buf;
    try {
        buf.resize(static_cast<size_t>(kCopyBlocks) * kl::kBlockSize);
    } catch (const std::bad_alloc&) {
        run().syserr = ENOMEM;
        log(fn, "malloc", 20, 1);
        return 20;
    }
    for (;;) {
        size_t got = std::fread(buf.data(), 1, buf.size(), src);
        if (got == 0) {
            if (std::ferror(src)) {
                run().syserr = errno;
                log(fn, "cdread", 14, 2);
                return 14;
            }
            break;
        }
        // A CD file is read in whole blocks: its last block is padded.
        size_t whole = (got + kl::kBlockSize - 1) / kl::kBlockSize * kl::kBlockSize;
        std::memset(buf.data() + got, 0, whole - got);
        if (!put_bytes(dst, dst_path, buf.data(), whole)) {
            run().syserr = errno;
            if (run().syserr != ENOSPC) log(fn, "fwrite", 13, 3);
            return 13;
        }
        total += static_cast<int64_t>(whole / kl::kBlockSize);
        if (got < buf.size()) break;
    }
    if (total != expected_blocks) {
        run().syserr = 0;
        log(fn, "fseek", 15, 4);
        return 15;
    }
    return 0;
}

int stup_root_file(int k) {
    const char* fn = "stup_root_file";
    const CdWork& w = run().cd[k];
    const std::string lang = data_lang();
    const std::string master = state_dir(pxall::ctop::kMasterDir);
    const std::string dir = building_dir(master, w.name);
    // A later master-files-only CD of an area shares the first CD's files.
    const bool shared = k > 0 && w.kind == '0';
    if (int r = check_cd_files(shared ? CdKind::kSharedCatalogue : CdKind::kCatalogue, fn, 14)) return r;
    if (int e = fresh_dir(dir)) {
        run().syserr = e;
        log(fn, dir, 11, 10);
        return 11;
    }
    const std::string path = join(dir, kl::kRootMaster);
    std::FILE* mst = plat::fopen(path, "wb");
    if (mst == nullptr) {
        run().syserr = errno;
        log(fn, path, 11, 11);
        return 11;
    }
    uint8_t hdr[kl::mhdr::kSize];
    put_header(hdr, w, false);
    if (!put_bytes(mst, path, hdr, sizeof hdr)) {
        run().syserr = errno;
        std::fclose(mst);
        return write_failure(fn, path, 12);
    }

    // A shared CD's separate files' sizes come from the first data set as it
    // stands on disk, which also holds when that one was installed by an
    // earlier run.
    const CdWork& first = run().cd[0];
    int32_t sizes[kl::kRootCount] = {};
    if (shared) {
        int r = first_set_sizes(join(master, std::string(first.name, 2)), sizes);
        if (r != 0) {
            std::fclose(mst);
            return r;
        }
    }

    bool jouhou_done = false;
    for (int g = 0; g < kl::kRootCount / kl::kGroupRows; ++g) {
        Group grp;
        for (int i = 0; i < kl::kGroupRows; ++i) {
            Entry& e = grp[i];
            e.row = kl::kRootFirst + g * kl::kGroupRows + i;
            e.loc = location(Master::kRoot, row(e.row), w.kind, lang);
            if (e.loc == kl::kOnDisk) std::memcpy(e.dir, shared ? first.name : w.name, 2);
            e.blocks = (shared && e.loc == kl::kOnDisk) ? sizes[e.row] : cd_blocks(row(e.row).name, nullptr);
        }
        int r = stup_write_rmst_dat(mst, path, grp, shared, dir, &jouhou_done);
        if (r != 0) {
            std::fclose(mst);
            return r;
        }
    }
    if (!close_written(mst)) {
        run().syserr = errno;
        if (run().syserr == ENOSPC) return kDiskFull;
        log(fn, path, 12, 13);
        return 12;
    }
    return 0;
}

int stup_catalog_file(int k) {
    const char* fn = "stup_catalog_file";
    const CdWork& w = run().cd[k];
    const std::string lang = data_lang();
    const std::string dir = building_dir(state_dir(pxall::ctop::kMasterDir), w.name);

    // The catalogue directories at the CD's root.
    char pattern[pxall::kPathSize] = "*.";
    if (pxall::get_path_name(pxall::kPathCdDrive, run().cd_drive, pattern) != 0) {
        run().syserr = 0;
        log(fn, "*.", 11, 20);
        return 11;
    }
    std::vector<std::string> names;
    plat::FindData found;
    int32_t h = plat::find_first(pattern, &found);
    if (h != 0) {
        do {
            if (!(found.attributes & plat::kAttrDirectory) || found.name == "." || found.name == "..") continue;
            if (names.size() < kMaxCdDirs) names.push_back(found.name.substr(0, kCdDirNameKept));
        } while (plat::find_next(h, &found));
        plat::find_close(h);
    }

    std::vector<uint8_t> header(kl::kCatalogMasterRead);
    for (const std::string& cd_dir : names) {
        if (cd_dir.empty()) break;
        const std::string name6 = cd_dir.substr(0, kCatalogName);
        char mst_name[16];
        std::snprintf(mst_name, sizeof mst_name, kl::kCatalogMasterFormat, name6.c_str());
        const std::string path = join(dir, mst_name);

        std::fill(header.begin(), header.end(), 0);
        put_header(header.data(), w, true);
        std::vector<Entry> entries;
        int32_t running = 1;
        for (int g = 0; g < kl::kCatalogCount / kl::kGroupRows; ++g) {
            Group grp;
            for (int i = 0; i < kl::kGroupRows; ++i) {
                Entry& e = grp[i];
                e.row = kl::kCatalogFirst + g * kl::kGroupRows + i;
                e.loc = location(Master::kCatalog, row(e.row), w.kind, lang);
                e.blocks = cd_blocks(row(e.row).name, name6.c_str());
                if (e.loc == kl::kInMaster) {
                    e.first = running;
                    running += e.blocks;
                    std::memcpy(e.dir, w.name, 2);
                }
            }
            finish_group(grp);
            for (int i = 0; i < kl::kGroupRows; ++i) {
                put_entry(header.data() + kl::mhdr::kSize + (g * kl::kGroupRows + i) * kl::ment::kSize, grp[i]);
                entries.push_back(grp[i]);
            }
        }

        std::FILE* out = plat::fopen(path, "wb");
        if (out == nullptr) {
            run().syserr = errno;
            log(fn, path, 11, 21);
            return 11;
        }
        if (!put_bytes(out, path, header.data(), header.size())) {
            run().syserr = errno;
            std::fclose(out);
            if (run().syserr != ENOSPC) log(fn, path, 13, 22);
            return 13;
        }
        for (const Entry& e : entries) {
            if (e.blocks == 0 || e.loc != kl::kInMaster) continue;
            int r = append_cd_file(row(e.row).name, name6.c_str(), e.blocks, out, path);
            if (r != 0) {
                std::fclose(out);
                if (r == 11) log(fn, row(e.row).name, 11, 23);
                return r == 11 ? 11 : 13;
            }
        }
        if (!close_written(out)) {
            run().syserr = errno;
            if (run().syserr == ENOSPC) return 13;
            log(fn, path, 12, 24);
            return 12;
        }
    }
    return 0;
}

int stup_rootmf_file(int k, int block) {
    const char* fn = "stup_rootmf_file";
    const CdWork& w = run().cd[k];
    const std::string base = state_dir(block == 0 ? pxall::ctop::kFrameWorldDir : pxall::ctop::kFrameJapanDir);
    const std::string dir = building_dir(base, w.name);
    if (int r = check_cd_files(CdKind::kFrame, fn, 34)) return r;
    if (int e = fresh_dir(dir)) {
        run().syserr = e;
        log(fn, dir, 11, 30);
        return 11;
    }
    const std::string path = join(dir, kl::kFrameMaster);
    std::FILE* mst = plat::fopen(path, "wb");
    if (mst == nullptr) {
        run().syserr = errno;
        log(fn, path, 11, 31);
        return 11;
    }
    uint8_t hdr[kl::mhdr::kSize];
    put_header(hdr, w, false);
    if (!put_bytes(mst, path, hdr, sizeof hdr)) {
        run().syserr = errno;
        std::fclose(mst);
        return write_failure(fn, path, 32);
    }
    Group grp;
    const std::string lang = data_lang();
    for (int i = 0; i < kl::kGroupRows; ++i) {
        Entry& e = grp[i];
        e.row = kl::kFrameFirst + i;
        e.loc = location(Master::kFrame, row(e.row), w.kind, lang);
        if (e.loc == kl::kOnDisk) std::memcpy(e.dir, w.name, 2);
        e.blocks = cd_blocks(row(e.row).name, nullptr);
    }
    bool unused = false;
    int r = stup_write_rmst_dat(mst, path, grp, false, dir, &unused);
    if (r != 0) {
        std::fclose(mst);
        return r;
    }
    if (!close_written(mst)) {
        run().syserr = errno;
        if (run().syserr == ENOSPC) return kDiskFull;
        log(fn, path, 12, 33);
        return 12;
    }
    return 0;
}

}  // namespace pxstup
