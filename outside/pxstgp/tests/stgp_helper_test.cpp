// The group-print helper on a small installed data set E1 whose part-name
// file is written here from the stored layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/keyed_layout.h"
#include "pxstgp/pxstgp.h"
#include "support/temp_env.h"

namespace {

namespace kl = pxall::keyed;

std::string pad(const std::string& s, size_t n) {
    std::string out = s.substr(0, n);
    out.resize(n, ' ');
    return out;
}

std::string master_entry(const char* name, uint8_t mask, uint8_t rec_len, uint8_t levels, uint8_t blocks = 1) {
    std::string e(kl::ment::kSize, '\0');
    e.replace(kl::ment::kName, 10, name);
    e[kl::ment::kFileId] = 7;
    e[kl::ment::kMask] = static_cast<char>(mask);
    e[kl::ment::kKeyLen] = 6;
    e[kl::ment::kKeySets] = 1;
    e[kl::ment::kBlocks] = static_cast<char>(blocks);
    e[kl::ment::kRecLen] = static_cast<char>(rec_len);
    e[kl::ment::kLevels] = static_cast<char>(levels);
    e[kl::ment::kLocation] = kl::kOnDisk;
    e.replace(kl::ment::kDataSet, 2, "E1");
    return e;
}

class StgpHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsigned char* top = pxall::get_ctop_addr();
        pxtest::set_field(top, pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
        pxtest::set_field(top, pxall::ctop::kDataLangCode, 3, "01");
        std::memcpy(pxall::setup_entry_addr(0), "E101202401150000", 16);
        pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
        pxall::put_i32(top + pxall::ctop::kAreaIndex, 0);
        std::string header(kl::mhdr::kSize, '\0');
        header.replace(kl::mhdr::kCdDate, 8, "20240115");
        header.replace(kl::mhdr::kDirName, 2, "E1");
        env.write("MST/E1/PXROOTMF.MST", header + master_entry("HINM01.IA1", kl::kMaskNotBelow, 15, 1) +
                                             master_entry("HINM01.IA2", kl::kMaskNotBelow, 15, 2, 0) +
                                             master_entry("HINM01.IA3", kl::kMaskNotBelow, 15, 3, 0) +
                                             master_entry("HINM01.DAT", kl::kMaskEqual, 66, 1));
        std::string data(kl::kBlockSize, '\0');
        data.replace(0, 66, pad("15601A", 6) + pad("ELEMENT, OIL FILTER", 60));
        data.replace(66, 66, pad("90341A", 6) + pad("PLUG, DRAIN", 60));
        env.write("MST/E1/HINM01.DAT", data);
        std::string index(kl::kBlockSize, '\0');
        index.replace(0, 15, std::string("90341A") + "000000001");
        env.write("MST/E1/HINM01.IA", index);
    }
    pxtest::TempEnv env;
};

TEST_F(StgpHelperTest, PathsOfTheGroupFilesInTheMasterDirectory) {
    char name[pxstgp::kPathBufferSize];
    char codes[pxstgp::kPathBufferSize];
    ASSERT_EQ(VBGet_GrpFName(name, codes), 0);
    EXPECT_STREQ(name, "C:\\MST\\PXGRPMEI.D");
    EXPECT_STREQ(codes, "C:\\MST\\PXGRPPNC.D");
}

TEST_F(StgpHelperTest, EmptyGroupCodes) {
    const struct {
        std::string code;
        int16_t empty;
    } cases[] = {{"A1 ", 0}, {"  1", 0}, {"   ", 1}, {std::string(3, '\0'), 1}, {"", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        char buf[4] = {};
        std::memcpy(buf, c.code.data(), c.code.size());
        EXPECT_EQ(VBCheckNull(buf), c.empty);
    }
}

TEST_F(StgpHelperTest, PartNamesAndTheEndOfAList) {
    const struct {
        std::string pnc;
        int32_t flag;
        std::string name;
    } cases[] = {{"15601A", 0, "ELEMENT, OIL FILTER"},
                 {"90341A", 0, "PLUG, DRAIN"},
                 {"99999X", 0, ""},  // not in the catalogue: printed with a blank name
                 {"      ", 1, ""},
                 {std::string(6, '\0'), 1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pnc);
        char pnc[7] = {};
        std::memcpy(pnc, c.pnc.data(), 6);
        std::string name(60, 'x');
        int32_t flag = 1;
        ASSERT_EQ(VBGetPncmei(pnc, name.data(), &flag), 0);
        EXPECT_EQ(flag, c.flag);
        EXPECT_EQ(name, pad(c.name, 60));
    }
}

}  // namespace
