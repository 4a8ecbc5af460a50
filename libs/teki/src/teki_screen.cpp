// SCRTEKI.TMP from the entries' work files, and PXTEKI.CSV from it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/hinban.h"
#include "pxall/hinban_lines.h"
#include "pxall/strutil.h"
#include "teki/teki_layout.h"
#include "teki_state.h"

namespace teki {

namespace {

namespace wr = work_rec;
namespace sc = screen_rec;

// A work record longer than this is taken for a damaged file.
constexpr size_t kMaxWorkRecord = wr::kBaseSize + pxall::kMaxContinuations * wr::kMoreSize;

// A work record back into a part: false when its length cannot be one.
bool read_part(std::FILE* f, unsigned char* buf, pxall::HinbanPart* p, int* cat_index, bool* end) {
    *end = false;
    unsigned char head[2];
    size_t got = std::fread(head, 1, 2, f);
    if (got == 0 && std::feof(f)) {
        *end = true;
        return true;
    }
    if (got != 2) return false;
    size_t len = static_cast<uint16_t>(pxall::get_i16(head));
    if (len < wr::kBaseSize || len > kMaxWorkRecord || (len - wr::kBaseSize) % wr::kMoreSize != 0) return false;
    std::memcpy(buf, head, 2);
    if (std::fread(buf + 2, 1, len - 2, f) != len - 2) return false;
    *cat_index = pxall::get_i16(buf + wr::kCatalogIndex);
    std::memset(p->catalog, ' ', sizeof p->catalog);
    std::memcpy(p->pnc, buf + wr::kPnc, sizeof p->pnc);
    std::memcpy(p->part, buf + wr::kPart, sizeof p->part);
    std::memcpy(p->qty, buf + wr::kQty, sizeof p->qty);
    std::memcpy(p->slots, buf + wr::kSlots, sizeof p->slots);
    std::memcpy(p->from, buf + wr::kFrom, sizeof p->from);
    std::memcpy(p->to, buf + wr::kTo, sizeof p->to);
    p->remarks.assign(reinterpret_cast<const char*>(buf + wr::kRemarks), len - wr::kRemarks);
    return true;
}

void put_cell(unsigned char* r, int k, const pxall::HinbanPart& p, const pxall::HinbanCell& c) {
    if (c.slot >= 0) pxall::hinban_slot_display(p, c.slot, reinterpret_cast<char*>(r + sc::kPart[k]));
    if (c.label != nullptr) std::memcpy(r + sc::kLabel[k], c.label, pxall::kUsageLabelSize);
    if (c.slot >= 0 && c.qty) std::memcpy(r + sc::kQty[k], pxall::hinban_slot_qty(p, c.slot), 2);
}

int write_part(std::FILE* out, const pxall::HinbanPart& p, const Catalog* cat, int32_t number) {
    std::vector<pxall::HinbanLine> lines;
    if (pxall::hinban_lines(p, pxall::LineShape::kSlotPairs, sc::kPieceWidth, &lines) != 0) {
        log("teki_make_scrteki", "malloc", 20, 0, 40);
        return 20;
    }
    for (const auto& line : lines) {
        unsigned char r[sc::kSize];
        std::memset(r, ' ', sizeof r);
        put_cell(r, 0, p, line.cell[0]);
        put_cell(r, 1, p, line.cell[1]);
        if (line.first) {
            char no[12];
            std::snprintf(no, sizeof no, "%02d", number % 100);
            std::memcpy(r + sc::kNumber, no, 2);
            std::memcpy(r + sc::kLabel[0], p.pnc, sizeof p.pnc);
            if (cat != nullptr) {
                std::memcpy(r + sc::kCatalog, cat->code, sizeof cat->code);
                std::memcpy(r + sc::kCarName, cat->car_name, sizeof cat->car_name);
            }
            std::memcpy(r + sc::kFrom, p.from, sizeof p.from);
            if (!pxall::hinban_open_end(p.to)) std::memcpy(r + sc::kTo, p.to, sizeof p.to);
        }
        for (int k = 0; k < 2; ++k)
            if (!line.piece[k].empty()) std::memcpy(r + sc::kPiece[k], line.piece[k].data(), line.piece[k].size());
        if (std::fwrite(r, 1, sizeof r, out) != sizeof r) {
            log("teki_make_scrteki", "fwrite", 13, errno, 41);
            return 13;
        }
    }
    return 0;
}

// A CSV field: empty when its first character is blank; trailing blanks cut
// when asked; in quotes when asked.
void field(std::string* line, const char* at, size_t width, bool trim, bool quote, bool first = false) {
    if (!first) line->push_back(',');
    if (static_cast<unsigned char>(at[0]) == ' ') return;
    size_t n = trim ? static_cast<size_t>(pxall::memlenb(at, static_cast<int>(width))) : width;
    if (quote) line->push_back('"');
    for (size_t i = 0; i < n; ++i) {
        if (quote && at[i] == '"') line->push_back('"');
        line->push_back(at[i]);
    }
    if (quote) line->push_back('"');
}

}  // namespace

int make_scrteki(const char* path) {
    State& s = st();
    std::FILE* out = plat::fopen(path, "w+b");
    if (out == nullptr) {
        log("teki_make_scrteki", "fopen", 11, errno, 42);
        return 11;
    }
    auto* buf = static_cast<unsigned char*>(std::malloc(kMaxWorkRecord));
    if (buf == nullptr) {
        std::fclose(out);
        log("teki_make_scrteki", "malloc", 20, 0, 43);
        return 20;
    }
    int r = 0;
    int32_t number = 0;
    for (int i = 0; i < s.entry_count && r == 0; ++i) {
        const Entry& e = s.entries[i];
        if (e.found == 0) continue;
        std::FILE* in = plat::fopen(e.path, "rb");
        if (in == nullptr) {
            log("teki_make_scrteki", "fopen", 11, errno, 44);
            r = 11;
            break;
        }
        for (;;) {
            pxall::HinbanPart p;
            int cat_index = -1;
            bool end = false;
            if (!read_part(in, buf, &p, &cat_index, &end)) {
                log("teki_make_scrteki", "fread", 14, errno, 45);
                r = 14;
                break;
            }
            if (end) break;
            const Catalog* cat = cat_index >= 0 && cat_index < s.cat_count ? &s.cattbl[cat_index] : nullptr;
            if ((r = write_part(out, p, cat, ++number)) != 0) break;
        }
        std::fclose(in);
    }
    std::free(buf);
    if (std::fclose(out) != 0 && r == 0) {
        log("teki_make_scrteki", "fwrite", 13, errno, 46);
        r = 13;
    }
    return r;
}

int make_scrteki_csv(const char* path) {
    State& s = st();
    char screen[pxall::kPathSize];
    if (!file_path(kScreenFile, screen)) {
        log("teki_make_scrteki_csv", "fopen", 11, 0, 47);
        return 11;
    }
    std::FILE* in = plat::fopen(screen, "rb");
    if (in == nullptr) {
        log("teki_make_scrteki_csv", "fopen", 11, errno, 48);
        return 11;
    }
    std::FILE* out = plat::fopen(path, "wt");
    if (out == nullptr) {
        std::fclose(in);
        log("teki_make_scrteki_csv", "fopen", 11, errno, 49);
        return 11;
    }
    int r = 0;
    char rec[sc::kSize];
    size_t got;
    while (r == 0 && (got = std::fread(rec, 1, sizeof rec, in)) == sizeof rec) {
        std::string line;
        field(&line, rec + sc::kNumber, 2, false, false, true);
        field(&line, rec + sc::kPart[0], 14, true, false);
        field(&line, rec + sc::kLabel[0], 6, true, false);
        field(&line, rec + sc::kQty[0], 2, false, false);
        // The entered part number's name, on the first line of a record.
        const char* name = nullptr;
        if (rec[sc::kNumber] != ' ') {
            char part[12];
            pxall::edit_hinban12(part, rec + sc::kPart[0]);
            for (int i = 0; i < s.entry_count && name == nullptr; ++i)
                if (std::memcmp(s.entries[i].part, part, sizeof part) == 0) name = s.entries[i].name;
        }
        if (name != nullptr)
            field(&line, name, kNameSize, true, true);
        else
            line.push_back(',');
        field(&line, rec + sc::kCatalog, 6, false, false);
        field(&line, rec + sc::kCarName, 20, true, true);
        field(&line, rec + sc::kFrom, 4, false, false);
        field(&line, rec + sc::kTo, 4, false, false);
        field(&line, rec + sc::kPiece[0], sc::kPieceWidth, true, true);
        line.push_back('\n');
        if (rec[sc::kPart[1]] != ' ' || rec[sc::kPiece[1]] != ' ') {
            // The first field stays empty.
            field(&line, rec + sc::kPart[1], 14, true, false);
            field(&line, rec + sc::kLabel[1], 6, true, false);
            field(&line, rec + sc::kQty[1], 2, false, false);
            line.append(",,,,,");
            field(&line, rec + sc::kPiece[1], sc::kPieceWidth, true, true);
            line.push_back('\n');
        }
        if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) {
            log("teki_make_scrteki_csv", "fputs", 13, errno, 50);
            r = 13;
        }
    }
    if (r == 0 && std::ferror(in)) {
        log("teki_make_scrteki_csv", "fread", 14, errno, 51);
        r = 14;
    }
    std::fclose(in);
    if (std::fclose(out) != 0 && r == 0) {
        log("teki_make_scrteki_csv", "fputs", 13, errno, 52);
        r = 13;
    }
    return r;
}

}  // namespace teki
