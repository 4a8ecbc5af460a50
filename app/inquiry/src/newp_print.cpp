// The printout of a catalogue's part-number list (F2 of Newp): every record
// held in memory, 24 to a landscape page, at fixed positions in twips, under
// a page heading.
#include <QLabel>

#include "inquiry/fixed_text.h"
#include "inquiry/layouts.h"
#include "inquiry/newp.h"
#include "inquiry/popup_vars.h"
#include "inquiry/print_support.h"
#include "shell/errors.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/print_object.h"
#include "shell/printing.h"
#include "shell/seams.h"

namespace px {

namespace {

namespace lr = newp::list_rec;

constexpr int kTopY = 1400;
constexpr int kRecordStep = 400;
constexpr int kSecondLine = 200;
constexpr int kPageLines = 26;  // the heading counts 2, then 24 records

struct SplitLimits {
    int limit;   // the first line's most characters
    int second;  // the second line's most characters
};
SplitLimits limits(int kind) { return kind == 0 ? SplitLimits{40, 60} : SplitLimits{60, 100}; }

QString text_at(PrinterObject& p, int x, int y, const std::string& bytes) {
    QString t = inquiry::shown(inquiry::rtrim(bytes));
    p.print_at(x, y, t);
    return t;
}

}  // namespace

int newp_print_split(const std::string& text, int kind, bool* at_blank) {
    *at_blank = false;
    const int limit = limits(kind).limit;
    auto at = [&](int pos) { return pos >= 1 && static_cast<size_t>(pos) <= text.size() ? text[static_cast<size_t>(pos) - 1] : ' '; };
    for (int s = limit; s >= limit / 2 + 1; --s)
        if (at(s) == ',' || at(s) == ';') return s;
    for (int s = limit; s >= 1; --s)
        if (at(s) == ' ') {
            *at_blank = true;
            return s;
        }
    return 0;
}

// The characters dropped at the break are the separator and the one blank
// after a comma or semicolon; nothing else is lost, and a text without a
// break point is cut hard at the limit (a blank that then starts the second
// line is dropped too).
void newp_split_lines(const std::string& text, int kind, std::string* first, std::string* second) {
    SplitLimits l = limits(kind);
    bool blank = false;
    int s = newp_print_split(text, kind, &blank);
    size_t rest;
    if (s == 0) {
        *first = text.substr(0, std::min<size_t>(text.size(), static_cast<size_t>(l.limit)));
        rest = static_cast<size_t>(l.limit);
        if (rest < text.size() && text[rest] == ' ') ++rest;
    } else {
        *first = text.substr(0, static_cast<size_t>(s) - 1);
        rest = static_cast<size_t>(s);
        if (!blank && rest < text.size() && text[rest] == ' ') ++rest;
    }
    *second = rest < text.size() ? text.substr(rest, static_cast<size_t>(l.second)) : std::string();
}

void Newp::print_head(PrinterObject& p) {
    auto at = [&](int x, int y, const QString& t) { p.print_at(x, y, t); };
    at(4500, 200, inquiry::screen_field(2810, 49));
    at(12500, 200, inquiry::rtrim(inquiry::screen_field(2811, 6)) + inquiry::print_date());
    at(14700, 200, inquiry::rtrim(inquiry::screen_field(2812, 7)) + inquiry::page_number(p.page()));
    at(500, 600, inquiry::screen_field(2813, 14));
    at(2200, 600, inquiry::shown(inquiry::trim(NewpKey)));
    at(3500, 600, "(" + inquiry::trim(lbl_Model->text()) + ")");
    at(600, 1000, inquiry::screen_field(2814, 5));
    at(1800, 1000, inquiry::screen_field(2815, 12));
    at(3400, 1000, inquiry::screen_field(2816, 4));
    at(4200, 1000, inquiry::screen_field(2817, 10));
    at(5600, 1000, inquiry::screen_field(2818, 20));
    at(10100, 1000, inquiry::screen_field(2819, 26));
}

void Newp::print_out() {
    disp_msg(707);
    SetHourglass();
    PrinterObject p;
    try {
        p.set_landscape(true);
        p.print("");
        QString font = p.font(FindPrinterFont("Courier New"));
        int lines = 0;
        int y = kTopY;
        for (int32_t i = 0; i < NewpRecCount; ++i) {
            if (lines == 0) {
                p.print("");
                p.move_to(200, 200);
                p.set_font(font, 8, true);
                p.print(QString(50, ' '));
                print_head(p);
                lines = 2;
            }
            const std::string& r = NewpList[static_cast<size_t>(i)];
            text_at(p, 600, y, inquiry::field(r, lr::kPnc, 6));
            text_at(p, 1700, y, inquiry::field(r, lr::kPart, 14));
            text_at(p, 3500, y, inquiry::field(r, lr::kQty, 2));
            std::string period = inquiry::field(r, lr::kValidity, lr::kValiditySize);
            text_at(p, 4200, y, period.compare(5, 4, "9999") == 0 ? period.substr(0, 5) : period);
            std::string name = inquiry::field(r, lr::kName, lr::kNameSize);
            std::string first, second;
            if (inquiry::trim(name).size() <= 40) {
                text_at(p, 5600, y, name);
            } else {
                newp_split_lines(name, 0, &first, &second);
                text_at(p, 5600, y, first);
                text_at(p, 5600, y + kSecondLine, second);
            }
            std::string remark = inquiry::field(r, lr::kRemarks, lr::kPieceWidth);
            if (inquiry::trim(remark).size() < 61) {
                text_at(p, 10100, y, remark);
            } else {
                newp_split_lines(remark, 1, &first, &second);
                text_at(p, 10100, y, first);
                text_at(p, 10100, y + kSecondLine, second);
            }
            ++lines;
            y += kRecordStep;
            if (lines >= kPageLines || i + 1 == NewpRecCount) {
                lines = 0;
                y = kTopY;
                if (i + 1 < NewpRecCount) p.new_page();
            }
        }
        p.end_doc();
    } catch (const RuntimeError& e) {
        try {
            p.kill_doc();
        } catch (const RuntimeError&) {
        }
        WriteErrorLog("PXNewp", "Newp_Print_Out", "", e.number(), 0, 0);
        DispMsg(999, lbl_Msg);
        SetDefaultPointer();
        ShowErrorDialog(*this);
        exit_to_menu();
        return;
    }
    disp_msg(inquiry_vars().InquiryMsgNo);
    msg_Newp->setFocus();
    SetDefaultPointer();
}

}  // namespace px
