// Every entry of the vehicle by one rule whatever its source (typed, a
// vehicle-information file in each of its forms, a saved vehicle, the F10
// step): an accepted value is what the vehicle, the block and the work files
// hold; a refused one never stays, and its message is the engine's.
#include <cerrno>

#include "pxall/atomic_write.h"
#include "support/engine_fixture.h"

namespace {

using namespace pxvjintest;
namespace fs = std::filesystem;
namespace cc = pxall::ccar;

enum class Source { kTyped, kText, kCsv, kSemicolonCsv, kSaved };

const char* name_of(Source s) {
    switch (s) {
        case Source::kTyped: return "typed";
        case Source::kText: return "text file";
        case Source::kCsv: return "CSV file";
        case Source::kSemicolonCsv: return "CSV file with semicolons";
        case Source::kSaved: return "saved vehicle";
    }
    return "";
}

// One detail entry: its name in the files, its place in the saved header and
// the block, and the getter that shows it.
struct Field {
    const char* name;
    size_t saved_at, block_at, width;
    int32_t (*check)(int16_t, VbString*);
    int32_t (*shown)(VbString*);
};
const Field kDate{"PRODDATE", 38, cc::kProdDate, 6, vjin_check_input_date, vjin_disp_ad};
const Field kColor{"COLOR", 59, cc::kColorNo, 3, vjin_check_input_col, vjin_disp_clr};
const Field kTrim{"TRIM", 62, cc::kTrimNo, 4, vjin_check_input_trim, vjin_disp_trm};

class EntrySources : public EngineDemo {
protected:
    // A fresh vehicle screen after whatever the last case left.
    static void fresh() {
        vjin_init();
        vjin_clear();
    }
    std::string file(const std::string& name, const std::string& bytes) const {
        std::string path = root + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // The saved list 1 of the demo vehicle with one detail entry.
    void saved_vehicle(const Field& f, const std::string& value) const {
        std::string h(99, ' ');
        h.replace(0, 17, kVin);
        h.replace(17, 15, "AVS16P1STD 5MEU");
        h.replace(32, 6, "4410A1");
        h.replace(44, 8, "AVS16P1-");
        h.replace(52, 7, "A200123");
        h.replace(f.saved_at, value.size(), value);
        std::ofstream(root + "/demo/c/MST/PXIF0001.SAV", std::ios::binary) << h;
    }
    // The vehicle of kVin with the entry from the source; the message the
    // clerk is given (the first refusal: of the source, or of the
    // identification that follows it, as the screen runs it).
    int16_t enter(Source src, const Field& f, const std::string& value) {
        std::string quoted = "\"" + value + "\"";
        switch (src) {
            case Source::kTyped:
                EXPECT_EQ(check(vjin_check_input_vin, kVin, 17), 32);
                check(f.check, value, f.width);
                return vjin_check_msgid();
            case Source::kText:
                return read(file("car.txt", std::string("PXVJIN=1\r\nVIN=") + kVin + "\r\n" + f.name + "=" + value + "\r\n"));
            case Source::kCsv:
                return read(file("car.csv", std::string("PXVJIN,VIN,") + f.name + "\r\n1," + kVin + "," + value + "\r\n"));
            case Source::kSemicolonCsv:
                return read(file("car.csv", std::string("PXVJIN;VIN;") + f.name + "\r\n1;" + kVin + ";" + quoted + "\r\n"));
            case Source::kSaved:
                saved_vehicle(f, value);
                EXPECT_EQ(fsel_init(), 0);
                EXPECT_EQ(fsel_select_file(1), 0);
                EXPECT_GT(vjin_make_from_pxfsel(), 0);
                return vjin_check_msgid();
        }
        return -1;
    }
    int16_t read(const std::string& path) {
        EXPECT_EQ(vjin_get_vinf(path.c_str()), 4) << "the VIN check goes on";
        int16_t first = vjin_check_msgid();
        // The screen's VIN check on the VIN it shows.
        EXPECT_EQ(check(vjin_check_input_vin, shown(vjin_disp_vin, 17), 17), 32);
        return first != 0 ? first : vjin_check_msgid();
    }
    std::string vclinf_date() const {
        std::ifstream in(work("VCLINF.TMP"), std::ios::binary);
        std::string b((std::istreambuf_iterator<char>(in)), {});
        return b.size() >= 100 ? b.substr(94, 6) : std::string();
    }
};

TEST_F(EntrySources, EachEntryIsCheckedByOneRuleWhateverItsSource) {
    struct Case {
        const Field* field;
        std::string value;
        int16_t refusal;  // 0: accepted
    } cases[] = {
        {&kDate, "201807", 0},
        {&kDate, "209999", pxvjin::kMsgDateForm},     // month 99
        {&kDate, "201001", pxvjin::kMsgDateOutside},  // before the model's production
        {&kColor, "B1A", 0},
        {&kColor, "B-1", pxvjin::kMsgColorForm},
        {&kTrim, "T12", 0},
        {&kTrim, "ZZ/Z", pxvjin::kMsgTrimForm},
    };
    for (Source src : {Source::kTyped, Source::kText, Source::kCsv, Source::kSemicolonCsv, Source::kSaved})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name_of(src)) + " " + c.field->name + "=" + c.value);
            fresh();
            EXPECT_EQ(enter(src, *c.field, c.value), c.refusal);
            const std::string held = c.refusal == 0 ? c.value : "";
            EXPECT_EQ(shown(c.field->shown, c.field->width), pad(held, c.field->width));
            EXPECT_EQ(car(c.field->block_at, c.field->width), pad(held, c.field->width));
            // The other entries of the source are kept.
            EXPECT_EQ(shown(vjin_disp_vin, 17), kVin);
            ASSERT_EQ(vjin_exec(), 1);
            if (c.field == &kDate) EXPECT_EQ(vclinf_date(), pad(held, 6));
        }
}

// A detail entry of a file longer than its field is refused alone, as any
// refused entry: the note (no check of its own) by its bytes, whole
// characters of code page 932 or not; the rest of the vehicle is kept.
TEST_F(EntrySources, AFilesDetailLongerThanItsFieldIsLeftOutAndNamed) {
    std::string kanji30, kanji31 = "A";
    for (int i = 0; i < 15; ++i) {
        kanji30 += "\x83\x4A";
        kanji31 += "\x83\x4A";
    }
    struct Case {
        const char* what;
        const char* name;
        std::string value;
        int16_t refusal;  // 0: kept
    } cases[] = {
        {"Latin note of 30", "NOTES", std::string(30, 'n'), 0},
        {"Latin note of 31", "NOTES", std::string(31, 'n'), pxvjin::kMsgNoteTooLong},
        {"note of 15 double-byte characters", "NOTES", kanji30, 0},
        {"note of 31 bytes ending in a double-byte character", "NOTES", kanji31, pxvjin::kMsgNoteTooLong},
        {"colour of 4", "COLOR", "B1AX", pxvjin::kMsgColorForm},
        {"date of 7", "PRODDATE", "2018071", pxvjin::kMsgDateForm},
    };
    for (const Case& c : cases)
        for (const char* form : {"car.txt", "car.csv"}) {
            SCOPED_TRACE(std::string(c.what) + " in " + form);
            fresh();
            const bool csv = std::string(form) == "car.csv";
            const std::string bytes =
                csv ? std::string("PXVJIN,VIN,TRIM,") + c.name + "\r\n1," + kVin + ",T12," + c.value + "\r\n"
                    : std::string("PXVJIN=1\r\nVIN=") + kVin + "\r\nTRIM=T12\r\n" + c.name + "=" + c.value + "\r\n";
            EXPECT_EQ(read(file(form, bytes)), c.refusal);
            EXPECT_EQ(shown(vjin_disp_vin, 17), kVin);
            EXPECT_EQ(shown(vjin_disp_trm, 4), "T12 ");
            if (std::string(c.name) == "NOTES") {
                EXPECT_EQ(shown(vjin_disp_not, 30), c.refusal == 0 ? c.value : std::string(30, ' '));
            }
        }
    EXPECT_EQ(log().find("not a vehicle-information file"), std::string::npos);
}

TEST_F(EntrySources, ASavedDateOutsideTheModelsPeriodsIsLeftOut) {
    saved_vehicle(kDate, "201001");
    ASSERT_EQ(fsel_init(), 0);
    ASSERT_EQ(fsel_select_file(1), 0);
    EXPECT_EQ(vjin_make_from_pxfsel(), 8) << "on with the date";
    EXPECT_EQ(vjin_check_msgid(), pxvjin::kMsgDateOutside);
    EXPECT_EQ(shown(vjin_disp_ad, 6), "      ");
    EXPECT_EQ(car(cc::kModel, 20), "AVS16P1STD 5MEU     ");
}

TEST_F(EntrySources, AFilesIdentificationIsTheVehiclesOnlyOnceItsCheckAcceptsIt) {
    // A VIN of the wrong form: shown, not in the block; its check refuses it
    // and the engine drops it; the colour of the file stays.
    fresh();
    ASSERT_EQ(vjin_get_vinf(file("bad.txt", "PXVJIN=1\r\nVIN=PX1AVS16\r\nCOLOR=B1A\r\n").c_str()), 4);
    EXPECT_EQ(shown(vjin_disp_vin, 17), pad("PX1AVS16", 17));
    EXPECT_EQ(car(cc::kVinPrefix, 10), std::string(10, ' '));
    EXPECT_EQ(check(vjin_check_input_vin, "PX1AVS16", 17), 1);
    EXPECT_EQ(shown(vjin_disp_vin, 17), std::string(17, ' '));
    EXPECT_EQ(shown(vjin_disp_clr, 3), "B1A");

    // A frame number no check has seen stays out of the block; with a
    // catalogue alone the catalogue is taken and the model check goes on.
    fresh();
    ASSERT_EQ(vjin_get_vinf(file("cat.txt", "PXVJIN=1\r\nCATALOG=4410A1\r\nMODEL=AVS16P1STD 5MEU\r\n"
                                            "FRAMENO=Z999999\r\n")
                                   .c_str()),
              2)
        << "the frame check goes first";
    EXPECT_EQ(car(cc::kFrameNo, 7), std::string(7, ' '));
    fresh();
    ASSERT_EQ(vjin_get_vinf(file("cat.txt", "PXVJIN=1\r\nCATALOG=4410A1\r\n").c_str()), 1)
        << "a catalogue alone: the model check opens the model list";
    EXPECT_EQ(vjin_check_inputarea(), 1);
    EXPECT_EQ(check(vjin_check_input_model, "", 20), 2);
}

TEST_F(EntrySources, TheF10StepChangesTheVehicleHandedOn) {
    ASSERT_EQ(check(vjin_check_input_vin, kVin, 17), 32);
    ASSERT_EQ(vjin_exec(), 1);
    EXPECT_EQ(vclinf_date(), "      ");
    // The checks of the F10 step, on what the boxes held.
    EXPECT_EQ(check(vjin_check_input_date, "201807", 6), 0);
    EXPECT_EQ(check(vjin_check_input_col, "B2B", 3), 0);
    EXPECT_EQ(check(vjin_check_input_note, "FLEET", 30), 0);
    EXPECT_EQ(vclinf_date(), "201807");
    EXPECT_EQ(car(cc::kProdDate, 6), "201807");
    // A refused date changes nothing.
    EXPECT_EQ(check(vjin_check_input_date, "209999", 6), 4);
    EXPECT_EQ(vclinf_date(), "201807");
    // The screen loads again (F3 on the search routes): the vehicle as the
    // F10 step left it.
    ASSERT_EQ(vjin_clear(), 0);
    ASSERT_EQ(vjin_init(), 0);
    EXPECT_EQ(shown(vjin_disp_ad, 6), "201807");
    EXPECT_EQ(shown(vjin_disp_clr, 3), "B2B");
    EXPECT_EQ(shown(vjin_disp_not, 30), pad("FLEET", 30));
    EXPECT_EQ(vjin_check_inputarea(), 1);
    // A change on the open screen is not handed on until F10 again.
    EXPECT_EQ(check(vjin_check_input_date, "201808", 6), 0);
    EXPECT_EQ(vclinf_date(), "201807");
}

TEST_F(EntrySources, TheModelListShowsThePeriodEndsTheDateCheckApplies) {
    ASSERT_EQ(check(vjin_check_input_cat, "4410A1", 15), 16);
    ASSERT_EQ(check(vjin_check_input_model, "", 20), 2);
    ASSERT_EQ(vkei_init(), 0);
    std::ifstream in(work("VKEILST.TMP"), std::ios::binary);
    std::string rows((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GE(rows.size(), pxvjin::modellist::kSize);
    for (size_t at = 0; at + pxvjin::modellist::kSize <= rows.size(); at += pxvjin::modellist::kSize)
        EXPECT_EQ(rows.substr(at + pxvjin::modellist::kPeriod, 9), "1803-2312") << at / pxvjin::modellist::kSize;
    ASSERT_EQ(vkei_ret(0), 0);
    EXPECT_EQ(check(vjin_check_input_date, "202312", 6), 0);
    EXPECT_EQ(check(vjin_check_input_date, "202401", 6), 4);
    EXPECT_EQ(vjin_check_msgid(), pxvjin::kMsgDateOutside);
}

TEST_F(EntrySources, FilesAsEditorsAndSpreadsheetsWriteThem) {
    const std::string vin = std::string(kVin);
    const std::pair<const char*, std::string> read[] = {
        {"blanks.txt", "PXVJIN = 1\r\nVIN = " + vin + "\r\nCOLOR =B1A \r\n"},
        {"lower.txt", "pxvjin=1\nvin=" + vin + "\ncolor=b1a\n"},
        {"bom.txt", "\xEF\xBB\xBFPXVJIN=1\r\nVIN=" + vin + "\r\nCOLOR=B1A\r\n"},
        {"semi.csv", "PXVJIN;VIN;COLOR;NOTES\r\n1;" + vin + ";B1A;\"A; B\"\r\n"},
        {"bom.csv", "\xEF\xBB\xBF\"PXVJIN\",\"Vin\",\"Color\"\r\n\"1\",\"" + vin + "\",\"B1A\"\r\n"},
    };
    for (const auto& [name, bytes] : read) {
        SCOPED_TRACE(name);
        fresh();
        EXPECT_EQ(vjin_get_vinf(file(name, bytes).c_str()), 4);
        EXPECT_EQ(shown(vjin_disp_vin, 17), vin);
        EXPECT_EQ(shown(vjin_disp_clr, 3), "B1A");
    }
    fresh();
    ASSERT_EQ(vjin_get_vinf(file("notes.csv", "PXVJIN;NOTES\r\n1;\"A; B\"\r\n").c_str()), 0);
    EXPECT_EQ(shown(vjin_disp_not, 30), pad("A; B", 30));
    // A catalogue name in double-byte characters (code page 932), the
    // second byte of each a lower-case letter's: not upper-cased byte by byte.
    fresh();
    ASSERT_EQ(vjin_get_vinf(file("name.txt", "PXVJIN=1\r\ncatalog=\x83\x61\x83\x62\r\n").c_str()), 0);
    EXPECT_EQ(shown(vjin_disp_cat, 15), pad("\x83\x61\x83\x62", 15));
    const std::pair<const char*, std::string> refused[] = {
        // UTF-8 beyond ASCII has no bytes in the catalogue's code page.
        {"utf8.txt", "\xEF\xBB\xBFPXVJIN=1\r\nNOTES=M\xC3\xBCller\r\n"},
        {"mixed.csv", "PXVJIN;VIN\r\n1," + vin + "\r\n"},
        {"magic.txt", "PXVJIN=2\r\nVIN=" + vin + "\r\n"},
    };
    for (const auto& [name, bytes] : refused) {
        SCOPED_TRACE(name);
        fresh();
        EXPECT_EQ(vjin_get_vinf(file(name, bytes).c_str()), 0);
        EXPECT_EQ(shown(vjin_disp_vin, 17), std::string(17, ' '));
    }
}

// Notes under the Japanese menu language (code page 932): the vehicle
// block's 30 places and a caller's string of 30 end before a double-byte
// character that does not fit whole, the place blank; a Latin menu cuts the
// bytes where they fall.
TEST_F(EntrySources, NotesEndBeforeACharacterThatDoesNotFit) {
    std::string notes = "A";
    for (int i = 0; i < 15; ++i) notes += "\x83\x4A";  // 31 bytes
    const struct {
        const char* lang;
        std::string shown;
    } cases[] = {{"02", notes.substr(0, 29) + " "}, {"01", notes.substr(0, 30)}};
    unsigned char* lang = pxall::get_ctop_addr() + pxall::ctop::kMenuLangCode;
    char menu[3];
    std::memcpy(menu, lang, 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        std::memcpy(lang, c.lang, 3);
        fresh();
        check(vjin_check_input_note, notes, notes.size());
        EXPECT_EQ(car(cc::kNotes, 30), c.shown);
        EXPECT_EQ(shown(vjin_disp_not, 30), c.shown);
    }
    std::memcpy(lang, menu, 3);
}

TEST_F(EntrySources, ASaveThatFailsLeavesTheOldFileWhole) {
    ASSERT_EQ(check(vjin_check_input_vin, kVin, 17), 32);
    const std::string path = root + "/car.txt";
    ASSERT_EQ(vjin_set_vinf(path.c_str()), 0);
    std::ifstream first(path, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(first)), {});
    ASSERT_NE(before.find(kVin), std::string::npos);
    ASSERT_EQ(check(vjin_check_input_note, "CHANGED", 30), 0);
    pxall::atomic_fail_next_commits(1, ENOSPC);
    EXPECT_EQ(vjin_set_vinf(path.c_str()), -1);
    pxall::atomic_fail_next_commits(0, 0);
    std::ifstream again(path, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), before);
    for (const auto& e : fs::directory_iterator(root))
        EXPECT_EQ(e.path().filename().string().find("car.txt."), std::string::npos) << e.path();
    EXPECT_EQ(vjin_set_vinf(path.c_str()), 0);
    std::ifstream after(path, std::ios::binary);
    EXPECT_NE(std::string((std::istreambuf_iterator<char>(after)), {}).find("NOTES=CHANGED"), std::string::npos);
}

}  // namespace
