// Master files and disk copies as the builder installs a CD, checked against
// the set-up's rules without the library's readers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pxbuild/cd_writer.h"
#include "pxbuild/installer.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace {

using namespace pxbuild;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

uint32_t u32(const std::string& b, size_t at) {
    auto u = [&](size_t i) { return uint32_t(static_cast<unsigned char>(b[at + i])); };
    return u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24;
}

std::string rec(int len, size_t key_at, const std::string& key) {
    std::string r(len, ' ');
    r.replace(key_at, key.size(), key);
    return r;
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("pxbuild-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "MST");
    }
    void TearDown() override { fs::remove_all(root); }
    InstallSpec job(const char* id, char kind) {
        InstallSpec s;
        s.cd_folder = (root / "cd" / id).string();
        s.target_dir = (root / "MST").string();
        s.dir_name = id;
        s.install_kind = kind;
        return s;
    }
    CdWriter cd(const char* id) { return CdWriter((root / "cd" / id).string(), id, "20240115"); }
    // The 32-byte entry of a name in a master.
    std::string entry(const std::string& m, const std::string& name) {
        size_t at = m.find(name);
        EXPECT_NE(at, std::string::npos) << name;
        return at == std::string::npos ? std::string(32, '\0') : m.substr(at, 32);
    }
    fs::path root;
};

TEST_F(InstallerTest, FullCopyJoinsIndexLevelsAndCopiesJouhouOnce) {
    auto c = cd("E1");
    std::vector<std::string> recs;
    for (int i = 0; i < 300; ++i) recs.push_back(rec(66, 0, "P" + std::to_string(10000 + i)));
    IndexShape shape;
    shape.index_entries_per_block = 5;
    c.put_keyed("", "HINM01.DAT", build_keyed("HINM01.DAT", recs, shape));
    std::vector<std::string> cars;
    for (int i = 0; i < 30; ++i) cars.push_back(rec(186, 0, "4410A1XPA" + std::to_string(100000 + i)));
    c.put_jouhou(build_jouhou(cars));
    // SHAMEI without its first index level: no index at all.
    c.put("", "SHAMEI.DAT", build_plain(97, {rec(97, 23, "4410A1")}));
    Installer inst;
    inst.install_catalog_cd(job("E1", '1'));

    std::string m = slurp(root / "MST/E1/PXROOTMF.MST");
    ASSERT_EQ(m.size(), 2336u);
    EXPECT_EQ(m.substr(0, 8), "20240115");
    EXPECT_EQ(m.substr(22, 2), "E1");
    EXPECT_EQ(m[28], '\0');
    // HINM01: 10 data blocks, levels of 1, 1 and 2 blocks one after another.
    std::string l1 = entry(m, "HINM01.IA1"), l2 = entry(m, "HINM01.IA2"), l3 = entry(m, "HINM01.IA3");
    std::string d = entry(m, "HINM01.DAT");
    EXPECT_EQ(u32(l1, 16), 0u);
    EXPECT_EQ(u32(l2, 16), u32(l1, 20));
    EXPECT_EQ(u32(l3, 16), u32(l1, 20) + u32(l2, 20));
    EXPECT_EQ(d[26], 3);
    EXPECT_EQ(d[27], 1);
    EXPECT_EQ(d.substr(28, 2), "E1");
    EXPECT_EQ(fs::file_size(root / "MST/E1/HINM01.IA"), (u32(l1, 20) + u32(l2, 20) + u32(l3, 20)) * 2048u);
    // JOUHOU.DAT is listed three times, copied once; each key set its index file.
    EXPECT_TRUE(fs::exists(root / "MST/E1/JOUHOU.DAT"));
    for (const char* f : {"JOUHOU.IA", "JOUHOU.IS", "JOUHOU.IK"}) EXPECT_TRUE(fs::exists(root / "MST/E1" / f)) << f;
    EXPECT_EQ(entry(m, "SHAMEI.DAT")[26], 0);
    EXPECT_FALSE(fs::exists(root / "MST/E1/SHAMEI.IA"));
    // The byte-12 mask comes from the descriptor table: 2 for SHAMEI.IA3.
    EXPECT_EQ(entry(m, "SHAMEI.IA3")[12], 2);
    EXPECT_EQ(entry(m, "SHAMEI.IA2")[12], 3);
}

TEST_F(InstallerTest, ASecondMastersOnlyCdSharesTheFirstCdsFiles) {
    for (const char* id : {"E1", "E2"}) {
        auto c = cd(id);
        c.put_keyed("", "RYAKUG.DAT", build_keyed("RYAKUG.DAT", {rec(102, 0, "ABS")}));
        c.put_keyed("", "FIGIND.DAT", build_keyed("FIGIND.DAT", {rec(28, 0, "4410A1P00000000001")}));
    }
    Installer inst;
    inst.install_catalog_cd(job("E1", '1'));
    inst.install_catalog_cd(job("E2", '0'));
    std::string m = slurp(root / "MST/E2/PXROOTMF.MST");
    std::string r = entry(m, "RYAKUG.DAT");
    EXPECT_EQ(r[27], 1);
    EXPECT_EQ(r.substr(28, 2), "E1");
    EXPECT_EQ(u32(r, 20), 1u);
    std::string f = entry(m, "FIGIND.DAT");
    EXPECT_EQ(f[27], 0) << "read from E2's own CD";
    EXPECT_EQ(f[28], '\0');
    for (const auto& e : fs::directory_iterator(root / "MST/E2"))
        EXPECT_EQ(e.path().filename(), "PXROOTMF.MST") << "nothing copied";
}

TEST_F(InstallerTest, CatalogueMasterHoldsItsFilesFromBlockOne) {
    auto c = cd("E1");
    std::vector<std::string> pages, codes;
    for (int i = 0; i < 40; ++i) pages.push_back(rec(30, 6, std::to_string(1000 + i)));  // 1 block of EMINDE
    for (int i = 0; i < 400; ++i) codes.push_back(rec(16, 10, std::to_string(100000 + i)));  // 4 blocks of HCODEH
    c.put_keyed("4410A1X", "EMINDE.DAT", build_keyed("EMINDE.DAT", pages));
    c.put_keyed("4410A1X", "HCODEH.DAT", build_keyed("HCODEH.DAT", codes));
    for (char kind : {'1', '0'}) {
        Installer inst;
        inst.install_catalog_cd(job("E1", kind));
        std::string m = slurp(root / "MST/E1/PX4410A1.MST");
        EXPECT_EQ(m.substr(22, 2), "E1");
        EXPECT_EQ(m.substr(28, 2), "E1");
        EXPECT_EQ(m.substr(928, 1120), std::string(1120, '\0'));
        uint32_t next = 1;
        for (int i = 0; i < 28; ++i) {
            std::string e = m.substr(32 + i * 32, 32);
            if (e[27] != 2) continue;
            EXPECT_EQ(u32(e, 16), next) << e.substr(0, 10);
            next += u32(e, 20);
        }
        EXPECT_EQ(m.size(), next * 2048u) << kind;
        std::string data = entry(m, "HCODEH.DAT");
        EXPECT_EQ(data[27], kind == '1' ? 2 : 0);
        EXPECT_EQ(u32(data, 20), 4u);
    }
}

TEST(KeyedWriter, RefusesWhatCannotBeSearched) {
    // Two catalogues alike but for their 6th character: without it the
    // index keys of the second come before those of the first.
    std::string r(71, ' ');
    r.replace(0, 7, "4410A12");
    std::string s(71, ' ');
    s.replace(0, 7, "4410A21");
    EXPECT_THROW(build_keyed("FIGM01.DAT", {r, s}), BuildError);
    r.replace(0, 7, "4410A12");
    s.replace(0, 7, "4410B11");
    EXPECT_NO_THROW(build_keyed("FIGM01.DAT", {r, s}));
    EXPECT_THROW(build_keyed("FIGM01.DAT", {std::string(70, 'x')}), BuildError);
    EXPECT_THROW(build_keyed("FIGM01.DAT", {std::string(1, '\0') + std::string(70, 'x')}), BuildError);
    EXPECT_THROW(build_keyed("NOSUCH.DAT", {}), BuildError);
}

TEST(KeyedWriter, LevelsFollowTheTableAndTheData) {
    std::vector<std::string> recs;
    for (int i = 0; i < 2000; ++i) recs.push_back(rec(66, 0, "P" + std::to_string(10000 + i)));
    EXPECT_EQ(build_keyed("HINM01.DAT", recs).levels.size(), 3u) << "three by the table";
    EXPECT_EQ(build_keyed("FIGM01.DAT", {rec(71, 0, "4410A11")}).levels.size(), 1u) << "figure names: one";
    IndexShape one;
    one.levels = 1;
    EXPECT_EQ(build_keyed("HINM01.DAT", recs, one).levels.size(), 1u);
    recs.resize(200);
    IndexShape tight;
    tight.levels = 1;
    tight.index_entries_per_block = 2;
    EXPECT_EQ(build_keyed("HINM01.DAT", recs, tight).levels.size(), 3u) << "the top grows until it fits a block";
    tight.records_per_block = 1;
    EXPECT_THROW(build_keyed("HINM01.DAT", recs, tight), BuildError) << "more than three levels' worth";
    EXPECT_TRUE(build_keyed("TOKUME.DAT", {rec(30, 0, "4410A1")}).levels.empty());
}

}  // namespace
