#include <sys/stat.h>

#include <vector>

#include "platform/files.h"
#include "scratch.h"

namespace {

using plattest::ScratchTest;

class FindFilesTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        make_dir("c/SUB");
        for (const char* name : {"pximg1.tmp", "PXIMG2.TMP", "README", "data.dat", "noext2", ".volume-label"}) {
            write(std::string("c/") + name, "12345");
        }
        write("c/SUB/inner.tmp", "1");
        plat::set_drive('C', at("c"));
    }

    // Every name a search yields, in order; "error N" when it opens with none.
    std::vector<std::string> names(const char* pattern) {
        plat::FindData data;
        int32_t h = plat::find_first(pattern, &data);
        if (h == 0) return {"error " + std::to_string(plat::last_error())};
        std::vector<std::string> out;
        do out.push_back(data.name);
        while (plat::find_next(h, &data));
        EXPECT_EQ(plat::last_error(), plat::kErrNoMoreFiles);
        plat::find_close(h);
        return out;
    }
};

using Names = std::vector<std::string>;

TEST_F(FindFilesTest, MatchesAndOrders) {
    EXPECT_EQ(names("C:\\*.TMP"), (Names{"pximg1.tmp", "PXIMG2.TMP"}));
    EXPECT_EQ(names("c:\\*."), (Names{"noext2", "README", "SUB"}));
    // The label file is no file of the disc; no "." or ".." at a root.
    EXPECT_EQ(names("C:\\*.*"), (Names{"data.dat", "noext2", "pximg1.tmp", "PXIMG2.TMP", "README", "SUB"}));
    EXPECT_EQ(names("C:\\sub\\*.*"), (Names{".", "..", "inner.tmp"}));
    EXPECT_EQ(names("C:\\sub\\*.tmp"), (Names{"inner.tmp"}));
    EXPECT_EQ(names("c:\\readme"), (Names{"README"}));  // a plain name finds the name as stored
    EXPECT_EQ(names(at("c/sub/*").c_str()), (Names{".", "..", "inner.tmp"}));
    ASSERT_TRUE(plat::set_current_directory("C:\\SUB"));
    EXPECT_EQ(names("*.TMP"), (Names{"inner.tmp"}));
    EXPECT_EQ(names("C:*.TMP"), (Names{"inner.tmp"}));
    EXPECT_EQ(names("\\*.TMP"), (Names{"pximg1.tmp", "PXIMG2.TMP"}));
}

TEST_F(FindFilesTest, Attributes) {
    ASSERT_EQ(::chmod(at("c/data.dat").c_str(), 0444), 0);
    plat::FindData data;
    int32_t h = plat::find_first("C:\\*.*", &data);
    ASSERT_GT(h, 0);
    EXPECT_EQ(data.name, "data.dat");
    EXPECT_EQ(data.attributes, plat::kAttrArchive | plat::kAttrReadOnly);
    EXPECT_EQ(data.size, 5u);
    ASSERT_TRUE(plat::find_next(h, &data));
    EXPECT_EQ(data.attributes, plat::kAttrArchive);
    plat::find_close(h);

    h = plat::find_first("C:\\sub", &data);
    ASSERT_GT(h, 0);
    EXPECT_EQ(data.name, "SUB");
    EXPECT_EQ(data.attributes, plat::kAttrDirectory);
    plat::find_close(h);
}

TEST_F(FindFilesTest, Errors) {
    plat::set_drive('D', at("cd"), plat::kDriveCdrom);
    EXPECT_EQ(names("C:\\*.XYZ"), (Names{"error 2"}));
    EXPECT_EQ(names("C:\\NOPE\\*.*"), (Names{"error 3"}));
    EXPECT_EQ(names("C:\\README\\*.*"), (Names{"error 3"}));
    EXPECT_EQ(names("C:\\SUB\\"), (Names{"error 2"}));
    EXPECT_EQ(names("D:\\*.*"), (Names{"error 21"}));
    EXPECT_EQ(names("Q:\\*.*"), (Names{"error 3"}));
    EXPECT_EQ(plat::find_first("C:\\*.*", nullptr), 0);
}

TEST_F(FindFilesTest, HandlesAreIndependentAndBadOnesSafe) {
    plat::FindData a, b;
    int32_t ha = plat::find_first("C:\\*.TMP", &a);
    int32_t hb = plat::find_first("C:\\SUB\\*.TMP", &b);
    ASSERT_GT(ha, 0);
    ASSERT_GT(hb, 0);
    EXPECT_NE(ha, hb);
    ASSERT_TRUE(plat::find_next(ha, &a));
    EXPECT_EQ(a.name, "PXIMG2.TMP");
    EXPECT_FALSE(plat::find_next(hb, &b));
    EXPECT_EQ(plat::last_error(), plat::kErrNoMoreFiles);
    plat::find_close(ha);
    plat::find_close(hb);

    for (int32_t bad : {ha, 0, -1, 9999}) {
        EXPECT_FALSE(plat::find_next(bad, &a)) << bad;
        EXPECT_EQ(plat::last_error(), plat::kErrInvalidHandle);
        plat::find_close(bad);
    }
}

}  // namespace
