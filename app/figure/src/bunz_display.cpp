// The page display of the illustration screen: DispBun rebuilds all the
// clerk sees of the page from the form state, through the two picture
// loaders (whole page at half size, enlarged page in its clipping frame).
#include <algorithm>

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>

#include "figure/bunz.h"
#include "figure/bunz_entries.h"
#include "figure/bunz_util.h"
#include "shell/codepage.h"
#include "shell/listbox.h"
#include "shell/messages.h"
#include "shell/picture_box.h"
#include "shell/pxall_entries.h"
#include "shell/updown.h"

namespace px {

using namespace bunz_msg;

namespace {

// The frame of the whole page is at most this wide beside both lists, and
// at most this high; it stands at kWholeTop below a title of up to
// kTitleHeight, and lower below a title that needs more, never reaching
// further down than the design's frame.
constexpr int kWholeMaxWidth = 665;
constexpr int kWholeMaxHeight = 560;
constexpr int kWholeTop = 72;
constexpr int kWholeBottom = kWholeTop + kWholeMaxHeight;
constexpr int kTitleHeight = 48;
// The overview column: its left edge and width; its design size.
constexpr int kMoveColumnLeft = 844;
constexpr int kMoveColumnWidth = 170;
constexpr int kMoveHeight = 116;

// A fixed-length field of the library as a label shows it: control bytes
// (a binary count may follow a name) as blanks.
QString shown(const std::string& field) {
    std::string s = field.substr(0, field.find('\0'));
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return from_ansi(s);
}

// Line ends of a text block as a label breaks lines.
QString lines(const std::string& block) {
    std::string s = block.substr(0, block.find('\0'));
    QString out;
    size_t from = 0;
    for (;;) {
        size_t at = s.find("\r\n", from);
        out += shown(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) break;
        out += '\n';
        from = at + 2;
    }
    return out;
}

// The page's title block as its label shows it: each line without its
// trailing blanks, which would only wrap.
QString title_lines(const std::string& block) {
    QStringList out = lines(block).split('\n');
    for (QString& l : out)
        while (!l.isEmpty() && l.back() == ' ') l.chop(1);
    return out.join('\n');
}

// The height a label needs to show its text whole, wrapped at its width;
// empty lines at the end take no room.
int wrapped_height(const QLabel* label) {
    QString text = label->text();
    while (text.endsWith('\n')) text.chop(1);
    const int flags = static_cast<int>(label->alignment()) | Qt::TextWordWrap;
    return QFontMetrics(label->font()).boundingRect(QRect(0, 0, label->width(), 1 << 20), flags, text).height();
}

}  // namespace

// Visibility of the page's controls. Columns: 0 whole without a picture,
// 1 whole picture without the lists, 2 whole picture with them, 3 whole with
// a picture that cannot be decoded, 4 enlarged with the selected-parts list,
// 5 enlarged with the page's list. The scroll bars are the loaders' own in
// enlarged mode.
void Bunz::show_visibility(int column) {
    auto set = [column](std::initializer_list<QWidget*> ws, const char* pattern) {
        const bool on = pattern[column] == 'S';
        for (QWidget* w : ws) w->setVisible(on);
    };
    set({lbl_Match}, "SSSSHH");
    set({lbl_Teki}, "HSSHHH");
    set({lbl_NotIllust}, "SHHHHH");
    set({lbl_BigIllust}, "HHHSHH");
    set({pic_Cotn}, "HSSHSS");
    set({pic_Move}, "HHHHSH");
    set({lst_SelPnc, lbl_Ttl[1], lbl_Ttl[2]}, "HHHHSH");
    set({lbl_PartName}, "HHHHSS");
    set({lbl_Ttl[3], lbl_Ttl[4], lbl_FigName, lst_Pnc, lin_Frm[0], lin_Frm[1], lin_Frm[2], lin_Frm[3]}, "HHSHHS");
    set({lbl_FigNo, txt_Qty, upd_Qty}, "HHSHSS");
    if (column <= 3) set({hsb_Move, vsb_Move}, "HHHHHH");
}

int32_t Bunz::DispBun(int16_t flag) {
    int16_t message = kMsgGuide;
    int16_t key_state = 3;
    if (BunzViewMode == 1) {
        const QString title = text(BunzSubMode == 0 ? 1800 : 2000);
        lbl_Ttl[0]->setText(title);
        setWindowTitle(title.trimmed());
        lbl_Ttl[3]->setText(text(1801));
        lbl_Ttl[4]->setText(text(1802));
        lbl_Match->setText(text(BunzMatchFlag == 0 ? 1803 : 1804));
        if (BunzPictureState == 1 || BunzPictureState == 2) {
            show_visibility(BunzListView == 0 ? 1 : 2);
            VbString title_str = vb(BunzPageTitle), name_str = vb(BunzPrintName);
            bunz_lib::VBBunMakePrnIllustNm(&title_str, &name_str);
            // A title line longer than the room left of the list wraps in
            // the label, which grows to hold the whole title.
            lbl_Teki->setText(title_lines(BunzPrintName));
            lbl_Teki->resize(lbl_Teki->width(), std::max(kTitleHeight, wrapped_height(lbl_Teki)));
            lbl_FigNo->setText(shown(BunzFigureKey));
            lbl_FigName->setText(shown(BunzPageRecord));
            txt_Qty->setText(QString());
            const std::string list = part_list_path();
            if (int32_t r = bunz_lib::VBSetListBox(pnc_handle(), list.c_str()); r != 0) {
                DispMsg(kMsgSystemError, lbl_Msg);
                return r;
            }
            if (int32_t e = LoadBunzBitmap(image_path()); e != 0) {
                WriteErrorLog("PXBUNZ", "DispBun", "LoadBunzBitmap", e, 0, 0);
                return e;
            }
            key_state = BunzKeySet;
            message = kMsgGuide;
            bunz_lib::VBBunSelectAll1(1, pic_Bun->hdc(), pic_Bun->hwnd(), pnc_handle());
        } else if (BunzPictureState == 3) {
            show_visibility(3);
            std::string cat(6, ' ');
            VbString cat_str = vb(cat);
            lib::VBGetCat(&cat_str);
            const std::string key = BunzFigureKey + std::string(4, ' ');
            QString notice = text(1805) + "\n\n";
            notice += shown(cat) + "  : " + text(1806) + "\n\n";
            notice += shown(key.substr(0, 2)) + "-" + shown(key.substr(2, 2)) + "   : " + text(1807) + "\n\n";
            notice += shown(BunzPageCode) + " : " + text(1808);
            lbl_BigIllust->setText(notice);
            message = kMsgTooLarge;
            key_state = 3;
        } else {
            show_visibility(0);
            lbl_NotIllust->setText(text(1801) + shown(BunzFigureKey) + "\n" + shown(BunzPageRecord));
            message = kMsgNoPicture;
            key_state = 3;
        }
    } else {
        show_visibility(BunzListView == 1 ? 4 : 5);
        const QString title = text(BunzSubMode == 0 ? 1900 : 2100);
        lbl_Ttl[0]->setText(title);
        setWindowTitle(title.trimmed());
        if (BunzListView == 1) {
            lbl_Ttl[1]->setText(text(1901));
            lbl_Ttl[2]->setText(text(1902));
            pic_Move->resize(kMoveColumnWidth, kMoveHeight);
            shp_Move->resize(82, 58);
            lst_SelPnc->clear();
        } else {
            lbl_Ttl[3]->setText(text(1801));
            lbl_Ttl[4]->setText(text(1802));
            lbl_FigName->setText(shown(BunzPageRecord));
            const std::string list = part_list_path();
            if (int32_t r = bunz_lib::VBSetListBox(pnc_handle(), list.c_str()); r != 0) {
                DispMsg(kMsgSystemError, lbl_Msg);
                return r;
            }
        }
        lbl_FigNo->setText(shown(BunzFigureKey));
        lbl_PartName->setText(QString());
        txt_Qty->setText(QString());
        if (int32_t e = LoadBunkBitmap(image_path()); e != 0) {
            WriteErrorLog("PXBUNZ", "DispBun", "LoadBunkBitmap", e, 0, 0);
            return e;
        }
        key_state = 4;
        message = kMsgGuide;
        if (BunzListView == 1) bunz_lib::VBBunSelectAll2(pic_Bun->hdc(), pic_Bun->hwnd(), selpnc_handle());
        else bunz_lib::VBBunSelectAll1(2, pic_Bun->hdc(), pic_Bun->hwnd(), pnc_handle());
    }
    lbl_NextEnd->setText(text(BunzLastPage == 1 ? 101 : 100));
    DispMsg(message, lbl_Msg);
    SetPFKeys(key_state);
    if (flag == 0) SetBunzFocus();
    return 0;
}

int32_t Bunz::LoadBunzBitmap(const std::string& path) {
    if (int32_t e = load_picture_file(path, &pic_Strch); e != 0) return e;
    const int h = pic_Strch.height(), h2 = h / 2;
    const int w = pic_Strch.width(), w2 = w / 2;
    pic_Bun->resize(w2, h2);
    const int frame_w = w2 > kWholeMaxWidth && BunzListView == 2 ? kWholeMaxWidth : w / 2;
    const int top = std::max(kWholeTop, lbl_Teki->geometry().bottom() + 3);
    const int frame_h = std::min(h2, kWholeBottom - top);
    // The frame stands left of the list in use, never under it: a frame
    // that would reach under it moves left, as far as the area's margin.
    const PickList* list = BunzListView == 1 ? lst_SelPnc : lst_Pnc;
    const int room_right = list->x() - 5;
    int left = BunzPictureState == 2 ? 4 : 90;
    if (left + frame_w > room_right) left = std::max(4, room_right - frame_w);
    pic_Cotn->setGeometry(left, top, std::min(frame_w, room_right - left), frame_h);
    pic_Bun->move(0, 0);
    pic_Bun->clear_picture();
    pic_Bun->paint_picture(pic_Strch, QRect(0, 0, w2, h2), QRect(0, 0, w, h));
    pic_Strch = QImage();
    return 0;
}

int32_t Bunz::LoadBunkBitmap(const std::string& path) {
    PickList* list = BunzListView == 1 ? lst_SelPnc : lst_Pnc;
    const int x = list->x() - vsb_Move->width() - 5;
    pic_Cotn->resize(BunzListView == 1 ? 805 : x - pic_Cotn->x() - 5, 553);
    pic_Bun->clear_picture();
    if (int32_t e = pic_Bun->load_picture(path); e != 0) return e;

    const int w = pic_Bun->width(), cw = pic_Cotn->width();
    if (w <= cw) {
        hsb_Move->hide();
        pic_Cotn->resize(w, pic_Cotn->height());
    } else {
        hsb_Move->show();
        hsb_Move->setMinimum(0);
        hsb_Move->setMaximum(w - cw);
        hsb_Move->setPageStep(std::max(w - cw, 20) / 20);
        hsb_Move->setValue(0);
        hsb_Move->resize(cw, hsb_Move->height());
    }
    const int h = pic_Bun->height(), ch = pic_Cotn->height();
    if (h <= ch) {
        vsb_Move->hide();
        pic_Cotn->resize(pic_Cotn->width(), h);
    } else {
        vsb_Move->show();
        vsb_Move->setMinimum(0);
        vsb_Move->setMaximum(h - ch);
        vsb_Move->setPageStep(std::max(h - ch, 20) / 20);
        vsb_Move->setValue(0);
        vsb_Move->setGeometry(x, vsb_Move->y(), vsb_Move->width(), ch);
    }
    pic_Cotn->move(8, 24);
    pic_Bun->move(0, 0);

    // A page smaller than the overview box would give a scale of 0, and the
    // overview box left by a narrow page may be 0 wide: neither divides.
    const int uw = pic_Bun->width() / std::max(pic_Move->width(), 1);
    const int uh = pic_Bun->height() / std::max(pic_Move->height(), 1);
    BunzScrollUnit = static_cast<int16_t>(std::max({uw, uh, 1}));
    const int mw = pic_Bun->width() / BunzScrollUnit;
    const int mh = pic_Bun->height() / BunzScrollUnit;
    pic_Move->setGeometry((kMoveColumnWidth - mw) / 2 + kMoveColumnLeft, pic_Move->y(), mw, mh);
    shp_Move->setGeometry(0, 0, std::min(pic_Cotn->width() / BunzScrollUnit, pic_Move->width()),
                          std::min(pic_Cotn->height() / BunzScrollUnit, pic_Move->height()));
    return 0;
}

void Bunz::SetBunzFocus() {
    if (BunzViewMode == 1) {
        if (BunzPictureState == 0 || BunzPictureState == 3) cmd_PF(8)->setFocus();
        else if (BunzListView == 2) lst_Pnc->setFocus();
        else cmd_PF(12)->setFocus();
    } else if (BunzViewMode == 2) {
        if (BunzListView == 1) lst_SelPnc->setFocus();
        else lst_Pnc->setFocus();
    }
}

}  // namespace px
