// A FIFO under each kind of name the system reads (the environment file, a
// message file, a list-box text file, a user part-group file, the save
// master, a catalogue file) is refused with that reader's "cannot open"
// result at once, never waited on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/controls.h"
#include "pxall/blocks.h"
#include "pxall/env.h"
#include "pxall/groups.h"
#include "pxall/keyed_file.h"
#include "pxall/listbox.h"
#include "pxall/savefile.h"
#include "pxall/texts.h"
#include "support/temp_env.h"

namespace {

// A reader that waits on a FIFO would hang: the alarm ends the test instead.
struct Deadline {
    Deadline() { ::alarm(30); }
    ~Deadline() { ::alarm(0); }
};

class OddNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.mkdir("MST/E1");
        env.mkdir("WORK");
        env.mkdir("PROG");
        unsigned char* top = pxall::get_ctop_addr();
        pxtest::set_field(top, pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
        pxtest::set_field(top, pxall::ctop::kWorkDir, pxall::ctop::kDirSize, "C:\\WORK");
        pxtest::set_field(top, pxall::ctop::kProgramDir, pxall::ctop::kDirSize, "C:\\PROG");
    }
    void fifo(const std::string& rel) { ASSERT_EQ(::mkfifo((env.root() + "/" + rel).c_str(), 0666), 0) << rel; }
    pxtest::TempEnv env;
    Deadline deadline;
};

TEST_F(OddNamesTest, TheEnvironmentFileAndTextFiles) {
    fifo("PXDROM.SYS");
    pxall::kankyo_set();
    auto log = env.log_lines();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("Failed to open pxdrom.sys"), std::string::npos) << log.back();

    fifo("PROG/PXDROM01.MSG");
    EXPECT_NE(pxall::set_msg(), 0);
    pxall::free_msg();

    fifo("WORK/LIST.TXT");
    plat::MemoryListBox box;
    int32_t hwnd = plat::register_control(&box);
    EXPECT_EQ(VBSetListBox(hwnd, "C:\\WORK\\LIST.TXT"), 11);
    plat::unregister_control(hwnd);
}

TEST_F(OddNamesTest, GroupFilesAndTheSaveMaster) {
    fifo("MST/PXGRPMEI.D");
    fifo("MST/PXGRPPNC.D");
    VBInitGrpTmp();
    EXPECT_EQ(VBread_group_file(nullptr), 11);
    EXPECT_EQ(pxall::g_mei_f_check(), -1);
    VBTermGrpTmp();

    fifo("MST/PXIFSMST.SAV");
    std::FILE* fp = nullptr;
    int32_t err = 0;
    EXPECT_EQ(pxall::open_save_mst_file(pxall::kSaveRead, &fp, &err), -2);
    EXPECT_EQ(fp, nullptr);
    int32_t count = 0;
    EXPECT_NE(pxall::check_save_mst_file_exist(&count, &err), 0);
}

TEST_F(OddNamesTest, ACatalogueFile) {
    pxall::set_table();
    unsigned char* top = pxall::get_ctop_addr();
    pxtest::set_field(top, pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
    pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
    std::memcpy(pxall::setup_entry_addr(0), "E10120240115", 12);
    fifo("MST/E1/PXROOTMF.MST");
    fifo("MST/E1/HINM01.DAT");
    pxall::CdHandle* h = nullptr;
    EXPECT_NE(pxall::cdopen("HINM01.DAT", "", 7, 0, -1, 0, 0, &h, nullptr), 0);
    pxall::cdclose(&h, nullptr);
}

}  // namespace
