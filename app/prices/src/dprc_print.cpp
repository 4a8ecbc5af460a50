// The printout of the price inquiry (F2 of Dprc): every record of the work
// file in lookup order, 34 rows a page under a heading with the date and the
// page number, on the default printer in landscape.
#include <cstdio>
#include <optional>

#include <QLabel>

#include "platform/clock.h"
#include "prices/dprc.h"
#include "prices/fields.h"
#include "prices/price_inquiry_record.h"
#include "shell/errors.h"
#include "shell/grid.h"
#include "shell/messages.h"
#include "shell/print_object.h"
#include "shell/printing.h"
#include "shell/seams.h"

namespace px {

namespace {

constexpr int16_t kMsgPrompt = 124;
constexpr int16_t kMsgPrinting = 707;
constexpr int16_t kMsgSystemError = 999;
constexpr int kRowsPerPage = 34;
constexpr int kFirstRowY = 1000;
constexpr int kRowStep = 300;
constexpr int kColumnX[4] = {1200, 4150, 7600, 9300};

struct Headings {
    QString title, date_caption, page_caption, col[4];
};

QString print_date() {
    std::tm t = plat::local_now();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d/", t.tm_mday % 100, (t.tm_mon + 1) % 100, t.tm_year % 100);
    return QString::fromLatin1(buf);
}

// At its column's X; the position then at the left edge of the next line,
// where the next page's heading starts.
void print_at(PrinterObject& p, int x, int y, const QString& text) {
    p.print_at(x, y, text);
    p.move_to(0, y + p.text_height());
}

void set_list_font(PrinterObject& p, const QString& name) { p.set_font(name, 8, true, false, false); }

void print_heading(PrinterObject& p, const Headings& h, const QString& font) {
    p.print(QString());
    set_list_font(p, font);
    print_at(p, kColumnX[0], 0,
             h.title + QString(40, ' ') + h.date_caption + print_date() + " " + h.page_caption +
                 QString("%1").arg(p.page(), 3, 10, QChar('0')));
    for (int c = 0; c < 4; ++c) print_at(p, kColumnX[c], 500, h.col[c]);
}

}  // namespace

void Dprc::DPRC_PrintList() {
    if (DprcLineCount <= 0) return;
    SetHourglass();
    DispMsg(kMsgPrinting, lbl_Msg);
    std::optional<PrinterObject> p;
    try {
        p.emplace();
        print_rows(*p);
    } catch (const RuntimeError& e) {
        // The job is thrown away, so that no half list goes to the printer.
        try {
            if (p) p->kill_doc();
        } catch (const RuntimeError&) {
        }
        WriteErrorLog("PXDprc", "DPRC_PrintList", "", e.number(), 0, 0);
        SetDefaultPointer();
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
        DPRC_Menu();
        return;
    }
    SetDefaultPointer();
    DispMsg(kMsgPrompt, lbl_Msg);
}

void Dprc::print_rows(PrinterObject& p) {
    Headings h;
    h.title = prices::screen_field(2911, 42);
    h.date_caption = prices::rtrim(ScrText(2914, 5));
    h.page_caption = prices::rtrim(ScrText(2915, 5));
    const int widths[4] = {13, 13, 3, 8};
    for (int c = 0; c < 4; ++c) h.col[c] = prices::screen_field(2916 + c, widths[c]);

    // The whole file is read first: the list is small, and no handle stays
    // open when the printer fails.
    std::string bytes;
    int32_t rc = prices::read_file(DprcWorkPath, &bytes);
    if (rc != 0) throw RuntimeError(rc, "");

    p.set_landscape(true);
    p.print(QString());
    const QString font = p.font(FindPrinterFont("Courier New"));
    set_list_font(p, font);
    int rows = 0;
    int y = kFirstRowY;
    const size_t count = bytes.size() / dprc_rec::kSize;
    for (size_t i = 0; i < count; ++i) {
        DprcLine line = parse_dprc_record(std::string_view(bytes).substr(i * dprc_rec::kSize, dprc_rec::kSize));
        if (rows == 0) print_heading(p, h, font);
        print_at(p, kColumnX[0], y, line.part_no);
        print_at(p, kColumnX[1], y, line.name);
        print_at(p, kColumnX[2], y, line.price);
        print_at(p, kColumnX[3], y, line.field);
        ++rows;
        y += kRowStep;
        if (rows == kRowsPerPage) {
            p.new_page();
            rows = 0;
            y = kFirstRowY;
        }
    }
    p.end_doc();
}

}  // namespace px
