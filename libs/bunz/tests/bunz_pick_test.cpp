// Picking references on the picture and in the lists: the selection list,
// the list lines, the quantity box and the marks on the picture stay in step.
#include <gtest/gtest.h>

#include <cstdio>

#include "bunz_fixture.h"

namespace bunztest {
namespace {

struct Rect {
    int l, t, r, b;
};
// Stored placements of the page and where the page shown whole has them.
constexpr Rect kBlock{10, 10, 40, 20}, kHead{30, 15, 60, 30}, kBlock2{100, 50, 130, 60}, kSub{150, 10, 190, 30},
    kNoName{10, 70, 40, 80};
constexpr Rect half(Rect r) { return {r.l / 2, r.t / 2, r.r / 2, r.b / 2}; }

const std::string kBlockCode = "11400A      ";
const std::string kNoNameCode = "12345X      ";
// Lines of the reference-number list.
constexpr int kBlockLine = 0, kHeadLine = 1, kHeadMore = 2, kSubLine = 3, kNoNameLine = 4;

class BunzPick : public ::testing::Test {
protected:
    BunzEnv env;
    plat::MemoryListBox list, qty;
    plat::MemoryPicture picture{200, 100};
    plat::MemoryPictureWindow window{200, 100};
    int32_t hl = 0, hq = 0, hp = 0, hw = 0;

    void SetUp() override {
        Catalogue cat;
        std::string img = cat.image({{kBlock.l, kBlock.t, kBlock.r, kBlock.b, '0', 0, "11400A"},
                                     {kHead.l, kHead.t, kHead.r, kHead.b, '0', 0, "11101A"},
                                     {kBlock2.l, kBlock2.t, kBlock2.r, kBlock2.b, '0', 0, "11400A"},
                                     {kSub.l, kSub.t, kSub.r, kSub.b, '1', 0, "9001"},
                                     {kNoName.l, kNoName.t, kNoName.r, kNoName.b, '0', 0, "12345X"}});
        cat.page("1101", "1101001", "PAGE", img, "2001", "");
        cat.part_name("11400A", "BLOCK SUB-ASSY, SHORT");
        cat.part_name("11101A", "HEAD SUB-ASSY, CYLINDER WITH VALVES");
        env.install(cat);
        env.vehicle("202305", all_bits());
        env.choose({"1101"});
        ASSERT_EQ(env.init().result, 0);
        BunzEnv::PageInfo p = env.page_info();
        ASSERT_EQ(p.result, 0);
        hl = env.add(&list);
        hq = env.add(&qty);
        hp = env.add(&picture);
        hw = env.add(&window);
        ASSERT_EQ(VBSetListBox(hl, p.list.c_str()), 0);
        ASSERT_EQ(list.lines().size(), 5u);
    }

    int16_t click(int16_t mode, float x, float y, VbString* name = nullptr) {
        int16_t status = -1;
        EXPECT_EQ(VBBunSelectIllust(mode, hp, hw, hl, hq, name, x, y, &status), 0);
        return status;
    }
    int16_t toggle(int16_t mode, int32_t caret) {
        list.lb_set_cur(caret);
        int16_t status = -1;
        EXPECT_EQ(VBBunSelectListBox(mode, hp, hw, hl, hq, &status), 0);
        return status;
    }
    int16_t entry(int16_t mode, int16_t step, const std::string& text) {
        qty.set_text(text);
        int16_t status = -1;
        EXPECT_EQ(VBBunEntryQty(mode, step, hl, hq, &status), 0);
        return status;
    }

    // Every pixel of the rectangle black (marked) or white, on the picture
    // and in the window.
    bool all_pixels(Rect r, bool black) const {
        for (int y = r.t; y < r.b; ++y)
            for (int x = r.l; x < r.r; ++x)
                if (picture.pixel(x, y) != black || window.pixel(x, y) != black) return false;
        return true;
    }
    bool marked(Rect r) const { return all_pixels(r, true); }
    bool unmarked(Rect r) const { return all_pixels(r, false); }

    std::string qty_cols(int line) const { return list.lines()[line].substr(32, 2); }
    bool selected(int line) const { return list.lb_get_sel(line) == 1; }
    int sel_count() const { return pxall::GetPtrSelTmp()->count; }
    const pxall::SelTmpItem* sel(const std::string& code) const { return pxall::SearchSelTmp(code.c_str()); }
};

TEST_F(BunzPick, ClickSelectsTheFirstOfOverlappingPlacementsAndMarksEveryOne) {
    EXPECT_EQ(click(3, 35.9f, 17.2f), 0);  // inside the block and the head
    ASSERT_EQ(sel_count(), 1);
    ASSERT_NE(sel(kBlockCode), nullptr);
    EXPECT_EQ(std::string(sel(kBlockCode)->qty, 2), "01");
    EXPECT_EQ(sel(kBlockCode)->kind, 0);
    EXPECT_EQ(qty_cols(kBlockLine), "01");
    EXPECT_EQ(list.lines()[kBlockLine].size(), 34u);
    EXPECT_TRUE(selected(kBlockLine));
    EXPECT_EQ(qty.text(), "01");
    EXPECT_TRUE(qty.focused());
    EXPECT_TRUE(marked(kBlock));
    EXPECT_TRUE(marked(kBlock2));
    EXPECT_TRUE(unmarked({41, 21, 60, 30}));  // the head, outside the block
    EXPECT_EQ(picture.inverted().size(), 2u);
}

TEST_F(BunzPick, EdgeIsAHitAndASecondClickDeselects) {
    EXPECT_EQ(click(3, 40.0f, 20.0f), 0);  // the block's bottom right corner
    ASSERT_NE(sel(kBlockCode), nullptr);
    EXPECT_EQ(click(3, 100.0f, 60.0f), 0);  // the same code elsewhere: off again
    EXPECT_EQ(sel_count(), 0);
    EXPECT_EQ(qty_cols(kBlockLine), "  ");
    EXPECT_FALSE(selected(kBlockLine));
    EXPECT_EQ(qty.text(), "");
    EXPECT_TRUE(unmarked(kBlock));
    EXPECT_TRUE(unmarked(kBlock2));

    EXPECT_EQ(click(3, 10.0f, 10.0f), 0);  // and on again with "01"
    EXPECT_EQ(std::string(sel(kBlockCode)->qty, 2), "01");
    EXPECT_TRUE(marked(kBlock));
    EXPECT_EQ(click(3, 41.0f, 20.0f), 0);  // just outside: the head
    EXPECT_EQ(sel_count(), 2);
}

TEST_F(BunzPick, PageShownWholeUsesHalvedPlacements) {
    EXPECT_EQ(click(1, 35.0f, 17.0f), 0);  // the block only at full size
    EXPECT_EQ(sel_count(), 0);
    EXPECT_EQ(click(1, 17.5f, 8.0f), 0);
    ASSERT_NE(sel(kBlockCode), nullptr);
    EXPECT_TRUE(marked(half(kBlock)));
    EXPECT_TRUE(marked(half(kBlock2)));
    EXPECT_TRUE(unmarked({kBlock2.l, kBlock2.t, kBlock2.r, kBlock2.b}));
}

TEST_F(BunzPick, SubIllustrationReferenceSelectsNothing) {
    EXPECT_EQ(click(3, 170.0f, 20.0f), 31);
    EXPECT_EQ(sel_count(), 0);
    EXPECT_TRUE(picture.inverted().empty());
    const unsigned char* sub = pxall::get_cimg_addr() + pxbunz::img::kSub;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sub), 4), "9001");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sub) + 4, 67), std::string(67, '\0'));

    EXPECT_EQ(click(3, 195.0f, 95.0f), 0);  // no placement there
    EXPECT_EQ(toggle(3, kSubLine), 31);     // its list line prepares it too
    EXPECT_EQ(sel_count(), 0);
}

TEST_F(BunzPick, ThousandAndFirstPickIsRefused) {
    for (int i = 0; i < pxall::kMaxSelTmp; ++i) {
        char code[13];
        std::snprintf(code, sizeof code, "P%05d      ", i);
        ASSERT_EQ(pxall::SetSelTmp(code, "01"), 0);
    }
    EXPECT_EQ(click(3, 20.0f, 15.0f), 6);
    EXPECT_EQ(sel_count(), pxall::kMaxSelTmp);
    EXPECT_EQ(sel(kBlockCode), nullptr);
    EXPECT_TRUE(picture.inverted().empty());
    EXPECT_EQ(qty_cols(kBlockLine), "  ");

    EXPECT_EQ(toggle(3, kBlockLine), 6);  // from the list: refused and unselected
    EXPECT_FALSE(selected(kBlockLine));
    EXPECT_TRUE(picture.inverted().empty());
    EXPECT_TRUE(env.k.env().log_lines().empty());
}

TEST_F(BunzPick, QuantitySteps) {
    struct Case {
        const char* box;
        int16_t step;
        int16_t status;
        const char* qty;  // afterwards
    };
    const Case cases[] = {
        {"99", 1, 0, "99"},  {"01", -1, 0, "01"}, {"5", 0, 0, "05"},   {" 5", 0, 0, "05"},
        {"5 ", 1, 0, "06"},  {"10", -1, 0, "09"}, {"0", 0, 0, "01"},   {"00", 0, 0, "01"},
        {"  ", 0, 0, "01"},  {"00", -1, 0, "01"}, {"42", 0, 0, "42"},  {"a1", 0, 2, "42"},
        {"123", 0, 2, "42"}, {"", 1, 1, "42"},    {"-1", 0, 2, "42"},
    };
    click(3, 20.0f, 15.0f);
    list.lb_set_cur(kBlockLine);
    for (const Case& c : cases) {
        EXPECT_EQ(entry(3, c.step, c.box), c.status) << '"' << c.box << "\" " << c.step;
        EXPECT_EQ(std::string(sel(kBlockCode)->qty, 2), c.qty) << '"' << c.box << "\" " << c.step;
        EXPECT_EQ(qty_cols(kBlockLine), c.qty) << '"' << c.box << "\" " << c.step;
        EXPECT_TRUE(selected(kBlockLine));
        if (c.status == 0) {
            EXPECT_EQ(qty.text(), c.qty);
        }
    }
    ASSERT_EQ(VBWriteSelectTmp(), 0);
    std::string file = env.work("SELECT.TMP");
    ASSERT_EQ(file.size(), 20000u);
    EXPECT_EQ(file.substr(0, 15), kBlockCode + "42" + '\0');

    // A line that is not selected takes no quantity.
    list.lb_set_cur(kNoNameLine);
    EXPECT_EQ(entry(3, 1, "07"), 0);
    EXPECT_EQ(qty_cols(kNoNameLine), "  ");
    EXPECT_EQ(sel(kNoNameCode), nullptr);
}

TEST_F(BunzPick, ListLineToggles) {
    EXPECT_EQ(toggle(3, kBlockLine), 0);
    EXPECT_EQ(std::string(sel(kBlockCode)->qty, 2), "01");
    EXPECT_EQ(qty_cols(kBlockLine), "01");
    EXPECT_TRUE(selected(kBlockLine));
    EXPECT_EQ(qty.text(), "01");
    EXPECT_TRUE(marked(kBlock) && marked(kBlock2));

    EXPECT_EQ(toggle(3, kBlockLine), 0);
    EXPECT_EQ(sel_count(), 0);
    EXPECT_EQ(qty_cols(kBlockLine), "  ");
    EXPECT_FALSE(selected(kBlockLine));
    EXPECT_EQ(list.lb_get_cur(), kBlockLine);  // the caret stays
    EXPECT_EQ(qty.text(), "");
    EXPECT_TRUE(unmarked(kBlock) && unmarked(kBlock2));

    list.lb_set_sel(kHeadMore, true);  // a name's second line is no pick
    EXPECT_EQ(toggle(3, kHeadMore), 0);
    EXPECT_FALSE(selected(kHeadMore));
    EXPECT_EQ(sel_count(), 0);
    EXPECT_TRUE(picture.inverted().size() == 4u);
}

TEST_F(BunzPick, ListClickShowsTheQuantity) {
    toggle(3, kHeadLine);
    entry(3, 0, "12");
    qty.set_text("");
    int16_t status = -1;
    list.lb_set_cur(kHeadLine);
    EXPECT_EQ(VBBunClickListBox(3, hl, hq, &status), 0);
    EXPECT_EQ(qty.text(), "12");
    list.lb_set_cur(kNoNameLine);  // not selected
    EXPECT_EQ(VBBunClickListBox(3, hl, hq, &status), 0);
    EXPECT_EQ(qty.text(), "");
    list.lb_set_sel(kHeadMore, true);
    list.lb_set_cur(kHeadMore);
    qty.set_text("xx");
    EXPECT_EQ(VBBunClickListBox(3, hl, hq, &status), 0);
    EXPECT_EQ(qty.text(), "");
    EXPECT_FALSE(selected(kHeadMore));
    list.lb_set_cur(kSubLine);
    EXPECT_EQ(VBBunClickListBox(3, hl, hq, &status), 0);
    EXPECT_EQ(status, 31);
}

TEST_F(BunzPick, SelectedItemsList) {
    plat::MemoryListBox items;
    hl = env.add(&items);  // the picks of this test work on the selected-items list

    std::string name(60, '#');
    VbString vname{name.data(), 60};
    EXPECT_EQ(click(2, 20.0f, 15.0f, &vname), 0);
    EXPECT_EQ(name, "BLOCK SUB-ASSY, SHORT" + std::string(39, ' '));
    EXPECT_EQ(click(2, 20.0f, 75.0f, &vname), 1);  // selected; its name is not in the catalogue
    EXPECT_EQ(name, std::string(60, ' '));
    EXPECT_EQ(items.lines(), (std::vector<std::string>{kBlockCode + "  01", kNoNameCode + "  01"}));
    EXPECT_EQ(items.lb_get_cur(), 1);
    EXPECT_TRUE(marked(kBlock) && marked(kBlock2) && marked(kNoName));

    EXPECT_EQ(entry(2, 1, "01"), 0);  // the current line takes the step
    EXPECT_EQ(items.lines()[1], kNoNameCode + "  02");
    EXPECT_EQ(std::string(sel(kNoNameCode)->qty, 2), "02");
    EXPECT_EQ(items.lb_get_cur(), 1);

    EXPECT_EQ(click(2, 20.0f, 15.0f), 0);  // off again: its line goes, the current one stays
    EXPECT_EQ(items.lines(), (std::vector<std::string>{kNoNameCode + "  02"}));
    EXPECT_EQ(items.lb_get_cur(), 0);
    EXPECT_EQ(qty.text(), "02");
    EXPECT_TRUE(unmarked(kBlock) && unmarked(kBlock2));

    int16_t status = -1;
    qty.set_text("");
    EXPECT_EQ(VBBunClickListBox(2, hl, hq, &status), 0);
    EXPECT_EQ(qty.text(), "02");
    EXPECT_EQ(VBBunSelectListBox(2, hp, hw, hl, hq, &status), 0);  // the last line off
    EXPECT_TRUE(items.lines().empty());
    EXPECT_EQ(qty.text(), "");
    EXPECT_TRUE(items.focused());
    EXPECT_EQ(sel_count(), 0);
    EXPECT_TRUE(unmarked(kNoName));
}

TEST_F(BunzPick, SelectionShownAgainOnBothLists) {
    ASSERT_EQ(pxall::SetSelTmp(kBlockCode.c_str(), "07"), 0);
    ASSERT_EQ(pxall::SetSelTmp("99999Z      ", "02"), 0);  // not on this page
    ASSERT_EQ(list.lb_set_top(kNoNameLine), 0);
    EXPECT_EQ(VBBunSelectAll1(3, hp, hw, hl), 0);
    EXPECT_EQ(list.lb_get_top(), 0);  // the list is scrolled back to its first line
    EXPECT_EQ(list.calls()[list.calls().size() - 2], "settop");
    EXPECT_EQ(qty_cols(kBlockLine), "07");
    EXPECT_TRUE(selected(kBlockLine));
    EXPECT_FALSE(selected(kHeadLine));
    EXPECT_TRUE(marked(kBlock) && marked(kBlock2));
    EXPECT_EQ(picture.inverted().size(), 2u);

    plat::MemoryPicture whole(200, 100);
    plat::MemoryListBox items;
    int32_t hwhole = env.add(&whole), hi = env.add(&items);
    EXPECT_EQ(VBBunSelectAll2(hwhole, hw, hi), 0);
    EXPECT_EQ(items.lines(), (std::vector<std::string>{kBlockCode + "  07", "99999Z        02"}));
    EXPECT_EQ(items.lb_get_cur(), 0);
    EXPECT_EQ(whole.inverted().size(), 2u);
}

}  // namespace
}  // namespace bunztest
