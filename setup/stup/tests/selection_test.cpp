// The selection files with nothing installed, the installed language, the
// client drive check and the screen file's path.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/texts.h"
#include "setup_fixture.h"
#include "stup/stup.h"

namespace ct = pxall::ctop;
using namespace stuptest;

namespace {

TEST(Selection, NothingInstalledGivesBlankBlocksOnTheMasterDrive) {
    SetupEnv s;
    s.insert('Q', "E1");
    char cpath[40], fpath[40];
    VbString cp{cpath, sizeof cpath}, fp{fpath, sizeof fpath};
    ASSERT_EQ(stup_make_tmpfile(&cp, &fp, 0), 0);
    EXPECT_STREQ(fpath, "C:\\WORK\\FRAME.TMP");
    std::string cat = s.env().read("WORK/CATALOG.TMP");
    std::string want;
    for (int a = 0; a < 4; ++a) want += " C" + std::string(120, ' ');
    EXPECT_EQ(cat, want);
    EXPECT_EQ(s.env().read("WORK/FRAME.TMP").size(), 244u);
}

TEST(Selection, InstalledLanguageSkipsFrameNumberSets) {
    SetupEnv s;
    char name[12];
    VbString vb{name, sizeof name};
    int16_t lang = 0;
    pxall::put_i32(s.top() + ct::kAreaIndex, -1);
    EXPECT_EQ(VBGet_Latest_Lang(&lang, &vb), 1);
    pxall::put_i32(s.top() + ct::kAreaIndex, 0);
    EXPECT_EQ(VBGet_Latest_Lang(&lang, &vb), 2);

    auto add = [&](const char* entry) {
        int n = pxall::get_i32(s.top() + ct::kSetupCount);
        std::memcpy(pxall::setup_entry_addr(n), entry, 15);
        pxall::put_i32(s.top() + ct::kSetupCount, n + 1);
    };
    add("EFF12024060101\1");
    add("E1A12024060104\0");
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(VBGet_Latest_Lang(&lang, &vb), 0);
    EXPECT_EQ(lang, 4);
    EXPECT_EQ(std::string(name, sizeof name), std::string("GERMANY") + std::string(5, '\0'));
}

TEST(Selection, ClientDriveCheckTellsCatalogueFromFrameSets) {
    SetupEnv s;
    s.env().mkdir("MST/E1");
    EXPECT_EQ(ClientDriveCheck(0, "C"), 0);
    EXPECT_EQ(ClientDriveCheck(4, "C"), 1);
    s.env().mkdir("MST/EG");
    EXPECT_EQ(ClientDriveCheck(4, "C"), 0);
    EXPECT_EQ(ClientDriveCheck(5, "C"), 1);
    s.env().write("MST/J1", "a file, not a data set");
    EXPECT_EQ(ClientDriveCheck(3, "C"), 1);
    char path[20];
    VbString info{path, sizeof path};
    EXPECT_EQ(GetSetupedDriveInfo(3, "C", &info), 1);  // none there
    EXPECT_EQ(stup_client_check(), 0);
}

TEST(ScreenFile, PathOfTheMenuLanguageAndReload) {
    SetupEnv s;
    pxall::put_i16(s.top() + ct::kMenuLangNo, 7);
    std::memcpy(s.top() + ct::kMenuLangCode, "07", 3);
    ASSERT_TRUE(plat::create_directory("C:\\APP"));
    ASSERT_TRUE(plat::set_current_directory("C:\\APP"));
    char screen[40], work[30];
    std::memset(screen, 'x', sizeof screen);
    VbString sp{screen, sizeof screen}, wp{work, sizeof work};
    EXPECT_EQ(Screen_FilePath(&sp, &wp), 30);
    EXPECT_EQ(std::string(screen, sizeof screen), std::string("C:\\APP\\PXDROM07.SCR") + std::string(21, '\0'));
    EXPECT_STREQ(work, "C:\\WORK\\\\SCREEN.TMP");

    s.env().write("APP/PXDROM07.SCR", "0100 SEVEN\n");
    EXPECT_EQ(Reload_ScreenFile(), 0);
    EXPECT_STREQ(pxall::get_scr_text(100), "SEVEN");
    pxall::put_i16(s.top() + ct::kMenuLangNo, 0);
    s.env().write("APP/PXDROM07.SCR", "0100 CHANGED\n");
    EXPECT_EQ(Reload_ScreenFile(), 0);  // no menu language: the table stays
    EXPECT_STREQ(pxall::get_scr_text(100), "SEVEN");
}

}  // namespace

namespace {

TEST(Selection, LastCdDriveThatCannotBeReadIsReported) {
    SetupEnv s;
    struct Case {
        const char* drives;
        int want;
    } cases[] = {{"Q:", 0},     // a drive without a disc is not a failure
                 {"X:Q:", 0},   // only the last drive counts
                 {"Q:X:", 81}};
    for (const auto& c : cases) {
        s.top()[ct::kDriveCount] = static_cast<unsigned char>(std::strlen(c.drives) / 2);
        std::memcpy(s.top() + ct::kDrives, c.drives, std::strlen(c.drives));
        char a[40], b[40];
        VbString va{a, sizeof a}, vb{b, sizeof b};
        EXPECT_EQ(stup_make_tmpfile(&va, &vb, 0), c.want) << c.drives;
        EXPECT_TRUE(s.env().exists("WORK/FRAME.TMP"));
    }
}

}  // namespace
