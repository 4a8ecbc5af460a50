// A small catalogue for the search-route tests: catalogue 4410A1 on CD E1
// (installed as master files only, the CD in drive E:), its part-name-code
// header, figure pages and figure index, and the part names of the CD.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "pxall/blocks.h"
#include "pxall/selection.h"
#include "pxall/selection_layout.h"
#include "pxbuild/bytes.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace krottest {

constexpr const char* kCat = "4410A1";

struct Code {
    std::string pnc, figure;
};
struct Name {
    std::string pnc, name;
};

inline std::string pad(const std::string& s, size_t n) {
    std::string out = s.substr(0, n);
    out.resize(n, ' ');
    return out;
}

class CatalogTest : public ::testing::Test {
protected:
    // Writes the CD and installs it; call once per test before the entries.
    void make(const std::vector<Code>& codes, const std::vector<Name>& names,
              const std::vector<std::string>& figures = {"1101", "1501", "4301"}) {
        auto cd = k.make_cd("E1", "20240115");
        std::vector<std::string> hc, hn, bu, fi;
        for (const auto& c : codes) hc.push_back(pxbuild::Record(16).text(0, 6, kCat).text(6, 4, c.figure).text(10, 6, c.pnc));
        std::stable_sort(hc.begin(), hc.end(), [](const std::string& a, const std::string& b) { return a.compare(10, 6, b, 10, 6) < 0; });
        for (const auto& n : names) hn.push_back(pxbuild::Record(66).text(0, 6, n.pnc).text(6, 60, n.name));
        std::sort(hn.begin(), hn.end());
        for (const auto& f : figures) bu.push_back(pxbuild::Record(256).text(0, 6, kCat).text(6, 4, f).text(14, 7, f + "001"));
        fi.push_back(pxbuild::Record(28).text(0, 6, kCat).text(6, 12, "15601XA12301").text(18, 6, "15601A").text(24, 4, "1501"));
        fi.push_back(pxbuild::Record(28).text(0, 6, kCat).text(6, 12, "90341YZ001A1").text(18, 6, "90341A").text(24, 4, "1101"));
        fi.push_back(pxbuild::Record(28).text(0, 6, "4420B1").text(6, 12, "15601XB77701").text(18, 6, "15601A").text(24, 4, "1502"));
        cd.put_keyed(kCat, "HCODEH.DAT", pxbuild::build_keyed("HCODEH.DAT", hc));
        cd.put_keyed(kCat, "BUINDE.DAT", pxbuild::build_keyed("BUINDE.DAT", bu));
        cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", hn));
        // The second language's names stay on the CD (use_cd_names).
        std::vector<std::string> hn2 = hn;
        for (auto& r : hn2) r.replace(6, 60, pad("(2) " + r.substr(6, 56), 60));
        cd.put_keyed("", "HINM02.DAT", pxbuild::build_keyed("HINM02.DAT", hn2));
        cd.put_keyed("", "FIGIND.DAT", pxbuild::build_keyed("FIGIND.DAT", fi));
        k.install("E1", '0');
        k.set_cd_drives({{'E', "cd/E1"}});
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, kCat, 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
        pxall::put_i32(car + pxall::ccar::kNameSetupIndex, 0);
    }
    void remove_cd() { k.set_cd_drives({{'E', ""}}); }
    // Data language 02, whose part names are read from the CD.
    void use_cd_names() { pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kDataLangCode, 3, "02"); }

    std::string work(const std::string& name) { return k.env().read("WORK/" + name); }
    bool work_exists(const std::string& name) { return k.env().exists("WORK/" + name); }
    // The records of SELECT.TMP up to the first empty one: code, quantity, kind.
    std::vector<std::string> select_records() {
        std::string img = work(pxall::selfile::kSelectName);
        std::vector<std::string> out;
        for (size_t at = 0; at + 20 <= img.size() && img[at] != 0; at += 20)
            out.push_back(img.substr(at, 14) + char('0' + img[at + 14]));
        return out;
    }
    // The block's figure list.
    std::vector<std::string> figure_list() {
        const unsigned char* blk = pxall::get_cnexta_addr();
        int n = pxall::get_i16(blk + pxall::cnexta::kFigureCount);
        std::vector<std::string> out;
        for (int i = 0; i < n && i < 100; ++i) out.emplace_back(reinterpret_cast<const char*>(blk + 6 + 4 * i), 4);
        return out;
    }
    std::string block_bytes(size_t at, size_t n) {
        return std::string(reinterpret_cast<const char*>(pxall::get_cnexta_addr() + at), n);
    }

    pxtest::KeyedEnv k;
    plat::MemoryListBox box;
    int32_t list = plat::register_control(&box);
    ~CatalogTest() override { plat::unregister_control(list); }
};

}  // namespace krottest
