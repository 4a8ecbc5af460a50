#include "partslist/pnho_pages.h"

#include <cctype>

namespace px::partslist {

bool reads_as_number(const std::string& f) {
    size_t b = f.find_first_not_of(' ');
    if (b == std::string::npos) return false;
    size_t e = f.find_last_not_of(' ');
    for (size_t i = b; i <= e; ++i)
        if (!std::isdigit(static_cast<unsigned char>(f[i]))) return false;
    return true;
}

std::string field(const std::string& rec, int n) {
    if (n < 1 || n > 9 || rec.size() < kRecordSize) return std::string();
    return rec.substr(kFieldOffset[n], kFieldWidth[n]);
}

int32_t group_end(const PartsList& recs, int32_t first) {
    const int32_t count = static_cast<int32_t>(recs.size()) - 1;
    if (first > count) return first;
    int32_t r = first + 1;
    while (r <= count && !reads_as_number(field(recs[static_cast<size_t>(r)], 2))) ++r;
    return r;
}

int32_t page_end(const PartsList& recs, int32_t first) {
    const int32_t count = static_cast<int32_t>(recs.size()) - 1;
    int32_t at = first;
    while (at <= count) {
        int32_t next = group_end(recs, at);
        // A group too large for any page goes alone on its page.
        if (at == first) {
            at = next;
            if (next - first > kPageLines) break;
            continue;
        }
        if (next - first > kPageLines) break;
        at = next;
    }
    return at;
}

int32_t count_pages(const PartsList& recs) {
    const int32_t count = static_cast<int32_t>(recs.size()) - 1;
    int32_t pages = 0;
    for (int32_t at = 1; at <= count; at = page_end(recs, at)) ++pages;
    return pages;
}

}  // namespace px::partslist
