#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "pxall/blocks.h"
#include "pxall/image.h"
#include "pxbuild/image_writer.h"
#include "support/keyed_fixture.h"

namespace {

using pxall::make_pack_image_file;

// IMAGEF.DAT of images taking 1, 3, 4, 5 and 8 blocks, each byte of a
// picture telling its image and place apart.
struct Images {
    pxbuild::ImageFile file;
    std::vector<std::string> locators;
    std::vector<pxbuild::Bytes> stored;

    Images() {
        for (int blocks : {1, 3, 4, 5, 8}) {
            pxbuild::StoredImage img;
            img.id = "P" + std::to_string(blocks) + "00001";
            img.width = img.height = 16;
            img.coded.resize(static_cast<size_t>(blocks - 1) * 2048 + 100);
            for (size_t i = 0; i < img.coded.size(); ++i) img.coded[i] = static_cast<uint8_t>(i * 7 + blocks);
            stored.push_back(pxbuild::stored_image(img));
            locators.push_back(file.add(img));
        }
    }
};

class PackImage : public ::testing::Test {
protected:
    void install(char kind) {
        auto cd = k.make_cd("E1", "20240115");
        cd.put("", "IMAGEF.DAT", images.file.bytes());
        k.install("E1", kind);
        pxall::put_i32(pxall::get_ccar_addr() + pxall::ccar::kSetupIndex, 0);
    }
    std::string work() { return k.env().read("WORK/PXIMG1.TMP"); }

    pxtest::KeyedEnv k;
    Images images;
};

TEST_F(PackImage, CopiesEachImageWhole) {
    install('1');
    ASSERT_EQ(images.locators[0], "000000001");
    ASSERT_EQ(images.locators[2], "000004004");
    for (size_t i = 0; i < images.locators.size(); ++i) {
        int detail = -5;
        ASSERT_EQ(make_pack_image_file("C:\\WORK\\PXIMG1.TMP", images.locators[i].c_str(), &detail), 0) << i;
        EXPECT_EQ(detail, 0);
        EXPECT_EQ(work(), std::string(images.stored[i].begin(), images.stored[i].end())) << images.locators[i];
    }
}

TEST_F(PackImage, ReadsFromTheCdWhenOnlyTheMastersAreInstalled) {
    install('0');
    k.set_cd_drives({{'E', "cd/E1"}});
    int detail = 0;
    ASSERT_EQ(make_pack_image_file("C:\\WORK\\PXIMG1.TMP", images.locators[3].c_str(), &detail), 0);
    EXPECT_EQ(work(), std::string(images.stored[3].begin(), images.stored[3].end()));

    // The CD is gone and the clerk gives up.
    k.set_cd_drives({{'E', ""}});
    k.script_box({});
    EXPECT_EQ(make_pack_image_file("C:\\WORK\\PXIMG1.TMP", images.locators[0].c_str(), &detail), 4);
    EXPECT_EQ(k.boxes_shown(), 1);
}

TEST_F(PackImage, Failures) {
    install('1');
    const int total = static_cast<int>(images.file.bytes().size() / 2048);  // 21 blocks
    auto loc = [](int first, int count) {
        char b[16];
        std::snprintf(b, sizeof b, "%06d%03d", first, count);
        return std::string(b);
    };
    struct Case {
        std::string path, locator;
        int want, detail;
    } cases[] = {
        {"C:\\WORK\\A.TMP", loc(total - 3, 4), 128, pxall::imgd::kShortGroup},
        {"C:\\WORK\\A.TMP", loc(total - 2, 3), 128, pxall::imgd::kShortRemainder},
        {"C:\\WORK\\A.TMP", loc(total, 1), 128, pxall::imgd::kShortRemainder},
        {"C:\\WORK\\A.TMP", "00000A001", 128, pxall::imgd::kBadLocator},
        {"C:\\WORK\\A.TMP", "0000", 128, pxall::imgd::kBadLocator},
        {"C:\\NODIR\\A.TMP", loc(0, 1), 11, ENOENT},
        {"F:\\full", loc(4, 4), 13, ENOSPC},  // the disk fills up
    };
    plat::set_drive('F', "/dev", plat::kDriveFixed);
    for (const auto& c : cases) {
        int detail = 0;
        EXPECT_EQ(make_pack_image_file(c.path.c_str(), c.locator.c_str(), &detail), c.want) << c.locator;
        EXPECT_EQ(detail, c.detail) << c.locator;
    }
    int detail = 0;
    EXPECT_EQ(make_pack_image_file("C:\\WORK\\A.TMP", nullptr, &detail), 128);
    // An empty image: nothing to copy, an empty work file.
    EXPECT_EQ(make_pack_image_file("C:\\WORK\\PXIMG1.TMP", "000000000", &detail), 0);
    EXPECT_EQ(work(), "");
}

}  // namespace
