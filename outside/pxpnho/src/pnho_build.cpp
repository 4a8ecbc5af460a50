// Building the list: the selection items, their parts from the vehicle's
// catalogue (HINBAN.DAT by part-name code, FIGIND.DAT for the code of a part
// number) and their names (HINMnn.DAT), cut into lines by the common
// library's part-line assembly.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "pnho_state.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/hinban.h"
#include "pxall/keyed_file.h"
#include "pxall/keyed_layout.h"
#include "pxall/localp.h"
#include "pxall/localp_layout.h"
#include "pxall/part_records.h"
#include "pxall/selection.h"
#include "pxall/strutil.h"
#include "pxall/text_cut.h"

namespace pxpnho {

namespace {

constexpr int kKeySet = 7;
constexpr int kFigindKeySet = 15;
namespace sf = pxall::selfile;

// One item of the handed-over selection.
struct Item {
    bool part_number = false;  // else a part-name code
    char code[12];
    char qty[2];
    char figure[4];            // of a local part: its local-parts figure
};

void fix_qty(char* qty) {
    // "00" and anything not two digits is asked for once.
    bool digits = std::isdigit(static_cast<unsigned char>(qty[0])) && std::isdigit(static_cast<unsigned char>(qty[1]));
    if (!digits || (qty[0] == '0' && qty[1] == '0')) std::memcpy(qty, "01", 2);
}

int read_items(bool local, std::vector<Item>* out) {
    std::vector<unsigned char> image(pxall::kSelectImage, 0);
    int32_t err = 0;
    int r = local ? pxall::read_lcpsel_tmp(image.data(), &err) : pxall::read_select_tmp(image.data(), &err);
    if (r != 0) return fail("pnho_exec_main", local ? "read_lcpsel_tmp" : "read_select_tmp", r, err, 1);
    for (int i = 0; i < sf::kRecords; ++i) {
        const unsigned char* rec = image.data() + static_cast<size_t>(i) * sf::kRecordSize;
        if (rec[0] == 0) break;
        Item it{};
        if (local) {
            it.part_number = true;
            std::memcpy(it.code, rec + sf::lcp::kPart, sizeof it.code);
            std::memcpy(it.qty, rec + sf::lcp::kQty, sizeof it.qty);
            std::memcpy(it.figure, rec + sf::lcp::kFigure, sizeof it.figure);
        } else {
            it.part_number = rec[sf::sel::kKind] == 1;
            std::memcpy(it.code, rec + sf::sel::kCode, sizeof it.code);
            std::memcpy(it.qty, rec + sf::sel::kQty, sizeof it.qty);
        }
        for (char& c : it.code)
            if (c == 0) c = ' ';
        fix_qty(it.qty);
        out->push_back(it);
    }
    return 0;
}

// The catalogue files of the vehicle, opened once for the build.
struct Files {
    char catalog[7] = {};
    int32_t setup = -1;
    pxall::CdHandle* hinban = nullptr;
    pxall::CdHandle* names = nullptr;
    pxall::CdHandle* figind = nullptr;
    ~Files() {
        pxall::cdclose(&hinban, nullptr);
        pxall::cdclose(&names, nullptr);
        pxall::cdclose(&figind, nullptr);
    }
};

// Opens one file: 0 (a missing file leaves the handle null), 4, or kFailed.
int open_one(const char* name, const char* catalog, int key_set, int32_t setup, pxall::CdHandle** h, int place) {
    int detail = 0;
    int r = pxall::cdopen(name, catalog, key_set, 0, -1, setup, 0, h, &detail);
    if (r == 0 || r == -1) return 0;
    if (r == 4) return 4;
    char step[32];
    std::snprintf(step, sizeof step, "cdopen %s", name);
    return fail("pnho_exec_main", step, r, detail, place);
}

int open_files(Files* f) {
    const unsigned char* top = pxall::get_ctop_addr();
    const unsigned char* car = pxall::get_ccar_addr();
    if (top == nullptr || car == nullptr) return fail("pnho_exec_main", "get_ccar_addr", -1, 0, 2);
    for (int i = 0; i < 6; ++i) {
        char c = static_cast<char>(car[pxall::ccar::kCatalog + i]);
        f->catalog[i] = c == 0 ? ' ' : c;
    }
    // A vehicle without a catalogue lists the items as they were picked.
    if (pxall::memlenb(f->catalog, 6) == 0) return 0;
    f->setup = pxall::get_i32(car + pxall::ccar::kSetupIndex);
    char names[16];
    std::snprintf(names, sizeof names, pxall::kHinmeiFormat, reinterpret_cast<const char*>(top + pxall::ctop::kDataLangCode));
    int r = open_one("HINBAN.DAT", f->catalog, kKeySet, f->setup, &f->hinban, 3);
    if (r == 0) r = open_one(names, "", kKeySet, f->setup, &f->names, 4);
    if (r == 0) r = open_one("FIGIND.DAT", "", kFigindKeySet, f->setup, &f->figind, 5);
    return r;
}

// The part-name code of a part number: 0 found, -1 not, or kFailed.
int pnc_of(Files* f, const char* part12, char* pnc) {
    if (f->figind == nullptr) return -1;
    char key[pxall::figind_rec::kKeySize];
    std::memcpy(key, f->catalog, 6);
    std::memcpy(key + 6, part12, 12);
    unsigned char rec[pxall::keyed::kBlockSize];
    int detail = 0;
    pxall::cdreopen(f->figind, &detail);
    int r = pxall::cdread(rec, key, sizeof key, 0, nullptr, nullptr, f->figind, &detail);
    if (r == 0) {
        std::memcpy(pnc, rec + pxall::figind_rec::kPnc, 6);
        return 0;
    }
    if (r == -1) return -1;
    return fail("pnho_exec_main", "cdread FIGIND.DAT", r, detail, 6);
}

int name_of(Files* f, const char* pnc, char* name) {
    std::memset(name, ' ', 30);
    if (f->names == nullptr) return 0;
    unsigned char rec[pxall::keyed::kBlockSize];
    int detail = 0;
    pxall::cdreopen(f->names, &detail);
    int r = pxall::cdread(rec, pnc, 6, 0, nullptr, nullptr, f->names, &detail);
    if (r == 0) {
        // The list's 30 places of the 60-byte name, in whole characters.
        pxall::put_text_field(name, 30,
                              std::string_view(reinterpret_cast<const char*>(rec + pxall::hinmei_rec::kName),
                                               pxall::hinmei_rec::kNameSize),
                              ' ');
        return 0;
    }
    if (r == -1) return 0;
    return fail("pnho_exec_main", "cdread HINM", r, detail, 7);
}

// The parts of a code (only those of part12 when given).
int parts_of(Files* f, const char* pnc, const char* part12, std::vector<pxall::HinbanPart>* out) {
    if (f->hinban == nullptr) return 0;
    char want[13] = {};
    if (part12 != nullptr) std::memcpy(want, part12, 12);
    pxall::HinbanParts parts(part12 != nullptr ? want : nullptr);
    pxall::HinbanPart done;
    unsigned char rec[pxall::keyed::kBlockSize];
    int detail = 0;
    pxall::cdreopen(f->hinban, &detail);
    int r;
    while ((r = pxall::cdread(rec, pnc, 6, 0, nullptr, nullptr, f->hinban, &detail)) == 0) {
        int k = parts.feed(rec, &done);
        if (k == 20) return fail("pnho_exec_main", "HinbanParts", 20, 0, 8);
        if (k == 1) out->push_back(std::move(done));
    }
    if (r != -1) return fail("pnho_exec_main", "cdread HINBAN.DAT", r, detail, 9);
    if (parts.finish(&done)) out->push_back(std::move(done));
    return 0;
}

void blank(char* p, size_t n) { std::memset(p, ' ', n); }

void add_lines(const pxall::HinbanPart& hp, const Item& it, int part_index) {
    State& s = st();
    std::vector<pxall::HinbanLine> lines;
    if (pxall::hinban_lines(hp, pxall::LineShape::kSlotPerLine, 30, &lines) != 0) throw std::bad_alloc();
    for (const auto& hl : lines) {
        Line l{};
        l.part = part_index;
        l.first = hl.first;
        blank(l.number, sizeof l.number);
        blank(l.part12, sizeof l.part12);
        blank(l.label, sizeof l.label);
        blank(l.cat_qty, sizeof l.cat_qty);
        blank(l.piece, sizeof l.piece);
        const pxall::HinbanCell& c = hl.cell[0];
        if (c.slot >= 0) {
            pxall::hinban_slot_display(hp, c.slot, l.number);
            if (c.slot == 0) {
                std::memcpy(l.part12, hp.part, 12);
            } else {
                std::memcpy(l.part12, hp.slots[c.slot - 1], 12);
                if (l.part12[0] == '*') l.part12[0] = ' ';
            }
            l.has_part = pxall::memlenb(l.number, 14) > 0 && pxall::memlenb(l.part12, 12) > 0;
            if (c.qty) std::memcpy(l.cat_qty, pxall::hinban_slot_qty(hp, c.slot), 2);
        }
        if (!hl.first && c.label != nullptr) std::memcpy(l.label, c.label, std::strlen(c.label) < 6 ? std::strlen(c.label) : 6);
        if (!hl.piece[0].empty()) std::memcpy(l.piece, hl.piece[0].data(), hl.piece[0].size() < 30 ? hl.piece[0].size() : 30);
        if (l.has_part) std::memcpy(l.qty, it.qty, 2);
        else blank(l.qty, 2);
        s.lines.push_back(l);
    }
}

// An item the catalogue does not hold: one line with what was picked. A
// local part's number stands as the local-parts file has it (a catalogue
// number is stored without its dashes and shown with them).
void add_missing(const Item& it, const char* pnc, const char* name, int item_index, bool local) {
    State& s = st();
    Part p{};
    p.item = item_index;
    p.found = false;
    std::memcpy(p.pnc, pnc, 6);
    std::memcpy(p.name, name, 30);
    blank(p.from, 4);
    blank(p.to, 4);
    s.parts.push_back(p);
    Line l{};
    l.part = static_cast<int>(s.parts.size()) - 1;
    l.first = true;
    blank(l.number, sizeof l.number);
    blank(l.part12, sizeof l.part12);
    blank(l.label, sizeof l.label);
    blank(l.cat_qty, sizeof l.cat_qty);
    blank(l.piece, sizeof l.piece);
    blank(l.qty, 2);
    if (it.part_number) {
        std::memcpy(l.part12, it.code, 12);
        if (local) std::memcpy(l.number, it.code, 12);
        else pxall::edit_hinban14(l.number, it.code);
        l.has_part = true;
        std::memcpy(l.qty, it.qty, 2);
    }
    s.lines.push_back(l);
}

// The local parts of the vehicle's catalogue (set 3 of the local price
// files), open for the build of a list from LCPSEL.TMP.
struct LocalParts {
    pxall::LcpHandle h{};
    bool open = false;
    ~LocalParts() {
        if (open) pxall::LCPClose(&h);
    }
};

// A local part: its number and name from the local-parts file, never looked
// up in the catalogue (whose numbers it does not share). 0 or kFailed.
int build_local(const Files& f, LocalParts* lp, const Item& it, int index) {
    namespace s3 = pxall::localp::set3;
    char name[30];
    std::memset(name, ' ', sizeof name);
    if (lp->open) {
        char rec[s3::kText2 + s3::kTextSize];
        char key[s3::kCatalogSize + s3::kFigureSize];
        std::memcpy(key, f.catalog, s3::kCatalogSize);
        std::memcpy(key + s3::kCatalogSize, it.figure, s3::kFigureSize);
        if (int r = pxall::LCPKeyRead(&lp->h, key, static_cast<int16_t>(sizeof key), rec); r != 0)
            return fail("pnho_exec_main", "LCPKeyRead", r, 0, 11);
        if (lp->h.end_flag == 0) {
            pxall::LCP3PrtNoRead(&lp->h, it.code, rec);
            if (lp->h.end_flag == 0) std::memcpy(name, rec + s3::kText, sizeof name);
        }
    }
    char pnc[6];
    std::memset(pnc, ' ', sizeof pnc);
    add_missing(it, pnc, name, index, true);
    return 0;
}

int build_item(Files* f, const Item& it, int index) {
    State& s = st();
    char pnc[6];
    std::memset(pnc, ' ', 6);
    int r = 0;
    if (it.part_number) {
        r = pnc_of(f, it.code, pnc);
        if (r == kFailed) return r;
    } else {
        std::memcpy(pnc, it.code, 6);
        r = 0;
    }
    char name[30];
    if (r == 0 && name_of(f, pnc, name) != 0) return kFailed;
    if (r != 0) std::memset(name, ' ', 30);
    std::vector<pxall::HinbanPart> found;
    if (r == 0 && parts_of(f, pnc, it.part_number ? it.code : nullptr, &found) != 0) return kFailed;
    if (found.empty()) {
        add_missing(it, pnc, name, index, false);
        return 0;
    }
    for (const auto& hp : found) {
        Part p{};
        p.item = index;
        std::memcpy(p.pnc, pnc, 6);
        std::memcpy(p.name, name, 30);
        std::memcpy(p.from, hp.from, 4);
        std::memcpy(p.to, hp.to, 4);
        p.remarks = hp.remarks;
        s.parts.push_back(std::move(p));
        add_lines(hp, it, static_cast<int>(s.parts.size()) - 1);
    }
    return 0;
}

}  // namespace

int build_list() {
    State& s = st();
    s.parts.clear();
    s.lines.clear();
    s.shown.clear();
    s.price.clear();
    s.price_kind = -1;
    std::vector<Item> items;
    if (read_items(s.local, &items) != 0) return kFailed;
    Files f;
    int r = open_files(&f);
    if (r != 0) return r;
    LocalParts lp;
    if (s.local) {
        // Without the local-parts files the parts keep their numbers, unnamed.
        int o = pxall::LCPOpen(&lp.h, 3);
        if (o != 0 && o != -1) return fail("pnho_exec_main", "LCPOpen", o, 0, 12);
        lp.open = o == 0;
    }
    try {
        for (size_t i = 0; i < items.size(); ++i) {
            const int b = s.local ? build_local(f, &lp, items[i], static_cast<int>(i))
                                  : build_item(&f, items[i], static_cast<int>(i));
            if (b != 0) return kFailed;
        }
    } catch (const std::bad_alloc&) {
        return fail("pnho_exec_main", "memory", 20, 0, 10);
    }
    return 0;
}

}  // namespace pxpnho
