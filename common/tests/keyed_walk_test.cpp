// The key walk and the sequential reads, on files the builder writes with one
// to three index levels of several blocks, read from each place a file can
// lie: a separate disk file, the CD, inside the catalogue master, and a
// catalogue file whose index is on disk while its data stays on the CD.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "pxall/keyed_file.h"
#include "pxall/keyed_layout.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;
using pxtest::key_n;

struct Layout {
    const char* name;
    const char* file;     // data file name
    const char* catalog;  // its catalogue directory, or ""
    char kind;            // install kind of the CD
    const char* prefix;   // keys: prefix + number
    int levels;
    int entries_per_block;
};

std::ostream& operator<<(std::ostream& os, const Layout& l) { return os << l.name; }

class WalkTest : public ::testing::TestWithParam<Layout> {
protected:
    static constexpr int kRecords = 60;
    static constexpr int kPerBlock = 4;

    void SetUp() override {
        const Layout& p = GetParam();
        const auto& d = keyed::file_table()[pxbuild::find_row(p.file)];
        key_len = d.key_len;
        rec_len = d.rec_len;
        for (int i = 1; i <= kRecords; ++i) records.push_back(pxtest::rec(p.file, key(i * 10), "ITEM " + std::to_string(i)));
        pxbuild::IndexShape shape;
        shape.levels = p.levels;
        shape.index_entries_per_block = p.entries_per_block;
        shape.records_per_block = kPerBlock;
        auto img = pxbuild::build_keyed(p.file, records, shape);
        ASSERT_EQ(static_cast<int>(img.levels.size()), p.levels);
        auto cd = k.make_cd("E1", "20240115");
        cd.put_keyed(p.catalog, p.file, img);
        k.install("E1", p.kind);
        k.set_cd_drives({{'E', "cd/E1"}});
        h = k.open(p.file, p.catalog, 1, 0);
        ASSERT_NE(h, nullptr);
    }
    void TearDown() override { cdclose(&h, nullptr); }

    std::string key(int n) const { return key_n(GetParam().prefix, n, key_len); }
    std::string key_of(const std::string& r) const {
        return r.substr(keyed::file_table()[pxbuild::find_row(GetParam().file)].key_off, key_len);
    }
    int read(const std::string& k, std::string* out, int* detail = nullptr) {
        std::vector<char> buf(rec_len);
        int d = 0;
        int r = cdread(buf.data(), k.data(), static_cast<int>(k.size()), 0, nullptr, nullptr, h, detail ? detail : &d);
        if (r == 0 && out != nullptr) out->assign(buf.begin(), buf.end());
        return r;
    }

    pxtest::KeyedEnv k;
    std::vector<std::string> records;
    int key_len = 0, rec_len = 0;
    CdHandle* h = nullptr;
};

TEST_P(WalkTest, EveryFullKeyFindsItsRecordOnce) {
    // Keys that end a block are the index entries' keys; the others fall
    // between two entries and are found under the higher one.
    for (int i = 1; i <= kRecords; ++i) {
        std::string got;
        int detail = 0;
        ASSERT_EQ(read(key(i * 10), &got, &detail), 0) << key(i * 10) << " detail " << detail;
        EXPECT_EQ(got, records[i - 1]);
        EXPECT_EQ(read(key(i * 10), &got), -1) << "a second read of a unique key";
        ASSERT_EQ(cdreopen(h, nullptr), 0);
    }
}

TEST_P(WalkTest, AbsentKeysAreNotFound) {
    for (int n : {5, 15, 405, 599, 601, 999}) {
        EXPECT_EQ(read(key(n), nullptr), -1) << key(n);
        EXPECT_EQ(read(key(n), nullptr), -1) << "and stay not found";
        cdreopen(h, nullptr);
    }
}

TEST_P(WalkTest, ShortKeyReadsOnFromTheFirstRecordAtOrAfterIt) {
    struct Case {
        int from;  // the key whose prefix is searched
        int first;  // number of the first record expected
    } cases[] = {{5, 10}, {10, 10}, {50, 50}, {415, 410}, {605, 600}};
    for (const auto& c : cases) {
        std::string partial = key(c.from).substr(0, key_len - 1);
        std::vector<std::string> keys;
        std::string got;
        int r;
        while ((r = read(partial, &got)) == 0) keys.push_back(key_of(got));
        EXPECT_EQ(r, -1);
        ASSERT_FALSE(keys.empty()) << partial;
        EXPECT_EQ(keys.front(), key(c.first));
        // Every record that carries the prefix comes, in order, each once.
        int with_prefix = 0;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i > 0) {
                EXPECT_LT(keys[i - 1], keys[i]);
            }
            if (keys[i].compare(0, partial.size(), partial) == 0) ++with_prefix;
        }
        int expected = 0;
        for (const auto& rr : records) expected += key_of(rr).compare(0, partial.size(), partial) == 0;
        EXPECT_EQ(with_prefix, expected) << partial;
        cdreopen(h, nullptr);
    }
}

TEST_P(WalkTest, ShortKeyAboveEveryRecordFindsNothing) {
    std::string partial = key(995).substr(0, key_len - 1);
    EXPECT_EQ(read(partial, nullptr), -1);
}

TEST_P(WalkTest, SequentialReadGivesEveryRecordInOrder) {
    std::vector<char> buf(rec_len);
    std::vector<std::string> got;
    int32_t position = -1;
    while (cdread(buf.data(), nullptr, 0, 0, nullptr, &position, h, nullptr) == 0) {
        got.emplace_back(buf.begin(), buf.end());
        EXPECT_EQ(position, static_cast<int32_t>((got.size() - 1) / kPerBlock));
    }
    EXPECT_EQ(got, records);
    EXPECT_EQ(cdread(buf.data(), nullptr, 0, 0, nullptr, nullptr, h, nullptr), -1);
}

TEST_P(WalkTest, SeekKeyPreparesASequentialReadFromItsBlock) {
    ASSERT_EQ(cdseek_key(key(60).data(), key_len, h, nullptr), 0);
    std::vector<char> buf(rec_len);
    ASSERT_EQ(cdread(buf.data(), nullptr, 0, 0, nullptr, nullptr, h, nullptr), 0);
    EXPECT_EQ(std::string(buf.begin(), buf.end()), records[4]) << "the block of key 60 starts with key 50";
    EXPECT_EQ(cdseek_key(key(65).data(), key_len, h, nullptr), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Places, WalkTest,
    ::testing::Values(Layout{"disk_1_level", "HINM01.DAT", "", '1', "P", 1, 0},
                      Layout{"disk_2_levels", "HINM01.DAT", "", '1', "P", 2, 4},
                      Layout{"disk_3_levels", "HINM01.DAT", "", '1', "P", 3, 3},
                      Layout{"cd_2_levels", "FIGIND.DAT", "", '0', "4410A1P", 2, 4},
                      Layout{"cd_3_levels", "FIGIND.DAT", "", '0', "4410A1P", 3, 3},
                      Layout{"catalog_master_3_levels", "EMINDE.DAT", "4410A1", '1', "", 3, 3},
                      Layout{"index_in_master_data_on_cd", "HINBAN.DAT", "4410A1", '0', "Q", 3, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// Reads without a walk: block reads, repositioning and the argument checks.
class ReadTest : public ::testing::Test {
protected:
    void build(int records_count, int read_mode) {
        std::vector<std::string> recs;
        for (int i = 1; i <= records_count; ++i) recs.push_back(pxtest::rec("HINM01.DAT", key_n("P", i, 6), "NAME"));
        pxbuild::IndexShape shape;
        shape.records_per_block = 4;
        auto cd = k.make_cd("E1", "20240115");
        cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", recs, shape));
        k.install("E1", '1');
        h = k.open("HINM01.DAT", "", 7, read_mode);
    }
    void TearDown() override { cdclose(&h, nullptr); }
    pxtest::KeyedEnv k;
    CdHandle* h = nullptr;
};

TEST_F(ReadTest, BlockModeCopiesWholeBlocks) {
    build(37, 1);  // 10 blocks
    ASSERT_EQ(cdfilelen(h), 10);
    std::vector<char> buf(4 * keyed::kBlockSize);
    std::vector<int32_t> counts, positions;
    int32_t n = 0, pos = 0;
    while (cdread(buf.data(), nullptr, 0, 4, &n, &pos, h, nullptr) == 0) {
        counts.push_back(n);
        positions.push_back(pos);
    }
    EXPECT_EQ(counts, (std::vector<int32_t>{4, 4, 2}));
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 4, 8}));
    EXPECT_EQ(std::string(buf.data(), 6), "P00033") << "block 8 starts with record 33";
}

TEST_F(ReadTest, SeekRepositionsTheDataSlotOnly) {
    build(20, 0);
    int detail = 0;
    EXPECT_EQ(cdseek(2, 1, h, &detail), 128);
    EXPECT_EQ(detail, cdd::kCdseekNotData);
    EXPECT_EQ(cdseek(3, 1, nullptr, &detail), 128);
    EXPECT_EQ(detail, cdd::kCdseekNoHandle);
    ASSERT_EQ(cdseek(kDataSlot, 3, h, &detail), 0);
    char buf[66];
    ASSERT_EQ(cdread(buf, nullptr, 0, 0, nullptr, nullptr, h, nullptr), 0);
    EXPECT_EQ(std::string(buf, 6), "P00013");
    EXPECT_EQ(cdseek(kDataSlot, 99, h, &detail), 0) << "past the end: nothing more to read";
    EXPECT_EQ(cdread(buf, nullptr, 0, 0, nullptr, nullptr, h, nullptr), -1);
}

TEST_F(ReadTest, SeekOnlyAndReadBlockWorkOnEachSlot) {
    build(20, 0);
    int detail = 0;
    EXPECT_EQ(cdseek_only(4, 0, h, &detail), 128);
    EXPECT_EQ(detail, cdd::kSeekBadSlot);
    EXPECT_EQ(cdseek_only(0, 0, nullptr, &detail), 128);
    EXPECT_EQ(detail, cdd::kSeekNoHandle);
    EXPECT_EQ(cdseek_only(kDataSlot, -1, h, &detail), 15);
    std::vector<char> buf(2 * keyed::kBlockSize);
    ASSERT_EQ(cdseek_only(kDataSlot, 4, h, &detail), 0);
    ASSERT_EQ(cdread_read_block(kDataSlot, buf.data(), 1, h, &detail), 0);
    EXPECT_EQ(std::string(buf.data(), 6), "P00017");
    EXPECT_EQ(cdread_read_block(kDataSlot, buf.data(), 1, h, &detail), 14) << "block 5 is past the file";
    EXPECT_EQ(cdread_read_block(kDataSlot, buf.data(), 0, h, &detail), 128);
    EXPECT_EQ(detail, cdd::kBadSlot);
    ASSERT_EQ(cdseek_only(0, 0, h, &detail), 0);
    ASSERT_EQ(cdread_read_block(0, buf.data(), 1, h, &detail), 0);
    EXPECT_EQ(std::string(buf.data(), 6), "P00020") << "the top level's one entry";
}

TEST_F(ReadTest, ArgumentsAndStateAreChecked) {
    build(8, 0);
    char buf[66];
    int detail = 0;
    EXPECT_EQ(cdread(buf, "P000011", 7, 0, nullptr, nullptr, h, &detail), 128);
    EXPECT_EQ(detail, cdd::kKeyTooLong);
    EXPECT_EQ(cdread(buf, "P00001", 6, 0, nullptr, nullptr, nullptr, &detail), 128);
    EXPECT_EQ(detail, cdd::kNoHandle);
    EXPECT_EQ(cdseek_key(nullptr, 0, h, &detail), 128);
    EXPECT_EQ(detail, cdd::kSeekKeyArgument);
    EXPECT_EQ(cdreopen(nullptr, &detail), 128);
    EXPECT_EQ(detail, cdd::kReopenNoHandle);
    EXPECT_EQ(cdfilelen(nullptr), 0);
    EXPECT_EQ(cdclose(nullptr, &detail), 0);
    CdHandle* none = nullptr;
    EXPECT_EQ(cdclose(&none, &detail), 0);
    // The walk's steps one by one.
    LevelState lv[3];
    ASSERT_EQ(cdread_initial_set("P00005", 6, h, lv, &detail), 0);
    EXPECT_EQ(lv[0].left, 1);
    EXPECT_EQ(cdread_search_index(h, &detail), 0);
    EXPECT_EQ(cdread_search_index(h, &detail), 0);
    EXPECT_EQ(cdread_search_index(h, &detail), 0);
    EXPECT_EQ(cdread_search_data(buf, 0, nullptr, nullptr, h, &detail), 0);
    EXPECT_EQ(std::string(buf, 6), "P00005");
}

TEST_F(ReadTest, AFileOfNoBlocksOpensWithoutItsFileAndReadsEmpty) {
    auto cd = k.make_cd("E1", "20240115");
    cd.put("", "HINM01.DAT", {});
    k.install("E1", '1');
    ASSERT_FALSE(k.env().exists("MST/E1/HINM01.DAT")) << "the set-up copies no empty file";
    h = k.open("HINM01.DAT", "", 7, 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(cdfilelen(h), 0);
    char buf[66];
    EXPECT_EQ(cdread(buf, "P00001", 6, 0, nullptr, nullptr, h, nullptr), -1);
    EXPECT_EQ(cdread(buf, nullptr, 0, 0, nullptr, nullptr, h, nullptr), -1);
    EXPECT_EQ(cdseek_key("P00001", 6, h, nullptr), -1);
}

}  // namespace
