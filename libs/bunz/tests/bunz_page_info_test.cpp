// Building the page in hand: the bitmap, the reference-number list files and
// the text placements.
#include <gtest/gtest.h>

#include "bunz_fixture.h"

namespace bunztest {
namespace {

using pxbuild::ImageText;

std::string line(const std::string& s) { return s + std::string(34 - s.size(), ' ') + "\r\n"; }
std::string name_rec(const std::string& code, const std::string& name) {
    return code + " " + name + std::string(60 - name.size(), ' ');
}

class BunzPageInfo : public ::testing::Test {
protected:
    BunzEnv env;
    Catalogue cat;

    void SetUp() override {
        cat.part_name("11400A", "BLOCK SUB-ASSY, SHORT");
        cat.part_name("11101A", "HEAD SUB-ASSY, CYLINDER WITH VALVES AND CAMSHAFT HOLDER");
        cat.figure_name("1101", "ENGINE ASSEMBLY");
    }
    void open(const std::string& image) {
        cat.page("1101", "1101001", "FIRST PAGE", image, "2001", "");
        env.install(cat);
        env.vehicle("202305", all_bits());
        env.choose({"1101"});
        ASSERT_EQ(env.init().result, 0);
    }
};

TEST_F(BunzPageInfo, ListFilesOfTheReferences) {
    open(cat.image({{10, 10, 40, 20, '0', 0, "11400A"},
                    {30, 15, 60, 30, '0', 0, "11101A"},
                    {100, 50, 130, 60, '0', 0, "11400A"},  // a code once only
                    {150, 10, 190, 30, '1', 0, "9001"},
                    {150, 40, 190, 50, '4', 0, "SPECIAL-NOTE"},
                    {10, 70, 40, 80, '0', 0, "12345X"}}));
    BunzEnv::PageInfo p = env.page_info();
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.kind, 1);
    EXPECT_EQ(p.info.substr(0, 8), std::string("ILL0001") + '\0');
    EXPECT_EQ(p.title(), "FIRST PAGE");
    EXPECT_EQ(p.bitmap, "C:\\WORK\\pximg2.bmp");
    EXPECT_EQ(p.list, "C:\\WORK\\hinmei1.tmp");

    EXPECT_EQ(env.work("hinmei1.tmp"), line("11400A BLOCK SUB-ASSY, SHORT") +
                                            line("11101A HEAD SUB-ASSY, CYLINDER") +
                                            line("       WITH VALVES AND") +
                                            line("       CAMSHAFT HOLDER") +
                                            line("9001         SEE SUB-ILLUSTRAT") +
                                            line("SPECIAL-NOTE SEE SPECIAL NOTE") +
                                            line("12345X"));
    EXPECT_EQ(env.work("hinmei2.tmp"), name_rec("11400A", "BLOCK SUB-ASSY, SHORT") +
                                            name_rec("11101A", "HEAD SUB-ASSY, CYLINDER WITH VALVES AND CAMSHAFT HOLDER") +
                                            name_rec("12345X", ""));
    // Five distinct codes on the page.
    EXPECT_EQ(pxall::get_i16(pxall::get_cimg_addr() + pxbunz::fig::kRefCount), 5);

    std::string bmp = env.work("pximg2.bmp");
    ASSERT_GE(bmp.size(), 62u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.size(), 62u + 28u * 100u);  // 200 pixels: 25 bytes a row, stride 28
    EXPECT_TRUE(env.work_exists("pximg1.tmp"));

    VBBunzTerm();
    for (const char* f : {"pximg1.tmp", "pximg2.bmp", "hinmei1.tmp", "hinmei2.tmp"})
        EXPECT_FALSE(env.work_exists(f)) << f;
}

// The list's texts under the Japanese menu language (code page 932): screen
// texts 1810 and 1809 in their 17 places and a part name in pieces of 23 end
// before a double-byte character that does not fit whole (the piece's place
// is blank, the next piece begins with it); a Latin menu cuts the same bytes
// where they fall.
TEST_F(BunzPageInfo, JapaneseTextsOfTheListEndBeforeACharacterThatDoesNotFit) {
    auto times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    };
    const std::string ka = "\x83\x4A";  // one character of two bytes
    cat.part_name("11500A", times(ka, 15));
    open(cat.image({{10, 10, 40, 20, '0', 0, "11500A"},
                    {150, 10, 190, 30, '1', 0, "9001"},
                    {150, 40, 190, 50, '4', 0, "SPECIAL-NOTE"}}));
    struct Case {
        const char* lang;
        std::string list;
    };
    const Case cases[] = {
        {"02", line("11500A " + times(ka, 11)) + line("       " + times(ka, 4)) +
                   line("9001         " + times(ka, 8)) + line("SPECIAL-NOTE AB" + times(ka, 7))},
        {"01", line("11500A " + times(ka, 11) + "\x83") + line("       \x4A" + times(ka, 3)) +
                   line("9001         " + times(ka, 8) + "\x83") + line("SPECIAL-NOTE AB" + times(ka, 7) + "\x83")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, c.lang);
        env.k.env().write(std::string("PXDROM") + c.lang + ".SCR",
                          "1809 AB" + times(ka, 8) + "\n1810 " + times(ka, 9) + "\n");
        ASSERT_EQ(pxall::set_scr(), 0);
        ASSERT_EQ(env.page_info().result, 0);
        EXPECT_EQ(env.work("hinmei1.tmp"), c.list);
        // The part-name record keeps the name whole.
        EXPECT_EQ(env.work("hinmei2.tmp"), name_rec("11500A", times(ka, 15)));
    }
}

TEST_F(BunzPageInfo, PageWithoutReferencesHasOneBlankLine) {
    open(cat.image({}, 64, 32, 'A'));
    BunzEnv::PageInfo p = env.page_info();
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.kind, 2);  // not an image of kind '3'
    EXPECT_EQ(env.work("hinmei1.tmp"), line(""));
    EXPECT_EQ(env.work("hinmei2.tmp"), "");
    EXPECT_EQ(pxall::get_i16(pxall::get_cimg_addr() + pxbunz::fig::kRefCount), 1);
}

// A text length that is not a multiple of 22 makes the reader fill one entry
// per record begun: the table holds every one of them (the sanitizer
// watches), so the third record, begun by one byte, is a reference too.
TEST_F(BunzPageInfo, TextLengthNotAMultipleOf22) {
    std::string loc = cat.image({{10, 10, 40, 20, '0', 0, "11400A"},
                                 {50, 10, 80, 20, '0', 0, "11101A"},
                                 {90, 10, 120, 20, '0', 0, "12345X"}});
    cat.patch_text_length(loc, 2 * 22 + 1);
    open(loc);
    BunzEnv::PageInfo p = env.page_info();
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(pxall::get_i16(pxall::get_cimg_addr() + pxbunz::fig::kRefCount), 3);
    EXPECT_EQ(env.work("hinmei2.tmp").size(), 3u * 67u);
}

TEST_F(BunzPageInfo, ImageTooLargeKeepsTheBitmapAway) {
    open(cat.huge_image());
    BunzEnv::PageInfo p = env.page_info();
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.status, 5);
    EXPECT_EQ(p.info.substr(0, 7), "HUGE001");
    EXPECT_EQ(p.title(), "FIRST PAGE");
    EXPECT_FALSE(env.work_exists("pximg2.bmp"));
    EXPECT_TRUE(env.k.env().log_lines().empty());
}

TEST_F(BunzPageInfo, MissingImageIsLoggedAndReturned) {
    // A locator past the end of the image file.
    open("000090001");
    BunzEnv::PageInfo p = env.page_info();
    EXPECT_NE(p.result, 0);
    auto log = env.k.env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("PXBUNZ01,VBBunzMakePageInfo,make_pack_image_file,", 0), 0u) << log[0];
}

}  // namespace
}  // namespace bunztest
