#include "prices/intf.h"

#include <cstdio>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/process.h"
#include "prices/fields.h"
#include "prices/prices_entries.h"
#include "prices/save_data.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/price_export_handover.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

namespace lp = lib::prices;
namespace sd = save_data;

constexpr int16_t kMsgGuide = 105;
constexpr int16_t kMsgNothingMarked = 836;
constexpr int16_t kMsgSystemError = 999;
constexpr int kProgramSize = 256;
constexpr int kPathSize = 80;
constexpr int kMaxPrograms = 8;
constexpr int32_t kErrPathAccess = 75;
constexpr int32_t kErrDiskFull = 61;

bool ends_with(const std::string& s, const char* tail) {
    std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

int32_t write_saved_list_export(const std::string& path, const std::string& save_header,
                                const std::string& csv_header, const std::vector<std::string>& lines) {
    std::string out;
    if (ends_with(path, "txt")) {
        out = prices::fixed(save_header, sd::kHeaderSize);
        for (const std::string& l : lines) {
            sd::Part p = sd::part_of_line(l);
            out += prices::fixed(p.part_no, 12) + p.qty;
        }
    } else {
        out = csv_header + "\r\n";
        for (const std::string& l : lines) {
            sd::Part p = sd::part_of_line(l);
            out += sd::csv_field(prices::trim(p.part_no)) + "," + sd::csv_field(p.qty) + "\r\n";
        }
    }
    // Written beside the old export and put in its place whole: a full disk
    // or a kill leaves the old export as it was.
    int32_t err = 0;
    int r = lp::atomic_write_file(path.c_str(), out.data(), out.size(), &err);
    if (r == 0) return 0;
    return r == 11 ? kErrPathAccess : kErrDiskFull;
}

Intf::Intf() : Form(kName) {
    auto* layout = make_frame({.size = {790, 240}, .keys = {3, 6, 10}, .placement = Placement::Kept});
    lbl_Expppnho = new QLabel(this);
    lbl_Expppnho->setObjectName("lbl_Expppnho");
    layout->addWidget(lbl_Expppnho);
    lst_Expppnho = new QListWidget(this);
    lst_Expppnho->setObjectName("lst_Expppnho");
    QFont courier = oem_font(10);
    lst_Expppnho->setFont(courier);
    layout->addWidget(lst_Expppnho, 1);
}

void Intf::on_load() {
    PriceExportHandover& h = price_export_handover();
    h.ExportFailed = 0;
    INTF_Set_Captions();
    try {
        prices::FixedString buf(kProgramSize);
        if (h.ExportSource == -1) {
            for (int16_t i = 0; i < kMaxPrograms; ++i) {
                lp::pnho_get_expppnho(i, buf.vb());
                if (buf.bytes()[0] == '\0') break;
                lst_Expppnho->addItem(prices::shown(prices::trim(buf.text())));
            }
        } else {
            lp::pnho_get_exppfsad(buf.vb());
            if (buf.bytes()[0] != '\0') lst_Expppnho->addItem(prices::shown(prices::trim(buf.text())));
        }
    } catch (const RuntimeError& e) {
        // The engine is missing: the list stays empty and F10 does nothing.
        WriteErrorLog("PXIntf", "Form_Load", e.step(), e.number(), 0, 0);
    }
    if (lst_Expppnho->count() > 0) lst_Expppnho->setCurrentRow(0);
}

void Intf::INTF_Set_Captions() {
    setWindowTitle(prices::caption(4100, 20));
    lbl_Expppnho->setText(prices::caption(4101, 20));
    cmd_PF(3)->setText(prices::caption(202, 9));
    cmd_PF(6)->setText(prices::caption(205, 9));
    cmd_PF(10)->setText(prices::caption(209, 9));
    DispMsg(kMsgGuide, lbl_Msg);
}

bool Intf::on_key_down(int key_code) {
    if (key_code == key_f(3)) {
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        Form* caller = loaded_form(price_export_handover().ExportSource == -1 ? "Pnho" : "Fsad");
        HardCopy(caller != nullptr ? *caller : *this, lbl_Msg);
    } else if (key_code == key_f(10)) {
        Pnho_LoadIntf();
    }
    return false;
}

bool Intf::Pnho_SelectFileType() {
    std::string init_dir;
    try {
        prices::FixedString master(kPathSize);
        lp::VBGetPathName(1, master.vb());
        // No data set chosen yet (a saved list opened from the menu): the
        // dialog starts where it likes.
        std::string dir = prices::rtrim(master.text());
        if (!dir.empty() && plat::directory_exists(dir)) {
            if (auto host = plat::host_path(dir)) init_dir = *host;
        }
    } catch (const RuntimeError&) {
    }
    FileChoice choice;
    choice.save = true;
    choice.title = windowTitle();
    choice.filter = "Text File(*.txt)|*.txt|CSV File(*.csv)|*.csv";
    choice.initial_dir = QString::fromStdString(init_dir);
    QString chosen = ChooseFile(this, choice);
    if (chosen.isEmpty()) return false;
    chosen_ = chosen.toStdString();
    return true;
}

void Intf::Pnho_LoadIntf() {
    const int i = lst_Expppnho->currentRow();
    if (i < 0 || lst_Expppnho->count() == 0) return;
    if (!Pnho_SelectFileType()) return;
    PriceExportHandover& h = price_export_handover();
    SetHourglass();
    try {
        if (h.ExportSource == -1) {
            int16_t kind = ends_with(chosen_, "csv") ? 0 : 1;
            int16_t r = lp::pnho_exec_intf(kind, chosen_.c_str());
            SetDefaultPointer();
            if (r == kMsgNothingMarked) {
                DispMsg(kMsgNothingMarked, lbl_Msg);
                return;
            }
            if (r != 0) {
                INTF_Abort();
                return;
            }
        } else {
            int32_t r = write_saved_list_export(chosen_, h.ExportSaveHeader, h.ExportCsvHeader, h.ExportLines);
            SetDefaultPointer();
            if (r != 0) {
                WriteErrorLog("PXIntf", "INTF_Write_SaveList", chosen_, r, 0, 0);
                INTF_Abort();
                return;
            }
        }
    } catch (const RuntimeError& e) {
        SetDefaultPointer();
        WriteErrorLog("PXIntf", "Pnho_LoadIntf", e.step(), e.number(), 0, 0);
        INTF_Abort();
        return;
    }
    // The export program gets the file it is to read. It is only started:
    // the clerk works in it while the catalogue goes on.
    const std::string program = to_ansi(lst_Expppnho->item(i)->text());
    if (plat::start_program(program, {program, chosen_}) == 1) {
        unload_form(*this);
        return;
    }
    WriteErrorLog("PXIntf", "Pnho_LoadIntfShellExecute", program, plat::last_error(), 0, 0);
    INTF_Abort();
}

void Intf::INTF_Abort() {
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    price_export_handover().ExportFailed = -1;
    unload_form(*this);
}

PX_FORM(Intf);

}  // namespace px
