#include "setup/stup.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/drives.h"
#include "setup/drive_list.h"
#include "setup/setup_entries.h"
#include "setup/stcs.h"
#include "shell/list_lines.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

constexpr int16_t kMsgEdit = 169;
constexpr int16_t kMsgChoose = 167;
constexpr int16_t kMsgRunning = 705;
constexpr int16_t kMsgNoSpace = 871;
constexpr int16_t kMsgDiskFull = 884;
constexpr int16_t kMsgSystemError = 999;
// Run-time errors of the record files: not found, input past the end, path not found.
constexpr int32_t kErrFileNotFound = 53;
constexpr int32_t kErrPastEnd = 62;
constexpr int32_t kErrPath = 76;
constexpr int kLastBCode = 7;  // the last B code the set-up can install
constexpr int32_t kPathSize = 260;
constexpr std::array<int, 6> kTickTexts = {2625, 2626, 2627, 2628, 2646, 2647};
const char* const kCurrent = "background-color: #E0E0E0;";

std::string cut(const std::string& buf) { return buf.substr(0, buf.find('\0')); }

// Record 1 of a random-access file of `size`-byte records.
int32_t read_record(const std::string& win_path, size_t size, std::string* record) {
    auto host = plat::host_path(win_path);
    if (!host) return kErrPath;
    std::ifstream in(*host, std::ios::binary);
    if (!in) return kErrFileNotFound;
    std::string buf(size, '\0');
    in.read(buf.data(), static_cast<std::streamsize>(size));
    if (static_cast<size_t>(in.gcount()) != size) return kErrPastEnd;
    *record = buf;
    return 0;
}

int32_t write_record(const std::string& win_path, const std::string& record) {
    auto host = plat::host_path(win_path);
    if (!host) return kErrPath;
    std::fstream out(*host, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) out.open(*host, std::ios::binary | std::ios::out);
    if (!out) return kErrPath;
    out.seekp(0);
    out.write(record.data(), static_cast<std::streamsize>(record.size()));
    out.flush();
    return out ? 0 : 61;  // 61: disk full
}

void remove_file(const std::string& win_path) {
    if (win_path.empty()) return;
    if (auto host = plat::host_path(win_path)) {
        std::error_code ec;
        std::filesystem::remove(*host, ec);
    }
}

}  // namespace

Stup::Stup() : Form(kName) {
    resize(900, 700);
    auto* layout = new QVBoxLayout(this);
    for (int g = 0; g < 2; ++g) {
        Frame1[g] = new QGroupBox(this);
        Frame1[g]->setObjectName(QString("Frame1_%1").arg(g));
        layout->addWidget(Frame1[g], g == 0 ? 2 : 1);
    }
    auto* top = new QGridLayout(Frame1[0]);
    auto* bottom = new QHBoxLayout(Frame1[1]);
    for (int i = 0; i < kFrames; ++i) {
        QWidget* parent = i < 4 ? Frame1[0] : Frame1[1];
        auto* f = new QGroupBox(parent);
        f->setObjectName(QString("frm_Status_%1").arg(i));
        f->installEventFilter(this);
        auto* v = new QVBoxLayout(f);
        Chkb_Lang1[i] = new QCheckBox(f);
        Chkb_Lang1[i]->setObjectName(QString("Chkb_Lang1_%1").arg(i));
        Drive_CD[i] = new QComboBox(f);
        Drive_CD[i]->setObjectName(QString("Drive_CD_%1").arg(i));
        setup::fill_drive_list(Drive_CD[i]);
        lst_Status[i] = new QListWidget(f);
        lst_Status[i]->setObjectName(QString("lst_Status_%1").arg(i));
        lst_Status[i]->setSelectionMode(QAbstractItemView::ExtendedSelection);
        lst_Status[i]->setFont(oem_font());
        cmd_Add[i] = new QPushButton(f);
        cmd_Add[i]->setObjectName(QString("cmd_Add_%1").arg(i));
        cmd_Del[i] = new QPushButton(f);
        cmd_Del[i]->setObjectName(QString("cmd_Del_%1").arg(i));
        auto* head = new QHBoxLayout();
        head->addWidget(Chkb_Lang1[i], 1);
        head->addWidget(Drive_CD[i]);
        v->addLayout(head);
        auto* body = new QHBoxLayout();
        body->addWidget(lst_Status[i], 1);
        auto* side = new QVBoxLayout();
        side->addWidget(cmd_Add[i]);
        side->addWidget(cmd_Del[i]);
        side->addStretch();
        body->addLayout(side);
        v->addLayout(body, 1);
        for (QWidget* w : std::initializer_list<QWidget*>{Chkb_Lang1[i], Drive_CD[i], lst_Status[i]})
            w->installEventFilter(this);
        frm_Status[i] = f;
        // 0 top left, 2 top right, 1 bottom left, 3 bottom right; 4 and 5 side by side.
        if (i < 4) top->addWidget(f, i % 2, i / 2);
        else bottom->addWidget(f);

        connect(Chkb_Lang1[i], &QCheckBox::toggled, this,
                [this, i] { run("Chkb_Lang1_Click", [&] { tick_clicked(i); }); });
        connect(Drive_CD[i], &QComboBox::currentIndexChanged, this,
                [this, i] { run("Drive_CD_Change", [&] { drive_changed(i); }); });
        connect(cmd_Add[i], &QPushButton::clicked, this, [this, i] { run("cmd_Add_Click", [&] { cmd_Add_Click(i); }); });
        connect(cmd_Del[i], &QPushButton::clicked, this, [this, i] { run("cmd_Del_Click", [&] { cmd_Del_Click(i); }); });
        on_line_double_click(*this, lst_Status[i], "lst_Status_DblClick", [this, i](int) { lst_Status_DblClick(i); });
    }
    layout->addWidget(make_key_bar({1, 3, 4, 6, 10, 11}));
    layout->addWidget(make_message_line());
}

QListWidget* Stup::current_status_list() const { return current_ >= 0 ? lst_Status[current_] : nullptr; }

bool Stup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < kFrames; ++i) {
            bool focus_of_frame = watched == Chkb_Lang1[i] || watched == Drive_CD[i] || watched == lst_Status[i];
            if ((event->type() == QEvent::FocusIn && focus_of_frame) ||
                (event->type() == QEvent::MouseButtonPress && watched == frm_Status[i]))
                run("STUP_Select_Status_Frame", [&] { STUP_Select_Status_Frame(i); });
        }
    }
    return Form::eventFilter(watched, event);
}

void Stup::on_load() {
    LoadStatus = 0;
    QString title = ScrText(2600, 40);
    words.cd_rom = setup::fixed(to_ansi(ScrText(2644, 10)), setup::kWordSize);
    words.hard_disk = setup::fixed(to_ansi(ScrText(2645, 10)), setup::kWordSize);
    words.mark = setup::fixed(to_ansi(ScrText(2650, 10)), setup::kWordSize);
    DispMsg(kMsgEdit, lbl_Msg);
    setWindowTitle(title);
    for (int i = 0; i < kFrames; ++i) Chkb_Lang1[i]->setText(ScrText(kTickTexts[i], 25));
    Frame1[0]->setTitle(ScrText(2641, 21));
    Frame1[1]->setTitle(ScrText(2642, 21));
    CenterForm(*this);
    for (int i = 0; i < kFrames; ++i) {
        cmd_Add[i]->setText(ScrText(2648, 7));
        cmd_Del[i]->setText(ScrText(2649, 7));
    }
    QString cwd = QDir::currentPath();
    if (cwd.isEmpty() || cwd.toLocal8Bit().size() > 256) {
        WriteErrorLog("PXSTUP", "Form_Load", "GetCurrentDirectory", 100, 0, 0);
        LoadStatus = 2;
        return;
    }
    saved_directory_ = cwd.toStdString();
    cmd_PF(1)->setText(ScrText(200, 8));
    cmd_PF(3)->setText(ScrText(202, 8));
    cmd_PF(4)->setText(ScrText(203, 8));
    cmd_PF(6)->setText(ScrText(205, 8));
    cmd_PF(10)->setText(ScrText(209, 9));
    cmd_PF(11)->setText(ScrText(210, 9));
    IsClient = static_cast<int16_t>(lib::setup::stup_client_check());
    int32_t rc = STUP_Set_Setuped_Info();
    if (rc != 0) {
        WriteErrorLog("PXSTUP", "Form_Load", "STUP_Set_Setuped_Info", rc, 0, 0);
        LoadStatus = 2;
        return;
    }
    if (IsClient == 1)
        for (int i = 0; i < kFrames; ++i) {
            cmd_Add[i]->setEnabled(false);
            cmd_Del[i]->setEnabled(false);
            lst_Status[i]->setEnabled(false);
        }
}

void Stup::on_activate() {
    if (LoadStatus != 2) return;
    // Reported once: the error dialog's closing activates the screen again.
    LoadStatus = 0;
    system_error();
}

void Stup::on_unload() {
    remove_file(CatalogPath);
    remove_file(FramePath);
    remove_file(DriveInfoPath);
    if (!saved_directory_.empty()) QDir::setCurrent(QString::fromStdString(saved_directory_));
}

void Stup::system_error() {
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    ScrBackToMenu();
    unload_form(*this);
}

bool Stup::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        ShowHelp(*this);
    } else if (key_code == key_f(3)) {
        ScrBack();
        unload_form(*this);
    } else if (key_code == key_f(4)) {
        ScrBackToMenu();
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
    } else if (key_code == key_f(10)) {
        run_setup();
    } else if (key_code == key_f(11)) {
        int32_t rc = STUP_Set_Setuped_Info();
        if (rc != 0) {
            WriteErrorLog("PXSTUP", "cmd_PF_Click", "STUP_Set_Setuped_Info", rc, 0, 0);
            system_error();
        }
    }
    return false;
}

void Stup::STUP_Select_Status_Frame(int index) {
    if (index < 0 || index >= kFrames) return;
    for (int i = 0; i < kFrames; ++i) {
        frm_Status[i]->setStyleSheet(QString());
        Chkb_Lang1[i]->setStyleSheet(QString());
    }
    // The current frame is marked by its colour, as the choice dialog finds it.
    frm_Status[index]->setStyleSheet(QString("QGroupBox#frm_Status_%1 { %2 }").arg(index).arg(kCurrent));
    Chkb_Lang1[index]->setStyleSheet(kCurrent);
    current_ = index;
    CurrentDrive = setup::drive_letter(Drive_CD[index]);
}

void Stup::fill_frame(int i, const std::string& block) {
    Chkb_Lang1[i]->setChecked(false);
    lst_Status[i]->clear();
    setup::set_drive(Drive_CD[i], block.size() > 1 ? block[1] : ' ');
    Chkb_Lang1[i]->setChecked(!block.empty() && block[0] == '1');
    for (const std::string& line : setup::status_lines(block, words)) lst_Status[i]->addItem(from_ansi(line));
}

int32_t Stup::STUP_Set_Setuped_Info() {
    std::string cat(kPathSize, '\0'), frame(kPathSize, '\0');
    VbString c{cat.data(), kPathSize}, f{frame.data(), kPathSize};
    int32_t rc = lib::setup::stup_make_tmpfile(&c, &f, IsClient);
    if (rc != 0) return rc;
    CatalogPath = cut(cat);
    FramePath = cut(frame);
    std::string catalog, frames;
    if ((rc = read_record(CatalogPath, setup::kCatalogRecord, &catalog)) != 0) return rc;
    if ((rc = read_record(FramePath, setup::kFrameRecord, &frames)) != 0) return rc;
    CatalogRecord = catalog;
    FrameRecord = frames;
    // Setting drives and ticks here must not run the drive check: it would
    // list the drive's CDs before the selection file's lines.
    filling_ = true;
    for (int i = 0; i < 4; ++i) fill_frame(i, CatalogRecord.substr(setup::kBlockSize * i, setup::kBlockSize));
    for (int b = 0; b < 2; ++b) fill_frame(4 + b, FrameRecord.substr(setup::kBlockSize * b, setup::kBlockSize));
    filling_ = false;
    SetupInfoLoaded = 1;
    return 0;
}

void Stup::tick_clicked(int index) {
    if (filling_) return;
    STUP_Select_Status_Frame(index);
    if (IsClient != 1) return;
    int32_t rc = SetupedDriveCheck(index, true);
    if (rc != 0) {
        WriteErrorLog("PXSTUP", "Chkb_Lang1_Click", "SetupedDriveCheck", rc, 0, 0);
        system_error();
    }
}

void Stup::drive_changed(int index) {
    if (filling_) return;
    int32_t rc = SetupedDriveCheck(index, false);
    if (rc != 0) {
        WriteErrorLog("PXSTUP", "Drive_CD_Change", "SetupedDriveCheck", rc, 0, 0);
        system_error();
    }
}

int32_t Stup::SetupedDriveCheck(int index, bool from_tick_box) {
    char d[2] = {setup::drive_letter(Drive_CD[index]), '\0'};
    if (IsClient == 1 && SetupInfoLoaded == 1) {
        if (lib::setup::ClientDriveCheck(static_cast<int16_t>(index), d) != 0) {
            filling_ = true;
            setup::set_drive(Drive_CD[index], CurrentDrive);
            if (from_tick_box) Chkb_Lang1[index]->setChecked(false);
            filling_ = false;
        }
    }
    if (IsClient != 1) lst_Status[index]->clear();
    if (SetupInfoLoaded == 1) {
        std::string info(kPathSize, '\0');
        VbString s{info.data(), kPathSize};
        d[0] = setup::drive_letter(Drive_CD[index]);
        if (lib::setup::GetSetupedDriveInfo(static_cast<int16_t>(index), d, &s) == 0) {
            DriveInfoPath = cut(info);
            std::string record;
            int32_t rc = read_record(DriveInfoPath, setup::kBlockSize, &record);
            if (rc != 0) return rc;
            lst_Status[index]->clear();
            for (const std::string& line : setup::status_lines(record, words))
                lst_Status[index]->addItem(from_ansi(line));
        }
    }
    return 0;
}

void Stup::cmd_Add_Click(int index) {
    STUP_Select_Status_Frame(index);
    if (!form_exists(Stcs::kName)) return;
    auto& dialog = static_cast<Stcs&>(load_form(Stcs::kName));
    dialog.List_CD->clear();
    if (index < 4) {
        dialog.List_CD->addItem("A1 CD-ROM");
        dialog.List_CD->addItem("A2 CD-ROM");
        // B8 and B9 are not offered: a data set directory is named by one
        // digit per code, and B1 to B7 take the last ones (3 to 9).
        for (int n = 1; n <= kLastBCode; ++n) dialog.List_CD->addItem(QString("B%1 CD-ROM").arg(n));
    } else {
        dialog.List_CD->addItem("F1 CD-ROM");
        dialog.List_CD->addItem("F2 CD-ROM");
    }
    DispMsg(kMsgChoose, lbl_Msg);
    ShowModalOwned(dialog, this);
    DispMsg(kMsgEdit, lbl_Msg);
}

void Stup::cmd_Del_Click(int index) {
    STUP_Select_Status_Frame(index);
    for (int k = lst_Status[index]->count() - 1; k >= 0; --k)
        if (lst_Status[index]->item(k)->isSelected()) delete lst_Status[index]->takeItem(k);
}

void Stup::lst_Status_DblClick(int index) {
    for (int k = 0; k < lst_Status[index]->count(); ++k) {
        QListWidgetItem* item = lst_Status[index]->item(k);
        if (item->isSelected()) item->setText(from_ansi(setup::swapped_line(to_ansi(item->text()), words)));
    }
}

void Stup::STUP_Get_Screen_Data() {
    std::string catalog, frames;
    CatalogRecord.resize(setup::kCatalogRecord, ' ');
    FrameRecord.resize(setup::kFrameRecord, ' ');
    auto lines_of = [this](int i) {
        std::vector<std::string> lines;
        for (int k = 0; k < lst_Status[i]->count(); ++k) lines.push_back(to_ansi(lst_Status[i]->item(k)->text()));
        return lines;
    };
    for (int i = 0; i < 4; ++i)
        catalog += setup::hand_back_block(CatalogRecord.substr(setup::kBlockSize * i, setup::kBlockSize),
                                          Chkb_Lang1[i]->isChecked(), setup::drive_letter(Drive_CD[i]), lines_of(i));
    for (int b = 0; b < 2; ++b) {
        std::string previous = FrameRecord.substr(setup::kBlockSize * b, setup::kBlockSize);
        int i = 4 + b;
        frames += Chkb_Lang1[i]->isChecked()
                      ? setup::hand_back_block(previous, true, setup::drive_letter(Drive_CD[i]), lines_of(i))
                      : setup::blank_block(previous);
    }
    CatalogRecord = catalog;
    FrameRecord = frames;
}

int32_t Stup::STUP_Write_Data() {
    int32_t rc = write_record(CatalogPath, CatalogRecord);
    if (rc == 0) rc = write_record(FramePath, FrameRecord);
    if (rc != 0) WriteErrorLog("PXSTUP", "STUP_Write_Data", "OnErrorTrap", rc, 0, 0);
    return rc;
}

void Stup::run_setup() {
    DispMsg(kMsgRunning, lbl_Msg);
    SetHourglass();
    STUP_Get_Screen_Data();
    int32_t rc = STUP_Write_Data();
    if (rc != 0) {
        SetDefaultPointer();
        WriteErrorLog("PXSTUP", "cmd_PF_Click", "STUP_Write_Data", rc, 0, 0);
        system_error();
        return;
    }
    int32_t r = IsClient == 1 ? lib::setup::stup_set_client() : lib::setup::stup_main_proc();
    SetDefaultPointer();
    switch (r) {
        case 0:
            ScrBack();
            unload_form(*this);
            break;
        case 4:
            ScrBackToMenu();
            unload_form(*this);
            break;
        case kMsgNoSpace:
        case kMsgDiskFull:
            DispMsg(static_cast<int16_t>(r), lbl_Msg);
            Beep();
            break;
        default:
            WriteErrorLog("PXSTUP", "cmd_PF_Click", "stup_main_proc/stup_set_client", r, 0, 0);
            system_error();
            break;
    }
}

PX_FORM(Stup);

}  // namespace px
