#include "pxall/savefile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "platform/clock.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/paths.h"
#include "support/temp_env.h"

namespace {

using namespace pxall;
namespace sv = pxall::savefile;

// A master image: header with count and next, then `records` entries with
// the given states (others zero).
std::string master(int count, int next, const std::map<int, char>& states, int records) {
    std::string m(sv::kRecordSize * static_cast<size_t>(records + 1), '\0');
    put_i16(reinterpret_cast<unsigned char*>(m.data()) + sv::kHdrCount, static_cast<int16_t>(count));
    put_i16(reinterpret_cast<unsigned char*>(m.data()) + sv::kHdrNext, static_cast<int16_t>(next));
    for (auto [n, s] : states) {
        m[sv::entry_offset(n)] = s;
        std::memcpy(&m[sv::entry_offset(n) + sv::kEntDate], "010199120000", 12);
    }
    return m;
}

int count_of(const std::string& m) {
    return static_cast<uint16_t>(get_i16(reinterpret_cast<const unsigned char*>(m.data())));
}
int next_of(const std::string& m) { return get_i16(reinterpret_cast<const unsigned char*>(m.data()) + 2); }
char state_of(const std::string& m, int n) { return m.size() > sv::entry_offset(n) ? m[sv::entry_offset(n)] : 0; }

class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::fix_clock(2024, 3, 5, 14, 7, 9);
        env.mkdir("MST");
        env.mkdir("WORK");
        pxtest::set_field(get_ctop_addr(), ctop::kMasterDir, ctop::kDirSize, "C:\\MST");
        pxtest::set_field(get_ctop_addr(), ctop::kWorkDir, ctop::kDirSize, "C:\\WORK");
    }
    void TearDown() override {
        int32_t err = 0;
        close_save_dat_file(nullptr, &err);
        atomic_fail_next_commits(0, 0);
        plat::unfix_clock();
    }

    std::string read_master() const { return env.read("MST/PXIFSMST.SAV"); }
    void write_master(const std::string& m) const { env.write("MST/PXIFSMST.SAV", m); }
    std::vector<std::string> mst_names() const {
        std::vector<std::string> v;
        for (const auto& e : std::filesystem::directory_iterator(env.root() + "/MST")) v.push_back(e.path().filename());
        std::sort(v.begin(), v.end());
        return v;
    }
    int32_t current_no() const { return get_i32(get_ctop_addr() + ctop::kCurrentSaveNo); }

    pxtest::TempEnv env;
};

TEST_F(SaveFileTest, NamesAreFullPathsOfTheirDirectories) {
    char buf[kPathSize];
    EXPECT_EQ(make_save_mst_file_name(buf), 0);
    EXPECT_STREQ(buf, "C:\\MST\\PXIFSMST.SAV");
    EXPECT_EQ(make_save_dat_file_name(42, buf), 0);
    EXPECT_STREQ(buf, "C:\\MST\\PXIF0042.SAV");
    EXPECT_EQ(make_save_dat_file_name(9999, buf), 0);
    EXPECT_STREQ(buf, "C:\\MST\\PXIF9999.SAV");
    EXPECT_EQ(make_pxintf_tmp_file_name(buf), 0);
    EXPECT_STREQ(buf, "C:\\MST\\PXINTF.TMP");
    EXPECT_EQ(make_intf_tmp_file_name(buf), 0);
    EXPECT_STREQ(buf, "C:\\WORK\\INTF.TMP");
    // A number with more than four digits has no file name.
    EXPECT_EQ(make_save_dat_file_name(10000, buf), -1);
    EXPECT_EQ(make_save_dat_file_name(-1, buf), -1);

    int32_t err = 0;
    std::FILE* fp = nullptr;
    EXPECT_EQ(open_save_dat_file(10000, 1, 1, &fp, &err), -1);
    EXPECT_EQ(err, kErrDataOpenName);
    EXPECT_EQ(del_save_dat_file(-5, &err), -1);
    EXPECT_EQ(err, kErrDataDelName);
}

TEST_F(SaveFileTest, MakeSaveMstCreatesTheStartImageOnlyWhenNeeded) {
    int32_t err = -1, count = -1;
    EXPECT_EQ(check_save_mst_file_exist(&count, &err), -1);
    EXPECT_EQ(make_save_mst(&err), 0);
    EXPECT_EQ(read_master(), master(0, 1, {}, 1));
    EXPECT_EQ(check_save_dat_file_exist(&count, &err), -1);
    EXPECT_EQ(count, 0);

    std::string kept = master(3, 7, {{1, 1}, {2, 'U'}, {6, 1}}, 6);
    write_master(kept);
    EXPECT_EQ(make_save_mst(&err), 0);
    EXPECT_EQ(read_master(), kept);
    EXPECT_EQ(check_save_dat_file_exist(&count, &err), 0);
    EXPECT_EQ(count, 3);

    // Too short to hold a count: made anew.
    write_master(std::string(1, '\x05'));
    EXPECT_EQ(check_save_mst_file_exist(nullptr, &err), 14);
    EXPECT_EQ(make_save_mst(&err), 0);
    EXPECT_EQ(read_master(), master(0, 1, {}, 1));
}

TEST_F(SaveFileTest, FreshMasterHandsOutOneThenTwoWithDateAndTime) {
    int32_t err = 0, no = 0;
    ASSERT_EQ(make_save_mst(&err), 0);
    ASSERT_EQ(get_save_no(&no, &err), 0);
    EXPECT_EQ(no, 1);
    ASSERT_EQ(get_save_no(&no, &err), 0);
    EXPECT_EQ(no, 2);
    std::string m = read_master();
    EXPECT_EQ(next_of(m), 3);
    EXPECT_EQ(count_of(m), 2);
    ASSERT_EQ(m.size(), 48u);
    EXPECT_EQ(m.substr(16, 16), std::string("\x01\0\0\0" "050324140709", 16));
    EXPECT_EQ(mst_names(), std::vector<std::string>{"PXIFSMST.SAV"});
}

TEST_F(SaveFileTest, NumberingSkipsKeptListsAndWrapsPast9999) {
    struct Case {
        const char* name;
        std::string before;
        int expect_no;
        int expect_next;
        int expect_count;
    };
    std::map<int, char> all_used;
    for (int n = 1; n <= 9999; ++n) all_used[n] = (n % 2) ? 1 : 'U';
    std::map<int, char> one_deleted = all_used;
    one_deleted[5000] = 'D';
    const Case cases[] = {
        {"next 9999 is handed out, next wraps to 1", master(4, 9999, {{1, 1}}, 9999), 9999, 1, 5},
        {"a used entry under the next number is skipped", master(2, 1, {{1, 1}, {2, 'U'}}, 3), 3, 4, 3},
        {"the wrap skips used entries too", master(3, 9999, {{9999, 1}, {1, 1}}, 9999), 2, 3, 4},
        {"a deleted entry is reused", master(9998, 9998, one_deleted, 9999), 5000, 5001, 9999},
        {"past the end of the file is free", master(1, 5, {{1, 1}}, 1), 5, 6, 2},
        {"next 0 takes the first free entry", master(2, 0, {{1, 1}, {2, 1}}, 9), 3, 4, 3},
        {"a hole of zero records is free", master(3, 3, {{1, 1}, {2, 1}, {4, 1}}, 4), 3, 4, 4},
        {"the count stops at 9999", master(9999, 12, {}, 20), 12, 13, 9999},
    };
    for (const Case& c : cases) {
        write_master(c.before);
        int32_t err = -1, no = 0;
        ASSERT_EQ(get_save_no(&no, &err), 0) << c.name;
        EXPECT_EQ(no, c.expect_no) << c.name;
        std::string m = read_master();
        EXPECT_EQ(next_of(m), c.expect_next) << c.name;
        EXPECT_EQ(count_of(m), c.expect_count) << c.name;
        EXPECT_EQ(state_of(m, no), 1) << c.name;
        // Every other entry is as it was.
        for (size_t i = 16; i < c.before.size(); ++i)
            if (i / 16 != static_cast<size_t>(no)) {
                ASSERT_EQ(m[i], c.before[i]) << c.name << " byte " << i;
            }
    }

    // Every number kept: refused, nothing written.
    std::string full = master(9999, 77, all_used, 9999);
    write_master(full);
    int32_t err = -1, no = -1;
    EXPECT_EQ(get_save_no(&no, &err), 1);
    EXPECT_EQ(no, 0);
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(read_master() == full);
}

TEST_F(SaveFileTest, NumberingAcrossTheWrapWithDeletions) {
    write_master(master(2, 9998, {{1, 1}, {2, 1}, {3, 'D'}}, 9999));
    std::vector<int> handed;
    for (int i = 0; i < 4; ++i) {
        int32_t err = 0, no = 0;
        ASSERT_EQ(get_save_no(&no, &err), 0);
        handed.push_back(no);
    }
    EXPECT_EQ(handed, (std::vector<int>{9998, 9999, 3, 4}));
    int32_t err = 0, count = 0;
    ASSERT_EQ(deldata_save_mst_file(9999, &count, &err), 0);
    EXPECT_EQ(count, 5);
    int32_t no = 0;
    ASSERT_EQ(get_save_no(&no, &err), 0);
    EXPECT_EQ(no, 5);
    EXPECT_EQ(count_of(read_master()), 6);
}

TEST_F(SaveFileTest, DeletingCountsOffOnlyListsThatExist) {
    struct Case {
        char state;
        int count_before;
        int count_after;
        char state_after;
    };
    const Case cases[] = {
        {1, 4, 3, 'D'}, {'U', 4, 3, 'D'}, {'D', 4, 4, 'D'}, {0, 4, 4, 0}, {1, 0, 0, 'D'},
    };
    for (const Case& c : cases) {
        std::string before = master(c.count_before, 9, {{3, c.state}}, 8);
        write_master(before);
        int32_t err = -1, count = -1;
        ASSERT_EQ(deldata_save_mst_file(3, &count, &err), 0) << int(c.state);
        EXPECT_EQ(count, c.count_after) << int(c.state);
        std::string m = read_master();
        EXPECT_EQ(count_of(m), c.count_after) << int(c.state);
        EXPECT_EQ(state_of(m, 3), c.state_after) << int(c.state);
        EXPECT_EQ(m.substr(48 + 4, 12), before.substr(48 + 4, 12));  // date and time stay
    }
    // Twice the same list: counted off once.
    write_master(master(2, 9, {{1, 1}, {2, 1}}, 8));
    int32_t err = 0, count = 0;
    deldata_save_mst_file(2, &count, &err);
    deldata_save_mst_file(2, &count, &err);
    EXPECT_EQ(count, 1);
    // Past the end of the file: free, nothing written.
    EXPECT_EQ(deldata_save_mst_file(500, &count, &err), 0);
    EXPECT_EQ(read_master().size(), 9u * 16);
    EXPECT_EQ(deldata_save_mst_file(0, &count, &err), 15);
    EXPECT_EQ(deldata_save_mst_file(10000, &count, &err), 15);
}

TEST_F(SaveFileTest, ResetTurnsInUseBackToUsedAndClearsTheCurrentNumber) {
    struct Case {
        char state;
        char after;
    };
    for (Case c : {Case{'U', 1}, Case{1, 1}, Case{'D', 'D'}}) {
        write_master(master(1, 9, {{4, c.state}}, 8));
        put_i32(get_ctop_addr() + ctop::kCurrentSaveNo, 4);
        int32_t err = -1;
        EXPECT_EQ(reset_save_mst_flag(&err), 0);
        EXPECT_EQ(state_of(read_master(), 4), c.after);
        EXPECT_EQ(current_no(), 0);
    }
    // None current: nothing opened.
    std::filesystem::remove(env.root() + "/MST/PXIFSMST.SAV");
    int32_t err = -1;
    EXPECT_EQ(reset_save_mst_flag(&err), 0);
    // Current but no master.
    put_i32(get_ctop_addr() + ctop::kCurrentSaveNo, 4);
    EXPECT_EQ(reset_save_mst_flag(&err), 11);
    EXPECT_EQ(err, ENOENT);
    // The entry lies past the end of the file.
    write_master(master(1, 9, {}, 2));
    EXPECT_EQ(reset_save_mst_flag(&err), 14);
    EXPECT_EQ(current_no(), 4);
}

TEST_F(SaveFileTest, DamagedMastersGiveReadErrorsAndStayUntouched) {
    struct Case {
        const char* name;
        std::string file;
        int get;  // get_save_no
        int del;  // deldata_save_mst_file(1)
        int check;
    };
    std::string big_count = master(12000, 3, {{1, 1}}, 4);
    std::string bad_next = master(1, -5, {{1, 1}}, 4);
    std::string over_next = master(1, 10001, {{1, 1}}, 4);
    const Case cases[] = {
        {"empty", "", 14, 14, 14},
        {"one byte", std::string(1, '\x01'), 14, 14, 14},
        {"header cut short", std::string("\x01\0\x02\0\0\0", 6), 14, 0, 0},
        {"count beyond 9999", big_count, 14, 14, 0},
        {"negative next", bad_next, 14, 0, 0},
        {"next beyond 9999", over_next, 14, 0, 0},
    };
    for (const Case& c : cases) {
        write_master(c.file);
        int32_t err = -1, no = -1, count = -1;
        EXPECT_EQ(get_save_no(&no, &err), c.get) << c.name;
        EXPECT_EQ(no, 0) << c.name;
        EXPECT_EQ(read_master(), c.file) << c.name;
        if (c.del != 0) {
            EXPECT_EQ(deldata_save_mst_file(1, &count, &err), c.del) << c.name;
            EXPECT_EQ(read_master(), c.file) << c.name;
        }
        EXPECT_EQ(check_save_mst_file_exist(&count, &err), c.check) << c.name;
    }
    EXPECT_EQ(mst_names(), std::vector<std::string>{"PXIFSMST.SAV"});
}

TEST_F(SaveFileTest, AFullDiskWhileSavingKeepsThePreviousFiles) {
    int32_t err = 0, no = 0, count = 0;
    // No master yet: none is left behind half made.
    atomic_fail_next_commits(1, ENOSPC);
    EXPECT_EQ(make_save_mst(&err), -1);
    EXPECT_EQ(err, ENOSPC);
    EXPECT_FALSE(env.exists("MST/PXIFSMST.SAV"));

    std::string before = master(1, 2, {{1, 1}}, 1);
    write_master(before);
    atomic_fail_next_commits(1, ENOSPC);
    EXPECT_EQ(get_save_no(&no, &err), 13);
    EXPECT_EQ(err, ENOSPC);
    EXPECT_EQ(no, 0);
    atomic_fail_next_commits(1, ENOSPC);
    EXPECT_EQ(deldata_save_mst_file(1, &count, &err), 13);
    EXPECT_EQ(read_master(), before);

    // A saved list rewritten on a full disk stays as it was.
    env.write("MST/PXIF0001.SAV", std::string(99, 'H') + "12345678901A01");
    std::FILE* fp = nullptr;
    ASSERT_EQ(open_save_dat_file(1, kSaveUpdateNew, 2, &fp, &err), 0);
    ASSERT_EQ(write_save_dat_file(fp, "new", 3, &err), 0);
    atomic_fail_next_commits(1, ENOSPC);
    EXPECT_EQ(close_save_dat_file(&fp, &err), 12);
    EXPECT_EQ(err, ENOSPC);
    EXPECT_EQ(fp, nullptr);
    EXPECT_EQ(env.read("MST/PXIF0001.SAV"), std::string(99, 'H') + "12345678901A01");
    EXPECT_EQ(mst_names(), (std::vector<std::string>{"PXIF0001.SAV", "PXIFSMST.SAV"}));
}

TEST_F(SaveFileTest, AFileSizeLimitFailsTheRealWriteAndKeepsTheMaster) {
    // The system refuses to grow any file past 4096 bytes, as a full disk
    // would: the new entry 1000 lies beyond.
    std::string before = master(0, 1000, {}, 10);
    write_master(before);
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int32_t err = 0, no = 0;
    int r = get_save_no(&no, &err);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(r, 13);
    EXPECT_EQ(err, EFBIG);
    EXPECT_EQ(read_master(), before);
    EXPECT_EQ(mst_names(), std::vector<std::string>{"PXIFSMST.SAV"});
}

TEST_F(SaveFileTest, SaveDataFilesWriteReadAndSeek) {
    int32_t err = -1;
    std::FILE* fp = nullptr;
    ASSERT_EQ(open_save_dat_file(7, kSaveUpdateNew, 3, &fp, &err), 0);
    std::string body = std::string(99, 'V') + "12345678901A02" + "98765432100B10";
    ASSERT_EQ(write_save_dat_file(fp, body.data(), static_cast<int32_t>(body.size()), &err), 0);
    EXPECT_FALSE(env.exists("MST/PXIF0007.SAV"));  // nothing in place before the close
    ASSERT_EQ(close_save_dat_file(&fp, &err), 0);
    EXPECT_EQ(env.read("MST/PXIF0007.SAV"), body);

    ASSERT_EQ(open_save_dat_file(7, kSaveUpdateInPlace, 1, &fp, &err), 0);
    int32_t pos = -1;
    ASSERT_EQ(seek_save_dat_file(fp, 99 + 14, &pos, &err), 0);
    EXPECT_EQ(pos, 113);
    char rec[14];
    ASSERT_EQ(read_save_dat_file(fp, rec, 14, &err), 0);
    EXPECT_EQ(std::string(rec, 14), "98765432100B10");
    EXPECT_EQ(read_save_dat_file(fp, rec, 14, &err), 14);  // past the last record
    EXPECT_EQ(err, 0);
    EXPECT_EQ(seek_save_dat_file(fp, -1, nullptr, &err), 15);
    EXPECT_EQ(err, EINVAL);
    ASSERT_EQ(close_save_dat_file(&fp, &err), 0);
    EXPECT_EQ(close_save_dat_file(&fp, &err), 0);  // none open

    // An update in place keeps what it does not overwrite.
    ASSERT_EQ(open_save_dat_file(7, kSaveUpdateInPlace, 2, &fp, &err), 0);
    seek_save_dat_file(fp, 99 + 12, nullptr, &err);
    write_save_dat_file(fp, "05", 2, &err);
    ASSERT_EQ(close_save_dat_file(&fp, &err), 0);
    EXPECT_EQ(env.read("MST/PXIF0007.SAV"), std::string(99, 'V') + "12345678901A05" + "98765432100B10");

    EXPECT_EQ(open_save_dat_file(8, kSaveUpdateInPlace, 1, &fp, &err), -1);
    EXPECT_EQ(open_save_dat_file(8, kSaveUpdateInPlace, 3, &fp, &err), -1);
    EXPECT_EQ(open_save_dat_file(7, 5, 3, &fp, &err), 11);
    EXPECT_EQ(open_save_dat_file(7, 1, 9, &fp, &err), 11);

    EXPECT_EQ(del_save_dat_file(7, &err), 0);
    EXPECT_FALSE(env.exists("MST/PXIF0007.SAV"));
    EXPECT_EQ(del_save_dat_file(7, &err), -1);
    EXPECT_EQ(err, ENOENT);
}

TEST_F(SaveFileTest, TheCurrentSavedListLivesFromOpenToClose) {
    env.write("MST/PXIF0012.SAV", std::string(99, 'V'));
    int32_t err = 0;
    EXPECT_EQ(check_save_dat_file_handle(), -1);
    ASSERT_EQ(open_save_dat_file(12, kSaveUpdateInPlace, 1, nullptr, &err), 0);
    EXPECT_EQ(current_no(), 12);
    EXPECT_EQ(check_save_dat_file_handle(), 0);
    char buf[99];
    EXPECT_EQ(read_save_dat_file(current_save_dat_file(), buf, 99, &err), 0);

    // Opening another one closes the first.
    ASSERT_EQ(open_save_dat_file(12, kSaveUpdateInPlace, 3, nullptr, &err), 0);
    write_save_dat_file(current_save_dat_file(), "XX", 2, &err);
    EXPECT_EQ(env.read("MST/PXIF0012.SAV"), std::string(99, 'V'));
    EXPECT_EQ(close_save_dat_file(nullptr, &err), 0);
    EXPECT_EQ(current_no(), 0);
    EXPECT_EQ(check_save_dat_file_handle(), -1);
    EXPECT_EQ(env.read("MST/PXIF0012.SAV"), "XX" + std::string(97, 'V'));
}

TEST_F(SaveFileTest, AccessDeniedIsMinusTwo) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    write_master(master(1, 2, {{1, 1}}, 1));
    std::filesystem::permissions(env.root() + "/MST/PXIFSMST.SAV", std::filesystem::perms::none);
    int32_t err = 0, no = 0;
    EXPECT_EQ(check_save_mst_file_exist(nullptr, &err), -2);
    EXPECT_EQ(get_save_no(&no, &err), -2);
    EXPECT_EQ(make_save_mst(&err), -2);  // an unreadable master is not made anew
    std::filesystem::permissions(env.root() + "/MST/PXIFSMST.SAV", std::filesystem::perms::owner_all);
    EXPECT_EQ(read_master(), master(1, 2, {{1, 1}}, 1));
}

TEST_F(SaveFileTest, VehicleHeaderComesFromTheCurrentVehicle) {
    unsigned char* car = get_ccar_addr();
    auto put = [&](size_t at, const std::string& s) { std::memcpy(car + at, s.data(), s.size()); };
    put(ccar::kCatalog, "12345A");
    put(ccar::kSaveVehicle, "SEDAN 2.0 GL");  // NUL-padded to 15
    put(ccar::kFrameModel, "AB12");
    put(ccar::kFrameNo, "0123456");
    put(ccar::kProdDate, "202403");
    put(ccar::kColorNo, "040");
    put(ccar::kTrimNo, "FB20");
    put(ccar::kNotes, "left hand drive");

    char h[99];
    set_save_file_vdata(h, 7, nullptr);
    EXPECT_EQ(std::string(h, 99), std::string(17, ' ') + "SEDAN 2.0 GL   " + "12345A" + "202403" + "AB12   " + "-" +
                                      "0123456" + "040" + "FB20" + "left hand drive" + std::string(15, ' ') + "007");

    put(ccar::kVinPrefix, "JT1AB12C3D");
    char caller[99];
    std::memset(caller, 'n', sizeof caller);
    caller[70] = '\0';
    set_save_file_vdata(h, 1234, caller);
    std::string got(h, 99);
    EXPECT_EQ(got.substr(0, 17), "JT1AB12C3D0123456");
    EXPECT_EQ(got.substr(66, 30), "nnnn nnnnnnnnnnnnnnnnnnnnnnnnn");
    EXPECT_EQ(got.substr(96), "234");
    EXPECT_EQ(got.find('\0'), std::string::npos);

    // A VIN without a frame number: the VIN alone.
    std::memset(car + ccar::kFrameNo, 0, 7);
    set_save_file_vdata(h, 0, h);  // the caller's header may be this buffer
    got.assign(h, 99);
    EXPECT_EQ(got.substr(0, 17), "JT1AB12C3D       ");
    EXPECT_EQ(got.substr(52, 7), "       ");
    EXPECT_EQ(got.substr(66, 30), "nnnn nnnnnnnnnnnnnnnnnnnnnnnnn");
    EXPECT_EQ(got.substr(96), "000");
}

}  // namespace
