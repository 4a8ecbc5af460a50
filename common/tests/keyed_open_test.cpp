// Opening catalogue files: through the masters of full-copy and master-only
// data sets (a second CD sharing the first CD's files), straight from a CD,
// and the CD request when the CD is missing, wrong or swapped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;
using pxtest::rec;

// Two CDs of area E: each carries car names and a figure index of its own
// (so a record tells which CD it came from), E2 also a catalogue directory.
class OpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* id : {"E1", "E2"}) {
            auto cd = k.make_cd(id, std::string(id) == "E1" ? "20240115" : "20240601");
            std::vector<std::string> names = {rec("SHAMEI.DAT", "4410A1", std::string("FROM ") + id)};
            for (auto& r : names) r.replace(0, 3, "001");
            cd.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", names));
            std::vector<std::string> fig;
            for (int i = 1; i <= 40; ++i) fig.push_back(rec("FIGIND.DAT", pxtest::key_n("6120D1", i, 18), id));
            cd.put_keyed("", "FIGIND.DAT", pxbuild::build_keyed("FIGIND.DAT", fig));
            std::vector<std::string> parts = {rec("HINBAN.DAT", "16400A", std::string("PART ON ") + id)};
            for (auto& r : parts) r.replace(0, 6, "6120D1");
            cd.put_keyed("6120D1", "HINBAN.DAT", pxbuild::build_keyed("HINBAN.DAT", parts));
        }
        k.install("E1", '1', "01");
        k.install("E2", '0', "02");
        k.set_cd_drives({{'E', "cd/E2"}});
    }
    int open(const char* name, const char* catalog, int setup, CdHandle** h, int* detail) {
        return cdopen(name, catalog, 1, 0, -1, setup, 0, h, detail);
    }
    std::string first(CdHandle* h, int rec_len) {
        std::vector<char> buf(rec_len);
        EXPECT_EQ(cdread(buf.data(), nullptr, 0, 0, nullptr, nullptr, h, nullptr), 0);
        return std::string(buf.begin(), buf.end());
    }
    pxtest::KeyedEnv k;
};

TEST_F(OpenTest, ASecondCdReadsTheFirstCdsSharedFiles) {
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(open("SHAMEI.DAT", "", 1, &h, &detail), 0) << detail;
    EXPECT_EQ(first(h, 97).substr(29, 7), "FROM E1");
    cdclose(&h, nullptr);
    // Its figure index is its own, read from the CD in the drive.
    ASSERT_EQ(open("FIGIND.DAT", "", 1, &h, &detail), 0) << detail;
    EXPECT_EQ(first(h, 28).substr(18, 2), "E2");
    cdclose(&h, nullptr);
    EXPECT_EQ(k.boxes_shown(), 0);
}

TEST_F(OpenTest, ACatalogueFileComesFromItsMasterAndTheCd) {
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(open("HINBAN.DAT", "6120D1", 1, &h, &detail), 0) << detail;
    char buf[256];
    ASSERT_EQ(cdread(buf, "16400A", 6, 0, nullptr, nullptr, h, &detail), 0) << detail;
    EXPECT_EQ(std::string(buf + 12, 10), "PART ON E2");
    cdclose(&h, nullptr);
}

TEST_F(OpenTest, FailuresLeaveNoHandle) {
    struct Case {
        const char* name;
        const char* catalog;
        int setup;
        int code;
        int detail;
    } cases[] = {
        {"NOSUCH.DAT", "", 0, 128, cdd::kNoEntry},
        {"HINBAN.DAT", "9999X9", 0, -1, 2},  // no master for that catalogue
        {"SHAMEI.DAT", "", 5, 128, cdd::kNoDataSet},
        {"SHAMEI.DAT", "", -1, 128, cdd::kNoDataSet},
        {"", "", 0, 128, cdd::kNoArgument},
    };
    for (const auto& c : cases) {
        CdHandle* h = reinterpret_cast<CdHandle*>(&k);
        int detail = 0;
        EXPECT_EQ(open(c.name, c.catalog, c.setup, &h, &detail), c.code) << c.name;
        EXPECT_EQ(detail, c.detail) << c.name;
        EXPECT_EQ(h, nullptr) << c.name;
    }
}

TEST_F(OpenTest, AMissingCdIsAskedForUntilRetryFindsIt) {
    k.set_cd_drives({{'E', ""}});
    // Retry with the drive still empty, then the clerk inserts the CD.
    k.script_box({plat::kIdRetry, plat::kIdRetry}, [this](int shown) {
        if (shown == 2) plat::set_drive('E', k.env().root() + "/cd/E2", plat::kDriveCdrom);
    });
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(open("FIGIND.DAT", "", 1, &h, &detail), 0) << detail;
    EXPECT_EQ(k.boxes_shown(), 2);
    EXPECT_EQ(first(h, 28).substr(18, 2), "E2");
    cdclose(&h, nullptr);
}

TEST_F(OpenTest, GivingUpOnTheCdGives4) {
    struct Case {
        const char* drive_folder;  // "" empty drive
        std::vector<int> answers;
        int shown;
    } cases[] = {
        {"", {plat::kIdRetry, plat::kIdCancel}, 2},
        {"cd/E1", {plat::kIdCancel}, 1},  // the wrong CD in the drive
    };
    for (const auto& c : cases) {
        k.set_cd_drives({{'E', c.drive_folder}});
        k.script_box(c.answers);
        CdHandle* h = nullptr;
        int detail = 0;
        EXPECT_EQ(open("FIGIND.DAT", "", 1, &h, &detail), 4);
        EXPECT_EQ(h, nullptr);
        EXPECT_EQ(k.boxes_shown(), c.shown);
    }
}

TEST_F(OpenTest, ACdSwappedBetweenCallsIsAskedForAgain) {
    CdHandle* h = nullptr;
    ASSERT_EQ(open("FIGIND.DAT", "", 1, &h, nullptr), 0);
    cdclose(&h, nullptr);
    k.set_cd_drives({{'E', "cd/E1"}});
    k.script_box({plat::kIdRetry}, [this](int) { plat::set_drive('E', k.env().root() + "/cd/E2", plat::kDriveCdrom); });
    ASSERT_EQ(open("FIGIND.DAT", "", 1, &h, nullptr), 0);
    EXPECT_EQ(k.boxes_shown(), 1);
    EXPECT_EQ(first(h, 28).substr(18, 2), "E2");
    cdclose(&h, nullptr);
    // A full copy needs no CD at all.
    k.set_cd_drives({{'E', ""}});
    ASSERT_EQ(open("FIGIND.DAT", "", 0, &h, nullptr), 0);
    EXPECT_EQ(first(h, 28).substr(18, 2), "E1");
    EXPECT_EQ(k.boxes_shown(), 1);
    cdclose(&h, nullptr);
}

TEST_F(OpenTest, OpenDirectReadsAFileOfANamedCd) {
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(cdopen_direct("FIGIND.DAT", "", 1, -1, 705, "E2", nullptr, "20240601", 0, 0, 0, &h, &detail), 0) << detail;
    EXPECT_EQ(cdfilelen(h), 1);
    char buf[28];
    ASSERT_EQ(cdread(buf, "6120D1000000000040", 18, 0, nullptr, nullptr, h, &detail), 0) << "through its CD index";
    cdclose(&h, nullptr);
    // The caller's length and offset: whole-file block reads.
    ASSERT_EQ(cdopen_direct("FIGIND.DAT", "", 1, 0, 705, "E2", nullptr, nullptr, 1, 0, 1, &h, &detail), 0);
    std::vector<char> blocks(12 * 2048);
    int32_t n = 0;
    EXPECT_EQ(cdread(blocks.data(), nullptr, 0, 12, &n, nullptr, h, &detail), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(cdread(blocks.data(), nullptr, 0, 12, &n, nullptr, h, &detail), -1);
    cdclose(&h, nullptr);
    // In a catalogue directory.
    ASSERT_EQ(cdopen_direct("HINBAN.DAT", "6120D1", 1, -1, 0, "E2", nullptr, nullptr, 0, 0, 0, &h, &detail), 0);
    EXPECT_EQ(cdfilelen(h), 1);
    cdclose(&h, nullptr);

    EXPECT_EQ(cdopen_direct("FIGIND.DAT", "", 1, -1, 0, nullptr, nullptr, nullptr, 0, 0, 0, &h, &detail), 128);
    EXPECT_EQ(detail, cdd::kNoCdId);
    EXPECT_EQ(cdopen_direct("KATARG.DAT", "", 1, -1, 0, "E2", nullptr, nullptr, 0, 0, 0, &h, &detail), 128);
    EXPECT_EQ(detail, cdd::kNoEntry) << "KATARG is not among the files opened directly";
    EXPECT_EQ(cdopen_direct("RYAKUG.DAT", "", 1, -1, 0, "E2", nullptr, nullptr, 0, 0, 0, &h, &detail), -1);
    k.script_box({plat::kIdCancel});
    EXPECT_EQ(cdopen_direct("FIGIND.DAT", "", 1, -1, 0, "E2", nullptr, "20991231", 0, 0, 0, &h, &detail), 4);
    EXPECT_EQ(h, nullptr);
}

}  // namespace
