#include "pxall/env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;

constexpr int32_t kScanSentinel = 77;

class EnvReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        top = get_ctop_addr();
        ASSERT_NE(top, nullptr);
        env.mkdir("MST");
        env.map_drive('D', "drive-d", plat::kDriveCdrom);
        env.map_drive('E', "drive-e", plat::kDriveFixed);
        // The scan lists the master directory on every area's drive.
        env.mkdir("drive-d/MST");
        env.mkdir("drive-e/MST");
        // The scan rewrites the set-up count; a sentinel shows whether it ran.
        put_i32(top + ctop::kSetupCount, kScanSentinel);
    }

    // Writes PXDROM.SYS (upper-case name; the reader opens "pxdrom.sys") and reads it.
    void read(const std::string& content) {
        env.write("PXDROM.SYS", content);
        EXPECT_EQ(kankyo_set(), 0);
    }

    std::string field(size_t at, size_t width = ctop::kDirSize) const {
        const char* p = reinterpret_cast<const char*>(top + at);
        return std::string(p, strnlen(p, width));
    }

    // The reader's own log lines (the scan logs under another module).
    std::vector<std::string> reader_log() const {
        std::vector<std::string> out;
        for (const std::string& l : env.log_lines())
            if (l.rfind("PXDROM,kankyo_set,", 0) == 0) out.push_back(l);
        return out;
    }

    bool scanned() const { return get_i32(top + ctop::kSetupCount) != kScanSentinel; }

    pxtest::TempEnv env;
    unsigned char* top = nullptr;
};

TEST_F(EnvReaderTest, ReadsEveryKeyOfAWindowsFile) {
    env.mkdir("FRAME/W");
    env.mkdir("FRAME/J");
    read("ECRAM=c:\\work\r\n"
         "ECMST=C:\\MST\\\r\n"
         "LANGUAGE=english\r\n"
         "MENULANG=JAPANESEX\r\n"
         "CDROM=D:,Q:,E:\r\n"
         "ECFIL=C:\\PROG\r\n"
         "PRICE=D:\r\n"
         "CRNTAREA=US\r\n"
         "ECMSTALL=EU:C,GR:D,US:C,JP:E\r\n"
         "FRAMEWLD=c:\\frame\\w\r\n"
         "FRAMEJPN=C:\\FRAME\\J\r\n"
         "EXPPPNHO=C:\\Bin\\Export.exe,,d:\\x.exe\r\n"
         "EXPPFSAD=c:\\bin\\edit.exe\r\n"
         "ecram=C:\\IGNORED\r\n"
         "NOSUCHKEY=1\r\n");
    EXPECT_TRUE(reader_log().empty());
    EXPECT_EQ(field(ctop::kWorkDir), "C:\\WORK");
    EXPECT_EQ(field(ctop::kMasterDir), "C:\\MST\\");
    EXPECT_EQ(field(ctop::kDataLangCode, 3), "01");
    EXPECT_EQ(get_i16(top + ctop::kDataLangNo), 1);
    EXPECT_EQ(field(ctop::kMenuLangCode, 3), "02");
    EXPECT_EQ(get_i16(top + ctop::kMenuLangNo), 2);
    EXPECT_EQ(top[ctop::kDriveCount], 2);
    EXPECT_EQ(top[ctop::kDriveCountGuard], 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(top + ctop::kDrives), 4), "D:E:");
    EXPECT_EQ(field(ctop::kProgramDir), "C:\\PROG");
    EXPECT_EQ(field(ctop::kPriceDir), "D:\\MST\\");
    EXPECT_EQ(field(ctop::kLocalPriceDir), "C:\\MST\\");
    EXPECT_EQ(get_i32(top + ctop::kAreaIndex), 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(top + ctop::kAreaDrives), 8), std::string("C\0D\0C\0E\0", 8));
    EXPECT_EQ(field(ctop::kFrameWorldDir), "C:\\FRAME\\W");
    EXPECT_EQ(field(ctop::kFrameJapanDir), "C:\\FRAME\\J");
    EXPECT_EQ(field(ctop::kExportPrograms, 256), "C:\\Bin\\Export.exe");
    EXPECT_EQ(field(ctop::kExportPrograms + 256, 256), "");
    EXPECT_EQ(field(ctop::kExportPrograms + 512, 256), "d:\\x.exe");
    EXPECT_EQ(field(ctop::kSaveEditor, 256), "C:\\BIN\\EDIT.EXE");
    EXPECT_TRUE(scanned());
}

TEST_F(EnvReaderTest, MissingFileLeavesDefaultsAndLogs) {
    std::memset(top + 4, 'x', ctop::kMsgTableSlot - 4);
    pxtest::set_field(top, ctop::kProgramDir, ctop::kDirSize, "C:\\KEPT");
    put_i32(top + ctop::kSetupCount, kScanSentinel);
    EXPECT_EQ(kankyo_set(), 0);
    EXPECT_EQ(reader_log(), std::vector<std::string>{"PXDROM,kankyo_set,Failed to open pxdrom.sys,(1)(0)(426)"});
    EXPECT_EQ(field(ctop::kDataLangCode, 3), "01");
    EXPECT_EQ(field(ctop::kMenuLangCode, 3), "01");
    EXPECT_EQ(get_i16(top + ctop::kDataLangNo), 1);
    EXPECT_EQ(get_i16(top + ctop::kMenuLangNo), 1);
    EXPECT_EQ(get_i32(top + ctop::kAreaIndex), 0);
    EXPECT_EQ(top[ctop::kDriveCountGuard], 0);
    EXPECT_EQ(top[ctop::kDriveCount], 0);
    for (size_t at : {ctop::kWorkDir, ctop::kMasterDir, ctop::kPriceDir, ctop::kFrameWorldDir, ctop::kFrameJapanDir})
        EXPECT_EQ(field(at), "") << at;
    EXPECT_EQ(field(ctop::kAreaDrives, 8), "");
    for (int i = 0; i < ctop::kMaxExportPrograms; ++i) EXPECT_EQ(field(ctop::kExportPrograms + 256 * i, 256), "");
    EXPECT_EQ(field(ctop::kSaveEditor, 256), "");
    // Not among the defaults.
    EXPECT_EQ(field(ctop::kProgramDir), "C:\\KEPT");
    EXPECT_FALSE(scanned());
}

// Each defect logs one line, stops the reading (the CRNTAREA line after it is
// not read), skips the scan, and still completes the price directories.
TEST_F(EnvReaderTest, DefectiveLineIsLoggedAndEndsTheReading) {
    const std::string p64(61, 'P');  // "C:\" + 61 = 64 characters: one too many
    struct Case {
        std::string line;
        std::string step;
        int code;
        int place;
    };
    const std::vector<Case> cases = {
        {"ECRAM", "ECRAM", 2, 434},
        {"", "", 2, 434},
        {"ECRAM=C:\\" + p64, "C:\\" + p64, 3, 457},
        {"ECRAM=c:\\abcdefghi\\x", "C:\\ABCDEFGHI\\X", 4, 465},
        {"ECMST=C:\\" + p64, "C:\\" + p64, 5, 478},
        {"ECMST=C:\\M\tST", "C:\\M\tST", 6, 486},
        {"ECMST=C:\\M\xC4ST", "C:\\M\xC4ST", 6, 486},
        {"LANGUAGE=ITALIAN", "ITALIAN", 7, 509},
        {"MENULANG=", "", 8, 534},
        {"ECFIL=C:\\" + p64, "C:\\" + p64, 9, 568},
        {"ECFIL=C:\\A\\123456789\\B", "C:\\A\\123456789\\B", 10, 576},
        {"PRICE=DD", "DD", 11, 593},
        {"PRICE=1:", "1:", 11, 593},
        {"PRICE=D:\\X", "D:\\X", 11, 593},
        {"LOCALP=d", "d", 12, 609},
        {"CRNTAREA=USA", "USA", 13, 620},
        {"FRAMEWLD=C:\\" + p64, "C:\\" + p64, 16, 645},
        {"FRAMEJPN=C:\\" + p64, "C:\\" + p64, 17, 656},
        // A line longer than a line may be is refused from its start: no
        // part of it is taken as a value.
        {"EXPPFSAD=" + std::string(300, 'x'), "EXPPFSAD=" + std::string(246, 'x'), 2, 434},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        env.write("PXERROR.LOG", "");
        put_i32(top + ctop::kSetupCount, kScanSentinel);
        read("ECMST=C:\\MST\\\nPRICE=E:\n" + c.line + "\nCRNTAREA=JP\n");
        char expect[400];
        std::snprintf(expect, sizeof expect, "PXDROM,kankyo_set,%s,(%d)(0)(%d)", c.step.c_str(), c.code, c.place);
        EXPECT_EQ(reader_log(), std::vector<std::string>{expect});
        EXPECT_EQ(get_i32(top + ctop::kAreaIndex), 0);
        EXPECT_FALSE(scanned());
        EXPECT_EQ(field(ctop::kPriceDir), "E:\\MST\\");
        EXPECT_EQ(field(ctop::kLocalPriceDir), "C:\\MST\\");
    }
}

// The longest line is taken whole with either line end; one character more
// is refused whole, so that the last export program is never taken cut.
TEST_F(EnvReaderTest, LongestLineIsTakenWholeALongerOneNotAtAll) {
    const std::string head = "EXPPPNHO=C:\\P1.EXE,C:\\P2.EXE,C:\\P3.EXE,C:\\P4.EXE,C:\\P5.EXE,C:\\P6.EXE,C:\\P7.EXE,";
    for (size_t length : {kEnvLineMax, kEnvLineMax + 1}) {
        for (const char* end : {"\n", "\r\n"}) {
            const std::string last = "C:\\" + std::string(length - head.size() - 3, 'L');
            const std::string line = head + last;
            ASSERT_EQ(line.size(), length);
            SCOPED_TRACE(std::to_string(length) + (end[0] == '\r' ? " CR LF" : " LF"));
            env.write("PXERROR.LOG", "");
            read("ECMST=C:\\MST\\\n" + line + end + "CRNTAREA=JP\n");
            const bool fits = env_line_fits(line);
            EXPECT_EQ(fits, length == kEnvLineMax);
            EXPECT_EQ(field(ctop::kExportPrograms + 6 * ctop::kExportProgramSize, 256), fits ? "C:\\P7.EXE" : "");
            EXPECT_EQ(field(ctop::kExportPrograms + 7 * ctop::kExportProgramSize, 256), fits ? last : "");
            EXPECT_EQ(get_i32(top + ctop::kAreaIndex), fits ? 3 : 0);
            EXPECT_EQ(reader_log().size(), fits ? 0u : 1u);
        }
    }
}

TEST_F(EnvReaderTest, PathCheck) {
    struct Case {
        const char* path;
        bool ok;
    };
    const Case cases[] = {
        {"C:\\MST\\ABCDEFGHI\\X", false},  // nine characters between backslashes
        {"C:\\MST\\ABCDEFGH\\X", true},
        {"C:\\MST\\ABCDEFGHI", true},      // the last name is not checked
        {"C:\\MST\\ABCDEFGHI\\", true},    // nor one whose backslash ends the path
        {"ABCDEFGHIJ\\X", true},           // nor the first
        {"\\ABCDEFGHI\\X", false},         // the first name is the empty one
        {"", true},
        {"C:\\MST\x7F", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        env.write("PXERROR.LOG", "");
        read(std::string("ECRAM=") + c.path + "\n");
        EXPECT_EQ(reader_log().empty(), c.ok);
        if (c.ok) {
            EXPECT_EQ(field(ctop::kWorkDir), c.path);
        }
    }
}

TEST_F(EnvReaderTest, LengthLimitsKeepTheFieldTerminated) {
    const std::string p63 = "C:\\" + std::string(60, 'A');
    read("ECRAM=" + p63 + "\n");
    EXPECT_TRUE(reader_log().empty());
    EXPECT_EQ(field(ctop::kWorkDir), p63);
    // 64 characters on a last line without a line feed would fill the field
    // to its end; it fails the check like the same line with its line feed.
    read("ECMST=" + p63 + "B");
    EXPECT_EQ(reader_log(), std::vector<std::string>{"PXDROM,kankyo_set," + p63 + "B,(5)(0)(478)"});
    EXPECT_EQ(field(ctop::kMasterDir), "");
}

TEST_F(EnvReaderTest, LanguageWords) {
    struct Case {
        const char* value;
        int no;  // 0: no word matches
    };
    const Case cases[] = {
        {"ENGLISH", 1}, {"english", 1}, {"JAPANESEX", 2}, {"French", 3}, {"GERMANY", 4},
        {"SPANISH", 5}, {" ENGLISH", 6}, {"OTHER", 9},    {"ITALIAN", 0}, {"GERMAN", 0},
    };
    for (const char* key : {"LANGUAGE", "MENULANG"}) {
        bool data = std::strcmp(key, "LANGUAGE") == 0;
        size_t code_at = data ? ctop::kDataLangCode : ctop::kMenuLangCode;
        size_t no_at = data ? ctop::kDataLangNo : ctop::kMenuLangNo;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(key) + "=" + c.value);
            env.write("PXERROR.LOG", "");
            read(std::string(key) + "=" + c.value + "\n");
            int no = c.no ? c.no : 1;  // a failed word leaves the default
            EXPECT_EQ(field(code_at, 3), std::string("0") + char('0' + no));
            EXPECT_EQ(top[code_at + 2], 0);
            EXPECT_EQ(get_i16(top + no_at), no);
            EXPECT_EQ(reader_log().size(), c.no ? 0u : 1u);
        }
    }
}

TEST_F(EnvReaderTest, CdDrivesDropMissingOnesAndStopAtTen) {
    read("CDROM=D:,Q:,E:\n");
    EXPECT_EQ(top[ctop::kDriveCount], 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(top + ctop::kDrives), 6), std::string("D:E:\0\0", 6));

    std::string list;
    for (char c = 'F'; c <= 'Q'; ++c) {
        env.map_drive(c, std::string("drive-") + c, plat::kDriveCdrom);
        list += std::string(list.empty() ? "" : ",") + c + ":";
    }
    pxtest::set_field(top, ctop::kWorkDir, ctop::kDirSize, "C:\\WORK");
    // Short and empty items are dropped; the second CDROM line replaces the first.
    read("ECRAM=C:\\WORK\nCDROM=D:\nCDROM=,X," + list + "\n");
    EXPECT_EQ(top[ctop::kDriveCount], 10);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(top + ctop::kDrives), 20), "F:G:H:I:J:K:L:M:N:O:");
    EXPECT_EQ(field(ctop::kWorkDir), "C:\\WORK");
    EXPECT_EQ(top[ctop::kDriveCountGuard], 0);
}

TEST_F(EnvReaderTest, CurrentArea) {
    struct Case {
        const char* line;
        int32_t index;
    };
    const Case cases[] = {
        {"CRNTAREA=EU\n", 0},   {"CRNTAREA=GR\n", 1},  {"CRNTAREA=US\r\n", 2}, {"CRNTAREA=JP", 3},
        {"CRNTAREA=XX\n", -1}, {"CRNTAREA=us\n", -1}, {"CRNTAREA=\n", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        env.write("PXERROR.LOG", "");
        read(c.line);
        EXPECT_EQ(get_i32(top + ctop::kAreaIndex), c.index);
        EXPECT_TRUE(reader_log().empty());
    }
}

TEST_F(EnvReaderTest, AreaDrives) {
    struct Case {
        const char* value;
        const char drives[9];  // E, G, U, J: letter and NUL each
    };
    const Case cases[] = {
        {"EU:C,GR:D,US:C,JP:E", "C\0D\0C\0E"},
        {"JP:E,US:D", "\0\0\0\0D\0E"},
        {"US:D,EU:", "\0\0\0\0D\0\0"},  // an item cut short stores nothing
        {"", "\0\0\0\0\0\0\0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        read(std::string("ECMSTALL=EU:X\nECMSTALL=") + c.value + "\n");
        EXPECT_EQ(std::string(reinterpret_cast<char*>(top + ctop::kAreaDrives), 8), std::string(c.drives, 8));
    }
}

TEST_F(EnvReaderTest, ExportProgramsHoldEightAtMost) {
    std::string value;
    for (int i = 1; i <= 10; ++i) value += (i > 1 ? ",p" : "p") + std::to_string(i);
    read("EXPPPNHO=" + value + "\n");
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(field(ctop::kExportPrograms + 256 * i, 256), "p" + std::to_string(i + 1));
    EXPECT_EQ(field(ctop::kSaveEditor, 256), "");
    EXPECT_TRUE(reader_log().empty());
}

TEST_F(EnvReaderTest, PriceDirectoriesFollowTheMasterDirectory) {
    // The drive lines may come before the master directory.
    read("PRICE=d:\nLOCALP=E:\nECMST=C:\\HBNMSTW2\n");
    EXPECT_EQ(field(ctop::kPriceDir), "D:\\HBNMSTW2");
    EXPECT_EQ(field(ctop::kLocalPriceDir), "E:\\HBNMSTW2");
    std::memset(top + ctop::kLocalPriceDir, 0, ctop::kDirSize);
    read("ECMST=C:\\MST\\\n");
    EXPECT_EQ(field(ctop::kPriceDir), "C:\\MST\\");
    EXPECT_EQ(field(ctop::kLocalPriceDir), "C:\\MST\\");
}

TEST_F(EnvReaderTest, LaterLineWinsAndOddKeysAreSkippedSilently) {
    read("ECRAM=C:\\A\nEcram=C:\\X\nECRAM =C:\\Y\nECRAMX=C:\\Z\n=C:\\W\nECRAM=C:\\B\n");
    EXPECT_EQ(field(ctop::kWorkDir), "C:\\B");
    EXPECT_TRUE(reader_log().empty());
    EXPECT_TRUE(scanned());
}

}  // namespace
