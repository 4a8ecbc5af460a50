#include "pxbuild/demo_dprc.h"

#include <cstdio>
#include <filesystem>

#include "pxbuild/bytes.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/price_writer.h"

namespace pxbuild {

namespace demo {

namespace {

uint32_t hash(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

// The retail price in hundredths; the KAKAKU price and PRICE3's first.
uint32_t retail(const std::string& part) { return hash(part) % 60000 + 350; }

std::string money(uint32_t hundredths) {
    char b[16];
    std::snprintf(b, sizeof b, "%8.2f", hundredths / 100.0);
    return b;
}

std::string field(const std::string& part) {
    char b[16];
    std::snprintf(b, sizeof b, "DG%02u", hash(part) % 7 + 1);
    return b;
}

}  // namespace

bool has_price(const std::string& part_no) {
    // The parts of every catalogue ("15601YZ001A1") are always priced.
    if (part_no.size() >= 12 && part_no.compare(5, 7, "YZ001A1") == 0) return true;
    return (hash(part_no) >> 8) % 8 != 0;
}

std::vector<std::string> kakaku_records() {
    std::vector<std::string> out;
    for (const auto& [part, name] : all_part_numbers()) {
        if (!has_price(part)) continue;
        out.push_back(
            Record(50).text(0, 12, part).text(12, 8, money(retail(part))).text(20, 10, field(part)).text(30, 20, name));
    }
    return out;
}

std::vector<std::string> price3_records() {
    std::vector<std::string> out;
    for (const auto& [part, name] : all_part_numbers()) {
        if (!has_price(part)) continue;
        uint32_t r = retail(part);
        out.push_back(Record(66)
                          .text(0, 12, part)
                          .text(12, 8, money(r))
                          .text(20, 8, money(r * 3 / 4))
                          .text(28, 8, money(r * 11 / 10))
                          .text(36, 10, field(part))
                          .text(46, 20, name));
    }
    return out;
}

}  // namespace demo

DemoPrices write_demo_prices(const std::string& kakaku_dir, const std::string& price3_dir) {
    DemoPrices d;
    std::vector<std::string> k = demo::kakaku_records();
    std::vector<std::string> p = demo::price3_records();
    std::filesystem::create_directories(kakaku_dir);
    std::filesystem::create_directories(price3_dir);
    write_price(kakaku_dir, build_price(PriceKind::kKakaku, k));
    write_price(price3_dir, build_price(PriceKind::kPrice3, p));
    d.kakaku = static_cast<int>(k.size());
    d.price3 = static_cast<int>(p.size());
    return d;
}

}  // namespace pxbuild
