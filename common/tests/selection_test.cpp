#include "pxall/selection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;
namespace sf = pxall::selfile;

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::fix_clock(2024, 3, 5, 14, 7, 9);
        env.mkdir("WORK");
        pxtest::set_field(get_ctop_addr(), ctop::kWorkDir, ctop::kDirSize, "C:\\WORK");
        TermSelTmp();
        term_selfgn();
        TermLcpTmp();
    }
    void TearDown() override {
        TermSelTmp();
        term_selfgn();
        TermLcpTmp();
        plat::unfix_clock();
    }

    static std::string code_of(const SelTmpItem* it) { return std::string(it->code, 12); }
    std::vector<std::string> sel_codes() const {
        std::vector<std::string> v;
        for (ItemLinks* l = GetPtrSelTmp()->first; l; l = l->next) {
            auto* it = reinterpret_cast<SelTmpItem*>(l);
            v.push_back(std::to_string(it->kind) + ":" + code_of(it) + ":" + std::string(it->qty, 2));
        }
        return v;
    }
    static std::string record(const std::string& code, const std::string& qty, char kind) {
        std::string r(sf::kRecordSize, '\0');
        r.replace(0, code.size(), code);
        r.replace(12, 2, qty);
        r[14] = kind;
        return r;
    }
    static std::string image(const std::vector<std::string>& records) {
        std::string img;
        for (const auto& r : records) img += r;
        img.resize(sf::kImageSize, '\0');
        return img;
    }

    pxtest::TempEnv env;
};

TEST_F(SelectionTest, SetSelTmpTellsPartNumbersFromPartNameCodesByTheSeventhCharacter) {
    struct Case {
        const char* given;
        const char* stored;  // kind:code
    };
    const Case cases[] = {
        {"12345678901A", "1:12345678901A"},
        {"0446502090  ", "1:0446502090  "},
        {"17801A XXXXX", "0:17801A      "},  // part-name code: the rest is not kept
        {"123456 89012", "0:123456      "},  // a part number with a blank seventh character
        {"48510       ", "0:48510       "},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SetSelTmp(c.given, "01"), 0);
        auto* it = reinterpret_cast<SelTmpItem*>(GetPtrSelTmp()->last);
        EXPECT_EQ(std::to_string(it->kind) + ":" + code_of(it), c.stored) << c.given;
    }
    EXPECT_EQ(VBGetNumSelTmp(), 5);
}

TEST_F(SelectionTest, SearchIsByteForByteAndDeleteTakesOnlyTheFirst) {
    SetSelTmp("17801       ", "01");
    SetSelTmp("12345678901A", "02");
    SetSelTmp("12345678901A", "03");
    EXPECT_NE(SearchSelTmp("17801       "), nullptr);
    EXPECT_EQ(SearchSelTmp("17801 XXXXXX"), nullptr);
    EXPECT_EQ(SearchSelTmp("12345678901B"), nullptr);
    DelSelTmp("12345678901A");
    EXPECT_EQ(sel_codes(), (std::vector<std::string>{"0:17801       :01", "1:12345678901A:03"}));
    DelSelTmp("99999999999 ");  // nothing there: nothing happens
    EXPECT_EQ(VBGetNumSelTmp(), 2);
    EXPECT_EQ(VBClearSelTmp(), 0);
    EXPECT_EQ(VBGetNumSelTmp(), 0);
    EXPECT_EQ(GetPtrSelTmp()->first, nullptr);
}

TEST_F(SelectionTest, EachListStopsAtItsLimitWithoutLogging) {
    struct Case {
        const char* name;
        int limit;
        std::function<int()> add;
        std::function<int()> count;
    };
    const Case cases[] = {
        {"selection", 1000, [] { return SetSelTmp("12345678901A", "01"); }, [] { return int(VBGetNumSelTmp()); }},
        {"figures", 100, [] { return set_selfgn("0101"); }, [] { return int(get_num_selfgn()); }},
        {"local price", 1000, [] { return SetLcpTmp("12345678901A", "01", "0101"); },
         [] { return int(VBGetNumLcpTmp()); }},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < c.limit; ++i) ASSERT_EQ(c.add(), 0) << c.name << " " << i;
        EXPECT_EQ(c.add(), 1) << c.name;
        EXPECT_EQ(c.count(), c.limit) << c.name;
    }
    EXPECT_TRUE(env.log_lines().empty());
}

TEST_F(SelectionTest, WrittenListIsTheRecordImageAndReadsBackAppended) {
    SetSelTmp("12345678901A", "02");
    SetSelTmp("17801       ", "10");
    ASSERT_EQ(VBWriteSelectTmp(), 0);
    EXPECT_EQ(VBGetNumSelTmp(), 2);  // the list stays
    std::string file = env.read("WORK/SELECT.TMP");
    EXPECT_EQ(file, image({record("12345678901A", "02", 1), record("17801       ", "10", 0)}));

    // Reading appends without emptying.
    ASSERT_EQ(VBReadSelectTmp(), 0);
    EXPECT_EQ(sel_codes(), (std::vector<std::string>{"1:12345678901A:02", "0:17801       :10",
                                                     "1:12345678901A:02", "0:17801       :10"}));
}

TEST_F(SelectionTest, EmptyListAndClearWriteAnAllZeroImage) {
    ASSERT_EQ(VBWriteSelectTmp(), 0);
    EXPECT_EQ(env.read("WORK/SELECT.TMP"), std::string(sf::kImageSize, '\0'));
    ASSERT_EQ(VBReadSelectTmp(), 0);
    EXPECT_EQ(VBGetNumSelTmp(), 0);

    env.write("WORK/SELECT.TMP", image({record("12345678901A", "01", 1)}));
    EXPECT_EQ(VBClearSelectTmp(), 0);
    EXPECT_EQ(env.read("WORK/SELECT.TMP"), std::string(sf::kImageSize, '\0'));
    env.write("WORK/LCPSEL.TMP", "junk");
    EXPECT_EQ(VBClearLcpselTmp(), 0);
    EXPECT_EQ(env.read("WORK/LCPSEL.TMP"), std::string(sf::kImageSize, '\0'));
}

TEST_F(SelectionTest, ReadingStopsAtTheFirstEmptyRecordAndTakesShortOrLongFiles) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> items;
    };
    std::string long_file = image({record("A1234567890B", "01", 1)});
    long_file += record("C1234567890D", "02", 1);  // a 1001st record is never read
    const Case cases[] = {
        {"hole ends the list",
         image({record("A1234567890B", "01", 1), std::string(20, '\0'), record("C1234567890D", "02", 1)}),
         {"1:A1234567890B:01"}},
        {"short file", record("A1234567890B", "01", 1) + record("17801XXXXXXX", "03", 0),
         {"1:A1234567890B:01", "0:17801X      :03"}},
        {"empty file", "", {}},
        {"longer than the image", long_file, {"1:A1234567890B:01"}},
    };
    for (const Case& c : cases) {
        env.write("WORK/SELECT.TMP", c.file);
        TermSelTmp();
        ASSERT_EQ(VBReadSelectTmp(), 0) << c.name;
        EXPECT_EQ(sel_codes(), c.items) << c.name;

        std::vector<unsigned char> buf(kSelectImage, 0xAA);
        int32_t err = -1;
        ASSERT_EQ(read_select_tmp(buf.data(), &err), 0) << c.name;
        EXPECT_EQ(err, 0);
        size_t kept = std::min(c.file.size(), kSelectImage);
        EXPECT_EQ(std::string(buf.begin(), buf.begin() + kept), c.file.substr(0, kept)) << c.name;
        for (size_t i = kept; i < kSelectImage; ++i) ASSERT_EQ(buf[i], 0) << c.name << " byte " << i;
    }
}

TEST_F(SelectionTest, AListAboveAThousandWritesOnlyAThousandRecords) {
    std::vector<std::string> recs(700, record("A1234567890B", "01", 1));
    env.write("WORK/SELECT.TMP", image(recs));
    ASSERT_EQ(VBReadSelectTmp(), 0);
    ASSERT_EQ(VBReadSelectTmp(), 0);
    EXPECT_EQ(VBGetNumSelTmp(), 1400);
    ASSERT_EQ(VBWriteSelectTmp(), 0);
    std::string file = env.read("WORK/SELECT.TMP");
    ASSERT_EQ(file.size(), sf::kImageSize);
    EXPECT_EQ(file.substr(999 * 20, 20), record("A1234567890B", "01", 1));
}

TEST_F(SelectionTest, FileFailuresAreLoggedAndReturned) {
    // No such file to read.
    EXPECT_EQ(VBReadSelectTmp(), 11);
    EXPECT_EQ(VBReadLcpselTmp(), 11);
    // A work directory that does not exist cannot take the file.
    pxtest::set_field(get_ctop_addr(), ctop::kWorkDir, ctop::kDirSize, "C:\\NOWHERE");
    EXPECT_EQ(VBWriteSelectTmp(), 11);
    EXPECT_EQ(clear_select_tmp(), 11);

    auto lines = env.log_lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("PXSUBF21,VBReadSelectTmp,fopen,(11)(2)(", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("PXSUBF23,VBReadLcpselTmp,fopen,(11)(2)(", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("PXSUBF21,VBWriteSelectTmp,fopen,(11)(2)(", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("PXSUBF20,clear_select_tmp,write_select_tmp,(11)(2)(", 0), 0u) << lines[3];
}

TEST_F(SelectionTest, PlainReadAndWriteGiveTheErrorNumberAndLogNothing) {
    std::vector<unsigned char> buf(kSelectImage, 0);
    int32_t err = 0;
    EXPECT_EQ(read_lcpsel_tmp(buf.data(), &err), 11);
    EXPECT_EQ(err, ENOENT);

    // A full disk: the work file is the device that is always full.
    std::filesystem::create_symlink("/dev/full", env.root() + "/WORK/SELECT.TMP");
    EXPECT_EQ(write_select_tmp(buf.data(), &err), 13);
    EXPECT_EQ(err, ENOSPC);
    EXPECT_TRUE(env.log_lines().empty());

    SetSelTmp("12345678901A", "01");
    EXPECT_EQ(VBWriteSelectTmp(), 13);
    auto lines = env.log_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PXSUBF21,VBWriteSelectTmp,fwrite,(13)(28)(", 0), 0u) << lines[0];
}

TEST_F(SelectionTest, FiguresKeepDuplicatesAndTravelInTheNextScreenBlock) {
    EXPECT_EQ(VBset_selfgn("0101"), 0);
    EXPECT_EQ(set_selfgn("0230"), 0);
    EXPECT_EQ(set_selfgn("0101"), 0);
    EXPECT_EQ(VBcheck_selfgn("0230"), 1);
    EXPECT_EQ(VBcheck_selfgn("0999"), 0);
    EXPECT_EQ(VBdel_selfgn("0101"), 0);  // only the first
    EXPECT_EQ(VBcheck_selfgn("0101"), 1);
    EXPECT_EQ(get_num_selfgn(), 2);

    unsigned char* blk = get_cnexta_addr();
    std::memset(blk + cnexta::kFigures, 'x', 400);
    int16_t n = -1;
    EXPECT_EQ(VBwrite_figno(&n), 0);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(get_i16(blk + cnexta::kFigureCount), 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(blk + cnexta::kFigures), 12), std::string("02300101\0\0\0\0", 12));

    // Reading appends the block's figures to the list.
    EXPECT_EQ(VBread_figno(), 0);
    EXPECT_EQ(get_num_selfgn(), 4);

    EXPECT_EQ(VBclear_figno(), 0);
    EXPECT_EQ(get_num_selfgn(), 0);
    EXPECT_EQ(get_i16(blk + cnexta::kFigureCount), 0);
    for (int i = 0; i < 400; ++i) ASSERT_EQ(blk[cnexta::kFigures + i], 0) << i;
    EXPECT_EQ(VBwrite_figno(&n), 0);
    EXPECT_EQ(n, 0);
}

TEST_F(SelectionTest, BlockFigureCountsOutsideTheSlotsAreBounded) {
    unsigned char* blk = get_cnexta_addr();
    for (int i = 0; i < 100; ++i) std::memcpy(blk + cnexta::kFigures + 4 * i, "0001", 4);
    struct Case {
        int16_t count;
        int added;
    };
    for (Case c : {Case{0, 0}, Case{-3, 0}, Case{3, 3}, Case{100, 100}, Case{5000, 100}}) {
        term_selfgn();
        put_i16(blk + cnexta::kFigureCount, c.count);
        EXPECT_EQ(VBread_figno(), 0) << c.count;
        EXPECT_EQ(get_num_selfgn(), c.added) << c.count;
    }
    // A list above 100 (reads append) fills only the 100 slots.
    EXPECT_EQ(VBread_figno(), 0);
    int16_t n = 0;
    EXPECT_EQ(VBwrite_figno(&n), 0);
    EXPECT_EQ(n, 100);
}

TEST_F(SelectionTest, LocalPriceListMatchesOnFigureAndPartAndRoundTrips) {
    SetLcpTmp("12345678901A", "02", "0101");
    SetLcpTmp("12345678901A", "05", "0230");
    SetLcpTmp("98765       ", "01", "0230");
    EXPECT_EQ(SearchLcpTmp("0101", "98765       "), nullptr);
    LcpTmpItem* hit = SearchLcpTmp("0230", "12345678901A");
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(std::string(hit->qty, 2), "05");
    EXPECT_EQ(hit->kind, 1);

    ASSERT_EQ(VBWriteLcpselTmp(), 0);
    std::string rec(20, '\0');
    rec.replace(0, 18, "023012345678901A05");
    rec[18] = 1;
    EXPECT_EQ(env.read("WORK/LCPSEL.TMP").substr(20, 20), rec);

    DelLcpTmp("0230", "12345678901A");
    EXPECT_EQ(VBGetNumLcpTmp(), 2);
    EXPECT_EQ(SearchLcpTmp("0230", "12345678901A"), nullptr);
    EXPECT_EQ(VBClearLcpTmp(), 0);
    ASSERT_EQ(VBReadLcpselTmp(), 0);
    ASSERT_EQ(VBGetNumLcpTmp(), 3);
    hit = SearchLcpTmp("0230", "98765       ");
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(std::string(hit->qty, 2), "01");
}

TEST_F(SelectionTest, InitForgetsItemsWithoutFreeingThem) {
    // The framing libraries free with Term before Init; Init only resets the
    // head, so keep the items to free them here.
    SetSelTmp("12345678901A", "01");
    ItemList saved = *GetPtrSelTmp();
    EXPECT_EQ(InitSelTmp(), 0);
    EXPECT_EQ(VBGetNumSelTmp(), 0);
    EXPECT_EQ(GetPtrSelTmp()->first, nullptr);
    AllDeleteItem(&saved);
}

}  // namespace
