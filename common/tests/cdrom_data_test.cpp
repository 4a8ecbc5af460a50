// Reading through the CD layer: names from the language files, one file
// across data sets, the CD-number table and the frame-number files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;
using pxtest::rec;

std::string figm(const std::string& cat, char range, const std::string& fig, const std::string& name) {
    std::string r(71, ' ');
    r.replace(0, 6, cat);
    r[6] = range;
    r.replace(7, 4, fig);
    r.replace(11, name.size(), name);
    return r;
}

class NamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto cd = k.make_cd("E1", "20240115");
        std::vector<std::string> f = {figm("4410A1", '1', "1101", "ENGINE ASSEMBLY"),
                                      figm("4410A1", '1', "1501", "OIL PUMP"),
                                      figm("4410A1", '2', "2301", "FUEL INJECTION"),
                                      figm("4410A1", '4', "4301", "FRONT BRAKE"),
                                      figm("4410A1", '6', "8101", "HEADLAMP"),
                                      figm("4420B1", '1', "1101", "OTHER CATALOGUE")};
        cd.put_keyed("", "FIGM01.DAT", pxbuild::build_keyed("FIGM01.DAT", f));
        std::vector<std::string> h = {rec("HINM01.DAT", "15601A", "ELEMENT, OIL FILTER"),
                                      rec("HINM01.DAT", "16400A", "RADIATOR ASSY")};
        cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", h));
        cd.put_keyed("", "HINM02.DAT", pxbuild::build_keyed("HINM02.DAT", {rec("HINM02.DAT", "16400A", "RADIATEUR")}));
        k.install("E1", '0');
        unsigned char* car = get_ccar_addr();
        std::memcpy(car + ccar::kCatalog, "4410A1", 6);
        put_i32(car + ccar::kSetupIndex, 0);
        k.set_cd_drives({{'E', "cd/E1"}});
    }
    pxtest::KeyedEnv k;
};

TEST_F(NamesTest, FigureNameIsFoundInItsRange) {
    struct Case {
        const char* fig;
        int code;
        const char* name;
    } cases[] = {{"1501", 0, "OIL PUMP"}, {"2301", 0, "FUEL INJECTION"}, {"4301", 0, "FRONT BRAKE"},
                 {"8101", 0, "HEADLAMP"}, {"1301", -1, ""}, {"5101", -1, ""}};
    for (const auto& c : cases) {
        char name[60];
        int detail = 0;
        EXPECT_EQ(get_figmei(c.fig, name, &detail), c.code) << c.fig;
        if (c.code == 0) {
            EXPECT_EQ(std::string(name, std::strlen(c.name)), c.name);
        }
    }
    EXPECT_TRUE(k.env().log_lines().empty());
}

TEST_F(NamesTest, PartNameFlagsSayFoundNotFoundOrNoCd) {
    char name[60];
    int16_t flag = 0;
    ASSERT_EQ(get_hinmei("16400A", name, &flag), 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(std::string(name, 13), "RADIATOR ASSY");
    flag = 1;  // the area's first data set
    ASSERT_EQ(get_hinmei("99999A", name, &flag), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(std::string(name, 60), std::string(60, ' '));
    // Another data language: its file stays on the CD, which is not here.
    pxtest::set_field(get_ctop_addr(), ctop::kDataLangCode, 3, "02");
    k.set_cd_drives({{'E', ""}});
    flag = 0;
    ASSERT_EQ(get_hinmei("16400A", name, &flag), 0);
    EXPECT_EQ(flag, 4);
    k.set_cd_drives({{'E', "cd/E1"}});
    flag = 0;
    ASSERT_EQ(get_hinmei("16400A", name, &flag), 0);
    EXPECT_EQ(std::string(name, 9), "RADIATEUR");
}

TEST(CdNoTable, DistinctCdNumbersOfTheCarNamesInOrder) {
    pxtest::KeyedEnv k;
    auto cd = k.make_cd("E1", "20240115");
    std::vector<std::string> names;
    const char* numbers[] = {"02", "01", "  ", "03", "01"};
    for (int i = 0; i < 5; ++i) {
        std::string r = rec("SHAMEI.DAT", "44" + std::to_string(10 + i) + "A1");
        r.replace(0, 3, "001");
        r.replace(87, 2, numbers[i]);
        names.push_back(r);
    }
    cd.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", names));
    k.set_cd_drives({{'E', "cd/E1"}});
    uint8_t* table = nullptr;
    int32_t count = 0;
    int detail = 0;
    ASSERT_EQ(cdmake_cdno_table(0, "E1", nullptr, nullptr, &table, &count, 0, &detail), 0) << detail;
    ASSERT_EQ(count, 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(table), 12), "E101E202E303");
    std::free(table);

    names.clear();
    for (int i = 0; i < 11; ++i) {
        std::string r = rec("SHAMEI.DAT", "44" + std::to_string(10 + i) + "A1");
        r.replace(0, 3, "001");
        r.replace(87, 2, std::to_string(10 + i));
        names.push_back(r);
    }
    auto cd2 = k.make_cd("E2", "20240601");
    cd2.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", names));
    k.set_cd_drives({{'E', "cd/E2"}});
    EXPECT_EQ(cdmake_cdno_table(0, "E2", nullptr, nullptr, &table, &count, 0, &detail), 128);
    EXPECT_EQ(detail, cdd::kCdNoTooMany);
    EXPECT_EQ(table, nullptr);
}

class AcrossTest : public ::testing::Test {
protected:
    void SetUp() override {
        // E1 and E3 copied whole, E2 sharing E1's files, E4 a later copy of
        // E3's issue.
        struct Def {
            const char* id;
            const char* date;
            char kind;
        } defs[] = {{"E1", "20240115", '1'}, {"E2", "20240601", '0'}, {"E3", "20240901", '1'}, {"E4", "20240901", '1'}};
        for (const auto& d : defs) {
            auto cd = k.make_cd(d.id, d.date);
            std::vector<std::string> r = {rec("RYAKUG.DAT", "ABS", std::string("01FROM ") + d.id),
                                          rec("RYAKUG.DAT", "LHD", std::string("01FROM ") + d.id)};
            cd.put_keyed("", "RYAKUG.DAT", pxbuild::build_keyed("RYAKUG.DAT", r));
            k.install(d.id, d.kind, std::string("0") + d.id[1]);
        }
    }
    std::vector<std::string> read(int mode, const int32_t* list, int n, const char* key) {
        std::vector<std::string> out;
        CdCursor* c = nullptr;
        char buf[102];
        int r, detail = 0;
        while ((r = cdget_some_cd_data("RYAKUG.DAT", "", 4, mode, -1, list, n, buf, key, key ? 20 : 0, 0, nullptr,
                                       nullptr, 0, &c, &detail)) == 0) {
            out.push_back(std::string(buf + 27, 2));
            if (mode < 2) {
                EXPECT_EQ(c, nullptr) << "a one-record read frees its cursor";
                break;
            }
        }
        if (mode >= 2) {
            EXPECT_EQ(r, -1);
            EXPECT_EQ(c, nullptr);
        }
        return out;
    }
    pxtest::KeyedEnv k;
};

TEST_F(AcrossTest, EachDataSetIsReadOnce) {
    std::string abs = "ABS" + std::string(17, ' ');
    // E2 reads E1's files: passed over; E4 has E3's issue: left out.
    EXPECT_EQ(read(2, nullptr, 0, abs.c_str()), (std::vector<std::string>{"E1", "E3"}));
    EXPECT_EQ(read(2, nullptr, 0, nullptr), (std::vector<std::string>{"E1", "E1", "E3", "E3"}));
    int32_t list[] = {3, 1};
    EXPECT_EQ(read(2, list, 2, abs.c_str()), (std::vector<std::string>{"E4", "E1"}));
    EXPECT_EQ(read(0, list, 2, abs.c_str()), (std::vector<std::string>{"E4"}));
}

TEST_F(AcrossTest, CursorArgumentsAreChecked) {
    char buf[102];
    int detail = 0;
    int32_t list[] = {0};
    EXPECT_EQ(cdget_some_cd_data("RYAKUG.DAT", "", 4, 2, -1, list, 1, buf, nullptr, 0, 0, nullptr, nullptr, 0, nullptr,
                                 &detail),
              128);
    EXPECT_EQ(detail, cdd::kCursorArgument);
    CdCursor* c = nullptr;
    EXPECT_EQ(cdget_some_cd_data("RYAKUG.DAT", "", 4, 2, -1, list, 0, buf, nullptr, 0, 0, nullptr, nullptr, 0, &c,
                                 &detail),
              128);
    ASSERT_EQ(cdget_some_cd_data("RYAKUG.DAT", "", 4, 2, -1, list, 1, buf, nullptr, 0, 0, nullptr, nullptr, 0, &c,
                                 &detail),
              0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(cdget_some_cd_data(nullptr, nullptr, 0, -1, 0, nullptr, 0, nullptr, nullptr, 0, 0, nullptr, nullptr, 0, &c,
                                 &detail),
              0);
    EXPECT_EQ(c, nullptr);
    // A file that a data set lacks passes on to the next.
    EXPECT_EQ(cdget_some_cd_data("FRAMNO.DAT", "", 1, 2, -1, list, 1, buf, nullptr, 0, 0, nullptr, nullptr, 0, &c,
                                 &detail),
              -1);
}

TEST(FrameFiles, OpenThroughTheFrameNumberMaster) {
    pxtest::KeyedEnv k;
    auto cd = k.make_cd("E1", "20240115");
    std::vector<std::string> fr;
    for (const char* fm : {"AVS14P1", "AVS16P1", "BRH12P1"}) {
        std::string r(2048, ' ');
        r.replace(0, 7, fm);
        r.replace(11, 6, "4410A1");
        fr.push_back(r);
    }
    cd.put_keyed("", "FRKATA.DAT", pxbuild::build_keyed("FRKATA.DAT", fr));
    pxbuild::Installer inst;
    pxbuild::InstallSpec job;
    job.cd_folder = k.env().root() + "/cd/E1";
    job.target_dir = k.env().root() + "/FRW";
    job.dir_name = "EF";
    job.install_kind = '0';
    inst.install_frame_set(job);
    EXPECT_TRUE(k.env().exists("FRW/EF/FRKATA.IA"));
    EXPECT_FALSE(k.env().exists("FRW/EF/FRKATA.DAT")) << "the data stays on the CD";
    pxtest::set_field(get_ctop_addr(), ctop::kFrameWorldDir, ctop::kDirSize, "C:\\FRW");
    k.add_setup("EF", "01", "20240115", false);
    k.set_cd_drives({{'E', "cd/E1"}});
    // The frame-number CD carries the catalogue CD's label here: its id is EF
    // only in the set-up table, so the request finds no CD.
    CdHandle* h = nullptr;
    int detail = 0;
    EXPECT_EQ(fcdopen("FRKATA.DAT", 17, 0, -1, 0, 0, &h, &detail), 4);
    k.env().write("cd/E1/.volume-label", "EF20240115\n");
    ASSERT_EQ(fcdopen("FRKATA.DAT", 17, 0, -1, 0, 0, &h, &detail), 0) << detail;
    auto got = pxtest::read_all(h, "AVS16P1    ", 2048);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].substr(11, 6), "4410A1");
    cdclose(&h, nullptr);
}

}  // namespace
