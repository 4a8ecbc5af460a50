#include "pxall/localp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/localp_layout.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_localp.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;
namespace lp = pxall::localp;

// A set-1 record: key, then a running number so every record is known.
std::string rec1(const std::string& key, int n) {
    return pxbuild::Record(62).text(0, 12, key).num(12, 12, n).text(32, 30, "PART " + std::to_string(n));
}

// A set-3 record of one figure.
std::string rec3(const std::string& cat_fig, int n) {
    char part[16];
    std::snprintf(part, sizeof part, "LP%s-%02d", cat_fig.substr(6, 4).c_str(), n);
    return pxbuild::Record(132).text(0, 10, cat_fig).text(10, 30, "FIGURE").text(40, 12, "PIC.BMP").text(52, 12, part).text(72, 30, "ITEM " + std::to_string(n));
}

std::string entry(const std::string& key, int key_len, int first, int count) {
    std::string e(static_cast<size_t>(key_len) + 4, '\0');
    e.replace(0, key.size(), key);
    pxbuild::put_u16(reinterpret_cast<uint8_t*>(&e[static_cast<size_t>(key_len)]), static_cast<uint32_t>(first));
    pxbuild::put_u16(reinterpret_cast<uint8_t*>(&e[static_cast<size_t>(key_len) + 2]), static_cast<uint32_t>(count));
    return e;
}

class LocalPriceTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.mkdir("LOCAL");
        pxtest::set_field(get_ctop_addr(), ctop::kLocalPriceDir, ctop::kDirSize, "C:\\LOCAL");
    }
    void TearDown() override { LCPClose(&h); }

    void write_set(int set, std::vector<std::string> records) {
        pxbuild::write_local_price(env.host("C:\\LOCAL"), pxbuild::build_local_price(set, std::move(records)));
    }
    // Every record of the loaded key, the first from key_read.
    std::vector<std::string> drain(const std::string& first) {
        std::vector<std::string> out{first};
        std::string buf(static_cast<size_t>(h.rec_len), '#');
        while (LCPSeqRead(&h, buf.data()) == 0 && h.end_flag == 0) out.push_back(buf);
        return out;
    }
    std::vector<std::string> read_key(const std::string& key, int16_t n, int* result = nullptr) {
        std::string buf(static_cast<size_t>(h.rec_len), '#');
        int r = LCPKeyRead(&h, key.c_str(), n, buf.data());
        if (result) *result = r;
        if (r != 0 || h.end_flag) return {};
        return drain(buf);
    }

    pxtest::TempEnv env;
    LcpHandle h{};
};

TEST_F(LocalPriceTest, OpenSetsTheLengthsOfEachSet) {
    struct Case {
        int set;
        int16_t rec, entry, key, per_block;
    };
    const Case cases[] = {{1, 62, 16, 12, 65}, {2, 62, 16, 12, 65}, {3, 132, 14, 10, 30}};
    for (const Case& c : cases) {
        write_set(c.set, {});
        ASSERT_EQ(LCPOpen(&h, c.set), 0);
        EXPECT_EQ(h.rec_len, c.rec);
        EXPECT_EQ(h.entry_len, c.entry);
        EXPECT_EQ(h.key_len, c.key);
        EXPECT_EQ(h.per_block, c.per_block);
        EXPECT_EQ(std::string(h.index_path), "C:\\LOCAL\\LOCALP" + std::to_string(c.set) + ".IA");
        EXPECT_EQ(LCPClose(&h), 0);
        EXPECT_EQ(h.data, nullptr);
    }
}

TEST_F(LocalPriceTest, OpenRefusesOtherSetsAndAMissingDataFile) {
    for (int set : {0, 4, -1}) EXPECT_EQ(LCPOpen(&h, set), 128);
    auto log = env.log_lines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], "PXSUBF30,LCPOpen,Parm Error,(128)(4)(1)");
    EXPECT_EQ(LCPOpen(&h, 2), -1);
    EXPECT_EQ(env.log_lines().size(), 3u);  // a missing file is not logged
}

TEST_F(LocalPriceTest, KeyReadSumsTheMatchingEntriesAndNeverComparesPastTheKey) {
    std::vector<std::string> recs;
    int n = 0;
    for (const char* key : {"ABC001", "ABC001", "ABC002", "ABC002", "ABC002", "ABD001", "ZZZ999999999"})
        recs.push_back(rec1(key, n++));
    write_set(1, recs);
    ASSERT_EQ(LCPOpen(&h, 1), 0);
    struct Case {
        const char* key;
        int16_t n;
        size_t count;  // records from the first match
        int first;
    };
    const Case cases[] = {
        {"ABC", 3, 5, 0},                   // two adjacent entries, 2 + 3
        {"ABC002      ", 12, 3, 2},
        {"ABC002      ", 1000, 3, 2},       // cut to the key length
        {"ABD", 3, 1, 5},
        {"", 0, 7, 0},                      // every entry
        {"", -5, 7, 0},
        {"ZZZ999999999", 12, 1, 6},
    };
    for (const Case& c : cases) {
        std::string key = std::string(c.key) + std::string(20, ' ');
        auto got = read_key(key, c.n);
        ASSERT_EQ(got.size(), c.count) << c.key << " " << c.n;
        for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], recs[c.first + i]) << c.key;
        EXPECT_EQ(h.end_flag, 1);
    }
}

TEST_F(LocalPriceTest, AnAbsentKeyOrARecordlessEntryReadsNothing) {
    write_set(1, {rec1("ABC001", 0), rec1("ABC002", 1)});
    ASSERT_EQ(LCPOpen(&h, 1), 0);
    std::string buf(62, '#');
    EXPECT_EQ(LCPKeyRead(&h, "ABC003      ", 12, buf.data()), 0);
    EXPECT_EQ(h.end_flag, 1);
    EXPECT_EQ(buf, std::string(62, '#'));
    EXPECT_EQ(LCPSeqRead(&h, buf.data()), 20);

    // An entry whose count is 0.
    env.write("LOCAL/LOCALP1.IA", entry("ABC001", 12, 0, 0) + entry("ABC002", 12, 1, 1));
    EXPECT_EQ(LCPKeyRead(&h, "ABC001      ", 12, buf.data()), 0);
    EXPECT_EQ(h.end_flag, 1);
    EXPECT_EQ(buf, std::string(62, '#'));
    EXPECT_EQ(LCPSeqRead(&h, buf.data()), 20);
    EXPECT_EQ(read_key("ABC", 3).size(), 1u);  // the second entry alone
}

TEST_F(LocalPriceTest, SequenceCrossesBlocksAndStopsWithTheBufferUnchanged) {
    struct Case {
        int set;
        int records;
    };
    // Set 1: 65 a block; set 3: 30 a block.
    const Case cases[] = {{1, 65}, {1, 66}, {1, 130}, {1, 131}, {3, 30}, {3, 31}, {3, 61}};
    for (const Case& c : cases) {
        std::vector<std::string> recs;
        for (int i = 0; i < c.records; ++i) recs.push_back(c.set == 1 ? rec1("KEY", i) : rec3("4410A19501", i));
        // Records of other keys on both sides.
        recs.push_back(c.set == 1 ? rec1("AAA", 900) : rec3("4410A19401", 90));
        recs.push_back(c.set == 1 ? rec1("ZZZ", 901) : rec3("4410A19601", 91));
        write_set(c.set, recs);
        ASSERT_EQ(LCPOpen(&h, c.set), 0);
        std::string key = c.set == 1 ? "KEY         " : "4410A19501";
        std::string buf(static_cast<size_t>(h.rec_len), '#');
        ASSERT_EQ(LCPKeyRead(&h, key.c_str(), h.key_len, buf.data()), 0);
        EXPECT_EQ(buf, recs[0]);
        for (int i = 1; i < c.records; ++i) {
            ASSERT_EQ(LCPSeqRead(&h, buf.data()), 0);
            ASSERT_EQ(h.end_flag, 0) << c.records << " at " << i;
            ASSERT_EQ(buf, recs[static_cast<size_t>(i)]) << c.records << " at " << i;
        }
        EXPECT_EQ(h.blocks.count, (c.records + h.per_block - 1) / h.per_block);
        std::string last = buf;
        EXPECT_EQ(LCPSeqRead(&h, buf.data()), 0);
        EXPECT_EQ(h.end_flag, 1);
        EXPECT_EQ(buf, last);
        EXPECT_EQ(LCPSeqRead(&h, buf.data()), 0);
        EXPECT_EQ(buf, last);
        LCPClose(&h);
    }
}

TEST_F(LocalPriceTest, PartNumberLookupAmongTheLoadedRecords) {
    std::vector<std::string> recs;
    for (int i = 0; i < 31; ++i) recs.push_back(rec3("4410A19501", i));
    recs.push_back(rec3("4410A19601", 99));
    write_set(3, recs);
    ASSERT_EQ(LCPOpen(&h, 3), 0);
    std::string buf(132, '#');
    ASSERT_EQ(LCPKeyRead(&h, "4410A19501", 10, buf.data()), 0);
    // The last record, in the second block.
    LCP3PrtNoRead(&h, "LP9501-30   ", buf.data());
    EXPECT_EQ(h.end_flag, 0);
    EXPECT_EQ(buf, recs[30]);
    buf.assign(132, '#');
    LCP3PrtNoRead(&h, "LP9601-99   ", buf.data());  // another key: not loaded
    EXPECT_EQ(h.end_flag, 1);
    EXPECT_EQ(buf, std::string(132, '#'));
    LCP3PrtNoRead(&h, "LP9501-00   ", buf.data());
    EXPECT_EQ(h.end_flag, 0);
    EXPECT_EQ(buf, recs[0]);
    LCPClose(&h);

    // Records of set 1 end before byte 64: nothing is looked at.
    write_set(1, {rec1("ABC", 1)});
    ASSERT_EQ(LCPOpen(&h, 1), 0);
    ASSERT_EQ(LCPKeyRead(&h, "ABC", 3, buf.data()), 0);
    buf.assign(132, '#');
    LCP3PrtNoRead(&h, "PART 1      ", buf.data());
    EXPECT_EQ(h.end_flag, 1);
    EXPECT_EQ(buf, std::string(132, '#'));
}

TEST_F(LocalPriceTest, DamagedFilesFailWithTheirCodeAndLeaveNoKeyLoaded) {
    std::vector<std::string> recs;
    for (int i = 0; i < 4; ++i) recs.push_back(rec1("ABC", i));
    write_set(1, recs);
    ASSERT_EQ(LCPOpen(&h, 1), 0);
    std::string buf(62, '#');
    struct Case {
        std::string index;
        const char* key;
        int result;
        const char* log;  // empty: no line
        size_t count;     // records read on success
    };
    const Case cases[] = {
        {entry("ABC", 12, 2, 5), "ABC", 14, "PXSUBF30,LCPKeyRead,fread,(14)(0)(7)", 0},   // past the data
        {entry("ABC", 12, 65535, 1), "ABC", 14, "PXSUBF30,LCPKeyRead,fread,(14)(0)(7)", 0},
        {entry("ABC", 12, 0, 2) + entry("ABC", 12, 0, 2) + entry("ABC", 12, 0, 1), "ABC", 14,
         "PXSUBF30,LCPKeyRead,fread,(14)(0)(7)", 0},                                          // sums beyond the data
        {entry("ABC", 12, 1, 2) + std::string(9, 'A'), "ABC", 0, "", 2},                    // a piece of an entry
        {entry("ABC", 12, 0, 1) + std::string(16, '\0') + entry("ABC", 12, 0, 4), "ABC", 0, "", 1},  // zero ends
        {std::string(), "ABC", 0, "", 0},                                                    // empty index
    };
    for (const Case& c : cases) {
        env.write("LOCAL/LOCALP1.IA", c.index);
        size_t lines = env.log_lines().size();
        int r = -99;
        auto got = read_key(c.key, 3, &r);
        EXPECT_EQ(r, c.result) << c.log;
        EXPECT_EQ(got.size(), c.count);
        auto log = env.log_lines();
        if (*c.log) {
            ASSERT_EQ(log.size(), lines + 1);
            EXPECT_EQ(log.back(), c.log);
        } else {
            EXPECT_EQ(log.size(), lines);
        }
        if (r != 0) {
            EXPECT_EQ(h.blocks.count, 0);
            EXPECT_EQ(LCPSeqRead(&h, buf.data()), 20);
        }
    }

    std::remove(env.host("C:\\LOCAL\\LOCALP1.IA").c_str());
    EXPECT_EQ(LCPKeyRead(&h, "ABC", 3, buf.data()), 11);
    EXPECT_EQ(env.log_lines().back(), "PXSUBF30,LCPKeyRead,fopen,(11)(2)(2)");

    // A closed handle has no data file.
    LCPClose(&h);
    EXPECT_EQ(LCPKeyRead(&h, "ABC", 3, buf.data()), 11);
    EXPECT_EQ(LCPSeqRead(&h, buf.data()), 20);
    EXPECT_EQ(LCPSeqRead(nullptr, buf.data()), 20);
}

TEST_F(LocalPriceTest, DemoLocalPartsByCatalogueAndFigure) {
    ASSERT_GT(pxbuild::write_demo_local_prices(env.host("C:\\LOCAL")), 0);
    ASSERT_EQ(LCPOpen(&h, 3), 0);
    auto catalogue = read_key("4410A1", 6);
    ASSERT_FALSE(catalogue.empty());
    std::string last_fig;
    int figures = 0;
    for (const auto& r : catalogue) {
        EXPECT_EQ(r.substr(0, 6), "4410A1");
        if (r.substr(6, 4) != last_fig) ++figures, last_fig = r.substr(6, 4);
        std::string pic = r.substr(lp::set3::kPicture, lp::set3::kPictureSize);
        EXPECT_TRUE(env.exists("LOCAL/" + pic.substr(0, pic.find(' ')))) << pic;
    }
    EXPECT_EQ(figures, 5);
    EXPECT_EQ(read_key("4410A19501", 10).size(), 31u);  // two of the reader's blocks
    LCPClose(&h);

    ASSERT_EQ(LCPOpen(&h, 1), 0);
    auto batteries = read_key("LX-BT-0070  ", 12);
    EXPECT_GT(batteries.size(), 1u);  // one local battery for several of the maker's numbers
    for (const auto& r : batteries) EXPECT_EQ(r.substr(12, 5), "28800");
    LCPClose(&h);

    ASSERT_EQ(LCPOpen(&h, 2), 0);
    EXPECT_FALSE(read_key("6230E128800A", 12).empty());
}

}  // namespace
