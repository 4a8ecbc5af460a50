// Damaged files give a status code, never a read outside a buffer or a walk
// without end: cut files, index entries that are not digits or point past
// their level, master entries that cannot be true, an index that loops.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pxall/keyed_file.h"
#include "pxall/keyed_layout.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace fs = std::filesystem;

namespace {

using namespace pxall;
using pxtest::key_n;

class DamageTest : public ::testing::Test {
protected:
    // 40 part names, 4 a block: 10 data blocks under levels of 1, 2 and 4
    // blocks (3 entries a block), all in MST/E1 as separate files.
    void SetUp() override {
        std::vector<std::string> recs;
        for (int i = 1; i <= 40; ++i) recs.push_back(pxtest::rec("HINM01.DAT", key_n("P", i, 6), "NAME"));
        pxbuild::IndexShape shape;
        shape.records_per_block = 4;
        shape.index_entries_per_block = 3;
        auto cd = k.make_cd("E1", "20240115");
        cd.put_keyed("", "HINM01.DAT", pxbuild::build_keyed("HINM01.DAT", recs, shape));
        k.install("E1", '1');
    }
    std::string path(const char* name) { return k.env().root() + "/MST/E1/" + name; }
    void patch(const char* name, size_t at, const std::string& bytes) {
        std::string f = k.env().read(std::string("MST/E1/") + name);
        ASSERT_LE(at + bytes.size(), f.size());
        f.replace(at, bytes.size(), bytes);
        k.env().write(std::string("MST/E1/") + name, f);
    }
    // The HINM01.DAT entry of the root master.
    size_t data_entry() {
        std::string m = k.env().read("MST/E1/PXROOTMF.MST");
        size_t at = m.find("HINM01.DAT");
        EXPECT_NE(at, std::string::npos);
        return at;
    }
    int open(CdHandle** h, int* detail) { return cdopen("HINM01.DAT", "", 7, 0, -1, 0, 0, h, detail); }
    int read_key(const char* key, int* detail) {
        CdHandle* h = nullptr;
        int r = open(&h, detail);
        if (r != 0) return r;
        char buf[66];
        r = cdread(buf, key, 6, 0, nullptr, nullptr, h, detail);
        cdclose(&h, nullptr);
        return r;
    }
    int read_all_sequential(int* count, int* detail) {
        CdHandle* h = nullptr;
        int r = open(&h, detail);
        if (r != 0) return r;
        char buf[66];
        *count = 0;
        while ((r = cdread(buf, nullptr, 0, 0, nullptr, nullptr, h, detail)) == 0) ++*count;
        cdclose(&h, nullptr);
        return r;
    }
    pxtest::KeyedEnv k;
};

constexpr size_t kLevel3 = 3 * 2048;  // HINM01.IA: level 1, 2 blocks of level 2, then level 3

TEST_F(DamageTest, IndexEntriesAreCheckedBeforeUse) {
    struct Case {
        size_t at;
        const char* digits;
        int detail;
    } cases[] = {
        {kLevel3 + 6, "00000X001", cdd::kBadIndexDigits},
        {kLevel3 + 6, "000099001", cdd::kBadRange},   // past the data file
        {kLevel3 + 6, "000000000", cdd::kBadRange},   // no blocks
        {kLevel3 + 6, "000009002", cdd::kBadRange},   // runs past the end
        {6, "000005001", cdd::kBadRange},             // level 1 past level 2
    };
    for (const auto& c : cases) {
        std::string saved = k.env().read("MST/E1/HINM01.IA");
        patch("HINM01.IA", c.at, c.digits);
        int detail = 0;
        EXPECT_EQ(read_key("P00001", &detail), 128) << c.digits;
        EXPECT_EQ(detail, c.detail) << c.digits;
        k.env().write("MST/E1/HINM01.IA", saved);
    }
    int detail = 0;
    EXPECT_EQ(read_key("P00001", &detail), 0);
}

TEST_F(DamageTest, ACutDataFileGives14) {
    fs::resize_file(path("HINM01.DAT"), 2 * 2048 + 100);
    int detail = 0;
    EXPECT_EQ(read_key("P00002", &detail), 0);
    EXPECT_EQ(read_key("P00022", &detail), 14);
    int count = 0;
    EXPECT_EQ(read_all_sequential(&count, &detail), 14);
    EXPECT_EQ(count, 8) << "the two whole blocks before the cut";
    fs::resize_file(path("HINM01.IA"), 2048 + 10);
    EXPECT_EQ(read_key("P00002", &detail), 14) << "level 2 is gone";
}

TEST_F(DamageTest, AMasterLengthBeyondTheFileGives14AtItsEnd) {
    size_t at = data_entry();
    patch("PXROOTMF.MST", at + keyed::ment::kBlocks, std::string("\xe8\x03\0\0", 4));  // 1000 blocks
    int count = 0, detail = 0;
    EXPECT_EQ(read_all_sequential(&count, &detail), 14);
    EXPECT_EQ(count, 40);
}

TEST_F(DamageTest, MasterEntriesThatCannotBeTrueAreRefused) {
    size_t at = data_entry();
    struct Case {
        size_t off;
        std::string bytes;
        int code;
        int detail;
    } cases[] = {
        {at + keyed::ment::kLevels, "\x07", 128, cdd::kBadMasterEntry},
        {at + keyed::ment::kKeyLen, "\x28", 128, cdd::kBadMasterEntry},        // a 40-byte key
        {at + keyed::ment::kRecLen, std::string("\x00\x10", 2), 128, cdd::kBadMasterEntry},  // 4096
        {at + keyed::ment::kBlocks, std::string("\xf0\xff\xff\xff", 4), 128, cdd::kBadMasterEntry},
        {at + keyed::ment::kLocation, "\x05", 128, cdd::kBadMasterEntry},
        {at - 3 * 32 + keyed::ment::kRecLen, "\x14", 128, cdd::kBadMasterEntry},  // level 1 not key + 9
        {0, std::string(10, '\0'), 128, cdd::kNoEntry},
    };
    for (const auto& c : cases) {
        std::string saved = k.env().read("MST/E1/PXROOTMF.MST");
        if (c.off == 0) {
            // The entries cut off: a master of its header only.
            k.env().write("MST/E1/PXROOTMF.MST", saved.substr(0, 40));
        } else {
            patch("PXROOTMF.MST", c.off, c.bytes);
        }
        CdHandle* h = nullptr;
        int detail = 0;
        EXPECT_EQ(open(&h, &detail), c.code) << c.off;
        EXPECT_EQ(detail, c.detail) << c.off;
        EXPECT_EQ(h, nullptr);
        k.env().write("MST/E1/PXROOTMF.MST", saved);
    }
    k.env().write("MST/E1/PXROOTMF.MST", "short");
    CdHandle* h = nullptr;
    int detail = 0;
    EXPECT_EQ(open(&h, &detail), 14);
}

TEST_F(DamageTest, AZeroRecordLengthIsRefusedByTheRead) {
    patch("PXROOTMF.MST", data_entry() + keyed::ment::kRecLen, std::string("\0\0", 2));
    int detail = 0, count = 0;
    EXPECT_EQ(read_key("P00001", &detail), 128);
    EXPECT_EQ(detail, cdd::kBadRecordLength);
    EXPECT_EQ(read_all_sequential(&count, &detail), 128);
    EXPECT_EQ(detail, cdd::kBadRecordLength);
}

TEST_F(DamageTest, AnIndexThatLoopsIsStopped) {
    // Every entry of every level names the key sought and the first block
    // below, whose data does not hold the key: 136 x 136 x 136 ways down.
    std::string level(2048, '\0');
    for (int i = 0; i < 136; ++i) level.replace(i * 15, 15, "P00099000000001");
    std::string ia = level + level + level;
    k.env().write("MST/E1/HINM01.IA", ia);
    std::string m = k.env().read("MST/E1/PXROOTMF.MST");
    size_t at = data_entry();
    for (int l = 0; l < 3; ++l) {
        size_t e = at - (3 - l) * 32;
        m.replace(e + keyed::ment::kFirstBlock, 8, std::string({char(l), 0, 0, 0, 1, 0, 0, 0}));
    }
    m[at + keyed::ment::kLevels] = 3;
    k.env().write("MST/E1/PXROOTMF.MST", m);
    int detail = 0;
    EXPECT_EQ(read_key("P00099", &detail), 128);
    EXPECT_EQ(detail, cdd::kWalkTooLong);
}

TEST_F(DamageTest, ALastBlockCutShortReadsAsZeros) {
    // A CD file need not fill its last block: the CD's length is rounded up.
    std::vector<std::string> recs;
    for (int i = 1; i <= 80; ++i) recs.push_back(pxtest::rec("FIGIND.DAT", key_n("4410A1", i, 18), "16400A1101"));
    auto img = pxbuild::build_keyed("FIGIND.DAT", recs);
    img.data.resize(2048 + 7 * 28);
    auto cd = k.make_cd("E2", "20240601");
    cd.put_keyed("", "FIGIND.DAT", img);
    k.install("E2", '0', "02");
    k.set_cd_drives({{'E', "cd/E2"}});
    CdHandle* h = nullptr;
    ASSERT_EQ(cdopen("FIGIND.DAT", "", 15, 0, -1, 1, 0, &h, nullptr), 0);
    EXPECT_EQ(cdfilelen(h), 2);
    EXPECT_EQ(pxtest::read_all(h, key_n("4410A1", 80, 18), 28).size(), 1u);
    cdclose(&h, nullptr);
}

TEST_F(DamageTest, RandomDamageNeverBreaksTheReader) {
    std::mt19937 rng(7);
    const std::string ia = k.env().read("MST/E1/HINM01.IA");
    const std::string dat = k.env().read("MST/E1/HINM01.DAT");
    for (int round = 0; round < 200; ++round) {
        std::string a = ia, d = dat;
        for (int n = 0; n < 4; ++n) {
            std::string& f = rng() % 2 ? a : d;
            f[rng() % f.size()] = static_cast<char>(rng());
        }
        if (round % 10 == 0) a.resize(rng() % a.size());
        k.env().write("MST/E1/HINM01.IA", a);
        k.env().write("MST/E1/HINM01.DAT", d);
        CdHandle* h = nullptr;
        ASSERT_EQ(open(&h, nullptr), 0);
        char buf[66];
        for (const char* key : {"P00001", "P00040", "P0002", "P"}) {
            int r, detail = 0, reads = 0;
            while ((r = cdread(buf, key, static_cast<int>(std::string(key).size()), 0, nullptr, nullptr, h, &detail)) == 0)
                ASSERT_LT(++reads, 100);
            EXPECT_TRUE(r == -1 || r == 14 || r == 128) << r;
            cdreopen(h, nullptr);
        }
        cdclose(&h, nullptr);
    }
}

}  // namespace
