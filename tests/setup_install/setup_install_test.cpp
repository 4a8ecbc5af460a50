// From the CDs to a running catalogue environment: the set-up screen's
// sequence (selection files written from the installed state, edited,
// the set-up run), then a fresh start-up of the catalogue environment that
// finds the new data sets through the rewritten PXDROM.SYS and reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/space.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxall/drom.h"
#include "pxbuild/setup_cds.h"
#include "stup/stup.h"

namespace fs = std::filesystem;
namespace ct = pxall::ctop;

namespace {

void write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SetupInstall : public ::testing::Test {
protected:
    fs::path root;
    std::string saved_cwd = fs::current_path().string();

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "pxsetup-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        root = tmpl;
        plat::fix_clock(2024, 6, 20, 9, 30, 0);
        plat::clear_drives();
        plat::set_drive('C', (root / "c").string(), plat::kDriveFixed);
        pxbuild::write_setup_cds((root / "cd").string());
        for (const char* d : {"MST", "FRW", "FRJ", "PXDROM/WORK"}) fs::create_directories(root / "c" / d);
        write(root / "c/PXDROM/PXDROM.SYS",
              "ECRAM=C:\\PXDROM\\WORK\r\nECMST=C:\\MST\r\nECFIL=C:\\PXDROM\\PRG\r\nLANGUAGE=ENGLISH\r\n"
              "MENULANG=ENGLISH\r\nCDROM=Q:,R:\r\nPRICE=C:\r\nLOCALP=C:\r\nCRNTAREA=\r\nECMSTALL=\r\n"
              "FRAMEWLD=C:\\FRW\r\nFRAMEJPN=C:\\FRJ\r\nEXPPPNHO=\r\nEXPPFSAD=\r\n");
        write(root / "c/PXDROM/PRG/PXDROM01.MSG", "881Please insert into drive [\n881the catalogue CD [\n");
        write(root / "c/PXDROM/PXDROM01.SCR", "0111 ANY DRIVE\n0112 EU-CAT\n0114 US-CAT\n0126 EU-FRM\n");
        load('Q', "E1");
        load('R', "E2");
        plat::set_disk_space_limit('C', int64_t{10} << 30);
        setenv("TMP", "C:\\", 1);
        fs::current_path(root / "c/PXDROM");
    }
    void TearDown() override {
        drom_term();
        plat::set_message_box_hook({});
        plat::clear_disk_space_limits();
        plat::clear_drives();
        plat::unfix_clock();
        fs::current_path(saved_cwd);
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    void load(char drive, const std::string& cd) {
        plat::set_drive(drive, (root / "cd" / cd).string(), plat::kDriveCdrom);
    }
};

TEST_F(SetupInstall, ScreenSequenceInstallsAndStartUpReadsTheDataSets) {
    ASSERT_EQ(drom_init(), 0);
    char cpath[80], fpath[80];
    VbString cp{cpath, sizeof cpath}, fp{fpath, sizeof fpath};
    ASSERT_EQ(stup_make_tmpfile(&cp, &fp, 0), 0);

    // The clerk's choice: area E read from its two CDs, area U and the
    // world frame numbers copied to disk.
    std::string cat = read(root / "c/PXDROM/WORK/CATALOG.TMP");
    std::string frame = read(root / "c/PXDROM/WORK/FRAME.TMP");
    ASSERT_EQ(cat.size(), 488u);
    cat.replace(0, 2 + 24, std::string("1C") + "A1        0 " + "A2        0 ");
    cat.replace(244, 2 + 12, std::string("1C") + "A1        1 ");
    frame.replace(0, 2 + 12, std::string("1C") + "F1        1 ");
    write(root / "c/PXDROM/WORK/CATALOG.TMP", cat);
    write(root / "c/PXDROM/WORK/FRAME.TMP", frame);
    int boxes = 0;
    plat::set_message_box_hook([&](const std::string&, const std::string&, uint32_t) {
        load('R', ++boxes == 1 ? "U1" : "EF");
        return static_cast<int32_t>(plat::kIdRetry);
    });
    ASSERT_EQ(stup_main_proc(), 0);
    EXPECT_EQ(boxes, 2);
    const std::string sys = read(root / "c/PXDROM/PXDROM.SYS");
    EXPECT_NE(sys.find("ECMSTALL=EU:C,US:C\r\n"), std::string::npos) << sys;
    EXPECT_NE(sys.find("CRNTAREA=EU\r\n"), std::string::npos) << sys;
    drom_term();

    // A new start: the environment file leads to the installed data sets.
    load('R', "E2");
    ASSERT_EQ(drom_init(), 0);
    const unsigned char* top = pxall::get_ctop_addr();
    ASSERT_EQ(pxall::get_i32(top + ct::kSetupCount), 4);
    std::string names;
    for (int i = 0; i < 4; ++i) names += std::string(reinterpret_cast<const char*>(pxall::setup_entry_addr(i)), 2);
    EXPECT_EQ(names, "E1E2EFU1");
    EXPECT_EQ(pxall::setup_entry_addr(3)[pxall::setup_entry::kPictureFlag], 1);
    EXPECT_EQ(pxall::setup_entry_addr(0)[pxall::setup_entry::kPictureFlag], 0);

    // The car names of E (on disk), a catalogue file of E2 (on its CD) and
    // one of U1 (inside its catalogue master).
    struct Query {
        const char* name;
        const char* catalog;
        int entry;
        int rec_len;
        const char* want;
    } queries[] = {{"SHAMEI.DAT", "", 0, 97, "CAR E1000A"}, {"HINBAN.DAT", "E2000A", 1, 256, "2"},
                   {"KIRIKA.DAT", "U1000A", 3, 75, "1"}};
    for (const auto& q : queries) {
        pxall::CdHandle* h = nullptr;
        int detail = 0;
        ASSERT_EQ(pxall::cdopen(q.name, q.catalog, 1, 0, -1, q.entry, 0, &h, &detail), 0) << q.name;
        char buf[256] = {};
        ASSERT_EQ(pxall::cdread(buf, nullptr, 0, 0, nullptr, nullptr, h, &detail), 0) << q.name;
        EXPECT_NE(std::string(buf, q.rec_len).find(q.want), std::string::npos) << q.name;
        pxall::cdclose(&h, &detail);
    }
}

}  // namespace
