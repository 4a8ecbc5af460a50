#include "pxall/jouhou_tmp.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <sys/stat.h>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/dates.h"
#include "pxall/paths.h"
#include "pxall/strutil.h"
#include "pxall/vehicle_work_layout.h"
#include "pxall/vin.h"

namespace pxall {

namespace {
namespace vw = vehwork;
namespace jt = vehwork::jtmp;

constexpr int32_t kRecLen = static_cast<int32_t>(jt::kSize);

// Detail numbers of v_jtmp_sign's steps.
enum : int32_t {
    kAtPath = 11,
    kAtFirstRead = 12,
    kAtMarkSeek = 13,
    kAtMarkRead = 14,
    kAtMarkSeekBack = 15,
    kAtMarkWrite = 16,
    kAtClose = 17,
};

int32_t errno_or_eio() { return errno != 0 ? errno : EIO; }

bool is_blank(const unsigned char* p, size_t n) { return memlenb(reinterpret_cast<const char*>(p), static_cast<int>(n)) == 0; }

// "CCYYMM" from a "YYMM" field: the century by the two-digit year rule.
void with_century(const unsigned char* yymm, char* out) {
    int year = 0;
    std::memcpy(out, check_2000(reinterpret_cast<const char*>(yymm), &year) == 2 ? "20" : "19", 2);
    std::memcpy(out + 2, yymm, 4);
}

}  // namespace

void v_production_end(const unsigned char* rec, char* yymm) {
    const unsigned char* end = rec + jt::kTo;
    if (is_blank(end, jt::kDateSize)) end = rec + jt::kTo2;
    std::memcpy(yymm, end, jt::kDateSize);
}

bool v_in_production(const unsigned char* rec, const char* date) {
    char from[6];
    with_century(rec + jt::kFrom, from);
    if (std::memcmp(from, date, 6) > 0) return false;
    unsigned char end[jt::kDateSize];
    v_production_end(rec, reinterpret_cast<char*>(end));
    if (is_blank(end, jt::kDateSize)) return true;
    char to[6];
    with_century(end, to);
    return std::memcmp(date, to, 6) <= 0;
}

namespace {

struct Wanted {
    int32_t flags;
    int32_t num1, num2;
    char vin[jt::kVinSize];
    const char *six, *fifteen, *text, *date;
};

bool matches(const unsigned char* rec, const Wanted& w) {
    auto field_is = [rec](size_t at, const char* v, size_t n) { return std::memcmp(rec + at, v, n) == 0; };
    if ((w.flags & vw::kTestVin) && !field_is(jt::kVin, w.vin, jt::kVinSize)) return false;
    if ((w.flags & vw::kTestSix) && !field_is(jt::kSix, w.six, jt::kSixSize)) return false;
    if ((w.flags & vw::kTestFifteen) && !field_is(jt::kFifteen, w.fifteen, jt::kFifteenSize)) return false;
    if ((w.flags & vw::kTestText) && !field_is(jt::kText, w.text, jt::kTextSize)) return false;
    if ((w.flags & vw::kTestDate) && !v_in_production(rec, w.date)) return false;
    if ((w.flags & vw::kTestNum1) && get_i32(rec + jt::kNum1) != w.num1) return false;
    if ((w.flags & vw::kTestNum2) && get_i32(rec + jt::kNum2) != w.num2) return false;
    return true;
}

// The letter of the current narrowing step. The step index and its code come
// from the current-vehicle block; neither is trusted as an index.
int current_mark(char* mark, int32_t* detail) {
    const unsigned char* car = get_ccar_addr();
    if (car == nullptr) {
        *detail = -1;
        return 128;
    }
    int32_t step = get_i32(car + ccar::kStepIndex);
    if (step < 0 || step >= vw::kMaxSteps) {
        *detail = -1;
        return 128;
    }
    unsigned code = car[ccar::kStepCodes + static_cast<size_t>(step)];
    if (code >= static_cast<unsigned>(vw::kMarkCount)) {
        *detail = static_cast<int32_t>(code);
        return 128;
    }
    *mark = vw::kMarkLetters[code];
    return 0;
}

// Reads the records, notes the hits; 0 or 14.
int find_hits(std::FILE* fp, int32_t count, const Wanted& w, unsigned char* hits, bool* any) {
    unsigned char rec[jt::kSize];
    *any = false;
    for (int32_t i = 0; i < count; ++i) {
        if (std::fread(rec, 1, jt::kSize, fp) != jt::kSize) return 14;
        if (rec[jt::kMark] > ' ') continue;
        if (matches(rec, w)) {
            hits[i] = 1;
            *any = true;
        }
    }
    return 0;
}

// Marks every record without a hit; 0 or the failing step's code.
int mark_misses(std::FILE* fp, int32_t count, const unsigned char* hits, char mark, int32_t* detail) {
    unsigned char rec[jt::kSize];
    for (int32_t i = 0; i < count; ++i) {
        if (hits[i]) continue;
        off_t at = static_cast<off_t>(i) * kRecLen;
        errno = 0;
        if (fseeko(fp, at, SEEK_SET) != 0) return *detail = kAtMarkSeek, 15;
        if (std::fread(rec, 1, jt::kSize, fp) != jt::kSize) return *detail = kAtMarkRead, 14;
        if (fseeko(fp, at, SEEK_SET) != 0) return *detail = kAtMarkSeekBack, 15;
        rec[jt::kMark] = static_cast<unsigned char>(mark);
        if (std::fwrite(rec, 1, jt::kSize, fp) != jt::kSize) return *detail = kAtMarkWrite, 13;
    }
    return 0;
}

}  // namespace

int v_make_jouhou_tmp_name(char* buf) {
    if (buf == nullptr) return -1;
    std::memset(buf, 0, kPathSize);
    std::strcpy(buf, vw::kJouhouName);
    return get_path_name(kPathWork, -1, buf);
}

int v_close_jouhou_tmp(std::FILE** fp, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (fp == nullptr || *fp == nullptr) return 0;
    errno = 0;
    int r = std::fclose(*fp);
    *fp = nullptr;
    if (r != 0) {
        *err = errno_or_eio();
        return 12;
    }
    return 0;
}

int v_open_jouhou_tmp(int mode, std::FILE** fp, int32_t* count, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (fp == nullptr) return 128;
    if (int r = v_close_jouhou_tmp(fp, err); r != 0) return r;
    const char* how = mode == kJouhouRead ? "rb" : mode == kJouhouWrite ? "wb" : mode == kJouhouUpdate ? "r+b" : nullptr;
    if (how == nullptr) {
        *err = mode;
        return 128;
    }
    char path[kPathSize];
    if (int r = v_make_jouhou_tmp_name(path); r != 0) return r;
    errno = 0;
    std::FILE* f = plat::fopen(path, how);
    if (f == nullptr) {
        *err = errno_or_eio();
        return 11;
    }
    if (count != nullptr) {
        struct stat st {};
        if (fstat(fileno(f), &st) != 0) {
            *err = errno_or_eio();
            std::fclose(f);
            return 11;
        }
        *count = static_cast<int32_t>(st.st_size / kRecLen);
    }
    *fp = f;
    return 0;
}

int v_jtmp_sign(int32_t flags, int32_t num1, int32_t num2, const char* vin, const char* six, const char* fifteen,
                const char* text, const char* date, int32_t* detail) {
    int32_t dummy = 0;
    if (detail == nullptr) detail = &dummy;
    *detail = 0;

    Wanted w{flags, num1, num2, {}, six, fifteen, text, date};
    const struct {
        int32_t bit;
        const void* value;
    } needed[] = {{vw::kTestVin, vin}, {vw::kTestSix, six}, {vw::kTestFifteen, fifteen}, {vw::kTestText, text},
                  {vw::kTestDate, date}};
    for (const auto& n : needed)
        if ((flags & n.bit) && n.value == nullptr) {
            *detail = n.bit;
            return 128;
        }
    if (flags & vw::kTestVin) v_copy_vin(vin, w.vin);
    char mark = 0;
    if (int r = current_mark(&mark, detail); r != 0) return r;

    char path[kPathSize];
    if (v_make_jouhou_tmp_name(path) != 0) {
        *detail = kAtPath;
        return -1;
    }
    errno = 0;
    std::FILE* fp = plat::fopen(path, "r+b");
    if (fp == nullptr) {
        *detail = errno_or_eio();
        return 11;
    }
    int result = 0;
    struct stat st {};
    int32_t count = 0;
    if (fstat(fileno(fp), &st) != 0) {
        *detail = kAtFirstRead;
        result = 14;
    } else {
        off_t n = st.st_size / kRecLen;
        count = n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
    }
    std::unique_ptr<unsigned char[]> hits;
    if (result == 0) {
        hits.reset(new (std::nothrow) unsigned char[count > 0 ? count : 1]());
        if (!hits) {
            *detail = count;
            result = 20;
        }
    }
    bool any = false;
    if (result == 0 && (result = find_hits(fp, count, w, hits.get(), &any)) != 0) *detail = kAtFirstRead;
    if (result == 0 && any) result = mark_misses(fp, count, hits.get(), mark, detail);
    if (std::fclose(fp) != 0 && result == 0) {
        *detail = kAtClose;
        result = 12;
    }
    if (result != 0) return result;
    return any ? 0 : 1;
}

}  // namespace pxall
