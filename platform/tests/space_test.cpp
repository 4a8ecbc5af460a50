// Free space in clusters, and the per-drive limit the set-up tests use.
#include <cerrno>

#include "platform/space.h"
#include "scratch.h"

namespace {

class SpaceTest : public plattest::ScratchTest {
protected:
    void TearDown() override {
        plat::clear_disk_space_limits();
        ScratchTest::TearDown();
    }
};

TEST_F(SpaceTest, RealDiskReportsClustersOfTheFixedGeometry) {
    plat::set_drive('C', at(""), plat::kDriveFixed);
    uint32_t spc = 0, bps = 0;
    uint64_t clusters = 0;
    ASSERT_TRUE(plat::disk_free_clusters("C:\\", &spc, &bps, &clusters));
    EXPECT_EQ(spc, plat::kSpaceSectorsPerCluster);
    EXPECT_EQ(bps, plat::kSpaceBytesPerSector);
    EXPECT_GT(clusters, 0u);
}

TEST_F(SpaceTest, UnmappedDriveFails) {
    uint64_t clusters = 0;
    EXPECT_FALSE(plat::disk_free_clusters("Q:\\", nullptr, nullptr, &clusters));
    EXPECT_EQ(plat::last_error(), plat::kErrPathNotFound);
}

TEST_F(SpaceTest, LimitIsReportedAndChargedUntilFull) {
    plat::set_drive('D', at(""), plat::kDriveFixed);
    plat::set_disk_space_limit('d', 10 * 4096 + 100);
    uint64_t clusters = 0;
    ASSERT_TRUE(plat::disk_free_clusters("D:\\", nullptr, nullptr, &clusters));
    EXPECT_EQ(clusters, 10u);  // a part cluster is not reported

    EXPECT_TRUE(plat::charge_disk_write("D:\\X\\A.DAT", 40000));
    EXPECT_TRUE(plat::charge_disk_write("C:\\A.DAT", 1u << 30));  // another drive has no limit
    errno = 0;
    EXPECT_FALSE(plat::charge_disk_write("d:\\X\\B.DAT", 2000));
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(plat::last_error(), plat::kErrDiskFull);

    plat::set_disk_space_limit('D', -1);
    EXPECT_TRUE(plat::charge_disk_write("D:\\X\\B.DAT", 1000));
}

TEST_F(SpaceTest, WritableBytesApartFromTheReportedSpace) {
    plat::set_drive('D', at(""), plat::kDriveFixed);
    plat::set_disk_space_limit('D', 1 << 30, 5000);
    EXPECT_TRUE(plat::charge_disk_write("D:\\A", 5000));
    EXPECT_FALSE(plat::charge_disk_write("D:\\A", 1));
    uint64_t clusters = 0;
    ASSERT_TRUE(plat::disk_free_clusters("D:\\", nullptr, nullptr, &clusters));
    EXPECT_EQ(clusters, (1u << 30) / 4096);  // what the drive reports stays
}

}  // namespace
