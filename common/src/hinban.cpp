#include "pxall/hinban.h"

#include <cstddef>
#include <cstring>

#include "pxall/strutil.h"

namespace pxall {

void edit_hinban14(char* out, const char* hinban) {
    if (out == nullptr || hinban == nullptr) return;
    if (memlenb(hinban, kHinbanSize) == 0) {
        std::memcpy(out, hinban, 5);
        std::memset(out + 5, ' ', kHinbanDisplaySize - 5);
        return;
    }
    std::memcpy(out, hinban, 5);
    out[5] = '-';
    std::memcpy(out + 6, hinban + 5, 5);
    out[11] = '-';
    std::memcpy(out + 12, hinban + 10, 2);
}

void edit_hinban12(char* out, const char* display) {
    if (out == nullptr || display == nullptr) return;
    std::memset(out, ' ', kHinbanSize);
    std::memcpy(out, display, 5);
    if (static_cast<unsigned char>(display[6]) > ' ') std::memcpy(out + 5, display + 6, 5);
    if (static_cast<unsigned char>(display[12]) > ' ') std::memcpy(out + 10, display + 12, 2);
}

void edit_filename(char* buf) {
    if (buf == nullptr) return;
    char name[14];
    int k = 0;
    for (int i = 0; i < 8; ++i)
        if (static_cast<unsigned char>(buf[i]) > ' ') name[k++] = buf[i];
    int dot = k;
    name[k++] = '.';
    for (int i = 8; i < 11; ++i)
        if (static_cast<unsigned char>(buf[i]) > ' ') name[k++] = buf[i];
    if (k == dot + 1) k = dot;  // no extension, no dot
    name[k] = '\0';
    std::memcpy(buf, name, static_cast<size_t>(k) + 1);
}

int teki2bit(const char* n3, int* byte, uint8_t* mask) {
    if (byte != nullptr) *byte = 0;
    if (mask != nullptr) *mask = 0;
    if (n3 == nullptr || byte == nullptr || mask == nullptr) return -1;
    if (!memisdigit(n3, 3)) return -1;
    int n = (n3[0] - '0') * 100 + (n3[1] - '0') * 10 + (n3[2] - '0');
    // Item 0 would index byte -1.
    if (n < 1) return -1;
    *byte = (n - 1) / 8;
    *mask = static_cast<uint8_t>(0x80u >> ((n - 1) % 8));
    return 0;
}

uint32_t cvt_alnum2ulong(const char* field, int n) {
    if (field == nullptr || n < 1 || n > 9) return 0;
    uint32_t value = 0;
    uint32_t weight = 1;
    for (int i = n - 1; i >= 0; --i, weight *= 10) {
        char c = field[i];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'Z')
            digit = static_cast<uint32_t>(c - '7');
        else if (c >= 'a' && c <= 'z')
            digit = static_cast<uint32_t>(c - 'a' + 'A' - '7');
        value += digit * weight;
    }
    return value;
}

int area_id(const char* text) {
    if (text == nullptr || text[0] == '\0') return -1;
    const char* p = std::strchr(kAreaLetters, text[0]);
    return p == nullptr ? -1 : static_cast<int>(p - kAreaLetters);
}

unsigned char* area_letter(const char* text, unsigned char* base, int step) {
    if (text == nullptr || base == nullptr || step < 1) return nullptr;
    int area = area_id(text);
    if (area < 0) return nullptr;
    return base + static_cast<std::ptrdiff_t>(area) * step;
}

int GetAreaChar(int area, char* letter) {
    if (area < 0 || area > 3 || letter == nullptr) return -1;
    *letter = kAreaLetters[area];
    return 0;
}

}  // namespace pxall
