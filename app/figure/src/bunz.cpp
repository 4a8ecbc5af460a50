// The illustration screen: its controls, loading and unloading, the key bar
// and the procedures behind the keys.
#include "figure/bunz.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "figure/bunz_entries.h"
#include "figure/bunz_util.h"
#include "shell/codepage.h"
#include "shell/help.h"
#include "shell/listbox.h"
#include "shell/messages.h"
#include "shell/picture_box.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"
#include "shell/updown.h"
#include "shell/vehicle_header.h"

namespace px {

using namespace bunz_msg;

namespace {

// The screen's own area (the key bar and the message line are below it).
// Wide enough for the lists at the right (they end at 1017), and no wider,
// so that the screen with its window frame fits the display.
constexpr int kAreaWidth = 1018;
constexpr int kAreaHeight = 636;

QLabel* label(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(x, y, w, h);
    return l;
}

QFrame* line(QWidget* parent, int i, int x1, int y1, int x2, int y2) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString("lin_Frm_%1").arg(i));
    f->setFrameShape(QFrame::Box);
    f->setLineWidth(1);
    f->setGeometry(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
    return f;
}

}  // namespace

// The quantity box as the libraries reach it: its text and the focus.
class Bunz::QtyControl : public plat::Control {
public:
    explicit QtyControl(QLineEdit* box) : box_(box), handle_(plat::register_control(this)) {}
    ~QtyControl() override { plat::unregister_control(handle_); }
    int32_t handle() const { return handle_; }
    std::string text() const override { return to_ansi(box_->text()); }
    void set_text(const std::string& text) override { box_->setText(from_ansi(text)); }
    void set_focus() override { box_->setFocus(); }

private:
    QLineEdit* box_;
    int32_t handle_;
};

void PickList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) return;  // never toggles a line by itself
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (on_enter) on_enter();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && on_click) on_click();
}

void PickList::mousePressEvent(QMouseEvent* event) {
    const int before = currentRow();
    QListWidget::mousePressEvent(event);
    if (currentRow() != before && on_click) on_click();
    if (on_mouse_down) on_mouse_down();
}

void QtyBox::keyPressEvent(QKeyEvent* event) {
    const int code = key_code(event);
    const bool rule_key = code == kKeyUp || code == kKeyDown || code == kKeyEscape || code == kKeyEnter;
    if (rule_key && on_key_down && on_key_down(code)) return;
    // The typed character, as KeyPress sees it.
    const int ascii = key_ascii(event);
    if (ascii != 0 && on_key_press && !on_key_press(ascii)) return;
    if (code == kKeyEnter || code == kKeyEscape) return;
    QLineEdit::keyPressEvent(event);
}

Bunz::Bunz() : Form(kName) {
    auto* layout = make_frame({.keys = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, .bars = FrameSpec::Bars::KeysThenMessage});
    // The drawing area takes the display's whole width.
    this->layout()->setContentsMargins(0, 0, 0, 4);
    this->layout()->setSizeConstraint(QLayout::SetFixedSize);
    auto* area = new QWidget(this);
    area->setObjectName("area");
    area->setFixedSize(kAreaWidth, kAreaHeight);
    layout->addWidget(area);

    pic_Cotn = new QWidget(area);
    pic_Cotn->setObjectName("pic_Cotn");
    pic_Cotn->setGeometry(8, 24, 805, 553);
    pic_Bun = new PictureBox(pic_Cotn);
    pic_Bun->setObjectName("pic_Bun");
    pic_Bun->setGeometry(0, 0, 589, 409);
    pic_Bun->on_mouse_down = [this](int b, int s, float x, float y) {
        run("pic_Bun_MouseDown", [&] { pic_Bun_MouseDown(b, s, x, y); });
    };

    lbl_Ttl[0] = label(area, "lbl_Ttl_0", 148, 4, 545, 17);
    lbl_NextEnd = label(area, "lbl_NextEnd", 924, 8, 69, 17);
    // Under the title and left of the figure's box and the list: the page's
    // title wraps there rather than run under them.
    lbl_Teki = label(area, "lbl_Teki", 4, 22, 668, 48);
    lbl_Teki->setWordWrap(true);
    lbl_Match = label(area, "lbl_Match", 844, 32, 121, 17);
    lbl_NotIllust = label(area, "lbl_NotIllust", 120, 164, 609, 37);
    lbl_BigIllust = label(area, "lbl_BigIllust", 120, 152, 609, 173);
    // The figure's box over the list: its lines stop where the list starts,
    // and the labels stand inside them, clear of every line.
    lin_Frm[0] = line(area, 0, 676, 52, 676, 119);
    lin_Frm[1] = line(area, 1, 1012, 52, 1012, 119);
    lin_Frm[2] = line(area, 2, 1012, 52, 676, 52);
    lin_Frm[3] = line(area, 3, 948, 52, 948, 119);
    lbl_Ttl[3] = label(area, "lbl_Ttl_3", 772, 54, 85, 17);
    lbl_FigNo = label(area, "lbl_FigNo", 868, 54, 73, 17);
    lbl_FigName = label(area, "lbl_FigName", 680, 72, 266, 47);
    lbl_FigName->setWordWrap(true);
    lbl_Ttl[4] = label(area, "lbl_Ttl_4", 952, 96, 57, 21);

    const QFont fixed = oem_font();
    lst_Pnc = new PickList(area);
    lst_Pnc->setObjectName("lst_Pnc");
    lst_Pnc->setGeometry(676, 120, 341, 452);
    lst_Pnc->setSelectionMode(QAbstractItemView::MultiSelection);
    lst_Pnc->setFont(fixed);
    lst_Pnc->on_click = [this] { run("lst_Pnc_Click", [&] { lst_Pnc_Click(); }); };
    lst_Pnc->on_enter = [this] { run("lst_Pnc_KeyPress", [&] { lst_Pnc_Pick(); }); };
    lst_Pnc->on_mouse_down = [this] { run("lst_Pnc_MouseDown", [&] { lst_Pnc_Pick(); }); };

    pic_Move = new PictureBox(area);
    pic_Move->setObjectName("pic_Move");
    pic_Move->setGeometry(840, 80, 170, 116);
    pic_Move->on_mouse_down = [this](int b, int s, float x, float y) {
        run("pic_Move_MouseDown", [&] { pic_Move_MouseDown(b, s, x, y); });
    };
    shp_Move = new QFrame(pic_Move);
    shp_Move->setObjectName("shp_Move");
    shp_Move->setFrameShape(QFrame::Box);
    shp_Move->setLineWidth(1);
    shp_Move->setAttribute(Qt::WA_TransparentForMouseEvents);
    shp_Move->setGeometry(0, 0, 82, 58);

    lbl_Ttl[1] = label(area, "lbl_Ttl_1", 844, 236, 111, 20);
    lbl_Ttl[2] = label(area, "lbl_Ttl_2", 956, 236, 49, 20);
    lst_SelPnc = new PickList(area);
    lst_SelPnc->setObjectName("lst_SelPnc");
    lst_SelPnc->setGeometry(838, 256, 173, 324);
    lst_SelPnc->setSelectionMode(QAbstractItemView::SingleSelection);
    lst_SelPnc->setFont(fixed);
    lst_SelPnc->on_click = [this] { run("lst_SelPnc_Click", [&] { lst_SelPnc_Click(); }); };
    lst_SelPnc->on_enter = [this] { run("lst_SelPnc_KeyPress", [&] { lst_SelPnc_Pick(); }); };
    lst_SelPnc->on_mouse_down = [this] { run("lst_SelPnc_MouseDown", [&] { lst_SelPnc_Pick(); }); };

    hsb_Move = new QScrollBar(Qt::Horizontal, area);
    hsb_Move->setObjectName("hsb_Move");
    hsb_Move->setGeometry(8, 584, 805, 17);
    vsb_Move = new QScrollBar(Qt::Vertical, area);
    vsb_Move->setObjectName("vsb_Move");
    vsb_Move->setGeometry(816, 24, 17, 553);
    for (QScrollBar* bar : {hsb_Move, vsb_Move}) {
        bar->setSingleStep(1);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    connect(hsb_Move, &QScrollBar::valueChanged, this, [this] { run("hsb_Move_Change", [&] { hsb_Move_Change(); }); });
    connect(vsb_Move, &QScrollBar::valueChanged, this, [this] { run("vsb_Move_Change", [&] { vsb_Move_Change(); }); });

    upd_Qty = new UpDown(area);
    upd_Qty->setObjectName("upd_Qty");
    upd_Qty->setGeometry(936, 588, 21, 29);
    upd_Qty->on_up_click = [this] { run("upd_Qty_UpClick", [&] { upd_Qty_UpClick(); }); };
    upd_Qty->on_down_click = [this] { run("upd_Qty_DownClick", [&] { upd_Qty_DownClick(); }); };
    txt_Qty = new QtyBox(area);
    txt_Qty->setObjectName("txt_Qty");
    txt_Qty->setGeometry(964, 588, 37, 24);
    txt_Qty->setMaxLength(2);
    txt_Qty->on_key_down = [this](int code) {
        bool consumed = false;
        run("txt_Qty_KeyDown", [&] { consumed = txt_Qty_KeyDown(code); });
        return consumed;
    };
    txt_Qty->on_key_press = [this](int ascii) {
        bool keep = true;
        run("txt_Qty_KeyPress", [&] { keep = txt_Qty_KeyPress(ascii); });
        return keep;
    };
    lbl_PartName = label(area, "lbl_PartName", 8, 608, 829, 21);
    lbl_PartName->setFont(fixed);

    // The lists stand over a wide picture frame.
    lst_Pnc->raise();
    lst_SelPnc->raise();
    pic_Move->raise();


    pnc_control_ = std::make_unique<ListBoxControl>(lst_Pnc);
    selpnc_control_ = std::make_unique<ListBoxControl>(lst_SelPnc);
    qty_control_ = std::make_unique<QtyControl>(txt_Qty);
}

Bunz::~Bunz() = default;

int32_t Bunz::pnc_handle() const { return pnc_control_->hwnd(); }
int32_t Bunz::selpnc_handle() const { return selpnc_control_->hwnd(); }
int32_t Bunz::qty_handle() const { return qty_control_->handle(); }

QString Bunz::text(int no) const {
    auto it = texts_.find(no);
    return it == texts_.end() ? QString() : it->second;
}

std::string Bunz::image_path() const { return path_field(BunzImagePath); }
std::string Bunz::part_list_path() const { return path_field(BunzPartListPath); }

void Bunz::LoadBunzTexts() {
    static const std::pair<int, int> kTexts[] = {
        {200, 8},   {201, 8},   {202, 8},   {203, 8},   {204, 8},   {205, 8},   {206, 8},   {207, 8},
        {209, 9},   {210, 9},   {227, 9},   {211, 9},   {220, 9},   {221, 9},   {214, 8},   {208, 8},
        {100, 5},   {101, 5},   {1800, 41}, {1801, 9},  {1802, 5},  {1803, 11}, {1804, 11}, {1805, 50},
        {1806, 21}, {1807, 16}, {1808, 21}, {1900, 41}, {1901, 13}, {1902, 5},  {2000, 41}, {2100, 41},
    };
    for (const auto& [no, width] : kTexts) texts_[no] = ScrText(no, width);
}

// Page information of the page in hand into the screen's strings.
static int32_t make_page_info(Bunz& f, int16_t* kind, int16_t* status) {
    VbString code = vb(f.BunzPageCode), title = vb(f.BunzPageTitle), image = vb(f.BunzImagePath),
             list = vb(f.BunzPartListPath);
    *status = 0;
    return bunz_lib::VBBunzMakePageInfo(&code, &title, &image, &list, kind, status);
}

void Bunz::on_load() {
    SetHourglass();
    BunzLoadResult = 0;
    BunzListBusy = 0;
    BunzLastPage = 0;
    gone_ = false;
    try {
        LoadBunzTexts();
        setWindowTitle(" ");
        lbl_Teki->setFont(oem_font());
        [&] {
            int16_t status = 0;
            VbString key = vb(BunzFigureKey), record = vb(BunzPageRecord);
            if (bunz_lib::VBBunzInit(&key, &record, &BunzMatchFlag, &BunzLastPage, &status) != 0) {
                DispMsg(kMsgSystemError, lbl_Msg);
                BunzLoadResult = 2;
                return;
            }
            switch (status) {
                case 0: BunzPictureState = 1; break;
                case 1: BunzPictureState = 0; break;
                case 4: BunzLoadResult = 1; return;
                default:
                    // Not a screen to work on: leave it as a failed load.
                    DispMsg(kMsgSystemError, lbl_Msg);
                    BunzLoadResult = 2;
                    return;
            }
            if (BunzPictureState != 0) {
                int16_t kind = 0;
                if (make_page_info(*this, &kind, &status) != 0) {
                    DispMsg(kMsgSystemError, lbl_Msg);
                    BunzLoadResult = 2;
                    return;
                }
                switch (status) {
                    case 0: BunzPictureState = kind; break;
                    case 4: BunzLoadResult = 1; return;
                    case 5: BunzPictureState = 3; break;
                    default:
                        DispMsg(kMsgSystemError, lbl_Msg);
                        BunzLoadResult = 2;
                        return;
                }
            }
            if (bunz_lib::VBReadSelectTmp() != 0) {
                DispMsg(kMsgSystemError, lbl_Msg);
                BunzLoadResult = 2;
                return;
            }
            BunzViewMode = 1;
            BunzKeySet = 1;
            BunzSubMode = 0;
            BunzListView = 2;
            lbl_NextEnd->setText(text(100));
            SetPFKeys(0);
            if (DispBun(-1) != 0) {
                DispMsg(kMsgSystemError, lbl_Msg);
                BunzLoadResult = 2;
            }
        }();
    } catch (const RuntimeError& e) {
        // A library that is not there: the load fails like any other.
        WriteErrorLog(source_name(), "Form_Load", e.step(), e.number(), 0, 0);
        DispMsg(kMsgSystemError, lbl_Msg);
        BunzLoadResult = 2;
    }
    SetDefaultPointer();
}

void Bunz::on_activate() {
    // The dialog shown here activates the screen again when it closes: a
    // failed load is acted on once.
    const int16_t result = BunzLoadResult;
    if (result == 1 || result == 2) BunzLoadResult = 3;
    switch (result) {
        case 0: SetBunzFocus(); break;
        case 1: ReturnBunzToMenu(); break;
        case 2:
            ShowErrorDialog(*this);
            ReturnBunzToMenu();
            break;
        default: break;
    }
}

void Bunz::on_unload() {
    gone_ = true;
    try {
        bunz_lib::VBBunzTerm();
    } catch (const RuntimeError&) {
        // Nothing was started in a library that is not there.
    }
}

// --- Keys -----------------------------------------------------------------------

void Bunz::on_pf_click(int n) {
    switch (n) {
        case 1: ShowBunzHelp(); break;
        case 2: PrintBunzPage(); break;
        case 3: CloseBunzSubIllust(); break;
        case 4: ReturnBunzToMenu(); break;
        case 5: ToggleBunzPFSet(); break;
        case 6: HardCopyBunz(); break;
        case 7: ShowBunzPrevPage(); break;
        case 8: ShowBunzNextPage(); break;
        case 9: ToggleBunzMatch(); break;
        case 10: SubmitBunzSelection(); break;
        case 11: ClearBunzSelection(); break;
        case 12: ToggleBunzListView(); break;
        default: break;
    }
}

bool Bunz::on_key_down(int key_code) {
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    int shift = 0;
    if (mods & Qt::ShiftModifier) shift |= 1;
    if (mods & Qt::ControlModifier) shift |= 2;
    if (mods & Qt::AltModifier) shift |= 4;
    if (shift == 4) {
        QScrollBar* bar = nullptr;
        int sign = 0;
        switch (key_code) {
            case 39: bar = hsb_Move, sign = 1; break;
            case 37: bar = hsb_Move, sign = -1; break;
            case 40: bar = vsb_Move, sign = 1; break;
            case 38: bar = vsb_Move, sign = -1; break;
            default: return false;
        }
        if (!bar->isHidden())
            bar->setValue(std::clamp(bar->value() + sign * bar->pageStep(), bar->minimum(), bar->maximum()));
        return true;
    }
    // Space never turns over a line of the part-name-code list.
    if (key_code == kKeySpace && focusWidget() == lst_Pnc) return true;
    if (key_code == key_f(1)) {
        ShowBunzHelp();
    } else if (key_code == key_f(6)) {
        HardCopyBunz();
    } else if (key_code >= key_f(2) && key_code <= key_f(12)) {
        const int n = key_code - key_f(1) + 1;
        if (!cmd_PF(n)->isHidden()) on_pf_click(n);
    } else if (key_code >= 37 && key_code <= 40) {
        SetBunzFocus();
    }
    return false;
}

void Bunz::SetPFKeys(int16_t state) {
    if (state == 0) {
        for (int n = 1; n <= 8; ++n) cmd_PF(n)->setText(text(199 + n));
        cmd_PF(10)->setText(text(209));
        cmd_PF(11)->setText(text(210));
        cmd_PF(12)->setText(text(227));
        return;
    }
    if (state < 1 || state > 4) return;
    auto show = [this](int n, bool on) { cmd_PF(n)->setVisible(on); };
    const QString match_caption = text(BunzMatchFlag == 1 ? 221 : 220);
    show(4, BunzSubMode == 0);
    switch (state) {
        case 1:
            show(2, true), show(3, true), show(5, true), show(7, true), show(8, true);
            cmd_PF(9)->setText(match_caption);
            show(10, true), show(11, true), show(12, true);
            cmd_PF(12)->setText(text(227));
            break;
        case 2:
            show(2, true), show(3, false), show(5, true), show(7, false), show(8, false);
            cmd_PF(9)->setText(text(214));
            show(10, false), show(11, false);
            cmd_PF(12)->setText(text(211));
            show(12, BunzPictureState == 2);
            break;
        case 3:
            show(2, false), show(3, true), show(5, false), show(7, true), show(8, true);
            cmd_PF(9)->setText(match_caption);
            show(10, false), show(11, false), show(12, true);
            cmd_PF(12)->setText(text(227));
            break;
        case 4:
            show(2, true), show(3, true), show(5, false), show(7, true), show(8, true);
            cmd_PF(9)->setText(text(208));
            show(10, true), show(11, true), show(12, true);
            cmd_PF(12)->setText(text(211));
            break;
        default: break;
    }
}

void Bunz::ShowBunzHelp() {
    const char* id = BunzViewMode == 1 ? (BunzSubMode == 0 ? "Bunz" : "Busz") : (BunzSubMode == 0 ? "Bunk" : "Busk");
    ShowHelpByName(id);
    if (gone_) return;
    DispMsg(kMsgGuide, lbl_Msg);
}

void Bunz::PrintBunzPage() {
    DispMsg(kMsgPrinting, lbl_Msg);
    const int32_t r = PrintImage(BunzViewMode, image_path(), from_ansi(BunzPageTitle),
                                 static_cast<int16_t>(ansi_code_page()));
    if (r == 0) {
        DispMsg(kMsgGuide, lbl_Msg);
    } else if (r == 2000) {
        DispMsg(kMsgPrinterError, lbl_Msg);
        Beep();
    } else {
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
        ReturnBunzToMenu();
    }
    SetDefaultPointer();
}

void Bunz::CloseBunzSubIllust() {
    if (BunzViewMode != 1) {
        SetHourglass();
        BunzViewMode = 1;
        BunzKeySet = 1;
        BunzListView = 2;
        if (DispBun(0) != 0) system_error_ending();
        SetDefaultPointer();
    } else if (BunzSubMode != 0) {
        page_call(PageCall::kCloseSub);
    } else {
        bunz_lib::VBClearSelTmp();
        back_to_opener();
        unload_form(*this);
    }
}

// Back to the screen that opened this one. When that screen is not in the
// program, or this one was not opened through the stack, the menu shows:
// the clerk is never left without a screen.
void Bunz::back_to_opener() {
    const int n = ScrCount();
    std::string below = n >= 2 ? ScrName(n - 1) : std::string();
    while (!below.empty() && below.back() == ' ') below.pop_back();
    if (n >= 3 && ScrName(n).rfind(kName, 0) == 0 && form_exists(below)) ScrBack();
    else ScrBackToMenu();
}

void Bunz::ReturnBunzToMenu() {
    ScrBackToMenu();
    unload_form(*this);
}

void Bunz::ToggleBunzPFSet() {
    BunzKeySet = BunzKeySet == 1 ? 2 : 1;
    SetPFKeys(BunzKeySet);
    DispMsg(kMsgGuide, lbl_Msg);
}

void Bunz::HardCopyBunz() {
    DispMsg(kMsgGuide, lbl_Msg);
    HardCopy(*this, lbl_Msg);
}

void Bunz::ShowBunzPrevPage() { page_call(PageCall::kPrev); }
void Bunz::ShowBunzNextPage() { page_call(PageCall::kNext); }

void Bunz::ToggleBunzMatch() {
    if (BunzViewMode == 1 && BunzKeySet == 1) {
        page_call(PageCall::kMatch);
    } else if (BunzViewMode == 1) {
        SetHourglass();
        BunzViewMode = 2;
        BunzListView = 1;
        if (DispBun(0) != 0) system_error_ending();
        SetDefaultPointer();
    } else {
        ShowModalOwned(load_form("Ryak"), this);
        if (gone_) return;
        DispMsg(kMsgGuide, lbl_Msg);
    }
}

void Bunz::SubmitBunzSelection() {
    SetHourglass();
    if (bunz_lib::VBGetNumSelTmp() == 0) {
        DispMsg(kMsgNothingSelected, lbl_Msg);
        Beep();
    } else if (bunz_lib::VBWriteSelectTmp() != 0) {
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
        ReturnBunzToMenu();
    } else {
        bunz_lib::VBClearSelTmp();
        DispMsg(kMsgToPartsList, lbl_Msg);
        if (form_exists("Pnho")) {
            ScrPush(load_form("Pnho"));
            unload_form(*this);
        } else if (DispBun(0) != 0) {
            // Without the parts list the handed-over selection leaves the page.
            system_error_ending();
        }
    }
    SetDefaultPointer();
}

void Bunz::ClearBunzSelection() {
    SetHourglass();
    bunz_lib::VBClearSelTmp();
    if (DispBun(0) != 0) system_error_ending();
    SetDefaultPointer();
}

void Bunz::ToggleBunzListView() {
    if (BunzViewMode == 1 && BunzKeySet == 1) {
        if (ShowVehicleInfoDialog(*this) != 0) {
            if (gone_) return;
            DispMsg(kMsgSystemError, lbl_Msg);
            ShowErrorDialog(*this);
            ReturnBunzToMenu();
            return;
        }
        if (gone_) return;
        DispMsg(kMsgGuide, lbl_Msg);
        return;
    }
    if (BunzViewMode == 1) BunzListView = BunzListView == 2 ? 0 : 2;
    else BunzListView = BunzListView == 1 ? 2 : 1;
    if (DispBun(0) != 0) system_error_ending();
}

// Message 999, the system-error dialog, then back to the menu.
void Bunz::system_error_ending() {
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    ReturnBunzToMenu();
}

// The page moves, the match setting and the closing of a sub-illustration.
void Bunz::page_call(PageCall call) {
    SetHourglass();
    bool failed = false;
    [&] {
        int16_t status = 0;
        int32_t r = 0;
        BunzLastPage = 0;
        VbString key = vb(BunzFigureKey), record = vb(BunzPageRecord);
        switch (call) {
            case PageCall::kPrev:
                r = bunz_lib::VBBunzPrevPage(&BunzSubMode, &key, &record, &BunzMatchFlag, &BunzLastPage, &status);
                break;
            case PageCall::kNext:
                r = bunz_lib::VBBunzNextPage(&BunzSubMode, &key, &record, &BunzMatchFlag, &BunzLastPage, &status);
                break;
            case PageCall::kMatch:
                r = bunz_lib::VBBunzChangeMatch(&key, &record, &BunzMatchFlag, &BunzLastPage, &status);
                break;
            case PageCall::kCloseSub:
                bunz_lib::VBBuszTerm();
                // The library hands nothing back here: the main page's own
                // key and record show again.
                if (!main_key_.empty()) {
                    BunzFigureKey = main_key_;
                    BunzPageRecord = main_record_;
                }
                break;
        }
        if (r != 0) {
            DispMsg(kMsgSystemError, lbl_Msg);
            failed = true;
            return;
        }
        if (call != PageCall::kCloseSub) {
            const int16_t end_status = call == PageCall::kPrev ? 12 : call == PageCall::kNext ? 11 : -1;
            if (status == 0) {
                BunzPictureState = 1;
            } else if (status == 1) {
                BunzPictureState = 0;
            } else if (status == 4) {
                ReturnBunzToMenu();
                return;
            } else if (status == end_status) {
                DispMsg(call == PageCall::kPrev ? kMsgNoPrevPage : kMsgNoNextPage, lbl_Msg);
                Beep();
                return;
            } else {
                DispMsg(kMsgSystemError, lbl_Msg);
                return;
            }
        }
        if (BunzPictureState != 0 || call == PageCall::kCloseSub) {
            int16_t kind = 0;
            if (make_page_info(*this, &kind, &status) != 0) {
                DispMsg(kMsgSystemError, lbl_Msg);
                failed = true;
                return;
            }
            if (status == 0) {
                BunzPictureState = kind;
            } else if (status == 4) {
                ReturnBunzToMenu();
                return;
            } else if (status == 5) {
                BunzPictureState = 3;
            } else {
                DispMsg(kMsgSystemError, lbl_Msg);
                return;
            }
        }
        switch (call) {
            case PageCall::kPrev:
            case PageCall::kNext:
                BunzViewMode = 1, BunzKeySet = 1, BunzListView = 2;
                break;
            case PageCall::kMatch: break;
            case PageCall::kCloseSub:
                BunzSubMode = 0, BunzViewMode = 1, BunzKeySet = 1, BunzListView = 2;
                main_key_.clear();
                main_record_.clear();
                break;
        }
        if (BunzSubMode == 0) {
            main_key_.clear();
            main_record_.clear();
        }
        if (DispBun(0) != 0) {
            DispMsg(kMsgSystemError, lbl_Msg);
            failed = true;
        }
    }();
    if (failed && !gone_) {
        ShowErrorDialog(*this);
        ReturnBunzToMenu();
    }
    SetDefaultPointer();
}

PX_FORM(Bunz);

}  // namespace px
