// The part-number and part-name search on two installed catalogue CDs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "hinb/hinb.h"
#include "hinb/hinb_layout.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/cd_popup.h"
#include "pxall/texts.h"
#include "support/parts_fixture.h"
#include "support/text_records.h"

namespace {

using namespace pxall;
using namespace pxtest;

struct Vb {
    explicit Vb(size_t n, char fill = 0) : buf(n, fill) { s = {buf.data(), static_cast<int32_t>(n)}; }
    explicit Vb(const std::string& text) : buf(text) { s = {buf.data(), static_cast<int32_t>(buf.size())}; }
    std::string str() const { return buf; }
    VbString* operator&() { return &s; }
    std::string buf;
    VbString s;
};

class HinbTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestCatalog sedan{"4410A1", "ARVENA SEDAN", "01"};
        TestPart plain{"16400A", "16400AA10001"};
        plain.from = "1803";
        plain.remarks = "FOR AVS14P1;FOR AVS16P1";
        TestPart main_sub{"16400A", "16400AA10002", "02", "1903", "2312", "EXC. UK"};
        main_sub.alts = {"16400AA19101" "01", "16400AA19202" "02", "16400AA19303" "03"};
        main_sub.more = {"SEE ALSO THE COOLING FAN;", "USE THE FITTING KIT"};
        sedan.parts = {plain, main_sub, TestPart{"15601A", "15601YZ001A1"}};
        TestCatalog van{"6120D1", "TORVAN VAN", "02"};
        TestPart irregular{"16400A", "16400TD20001"};
        irregular.alts = {"*6400TD29901" "01"};
        van.parts = {irregular};
        area = {sedan, van};
        pxtest::write_parts_cd(k, "E1", "E1", "20240115", {sedan}, area,
                               {{"15601A", pad("ELEMENT, OIL", 54) + "FILTER"}, {"16100A", "BODY, WATER PUMP"},
                                {"16400A", "RADIATOR ASSY"}, {"15100A", "PUMP ASSY, OIL"}});
        pxtest::write_parts_cd(k, "E2", "E2", "20240601", {van}, area,
                               {{"16100A", "BODY, WATER PUMP"}, {"16400A", "RADIATOR ASSY"},
                                {"17801A", pad("ELEMENT, AIR CLEANER FILTER", 54) + " PUMP!"}});
        k.install("E1", '1', "01");
        k.install("E2", '1', "02");
        k.set_cd_drives({{'E', ""}});
        hinb_init();
    }
    void TearDown() override {
        int16_t mode = 1;
        hinb_term(&mode);
        hinb_term2();
    }
    int check(const std::string& text, const std::string& code, std::string* name = nullptr, int16_t* msg = nullptr,
              int32_t n = -1) {
        Vb t(pad(text, 60)), c(pad(code, 6)), name_out(60, ' '), code_out(6, ' ');
        int16_t m = 0;
        int r = hinb_in_check_input(n < 0 ? static_cast<int32_t>(text.size()) : n, &t, &c, &name_out, &code_out, &m);
        if (name != nullptr) *name = name_out.str();
        if (msg != nullptr) *msg = m;
        return r;
    }
    std::string work(const char* name) { return k.env().read(std::string("WORK/") + name); }
    pxtest::KeyedEnv k;
    std::vector<TestCatalog> area;
};

TEST_F(HinbTest, InputCheckRefusesEmptyInputAndLooksUpTheCode) {
    struct Case {
        std::string text;
        int32_t n;
        std::string code;
        int result;
        int16_t msg;
    } cases[] = {
        {"", 0, "16400A", 1, 0},
        {"      ", 6, "16400A", 1, 0},
        {"____", 4, "16400A", 1, 0},
        {"__ X", 2, "16400A", 1, 0},       // only the first n characters count
        {"RADIATOR", 8, "16400A", 0, 0},
        {"RADIATOR", 100000, "16400A", 0, 0},  // a length beyond the text is cut to 60
        {"RADIATOR", 8, "99999A", 2, 867},
    };
    for (const auto& c : cases) {
        std::string name;
        int16_t msg = -1;
        EXPECT_EQ(check(c.text, c.code, &name, &msg, c.n), c.result) << c.text << "/" << c.n;
        EXPECT_EQ(msg, c.msg) << c.text;
        if (c.result == 0) {
            EXPECT_EQ(name, pad("RADIATOR ASSY", 60));
        }
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(HinbTest, PartNumberSearchListsMainSubstituteAndIrregularLines) {
    ASSERT_EQ(hinb_cdmake_cdidtbl_alldrive(0), 0);
    ASSERT_EQ(check("RADIATOR", "16400A"), 0);
    int16_t msg = 0, count = 0;
    ASSERT_EQ(hinb_pn_main(&msg, &count), 0);
    EXPECT_EQ(msg, 105);
    EXPECT_EQ(count, 3);
    auto lines = records(work(hinb::kListFile), hinb::list_rec::kSize);
    auto line = [](const std::string& no, const std::string& code, const std::string& part, const std::string& cat,
                   const std::string& car, const std::string& valid, const std::string& qty, const std::string& rem) {
        return no + pad(code, 6) + pad(part, 14) + pad(cat, 6) + pad(car, 20) + pad(valid, 9) + pad(qty, 2) +
               pad(rem, 99);
    };
    std::vector<std::string> want = {
        // Open end shown blank; each remark piece on a line of its own.
        line("01", "16400A", "16400-AA100-01", "4410A1", "ARVENA SEDAN", "1803-", "01", "FOR AVS14P1"),
        line("  ", "", "", "", "", "", "", "FOR AVS16P1"),
        // Main part, "(MAIN)" with slot 1, "(SUB) " with slots 2 and 3; the
        // continuation joins the first remark piece.
        line("02", "16400A", "16400-AA100-02", "4410A1", "ARVENA SEDAN", "1903-2312", "02",
             pad("EXC. UK", 71) + "SEE ALSO THE COOLING FAN"),
        line("  ", "(MAIN)", "16400-AA191-01", "", "", "", "01", pad("USE THE FITTING KIT", 219).substr(0, 98)),
        line("  ", "(SUB) ", "16400-AA192-02", "", "", "", "02", ""),
        line("  ", "(SUB) ", "16400-AA193-03", "", "", "", "03", ""),
        // The star of an irregular slot 1 is shown as a blank.
        line("03", "16400A", "16400-TD200-01", "6120D1", "TORVAN VAN", "1801-", "01", ""),
        line("  ", "(IRRG)", " 6400-TD299-01", "", "", "", "01", ""),
    };
    ASSERT_EQ(lines.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(lines[i], want[i]) << i;

    // The CSV lines follow the display lines and carry the whole part number.
    auto csv = text_lines(k.env().read("MST/PXHINB.CSV"));
    ASSERT_EQ(csv.size(), want.size());
    EXPECT_EQ(csv[1].size() + 1, hinb::kCsvLineSize);
    EXPECT_EQ(csv[3].substr(0, 30), "\"  \",\"(MAIN)\",\"16400-AA191-01\"");
    EXPECT_EQ(csv[6].substr(0, 39), "\"03\",\"16400A\",\"16400-TD200-01\",\"6120D1\"");

    // The parts as gathered: 157 bytes and 219 per continuation.
    std::string tmp2 = work(hinb::kWorkFile);
    ASSERT_EQ(tmp2.size(), 157u + (157u + 2 * 219u) + 157u);
    EXPECT_EQ(get_i16(reinterpret_cast<const unsigned char*>(tmp2.data()) + 157), 157 + 2 * 219);
    EXPECT_EQ(tmp2.substr(157 + 22, 14), "16400AA1910101");
    // The current-vehicle block holds the last catalogue and two car-name bytes.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(get_ccar_addr()), 8), "6120D1TO");

    int16_t mode = 0;
    EXPECT_EQ(hinb_term(&mode), 0);
    EXPECT_FALSE(k.env().exists(std::string("WORK/") + hinb::kListFile));
    EXPECT_FALSE(k.env().exists(std::string("WORK/") + hinb::kWorkFile));
    EXPECT_TRUE(k.env().exists("MST/PXHINB.CSV"));
}

TEST_F(HinbTest, CountWrapsFrom99To00AndNothingFoundGives865) {
    TestCatalog big{"5130C2", "BRISCA HATCH", "01"};
    for (int i = 0; i < 101; ++i) {
        char part[16];
        std::snprintf(part, sizeof part, "90919BR%05d", i);
        big.parts.push_back(TestPart{"90919A", part});
    }
    pxtest::write_parts_cd(k, "E1", "E1", "20240115", {big}, {big}, {{"90919A", "PLUG, SPARK"}});
    k.install("E1", '1', "01");
    ASSERT_EQ(hinb_cdmake_cdidtbl_alldrive(0), 0);
    ASSERT_EQ(check("PLUG", "90919A"), 0);
    int16_t msg = 0, count = 0;
    ASSERT_EQ(hinb_pn_main(&msg, &count), 0);
    EXPECT_EQ(count, 101);
    auto lines = records(work(hinb::kListFile), hinb::list_rec::kSize);
    ASSERT_EQ(lines.size(), 101u);
    EXPECT_EQ(lines[98].substr(0, 2), "99");
    EXPECT_EQ(lines[99].substr(0, 2), "00");
    EXPECT_EQ(lines[100].substr(0, 2), "01");

    ASSERT_EQ(check("PLUG", "99999A"), 2);
    ASSERT_EQ(hinb_pn_main(&msg, &count), 1);
    EXPECT_EQ(msg, 865);
    EXPECT_EQ(count, 0);
}

TEST_F(HinbTest, PartNameSearchMatchesAnywhereAndWritesACodeOnce) {
    struct Case {
        std::string text;
        std::vector<std::string> codes;
    } cases[] = {
        // A leading '_' is a blank: "PUMP ASSY" does not start with one.
        {"_PUMP", {"16100A", "17801A"}},
        {"PUMP", {"15100A", "16100A", "17801A"}},
        {"FILTER", {"15601A", "17801A"}},
        {"GEARBOX", {}},
        {"FILTER16", {}},  // the end of a name and the next record's code
    };
    for (const auto& c : cases) {
        ASSERT_EQ(check(c.text, ""), 2) << "the code is unknown, the text is taken";
        int16_t msg = 0, count = 0;
        int r = hinb_pc_main(&msg, &count);
        auto recs = records(work(hinb::kNameFile), hinb::name_rec::kSize);
        std::vector<std::string> codes;
        for (const auto& rec : recs) codes.push_back(rec.substr(0, 6));
        std::sort(codes.begin(), codes.end());
        EXPECT_EQ(codes, c.codes) << c.text;
        EXPECT_EQ(count, static_cast<int16_t>(c.codes.size()));
        EXPECT_EQ(r, c.codes.empty() ? 1 : 0);
        EXPECT_EQ(msg, c.codes.empty() ? 865 : 0);
        EXPECT_EQ(hinb_term2(), 0);
    }
}

TEST_F(HinbTest, ThirtyThousandNamesEndTheSearchAsMaxOver) {
    pxtest::TestNames names;
    for (int i = 0; i < 30001; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "%05dA", i);
        names.push_back({code, "GASKET"});
    }
    pxtest::write_parts_cd(k, "E1", "E1", "20240115", {}, area, names);
    k.install("E1", '1', "01");
    ASSERT_EQ(check("GASKET", ""), 2);
    int16_t msg = 0, count = 0;
    EXPECT_EQ(hinb_pc_main(&msg, &count), -1);
    EXPECT_EQ(count, 30000);
    auto log = k.env().log_lines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().substr(0, 34), "PXHINB04,hinb_pc_make_data,Max Ove");
}

TEST_F(HinbTest, PopupListsTheAreaCdsAndTheChoiceIsCheckedAgainstTheTable) {
    k.env().write("PXDROM01.SCR", "0111 ANY DRIVE\n0125 PRESENT-IN-DRIVE!\n");
    set_scr();
    int16_t msg = 0, kind = 0;
    ASSERT_EQ(hinb_popup(&msg, &kind), 0);
    EXPECT_EQ(msg, 140);
    EXPECT_EQ(kind, 1);
    auto recs = records(work(kPopupFileName), popup_rec::kSize);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0].substr(0, 6), std::string("01\0\0E1", 6));
    EXPECT_EQ(recs[1].substr(0, 6), std::string("02\1\0E1", 6));
    // The text keeps its terminator within 32 bytes: the present text is cut.
    EXPECT_EQ(recs[1].substr(6), std::string("   02 : 06/01/'24  PRESENT-IN-D") + '\0');

    int16_t count = 1, index = 1, slot = 0;
    EXPECT_EQ(hinb_popup_set_sel(&count, &index, &slot), 0);
    EXPECT_EQ(hinb_popup_make_cat(), 0);
    // Slots and counts beyond the table's 30 are refused and logged.
    for (auto [c, s] : {std::pair<int16_t, int16_t>{1, 30}, {1, -1}, {31, 0}, {-1, 0}}) {
        count = c;
        slot = s;
        EXPECT_EQ(hinb_popup_set_sel(&count, &index, &slot), -1) << c << "/" << s;
    }
    EXPECT_EQ(k.env().log_lines().size(), 4u);
    // The table is as the good call left it: only the van's CD is searched.
    ASSERT_EQ(check("RADIATOR", "16400A"), 0);
    int16_t pmsg = 0, parts = 0;
    ASSERT_EQ(hinb_pn_main(&pmsg, &parts), 0);
    EXPECT_EQ(parts, 1);
}

TEST(HinbCd, AMissingCdGivesFourAndNoLogLine) {
    pxtest::KeyedEnv k;
    TestCatalog van{"6120D1", "TORVAN VAN", "01"};
    van.parts = {TestPart{"16400A", "16400TD20001"}};
    pxtest::write_parts_cd(k, "E1", "E1", "20240115", {van}, {van}, {{"16400A", "RADIATOR ASSY"}});
    k.install("E1", '0', "01");
    k.set_cd_drives({{'E', ""}});
    k.script_box({plat::kIdCancel, plat::kIdCancel});
    hinb_init();
    int16_t count = 1, index = 0, slot = 0, msg = 0, parts = 0;
    ASSERT_EQ(hinb_popup_set_sel(&count, &index, &slot), 0);
    EXPECT_EQ(hinb_pn_main(&msg, &parts), 4);
    EXPECT_TRUE(k.env().log_lines().empty());
    int16_t mode = 1;
    hinb_term(&mode);
}

}  // namespace
