// A saved vehicle of the demo brings back its production date, and the parts
// list narrowed to it keeps, of a part-name code's part numbers for its frame
// model, only the one in force at that date.
#include "pxpnho/pxpnho.h"
#include "pxpnho/pxpnho_layout.h"
#include "support/engine_fixture.h"

namespace {

using namespace pxvjintest;
namespace lr = pxpnho::list_rec;

class SavedVehicleParts : public EngineDemo {
protected:
    void TearDown() override {
        pnho_close_main();
        EngineDemo::TearDown();
    }
    // SELECT.TMP with one part-name code, as a search route writes it.
    void select(const std::string& pnc) {
        std::string image = pad(pnc, 12) + "01";
        image.push_back('\0');  // kind 0: a part-name code
        image.resize(20000, '\0');
        std::ofstream(work("SELECT.TMP"), std::ios::binary) << image;
    }
    // The part numbers of the list file, as shown ("15100-AA430-02").
    std::vector<std::string> parts() const {
        std::ifstream in(work("PXPNHO1.TMP"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::vector<std::string> out;
        for (size_t at = 0; at + lr::kSize <= bytes.size(); at += lr::kSize) {
            std::string p = bytes.substr(at + lr::kF4, lr::kF4Size);
            if (p.find_first_not_of(' ') != std::string::npos) out.push_back(p);
        }
        return out;
    }
    bool listed(const std::string& part) const {
        const auto all = parts();
        return std::find(all.begin(), all.end(), part) != all.end();
    }
};

TEST_F(SavedVehicleParts, TheSavedDateNarrowsTheOilPumps) {
    ASSERT_EQ(fsel_init(), 0);
    ASSERT_EQ(fsel_select_file(1), 0);
    ASSERT_EQ(vjin_make_from_pxfsel(), 64);
    ASSERT_EQ(car(cc::kProdDate, 6), "201811");
    ASSERT_EQ(car(cc::kFrameModel, 7), "AVS16P1");

    select("15100A");
    std::string path(80, '\0');
    VbString s{path.data(), 80};
    int16_t match = -1;
    ASSERT_EQ(pnho_exec_main(&s, &match), 0);
    EXPECT_EQ(match, 0);
    // 08.2018-01.2019, 08.2020-01.2021 and 01.2023-06.2023, all for AVS16P1.
    for (const char* p : {"15100-AA430-02", "15100-AA430-06", "15100-AA430-11"}) EXPECT_TRUE(listed(p)) << p;
    const size_t whole = parts().size();

    ASSERT_EQ(pnho_exec_match(&match), 0);
    EXPECT_EQ(match, 1);
    EXPECT_TRUE(listed("15100-AA430-02"));
    EXPECT_FALSE(listed("15100-AA430-06"));
    EXPECT_FALSE(listed("15100-AA430-11"));
    EXPECT_EQ(parts().size(), 1u) << "one of " << whole;
    EXPECT_TRUE(log().empty()) << log();
}

}  // namespace
