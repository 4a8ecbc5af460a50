#include "pxbuild/demo_data.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "demo_tables.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_vcat.h"

namespace pxbuild::demo {

namespace {

// FNV-1a: a stable number from a text, for prices and variations.
uint32_t hash(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

int months(const std::string& yymm) { return std::stoi(yymm.substr(0, 2)) * 12 + std::stoi(yymm.substr(2, 2)) - 1; }
std::string yymm(int m) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d%02d", (m / 12) % 100, m % 12 + 1);
    return b;
}

// The figure-name range character of a figure number.
char range_char(const std::string& fig) {
    if (fig < "2000") return '1';
    if (fig < "3000") return '2';
    if (fig < "5000") return '4';
    if (fig < "8000") return '5';
    return '6';
}

bool is_common(const std::string& pnc) {
    const auto& c = common_part_codes();
    return std::find(c.begin(), c.end(), pnc) != c.end();
}

// A catalogue's two-letter tag in its part numbers.
std::string tag(const Catalog& cat) { return cat.car_name.substr(0, 1) + std::string(1, cat.code[4]); }

struct Part {
    std::string pnc, part_no, from, to, fig;
    int qty;
};

// The part numbers of a catalogue: for each part-name code one per variant,
// the variants splitting the production period.
std::vector<Part> parts_of(const Catalog& cat) {
    std::vector<Part> out;
    int m0 = months(cat.date_from), m1 = months(cat.date_to);
    for (const auto& f : figures())
        for (const auto& p : f.parts) {
            std::string pnc = p.pnc;
            if (is_common(pnc)) {
                out.push_back({pnc, pnc.substr(0, 5) + "YZ001A1", cat.date_from, "9999", f.no, p.qty});
                continue;
            }
            int v = cat.variants;
            for (int i = 0; i < v; ++i) {
                char no[16];
                std::snprintf(no, sizeof no, "%s%s%03u%02d", pnc.substr(0, 5).c_str(), tag(cat).c_str(),
                              hash(cat.code + pnc) % 900 + 100, i + 1);
                int a = m0 + (m1 - m0 + 1) * i / v;
                int b = m0 + (m1 - m0 + 1) * (i + 1) / v - 1;
                out.push_back({pnc, no, yymm(a), i + 1 == v ? std::string("9999") : yymm(b), f.no, p.qty});
            }
        }
    return out;
}

std::string part_name(const std::string& pnc) {
    for (const auto& f : figures())
        for (const auto& p : f.parts)
            if (pnc == p.pnc) return p.name;
    return {};
}

}  // namespace

RootFiles root_files(const std::string& cd_id) {
    RootFiles r;
    for (const auto& c : catalogs()) {
        // Car names of the whole area, on every CD of it.
        r.shamei.push_back(car_name_record({.code = c.code,
                                            .car_name = c.car_name,
                                            .description = c.description,
                                            .date_from = c.date_from,
                                            .date_to = c.date_to,
                                            .cd_no = c.cd_no}));
        r.katarg.push_back(Record(253).text(0, 6, c.code).text(6, 20, c.car_name).text(26, 2, c.cd_no));
        if (c.cd_id != cd_id) continue;

        // Vehicles: every frame model in every grade, gearbox and destination,
        // in model years over the production period.
        const char* grades[] = {"STD", "GL", "GLX", "SPORT"};
        const char* trans[] = {"5MT", "6MT", "4AT"};
        const char* dests[] = {"EUR", "UK"};
        int m0 = months(c.date_from), m1 = months(c.date_to);
        for (size_t fmi = 0; fmi < c.frame_models.size(); ++fmi) {
            const std::string& fm = c.frame_models[fmi];
            for (int g = 0; g < 4; ++g)
                for (int t = 0; t < 3; ++t)
                    for (int d = 0; d < 2; ++d)
                        for (int y = 0; y < 4; ++y) {
                            std::string vin9 = c.wmi + fm.substr(0, 3) + std::to_string(g + 1) + fm.substr(4, 1) +
                                               std::to_string((t * 2 + d) % 10);
                            std::string k15 = fm + std::string(grades[g]).append(4, ' ').substr(0, 4) +
                                              std::string(trans[t]).substr(0, 2) + std::string(dests[d]).substr(0, 2);
                            int a = m0 + (m1 - m0 + 1) * y / 4, b = m0 + (m1 - m0 + 1) * (y + 1) / 4 - 1;
                            std::string text = c.car_name + " " + fm.substr(3, 2) + "." + fm.substr(5, 1) + " " +
                                               grades[g] + " " + trans[t] + " " + dests[d];
                            r.jouhou.push_back(Record(186)
                                                   .text(0, 6, c.code)
                                                   .text(6, 9, vin9)
                                                   .text(15, 15, k15)
                                                   .text(30, 4, yymm(a))
                                                   .text(34, 4, yymm(b))
                                                   .text(38, 10, fm.substr(3, 3))
                                                   .text(48, 125, text));
                        }
            for (int s = 0; s < 3; ++s) {
                int a = m0 + (m1 - m0 + 1) * s / 3, b = m0 + (m1 - m0 + 1) * (s + 1) / 3 - 1;
                r.framno.push_back(Record(107)
                                       .text(0, 6, c.code)
                                       .text(6, 7, fm)
                                       .num(13, 7, 100001 + s * 100000)
                                       .num(20, 7, 199999 + s * 100000)
                                       .text(27, 4, yymm(a))
                                       .text(31, 4, yymm(b))
                                       .text(35, 20, c.car_name));
            }
        }
        for (const auto& f : figures())
            r.figm01.push_back(Record(71).text(0, 6, c.code).text(6, 1, std::string(1, range_char(f.no))).text(7, 4, f.no).text(11, 60, f.name));
        for (const auto& p : parts_of(c))
            r.figind.push_back(Record(28).text(0, 6, c.code).text(6, 12, p.part_no).text(18, 6, p.pnc).text(24, 4, p.fig));
    }
    for (const auto& f : figures())
        for (const auto& p : f.parts) r.hinm01.push_back(Record(66).text(0, 6, p.pnc).text(6, 60, p.name));
    for (const auto& a : abbreviations())
        r.ryakug.push_back(Record(102).text(0, 20, a.key).text(20, 2, a.lang).text(22, 80, a.meaning));
    // Figure names by their key: catalogue, range character, then number.
    std::stable_sort(r.figm01.begin(), r.figm01.end(),
                     [](const std::string& a, const std::string& b) { return a.compare(0, 11, b, 0, 11) < 0; });
    return r;
}

CatalogFiles catalog_files(const Catalog& cat) {
    CatalogFiles f;
    // Illustration index: per group a detail page and then its overall page.
    for (char g = '1'; g <= '4'; ++g) {
        std::string key = std::string("00") + g + "0";
        f.eminde.push_back(Record(30).text(0, 6, cat.code).text(6, 4, key).text(10, 3, "001").text(13, 1, "0").text(21, 9, "000000001"));
        f.eminde.push_back(Record(30).text(0, 6, cat.code).text(6, 4, key).text(10, 3, "002").text(13, 1, "1").text(21, 9, "000000001"));
    }
    auto parts = parts_of(cat);
    int m0 = months(cat.date_from), m1 = months(cat.date_to);
    int page = 0;
    for (const auto& fig : figures()) {
        for (const auto& p : fig.parts) f.hcodeh.push_back(Record(16).text(0, 6, cat.code).text(6, 4, fig.no).text(10, 6, p.pnc));
        // Figure pages: one before and one after a mid-period change for the
        // figures of the larger catalogues.
        int pages = cat.variants > 2 && (hash(cat.code + fig.no) % 3 == 0) ? 2 : 1;
        for (int i = 0; i < pages; ++i) {
            char pkey[8];
            std::snprintf(pkey, sizeof pkey, "%s%03d", fig.no, ++page % 1000);
            Record r(256);
            r.text(0, 6, cat.code).text(6, 4, fig.no).text(14, 7, pkey);
            if (pages == 2) {
                int mid = (m0 + m1) / 2;
                r.text(21, 4, i == 0 ? cat.date_from : yymm(mid + 1)).text(25, 4, i == 0 ? yymm(mid) : "");
            } else {
                r.text(21, 4, cat.date_from);
            }
            r.text(29, 1, "0");
            r.fill(30, 125, '\xff');  // every item of the applicability bits
            std::string title = fig.name;
            if (pages == 2) title += i == 0 ? " (TO CHANGE)" : " (FROM CHANGE)";
            r.text(155, 74, title).text(229, 9, "000000001");
            f.buinde.push_back(r);
        }
    }
    // Parts: one record per part number, an alternative record for some and a
    // remarks continuation for others.
    for (const auto& p : parts) {
        Record r(256);
        char qty[3];
        std::snprintf(qty, sizeof qty, "%02d", p.qty);
        r.text(0, 6, cat.code).text(6, 6, p.pnc).text(12, 12, p.part_no).text(24, 2, qty).text(26, 4, p.from).text(30, 4, p.to).text(34, 1, "1");
        uint32_t h = hash(p.part_no);
        size_t fm = h % cat.frame_models.size();
        if (!is_common(p.pnc)) r.text(185, 71, "FOR " + cat.frame_models[fm]);
        f.hinban.push_back(r);
        if (h % 11 == 0) {
            Record alt(256);
            alt.text(0, 6, cat.code).text(6, 6, p.pnc).text(34, 1, "3");
            alt.text(37, 12, p.part_no.substr(0, 10) + "91").text(49, 2, qty);
            alt.text(51, 12, p.part_no.substr(0, 10) + "92").text(63, 2, qty);
            f.hinban.push_back(alt);
        } else if (h % 13 == 0) {
            Record rem(256);
            rem.text(0, 6, cat.code).text(6, 6, p.pnc).text(34, 1, "4");
            rem.text(37, 219, "REPLACE AS A SET WITH THE OPPOSITE SIDE WHEN THE VEHICLE HAS COVERED MORE THAN 100000 KM. "
                              "USE ONLY THE FITTING KIT SUPPLIED WITH THE PART.");
            f.hinban.push_back(rem);
        }
    }
    // Change-over notes of a few figures.
    for (size_t i = 0; i < figures().size(); i += 5) {
        const auto& fig = figures()[i];
        f.kirika.push_back(Record(75).text(0, 6, cat.code).text(6, 4, fig.no).text(10, 4, yymm((m0 + m1) / 2 + 1))
                               .text(14, 61, std::string("PARTS OF FIGURE ") + fig.no + " CHANGED IN PRODUCTION"));
    }
    for (const auto& ft : features()) {
        f.tokume.push_back(Record(30).text(0, 6, cat.code).u16(6, ft.code).text(8, 2, "01").text(10, 20, ft.name));
        for (const auto& s : ft.symbols)
            f.kigouu.push_back(Record(90).text(0, 6, cat.code).u16(6, ft.code).text(8, 10, s.code).text(18, 2, "01").text(20, 70, s.text));
    }
    return f;
}

std::map<std::string, std::string> all_part_numbers() {
    std::map<std::string, std::string> out;
    for (const auto& c : catalogs())
        for (const auto& p : parts_of(c)) out.emplace(p.part_no, part_name(p.pnc));
    return out;
}

std::vector<std::string> frkata() {
    std::vector<std::string> out;
    for (const auto& c : catalogs())
        for (const auto& fm : c.frame_models)
            out.push_back(Record(2048).text(0, 11, fm).text(11, 6, c.code).text(17, 20, c.car_name).text(37, 4, c.date_from).text(41, 4, c.date_to));
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace pxbuild::demo
