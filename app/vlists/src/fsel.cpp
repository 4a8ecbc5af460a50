#include "vlists/fsel.h"

#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/codepage.h"
#include "shell/column_heads.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "vlists/list_entries.h"
#include "vlists/list_records.h"
#include "vlists/record_file.h"

namespace px {

namespace {

constexpr int16_t kMsgGuide = 130;
constexpr int16_t kMsgDeleted = 806;
constexpr int16_t kMsgInUse = 858;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathSize = 80;
constexpr int kEndBack = 3;
constexpr int kEndMenu = 4;
constexpr int kErrOverflow = 6;
constexpr int kMaxLines = 32767;

namespace sl = vlists::savelist;

// Screen text and width of the window caption and the seven headings.
struct Caption {
    int32_t no;
    int len;
};
constexpr Caption kHeadingTexts[Fsel::kHeadings] = {{3701, 3},  {3702, 8}, {3703, 16}, {3704, 15},
                                                    {3705, 30}, {3706, 8}, {3707, 8}};

// The list: a mouse press takes the line under the pointer, after the list
// has made it the highlighted one.
class PressList : public QListWidget {
public:
    explicit PressList(QWidget* parent) : QListWidget(parent) {}
    std::function<void()> on_press;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QListWidget::mousePressEvent(event);
        if (on_press) on_press();
    }
};

// Six characters in three pairs joined by `sep` ("&&/&&/&&").
QString pairs(std::string_view six, char sep) {
    QString s = vlists::shown_field(six);
    return s.mid(0, 2) + sep + s.mid(2, 2) + sep + s.mid(4, 2);
}

}  // namespace

Fsel::Fsel() : Form(kName) {
    auto* layout = make_frame({.keys = {1, 3, 4, 6}, .bars = FrameSpec::Bars::KeysThenMessage});
    lbl_title = new QLabel(this);
    lbl_title->setObjectName("lbl_title");
    lbl_title->setAlignment(Qt::AlignCenter);
    QFont title_font = lbl_title->font();
    title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
    title_font.setBold(true);
    lbl_title->setFont(title_font);
    layout->addWidget(lbl_title);

    // The headings stand over their columns of the fixed-pitch lines.
    const QFont courier = oem_font(12);
    const QFontMetrics fm(courier);
    auto* list = new PressList(this);
    lst_Fsel = list;
    lst_Fsel->setObjectName("lst_Fsel");
    lst_Fsel->setFont(courier);
    auto* heads = new QWidget(this);
    heads->setObjectName("fra_List");
    heads->setFixedHeight(fm.height() + 4);
    const int starts[kHeadings] = {0, 4, 12, 31, 49, 83, 93};
    for (int i = 0; i < kHeadings; ++i) {
        lbl_List[i] = new QLabel(heads);
        lbl_List[i]->setObjectName(QString("lbl_List_%1").arg(i));
        lbl_List[i]->move(list_cell_x(*lst_Fsel, starts[i]), 2);
    }
    layout->addWidget(heads);

    lst_Fsel->setSelectionMode(QAbstractItemView::SingleSelection);
    // A line of 101 characters whole, beside the scroll bar: no more, so
    // that the screen fits the display.
    lst_Fsel->setMinimumWidth(fm.horizontalAdvance(QString(101, ' ')) + 2 * lst_Fsel->frameWidth() +
                              lst_Fsel->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    lst_Fsel->setMinimumHeight(fm.height() * 16);
    layout->addWidget(lst_Fsel, 1);
    list->on_press = [this] { run("lst_Fsel_MouseDown", [this] { FSEL_Select_File(); }); };
}

int32_t Fsel::item_data(int line) const {
    QListWidgetItem* item = lst_Fsel->item(line);
    return item != nullptr ? item->data(Qt::UserRole).toInt() : 0;
}

void Fsel::on_load() {
    SetHourglass();
    QString title = ScrText(3700, 40).trimmed();
    setWindowTitle(title);
    lbl_title->setText(title);
    for (int i = 0; i < kHeadings; ++i) {
        lbl_List[i]->setText(ScrText(kHeadingTexts[i].no, kHeadingTexts[i].len).trimmed());
        lbl_List[i]->adjustSize();
    }
    DispMsg(kMsgGuide, lbl_Msg);
    FSEL_Set_PFKeys();
    FselLoadFailed = 0;
    int32_t status = 0;
    FSEL_SetSvList(status);
    if (status != 0) {
        WriteErrorLog("PXFSEL", "Form_Load", "FSEL_SetSvList", status, 0, 0);
        DispMsg(kMsgSystemError, lbl_Msg);
        FselLoadFailed = 1;
    }
    SetDefaultPointer();
}

void Fsel::FSEL_Set_PFKeys() {
    const int keys[] = {1, 3, 4, 6};
    const int32_t texts[] = {200, 202, 203, 205};
    for (int i = 0; i < 4; ++i) {
        cmd_PF(keys[i])->setText(ScrText(texts[i], 8).trimmed());
        cmd_PF(keys[i])->setVisible(true);
    }
}

QString Fsel::line_of(std::string_view r) {
    auto f = [&](size_t at, size_t len) { return vlists::shown_field(r.substr(at, len)); };
    return f(sl::kRun, sl::kRunSize) + "  " + f(sl::kSaveNo, sl::kSaveNoSize) + "    " + f(sl::kVin, sl::kVinSize) +
           "  " + f(sl::kFrame, sl::kFrameSize) + "   " + f(sl::kNotes, sl::kNotesSize) + "    " +
           pairs(r.substr(sl::kDate, sl::kDateSize), '/') + "  " + pairs(r.substr(sl::kTime, sl::kTimeSize), ':');
}

// A save number reads as a number when it holds digits only, with blanks
// around them allowed; anything else gives 0.
int32_t Fsel::save_number_of(std::string_view r) {
    std::string_view f = r.substr(sl::kSaveNo, sl::kSaveNoSize);
    size_t b = f.find_first_not_of(' ');
    if (b == std::string_view::npos) return 0;
    size_t e = f.find_last_not_of(' ');
    int32_t n = 0;
    for (size_t i = b; i <= e; ++i) {
        if (f[i] < '0' || f[i] > '9') return 0;
        n = n * 10 + (f[i] - '0');
    }
    return n;
}

void Fsel::FSEL_SetSvList(int32_t& status) {
    status = 0;
    try {
        std::string path(kPathSize, '\0');
        VbString str{path.data(), kPathSize};
        lib::vlists::fsel_get_filename(&str);
        FselListPath = vlists::path_of(path);
        vlists::RecordFile file(sl::kSize);
        if (int err = file.open(FselListPath); err != 0) {
            status = err;
            return;
        }
        if (file.count() > kMaxLines) {
            status = kErrOverflow;
            return;
        }
        for (size_t i = 0; i < file.count(); ++i) {
            std::string_view rec = file.record(i);
            auto* item = new QListWidgetItem(line_of(rec), lst_Fsel);
            item->setData(Qt::UserRole, save_number_of(rec));
        }
        lst_Fsel->setCurrentRow(-1);
        lst_Fsel->clearSelection();
    } catch (const RuntimeError& e) {
        status = e.number();
    }
}

void Fsel::FSEL_Select_File() {
    const auto chosen = lst_Fsel->selectedItems();
    if (chosen.isEmpty()) return;
    int32_t r = lib::vlists::fsel_select_file(static_cast<int16_t>(chosen.front()->data(Qt::UserRole).toInt()));
    if (r == 0) {
        unload_form(*this);
    } else if (r == 1 || r == 2) {
        DispMsg(r == 1 ? kMsgDeleted : kMsgInUse, lbl_Msg);
        Beep();
        lst_Fsel->setFocus();
    } else {
        DispMsg(kMsgSystemError, lbl_Msg);
        Beep();
        closing_ = true;
        ShowErrorDialog(*this);
        FSEL_Menu();
    }
}

void Fsel::on_activate() {
    if (closing_ || FselLoadFailed == 0) return;
    closing_ = true;
    ShowErrorDialog(*this);
    FSEL_Menu();
}

bool Fsel::on_key_down(int key_code) {
    if (key_code == key_f(1)) {
        if (cmd_PF(1)->isEnabled()) ShowHelp(*this);
    } else if (key_code == key_f(3)) {
        if (cmd_PF(3)->isEnabled()) FSEL_Back();
    } else if (key_code == key_f(4)) {
        FSEL_Menu();
    } else if (key_code == key_f(6)) {
        HardCopy(*this, lbl_Msg);
    } else if (key_code == kKeyEnter && focusWidget() == lst_Fsel) {
        FSEL_Select_File();
    } else {
        return false;
    }
    return true;
}

void Fsel::FSEL_Back() {
    lib::vlists::fsel_end_proc(kEndBack);
    unload_form(*this);
}

void Fsel::FSEL_Menu() {
    lib::vlists::fsel_end_proc(kEndMenu);
    unload_form(*this);
}

// The window's close button goes back to the main menu, as F4 does.
void Fsel::on_close_request() { FSEL_Menu(); }

PX_FORM(Fsel);

}  // namespace px
