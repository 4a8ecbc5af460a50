#include "search/lpps.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/controls.h"
#include "search/route_context.h"
#include "search/route_entries.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/picture_box.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/updown.h"
#include "shell/vehicle_header.h"

namespace px::search {

namespace {

constexpr int16_t kMsgGuide = 117;
constexpr int16_t kMsgOpening = 701;
constexpr int16_t kMsgPrinting = 707;
constexpr int16_t kMsgNoPageBefore = 801;
constexpr int16_t kMsgNoPageAfter = 802;
constexpr int16_t kMsgTooManyPicks = 811;
constexpr int16_t kMsgNothingPicked = 832;
constexpr int16_t kMsgPrinterFailed = 842;
constexpr int16_t kMsgNoPicture = 862;
constexpr int16_t kMsgPictureUnreadable = 863;

constexpr int16_t kPictureFound = 0;
constexpr int16_t kPictureMissing = 1;
constexpr int16_t kBeforeFirst = 11;
constexpr int16_t kAfterLast = 12;
constexpr int16_t kPicksFull = 6;
constexpr int32_t kPrinterFailure = 2000;

// Where the picture's frame stands before the first page is shown.
// The picture's frame inside its area: the title and headings stand above
// the area, so the frame starts at its top.
constexpr int kFrameLeft = 4, kFrameTop = 0;

}  // namespace

// The quantity box as the library reaches it through its handle.
class Lpps::QtyBox : public plat::Control {
public:
    explicit QtyBox(QLineEdit* box) : box_(box), handle_(plat::register_control(this)) {}
    ~QtyBox() override { plat::unregister_control(handle_); }
    int32_t hwnd() const { return handle_; }
    std::string text() const override { return to_ansi(box_->text()); }
    void set_text(const std::string& text) override { box_->setText(from_ansi(text)); }
    void set_focus() override { box_->setFocus(); }

private:
    QLineEdit* box_;
    int32_t handle_;
};

Lpps::Lpps() : SearchScreen(kName) {
    auto* layout = make_frame({.size = {1100, 720}, .keys = {1, 2, 3, 4, 6, 7, 8, 10, 11, 12}, .title = "lbl_Ttl_0", .title_centred = false});
    lbl_Ttl[0] = frame_title();
    for (int i = 1; i < 5; ++i) lbl_Ttl[i] = make_label(QString("lbl_Ttl_%1").arg(i).toLatin1().constData());
    lbl_Ttl[3]->hide();  // the screen gives it no text and no place

    auto* body = new QHBoxLayout;
    body->setSpacing(4);
    // The picture's area: the frame clips the picture at its right and
    // bottom; its right edge is at most the margin and the display width on.
    auto* area = new QWidget(this);
    area->setObjectName("fra_Picture");
    area->setFixedSize(kFrameLeft + kAreaWidth + 2, kAreaHeight + kFrameTop + 4);
    pic_Cotn = new QFrame(area);
    pic_Cotn->setObjectName("pic_Cotn");
    pic_Cotn->setGeometry(kFrameLeft, kFrameTop, kAreaWidth + 2, kAreaHeight + 2);
    pic_LclFig = new PictureBox(pic_Cotn);
    pic_LclFig->setObjectName("pic_LclFig");
    pic_LclFig->move(0, 0);
    auto* heads = new QHBoxLayout;
    lbl_FigNo = make_label("lbl_FigNo");
    lbl_FigName = make_label("lbl_FigName");
    lbl_NextEnd = make_label("lbl_NextEnd");
    heads->addWidget(lbl_Ttl[1]);
    heads->addWidget(lbl_FigNo);
    heads->addWidget(lbl_FigName, 1);
    heads->addWidget(lbl_NextEnd);
    auto* left = new QVBoxLayout;
    left->addLayout(heads);
    left->addWidget(area);
    left->addStretch(1);
    body->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* cols = new QHBoxLayout;
    cols->setSpacing(0);
    lbl_Ttl[2]->setFixedWidth(LineWidth(34));
    // The quantity's heading stands past what the display leaves the list;
    // it does not widen the screen.
    lbl_Ttl[4]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (int i : {2, 4}) {
        lbl_Ttl[i]->setFont(LineFont());
        cols->addWidget(lbl_Ttl[i], i == 4 ? 1 : 0);
    }
    right->addLayout(cols);
    lst_PartNo = make_line_list("lst_PartNo", true);
    // The part lines are 38 characters; what the display leaves beside the
    // picture shows 34 of them, the list scrolls for the rest.
    lst_PartNo->setMinimumWidth(LineWidth(34));
    lst_PartNo->viewport()->installEventFilter(this);
    lst_PartNo->installEventFilter(this);
    list_control_ = std::make_unique<ListBoxControl>(lst_PartNo);
    right->addWidget(lst_PartNo, 1);
    auto* qty = new QHBoxLayout;
    txt_Qty = new QLineEdit(this);
    txt_Qty->setObjectName("txt_Qty");
    txt_Qty->setMaxLength(2);
    txt_Qty->setFont(LineFont());
    txt_Qty->setFixedWidth(LineWidth(4) + 8);
    txt_Qty->installEventFilter(this);
    qty_control_ = std::make_unique<QtyBox>(txt_Qty);
    upd_Qty = new UpDown(this);
    upd_Qty->setObjectName("upd_Qty");
    upd_Qty->setFixedSize(20, txt_Qty->sizeHint().height());
    upd_Qty->on_up_click = [this] { run("upd_Qty_UpClick", [this] { step_quantity(1); }); };
    upd_Qty->on_down_click = [this] { run("upd_Qty_DownClick", [this] { step_quantity(-1); }); };
    qty->addStretch(1);
    qty->addWidget(txt_Qty);
    qty->addWidget(upd_Qty);
    right->addLayout(qty);
    body->addLayout(right, 1);
    layout->addLayout(body, 1);
}

Lpps::~Lpps() = default;

void Lpps::on_load() {
    Hourglass pointer;
    load_status_ = kLoadReady;
    ListBusy = 0;
    lib::VBLppsInit();
    const QString title = ScreenText(4000, 41);
    setWindowTitle(title.trimmed());
    lbl_Ttl[0]->setText(title);
    lbl_Ttl[1]->setText(ScreenText(4001, 9));
    lbl_Ttl[2]->setText(ScreenText(4002, 13));
    lbl_Ttl[4]->setText(ScreenText(4003, 5));
    if (lib::VBClearLcpselTmp() != 0) {
        msg(kMsgSystemError);
        load_status_ = kLoadFailed;
        return;
    }
    PageIndex = 0;
    int16_t status = 0;
    if (fetch(0, &status) != 0) {
        msg(kMsgSystemError);
        load_status_ = kLoadFailed;
        return;
    }
    if (status != kPictureFound && status != kPictureMissing) return msg(kMsgSystemError);
    HasPicture = status == kPictureFound ? 1 : 0;
    if (Lpps_DispPage() != 0) {
        msg(kMsgSystemError);
        load_status_ = kLoadFailed;
    }
}

void Lpps::on_activate() {
    if (load_status_ == kLoadReady) {
        lst_PartNo->setFocus();
        return;
    }
    if (load_status_ == kLoadLeaving) return;
    load_status_ = kLoadLeaving;
    ShowErrorDialog(*this);
    go_menu();
}

void Lpps::on_unload() { lib::VBLppsTerm(); }

int32_t Lpps::fetch(int16_t n, int16_t* status) {
    std::string fig(4, ' '), name(30, ' ');
    std::string picture = PicturePath;
    std::string parts(80, '\0');
    VbString f{fig.data(), 4}, nm{name.data(), 30};
    VbString pic{picture.data(), static_cast<int32_t>(picture.size())};
    VbString pl{parts.data(), static_cast<int32_t>(parts.size())};
    int16_t last = 0;
    *status = 0;
    const int32_t r = lib::VBLppsGetPageData(n, &f, &nm, &pic, &pl, &last, status);
    if (r != 0 || (*status != kPictureFound && *status != kPictureMissing)) return r;
    PageFigNo = fig;
    PageFigName = name;
    // Without a picture file the path of the page before stays.
    if (*status == kPictureFound) PicturePath = picture;
    PartListPath = parts;
    LastPage = last;
    return 0;
}

int32_t Lpps::Lpps_DispPage() {
    bool unreadable = false;
    if (HasPicture == 1) {
        pic_Cotn->show();
        // A picture that cannot be read is told apart from a missing one;
        // the page then goes on as one without a picture (F2 would print
        // nothing).
        unreadable = pic_LclFig->show_picture_file(up_to_nul(PicturePath), "PXLPPS.FRM", "Lpps_DispPage") != 0;
        if (unreadable) HasPicture = 0;
    }
    if (HasPicture == 1) {
        const int w = pic_LclFig->width(), h = pic_LclFig->height();
        const int left = w > kAreaWidth ? 0 : (kAreaWidth - w) / 2 + kFrameLeft;
        pic_Cotn->setGeometry(left, kFrameTop, std::min(w, kAreaWidth), std::min(h, kAreaHeight));
        pic_LclFig->move(0, 0);
        page_msg_ = kMsgGuide;
    } else {
        pic_Cotn->hide();
        page_msg_ = unreadable ? kMsgPictureUnreadable : kMsgNoPicture;
    }
    lbl_NextEnd->setText(ScreenText(LastPage == 1 ? 101 : 100, 5));
    txt_Qty->clear();
    lbl_FigNo->setText(from_ansi(PageFigNo));
    lbl_FigName->setText(from_ansi(PageFigName));
    int32_t r = lib::VBSetListBox(list_control_->hwnd(), up_to_nul(PartListPath).c_str());
    if (r == 0) r = lib::VBLppsSelectAll(figure().c_str(), list_control_->hwnd());
    if (r != 0) {
        msg(kMsgSystemError);
        return r;
    }
    msg(page_msg_);
    Lpps_SetKeys();
    return 0;
}

void Lpps::Lpps_SetKeys() {
    // Only printing needs the page's picture: the picks of a page without one
    // go to the parts list (F10) and are cleared (F11) as any others.
    cmd_PF(2)->setVisible(HasPicture == 1);
    if (HasPicture == 1) set_key_captions({{2, 201}});
    set_key_captions({{1, 200}, {3, 202}, {4, 203}, {6, 205}, {7, 206}, {8, 207}, {10, 209}, {11, 210}, {12, 227}});
}

void Lpps::on_function_key(int n) {
    switch (n) {
        case 1:
            ShowHelp(*this);
            msg(kMsgGuide);
            break;
        case 2: Lpps_PrintFigure(); break;
        case 3: go_back(); break;
        case 4: go_menu(); break;
        case 6:
            msg(kMsgGuide);
            HardCopy(*this, lbl_Msg);
            break;
        case 7: change_page(-1); break;
        case 8: change_page(1); break;
        case 10: Lpps_Exec(); break;
        case 11: Lpps_ClearSelection(); break;
        case 12: Lpps_VehicleInfo(); break;
        default: break;
    }
}

void Lpps::change_page(int step) {
    Hourglass pointer;
    const int16_t n = static_cast<int16_t>(PageIndex + step);
    int16_t status = 0;
    if (fetch(n, &status) != 0) return system_error();
    if (status == kPictureFound || status == kPictureMissing) {
        HasPicture = status == kPictureFound ? 1 : 0;
        PageIndex = n;
        if (Lpps_DispPage() != 0) return system_error();
        return;
    }
    if (step > 0 && status == kAfterLast) return msg(kMsgNoPageAfter);
    if (step < 0 && status == kBeforeFirst) return msg(kMsgNoPageBefore);
    msg(kMsgSystemError);
}

void Lpps::Lpps_PrintFigure() {
    Hourglass pointer;
    msg(kMsgPrinting);
    const QString title = from_ansi(PageFigNo + " " + PageFigName);
    const int32_t r = PrintImage(3, up_to_nul(PicturePath), title, 0);
    if (r == 0) return msg(kMsgGuide);
    if (r == kPrinterFailure) return msg(kMsgPrinterFailed);
    system_error();
}

void Lpps::Lpps_Exec() {
    Hourglass pointer;
    int16_t count = 0;
    if (lib::VBLppsExec(&count) != 0) return system_error();
    if (count == 0) return msg(kMsgNothingPicked);
    msg(kMsgOpening);
    open_next("Pnho");
}

void Lpps::Lpps_ClearSelection() {
    Hourglass pointer;
    if (lib::VBSetListBox(list_control_->hwnd(), up_to_nul(PartListPath).c_str()) != 0) return system_error();
    txt_Qty->clear();
    lib::VBClearLcpTmp();
    msg(kMsgGuide);
}

void Lpps::Lpps_VehicleInfo() {
    if (ShowVehicleInfoDialog(*this) != 0) return system_error();
    msg(kMsgGuide);
    lst_PartNo->setFocus();
}

void Lpps::pick() {
    if (ListBusy == -1) return;
    int16_t out = 0;
    ListBusy = -1;
    const int32_t r = lib::VBLppsSelectListBox(figure().c_str(), list_control_->hwnd(), qty_control_->hwnd(), &out);
    ListBusy = 0;
    if (r != 0) return system_error();
    if (out == kPicksFull) return msg(kMsgTooManyPicks);
    if (out != 0) msg(kMsgSystemError);
}

void Lpps::show_quantity() {
    if (ListBusy == -1) return;
    ListBusy = -1;
    lib::VBLppsClickListBox(list_control_->hwnd(), qty_control_->hwnd());
    ListBusy = 0;
}

void Lpps::step_quantity(int16_t step) {
    // A typed 0 would go into the selection as "00": the quantity is 01-99.
    if (step == 0 && txt_Qty->text().trimmed().toInt() == 0 && !txt_Qty->text().trimmed().isEmpty()) {
        bool number = false;
        txt_Qty->text().trimmed().toInt(&number);
        if (number) txt_Qty->setText("01");
    }
    int16_t out = 0;
    lib::VBLppsEntryQty(figure().c_str(), step, list_control_->hwnd(), qty_control_->hwnd(), &out);
    if (out != 0) Beep();
}

bool Lpps::on_other_key(int key_code) {
    QWidget* focus = focusWidget();
    // The marks are the picks: the space bar never marks a line itself.
    if (key_code == ' ' && focus == lst_PartNo) return true;
    if (key_code == kKeyEnter && focus == lst_PartNo) {
        pick();
        return true;
    }
    return false;
}

bool Lpps::eventFilter(QObject* watched, QEvent* event) {
    if (!loaded()) return false;
    if (watched == lst_PartNo->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            auto* me = static_cast<QMouseEvent*>(event);
            QListWidgetItem* item = lst_PartNo->itemAt(me->position().toPoint());
            lst_PartNo->setFocus();
            // A press below the last line picks nothing (not the current line).
            if (item == nullptr) return true;
            lst_PartNo->setCurrentItem(item, QItemSelectionModel::NoUpdate);
            if (event->type() == QEvent::MouseButtonPress)
                run("lst_PartNo_Click", [this] {
                    pick();
                    show_quantity();
                });
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove) return true;
        return false;
    }
    // Select-all of the list box would mark lines that are no picks.
    if (watched == lst_PartNo && event->type() == QEvent::KeyPress)
        return static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll);
    if (watched == txt_Qty && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const int key = ke->key();
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return false;
        bool consumed = false;
        run("txt_Qty_KeyPress", [&] {
            if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Escape) {
                lst_PartNo->setFocus();
                consumed = true;
            } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                step_quantity(0);
                consumed = true;
            } else if (key != Qt::Key_Backspace && !ke->text().isEmpty()) {
                const QChar c = ke->text()[0];
                if (c < '0' || c > '9') {
                    Beep();
                    consumed = true;
                }
            }
        });
        return consumed;
    }
    return false;
}

PX_FORM(Lpps);

}  // namespace px::search
