// The export dialog: its list of export programs, the saved-list export
// files of both kinds, the parts-list export, the start of the export
// program and the failure path.
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include <QLabel>
#include <QListWidget>

#include "prices/intf.h"
#include "prices/save_data.h"
#include "shell/price_export_handover.h"
#include "shell/binding.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "support/prices_test.h"

namespace pxtest {
namespace {

namespace fs = std::filesystem;
using px::Intf;

class IntfTest : public PricesTest {
protected:
    void SetUp() override {
        PricesTest::SetUp();
        // The export program of the tests writes what it was started with.
        program = inst->root() + "/export.sh";
        std::ofstream(program) << "#!/bin/sh\necho \"$@\" > \"" << inst->root() << "/started.txt\"\n";
        fs::permissions(program, fs::perms::owner_all);
        auto& h = px::price_export_handover();
        h.ExportSource = 0;
        h.ExportSaveHeader = px::save_data::save_header(save_file_bytes("002", {}), 2);
        h.ExportCsvHeader = "VIN,MODEL,CAT,200304,ABC1234,5678901,\"NOTE\",002";
        h.ExportLines = {" 001  12345-67890-AB   02", " 002  123,4-5678 -     10"};
        h.ExportFailed = 0;
        prices_fakes().fsad_program = program;
        px::seams().choose_file = [this](QWidget*, const px::FileChoice& c) {
            choices.push_back(c);
            return QString::fromStdString(chosen);
        };
    }
    // Shows the dialog modally; `during` runs while it is up (by default F10).
    void show(std::function<void(Intf&)> during = {}) {
        on_modal("Intf", [&, during](px::Form& f) {
            auto& i = static_cast<Intf&>(f);
            listed.clear();
            for (int r = 0; r < i.lst_Expppnho->count(); ++r) listed.push_back(i.lst_Expppnho->item(r)->text().toStdString());
            if (during) during(i);
            else key(i, Qt::Key_F10);
            stayed_open = i.loaded();
            if (i.loaded()) key(i, Qt::Key_F3);
        });
        px::show_modal(px::load_form("Intf"));
        settle();
    }
    std::string read(const std::string& host) const {
        std::ifstream in(host, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::string program, chosen;
    std::vector<px::FileChoice> choices;
    std::vector<std::string> listed;
    bool stayed_open = false;
};

TEST_F(IntfTest, PartsListProgramsStopAtTheFirstEmptyEntry) {
    px::price_export_handover().ExportSource = -1;
    prices_fakes().programs = {"/opt/a", "/opt/b", "", "/opt/d"};
    show([](Intf& i) { EXPECT_EQ(i.lst_Expppnho->currentRow(), 0); });
    EXPECT_EQ(listed, (std::vector<std::string>{"/opt/a", "/opt/b"}));
    EXPECT_EQ(px::price_export_handover().ExportFailed, 0);
}

TEST_F(IntfTest, NoProgramMeansF10DoesNothing) {
    prices_fakes().fsad_program = "";
    show();
    EXPECT_TRUE(listed.empty());
    EXPECT_TRUE(choices.empty());
    EXPECT_TRUE(stayed_open);
}

TEST_F(IntfTest, TextExportIsTheSaveFileLayout) {
    chosen = inst->root() + "/out.txt";
    std::ofstream(chosen) << std::string(500, 'x');  // a longer file is replaced whole
    show();
    std::string bytes = read(chosen);
    ASSERT_EQ(bytes.size(), 99u + 14u * 2u);
    EXPECT_EQ(bytes.substr(0, 99), px::price_export_handover().ExportSaveHeader);
    EXPECT_EQ(bytes.substr(99), "1234567890AB02123,45678   10");
    EXPECT_FALSE(stayed_open);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_TRUE(choices[0].save);
    EXPECT_EQ(choices[0].filter, "Text File(*.txt)|*.txt|CSV File(*.csv)|*.csv");
}

TEST_F(IntfTest, OnlyALowerCaseTxtEndingSelectsTheTextLayout) {
    for (const char* name : {"out.csv", "out.TXT", "out"}) {
        SCOPED_TRACE(name);
        chosen = inst->root() + "/" + name;
        show();
        // RFC 4180: a part number holding a comma is quoted.
        EXPECT_EQ(read(chosen), "VIN,MODEL,CAT,200304,ABC1234,5678901,\"NOTE\",002\r\n1234567890AB,02\r\n\"123,45678\",10\r\n");
    }
}

// The dialog closes while the export program still runs: it is started, not
// waited for (it ends only once the test lets it).
TEST_F(IntfTest, TheExportProgramIsStartedWithTheFileAndNotWaitedFor) {
    const std::string root = inst->root();
    std::ofstream(program) << "#!/bin/sh\necho \"$@\" > \"" << root << "/started.txt\"\n"
                           << "i=0; while [ ! -f \"" << root << "/go\" ] && [ $i -lt 6000 ]; do sleep 0.01; i=$((i+1)); done\n"
                           << "echo ended > \"" << root << "/ended.txt\"\n";
    chosen = root + "/out.csv";
    show();
    EXPECT_EQ(px::price_export_handover().ExportFailed, 0);
    EXPECT_FALSE(stayed_open);
    EXPECT_FALSE(fs::exists(root + "/ended.txt"));
    std::ofstream(root + "/go") << "";
    auto written = [&](const std::string& f) {
        for (int i = 0; i < 6000 && read(f).empty(); ++i) usleep(10000);
        return read(f);
    };
    EXPECT_EQ(written(root + "/ended.txt"), "ended\n");
    EXPECT_EQ(read(root + "/started.txt"), chosen + "\n");
}

TEST_F(IntfTest, AProgramThatCannotStartFailsTheExport) {
    prices_fakes().fsad_program = inst->root() + "/no-such-program";
    chosen = inst->root() + "/out.csv";
    show();
    EXPECT_TRUE(fs::exists(chosen));  // the file stays
    EXPECT_EQ(px::price_export_handover().ExportFailed, -1);
    EXPECT_NE(std::find(modals.begin(), modals.end(), "Errm"), modals.end());
    EXPECT_TRUE(errm_text.find("Pnho_LoadIntfShellExecute") != std::string::npos) << errm_text;
}

TEST_F(IntfTest, APathThatCannotBeWrittenFailsTheExport) {
    for (const char* name : {"out.csv", "out.txt"}) {
        SCOPED_TRACE(name);
        modals.clear();
        px::price_export_handover().ExportFailed = 0;
        chosen = inst->root() + "/no/such/folder/" + name;
        show();
        EXPECT_EQ(px::price_export_handover().ExportFailed, -1);
        EXPECT_FALSE(fs::exists(inst->root() + "/started.txt"));
        EXPECT_NE(std::find(modals.begin(), modals.end(), "Errm"), modals.end());
    }
    EXPECT_NE(errm_text.find("PXIntf,INTF_Write_SaveList"), std::string::npos) << errm_text;
}

// The library's test hook: the next n replacements fail as a full disk would.
px::Declared<void(int, int)> fail_next_commits{"PXALL", "_ZN5pxall24atomic_fail_next_commitsEii"};

// A full disk while the export is written leaves the old export whole.
TEST_F(IntfTest, AFullDiskKeepsTheOldExport) {
    for (const char* name : {"out.csv", "out.txt"}) {
        SCOPED_TRACE(name);
        px::price_export_handover().ExportFailed = 0;
        chosen = inst->root() + "/" + name;
        std::ofstream(chosen) << "the export of last week";
        fail_next_commits(1, ENOSPC);
        show();
        fail_next_commits(0, 0);
        EXPECT_EQ(px::price_export_handover().ExportFailed, -1);
        EXPECT_EQ(read(chosen), "the export of last week");
        int files = 0;
        for (const auto& f : fs::directory_iterator(inst->root()))
            if (f.path().filename().string().rfind(name, 0) == 0) ++files;
        EXPECT_EQ(files, 1) << "no piece of the new export stays beside it";
    }
}

TEST_F(IntfTest, ACancelledChoiceLeavesTheDialogOpen) {
    chosen = "";
    show();
    EXPECT_TRUE(stayed_open);
    EXPECT_EQ(px::price_export_handover().ExportFailed, 0);
    EXPECT_FALSE(fs::exists(inst->root() + "/started.txt"));
}

TEST_F(IntfTest, PartsListKindFollowsTheEnding) {
    auto& h = px::price_export_handover();
    h.ExportSource = -1;
    prices_fakes().programs = {program};
    struct Case {
        const char* name;
        int kind;
    };
    for (const Case& c : {Case{"p.csv", 0}, Case{"p.CSV", 1}, Case{"p", 1}, Case{"p.txt", 1}}) {
        SCOPED_TRACE(c.name);
        chosen = inst->root() + "/" + c.name;
        show();
        EXPECT_EQ(prices_fakes().calls.back(), "pnho_exec_intf " + std::to_string(c.kind) + " " + chosen);
        EXPECT_EQ(h.ExportFailed, 0);
    }
}

TEST_F(IntfTest, PartsListRefusalsAndFailures) {
    auto& h = px::price_export_handover();
    h.ExportSource = -1;
    prices_fakes().programs = {program};
    chosen = inst->root() + "/p.csv";
    prices_fakes().exec_intf_rc = 836;
    show();
    EXPECT_TRUE(stayed_open);
    EXPECT_EQ(h.ExportFailed, 0);
    prices_fakes().exec_intf_rc = -999;
    show();
    EXPECT_FALSE(stayed_open);
    EXPECT_EQ(h.ExportFailed, -1);
}

TEST_F(IntfTest, F3ClosesWithoutFailure) {
    show([](Intf& i) { key(i, Qt::Key_F3); });
    EXPECT_EQ(px::price_export_handover().ExportFailed, 0);
    EXPECT_TRUE(choices.empty());
}

}  // namespace
}  // namespace pxtest
