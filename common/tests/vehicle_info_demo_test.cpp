// The demo's vehicle information as the builder writes it, read back through
// the keyed catalogue files: a vehicle is found by its VIN prefix, by its
// frame model and frame number, and by catalogue and model code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxall/cdrom.h"
#include "pxall/vehicle_work_layout.h"
#include "pxall/vin.h"
#include "pxbuild/demo_vehicle_info.h"
#include "pxbuild/installer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;
namespace demo = pxbuild::demo;

class VehicleInfoDemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto cd = k.make_cd("E1", "20240115");
        pxbuild::write_vehicle_info(cd, "E1", true);
        k.install("E1", '1');
        // The frame-number data set EF from the same CD.
        pxbuild::InstallSpec job;
        job.cd_folder = cd.folder();
        job.target_dir = (std::filesystem::path(k.env().root()) / "FRW").string();
        job.dir_name = "EF";
        pxbuild::Installer().install_frame_set(job);
        pxtest::set_field(get_ctop_addr(), ctop::kFrameWorldDir, ctop::kDirSize, "C:\\FRW");
        k.add_setup("EF", "01", "20240115", true);
        vehicles = demo::vehicle_files("E1");
    }

    std::vector<std::string> read(const char* name, int key_set, const std::string& key, int rec_len) {
        CdHandle* h = k.open(name, "", key_set);
        auto out = pxtest::read_all(h, key, rec_len);
        cdclose(&h, nullptr);
        return out;
    }

    pxtest::KeyedEnv k;
    demo::VehicleFiles vehicles;
};

TEST_F(VehicleInfoDemoTest, EveryVinCarriesAMakerIdentifierAndAllFifteenAreUsed) {
    std::set<std::string> used;
    for (const char* cd : {"E1", "E2"})
        for (const auto& j : demo::vehicle_files(cd).jouhou) {
            ASSERT_EQ(v_set_vin_len(j.c_str() + 6), 9) << j.substr(6, 9);
            used.insert(j.substr(6, 3));
        }
    EXPECT_EQ(used.size(), static_cast<size_t>(vehwork::kWmiCount));
}

TEST_F(VehicleInfoDemoTest, AVehicleIsFoundByVinByFrameNumberAndByModel) {
    const std::string& v = vehicles.jouhou[100];
    std::string vin = v.substr(6, 9) + "0" + "B200123";
    ASSERT_EQ(vin.size(), 17u);

    // By VIN: the prefix of the key set S.
    char prefix[9];
    ASSERT_EQ(v_copy_vin(vin.c_str(), prefix), 9);
    auto by_vin = read("JOUHOU.DAT", 2, std::string(prefix, 9), 186);
    EXPECT_NE(std::find(by_vin.begin(), by_vin.end(), v), by_vin.end());
    for (const auto& r : by_vin) EXPECT_EQ(r.substr(6, 9), std::string(prefix, 9));

    // By catalogue and model code: key sets A and K.
    auto by_cat = read("JOUHOU.DAT", 1, v.substr(0, 6), 186);
    EXPECT_NE(std::find(by_cat.begin(), by_cat.end(), v), by_cat.end());
    auto by_model = read("JOUHOU.DAT", 3, v.substr(15, 15), 186);
    EXPECT_EQ(by_model.size(), 4u);  // its four production periods
    EXPECT_NE(std::find(by_model.begin(), by_model.end(), v), by_model.end());

    // By frame number: the frame model's ranges name the catalogue and period.
    std::string fm = v.substr(15, 7);
    auto ranges = read("FRAMNO.DAT", 1, fm, 107);
    ASSERT_EQ(ranges.size(), 3u);
    std::string frame_no = vin.substr(10, 7);
    ASSERT_EQ(v_valid_frameno(frame_no.c_str()), 1);
    int hits = 0;
    for (const auto& r : ranges)
        if (r.substr(13, 7) <= frame_no && frame_no <= r.substr(20, 7)) {
            ++hits;
            EXPECT_EQ(r.substr(0, 6), v.substr(0, 6));
        }
    EXPECT_EQ(hits, 1);

    // The frame-model file of the frame-number data set.
    CdHandle* h = nullptr;
    int detail = 0;
    ASSERT_EQ(fcdopen("FRKATA.DAT", 1, 0, -1, 1, 0, &h, &detail), 0) << detail;
    auto models = pxtest::read_all(h, fm + "    ", 2048);
    cdclose(&h, nullptr);
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(models[0].substr(11, 6), v.substr(0, 6));
}

}  // namespace
