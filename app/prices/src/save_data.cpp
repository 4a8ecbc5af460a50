#include "prices/save_data.h"

#include <cstdio>

#include "prices/fields.h"

namespace px::save_data {

namespace {

constexpr int32_t kErrTypeMismatch = 13;
constexpr int32_t kErrInputPastEnd = 62;

}  // namespace

int count_value(std::string_view field) {
    std::string t = prices::trim(field);
    if (t.empty()) return 0;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

int32_t parse(std::string_view bytes, std::string* header, std::vector<Part>* parts) {
    parts->clear();
    if (bytes.size() < kHeaderSize) return kErrInputPastEnd;
    *header = std::string(bytes.substr(0, kHeaderSize));
    int n = count_value(header->substr(kCount, kCountSize));
    if (n < 0) return kErrTypeMismatch;
    // A count beyond the records present is a damaged file, not garbage lines.
    if (bytes.size() < kHeaderSize + kPartSize * static_cast<size_t>(n)) return kErrInputPastEnd;
    for (int i = 0; i < n; ++i) {
        std::string_view rec = bytes.substr(kHeaderSize + kPartSize * static_cast<size_t>(i), kPartSize);
        parts->push_back({std::string(rec.substr(0, 12)), std::string(rec.substr(12, 2))});
    }
    return 0;
}

std::string build(std::string_view header, const std::vector<Part>& parts) {
    std::string out = prices::fixed(header, kHeaderSize);
    out.replace(kCount, kCountSize, prices::fixed(std::to_string(parts.size()), kCountSize));
    for (const Part& p : parts) out += prices::fixed(p.part_no, 12) + prices::fixed(p.qty, 2);
    return out;
}

std::string line(int number, std::string_view part_no, std::string_view qty) {
    char no[8];
    std::snprintf(no, sizeof no, "%03d", number % 1000);
    std::string pn = prices::fixed(part_no, 12);
    return std::string(" ") + no + "  " + pn.substr(0, 5) + "-" + pn.substr(5, 5) + "-" + pn.substr(10, 2) + "   " +
           prices::fixed(qty, 2);
}

Part part_of_line(std::string_view l) {
    return {prices::field(l, 6, 5) + prices::field(l, 12, 5) + prices::field(l, 18, 2), prices::field(l, 23, 2)};
}

std::string renumber(std::string_view l, int number) {
    char no[8];
    std::snprintf(no, sizeof no, "%03d", number % 1000);
    std::string out = prices::fixed(l, std::max<size_t>(l.size(), 4));
    out.replace(1, 3, no);
    return out;
}

std::string csv_field(std::string_view text, bool always_quote) {
    bool quote = always_quote || text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string csv_header(std::string_view header, int count) {
    std::string h = prices::fixed(header, kHeaderSize);
    auto f = [&](size_t at, size_t n) { return csv_field(prices::trim(h.substr(at, n))); };
    char no[8];
    std::snprintf(no, sizeof no, "%03d", count % 1000);
    return f(kVin, kVinSize) + "," + f(kModel, kModelSize) + "," + f(kCatalog, kCatalogSize) + "," +
           f(kProdDate, kProdDateSize) + "," + f(kFrame, 7) + "," + f(kFrame + 8, 7) + "," +
           csv_field(prices::trim(h.substr(kNote, kNoteSize)), true) + "," + no;
}

std::string save_header(std::string_view header, int count) {
    char no[8];
    std::snprintf(no, sizeof no, "%03d", count % 1000);
    return prices::fixed(header, kCount) + no;
}

}  // namespace px::save_data
