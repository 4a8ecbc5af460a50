// The catalogue list on catalogue CDs and JOUHOU.TMP files made by the
// data-set builder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/env.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_install.h"
#include "pxbuild/demo_vcat.h"
#include "pxbuild/demo_vehicle_info.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"
#include "vcat/catalog_list_layout.h"
#include "vcat/vcat.h"

namespace {

using namespace pxall;
namespace row = pxvcat::row;

std::vector<pxbuild::CarName> area_car_names() {
    return {
        {"4410A1", "ARVENA SEDAN", "4-DOOR SEDAN;1.4/1.6 PETROL;1.9 DIESEL", "1803", "2312", "01"},
        {"4420B1", "ARVENA ESTATE", "5-DOOR ESTATE", "1806", "2312", "01"},
        {"5130C2", "BRISCA HATCH", "", "2001", "2409", "01"},
        {"6120D1", "TORVAN VAN", "PANEL VAN", "1902", "2405", "02"},
        {"6230E1", "MAROVA 4X4", "5-DOOR OFF-ROAD", "2103", "2412", "02"},
        // A catalogue of a CD that no set-up entry knows.
        {"7710F1", "ARVENA COUPE", "2-DOOR", "2201", "2412", "09"},
    };
}

std::string le32(int32_t v) {
    std::string s(4, '\0');
    put_i32(reinterpret_cast<unsigned char*>(s.data()), v);
    return s;
}

std::string text(const std::string& s, size_t w) { return (s + std::string(w, ' ')).substr(0, w); }

class VcatTest : public ::testing::Test {
protected:
    // Two CDs of area E, both carrying the car names of the whole area; the
    // second is installed sharing the first one's files unless full_copies.
    void install(bool full_copies = false, std::vector<pxbuild::CarName> names = area_car_names()) {
        std::vector<std::string> recs;
        for (const auto& n : names) recs.push_back(pxbuild::car_name_record(n));
        for (const char* id : {"E1", "E2"}) {
            auto cd = k.make_cd(id, id == std::string("E1") ? "20240115" : "20240601");
            cd.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", recs));
        }
        k.install("E1", '1', "01");
        k.install("E2", full_copies ? '1' : '0', "02");
        k.set_cd_drives({{'E', "cd/E2"}});
        set_cds({0, 1});
    }
    void set_cds(const std::vector<int32_t>& list) {
        unsigned char* cc = get_ccar_addr();
        for (size_t i = 0; i < list.size(); ++i) put_i32(cc + ccar::kSearchCds + 4 * i, list[i]);
        put_i32(cc + ccar::kSearchCdCount, static_cast<int32_t>(list.size()));
    }
    void set_key(const std::string& key) {
        std::memcpy(get_cnexta_addr() + cnexta::kSearchKey, text(key, 15).data(), 15);
    }
    void write_jouhou(const std::vector<std::tuple<std::string, int32_t, char>>& vehicles) {
        std::vector<std::string> recs;
        for (const auto& [code, setup, mark] : vehicles)
            recs.push_back(
                pxbuild::Record(191).text(0, 6, code).text(6, 9, "XPA16P001").u32(181, setup).fill(190, 1, mark));
        pxbuild::write_jouhou_tmp(env().root() + "/WORK/JOUHOU.TMP", recs);
    }
    std::vector<std::string> rows() { return split(env().read("WORK/PXVCAT.TMP"), row::kSize); }
    std::vector<std::string> display() { return split(env().read("WORK/DSPCAT.TMP"), pxvcat::dsp::kSize); }
    static std::vector<std::string> split(const std::string& all, size_t n) {
        std::vector<std::string> out;
        for (size_t at = 0; at + n <= all.size(); at += n) out.push_back(all.substr(at, n));
        EXPECT_EQ(all.size() % n, 0u);
        return out;
    }
    // Catalogue code and the two set-up indexes of each row.
    std::vector<std::string> summary() {
        std::vector<std::string> out;
        for (const auto& r : rows())
            out.push_back(r.substr(0, 6) + "/" +
                          std::to_string(get_i32(reinterpret_cast<const unsigned char*>(r.data()) + 6)) + "/" +
                          std::to_string(get_i32(reinterpret_cast<const unsigned char*>(r.data()) + 10)));
        return out;
    }
    bool work_files_gone() { return !env().exists("WORK/PXVCAT.TMP") && !env().exists("WORK/DSPCAT.TMP"); }
    int32_t end_mode() { return get_i32(get_ccar_addr() + ccar::kListEndMode); }
    pxtest::TempEnv& env() { return k.env(); }
    pxtest::KeyedEnv k;
};

TEST_F(VcatTest, AllListsEveryCarNameOfTheCdsWithItsOwnCd) {
    install();
    set_key("ALL");
    ASSERT_EQ(vcat_init(), 0);
    EXPECT_EQ(vcat_check_mode(), 0);
    // E2 reads the car names of E1's data set, so they are listed once; the
    // catalogue on CD 09 has no set-up entry and is left out.
    EXPECT_EQ(summary(),
              (std::vector<std::string>{"4410A1/0/0", "4420B1/0/0", "5130C2/0/0", "6120D1/0/1", "6230E1/0/1"}));

    auto r = rows();
    EXPECT_EQ(r[0], "4410A1" + le32(0) + le32(0) + le32(0) + le32(1) + text("ARVENA SEDAN", 20) +
                        text("4-DOOR SEDAN;1.4/1.6 PETROL;1.9 DIESEL", 50) + "18032312LHD 011");
    EXPECT_EQ(r[2].substr(row::kItem, row::kItemSize), std::string(50, ' ')) << "a blank description is one row";
    auto d = display();
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(d[3], text("TORVAN VAN", 20) + "6120D11902-2405" + text("PANEL VAN", 50) + "LHD 02");

    char buf[40];
    std::memset(buf, 'x', sizeof buf);
    VbString s{buf, 30};
    vcat_main(&s);
    EXPECT_EQ(std::string(buf), "C:\\WORK\\DSPCAT.TMP");
    EXPECT_EQ(buf[29], '\0');
    EXPECT_EQ(buf[30], 'x');
    EXPECT_TRUE(env().log_lines().empty());
}

TEST_F(VcatTest, KeysChooseTheirMode) {
    install();
    struct Case {
        const char* key;
        int result;
        std::vector<std::string> codes;
    } cases[] = {
        {"ARVENA", 0, {"4410A1", "4420B1"}},  // name part; the coupe has no set-up entry
        {"VAN", 0, {"6120D1"}},               // three characters other than ALL
        {"all", 1, {}},                       // case counts
        {"5130C2", 0, {"5130C2"}},            // a catalogue code
        {"ABCDEF", 1, {}},                    // six letters are a name part
        {"613", 1, {}},
    };
    for (const auto& c : cases) {
        set_key(c.key);
        EXPECT_EQ(vcat_init(), c.result) << c.key;
        std::vector<std::string> codes;
        for (const auto& r : rows()) codes.push_back(r.substr(0, 6));
        EXPECT_EQ(codes, c.codes) << c.key;
        if (c.result == 1) {
            EXPECT_TRUE(work_files_gone()) << c.key;
        }
    }
    EXPECT_TRUE(env().log_lines().empty());
}

// Two CDs that each hold their own car-name file list a catalogue once per
// CD, each row naming the CD it was read on.
TEST_F(VcatTest, EachCdReadGivesItsOwnRows) {
    install(true);
    set_key("4410A1");
    ASSERT_EQ(vcat_init(), 0);
    EXPECT_EQ(summary(), (std::vector<std::string>{"4410A1/0/0", "4410A1/1/0"}));
    set_cds({1});
    set_key("MAROVA");
    ASSERT_EQ(vcat_init(), 0);
    EXPECT_EQ(summary(), (std::vector<std::string>{"6230E1/1/1"}));
}

TEST_F(VcatTest, BlankKeyListsTheVehiclesOfJouhouTmp) {
    install();
    set_key("");
    write_jouhou({{"4410A1", 0, ' '},
                  {"4410A1", 0, '\0'},  // the same catalogue on the same CD
                  {"5130C2", 0, 'v'},   // narrowed away
                  {"4410A1", 1, ' '},   // the same catalogue read on the other CD
                  {"6120D1", 0, ' '}});
    ASSERT_EQ(vcat_init(), 0);
    EXPECT_EQ(vcat_check_mode(), 1);
    EXPECT_EQ(summary(), (std::vector<std::string>{"4410A1/0/0", "4410A1/1/0", "6120D1/0/1"}));
    EXPECT_TRUE(env().exists("WORK/JOUHOU.TMP"));

    // A vehicle whose catalogue has no car name fails the whole list.
    write_jouhou({{"4410A1", 0, ' '}, {"9999Z9", 0, ' '}});
    EXPECT_EQ(vcat_init(), -1);
    EXPECT_TRUE(work_files_gone());
    EXPECT_TRUE(env().exists("WORK/JOUHOU.TMP")) << "JOUHOU.TMP is the vehicle search's";

    std::filesystem::remove(env().root() + "/WORK/JOUHOU.TMP");
    EXPECT_EQ(vcat_init(), -1);
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "PXVCAT01,vcat_syamei_kensaku,cdget_some_cd_data,(-1)(0)(2)");
    EXPECT_EQ(log[1], "PXVCAT01,vcat_load2,fopen JOUHOU.TMP,(11)(2)(5)");
}

TEST_F(VcatTest, ACdListWithoutEntriesFailsTheSearch) {
    install();
    set_key("ALL");
    set_cds({});
    EXPECT_EQ(vcat_init(), -1);
    EXPECT_TRUE(work_files_gone());
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "PXVCAT01,vcat_load1,cdget_some_cd_data,(128)(3101)(4)");
}

TEST_F(VcatTest, TheChosenRowBecomesTheCurrentVehicle) {
    install();
    set_key("ALL");
    ASSERT_EQ(vcat_init(), 0);
    unsigned char* cc = get_ccar_addr();
    put_i32(cc + ccar::kListEndMode, 9);
    // Row 3 through the low 16 bits of the argument.
    ASSERT_EQ(vcat_ret(0x50003), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cc + ccar::kCatalog), 6), "6120D1");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cc + ccar::kVehicleName), 20), text("TORVAN VAN", 20));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cc + ccar::kCarNameBytes), 12), "LHD 19022405");
    EXPECT_EQ(get_i32(cc + ccar::kNameSetupIndex), 0);
    EXPECT_EQ(get_i32(cc + ccar::kSetupIndex), 1);
    EXPECT_EQ(end_mode(), pxvcat::kEndChosen);
    EXPECT_TRUE(work_files_gone());
    EXPECT_TRUE(env().log_lines().empty());
}

TEST_F(VcatTest, OnlyARowOfTheListCanBeChosen) {
    install();
    set_key("ALL");
    unsigned char* cc = get_ccar_addr();
    for (int32_t chosen : {5, -1, 0xffff, 0x8000}) {
        ASSERT_EQ(vcat_init(), 0);
        std::memset(cc, 0, 40);
        EXPECT_EQ(vcat_ret(chosen), -1) << chosen;
        EXPECT_TRUE(work_files_gone());
        EXPECT_EQ(cc[0], 0) << "the current vehicle stays";
    }
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], "PXVCAT01,vcat_ret,row,(5)(5)(30)");
    EXPECT_EQ(log[3], "PXVCAT01,vcat_ret,row,(-32768)(5)(30)");
    EXPECT_EQ(vcat_ret(0), -1) << "the list has ended";
}

TEST_F(VcatTest, EndingTheListSetsTheEndMode) {
    install();
    set_key("ALL");
    for (auto [how, mode] : std::vector<std::pair<int32_t, int32_t>>{{3, 3}, {0x10003, 3}, {4, 4}, {0, 4}, {-3, 4}}) {
        ASSERT_EQ(vcat_init(), 0);
        EXPECT_EQ(vcat_end_proc(how), 0);
        EXPECT_EQ(end_mode(), mode) << how;
        EXPECT_TRUE(work_files_gone());
    }
}

// 999 rows fit the table; the search then goes on with them.
TEST_F(VcatTest, AreaOverKeepsTheRowsHeld) {
    std::vector<pxbuild::CarName> names;
    for (int i = 0; i < 1001; ++i)
        names.push_back({std::to_string(100000 + i), "CAR " + std::to_string(i), "", "2001", "2412", "01"});
    install(false, names);
    set_key("ALL");
    ASSERT_EQ(vcat_init(), 0);
    auto r = rows();
    ASSERT_EQ(r.size(), 999u);
    EXPECT_EQ(r.back().substr(0, 6), "100998");
    EXPECT_EQ(display().size(), 999u);
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "PXVCAT01,tblset,Area over,(999)(1)(1)");
    ASSERT_EQ(vcat_ret(998), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(get_ccar_addr()), 6), "100998");
}

}  // namespace

namespace {

// The demo installation: its two CDs carry enough catalogues for each kind
// of key.
TEST(VcatDemoTest, TheDemoCataloguesAnswerEveryKindOfKey) {
    pxtest::KeyedEnv k;
    std::string folder = k.env().root() + "/demo";
    pxbuild::write_demo(folder);
    std::string error;
    ASSERT_TRUE(plat::load_drive_table(folder + "/c/PXDROM/PXDRIVES.SYS", &error)) << error;
    std::filesystem::current_path(folder + "/c/PXDROM");
    ASSERT_EQ(kankyo_set(), 0);
    unsigned char* cc = get_ccar_addr();
    put_i32(cc + ccar::kSearchCds, 0);
    put_i32(cc + ccar::kSearchCds + 4, 1);
    put_i32(cc + ccar::kSearchCdCount, 2);

    struct Case {
        const char* key;
        size_t rows;
    } cases[] = {{"ALL", 5}, {"ARVENA", 2}, {"4410A1", 1}, {"VAN", 1}};
    for (const auto& c : cases) {
        std::memcpy(get_cnexta_addr() + cnexta::kSearchKey, text(c.key, 15).data(), 15);
        ASSERT_EQ(vcat_init(), 0) << c.key;
        std::string rows = k.env().read("demo/c/PXDROM/WORK/DSPCAT.TMP");
        EXPECT_EQ(rows.size(), c.rows * pxvcat::dsp::kSize) << c.key;
        EXPECT_EQ(vcat_end_proc(4), 0);
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

}  // namespace
