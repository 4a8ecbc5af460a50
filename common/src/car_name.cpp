#include "pxall/car_name.h"

#include <cstring>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/cdrom.h"

namespace pxall {

namespace {
constexpr int kKeySize = 6;
constexpr size_t kCdNo = 87;
}  // namespace

int v_check_shamei_d(const char* key, const int32_t* entries, int count, void* rec, int32_t* entry_index,
                     int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (key == nullptr || entries == nullptr || count < 1) return 1;
    // Any record length the stored data may claim fits the buffer.
    std::vector<unsigned char> buf(keyed::kBlockSize);
    for (int i = 0; i < count; ++i) {
        // An entry number outside the set-up table names no data set.
        const unsigned char* top = get_ctop_addr();
        const unsigned char* entry = setup_entry_addr(entries[i]);
        if (top == nullptr || entry == nullptr || entries[i] >= get_i32(top + ctop::kSetupCount)) continue;
        CdCursor* cursor = nullptr;
        int detail = 0;
        int r = cdget_some_cd_data("SHAMEI.DAT", "", 1, 0, -1, &entries[i], 1, buf.data(), key, kKeySize, 0, nullptr,
                                   nullptr, 0, &cursor, &detail);
        if (cursor != nullptr) cdget_some_cd_data(nullptr, nullptr, 0, -1, 0, nullptr, 0, nullptr, nullptr, 0, 0, nullptr,
                                                  nullptr, 0, &cursor, nullptr);
        if (r == -1) continue;
        if (r != 0) {
            *err = detail;
            return r;
        }
        char cd_no[2];
        std::memcpy(cd_no, buf.data() + kCdNo, 2);
        int found = setuped_cdno2_to_cdno1(static_cast<char>(entry[setup_entry::kName]), nullptr, cd_no);
        if (found < 0) return 6;
        if (rec != nullptr) std::memcpy(rec, buf.data(), kCarNameRecordSize);
        if (entry_index != nullptr) *entry_index = found;
        return 0;
    }
    return 1;
}

}  // namespace pxall
