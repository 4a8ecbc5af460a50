// The local-parts route on a local price file of set 3 written by the
// data-set builder: the figure list, the pages and the picks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lpps/local_parts_layout.h"
#include "lpps/lpps.h"
#include "platform/controls.h"
#include "pxall/blocks.h"
#include "pxall/localp_layout.h"
#include "pxall/selection.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_localp.h"
#include "support/temp_env.h"

namespace {

namespace s3 = pxall::localp::set3;
using pxbuild::Record;

std::string pad(const std::string& s, size_t n) {
    std::string out = s.substr(0, n);
    out.resize(n, ' ');
    return out;
}

std::string local(const std::string& cat, const std::string& fig, const std::string& title, const std::string& pic,
                  const std::string& part, const std::string& text) {
    return Record(132)
        .text(s3::kCatalog, 6, cat)
        .text(s3::kFigure, 4, fig)
        .text(s3::kTitle, 30, title)
        .text(s3::kPicture, 12, pic)
        .text(s3::kPart, 12, part)
        .text(s3::kText, 30, text);
}

// The lines of a CR LF work file of fixed lines.
std::vector<std::string> lines_of(const std::string& file, size_t len) {
    std::vector<std::string> out;
    EXPECT_EQ(file.size() % (len + 2), 0u) << file;
    for (size_t at = 0; at + len + 2 <= file.size(); at += len + 2) {
        EXPECT_EQ(file.substr(at + len, 2), "\r\n");
        out.push_back(file.substr(at, len));
    }
    return out;
}

std::string part_line(const std::string& part, const std::string& text, const std::string& qty = "  ") {
    return pad(part, 12) + " " + pad(text, 20) + " " + qty;
}

class LocalPartsTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsigned char* top = pxall::get_ctop_addr();
        pxtest::set_field(top, pxall::ctop::kWorkDir, 64, "C:\\WORK");
        pxtest::set_field(top, pxall::ctop::kLocalPriceDir, 64, "C:\\LCP");
        env.mkdir("WORK");
        env.mkdir("LCP");
        catalog("4410A1");
        VBLppsInit();
    }
    void TearDown() override {
        VBLppsTerm();
        pxall::term_selfgn();
        plat::unregister_control(list);
        plat::unregister_control(qty);
    }
    void catalog(const char* cat) { std::memcpy(pxall::get_ccar_addr(), cat, 6); }
    void write_set3(const std::vector<std::string>& records) {
        pxbuild::write_local_price(env.root() + "/LCP", pxbuild::build_local_price(3, records));
    }
    void standard() {
        write_set3({
            local("4410A1", "9101", "ROOF RACK & CARRIERS", "A19101.BMP", "LA19101-01", "ROOF BARS, ALUMINIUM, PAIR"),
            local("4410A1", "9101", "ROOF RACK & CARRIERS", "A19101.BMP", "LA19101-02", "BICYCLE CARRIER"),
            local("4410A1", "9101", "ROOF RACK & CARRIERS", "A19101.BMP", "LA19101-02", "BICYCLE CARRIER (AGAIN)"),
            local("4410A1", "9201", "TOWING EQUIPMENT", "A19201.BMP", "LA19201-01", "TOW BAR, DETACHABLE"),
            local("4410A1", "9501", "FASTENERS & CLIPS ASSORTMENT", "NOPIC.BMP", "LA19501-01", ""),
            local("4420B1", "9101", "ROOF RACK", "B19101.BMP", "LB19101-01", "ROOF BARS"),
        });
        env.write("LCP/A19101.BMP", "BM");
        env.write("LCP/A19201.BMP", "BM");
    }
    void figures(const std::vector<std::string>& figs) {
        unsigned char* blk = pxall::get_cnexta_addr();
        pxall::put_i16(blk + pxall::cnexta::kFigureCount, static_cast<int16_t>(figs.size()));
        for (size_t i = 0; i < figs.size(); ++i) std::memcpy(blk + 6 + 4 * i, figs[i].data(), 4);
    }
    struct Page {
        int32_t result;
        int16_t last, status;
        std::string figure, name, picture, list;
    };
    Page page(int16_t n) {
        Page p;
        p.figure.assign(4, '?');
        p.name.assign(30, '?');
        p.picture.assign(80, '?');
        p.list.assign(80, '?');
        VbString f{p.figure.data(), 4}, nm{p.name.data(), 30}, pic{p.picture.data(), 80}, ls{p.list.data(), 80};
        p.last = 9;
        p.status = 9;
        p.result = VBLppsGetPageData(n, &f, &nm, &pic, &ls, &p.last, &p.status);
        return p;
    }
    // Loads a page into the list box as the screen does.
    void show(int16_t n) {
        ASSERT_EQ(page(n).result, 0);
        box.lb_reset();
        for (const auto& l : lines_of(env.read("WORK/LPPSFNLS.TMP"), 36)) box.lb_add(l);
    }
    std::string lcpsel() { return env.read("WORK/LCPSEL.TMP"); }

    pxtest::TempEnv env;
    plat::MemoryListBox box, qbox;
    int32_t list = plat::register_control(&box);
    int32_t qty = plat::register_control(&qbox);
};

TEST_F(LocalPartsTest, FigureListOfTheCatalogue) {
    standard();
    std::string path(80, '?');
    VbString p{path.data(), 80};
    int16_t count = -1;
    ASSERT_EQ(VBLpemMakeFigListFile(&count, &p), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(lines_of(env.read("WORK/LPEMFNLS.TMP"), 37),
              (std::vector<std::string>{" 9101  " + pad("ROOF RACK & CARRIERS", 30), " 9201  " + pad("TOWING EQUIPMENT", 30),
                                        " 9501  " + pad("FASTENERS & CLIPS ASSORTMENT", 30)}));
    EXPECT_EQ(path, "C:\\WORK\\LPEMFNLS.TMP" + std::string(60, '\0'));

    // A catalogue without local parts: the empty list, its path, count 0.
    catalog("4430C1");
    path.assign(80, '?');
    count = -1;
    ASSERT_EQ(VBLpemMakeFigListFile(&count, &p), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(path.substr(0, 21), "C:\\WORK\\LPEMFNLS.TMP" + std::string(1, '\0'));
    EXPECT_EQ(env.read("WORK/LPEMFNLS.TMP"), "");
    EXPECT_TRUE(env.log_lines().empty());
}

TEST_F(LocalPartsTest, NoLocalPriceFile) {
    std::string path(80, '?');
    VbString p{path.data(), 80};
    int16_t count = -1;
    ASSERT_EQ(VBLpemMakeFigListFile(&count, &p), 0);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(env.log_lines().empty());
    // The page screen asking for a page gets the reader's failure.
    figures({"9101"});
    Page pg = page(0);
    EXPECT_EQ(pg.result, -1);
    auto log = env.log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("PXLPPS01,VBLppsGetPageData,LCPOpen,(-1)"), std::string::npos) << log[0];
}

TEST_F(LocalPartsTest, ChosenFiguresGoIntoTheBlockOnce) {
    box.lb_add(" 9101  A");
    box.lb_add(" 9201  B");
    box.lb_add(" 9101  A");
    int16_t status = -1;
    EXPECT_EQ(VBLpemSetFigNo(list, &status), 0);
    EXPECT_EQ(status, 2);
    box.lb_set_sel(2, true);
    box.lb_set_sel(1, true);
    box.lb_set_sel(0, true);
    EXPECT_EQ(VBLpemSetFigNo(list, &status), 0);
    EXPECT_EQ(status, 0);
    const unsigned char* blk = pxall::get_cnexta_addr();
    EXPECT_EQ(pxall::get_i16(blk + 4), 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(blk + 6), 8), "91019201");

    box.lb_reset();
    for (int i = 0; i < 101; ++i) {
        char l[16];
        std::snprintf(l, sizeof l, " %04d  X", 1000 + i);
        box.lb_add(l);
        box.lb_set_sel(i, true);
    }
    EXPECT_EQ(VBLpemSetFigNo(list, &status), 0);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(pxall::get_i16(blk + 4), 2) << "nothing written";
}

TEST_F(LocalPartsTest, PagesOfTheChosenFigures) {
    standard();
    figures({"9101", "9501", "9201"});
    Page p = page(-1);
    EXPECT_EQ(p.status, 11);
    EXPECT_EQ(p.last, 0);
    p = page(3);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.status, 12);
    EXPECT_EQ(p.last, 1);
    EXPECT_FALSE(env.exists("WORK/LPPSFNLS.TMP"));

    p = page(0);
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.last, 0);
    EXPECT_EQ(p.figure, "9101");
    EXPECT_EQ(p.name, pad("ROOF RACK & CARRIERS", 30));
    EXPECT_EQ(p.picture, "C:\\LCP\\A19101.BMP" + std::string(63, '\0'));
    EXPECT_EQ(p.list, "C:\\WORK\\LPPSFNLS.TMP" + std::string(60, '\0'));
    // A text longer than 20 goes on in continuation lines; a repeated part
    // number gives no new line.
    EXPECT_EQ(lines_of(env.read("WORK/LPPSFNLS.TMP"), 36),
              (std::vector<std::string>{part_line("LA19101-01", "ROOF BARS,"), part_line("", "ALUMINIUM, PAIR"),
                                        part_line("LA19101-02", "BICYCLE CARRIER")}));

    // The picture is missing: status 1, the lines are written all the same.
    p = page(1);
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.status, 1);
    EXPECT_EQ(p.picture, std::string(80, '\0'));
    EXPECT_EQ(lines_of(env.read("WORK/LPPSFNLS.TMP"), 36), std::vector<std::string>{part_line("LA19501-01", "")});

    // A folder under the picture's name is no missing picture: the screen
    // is given its path and reports what it cannot read.
    env.mkdir("LCP/NOPIC.BMP");
    p = page(1);
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.picture, "C:\\LCP\\NOPIC.BMP" + std::string(64, '\0'));

    p = page(2);
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.last, 1);
    EXPECT_TRUE(env.log_lines().empty());
}

TEST_F(LocalPartsTest, PickingLinesAndQuantities) {
    standard();
    figures({"9101", "9201"});
    show(0);
    box.lb_set_cur(1);  // a continuation line
    box.lb_set_sel(1, true);
    int16_t status = -1;
    EXPECT_EQ(VBLppsSelectListBox("9101", list, qty, &status), 0);
    EXPECT_EQ(box.lb_get_sel(1), 0);
    EXPECT_EQ(VBGetNumLcpTmp(), 0);

    box.lb_set_cur(2);
    EXPECT_EQ(VBLppsSelectListBox("9101", list, qty, &status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(box.lines()[2], part_line("LA19101-02", "BICYCLE CARRIER", "01"));
    EXPECT_EQ(box.lb_get_sel(2), 1);
    EXPECT_EQ(box.lb_get_cur(), 2);
    EXPECT_EQ(qbox.text(), "01");

    struct Case {
        const char* box;
        int16_t step;
        int16_t status;
        const char* qty;  // afterwards
    };
    const Case cases[] = {
        {"99", 1, 0, "99"}, {"01", -1, 0, "01"}, {"5", 0, 0, "05"},  {"A1", 0, 2, "05"}, {"", 0, 1, "05"},
        {"0", 0, 0, "01"},  {"00", 0, 0, "01"},  {"  ", 0, 0, "01"}, {" 7", 1, 0, "08"}, {"12", -1, 0, "11"},
        {"00", -1, 0, "01"}, {"1-", 0, 2, "01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " step " + std::to_string(c.step));
        qbox.set_text(c.box);
        ASSERT_EQ(VBLppsEntryQty("9101", c.step, list, qty, &status), 0);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(box.lines()[2].substr(34), c.qty);
        const pxall::LcpTmpItem* it = pxall::SearchLcpTmp("9101", pad("LA19101-02", 12).c_str());
        ASSERT_NE(it, nullptr);
        EXPECT_EQ(std::string(it->qty, 2), c.qty);
        if (c.status == 0) {
            EXPECT_EQ(qbox.text(), c.qty);
        }
    }

    // The click shows the quantity of a picked line, nothing for others.
    VBLppsClickListBox(list, qty);
    EXPECT_EQ(qbox.text(), "01");
    box.lb_set_cur(0);
    VBLppsClickListBox(list, qty);
    EXPECT_EQ(qbox.text(), "");

    // The same part number on another figure is another pick.
    show(1);
    box.lb_set_cur(0);
    EXPECT_EQ(VBLppsSelectListBox("9201", list, qty, &status), 0);
    show(0);
    ASSERT_EQ(box.lb_set_top(2), 0);
    ASSERT_EQ(VBLppsSelectAll("9101", list), 0);
    EXPECT_EQ(box.lines()[2], part_line("LA19101-02", "BICYCLE CARRIER", "01"));
    EXPECT_EQ(box.lb_get_sel(2), 1);
    EXPECT_EQ(box.lb_get_sel(0), 0);
    EXPECT_EQ(box.lb_get_top(), 0);  // scrolled back to the first line

    // A second pick of the line takes it back.
    box.lb_set_cur(2);
    EXPECT_EQ(VBLppsSelectListBox("9101", list, qty, &status), 0);
    EXPECT_EQ(box.lines()[2], part_line("LA19101-02", "BICYCLE CARRIER"));
    EXPECT_EQ(box.lb_get_sel(2), 0);
    EXPECT_EQ(qbox.text(), "");
    EXPECT_EQ(VBGetNumLcpTmp(), 1);

    int16_t count = -1;
    ASSERT_EQ(VBLppsExec(&count), 0);
    EXPECT_EQ(count, 1);
    std::string sel = lcpsel();
    ASSERT_EQ(sel.size(), 20000u);
    EXPECT_EQ(sel.substr(0, 18), "9201LA19201-01  01");
    EXPECT_EQ(sel[18], 1);
    EXPECT_EQ(sel[20], 0);
    EXPECT_EQ(pxall::get_cnexta_addr()[pxall::cnexta::kLocalFlag], 1);
}

TEST_F(LocalPartsTest, FullPicksAndNoPicks) {
    int16_t count = -1;
    ASSERT_EQ(VBLppsExec(&count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(env.exists("WORK/LCPSEL.TMP"));
    EXPECT_EQ(pxall::get_cnexta_addr()[pxall::cnexta::kLocalFlag], 0);

    for (int i = 0; i < 1000; ++i) {
        char part[16];
        std::snprintf(part, sizeof part, "P%011d", i);
        ASSERT_EQ(pxall::SetLcpTmp(part, "01", "9999"), 0);
    }
    box.lb_add(part_line("LA19101-01", "ROOF BARS"));
    box.lb_set_cur(0);
    box.lb_set_sel(0, true);
    int16_t status = 0;
    EXPECT_EQ(VBLppsSelectListBox("9101", list, qty, &status), 0);
    EXPECT_EQ(status, 6);
    EXPECT_EQ(box.lines()[0], part_line("LA19101-01", "ROOF BARS"));
    EXPECT_EQ(box.lb_get_sel(0), 0);
}

}  // namespace
