// The lines of a part, as the part-number inquiries show it: the part is
// gathered from its HINBAN.DAT records (layout in part_records.h) and cut
// into lines of part numbers, usage labels, quantities and remark pieces.
// The part-number search, the applicability search and the part-number list
// lay these lines out in their own records; what goes on which line is
// decided here once.
//
// Usage of a part, from its alternative slots 1-4:
//   slot 1 blank                 no label      0 alternatives
//   slot 1 begins with '*'       "(IRRG)"      1 (the '*' is shown as a blank)
//   slot 1 present, 2 blank      "(SUBS)"      1
//   slots 1 and 2 present        "(MAIN)"      2, one more for slot 3 and
//                                              one more for slot 4 present
// Further alternatives are labelled "(SUB) ".
#pragma once

#include <string>
#include <vector>

#include "platform/export.h"
#include "pxall/part_records.h"

namespace pxall {

constexpr const char* kUsageIrregular = "(IRRG)";
constexpr const char* kUsageSubstitute = "(SUBS)";
constexpr const char* kUsageMain = "(MAIN)";
constexpr const char* kUsageSub = "(SUB) ";
constexpr size_t kUsageLabelSize = 6;
constexpr const char* kOpenEnd = "9999";  // valid-to of a part without end
// Remark continuations kept of one part: the work records that carry a part
// (219 bytes a continuation) keep their length in 16 bits.
constexpr int kMaxContinuations = 290;

// One part and everything its records say.
struct HinbanPart {
    char catalog[kCatalogSize];
    char pnc[kPncSize];
    char part[12];
    char qty[kQtySize];
    char slots[hinban_rec::kSlotCount][hinban_rec::kSlotSize];
    char from[kDateSize];
    char to[kDateSize];
    // The kind-'1' record's 71 bytes of remarks, then 219 per kind-'4' record.
    std::string remarks;

    // The number of kind-'4' records taken.
    int continuations() const {
        return remarks.size() <= hinban_rec::kRemarksSize
                   ? 0
                   : static_cast<int>((remarks.size() - hinban_rec::kRemarksSize) / hinban_rec::kMoreSize);
    }
};

// Groups the records of one key into parts: a kind-'1' record starts a part,
// the kind-'3' and kind-'4' records that follow it belong to it. With a part
// number, only parts of that number are gathered, and a continuation record
// that names another part number is passed over. Continuations beyond
// kMaxContinuations are passed over too.
class PX_EXPORT HinbanParts {
public:
    explicit HinbanParts(const char* part = nullptr);

    // The next record of the key (hinban_rec::kSize bytes). 1 when it ended
    // the part in hand, which is moved into *done; 0 when not; 20 when the
    // remarks could not grow (the part in hand is dropped).
    int feed(const unsigned char* rec, HinbanPart* done);
    // The end of the key: true with the part in hand moved into *done.
    bool finish(HinbanPart* done);

private:
    HinbanPart hand_;
    bool have_ = false;
    bool filter_ = false;
    char want_[12];
};

struct HinbanUsage {
    const char* label;  // one of the labels above, or "" for none
    int alternatives;   // 0-4
};

PX_EXPORT HinbanUsage hinban_usage(const HinbanPart& p);
// Slot 1-4 holds a part number.
PX_EXPORT bool hinban_slot_present(const HinbanPart& p, int slot);
// The display form (14 bytes, edit_hinban14) of slot 0 (the part itself) or
// of alternative 1-4; a '*' that marks an irregular slot 1 is shown blank.
PX_EXPORT void hinban_slot_display(const HinbanPart& p, int slot, char* out);
// The 2-character quantity of slot 0-4.
PX_EXPORT const char* hinban_slot_qty(const HinbanPart& p, int slot);
// valid-to says "no end".
PX_EXPORT bool hinban_open_end(const char* to);

// What one line carries: up to two part numbers with their labels and
// quantities, and up to two remark pieces.
struct HinbanCell {
    int slot = -1;                // 0 the part, 1-4 an alternative, -1 none
    const char* label = nullptr;  // usage label or "(SUB) ", null for none
    bool qty = false;             // the slot's quantity goes with it
};

struct HinbanLine {
    bool first = false;  // the part's first line
    HinbanCell cell[2];
    std::string piece[2];  // remark pieces of the piece width, "" for none
};

enum class LineShape {
    // One slot a line: the part on line 0, alternative n on line n while n
    // is within the usage's count; one remark piece a line; as many lines as
    // the larger of alternatives + 1 and pieces (the part-number search).
    kSlotPerLine,
    // The part on every line, one remark piece a line, at least one line
    // (the part-number list).
    kMainOnEveryLine,
    // Line 0: the part and alternative 1 (no part number for "(IRRG)"),
    // line 1: alternatives 2 and 3, line 2: alternative 4, each shown when
    // present; two remark pieces a line; lines 1 and later only when they
    // carry something (the applicability search).
    kSlotPairs,
};

// The lines of a part: 0, or 20 when memory ran out.
PX_EXPORT int hinban_lines(const HinbanPart& p, LineShape shape, int piece_width, std::vector<HinbanLine>* out);

}  // namespace pxall
