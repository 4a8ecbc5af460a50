// The group list on the printer: every user part group from its page on,
// read record by record from the two group files (layout:
// pxall/group_layout.h), with its part-name codes and their names from the
// group-print helper. A page holds a heading block and at most 40 code lines.
#include <cstdio>
#include <cstring>
#include <string>

#include "maint/maint_entries.h"
#include "maint/stgp.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "pxall/group_layout.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/print_object.h"
#include "shell/printing.h"

namespace px::maint {

namespace {

namespace gf = pxall::grpfile;

constexpr const char* kSource = "PXSTGP";
constexpr int kLinesPerPage = 40;
constexpr int kPathBuffer = 80;
constexpr int kFileNotFound = 53;
constexpr int kBadRecord = 63;
// The group list's face; where the printer has no such font the fixed-pitch
// face that stands in for it is asked for by the same name.
const QString kPrintFont = QStringLiteral("Courier New");

// An open group file, closed when it goes.
struct File {
    std::FILE* fp = nullptr;
    ~File() {
        if (fp != nullptr) std::fclose(fp);
    }
};

// A record of `size` bytes at `offset`: bytes past the end of the file read
// as zero (a slot that was never written holds no group); a failed seek or
// read is run-time error 63.
std::string read_record(std::FILE* fp, size_t offset, size_t size) {
    std::string rec(size, '\0');
    if (std::fseek(fp, static_cast<long>(offset), SEEK_SET) != 0) throw RuntimeError(kBadRecord, "fseek");
    size_t got = std::fread(rec.data(), 1, size, fp);
    if (got < size && std::ferror(fp)) throw RuntimeError(kBadRecord, "fread");
    return rec;
}

// A screen text at the full width of its fixed-length string.
QString full_width(int32_t no, int width) {
    QString t = ScrText(no, width);
    if (t.size() < width) t += QString(width - t.size(), QChar(' '));
    return t;
}

}  // namespace

void Stgp::STGP_Set_Print_Font(PrinterObject& printer, int16_t font_index) {
    printer.print(" ");
    const QString name = font_index >= 0 ? printer.font(font_index) : kPrintFont;
    printer.set_font(name, 9, true, false, false);
}

int32_t Stgp::Stgp_Print() {
    PrinterObject printer;
    try {
        const QString title = full_width(3306, 57);
        const QString date_label = ScrText(3307, 5).trimmed();
        const QString page_label = ScrText(3308, 5).trimmed();
        const QString group_label = ScrText(3309, 15).trimmed();
        const QString pnc_heading = full_width(3310, 5);
        const QString name_heading = full_width(3311, 21);

        char name_path[kPathBuffer] = {};
        char code_path[kPathBuffer] = {};
        lib::VBGet_GrpFName(name_path, code_path);
        name_path[kPathBuffer - 1] = code_path[kPathBuffer - 1] = '\0';
        const int16_t font_index = FindPrinterFont(kPrintFont);
        printer.set_landscape(true);
        STGP_Set_Print_Font(printer, font_index);
        File names, codes;
        names.fp = plat::fopen(name_path, "rb");
        codes.fp = plat::fopen(code_path, "rb");
        if (names.fp == nullptr || codes.fp == nullptr) throw RuntimeError(kFileNotFound, "Open");

        const std::tm now = plat::local_now();
        char date[16];
        std::snprintf(date, sizeof date, "%02d/%02d/%02d", now.tm_mday, now.tm_mon + 1, now.tm_year % 100);
        std::string group;  // code and description of the group being printed
        auto heading = [&] {
            printer.move_to(3000, 100);
            printer.print(title + "   " + date_label + QString::fromLatin1(date) + "   " + page_label +
                          QString("%1").arg(printer.page(), 3, 10, QChar('0')));
            printer.print("");
            printer.set_current_x(1500);
            printer.print(group_label + " " + from_ansi(group.substr(0, gf::kCodeLen)) + "   " +
                          from_ansi(group.substr(gf::kCodeLen, gf::kNameLen)));
            printer.print("");
            printer.set_current_x(1500);
            printer.print("    " + pnc_heading + "    " + name_heading);
            printer.print("");
        };

        for (int k = 1; k <= gf::kMaxGroups; ++k) {
            group = read_record(names.fp, gf::slot_offset(k), gf::kSlotSize);
            if (lib::VBCheckNull(group.substr(0, gf::kCodeLen).c_str()) != 0) break;
            heading();
            int lines = 0;
            std::string record_codes(gf::kRecordSize, ' ');
            std::string rec = read_record(codes.fp, gf::record_offset(k), gf::kRecordSize);
            std::memcpy(record_codes.data(), rec.data(), rec.size());
            for (int s = 0; s < gf::kCodesPerGroup; ++s) {
                const std::string pnc = record_codes.substr(gf::kPncLen * static_cast<size_t>(s), gf::kPncLen);
                std::string part_name(60, ' ');
                int32_t flag = 1;
                int16_t rc = lib::VBGetPncmei(pnc.c_str(), part_name.data(), &flag);
                if (rc != 0) {
                    WriteErrorLog(kSource, "Stgp_Print", "VBGetPncmei", rc, 0, 0);
                    printer.kill_doc();
                    return rc;
                }
                if ((flag & 0xFFFF) != 0) break;
                printer.set_current_x(1500);
                printer.print("    " + from_ansi(pnc) + "      " + from_ansi(part_name));
                if (++lines == kLinesPerPage) {
                    printer.new_page();
                    STGP_Set_Print_Font(printer, font_index);
                    heading();
                    lines = 0;
                }
            }
            if (k < gf::kMaxGroups) {
                const std::string next = read_record(names.fp, gf::slot_offset(k + 1), gf::kSlotSize);
                if (lib::VBCheckNull(next.substr(0, gf::kCodeLen).c_str()) == 0) {
                    printer.new_page();
                    STGP_Set_Print_Font(printer, font_index);
                }
            }
        }
        printer.end_doc();
        return 0;
    } catch (const RuntimeError& e) {
        WriteErrorLog(kSource, "Stgp_Print", "OnErrorTrap", e.number(), 0, 0);
        try {
            printer.kill_doc();
        } catch (const RuntimeError&) {
        }
        return e.number();
    }
}

}  // namespace px::maint
