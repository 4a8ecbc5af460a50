// Printing the parts list: landscape pages in twips, the vehicle header on
// the first page, column headings under the title of every page, one line
// a print record and the total line, from the print file the engine wrote.
#include <cstdio>
#include <ctime>
#include <vector>

#include <QLabel>

#include "partslist/pnho.h"
#include "partslist/pnho_module.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/print_object.h"
#include "shell/printing.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"
#include "shell/vehicle_entries.h"

namespace px {

namespace pl = partslist;

namespace {

constexpr int16_t kMsgPrinterError = 842;
constexpr int16_t kMsgSystemError = 999;
constexpr size_t kPrintRecord = 134;
constexpr int kPageBreakY = 10500;
constexpr int kLinePitch = 300;

// The print record (offsets): Column1 0/49, Column2 49/6, LineKind 55/1,
// Column4 56/14, Column3 70/2, Column5 72/2, Column6 74/9, Column7 83/30,
// Column8 113/8, Column9 121/13. A printed line has nine columns, each
// starting at its cell of the line; its heading stands at the same cell.
constexpr int kColumnCells[9] = {0, 50, 57, 61, 77, 81, 92, 123, 135};

std::vector<QString> record_columns(const std::string& r) {
    auto f = [&](size_t at, size_t n) { return from_ansi(r.substr(at, n)); };
    return {f(0, 49), f(49, 6), f(70, 2), f(55, 1) + f(56, 14), f(72, 2), f(74, 9), f(83, 30), f(113, 8), f(121, 13)};
}

QString left_in(const QString& text, int width) { return text.trimmed().leftJustified(width, ' ', true); }

QString get(Declared<void(VbString*)>& entry, int width) {
    std::string buf(static_cast<size_t>(width), ' ');
    VbString s{buf.data(), width};
    entry(&s);
    return from_ansi(buf);
}

struct Vehicle {
    QString vin, cat, from, to, name, model, frame_model, frame_no, ad, color, trim, notes, charact1;
    QString charact2[21];
};

Vehicle read_vehicle() {
    Vehicle v;
    std::string vin(10, ' ');
    VbString vs{vin.data(), 10};
    lib::VBGetVin(&vs);
    v.vin = from_ansi(vin);
    v.cat = get(lib::VBGetCat, 6);
    v.from = get(lib::VBGetProDateF, 4);
    v.to = get(lib::VBGetProDateT, 4);
    v.name = get(lib::VBGetVName, 20);
    v.model = get(lib::VBGetModel, 20).left(15);
    v.frame_model = get(lib::VBGetFrameModel, 7);
    v.frame_no = get(lib::VBGetFrameNo, 7);
    v.ad = get(lib::VBGetAd, 6);
    v.color = get(lib::vehicle::VBGetColorNo, 3);
    v.trim = get(lib::vehicle::VBGetTrimNo, 4);
    v.notes = get(lib::vehicle::VBGetNotes, 30);
    std::string c1(10, ' '), c1b(10, ' ');
    VbString s1{c1.data(), 10}, s2{c1b.data(), 10};
    lib::vehicle::VBGetCharact1(&s1, &s2);
    v.charact1 = from_ansi(c1);
    for (int n = 0; n <= 20; ++n) {
        std::string c(5, ' ');
        VbString s{c.data(), 5};
        lib::vehicle::VBGetCharact2(static_cast<int16_t>(n), &s);
        v.charact2[n] = from_ansi(c);
    }
    return v;
}

}  // namespace

int Pnho::Pnho_PrintList() {
    const pl::PnhoModule& m = pl::pnho_module();
    QString t[23];
    const int widths[23] = {56, 25, 25, 25, 57, 25, 25, 25, 25, 49, 6, 14, 5, 9, 9, 12, 22, 9, 13, 27, 27, 27, 6};
    for (int i = 0; i < 23; ++i) t[i] = ScrText(2221 + i, widths[i]).leftJustified(widths[i], ' ', true);
    auto text = [&](int no) { return t[no - 2221]; };
    QString price_heading(12, ' '), total_caption(28, ' ');
    if (m.price_kind >= 0 && m.price_kind <= 2) {
        price_heading = left_in(text(2234 + m.price_kind), 12);
        total_caption = left_in(text(2240 + m.price_kind), 28);
    }
    const Vehicle v = read_vehicle();
    std::tm now = plat::local_now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", now.tm_mday, now.tm_mon + 1, now.tm_year % 100);
    const std::vector<QString> headings = {text(2230), text(2231),    text(2233),    text(2232), text(2233),
                                           text(2238), text(2237),    price_heading, text(2239)};

    PrinterObject p;
    std::FILE* f = nullptr;
    int status = 0;
    auto title = [&] {
        p.move_to(1500, 100);
        p.print(text(2221) + QString(30, ' ') + QString::fromLatin1(date) + "   " + text(2243).trimmed() +
                QString("%1").arg(p.page(), 3, 10, QChar('0')));
    };
    try {
        p.set_landscape(true);
        p.print("");
        int16_t font = FindPrinterFont("Courier New");
        if (font < 0) throw RuntimeError(kErrPrinter, "FindPrinterFont");
        const QString face = p.font(font);
        p.set_font(face, 8, true);
        // Each heading and each value at its column's own X.
        auto columns = [&](int y, const std::vector<QString>& texts) {
            for (size_t i = 0; i < texts.size(); ++i)
                p.print_at(p.cell_x(250, kColumnCells[i]), y, texts[i]);
        };
        title();
        auto row = [&](int y, const QString& label, const QString& value) {
            p.move_to(500, y);
            p.print(label);
            p.move_to(3100, y);
            p.print(value);
        };
        QString vin = v.vin;
        if (!v.vin.trimmed().isEmpty() && !v.frame_no.trimmed().isEmpty()) vin += " " + v.frame_no;
        row(500, text(2222), vin);
        row(800, text(2223), v.cat + "     (" + v.from + "-" + v.to + " " + v.name + ")");
        row(1100, text(2224), v.model + "     (" + v.frame_model + "-" + v.frame_no + ")");
        row(2400, text(2226), v.ad.left(4) + "-" + v.ad.right(2));
        row(2700, text(2227), v.color);
        row(3000, text(2228), v.trim);
        row(3300, text(2229), v.notes);
        p.move_to(1900, 1400);
        p.print(text(2225));
        auto at = [&](int x, int y, const QString& s) {
            p.move_to(x, y);
            p.print(s);
        };
        at(3500, 1700, v.charact1);
        for (int n = 0; n <= 3; ++n) at(4300 + 800 * n, 1700, v.charact2[n]);
        for (int n = 4; n <= 8; ++n) at(3500 + 800 * (n - 4), 1900, v.charact2[n]);
        for (int n = 9; n <= 20; ++n) at(3500 + 800 * (n - 9), 2100, v.charact2[n]);
        p.line(200, 3650, 15000, 3650);
        p.line(200, 3950, 15000, 3950);
        int heading_y = 3720;
        columns(heading_y, headings);

        f = m.print_path.empty() ? nullptr : plat::fopen(m.print_path, "rb");
        if (f == nullptr) {
            WriteErrorLog("PXPNHO", "Pnho_PrintList", "Open", kErrFileNotFound, 0, 0);
            status = kMsgSystemError;
        }
        int line = 1;
        char rec[kPrintRecord];
        while (f != nullptr && std::fread(rec, 1, sizeof rec, f) == sizeof rec) {
            std::string r(rec, sizeof rec);
            if (r[55] == '2') {
                p.move_to(9100, heading_y + kLinePitch * line + 50);
                p.print(QString(8, ' ') + total_caption + " " + from_ansi(r.substr(0, 49)).trimmed());
                break;
            }
            const int y = heading_y + kLinePitch * line;
            columns(y, record_columns(r));
            p.line(200, y + 200, 15000, y + 200);
            if (y > kPageBreakY) {
                p.new_page();
                p.print("");
                p.set_font(face, 8, true);
                title();
                p.line(200, 400, 15000, 400);
                p.line(200, 700, 15000, 700);
                heading_y = 470;
                columns(heading_y, headings);
                line = 1;
            } else {
                ++line;
            }
        }
        if (f != nullptr && std::ferror(f)) {
            WriteErrorLog("PXPNHO", "Pnho_PrintList", "Get", 63, 0, 0);
            status = kMsgSystemError;
        }
        if (f != nullptr) std::fclose(f);
        f = nullptr;
        p.end_doc();
    } catch (const RuntimeError& e) {
        if (f != nullptr) std::fclose(f);
        WriteErrorLog("PXPNHO", "Pnho_PrintList", e.step(), e.number(), 0, 0);
        try {
            p.end_doc();
        } catch (const RuntimeError&) {
            // What was printed is all there is.
        }
        status = kMsgPrinterError;
    }
    if (status == kMsgPrinterError) {
        DispMsg(kMsgPrinterError, lbl_Msg);
        Beep();
    } else if (status == kMsgSystemError) {
        DispMsg(kMsgSystemError, lbl_Msg);
        ShowErrorDialog(*this);
    }
    return status;
}

}  // namespace px
