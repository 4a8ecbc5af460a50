// The applicability search on two installed catalogue CDs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/cd_popup.h"
#include "pxall/texts.h"
#include "support/parts_fixture.h"
#include "support/text_records.h"
#include "teki/teki.h"
#include "teki/teki_layout.h"

namespace {

using namespace pxall;
using namespace pxtest;

// A SCRTEKI.TMP line from its fields.
std::string screen_line(const std::string& no, const std::string& part, const std::string& code,
                        const std::string& qty, const std::string& part2, const std::string& label2,
                        const std::string& qty2, const std::string& cat, const std::string& car,
                        const std::string& from, const std::string& to, const std::string& r1,
                        const std::string& r2) {
    return pad(no, 2) + pad(part, 14) + pad(code, 6) + pad(qty, 2) + pad(part2, 14) + pad(label2, 6) + pad(qty2, 2) +
           pad(cat, 6) + pad(car, 20) + pad(from, 4) + pad(to, 4) + pad(r1, 42) + pad(r2, 42);
}

class TekiTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestPart filter{"15601A", "15601YZ001A1"};
        TestCatalog sedan{"4410A1", "ARVENA SEDAN", "01"};
        TestPart main_part{"16400A", "16400AA10002", "02", "1903", "2312", "FOR AVS14P1;FOR AVS16P1;"};
        main_part.alts = {"16400AA19101" "01", "16400AA19202" "02", "16400AA19303" "03"};
        main_part.more = {"EXC. UK;SEE ALSO FAN;USE KIT"};
        // Another part under the same code is not the one asked for.
        sedan.parts = {filter, TestPart{"16400A", "16400AA10001"}, main_part};
        TestCatalog estate{"4420B1", "ARVENA ESTATE", "01"};
        TestPart irregular{"16400A", "16400AB10001"};
        irregular.alts = {"*6400AB29901" "01"};
        estate.parts = {filter, irregular};
        TestCatalog van{"6120D1", "TORVAN VAN", "02"};
        van.parts = {filter};
        std::vector<TestCatalog> area = {sedan, estate, van};
        pxtest::TestNames names = {{"15601A", "ELEMENT, OIL FILTER"}, {"16400A", "RADIATOR ASSY"}};
        pxtest::write_parts_cd(k, "E1", "E1", "20240115", {sedan, estate}, area, names);
        pxtest::write_parts_cd(k, "E2", "E2", "20240601", {van}, area, names);
        k.install("E1", '1', "01");
        k.install("E2", '1', "02");
        k.set_cd_drives({{'E', ""}});
        k.env().write("PXDROM01.SCR", "0125 PRESENT\n2710 NOT FOUND\n");
        set_scr();
        hwnd = plat::register_control(&box);
    }
    void TearDown() override {
        VBTekiTerm();
        plat::unregister_control(hwnd);
    }
    int search(int16_t* status, std::string* path = nullptr) {
        std::string buf(80, '\0');
        VbString s{buf.data(), 80};
        int r = VBTekiSearchProc(hwnd, &s, status);
        if (path != nullptr) *path = buf.c_str();
        return r;
    }
    pxtest::KeyedEnv k;
    plat::MemoryListBox box;
    int32_t hwnd = 0;
};

TEST_F(TekiTest, TenPartNumbersAreSearchedAndMarkedFoundOrNotFound) {
    const char* typed[] = {"15601-YZ001-A1", "16400-AA100-02", "16400-AB100-01", "99999-XX999-99", "11111-11111-11",
                           "22222-22222-22", "33333-33333-33", "44444-44444-44", "55555-55555-55", "66666-66666-66",
                           "15601-YZ001-A1"};
    for (const char* t : typed) box.lb_add(t);
    int16_t status = -1;
    int16_t init_status = -1;
    ASSERT_EQ(VBTekiInit(&init_status), 0);
    EXPECT_EQ(init_status, 0);
    std::string path;
    ASSERT_EQ(search(&status, &path), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(path, "C:\\WORK\\SCRTEKI.TMP");
    const auto& lines = box.lines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "15601-YZ001-A1  : " + pad("ELEMENT, OIL FILTER", 60));
    EXPECT_EQ(lines[2], "16400-AB100-01  : " + pad("RADIATOR ASSY", 60));
    for (int i = 3; i < 10; ++i) EXPECT_EQ(lines[i], std::string(typed[i]) + "  : " + pad("NOT FOUND", 60)) << i;
    EXPECT_EQ(lines[10], typed[10]) << "only the first ten are searched";

    auto screen = records(k.env().read("WORK/SCRTEKI.TMP"), teki::screen_rec::kSize);
    std::vector<std::string> want = {
        // One part number in three catalogues: three work records.
        screen_line("01", "15601-YZ001-A1", "15601A", "01", "", "", "", "4410A1", "ARVENA SEDAN", "1801", "", "", ""),
        screen_line("02", "15601-YZ001-A1", "15601A", "01", "", "", "", "4420B1", "ARVENA ESTATE", "1801", "", "", ""),
        screen_line("03", "15601-YZ001-A1", "15601A", "01", "", "", "", "6120D1", "TORVAN VAN", "1801", "", "", ""),
        // Alternatives two to a line, remarks two to a line; the fifth
        // piece gets a third line without a slot 4.
        screen_line("04", "16400-AA100-02", "16400A", "02", "16400-AA191-01", "(MAIN)", "01", "4410A1",
                    "ARVENA SEDAN", "1903", "2312", "FOR AVS14P1", "FOR AVS16P1"),
        screen_line("", "16400-AA192-02", "(SUB) ", "02", "16400-AA193-03", "(SUB) ", "03", "", "", "", "", "EXC. UK",
                    "SEE ALSO FAN"),
        screen_line("", "", "", "", "", "", "", "", "", "", "", "USE KIT", ""),
        // An irregular slot 1: the label without a part number.
        screen_line("05", "16400-AB100-01", "16400A", "01", "", "(IRRG)", "", "4420B1", "ARVENA ESTATE", "1801", "",
                    "", ""),
    };
    ASSERT_EQ(screen.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(screen[i], want[i]) << i;

    auto csv = text_lines(k.env().read("MST/PXTEKI.CSV"));
    std::vector<std::string> want_csv = {
        "01,15601-YZ001-A1,15601A,01,\"ELEMENT, OIL FILTER\",4410A1,\"ARVENA SEDAN\",1801,,",
        "02,15601-YZ001-A1,15601A,01,\"ELEMENT, OIL FILTER\",4420B1,\"ARVENA ESTATE\",1801,,",
        "03,15601-YZ001-A1,15601A,01,\"ELEMENT, OIL FILTER\",6120D1,\"TORVAN VAN\",1801,,",
        "04,16400-AA100-02,16400A,02,\"RADIATOR ASSY\",4410A1,\"ARVENA SEDAN\",1903,2312,\"FOR AVS14P1\"",
        ",16400-AA191-01,(MAIN),01,,,,,,\"FOR AVS16P1\"",
        ",16400-AA192-02,(SUB),02,,,,,,\"EXC. UK\"",
        ",16400-AA193-03,(SUB),03,,,,,,\"SEE ALSO FAN\"",
        ",,,,,,,,,\"USE KIT\"",
        // The second line needs a part number or a remark piece.
        "05,16400-AB100-01,16400A,01,\"RADIATOR ASSY\",4420B1,\"ARVENA ESTATE\",1801,,",
    };
    EXPECT_EQ(csv, want_csv);
    EXPECT_TRUE(k.env().log_lines().empty());

    // A new search starts from fresh work files.
    box.lb_reset();
    box.lb_add("99999-XX999-99");
    ASSERT_EQ(search(&status), 0);
    EXPECT_TRUE(k.env().read("WORK/SCRTEKI.TMP").empty());
    EXPECT_FALSE(k.env().exists("WORK/WRKTEKI1.TMP"));
    EXPECT_EQ(VBTekiTerm(), 0);
    EXPECT_FALSE(k.env().exists("WORK/SCRTEKI.TMP"));
}

TEST_F(TekiTest, AnEmptyListBoxWritesNothing) {
    int16_t status = 0;
    ASSERT_EQ(VBTekiInit(&status), 0);
    ASSERT_EQ(search(&status), 0);
    EXPECT_EQ(status, 2);
    EXPECT_FALSE(k.env().exists("WORK/SCRTEKI.TMP"));
    EXPECT_FALSE(k.env().exists("MST/PXTEKI.CSV"));
}

// Screen texts in their places under the Japanese menu language (code page
// 932): the present text in the twelve places before the pop-up record's
// terminator, "not found" in the 60 of a part name; a double-byte character
// that would take the last place and one more is left out, the place blank.
// A Latin menu cuts the bytes where they fall.
TEST_F(TekiTest, ScreenTextsEndBeforeACharacterThatDoesNotFit) {
    const std::string ka = "\x83\x4A";  // one character of two bytes
    std::string long_text = "A";
    for (int i = 0; i < 30; ++i) long_text += ka;  // 61 bytes
    struct Case {
        const char* lang;
        std::string present, present_shown;
        std::string not_found, not_found_shown;
    };
    const Case cases[] = {
        {"02", "ABCDEFGHIJK" + ka, "ABCDEFGHIJK", long_text, long_text.substr(0, 59) + " "},
        {"02", ka + ka + ka + ka + ka + ka, ka + ka + ka + ka + ka + ka, "NOT FOUND", pad("NOT FOUND", 60)},
        {"02", "PRESENT-TEXTS", "PRESENT-TEXT", ka, pad(ka, 60)},
        {"01", "ABCDEFGHIJK" + ka, "ABCDEFGHIJK\x83", long_text, long_text.substr(0, 60)},
    };
    int16_t status = 0;
    ASSERT_EQ(VBTekiInit(&status), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.present);
        pxtest::set_field(get_ctop_addr(), ctop::kMenuLangCode, 3, c.lang);
        k.env().write(std::string("PXDROM") + c.lang + ".SCR",
                      "0125 " + c.present + "\n2710 " + c.not_found + "\n");
        ASSERT_EQ(set_scr(), 0);
        std::string buf(80, '\0');
        VbString s{buf.data(), 80};
        ASSERT_EQ(VBTekiPopup(&s), 0);
        auto recs = records(k.env().read("WORK/PXPOPUP.TMP"), popup_rec::kSize);
        ASSERT_EQ(recs.size(), 2u);
        const std::string head = "   01 : 01/15/'24  ";
        const std::string text = head + c.present_shown;
        EXPECT_EQ(recs[0].substr(6), text + std::string(32 - text.size(), '\0'));

        box.lb_reset();
        box.lb_add("99999-XX999-99");
        ASSERT_EQ(search(&status), 0);
        ASSERT_EQ(box.lines().size(), 1u);
        EXPECT_EQ(box.lines()[0], "99999-XX999-99  : " + c.not_found_shown);
    }
}

TEST_F(TekiTest, PopupChoiceIsCheckedAgainstTheElevenSlots) {
    int16_t status = 0;
    ASSERT_EQ(VBTekiInit(&status), 0);
    std::string buf(80, '\0');
    VbString s{buf.data(), 80};
    ASSERT_EQ(VBTekiPopup(&s), 0);
    EXPECT_EQ(std::string(buf.c_str()), "C:\\WORK\\PXPOPUP.TMP");
    auto recs = records(k.env().read("WORK/PXPOPUP.TMP"), popup_rec::kSize);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0].substr(6), pad("   01 : 01/15/'24  PRESENT", 26) + std::string(6, '\0'));

    // Choose the van's CD alone: only its catalogue is searched.
    int16_t index = 1, slot = 0, count = 1;
    EXPECT_EQ(VBTekiPopupSetSel(&index, &slot), 0);
    EXPECT_EQ(VBTekiPopupSetNum(&count), 0);
    int16_t bad_slots[] = {11, -1, 30};
    for (int16_t b : bad_slots) EXPECT_EQ(VBTekiPopupSetSel(&index, &b), 128) << b;
    int16_t bad_counts[] = {12, -1, 30};
    for (int16_t b : bad_counts) EXPECT_EQ(VBTekiPopupSetNum(&b), 128) << b;
    EXPECT_EQ(k.env().log_lines().size(), 6u);
    box.lb_add("15601-YZ001-A1");
    ASSERT_EQ(search(&status), 0);
    auto screen = records(k.env().read("WORK/SCRTEKI.TMP"), teki::screen_rec::kSize);
    ASSERT_EQ(screen.size(), 1u);
    EXPECT_EQ(screen[0].substr(46, 6), "6120D1");
}

TEST(TekiCd, AMissingCdStopsTheSearchWithStatusFour) {
    pxtest::KeyedEnv k;
    TestCatalog van{"6120D1", "TORVAN VAN", "01"};
    van.parts = {TestPart{"15601A", "15601YZ001A1"}};
    pxtest::write_parts_cd(k, "E1", "E1", "20240115", {van}, {van}, {{"15601A", "ELEMENT, OIL FILTER"}});
    k.install("E1", '0', "01");
    k.set_cd_drives({{'E', ""}});
    k.script_box({});
    plat::MemoryListBox box;
    box.lb_add("15601-YZ001-A1");
    int32_t hwnd = plat::register_control(&box);
    int16_t index = 0, slot = 0, count = 1, status = 0;
    VBTekiPopupSetSel(&index, &slot);
    VBTekiPopupSetNum(&count);
    std::string buf(80, '\0');
    VbString s{buf.data(), 80};
    EXPECT_EQ(VBTekiSearchProc(hwnd, &s, &status), 0);
    EXPECT_EQ(status, 4);
    EXPECT_TRUE(k.env().log_lines().empty());
    VBTekiTerm();
    plat::unregister_control(hwnd);
}

}  // namespace
