// The blocks an open keyed file keeps: the records a walk finds are the ones
// the file holds now, whether it was rewritten in place, replaced, or the CD
// changed between two opens; the data blocks all open files keep stay
// within their budget, a small share of the machine's memory; and a file
// read whole is kept only while it is as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/memory.h"
#include "pxall/keyed_file.h"
#include "pxall/keyed_layout.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace pxall;
using pxtest::key_n;

constexpr const char* kDiskFile = "HINM01.DAT";  // copied to disk by a full set-up
constexpr const char* kCdFile = "FIGIND.DAT";    // read from the CD

class IndexCacheTest : public ::testing::Test {
protected:
    void use(const char* file) {
        file_ = file;
        const auto& d = keyed::file_table()[pxbuild::find_row(file)];
        key_len = d.key_len;
        rec_len = d.rec_len;
    }
    void TearDown() override {
        cdclose(&h, nullptr);
        drop_whole_files();
        plat::unfix_clock();
        set_kept_data_budget(-1);
    }

    // `count` records under keys prefix + 10, 20, ... in three index levels
    // of three entries a block.
    pxbuild::KeyedImage image(const std::string& prefix, int count = 60) {
        std::vector<std::string> recs;
        for (int i = 1; i <= count; ++i) recs.push_back(pxtest::rec(file_, key_n(prefix, i * 10, key_len), prefix));
        pxbuild::IndexShape shape;
        shape.levels = 3;
        shape.index_entries_per_block = 3;
        shape.records_per_block = 4;
        return pxbuild::build_keyed(file_, recs, shape);
    }
    // Every key of the prefix that the open handle finds.
    int found(const std::string& prefix) {
        int n = 0;
        std::vector<char> buf(rec_len);
        for (int i = 1; i <= 60; ++i) {
            std::string k = key_n(prefix, i * 10, key_len);
            cdreopen(h, nullptr);
            if (cdread(buf.data(), k.data(), key_len, 0, nullptr, nullptr, h, nullptr) == 0 &&
                std::string(buf.data(), key_len) == k)
                ++n;
        }
        return n;
    }
    static void write_over(const std::string& path, const pxbuild::Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::in | std::ios::out);  // the same file, not a new one
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    pxtest::KeyedEnv k;
    const char* file_ = kDiskFile;
    int key_len = 0, rec_len = 0;
    CdHandle* h = nullptr;
};

TEST_F(IndexCacheTest, AFileRewrittenUnderTheOpenHandleIsWalkedAfresh) {
    use(kDiskFile);
    // The installed files of a data set with "Q" keys, kept aside.
    k.make_cd("E1", "20240115").put_keyed("", file_, image("Q"));
    k.install("E1", '1');
    fs::path set = k.env().host("C:\\MST\\E1");
    fs::path aside = fs::path(k.env().root()) / "aside";
    fs::copy(set, aside);
    // The same data set with "P" keys, installed afresh and opened.
    k.make_cd("E1", "20240115").put_keyed("", file_, image("P"));
    k.install("E1", '1');
    h = k.open(file_);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(found("P"), 60);  // every index block is now kept

    // Each file rewritten in place with the "Q" bytes: a walk through the
    // kept blocks would look for "Q" keys among the "P" entries.
    for (const auto& e : fs::directory_iterator(aside)) {
        std::ifstream in(e.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_TRUE(fs::exists(set / e.path().filename()));
        write_over((set / e.path().filename()).string(), pxbuild::Bytes(bytes.begin(), bytes.end()));
    }
    // The stamps are compared again once the recheck interval has passed.
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * 50 + 20));
    EXPECT_EQ(found("Q"), 60);
    EXPECT_EQ(found("P"), 0);
}

TEST_F(IndexCacheTest, ACdChangedBetweenTwoOpensGivesTheNewCdsRecords) {
    use(kCdFile);
    k.make_cd("E1", "20240115").put_keyed("", file_, image("4410A1P"));
    k.install("E1", '0');  // the data stay on the CD
    k.set_cd_drives({{'E', "cd/E1"}});
    h = k.open(file_);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(found("4410A1P"), 60);
    cdclose(&h, nullptr);

    // Another disc of the same label in the drive.
    fs::rename(fs::path(k.env().root()) / "cd/E1", fs::path(k.env().root()) / "cd/E1-old");
    k.make_cd("E1", "20240115").put_keyed("", file_, image("4410A1R"));
    h = k.open(file_);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(found("4410A1R"), 60);
    EXPECT_EQ(found("4410A1P"), 0);
}

// Keyed searches keep the data blocks they read while all open files
// together stay within the budget; a closed handle's room is free again.
TEST_F(IndexCacheTest, DataBlocksOfAllOpenFilesStayWithinTheBudget) {
    use(kDiskFile);
    k.make_cd("E1", "20240115").put_keyed("", file_, image("P"));
    k.install("E1", '1');
    const int64_t before = kept_data_bytes();
    const int64_t room = 3 * int64_t{keyed::kBlockSize};
    set_kept_data_budget(before + room);

    h = k.open(file_);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(found("P"), 60);  // 15 data blocks read
    EXPECT_EQ(kept_data_bytes(), before + room);
    CdHandle* first = h;
    h = k.open(file_);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(found("P"), 60);  // read, none kept
    EXPECT_EQ(kept_data_bytes(), before + room);

    cdclose(&first, nullptr);
    EXPECT_EQ(kept_data_bytes(), before);
    EXPECT_EQ(found("P"), 60);
    EXPECT_EQ(kept_data_bytes(), before + room);
    cdclose(&h, nullptr);
    EXPECT_EQ(kept_data_bytes(), before);
}

TEST(KeptDataBudget, ASmallShareOfTheMachinesMemory) {
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    const struct {
        uint64_t memory;
        int64_t budget_mib;
    } cases[] = {{0, 64}, {kGiB, 32}, {2 * kGiB, 64}, {4 * kGiB, 128}, {8 * kGiB, 256}, {64 * kGiB, 256}};
    for (const auto& c : cases) EXPECT_EQ(kept_data_budget_for(c.memory), c.budget_mib << 20) << c.memory;
    EXPECT_EQ(fit_kept_data_budget(), kept_data_budget_for(plat::physical_memory_bytes()));
}

// A file read whole comes back from memory while it stays as it was and
// had settled when it was read; a changed file is read again, one that
// changed just now or that the budget has no room for is read and not kept.
TEST_F(IndexCacheTest, AWholeFileIsKeptWhileItStaysAsItWas) {
    use(kDiskFile);
    k.make_cd("E1", "20240115").put_keyed("", file_, image("P"));
    k.install("E1", '1');
    const int64_t before = kept_data_bytes();
    auto whole = [&](WholeFile* out) {
        cdclose(&h, nullptr);
        h = k.open(file_, "", 1, 1);
        return h != nullptr && cdread_whole(h, out, nullptr) == 0;
    };
    // The blocks are those a sequential read gives.
    WholeFile first;
    ASSERT_TRUE(whole(&first));
    ASSERT_EQ(first.blocks, cdfilelen(h));
    std::vector<uint8_t> blocks(static_cast<size_t>(first.blocks) * keyed::kBlockSize);
    int32_t got = 0;
    ASSERT_EQ(cdread(blocks.data(), nullptr, 0, first.blocks, &got, nullptr, h, nullptr), 0);
    EXPECT_EQ(std::vector<uint8_t>(first.bytes.get(), first.bytes.get() + blocks.size()), blocks);
    // Just written: not kept.
    EXPECT_EQ(kept_data_bytes(), before);
    WholeFile again;
    ASSERT_TRUE(whole(&again));
    EXPECT_NE(again.bytes.get(), first.bytes.get());

    // Settled (the clock a day on): kept, and found again.
    plat::fix_clock(2099, 1, 1, 12, 0, 0);
    ASSERT_TRUE(whole(&first));
    EXPECT_EQ(kept_data_bytes(), before + int64_t{first.blocks} * keyed::kBlockSize);
    ASSERT_TRUE(whole(&again));
    EXPECT_EQ(again.bytes.get(), first.bytes.get());

    // Installed again with more records: read again, the new records.
    k.make_cd("E1", "20240115").put_keyed("", file_, image("Q", 90));
    k.install("E1", '1');
    ASSERT_TRUE(whole(&again));
    EXPECT_NE(again.bytes.get(), first.bytes.get());
    EXPECT_GT(again.blocks, first.blocks);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(again.bytes.get()), 6), key_n("Q", 10, key_len).substr(0, 6));

    // No room: read, not kept.
    drop_whole_files();
    EXPECT_EQ(kept_data_bytes(), before);
    set_kept_data_budget(before + keyed::kBlockSize);
    ASSERT_TRUE(whole(&first));
    EXPECT_EQ(kept_data_bytes(), before);
    ASSERT_TRUE(whole(&again));
    EXPECT_NE(again.bytes.get(), first.bytes.get());
}

}  // namespace
