#include "pxall/strutil.h"

#include <cstring>

namespace pxall {

namespace {
inline bool is_blank_or_control(char c) { return static_cast<unsigned char>(c) <= 0x20; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int leading_run(const char* field, char c, int n) {
    int k = 0;
    while (k < n && field[k] == c) ++k;
    return k;
}
}  // namespace

int memlft(char* field, char c, int n) {
    if (field == nullptr || n < 1) return 0;
    int k = leading_run(field, c, n);
    if (k > 0 && k < n) std::memmove(field, field + k, static_cast<size_t>(n - k));
    std::memset(field + (n - k), c, static_cast<size_t>(k));
    return k;
}

int memlft2(char* dest, char* field, char c, char d, int n) {
    if (dest == nullptr || field == nullptr || n < 1) return 0;
    int k = leading_run(field, c, n);
    for (int i = 0; i < n; ++i)
        if (field[i] == c) field[i] = d;
    std::memmove(dest, field + k, static_cast<size_t>(n - k));
    std::memset(dest + (n - k), d, static_cast<size_t>(k));
    return k;
}

void memrep(char* dest, const char* src, char c, char d, int n) {
    if (dest == nullptr || src == nullptr) return;
    for (int i = 0; i < n; ++i) dest[i] = src[i] == c ? d : src[i];
}

int strlft(char* s, char c) {
    if (s == nullptr || c == '\0') return 0;
    int n = static_cast<int>(std::strlen(s));
    return memlft(s, c, n);
}

int strrep(char* s, char c, char d) {
    if (s == nullptr || c == '\0') return 0;
    // Measured first: a NUL d must not shorten the walk.
    size_t n = std::strlen(s);
    int count = 0;
    for (size_t i = 0; i < n; ++i) {
        if (s[i] == c) {
            s[i] = d;
            ++count;
        }
    }
    return count;
}

int memall(const char* field, char c, int n) {
    if (field == nullptr) return n < 1 ? 1 : 0;
    for (int i = 0; i < n; ++i)
        if (field[i] != c) return 0;
    return 1;
}

int memclen(const char* field, char c, int n) {
    if (field == nullptr) return -1;
    for (int i = 0; i < n; ++i)
        if (field[i] == c) return i;
    return -1;
}

int memlenf(const char* field, int n) {
    if (field == nullptr || n < 1) return 0;
    int i = 0;
    while (i < n && !is_blank_or_control(field[i])) ++i;
    return i;
}

int memlenb(const char* field, int n) {
    if (field == nullptr || n < 1) return 0;
    while (n > 0 && is_blank_or_control(field[n - 1])) --n;
    return n;
}

int memisdigit(const char* field, int n) {
    if (field == nullptr) return n < 1 ? 1 : 0;
    for (int i = 0; i < n; ++i)
        if (!is_digit(field[i])) return 0;
    return 1;
}

int memisalnum(const char* field, int n) {
    if (field == nullptr) return n < 1 ? 1 : 0;
    for (int i = 0; i < n; ++i)
        if (!is_digit(field[i]) && !is_letter(field[i])) return 0;
    return 1;
}

int memcatcheck(const char* field, int n) {
    if (field == nullptr) return n < 1 ? 1 : 0;
    for (int i = 0; i < n; ++i) {
        if (is_digit(field[i])) continue;
        if (i == 4 && is_letter(field[i])) continue;
        return 0;
    }
    return 1;
}

void zeroedit(char* field, int n) {
    if (field == nullptr || n < 1 || n > 9) return;
    char keep[9];
    int k = 0;
    for (int i = 0; i < n; ++i)
        if (!is_blank_or_control(field[i])) keep[k++] = field[i];
    std::memset(field, '0', static_cast<size_t>(n - k));
    std::memcpy(field + (n - k), keep, static_cast<size_t>(k));
}

void memncpy(char* dest, const char* s, int n) {
    if (dest == nullptr || s == nullptr) return;
    for (int i = 0; i < n && s[i] != '\0'; ++i) dest[i] = s[i];
}

void last_space2null(char* field, int n) {
    if (field == nullptr) return;
    while (n > 0 && is_blank_or_control(field[n - 1])) field[--n] = '\0';
}

int memmem(const char* buf, int n, const char* pattern, int m) {
    if (buf == nullptr || pattern == nullptr || m < 1 || m > n) return -1;
    for (int i = 0; i <= n - m; ++i)
        if (buf[i] == pattern[0] && std::memcmp(buf + i, pattern, static_cast<size_t>(m)) == 0) return i;
    return -1;
}

int erase_zero(char* field, int n) {
    if (field == nullptr || n < 1) return 0;
    int i = 0;
    while (i < n && (field[i] == '0' || field[i] == ',' || field[i] == ' ')) field[i++] = ' ';
    if (i == n) {
        field[n - 1] = '0';
        --i;
    }
    return i;
}

}  // namespace pxall
