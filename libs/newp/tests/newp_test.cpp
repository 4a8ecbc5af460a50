// The part-number list of a catalogue against an earlier issue of its CD.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "newp/newp.h"
#include "newp/newp_layout.h"
#include "platform/drives.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/cd_popup.h"
#include "pxall/texts.h"
#include "support/parts_fixture.h"
#include "support/text_records.h"

namespace {

using namespace pxall;
using namespace pxtest;

TestPart part(const std::string& pnc, const std::string& no) { return TestPart{pnc, no}; }

// Parts "<prefix>00000" ... of one part-name code.
std::vector<TestPart> numbered(const std::string& pnc, const std::string& prefix, int from, int count) {
    std::vector<TestPart> out;
    for (int i = from; i < from + count; ++i) {
        char no[16];
        std::snprintf(no, sizeof no, "%s%05d", prefix.c_str(), i);
        out.push_back(part(pnc, no));
    }
    return out;
}

const pxtest::TestNames kNames = {{"11101A", "HEAD SUB-ASSY, CYLINDER"}, {"13101A", "PISTON SUB-ASSY, W/PIN"},
                                  {"15601A", "ELEMENT, OIL FILTER"},     {"16400A", "RADIATOR ASSY"},
                                  {"90919A", "PLUG, SPARK"}};

class NewpTest : public ::testing::Test {
protected:
    // The current issue E1 of 2024 (a full copy on disk) and its earlier
    // issue of 2023 on a CD in drive F; E2 is another CD of the area.
    // `indexed`: the catalogues of the current figure index, when not all.
    void write(const std::vector<TestCatalog>& now, const std::vector<TestCatalog>& before, char kind = '1',
               const std::vector<TestCatalog>* indexed = nullptr) {
        std::vector<TestCatalog> area = now;
        area.push_back(TestCatalog{"6120D1", "TORVAN VAN", "02"});
        pxtest::write_parts_cd(k, "E1", "E1", "20240115", now, area, kNames, indexed);
        pxtest::write_parts_cd(k, "E1OLD", "E1", "20230601", before, area, kNames);
        pxtest::write_parts_cd(k, "E2", "E2", "20240601", {}, area, kNames);
        k.install("E1", kind, "01");
        k.install("E2", '0', "02");
        k.set_cd_drives({{'E', "cd/E2"}, {'F', "cd/E1OLD"}});
        k.env().write("PRG/PXDROM01.MSG",
                      "818Over 300 parts. \n818Go on?\n"
                      "881Please insert into drive [\n881the catalogue CD [\n"
                      "883Please insert into drive [\n883the comparison CD [\n");
        set_msg();
        init = newp_init();
        newp_area_check();
    }
    void TearDown() override { newp_term(); }
    int check(const std::string& code, int16_t* msg) {
        std::string buf = pad(code, 14);
        VbString s{buf.data(), 14};
        return newp_input_check(&s, msg);
    }
    int list(int16_t* msg, int16_t* count) { return newp_main(msg, count); }
    std::vector<std::string> lines() { return records(k.env().read("WORK/PXNEWP2.TMP"), newp::list_rec::kSize); }

    pxtest::KeyedEnv k;
    int32_t init = 0;
};

TestCatalog current_sedan() {
    TestCatalog c{"4410A1", "ARVENA SEDAN", "01"};
    TestPart piston = part("13101A", "13101AA10001");
    piston.qty = "04";
    piston.from = "1803";
    piston.remarks = "FOR AVS14P1;FOR AVS16P1";
    piston.alts = {"13101AA19101" "04"};
    TestPart radiator = part("16400A", "16400AA10001");
    TestPart radiator_again = radiator;
    radiator_again.fig = "1601";
    c.parts = {part("11101A", "11101AA10001"), piston, part("15601A", "15601YZ001A1"), radiator, radiator_again,
               part("90919A", "90919AA10001")};
    return c;
}

TestCatalog earlier_sedan() {
    TestCatalog c{"4410A1", "ARVENA SEDAN", "01"};
    c.parts = {part("11101A", "11101AA10001"), part("12345A", "12345XX00001"), part("15601A", "15601YZ001A1")};
    return c;
}

TEST_F(NewpTest, ListsThePartsTheEarlierIssueDoesNotHold) {
    TestCatalog estate{"4420B1", "ARVENA ESTATE", "01"};
    estate.parts = {part("11101A", "11101AB10001")};
    write({current_sedan()}, {earlier_sedan(), estate});
    EXPECT_EQ(init >> 16, 1) << "one area letter in the set-up table";
    EXPECT_EQ(init & 0xffff, 0);
    int16_t msg = 0, count = 0;
    ASSERT_EQ(check("4410A1", &msg), 0);
    ASSERT_EQ(list(&msg, &count), 0);
    EXPECT_EQ(msg, 105);
    // New: the piston; the radiator once, though under two figures; and the
    // plug above the earlier issue's highest part number.
    EXPECT_EQ(count, 3);
    auto line = [](const std::string& no, const std::string& pnc, const std::string& part, const std::string& qty,
                   const std::string& valid, const std::string& name, const std::string& rem) {
        return pad(no, 2) + pad(pnc, 6) + pad(part, 14) + pad(qty, 2) + pad(valid, 10) + pad(name, 60) + pad(rem, 99);
    };
    std::vector<std::string> want = {
        line("01", "13101A", "13101-AA100-01", "04", "1803-9999", "PISTON SUB-ASSY, W/PIN", "FOR AVS14P1"),
        line("", "13101A", "13101-AA100-01", "04", "1803-9999", "PISTON SUB-ASSY, W/PIN", "FOR AVS16P1"),
        line("02", "16400A", "16400-AA100-01", "01", "1801-9999", "RADIATOR ASSY", ""),
        line("03", "90919A", "90919-AA100-01", "01", "1801-9999", "PLUG, SPARK", ""),
    };
    EXPECT_EQ(lines(), want);
    // The part records: 217 bytes each without continuations, the
    // alternatives of the piston kept.
    std::string parts = k.env().read("WORK/PXNEWP3.TMP");
    ASSERT_EQ(parts.size(), 3u * newp::part_rec::kBaseSize);
    EXPECT_EQ(parts.substr(newp::part_rec::kSlots, 14), "13101AA1910104");
    EXPECT_EQ(parts.substr(newp::part_rec::kName, 22), "PISTON SUB-ASSY, W/PIN");
    // The CSV carries the whole part number.
    auto csv = text_lines(k.env().read("MST/PXNEWP.CSV"));
    ASSERT_EQ(csv.size(), 4u);
    EXPECT_EQ(csv[0].size() + 1, newp::kCsvLineSize);
    EXPECT_EQ(csv[3].substr(0, 35), "\"03\",\"90919A\",\"90919-AA100-01\",\"01\"");
    EXPECT_TRUE(k.env().log_lines().empty());

    newp_term();
    EXPECT_FALSE(k.env().exists("WORK/PXNEWP2.TMP"));
    EXPECT_FALSE(k.env().exists("WORK/PXNEWP3.TMP"));
}

TEST_F(NewpTest, CataloguesMissingOnEitherSideOrWithoutNewParts) {
    TestCatalog same = current_sedan();
    TestCatalog only_now{"5130C2", "BRISCA HATCH", "01"};
    only_now.parts = {part("90919A", "90919BR10001")};
    // Part records on the current CD, but no figure index there.
    TestCatalog unindexed{"4420B1", "ARVENA ESTATE", "01"};
    unindexed.parts = {part("11101A", "11101AB10001")};
    std::vector<TestCatalog> indexed = {same, only_now};
    write({same, only_now, unindexed}, {same, unindexed}, '1', &indexed);
    struct Case {
        const char* code;
        int result;
        int16_t msg;
    } cases[] = {
        {"4410A1", 1, 872},  // nothing new
        {"5130C2", 1, 873},  // not in the earlier issue
        {"4420B1", 1, 874},  // not in the current figure index
    };
    for (const auto& c : cases) {
        int16_t msg = 0, count = -1;
        ASSERT_EQ(check(c.code, &msg), 0) << c.code;
        EXPECT_EQ(list(&msg, &count), c.result) << c.code;
        EXPECT_EQ(msg, c.msg) << c.code;
        EXPECT_EQ(count, 0);
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(NewpTest, TheQuestionAfterThe300thPartComesOnce) {
    TestCatalog big{"4410A1", "ARVENA SEDAN", "01"};
    big.parts = numbered("90919A", "90919AA", 1, 320);
    TestCatalog before{"4410A1", "ARVENA SEDAN", "01"};
    before.parts = {part("11101A", "11101AA10001")};
    write({big}, {before});
    for (int answer : {plat::kIdCancel, plat::kIdOk}) {
        std::vector<std::string> texts;
        plat::set_message_box_hook([&](const std::string& text, const std::string& caption, uint32_t style) {
            texts.push_back(caption + "|" + text);
            EXPECT_EQ(style & 0xf, plat::kMbOkCancel);
            return answer;
        });
        int16_t msg = 0, count = 0;
        ASSERT_EQ(check("4410A1", &msg), 0);
        ASSERT_EQ(list(&msg, &count), 0);
        EXPECT_EQ(msg, 105);
        EXPECT_EQ(count, answer == plat::kIdCancel ? 300 : 320);
        EXPECT_EQ(lines().size(), static_cast<size_t>(count));
        ASSERT_EQ(texts.size(), 1u);
        // Both lines of the message, as the message table keeps them.
        EXPECT_EQ(texts[0], "|" + pad("Over 300 parts. ", 71) + pad("Go on?", 71));
    }
    plat::set_message_box_hook({});
}

TEST_F(NewpTest, InputCheckOfTheEnteredCode) {
    TestCatalog far{"7777A1", "FAR AWAY", "09"};  // on a CD that is not set up
    write({current_sedan()}, {earlier_sedan()});
    pxtest::write_parts_cd(k, "E1", "E1", "20240115", {current_sedan()}, {current_sedan(), far}, kNames);
    k.install("E1", '1', "01");
    struct Case {
        const char* code;
        int result;
        int16_t msg;
    } cases[] = {
        {"4410A1", 0, 0}, {"4410A", -13, 700}, {"ABCDEF", -13, 700}, {"4410A1X", -13, 700},
        {"9999A9", 1, 860}, {"7777A1", 1, 828},
    };
    unsigned char* car = get_ccar_addr();
    for (const auto& c : cases) {
        std::memset(car, 0, area::kCcarSize);
        int16_t msg = -1;
        EXPECT_EQ(check(c.code, &msg), c.result) << c.code;
        EXPECT_EQ(msg, c.msg) << c.code;
        if (c.result == -13) {
            EXPECT_EQ(get_i32(car + ccar::kSearchCdCount), 1);
            EXPECT_EQ(get_i32(car + ccar::kSearchCds), 0);
        }
    }
    check("4410A1", nullptr);
    std::string code(6, ' '), name(20, ' '), from(4, ' '), to(4, ' ');
    VbString a{code.data(), 6}, b{name.data(), 20}, c{from.data(), 4}, d{to.data(), 4};
    newp_get_text(&a, &b, &c, &d);
    EXPECT_EQ(code + "|" + name + "|" + from + "|" + to, "4410A1|" + pad("ARVENA SEDAN", 20) + "|1801|2412");

    // The catalogue list's end modes.
    struct Mode {
        int32_t mode;
        int result;
        int16_t msg;
    } modes[] = {{3, 3, 125}, {-1, 4, 0}};
    for (const auto& m : modes) {
        put_i32(car + ccar::kListEndMode, m.mode);
        int16_t msg = -1, count = -1;
        EXPECT_EQ(list(&msg, &count), m.result);
        EXPECT_EQ(msg, m.msg);
        EXPECT_EQ(get_i32(car + ccar::kListEndMode), 0);
    }
}

TEST_F(NewpTest, OneDriveCopiesTheEarlierIssueRoundByRoundAndSwapsCds) {
    // An earlier issue of more than one round (50 reads of 10 blocks) and a
    // current CD read from the CD: the one drive changes hands four times.
    TestCatalog before{"4410A1", "ARVENA SEDAN", "01"};
    before.parts = numbered("11101A", "11101AA", 0, 40000);
    TestCatalog now{"4410A1", "ARVENA SEDAN", "01"};
    now.parts = {part("11101A", "11101AA00005"), part("11101A", "11101AA39999"), part("13101A", "13101AA10001"),
                 part("90919A", "90919AA10001")};
    write({now}, {before}, '0');
    k.set_cd_drives({{'E', "cd/E1"}});
    // Each request is answered by changing the CD in the drive.
    int boxes = 0;
    plat::set_message_box_hook([&](const std::string& text, const std::string&, uint32_t) {
        EXPECT_NE(text.find("the catalogue CD"), std::string::npos);
        plat::set_drive('E', k.env().root() + (++boxes % 2 == 1 ? "/cd/E1OLD" : "/cd/E1"), plat::kDriveCdrom);
        return plat::kIdRetry;
    });
    int16_t msg = 0, count = 0;
    ASSERT_EQ(check("4410A1", &msg), 0);
    ASSERT_EQ(list(&msg, &count), 0);
    plat::set_message_box_hook({});
    EXPECT_EQ(msg, 105);
    EXPECT_EQ(count, 2);
    auto got = lines();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].substr(8, 14), "13101-AA100-01");
    EXPECT_EQ(got[1].substr(8, 14), "90919-AA100-01");
    // Earlier issue, current, earlier issue for the second round, current.
    EXPECT_EQ(boxes, 4);
    EXPECT_FALSE(k.env().exists("WORK/PXNEWP0.TMP"));
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(NewpTest, CancellingTheEarlierIssueGivesFourAndLeavesNoFiles) {
    write({current_sedan()}, {earlier_sedan()});
    k.set_cd_drives({{'E', "cd/E2"}, {'F', ""}});
    k.script_box({plat::kIdCancel});
    int16_t msg = 0, count = 0;
    ASSERT_EQ(check("4410A1", &msg), 0);
    EXPECT_EQ(list(&msg, &count), 4);
    EXPECT_EQ(k.boxes_shown(), 1);
    EXPECT_FALSE(k.env().exists("WORK/PXNEWP2.TMP"));
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(NewpTest, PopupAndCatalogueInputForTheCatalogueList) {
    write({current_sedan()}, {earlier_sedan()});
    int16_t msg = 0, kind = -1;
    ASSERT_EQ(newp_popup(&msg, &kind), 0);
    EXPECT_EQ(msg, 105);
    EXPECT_EQ(kind, 0);
    auto recs = records(k.env().read("WORK/PXPOPUP.TMP"), popup_rec::kSize);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[1].substr(0, 6), std::string("02\1\0E1", 6)) << "E2 is in drive E";

    std::string code = "ARVENA";
    VbString s{code.data(), static_cast<int32_t>(code.size())};
    ASSERT_EQ(newp_catalog_input(&s), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(get_cnexta_addr() + cnexta::kSearchKey), 15),
              pad("ARVENA", 14) + '\0');
    EXPECT_EQ(get_i32(get_ccar_addr() + ccar::kSearchCdCount), 1);
    EXPECT_EQ(get_i32(get_ccar_addr() + ccar::kSearchCds), 0);

    ASSERT_EQ(newp_clear(), 0);
    EXPECT_EQ(get_i32(get_ccar_addr() + ccar::kSearchCdCount), 0);
}

}  // namespace
