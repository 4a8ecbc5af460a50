// The group files: reading them into the work table, writing the table back,
// rebuilding missing or short files, and the name lookups of the search route.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "groups_internal.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/commit_files.h"
#include "pxall/errlog.h"
#include "pxall/group_layout.h"
#include "pxall/paths.h"

namespace pxall {

namespace {

using namespace grpfile;

constexpr uint64_t kMinFreeSpace = 1048576;

// Full path of a group file in the master directory: 0, or the logged
// get_path_name result.
int group_path(const char* name, char* buf, const char* module, const char* function, int place) {
    std::memset(buf, 0, kPathSize);
    std::strcpy(buf, name);
    int rc = get_path_name(kPathMaster, -1, buf);
    if (rc != 0) syerr_message(module, function, "get_path_name", rc, 0, place);
    return rc;
}

// The C error number behind a short read: 0 at the end of the file.
int32_t read_error(std::FILE* fp) { return std::ferror(fp) ? (errno != 0 ? errno : EIO) : 0; }

// Size of an open file, or -1.
long stream_size(std::FILE* fp) {
    if (std::fseek(fp, 0, SEEK_END) != 0) return -1;
    return std::ftell(fp);
}

// Writes n zero units of `unit` bytes as the whole new content of a group
// file; the rebuild's empty file.
int make_zero_file(const char* name, size_t unit, int n, const char* function, int place) {
    static const unsigned char kZeros[kRecordSize] = {};
    char path[kPathSize];
    int rc = group_path(name, path, grp::kModuleFiles, function, place);
    if (rc != 0) return rc;
    int32_t err = 0;
    std::FILE* fp = atomic_open(path, nullptr, &err);
    if (fp == nullptr) {
        syerr_message(grp::kModuleFiles, function, "fopen", 11, err, place + 1);
        return 11;
    }
    for (int i = 0; i < n; ++i) {
        if (std::fwrite(kZeros, 1, unit, fp) != unit) {
            int32_t e = errno != 0 ? errno : EIO;
            atomic_close(fp, false, &err);
            syerr_message(grp::kModuleFiles, function, "fwrite", 13, e, place + 2);
            return 13;
        }
    }
    if (atomic_close(fp, true, &err) != 0) {
        syerr_message(grp::kModuleFiles, function, "fwrite", 13, err, place + 3);
        return 13;
    }
    return 0;
}

int make_gpmei_file() { return make_zero_file(kNameFile, kSlotSize, kSlotCount, "make_gpmei_file", 10); }
int make_gppnc_file() { return make_zero_file(kCodeFile, kRecordSize, kRecordCount, "make_gppnc_file", 20); }

// Sets a damaged group file aside whole as "<name>.BAD" beside it, so that
// the groups it held can still be recovered: 0, or 13 logged.
int set_aside(const char* name, const char* path, const char* function, int place) {
    std::string bad(path);
    size_t dot = bad.rfind('.');
    size_t sep = bad.find_last_of("\\:");
    bad = (dot != std::string::npos && (sep == std::string::npos || dot > sep) ? bad.substr(0, dot) : bad) + ".BAD";
    std::string bytes;
    int32_t err = 0;
    if (std::FILE* fp = plat::fopen(path, "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0 && bytes.size() <= kCodeFileMinSize) bytes.append(buf, n);
        if (std::ferror(fp)) err = errno != 0 ? errno : EIO;
        std::fclose(fp);
    } else {
        err = errno;
    }
    if (err == 0 && atomic_write_file(bad.c_str(), bytes.data(), bytes.size(), &err) == 0) {
        syerr_message(grp::kModuleFiles, function, (std::string(name) + " damaged, kept as .BAD").c_str(), 14,
                      static_cast<int32_t>(bytes.size()), place + 2);
        return 0;
    }
    syerr_message(grp::kModuleFiles, function, bad.c_str(), 13, err, place + 3);
    return 13;
}

// Makes the file when it is missing, and anew when it is shorter than
// min_size, after setting the damaged file aside (kRemadeDamaged then). The
// new content replaces the old in one step, so the short file needs no
// separate delete.
int remake_file(const char* name, const char* mode, size_t min_size, int (*make)(), const char* function,
                int place) {
    char path[kPathSize];
    int rc = group_path(name, path, grp::kModuleFiles, function, place);
    if (rc != 0) return rc;
    if (!plat::file_exists(path)) {
        rc = make();
        if (rc != 0) return rc;
    }
    std::FILE* fp = plat::fopen(path, mode);
    if (fp == nullptr) {
        syerr_message(grp::kModuleFiles, function, "fopen", 11, errno, place + 1);
        return 11;
    }
    long size = stream_size(fp);
    std::fclose(fp);
    if (size >= 0 && static_cast<size_t>(size) >= min_size) return 0;
    if (int r = set_aside(name, path, function, place); r != 0) return r;
    rc = make();
    return rc != 0 ? rc : kRemadeDamaged;
}

// Takes back the items appended after `keep` (null: all of them).
void drop_after(ItemLinks* keep) {
    ItemList& t = grp::table();
    while (t.last != nullptr && t.last != keep) DeleteItem(&t, t.last);
}

// Finishes or discards a rewrite of the pair that a kill or a failed rename
// interrupted, so that no one reads new part-name codes beside old group
// names. 0, the logged get_path_name result, or 11 logged.
int settle_pair(const char* module, const char* function, int place) {
    char pnc[kPathSize];
    int rc = group_path(kCodeFile, pnc, module, function, place);
    if (rc != 0) return rc;
    int32_t err = 0;
    if (settle_commit(pnc, &err) != 0) {
        syerr_message(module, function, "rename", 11, err, place);
        return 11;
    }
    return 0;
}

}  // namespace

int g_mei_f_check() {
    char path[kPathSize];
    int rc = group_path(kNameFile, path, grp::kModuleFiles, "g_mei_f_check", 30);
    if (rc == 0) rc = settle_pair(grp::kModuleFiles, "g_mei_f_check", 36);
    if (rc != 0) return rc;
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) return -1;
    unsigned char head[4];
    size_t got = std::fread(head, 1, sizeof head, fp);
    std::fclose(fp);
    if (got != sizeof head) return -1;
    return head[0] == 0 && head[1] == 0 && head[2] == 0 && head[3] == 0 ? 1 : 0;
}

int g_mei_f_read(const char* code, char* name, int32_t* failure) {
    constexpr const char* kFunction = "g_mei_f_read";
    constexpr int kChunkSlots = 100;
    int32_t dummy = 0;
    if (failure == nullptr) failure = &dummy;
    *failure = 0;

    auto* chunk = static_cast<unsigned char*>(std::malloc(kSlotSize * kChunkSlots));
    if (chunk == nullptr) {
        syerr_message(grp::kModuleFiles, kFunction, "malloc", 20, 0, 40);
        *failure = 20;
        return -1;
    }
    char path[kPathSize];
    int rc = group_path(kNameFile, path, grp::kModuleFiles, kFunction, 41);
    if (rc == 0) rc = settle_pair(grp::kModuleFiles, kFunction, 46);
    if (rc != 0) {
        std::free(chunk);
        *failure = rc;
        return -1;
    }
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) {
        syerr_message(grp::kModuleFiles, kFunction, "fopen", 11, errno, 42);
        std::free(chunk);
        *failure = 11;
        return -1;
    }

    char key[kCodeLen];
    grp::pad_field(key, code, kCodeLen);
    int found = -1;
    int32_t fail = 0, detail = 0;
    int place = 0;
    if (std::fread(chunk, 1, kSlotSize, fp) != kSlotSize) {
        fail = 14, detail = read_error(fp), place = 43;
    } else {
        int count = static_cast<uint16_t>(get_i16(chunk + kCountAt));
        // A count beyond the file's slots is damage, not a number of groups.
        if (count > kMaxGroups) fail = 14, detail = count, place = 44;
        for (int base = 0; fail == 0 && found < 0 && base < count; base += kChunkSlots) {
            if (std::fread(chunk, 1, kSlotSize * kChunkSlots, fp) != kSlotSize * kChunkSlots) {
                fail = 14, detail = read_error(fp), place = 45;
                break;
            }
            int in_chunk = std::min(kChunkSlots, count - base);
            for (int j = 0; j < in_chunk; ++j) {
                const unsigned char* slot = chunk + kSlotSize * static_cast<size_t>(j);
                if (std::memcmp(slot + kCodeAt, key, kCodeLen) != 0) continue;
                found = base + j;
                if (name != nullptr) std::memcpy(name, slot + kNameAt, kNameLen);
                break;
            }
        }
    }
    std::fclose(fp);
    std::free(chunk);
    if (fail != 0) {
        syerr_message(grp::kModuleFiles, kFunction, "fread", fail, detail, place);
        *failure = fail;
        return -1;
    }
    return found;
}

}  // namespace pxall

using namespace pxall;
using namespace pxall::grpfile;

extern "C" int32_t VBread_group_file(int16_t* count) {
    constexpr const char* kFunction = "VBread_group_file";
    char mei[kPathSize], pnc[kPathSize];
    int rc = group_path(kNameFile, mei, grp::kModuleTable, kFunction, 50);
    if (rc != 0) return rc;
    rc = group_path(kCodeFile, pnc, grp::kModuleTable, kFunction, 51);
    if (rc != 0) return rc;
    rc = settle_pair(grp::kModuleTable, kFunction, 49);
    if (rc != 0) return rc;

    std::FILE* fp = plat::fopen(mei, "rb");
    if (fp == nullptr) {
        syerr_message(grp::kModuleTable, kFunction, "fopen", 11, errno, 52);
        return 11;
    }
    auto* image = static_cast<unsigned char*>(std::malloc(kNameFileSize));
    if (image == nullptr) {
        std::fclose(fp);
        syerr_message(grp::kModuleTable, kFunction, "malloc", 20, 0, 53);
        return 20;
    }
    size_t got = std::fread(image, 1, kNameFileSize, fp);
    int32_t e = read_error(fp);
    std::fclose(fp);
    if (got != kNameFileSize) {
        std::free(image);
        syerr_message(grp::kModuleTable, kFunction, "fread", 14, e, 54);
        return 14;
    }
    int n = static_cast<uint16_t>(get_i16(image + kCountAt));
    if (n > kMaxGroups) {
        std::free(image);
        syerr_message(grp::kModuleTable, kFunction, "fread", 14, n, 55);
        return 14;
    }
    // The table holds at most 1000 groups, whatever it held before.
    if (grp::table().count + n > kMaxGroups) {
        std::free(image);
        syerr_message(grp::kModuleTable, kFunction, "AddItem", 20, n, 56);
        return 20;
    }

    fp = plat::fopen(pnc, "rb");
    if (fp == nullptr) {
        std::free(image);
        syerr_message(grp::kModuleTable, kFunction, "fopen", 11, errno, 57);
        return 11;
    }
    ItemLinks* keep = grp::table().last;
    int32_t fail = 0, detail = 0;
    const char* step = nullptr;
    int place = 0;
    for (int slot = 1; slot <= n; ++slot) {
        void* item = AddItem(&grp::table(), static_cast<int>(kItemDataOffset + grpitem::kSize));
        if (item == nullptr) {
            fail = 20, step = "AddItem", place = 58;
            break;
        }
        unsigned char* group = item_data(item);
        const unsigned char* s = image + slot_offset(slot);
        std::memcpy(group + grpitem::kCode, s + kCodeAt, kCodeLen);
        group[grpitem::kCode + kCodeLen] = ' ';
        std::memcpy(group + grpitem::kName, s + kNameAt, kNameLen);
        if (std::fread(group + grpitem::kSlots, 1, kRecordSize, fp) != kRecordSize) {
            fail = 14, detail = read_error(fp), step = "fread", place = 59;
            break;
        }
    }
    std::fclose(fp);
    std::free(image);
    if (fail != 0) {
        // A half-read table would be written back as the user's groups.
        drop_after(keep);
        syerr_message(grp::kModuleTable, kFunction, step, fail, detail, place);
        return fail;
    }
    if (count != nullptr) *count = static_cast<int16_t>(n);
    return 0;
}

extern "C" int32_t VBwrite_group_file() {
    constexpr const char* kFunction = "VBwrite_group_file";
    char mei[kPathSize], pnc[kPathSize];
    int rc = group_path(kNameFile, mei, grp::kModuleTable, kFunction, 60);
    if (rc != 0) return rc;
    rc = group_path(kCodeFile, pnc, grp::kModuleTable, kFunction, 61);
    if (rc != 0) return rc;

    const ItemList& t = grp::table();
    // The table never holds more (read and VBSetGrpCd stop at 1000); were it
    // to, the files could not hold it.
    if (t.count < 0 || t.count > kMaxGroups) {
        syerr_message(grp::kModuleTable, kFunction, "fwrite", 13, t.count, 62);
        return 13;
    }
    auto* names = static_cast<unsigned char*>(std::calloc(1, kNameFileSize));
    auto* codes = static_cast<unsigned char*>(std::malloc(kCodeFileSize));
    if (names == nullptr || codes == nullptr) {
        std::free(names);
        std::free(codes);
        syerr_message(grp::kModuleTable, kFunction, "malloc", 20, 0, 63);
        return 20;
    }
    std::memset(codes, ' ', kCodeFileSize);
    put_i16(names + kCountAt, static_cast<int16_t>(t.count));
    int slot = 1;
    for (ItemLinks* it = t.first; it != nullptr && slot <= kMaxGroups; it = it->next, ++slot) {
        const unsigned char* group = item_data(it);
        unsigned char* s = names + slot_offset(slot);
        std::memcpy(s + kCodeAt, group + grpitem::kCode, kCodeLen);
        std::memcpy(s + kNameAt, group + grpitem::kName, kNameLen);
        std::memcpy(codes + record_offset(slot), group + grpitem::kSlots, kRecordSize);
    }

    // Both files change together or not at all (commit_files.h): a kill or a
    // failure at any step leaves the old pair or the new one.
    const CommitFile pair[2] = {{pnc, codes, kCodeFileSize}, {mei, names, kNameFileSize}};
    int32_t err = 0;
    int32_t fail = commit_files(pair, 2, &err);
    const char* step = fail == 11 ? "fopen" : "fwrite";
    int place = fail == 11 ? 64 : 68;
    std::free(names);
    std::free(codes);
    if (fail != 0) {
        syerr_message(grp::kModuleTable, kFunction, step, fail, err, place);
        return fail;
    }
    return 0;
}

extern "C" int32_t VBRemakeGpFile() {
    const unsigned char* top = get_ctop_addr();
    char root[4] = {top != nullptr ? static_cast<char>(top[ctop::kMasterDir]) : '\0', ':', '\\', '\0'};
    uint64_t free_bytes = 0, total = 0;
    if (!plat::free_disk_space(root, &free_bytes, &total)) {
        syerr_message(grp::kModuleFiles, "VBRemakeGpFile", "GetDiskFreeSpace", -1, plat::last_error(), 80);
        return -1;
    }
    if (free_bytes < kMinFreeSpace) return 0;
    if (int rc = settle_pair(grp::kModuleFiles, "VBRemakeGpFile", 79); rc != 0) return rc;
    int names = remake_file(kNameFile, "rb", kNameFileMinSize, make_gpmei_file, "remake_gpmei_file", 81);
    int codes = remake_file(kCodeFile, "r+b", kCodeFileMinSize, make_gppnc_file, "remake_gppnc_file", 83);
    if (names != 0 && names != kRemadeDamaged) return names;
    if (codes != 0 && codes != kRemadeDamaged) return codes;
    return names != 0 ? names : codes;
}
