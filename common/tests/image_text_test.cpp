#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pxall/blocks.h"
#include "pxall/image.h"
#include "pxbuild/image_writer.h"
#include "support/image_files.h"
#include "support/temp_env.h"

namespace {

using pxall::image::kTextEntrySize;

class DecordText : public ::testing::Test {
protected:
    pxtest::TempEnv env;
    pxbuild::StoredImage img;

    void SetUp() override {
        img = pxtest::stored_picture(pxtest::Bitmap(64, 8));
        img.texts = {
            {10, 20, 110, 45, '0', 0, "11400A"},
            {-5, 1000, 32767, -32768, '1', 0xFF, "1301"},
            {300, 400, 420, 430, '4', 7, "ABCDEFGHIJKL"},
        };
        pxbuild::Bytes b = pxbuild::stored_image(img);
        env.write("IMG.TMP", std::string(b.begin(), b.end()));
    }

    // Text entries of C:\IMG.TMP in a table of `room` entries, filled with
    // 0xEE first.
    int read(int32_t text_len, int32_t room, std::vector<uint8_t>* table, int32_t coded = -1) {
        table->assign(static_cast<size_t>(room + 1) * kTextEntrySize, 0xEE);
        return pxall::decord_text("C:\\IMG.TMP", table->data(), text_len,
                                  coded < 0 ? static_cast<int32_t>(img.coded.size()) : coded, room);
    }
};

TEST_F(DecordText, EntriesHoldTheRecordsFields) {
    std::vector<uint8_t> t;
    ASSERT_EQ(read(66, 3, &t), 0);
    struct Want {
        int16_t left, top, right, bottom;
        uint16_t value;
        const char* text;
        uint8_t attr;
    } want[] = {
        {10, 20, 110, 45, 0, "11400A      ", '0'},
        {-5, 1000, 32767, -32768, 0xFF, "1301        ", '1'},
        {300, 400, 420, 430, 7, "ABCDEFGHIJKL", '4'},
    };
    for (size_t i = 0; i < 3; ++i) {
        const uint8_t* e = t.data() + i * kTextEntrySize;
        EXPECT_EQ(pxall::get_i16(e + 0), want[i].left) << i;
        EXPECT_EQ(pxall::get_i16(e + 2), want[i].top) << i;
        EXPECT_EQ(pxall::get_i16(e + 4), want[i].right) << i;
        EXPECT_EQ(pxall::get_i16(e + 6), want[i].bottom) << i;
        EXPECT_EQ(static_cast<uint16_t>(pxall::get_i16(e + 8)), want[i].value) << i;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(e + 10), 12), want[i].text) << i;
        EXPECT_EQ(e[22], want[i].attr) << i;
        EXPECT_EQ(std::vector<uint8_t>(e + 23, e + 36), std::vector<uint8_t>(13, 0xEE)) << i;
    }
    EXPECT_EQ(t[3 * kTextEntrySize], 0xEE);
}

TEST_F(DecordText, EntryCountFollowsTheLengthAndStaysInTheTable) {
    struct Case {
        int32_t text_len, room;
        int filled;
    } cases[] = {
        {0, 3, 0},
        {22, 3, 1},
        {23, 3, 2},   // a record begun counts: the next 22 bytes of the file
        {66, 3, 3},
        {66, 2, 2},   // a table smaller than the stored length
        {66, 0, 0},
        {-22, 3, 0},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> t;
        ASSERT_EQ(read(c.text_len, c.room, &t), 0) << c.text_len << " " << c.room;
        for (int i = 0; i <= c.room; ++i)
            EXPECT_EQ(t[static_cast<size_t>(i) * kTextEntrySize + 22] != 0xEE, i < c.filled)
                << c.text_len << " " << c.room << " entry " << i;
    }
    EXPECT_EQ(pxall::image::text_entries(23), 2);
    EXPECT_EQ(pxall::image::text_entries(44), 2);
    EXPECT_EQ(pxall::image::text_entries(0), 0);
}

TEST_F(DecordText, Failures) {
    std::vector<uint8_t> t(100 * kTextEntrySize);
    EXPECT_EQ(pxall::decord_text("C:\\NONE.TMP", t.data(), 22, 0, 10), 201);
    EXPECT_EQ(pxall::decord_text("C:\\IMG.TMP", t.data(), 22, -30, 10), 205);
    // Records beyond the end of the file.
    std::string whole = env.read("IMG.TMP");
    EXPECT_EQ(pxall::decord_text("C:\\IMG.TMP", t.data(), 22, static_cast<int32_t>(whole.size()) - 21 - 10, 10), 204);
    EXPECT_EQ(pxall::decord_text("C:\\IMG.TMP", t.data(), 22 * 100, static_cast<int32_t>(img.coded.size()), 100), 204);
}

}  // namespace
