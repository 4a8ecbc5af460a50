// The save master PXIFSMST.SAV: which save numbers are free, used, in use or
// deleted.
#include <cerrno>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/drives.h"
#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/commit_files.h"
#include "pxall/blocks.h"
#include "pxall/dates.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"
#include "savefile_internal.h"

namespace pxall {

using namespace savefile;
using saveimpl::stream_errno;

namespace {

int32_t* or_dummy(int32_t* err, int32_t* dummy) { return err != nullptr ? err : dummy; }

// Drops a staged stream after a failure; the file stays as it was.
void drop(std::FILE** fp) {
    int32_t ignored = 0;
    saveimpl::end_stream(*fp, false, &ignored);
    *fp = nullptr;
}

// Reads n bytes at offset: 0, 15 seek, 14 short (err 0 at end of file).
int read_at(std::FILE* fp, long offset, unsigned char* buf, size_t n, int32_t* err) {
    errno = 0;
    if (std::fseek(fp, offset, SEEK_SET) != 0) {
        *err = stream_errno();
        return 15;
    }
    if (std::fread(buf, 1, n, fp) != n) {
        *err = std::ferror(fp) ? stream_errno() : 0;
        return 14;
    }
    return 0;
}

// Writes n bytes at offset (past the end the gap reads as zero): 0, 15, 13.
int write_at(std::FILE* fp, long offset, const unsigned char* buf, size_t n, int32_t* err) {
    errno = 0;
    if (std::fseek(fp, offset, SEEK_SET) != 0) {
        *err = stream_errno();
        return 15;
    }
    // Flushed at once, so that a full disk shows here as a write failure.
    if (std::fwrite(buf, 1, n, fp) != n || std::fflush(fp) != 0) {
        *err = stream_errno();
        return 13;
    }
    return 0;
}

// A header whose fields lie outside their ranges is not one this library
// wrote: it is treated as unreadable rather than counted on.
bool header_sound(const unsigned char* hdr) {
    int count = static_cast<uint16_t>(get_i16(hdr + kHdrCount));
    int next = get_i16(hdr + kHdrNext);
    return count <= kMaxCount && next >= 0 && next <= kMaxSaveNo;
}

bool disk_full(int32_t e) { return e == ENOSPC || e == EDQUOT; }

// A data file (or anything else) stands under the number's name: a list the
// master does not account for, which a new list must not replace.
bool data_name_taken(int32_t no) {
    char path[kPathSize];
    if (make_save_dat_file_name(no, path) != 0) return false;
    auto host = plat::host_path(path);
    struct stat st;
    return host && ::lstat(host->c_str(), &st) == 0;
}

// The state of entry n in the entries read from record 1 on; an entry past
// the end of the file is free.
unsigned char state_of(const std::vector<unsigned char>& entries, size_t got, int32_t n) {
    size_t at = entry_offset(n - 1);
    return at < got ? entries[at] : kStateFree;
}

}  // namespace

int open_save_mst_file(int32_t mode, std::FILE** fp, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    if (fp == nullptr) {
        *err = EINVAL;
        return 11;
    }
    *fp = nullptr;
    char path[kPathSize];
    if (int r = make_save_mst_file_name(path); r != 0) {
        *err = kErrMasterName;
        return r;
    }
    // A save a kill interrupted is finished (or undone) first.
    if (settle_commit(path, err) != 0) return 11;
    switch (mode) {
        case kSaveRead:
            errno = 0;
            *fp = plat::fopen(path, "rb");
            if (*fp == nullptr) {
                *err = errno;
                return saveimpl::open_code(errno);
            }
            return 0;
        case kSaveCreate: return saveimpl::open_staged(path, false, fp, err);
        case kSaveUpdate: return saveimpl::open_staged(path, true, fp, err);
        default: *err = EINVAL; return 11;
    }
}

int close_save_mst_file(std::FILE** fp, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    if (fp == nullptr || *fp == nullptr) return 0;
    int r = saveimpl::end_stream(*fp, true, err);
    *fp = nullptr;
    return r != 0 ? 12 : 0;
}

int check_save_mst_file_exist(int32_t* count, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    std::FILE* fp = nullptr;
    if (int r = open_save_mst_file(kSaveRead, &fp, err); r != 0) return r;
    unsigned char hdr[2];
    if (int r = read_at(fp, 0, hdr, sizeof hdr, err); r != 0) {
        drop(&fp);
        return 14;
    }
    if (count != nullptr) *count = get_i16(hdr + kHdrCount);
    return close_save_mst_file(&fp, err);
}

int check_save_dat_file_exist(int32_t* count, int32_t* err) {
    int32_t n = 0;
    int r = check_save_mst_file_exist(&n, err);
    if (count != nullptr) *count = n;
    if (r != 0) return r;
    return n == 0 ? -1 : 0;
}

int make_save_mst(int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    int r = check_save_mst_file_exist(nullptr, err);
    if (r == 0) return 0;
    // Only a missing master, or one too short to hold its count, is made
    // anew: a master that is merely unreadable now keeps the clerk's lists.
    if (r != -1 && r != 14) return r;

    std::FILE* fp = nullptr;
    if (r = open_save_mst_file(kSaveCreate, &fp, err); r != 0) return r;
    unsigned char image[kNewMasterSize] = {};
    put_i16(image + kHdrNext, 1);
    if (r = write_at(fp, 0, image, sizeof image, err); r != 0) {
        drop(&fp);
        return disk_full(*err) ? -1 : 13;
    }
    if (r = close_save_mst_file(&fp, err); r != 0) return disk_full(*err) ? -1 : r;
    return 0;
}

namespace {

// The master being rewritten (a staged stream) and a list's data file put
// in place (or removed) together: 0; 16 when the data file to remove stayed
// (the master is new); or 13 (nothing changed; or, after a failed rename
// past the first, the next reader of the master finishes the commit).
int commit_with(std::FILE** fp, const CommitFile& list, int32_t* err) {
    std::vector<unsigned char> image;
    unsigned char buf[8192];
    errno = 0;
    bool ok = std::fflush(*fp) == 0 && std::fseek(*fp, 0, SEEK_SET) == 0;
    size_t n;
    while (ok && (n = std::fread(buf, 1, sizeof buf, *fp)) > 0) image.insert(image.end(), buf, buf + n);
    if (!ok || std::ferror(*fp)) {
        *err = stream_errno();
        drop(fp);
        return 13;
    }
    drop(fp);
    char path[kPathSize];
    if (int r = make_save_mst_file_name(path); r != 0) {
        *err = kErrMasterName;
        return r;
    }
    const CommitFile files[2] = {list, {path, image.data(), image.size()}};
    int r = commit_files(files, 2, err);
    return r == 0 || r == 16 ? r : 13;
}

// get_save_no's work: with `mark` the number is handed out; without, it is
// only looked up (the master stays as it is). With `list`, the number
// handed out must be `expect` and the list's data file is committed with
// the new master as one set (commit_files.h).
int hand_out(bool mark, int32_t* save_no, int32_t* err, const CommitFile* list = nullptr, int32_t expect = 0) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    if (save_no != nullptr) *save_no = 0;
    std::FILE* fp = nullptr;
    if (int r = open_save_mst_file(kSaveUpdate, &fp, err); r != 0) return r;

    unsigned char hdr[kRecordSize];
    if (int r = read_at(fp, 0, hdr, sizeof hdr, err); r != 0) {
        drop(&fp);
        return 14;
    }
    if (!header_sound(hdr)) {
        drop(&fp);
        *err = 0;
        return 14;
    }
    // Every entry at once: at most 9999 x 16 bytes, fewer in a short file.
    std::vector<unsigned char> entries(entry_offset(kMaxSaveNo));
    size_t got = 0;
    errno = 0;
    if (std::fseek(fp, static_cast<long>(kRecordSize), SEEK_SET) != 0) {
        *err = stream_errno();
        drop(&fp);
        return 15;
    }
    got = std::fread(entries.data(), 1, entries.size(), fp);
    if (got < entries.size() && std::ferror(fp)) {
        *err = stream_errno();
        drop(&fp);
        return 14;
    }

    // Only a free or deleted number is handed out: a used or in-use entry
    // belongs to a list the clerk kept, whatever the next number says; and
    // never one under whose name a data file stands (a list the master lost,
    // or one whose delete could not remove it).
    int32_t next = get_i16(hdr + kHdrNext);
    int32_t start = next >= 1 ? next : 1;
    int32_t no = 0;
    for (int32_t i = 0; i < kMaxSaveNo && no == 0; ++i) {
        int32_t n = (start - 1 + i) % kMaxSaveNo + 1;
        unsigned char s = state_of(entries, got, n);
        if ((s == kStateFree || s == kStateDeleted) && !data_name_taken(n)) no = n;
    }
    if (no == 0) {
        drop(&fp);
        *err = 0;
        return 1;
    }
    if (!mark) {
        drop(&fp);
        *err = 0;
        if (save_no != nullptr) *save_no = no;
        return 0;
    }
    if (list != nullptr && no != expect) {
        // Only another process could have taken the number in between.
        drop(&fp);
        *err = EBUSY;
        return 13;
    }

    unsigned char entry[kRecordSize] = {};
    entry[kEntState] = kStateUsed;
    char date[8], time[6];
    date2(date);  // CCYYMMDD
    time2(time);  // HHMMSS
    std::memcpy(entry + kEntDate, date + 6, 2);
    std::memcpy(entry + kEntDate + 2, date + 4, 2);
    std::memcpy(entry + kEntDate + 4, date + 2, 2);
    std::memcpy(entry + kEntTime, time, kEntTimeSize);
    if (int r = write_at(fp, static_cast<long>(entry_offset(no)), entry, sizeof entry, err); r != 0) {
        drop(&fp);
        return r;
    }

    int32_t count = static_cast<uint16_t>(get_i16(hdr + kHdrCount));
    put_i16(hdr + kHdrNext, static_cast<int16_t>(no >= kMaxSaveNo ? 1 : no + 1));
    put_i16(hdr + kHdrCount, static_cast<int16_t>(count < kMaxCount ? count + 1 : count));
    if (int r = write_at(fp, 0, hdr, sizeof hdr, err); r != 0) {
        drop(&fp);
        return r;
    }
    if (list != nullptr) {
        if (int r = commit_with(&fp, *list, err); r != 0) return r;
    } else if (close_save_mst_file(&fp, err) != 0) {
        return 13;
    }
    if (save_no != nullptr) *save_no = no;
    return 0;
}

}  // namespace

int get_save_no(int32_t* save_no, int32_t* err) { return hand_out(true, save_no, err); }

int save_new_list(const void* data, int32_t size, int32_t* save_no, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    if (save_no != nullptr) *save_no = 0;
    if (size < 0 || (data == nullptr && size > 0)) {
        *err = EINVAL;
        return 13;
    }
    int32_t no = 0;
    if (int r = hand_out(false, &no, err); r != 0) return r;
    char path[kPathSize];
    if (int r = make_save_dat_file_name(no, path); r != 0) {
        *err = kErrDataOpenName;
        return r;
    }
    // The data file and the master entry that names it go in place as one
    // commit: a kill or a failure leaves no used entry without its file.
    const CommitFile list{path, data, static_cast<size_t>(size)};
    int32_t marked = 0;
    if (int r = hand_out(true, &marked, err, &list, no); r != 0) return r;
    if (save_no != nullptr) *save_no = no;
    return 0;
}

namespace {

// deldata_save_mst_file's work; with `data` (a list's data file to remove)
// the removal goes with the new master as one commit, and *removed tells
// whether it did (0, or 16 when the file stayed).
int mark_deleted(int32_t save_no, int32_t* count, int32_t* err, const CommitFile* data = nullptr,
                 int* removed = nullptr) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    std::FILE* fp = nullptr;
    if (int r = open_save_mst_file(kSaveUpdate, &fp, err); r != 0) return r;
    if (save_no < 1 || save_no > kMaxSaveNo) {
        drop(&fp);
        *err = EINVAL;
        return 15;
    }
    unsigned char hdr[2];
    if (int r = read_at(fp, 0, hdr, sizeof hdr, err); r != 0) {
        drop(&fp);
        return 14;
    }
    int32_t n = static_cast<uint16_t>(get_i16(hdr + kHdrCount));
    if (n > kMaxCount) {
        drop(&fp);
        *err = 0;
        return 14;
    }
    unsigned char state = kStateFree;
    int r = read_at(fp, static_cast<long>(entry_offset(save_no)), &state, 1, err);
    if (r == 15 || (r == 14 && *err != 0)) {
        drop(&fp);
        return r;
    }
    if (r == 14) state = kStateFree;  // past the end of the file
    *err = 0;

    // Only a list that exists is counted off; deleting twice changes nothing.
    if (state == kStateUsed || state == kStateInUse) {
        if (n > 0) --n;
        put_i16(hdr + kHdrCount, static_cast<int16_t>(n));
        const unsigned char mark = kStateDeleted;
        if ((r = write_at(fp, 0, hdr, sizeof hdr, err)) != 0 ||
            (r = write_at(fp, static_cast<long>(entry_offset(save_no)), &mark, 1, err)) != 0) {
            drop(&fp);
            return r;
        }
        if (data != nullptr) {
            r = commit_with(&fp, *data, err);
            if (r != 0 && r != 16) return r;
            if (removed != nullptr) *removed = r;
        } else if (close_save_mst_file(&fp, err) != 0) {
            return 13;
        }
    } else {
        drop(&fp);
    }
    if (count != nullptr) *count = n;
    return 0;
}

}  // namespace

int deldata_save_mst_file(int32_t save_no, int32_t* count, int32_t* err) { return mark_deleted(save_no, count, err); }

int delete_saved_list(int32_t save_no, int32_t* count, int32_t* file_result, int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    int32_t ignored = 0;
    if (file_result == nullptr) file_result = &ignored;
    *file_result = 0;
    char path[kPathSize];
    auto host = make_save_dat_file_name(save_no, path) == 0 ? plat::host_path(path) : std::nullopt;
    struct stat st;
    const bool present = host && ::stat(host->c_str(), &st) == 0;
    const CommitFile data{path, nullptr, 0, true};
    int removed = -1;  // stays so unless the file went with the entry
    if (int r = mark_deleted(save_no, count, err, present ? &data : nullptr, &removed); r != 0) return r;
    if (removed != -1) {
        *file_result = removed;
        if (removed == 0) *err = 0;
        return 0;
    }
    // No file, or one the master does not name (nobody's list): it goes alone.
    *file_result = del_save_dat_file(save_no, err);
    return 0;
}

int reset_save_mst_flag(int32_t* err) {
    int32_t dummy = 0;
    err = or_dummy(err, &dummy);
    *err = 0;
    unsigned char* top = get_ctop_addr();
    if (top == nullptr) return 0;
    int32_t no = get_i32(top + ctop::kCurrentSaveNo);
    if (no == 0) return 0;

    std::FILE* fp = nullptr;
    int r = open_save_mst_file(kSaveUpdate, &fp, err);
    if (r != 0) return *err == kErrMasterName ? r : 11;
    if (no < 1 || no > kMaxSaveNo) {
        drop(&fp);
        *err = EINVAL;
        return 15;
    }
    unsigned char entry[kRecordSize];
    if ((r = read_at(fp, static_cast<long>(entry_offset(no)), entry, sizeof entry, err)) != 0) {
        drop(&fp);
        return r;
    }
    if (entry[kEntState] != kStateInUse) {
        drop(&fp);
        put_i32(top + ctop::kCurrentSaveNo, 0);
        return 0;
    }
    entry[kEntState] = kStateUsed;
    if ((r = write_at(fp, static_cast<long>(entry_offset(no)), entry, sizeof entry, err)) != 0) {
        drop(&fp);
        return r;
    }
    put_i32(top + ctop::kCurrentSaveNo, 0);
    if (close_save_mst_file(&fp, err) != 0) {
        *err = 0;
        return 13;
    }
    return 0;
}

}  // namespace pxall
