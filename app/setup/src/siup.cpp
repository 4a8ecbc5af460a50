#include "setup/siup.h"

#include <fstream>

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/drives.h"
#include "pxall/env.h"
#include "setup/drive_list.h"
#include "setup/setup_entries.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/listbox.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 152;
constexpr int16_t kMsgWritten = 402;
constexpr int16_t kMsgNoTexts = 870;
constexpr int16_t kMsgTooLong = 869;
constexpr int16_t kMsgSystemError = 999;
constexpr std::array<int, 4> kLangIndexes = {1, 3, 4, 5};
constexpr std::array<int, 4> kLangTexts = {2522, 2523, 2524, 2525};
constexpr std::array<const char*, 4> kAreaNames = {"EU:", "GR:", "US:", "JP:"};

// Selects the button of that id, or none when the group has no such button.
void select(QButtonGroup* group, int id) {
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}

std::string mid(const std::string& line, size_t from, size_t n) { return line.size() > from ? line.substr(from, n) : ""; }

VbString vb(std::string& s) { return VbString{s.data(), static_cast<int32_t>(s.size())}; }

}  // namespace

Siup::Siup() : Form(kName) {
    auto* layout = make_frame({.size = {820, 640}, .keys = {1, 3, 4, 6, 10}, .bars = FrameSpec::Bars::KeysThenMessage});
    for (int i = 0; i < 9; ++i) {
        frm_siup[i] = new QGroupBox(this);
        frm_siup[i]->setObjectName(QString("frm_siup_%1").arg(i));
    }
    country_group = new QButtonGroup(this);
    data_lang_group = new QButtonGroup(this);
    lang_group = new QButtonGroup(this);
    auto* areas = new QVBoxLayout(frm_siup[0]);
    for (int i = 0; i < 4; ++i) {
        opt_Country[i] = new QRadioButton(frm_siup[0]);
        opt_Country[i]->setObjectName(QString("opt_Country_%1").arg(i));
        country_group->addButton(opt_Country[i], i);
        areas->addWidget(opt_Country[i]);
    }
    auto* data = new QVBoxLayout(frm_siup[1]);
    auto* menu = new QVBoxLayout(frm_siup[2]);
    for (int n : kLangIndexes) {
        opt_DataLang[n] = new QRadioButton(frm_siup[1]);
        opt_DataLang[n]->setObjectName(QString("opt_DataLang_%1").arg(n));
        data_lang_group->addButton(opt_DataLang[n], n);
        data->addWidget(opt_DataLang[n]);
    }
    for (int n : {1, 3, 4, 5, 9}) {
        opt_Lang[n] = new QRadioButton(frm_siup[2]);
        opt_Lang[n]->setObjectName(QString("opt_Lang_%1").arg(n));
        lang_group->addButton(opt_Lang[n], n);
        menu->addWidget(opt_Lang[n]);
    }
    lbl_Index[0] = new QLabel(frm_siup[3]);
    lbl_Index[0]->setObjectName("lbl_Index_0");
    (new QVBoxLayout(frm_siup[3]))->addWidget(lbl_Index[0]);
    auto* drives = new QHBoxLayout(frm_siup[8]);
    Drv_Price = new QComboBox(frm_siup[4]);
    Drv_Price->setObjectName("Drv_Price");
    Drv_Localp = new QComboBox(frm_siup[5]);
    Drv_Localp->setObjectName("Drv_Localp");
    setup::fill_drive_list(Drv_Price);
    setup::fill_drive_list(Drv_Localp);
    (new QVBoxLayout(frm_siup[4]))->addWidget(Drv_Price);
    (new QVBoxLayout(frm_siup[5]))->addWidget(Drv_Localp);
    drives->addWidget(frm_siup[4]);
    drives->addWidget(frm_siup[5]);

    auto* programs = new QGridLayout(frm_siup[6]);
    lbl_SubIndex[0] = new QLabel(frm_siup[6]);
    lst_IntfP = new QListWidget(frm_siup[6]);
    lst_IntfP->setObjectName("lst_IntfP");
    cmd_Add1 = new QPushButton(frm_siup[6]);
    cmd_Add1->setObjectName("cmd_Add1");
    cmd_Del1 = new QPushButton(frm_siup[6]);
    cmd_Del1->setObjectName("cmd_Del1");
    programs->addWidget(lbl_SubIndex[0], 0, 0, 1, 2);
    programs->addWidget(lst_IntfP, 1, 0, 2, 1);
    programs->addWidget(cmd_Add1, 1, 1);
    programs->addWidget(cmd_Del1, 2, 1);
    auto* saved = new QGridLayout(frm_siup[7]);
    lbl_SubIndex[1] = new QLabel(frm_siup[7]);
    txt_IntfF = new QLineEdit(frm_siup[7]);
    txt_IntfF->setObjectName("txt_IntfF");
    cmd_Add2 = new QPushButton(frm_siup[7]);
    cmd_Add2->setObjectName("cmd_Add2");
    cmd_Del2 = new QPushButton(frm_siup[7]);
    cmd_Del2->setObjectName("cmd_Del2");
    saved->addWidget(lbl_SubIndex[1], 0, 0, 1, 3);
    saved->addWidget(txt_IntfF, 1, 0);
    saved->addWidget(cmd_Add2, 1, 1);
    saved->addWidget(cmd_Del2, 1, 2);

    auto* grid = new QGridLayout();
    grid->addWidget(frm_siup[0], 0, 0);
    grid->addWidget(frm_siup[1], 0, 1);
    grid->addWidget(frm_siup[2], 0, 2);
    grid->addWidget(frm_siup[3], 1, 0, 1, 2);
    grid->addWidget(frm_siup[8], 1, 2);
    grid->addWidget(frm_siup[6], 2, 0, 1, 3);
    grid->addWidget(frm_siup[7], 3, 0, 1, 3);
    layout->addLayout(grid, 1);

    connect(cmd_Add1, &QPushButton::clicked, this, [this] { run("cmd_Add1_Click", [&] { cmd_Add1_Click(); }); });
    connect(cmd_Del1, &QPushButton::clicked, this, [this] { run("cmd_Del1_Click", [&] { cmd_Del1_Click(); }); });
    connect(cmd_Add2, &QPushButton::clicked, this, [this] { run("cmd_Add2_Click", [&] { cmd_Add2_Click(); }); });
    connect(cmd_Del2, &QPushButton::clicked, this, [this] { run("cmd_Del2_Click", [&] { cmd_Del2_Click(); }); });
}

int Siup::selected(const QButtonGroup* group) {
    int id = group->checkedId();
    return id < 0 ? 0 : id;
}

void Siup::on_load() {
    QString cwd = QDir::currentPath();
    if (cwd.isEmpty() || cwd.toLocal8Bit().size() > 256) {
        WriteErrorLog("PXSIUP", "Form_Load", "GetCurrentDirectory", 100, 0, 0);
        load_state = 2;
        return;
    }
    saved_directory_ = cwd.toStdString();
    setWindowTitle(ScrText(2500, 40));
    frm_siup[0]->setTitle(ScrText(2516, 30));
    frm_siup[1]->setTitle(ScrText(2521, 30));
    frm_siup[2]->setTitle(ScrText(2527, 30));
    frm_siup[3]->setTitle(ScrText(2528, 40));
    frm_siup[6]->setTitle(ScrText(2529, 41));
    frm_siup[7]->setTitle(frm_siup[6]->title());
    frm_siup[8]->setTitle(ScrText(2532, 44));
    frm_siup[4]->setTitle(ScrText(2533, 38));
    frm_siup[5]->setTitle(ScrText(2534, 38));
    lbl_SubIndex[0]->setText(ScrText(2530, 50));
    lbl_SubIndex[1]->setText(ScrText(2531, 46));
    for (int i = 0; i < 4; ++i) opt_Country[i]->setText(ScrText(2517 + i, 10));
    for (size_t k = 0; k < kLangIndexes.size(); ++k) {
        opt_DataLang[kLangIndexes[k]]->setText(ScrText(kLangTexts[k], 10));
        opt_Lang[kLangIndexes[k]]->setText(ScrText(kLangTexts[k], 10));
    }
    opt_Lang[9]->setText(ScrText(2526, 10));
    cmd_Add1->setText(ScrText(2535, 7));
    cmd_Add2->setText(ScrText(2535, 7));
    cmd_Del1->setText(ScrText(2536, 7));
    cmd_Del2->setText(ScrText(2536, 7));
    DispMsg(kMsgGuide, lbl_Msg);
    cmd_PF(1)->setText(ScrText(200, 8));
    cmd_PF(3)->setText(ScrText(202, 8));
    cmd_PF(4)->setText(ScrText(203, 8));
    cmd_PF(6)->setText(ScrText(205, 8));
    cmd_PF(10)->setText(ScrText(209, 9));
    int32_t rc = SIUP_Read_Pxdrom();
    if (rc != 0) {
        WriteErrorLog("PXSIUP", "Form_Load", "SIUP_Read_Pxdrom", rc, 0, 0);
        load_state = 2;
    }
}

void Siup::on_activate() {
    if (load_state != 2) return;
    // Reported once: the error dialog's closing activates the screen again.
    load_state = 0;
    system_error();
}

void Siup::on_unload() {
    if (!saved_directory_.empty()) QDir::setCurrent(QString::fromStdString(saved_directory_));
}

void Siup::system_error() {
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    ScrBackToMenu();
    unload_form(*this);
}

bool Siup::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        DispMsg(kMsgGuide, lbl_Msg);
        ShowHelp(*this);
    } else if (key_code == key_f(3)) {
        ScrBack();
        unload_form(*this);
    } else if (key_code == key_f(4)) {
        ScrBackToMenu();
        unload_form(*this);
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
        DispMsg(kMsgGuide, lbl_Msg);
    } else if (key_code == key_f(10)) {
        SIUP_Exec_PF10();
    }
    return false;
}

bool Siup::SIUP_Get_User_File(QString* path) {
    std::string dir(256, '\0');
    VbString s = vb(dir);
    lib::setup::VBGetPathName(1, &s);
    dir.resize(dir.find('\0') == std::string::npos ? dir.size() : dir.find('\0'));
    FileChoice choice;
    choice.filter = "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*";
    auto host = plat::host_path(dir);
    choice.initial_dir = host ? QString::fromStdString(*host) : QString();
    QString chosen = ChooseFile(this, choice);
    if (chosen.isEmpty()) return false;
    // Stored beside the other paths of the environment file, in their form.
    *path = QString::fromStdString(plat::windows_path(chosen.toStdString()));
    return true;
}

int32_t Siup::SIUP_Read_Pxdrom() {
    auto host = plat::host_path("PXDROM.SYS");
    std::ifstream in(host ? *host : std::string(), std::ios::binary);
    if (!host || !in) {
        WriteErrorLog("PXSIUP", "SIUP_Read_Pxdrom", "OnErrorTrap", kErrFileNotFound, 0, 0);
        return kErrFileNotFound;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // The start-up reads nothing of a line too long for it, nor of the
        // lines after it: they are not shown as in effect either.
        if (!pxall::env_line_fits(line)) break;
        if (line.compare(0, 8, "ECMSTALL") == 0) {
            for (int i = 0; i < 4; ++i) opt_Country[i]->setEnabled(line.find(kAreaNames[i]) != std::string::npos);
        } else if (line.compare(0, 8, "CRNTAREA") == 0) {
            std::string v = mid(line, 9, 2);
            select(country_group, v == "EU" ? 0 : v == "GR" ? 1 : v == "US" ? 2 : 3);
        } else if (line.compare(0, 8, "LANGUAGE") == 0) {
            std::string v = mid(line, 9, 6);
            // A language the screen has no button for selects none, so that
            // F10 keeps it as stored.
            select(data_lang_group, v == "ENGLIS" ? 1 : v == "FRENCH" ? 3 : v == "GERMAN" ? 4 : v == "SPANIS" ? 5 : 0);
            int16_t number = 0;
            std::string name(12, ' ');
            VbString s = vb(name);
            QString caption;
            if (lib::setup::VBGet_Latest_Lang(&number, &s) == 0)
                for (int n : kLangIndexes)
                    if (n == number) caption = opt_DataLang[n]->text();
            lbl_Index[0]->setText(caption);
        } else if (line.compare(0, 8, "MENULANG") == 0) {
            std::string v = mid(line, 9, 6);
            select(lang_group, v == "ENGLIS"   ? 1
                               : v == "FRENCH" ? 3
                               : v == "GERMAN" ? 4
                               : v == "SPANIS" ? 5
                               : v == "OTHER"  ? 9
                                               : 0);
        } else if (line.compare(0, 5, "PRICE") == 0) {
            if (line.size() > 6) setup::set_drive(Drv_Price, line[6]);
        } else if (line.compare(0, 6, "LOCALP") == 0) {
            if (line.size() > 7) setup::set_drive(Drv_Localp, line[7]);
        } else if (line.compare(0, 8, "EXPPFSAD") == 0) {
            txt_IntfF->setText(from_ansi(mid(line, 9, 256)));
        } else if (line.compare(0, 8, "EXPPPNHO") == 0) {
            lst_IntfP->clear();
            std::string rest = mid(line, 9, std::string::npos);
            size_t comma;
            while ((comma = rest.find(',')) != std::string::npos && lst_IntfP->count() < kMaxPrograms) {
                lst_IntfP->addItem(from_ansi(rest.substr(0, comma)));
                rest = rest.substr(comma + 1);
            }
            if (lst_IntfP->count() < kMaxPrograms && rest.find(',') == std::string::npos && rest.size() > 1)
                lst_IntfP->addItem(from_ansi(rest));
        }
    }
    return 0;
}

void Siup::cmd_Add1_Click() {
    QString path;
    if (SIUP_Get_User_File(&path) && lst_IntfP->count() < kMaxPrograms) lst_IntfP->addItem(path);
}

void Siup::cmd_Del1_Click() {
    int row = lst_IntfP->currentRow();
    if (row >= 0 && !lst_IntfP->item(row)->text().isEmpty()) remove_list_line(lst_IntfP, row);
}

void Siup::cmd_Add2_Click() {
    QString path;
    if (SIUP_Get_User_File(&path)) txt_IntfF->setText(path);
}

void Siup::cmd_Del2_Click() { txt_IntfF->clear(); }

void Siup::SIUP_Exec_PF10() {
    auto fail = [this](const char* step, int32_t n) {
        WriteErrorLog("PXSIUP", "SIUP_Exec_PF10", step, n, 0, 0);
        system_error();
    };
    if (!QDir::setCurrent(QString::fromStdString(saved_directory_))) return fail("SetCurrentDirectory", 100);
    int menu_lang = selected(lang_group);
    // A menu language the screen has no button for stays as stored: nothing
    // is checked or staged for it.
    if (menu_lang != 0) {
        if (lib::setup::Check_ScrMsgFile(menu_lang) != 0) {
            DispMsg(kMsgNoTexts, lbl_Msg);
            Beep();
            return;
        }
    }
    auto stage = [](int16_t kind, std::string value) {
        VbString s{value.data(), static_cast<int32_t>(value.size())};
        lib::setup::VBGet_Setup_Data(kind, &s);
    };
    if (menu_lang != 0) stage(2, std::to_string(menu_lang));
    int area = country_group->checkedId();
    if (area >= 0 && opt_Country[area]->isEnabled()) stage(0, std::to_string(area));
    int data_lang = selected(data_lang_group);
    if (data_lang != 0) stage(1, std::to_string(data_lang));
    stage(3, to_ansi(Drv_Price->currentText().toUpper()));
    stage(4, to_ansi(Drv_Localp->currentText().toUpper()));
    std::string joined;
    for (int k = 0; k < lst_IntfP->count() && k < kMaxPrograms; ++k)
        joined += (k ? "," : "") + to_ansi(lst_IntfP->item(k)->text());
    stage(5, joined);
    stage(6, to_ansi(txt_IntfF->text()));
    int16_t rc = lib::setup::Write_Initial_Data();
    if (rc == lib::setup::kSettingsLineTooLong) {
        // Nothing was written or kept: the choices stay on the screen.
        DispMsg(kMsgTooLong, lbl_Msg);
        Beep();
        return;
    }
    if (rc != 0) return fail("Write_Initial_Data", rc);
    DispMsg(kMsgWritten, lbl_Msg);
    lib::setup::Reload_ScrMsgFile();
    int32_t r = SIUP_Read_Pxdrom();
    if (r != 0) return fail("SIUP_Read_Pxdrom", r);
}

PX_FORM(Siup);

}  // namespace px
