#include "pxall/hinban_lines.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "pxall/hinban.h"
#include "pxall/strutil.h"
#include "pxall/wrap.h"

namespace pxall {

namespace hr = hinban_rec;

namespace {

void blank_part(HinbanPart* p) {
    std::memset(p->catalog, ' ', sizeof p->catalog);
    std::memset(p->pnc, ' ', sizeof p->pnc);
    std::memset(p->part, ' ', sizeof p->part);
    std::memset(p->qty, ' ', sizeof p->qty);
    std::memset(p->slots, ' ', sizeof p->slots);
    std::memset(p->from, ' ', sizeof p->from);
    std::memset(p->to, ' ', sizeof p->to);
    p->remarks.clear();
}

bool start_part(HinbanPart* p, const unsigned char* rec) {
    blank_part(p);
    std::memcpy(p->catalog, rec + hr::kCatalog, kCatalogSize);
    std::memcpy(p->pnc, rec + hr::kPnc, kPncSize);
    std::memcpy(p->part, rec + hr::kPart, sizeof p->part);
    std::memcpy(p->qty, rec + hr::kQty, kQtySize);
    std::memcpy(p->from, rec + hr::kFrom, kDateSize);
    std::memcpy(p->to, rec + hr::kTo, kDateSize);
    try {
        p->remarks.assign(reinterpret_cast<const char*>(rec + hr::kRemarks), hr::kRemarksSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool slot_blank(const char* slot) { return memlenb(slot, 12) == 0; }

}  // namespace

HinbanParts::HinbanParts(const char* part) {
    blank_part(&hand_);
    filter_ = part != nullptr;
    std::memset(want_, ' ', sizeof want_);
    if (filter_) std::memcpy(want_, part, sizeof want_);
}

int HinbanParts::feed(const unsigned char* rec, HinbanPart* done) {
    const char* part = reinterpret_cast<const char*>(rec + hr::kPart);
    switch (rec[hr::kKind]) {
        case hr::kKindPart: {
            int ended = 0;
            if (have_) {
                std::swap(*done, hand_);
                ended = 1;
            }
            have_ = false;
            if (filter_ && std::memcmp(part, want_, sizeof want_) != 0) return ended;
            if (!start_part(&hand_, rec)) return 20;
            have_ = true;
            return ended;
        }
        case hr::kKindAlternatives:
            if (!have_ || (filter_ && !slot_blank(part) && std::memcmp(part, want_, sizeof want_) != 0)) return 0;
            std::memcpy(hand_.slots, rec + hr::kSlots, sizeof hand_.slots);
            return 0;
        case hr::kKindRemarks:
            if (!have_ || (filter_ && !slot_blank(part) && std::memcmp(part, want_, sizeof want_) != 0)) return 0;
            if (hand_.continuations() >= kMaxContinuations) return 0;
            try {
                hand_.remarks.append(reinterpret_cast<const char*>(rec + hr::kMore), hr::kMoreSize);
            } catch (const std::bad_alloc&) {
                have_ = false;
                return 20;
            }
            return 0;
        default:
            return 0;
    }
}

bool HinbanParts::finish(HinbanPart* done) {
    if (!have_) return false;
    std::swap(*done, hand_);
    have_ = false;
    return true;
}

HinbanUsage hinban_usage(const HinbanPart& p) {
    if (slot_blank(p.slots[0])) return {"", 0};
    if (p.slots[0][0] == '*') return {kUsageIrregular, 1};
    if (slot_blank(p.slots[1])) return {kUsageSubstitute, 1};
    int n = 2;
    if (!slot_blank(p.slots[2])) ++n;
    if (!slot_blank(p.slots[3])) ++n;
    return {kUsageMain, n};
}

bool hinban_slot_present(const HinbanPart& p, int slot) {
    return slot >= 1 && slot <= hr::kSlotCount && !slot_blank(p.slots[slot - 1]);
}

void hinban_slot_display(const HinbanPart& p, int slot, char* out) {
    char number[12];
    if (slot >= 1 && slot <= hr::kSlotCount) {
        std::memcpy(number, p.slots[slot - 1], sizeof number);
        if (slot == 1 && number[0] == '*') number[0] = ' ';
    } else {
        std::memcpy(number, p.part, sizeof number);
    }
    edit_hinban14(out, number);
}

const char* hinban_slot_qty(const HinbanPart& p, int slot) {
    if (slot >= 1 && slot <= hr::kSlotCount) return p.slots[slot - 1] + 12;
    return p.qty;
}

bool hinban_open_end(const char* to) { return std::memcmp(to, kOpenEnd, kDateSize) == 0; }

namespace {

int remark_pieces(const HinbanPart& p, int width, std::vector<std::string>* out) {
    try {
        std::string piece(static_cast<size_t>(width), ' ');
        int32_t pos = 0;
        const int len = static_cast<int>(p.remarks.size());
        while (memory_edit_2_n_data_by_scolon(p.remarks.data(), len, piece.data(), width, &pos) == 0)
            out->push_back(piece);
    } catch (const std::bad_alloc&) {
        return 20;
    }
    return 0;
}

HinbanCell cell(int slot, const char* label, bool qty) {
    HinbanCell c;
    c.slot = slot;
    c.label = label;
    c.qty = qty;
    return c;
}

// One slot a line, as far as the usage counts alternatives.
void slot_per_line(const HinbanPart& p, const std::vector<std::string>& pieces, std::vector<HinbanLine>* out) {
    HinbanUsage u = hinban_usage(p);
    const bool continued = p.continuations() > 0;
    size_t n = std::max(static_cast<size_t>(u.alternatives) + 1, pieces.size());
    for (size_t i = 0; i < n; ++i) {
        HinbanLine line;
        line.first = i == 0;
        int slot = static_cast<int>(i);
        if (i == 0) {
            line.cell[0] = cell(0, nullptr, true);
        } else if (slot <= u.alternatives) {
            const char* label = i == 1 ? u.label : kUsageSub;
            bool labelled = label[0] != 0;
            // With remark continuations only a labelled line keeps the
            // quantity; otherwise every line of an alternative does.
            line.cell[0] = cell(slot, labelled ? label : nullptr, continued ? labelled : true);
        }
        if (i < pieces.size()) line.piece[0] = pieces[i];
        out->push_back(std::move(line));
    }
}

void main_on_every_line(const std::vector<std::string>& pieces, std::vector<HinbanLine>* out) {
    size_t n = std::max<size_t>(1, pieces.size());
    for (size_t i = 0; i < n; ++i) {
        HinbanLine line;
        line.first = i == 0;
        line.cell[0] = cell(0, nullptr, true);
        if (i < pieces.size()) line.piece[0] = pieces[i];
        out->push_back(std::move(line));
    }
}

void slot_pairs(const HinbanPart& p, const std::vector<std::string>& pieces, std::vector<HinbanLine>* out) {
    HinbanUsage u = hinban_usage(p);
    auto piece = [&](size_t i) { return i < pieces.size() ? pieces[i] : std::string(); };
    HinbanLine first;
    first.first = true;
    first.cell[0] = cell(0, nullptr, true);
    // An irregular slot 1 shows its label without a part number.
    bool shown = u.alternatives > 0 && std::strcmp(u.label, kUsageIrregular) != 0;
    first.cell[1] = cell(shown ? 1 : -1, u.label[0] != 0 ? u.label : nullptr, shown);
    first.piece[0] = piece(0);
    first.piece[1] = piece(1);
    out->push_back(std::move(first));
    // Lines 1 and 2: the further alternatives that are there.
    const int pairs[2][2] = {{2, 3}, {4, -1}};
    size_t next_piece = 2;
    for (const auto& pair : pairs) {
        HinbanLine line;
        bool any = false;
        for (int k = 0; k < 2; ++k)
            if (pair[k] > 0 && hinban_slot_present(p, pair[k])) {
                line.cell[k] = cell(pair[k], kUsageSub, true);
                any = true;
            }
        line.piece[0] = piece(next_piece);
        line.piece[1] = piece(next_piece + 1);
        next_piece += 2;
        if (any || !line.piece[0].empty()) out->push_back(std::move(line));
    }
    for (; next_piece < pieces.size(); next_piece += 2) {
        HinbanLine line;
        line.piece[0] = piece(next_piece);
        line.piece[1] = piece(next_piece + 1);
        out->push_back(std::move(line));
    }
}

}  // namespace

int hinban_lines(const HinbanPart& p, LineShape shape, int piece_width, std::vector<HinbanLine>* out) {
    out->clear();
    if (piece_width < 1) return 20;
    std::vector<std::string> pieces;
    if (remark_pieces(p, piece_width, &pieces) != 0) return 20;
    try {
        switch (shape) {
            case LineShape::kSlotPerLine: slot_per_line(p, pieces, out); break;
            case LineShape::kMainOnEveryLine: main_on_every_line(pieces, out); break;
            case LineShape::kSlotPairs: slot_pairs(p, pieces, out); break;
        }
    } catch (const std::bad_alloc&) {
        out->clear();
        return 20;
    }
    return 0;
}

}  // namespace pxall
