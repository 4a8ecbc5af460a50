// What the list becomes: the print file, the price list, the saved list and
// the export file.
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "pnho_state.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/csv.h"
#include "pxall/hinban.h"
#include "pxall/price_file.h"
#include "pxall/price_layout.h"
#include "pxall/savefile.h"
#include "pxall/strutil.h"
#include "pxall/text_cut.h"
#include "pxpnho/pxpnho.h"
#include "pxpnho/pxpnho_layout.h"

namespace pxpnho {

namespace {

// The lines a print or export takes: the marked ones, or every line shown
// when none is marked.
std::vector<int> printed_lines(bool marked_only) {
    State& s = st();
    std::vector<int> out;
    bool any = marked_count() > 0;
    for (int li : s.shown)
        if (s.lines[static_cast<size_t>(li)].marked || (!any && !marked_only)) out.push_back(li);
    return out;
}

int qty_of(const Line& l) {
    if (!reads_as_number(l.qty, 2)) return 0;
    return (l.qty[0] == ' ' ? 0 : l.qty[0] - '0') * 10 + (l.qty[1] - '0');
}

// "%8.2f" of the price files to hundredths; -1 when it is no price.
int64_t parse_price(const char* p, size_t n) {
    std::string t(p, n);
    size_t b = t.find_first_not_of(' ');
    if (b == std::string::npos) return -1;
    char* end = nullptr;
    double v = std::strtod(t.c_str() + b, &end);
    if (end == t.c_str() + b || v < 0) return -1;
    return static_cast<int64_t>(v * 100.0 + 0.5);
}

void money(char* out, size_t width, int64_t hundredths) {
    char b[32];
    std::snprintf(b, sizeof b, "%*" PRId64 ".%02d", static_cast<int>(width) - 3, hundredths / 100,
                  static_cast<int>(hundredths % 100));
    size_t n = std::strlen(b);
    if (n > width) std::memset(out, '*', width);
    else std::memcpy(out, b, width);
}

int write_all(std::FILE* f, const char* rec, size_t n, const char* function, int place) {
    if (std::fwrite(rec, 1, n, f) != n) return fail(function, "fwrite", 13, errno, place);
    return 0;
}

int close_file(std::FILE* f, int r, const char* function, int place) {
    if (std::fclose(f) != 0 && r == 0) return fail(function, "fclose", 12, errno, place);
    return r;
}

}  // namespace

}  // namespace pxpnho

using namespace pxpnho;

extern "C" {

int16_t pnho_exec_print(VbString* path) {
    namespace pr = print_rec;
    State& s = st();
    if (!s.open) return static_cast<int16_t>(fail("pnho_exec_print", "no list", -1, 0, 40));
    if (s.shown.empty()) return kMsgEmptyPrint;
    if (!work_path(kPathPrint, kPrintFile)) return static_cast<int16_t>(fail("pnho_exec_print", "get_path_name", -1, 0, 41));
    std::FILE* f = plat::fopen(s.paths[kPathPrint], "wb");
    if (f == nullptr) return static_cast<int16_t>(fail("pnho_exec_print", "fopen", 11, errno, 42));
    const bool priced = s.price_kind >= 0 && s.price.size() == s.lines.size();
    int64_t total = 0;
    int r = 0;
    int parts = 0, last_item = -1;
    for (int li : printed_lines(false)) {
        const Line& l = s.lines[static_cast<size_t>(li)];
        const Part& p = s.parts[static_cast<size_t>(l.part)];
        char rec[pr::kSize];
        std::memset(rec, ' ', sizeof rec);
        if (l.first) {
            char n[8];
            std::snprintf(n, sizeof n, "%02d", ++parts % 100);
            std::memcpy(rec + pr::kColumn1, n, 2);
            std::memcpy(rec + pr::kColumn1 + 3, p.name, 30);
            if (p.found) {
                std::memcpy(rec + pr::kColumn6, p.from, 4);
                rec[pr::kColumn6 + 4] = '-';
                if (std::memcmp(p.to, "9999", 4) != 0) std::memcpy(rec + pr::kColumn6 + 5, p.to, 4);
            }
        }
        std::memcpy(rec + pr::kColumn2, p.item != last_item ? p.pnc : l.label, pr::kColumn2Size);
        last_item = p.item;
        rec[pr::kLineKind] = l.marked ? '*' : ' ';
        std::memcpy(rec + pr::kColumn4, l.number, pr::kColumn4Size);
        std::memcpy(rec + pr::kColumn3, l.qty, 2);
        std::memcpy(rec + pr::kColumn5, l.cat_qty, 2);
        std::memcpy(rec + pr::kColumn7, l.piece, pr::kColumn7Size);
        if (priced && s.price[static_cast<size_t>(li)] >= 0) {
            int64_t unit = s.price[static_cast<size_t>(li)];
            int64_t amount = unit * qty_of(l);
            money(rec + pr::kColumn8, pr::kColumn8Size, unit);
            money(rec + pr::kColumn9, pr::kColumn9Size, amount);
            total += amount;
        }
        if ((r = write_all(f, rec, sizeof rec, "pnho_exec_print", 43)) != 0) break;
    }
    if (r == 0) {
        char rec[pr::kSize];
        std::memset(rec, ' ', sizeof rec);
        rec[pr::kLineKind] = pr::kTotalLine;
        if (priced) money(rec + pr::kColumn1, 16, total);
        r = write_all(f, rec, sizeof rec, "pnho_exec_print", 44);
    }
    r = close_file(f, r, "pnho_exec_print", 45);
    if (r != 0) return kFailure;
    give_path(path, s.paths[kPathPrint]);
    return 0;
}

int16_t pnho_exec_price(int16_t kind, VbString* path) {
    namespace rr = price_rec;
    namespace pe = pxall::price::entry;
    State& s = st();
    if (!s.open) return static_cast<int16_t>(fail("pnho_exec_price", "no list", -1, 0, 50));
    if (kind < 0 || kind > 2) return static_cast<int16_t>(fail("pnho_exec_price", "price kind", kind, 0, 51));
    // Nothing marked is told apart from a missing price file.
    if (marked_count() == 0) return kMsgNothingMarked;
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::kakaku_open(kind != 0 ? 1 : 0, &h, &detail);
    if (r == -1 && kind != 0) {
        // The file of the three prices is not there: is the retail one?
        r = pxall::kakaku_open(0, &h, &detail);
        if (r == 0) {
            pxall::kakaku_close(&h);
            return kMsgPriceNotSetUp;
        }
        if (r != -1) return static_cast<int16_t>(fail("pnho_exec_price", "kakaku_open", r, detail, 58));
    }
    if (r == -1) return kMsgNoPrice;
    if (r != 0) return static_cast<int16_t>(fail("pnho_exec_price", "kakaku_open", r, detail, 52));
    if (!work_path(kPathPrice, kPriceFile)) {
        pxall::kakaku_close(&h);
        return static_cast<int16_t>(fail("pnho_exec_price", "get_path_name", -1, 0, 53));
    }
    std::FILE* f = plat::fopen(s.paths[kPathPrice], "wb");
    if (f == nullptr) {
        pxall::kakaku_close(&h);
        return static_cast<int16_t>(fail("pnho_exec_price", "fopen", 11, errno, 54));
    }
    std::vector<int64_t> prices(s.lines.size(), -1);
    int n = 0;
    int result = 0;
    for (int li : printed_lines(true)) {
        const Line& l = s.lines[static_cast<size_t>(li)];
        const Part& p = s.parts[static_cast<size_t>(l.part)];
        char entry[pe::kSize];
        std::memset(entry, ' ', sizeof entry);
        pxall::kakaku_reopen(h);
        r = pxall::kakaku_read(entry, l.part12, pxall::kHinbanSize, kind, h, &detail);
        if (r != 0 && r != -1) {
            result = fail("pnho_exec_price", "kakaku_read", r, detail, 55);
            break;
        }
        char rec[rr::kSize];
        std::memset(rec, ' ', sizeof rec);
        char num[8];
        std::snprintf(num, sizeof num, "%02d", ++n % 100);
        std::memcpy(rec + rr::kLine, num, 2);
        std::memcpy(rec + rr::kPnc, p.pnc, rr::kPncSize);
        std::memcpy(rec + rr::kQty, l.qty, 2);
        std::memcpy(rec + rr::kPart, l.number, rr::kPartSize);
        pxall::put_text_field(rec + rr::kName, rr::kNameSize, std::string_view(p.name, sizeof p.name), ' ');
        int64_t unit = r == 0 ? parse_price(entry + pe::kPrice, pe::kPriceSize) : -1;
        if (unit >= 0) {
            money(rec + rr::kPrice, rr::kPriceSize, unit);
            std::memcpy(rec + rr::kRemark, entry + pe::kField, rr::kRemarkSize);
        } else {
            std::memset(rec + rr::kPrice, '*', rr::kPriceSize);
        }
        prices[static_cast<size_t>(li)] = unit;
        rec[rr::kMark] = 'S';
        if ((result = write_all(f, rec, sizeof rec, "pnho_exec_price", 56)) != 0) break;
    }
    pxall::kakaku_close(&h);
    result = close_file(f, result, "pnho_exec_price", 57);
    if (result != 0) return kFailure;
    s.price = std::move(prices);
    s.price_kind = kind;
    give_path(path, s.paths[kPathPrice]);
    return 0;
}

int16_t pnho_exec_save() {
    State& s = st();
    if (!s.open) return static_cast<int16_t>(fail("pnho_exec_save", "no list", -1, 0, 60));
    std::vector<int> marked = printed_lines(true);
    if (marked.empty()) return kMsgNothingMarked;
    int32_t err = 0;
    int r = pxall::make_save_mst(&err);
    if (r != 0) {
        fail("pnho_exec_save", "make_save_mst", r, err, 61);
        return kMsgCannotWrite;
    }
    // The list's bytes go to their data file first and the master entry is
    // marked last (save_new_list), so that an interruption never leaves a
    // used entry without its file.
    char header[99];
    pxall::set_save_file_vdata(header, static_cast<int32_t>(marked.size()), nullptr);
    std::string list(header, sizeof header);
    for (int line : marked) {
        const Line& l = s.lines[static_cast<size_t>(line)];
        list.append(l.part12, 12);
        list.append(l.qty, 2);
    }
    int32_t no = 0;
    r = pxall::save_new_list(list.data(), static_cast<int32_t>(list.size()), &no, &err);
    if (r == 1) return kMsgNoSaveNumber;
    if (r != 0) {
        fail("pnho_exec_save", "save_new_list", r, err, 62);
        return kMsgCannotWrite;
    }
    return 0;
}

int16_t pnho_reset_mstflag() {
    int32_t err = 0;
    int r = pxall::reset_save_mst_flag(&err);
    if (r != 0) return static_cast<int16_t>(fail("pnho_reset_mstflag", "reset_save_mst_flag", r, err, 66));
    return 0;
}

namespace {
int16_t give_program(size_t at, VbString* buf) {
    if (buf == nullptr || buf->data == nullptr || buf->len < 1) return 0;
    const unsigned char* top = pxall::get_ctop_addr();
    std::memset(buf->data, 0, static_cast<size_t>(buf->len));
    if (top == nullptr) return 0;
    char path[pxall::ctop::kExportProgramSize + 1] = {};
    std::memcpy(path, top + at, pxall::ctop::kExportProgramSize);
    give_path(buf, path);
    return 0;
}
}  // namespace

int16_t pnho_get_expppnho(int16_t entry, VbString* buf) {
    if (entry < 0 || entry >= pxall::ctop::kMaxExportPrograms) {
        if (buf != nullptr && buf->data != nullptr && buf->len > 0) buf->data[0] = 0;
        return 0;
    }
    return give_program(pxall::ctop::kExportPrograms + pxall::ctop::kExportProgramSize * static_cast<size_t>(entry), buf);
}

int16_t pnho_get_exppfsad(VbString* buf) { return give_program(pxall::ctop::kSaveEditor, buf); }

int16_t pnho_exec_intf(int16_t kind, const char* path) {
    State& s = st();
    if (!s.open) return static_cast<int16_t>(fail("pnho_exec_intf", "no list", -1, 0, 70));
    std::vector<int> marked = printed_lines(true);
    if (marked.empty()) return kMsgNothingMarked;
    if (path == nullptr || path[0] == 0) return static_cast<int16_t>(fail("pnho_exec_intf", "path", -1, 0, 71));
    std::string out;
    for (int li : marked) {
        const Line& l = s.lines[static_cast<size_t>(li)];
        const Part& p = s.parts[static_cast<size_t>(l.part)];
        std::string line;
        if (kind == 0) {
            pxall::append_csv_quoted(&line, reinterpret_cast<const unsigned char*>(l.number), 14, true);
            pxall::append_csv_quoted(&line, reinterpret_cast<const unsigned char*>(l.qty), 2);
            pxall::append_csv_quoted(&line, reinterpret_cast<const unsigned char*>(p.pnc), 6);
            pxall::append_csv_quoted(&line, reinterpret_cast<const unsigned char*>(p.name), 30);
        } else {
            line.append(l.number, 14).append(" ").append(l.qty, 2).append(" ").append(p.pnc, 6).append(" ");
            line.append(p.name, 30);
        }
        out += line + "\r\n";
    }
    // The export replaces the clerk's file whole or not at all.
    int32_t err = 0;
    int r = pxall::atomic_write_file(path, out.data(), out.size(), &err);
    if (r == 11) r = fail("pnho_exec_intf", "atomic_write_file create", 11, err, 72);
    else if (r != 0) r = fail("pnho_exec_intf", "atomic_write_file", 13, err, 73);
    return r == 0 ? 0 : kFailure;
}

}  // extern "C"
