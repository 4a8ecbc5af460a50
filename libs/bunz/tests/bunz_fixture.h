// A catalogue for the illustration library's tests: page index, figure and
// part names and illustrations written by the data-set builder and installed
// on drive C:, the current vehicle and the chosen figures in the shared area,
// and the screen's controls in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bunz/bunz.h"
#include "bunz/bunz_layout.h"
#include "platform/controls.h"
#include "platform/picture.h"
#include "pxall/blocks.h"
#include "pxall/buinde_layout.h"
#include "pxall/image_layout.h"
#include "pxall/listbox.h"
#include "pxall/selection.h"
#include "pxall/texts.h"
#include "pxbuild/bytes.h"
#include "pxbuild/image_writer.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace bunztest {

constexpr const char* kCat = "4410A1";
constexpr uint8_t kAllBits = 0xFF;

// A caller's string of n bytes.
struct Str {
    std::string buf;
    VbString v;
    explicit Str(int n = 300) : buf(static_cast<size_t>(n), '\0'), v{buf.data(), n} {}
    VbString* vb() { return &v; }
    std::string text() const { return buf; }
};

// 125 applicability bytes: byte `at` holds `v`, the rest zero.
inline std::string bits_at(size_t at, uint8_t v) {
    std::string b(pxall::buinde::kBitsSize, '\0');
    b[at] = static_cast<char>(v);
    return b;
}
inline std::string all_bits() { return std::string(pxall::buinde::kBitsSize, static_cast<char>(kAllBits)); }

struct Catalogue {
    std::vector<std::string> buinde, figm, hinm;
    pxbuild::ImageFile images;
    std::vector<std::pair<std::string, int>> text_patches;  // locator, text length

    // A page record of kind '0' or '1'.
    void page(const std::string& fig, const std::string& key, const std::string& title, const std::string& image,
              const std::string& from = "", const std::string& to = "", const std::string& bits = all_bits(),
              char kind = '0') {
        namespace b = pxall::buinde;
        pxbuild::Record r(b::kSize);
        r.text(b::kCatalog, 6, kCat).text(b::kFigure, 4, fig).text(b::kPageKey, 7, key);
        r.text(b::kFrom, 4, from).text(b::kTo, 4, to).text(b::kKind, 1, std::string(1, kind));
        r.zero(b::kBits, b::kBitsSize).text(b::kBits, b::kBitsSize, bits);
        r.text(b::kTitle, b::kTitleSize, title).text(b::kImage, b::kImageSize, image);
        buinde.push_back(r);
    }
    // The continuation record of a kind-'1' page.
    void continuation(const std::string& fig, const std::string& block) {
        namespace b = pxall::buinde;
        pxbuild::Record r(b::kSize);
        r.text(b::kCatalog, 6, kCat).text(b::kFigure, 4, fig).text(b::kKind, 1, "2");
        r.text(b::kContinuation, b::kContinuationSize, block);
        buinde.push_back(r);
    }
    void figure_name(const std::string& fig, const std::string& name) {
        char range = fig < "3000" ? '1' : fig < "5000" ? '4' : fig < "8000" ? '5' : '6';
        figm.push_back(pxbuild::Record(71).text(0, 6, kCat).text(6, 1, std::string(1, range)).text(7, 4, fig).text(11, 60, name));
    }
    void part_name(const std::string& pnc, const std::string& name) {
        hinm.push_back(pxbuild::Record(66).text(0, 6, pnc).text(6, 60, name));
    }
    // An illustration of w x h with a few strokes and the given placements.
    std::string image(const std::vector<pxbuild::ImageText>& texts, int w = 200, int h = 100, char kind = '3') {
        pxbuild::Picture pic(w, h);
        for (int x = 5; x < w - 5; ++x) pic.set(x, h / 2);
        for (int y = 5; y < h - 5; ++y) pic.set(w / 3, y);
        pxbuild::StoredImage img;
        img.number = 7;
        img.kind = kind;
        img.id = "ILL0001";
        img.width = w;
        img.height = h;
        img.coded = pxbuild::fax_code(pic, pxbuild::FaxCoding::kGroup4);
        img.texts = texts;
        return images.add(img);
    }
    // An image that claims more pixels than can be shown.
    std::string huge_image() {
        pxbuild::StoredImage img;
        img.id = "HUGE001";
        img.width = pxall::image::kMaxWidth + 8;
        img.height = 100;
        img.coded = pxbuild::Bytes(16, 0);
        return images.add(img);
    }
    // Rewrites the stored text-placement length of an image.
    void patch_text_length(const std::string& locator, int length) { text_patches.emplace_back(locator, length); }

    pxbuild::Bytes image_file() const {
        pxbuild::Bytes b = images.bytes();
        if (b.empty()) b.assign(pxall::image::kBlockSize, 0);
        for (const auto& [loc, len] : text_patches) {
            size_t at = static_cast<size_t>(std::stoi(loc.substr(0, 6))) * pxall::image::kBlockSize +
                        pxall::image::kStTextLength;
            b[at] = static_cast<uint8_t>(len >> 8);
            b[at + 1] = static_cast<uint8_t>(len & 0xff);
        }
        return b;
    }
};

class BunzEnv {
public:
    pxtest::KeyedEnv k;

    BunzEnv() {
        k.env().write("PXDROM01.SCR",
                      "0111 ANY DRIVE\n0112 EU-CAT\n1809 SEE SPECIAL NOTE\n1810 SEE SUB-ILLUSTRATION\n");
        pxall::set_scr();
    }
    ~BunzEnv() {
        VBBunzTerm();
        for (int32_t h : handles_) plat::unregister_control(h);
    }

    // Writes the catalogue CD and installs it whole as set-up entry 0.
    void install(const Catalogue& c) {
        pxbuild::CdWriter cd = k.make_cd("E1", "20240115");
        auto figm = c.figm.empty() ? std::vector<std::string>{} : c.figm;
        if (figm.empty()) figm.push_back(pxbuild::Record(71).text(0, 6, kCat).text(6, 1, "1").text(7, 4, "0000"));
        auto hinm = c.hinm;
        if (hinm.empty()) hinm.push_back(pxbuild::Record(66).text(0, 6, "000000"));
        cd.put_keyed("", "FIGM01.DAT", pxbuild::build_keyed("FIGM01.DAT", figm));
        cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", hinm));
        cd.put("", "IMAGEF.DAT", c.image_file());
        cd.put_keyed(kCat, "BUINDE.DAT", pxbuild::build_keyed("BUINDE.DAT", c.buinde));
        k.install("E1", '1');
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, kCat, 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
    }
    // The vehicle's production date ("YYYYMM", "" none) and bits.
    void vehicle(const std::string& date, const std::string& bits) {
        unsigned char* car = pxall::get_ccar_addr();
        std::memset(car + pxall::ccar::kProdDate, 0, 6);
        std::memcpy(car + pxall::ccar::kProdDate, date.data(), std::min<size_t>(date.size(), 6));
        std::memcpy(car + pxall::ccar::kApplicability, bits.data(), pxall::ccar::kApplicabilitySize);
    }
    void choose(const std::vector<std::string>& figures) {
        unsigned char* na = pxall::get_cnexta_addr();
        pxall::put_i16(na + pxall::cnexta::kFigureCount, static_cast<int16_t>(figures.size()));
        for (size_t i = 0; i < figures.size(); ++i)
            std::memcpy(na + pxall::cnexta::kFigures + 4 * i, figures[i].data(), 4);
    }

    struct Move {
        int32_t result = -99;
        int16_t sub = -1, match = -1, last = -1, status = -1;
        std::string state;  // the figure state as copied out
        std::string figure() const { return state.substr(0, 4); }
        std::string name() const { return state.substr(4, 60); }
        int16_t pages() const { return pxall::get_i16(reinterpret_cast<const unsigned char*>(state.data()) + 65); }
    };
    Move init() { return call([](Move* m, VbString* s, VbString* n) { m->result = VBBunzInit(s, n, &m->match, &m->last, &m->status); }); }
    Move next() { return call([](Move* m, VbString* s, VbString* n) { m->result = VBBunzNextPage(&m->sub, s, n, &m->match, &m->last, &m->status); }); }
    Move prev() { return call([](Move* m, VbString* s, VbString* n) { m->result = VBBunzPrevPage(&m->sub, s, n, &m->match, &m->last, &m->status); }); }
    Move change() { return call([](Move* m, VbString* s, VbString* n) { m->result = VBBunzChangeMatch(s, n, &m->match, &m->last, &m->status); }); }
    Move busz() { return call([](Move* m, VbString* s, VbString* n) { m->result = VBBuszInit(s, n, &m->match, &m->last, &m->status); }); }

    struct PageInfo {
        int32_t result = -99;
        int16_t kind = -1, status = -1;
        std::string info, record, bitmap, list;
        std::string title() const { return record.substr(0, 74).substr(0, record.substr(0, 74).find_last_not_of(' ') + 1); }
    };
    PageInfo page_info() {
        PageInfo p;
        Str info(20), rec(pxbunz::page::kSize), bmp(80), list(80);
        p.result = VBBunzMakePageInfo(info.vb(), rec.vb(), bmp.vb(), list.vb(), &p.kind, &p.status);
        p.info = info.text();
        p.record = rec.text();
        p.bitmap = bmp.text().c_str();
        p.list = list.text().c_str();
        return p;
    }
    // The title of the page in hand ("" when none can be built).
    std::string title() {
        PageInfo p = page_info();
        return p.result == 0 ? p.title() : "";
    }

    // Lines of a work file in C:\WORK.
    std::string work(const std::string& name) { return k.env().read("WORK/" + name); }
    bool work_exists(const std::string& name) { return k.env().exists("WORK/" + name); }

    int32_t add(plat::Control* c) {
        int32_t h = plat::register_control(c);
        handles_.push_back(h);
        return h;
    }

private:
    template <class F>
    Move call(F f) {
        Move m;
        Str state(pxbunz::fig::kSize), name(60);
        f(&m, state.vb(), name.vb());
        m.state = state.text();
        EXPECT_EQ(m.name(), name.text()) << "the name string is the state's name";
        return m;
    }
    std::vector<int32_t> handles_;
};

}  // namespace bunztest
