#include "inquiry/hinb.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "inquiry/entry_pages.h"
#include "inquiry/fixed_text.h"
#include "inquiry/hinb_vars.h"
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

namespace hr = hinb::list_rec;

constexpr int16_t kMsgResult = 105;
constexpr int16_t kMsgPrompt = 125;
constexpr int16_t kMsgChooseCds = 140;
constexpr int16_t kMsgSearching = 700;
constexpr int16_t kMsgPaging = 719;
constexpr int16_t kMsgNotFound = 865;
constexpr int16_t kMsgSystemError = 999;
constexpr int kPathSize = 80;
constexpr int kNameSize = 60;
constexpr int kPncSize = 6;

std::string buffer_text(const std::string& buf) { return inquiry::rtrim(buf.substr(0, buf.find('\0'))); }

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

HinbVars& hinb_vars() {
    static HinbVars v;
    return v;
}

Hinb::Hinb() : Form(kName) {
    resize(1240, 760);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_key_bar({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    lbl_HinbTitle = new QLabel(this);
    lbl_HinbTitle->setObjectName("lbl_HinbTitle");
    lbl_HinbTitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(lbl_HinbTitle);
    QFont courier = oem_font(12);
    auto* entry = new QGridLayout;
    auto field = [&](QLabel*& caption, QLineEdit*& edit, QLabel*& shown, const char* cn, const char* en,
                     const char* sn, int row, int chars) {
        caption = new QLabel(this);
        caption->setObjectName(cn);
        edit = new QLineEdit(this);
        edit->setObjectName(en);
        edit->setFont(courier);
        edit->setFixedWidth(QFontMetrics(courier).horizontalAdvance(QString(chars + 1, 'W')) + 12);
        // The label stands where the field stands; hiding the field shows it.
        shown = new QLabel(this);
        shown->setObjectName(sn);
        shown->setFont(courier);
        shown->setFixedWidth(edit->width());
        // It never takes the clicks meant for the field under it.
        shown->setAttribute(Qt::WA_TransparentForMouseEvents);
        entry->addWidget(caption, row, 0);
        entry->addWidget(shown, row, 1, Qt::AlignLeft);
        entry->addWidget(edit, row, 1, Qt::AlignLeft);
        edit->raise();
    };
    field(lbl_Pname, txt_PNm, lbl_Pnm_Txt, "lbl_Pname", "txt_PNm", "lbl_Pnm_Txt", 0, 60);
    field(lbl_PnCode, txt_Pnc, lbl_Pnc_Txt, "lbl_PnCode", "txt_Pnc", "lbl_Pnc_Txt", 1, 6);
    lbl_Page = new QLabel(this);
    lbl_Page->setObjectName("lbl_Page");
    entry->addWidget(lbl_Page, 1, 2, Qt::AlignRight);
    entry->setColumnStretch(2, 1);
    layout->addLayout(entry);
    msg_Parts = new Grid(this);
    msg_Parts->setObjectName("msg_Parts");
    layout->addWidget(msg_Parts, 1);
    layout->addWidget(make_message_line());
}

void Hinb::on_load() {
    HinbCdError = false;
    HinbNoCd = false;
    setWindowTitle(inquiry::trim(ScrText(3600, 41)));
    lbl_HinbTitle->setText(windowTitle());
    lbl_Pname->setText(ScrText(3601, 16));
    lbl_PnCode->setText(ScrText(3602, 16));
    CenterForm(*this);
    lib::hinb_init();
    auto& hv = hinb_vars();
    std::string t0(kPathSize, '\0'), t1(kPathSize, '\0'), pop(kPathSize, '\0');
    VbString s0{t0.data(), kPathSize}, s1{t1.data(), kPathSize}, s2{pop.data(), kPathSize};
    lib::hinb_file_name_set(&s0, &s1, &s2);
    hv.HinbTmp0Path = buffer_text(t0);
    hv.HinbTmp1Path = buffer_text(t1);
    popup_vars().PopupPath = buffer_text(pop);
    inquiry_vars().InquiryMsgNo = kMsgPrompt;
    int32_t r = lib::hinb_cdmake_cdidtbl_alldrive(0);
    if (r == -1) HinbCdError = true;
    else if (r == 0) HinbNoCd = false;
    else if (r == 1) HinbNoCd = true;
    disp_msg(kMsgPrompt);
    set_pf_keys();
    limit_to_field(txt_PNm, kNameSize);
    limit_to_field(txt_Pnc, kPncSize);
    HinbGridRows = kMinGridRows;
    HinbListCount = 0;
    msg_Parts->set_rows(1 + kMinGridRows);
    msg_Parts->set_cols(8);
    grid_layout();
    grid_title();
    msg_Parts->set_row(1);
    msg_Parts->set_col(7);
    clear_input();
    grid_home();
    HinbLastPage = HinbPage = HinbPageStart = 0;
    txt_PNm->setFocus();  // the name field, as after clearing; not the first key
}

void Hinb::on_activate() {
    if (HinbCdError) {
        // The dialog's closing activates the screen again: once is enough.
        HinbCdError = false;
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
        term();
    } else if (HinbNoCd) {
        HinbNoCd = false;
        cd_popup();
        inquiry_vars().InquiryMsgNo = 0;
    }
}

void Hinb::disp_msg(int16_t no) {
    switch (no) {
        case 105: case 125: case 126: case 140: case 700: case 707:
            DispMsg(no, lbl_Msg);
            break;
        case 801: case 802: case 842: case 865: case 867: case 875:
            DispMsg(no, lbl_Msg);
            Beep();
            break;
        default:
            break;
    }
}

void Hinb::prompt() {
    inquiry_vars().InquiryMsgNo = HinbListCount == 0 ? kMsgPrompt : kMsgResult;
    disp_msg(inquiry_vars().InquiryMsgNo);
}

void Hinb::set_pf_keys() {
    for (int n = 1; n <= 12; ++n)
        if (n != 5) cmd_PF(n)->setText(ScrText(199 + n, 8));
    cmd_PF(5)->hide();
    for (int n : {2, 7, 8}) {
        cmd_PF(n)->hide();
        cmd_PF(n)->setEnabled(false);
    }
    cmd_PF(10)->show();
    cmd_PF(10)->setEnabled(true);
}

// The code field takes letters, digits and Backspace only.
bool Hinb::on_key_press(int key_ascii) {
    if (focusWidget() != txt_Pnc || key_ascii == kKeyEnter || key_ascii == kKeyBack) return false;
    const bool ok = (key_ascii >= '0' && key_ascii <= '9') || (key_ascii >= 'A' && key_ascii <= 'Z') ||
                    (key_ascii >= 'a' && key_ascii <= 'z');
    return !ok;
}

bool Hinb::on_key_down(int key_code) {
    if (key_code == kKeyEnter) {
        if (focusWidget() == txt_Pnc) {
            pnc_search();
            return true;
        }
        if (focusWidget() == txt_PNm) {
            name_search();
            return true;
        }
        return false;
    }
    if (key_code == 38) {
        if (txt_Pnc->text().isEmpty()) txt_PNm->setFocus();
        return false;
    }
    if (key_code == 40) {
        if (txt_PNm->text().isEmpty()) txt_Pnc->setFocus();
        return false;
    }
    int n = key_code - kKeyF1 + 1;
    if (n < 1 || n > 12) return false;
    if ((n == 2 || n == 7 || n == 8 || n == 10) && !cmd_PF(n)->isVisible()) return false;
    action(n);
    return false;
}

void Hinb::on_pf_click(int n) { action(n); }

void Hinb::action(int n) {
    switch (n) {
        case 1:
            prompt();
            ShowHelp(*this);
            break;
        case 2:
            print_out();
            if (loaded()) msg_Parts->setFocus();
            break;
        case 3:
        case 4:
            ScrBackToMenu();
            unload_form(*this);
            break;
        case 6:
            prompt();
            HardCopy(*this, lbl_Msg);
            break;
        case 7: prev_page(); break;
        case 8: next_page(); break;
        case 9:
            prompt();
            ShowModalOwned(load_form("Ryak"), this);
            break;
        case 10:
            if (!txt_PNm->text().isEmpty()) name_search();
            else pnc_search();
            break;
        case 11: clear_all(); break;
        case 12: cd_popup(); break;
        default: break;
    }
}

void Hinb::set_mode(int mode) {
    auto& hv = hinb_vars();
    bool result = mode == 1;
    for (int n : {2, 7, 8}) {
        cmd_PF(n)->setVisible(result);
        cmd_PF(n)->setEnabled(result);
    }
    cmd_PF(10)->setVisible(!result);
    cmd_PF(10)->setEnabled(!result);
    txt_PNm->setVisible(!result);
    txt_Pnc->setVisible(!result);
    if (mode == 0) {
        txt_PNm->setText(inquiry::shown(inquiry::rtrim(hv.HinbPartName)));
        txt_Pnc->setText(inquiry::shown(inquiry::rtrim(hv.HinbPnc)));
    } else if (result) {
        lbl_Pnm_Txt->setText(inquiry::shown(inquiry::rtrim(hv.HinbPartName)));
        lbl_Pnc_Txt->setText(inquiry::shown(inquiry::rtrim(hv.HinbPnc)));
    } else {
        txt_PNm->clear();
        txt_Pnc->clear();
    }
}

void Hinb::clear_all() {
    grid_reset();
    hinb_vars().HinbListTable.clear();
    HinbPageStarts.clear();
    txt_PNm->clear();
    txt_Pnc->clear();
    inquiry_vars().InquiryRowCount = 0;
    HinbListCount = 0;
    txt_PNm->show();
    txt_Pnc->show();
    lbl_Pnm_Txt->clear();
    lbl_Pnc_Txt->clear();
    for (int n : {2, 7, 8}) {
        cmd_PF(n)->hide();
        cmd_PF(n)->setEnabled(false);
    }
    cmd_PF(10)->show();
    cmd_PF(10)->setEnabled(true);
    inquiry_vars().InquiryMsgNo = kMsgPrompt;
    disp_msg(kMsgPrompt);
    HinbLastPage = HinbPage = HinbPageStart = 0;
    txt_PNm->setFocus();
    SetDefaultPointer();
    grid_home();
    lbl_Page->clear();
}

void Hinb::clear_input() {
    txt_PNm->clear();
    txt_Pnc->clear();
    inquiry_vars().InquiryRowCount = 0;
}

void Hinb::term() {
    int16_t mode = 1;
    lib::hinb_term(&mode);
    ScrBackToMenu();
    unload_form(*this);
}

void Hinb::fail() {
    SetDefaultPointer();
    DispMsg(kMsgSystemError, lbl_Msg);
    ShowErrorDialog(*this);
    term();
}

int32_t Hinb::check_input(int mode) {
    auto& hv = hinb_vars();
    std::string out60(kNameSize, ' '), out6(kPncSize, ' ');
    VbString o60{out60.data(), kNameSize}, o6{out6.data(), kPncSize};
    int32_t r;
    if (mode == 1) {
        std::string name = inquiry::fixed(upper(hv.HinbPartName), kNameSize), code(kPncSize, ' ');
        VbString t{name.data(), kNameSize}, c{code.data(), kPncSize};
        r = lib::hinb_in_check_input(kNameSize, &t, &c, &o60, &o6, &HinbLibMsg);
    } else {
        // The library refuses a blank text before it looks a code up, so the
        // code's check carries the code in the text too.
        std::string code = inquiry::fixed(hv.HinbPnc, kPncSize), name = inquiry::fixed(code, kNameSize);
        VbString t{name.data(), kNameSize}, c{code.data(), kPncSize};
        r = lib::hinb_in_check_input(kPncSize, &t, &c, &o60, &o6, &HinbLibMsg);
        if (r == 0) {
            hv.HinbPartName = out60;
            hv.HinbPnc = out6;
        }
    }
    return r;
}

void Hinb::pnc_search() {
    auto& hv = hinb_vars();
    inquiry_vars().InquiryRowCount = 0;
    if (txt_Pnc->text().isEmpty()) {
        txt_Pnc->setFocus();
        return;
    }
    txt_PNm->setText(txt_PNm->text().toUpper());
    txt_Pnc->setText(txt_Pnc->text().toUpper());
    SetHourglass();
    disp_msg(kMsgSearching);
    hv.HinbPartName = inquiry::rtrim(to_ansi(txt_PNm->text()));
    hv.HinbPnc = inquiry::fixed(inquiry::rtrim(to_ansi(txt_Pnc->text())), kPncSize);
    int32_t r = check_input(2);
    if (r == -1) {
        fail();
        return;
    }
    if (r != 0) {
        inquiry_vars().InquiryMsgNo = kMsgNotFound;
        set_mode(0);
        txt_Pnc->setFocus();
        disp_msg(kMsgNotFound);
        SetDefaultPointer();
        grid_home();
        return;
    }
    txt_PNm->setText(inquiry::shown(inquiry::rtrim(hv.HinbPartName)));
    txt_Pnc->setText(inquiry::shown(inquiry::rtrim(hv.HinbPnc)));
    run_pn_main("txt_Pnc_KeyPress");
}

void Hinb::run_pn_main(const char* procedure) {
    int16_t msg = 0, count = 0;
    int32_t r = lib::hinb_pn_main(&msg, &count);
    inquiry_vars().InquiryMsgNo = msg;
    if (r == 0) {
        int32_t rc = read_list();
        if (rc != 0) {
            WriteErrorLog("PXHINB", procedure, "Hinb_Tbl_Set_PartNo", rc, 0, 0);
            fail();
            return;
        }
        grid_set();
        set_mode(1);
        msg_Parts->setFocus();
        disp_msg(msg);
        SetDefaultPointer();
        grid_home();
    } else if (r == 4) {
        SetDefaultPointer();
        term();
    } else if (r == -1) {
        fail();
    } else {
        set_mode(0);
        disp_msg(msg);
        txt_PNm->setFocus();
        SetDefaultPointer();
        grid_home();
    }
}

void Hinb::name_search() {
    auto& hv = hinb_vars();
    inquiry_vars().InquiryRowCount = 0;
    if (txt_PNm->text().isEmpty()) {
        txt_Pnc->setFocus();
        return;
    }
    txt_PNm->setText(txt_PNm->text().toUpper());
    txt_Pnc->setText(txt_Pnc->text().toUpper());
    hv.HinbPartName = inquiry::rtrim(to_ansi(txt_PNm->text()));
    hv.HinbPnc = inquiry::rtrim(to_ansi(txt_Pnc->text()));
    // A name of blanks and underscores only has no text to search: it would
    // match every name (or the previous search's text).
    std::string text = hv.HinbPartName;
    for (char& c : text)
        if (c == '_') c = ' ';
    int32_t r = inquiry::trim(text).empty() ? 1 : check_input(1);
    if (r == -1) {
        fail();
        return;
    }
    if (r == 1) {
        inquiry_vars().InquiryMsgNo = kMsgNotFound;
        set_mode(0);
        txt_PNm->setFocus();
        disp_msg(kMsgNotFound);
        grid_home();
        return;
    }
    r = name_search_run();
    if (!loaded()) return;
    if (r == -1) {
        fail();
        return;
    }
    if (r != 0) {
        inquiry_vars().InquiryMsgNo = HinbLibMsg;
        set_mode(0);
        txt_PNm->setFocus();
        disp_msg(HinbLibMsg);
        SetDefaultPointer();
        grid_home();
        return;
    }
    if (hv.HinbNoPick == 1) {
        set_mode(2);
        inquiry_vars().InquiryMsgNo = kMsgPrompt;
        txt_PNm->setFocus();
        disp_msg(kMsgPrompt);
        SetDefaultPointer();
        grid_home();
        return;
    }
    SetHourglass();
    hv.HinbPartName = std::string(kNameSize, ' ');
    if (check_input(2) == -1) {
        fail();
        return;
    }
    disp_msg(kMsgSearching);
    txt_PNm->setText(inquiry::shown(inquiry::rtrim(hv.HinbPartName)));
    txt_Pnc->setText(inquiry::shown(inquiry::rtrim(hv.HinbPnc)));
    run_pn_main("txt_PNm_KeyPress");
}

int32_t Hinb::name_search_run() {
    auto& hv = hinb_vars();
    hv.HinbPnc = inquiry::rtrim(to_ansi(txt_Pnc->text()));
    hv.HinbPartName = inquiry::rtrim(to_ansi(txt_PNm->text()));
    SetHourglass();
    disp_msg(kMsgSearching);
    int16_t count = 0;
    int32_t r = lib::hinb_pc_main(&HinbLibMsg, &count);
    SetDefaultPointer();
    if (r == 0 && count != 0) {
        show_modal(load_form(Slpn::kName));
        hv.HinbNameTable.clear();
        return hv.HinbPickStatus == 2 ? -1 : 0;
    }
    hv.HinbNoPick = 1;
    return r;
}

void Hinb::cd_popup() {
    auto& v = popup_vars();
    int16_t m = 0;
    int32_t r = lib::hinb_popup(&m, &v.PopupChoose);
    if (r == -1) {
        fail();
        return;
    }
    if (r != 0) {
        disp_msg(m);
        return;
    }
    disp_msg(kMsgChooseCds);
    ShowModalOwned(load_form("Cdss"), this);
    if (!loaded()) return;
    if (v.PopupToMenu) {
        term();
        return;
    }
    // A pop-up closed without a choice leaves the CD table as it was.
    if (v.PopupSelCount > 0) {
        int16_t k = 0;
        for (int i = 0; (i < v.PopupSelCount || i < v.PopupLineCount) && i < kPopupPositions; ++i) {
            if (v.PopupSel[static_cast<size_t>(i)] != "1") continue;
            int16_t count = v.PopupSelCount, setup = v.PopupSetupNo[static_cast<size_t>(i)];
            lib::hinb_popup_set_sel(&count, &setup, &k);
            ++k;
        }
    }
    if (lib::hinb_popup_make_cat() == -1) {
        fail();
        return;
    }
    disp_msg(inquiry_vars().InquiryMsgNo);
}

// --- result table --------------------------------------------------------------

int32_t Hinb::read_list() {
    auto& hv = hinb_vars();
    HinbListCount = 0;
    int32_t rc = inquiry::read_record_file(hv.HinbTmp1Path, hr::kSize, &hv.HinbListTable);
    if (rc != 0) return rc;
    HinbListCount = static_cast<int32_t>(hv.HinbListTable.size());
    HinbPageStarts = inquiry::entry_block_starts(
        [&hv](int32_t i) { return inquiry::starts_entry(hv.HinbListTable, i); }, HinbListCount);
    HinbPage = 0;
    HinbPageStart = 0;
    HinbLastPage = HinbPageStarts.empty() ? 0 : static_cast<int32_t>(HinbPageStarts.size()) - 1;
    inquiry_vars().InquiryRowCount = (HinbPageStarts.size() > 1 ? HinbPageStarts[1] : HinbListCount);
    disp_page();
    return 0;
}

void Hinb::grid_set() {
    const int32_t n = inquiry_vars().InquiryRowCount;
    HinbGridRows = n < 22 ? kMinGridRows : n;
    Grid* g = msg_Parts;
    g->set_redraw(false);
    g->set_rows(1 + HinbGridRows);
    g->set_cols(8);
    grid_layout();
    g->set_redraw(false);
    g->set_row(1);
    g->set_col(7);
    const auto& table = hinb_vars().HinbListTable;
    for (int32_t i = 1; i <= n; ++i) {
        const std::string& r = table[static_cast<size_t>(HinbPageStart + i - 1)];
        auto f = [&](size_t at, size_t len) { return inquiry::shown(inquiry::field(r, at, len)); };
        g->set_row_texts(i, {f(hr::kCount, 2), f(hr::kCode, 6), f(hr::kPart, 14), f(hr::kCatalog, 6),
                             f(hr::kCarName, 20), f(hr::kValidity, hr::kValiditySize), f(hr::kQty, 2),
                             f(hr::kRemarks, hr::kRemarksSize)});
    }
    g->set_top_row(1);
    g->set_redraw(true);
}

void Hinb::grid_layout() {
    Grid* g = msg_Parts;
    inquiry::set_result_font(g);
    HinbDigitWidth = g->char_width();
    HinbLineHeight = g->text_height();
    bool was = g->redraw();
    g->set_redraw(false);
    g->set_row_heights(HinbLineHeight);
    g->set_row(1);
    if (ansi_code_page() == 932)
        inquiry::set_col_widths(g, {40, 70, 160, 90, 220, 110, 40, 1160});
    else
        inquiry::set_col_widths(g, {30, 65, 145, 80, 205, 105, 35, 1050});
    using A = Grid::Align;
    const A align[8] = {A::Center, A::Left, A::Left, A::Center, A::Left, A::Center, A::Center, A::Left};
    for (int c = 0; c < 8; ++c) g->set_col_alignment(c, align[c]);
    g->set_redraw(was);
}

void Hinb::grid_title() {
    Grid* g = msg_Parts;
    bool was = g->redraw();
    g->set_redraw(false);
    const int ids[6] = {3603, 3604, 3605, 3606, 3607, 3608};
    const int widths[6] = {2, 5, 12, 8, 11, 9};
    for (int c = 0; c < 6; ++c) g->set_text(0, c, ScrText(ids[c], widths[c]));
    g->set_text(0, 6, ScrText(g->row_height(0) == HinbLineHeight ? 3610 : 3622, 3));
    g->set_text(0, 7, ScrText(3609, 30));
    g->set_redraw(was);
}

void Hinb::grid_reset() {
    if (inquiry_vars().InquiryRowCount == 0) return;
    HinbGridRows = kMinGridRows;
    msg_Parts->set_rows(1);
    msg_Parts->set_rows(1 + kMinGridRows);
    msg_Parts->set_cols(8);
    msg_Parts->set_fixed_rows(1);
    grid_layout();
    grid_title();
    msg_Parts->set_row(1);
    msg_Parts->set_col(7);
}

void Hinb::grid_home() {
    msg_Parts->set_row(1);
    msg_Parts->set_col(1);
}

void Hinb::disp_page() {
    if (HinbListCount != 0) lbl_Page->setText(inquiry::block_label(HinbPage, HinbLastPage));
}

void Hinb::next_page() {
    if (HinbPage >= HinbLastPage) {
        disp_msg(802);
        Beep();
        disp_page();
        return;
    }
    DispMsg(kMsgPaging, lbl_Msg);
    SetHourglass();
    grid_reset();
    ++HinbPage;
    HinbPageStart = HinbPageStarts[static_cast<size_t>(HinbPage)];
    int32_t end = HinbPage < HinbLastPage ? HinbPageStarts[static_cast<size_t>(HinbPage) + 1] : HinbListCount;
    inquiry_vars().InquiryRowCount = end - HinbPageStart;
    grid_set();
    SetDefaultPointer();
    grid_home();
    disp_msg(kMsgResult);
    msg_Parts->setFocus();
    disp_page();
}

void Hinb::prev_page() {
    if (HinbPage == 0) {
        disp_msg(801);
        Beep();
        disp_page();
        return;
    }
    DispMsg(kMsgPaging, lbl_Msg);
    SetHourglass();
    grid_reset();
    --HinbPage;
    HinbPageStart = HinbPageStarts[static_cast<size_t>(HinbPage)];
    inquiry_vars().InquiryRowCount = HinbPageStarts[static_cast<size_t>(HinbPage) + 1] - HinbPageStart;
    grid_set();
    SetDefaultPointer();
    grid_home();
    disp_msg(kMsgResult);
    msg_Parts->setFocus();
    disp_page();
}

PX_FORM(Hinb);

}  // namespace px
