// The printout of the applicability list (F2 of Teki): every record of
// SCRTEKI.TMP in fixed columns of a monospaced font, a page header on every
// page.
#include <QListWidget>

#include <string>
#include <utility>
#include <vector>

#include "inquiry/fixed_text.h"
#include "inquiry/layouts.h"
#include "inquiry/print_support.h"
#include "inquiry/teki.h"
#include "shell/codepage.h"
#include "shell/errors.h"
#include "shell/field_box.h"
#include "shell/print_object.h"
#include "shell/printing.h"

namespace px {

namespace {

namespace sr = teki::screen_rec;

constexpr int kLeft = 500;
constexpr int kTop = 500;
// A record starts a new page from here on.
constexpr int kPageEnd = 10000;
// The cells where the columns of a line start: part number, code, name,
// catalogue code, catalogue name, period and remark. Each heading and each
// value stands at its column's own X.
constexpr int kColumnCells[7] = {0, 16, 26, 58, 68, 90, 101};
constexpr int kRemark = 6;
// The name's bytes on each of its two lines.
constexpr size_t kNameLine = 30;

void print_at_left(PrinterObject& p, const QString& line) {
    p.move_to(kLeft, p.current_y());
    p.print(inquiry::rtrim(line));
}

// One line of columns at the current line, the position then at the left
// edge of the next one.
void print_columns(PrinterObject& p, const std::vector<std::pair<int, QString>>& columns) {
    const int y = p.current_y();
    for (const auto& [column, text] : columns) {
        const QString t = inquiry::rtrim(text);
        if (!t.isEmpty()) p.print_at(p.cell_x(kLeft, kColumnCells[column]), y, t);
    }
    p.move_to(kLeft, y + p.text_height());
}

}  // namespace

QString Teki::find_entry_name(const std::string& part_no) const {
    QString key = inquiry::shown(part_no);
    for (int i = 0; i < lst_Entry->count(); ++i) {
        QString line = lst_Entry->item(i)->text();
        if (line.left(14) == key) return inquiry::shown(inquiry::field(to_ansi(line), 18, 60));
    }
    return QString(60, ' ');
}

void Teki::print_page_header(PrinterObject& p) {
    print_at_left(p, inquiry::screen_field(2713, 57) + inquiry::screen_field(2714, 5) + "=" + inquiry::print_date() +
                         inquiry::screen_field(2715, 6) + "=" + inquiry::page_number(p.page()));
    const int widths[7] = {15, 9, 31, 9, 21, 10, 30};
    std::vector<std::pair<int, QString>> headings;
    for (int i = 0; i < 7; ++i) headings.push_back({i, inquiry::screen_field(2716 + i, widths[i])});
    print_columns(p, headings);
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
            print_columns(p, {{kRemark, remark1}});
            print_columns(p, {{kRemark, remark2}});
            continue;
        }
        // The name's 60 bytes in two lines of 30, cut at a character.
        const std::string name = to_ansi(find_entry_name(inquiry::field(r, sr::kPart[0], 14)));
        const size_t first = ansi_cut_length(name, kNameLine);
        bool no_period = inquiry::trim(inquiry::field(r, sr::kFrom, 8)).empty();
        QString period = no_period ? QString() : f(sr::kFrom, 4) + "-" + f(sr::kTo, 4);
        print_columns(p, {{0, f(sr::kPart[0], 14)},
                          {1, "(" + f(sr::kLabel[0], 6) + ")"},
                          {2, from_ansi(name.substr(0, first))},
                          {3, f(sr::kCatalog, 6)},
                          {4, f(sr::kCarName, 20)},
                          {5, period},
                          {6, remark1}});
        print_columns(p, {{0, f(sr::kPart[1], 14)},
                          {1, " " + f(sr::kLabel[1], 6)},
                          {2, from_ansi(ansi_cut(std::string_view(name).substr(first), kNameLine))},
                          {6, remark2}});
    }
    p.end_doc();
}

}  // namespace px
