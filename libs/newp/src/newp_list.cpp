// The list: the parts of the catalogue on the current CD that the earlier
// issue does not hold, written as part records, display lines and CSV lines.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "newp/newp.h"
#include "newp/newp_layout.h"
#include "newp_sides.h"
#include "newp_state.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/strutil.h"
#include "pxall/hinban.h"
#include "pxall/csv.h"
#include "pxall/hinban_lines.h"
#include "pxall/part_records.h"
#include "pxall/texts.h"

namespace newp {

namespace {

namespace fr = pxall::figind_rec;
constexpr int kOverLimitMessage = 818;

struct Out {
    int32_t parts = 0;
    int32_t lines = 0;
    bool asked = false;
    bool stop = false;
};

std::string csv_line(const unsigned char* r) {
    namespace lr = list_rec;
    std::string line;
    line.reserve(kCsvLineSize);
    pxall::append_csv_quoted(&line, r + lr::kNumber, 2, true);
    pxall::append_csv_quoted(&line, r + lr::kPnc, pxall::kPncSize);
    pxall::append_csv_quoted(&line, r + lr::kPart, 14);
    pxall::append_csv_quoted(&line, r + lr::kQty, pxall::kQtySize);
    pxall::append_csv_quoted(&line, r + lr::kValidity, lr::kValiditySize);
    pxall::append_csv_quoted(&line, r + lr::kName, lr::kNameSize);
    pxall::append_csv_quoted(&line, r + lr::kRemarks, static_cast<size_t>(lr::kPieceWidth));
    line.push_back('\n');
    return line;
}

int open_catalog_file(const char* name, const char* catalog, pxall::CdHandle** h, const char* function, int place) {
    State& s = st();
    pxall::cdclose(h, nullptr);
    int detail = 0;
    int r = pxall::cdopen(name, catalog, 7, 0, -1, s.cat_index, 0, h, &detail);
    if (r == 0 || r == -1 || r == 4) return r;
    log(function, "cdopen", r, detail, place);
    return kFailed;
}

// The part-name and part-number files and the current figure index again
// after the earlier issue has had the drive.
int restore_current(const HandleSide* cur) {
    State& s = st();
    if (on_disk(s.cat_index)) return 0;
    int r = cd_set_current("newp_cd_set");
    if (r != 0) return r;
    char code[7] = {};
    std::memcpy(code, s.code, 6);
    char name[16];
    std::snprintf(name, sizeof name, pxall::kHinmeiFormat, reinterpret_cast<const char*>(s.top + pxall::ctop::kDataLangCode));
    if ((r = open_catalog_file("HINBAN.DAT", code, &s.hinban, "newp_make_data2", 50)) != 0 && r != -1) return r;
    if ((r = open_catalog_file(name, "", &s.hinmei, "newp_make_data2", 51)) != 0 && r != -1) return r;
    if (cur == nullptr || s.fig_cur == nullptr) return 0;
    pxall::cdclose(&s.fig_cur, nullptr);
    int detail = 0;
    r = pxall::cdopen("FIGIND.DAT", "", 15, 1, -1, s.cat_index, 0, &s.fig_cur, &detail);
    if (r == 0) r = pxall::cdseek(pxall::kDataSlot, cur->next_block(), s.fig_cur, &detail);
    if (r == 0 || r == 4) return r;
    log("newp_make_data2", "cdopen", r, detail, 52);
    return kFailed;
}

int ask_over_limit(Out* o) {
    o->asked = true;
    const char* first = pxall::get_1stmsg_text(kOverLimitMessage);
    if (first == nullptr) {
        pxall::syerr_message(kPopupModule, "newp_over_check", "get_1stmsg_text", -1, 0, 53);
        return kFailed;
    }
    std::string text(first, strnlen(first, pxall::kMsgTextChars));
    const char* second = pxall::get_2ndmsg_text();
    if (second == nullptr) {
        pxall::syerr_message(kPopupModule, "newp_over_check", "get_2ndmsg_text", -1, 0, 54);
        return kFailed;
    }
    text.append(second, strnlen(second, pxall::kMsgTextChars));
    int32_t answer = plat::message_box(text, "", plat::kMbOkCancel | plat::kMbIconQuestion);
    if (answer == plat::kIdCancel) o->stop = true;
    return 0;
}

int write_lines(const pxall::HinbanPart& p, const char* name, Out* o) {
    State& s = st();
    namespace lr = list_rec;
    std::vector<pxall::HinbanLine> lines;
    if (pxall::hinban_lines(p, pxall::LineShape::kMainOnEveryLine, lr::kPieceWidth, &lines) != 0) {
        log("newp_make_disp_data", "malloc", 20, 0, 55);
        return kFailed;
    }
    for (const auto& line : lines) {
        unsigned char r[lr::kSize];
        std::memset(r, ' ', sizeof r);
        if (line.first) {
            char no[12];
            std::snprintf(no, sizeof no, "%02d", (o->parts + 1) % 100);
            std::memcpy(r + lr::kNumber, no, 2);
        }
        std::memcpy(r + lr::kPnc, p.pnc, pxall::kPncSize);
        pxall::hinban_slot_display(p, 0, reinterpret_cast<char*>(r + lr::kPart));
        std::memcpy(r + lr::kQty, p.qty, pxall::kQtySize);
        std::memcpy(r + lr::kValidity, p.from, 4);
        r[lr::kValidity + 4] = '-';
        std::memcpy(r + lr::kValidity + 5, p.to, 4);
        std::memcpy(r + lr::kName, name, lr::kNameSize);
        if (!line.piece[0].empty()) std::memcpy(r + lr::kRemarks, line.piece[0].data(), line.piece[0].size());
        if (std::fwrite(r, 1, sizeof r, s.list) != sizeof r) {
            log("newp_make_disp_data", "fwrite", 13, errno, 56);
            return kFailed;
        }
        std::string text = csv_line(r);
        if (std::fwrite(text.data(), 1, text.size(), s.csv) != text.size()) {
            log("newp_make_disp_data", "fwrite", 13, errno, 57);
            return kFailed;
        }
        o->lines++;
    }
    return 0;
}

int write_part_record(const pxall::HinbanPart& p, const char* name) {
    State& s = st();
    namespace pr = part_rec;
    std::vector<unsigned char> rec;
    try {
        rec.assign(pr::kRemarks + p.remarks.size(), ' ');
    } catch (const std::bad_alloc&) {
        log("newp_work2_write", "realloc", 20, 0, 58);
        return kFailed;
    }
    pxall::put_i16(rec.data() + pr::kLength, static_cast<int16_t>(rec.size()));
    std::memcpy(&rec[pr::kPnc], p.pnc, pxall::kPncSize);
    std::memcpy(&rec[pr::kPart], p.part, 12);
    std::memcpy(&rec[pr::kQty], p.qty, pxall::kQtySize);
    std::memcpy(&rec[pr::kSlots], p.slots, sizeof p.slots);
    std::memcpy(&rec[pr::kFrom], p.from, 4);
    std::memcpy(&rec[pr::kTo], p.to, 4);
    std::memcpy(&rec[pr::kName], name, 60);
    std::memcpy(&rec[pr::kRemarks], p.remarks.data(), p.remarks.size());
    if (std::fwrite(rec.data(), 1, rec.size(), s.parts) != rec.size()) {
        log("newp_work2_write", "fwrite", 13, errno, 60);
        return kFailed;
    }
    return 0;
}

// A new part: its name and records gathered and written.
int output_part(const unsigned char* fig, Out* o) {
    State& s = st();
    const char* pnc = reinterpret_cast<const char*>(fig + fr::kPnc);
    const char* part = reinterpret_cast<const char*>(fig + fr::kPart);
    unsigned char rec[pxall::keyed::kBlockSize];
    int detail = 0;
    char name[60];
    std::memset(name, ' ', sizeof name);
    if (s.hinmei != nullptr) {
        pxall::cdreopen(s.hinmei, &detail);
        int r = pxall::cdread(rec, pnc, 6, 0, nullptr, nullptr, s.hinmei, &detail);
        if (r == 0) std::memcpy(name, rec + pxall::hinmei_rec::kName, sizeof name);
        if (r != 0 && r != -1) {
            log("newp_edit_ouptpu_data", "cdread", r, detail, 61);
            return kFailed;
        }
    }
    pxall::HinbanParts gather(part);
    pxall::HinbanPart p;
    bool got = false;
    pxall::cdreopen(s.hinban, &detail);
    int r;
    while ((r = pxall::cdread(rec, pnc, 6, 0, nullptr, nullptr, s.hinban, &detail)) == 0) {
        int f = gather.feed(rec, &p);
        if (f == 20) {
            log("newp_edit_ouptpu_data", "realloc", 20, 0, 62);
            return kFailed;
        }
        if (f == 1) {
            got = true;
            break;
        }
    }
    if (r == -1) got = gather.finish(&p);
    else if (r != 0) {
        log("newp_edit_ouptpu_data", "cdread", r, detail, 63);
        return kFailed;
    }
    if (!got) {
        // In the figure index but without part records: listed with blanks.
        unsigned char blank[pxall::hinban_rec::kSize];
        std::memset(blank, ' ', sizeof blank);
        std::memcpy(blank + pxall::hinban_rec::kPnc, pnc, 6);
        std::memcpy(blank + pxall::hinban_rec::kPart, part, 12);
        blank[pxall::hinban_rec::kKind] = pxall::hinban_rec::kKindPart;
        pxall::HinbanParts one;
        one.feed(blank, &p);
        one.finish(&p);
    }
    if ((r = write_part_record(p, name)) != 0) return r;
    if ((r = write_lines(p, name, o)) != 0) return r;
    o->parts++;
    if (o->parts >= kAskAfter && !o->asked) return ask_over_limit(o);
    return 0;
}

// The walk of the current CD's records against the earlier issue's; both
// sides stand on their first record of the catalogue.
int compare(Side& cur, Side& cmp, Out* o) {
    char last[12];
    bool have_last = false;
    while (const unsigned char* rec = cur.rec()) {
        const unsigned char* part = rec + fr::kPart;
        // A part number under a second figure is the same part.
        bool repeated = have_last && std::memcmp(last, part, sizeof last) == 0;
        std::memcpy(last, part, sizeof last);
        have_last = true;
        int r = 0;
        while (!repeated && cmp.rec() != nullptr && std::memcmp(cmp.rec() + fr::kPart, part, 12) < 0)
            if ((r = cmp.advance()) != 0) return r;
        // Past the earlier issue's last part every part is new.
        bool old = cmp.rec() != nullptr && std::memcmp(cmp.rec() + fr::kPart, part, 12) == 0;
        if (!repeated && !old) {
            if ((r = output_part(rec, o)) != 0) return r;
            if (o->stop) return 0;
        }
        if ((r = cur.advance()) != 0) return r;
    }
    return 0;
}

int open_current_figind(HandleSide* cur, int16_t* msg) {
    State& s = st();
    int detail = 0;
    int r = pxall::cdopen("FIGIND.DAT", "", 15, 1, -1, s.cat_index, 0, &s.fig_cur, &detail);
    if (r == -1) {
        *msg = 874;
        return 1;
    }
    if (r != 0) {
        if (r == 4) return 4;
        log("newp_make_data", "cdopen", r, detail, 64);
        return kFailed;
    }
    char code[7] = {};
    std::memcpy(code, s.code, 6);
    r = pxall::cdseek_key(code, 6, s.fig_cur, &detail);
    if (r == 0) r = cur->advance();
    else if (r != -1) {
        log("newp_make_data", "cdseek_key", r, detail, 65);
        return kFailed;
    }
    if (r == -1 || (r == 0 && cur->rec() == nullptr)) {
        *msg = 874;
        return 1;
    }
    return r;
}

int open_outputs() {
    State& s = st();
    const struct {
        std::FILE** f;
        PathSlot slot;
        const char* mode;
    } files[] = {{&s.list, kPathList, "wb"}, {&s.parts, kPathParts, "wb"}, {&s.csv, kPathCsv, "wt"}};
    for (const auto& f : files) {
        *f.f = s.paths[f.slot][0] != 0 ? plat::fopen(s.paths[f.slot], f.mode) : nullptr;
        if (*f.f == nullptr) {
            log("newp_make_data", "fopen", 11, errno, 66);
            return kFailed;
        }
    }
    return 0;
}

// Steps 4-9 of the list on an open current CD.
int build(int16_t* msg, Out* o) {
    State& s = st();
    const unsigned char* e = pxall::setup_entry_addr(s.cat_index);
    if (e == nullptr) {
        *msg = 828;
        return 1;
    }
    std::memcpy(s.cat_name, e + pxall::setup_entry::kName, 2);
    std::memcpy(s.cat_no, e + pxall::setup_entry::kCdNo, 2);
    std::memcpy(s.cat_date, e + pxall::setup_entry::kCdDate, 8);
    int detail = 0;
    int r;
    if (!on_disk(s.cat_index)) {
        // The CD's numbers name the CD field of the catalogue's CD.
        char id[3] = {s.cat_name[0], s.cat_name[1], 0}, no[3] = {s.cat_no[0], s.cat_no[1], 0}, date[9] = {};
        std::memcpy(date, s.cat_date, 8);
        uint8_t* table = nullptr;
        int32_t count = 0;
        r = pxall::cdmake_cdno_table(-1, id, no, date, &table, &count, 0, &detail);
        if (r == 4) return 4;
        if (r != 0) {
            log("newp_get_cd_table", "cdmake_cdno_table", r, detail, 67);
            return kFailed;
        }
        for (int32_t i = 0; i < count; ++i)
            if (std::memcmp(table + 4 * i, s.cat_name, 2) == 0) std::memcpy(s.cat_no, table + 4 * i + 2, 2);
        std::free(table);
        if ((r = cd_set_current("newp_cd_set")) != 0) return r;
    }
    char code[7] = {};
    std::memcpy(code, s.code, 6);
    r = open_catalog_file("HINBAN.DAT", code, &s.hinban, "newp_make_data", 68);
    if (r == -1) {
        *msg = 865;
        return 1;
    }
    if (r != 0) return r;
    char name[16];
    std::snprintf(name, sizeof name, pxall::kHinmeiFormat, reinterpret_cast<const char*>(s.top + pxall::ctop::kDataLangCode));
    if ((r = open_catalog_file(name, "", &s.hinmei, "newp_make_data", 69)) != 0 && r != -1) return r;
    if ((r = open_outputs()) != 0) return r;

    HandleSide cur(s.code, s.buf_cur, &s.fig_cur, "newp_make_data");
    int drives = s.top[pxall::ctop::kDriveCount];
    if (drives >= 2) {
        int drive = -1;
        char id[3] = {}, date[9] = {};
        if ((r = find_comparison(&drive, id, date)) != 0) return r;
        r = pxall::cdopen_direct("FIGIND.DAT", "", 15, drive, 0, id, nullptr, date, 0, 0, 1, &s.fig_cmp, &detail);
        if (r == 4) return 4;
        if (r != 0) {
            log("newp_make_data", "cdopen_direct", r, detail, 70);
            return kFailed;
        }
        HandleSide cmp(s.code, s.buf_cmp, &s.fig_cmp, "newp_check_hinban");
        r = pxall::cdseek_key(code, 6, s.fig_cmp, &detail);
        if (r == 0) r = cmp.advance();
        else if (r != -1) {
            log("newp_make_data", "cdseek_key", r, detail, 71);
            return kFailed;
        }
        if (r == -1 || (r == 0 && cmp.rec() == nullptr)) {
            *msg = 873;
            return 1;
        }
        if (r != 0) return r;
        if (!on_disk(s.cat_index) && (r = cd_set_current("newp_cd_set")) != 0) return r;
        if ((r = open_current_figind(&cur, msg)) != 0) return r;
        return compare(cur, cmp, o);
    }
    // One drive: the earlier issue is copied to PXNEWP0.TMP round by round.
    HandleSide* cur_ptr = &cur;
    bool opened = false;
    CopiedSide cmp(s.code, s.buf_cmp, [&]() { return restore_current(opened ? cur_ptr : nullptr); });
    r = cmp.start();
    if (r == 1) {
        *msg = 873;
        return 1;
    }
    if (r == 0) r = cmp.advance();
    if (r != 0) return r;
    if (cmp.rec() == nullptr) {
        *msg = 873;
        return 1;
    }
    if ((r = open_current_figind(&cur, msg)) != 0) return r;
    opened = true;
    return compare(cur, cmp, o);
}

}  // namespace

int make_list(int16_t* msg, int32_t* count) {
    State& s = st();
    if (s.buf_cur == nullptr) s.buf_cur = static_cast<unsigned char*>(std::malloc(kBufSize));
    if (s.buf_cmp == nullptr) s.buf_cmp = static_cast<unsigned char*>(std::malloc(kBufSize));
    if (s.buf_cur == nullptr || s.buf_cmp == nullptr) {
        log("newp_make_data", "malloc", 20, 0, 72);
        return kFailed;
    }
    Out o;
    int r = build(msg, &o);
    *count = o.parts;
    close_all();
    if (r == 0) {
        *msg = o.parts > 0 ? 105 : 872;
        return o.parts > 0 ? 0 : 1;
    }
    if (r == 1) return 1;
    // A cancelled CD request or a failure leaves no work file behind.
    delete_work(true, true, true);
    return r;
}

}  // namespace newp

using namespace newp;

extern "C" {

int32_t newp_main(int16_t* msg, int16_t* count) {
    State& s = st();
    if (msg != nullptr) *msg = 0;
    if (count != nullptr) *count = 0;
    unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr || s.top == nullptr) return kFailed;
    select_start_cd();
    int32_t mode = pxall::get_i32(car + pxall::ccar::kListEndMode);
    bool have_code = pxall::memlenb(reinterpret_cast<const char*>(car + pxall::ccar::kCatalog), 6) > 0;
    if (mode == kModeF3) {
        pxall::put_i32(car + pxall::ccar::kListEndMode, 0);
        if (msg != nullptr) *msg = 125;
        return 3;
    }
    if (have_code && mode == kModeGivenUp) {
        pxall::put_i32(car + pxall::ccar::kListEndMode, 0);
        return 4;
    }
    if (!have_code) {
        // Nothing was chosen: there is no catalogue to read parts from.
        if (msg != nullptr) *msg = 865;
        return 1;
    }
    std::memset(s.code, ' ', sizeof s.code);
    std::memcpy(s.code, car + (mode == kModeFromInput ? kCarInputCode : pxall::ccar::kCatalog), 6);
    std::memcpy(s.car_name, car + pxall::ccar::kVehicleName, sizeof s.car_name);
    std::memcpy(s.from, car + pxall::ccar::kProdFrom, 4);
    std::memcpy(s.to, car + pxall::ccar::kProdTo, 4);
    s.cat_index = pxall::get_i32(car + pxall::ccar::kSetupIndex);

    close_all();
    delete_work(true, false, false);
    int16_t m = 0;
    int32_t parts = 0;
    int r = make_list(&m, &parts);
    if (msg != nullptr) *msg = m;
    if (count != nullptr) *count = static_cast<int16_t>(parts > 32767 ? 32767 : parts);
    pxall::put_i32(car + pxall::ccar::kListEndMode, 0);
    return r;
}

}  // extern "C"
