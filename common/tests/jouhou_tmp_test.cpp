#include "pxall/jouhou_tmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/vehicle_work_layout.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_vehicle_info.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;
namespace jt = pxall::vehwork::jtmp;

struct Rec {
    std::string six, vin, fifteen, from, to, text, to2;
    int32_t num1, num2;
    char mark;
};

std::string record(const Rec& r) {
    return pxbuild::Record(jt::kSize)
        .text(jt::kSix, 6, r.six)
        .text(jt::kVin, 9, r.vin)
        .text(jt::kFifteen, 15, r.fifteen)
        .text(jt::kFrom, 4, r.from)
        .text(jt::kTo, 4, r.to)
        .text(jt::kText, 125, r.text)
        .text(jt::kTo2, 4, r.to2)
        .u32(jt::kNum1, static_cast<uint32_t>(r.num1))
        .u32(jt::kNum2, static_cast<uint32_t>(r.num2))
        .fill(jt::kMark, 1, r.mark);
}

// R0-R4 of the narrowing table.
const std::vector<Rec>& fixture() {
    static const std::vector<Rec> k = {
        {"4410A1", "PX1AVS160", "AVS16P1GL  5MEU", "1803", "1912", "ARVENA 1.6P GL", "", 0, 7, ' '},
        {"4410A1", "PX2AVS160", "AVS16P1GLX 6MUK", "2001", "", "ARVENA 1.6P GLX", "2312", 1, 8, '\0'},
        {"4420B1", "ZZZAVW16", "AVW19D1STD 5MEU", "9805", "0212", "ARVENA 1.9D STD", "", 2, 9, '\x01'},
        {"4410A1", "PX1AVS160", "AVS16P1GL  5MEU", "1803", "1912", "ARVENA 1.6P GL", "", 0, 7, 'v'},
        {"5130C2", "PX7BRH140", "BRH14P1SPRT4AEU", "2001", "", "BRISCA 1.4P SPORT", "", 3, 10, ' '},
    };
    return k;
}

class JouhouTmpTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.mkdir("WORK");
        pxtest::set_field(get_ctop_addr(), ctop::kWorkDir, ctop::kDirSize, "C:\\WORK");
        set_step(2, 3);  // step 2 has code 3: "f"
    }

    void set_step(int32_t index, uint8_t code) {
        unsigned char* car = get_ccar_addr();
        put_i32(car + ccar::kStepIndex, index);
        if (index >= 0 && index < vehwork::kMaxSteps) car[ccar::kStepCodes + index] = code;
    }

    void write_fixture(const std::string& extra = "") {
        std::string bytes;
        for (const Rec& r : fixture()) bytes += record(r);
        env.write("WORK/JOUHOU.TMP", bytes + extra);
    }
    std::string marks() const {
        std::string file = env.read("WORK/JOUHOU.TMP"), m;
        for (size_t at = jt::kMark; at < file.size(); at += jt::kSize) m += file[at] > ' ' ? file[at] : '.';
        return m;
    }

    pxtest::TempEnv env;
};

TEST(JouhouProduction, TheEndIsTheDateToElseTheCataloguesElseOpen) {
    struct Case {
        const char *from, *to, *to2, *end;
        std::vector<std::pair<const char*, bool>> dates;
    } cases[] = {
        {"1803", "1912", "2312", "1912", {{"201802", false}, {"201803", true}, {"201912", true}, {"202001", false}}},
        {"2001", "", "2312", "2312", {{"202312", true}, {"202401", false}}},
        {"2001", "", "", "    ", {{"209912", true}, {"199912", false}}},
        {"9805", "0212", "", "0212", {{"199805", true}, {"200212", true}, {"200301", false}}},  // the century rule
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + "-" + c.to + "/" + c.to2);
        const std::string r = record({"4410A1", "PX1AVS160", "", c.from, c.to, "", c.to2, 0, 0, ' '});
        const auto* rec = reinterpret_cast<const unsigned char*>(r.data());
        char end[4];
        v_production_end(rec, end);
        EXPECT_EQ(std::string(end, 4), c.end);
        for (const auto& [date, in] : c.dates) EXPECT_EQ(v_in_production(rec, date), in) << date;
    }
}

TEST_F(JouhouTmpTest, NarrowingByEachTestMarksTheRecordsThatMiss) {
    struct Case {
        int32_t flags;
        const char* value;  // for the one test the flags name
        int32_t num1, num2;
        int result;
        const char* marks;  // after the step; '.' still in the list
    };
    const Case cases[] = {
        {0, "", 0, 0, 0, "...f."},                              // every record in the list matches
        {1, "PX1AVS1604A100001", 0, 0, 0, ".ffff"},             // 9-character prefix; the removed R3 takes the new letter
        {1, "ZZZAVW1699A123456", 0, 0, 0, "ff.ff"},             // 8-character prefix, blank-padded
        {1, "PX1AVS1704A100001", 0, 0, 1, "...v."},             // no match: nothing marked
        {2, "4410A1", 0, 0, 0, "..fff"},
        {4, "BRH14P1SPRT4AEU", 0, 0, 0, "ffff."},
        {8, "ARVENA 1.9D STD", 0, 0, 0, "ff.ff"},
        {16, "201805", 0, 0, 0, ".ffff"},                       // 1803-1912, century 20
        {16, "200101", 0, 0, 0, "ff.ff"},                       // 9805-0212 crosses the century
        {16, "202312", 0, 0, 0, "f.ff."},                       // second end date, inclusive; open end
        {16, "202401", 0, 0, 0, "ffff."},                       // only the open end
        {16, "201712", 0, 0, 1, "...v."},                       // before every from date
        {32, "", 1, 0, 0, "f.fff"},
        {64, "", 0, 10, 0, "ffff."},
        {64, "", 0, 11, 1, "...v."},
    };
    for (const Case& c : cases) {
        write_fixture();
        std::string before = env.read("WORK/JOUHOU.TMP");
        std::string v = std::string(c.value) + std::string(125, ' ');
        int32_t detail = -99;
        int r = v_jtmp_sign(c.flags, c.num1, c.num2, v.c_str(), v.c_str(), v.c_str(), v.c_str(), v.c_str(), &detail);
        EXPECT_EQ(r, c.result) << c.flags << " " << c.value;
        EXPECT_EQ(detail, 0);
        EXPECT_EQ(marks(), c.marks) << c.flags << " " << c.value;
        if (c.result == 1) {
            EXPECT_EQ(env.read("WORK/JOUHOU.TMP"), before);
        }
    }
}

TEST_F(JouhouTmpTest, TestsCombineAndMarkOnlyTheMarkByte) {
    write_fixture();
    std::string before = env.read("WORK/JOUHOU.TMP");
    int32_t detail = 0;
    EXPECT_EQ(v_jtmp_sign(2 | 16, 0, 0, nullptr, "4410A1", nullptr, nullptr, "202001", &detail), 0);
    EXPECT_EQ(marks(), "f.fff");
    std::string after = env.read("WORK/JOUHOU.TMP");
    for (size_t i = 0; i < after.size(); ++i)
        if (i % jt::kSize != jt::kMark) {
            ASSERT_EQ(after[i], before[i]) << i;
        }
}

TEST_F(JouhouTmpTest, AStepCodeOutsideTheLettersIsRefusedAndNothingChanges) {
    struct Case {
        int32_t index;
        uint8_t code;
        int32_t detail;
    };
    const Case cases[] = {{0, 9, 9}, {5, 255, 255}, {-1, 0, -1}, {vehwork::kMaxSteps, 0, -1}, {INT32_MIN, 0, -1}};
    for (const Case& c : cases) {
        write_fixture();
        std::string before = env.read("WORK/JOUHOU.TMP");
        set_step(c.index, c.code);
        int32_t detail = 0;
        EXPECT_EQ(v_jtmp_sign(2, 0, 0, nullptr, "4410A1", nullptr, nullptr, nullptr, &detail), 128) << c.index;
        EXPECT_EQ(detail, c.detail);
        EXPECT_EQ(env.read("WORK/JOUHOU.TMP"), before);
    }
    // Every letter of the table is reachable.
    for (int code = 0; code < vehwork::kMarkCount; ++code) {
        write_fixture();
        set_step(7, static_cast<uint8_t>(code));
        EXPECT_EQ(v_jtmp_sign(2, 0, 0, nullptr, "5130C2", nullptr, nullptr, nullptr, nullptr), 0);
        EXPECT_EQ(marks()[0], vehwork::kMarkLetters[code]);
    }
}

TEST_F(JouhouTmpTest, ASetTestWithoutItsValueIsRefused) {
    write_fixture();
    for (int32_t bit : {1, 2, 4, 8, 16}) {
        int32_t detail = 0;
        EXPECT_EQ(v_jtmp_sign(bit, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, &detail), 128);
        EXPECT_EQ(detail, bit);
    }
    EXPECT_EQ(marks(), "...v.");
}

TEST_F(JouhouTmpTest, AMissingFileIsAnOpenFailureWithTheErrorNumber) {
    int32_t detail = 0;
    EXPECT_EQ(v_jtmp_sign(0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, &detail), 11);
    EXPECT_EQ(detail, ENOENT);

}

TEST_F(JouhouTmpTest, EmptyAndShortFiles) {
    int32_t detail = 0;
    env.write("WORK/JOUHOU.TMP", "");
    EXPECT_EQ(v_jtmp_sign(0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, &detail), 1);
    // A trailing piece is no record: it is neither tested nor marked.
    write_fixture(std::string(100, 'x'));
    EXPECT_EQ(v_jtmp_sign(2, 0, 0, nullptr, "5130C2", nullptr, nullptr, nullptr, &detail), 0);
    std::string file = env.read("WORK/JOUHOU.TMP");
    EXPECT_EQ(file.size(), 5 * jt::kSize + 100);
    EXPECT_EQ(file.substr(5 * jt::kSize), std::string(100, 'x'));
}

TEST_F(JouhouTmpTest, OpenAndCloseByMode) {
    std::FILE* fp = nullptr;
    int32_t count = -1, err = -1;
    EXPECT_EQ(v_open_jouhou_tmp(kJouhouRead, &fp, &count, &err), 11);
    EXPECT_EQ(err, ENOENT);
    EXPECT_EQ(fp, nullptr);

    ASSERT_EQ(v_open_jouhou_tmp(kJouhouWrite, &fp, &count, &err), 0);
    EXPECT_EQ(count, 0);
    for (const Rec& r : fixture()) {
        std::string b = record(r);
        ASSERT_EQ(std::fwrite(b.data(), 1, b.size(), fp), b.size());
    }
    // Opening again closes the stream first.
    ASSERT_EQ(v_open_jouhou_tmp(kJouhouRead, &fp, &count, &err), 0);
    EXPECT_EQ(count, 5);
    ASSERT_EQ(v_open_jouhou_tmp(kJouhouUpdate, &fp, nullptr, &err), 0);
    EXPECT_EQ(v_close_jouhou_tmp(&fp, &err), 0);
    EXPECT_EQ(fp, nullptr);
    EXPECT_EQ(v_close_jouhou_tmp(&fp, &err), 0);

    EXPECT_EQ(v_open_jouhou_tmp(4, &fp, &count, &err), 128);
    EXPECT_EQ(err, 4);
    EXPECT_EQ(fp, nullptr);

    char path[80];
    EXPECT_EQ(v_make_jouhou_tmp_name(path), 0);
    EXPECT_STREQ(path, "C:\\WORK\\JOUHOU.TMP");
}

TEST_F(JouhouTmpTest, BuilderRecordsOfTheDemoNarrowByVinAndDate) {
    // The demo's vehicles of one VIN prefix: four production periods each,
    // the last open with the catalogue's end as the second end date.
    auto v = pxbuild::demo::vehicle_files("E1");
    std::vector<std::string> recs;
    for (const auto& j : v.jouhou)
        if (j.compare(6, 9, "PX1AVS161") == 0) recs.push_back(pxbuild::demo::jouhou_tmp_record(j, 0, 1));
    ASSERT_GE(recs.size(), 4u);
    pxbuild::write_jouhou_tmp(env.host("C:\\WORK\\JOUHOU.TMP"), recs);
    int32_t detail = 0;
    EXPECT_EQ(v_jtmp_sign(1 | 16, 0, 0, "PX1AVS1614A100001", nullptr, nullptr, nullptr, "202312", &detail), 0);
    std::string m = marks();
    EXPECT_EQ(std::count(m.begin(), m.end(), '.'), static_cast<long>(recs.size() / 4));
    EXPECT_EQ(v_jtmp_sign(16, 0, 0, nullptr, nullptr, nullptr, nullptr, "202401", &detail), 1);
}

}  // namespace
