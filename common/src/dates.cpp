#include "pxall/dates.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/clock.h"

namespace pxall {

namespace {
constexpr int kPollMs = 100;

// Two characters as a number: leading blanks skipped, then digits up to the
// first non-digit.
int two_digits(const char* p) {
    int i = 0;
    while (i < 2 && p[i] == ' ') ++i;
    int v = 0;
    while (i < 2 && p[i] >= '0' && p[i] <= '9') v = v * 10 + (p[i++] - '0');
    return v;
}

void put2(char* out, int v) {
    out[0] = static_cast<char>('0' + (v / 10) % 10);
    out[1] = static_cast<char>('0' + v % 10);
}
}  // namespace

void timer(int n) {
    if (n < 1) return;
    int64_t start = plat::now_seconds();
    while (plat::now_seconds() - start < n) plat::sleep_ms(kPollMs);
}

void date2(char* out) {
    if (out == nullptr) return;
    std::tm t = plat::local_now();
    int yy = (t.tm_year + 1900) % 100;
    if (yy < 0) yy += 100;
    put2(out, yy < 51 ? 20 : 19);
    put2(out + 2, yy);
    put2(out + 4, t.tm_mon + 1);
    put2(out + 6, t.tm_mday);
}

void time2(char* out) {
    if (out == nullptr) return;
    std::tm t = plat::local_now();
    put2(out, t.tm_hour);
    put2(out + 2, t.tm_min);
    put2(out + 4, t.tm_sec);
}

int check_2000(const char* yy, int* year) {
    int v = yy == nullptr ? 0 : two_digits(yy);
    if (year != nullptr) *year = v;
    return v < 51 ? 2 : 1;
}

int32_t ad2i(const char* yymm) {
    if (yymm == nullptr) return 0;
    int year = 0;
    int century = check_2000(yymm, &year);
    int month = two_digits(yymm + 2);
    if (year == 0 && month == 0) return 0;
    if (century == 2) year += 100;
    return year * 12 + month;
}

}  // namespace pxall
