#include "inquiry/newp.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "inquiry/entry_pages.h"
#include "inquiry/fixed_text.h"
#include "inquiry/inquiry_entries.h"
#include "inquiry/layouts.h"
#include "inquiry/popup_vars.h"
#include "inquiry/result_grid.h"
#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/grid.h"
#include "shell/help.h"
#include "shell/messages.h"
#include "shell/printing.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

namespace lr = newp::list_rec;

constexpr int16_t kMsgList = 105;
constexpr int16_t kMsgEntry = 114;
constexpr int16_t kMsgSearching = 711;
constexpr int16_t kMsgPaging = 719;
constexpr int16_t kMsgFirstBlock = 801;
constexpr int16_t kMsgLastBlock = 802;
constexpr int16_t kMsgNotFound = 860;
constexpr int16_t kMsgSystemError = 999;
constexpr int32_t kNotACode = -13;
constexpr int32_t kFailed = -999;
constexpr int32_t kNoCd = 4;
constexpr int32_t kNoChoice = 3;
constexpr int kPathSize = 80;
constexpr int kKeySize = 15;

std::string buffer_text(const std::string& buf) {
    std::string s = buf.substr(0, buf.find('\0'));
    return inquiry::rtrim(s);
}

}  // namespace

Newp::Newp() : Form(kName) {
    resize(1240, 760);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_key_bar({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    lbl_NewpTitle = new QLabel(this);
    lbl_NewpTitle->setObjectName("lbl_NewpTitle");
    lbl_NewpTitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(lbl_NewpTitle);

    auto* entry = new QGridLayout;
    lbl_Cat = new QLabel(this);
    lbl_Cat->setObjectName("lbl_Cat");
    txt_Catalog = new QLineEdit(this);
    txt_Catalog->setObjectName("txt_Catalog");
    QFont courier = oem_font(12);
    txt_Catalog->setFont(courier);
    txt_Catalog->setFixedWidth(QFontMetrics(courier).horizontalAdvance(QString(16, 'W')) + 12);
    // The label stands where the entry field stands and shows the
    // catalogue code while the field is hidden.
    lbl_Catalog = new QLabel(this);
    lbl_Catalog->setObjectName("lbl_Catalog");
    lbl_Catalog->setFont(courier);
    lbl_Catalog->setFixedWidth(txt_Catalog->width());
    lbl_Catalog->hide();  // until a list shows its catalogue there
    lbl_Model = new QLabel(this);
    lbl_Model->setObjectName("lbl_Model");
    lbl_Model->setFont(courier);
    cmd_Search = new QPushButton(this);
    cmd_Search->setObjectName("cmd_Search");
    entry->addWidget(lbl_Cat, 0, 0);
    entry->addWidget(lbl_Catalog, 0, 1);
    entry->addWidget(txt_Catalog, 0, 1);
    entry->addWidget(cmd_Search, 0, 2);
    entry->addWidget(lbl_Model, 0, 3);
    entry->setColumnStretch(3, 1);
    lbl_Page = new QLabel(this);
    lbl_Page->setObjectName("lbl_Page");
    entry->addWidget(lbl_Page, 0, 4);
    layout->addLayout(entry);

    msg_Newp = new Grid(this);
    msg_Newp->setObjectName("msg_Newp");
    layout->addWidget(msg_Newp, 1);
    layout->addWidget(make_message_line());
    connect(cmd_Search, &QPushButton::clicked, this, [this] { run("cmd_Search_Click", [this] { search_click(); }); });
}

void Newp::on_load() {
    setWindowTitle(inquiry::trim(ScrText(2800, 40)));
    lbl_NewpTitle->setText(windowTitle());
    lbl_Cat->setText(ScrText(2801, 17));
    cmd_Search->setText(ScrText(2820, 14));
    CenterForm(*this);
    lib::newp_init();
    std::string w0(kPathSize, '\0'), list(kPathSize, '\0'), w3(kPathSize, '\0'), pop(kPathSize, '\0');
    VbString s0{w0.data(), kPathSize}, s1{list.data(), kPathSize}, s2{w3.data(), kPathSize}, s3{pop.data(), kPathSize};
    lib::newp_file_name_set(&s0, &s1, &s2, &s3);
    NewpWork0Path = buffer_text(w0);
    NewpListPath = buffer_text(list);
    NewpWork3Path = buffer_text(w3);
    popup_vars().PopupPath = buffer_text(pop);
    inquiry_vars().InquiryMsgNo = kMsgEntry;
    lib::newp_area_check();
    disp_msg(kMsgEntry);

    for (int n = 1; n <= 12; ++n)
        if (n != 5) cmd_PF(n)->setText(ScrText(199 + n, 8));
    for (int n : {2, 5, 7, 8}) {
        cmd_PF(n)->hide();
        cmd_PF(n)->setEnabled(false);
    }
    cmd_PF(5)->setEnabled(true);

    limit_to_field(txt_Catalog, kKeySize);
    NewpGridRows = kMinGridRows;
    NewpRecCount = 0;
    msg_Newp->set_rows(1 + kMinGridRows);
    msg_Newp->set_cols(7);
    grid_layout();
    grid_header();
    msg_Newp->set_row(1);
    msg_Newp->set_col(6);
    txt_Catalog->clear();
    lbl_Model->clear();
    NewpLastBlock = NewpBlock = NewpBlockStart = 0;
    grid_home();
    txt_Catalog->setFocus();  // the entry state, whatever stands first on the form
}

void Newp::disp_msg(int16_t no) {
    switch (no) {
        case 105: case 114: case 707: case 711:
            DispMsg(no, lbl_Msg);
            break;
        case 801: case 802: case 828: case 860: case 865: case 872: case 873: case 874: case 875:
            DispMsg(no, lbl_Msg);
            Beep();
            break;
        default:
            break;
    }
    lbl_Msg->setText(inquiry::trim(lbl_Msg->text()));
}

void Newp::resting_message() {
    inquiry_vars().InquiryMsgNo = NewpRecCount > 0 ? kMsgList : kMsgEntry;
    disp_msg(inquiry_vars().InquiryMsgNo);
}

// A key acts only while its button shows; F10 also needs an entry.
bool Newp::on_key_down(int key_code) {
    if (key_code == kKeyEnter) {
        if (focusWidget() == txt_Catalog) {
            enter();
            return true;
        }
        return false;
    }
    int n = key_code - kKeyF1 + 1;
    if (n < 1 || n > 12) return false;
    if ((n == 2 || n == 7 || n == 8 || n == 10) && !cmd_PF(n)->isVisible()) return false;
    if (n == 10 && txt_Catalog->text().isEmpty()) return false;
    action(n);
    return false;
}

void Newp::on_pf_click(int n) { action(n); }

void Newp::action(int n) {
    switch (n) {
        case 1:
            resting_message();
            ShowHelp(*this);
            break;
        case 2:
            print_out();
            if (loaded()) msg_Newp->setFocus();
            break;
        case 3:
        case 4:
            lib::newp_term();
            ScrBack();
            unload_form(*this);
            break;
        case 6:
            resting_message();
            HardCopy(*this, lbl_Msg);
            break;
        case 7: prev_block(); break;
        case 8: next_block(); break;
        case 9:
            resting_message();
            ShowModalOwned(load_form("Ryak"), this);
            break;
        case 10: enter(); break;
        case 11: clear(); break;
        case 12: popup(); break;
        default: break;
    }
}

void Newp::enter() {
    txt_Catalog->setText(txt_Catalog->text().toUpper());
    NewpKey = inquiry::rtrim(to_ansi(txt_Catalog->text()));
    if (NewpKey.empty()) NewpKey = "ALL";
    disp_msg(kMsgSearching);
    std::string key = inquiry::fixed(NewpKey, kKeySize);
    VbString k{key.data(), kKeySize};
    int16_t m = 0;
    int32_t r = lib::newp_input_check(&k, &m);
    SetHourglass();
    if (r == kNotACode) {
        search_click();
        SetDefaultPointer();
    } else if (r == kFailed) {
        fail_to_menu();
    } else if (r == kNoCd) {
        SetDefaultPointer();
        exit_to_menu();
    } else if (r == 0) {
        search(false);
    } else {
        set_state(-1);
        txt_Catalog->setFocus();
        SetDefaultPointer();
        inquiry_vars().InquiryMsgNo = m;
        disp_msg(m);
        grid_home();
    }
}

void Newp::search_click() {
    txt_Catalog->setText(txt_Catalog->text().toUpper());
    std::string key = inquiry::rtrim(to_ansi(txt_Catalog->text()));
    if (key.empty()) key = "ALL";
    std::string buf = inquiry::fixed(key, kKeySize);
    VbString k{buf.data(), kKeySize};
    if (lib::newp_catalog_input(&k) != 0) {
        fail_to_menu();
        return;
    }
    int32_t r = lib::vcat_init();
    if (r == -1) {
        fail_to_menu();
        return;
    }
    if (r == 1) {
        inquiry_vars().InquiryMsgNo = kMsgNotFound;
        disp_msg(kMsgNotFound);
        set_state(-1);
        txt_Catalog->setFocus();
        grid_home();
        return;
    }
    show_modal(load_form("Vcat"));
    if (!loaded()) return;
    QApplication::processEvents();
    SetHourglass();
    disp_msg(kMsgSearching);
    search(true);
}

void Newp::search(bool via_list) {
    std::string cat(6, ' '), name(20, ' '), from(4, ' '), to(4, ' ');
    VbString c{cat.data(), 6}, n{name.data(), 20}, f{from.data(), 4}, t{to.data(), 4};
    lib::newp_get_text(&c, &n, &f, &t);
    NewpCatCode = cat;
    NewpCarName = name;
    NewpDateFrom = from;
    NewpDateTo = to;
    txt_Catalog->setText(inquiry::shown(inquiry::rtrim(cat)));
    lbl_Model->setText(inquiry::shown(from) + "-" + inquiry::shown(to) + " " + inquiry::shown(name));
    int16_t msg = 0, count = 0;
    int32_t r = lib::newp_main(&msg, &count);
    if (r == kNoCd) {
        SetDefaultPointer();
        exit_to_menu();
        return;
    }
    if (r == kFailed) {
        fail_to_menu();
        return;
    }
    if (r == kNoChoice && via_list) {
        clear();
        msg = kMsgEntry;
        txt_Catalog->setFocus();
    } else {
        if (via_list) NewpKey = inquiry::trim(NewpCatCode);
        if (r == 0 && count != 0) {
            grid_layout();
            if (!data_set()) return;
            set_state(count);
            msg_Newp->setFocus();
            if (via_list) msg = kMsgList;
        } else {
            // The list state needs a list read: a refusal keeps the entry state
            // whatever count came with it.
            set_state(0);
            txt_Catalog->setFocus();
        }
    }
    inquiry_vars().InquiryMsgNo = msg;
    SetDefaultPointer();
    disp_msg(msg);
    grid_home();
}

void Newp::set_state(int32_t count) {
    bool list = count > 0;
    // The label and the entry field share one place: only one of them shows,
    // so that the label never covers the field the clerk types into.
    if (!list) {
        lbl_Catalog->clear();
        lbl_Catalog->hide();
        txt_Catalog->show();
        txt_Catalog->setText(inquiry::shown(inquiry::rtrim(NewpKey)));
    } else {
        txt_Catalog->clear();
        txt_Catalog->hide();
        lbl_Catalog->setText(inquiry::shown(inquiry::trim(NewpCatCode)));
        lbl_Catalog->show();
    }
    for (int n : {2, 7, 8}) {
        cmd_PF(n)->setVisible(list);
        cmd_PF(n)->setEnabled(list);
    }
    cmd_PF(10)->setVisible(!list);
    cmd_PF(10)->setEnabled(!list);
    cmd_Search->setEnabled(!list);
}

// The whole list into memory, its blocks, and the first block shown.
bool Newp::data_set() {
    int32_t rc = inquiry::read_record_file(NewpListPath, lr::kSize, &NewpList);
    NewpRecCount = static_cast<int32_t>(NewpList.size());
    if (rc != 0) {
        NewpRecCount = 0;
        NewpList.clear();
        DispMsg(kMsgSystemError, lbl_Msg);
        WriteErrorLog("PXNEWP", "Newp_Grd_Data_Set", "Newp_Tbl_Set_PartNo", rc, 0, 0);
        ShowErrorDialog(*this);
        exit_to_menu();
        return false;
    }
    NewpBlockStarts = inquiry::entry_block_starts([this](int32_t i) { return inquiry::starts_entry(NewpList, i); },
                                                  NewpRecCount);
    NewpLastBlock = NewpBlockStarts.empty() ? 0 : static_cast<int32_t>(NewpBlockStarts.size()) - 1;
    NewpBlock = 0;
    NewpBlockStart = 0;
    inquiry_vars().InquiryRowCount =
        (NewpBlockStarts.size() > 1 ? NewpBlockStarts[1] : NewpRecCount) - NewpBlockStart;
    page_label();
    fill_block();
    return true;
}

void Newp::fill_block() {
    const int32_t n = inquiry_vars().InquiryRowCount;
    NewpGridRows = std::max<int32_t>(n, kMinGridRows);
    Grid* g = msg_Newp;
    g->set_redraw(false);
    g->set_rows(1 + NewpGridRows);
    g->set_cols(7);
    grid_layout();
    g->set_redraw(false);
    g->set_row(1);
    g->set_col(6);
    for (int32_t i = 1; i <= n; ++i) {
        const std::string& r = NewpList[static_cast<size_t>(NewpBlockStart + i - 1)];
        std::string period = inquiry::field(r, lr::kValidity, lr::kValiditySize);
        if (period.compare(5, 4, "9999") == 0) period = period.substr(0, 5);
        g->set_row_texts(i, {inquiry::shown(inquiry::field(r, lr::kNumber, 2)),
                             inquiry::shown(inquiry::field(r, lr::kPnc, 6)),
                             inquiry::shown(inquiry::field(r, lr::kPart, 14)),
                             inquiry::shown(inquiry::field(r, lr::kQty, 2)), inquiry::shown(period),
                             inquiry::shown(inquiry::field(r, lr::kName, lr::kNameSize)),
                             inquiry::shown(inquiry::field(r, lr::kRemarks, lr::kPieceWidth))});
    }
    g->set_top_row(1);
    g->set_redraw(true);
}

void Newp::grid_layout() {
    Grid* g = msg_Newp;
    inquiry::set_result_font(g);
    NewpCharWidth = g->char_width();
    NewpLineHeight = g->text_height();
    bool was = g->redraw();
    g->set_redraw(false);
    g->set_row_heights(NewpLineHeight);
    g->set_row(1);
    if (ansi_code_page() == 932)
        inquiry::set_col_widths(g, {30, 70, 150, 50, 100, 620, 1110});
    else
        inquiry::set_col_widths(g, {25, 65, 145, 45, 95, 600, 1060});
    using A = Grid::Align;
    const A align[7] = {A::Center, A::Left, A::Left, A::Center, A::Left, A::Left, A::Left};
    for (int c = 0; c < 7; ++c) g->set_col_alignment(c, align[c]);
    g->set_redraw(was);
}

void Newp::grid_header() {
    Grid* g = msg_Newp;
    bool was = g->redraw();
    g->set_redraw(false);
    g->set_text(0, 0, ScrText(2802, 2));
    g->set_text(0, 1, inquiry::trim(ScrText(2803, 5)));
    g->set_text(0, 2, inquiry::trim(ScrText(2804, 12)));
    g->set_text(0, 3, inquiry::trim(ScrText(2805, 5)));
    g->set_text(0, 4, ScrText(2806, 9));
    g->set_text(0, 5, inquiry::trim(ScrText(2807, 30)));
    g->set_text(0, 6, ScrText(2808, 13) + inquiry::trim(ScrText(2809, 17)));
    g->set_redraw(was);
}

void Newp::grid_reset() {
    if (inquiry_vars().InquiryRowCount == 0) return;
    NewpGridRows = kMinGridRows;
    msg_Newp->set_rows(1);
    msg_Newp->set_rows(1 + kMinGridRows);
    msg_Newp->set_cols(7);
    msg_Newp->set_fixed_rows(1);
    grid_layout();
    grid_header();
    msg_Newp->set_row(1);
    msg_Newp->set_col(6);
}

void Newp::grid_home() {
    msg_Newp->set_row(1);
    msg_Newp->set_col(1);
}

void Newp::page_label() { lbl_Page->setText(inquiry::block_label(NewpBlock, NewpLastBlock)); }

void Newp::prev_block() {
    if (NewpBlock == 0) {
        disp_msg(kMsgFirstBlock);
        Beep();
        page_label();
        return;
    }
    DispMsg(kMsgPaging, lbl_Msg);
    SetHourglass();
    grid_reset();
    --NewpBlock;
    NewpBlockStart = NewpBlockStarts[static_cast<size_t>(NewpBlock)];
    inquiry_vars().InquiryRowCount = NewpBlockStarts[static_cast<size_t>(NewpBlock) + 1] - NewpBlockStart;
    fill_block();
    SetDefaultPointer();
    grid_home();
    disp_msg(kMsgList);
    msg_Newp->setFocus();
    page_label();
}

void Newp::next_block() {
    if (NewpBlock >= NewpLastBlock) {
        disp_msg(kMsgLastBlock);
        Beep();
        page_label();
        return;
    }
    DispMsg(kMsgPaging, lbl_Msg);
    SetHourglass();
    grid_reset();
    ++NewpBlock;
    NewpBlockStart = NewpBlockStarts[static_cast<size_t>(NewpBlock)];
    int32_t end = NewpBlock < NewpLastBlock ? NewpBlockStarts[static_cast<size_t>(NewpBlock) + 1] : NewpRecCount;
    inquiry_vars().InquiryRowCount = end - NewpBlockStart;
    fill_block();
    SetDefaultPointer();
    grid_home();
    disp_msg(kMsgList);
    msg_Newp->setFocus();
    page_label();
}

void Newp::clear() {
    DispMsg(kMsgPaging, lbl_Msg);
    SetHourglass();
    txt_Catalog->clear();
    lbl_Model->clear();
    lbl_Catalog->clear();
    grid_reset();
    NewpList.clear();
    NewpBlockStarts.clear();
    inquiry_vars().InquiryMsgNo = kMsgEntry;
    disp_msg(kMsgEntry);
    for (int n : {2, 7, 8}) {
        cmd_PF(n)->hide();
        cmd_PF(n)->setEnabled(false);
    }
    cmd_PF(10)->show();
    cmd_PF(10)->setEnabled(true);
    cmd_Search->setEnabled(true);
    inquiry_vars().InquiryRowCount = 0;
    NewpRecCount = 0;
    txt_Catalog->show();
    txt_Catalog->setFocus();
    NewpLastBlock = NewpBlock = NewpBlockStart = 0;
    SetDefaultPointer();
    grid_home();
    lbl_Page->clear();
    lib::newp_clear();
}

void Newp::popup() {
    auto& v = popup_vars();
    int16_t m = 0;
    int32_t r = lib::newp_popup(&m, &v.PopupChoose);
    if (r == kFailed) {
        fail_to_menu();
        return;
    }
    if (r != 0) {
        inquiry_vars().InquiryMsgNo = m;
        disp_msg(m);
        return;
    }
    disp_msg(kMsgList);
    ShowModalOwned(load_form("Cdss"), this);
    if (!loaded()) return;
    if (v.PopupToMenu) {
        exit_to_menu();
        return;
    }
    v.PopupSelCount = 0;
    disp_msg(inquiry_vars().InquiryMsgNo);
}

void Newp::exit_to_menu() {
    lib::newp_term();
    ScrBackToMenu();
    unload_form(*this);
}

void Newp::fail_to_menu() {
    SetDefaultPointer();
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    exit_to_menu();
}

PX_FORM(Newp);

}  // namespace px
