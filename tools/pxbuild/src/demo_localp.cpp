#include "pxbuild/demo_localp.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "demo_tables.h"
#include "pxall/localp_layout.h"
#include "pxbuild/demo_data.h"

namespace fs = std::filesystem;
namespace lp = pxall::localp;

namespace pxbuild {

namespace {

const lp::SetLayout& layout(int set) {
    if (set < 1 || set > lp::kSets) throw BuildError("local price set " + std::to_string(set) + ": not 1-3");
    return lp::kLayout[set - 1];
}

// The set-up's sort: sets 1 and 2 on bytes 0-23; set 3 on its key, then the
// part number.
bool sorts_before(int set, const std::string& a, const std::string& b) {
    if (set != 3) return a.compare(0, 24, b, 0, 24) < 0;
    int c = a.compare(lp::set3::kCatalog, 10, b, lp::set3::kCatalog, 10);
    if (c != 0) return c < 0;
    return a.compare(lp::set3::kPart, lp::set3::kPartSize, b, lp::set3::kPart, lp::set3::kPartSize) < 0;
}

}  // namespace

LocalPriceImage build_local_price(int set, std::vector<std::string> records) {
    const lp::SetLayout& s = layout(set);
    for (const auto& r : records)
        if (static_cast<int>(r.size()) != s.rec_len)
            throw BuildError(std::string(s.data_name) + ": record of " + std::to_string(r.size()) + " bytes, expected " +
                             std::to_string(s.rec_len));
    std::stable_sort(records.begin(), records.end(),
                     [set](const std::string& a, const std::string& b) { return sorts_before(set, a, b); });

    LocalPriceImage img;
    img.data_name = s.data_name;
    img.index_name = s.index_name;
    for (const auto& r : records) img.data.insert(img.data.end(), r.begin(), r.end());

    auto put_entry = [&](const std::string& key, size_t first, size_t count) {
        if (first > 0xffff || count > 0xffff)
            throw BuildError(std::string(s.index_name) + ": key " + key + " beyond the 16-bit record numbers");
        Bytes e(static_cast<size_t>(s.entry_len), 0);
        std::copy(key.begin(), key.end(), e.begin());
        put_u16(&e[lp::first_at(s.key_len)], static_cast<uint32_t>(first));
        put_u16(&e[lp::count_at(s.key_len)], static_cast<uint32_t>(count));
        img.index.insert(img.index.end(), e.begin(), e.end());
    };
    size_t first = 0;
    for (size_t i = 1; i <= records.size(); ++i) {
        std::string key = records[first].substr(0, static_cast<size_t>(s.key_len));
        if (i < records.size() && records[i].compare(0, static_cast<size_t>(s.key_len), key) == 0) continue;
        put_entry(key, first, i - first);
        first = i;
    }
    return img;
}

void write_local_price(const std::string& host_dir, const LocalPriceImage& img) {
    write_file((fs::path(host_dir) / img.data_name).string(), img.data);
    write_file((fs::path(host_dir) / img.index_name).string(), img.index);
}

namespace demo {

namespace {

// A locally supplied part: the dealer's number, the part-name code it stands
// in for, and what it is.
struct LocalPart {
    const char* number;
    const char* pnc;
    const char* text;
    const char* group;
};

const LocalPart kLocalParts[] = {
    {"LX-OF-0220", "15601A", "OIL FILTER, SPIN-ON, LOCAL", "F1"},
    {"LX-OF-0225", "15601A", "OIL FILTER, HEAVY DUTY", "F1"},
    {"LX-AF-1140", "17801A", "AIR FILTER ELEMENT, PANEL", "F1"},
    {"LX-SP-0016", "90919A", "SPARK PLUG, IRIDIUM", "E2"},
    {"LX-BP-4465", "04465A", "BRAKE PAD SET, FRONT, LOW DUST", "B1"},
    {"LX-BD-4351", "43512A", "BRAKE DISC, FRONT, VENTED", "B1"},
    {"LX-BS-4495", "04495A", "BRAKE SHOE SET, REAR", "B1"},
    {"LX-BT-0070", "28800A", "BATTERY 12V 70AH, SEALED", "E1"},
    {"LX-BT-0080", "28800A", "BATTERY 12V 80AH, COLD CLIMATE", "E1"},
    {"LX-TH-0082", "90916A", "THERMOSTAT 82 DEG, GASKET INCL", "C1"},
    {"LX-CK-3125", "31250A", "CLUTCH KIT, 3 PIECE", "T1"},
    {"LX-DB-4427", "04427A", "BOOT KIT, DRIVE SHAFT, UNIVERS", "T2"},
    {"LX-RC-1640", "16401A", "RADIATOR CAP 1.1 BAR", "C1"},
};

std::string price_group(const char* g) { return std::string("P") + g; }

struct AccessoryFigure {
    const char* no;
    const char* title;
    std::vector<std::pair<const char*, const char*>> parts;  // suffix, text
};

const std::vector<AccessoryFigure>& accessory_figures() {
    static const std::vector<AccessoryFigure> k = {
        {"9101", "ROOF RACK & CARRIERS",
         {{"01", "ROOF BARS, ALUMINIUM, PAIR"}, {"02", "BICYCLE CARRIER, ROOF MOUNTED"},
          {"03", "ROOF BOX 400 LITRE, BLACK"}, {"04", "SKI CARRIER, 4 PAIRS"}, {"05", "LOCK SET, ROOF BARS, 4 KEYS"}}},
        {"9201", "TOWING EQUIPMENT",
         {{"01", "TOW BAR, DETACHABLE"}, {"02", "WIRING KIT, 13-PIN, VEHICLE SPECIFIC"},
          {"03", "ADAPTER 13-PIN TO 7-PIN"}, {"04", "COVER, TOW BALL"}}},
        {"9301", "FLOOR MATS & LOAD PROTECTION",
         {{"01", "FLOOR MAT SET, VELOUR, 4 PIECES"}, {"02", "FLOOR MAT SET, RUBBER, 4 PIECES"},
          {"03", "LOAD TRAY, LUGGAGE COMPARTMENT"}, {"04", "MUD FLAPS, FRONT, PAIR"}, {"05", "MUD FLAPS, REAR, PAIR"}}},
        {"9401", "WINTER EQUIPMENT",
         {{"01", "SNOW CHAINS, QUICK FIT, PAIR"}, {"02", "WINTER WIPER BLADE, DRIVER SIDE"},
          {"03", "ENGINE BLOCK HEATER, 230V"}, {"04", "ICE SCRAPER AND BRUSH"}}},
    };
    return k;
}

// The fastener assortment of the first catalogue: more lines than one of
// the reader's blocks holds.
constexpr int kFasteners = 31;

std::string tag(const Catalog& c) { return c.code.substr(4, 2); }

std::string picture_name(const Catalog& c, const char* fig) { return tag(c) + fig + ".BMP"; }

std::string set3_record(const Catalog& c, const char* fig, const char* title, const std::string& part,
                        const std::string& text, const std::string& note) {
    return Record(132)
        .text(lp::set3::kCatalog, 6, c.code)
        .text(lp::set3::kFigure, 4, fig)
        .text(lp::set3::kTitle, 30, title)
        .text(lp::set3::kPicture, 12, picture_name(c, fig))
        .text(lp::set3::kPart, 12, part)
        .text(lp::set3::kField6, 4, "S014")
        .text(lp::set3::kField7, 4, "0001")
        .text(lp::set3::kText, 30, text)
        .text(lp::set3::kText2, 30, note);
}

// A small line drawing for a figure: a frame, a box and a few reference
// marks, different for each figure number.
Bytes picture(const std::string& seed) {
    const int w = 320, h = 200, stride = ((w + 31) / 32) * 4;
    std::vector<uint8_t> px(static_cast<size_t>(stride) * h, 0);
    auto dot = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        px[static_cast<size_t>(h - 1 - y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    };
    auto rect = [&](int x0, int y0, int x1, int y1) {
        for (int x = x0; x <= x1; ++x) dot(x, y0), dot(x, y1);
        for (int y = y0; y <= y1; ++y) dot(x0, y), dot(x1, y);
    };
    uint32_t v = 0;
    for (unsigned char c : seed) v = v * 31 + c;
    rect(0, 0, w - 1, h - 1);
    int x0 = 40 + static_cast<int>(v % 40), x1 = 200 + static_cast<int>(v % 60);
    rect(x0, 50, x1, 140);
    // Reference boxes under the part, each with its leader line.
    for (int i = 0; i < 4; ++i) {
        int x = x0 + (x1 - x0) * (2 * i + 1) / 8 - 8, y = 160;
        rect(x, y, x + 16, y + 12);
        for (int k = 0; k < 20; ++k) dot(x + 8, y - k);
    }
    Bytes b(62, 0);
    b[0] = 'B', b[1] = 'M';
    put_u32(&b[2], static_cast<uint32_t>(62 + px.size()));
    put_u32(&b[10], 62);
    put_u32(&b[14], 40);
    put_u32(&b[18], w);
    put_u32(&b[22], h);
    put_u16(&b[26], 1);
    put_u16(&b[28], 1);
    put_u32(&b[34], static_cast<uint32_t>(px.size()));
    put_u32(&b[46], 2);
    put_u32(&b[50], 2);
    b[54] = b[55] = b[56] = 0xff;  // white, then black
    b.insert(b.end(), px.begin(), px.end());
    return b;
}

}  // namespace

std::vector<std::string> local_price_records(int set) {
    std::vector<std::string> out;
    if (set == 1) {
        // The dealer's number against every maker's part number it replaces.
        auto maker = all_part_numbers();
        for (const auto& local : kLocalParts)
            for (const auto& [part, name] : maker) {
                if (part.compare(0, 5, local.pnc, 5) != 0) continue;
                out.push_back(Record(62)
                                  .text(lp::set1::kKey, 12, local.number)
                                  .text(lp::set1::kField2, 12, part)
                                  .text(lp::set1::kField3, 4, "EA")
                                  .text(lp::set1::kField4, 4, price_group(local.group))
                                  .text(lp::set1::kText, 30, local.text));
            }
    } else if (set == 2) {
        // Local alternatives by catalogue and part-name code.
        for (const auto& c : catalogs())
            for (const auto& f : figures())
                for (const auto& p : f.parts)
                    for (const auto& local : kLocalParts) {
                        if (std::string(p.pnc) != local.pnc) continue;
                        out.push_back(Record(62)
                                          .text(lp::set2::kField1, 6, c.code)
                                          .text(lp::set2::kField2, 6, p.pnc)
                                          .text(lp::set2::kField3, 12, local.number)
                                          .text(lp::set2::kField4, 4, c.date_from)
                                          .text(lp::set2::kField5, 4, "")
                                          .text(lp::set2::kText, 30, local.text));
                    }
    } else if (set == 3) {
        const auto& cats = catalogs();
        for (size_t ci = 0; ci < cats.size(); ++ci) {
            const Catalog& c = cats[ci];
            for (const auto& fig : accessory_figures())
                for (const auto& [suffix, text] : fig.parts) {
                    std::string part = "L" + tag(c) + fig.no + "-" + suffix;
                    std::string note = (std::string(fig.no) == "9201" && c.code[4] == 'E') ? "NOT FOR 2.0 PETROL" : "FITS ALL GRADES";
                    out.push_back(set3_record(c, fig.no, fig.title, part, text, note));
                }
            if (ci != 0) continue;
            for (int i = 1; i <= kFasteners; ++i) {
                char part[16], text[40];
                std::snprintf(part, sizeof part, "L%s9501-%02d", tag(c).c_str(), i);
                static const char* kinds[] = {"CLIP, TRIM PANEL", "SCREW, TAPPING", "NUT, SPEED", "GROMMET, RUBBER",
                                              "RIVET, PLASTIC", "WASHER, PLAIN", "BOLT, FLANGE"};
                std::snprintf(text, sizeof text, "%s, SIZE %d", kinds[i % 7], 4 + i % 6);
                out.push_back(set3_record(c, "9501", "FASTENERS & CLIPS ASSORTMENT", part, text, "PACK OF 10"));
            }
        }
    } else {
        layout(set);
    }
    return out;
}

std::vector<std::pair<std::string, Bytes>> local_pictures() {
    std::vector<std::pair<std::string, Bytes>> out;
    std::vector<std::string> seen;
    for (const auto& r : local_price_records(3)) {
        std::string name = r.substr(lp::set3::kPicture, lp::set3::kPictureSize);
        name = name.substr(0, name.find(' '));
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
        seen.push_back(name);
        out.emplace_back(name, picture(name));
    }
    return out;
}

}  // namespace demo

int write_demo_local_prices(const std::string& host_dir) {
    int n = 0;
    for (int set = 1; set <= lp::kSets; ++set) {
        auto records = demo::local_price_records(set);
        n += static_cast<int>(records.size());
        write_local_price(host_dir, build_local_price(set, std::move(records)));
    }
    for (const auto& [name, bytes] : demo::local_pictures()) write_file((fs::path(host_dir) / name).string(), bytes);
    return n;
}

}  // namespace pxbuild
