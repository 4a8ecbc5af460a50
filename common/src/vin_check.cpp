#include "pxall/vin.h"

#include <cstring>
#include <initializer_list>

#include "pxall/vehicle_work_layout.h"

namespace pxall {

namespace {
namespace vw = vehwork;

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool above_blank(unsigned char c) { return c > ' '; }
}  // namespace

int v_set_vin_len(const char* vin) {
    if (vin == nullptr) return vw::kShortPrefix;
    for (const auto& wmi : vw::kWmis)
        if (std::memcmp(vin, wmi, vw::kWmiSize) == 0) return vw::kLongPrefix;
    return vw::kShortPrefix;
}

char v_set_vin_char(const char* vin) { return v_set_vin_len(vin) == vw::kLongPrefix ? '0' : ' '; }

int v_copy_vin(const char* vin, char* field) {
    if (field == nullptr) return 0;
    std::memset(field, ' ', vw::kLongPrefix);
    if (vin == nullptr) return 0;
    int n = v_set_vin_len(vin);
    std::memcpy(field, vin, static_cast<size_t>(n));
    return n;
}

void v_edit_vin(char* vin) {
    if (vin == nullptr) return;
    auto* v = reinterpret_cast<unsigned char*>(vin);
    if (!above_blank(v[10])) return;
    char fill = v_set_vin_char(vin);
    for (int i : {8, 9})
        if (!above_blank(v[i])) vin[i] = fill;
}

int v_valid_frameno(const char* field) {
    if (field == nullptr) return 0;
    auto* f = reinterpret_cast<const unsigned char*>(field);
    // Any ASCII letter, lower case too, as the frame-number check says.
    if (!is_letter(f[0]) && !is_digit(f[0])) return 0;
    for (int i = 1; i < vw::kFrameNoSize; ++i)
        if (!is_digit(f[i])) return 0;
    return 1;
}

}  // namespace pxall
