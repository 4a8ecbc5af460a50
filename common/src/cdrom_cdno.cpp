// The table of CD numbers named by the car names of a catalogue CD.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "keyed_handle.h"
#include "pxall/cdrom.h"

namespace pxall {

namespace {
constexpr int kCarNameRecLen = 97;
constexpr int kCdNoField = 87;
}  // namespace

int cdmake_cdno_table(int drive, const char* cd_id, const char* cd_no, const char* cd_date, uint8_t** table,
                      int32_t* count, int option, int* detail) {
    set_detail(detail, 0);
    if (table == nullptr || count == nullptr) return 128;
    *table = nullptr;
    *count = 0;
    CdHandle* h = nullptr;
    int r = cdopen_direct("SHAMEI.DAT", "", 1, drive, option, cd_id, cd_no, cd_date, 0, 0, 0, &h, detail);
    if (r != 0) return r;
    std::vector<std::array<uint8_t, kCdNoEntrySize>> found;
    uint8_t rec[kCarNameRecLen];
    while ((r = cdread(rec, nullptr, 0, 0, nullptr, nullptr, h, detail)) == 0) {
        const uint8_t* f = rec + kCdNoField;
        if (f[0] == ' ' && f[1] == ' ') continue;
        std::array<uint8_t, kCdNoEntrySize> e = {0, 0, f[0], f[1]};
        if (std::find(found.begin(), found.end(), e) != found.end()) continue;
        if (found.size() == kCdNoMax) {
            cdclose(&h, nullptr);
            set_detail(detail, cdd::kCdNoTooMany);
            return 128;
        }
        found.push_back(e);
    }
    cdclose(&h, nullptr);
    if (r != -1) return r;
    std::sort(found.begin(), found.end());
    auto* out = static_cast<uint8_t*>(std::malloc(found.empty() ? 1 : found.size() * kCdNoEntrySize));
    if (out == nullptr) {
        set_detail(detail, cdd::kCdNoMemory);
        return 20;
    }
    char digit = found.empty() ? '0' : static_cast<char>(found[0][3]);
    for (size_t i = 0; i < found.size(); ++i) {
        found[i][0] = static_cast<uint8_t>(cd_id[0]);
        found[i][1] = static_cast<uint8_t>(digit + i);
        std::memcpy(out + i * kCdNoEntrySize, found[i].data(), kCdNoEntrySize);
    }
    *table = out;
    *count = static_cast<int32_t>(found.size());
    return 0;
}

}  // namespace pxall
