#include "pxall/vehicle.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace {

using pxtest::TempEnv;

// A caller's string of `len` bytes, pre-filled with '#', with room behind it
// so that a write past len shows.
struct CallerString {
    explicit CallerString(int len) : bytes(static_cast<size_t>(len) + 8, '#') { str = {bytes.data(), len}; }
    std::string text() const { return bytes.substr(0, static_cast<size_t>(str.len)); }
    std::string tail() const { return bytes.substr(static_cast<size_t>(str.len)); }
    std::string bytes;
    VbString str;
};

void put(unsigned char* block, size_t at, const std::string& bytes) { std::memcpy(block + at, bytes.data(), bytes.size()); }

class VehicleTest : public ::testing::Test {
protected:
    unsigned char* car() { return pxall::get_ccar_addr(); }
    unsigned char* top() { return pxall::get_ctop_addr(); }
    TempEnv env_;
};

TEST_F(VehicleTest, FieldsCopyTheirWidthWithNulAsBlank) {
    // Every byte of the block distinct from its neighbours' fields.
    for (size_t i = 0; i < pxall::area::kCcarSize; ++i) car()[i] = static_cast<unsigned char>('A' + i % 26);
    struct Case {
        const char* name;
        void (*get)(VbString*);
        size_t at;
        size_t width;
    };
    const Case cases[] = {
        {"Cat", VBGetCat, 0, 6},          {"FrameModel", VBGetFrameModel, 30, 7},
        {"FrameNo", VBGetFrameNo, 37, 7}, {"Ad", VBGetAd, 44, 6},
        {"ColorNo", VBGetColorNo, 51, 3}, {"TrimNo", VBGetTrimNo, 54, 4},
        {"Notes", VBGetNotes, 60, 30},    {"VName", VBGetVName, 340, 20},
        {"ProDateF", VBGetProDateF, 364, 4}, {"ProDateT", VBGetProDateT, 368, 4},
        {"Model", VBGetModel, 612, 20},
    };
    for (const Case& c : cases) {
        std::string want(reinterpret_cast<const char*>(car() + c.at), c.width);
        // Exact width, longer string (the rest untouched), shorter string.
        CallerString exact(static_cast<int>(c.width));
        c.get(&exact.str);
        EXPECT_EQ(exact.text(), want) << c.name;
        EXPECT_EQ(exact.tail(), std::string(8, '#')) << c.name;

        CallerString longer(static_cast<int>(c.width) + 5);
        c.get(&longer.str);
        EXPECT_EQ(longer.bytes.substr(0, c.width), want) << c.name;
        EXPECT_EQ(longer.bytes.substr(c.width), std::string(13, '#')) << c.name;

        CallerString shorter(2);
        c.get(&shorter.str);
        EXPECT_EQ(shorter.bytes.substr(0, 10), want.substr(0, 2) + std::string(8, '#')) << c.name;

        // A field of NUL bytes reads as blanks; a partly filled one is blank-padded.
        std::memset(car() + c.at, 0, c.width);
        car()[c.at] = 'Q';
        c.get(&exact.str);
        EXPECT_EQ(exact.text(), "Q" + std::string(c.width - 1, ' ')) << c.name;
    }
}

// Under the Japanese menu language (code page 932) a caller's string
// shorter than the field ends before a double-byte character that does not
// fit whole, the place blank; a Latin menu cuts the bytes where they fall.
TEST_F(VehicleTest, ShortStringEndsBeforeACharacterThatDoesNotFit) {
    const std::string ka = "\x83\x4A";  // one character of two bytes
    std::string name = "AB";
    for (int i = 0; i < 9; ++i) name += ka;  // the 20-byte car name
    put(car(), pxall::ccar::kVehicleName, name);
    const struct {
        const char* lang;
        std::string five;
    } cases[] = {{"02", "AB" + ka + " "}, {"01", "AB" + ka + "\x83"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(top(), pxall::ctop::kMenuLangCode, 3, c.lang);
        CallerString whole(20), five(5);
        VBGetVName(&whole.str);
        VBGetVName(&five.str);
        EXPECT_EQ(whole.text(), name);
        EXPECT_EQ(five.text(), c.five);
        EXPECT_EQ(five.tail(), std::string(8, '#'));
    }
    pxtest::set_field(top(), pxall::ctop::kMenuLangCode, 3, "01");
}

TEST_F(VehicleTest, Characteristics) {
    put(car(), 90, std::string("FIRST\0\0\0\0\0", 10));
    put(car(), 100, "SECOND-10!");
    for (int k = 0; k <= pxall::kMaxCharact2; ++k) put(car(), 110 + 5 * static_cast<size_t>(k), "k" + std::to_string(100 + k) + "x");
    put(car(), 340, "VEHICLE NAME        ");

    CallerString a(10), b(10);
    VBGetCharact1(&a.str, &b.str);
    EXPECT_EQ(a.text(), "FIRST     ");
    EXPECT_EQ(b.text(), "SECOND-10!");

    CallerString c(5);
    VBGetCharact2(0, &c.str);
    EXPECT_EQ(c.text(), "k100x");
    VBGetCharact2(20, &c.str);
    EXPECT_EQ(c.text(), "k120x");
    VBGetCharact2(pxall::kMaxCharact2, &c.str);
    EXPECT_EQ(c.text(), "k120x");

    // Beyond the fields: the string is not touched.
    for (int16_t k : {int16_t(-1), int16_t(pxall::kMaxCharact2 + 1), int16_t(32767)}) {
        CallerString d(5);
        VBGetCharact2(k, &d.str);
        EXPECT_EQ(d.text(), "#####") << k;
    }
}

TEST_F(VehicleTest, VinIsPrefixThenFrameNumber) {
    put(car(), 372, std::string("JT1AB\0\0\0\0\0", 10));
    put(car(), 37, "1234567");
    struct Case {
        int len;
        int32_t want_count;
        std::string want;
    };
    const Case cases[] = {
        {17, 17, "JT1AB     1234567"},
        {10, 10, "JT1AB     "},
        {3, 3, "JT1"},
        {0, 0, ""},
        {30, 17, "JT1AB     1234567" + std::string(13, '#')},  // never read past the 17
    };
    for (const Case& c : cases) {
        CallerString s(c.len);
        EXPECT_EQ(VBGetVin(&s.str), c.want_count) << c.len;
        EXPECT_EQ(s.bytes.substr(0, c.want.size()), c.want) << c.len;
        EXPECT_EQ(s.bytes.substr(c.want.size(), 8), std::string(8, '#')) << c.len;
    }
    EXPECT_EQ(VBGetVin(nullptr), 0);
}

// Set-up entry i: name and 8-character CD date.
void put_entry(unsigned char* top, int i, const std::string& name, const std::string& date) {
    unsigned char* e = top + pxall::ctop::kSetupTable + 16 * static_cast<size_t>(i);
    std::memcpy(e, name.data(), 2);
    std::memcpy(e + 4, date.data(), 8);
}

TEST_F(VehicleTest, CurrentCatalogueCdDate) {
    put_entry(top(), 0, "EF", "19990101");  // a frame-number data set of area E
    put_entry(top(), 1, "E1", std::string("2024\0\0\0\0", 8));
    put_entry(top(), 2, "E2", "20250101");
    put_entry(top(), 3, "G1", "20230303");
    put_entry(top(), 4, "U1", "20220202");  // beyond the count
    pxall::put_i32(top() + pxall::ctop::kSetupCount, 4);

    struct Case {
        int32_t area;
        std::string want;
    };
    const Case cases[] = {
        {0, "2024    "},  // EF is passed over; the first E catalogue set
        {1, "20230303"},
        {2, "########"},  // U1 lies beyond the count
        {3, "########"},  // no J data set
        {-1, "########"},  // area unknown: never indexes anything
        {7, "########"},
    };
    for (const Case& c : cases) {
        pxall::put_i32(top() + pxall::ctop::kAreaIndex, c.area);
        CallerString s(8);
        VBGetCrntCatCDDate(&s.str);
        EXPECT_EQ(s.text(), c.want) << c.area;
    }

    pxall::put_i32(top() + pxall::ctop::kAreaIndex, 0);
    pxall::put_i32(top() + pxall::ctop::kSetupCount, 99);  // a count beyond the table is bounded
    CallerString s(8);
    VBGetCrntCatCDDate(&s.str);
    EXPECT_EQ(s.text(), "2024    ");
}

TEST_F(VehicleTest, NoSharedAreaLeavesStringsAlone) {
    pxall::free_table();
    CallerString s(17);
    VBGetCat(&s.str);
    VBGetCharact2(0, &s.str);
    VBGetCrntCatCDDate(&s.str);
    EXPECT_EQ(VBGetVin(&s.str), 0);
    EXPECT_EQ(s.text(), std::string(17, '#'));
}

}  // namespace
