// The illustration index on a small catalogue written by the data-set
// builder: index pages of two figure groups with detail and overall
// pictures (fax-coded, with their text placements), the figure names, and
// the picks made on the pictures and in the list.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "emok/emok.h"
#include "emok/emok_layout.h"
#include "platform/controls.h"
#include "platform/picture.h"
#include "pxall/blocks.h"
#include "pxall/image_layout.h"
#include "pxall/selection.h"
#include "pxbuild/bytes.h"
#include "pxbuild/image_writer.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using pxbuild::ImageText;
using pxbuild::Record;
constexpr const char* kCat = "4410A1";

std::string pad(const std::string& s, size_t n) {
    std::string out = s.substr(0, n);
    out.resize(n, ' ');
    return out;
}

// Picture pixels that land on the given hot-spot unit when scaled by 90/100.
int px(int unit) { return (unit * 100 + 89) / 90; }

ImageText label(const char* fig, int l, int t, int r, int b) { return {px(l), px(t), px(r), px(b), '1', 0, fig}; }
ImageText area(const char* code, int l, int t, int r, int b) { return {px(l), px(t), px(r), px(b), '2', 0, code}; }

// An index picture: a frame, the boxes drawn, the text placements given.
pxbuild::StoredImage picture(const std::string& id, const std::vector<ImageText>& texts) {
    pxbuild::Picture p(480, 320);
    for (int x = 0; x < 480; ++x) p.set(x, 0), p.set(x, 319);
    for (int y = 0; y < 320; ++y) p.set(0, y), p.set(479, y);
    for (const auto& t : texts)
        for (int x = t.left; x <= t.right; ++x) p.set(x, t.top), p.set(x, t.bottom);
    pxbuild::StoredImage img;
    img.id = id;
    img.width = 480;
    img.height = 320;
    img.coded = pxbuild::fax_code(p, pxbuild::FaxCoding::kGroup4);
    img.texts = texts;
    return img;
}

// IMAGEF.DAT put together image by image, so that a stored header can be
// altered before the image is added.
struct Images {
    pxbuild::Bytes data;
    std::string add(pxbuild::Bytes b) {
        char loc[48];
        std::snprintf(loc, sizeof loc, "%06zu%03zu", data.size() / 2048, b.size() / 2048);
        data.insert(data.end(), b.begin(), b.end());
        return loc;
    }
    std::string add(const pxbuild::StoredImage& img) { return add(pxbuild::stored_image(img)); }
};

std::string eminde(char group, int seq, char kind, const std::string& locator) {
    char s[4];
    std::snprintf(s, sizeof s, "%03d", seq);
    return Record(30).text(0, 6, kCat).text(6, 4, std::string("00") + group + "0").text(10, 3, s).text(13, 1, std::string(1, kind)).text(21, 9, locator);
}

std::string figm(char range, const char* fig, const std::string& name) {
    return Record(71).text(0, 6, kCat).text(6, 1, std::string(1, range)).text(7, 4, fig).text(11, 60, name);
}

// The detail picture of page 1: area A1 with the labels 1101 (10 units
// above its top: linked) and 1201 (linked), 1102 (11 units above: not
// linked); area B2 to the right with 1501; 1601 linked to nothing.
const std::vector<ImageText> kPage1 = {
    area("A1", 90, 90, 180, 144),   label("1101", 189, 80, 234, 94),  label("1102", 240, 79, 262, 93),
    label("1201", 189, 108, 234, 122), area("B2", 270, 90, 306, 144), label("1501", 315, 99, 351, 113),
    label("1601", 189, 225, 234, 239),
};
const std::vector<ImageText> kOverall1 = {area("A1", 18, 18, 54, 45), area("B2", 90, 18, 126, 45),
                                          area("A1", 18, 72, 54, 99)};

class EmokTest : public ::testing::Test {
protected:
    void SetUp() override {
        Images im;
        const std::string d1 = im.add(picture("IDX0001", kPage1));
        const std::string d2 = im.add(picture("IDX0002", {area("C3", 90, 90, 180, 144), label("1301", 189, 95, 234, 109)}));
        const std::string o1 = im.add(picture("IDXZ001", kOverall1));
        const std::string d3 = im.add(picture("IDX0003", {label("1901", 30, 30, 70, 44)}));
        const std::string o2 = im.add(picture("IDXZ002", {area("D4", 18, 18, 54, 45)}));
        // Two text records under a text length of 23: the table must hold
        // both entries and its end mark.
        pxbuild::Bytes odd = pxbuild::stored_image(
            picture("IDX0004", {label("4301", 30, 30, 70, 44), label("4302", 100, 30, 140, 44)}));
        odd[pxall::image::kStTextLength] = 0;
        odd[pxall::image::kStTextLength + 1] = 23;
        const std::string d4 = im.add(odd);
        overall1 = o1;

        auto cd = k.make_cd("E1", "20240115");
        cd.put("", "IMAGEF.DAT", im.data);
        cd.put_keyed(kCat, "EMINDE.DAT",
                     pxbuild::build_keyed("EMINDE.DAT", {eminde('1', 1, '0', d1), eminde('1', 2, '0', d2),
                                                         eminde('1', 3, '1', o1), eminde('1', 4, '0', d3),
                                                         eminde('1', 5, '1', o2), eminde('2', 1, '0', d4)}));
        cd.put_keyed("", "FIGM01.DAT",
                     pxbuild::build_keyed("FIGM01.DAT",
                                          {figm('1', "1101", "ENGINE ASSEMBLY"), figm('1', "1102", "CYLINDER HEAD"),
                                           figm('1', "1201", "TIMING BELT, COVER AND TENSIONER PULLEY ASSEMBLY"),
                                           figm('1', "1301", "OIL PUMP"), figm('1', "1501", "INTAKE MANIFOLD"),
                                           figm('1', "1601", ""), figm('1', "1901", "ENGINE MOUNTING"),
                                           figm('4', "4301", "FRONT BRAKE")}));
        k.install("E1", '0');
        k.set_cd_drives({{'E', "cd/E1"}});
        unsigned char* car = pxall::get_ccar_addr();
        std::memcpy(car + pxall::ccar::kCatalog, kCat, 6);
        pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
        pxall::put_i32(car + pxall::ccar::kNameSetupIndex, 0);
        groups("12");
    }
    void TearDown() override {
        VBEmokTerm();
        for (int32_t h : {list, zpic, zwin, spic, swin}) plat::unregister_control(h);
    }
    void groups(const std::string& g) {
        unsigned char* blk = pxall::get_cnexta_addr();
        std::memset(blk, 0, 4);
        for (char c : g) blk[c - '1'] = static_cast<unsigned char>(c);
    }
    int16_t init(int32_t* result = nullptr) {
        int16_t count = -1, status = -1;
        int32_t r = VBEmokInit(&count, &status);
        if (result != nullptr) *result = r;
        else EXPECT_EQ(r, 0);
        EXPECT_EQ(status, 0);
        return count;
    }
    struct Page {
        int32_t result;
        int16_t last, status;
        std::string sho, zen, fnls;
    };
    Page page(int16_t n) {
        Page p{0, 9, 9, std::string(80, '?'), std::string(80, '?'), std::string(80, '?')};
        VbString a{p.sho.data(), 80}, b{p.zen.data(), 80}, c{p.fnls.data(), 80};
        p.result = VBEmokGetPageData(n, &a, &b, &c, &p.last, &p.status);
        return p;
    }
    // Shows page n as the screen does: its figure list in the list box.
    void show(int16_t n) {
        Page p = page(n);
        ASSERT_EQ(p.result, 0);
        ASSERT_EQ(p.status, 0);
        box.lb_reset();
        std::string f = k.env().read("WORK/EMOKFNLS.TMP");
        for (size_t at = 0; at + 38 <= f.size(); at += 38) box.lb_add(f.substr(at, 36));
        VBEmokSelectAll(zpic, zwin, spic, swin, list);
    }
    std::vector<std::string> picks() {
        std::vector<std::string> out;
        for (pxall::ItemLinks* l = pxall::get_selfgn()->first; l != nullptr; l = l->next)
            out.emplace_back(reinterpret_cast<pxall::SelFgnItem*>(l)->figure, 4);
        return out;
    }
    // Whether the hot spot at unit (x, y) of a picture shows inverted.
    bool marked(const plat::MemoryPicture& p, int x, int y) { return p.pixel(x + 1, y + 1); }
    int16_t zentai(float x, float y) {
        int16_t status = 0;
        EXPECT_EQ(VBEmokSelectZentai(zpic, zwin, spic, swin, list, x, y, &status), 0);
        return status;
    }
    int16_t shosai(float x, float y) {
        int16_t status = 0;
        EXPECT_EQ(VBEmokSelectShosai(zpic, zwin, spic, swin, list, x, y, &status), 0);
        return status;
    }
    bool line_selected(const std::string& fig) {
        for (int i = 0; i < box.lb_count(); ++i)
            if (box.lines()[i].substr(0, 5) == fig) return box.lb_get_sel(i) == 1;
        ADD_FAILURE() << "no line " << fig;
        return false;
    }

    pxtest::KeyedEnv k;
    std::string overall1;
    plat::MemoryListBox box;
    plat::MemoryPicture overall{480, 320}, detail{480, 320};
    plat::MemoryPictureWindow owin{480, 320}, dwin{480, 320};
    int32_t list = plat::register_control(&box);
    int32_t zpic = plat::register_control(&overall), zwin = plat::register_control(&owin);
    int32_t spic = plat::register_control(&detail), swin = plat::register_control(&dwin);
};

TEST_F(EmokTest, PagesOfTheChosenGroups) {
    EXPECT_EQ(init(), 4);
    EXPECT_EQ(init(), 4) << "once open, only the count";

    // A page that is not there leaves the caller's strings as they were.
    const std::string untouched(80, '?');
    Page p = page(0);
    EXPECT_EQ(p.status, 1);
    EXPECT_EQ(p.last, 0);
    for (const std::string* s : {&p.sho, &p.zen, &p.fnls}) EXPECT_EQ(*s, untouched);
    p = page(5);
    EXPECT_EQ(p.status, 2);
    EXPECT_EQ(p.last, 1);
    for (const std::string* s : {&p.sho, &p.zen, &p.fnls}) EXPECT_EQ(*s, untouched);

    p = page(1);
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.last, 0);
    EXPECT_EQ(p.sho, "C:\\WORK\\EMOKIMGS.BMP" + std::string(60, '\0'));
    EXPECT_EQ(p.zen, "C:\\WORK\\EMOKIMGZ.BMP" + std::string(60, '\0'));
    EXPECT_EQ(p.fnls, "C:\\WORK\\EMOKFNLS.TMP" + std::string(60, '\0'));
    EXPECT_EQ(k.env().read("WORK/EMOKIMGS.BMP").substr(0, 2), "BM");
    const std::string whole1 = k.env().read("WORK/EMOKIMGZ.BMP");
    // Page 1 lists every figure of the first range, on the page or not; a
    // blank name gives no line; a long name goes on in a second line.
    EXPECT_EQ(k.env().read("WORK/EMOKFNLS.TMP"),
              "11-01 " + pad("ENGINE ASSEMBLY", 30) + "\r\n" + "11-02 " + pad("CYLINDER HEAD", 30) + "\r\n" +
                  "12-01 " + pad("TIMING BELT, COVER AND", 30) + "\r\n" + "      " +
                  pad("TENSIONER PULLEY ASSEMBLY", 30) + "\r\n" + "13-01 " + pad("OIL PUMP", 30) + "\r\n" +
                  "15-01 " + pad("INTAKE MANIFOLD", 30) + "\r\n" + "19-01 " + pad("ENGINE MOUNTING", 30) + "\r\n");

    // Page 2 has no overall record of its own: page 1's picture.
    p = page(2);
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(k.env().read("WORK/EMOKIMGZ.BMP"), whole1);
    EXPECT_EQ(k.env().read("WORK/EMOKFNLS.TMP"), "13-01 " + pad("OIL PUMP", 30) + "\r\n");
    p = page(3);
    ASSERT_EQ(p.result, 0);
    EXPECT_NE(k.env().read("WORK/EMOKIMGZ.BMP"), whole1);
    const std::string whole3 = k.env().read("WORK/EMOKIMGZ.BMP");
    // Group 2's page, the last: page 3's overall picture, names of range 4.
    p = page(4);
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.last, 1);
    EXPECT_EQ(k.env().read("WORK/EMOKIMGZ.BMP"), whole3);
    EXPECT_EQ(k.env().read("WORK/EMOKFNLS.TMP"), "43-01 " + pad("FRONT BRAKE", 30) + "\r\n");
    // A move past it: the page shown keeps its files.
    const std::string detail4 = k.env().read("WORK/EMOKIMGS.BMP");
    EXPECT_EQ(page(5).status, 2);
    EXPECT_EQ(k.env().read("WORK/EMOKIMGZ.BMP"), whole3);
    EXPECT_EQ(k.env().read("WORK/EMOKIMGS.BMP"), detail4);
    EXPECT_EQ(k.env().read("WORK/EMOKFNLS.TMP"), "43-01 " + pad("FRONT BRAKE", 30) + "\r\n");
    EXPECT_TRUE(k.env().log_lines().empty());

    VBEmokTerm();
    for (const char* f : {"EMOKDATS.TMP", "EMOKDATZ.TMP", "EMOKIMGS.BMP", "EMOKIMGZ.BMP", "EMOKFNLS.TMP"})
        EXPECT_FALSE(k.env().exists(std::string("WORK/") + f)) << f;
    groups("2");
    EXPECT_EQ(init(), 1);
}

TEST_F(EmokTest, GroupFlagsAndMissingCd) {
    groups("");
    int32_t r = 0;
    init(&r);
    EXPECT_EQ(r, 128);
    groups("3");  // a group without pages
    EXPECT_EQ(init(&r), 0);
    EXPECT_EQ(r, 0);
    groups("1");
    EXPECT_EQ(init(), 3) << "the empty index left the library closed";
    // The index is in the catalogue master; the pictures are on the CD.
    k.set_cd_drives({{'E', ""}});
    Page p = page(1);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.status, 4);
    auto log = k.env().log_lines();
    ASSERT_EQ(log.size(), 1u) << "only the blank flags are a failure";
    EXPECT_NE(log[0].find("PXEMOK01,VBEmokInit,figgrp,(128)"), std::string::npos) << log[0];
}

TEST_F(EmokTest, AreasSelectTheirLinkedFigures) {
    ASSERT_EQ(init(), 4);
    show(1);
    // Area A1 on the overall picture: 1101 (10 above) and 1201, not 1102
    // (11 above) nor 1501 (beyond area B2).
    EXPECT_EQ(zentai(30, 30), -1);
    EXPECT_EQ(picks(), (std::vector<std::string>{"1101", "1201"}));
    EXPECT_TRUE(marked(overall, 18, 18));
    EXPECT_TRUE(marked(overall, 18, 72)) << "every box of the area";
    EXPECT_FALSE(marked(overall, 90, 18));
    EXPECT_TRUE(marked(detail, 189, 80));
    EXPECT_TRUE(marked(detail, 189, 108));
    EXPECT_FALSE(marked(detail, 240, 79));
    EXPECT_TRUE(line_selected("11-01"));
    EXPECT_TRUE(line_selected("12-01"));
    EXPECT_FALSE(line_selected("11-02"));
    EXPECT_EQ(dwin.pixel(190, 81), true) << "the window shows the mark";

    // 1201 taken back by its label: the area stays marked for 1101.
    EXPECT_EQ(shosai(200, 110), 0);
    EXPECT_EQ(picks(), std::vector<std::string>{"1101"});
    EXPECT_FALSE(marked(detail, 189, 108));
    EXPECT_FALSE(line_selected("12-01"));
    EXPECT_TRUE(marked(overall, 18, 18));
    // Then the area itself: marked, so its figures go.
    EXPECT_EQ(zentai(54, 45), -1) << "the edge is a hit";
    EXPECT_TRUE(picks().empty());
    EXPECT_FALSE(marked(overall, 18, 18));
    EXPECT_FALSE(marked(overall, 18, 72));
    EXPECT_FALSE(marked(detail, 189, 80));

    // A detail area box works as the overall one; 1501 belongs to B2.
    EXPECT_EQ(shosai(300, 100), -1);
    EXPECT_EQ(picks(), std::vector<std::string>{"1501"});
    EXPECT_TRUE(marked(overall, 90, 18));
    // Nothing hit: the status stays.
    EXPECT_EQ(zentai(200, 200), 0);
    EXPECT_EQ(shosai(-1e30f, 5), 0);
    EXPECT_EQ(picks(), std::vector<std::string>{"1501"});
}

TEST_F(EmokTest, ListLinesAndTheHundredAndFirstFigure) {
    ASSERT_EQ(init(), 4);
    show(1);
    box.lb_set_cur(3);  // the continuation of 12-01's name
    box.lb_set_sel(3, true);
    int16_t status = 9;
    ASSERT_EQ(VBEmokSelectListBox(zpic, zwin, spic, swin, list, &status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(box.lb_get_sel(3), 0);
    EXPECT_TRUE(picks().empty());

    box.lb_set_cur(0);
    ASSERT_EQ(VBEmokSelectListBox(zpic, zwin, spic, swin, list, &status), 0);
    EXPECT_EQ(picks(), std::vector<std::string>{"1101"});
    EXPECT_TRUE(line_selected("11-01"));
    EXPECT_TRUE(marked(detail, 189, 80));
    EXPECT_TRUE(marked(overall, 18, 18));

    // 99 more figures fill the list; 1501 is refused and nothing changes.
    for (int i = 0; i < 99; ++i) {
        char f[8];
        std::snprintf(f, sizeof f, "%04d", 7000 + i);
        ASSERT_EQ(pxall::set_selfgn(f), 0);
    }
    const size_t inverted = detail.inverted().size() + overall.inverted().size();
    EXPECT_EQ(shosai(320, 100), 6);
    EXPECT_EQ(pxall::search_selfgn("1501"), nullptr);
    EXPECT_FALSE(line_selected("15-01"));
    box.lb_set_cur(5);
    box.lb_set_sel(5, true);  // the clerk's click on 15-01
    ASSERT_EQ(VBEmokSelectListBox(zpic, zwin, spic, swin, list, &status), 0);
    EXPECT_EQ(status, 6);
    EXPECT_FALSE(line_selected("15-01"));
    EXPECT_EQ(zentai(100, 20), 6);
    EXPECT_EQ(detail.inverted().size() + overall.inverted().size(), inverted) << "no mark changed";

    // Paging on keeps the picks; a new page shows those that are on it.
    show(2);
    EXPECT_EQ(detail.inverted().size() + overall.inverted().size(), inverted);
    show(1);
    EXPECT_TRUE(line_selected("11-01"));
    VBEmokClear(list);
    EXPECT_TRUE(picks().empty());
    EXPECT_FALSE(line_selected("11-01"));
    EXPECT_EQ(pxall::get_i16(pxall::get_cnexta_addr() + pxall::cnexta::kFigureCount), 0);
}

TEST_F(EmokTest, TextLengthOfAPartialRecordKeepsTheEndMark) {
    groups("2");
    ASSERT_EQ(init(), 1);
    show(1);
    // Both entries are read; the second is a working label.
    EXPECT_EQ(shosai(110, 35), 0);
    EXPECT_EQ(picks(), std::vector<std::string>{"4302"});
    EXPECT_EQ(shosai(35, 35), 0);
    EXPECT_EQ(picks(), (std::vector<std::string>{"4302", "4301"}));
    EXPECT_EQ(shosai(200, 200), 0);  // past the last entry: nothing
}

}  // namespace

namespace {

// The page table's limit: 180 pages, the last one with its overall record.
TEST(EmokPageTable, AHundredAndEightyPages) {
    pxtest::KeyedEnv k;
    std::vector<std::string> recs;
    for (int i = 0; i < 180; ++i) recs.push_back(eminde('1', i % 1000, '0', "000000001"));
    recs.push_back(eminde('1', 180, '1', "000000001"));
    for (int i = 0; i < 181; ++i) recs.push_back(eminde('2', i % 1000, '0', "000000001"));
    auto cd = k.make_cd("E1", "20240115");
    cd.put_keyed(kCat, "EMINDE.DAT", pxbuild::build_keyed("EMINDE.DAT", recs));
    k.install("E1", '0');
    k.set_cd_drives({{'E', "cd/E1"}});
    std::memcpy(pxall::get_ccar_addr() + pxall::ccar::kCatalog, kCat, 6);
    unsigned char* blk = pxall::get_cnexta_addr();
    std::memcpy(blk, "1\0\0\0", 4);
    int16_t count = 0, status = 0;
    EXPECT_EQ(VBEmokInit(&count, &status), 0);
    EXPECT_EQ(count, 180);
    VBEmokTerm();
    std::memcpy(blk, "\0" "2\0\0", 4);
    EXPECT_EQ(VBEmokInit(&count, &status), 21);
    auto log = k.env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("PXEMOK02,emok_make_emindex_tmp,scnt over,(21)"), std::string::npos) << log[0];
    // A failed build leaves the library closed.
    std::memcpy(blk, "1\0\0\0", 4);
    EXPECT_EQ(VBEmokInit(&count, &status), 0);
    EXPECT_EQ(count, 180);
    VBEmokTerm();
}

}  // namespace
