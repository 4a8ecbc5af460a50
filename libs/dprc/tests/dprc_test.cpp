// The price inquiry on KAKAKU and PRICE3 files written by the data-set
// builder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dprc/dprc.h"
#include "dprc/price_inquiry_layout.h"
#include "pxall/blocks.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_data.h"
#include "pxbuild/demo_dprc.h"
#include "pxbuild/price_writer.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;
namespace rec = pxdprc::rec;

struct Part {
    const char* no;
    const char* p1;
    const char* p2;
    const char* p3;
    const char* name;
};

const std::vector<Part> kParts = {
    {"11101AR12301", "0001,250", "00000950", "0001,400", "HEAD SUB-ASSY"},
    {"15601YZ001A1", "00000875", "00000650", "00000990", "ELEMENT, OIL FILTER"},
    {"90919AR45602", "00000000", "00000012", "00000015", "PLUG, SPARK"},
};

class DprcTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_field(ctop::kPriceDir, "C:\\PRICE");
        set_field(ctop::kWorkDir, "C:\\WORK");
        env.mkdir("WORK");
        env.mkdir("PRICE");
    }
    void set_field(size_t at, const char* s) { pxtest::set_field(get_ctop_addr(), at, ctop::kDirSize, s); }
    void write_prices(pxbuild::PriceKind kind, const std::vector<Part>& parts) {
        std::vector<std::string> recs;
        for (const auto& p : parts) {
            if (kind == pxbuild::PriceKind::kKakaku)
                recs.push_back(pxbuild::Record(50)
                                   .text(0, 12, p.no)
                                   .text(12, 8, p.p1)
                                   .text(20, 10, "DG03    A7")
                                   .text(30, 20, p.name));
            else
                recs.push_back(pxbuild::Record(66)
                                   .text(0, 12, p.no)
                                   .text(12, 8, p.p1)
                                   .text(20, 8, p.p2)
                                   .text(28, 8, p.p3)
                                   .text(36, 10, "DG05    B2")
                                   .text(46, 20, p.name));
        }
        pxbuild::write_price(env.root() + "/PRICE", pxbuild::build_price(kind, recs));
    }
    std::vector<std::string> records() {
        std::string all = env.read("WORK/PXDPRC1.TMP");
        std::vector<std::string> out;
        for (size_t at = 0; at + rec::kSize <= all.size(); at += rec::kSize) out.push_back(all.substr(at, rec::kSize));
        return out;
    }
    pxtest::TempEnv env;
};

TEST_F(DprcTest, InquiriesAppendFoundAndUnknownParts) {
    write_prices(pxbuild::PriceKind::kKakaku, kParts);
    char path[80];
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(dprc_get_path(path), pxdprc::kKindKakaku);
    EXPECT_EQ(std::string(path), "C:\\WORK\\PXDPRC1.TMP");
    EXPECT_EQ(path[79], '\0');

    EXPECT_EQ(dprc_search("11101AR12301", 0), 0);
    EXPECT_EQ(dprc_search("12345ABCDE01", 0), 0);
    EXPECT_EQ(dprc_search("90919AR45602", 0), 0);
    auto r = records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], "0111101-AR123-01   1,250DG03    A7HEAD SUB-ASSY       ");
    EXPECT_EQ(r[1], "0212345-ABCDE-01" + std::string(38, '@'));
    EXPECT_EQ(r[2].substr(0, 24), "0390919-AR456-02       0") << "a zero price keeps its last 0";
    EXPECT_TRUE(env.log_lines().empty());
}

// The line number runs modulo 100, and a piece of a record left at the end
// of the file is covered by the next record.
TEST_F(DprcTest, LineNumbersWrapAndRecordsStayInStep) {
    write_prices(pxbuild::PriceKind::kKakaku, kParts);
    env.write("WORK/PXDPRC1.TMP", std::string(99 * rec::kSize, 'r') + "PIECE");
    ASSERT_EQ(dprc_search("15601YZ001A1", 0), 0);
    std::string all = env.read("WORK/PXDPRC1.TMP");
    ASSERT_EQ(all.size(), 100 * rec::kSize);
    EXPECT_EQ(all.substr(99 * rec::kSize, 16), "0015601-YZ001-A1");
    ASSERT_EQ(dprc_search("15601YZ001A1", 0), 0);
    EXPECT_EQ(records().back().substr(0, 2), "01");
}

TEST_F(DprcTest, RepricingWithPrice3Kinds) {
    write_prices(pxbuild::PriceKind::kPrice3, {kParts[0], kParts[1]});
    char path[80];
    EXPECT_EQ(dprc_get_path(path), pxdprc::kKindPrice3);
    ASSERT_EQ(dprc_search("11101AR12301", 2), 0);
    ASSERT_EQ(dprc_search("90919AR45602", 0), 0);
    ASSERT_EQ(dprc_search("15601YZ001A1", 0), 0);
    auto before = records();
    EXPECT_EQ(before[0].substr(16, 18), "   1,400DG05    B2") << "kind 2 reads the third price";
    EXPECT_EQ(before[2].substr(16, 8), "     875");

    // The unknown part is priced now: only its price changes.
    write_prices(pxbuild::PriceKind::kPrice3, kParts);
    ASSERT_EQ(dprc_update_wfile(1), 0);
    auto after = records();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0], before[0].substr(0, 16) + "     950" + before[0].substr(24));
    EXPECT_EQ(after[1], before[1].substr(0, 16) + "      12" + before[1].substr(24));
    EXPECT_EQ(after[2], before[2].substr(0, 16) + "     650" + before[2].substr(24));

    // A part no longer in the file keeps its line.
    write_prices(pxbuild::PriceKind::kPrice3, {kParts[1]});
    ASSERT_EQ(dprc_update_wfile(0), 0);
    auto last = records();
    EXPECT_EQ(last[0], after[0]);
    EXPECT_EQ(last[2].substr(16, 8), "     875");
}

// A kind outside 0-2 is refused with its log line; the records keep their prices.
TEST_F(DprcTest, RepricingWithAnUnknownKindIsRefused) {
    write_prices(pxbuild::PriceKind::kPrice3, kParts);
    ASSERT_EQ(dprc_search("11101AR12301", 1), 0);
    auto before = records();
    for (int32_t kind : {3, -1, 255}) {
        EXPECT_EQ(dprc_update_wfile(kind), -1) << kind;
        EXPECT_EQ(records(), before) << kind;
    }
    auto log = env.log_lines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "PXDPRC01,dprc_update_wfile,kakaku_read,(128)(3)(10)");
}

TEST_F(DprcTest, PriceFileMissingOrOfTheWrongKind) {
    char path[80];
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(dprc_get_path(path), pxdprc::kKindNone);
    EXPECT_EQ(std::string(path), "C:\\WORK\\PXDPRC1.TMP") << "the path is filled all the same";
    EXPECT_EQ(dprc_search("11101AR12301", 0), pxdprc::kMsgNoPriceFile);
    EXPECT_EQ(dprc_update_wfile(0), pxdprc::kMsgNoPriceFile);
    EXPECT_EQ(dprc_update_wfile(2), pxdprc::kMsgNoPriceFile);
    EXPECT_FALSE(env.exists("WORK/PXDPRC1.TMP"));

    // Only KAKAKU: the second and third prices need PRICE3.
    write_prices(pxbuild::PriceKind::kKakaku, kParts);
    ASSERT_EQ(dprc_search("11101AR12301", 0), 0);
    std::string before = env.read("WORK/PXDPRC1.TMP");
    EXPECT_EQ(dprc_search("11101AR12301", 1), pxdprc::kMsgNoPriceFile);
    EXPECT_EQ(dprc_update_wfile(1), pxdprc::kMsgNeedsPrice3);
    EXPECT_EQ(env.read("WORK/PXDPRC1.TMP"), before);
    EXPECT_TRUE(env.log_lines().empty());
}

TEST_F(DprcTest, WorkFileFailuresAreLogged) {
    write_prices(pxbuild::PriceKind::kKakaku, kParts);
    EXPECT_EQ(dprc_update_wfile(0), -1) << "nothing to re-price without the work file";
    set_field(ctop::kWorkDir, "C:\\NOWHERE");
    EXPECT_EQ(dprc_search("11101AR12301", 0), -1);
    auto log = env.log_lines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "PXDPRC01,dprc_update_wfile,_open,(11)(2)(14)");
    EXPECT_EQ(log[1], "PXDPRC01,dprc_search,_open,(11)(2)(4)");
}

}  // namespace

namespace {

// The demo's price files: most parts priced in both kinds, some not.
TEST_F(DprcTest, DemoPricesInBothKinds) {
    auto sum = pxbuild::write_demo_prices(env.root() + "/PRICE", env.root() + "/PRICE3");
    auto all = pxbuild::demo::all_part_numbers();
    ASSERT_EQ(sum.kakaku, sum.price3);
    EXPECT_GT(sum.kakaku, static_cast<int>(all.size()) * 3 / 4);
    EXPECT_LT(sum.kakaku, static_cast<int>(all.size()));
    std::string unpriced;
    for (const auto& [part, name] : all)
        if (!pxbuild::demo::has_price(part)) unpriced = part;
    ASSERT_FALSE(unpriced.empty());

    char path[80];
    EXPECT_EQ(dprc_get_path(path), pxdprc::kKindKakaku);
    ASSERT_EQ(dprc_search("15601YZ001A1", 0), 0);
    ASSERT_EQ(dprc_search(unpriced.c_str(), 0), 0);
    set_field(ctop::kPriceDir, "C:\\PRICE3");
    EXPECT_EQ(dprc_get_path(path), pxdprc::kKindPrice3);
    ASSERT_EQ(dprc_update_wfile(1), 0);
    auto r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].substr(2, 14), "15601-YZ001-A1");
    EXPECT_EQ(r[0].substr(34, 19), "ELEMENT, OIL FILTER");
    EXPECT_EQ(r[1].substr(16), std::string(38, '@'));
    EXPECT_TRUE(env.log_lines().empty());
}

}  // namespace
