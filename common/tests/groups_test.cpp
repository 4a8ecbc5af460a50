#include "pxall/groups.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/group_layout.h"
#include "support/temp_env.h"

namespace {

namespace gf = pxall::grpfile;

std::string pad(const std::string& s, size_t n) {
    std::string out = s.substr(0, n);
    out.resize(n, ' ');
    return out;
}

// Group files written byte by byte from the layout, as another program would.
struct FileGroup {
    std::string code;
    std::string name;
    std::vector<std::string> pncs;
};

std::string name_image(const std::vector<FileGroup>& groups, int count_field = -1) {
    std::string img(gf::kNameFileSize, '\0');
    int count = count_field >= 0 ? count_field : static_cast<int>(groups.size());
    img[0] = static_cast<char>(count & 0xff);
    img[1] = static_cast<char>((count >> 8) & 0xff);
    for (size_t i = 0; i < groups.size(); ++i) {
        std::string slot = pad(groups[i].code, gf::kCodeLen) + pad(groups[i].name, gf::kNameLen);
        img.replace(gf::slot_offset(static_cast<int>(i) + 1), gf::kSlotSize, slot);
    }
    return img;
}

std::string code_image(const std::vector<FileGroup>& groups) {
    std::string img(gf::kCodeFileSize, ' ');
    for (size_t i = 0; i < groups.size(); ++i) {
        std::string rec;
        for (const auto& p : groups[i].pncs) rec += pad(p, gf::kPncLen);
        img.replace(gf::record_offset(static_cast<int>(i) + 1), rec.size(), rec);
    }
    return img;
}

class GroupsTest : public ::testing::Test {
protected:
    void SetUp() override {
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "C:\\MST");
        env.mkdir("MST");
        VBInitGrpTmp();
        hwnd = plat::register_control(&box);
    }
    void TearDown() override {
        VBTermGrpTmp();
        plat::unregister_control(hwnd);
        pxall::atomic_fail_next_commits(0, 0);
    }
    void write_files(const std::vector<FileGroup>& groups) {
        env.write("MST/PXGRPMEI.D", name_image(groups));
        env.write("MST/PXGRPPNC.D", code_image(groups));
    }
    std::string slots_of(const char* code) {
        const unsigned char* g = pxall::search_grptmp(code);
        return g ? std::string(reinterpret_cast<const char*>(g + pxall::grpitem::kSlots), gf::kRecordSize) : "";
    }
    std::string name_of(const char* code) {
        const unsigned char* g = pxall::search_grptmp(code);
        return g ? std::string(reinterpret_cast<const char*>(g + pxall::grpitem::kName), gf::kNameLen) : "";
    }
    std::vector<std::string> files_in_mst() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(env.root() + "/MST"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    pxtest::TempEnv env;
    plat::MemoryListBox box;
    int32_t hwnd = 0;
};

const std::vector<FileGroup> kThree = {
    {"BRK", "Brake service parts", {"47401A", "47402B", "04465C"}},
    {"FLT", "Filters", {"15601A", "17801C"}},
    {"WPR", "Wiper blades and refills", {}},
};

TEST_F(GroupsTest, WrittenFilesHaveTheLayoutAndReadBack) {
    for (const auto& g : kThree) ASSERT_EQ(VBSetGrpCd(g.code.c_str(), g.name.c_str()), 0);
    for (const auto& g : kThree) {
        unsigned char* item = pxall::search_grptmp(g.code.c_str());
        ASSERT_NE(item, nullptr);
        for (size_t i = 0; i < g.pncs.size(); ++i)
            std::memcpy(item + pxall::grpitem::kSlots + 6 * i, g.pncs[i].data(), 6);
    }
    ASSERT_EQ(VBwrite_group_file(), 0);

    // Exactly what an outside writer of the layout makes.
    std::string names = env.read("MST/PXGRPMEI.D");
    std::string codes = env.read("MST/PXGRPPNC.D");
    EXPECT_EQ(names, name_image(kThree));
    EXPECT_EQ(codes, code_image(kThree));
    ASSERT_EQ(codes.size(), 600000u);
    EXPECT_EQ(codes.find_first_not_of(' ', 3 * 600), std::string::npos);  // records 3-999 blank
    EXPECT_EQ(files_in_mst(), (std::vector<std::string>{"PXGRPMEI.D", "PXGRPPNC.D"}));  // no twin left

    VBTermGrpTmp();
    int16_t count = -1;
    ASSERT_EQ(VBread_group_file(&count), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(VBGetGrpNum(), 3);
    EXPECT_EQ(name_of("FLT"), pad("Filters", 60));
    EXPECT_EQ(slots_of("BRK").substr(0, 18), "47401A47402B04465C");
    EXPECT_EQ(slots_of("WPR"), std::string(600, ' '));

    VBMakeListGrpMei(hwnd);
    ASSERT_EQ(box.lines().size(), 3u);
    EXPECT_EQ(box.lines()[1], "  FLT     " + pad("Filters", 60));
    EXPECT_EQ(box.lines()[1].size(), 70u);
}

TEST_F(GroupsTest, ReadingNoGroupsAddsNothing) {
    write_files({});
    int16_t count = -1;
    ASSERT_EQ(VBread_group_file(&count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(VBGetGrpNum(), 0);
}

TEST_F(GroupsTest, ReadAppendsToTheTable) {
    write_files(kThree);
    ASSERT_EQ(VBSetGrpCd("NEW", "Kept"), 0);
    int16_t count = 0;
    ASSERT_EQ(VBread_group_file(&count), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(VBGetGrpNum(), 4);
}

TEST_F(GroupsTest, ThousandGroupsAndAHundredCodes) {
    std::vector<FileGroup> many;
    for (int i = 0; i < 1000; ++i) {
        char code[4];
        std::snprintf(code, sizeof code, "%03d", i);
        many.push_back({code, "Group " + std::string(code), {}});
    }
    for (int i = 0; i < 100; ++i) {
        char pnc[7];
        std::snprintf(pnc, sizeof pnc, "P%05d", i);
        many[999].pncs.push_back(pnc);
    }
    write_files(many);
    int16_t count = 0;
    ASSERT_EQ(VBread_group_file(&count), 0);
    EXPECT_EQ(count, 1000);
    EXPECT_EQ(slots_of("999").substr(594), "P00099");
    // The table is full: a new code is refused, a known one still renamed.
    EXPECT_EQ(VBSetGrpCd("XXX", "One too many"), 1);
    EXPECT_EQ(VBCheckGrpCd("XXX"), 0);
    EXPECT_EQ(VBSetGrpCd("500", "Renamed"), 0);
    // Reading again would pass 1000 groups: refused, the table as it was.
    EXPECT_EQ(VBread_group_file(&count), 20);
    EXPECT_EQ(VBGetGrpNum(), 1000);

    ASSERT_EQ(VBwrite_group_file(), 0);
    many[500].name = "Renamed";
    EXPECT_EQ(env.read("MST/PXGRPMEI.D"), name_image(many));
    EXPECT_EQ(env.read("MST/PXGRPPNC.D"), code_image(many));
}

TEST_F(GroupsTest, DamagedFilesGiveCodesAndLeaveTheTableAsItWas) {
    struct Case {
        const char* what;
        std::string names;  // empty: no file
        std::string codes;
        int32_t result;
        const char* log;
    };
    const std::string good_names = name_image(kThree);
    const std::string good_codes = code_image(kThree);
    const Case cases[] = {
        {"name file missing", "", good_codes, 11, "PXSUBG02,VBread_group_file,fopen,(11)(2)"},
        {"name file one byte short", good_names.substr(0, 63062), good_codes, 14,
         "PXSUBG02,VBread_group_file,fread,(14)(0)"},
        {"count beyond 1000", name_image(kThree, 1001), good_codes, 14, "PXSUBG02,VBread_group_file,fread,(14)(1001)"},
        {"count 65535", name_image(kThree, 65535), good_codes, 14, "PXSUBG02,VBread_group_file,fread,(14)(65535)"},
        {"part-code file missing", good_names, "", 11, "PXSUBG02,VBread_group_file,fopen,(11)(2)"},
        {"part-code file ends in the third group", good_names, good_codes.substr(0, 1500), 14,
         "PXSUBG02,VBread_group_file,fread,(14)(0)"},
        {"part-code file empty", good_names, std::string(), 14, "PXSUBG02,VBread_group_file,fread,(14)(0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(env.root() + "/MST/PXGRPMEI.D");
        std::filesystem::remove(env.root() + "/MST/PXGRPPNC.D");
        std::filesystem::remove(env.root() + "/PXERROR.LOG");
        if (!c.names.empty()) env.write("MST/PXGRPMEI.D", c.names);
        if (!c.codes.empty() || std::string(c.what) == "part-code file empty") env.write("MST/PXGRPPNC.D", c.codes);
        VBTermGrpTmp();
        ASSERT_EQ(VBSetGrpCd("OLD", "Held before"), 0);
        int16_t count = -7;
        EXPECT_EQ(VBread_group_file(&count), c.result);
        EXPECT_EQ(count, -7);
        EXPECT_EQ(VBGetGrpNum(), 1);
        EXPECT_EQ(VBCheckGrpCd("OLD"), 1);
        auto lines = env.log_lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind(c.log, 0), 0u) << lines[0];
    }
}

TEST_F(GroupsTest, FailedWriteLeavesThePreviousGroupsWhole) {
    write_files(kThree);
    const std::string names = env.read("MST/PXGRPMEI.D");
    const std::string codes = env.read("MST/PXGRPPNC.D");
    ASSERT_EQ(VBread_group_file(nullptr), 0);
    VBDelGrpCd("BRK");
    VBSetGrpCd("AAA", "Another");

    // The disk fills while the new files are put in place.
    pxall::atomic_fail_next_commits(1, ENOSPC);
    EXPECT_EQ(VBwrite_group_file(), 13);
    EXPECT_EQ(env.read("MST/PXGRPMEI.D"), names);
    EXPECT_EQ(env.read("MST/PXGRPPNC.D"), codes);
    EXPECT_EQ(files_in_mst(), (std::vector<std::string>{"PXGRPMEI.D", "PXGRPPNC.D"}));
    auto lines = env.log_lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("PXSUBG02,VBwrite_group_file,fwrite,(13)(28)", 0), 0u) << lines[0];

    // A folder that cannot take the new files: open fails, nothing changes.
    std::filesystem::permissions(env.root() + "/MST", std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    if (::access((env.root() + "/MST").c_str(), W_OK) != 0) {  // root writes anyway
        EXPECT_EQ(VBwrite_group_file(), 11);
        EXPECT_EQ(env.read("MST/PXGRPMEI.D"), names);
    }
    std::filesystem::permissions(env.root() + "/MST", std::filesystem::perms::owner_all);

    ASSERT_EQ(VBwrite_group_file(), 0);
    EXPECT_NE(env.read("MST/PXGRPMEI.D"), names);
}

TEST_F(GroupsTest, TableEditing) {
    EXPECT_EQ(VBSetGrpCd("E", "Engine"), 0);  // code blank-padded
    EXPECT_EQ(VBCheckGrpCd("E  "), 1);
    EXPECT_EQ(VBSetGrpCd("E", std::string(70, 'N').c_str()), 0);  // at most 60 taken
    EXPECT_EQ(name_of("E"), std::string(60, 'N'));
    EXPECT_EQ(slots_of("E"), std::string(600, ' '));

    char buf[10];
    std::memset(buf, '#', sizeof buf);
    VbString s{buf, 5};
    EXPECT_EQ(VBGetGrpName("E", &s), 1);
    EXPECT_EQ(std::string(buf, 10), "NNNNN#####");  // no byte past the caller's length
    EXPECT_EQ(VBGetGrpName("ZZZ", &s), 0);

    EXPECT_EQ(VBDelGrpCd("ZZZ"), 0);
    EXPECT_EQ(VBDelGrpCd("E"), 0);
    EXPECT_EQ(VBCheckGrpCd("E"), 0);
    EXPECT_EQ(VBGetGrpNum(), 0);
}

// A group's name under the Japanese menu language (code page 932): its 60
// places in the table and a caller's shorter string end before a double-byte
// character that does not fit whole, the place blank; a Latin menu cuts the
// bytes where they fall.
TEST_F(GroupsTest, JapaneseNameEndsBeforeACharacterThatDoesNotFit) {
    const std::string ka = "\x83\x4A";  // one character of two bytes
    std::string name = "A";
    for (int i = 0; i < 30; ++i) name += ka;  // 61 bytes
    const std::string short_name = "AB" + ka + ka;
    const struct {
        const char* lang;
        std::string given, stored, five;
    } cases[] = {
        {"02", name, name.substr(0, 59), "A" + ka + ka},
        {"01", name, name.substr(0, 60), "A" + ka + ka},
        {"02", short_name, short_name, "AB" + ka + " "},  // the caller's string ends inside a character
        {"01", short_name, short_name, "AB" + ka + "\x83"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, c.lang);
        ASSERT_EQ(VBSetGrpCd("J", c.given.c_str()), 0);
        EXPECT_EQ(name_of("J"), c.stored + std::string(60 - c.stored.size(), ' '));
        std::string buf(5, '#');
        VbString s{buf.data(), 5};
        EXPECT_EQ(VBGetGrpName("J", &s), 1);
        EXPECT_EQ(buf, c.five);
    }
    pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMenuLangCode, 3, "01");
}

TEST_F(GroupsTest, RemovingSelectedCodesMovesTheRestForward) {
    ASSERT_EQ(VBSetGrpCd("ALL", "Full group"), 0);
    unsigned char* g = pxall::search_grptmp("ALL");
    for (int i = 0; i < 100; ++i) {
        char pnc[7];
        std::snprintf(pnc, sizeof pnc, "C%05d", i);
        std::memcpy(g + pxall::grpitem::kSlots + 6 * i, pnc, 6);
        box.lb_add(std::string(pnc) + "  " + pad("name", 60));
    }
    box.lb_set_sel(0, true);
    box.lb_set_sel(1, true);
    box.lb_set_sel(50, true);
    ASSERT_EQ(VBDelGrpPnc(hwnd, "ALL"), 0);
    std::string slots = slots_of("ALL");
    EXPECT_EQ(slots.substr(0, 12), "C00002C00003");
    EXPECT_EQ(slots.substr(47 * 6, 12), "C00049C00051");
    EXPECT_EQ(slots.substr(96 * 6), "C00099" + std::string(18, ' '));
    ASSERT_EQ(box.lines().size(), 97u);
    EXPECT_EQ(box.lines()[0].substr(0, 6), "C00002");
}

TEST_F(GroupsTest, NameLookupInTheFile) {
    int32_t failure = -5;
    EXPECT_EQ(pxall::g_mei_f_check(), -1);  // no file
    EXPECT_EQ(pxall::g_mei_f_read("FLT", nullptr, &failure), -1);
    EXPECT_EQ(failure, 11);

    write_files({});
    EXPECT_EQ(pxall::g_mei_f_check(), 1);
    write_files(kThree);
    EXPECT_EQ(pxall::g_mei_f_check(), 0);

    char name[60];
    EXPECT_EQ(pxall::g_mei_f_read("WPR", name, &failure), 2);
    EXPECT_EQ(failure, 0);
    EXPECT_EQ(std::string(name, 60), pad("Wiper blades and refills", 60));
    EXPECT_EQ(pxall::g_mei_f_read("XYZ", name, &failure), -1);
    EXPECT_EQ(failure, 0);

    // The group past the first chunk of 100 slots.
    std::vector<FileGroup> many;
    for (int i = 0; i < 150; ++i) many.push_back({std::to_string(100 + i), "G", {}});
    write_files(many);
    EXPECT_EQ(pxall::g_mei_f_read("249", name, &failure), 149);

    env.write("MST/PXGRPMEI.D", name_image(many).substr(0, 6363 + 63));  // second chunk cut off
    EXPECT_EQ(pxall::g_mei_f_read("249", name, &failure), -1);
    EXPECT_EQ(failure, 14);
    env.write("MST/PXGRPMEI.D", name_image(many, 2000));
    EXPECT_EQ(pxall::g_mei_f_read("100", name, &failure), -1);
    EXPECT_EQ(failure, 14);
}

TEST_F(GroupsTest, RemakeMakesMissingAndShortFiles) {
    ASSERT_EQ(VBRemakeGpFile(), 0);
    EXPECT_EQ(env.read("MST/PXGRPMEI.D"), std::string(63063, '\0'));
    EXPECT_EQ(env.read("MST/PXGRPPNC.D"), std::string(600000, '\0'));
    EXPECT_FALSE(env.exists("MST/PXGRPMEI.BAD"));

    struct Case {
        size_t names, codes;
        bool names_remade, codes_remade;
    };
    const Case cases[] = {{6363, 30000, true, true}, {6364, 30001, false, false}, {63063, 600000, false, false},
                          {100, 600000, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names);
        env.write("MST/PXGRPMEI.D", std::string(c.names, 'x'));
        env.write("MST/PXGRPPNC.D", std::string(c.codes, 'y'));
        std::filesystem::remove(env.root() + "/MST/PXGRPMEI.BAD");
        std::filesystem::remove(env.root() + "/MST/PXGRPPNC.BAD");
        const size_t logged = env.log_lines().size();
        // A damaged file is kept aside whole and logged, and the caller
        // told, before the empty one is made.
        ASSERT_EQ(VBRemakeGpFile(), c.names_remade || c.codes_remade ? pxall::kRemadeDamaged : 0);
        EXPECT_EQ(env.read("MST/PXGRPMEI.D"), c.names_remade ? std::string(63063, '\0') : std::string(c.names, 'x'));
        EXPECT_EQ(env.read("MST/PXGRPPNC.D"), c.codes_remade ? std::string(600000, '\0') : std::string(c.codes, 'y'));
        EXPECT_EQ(env.exists("MST/PXGRPMEI.BAD"), c.names_remade);
        if (c.names_remade) {
            EXPECT_EQ(env.read("MST/PXGRPMEI.BAD"), std::string(c.names, 'x'));
        }
        EXPECT_EQ(env.exists("MST/PXGRPPNC.BAD"), c.codes_remade);
        if (c.codes_remade) {
            EXPECT_EQ(env.read("MST/PXGRPPNC.BAD"), std::string(c.codes, 'y'));
        }
        auto lines = env.log_lines();
        ASSERT_EQ(lines.size(), logged + (c.names_remade ? 1 : 0) + (c.codes_remade ? 1 : 0));
        if (c.names_remade) {
            EXPECT_EQ(lines[logged].rfind("PXSUBG01,remake_gpmei_file,PXGRPMEI.D damaged", 0), 0u) << lines[logged];
        }
    }

    // A rebuilt pair reads as no groups.
    env.write("MST/PXGRPMEI.D", "short");
    ASSERT_EQ(VBRemakeGpFile(), pxall::kRemadeDamaged);
    int16_t count = -1;
    EXPECT_EQ(VBread_group_file(&count), 0);
    EXPECT_EQ(count, 0);

    // A damaged file that cannot be kept aside is not replaced.
    env.write("MST/PXGRPMEI.D", "short");
    std::filesystem::remove(env.root() + "/MST/PXGRPMEI.BAD");
    env.mkdir("MST/PXGRPMEI.BAD");
    env.mkdir("MST/PXGRPMEI.BAD/X");
    EXPECT_EQ(VBRemakeGpFile(), 13);
    EXPECT_EQ(env.read("MST/PXGRPMEI.D"), "short");
}

TEST_F(GroupsTest, RemakeWithoutAnAnswerOnFreeSpace) {
    pxtest::set_field(pxall::get_ctop_addr(), pxall::ctop::kMasterDir, pxall::ctop::kDirSize, "Q:\\MST");
    EXPECT_EQ(VBRemakeGpFile(), -1);
    auto lines = env.log_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PXSUBG01,VBRemakeGpFile,GetDiskFreeSpace,(-1)(3)", 0), 0u) << lines[0];
}

}  // namespace
