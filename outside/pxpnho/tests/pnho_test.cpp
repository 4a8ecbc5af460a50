// The parts-list engine on a small installed catalogue: the list built from
// the selection, the narrowing to the vehicle and by conditions with marks
// and quantities kept, the print, price, save, feature and export files.
#include <gtest/gtest.h>

#include "pxall/atomic_write.h"

#include <cstring>
#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/localp_layout.h"
#include "pxall/savefile.h"
#include "pxall/selection.h"
#include "pxbuild/bytes.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/demo_localp.h"
#include "pxbuild/keyed_writer.h"
#include "pxbuild/price_writer.h"
#include "pxpnho/pxpnho.h"
#include "pxpnho/pxpnho_layout.h"
#include "support/parts_fixture.h"
#include "support/text_records.h"

namespace {

using namespace pxall;
using namespace pxtest;
namespace lr = pxpnho::list_rec;
namespace pr = pxpnho::print_rec;

// A list line from its nine fields.
std::string line(const std::string& f1, const std::string& f2, const std::string& f3, const std::string& f4,
                 const std::string& f5, const std::string& f6, const std::string& f7, const std::string& f8,
                 const std::string& f9 = " ") {
    return pad(f1, 2) + pad(f2, 6) + pad(f3, 2) + pad(f4, 14) + pad(f5, 2) + pad(f6, 9) + pad(f7, 30) + pad(f8, 30) +
           pad(f9, 1);
}

// A field of the current-vehicle block, NUL-padded to its full width.
void car_field(size_t at, size_t width, const std::string& text) {
    unsigned char* car = get_ccar_addr();
    std::memset(car + at, 0, width);
    std::memcpy(car + at, text.data(), text.size() < width ? text.size() : width);
}

std::string sel_record(const std::string& code, const std::string& qty, int kind) {
    std::string r = pad(code, 12) + qty;
    r.push_back(static_cast<char>(kind));
    r.append(5, '\0');
    return r;
}

class PnhoTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestCatalog cat{"4410A1", "ARVENA SEDAN", "01"};
        TestPart early{"13470A", "13470AA10001", "01", "1801", "2006", "FOR AVS14P1"};
        TestPart late{"13470A", "13470AA10002", "01", "2007", "9999", "FOR AVS14P1"};
        TestPart other{"13470A", "13470AA10003", "01", "1801", "9999", "FOR AVS16P1"};
        TestPart radiator{"16400A", "16400AA10002", "02", "1903", "2312", "EXC. UK"};
        radiator.alts = {"16400AA19101" "01"};
        radiator.more = {"USE KIT"};
        cat.parts = {early, late, other, radiator};
        write_cd(cat, part_names);
        k.install("E1", '1', "01");
        k.set_cd_drives({{'E', ""}});
        car_field(ccar::kCatalog, 6, "4410A1");
        put_i32(get_ccar_addr() + ccar::kSetupIndex, 0);
        car_field(ccar::kFrameModel, 7, "AVS14P1");
        car_field(ccar::kProdDate, 6, "202101");
        car_field(ccar::kCharact2, 5, "1.6P");
        car_field(ccar::kCharact2 + 5, 5, "EUR");
        select({sel_record("13470A", "00", 0), sel_record("16400A", "03", 0), sel_record("99999XX99999", "02", 1)});
    }
    void TearDown() override { pnho_close_main(); }

    // The catalogue CD of the part-number fixtures, with special features.
    void write_cd(const TestCatalog& cat, const TestNames& names) {
        pxbuild::CdWriter cd(k.env().root() + "/cd/E1", "E1", "20240115");
        std::vector<std::string> hinmei;
        for (const auto& [code, name] : names) hinmei.push_back(hinmei_record(code, name));
        cd.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", {shamei_record(cat)}));
        cd.put_keyed("", "FIGIND.DAT", pxbuild::build_keyed("FIGIND.DAT", figind_records(cat)));
        cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", hinmei));
        cd.put("", "IMAGEF.DAT", pxbuild::Bytes(2048, 0));
        cd.put_keyed(cat.code, "HINBAN.DAT", pxbuild::build_keyed("HINBAN.DAT", hinban_records(cat)));
        auto tok = [](int code, const std::string& name) {
            return pxbuild::Record(30).text(0, 6, "4410A1").u16(6, code).text(8, 2, "01").text(10, 20, name).str();
        };
        auto kig = [](int code, const std::string& sym, const std::string& text) {
            return pxbuild::Record(90)
                .text(0, 6, "4410A1")
                .u16(6, code)
                .text(8, 10, sym)
                .text(18, 2, "01")
                .text(20, 70, text)
                .str();
        };
        cd.put_keyed("4410A1", "TOKUME.DAT", pxbuild::build_keyed("TOKUME.DAT", {tok(1, "ENGINE"), tok(4, "DESTINATION")}));
        cd.put_keyed("4410A1", "KIGOUU.DAT",
                     pxbuild::build_keyed("KIGOUU.DAT", {kig(1, "1.4P", "1.4 LITRE PETROL"), kig(1, "1.6P", "1.6 LITRE PETROL"),
                                                         kig(4, "EUR", "EUROPE"), kig(4, "UK", "UNITED KINGDOM")}));
    }
    void select(const std::vector<std::string>& recs) {
        std::string image;
        for (const auto& r : recs) image += r;
        image.resize(kSelectImage, '\0');
        int32_t err = 0;
        ASSERT_EQ(write_select_tmp(reinterpret_cast<const unsigned char*>(image.data()), &err), 0);
    }
    std::vector<std::string> main_list(int16_t* match = nullptr) {
        std::string buf(80, 'x');
        VbString s{buf.data(), 80};
        int16_t m = -1;
        EXPECT_EQ(pnho_exec_main(&s, &m), 0);
        EXPECT_EQ(std::string(buf.c_str()), "C:\\WORK\\PXPNHO1.TMP");
        if (match != nullptr) *match = m;
        return list();
    }
    std::vector<std::string> list() { return records(k.env().read("WORK/PXPNHO1.TMP"), lr::kSize); }
    KeyedEnv k;
    TestNames part_names = {{"13470A", "PULLEY, CRANKSHAFT"}, {"16400A", "RADIATOR ASSY"}};
};

// The pulley's name in double-byte characters (code page 932) whose
// fifteenth would take the list's thirtieth place and one more.
class PnhoJapaneseName : public PnhoTest {
protected:
    static std::string name() {
        std::string n = "A";
        for (int i = 0; i < 15; ++i) n += "\x83\x4A";
        return n;
    }
    PnhoJapaneseName() { part_names[0].second = name(); }
};

// Under the Japanese menu language the name's 30 places in the list end
// before the character that does not fit whole, the place blank; a Latin
// menu cuts the bytes where they fall.
TEST_F(PnhoJapaneseName, ListNameEndsBeforeACharacterThatDoesNotFit) {
    const struct {
        const char* lang;
        std::string shown;
    } cases[] = {{"02", name().substr(0, 29) + " "}, {"01", name().substr(0, 30)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        set_field(get_ctop_addr(), ctop::kMenuLangCode, 3, c.lang);
        auto l = main_list();
        ASSERT_FALSE(l.empty());
        EXPECT_EQ(l[0], line("01", "13470A", "01", "13470-AA100-01", "01", "1801-2006", c.shown, "FOR AVS14P1"));
    }
}

// A name of fifteen double-byte characters fills the list's 30 places; the
// price list's 27 end before the fourteenth character under the Japanese
// menu language, the place blank, and a Latin menu cuts the bytes where
// they fall.
class PnhoJapanesePriceName : public PnhoTest {
protected:
    static std::string name() {
        std::string n;
        for (int i = 0; i < 15; ++i) n += "\x83\x4A";
        return n;
    }
    PnhoJapanesePriceName() { part_names[0].second = name(); }
};

TEST_F(PnhoJapanesePriceName, PriceListNameEndsBeforeACharacterThatDoesNotFit) {
    set_field(get_ctop_addr(), ctop::kPriceDir, ctop::kDirSize, "C:\\PRICE");
    k.env().mkdir("PRICE");
    pxbuild::write_price(k.env().root() + "/PRICE",
                         pxbuild::build_price(pxbuild::PriceKind::kKakaku,
                                              {pxbuild::Record(50).text(0, 12, "13470AA10001").text(12, 8, "   12.00").str()}));
    const struct {
        const char* lang;
        std::string name;
    } cases[] = {{"02", name().substr(0, 26) + " "}, {"01", name().substr(0, 27)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        set_field(get_ctop_addr(), ctop::kMenuLangCode, 3, c.lang);
        auto l = main_list();
        ASSERT_FALSE(l.empty());
        ASSERT_EQ(l[0].substr(lr::kF7, 30), name());
        ASSERT_EQ(pnho_reverse_sel(0), 0);
        std::string buf(80, '\0');
        VbString path{buf.data(), 80};
        ASSERT_EQ(pnho_exec_price(0, &path), 0);
        auto priced = records(k.env().read("WORK/PXPNHO3.TMP"), pxpnho::price_rec::kSize);
        ASSERT_EQ(priced.size(), 1u);
        EXPECT_EQ(priced[0].substr(pxpnho::price_rec::kName, 27), c.name);
        EXPECT_EQ(priced[0].substr(pxpnho::price_rec::kPrice, 10), "     12.00");
        pnho_close_main();
    }
}

TEST_F(PnhoTest, TheSelectionBecomesLinesOfPartsAlternativesRemarksAndUnknownParts) {
    int16_t match = -1;
    auto l = main_list(&match);
    EXPECT_EQ(match, 0);
    std::vector<std::string> want = {
        line("01", "13470A", "01", "13470-AA100-01", "01", "1801-2006", "PULLEY, CRANKSHAFT", "FOR AVS14P1"),
        line("02", "", "01", "13470-AA100-02", "01", "2007-", "PULLEY, CRANKSHAFT", "FOR AVS14P1"),
        line("03", "", "01", "13470-AA100-03", "01", "1801-", "PULLEY, CRANKSHAFT", "FOR AVS16P1"),
        line("04", "16400A", "03", "16400-AA100-02", "02", "1903-2312", "RADIATOR ASSY", "EXC. UK"),
        line("", "(SUBS)", "03", "16400-AA191-01", "01", "", "", "USE KIT"),
        // A part number the catalogue does not hold stays as it was picked.
        line("05", "", "02", "99999-XX999-99", "", "", "", ""),
    };
    ASSERT_EQ(l.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(l[i], want[i]) << i;
    EXPECT_EQ(pnho_check_LclFigFlg(1), 0);
    EXPECT_EQ(pnho_check_retran(), 0);
}

TEST_F(PnhoTest, MarksAndQuantitiesSurviveNarrowingAndConditions) {
    main_list();
    EXPECT_EQ(pnho_check_selcnt(), 0);
    EXPECT_EQ(pnho_reverse_sel(1), 0);  // 13470-AA100-02
    EXPECT_EQ(pnho_reverse_sel(3), 0);  // the radiator
    EXPECT_EQ(pnho_set_qty(3, "07"), 0);
    EXPECT_EQ(pnho_set_qty(1, "00"), 0) << "00 is asked for once";
    EXPECT_EQ(pnho_check_selcnt(), 2);

    // Narrowed: 2021-01 and frame model AVS14P1 keep the later pulley and
    // the radiator (its "EXC. UK" does not name the vehicle).
    int16_t match = -1;
    ASSERT_EQ(pnho_exec_match(&match), 0);
    EXPECT_EQ(match, 1);
    auto l = list();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0], line("01", "13470A", "01", "13470-AA100-02", "01", "2007-", "PULLEY, CRANKSHAFT", "FOR AVS14P1", "S"));
    EXPECT_EQ(l[1], line("02", "16400A", "07", "16400-AA100-02", "02", "1903-2312", "RADIATOR ASSY", "EXC. UK", "S"));
    EXPECT_EQ(l[3].substr(0, 2), "03");
    // Indexes follow the lines shown.
    EXPECT_EQ(pnho_reverse_sel(0), 0);
    EXPECT_EQ(pnho_check_selcnt(), 1);
    EXPECT_EQ(pnho_reverse_sel(0), 0);

    // Conditions: a date before the later pulley leaves the earlier one.
    ASSERT_EQ(pnho_check_jouhou(1, "202005"), 0);
    pnho_set_FrameModel("AVS14P1");
    pnho_set_FrameNo("");
    pnho_set_Ad("202005");
    pnho_set_ColorNo("");
    pnho_set_TrimNo("");
    int32_t zero = 0;
    ASSERT_EQ(pnho_exec_retran(&zero), 0);
    l = list();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].substr(10, 14), "13470-AA100-01");
    EXPECT_EQ(l[0][lr::kF9], ' ');
    EXPECT_EQ(l[1].substr(8, 2), "07");
    EXPECT_EQ(l[1][lr::kF9], 'S');

    // Back to the whole list: the first mark is still there.
    ASSERT_EQ(pnho_exec_match(&match), 0);
    ASSERT_EQ(pnho_exec_match(&match), 0);
    EXPECT_EQ(match, 0);
    EXPECT_EQ(pnho_check_selcnt(), 1);
}

TEST_F(PnhoTest, OnlyLinesWithAPartNumberTakeMarksAndQuantities) {
    select({sel_record("16400A", "01", 0), sel_record("77777A", "01", 0)});
    auto l = main_list();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[2], line("02", "77777A", "", "", "", "", "", ""));
    EXPECT_EQ(pnho_reverse_sel(1), 0) << "an alternative is a part number";
    EXPECT_EQ(pnho_reverse_sel(2), 1) << "a code the catalogue lacks";
    EXPECT_EQ(pnho_reverse_sel(3), 1) << "past the end";
    EXPECT_EQ(pnho_reverse_sel(-1), 1);
    EXPECT_EQ(pnho_input_qty(0), 0);
    EXPECT_EQ(pnho_input_qty(2), 1);
    EXPECT_NE(pnho_set_qty(0, "7"), 0) << "two digits or nothing";
}

TEST_F(PnhoTest, ProductionDatesAreCheckedAsYearAndMonth) {
    struct Case {
        const char* text;
        int16_t want;
    } cases[] = {{"", 0}, {"      ", 0}, {"202112", 0}, {"190001", 0}, {"202113", 860}, {"202100", 860},
                 {"2021", 860}, {"20211", 860}, {"18991 ", 860}, {"2021A1", 860}, {"250012", 0}, {"250101", 860}};
    for (const Case& c : cases) EXPECT_EQ(pnho_check_jouhou(1, c.text), c.want) << c.text;
}

TEST_F(PnhoTest, LocalPartsKeepTheirNumberAndNameAndRefuseConditions) {
    // The local parts of the vehicle's catalogue: a number of the dealer's
    // own form, one that reads like a catalogue number, and one the files lack.
    namespace s3 = localp::set3;
    auto local = [](const std::string& part, const std::string& text) {
        return pxbuild::Record(132)
            .text(s3::kCatalog, 6, "4410A1")
            .text(s3::kFigure, 4, "9101")
            .text(s3::kTitle, 30, "ROOF RACK & CARRIERS")
            .text(s3::kPart, 12, part)
            .text(s3::kText, 30, text)
            .str();
    };
    set_field(get_ctop_addr(), ctop::kLocalPriceDir, ctop::kDirSize, "C:\\LCP");
    k.env().mkdir("LCP");
    pxbuild::write_local_price(k.env().root() + "/LCP",
                               pxbuild::build_local_price(3, {local("LA19101-01", "ROOF BARS, ALUMINIUM, PAIR"),
                                                              local("16400AA10002", "RADIATOR, LOCAL")}));
    std::string image;
    for (const char* part : {"LA19101-01", "16400AA10002", "LA19101-99"})
        image += std::string("9101") + pad(part, 12) + "02" + std::string(1, '\1') + std::string(1, '\0');
    image.resize(kSelectImage, '\0');
    int32_t err = 0;
    ASSERT_EQ(write_lcpsel_tmp(reinterpret_cast<const unsigned char*>(image.data()), &err), 0);
    get_cnexta_addr()[cnexta::kLocalFlag] = 1;
    EXPECT_EQ(main_list(),
              (std::vector<std::string>{line("01", "", "02", "LA19101-01", "", "", "ROOF BARS, ALUMINIUM, PAIR", ""),
                                        line("02", "", "02", "16400AA10002", "", "", "RADIATOR, LOCAL", ""),
                                        line("03", "", "02", "LA19101-99", "", "", "", "")}));
    EXPECT_EQ(pnho_check_LclFigFlg(1), 1);
    EXPECT_EQ(pnho_check_retran(), 840);

    // Every output takes the number and name as they stand.
    for (int16_t i : {0, 1}) ASSERT_EQ(pnho_reverse_sel(i), 0);
    std::string buf(80, '\0');
    VbString path{buf.data(), 80};
    ASSERT_EQ(pnho_exec_print(&path), 0);
    auto printed = records(k.env().read("WORK/PXPNHO2.TMP"), pr::kSize);
    ASSERT_GE(printed.size(), 2u);
    EXPECT_EQ(printed[0].substr(pr::kColumn1, 33), "01 " + pad("ROOF BARS, ALUMINIUM, PAIR", 30));
    EXPECT_EQ(printed[0].substr(pr::kColumn4, 14), "LA19101-01    ");
    for (int16_t kind : {0, 1}) EXPECT_EQ(pnho_exec_price(kind, &path), pxpnho::kMsgNoPrice) << "no price file";
    k.env().mkdir("PRICE");
    set_field(get_ctop_addr(), ctop::kPriceDir, ctop::kDirSize, "C:\\PRICE");
    pxbuild::write_price(k.env().root() + "/PRICE",
                         pxbuild::build_price(pxbuild::PriceKind::kKakaku,
                                              {pxbuild::Record(50).text(0, 12, "LA19101-01").text(12, 8, "   45.00").str()}));
    VbString price_path{buf.data(), 80};
    ASSERT_EQ(pnho_exec_price(0, &price_path), 0);
    auto priced = records(k.env().read("WORK/PXPNHO3.TMP"), pxpnho::price_rec::kSize);
    ASSERT_EQ(priced.size(), 2u);
    EXPECT_EQ(priced[0].substr(0, 61), "01      02LA19101-01    " + pad("ROOF BARS, ALUMINIUM, PAIR", 27) + "     45.00");
    ASSERT_EQ(pnho_exec_intf(0, "C:\\LOCAL.CSV"), 0);
    const std::string csv = k.env().read("LOCAL.CSV");
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "\"LA19101-01    \",\"02\",\"      \",\"" + pad("ROOF BARS, ALUMINIUM, PAIR", 30) + "\"");
    ASSERT_EQ(pnho_exec_save(), 0);
    EXPECT_EQ(k.env().read("MST/PXIF0001.SAV").substr(99), "LA19101-01  0216400AA1000202");

    // Cleared as the list closes, in the next-screen block too: the next
    // parts list takes its own selection again.
    EXPECT_EQ(pnho_check_LclFigFlg(0), 0);
    EXPECT_EQ(pnho_check_LclFigFlg(1), 0);
    EXPECT_EQ(get_cnexta_addr()[cnexta::kLocalFlag], 0);
}

TEST(PnhoCdTest, TheCatalogueCdMissingIsAQuietEnd) {
    // Installed as masters only, the catalogue is read from its CD, and no
    // drive holds it: the CD request is cancelled.
    KeyedEnv other;
    TestCatalog cat{"4410A1", "ARVENA SEDAN", "01"};
    cat.parts = {TestPart{"13470A", "13470AA10001"}};
    write_parts_cd(other, "E1", "E1", "20240115", {cat}, {cat}, {});
    other.install("E1", '0', "01");
    other.set_cd_drives({{'E', ""}});
    other.script_box({});
    car_field(ccar::kCatalog, 6, "4410A1");
    put_i32(get_ccar_addr() + ccar::kSetupIndex, 0);
    std::string image = sel_record("13470A", "01", 0);
    image.resize(kSelectImage, '\0');
    int32_t err = 0;
    ASSERT_EQ(write_select_tmp(reinterpret_cast<const unsigned char*>(image.data()), &err), 0);
    std::string buf(80, '\0');
    VbString s{buf.data(), 80};
    int16_t m = 0;
    EXPECT_EQ(pnho_exec_main(&s, &m), pxpnho::kQuiet);
    EXPECT_GE(other.boxes_shown(), 1);
    pnho_close_main();
}

TEST_F(PnhoTest, PrintFileHoldsTheMarkedLinesPricedAndATotal) {
    main_list();
    std::string buf(80, '\0');
    VbString s{buf.data(), 80};
    // Nothing marked: every line, unpriced, and a total line.
    ASSERT_EQ(pnho_exec_print(&s), 0);
    EXPECT_EQ(std::string(buf.c_str()), "C:\\WORK\\PXPNHO2.TMP");
    auto p = records(k.env().read("WORK/PXPNHO2.TMP"), pr::kSize);
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(p[0].substr(0, 49), pad("01 PULLEY, CRANKSHAFT", 49));
    EXPECT_EQ(p[0].substr(49, 6), "13470A");
    EXPECT_EQ(p[0].substr(55, 1 + 14 + 2 + 2 + 9), " 13470-AA100-0101011801-2006");
    EXPECT_EQ(p[6][pr::kLineKind], '2');
    EXPECT_EQ(p[6].substr(0, 49), std::string(49, ' '));

    // Priced by kind 0 from the price file; only marked lines.
    namespace fs = std::filesystem;
    k.env().mkdir("PRICE");
    pxtest::set_field(get_ctop_addr(), ctop::kPriceDir, ctop::kDirSize, "C:\\PRICE");
    pxbuild::write_price(k.env().root() + "/PRICE",
                         pxbuild::build_price(pxbuild::PriceKind::kKakaku,
                                              {pxbuild::Record(50).text(0, 12, "13470AA10002").text(12, 8, "   12.50").text(20, 10, "DG03").text(30, 20, "PULLEY").str(),
                                               pxbuild::Record(50).text(0, 12, "16400AA10002").text(12, 8, "  310.00").text(20, 10, "DG05").text(30, 20, "RADIATOR").str()}));
    std::string pbuf(80, '\0');
    VbString ps{pbuf.data(), 80};
    EXPECT_EQ(pnho_exec_price(0, &ps), 836) << "nothing marked";
    pnho_reverse_sel(1);
    pnho_reverse_sel(3);
    pnho_reverse_sel(5);  // 99999-XX999-99, not in the price file
    pnho_set_qty(1, "04");
    // Only the retail price file: the dealer and third prices are not set
    // up, which is not the same as no price file.
    for (int16_t kind : {1, 2}) EXPECT_EQ(pnho_exec_price(kind, &ps), pxpnho::kMsgPriceNotSetUp) << kind;
    ASSERT_EQ(pnho_exec_price(0, &ps), 0);
    auto price = records(k.env().read("WORK/PXPNHO3.TMP"), pxpnho::price_rec::kSize);
    ASSERT_EQ(price.size(), 3u);
    EXPECT_EQ(price[0], "0113470A0413470-AA100-02" + pad("PULLEY, CRANKSHAFT", 27) + "     12.50" + pad("DG03", 10) + "S");
    EXPECT_EQ(price[2].substr(51, 10), std::string(10, '*'));

    ASSERT_EQ(pnho_exec_print(&s), 0);
    p = records(k.env().read("WORK/PXPNHO2.TMP"), pr::kSize);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0][pr::kLineKind], '*');
    EXPECT_EQ(p[0].substr(pr::kColumn8, 8), "   12.50");
    EXPECT_EQ(p[0].substr(pr::kColumn9, 13), "        50.00");
    EXPECT_EQ(p[1].substr(pr::kColumn9, 13), "       930.00");
    EXPECT_EQ(p[2].substr(pr::kColumn8, 21), std::string(21, ' '));
    EXPECT_EQ(p[3][pr::kLineKind], '2');
    EXPECT_EQ(p[3].substr(0, 16), "          980.00");
}

TEST_F(PnhoTest, AnEmptyListIsNotPrinted) {
    select({});
    auto l = main_list();
    EXPECT_TRUE(l.empty());
    std::string buf(80, '\0');
    VbString s{buf.data(), 80};
    EXPECT_EQ(pnho_exec_print(&s), 853);
    EXPECT_EQ(pnho_check_selcnt(), 0);
}

TEST_F(PnhoTest, MarkedPartsAreSavedAsTheNextNumberedList) {
    main_list();
    EXPECT_EQ(pnho_exec_save(), 836);
    pnho_reverse_sel(0);
    pnho_reverse_sel(4);
    pnho_set_qty(4, "12");
    ASSERT_EQ(pnho_exec_save(), 0);
    ASSERT_EQ(pnho_exec_save(), 0);
    std::string first = k.env().read("MST/PXIF0001.SAV");
    ASSERT_EQ(first.size(), 99u + 2 * 14);
    EXPECT_EQ(first.substr(32, 6), "4410A1");
    EXPECT_EQ(first.substr(99), "13470AA1000101" "16400AA1910112");
    EXPECT_TRUE(k.env().exists("MST/PXIF0002.SAV"));
    int32_t count = 0, err = 0;
    ASSERT_EQ(check_save_mst_file_exist(&count, &err), 0);
    EXPECT_EQ(count, 2);
}

// A save that fails on the way (a full disk) marks no entry and leaves no file.
TEST_F(PnhoTest, ASaveThatCannotBeWrittenLeavesNoListBehind) {
    main_list();
    pnho_reverse_sel(0);
    int32_t count = -1, err = 0;
    ASSERT_EQ(make_save_mst(&err), 0);
    atomic_fail_next_commits(1, 28);
    EXPECT_EQ(pnho_exec_save(), 900);
    atomic_fail_next_commits(0, 0);
    EXPECT_FALSE(k.env().exists("MST/PXIF0001.SAV"));
    ASSERT_EQ(check_save_mst_file_exist(&count, &err), 0);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(pnho_exec_save(), 0);
    EXPECT_TRUE(k.env().exists("MST/PXIF0001.SAV"));
}

TEST_F(PnhoTest, FeatureFilesMarkTheVehiclesCodesAndChoicesBecomeItsCharacteristics) {
    main_list();
    std::string kb(80, '\0'), cb(80, '\0');
    VbString ks{kb.data(), 80}, cs{cb.data(), 80};
    ASSERT_EQ(pnho_exec_pop(&ks, &cs), 0);
    EXPECT_EQ(std::string(kb.c_str()), "C:\\WORK\\PXPNHO4.TMP");
    auto kinds = records(k.env().read("WORK/PXPNHO4.TMP"), pxpnho::kind_rec::kSize);
    ASSERT_EQ(kinds.size(), 2u);
    EXPECT_EQ(kinds[1], "04" + pad("DESTINATION", 20));
    auto codes = records(k.env().read("WORK/PXPNHO5.TMP"), pxpnho::code_rec::kSize);
    ASSERT_EQ(codes.size(), 4u);
    EXPECT_EQ(codes[0], "0101" + pad("1.4P", 10) + pad("1.4 LITRE PETROL", 70) + " ");
    EXPECT_EQ(codes[1].back(), 'S');
    EXPECT_EQ(codes[2].back(), 'S');
    EXPECT_EQ(codes[3], "0404" + pad("UK", 10) + pad("UNITED KINGDOM", 70) + " ");

    // Two codes of one kind are refused; one a kind replaces the vehicle's.
    auto set = [](int kind, const char* code) {
        std::string c = pad(code, 10);
        VbString v{c.data(), 10};
        pnho_set_tokucyo(static_cast<int16_t>(kind), &v);
    };
    pnho_clr_tokucyo();
    set(1, "1.4P");
    set(1, "1.6P");
    EXPECT_EQ(pnho_check_tokucyo(), 860);
    pnho_clr_tokucyo();
    set(1, "1.4P");
    set(4, "UK");
    ASSERT_EQ(pnho_check_tokucyo(), 0);
    const unsigned char* car = get_ccar_addr();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(car + ccar::kCharact2), 10), std::string("1.4P\0UK\0\0\0", 10));
    // The next pop-up shows the choice.
    ASSERT_EQ(pnho_exec_pop(&ks, &cs), 0);
    codes = records(k.env().read("WORK/PXPNHO5.TMP"), pxpnho::code_rec::kSize);
    EXPECT_EQ(codes[0].back(), 'S');
    EXPECT_EQ(codes[1].back(), ' ');
    EXPECT_EQ(codes[3].back(), 'S');
}

TEST_F(PnhoTest, MarkedLinesAreExportedAsCsvOrText) {
    main_list();
    std::string path = "C:\\WORK\\OUT.CSV";
    EXPECT_EQ(pnho_exec_intf(0, path.c_str()), 836);
    pnho_reverse_sel(3);
    ASSERT_EQ(pnho_exec_intf(0, path.c_str()), 0);
    EXPECT_EQ(k.env().read("WORK/OUT.CSV"),
              "\"16400-AA100-02\",\"03\",\"16400A\",\"" + pad("RADIATOR ASSY", 30) + "\"\r\n");
    ASSERT_EQ(pnho_exec_intf(1, "C:\\WORK\\OUT.TXT"), 0);
    EXPECT_EQ(k.env().read("WORK/OUT.TXT"), "16400-AA100-02 03 16400A " + pad("RADIATOR ASSY", 30) + "\r\n");

    pxtest::set_field(get_ctop_addr(), ctop::kExportPrograms + 256, 256, "C:\\EXP\\TWO.EXE");
    std::string b(256, 'x');
    VbString v{b.data(), 256};
    pnho_get_expppnho(1, &v);
    EXPECT_EQ(std::string(b.c_str()), "C:\\EXP\\TWO.EXE");
    pnho_get_expppnho(0, &v);
    EXPECT_EQ(b[0], '\0');
    pnho_get_expppnho(9, &v);
    EXPECT_EQ(b[0], '\0');
}

TEST_F(PnhoTest, FailuresAreLoggedBeforeTheyAreReturned) {
    // No list: the rewrites fail with a log line.
    int16_t m = 0;
    EXPECT_EQ(pnho_exec_match(&m), pxpnho::kFailure);
    auto log = k.env().log_lines();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("PXPNHO01"), std::string::npos);
    // The work directory gone: the list file cannot be written.
    pxtest::set_field(get_ctop_addr(), ctop::kWorkDir, ctop::kDirSize, "C:\\NOWHERE");
    std::string buf(80, '\0');
    VbString s{buf.data(), 80};
    EXPECT_EQ(pnho_exec_main(&s, &m), pxpnho::kFailure);
    EXPECT_GT(k.env().log_lines().size(), log.size());
}

}  // namespace
