// The part-number search: every part of the search code in every catalogue
// of the catalogue table, as display lines, CSV lines and gathered parts.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hinb/hinb.h"
#include "hinb/hinb_layout.h"
#include "hinb_state.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/csv.h"
#include "pxall/hinban_lines.h"
#include "pxall/part_records.h"

namespace hinb {

namespace {

constexpr const char* kModule = "PXHINB03";

struct Search {
    int32_t parts = 0;
    int32_t lines = 0;
};

std::string csv_line(const unsigned char* r) {
    namespace lr = list_rec;
    std::string line;
    line.reserve(kCsvLineSize);
    pxall::append_csv_quoted(&line, r + lr::kCount, 2, true);
    pxall::append_csv_quoted(&line, r + lr::kCode, pxall::kPncSize);
    pxall::append_csv_quoted(&line, r + lr::kPart, 14);
    pxall::append_csv_quoted(&line, r + lr::kCatalog, pxall::kCatalogSize);
    pxall::append_csv_quoted(&line, r + lr::kCarName, 20);
    pxall::append_csv_quoted(&line, r + lr::kValidity, lr::kValiditySize);
    pxall::append_csv_quoted(&line, r + lr::kQty, pxall::kQtySize);
    pxall::append_csv_quoted(&line, r + lr::kRemarks, lr::kRemarksSize);
    line.push_back('\n');
    return line;
}

// The work files are written in order, each record after the last: no seek
// empties a stream's buffer.
int write_work(const pxall::HinbanPart& p) {
    State& s = st();
    namespace wr = work_rec;
    std::vector<unsigned char> rec;
    try {
        rec.assign(wr::kRemarks + p.remarks.size(), ' ');
    } catch (const std::bad_alloc&) {
        log("PXHINB01", "hinb_realloc_tmp2", "realloc", 20, 0, 21);
        return kFailed;
    }
    pxall::put_i16(rec.data() + wr::kLength, static_cast<int16_t>(rec.size()));
    std::memcpy(&rec[wr::kCatalog], p.catalog, pxall::kCatalogSize);
    std::memcpy(&rec[wr::kMain], p.part, 12);
    std::memcpy(&rec[wr::kMain + 12], p.qty, pxall::kQtySize);
    std::memcpy(&rec[wr::kSlots], p.slots, sizeof p.slots);
    std::memcpy(&rec[wr::kFrom], p.from, pxall::kDateSize);
    std::memcpy(&rec[wr::kTo], p.to, pxall::kDateSize);
    std::memcpy(&rec[wr::kRemarks], p.remarks.data(), p.remarks.size());
    if (std::fwrite(rec.data(), 1, rec.size(), s.tmp2) != rec.size()) {
        log(kModule, "hinb_pn_write_tmp2", kWorkFile, 13, errno, 2);
        return kFailed;
    }
    return 0;
}

int write_lines(const pxall::HinbanPart& p, const unsigned char* cat_entry, Search* q) {
    State& s = st();
    namespace lr = list_rec;
    std::vector<pxall::HinbanLine> lines;
    if (pxall::hinban_lines(p, pxall::LineShape::kSlotPerLine, lr::kPieceWidth, &lines) != 0) {
        log("PXHINB01", "hinb_realloc_tmp2", "realloc", 20, 0, 22);
        return kFailed;
    }
    for (const auto& line : lines) {
        unsigned char r[lr::kSize];
        std::memset(r, ' ', sizeof r);
        const pxall::HinbanCell& c = line.cell[0];
        if (line.first) {
            char count[12];
            std::snprintf(count, sizeof count, "%02d", q->parts % 100);
            std::memcpy(r + lr::kCount, count, 2);
            std::memcpy(r + lr::kCode, p.pnc, pxall::kPncSize);
            std::memcpy(r + lr::kCatalog, p.catalog, pxall::kCatalogSize);
            std::memcpy(r + lr::kCarName, cat_entry + 10, 20);
            unsigned char* v = r + lr::kValidity;
            std::memcpy(v, p.from, 4);
            v[4] = '-';
            if (!pxall::hinban_open_end(p.to)) std::memcpy(v + 5, p.to, 4);
        } else if (c.label != nullptr) {
            std::memcpy(r + lr::kCode, c.label, pxall::kUsageLabelSize);
        }
        if (c.slot >= 0) pxall::hinban_slot_display(p, c.slot, reinterpret_cast<char*>(r + lr::kPart));
        if (c.slot >= 0 && c.qty) std::memcpy(r + lr::kQty, pxall::hinban_slot_qty(p, c.slot), pxall::kQtySize);
        if (!line.piece[0].empty()) std::memcpy(r + lr::kRemarks, line.piece[0].data(), line.piece[0].size());

        if (std::fwrite(r, 1, sizeof r, s.tmp1) != sizeof r) {
            log(kModule, "hinb_pn_write_disp_tmp1", "fwrite PXHINB1.TMP", 13, errno, 4);
            return kFailed;
        }
        std::string text = csv_line(r);
        if (std::fwrite(text.data(), 1, text.size(), s.csv) != text.size()) {
            log(kModule, "hinb_pn_write_disp_tmp1", "fwrite PXHINB.CSV", 13, errno, 6);
            return kFailed;
        }
        q->lines++;
    }
    return 0;
}

int finish_part(const pxall::HinbanPart& p, const unsigned char* cat_entry, Search* q) {
    int r = write_work(p);
    if (r != 0) return r;
    q->parts++;
    return write_lines(p, cat_entry, q);
}

// The parts of the search code in one catalogue: 0, 4 or kFailed.
int search_catalog(const unsigned char* cat_entry, Search* q) {
    State& s = st();
    char code[pxall::kCatalogSize + 1] = {};
    std::memcpy(code, cat_entry + 4, pxall::kCatalogSize);
    if (s.car != nullptr) std::memcpy(s.car + pxall::ccar::kCatalog, cat_entry + 4, 8);
    int detail = 0;
    pxall::cdclose(&s.hinban, nullptr);
    int r = pxall::cdopen("HINBAN.DAT", code, 7, 0, -1, pxall::get_i32(cat_entry), 0, &s.hinban, &detail);
    if (r == -1) return 0;  // a catalogue without parts
    if (r == 4) return 4;
    if (r != 0) {
        char step[32];
        std::snprintf(step, sizeof step, "HINBAN D:%6.6s", code);
        log(kModule, "hinb_pn_make_data", step, r, detail, 7);
        return kFailed;
    }
    if (pxall::cdfilelen(s.hinban) > 0) {
        pxall::HinbanParts parts;
        pxall::HinbanPart done;
        unsigned char rec[pxall::keyed::kBlockSize];
        while ((r = pxall::cdread(rec, s.search_code, kCodeSize, 0, nullptr, nullptr, s.hinban, &detail)) == 0) {
            int f = parts.feed(rec, &done);
            if (f == 20) {
                log("PXHINB01", "hinb_realloc_tmp2", "realloc", 20, 0, 8);
                r = kFailed;
                break;
            }
            if (f == 1 && (r = finish_part(done, cat_entry, q)) != 0) break;
        }
        if (r == -1) {
            r = parts.finish(&done) ? finish_part(done, cat_entry, q) : 0;
        } else if (r != kFailed) {
            log(kModule, "hinb_pn_make_data", "cdread HINBAN", r, detail, 9);
            r = kFailed;
        }
    }
    pxall::cdclose(&s.hinban, nullptr);
    return r;
}

bool open_file(const char* name, int kind, const char* step, std::FILE** f) {
    char path[pxall::kPathSize];
    if (!file_path(name, path, kind)) {
        log(kModule, "hinb_pn_init", step, 11, 0, 10);
        return false;
    }
    *f = plat::fopen(path, "wb");
    if (*f == nullptr) {
        log(kModule, "hinb_pn_init", step, 11, errno, 11);
        return false;
    }
    return true;
}

void close_all() {
    State& s = st();
    for (std::FILE** f : {&s.tmp1, &s.tmp2, &s.csv})
        if (*f != nullptr) {
            std::fclose(*f);
            *f = nullptr;
        }
    pxall::cdclose(&s.hinban, nullptr);
    free_cattbl();
}

}  // namespace

}  // namespace hinb

using namespace hinb;

extern "C" {

int32_t hinb_pn_main(int16_t* msg, int16_t* count) {
    State& s = st();
    if (msg != nullptr) *msg = 0;
    if (count != nullptr) *count = 0;
    if (!open_file(kListFile, pxall::kPathWork, "fopen PXHINB1.TMP", &s.tmp1) ||
        !open_file(kWorkFile, pxall::kPathWork, "fopen PXHINB2.TMP", &s.tmp2) ||
        !open_file(kCsvFile, pxall::kPathMaster, "fopen PXHINB.TXT", &s.csv)) {
        close_all();
        return -1;
    }
    Search q;
    int r = 0;
    if (s.cd_count > 0) r = make_cattbl(s.cd_table[0]);
    for (int32_t i = 0; r == 0 && i < s.cat_count; ++i) r = search_catalog(s.cattbl + static_cast<size_t>(i) * kCatEntrySize, &q);
    close_all();
    if (count != nullptr) *count = static_cast<int16_t>(q.parts > 32767 ? 32767 : q.parts);
    if (r == 4) return 4;
    if (r != 0) return -1;
    if (q.lines == 0) {
        if (msg != nullptr) *msg = 865;
        return 1;
    }
    if (msg != nullptr) *msg = 105;
    return 0;
}

}  // extern "C"
