// The local-parts set-up: each source kind, sort and merge order of each
// set, the index the local-price reader walks, the 16-bit limit, and the
// pictures of set 3.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/localp.h"
#include "stup/stup.h"
#include "support/step_script.h"
#include "support/temp_env.h"

namespace ct = pxall::ctop;

namespace {

std::vector<std::string> records(const std::string& bytes, size_t len) {
    std::vector<std::string> out;
    for (size_t at = 0; at + len <= bytes.size(); at += len) out.push_back(bytes.substr(at, len));
    return out;
}

struct Entry {
    std::string key;
    int first, count;
};
std::vector<Entry> index_of(const std::string& bytes, size_t key) {
    std::vector<Entry> out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t at = 0; at + key + 4 <= bytes.size(); at += key + 4)
        out.push_back({bytes.substr(at, key), p[at + key] | p[at + key + 1] << 8, p[at + key + 2] | p[at + key + 3] << 8});
    return out;
}

class LocalPartsTest : public ::testing::Test {
protected:
    pxtest::TempEnv env;
    void SetUp() override {
        unsigned char* top = pxall::get_ctop_addr();
        pxtest::set_field(top, ct::kMasterDir, ct::kDirSize, "C:\\MST");
        pxtest::set_field(top, ct::kLocalPriceDir, ct::kDirSize, "C:\\LCP");
        pxtest::set_field(top, ct::kWorkDir, ct::kDirSize, "C:\\WORK");
        env.mkdir("WORK");
        env.mkdir("SRC");
    }
    // The screen's sequence for one source; merge keeps what is there.
    int setup(int type, const std::string& name, const std::string& bytes, bool merge = false) {
        env.write("SRC/" + name, bytes);
        if (Check_Setuped_Localp(static_cast<int16_t>(type)) == 1)
            Init_Setuped_Localp(merge ? 0 : 1, static_cast<int16_t>(type));
        return Setup_Localp(static_cast<int16_t>(type), ("C:\\SRC\\" + name).c_str());
    }
};

TEST_F(LocalPartsTest, CsvSetOneSortedWithOneIndexEntryAKey) {
    // Blank lines at the end, as an editor leaves them, are no records.
    ASSERT_EQ(setup(1, "LOCALP1", "K2,B,1,2,TEXT B\r\nK1,Z\r\nK1,A,,,\"SAY \"\"HI\"\"\"\r\nK2,A,1,2,TEXT A,EXTRA\r\n\r\n"), 0);
    auto recs = records(env.read("LCP/LOCALP1.D"), 62);
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(recs[0].substr(0, 24), "K1          A           ");
    EXPECT_EQ(recs[0].substr(32, 10), "SAY \"HI\"  ");
    EXPECT_EQ(recs[1].substr(0, 24), "K1          Z           ");
    EXPECT_EQ(recs[2].substr(0, 32), "K2          A           1   2   ");
    EXPECT_EQ(recs[3].substr(32, 6), "TEXT B");
    auto ix = index_of(env.read("LCP/LOCALP1.IA"), 12);
    ASSERT_EQ(ix.size(), 2u);
    EXPECT_EQ(ix[0].key, "K1          ");
    EXPECT_EQ(ix[0].first, 0);
    EXPECT_EQ(ix[0].count, 2);
    EXPECT_EQ(ix[1].first, 2);
    EXPECT_EQ(ix[1].count, 2);
    EXPECT_FALSE(env.exists("WORK/LOCALP1.TMP"));

    // The reader finds the key's records.
    pxall::LcpHandle h{};
    ASSERT_EQ(pxall::LCPOpen(&h, 1), 0);
    char rec[62];
    ASSERT_EQ(pxall::LCPKeyRead(&h, "K2          ", 12, rec), 0);
    EXPECT_EQ(std::string(rec, 13), "K2          A");
    ASSERT_EQ(pxall::LCPSeqRead(&h, rec), 0);
    EXPECT_EQ(std::string(rec + 32, 6), "TEXT B");
    pxall::LCPClose(&h);
}

// Set 3's figure title and part text are 30 bytes: a longer Japanese text
// (code page 932) ends before the double-byte character that does not fit,
// the place blank; under a Latin menu the bytes stay as cut.
TEST_F(LocalPartsTest, Set3TextsEndBeforeADoubleByteCharacterThatDoesNotFit) {
    std::string kana;  // fifteen katakana of two bytes
    for (int i = 0; i < 15; ++i) kana += "\x83\x8F";
    struct Case {
        const char* lang;
        std::string title, text;
    } cases[] = {
        {"02", "X" + kana.substr(0, 28) + " ", "\"" + kana.substr(0, 28) + " "},
        {"01", "X" + kana.substr(0, 29), "\"" + kana.substr(0, 29)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(pxall::get_ctop_addr(), ct::kMenuLangCode, 3, c.lang);
        // The title bare, the text quoted with a doubled quote first.
        ASSERT_EQ(setup(3, "LOCALP3", "4410A1,9101,X" + kana + ",LA1,,,,\"\"\"" + kana + "\"\r\n"), 0);
        auto recs = records(env.read("LCP/LOCALP3.D"), 132);
        ASSERT_EQ(recs.size(), 1u);
        EXPECT_EQ(recs[0].substr(10, 30), c.title);
        EXPECT_EQ(recs[0].substr(72, 30), c.text);
        EXPECT_EQ(recs[0].substr(102, 30), std::string(30, ' '));
    }
    pxtest::set_field(pxall::get_ctop_addr(), ct::kMenuLangCode, 3, "01");
}

TEST_F(LocalPartsTest, FixedRecordsAndTheTwoFieldKey) {
    std::string fixed = std::string("F2          G2          ") + std::string(20, 'b') +
                        std::string("F1          G1          ") + std::string(20, 'a') + "\r\n";
    ASSERT_EQ(setup(0, "LOCALP", fixed), 0);
    auto recs = records(env.read("LCP/LOCALP1.D"), 62);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0], std::string("F1          G1          ") + "        " + std::string(20, 'a') + std::string(10, ' '));
    EXPECT_EQ(Check_Setuped_Localp(0), 1);
    EXPECT_EQ(Check_Setuped_Localp(1), 1);  // the same set
    EXPECT_EQ(Check_Setuped_Localp(2), 0);

    ASSERT_EQ(setup(2, "LOCALP2", "AAA,222,P\nAAA,111,Q\nAAA,111,R\n"), 0);
    auto ix = index_of(env.read("LCP/LOCALP2.IA"), 12);
    ASSERT_EQ(ix.size(), 2u);
    EXPECT_EQ(ix[0].key, "AAA   111   ");
    EXPECT_EQ(ix[0].count, 2);
}

TEST_F(LocalPartsTest, MergeOrderOfEqualKeys) {
    struct Case {
        int type;
        const char* old_line;
        const char* new_line;
        size_t rec_len, text_at;
        const char* first_text;
    } cases[] = {
        {1, "K1,A,1,2,OLD\n", "K1,A,1,2,NEW\n", 62, 32, "NEW"},
        {3, "CAT001,0101,T,P.BMP,PART1,1,2,OLD\n", "CAT001,0101,T,P.BMP,PART1,1,2,NEW\n", 132, 72, "OLD"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(setup(c.type, "OLD.CSV", c.old_line), 0);
        ASSERT_EQ(setup(c.type, "NEW.CSV", std::string(c.new_line) + "K0,A\n", true), 0);
        const char* data = c.type == 1 ? "LCP/LOCALP1.D" : "LCP/LOCALP3.D";
        auto recs = records(env.read(data), c.rec_len);
        ASSERT_EQ(recs.size(), 3u) << c.type;
        // The same key twice: both kept, in the set's order.
        int k = c.type == 1 ? 1 : 0;
        EXPECT_EQ(recs[k].substr(c.text_at, 3), c.first_text) << c.type;
        EXPECT_FALSE(env.exists("WORK/LOCALP1.D00"));
    }
}

TEST_F(LocalPartsTest, MoreThanTheIndexCanNumberIsRefused) {
    std::string csv;
    for (int i = 0; i < 40000; ++i) csv += "K" + std::to_string(100000 + i) + ",X\n";
    ASSERT_EQ(setup(1, "A.CSV", csv), 0);
    const std::string before = env.read("LCP/LOCALP1.D") + env.read("LCP/LOCALP1.IA");
    // 40,000 there and 30,000 new: the merged set would be too large.
    std::string more;
    for (int i = 0; i < 30000; ++i) more += "M" + std::to_string(100000 + i) + ",X\n";
    EXPECT_EQ(setup(1, "B.CSV", more, true), 849);
    EXPECT_EQ(env.read("LCP/LOCALP1.D") + env.read("LCP/LOCALP1.IA"), before);
    ASSERT_FALSE(env.log_lines().empty());
    EXPECT_NE(env.log_lines().back().find("more than 65535 records"), std::string::npos);
    // 30,000 alone replace it, sorted whatever their number.
    ASSERT_EQ(setup(1, "B.CSV", more), 0);
    auto recs = records(env.read("LCP/LOCALP1.D"), 62);
    ASSERT_EQ(recs.size(), 30000u);
    EXPECT_TRUE(std::is_sorted(recs.begin(), recs.end()));
}

TEST_F(LocalPartsTest, PicturesListedAndCopiedByPlainNamesOnly) {
    ASSERT_EQ(setup(3, "LOCALP3",
                    "CAT001,0102,T2,x.bmp,P2\n"
                    "CAT001,0101,T1,ABC.BMP,P1\n"
                    "CAT001,0101,T1,OTHER.BMP,P0\n"
                    "CAT002,0101,T3,..\\EVIL.BMP,P3\n"
                    "CAT003,0101,T4,NONE.BMP,P4\n"),
              0);
    plat::MemoryListBox pics, files;
    int32_t hp = plat::register_control(&pics), hf = plat::register_control(&files);
    ASSERT_EQ(Localp3_SetImageFile(hp), 0);
    ASSERT_EQ(pics.lines().size(), 4u);
    EXPECT_EQ(pics.lines()[0], "  OTHER.BMP   ");  // the figure's first record, by part number
    EXPECT_EQ(pics.lines()[1], "  x.bmp       ");

    env.write("PICS/abc.bmp", "BM-abc");
    env.write("PICS/OTHER.BMP", "BM-other");
    env.write("PICS/X.BMP", "BM-x");
    env.write("EVIL.BMP", "BM-evil");
    for (const char* f : {"abc.bmp", "OTHER.BMP", "X.BMP", "..\\EVIL.BMP"}) files.lb_add(f);
    Localp3_CopyImageFile(hp, hf, "C:\\PICS");
    EXPECT_EQ(pics.lines()[0], "* OTHER.BMP   ");
    EXPECT_EQ(pics.lines()[1], "* x.bmp       ");
    EXPECT_EQ(pics.lines()[2], "  ..\\EVIL.BMP ");  // left alone
    EXPECT_EQ(pics.lines()[3], "  NONE.BMP    ");
    EXPECT_EQ(env.read("LCP/x.bmp"), "BM-x");
    EXPECT_EQ(env.read("LCP/OTHER.BMP"), "BM-other");
    EXPECT_FALSE(env.exists("LCP/EVIL.BMP"));
    EXPECT_EQ(env.read("EVIL.BMP"), "BM-evil");
    plat::unregister_control(hp);
    plat::unregister_control(hf);
}

// A source that is refused or cannot be read leaves the set in force whole,
// whether it was to be merged or to replace the set.
TEST_F(LocalPartsTest, ARefusedOrUnreadableSourceKeepsTheSetInForce) {
    ASSERT_EQ(setup(1, "OLD.CSV", "K1,A,1,2,OLD\nK2,A,1,2,OLD\n"), 0);
    const std::string before = env.read("LCP/LOCALP1.D") + env.read("LCP/LOCALP1.IA");
    struct Case {
        const char* what;
        int type;
        std::string bytes;
        int want;
    } cases[] = {
        {"a blank line between records", 1, "K3,A\n\nK4,A\n", 848},
        {"a zero byte", 1, std::string("K3,A\nK\0,A\n", 10), 848},
        {"a control character", 1, "K3,A\x07\n", 848},
        {"a line too long", 1, "K3," + std::string(300, 'A') + "\n", 848},
        {"a fixed record not whole", 0, std::string(44, 'F') + "SHORT", 848},
        {"a fixed record with a zero byte", 0, std::string(20, 'F') + std::string(1, '\0') + std::string(23, 'F'), 848},
    };
    for (const auto& c : cases) {
        for (bool merge : {false, true}) {
            EXPECT_EQ(setup(c.type, "NEW.CSV", c.bytes, merge), c.want) << c.what << merge;
            EXPECT_EQ(env.read("LCP/LOCALP1.D") + env.read("LCP/LOCALP1.IA"), before) << c.what << merge;
        }
    }
    // A source that is not there: the set is not deleted first.
    ASSERT_EQ(Check_Setuped_Localp(1), 1);
    Init_Setuped_Localp(1, 1);
    EXPECT_EQ(Setup_Localp(1, "C:\\SRC\\NONE.CSV"), 11);
    EXPECT_EQ(env.read("LCP/LOCALP1.D") + env.read("LCP/LOCALP1.IA"), before);
    // Replaced by a good source, the old records are gone.
    ASSERT_EQ(setup(1, "NEW.CSV", "K9,A\n"), 0);
    EXPECT_EQ(records(env.read("LCP/LOCALP1.D"), 62).size(), 1u);
}

using pxtest::index_of;

// The data and index of a set change together: a kill or a failure at each
// step of a replacement leaves the old set or the new one for the reader.
TEST_F(LocalPartsTest, AKillOrAFailureAtEveryStepLeavesTheOldOrTheNewSet) {
    const std::string old_csv = "K1,A,1,2,OLD\nK2,A,1,2,OLD\n", new_csv = "K1,A,1,2,NEW\nK3,A,1,2,NEW\nK4,B\n";
    auto set = [&] { return env.read("LCP/LOCALP1.D") + "|" + env.read("LCP/LOCALP1.IA"); };
    // The reader's view: it finishes an interrupted commit first.
    auto read_k1 = [&] {
        pxall::LcpHandle h{};
        EXPECT_EQ(pxall::LCPOpen(&h, 1), 0);
        char rec[62] = {};
        EXPECT_EQ(pxall::LCPKeyRead(&h, "K1          ", 12, rec), 0);
        pxall::LCPClose(&h);
        return set();
    };
    auto leftovers = [&] {
        std::vector<std::string> v;
        for (const auto& e : std::filesystem::directory_iterator(env.root() + "/LCP")) {
            std::string n = e.path().filename().string();
            if (n != "LOCALP1.D" && n != "LOCALP1.IA") v.push_back(n);
        }
        return v;
    };
    ASSERT_EQ(setup(1, "NEW.CSV", new_csv), 0);
    const std::string fresh = set();
    ASSERT_EQ(setup(1, "OLD.CSV", old_csv), 0);
    const std::string old = set();
    int rc = -1;
    const auto all = pxtest::steps_of([&] { rc = setup(1, "NEW.CSV", new_csv); });
    ASSERT_EQ(rc, 0);
    int first_rename = -1, second_rename = -1;
    for (int k = 0; k < static_cast<int>(all.size()); ++k) {
        if (all[k] == "rename LOCALP1.D") first_rename = k;
        if (all[k] == "rename LOCALP1.IA") second_rename = k;
    }
    ASSERT_GT(first_rename, 0);
    ASSERT_GT(second_rename, first_rename);
    for (int k = 0; k < static_cast<int>(all.size()); ++k) {
        for (bool kill : {true, false}) {
            SCOPED_TRACE((kill ? "killed at " : "failed at ") + all[k]);
            ASSERT_EQ(setup(1, "OLD.CSV", old_csv), 0);
            if (kill) {
                ASSERT_TRUE(pxtest::killed_at_step(k, [&] { setup(1, "NEW.CSV", new_csv); }));
                EXPECT_EQ(read_k1(), k >= first_rename ? fresh : old);
            } else {
                pxtest::failed_at_step(k, all, [&] { rc = setup(1, "NEW.CSV", new_csv); });
                EXPECT_EQ(rc == 0, all[k].rfind("unjournal", 0) == 0);
                EXPECT_EQ(read_k1(), k >= second_rename ? fresh : old);
            }
            EXPECT_EQ(leftovers(), std::vector<std::string>{});
        }
    }
}

}  // namespace
