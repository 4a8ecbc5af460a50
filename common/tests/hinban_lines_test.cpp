// Gathering a part from its HINBAN.DAT records and cutting it into lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pxall/hinban_lines.h"
#include "pxall/part_records.h"

namespace {

using namespace pxall;
namespace hr = hinban_rec;

std::string rec(char kind, const std::string& part = "", const std::string& tail = "") {
    std::string r(hr::kSize, ' ');
    r.replace(hr::kCatalog, 6, "4410A1");
    r.replace(hr::kPnc, 6, "16400A");
    r.replace(hr::kPart, part.size(), part);
    r[hr::kKind] = kind;
    if (kind == '1') {
        r.replace(hr::kQty, 2, "02");
        r.replace(hr::kFrom, 8, "18039999");
        r.replace(hr::kRemarks, tail.size(), tail);
    } else {
        r.replace(hr::kSlots, tail.size(), tail);
    }
    return r;
}

const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// The parts a run of records gives.
std::vector<HinbanPart> gather(const std::vector<std::string>& recs, const char* filter = nullptr) {
    HinbanParts parts(filter);
    std::vector<HinbanPart> out;
    HinbanPart p;
    for (const auto& r : recs)
        if (parts.feed(bytes(r), &p) == 1) out.push_back(p);
    if (parts.finish(&p)) out.push_back(p);
    return out;
}

TEST(HinbanParts, ContinuationsBelongToThePartBeforeThem) {
    std::vector<std::string> recs = {
        rec('3', "", "STRAY       01"),  // before any part: passed over
        rec('1', "16400AA10001", "FIRST"),
        rec('3', "", "16400AA1910101"),
        rec('4', "", "MORE"),
        rec('9', "16400AA10001", "UNKNOWN KIND"),
        rec('1', "16400AA10002"),
        rec('4', "16400AA10001", "NAMES ANOTHER PART"),
    };
    auto all = gather(recs);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(std::string(all[0].slots[0], 14), "16400AA1910101");
    EXPECT_EQ(all[0].continuations(), 1);
    EXPECT_EQ(all[0].remarks.substr(hr::kRemarksSize, 4), "MORE");
    EXPECT_EQ(all[1].continuations(), 1) << "without a filter every continuation counts";

    auto one = gather(recs, "16400AA10002");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(std::string(one[0].part, 12), "16400AA10002");
    EXPECT_EQ(one[0].continuations(), 0) << "a continuation of another part number is passed over";
    EXPECT_TRUE(gather(recs, "99999XX99999").empty());
}

TEST(HinbanParts, ContinuationsStopWhereA16BitLengthWouldOverflow) {
    std::vector<std::string> recs = {rec('1', "16400AA10001")};
    for (int i = 0; i < kMaxContinuations + 10; ++i) recs.push_back(rec('4', "", "MORE"));
    auto p = gather(recs);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].continuations(), kMaxContinuations);
    EXPECT_LE(157u + kMaxContinuations * hr::kMoreSize, 65535u);
}

TEST(HinbanUsage, LabelAndAlternativesFromTheSlots) {
    struct Case {
        std::string slots;
        const char* label;
        int alternatives;
    } cases[] = {
        {"", "", 0},
        {"*6400AA19901" "01", kUsageIrregular, 1},
        {"16400AA19101" "01", kUsageSubstitute, 1},
        {"16400AA19101" "01" "16400AA19202" "02", kUsageMain, 2},
        {"16400AA19101" "01" "16400AA19202" "02" "              " "16400AA19404" "04", kUsageMain, 3},
        {"16400AA19101" "01" "16400AA19202" "02" "16400AA19303" "03" "16400AA19404" "04", kUsageMain, 4},
    };
    for (const auto& c : cases) {
        auto p = gather({rec('1', "16400AA10001"), rec('3', "", c.slots)});
        ASSERT_EQ(p.size(), 1u);
        HinbanUsage u = hinban_usage(p[0]);
        EXPECT_STREQ(u.label, c.label) << c.slots;
        EXPECT_EQ(u.alternatives, c.alternatives) << c.slots;
    }
    auto p = gather({rec('1', "16400AA10001"), rec('3', "", "*6400AA19901" "01")});
    char display[15] = {};
    hinban_slot_display(p[0], 1, display);
    EXPECT_STREQ(display, " 6400-AA199-01");
}

// The slots and pieces of each line, as "slot:label:qty|piece" strings.
std::vector<std::string> shape(const HinbanPart& p, LineShape s, int width) {
    std::vector<HinbanLine> lines;
    EXPECT_EQ(hinban_lines(p, s, width, &lines), 0);
    std::vector<std::string> out;
    for (const auto& l : lines) {
        std::string t = l.first ? "*" : "";
        for (const auto& c : l.cell)
            t += std::to_string(c.slot) + ":" + (c.label ? c.label : "") + ":" + (c.qty ? "q" : "") + " ";
        for (const auto& piece : l.piece) t += "|" + piece.substr(0, piece.find_last_not_of(' ') + 1);
        out.push_back(t);
    }
    return out;
}

TEST(HinbanLines, EachInquiryShapesTheSamePart) {
    auto parts = gather({rec('1', "16400AA10001", "R1;R2;"),
                         rec('3', "", "16400AA19101" "01" "16400AA19202" "02" "16400AA19303" "03"),
                         rec('4', "", "R3;R4;R5")});
    ASSERT_EQ(parts.size(), 1u);
    const HinbanPart& p = parts[0];
    // One slot a line: the main part, "(MAIN)" and two "(SUB) " lines; with
    // continuations the quantity goes with the labelled lines.
    EXPECT_EQ(shape(p, LineShape::kSlotPerLine, 98),
              (std::vector<std::string>{"*0::q -1:: |R1|", "1:(MAIN):q -1:: |R2|", "2:(SUB) :q -1:: |R3|",
                                        "3:(SUB) :q -1:: |R4|", "-1:: -1:: |R5|"}));
    EXPECT_EQ(shape(p, LineShape::kMainOnEveryLine, 99),
              (std::vector<std::string>{"*0::q -1:: |R1|", "0::q -1:: |R2|", "0::q -1:: |R3|", "0::q -1:: |R4|",
                                        "0::q -1:: |R5|"}));
    EXPECT_EQ(shape(p, LineShape::kSlotPairs, 42),
              (std::vector<std::string>{"*0::q 1:(MAIN):q |R1|R2", "2:(SUB) :q 3:(SUB) :q |R3|R4", "-1:: -1:: |R5|"}));

    // No remarks, no alternatives: one line in every shape.
    auto bare = gather({rec('1', "16400AA10002")});
    for (LineShape s : {LineShape::kSlotPerLine, LineShape::kMainOnEveryLine, LineShape::kSlotPairs})
        EXPECT_EQ(shape(bare[0], s, 42).size(), 1u);
}

}  // namespace
