// The printout of the applicability list (F2 of Teki): every record of
// SCRTEKI.TMP in fixed columns of a monospaced font, a page header on every
// page.
#include <QListWidget>

#include "inquiry/fixed_text.h"
#include "inquiry/layouts.h"
#include "inquiry/print_support.h"
#include "inquiry/teki.h"
#include "shell/errors.h"
#include "shell/print_object.h"
#include "shell/printing.h"

namespace px {

namespace {

namespace sr = teki::screen_rec;

constexpr int kLeft = 500;
constexpr int kTop = 500;
// A record starts a new page from here on.
constexpr int kPageEnd = 10000;
// Where the remark column starts: part number, code, name, catalogue code,
// catalogue name and period with their gaps.
constexpr int kRemarkColumn = 14 + 2 + 8 + 2 + 30 + 2 + 6 + 4 + 20 + 2 + 9 + 2;

QString pad(const QString& s, int n) { return s.left(n) + QString(std::max<qsizetype>(0, n - s.size()), ' '); }

void print_at_left(PrinterObject& p, const QString& line) {
    p.move_to(kLeft, p.current_y());
    p.print(inquiry::rtrim(line));
}

}  // namespace

QString Teki::find_entry_name(const std::string& part_no) const {
    QString key = inquiry::shown(part_no);
    for (int i = 0; i < lst_Entry->count(); ++i) {
        QString line = lst_Entry->item(i)->text();
        if (line.left(14) == key) return pad(line.mid(18, 60), 60);
    }
    return QString(60, ' ');
}

void Teki::print_page_header(PrinterObject& p) {
    print_at_left(p, inquiry::screen_field(2713, 57) + inquiry::screen_field(2714, 5) + "=" + inquiry::print_date() +
                         inquiry::screen_field(2715, 6) + "=" + inquiry::page_number(p.page()));
    const int widths[7] = {15, 9, 31, 9, 21, 10, 30};
    QString headings;
    for (int i = 0; i < 7; ++i) headings += (i > 0 ? " " : "") + inquiry::screen_field(2716 + i, widths[i]);
    print_at_left(p, headings);
    print_at_left(p, QString());
}

void Teki::list_print(PrinterObject& p) {
    std::vector<std::string> recs;
    int32_t rc = inquiry::read_record_file(TekiResultPath, sr::kSize, &recs);
    if (rc != 0) throw RuntimeError(rc, "SCRTEKI.TMP");
    try {
        p.set_landscape(true);
    } catch (const RuntimeError& e) {
        if (e.number() != kErrPrinterProperty) throw;
    }
    QString font = p.font(FindPrinterFont("Courier New"));
    p.set_font(font, 8);
    p.move_to(kLeft, kTop);
    print_page_header(p);
    for (const std::string& r : recs) {
        if (p.current_y() >= kPageEnd) {
            p.new_page();
            p.set_font(font, 8);
            p.move_to(kLeft, kTop);
            print_page_header(p);
        }
        auto f = [&](size_t at, size_t len) { return inquiry::shown(inquiry::field(r, at, len)); };
        QString remark1 = f(sr::kPiece[0], sr::kPieceWidth), remark2 = f(sr::kPiece[1], sr::kPieceWidth);
        if (inquiry::trim(inquiry::field(r, sr::kPart[0], 14)).empty()) {
            print_at_left(p, QString(kRemarkColumn, ' ') + remark1);
            print_at_left(p, QString(kRemarkColumn, ' ') + remark2);
            continue;
        }
        QString name = find_entry_name(inquiry::field(r, sr::kPart[0], 14));
        bool no_period = inquiry::trim(inquiry::field(r, sr::kFrom, 8)).empty();
        QString period = no_period ? QString(9, ' ') : f(sr::kFrom, 4) + "-" + f(sr::kTo, 4);
        print_at_left(p, f(sr::kPart[0], 14) + "  " + "(" + f(sr::kLabel[0], 6) + ")" + "  " + name.left(30) + "  " +
                             f(sr::kCatalog, 6) + "    " + f(sr::kCarName, 20) + "  " + period + "  " + remark1);
        print_at_left(p, f(sr::kPart[1], 14) + "  " + " " + f(sr::kLabel[1], 6) + " " + "  " + name.mid(30, 30) +
                             QString(2 + 6 + 4 + 20 + 2 + 9 + 2, ' ') + remark2);
    }
    p.end_doc();
}

}  // namespace px
