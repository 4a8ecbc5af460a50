#include "pxall/vehicle.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "pxall/blocks.h"
#include "pxall/text_cut.h"

namespace pxall {

namespace {

constexpr size_t kVinPrefixSize = 10;
constexpr size_t kFrameNoSize = 7;
constexpr size_t kVinSize = kVinPrefixSize + kFrameNoSize;
constexpr size_t kCdDateSize = 8;
constexpr char kAreaLetters[] = "EGUJ";

// Copies width bytes of src into the caller's string, NUL as blank, never
// more than the string holds (a character that does not fit whole is a
// blank); the count written.
int32_t copy_blanked(const unsigned char* src, size_t width, VbString* str) {
    if (str == nullptr || str->data == nullptr || str->len <= 0) return 0;
    const size_t n = std::min(width, static_cast<size_t>(str->len));
    const size_t whole = text_cut_length(std::string_view(reinterpret_cast<const char*>(src), width), n);
    for (size_t i = 0; i < n; ++i) str->data[i] = i >= whole || src[i] == 0 ? ' ' : static_cast<char>(src[i]);
    return static_cast<int32_t>(n);
}

void copy_vehicle_field(size_t at, size_t width, VbString* str) {
    const unsigned char* car = get_ccar_addr();
    if (car == nullptr) return;
    copy_blanked(car + at, width, str);
}

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// The first set-up entry of an area's catalogue data sets, or -1. For E and J
// only a digit after the letter counts: "EF", "JG" are frame-number data sets.
// (The CD layer's own lookup will serve the same purpose; this keeps the
// accessor free of it.)
int first_catalogue_entry(char area) {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return -1;
    int32_t count = std::min<int32_t>(get_i32(top + ctop::kSetupCount), ctop::kMaxSetup);
    bool digit_only = area == 'E' || area == 'J';
    for (int i = 0; i < count; ++i) {
        const unsigned char* e = setup_entry_addr(i);
        if (e == nullptr || e[setup_entry::kName] != static_cast<unsigned char>(area)) continue;
        if (digit_only && !is_digit(e[setup_entry::kName + 1])) continue;
        return i;
    }
    return -1;
}

}  // namespace

}  // namespace pxall

using namespace pxall;

extern "C" {

void VBGetCat(VbString* str) { copy_vehicle_field(ccar::kCatalog, 6, str); }
void VBGetFrameModel(VbString* str) { copy_vehicle_field(ccar::kFrameModel, 7, str); }
void VBGetFrameNo(VbString* str) { copy_vehicle_field(ccar::kFrameNo, kFrameNoSize, str); }
void VBGetAd(VbString* str) { copy_vehicle_field(ccar::kProdDate, 6, str); }
void VBGetColorNo(VbString* str) { copy_vehicle_field(ccar::kColorNo, 3, str); }
void VBGetTrimNo(VbString* str) { copy_vehicle_field(ccar::kTrimNo, 4, str); }
void VBGetNotes(VbString* str) { copy_vehicle_field(ccar::kNotes, 30, str); }

void VBGetCharact1(VbString* first, VbString* second) {
    copy_vehicle_field(ccar::kCharact1a, 10, first);
    copy_vehicle_field(ccar::kCharact1b, 10, second);
}

void VBGetCharact2(int16_t k, VbString* str) {
    // A k beyond the fields would read the vehicle name or past it.
    if (k < 0 || k > kMaxCharact2) return;
    copy_vehicle_field(ccar::kCharact2 + 5 * static_cast<size_t>(k), 5, str);
}

void VBGetVName(VbString* str) { copy_vehicle_field(ccar::kVehicleName, 20, str); }
void VBGetProDateF(VbString* str) { copy_vehicle_field(ccar::kProdFrom, 4, str); }
void VBGetProDateT(VbString* str) { copy_vehicle_field(ccar::kProdTo, 4, str); }
void VBGetModel(VbString* str) { copy_vehicle_field(ccar::kModel, 20, str); }

int32_t VBGetVin(VbString* str) {
    const unsigned char* car = get_ccar_addr();
    if (car == nullptr) return 0;
    unsigned char vin[kVinSize];
    std::memcpy(vin, car + ccar::kVinPrefix, kVinPrefixSize);
    std::memcpy(vin + kVinPrefixSize, car + ccar::kFrameNo, kFrameNoSize);
    return copy_blanked(vin, kVinSize, str);
}

void VBGetCrntCatCDDate(VbString* str) {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return;
    // The area index is -1 when the environment named no known area.
    int32_t area = get_i32(top + ctop::kAreaIndex);
    if (area < 0 || area > 3) return;
    int i = first_catalogue_entry(kAreaLetters[area]);
    const unsigned char* e = i < 0 ? nullptr : setup_entry_addr(i);
    if (e == nullptr) return;
    copy_blanked(e + setup_entry::kCdDate, kCdDateSize, str);
}

}  // extern "C"
