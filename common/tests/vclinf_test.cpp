#include "pxall/vclinf.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/vehicle_work_layout.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_vehicle_info.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;
namespace vt = pxall::vehwork::vinft;

constexpr const char* kFile = "WORK/VCLINF.TMP";

std::string header(const std::string& catalog) {
    std::string h(vt::kHeaderSize, 'h');
    h.replace(vt::kCatalog, vt::kCatalogSize, catalog);
    h.replace(vt::kCount, 4, std::string(4, '\0'));
    return h;
}

int32_t count_of(const std::string& file) {
    return get_i32(reinterpret_cast<const unsigned char*>(file.data()) + vt::kCount);
}

std::vector<std::string> records_of(const std::string& file) {
    std::vector<std::string> out;
    for (size_t at = vt::kHeaderSize; at + vt::kRecordSize <= file.size(); at += vt::kRecordSize)
        out.push_back(file.substr(at, vt::kRecordSize));
    return out;
}

int g_errors = 0;
int count_error(VinftContext*) {
    ++g_errors;
    return -7;
}

class VinftFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.mkdir("WORK");
        pxtest::set_field(get_ctop_addr(), ctop::kWorkDir, ctop::kDirSize, "C:\\WORK");
        ctx = VinftContext{nullptr, nullptr, 0, count_error, O_CREAT | O_RDWR, S_IRUSR | S_IWUSR, -1};
        g_errors = 0;
    }
    void TearDown() override { term_VINFT(&ctx); }

    pxtest::TempEnv env;
    VinftContext ctx{};
};

TEST_F(VinftFileTest, HeaderAndRecordsAtTheirOffsets) {
    EXPECT_EQ(chk_ext_VINFT(), -1);
    ASSERT_GE(init_VINFT(&ctx), 0);
    EXPECT_EQ(chk_ext_VINFT(), 0);
    std::string hdr = header("4410A1");
    EXPECT_EQ(put_hdr_VINFT(&ctx, hdr.data()), 133);
    std::string r7(32, '7'), r0(32, '0'), r249(32, 'L');
    EXPECT_EQ(put_rec_VINFT(&ctx, 7, r7.data()), 32);
    EXPECT_EQ(put_rec_VINFT(&ctx, 0, r0.data()), 32);
    EXPECT_EQ(put_rec_VINFT(&ctx, 249, r249.data()), 32);
    std::string buf(133, '\0');
    EXPECT_EQ(get_hdr_VINFT(&ctx, buf.data()), 133);
    EXPECT_EQ(buf, hdr);
    buf.assign(32, '\0');
    EXPECT_EQ(get_rec_VINFT(&ctx, 7, buf.data()), 32);
    EXPECT_EQ(buf, r7);
    term_VINFT(&ctx);
    EXPECT_EQ(ctx.fd, -1);
    std::string file = env.read(kFile);
    ASSERT_EQ(file.size(), vt::kEmptyFileSize);
    EXPECT_EQ(file.substr(0, 133), hdr);
    EXPECT_EQ(file.substr(133, 32), r0);
    EXPECT_EQ(file.substr(133 + 7 * 32, 32), r7);
    EXPECT_EQ(file.substr(133 + 249 * 32, 32), r249);
    EXPECT_EQ(g_errors, 0);

    EXPECT_EQ(v_pop_del_vclinftmp(), 0);
    EXPECT_EQ(chk_ext_VINFT(), -1);
    EXPECT_EQ(v_pop_del_vclinftmp(), -1);
}

TEST_F(VinftFileTest, FailuresAreLoggedCloseTheFileAndEndWithTheErrorRoutine) {
    ASSERT_GE(init_VINFT(&ctx), 0);
    int fd = ctx.fd;
    std::string rec(32, 'r');
    struct Case {
        int n;
        bool write;
        std::string log;
    };
    const std::string f = std::to_string(fd);
    const Case cases[] = {
        {250, true, "PXSUBV31,put_rec_VINFT,lseek,(" + f + ")(32)(2)"},  // past the file's records
        {-1, true, "PXSUBV31,put_rec_VINFT,lseek,(" + f + ")(32)(2)"},
        {1000, false, "PXSUBV31,get_rec_VINFT,lseek,(" + f + ")(32)(2)"},
        {3, false, "PXSUBV31,get_rec_VINFT,read,(" + f + ")(0)(3)"},    // nothing there yet
    };
    for (const Case& c : cases) {
        if (ctx.fd < 0) {
            ASSERT_EQ(init_VINFT(&ctx), fd);
        }
        int r = c.write ? put_rec_VINFT(&ctx, c.n, rec.data()) : get_rec_VINFT(&ctx, c.n, rec.data());
        EXPECT_EQ(r, -7) << c.log;
        EXPECT_EQ(ctx.fd, -1);
        EXPECT_EQ(env.log_lines().back(), c.log);
    }
    EXPECT_EQ(g_errors, 4);
    EXPECT_EQ(env.read(kFile).size(), 0u);  // nothing was written past the records
    // A closed context fails as a seek.
    EXPECT_EQ(get_hdr_VINFT(&ctx, rec.data()), -7);
    EXPECT_EQ(env.log_lines().back(), "PXSUBV31,get_hdr_VINFT,lseek,(-1)(133)(2)");

    // No work directory to open the file in; no error routine gives -1.
    std::filesystem::remove_all(env.host("C:\\WORK"));
    ctx.on_error = nullptr;
    EXPECT_EQ(init_VINFT(&ctx), -1);
    EXPECT_EQ(env.log_lines().back(), "PXSUBV31,init_VINFT,open2,(-1)(0)(1)");
}

TEST_F(VinftFileTest, ThePathGoesToTheProgramsStringUpToItsLength) {
    std::string s(100, '#');
    VbString str{s.data(), 80};
    EXPECT_EQ(vinf_get_path(&str), 0);
    EXPECT_EQ(s.substr(0, 18), "C:\\WORK\\VCLINF.TMP");
    EXPECT_EQ(s.substr(18, 62), std::string(62, '\0'));
    EXPECT_EQ(s.substr(80), std::string(20, '#'));
    std::string t(10, '#');
    VbString shorter{t.data(), 4};
    EXPECT_EQ(vinf_get_path(&shorter), 0);
    EXPECT_EQ(t, "C:\\W######");
}

// The pop-up file of a catalogue installed from a CD made by the builder.
class VclinfBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsigned char* car = get_ccar_addr();
        pxtest::set_field(car, ccar::kCharact1a, 10, "1.6P");
        const char* c2[] = {"1.6P ", "5MT  ", "GLX  ", "EUR  "};
        for (int i = 0; i < 4; ++i) std::memcpy(car + ccar::kCharact2 + 5 * i, c2[i], 5);
        ctx.setup_entry = 0;
    }

    void install(const std::vector<std::string>& tokume, const std::vector<std::string>& kigouu) {
        auto cd = k.make_cd("E1", "20240115");
        cd.put_keyed("4410A1", "TOKUME.DAT", pxbuild::build_keyed("TOKUME.DAT", tokume));
        cd.put_keyed("4410A1", "KIGOUU.DAT", pxbuild::build_keyed("KIGOUU.DAT", kigouu));
        k.install("E1", '1');
    }

    pxtest::KeyedEnv k;
    VinftContext ctx{};
};

TEST_F(VclinfBuildTest, ABlankCatalogueGivesTheHeaderAnd250ZeroRecords) {
    std::string h = header("      ");
    std::string before = h;
    EXPECT_EQ(v_pop_make_vclinf_tmp(&ctx, reinterpret_cast<unsigned char*>(h.data())), 0);
    std::string file = k.env().read(kFile);
    ASSERT_EQ(file.size(), vt::kEmptyFileSize);
    EXPECT_EQ(file.substr(0, 133), before);
    EXPECT_EQ(file.substr(133), std::string(250 * 32, '\0'));
    EXPECT_EQ(ctx.fd, -1);
}

TEST_F(VclinfBuildTest, FeaturesOfTheDataLanguageWithTheirSymbolsAndTheVehiclesHits) {
    const auto& cat = pxbuild::demo::catalogs()[0];
    ASSERT_EQ(cat.code, "4410A1");
    auto f = pxbuild::demo::feature_files(cat);
    install(f.tokume, f.kigouu);
    std::string h = header("4410A1");
    ASSERT_EQ(v_pop_make_vclinf_tmp(&ctx, reinterpret_cast<unsigned char*>(h.data())), 0);
    EXPECT_EQ(ctx.cat1, nullptr);
    EXPECT_EQ(ctx.cat2, nullptr);
    std::string file = k.env().read(kFile);
    auto recs = records_of(file);
    ASSERT_EQ(count_of(file), static_cast<int32_t>(recs.size()));
    EXPECT_EQ(count_of(h), count_of(file));
    EXPECT_EQ(file.substr(0, 100), h.substr(0, 100));

    // Headings in file order, English only; symbols under them with their
    // text in pieces of at most 19 characters.
    std::vector<std::string> headings, hits;
    std::string texts;
    for (const auto& r : recs) {
        EXPECT_EQ(r.substr(30, 2), std::string(2, '\0'));
        if (r.compare(0, 3, "** ") == 0) {
            headings.push_back(r.substr(0, r.find(" **", 3) + 3));
            EXPECT_EQ(r[29], 0);
            continue;
        }
        if (r[29] == 1) hits.push_back(r.substr(0, 10));
        if (r.substr(0, 10) != std::string(10, ' ')) texts += "|" + r.substr(0, 10) + ":";
        std::string piece = r.substr(10, 19);
        texts += piece.substr(0, piece.find_last_not_of(' ') + 1) + " ";
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"** ENGINE **", "** TRANSMISSION **", "** GRADE **", "** DESTINATION **"}));
    EXPECT_EQ(hits, (std::vector<std::string>{"1.6P      ", "5MT       ", "GLX       ", "EUR       "}));
    EXPECT_NE(texts.find("|1.6P      :1.6 LITRE PETROL, 4 CYLINDER, 16 VALVE, VARIABLE VALVE TIMING "), std::string::npos) << texts;
    EXPECT_NE(texts.find("|UK        :UNITED KINGDOM AND IRELAND, RIGHT HAND DRIVE "), std::string::npos) << texts;
    EXPECT_EQ(texts.find("MOTEUR"), std::string::npos);
    EXPECT_EQ(texts.find("ESSENCE"), std::string::npos);
    EXPECT_EQ(texts.find("2.2D"), std::string::npos);  // not an engine of this catalogue
}

TEST_F(VclinfBuildTest, The251stRecordEndsTheBuildWithoutWritingPastTheFile) {
    auto feature = [](uint16_t code) {
        return pxbuild::Record(30).text(0, 6, "4410A1").u16(6, code).text(8, 2, "01").text(10, 20, "OPTIONS").str();
    };
    auto symbol = [](uint16_t code, int i) {
        return pxbuild::Record(90).text(0, 6, "4410A1").u16(6, code).num(8, 10, i).text(18, 2, "01").text(20, 70, "FITTED").str();
    };
    for (int symbols : {249, 250}) {
        std::vector<std::string> kig;
        for (int i = 0; i < symbols; ++i) kig.push_back(symbol(7, i));
        kig.push_back(symbol(8, 999));  // another feature's symbol, not kept
        install({feature(7)}, kig);
        std::string h = header("4410A1");
        size_t lines = k.env().log_lines().size();
        int r = v_pop_make_vclinf_tmp(&ctx, reinterpret_cast<unsigned char*>(h.data()));
        std::string file = k.env().read(kFile);
        EXPECT_LE(file.size(), vt::kEmptyFileSize);
        if (symbols == 249) {
            EXPECT_EQ(r, 0);
            EXPECT_EQ(count_of(file), 250);
            EXPECT_EQ(file.size(), vt::kEmptyFileSize);
            EXPECT_EQ(k.env().log_lines().size(), lines);
        } else {
            EXPECT_EQ(r, -1);
            EXPECT_EQ(file.size(), 0u);  // the header is written only after the records
            ASSERT_FALSE(k.env().log_lines().empty());
            EXPECT_EQ(k.env().log_lines().back(), "PXSUBV30,v_pop_tblset,Area over,(-1)(250)(4)");
        }
        EXPECT_EQ(ctx.cat1, nullptr);
        EXPECT_EQ(ctx.cat2, nullptr);
        EXPECT_EQ(ctx.fd, -1);
    }
}

TEST_F(VclinfBuildTest, ACatalogueWithoutItsFilesEndsTheBuild) {
    install({pxbuild::Record(30).text(0, 6, "4410A1").u16(6, 1).text(8, 2, "01").text(10, 20, "ENGINE").str()}, {});
    std::string h = header("9999Z9");
    EXPECT_EQ(v_pop_make_vclinf_tmp(&ctx, reinterpret_cast<unsigned char*>(h.data())), -1);
    auto log = k.env().log_lines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().rfind("PXSUBV30,v_pop_read,cdopen,", 0), 0u) << log.back();
    EXPECT_EQ(ctx.fd, -1);
}

}  // namespace
