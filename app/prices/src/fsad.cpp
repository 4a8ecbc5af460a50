#include "prices/fsad.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/errors.h"
#include "platform/files.h"
#include "prices/fields.h"
#include "prices/prices_entries.h"
#include "prices/save_data.h"
#include "shell/list_lines.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/price_export_handover.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

namespace lp = lib::prices;
namespace sd = save_data;

constexpr int16_t kMsgBlankPart = 124;
constexpr int16_t kMsgGuide = 161;
constexpr int16_t kMsgSaving = 702;
constexpr int16_t kMsgSaved = 886;
constexpr int16_t kMsgListFull = 900;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathSize = 80;
const int kBoxLength[3] = {5, 5, 2};

QLabel* value_label(QWidget* parent, const char* name, const QFont& font) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFont(font);
    return l;
}

}  // namespace

Fsad::Fsad() : Form(kName) {
    resize(900, 720);
    QFont courier = oem_font(11);
    auto* layout = new QVBoxLayout(this);
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    lbl_title->setFont(QFont("Times New Roman", 16, QFont::Bold));
    layout->addWidget(lbl_title);
    for (size_t i = 0; i < lbl_Fsad.size(); ++i) {
        if (i == 10) continue;
        lbl_Fsad[i] = new QLabel(this);
        lbl_Fsad[i]->setObjectName(QString("lbl_Fsad_%1").arg(i));
    }
    lbl_Fsad[8]->setText("-");
    lbl_Fsad[9]->setText("-");

    auto* head = new QHBoxLayout;
    fra_SaveFile = new QGroupBox(this);
    fra_SaveFile->setObjectName("fra_SaveFile");
    auto* sf = new QHBoxLayout(fra_SaveFile);
    lbl_FileID = value_label(fra_SaveFile, "lbl_FileID", courier);
    sf->addWidget(lbl_Fsad[0]);
    sf->addWidget(lbl_FileID);
    head->addWidget(fra_SaveFile, 0, Qt::AlignTop);
    fra_Vehicle = new QGroupBox(this);
    fra_Vehicle->setObjectName("fra_Vehicle");
    auto* veh = new QGridLayout(fra_Vehicle);
    lbl_Vin = value_label(fra_Vehicle, "lbl_Vin", courier);
    lbl_Catalog[0] = value_label(fra_Vehicle, "lbl_Catalog_0", courier);
    lbl_Catalog[1] = value_label(fra_Vehicle, "lbl_Catalog_1", courier);
    lbl_Model = value_label(fra_Vehicle, "lbl_Model", courier);
    lbl_FrameModel = value_label(fra_Vehicle, "lbl_FrameModel", courier);
    lbl_ProdDate = value_label(fra_Vehicle, "lbl_ProdDate", courier);
    lbl_ColorCode = value_label(fra_Vehicle, "lbl_ColorCode", courier);
    lbl_TrimCode = value_label(fra_Vehicle, "lbl_TrimCode", courier);
    lbl_Note = value_label(fra_Vehicle, "lbl_Note", courier);
    veh->addWidget(lbl_Fsad[1], 0, 0);
    veh->addWidget(lbl_Vin, 0, 1);
    veh->addWidget(lbl_Fsad[2], 1, 0);
    veh->addWidget(lbl_Catalog[0], 1, 1);
    veh->addWidget(lbl_Catalog[1], 1, 2);
    veh->addWidget(lbl_Fsad[3], 2, 0);
    veh->addWidget(lbl_Model, 2, 1);
    veh->addWidget(lbl_FrameModel, 2, 2);
    veh->addWidget(lbl_Fsad[5], 3, 0);
    veh->addWidget(lbl_ProdDate, 3, 1);
    veh->addWidget(lbl_Fsad[6], 4, 0);
    veh->addWidget(lbl_ColorCode, 4, 1);
    veh->addWidget(lbl_Fsad[7], 5, 0);
    veh->addWidget(lbl_TrimCode, 5, 1);
    veh->addWidget(lbl_Fsad[4], 6, 0);
    veh->addWidget(lbl_Note, 6, 1, 1, 2);
    head->addWidget(fra_Vehicle, 1);
    layout->addLayout(head);

    auto* cols = new QHBoxLayout;
    cols->addWidget(lbl_Fsad[11]);
    cols->addWidget(lbl_Fsad[12]);
    cols->addStretch(1);
    lbl_Count = value_label(this, "lbl_Count", courier);
    cols->addWidget(lbl_Count);
    layout->addLayout(cols);
    lst_PartNumber = new QListWidget(this);
    lst_PartNumber->setObjectName("lst_PartNumber");
    lst_PartNumber->setFont(courier);
    lst_PartNumber->setSelectionMode(QAbstractItemView::MultiSelection);
    lst_PartNumber->installEventFilter(this);
    on_line_double_click(*this, lst_PartNumber, "lst_PartNumber_DblClick",
                         [this](int row) { list_double_click(row); });
    layout->addWidget(lst_PartNumber, 1);

    auto* entry = new QHBoxLayout;
    lbl_No = new QLabel(this);
    lbl_PNumber = new QLabel(this);
    lbl_Qty = new QLabel(this);
    entry->addWidget(lbl_No);
    entry->addWidget(lbl_PNumber);
    for (int i = 0; i < 3; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("txt_PNumber_%1").arg(i));
        box->setFont(courier);
        limit_to_field(box, kBoxLength[i]);
        box->setFixedWidth(QFontMetrics(courier).horizontalAdvance(QString(kBoxLength[i] + 1, 'W')) + 12);
        box->installEventFilter(this);
        txt_PNumber[static_cast<size_t>(i)] = box;
        entry->addWidget(box);
        if (i < 2) entry->addWidget(lbl_Fsad[8 + static_cast<size_t>(i)]);
    }
    entry->addWidget(lbl_Qty);
    txt_Qty = new QLineEdit(this);
    txt_Qty->setObjectName("txt_Qty");
    txt_Qty->setFont(courier);
    txt_Qty->setMaxLength(2);
    txt_Qty->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), txt_Qty));
    txt_Qty->setFixedWidth(QFontMetrics(courier).horizontalAdvance("WWW") + 12);
    txt_Qty->installEventFilter(this);
    entry->addWidget(txt_Qty);
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString("cmd_AddDel_%1").arg(i));
        b->setFocusPolicy(Qt::StrongFocus);
        cmd_AddDel[static_cast<size_t>(i)] = b;
        entry->addWidget(b);
    }
    cmd_AddDel[0]->setText(QString::fromUtf8("\u2193"));
    connect(cmd_AddDel[0], &QPushButton::clicked, this, [this] { run("cmd_AddDel_Click", [this] { enter_line(false); }); });
    connect(cmd_AddDel[1], &QPushButton::clicked, this, [this] {
        run("cmd_AddDel_Click", [this] {
            DispMsg(kMsgGuide, lbl_Msg);
            FSAD_Delete_Lines();
            lst_PartNumber->setFocus();
        });
    });
    entry->addStretch(1);
    layout->addLayout(entry);
    layout->addWidget(make_message_line());
    layout->addWidget(make_key_bar({1, 3, 4, 6, 11, 12}));
}

void Fsad::on_load() {
    SetHourglass();
    FsadEditLine = 0;
    FsadLoadError = 0;
    FSAD_Set_Caption();
    CenterForm(*this);
    try {
        load_list();
    } catch (const RuntimeError& e) {
        FsadLoadError = -1;
        WriteErrorLog("PXFSAD", "Form_Load", "", e.number(), 0, 0);
    }
    SetDefaultPointer();
}

void Fsad::load_list() {
    int16_t save_no = 0;
    prices::FixedString path(kPathSize);
    if (lp::fsad_check_flno(&save_no, path.vb()) != 0) {
        FsadLoadError = -1;
        return;
    }
    FsadSaveFile = prices::rtrim(path.text());
    prices::FixedString from(4), to(4), car(20);
    if (lp::fsad_get_shamei(save_no, from.vb(), to.vb(), car.vb()) != 0) {
        FsadLoadError = -1;
        return;
    }
    std::string bytes;
    if (int32_t rc = prices::read_file(FsadSaveFile, &bytes); rc != 0) throw RuntimeError(rc, "");
    std::vector<sd::Part> parts;
    if (int32_t rc = sd::parse(bytes, &FsadHeader, &parts); rc != 0) throw RuntimeError(rc, "");
    const std::string& h = FsadHeader;
    auto f = [&](size_t at, size_t n) { return prices::shown(h.substr(at, n)); };
    auto blanked = [](const std::string& s) {
        std::string t = s;
        for (char& c : t)
            if (c == '\0') c = ' ';
        return prices::shown(t);
    };
    lbl_FileID->setText(QString("%1").arg(save_no, 4, 10, QChar('0')));
    lbl_Vin->setText(f(sd::kVin, sd::kVinSize));
    lbl_Model->setText(f(sd::kModel, sd::kModelSize));
    lbl_Catalog[0]->setText(f(sd::kCatalog, sd::kCatalogSize));
    lbl_ColorCode->setText(f(sd::kColor, sd::kColorSize));
    lbl_TrimCode->setText(f(sd::kTrim, sd::kTrimSize));
    lbl_Note->setText(f(sd::kNote, sd::kNoteSize));
    lbl_Catalog[1]->setText("(" + blanked(from.bytes()) + "-" + blanked(to.bytes()) + " " + blanked(car.bytes()) + ")");
    lbl_FrameModel->setText("(" + f(sd::kFrame, sd::kFrameSize) + ")");
    lbl_ProdDate->setText(f(sd::kProdDate, 4) + "-" + f(sd::kProdDate + 4, 2));
    lst_PartNumber->clear();
    int i = 0;
    for (const sd::Part& p : parts) {
        if (++i > sd::kMaxLines) break;
        FSAD_Set_Line(static_cast<int16_t>(i), p.part_no, p.qty);
    }
}

void Fsad::on_activate() {
    if (FsadLoadError == -1) {
        FsadLoadError = 0;
        FSAD_Close(-1);
        return;
    }
    lst_PartNumber->setFocus();
    lbl_Count->setText(QString::number(lst_PartNumber->count()));
    txt_PNumber[0]->setFocus();
}

void Fsad::FSAD_Set_Caption() {
    QString title = prices::caption(3100, 31);
    setWindowTitle(title);
    lbl_title->setText(title);
    const int label_texts[8][3] = {{0, 3101, 13}, {1, 3102, 20}, {2, 3103, 20}, {3, 3104, 22},
                                   {5, 3105, 20}, {6, 3106, 20}, {7, 3107, 20}, {4, 3108, 20}};
    for (const auto& t : label_texts) lbl_Fsad[static_cast<size_t>(t[0])]->setText(prices::caption(t[1], t[2]));
    lbl_No->setText(prices::caption(3109, 3));
    lbl_PNumber->setText(prices::caption(3110, 13));
    lbl_Fsad[11]->setText(lbl_PNumber->text());
    lbl_Qty->setText(prices::caption(3111, 5));
    lbl_Fsad[12]->setText(lbl_Qty->text());
    fra_SaveFile->setTitle(prices::caption(3112, 33));
    fra_Vehicle->setTitle(prices::caption(3113, 20));
    cmd_AddDel[1]->setText(prices::caption(403, 6));
    const int keys[6][2] = {{1, 200}, {3, 202}, {4, 203}, {6, 205}, {11, 215}, {12, 216}};
    for (const auto& k : keys) cmd_PF(k[0])->setText(prices::caption(k[1], 9));
    DispMsg(kMsgGuide, lbl_Msg);
}

void Fsad::FSAD_Set_Line(int16_t no, const std::string& part_no, const std::string& qty) {
    const int count = lst_PartNumber->count();
    // A line to change that is gone (or never was) takes the entry as a new
    // line instead of overwriting another one.
    if (FsadEditLine > count) FsadEditLine = 0;
    if (FsadEditLine == 0) {
        if (count >= sd::kMaxLines) {
            DispMsg(kMsgListFull, lbl_Msg);
            Beep();
            return;
        }
        if (no == 0) no = static_cast<int16_t>(count + 1);
        lst_PartNumber->addItem(prices::shown(sd::line(no, part_no, qty)));
    } else {
        lst_PartNumber->item(FsadEditLine - 1)->setText(prices::shown(sd::line(FsadEditLine, part_no, qty)));
        FsadEditLine = 0;
    }
    FSAD_Clear_Input();
}

void Fsad::FSAD_Get_Line() {
    std::string l = to_ansi(lst_PartNumber->item(FsadEditLine - 1)->text());
    sd::Part p = sd::part_of_line(l);
    txt_PNumber[0]->setText(prices::shown(p.part_no.substr(0, 5)));
    txt_PNumber[1]->setText(prices::shown(p.part_no.substr(5, 5)));
    txt_PNumber[2]->setText(prices::shown(p.part_no.substr(10, 2)));
    int q = sd::count_value(p.qty);
    txt_Qty->setText(QString("%1").arg(q < 0 ? 0 : q, 2, 10, QChar('0')));
    txt_PNumber[0]->setFocus();
}

void Fsad::FSAD_Check_Qty() {
    QString t = prices::trim(txt_Qty->text());
    if (t.isEmpty()) {
        txt_Qty->setText("01");
        return;
    }
    txt_Qty->setText(QString("%1").arg(t.toInt() % 100, 2, 10, QChar('0')));
}

void Fsad::FSAD_Delete_Lines() {
    std::vector<int> rows;
    for (int i = 0; i < lst_PartNumber->count(); ++i)
        if (lst_PartNumber->item(i)->isSelected()) rows.push_back(i);
    if (rows.empty()) return;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) delete lst_PartNumber->takeItem(*it);
    for (int i = 0; i < lst_PartNumber->count(); ++i) {
        QListWidgetItem* item = lst_PartNumber->item(i);
        item->setText(prices::shown(sd::renumber(to_ansi(item->text()), i + 1)));
        item->setSelected(false);
    }
    // The line that was being changed may be gone or have moved.
    FsadEditLine = 0;
    FSAD_Clear_Input();
}

void Fsad::FSAD_Clear_Input() {
    for (QLineEdit* b : txt_PNumber) b->clear();
    txt_Qty->clear();
}

void Fsad::enter_line(bool from_qty) {
    if (!from_qty) DispMsg(kMsgGuide, lbl_Msg);
    std::string joined = to_ansi(txt_PNumber[0]->text() + txt_PNumber[1]->text() + txt_PNumber[2]->text());
    std::string part_no = prices::fixed(joined, 12);
    if (prices::trim(part_no).empty()) {
        DispMsg(kMsgBlankPart, lbl_Msg);
        return;
    }
    FSAD_Check_Qty();
    FSAD_Set_Line(0, part_no, to_ansi(txt_Qty->text()));
    if (from_qty) txt_PNumber[0]->setFocus();
    else lst_PartNumber->setFocus();
}

bool Fsad::on_key_down(int key_code) {
    if (key_code == kKeyEnter) {
        QWidget* w = focusWidget();
        if (w == txt_Qty) {
            enter_line(true);
            return true;
        }
        for (int i = 0; i < 3; ++i)
            if (w == txt_PNumber[static_cast<size_t>(i)]) {
                if (i < 2) txt_PNumber[static_cast<size_t>(i + 1)]->setFocus();
                else txt_Qty->setFocus();
                return true;
            }
        return false;
    }
    for (int n : {1, 3, 4, 6, 11, 12})
        if (key_code == key_f(n)) pf_click(n);
    return false;
}

void Fsad::on_button_focus(QPushButton* button, bool got) {
    if (button == cmd_AddDel[0] || button == cmd_AddDel[1]) paint_button(button, got);
}

bool Fsad::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lst_PartNumber && event->type() == QEvent::FocusIn)
        lbl_Count->setText(QString::number(lst_PartNumber->count()));
    if (event->type() == QEvent::KeyRelease) {
        for (int i = 0; i < 3; ++i) {
            QLineEdit* box = txt_PNumber[static_cast<size_t>(i)];
            if (watched != box || !box->hasFocus()) continue;
            const int k = static_cast<QKeyEvent*>(event)->key();
            bool counts = (k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z) ||
                          k == Qt::Key_Backspace || k == Qt::Key_Left ||
                          (k == Qt::Key_Right && !prices::trim(box->text()).isEmpty());
            if (!counts) break;
            const int at = box->cursorPosition();
            auto go = [&](int to, int caret) {
                txt_PNumber[static_cast<size_t>(to)]->setFocus();
                txt_PNumber[static_cast<size_t>(to)]->setCursorPosition(caret);
            };
            if (i == 0 && at == kBoxLength[0]) go(1, 0);
            else if (i == 1 && at == 0) go(0, kBoxLength[0]);
            else if (i == 1 && at == kBoxLength[1]) go(2, 0);
            else if (i == 2 && at == 0) go(1, kBoxLength[1]);
            break;
        }
    }
    return Form::eventFilter(watched, event);
}

void Fsad::list_double_click(int row) {
    DispMsg(kMsgGuide, lbl_Msg);
    if (row < 0 || row >= lst_PartNumber->count()) return;
    FsadEditLine = static_cast<int16_t>(row + 1);
    FSAD_Get_Line();
}

void Fsad::pf_click(int index) {
    DispMsg(kMsgGuide, lbl_Msg);
    switch (index) {
        case 1: ShowHelp(*this); break;
        case 3:
            ScrBack();
            unload_form(*this);
            break;
        case 4:
            ScrBackToMenu();
            unload_form(*this);
            break;
        case 6: HardCopy(*this, lbl_Msg); break;
        case 11: Fsad_SavePNumber(); break;
        case 12: FSAD_Exec_Intf(); break;
        default: break;
    }
}

bool Fsad::save_failed(const std::string& step, int32_t number) {
    WriteErrorLog("PXFsad", "Fsad_SavePNumber", step, number, 0, 0);
    FSAD_Close(-1);
    return true;
}

void Fsad::Fsad_SavePNumber() {
    DispMsg(kMsgSaving, lbl_Msg);
    SetHourglass();
    prices::FixedString work(kPathSize);
    lp::fsad_get_flname(work.vb());
    const std::string work_path = prices::rtrim(work.text());
    std::vector<sd::Part> parts;
    for (int i = 0; i < lst_PartNumber->count(); ++i)
        parts.push_back(sd::part_of_line(to_ansi(lst_PartNumber->item(i)->text())));
    const std::string bytes = sd::build(FsadHeader, parts);
    // The work copy is written whole (an earlier one is replaced), then the
    // save data file is replaced by it in one step: a full disk or a crash
    // leaves the old list as it was.
    std::FILE* f = plat::fopen(work_path, "wb");
    if (f == nullptr) {
        save_failed("fopen", plat::last_error());
        return;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0) written = false;
    if (!written) {
        save_failed("fwrite", 61);
        return;
    }
    int32_t err = 0;
    if (lp::atomic_write_file(FsadSaveFile.c_str(), bytes.data(), bytes.size(), &err) != 0) {
        save_failed("CopyFile", 0);
        return;
    }
    plat::delete_file(work_path);
    DispMsg(kMsgSaved, lbl_Msg);
    Beep();
    SetDefaultPointer();
}

void Fsad::FSAD_Exec_Intf() {
    const int n = lst_PartNumber->count();
    if (n == 0) return;
    PriceExportHandover& h = price_export_handover();
    h.ExportCsvHeader = sd::csv_header(FsadHeader, n);
    h.ExportSaveHeader = sd::save_header(FsadHeader, n);
    h.ExportLines.clear();
    for (int i = 0; i < n; ++i) h.ExportLines.push_back(to_ansi(lst_PartNumber->item(i)->text()));
    h.ExportSource = 0;
    h.ExportFailed = 0;
    if (!form_exists("Intf")) return;
    show_modal(load_form("Intf"));
    // The dialog has reported the failure; the clerk's lines, not yet saved,
    // stay on the screen.
    if (h.ExportFailed == -1 && loaded()) DispMsg(kMsgSystemError, lbl_Msg);
}

void Fsad::FSAD_Close(int code) {
    SetDefaultPointer();
    if (code == -1) {
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
    }
    ScrBackToMenu();
    unload_form(*this);
}

PX_FORM(Fsad);

}  // namespace px
