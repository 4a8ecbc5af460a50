#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "pxall/abbrev.h"
#include "pxall/blocks.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;

std::string ryakug(const std::string& key, const std::string& lang, const std::string& meaning) {
    std::string r(102, ' ');
    r.replace(0, key.size(), key);
    r.replace(20, 2, lang);
    r.replace(22, meaning.size(), meaning);
    return r;
}

const std::string kKa = "\x83\x4A";  // one character of two bytes in code page 932

std::string times(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

class AbbrevTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto cd = k.make_cd("E1", "20240115");
        std::vector<std::string> r = {
            ryakug("ABS", "03", "SYSTEME ANTIBLOCAGE"),
            ryakug("ABS", "01", "ANTI-LOCK BRAKE SYSTEM"),
            ryakug("EUR", "01", "EUROPEAN MARKET VEHICLES EXCEPT FOR UNITED KINGDOM"),
            ryakug("GLX", "01", "GRAND LUXE WITH EXTRA EQUIPMENT: ALLOY WHEELS, FOG LAMPS, CLIMATE CONTROL, RADIO"),
            ryakug("LHD", "03", "CONDUITE A GAUCHE"),
            ryakug("JPN", "01", "A" + times(kKa, 25)),
        };
        cd.put_keyed("", "RYAKUG.DAT", pxbuild::build_keyed("RYAKUG.DAT", r));
        k.install("E1", '0');
        put_i32(get_ccar_addr() + ccar::kNameSetupIndex, 0);
    }
    int32_t lookup(std::string abbr, std::string* meaning, int16_t* flag, int len = 130) {
        std::vector<char> out(len, '#');
        VbString a{abbr.data(), static_cast<int32_t>(abbr.size())};
        VbString m{out.data(), len};
        int32_t r = VBryak_get_mean(&a, &m, flag);
        meaning->assign(out.begin(), out.end());
        return r;
    }
    pxtest::KeyedEnv k;
};

std::string line(const std::string& text) { return text + std::string(40 - text.size(), ' ') + "\r\n"; }

TEST_F(AbbrevTest, MeaningComesInLinesOfFortyInTheCatalogueLanguage) {
    std::string meaning;
    int16_t flag = -1;
    ASSERT_EQ(lookup("ABS", &meaning, &flag), 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(meaning, line("ANTI-LOCK BRAKE SYSTEM") + std::string(88, ' '));
    ASSERT_EQ(lookup("EUR", &meaning, &flag), 0);
    EXPECT_EQ(meaning, line("EUROPEAN MARKET VEHICLES EXCEPT FOR") + line("UNITED KINGDOM") + std::string(46, ' '));
    ASSERT_EQ(lookup("GLX", &meaning, &flag), 0);
    EXPECT_EQ(meaning.substr(0, 126), line("GRAND LUXE WITH EXTRA EQUIPMENT: ALLOY") +
                                          line("WHEELS, FOG LAMPS, CLIMATE CONTROL,") + line("RADIO"));
}

TEST_F(AbbrevTest, OtherLanguageOrNoneIsNotFound) {
    std::string meaning;
    int16_t flag = -1;
    ASSERT_EQ(lookup("LHD", &meaning, &flag), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(meaning, std::string(130, '#')) << "untouched";
    ASSERT_EQ(lookup("ZZZ", &meaning, &flag), 0);
    EXPECT_EQ(flag, 1);
}

TEST_F(AbbrevTest, CallersStringsOfAnyLengthAreKeptTo) {
    std::string meaning;
    int16_t flag = -1;
    // A caller's abbreviation longer than the 20-character key, a meaning
    // string longer than the 130-byte text: neither is read past.
    ASSERT_EQ(lookup("ABS" + std::string(30, ' '), &meaning, &flag, 200), 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(meaning.substr(130), std::string(70, '#'));
    ASSERT_EQ(lookup("ABS", &meaning, &flag, 10), 0);
    EXPECT_EQ(meaning, "ANTI-LOCK ");
}

// A meaning in double-byte characters under the Japanese menu language:
// its lines of forty and a caller's shorter string end before a character
// that does not fit whole, the place blank; a Latin menu cuts the bytes
// where they fall.
TEST_F(AbbrevTest, JapaneseMeaningEndsBeforeACharacterThatDoesNotFit) {
    const struct {
        const char* lang;
        std::string meaning, ten;
    } cases[] = {
        {"02", line("A" + times(kKa, 19)) + line(times(kKa, 6)) + std::string(46, ' '), "A" + times(kKa, 4) + " "},
        {"01", line("A" + times(kKa, 19) + "\x83") + line("\x4A" + times(kKa, 5)) + std::string(46, ' '),
         "A" + times(kKa, 4) + "\x83"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(get_ctop_addr(), ctop::kMenuLangCode, 3, c.lang);
        std::string meaning;
        int16_t flag = -1;
        ASSERT_EQ(lookup("JPN", &meaning, &flag), 0);
        EXPECT_EQ(flag, 0);
        EXPECT_EQ(meaning, c.meaning);
        ASSERT_EQ(lookup("JPN", &meaning, &flag, 10), 0);
        EXPECT_EQ(meaning, c.ten);
    }
}

TEST_F(AbbrevTest, AMissingCdGivesFlag4) {
    // The area's second CD, master files only; its abbreviations stay on the CD.
    auto cd = k.make_cd("G1", "20231001");
    cd.put_keyed("", "RYAKUG.DAT", pxbuild::build_keyed("RYAKUG.DAT", {ryakug("ABS", "01", "X")}));
    k.install("G1", '0');
    std::string root = k.env().read("MST/G1/PXROOTMF.MST");
    size_t at = root.find("RYAKUG.DAT");
    // Make RYAKUG a CD file of G1 (location 0).
    for (size_t e = at - 96; e <= at; e += 32) {
        root[e + 27] = 0;
        root[e + 28] = root[e + 29] = 0;
    }
    k.env().write("MST/G1/PXROOTMF.MST", root);
    put_i32(get_ccar_addr() + ccar::kNameSetupIndex, 1);
    k.set_cd_drives({{'E', ""}});
    std::string meaning;
    int16_t flag = -1;
    ASSERT_EQ(lookup("ABS", &meaning, &flag), 0);
    EXPECT_EQ(flag, 4);
    EXPECT_EQ(k.boxes_shown(), 1);
}

}  // namespace
