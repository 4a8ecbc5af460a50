// The printout of the part-number search result (F2 of Hinb): every record
// of the loaded table, one line each (two for long remarks), a blank line
// between entries, a page header on every page.
#include <QLabel>

#include "inquiry/fixed_text.h"
#include "inquiry/hinb.h"
#include "inquiry/hinb_vars.h"
#include "inquiry/layouts.h"
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

namespace hr = hinb::list_rec;

constexpr int kTopY = 1400;
constexpr int kLine = 200;
constexpr int kPageEnd = 10600;
constexpr int kRemarkLine = 50;

void at(PrinterObject& p, int x, int y, const QString& t) {
    if (!t.isEmpty()) p.print_at(x, y, t);
}

}  // namespace

void Hinb::print_header(PrinterObject& p) {
    auto& hv = hinb_vars();
    at(p, 4100, 200, inquiry::screen_field(3614, 55));
    at(p, 12500, 200, inquiry::screen_field(3615, 4) + "=" + inquiry::print_date());
    at(p, 14700, 200, inquiry::screen_field(3616, 4) + "=" + inquiry::page_number(p.page()));
    at(p, 700, 600, inquiry::screen_field(3617, 22));
    at(p, 3000, 600, inquiry::shown(inquiry::trim(hv.HinbPnc)));
    at(p, 4100, 600, inquiry::shown(inquiry::trim(hv.HinbPartName)));
    at(p, 700, 1000, " " + inquiry::screen_field(3618, 5));
    at(p, 1700, 1000, inquiry::screen_field(3619, 13));
    at(p, 3500, 1000, inquiry::screen_field(3620, 8));
    at(p, 4700, 1000, inquiry::screen_field(3621, 12));
    at(p, 7200, 1000, inquiry::screen_field(3622, 5));
    at(p, 8100, 1000, inquiry::screen_field(3623, 9));
    at(p, 9500, 1000, inquiry::screen_field(3624, 33));
}

void Hinb::print_out() {
    disp_msg(707);
    SetHourglass();
    const auto& table = hinb_vars().HinbListTable;
    // The key is offered with a result only; an empty table prints nothing.
    const int32_t count = std::min<int32_t>(HinbListCount, static_cast<int32_t>(table.size()));
    PrinterObject p;
    try {
        p.set_landscape(true);
        p.print("");
        QString font = p.font(FindPrinterFont("Courier New"));
        int y = kTopY;
        for (int32_t i = 0; i < count; ++i) {
            if (y == kTopY) {
                p.print("");
                p.move_to(200, 200);
                p.set_font(font, 8, true);
                p.print("");
                print_header(p);
            }
            const std::string& r = table[static_cast<size_t>(i)];
            auto f = [&](size_t off, size_t len) { return inquiry::shown(inquiry::rtrim(inquiry::field(r, off, len))); };
            at(p, 700, y, f(hr::kCode, 6));
            at(p, 1800, y, f(hr::kPart, 14));
            at(p, 3500, y, f(hr::kCatalog, 6));
            at(p, 4700, y, f(hr::kCarName, 20));
            at(p, 7300, y, f(hr::kQty, 2));
            at(p, 8100, y, f(hr::kValidity, hr::kValiditySize));
            std::string remarks = inquiry::field(r, hr::kRemarks, hr::kRemarksSize);
            if (inquiry::rtrim(remarks).size() > static_cast<size_t>(kRemarkLine)) {
                at(p, 9500, y, inquiry::shown(inquiry::rtrim(remarks.substr(0, kRemarkLine))));
                y += kLine;
                at(p, 9500, y, inquiry::shown(inquiry::rtrim(remarks.substr(kRemarkLine))));
            } else {
                at(p, 9500, y, inquiry::shown(inquiry::rtrim(remarks)));
            }
            if (i + 1 >= count) break;
            if (y >= kPageEnd) {
                p.new_page();
                y = kTopY;
            } else {
                if (!inquiry::trim(inquiry::field(table[static_cast<size_t>(i) + 1], hr::kCount, 2)).empty()) {
                    y += kLine;
                    p.move_to(1, y);
                    p.print("");
                }
                y += kLine;
            }
        }
        p.end_doc();
    } catch (const RuntimeError& e) {
        try {
            p.kill_doc();
        } catch (const RuntimeError&) {
        }
        WriteErrorLog("PXHINB", "Hinb_Print_Out", "", e.number(), 0, 0);
        DispMsg(999, lbl_Msg);
        SetDefaultPointer();
        ShowErrorDialog(*this);
        term();
        return;
    }
    disp_msg(inquiry_vars().InquiryMsgNo);
    msg_Parts->setFocus();
    SetDefaultPointer();
}

}  // namespace px
