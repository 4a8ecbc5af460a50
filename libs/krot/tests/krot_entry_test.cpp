// The part-name-code entry: the entry check, the wildcard list and the
// entry list's lines.
#include <gtest/gtest.h>

#include <cstdio>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_fixture.h"

namespace {

using namespace krottest;

TEST(EntryCheck, TableOfEntries) {
    struct Case {
        const char* entry;
        int32_t result;
        int16_t wildcard;
    };
    const Case cases[] = {
        {"ABC*", 0, 1},    {"AB*", 2, 1},     {"ABCD", 3, 0},    {"ABCDE", 0, 0},  {"15601A", 0, 0},
        {"ab-cd", 1, 0},   {" ABCDE", 3, 0},  {"", 3, 0},        {"156*#!", 0, 1}, {"1560 1", 3, 0},
        {"*", 2, 1},       {"15\xB1" "01", 1, 0},
    };
    for (const auto& c : cases) {
        int16_t wild = 9;
        EXPECT_EQ(VBKpncCheckPnc(c.entry, &wild), c.result) << c.entry;
        EXPECT_EQ(wild, c.wildcard) << c.entry;
    }
}

class EntryTest : public CatalogTest {
protected:
    void SetUp() override {
        make({{"15601A", "1501"}, {"15601A", "1502"}, {"15602B", "1501"}, {"15700A", "1601"}, {"15610C", "1501"},
              {"14999A", "1101"}},
             {{"15601A", "ELEMENT, OIL FILTER"}, {"15610C", "GASKET, OIL FILTER"}, {"15700A", "COOLER, OIL"}});
    }
    std::string entry_line(int n, const std::string& pnc, const std::string& name, const std::string& qty) {
        char num[4];
        std::snprintf(num, sizeof num, "%03d", n);
        return std::string(num) + " " + pad(pnc, 6) + " " + pad(name, 60) + " " + qty;
    }
};

TEST_F(EntryTest, WildcardListTakesTheCodesOfThePrefix) {
    struct Case {
        const char* entry;
        int16_t status;
        std::vector<std::string> lines;
    };
    const std::string oil = pad("ELEMENT, OIL FILTER", 60), none(60, ' ');
    const std::vector<Case> cases = {
        {"1560*", 0, {"15601A  " + oil, "15601A  " + oil, "15602B  " + none}},
        {"156*", 0, {"15601A  " + oil, "15601A  " + oil, "15602B  " + none, "15610C  " + pad("GASKET, OIL FILTER", 60)}},
        {"15601A", 0, {"15601A  " + oil, "15601A  " + oil}},
        {"157 ", 0, {"15700A  " + pad("COOLER, OIL", 60)}},
        {"158*", 0, {}},
        {"15*", 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        k.env().write("WORK/PNCPOP.TMP", "old");
        std::string path(80, 'x');
        VbString p{path.data(), 80};
        int16_t count = -1, status = -1;
        ASSERT_EQ(VBKpncMakePncLst(c.entry, &count, &p, &status), 0);
        EXPECT_EQ(status, c.status);
        if (c.status != 0) {
            EXPECT_EQ(work("PNCPOP.TMP"), "old");
            continue;
        }
        std::string file = work("PNCPOP.TMP");
        std::string expect;
        for (const auto& l : c.lines) expect += l + "\r\n";
        EXPECT_EQ(file, expect);
        EXPECT_EQ(count, static_cast<int16_t>(c.lines.size()));
        EXPECT_EQ(path.substr(0, 19), "C:\\WORK\\PNCPOP.TMP" + std::string(1, '\0'));
    }
    remove_cd();
    int16_t count = 0, status = 0;
    std::string path(80, ' ');
    VbString p{path.data(), 80};
    EXPECT_EQ(VBKpncMakePncLst("156*", &count, &p, &status), 0);
    EXPECT_EQ(status, 4);
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(EntryTest, AddReplaceAndTheThousandLineLimit) {
    int16_t index = -1;
    ASSERT_EQ(VBKpncAddRepPnc(list, "15601A", "02", &index), 0);
    EXPECT_EQ(index, 0);
    index = -1;
    ASSERT_EQ(VBKpncAddRepPnc(list, "99999", "1", &index), 0);  // unknown code, short fields
    EXPECT_EQ(box.lines(), (std::vector<std::string>{entry_line(0, "15601A", "ELEMENT, OIL FILTER", "02"),
                                                     entry_line(1, "99999", "", "1 ")}));
    EXPECT_EQ(box.lb_get_top(), 1);  // an added line is shown at the top
    // Replacing keeps the number, takes the new code's name (never the old
    // code's), and does not scroll.
    box.lb_set_top(0);
    index = 1;
    ASSERT_EQ(VBKpncAddRepPnc(list, "15700A", "05", &index), 0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(box.lb_get_top(), 0);
    EXPECT_EQ(box.lines()[1], entry_line(1, "15700A", "COOLER, OIL", "05"));
    EXPECT_EQ(box.lines().size(), 2u);
    index = 0;
    ASSERT_EQ(VBKpncAddRepPnc(list, "99999", "02", &index), 0);
    EXPECT_EQ(box.lines()[0], entry_line(0, "99999", "", "02"));
    index = 0;
    ASSERT_EQ(VBKpncAddRepPnc(list, "15601A", "02", &index), 0);
    EXPECT_EQ(box.lines()[0], entry_line(0, "15601A", "ELEMENT, OIL FILTER", "02"));
    // An index outside the list changes nothing.
    index = 2;
    EXPECT_EQ(VBKpncAddRepPnc(list, "15700A", "05", &index), 128);
    EXPECT_EQ(box.lines().size(), 2u);

    // Without the CD the line comes without its name.
    use_cd_names();
    index = -1;
    ASSERT_EQ(VBKpncAddRepPnc(list, "15601A", "01", &index), 0);
    EXPECT_EQ(box.lines()[2], entry_line(2, "15601A", "(2) ELEMENT, OIL FILTER", "01"));
    box.lb_delete(2);
    remove_cd();
    index = -1;
    ASSERT_EQ(VBKpncAddRepPnc(list, "15601A", "01", &index), 0);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(box.lines()[2], entry_line(2, "15601A", "", "01"));
    EXPECT_EQ(box.lb_get_top(), 2);

    while (box.lb_count() < 1000) box.lb_add(entry_line(box.lb_count(), "15601A", "X", "01"));
    index = -1;
    ASSERT_EQ(VBKpncAddRepPnc(list, "15601A", "01", &index), 0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(box.lb_count(), 1000);
    EXPECT_EQ(box.lb_get_top(), 2);  // a refused line does not scroll
    // A replaced line without the CD: the new code without a name, and 4.
    index = 0;
    ASSERT_EQ(VBKpncAddRepPnc(list, "15700A", "03", &index), 0);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(box.lines()[0], entry_line(0, "15700A", "", "03"));
}

TEST_F(EntryTest, DeletingRenumbersTheLinesAfter) {
    const char* codes[] = {"11111A", "22222A", "33333A", "44444A", "55555A"};
    for (int i = 0; i < 5; ++i) box.lb_add(entry_line(i, codes[i], "NAME", "01"));
    VBKpncDelPnc(list);  // nothing selected
    EXPECT_EQ(box.lines().size(), 5u);
    box.lb_set_sel(1, true);
    box.lb_set_sel(2, true);
    VBKpncDelPnc(list);
    EXPECT_EQ(box.lines(), (std::vector<std::string>{entry_line(0, "11111A", "NAME", "01"),
                                                     entry_line(1, "44444A", "NAME", "01"),
                                                     entry_line(2, "55555A", "NAME", "01")}));
    box.lb_set_sel(0, true);
    box.lb_set_sel(2, true);
    VBKpncDelPnc(list);
    EXPECT_EQ(box.lines(), std::vector<std::string>{entry_line(0, "44444A", "NAME", "01")});
}

TEST_F(EntryTest, EveryLineGoesIntoTheSelectionInOrder) {
    box.lb_add(entry_line(0, "15601A", "A", "02"));
    box.lb_add(entry_line(1, "90341A", "B", "10"));
    box.lb_add(entry_line(2, "15601A", "A", "01"));
    int16_t status = 9;
    ASSERT_EQ(VBKpncWriteSelectTmp(list, &status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(select_records(), (std::vector<std::string>{"15601A      020", "90341A      100", "15601A      010"}));
    EXPECT_EQ(pxall::GetPtrSelTmp()->count, 0);

    while (box.lb_count() < 1001) box.lb_add(entry_line(box.lb_count() % 1000, "15601A", "X", "01"));
    ASSERT_EQ(VBKpncWriteSelectTmp(list, &status), 0);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(select_records().size(), 3u) << "nothing written";
}

}  // namespace
