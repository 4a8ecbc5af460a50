#include "setup/stlp.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/drives.h"
#include "platform/msgbox.h"
#include "setup/drive_list.h"
#include "setup/setup_entries.h"
#include "setup/setup_messages.h"
#include "setup/status_block.h"
#include "setup/user_file.h"
#include "setup/stpm.h"
#include "shell/list_lines.h"
#include "shell/codepage.h"
#include "shell/listbox.h"
#include "shell/messages.h"
#include "shell/seams.h"

namespace px {

namespace {

constexpr int16_t kMsgDone = 408;
constexpr int16_t kMsgTooManyParts = 849;  // the set would exceed what its index numbers
constexpr int16_t kMsgSystemError = 999;
// The library's answer for a source record not whole or not printable (the
// set in force is kept), and what the clerk is told: the price set-up's
// message for the same answer speaks of the price file.
constexpr int16_t kBadRecord = 848;
constexpr int16_t kMsgBadRecord = 845;
constexpr std::array<const char*, 4> kKindFiles = {"LOCALP", "LOCALP1", "LOCALP2", "LOCALP3"};

void menu_message(int16_t no) {
    if (QLabel* line = SetupMenuMessageLine()) DispMsg(no, line);
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

Stlp::Stlp() : Form(kName) {
    resize(600, 490);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    frm_Setup = new QGroupBox(this);
    frm_Setup->setObjectName("frm_Setup");
    auto* grid = new QGridLayout(frm_Setup);
    lbl_TFileName = new QLabel(frm_Setup);
    lbl_FileName = new QLabel(frm_Setup);
    lbl_FileName->setObjectName("lbl_FileName");
    lbl_TFileType = new QLabel(frm_Setup);
    lbl_FileType = new QLabel(frm_Setup);
    lbl_FileType->setObjectName("lbl_FileType");
    for (QLabel* l : {lbl_FileName, lbl_FileType}) l->setFrameShape(QFrame::Panel), l->setFrameShadow(QFrame::Sunken);
    grid->addWidget(lbl_TFileName, 0, 0);
    grid->addWidget(lbl_FileName, 0, 1);
    grid->addWidget(lbl_TFileType, 1, 0);
    grid->addWidget(lbl_FileType, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout();
    cmd_Refer = new QPushButton(frm_Setup);
    cmd_Refer->setObjectName("cmd_Refer");
    cmd_Exec = new QPushButton(frm_Setup);
    cmd_Exec->setObjectName("cmd_Exec");
    cmd_Clear = new QPushButton(frm_Setup);
    cmd_Clear->setObjectName("cmd_Clear");
    cmd_Exit = new QPushButton(frm_Setup);
    cmd_Exit->setObjectName("cmd_Exit");
    for (QPushButton* b : {cmd_Refer, cmd_Exec, cmd_Clear, cmd_Exit}) buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 2);
    layout->addWidget(frm_Setup);

    frm_ImgType = new QGroupBox(this);
    frm_ImgType->setObjectName("frm_ImgType");
    auto* images = new QGridLayout(frm_ImgType);
    lst_Drive = new QComboBox(frm_ImgType);
    lst_Drive->setObjectName("lst_Drive");
    setup::fill_drive_list(lst_Drive);
    lst_Dir = new QListWidget(frm_ImgType);
    lst_Dir->setObjectName("lst_Dir");
    lst_File = new QListWidget(frm_ImgType);
    lst_File->setObjectName("lst_File");
    lst_Image = new QListWidget(frm_ImgType);
    lst_Image->setObjectName("lst_Image");
    lst_Image->setFont(oem_font());
    cmd_ImgCopy = new QPushButton(frm_ImgType);
    cmd_ImgCopy->setObjectName("cmd_ImgCopy");
    images->addWidget(lst_Drive, 0, 0);
    images->addWidget(lst_Dir, 1, 0);
    images->addWidget(lst_File, 0, 1, 2, 1);
    images->addWidget(lst_Image, 0, 2, 2, 1);
    images->addWidget(cmd_ImgCopy, 2, 2);
    layout->addWidget(frm_ImgType, 1);
    image_control_ = std::make_unique<ListBoxControl>(lst_Image);
    file_control_ = std::make_unique<ListBoxControl>(lst_File);

    connect(cmd_Refer, &QPushButton::clicked, this, [this] { run("cmd_Refer_Click", [&] { cmd_Refer_Click(); }); });
    connect(cmd_Exec, &QPushButton::clicked, this, [this] { run("cmd_Exec_Click", [&] { STLP_Exec(); }); });
    connect(cmd_Clear, &QPushButton::clicked, this, [this] { run("cmd_Clear_Click", [&] { STLP_Clear(); }); });
    connect(cmd_Exit, &QPushButton::clicked, this, [this] { run("cmd_Exit_Click", [&] { STLP_Close(); }); });
    connect(cmd_ImgCopy, &QPushButton::clicked, this, [this] { run("cmd_ImgCopy_Click", [&] { cmd_ImgCopy_Click(); }); });
    on_line_double_click(*this, lst_Dir, "lst_Dir_Change", [this](int row) {
        std::string name = to_ansi(lst_Dir->item(row)->text());
        std::string path = dir_path;
        if (name == "..") {
            size_t cut = path.find_last_of('\\');
            path = cut == std::string::npos || cut <= 2 ? path.substr(0, 2) + "\\" : path.substr(0, cut);
        } else {
            path = (path.size() > 0 && path.back() == '\\' ? path : path + "\\") + name;
        }
        set_dir(path);
    });
    connect(lst_Drive, &QComboBox::currentIndexChanged, this, [this] {
        run("lst_Drive_Change", [&] {
            char d = setup::drive_letter(lst_Drive);
            std::string root = std::string(1, d) + ":\\";
            if (!dir_path.empty() && std::toupper(static_cast<unsigned char>(dir_path[0])) == d) return;
            // A drive that is not ready: the list goes back to the directory's drive.
            if (!set_dir(root) && !dir_path.empty()) {
                QSignalBlocker block(lst_Drive);
                setup::set_drive(lst_Drive, dir_path[0]);
            }
        });
    });
}

Stlp::~Stlp() = default;

void Stlp::on_load() {
    setWindowTitle(ScrText(4200, 37));
    frm_Setup->setTitle(ScrText(4201, 21));
    frm_ImgType->setTitle(ScrText(4202, 13));
    lbl_TFileName->setText(ScrText(4203, 14));
    lbl_TFileType->setText(ScrText(4204, 12));
    cmd_ImgCopy->setText(ScrText(4205, 20));
    cmd_Refer->setText(ScrText(4206, 9));
    cmd_Exit->setText(ScrText(4207, 9));
    cmd_Exec->setText(ScrText(4208, 9));
    cmd_Clear->setText(ScrText(4209, 7));
    for (int k = 0; k < 4; ++k) kind_names[k] = setup::fixed(to_ansi(ScrText(4210 + k, 30)), 30);
    set_type_text(QString());
    frm_ImgType->hide();
    set_height(kSmallHeight, false);
    // Placed for the large height, so that the dialog stays where it is when it grows.
    DisplayMetrics m = display_metrics();
    int large = kLargeHeight / std::max(1, display_twips().y);
    move(std::max(0, (m.width_px - width()) / 2), std::max(0, (m.height_px - large) / 2));
    char d = setup::drive_letter(lst_Drive);
    if (d != ' ') set_dir(std::string(1, d) + ":\\");
}

void Stlp::on_close_request() { STLP_Close(); }

void Stlp::set_height(int twips, bool centre) {
    int px = twips / std::max(1, display_twips().y);
    setFixedHeight(px);
    if (centre) {
        DisplayMetrics m = display_metrics();
        move(std::max(0, (m.width_px - width()) / 2), std::max(0, (m.height_px - px) / 2));
        // The outcome of the set-up shows on the menu's message line.
        KeepMessageLineClear(*this, SetupMenuMessageLine());
    }
}

void Stlp::set_type_text(const QString& text) {
    lbl_FileType->setText(text);
    cmd_Exec->setVisible(!text.isEmpty());
}

bool Stlp::on_key_down(int key_code) {
    if (key_code == key_f(3)) STLP_Close();
    else if (key_code == key_f(10)) {
        if (!cmd_Exec->isHidden() && cmd_Exec->isEnabled()) STLP_Exec();
    } else if (key_code == key_f(11)) STLP_Clear();
    return false;
}

bool Stlp::set_dir(const std::string& path) {
    auto host = plat::host_path(path);
    std::error_code ec;
    if (!host || !std::filesystem::is_directory(*host, ec)) return false;
    dir_path = path;
    lst_Dir->clear();
    if (path.size() > 3) lst_Dir->addItem("..");
    std::vector<std::string> dirs, files;
    for (const auto& e : std::filesystem::directory_iterator(*host, ec)) {
        std::string name = e.path().filename().string();
        if (e.is_directory(ec)) dirs.push_back(name);
        else if (upper(name).size() > 4 && upper(name).substr(name.size() - 4) == ".BMP") files.push_back(name);
    }
    std::sort(dirs.begin(), dirs.end());
    std::sort(files.begin(), files.end());
    for (const auto& d : dirs) lst_Dir->addItem(from_ansi(d));
    lst_File->clear();
    for (const auto& f : files) lst_File->addItem(from_ansi(f));
    QSignalBlocker block(lst_Drive);
    setup::set_drive(lst_Drive, path[0]);
    return true;
}

std::string Stlp::filter(int16_t filter_index) const {
    std::vector<std::string> entries;
    for (int k = 0; k < 4; ++k) entries.push_back(kind_names[k] + "|" + kKindFiles[k]);
    int first = std::clamp<int>(filter_index, 1, 4) - 1;
    std::string out = entries[static_cast<size_t>(first)];
    for (int k = 0; k < 4; ++k)
        if (k != first) out += "|" + entries[static_cast<size_t>(k)];
    return out;
}

int16_t Stlp::kind_of(const std::string& name) {
    if (name.empty()) return 3;
    char last = static_cast<char>(std::toupper(static_cast<unsigned char>(name.back())));
    return last == 'P' ? 0 : last == '1' ? 1 : last == '2' ? 2 : 3;
}

int16_t Stlp::Get_User_File(int16_t filter_index) {
    int16_t r = setup::choose_user_file(this, 3, from_ansi(filter(filter_index)), "PXSTLP", "Get_User_File", &chosen_file);
    if (r == 0) type = kind_of(chosen_file);
    return r;
}

void Stlp::STLP_Set_File_Info() {
    lbl_FileName->setText(from_ansi(chosen_file));
    set_height(kSmallHeight, false);
    frm_ImgType->hide();
    set_type_text(from_ansi(kind_names[static_cast<size_t>(std::clamp<int>(type, 0, 3))]).trimmed());
}

void Stlp::STLP_Close() { unload_form(*this); }

void Stlp::STLP_Clear() {
    lbl_FileName->clear();
    set_type_text(QString());
    set_height(kSmallHeight, false);
    frm_ImgType->hide();
    lst_Image->clear();
    cmd_Exec->setEnabled(true);
}

void Stlp::fail() {
    Form* menu = loaded_form(Stpm::kName);
    ShowErrorDialog(menu ? *menu : static_cast<Form&>(*this));
    SetupBackToMenu = true;
    unload_form(*this);
}

void Stlp::cmd_Refer_Click() {
    int16_t rc = Get_User_File(1);
    if (rc == 0) STLP_Set_File_Info();
    else if (rc != 1) {
        menu_message(kMsgSystemError);
        fail();
    }
}

void Stlp::STLP_Exec() {
    SetHourglass();
    struct Pointer {
        ~Pointer() { SetDefaultPointer(); }
    } pointer;
    const int16_t kind = type;
    if (lib::setup::Check_Setuped_Localp(kind) != 0) {
        int32_t answer = setup::AskYesNoCancel(
            "Localy Supplied Parts File is already setuped.\rDo you want to setup additional data?",
            to_ansi(windowTitle()));
        if (answer == plat::kIdYes) lib::setup::Init_Setuped_Localp(0, kind);
        else if (answer == plat::kIdNo) lib::setup::Init_Setuped_Localp(1, kind);
        else return;
    }
    for (;;) {
        std::string source = to_ansi(lbl_FileName->text());
        int16_t rc = lib::setup::Setup_Localp(kind, source.c_str());
        if (rc == kMsgTooManyParts || rc == kBadRecord) {
            // Refused, nothing lost: the set stays as it was and the clerk
            // can choose another file.
            Beep();
            menu_message(rc == kBadRecord ? kMsgBadRecord : rc);
            return;
        }
        if (rc != 0) {
            menu_message(kMsgSystemError);
            fail();
            return;
        }
        int32_t answer = plat::message_box("Do you have next data ?", to_ansi(windowTitle()),
                                           plat::kMbYesNo | plat::kMbIconQuestion);
        if (answer != plat::kIdYes) break;
        int16_t got = Get_User_File(static_cast<int16_t>(kind + 1));
        // A further file always goes into the set of the run.
        type = kind;
        if (got == 1) return;
        if (got != 0) {
            menu_message(kMsgSystemError);
            fail();
            return;
        }
        STLP_Set_File_Info();
        lib::setup::Init_Setuped_Localp(0, kind);
    }
    cmd_Refer->setEnabled(false);
    cmd_Exec->setEnabled(false);
    cmd_Clear->setEnabled(false);
    if (kind == 3) {
        set_height(kLargeHeight, true);
        frm_ImgType->show();
        if (lib::setup::Localp3_SetImageFile(image_control_->hwnd()) != 0) {
            menu_message(kMsgSystemError);
            return;
        }
    }
    Beep();
    menu_message(kMsgDone);
    cmd_Exit->setFocus();
}

void Stlp::cmd_ImgCopy_Click() {
    SetHourglass();
    cmd_Exec->setEnabled(false);
    lib::setup::Localp3_CopyImageFile(image_control_->hwnd(), file_control_->hwnd(), dir_path.c_str());
    SetDefaultPointer();
}

PX_FORM(Stlp);

}  // namespace px
