// The route checks and the figure-group flags.
#include <gtest/gtest.h>

#include "krot/krot.h"
#include "krot_fixture.h"

namespace {

using namespace krottest;

class RouteTest : public CatalogTest {
protected:
    void SetUp() override {
        make({{"15601A", "1501"}, {"17801A", "1501"}, {"90341A", "1101"}},
             {{"15601A", "ELEMENT, OIL FILTER"}, {"90341A", "PLUG, DRAIN"}});
    }
    // A state the checks must leave alone when they find nothing.
    void preset() {
        unsigned char* blk = pxall::get_cnexta_addr();
        pxall::put_i16(blk + pxall::cnexta::kFigureCount, 2);
        std::memcpy(blk + 6, "77017702", 8);
        k.env().write("WORK/SELECT.TMP", std::string("OLD         ") + "05" + '\1' + std::string(19985, '\0'));
    }
};

TEST_F(RouteTest, FoundKeysMakeTheOneFigureListAndTheSelection) {
    struct Case {
        const char* what;
        const char* key;
        std::string figure;
        std::vector<std::string> select;  // SELECT.TMP after the check
    };
    const std::vector<Case> cases = {
        {"pnc", "15601A", "1501", {"15601A      010"}},
        {"pnc", "90341A", "1101", {"90341A      010"}},
        // The part number's own part-name code from the figure index.
        {"part", "15601XA12301", "1501", {"15601A      010"}},
        {"figure", "4301", "4301", {"OLD         051"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + c.key);
        preset();
        char fig[4] = {'x', 'x', 'x', 'x'};
        VbString s{fig, 4};
        int16_t status = 9;
        int32_t r = std::string(c.what) == "pnc"    ? VBKrotCheckPnc(c.key, &s, &status)
                    : std::string(c.what) == "part" ? VBKrotCheckPn(c.key, &s, &status)
                                                    : VBKrotCheckFigNo(c.key, &status);
        ASSERT_EQ(r, 0);
        EXPECT_EQ(status, 0);
        if (std::string(c.what) != "figure") {
            EXPECT_EQ(std::string(fig, 4), c.figure);
        }
        EXPECT_EQ(figure_list(), std::vector<std::string>{c.figure});
        EXPECT_EQ(block_bytes(10, 396), std::string(396, '\0')) << "the other 99 slots are zero";
        EXPECT_EQ(select_records(), c.select);
        EXPECT_EQ(work("SELECT.TMP").size(), 20000u);
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(RouteTest, KeysNotFoundOrCdMissingLeaveEverythingAsItWas) {
    for (bool cd : {true, false}) {
        if (!cd) remove_cd();
        for (int which = 0; which < 4; ++which) {
            SCOPED_TRACE(which);
            preset();
            char fig[4] = {'x', 'x', 'x', 'x'};
            VbString s{fig, 4};
            int16_t status = 0;
            int32_t r = which == 0   ? VBKrotCheckPnc("99999Z", &s, &status)
                        : which == 1 ? VBKrotCheckPn("15601XB77701", &s, &status)  // another catalogue's part
                        : which == 2 ? VBKrotCheckPn("", &s, &status)
                                     : VBKrotCheckFigNo("1102", &status);
            EXPECT_EQ(r, 0);
            EXPECT_EQ(status, cd ? 1 : 4);
            EXPECT_EQ(std::string(fig, 4), "xxxx");
            EXPECT_EQ(figure_list(), (std::vector<std::string>{"7701", "7702"}));
            EXPECT_EQ(select_records(), std::vector<std::string>{"OLD         051"});
        }
    }
    EXPECT_TRUE(k.env().log_lines().empty()) << "a missing CD is no failure";
}

TEST_F(RouteTest, ASelectionFileThatCannotBeWrittenIsFailure13) {
    k.env().mkdir("WORK/SELECT.TMP");  // a directory where the file should be
    char fig[4];
    VbString s{fig, 4};
    int16_t status = 0;
    EXPECT_EQ(VBKrotCheckPnc("15601A", &s, &status), 13);
    auto log = k.env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("PXKROT01,VBKrotCheckPnc,write_select_tmp,(13)"), std::string::npos) << log[0];
}

TEST_F(RouteTest, FigureGroupFlags) {
    VBKrotClearFigGrp();
    EXPECT_EQ(block_bytes(0, 4), std::string(4, '\0'));
    EXPECT_EQ(VBKrotSetFigGrp(2), 0);
    EXPECT_EQ(block_bytes(0, 4), std::string("\0\0" "3\0", 4));
    for (int16_t n = 0; n < 4; ++n) VBKrotSetFigGrp(n);
    EXPECT_EQ(block_bytes(0, 4), "1234");
    EXPECT_EQ(VBKrotSetFigGrp(4), 128);
    EXPECT_EQ(VBKrotSetFigGrp(-1), 128);
    EXPECT_EQ(block_bytes(0, 5), std::string("1234\0", 5)) << "nothing written outside the flags";
    VBKrotClearFigGrp();
    EXPECT_EQ(block_bytes(0, 4), std::string(4, '\0'));
}

}  // namespace
