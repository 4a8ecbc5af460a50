// Saved-list housekeeping on save masters and save data files written from
// their layout, and car names on a catalogue CD made by the data-set builder.
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>
#include <string>
#include <vector>

#include "fsav/fsav.h"
#include "fsav/save_list_layout.h"
#include "pxall/atomic_write.h"
#include "pxall/blocks.h"
#include "pxall/savefile_layout.h"
#include "pxbuild/bytes.h"
#include "pxbuild/demo_vcat.h"
#include "pxbuild/keyed_writer.h"
#include "support/keyed_fixture.h"

namespace {

using namespace pxall;
namespace sv = pxall::savefile;
namespace lr = pxfsav::listrec;

struct Entry {
    int no;
    unsigned char state;
    const char* date_time;  // DDMMYYHHMMSS
};

// A save master: the header, then entries 1 .. the highest given.
std::string master_image(int count, const std::vector<Entry>& entries) {
    int top = 0;
    for (const auto& e : entries) top = std::max(top, e.no);
    std::string m = pxbuild::Record(sv::kRecordSize, '\0').u16(sv::kHdrCount, count).u16(sv::kHdrNext, top + 1);
    for (int n = 1; n <= top; ++n) {
        pxbuild::Record r(sv::kRecordSize, '\0');
        for (const auto& e : entries)
            if (e.no == n) {
                r.fill(sv::kEntState, 1, static_cast<char>(e.state));
                r.text(sv::kEntDate, 12, e.date_time);
            }
        m += r.str();
    }
    return m;
}

// A save data file: the vehicle header and part records.
std::string data_image(const std::string& vin, const std::string& catalog, const std::string& frame_model,
                       const std::string& frame_no, const std::string& notes, int parts = 2) {
    std::string d = pxbuild::Record(sv::kDatHeaderSize)
                        .text(sv::kDatVin, sv::kDatVinSize, vin)
                        .text(sv::kDatVinFrame, sv::kDatVinFrameSize, vin.empty() ? "" : frame_no)
                        .text(sv::kDatVehicle, sv::kDatVehicleSize, "SAVED VEHICLE")
                        .text(sv::kDatCatalog, sv::kDatCatalogSize, catalog)
                        .text(sv::kDatProdDate, sv::kDatProdDateSize, "202203")
                        .text(sv::kDatFrameModel, sv::kDatFrameModelSize, frame_model)
                        .text(sv::kDatDash, 1, "-")
                        .text(sv::kDatFrameNo, sv::kDatFrameNoSize, frame_no)
                        .text(sv::kDatColor, sv::kDatColorSize, "1G3")
                        .text(sv::kDatTrim, sv::kDatTrimSize, "FA12")
                        .text(sv::kDatNotes, sv::kDatNotesSize, notes)
                        .num(sv::kDatNumber, sv::kDatNumberSize, 7);
    for (int i = 0; i < parts; ++i)
        d += pxbuild::Record(sv::kPartRecordSize).text(0, 12, "15601YZ001A1").text(12, 2, "01").str();
    return d;
}

std::string data_name(int n) {
    char b[32];
    std::snprintf(b, sizeof b, "MST/PXIF%04d.SAV", n);
    return b;
}

std::string text(const VbString& s) { return std::string(s.data, strnlen(s.data, s.len)); }

class FsavTest : public ::testing::Test {
protected:
    void TearDown() override { atomic_fail_next_commits(0, 0); }
    pxtest::TempEnv& env() { return k.env(); }
    void write_master(int count, const std::vector<Entry>& e) {
        env().write("MST/PXIFSMST.SAV", master_image(count, e));
    }
    void write_data(int n, const std::string& notes = "BRAKE JOB") {
        env().write(data_name(n), data_image("XPA1234567", "4410A1", "AVS16P1", "A123456", notes));
    }
    unsigned char state_of(int n) {
        return static_cast<unsigned char>(env().read("MST/PXIFSMST.SAV")[sv::entry_offset(n)]);
    }
    int32_t current() { return get_i32(get_ctop_addr() + ctop::kCurrentSaveNo); }
    // The listing: its result and its records.
    std::vector<std::string> list(int16_t* result, std::string* path = nullptr) {
        char buf[100];
        std::memset(buf, 'x', sizeof buf);
        VbString s{buf, 90};
        *result = fsav_exec_main(&s);
        if (path != nullptr) *path = text(s);
        std::string all = env().read("WORK/pxfsav.tmp");
        std::vector<std::string> recs;
        for (size_t at = 0; at + lr::kSize <= all.size(); at += lr::kSize) recs.push_back(all.substr(at, lr::kSize));
        EXPECT_EQ(all.size() % lr::kSize, 0u);
        return recs;
    }
    pxtest::KeyedEnv k;
};

TEST_F(FsavTest, ListingSkipsDeletedAndFreeEntriesAndNumbersTheLines) {
    write_master(3, {{1, sv::kStateUsed, "050324140709"},
                     {2, sv::kStateDeleted, "060324100000"},
                     {3, sv::kStateInUse, "070324111111"},
                     {5, sv::kStateUsed, "080324121212"}});
    for (int n : {1, 3, 5}) write_data(n);
    int16_t r = -1;
    std::string path;
    auto recs = list(&r, &path);
    ASSERT_EQ(r, 0);
    EXPECT_EQ(path, "C:\\WORK\\pxfsav.tmp");
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0], "010001XPA1234567A123456AVS16P1-A123456BRAKE JOB                     050324140709");
    EXPECT_EQ(recs[1].substr(0, 6), "020003") << "the in-use list is listed too";
    EXPECT_EQ(recs[2].substr(0, 6), "030005");
    EXPECT_EQ(recs[2].substr(lr::kDate, 12), "080324121212");
    EXPECT_TRUE(env().log_lines().empty());
}

// A list whose data file is gone, shorter than its header, or no file at
// all (a folder, a FIFO) is logged and listed as such, so that the clerk can
// delete it; the others are listed as ever.
TEST_F(FsavTest, ListingShowsAListWithoutReadableDataAsSuch) {
    std::vector<Entry> entries;
    for (int n = 1; n <= 6; ++n) entries.push_back({n, sv::kStateUsed, "050324140709"});
    write_master(6, entries);
    write_data(1);
    env().write(data_name(3), "SHORT");
    env().mkdir(data_name(4));
    ASSERT_EQ(::mkfifo((env().root() + "/" + data_name(5)).c_str(), 0644), 0);
    write_data(6);
    int16_t r = -1;
    auto recs = list(&r);
    ASSERT_EQ(r, 0);
    ASSERT_EQ(recs.size(), 6u);
    const std::string unreadable = std::string(lr::kNotes - lr::kVinFrame, ' ').replace(24, 1, "-") +
                                   "*** NO DATA FILE ***          050324140709";
    for (int n = 1; n <= 6; ++n) {
        char head[8];
        std::snprintf(head, sizeof head, "%02d%04d", n, n);
        EXPECT_EQ(recs[n - 1].substr(0, 6), head);
        if (n == 1 || n == 6)
            EXPECT_EQ(recs[n - 1].substr(lr::kVinFrame, 17), "XPA1234567A123456");
        else
            EXPECT_EQ(recs[n - 1].substr(lr::kVinFrame), unreadable) << n;
    }
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], "PXFSAV01,fsav_exec_main,open_save_dat_file,(-1)(2)(2)");
    EXPECT_EQ(log[1], "PXFSAV01,fsav_exec_main,read_save_dat_file,(14)(0)(4)");
    // An entry without its file is deleted like any other.
    EXPECT_EQ(fsav_svfile_delete(2), 0);
    EXPECT_EQ(state_of(2), sv::kStateDeleted);
}

TEST_F(FsavTest, RunningNumberWrapsAtAHundred) {
    std::vector<Entry> e;
    for (int n = 1; n <= 101; ++n) {
        e.push_back({n, sv::kStateUsed, "010124000000"});
        write_data(n);
    }
    write_master(101, e);
    int16_t r = -1;
    auto recs = list(&r);
    ASSERT_EQ(r, 0);
    ASSERT_EQ(recs.size(), 101u);
    EXPECT_EQ(recs[98].substr(0, 6), "990099");
    EXPECT_EQ(recs[99].substr(0, 6), "000100");
    EXPECT_EQ(recs[100].substr(0, 6), "010101");
}

TEST_F(FsavTest, ListingWithoutAMasterFailsWithItsPath) {
    int16_t r = 0;
    auto recs = list(&r);
    EXPECT_EQ(r, 11);
    EXPECT_TRUE(recs.empty());
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "PXFSAV01,fsav_exec_main,C:\\MST\\PXIFSMST.SAV,(11)(2)(7)");
}

TEST_F(FsavTest, CheckAndMarkFollowTheEntryState) {
    struct Case {
        int no;
        int16_t mark;
        int16_t result;
        unsigned char after;
    } cases[] = {
        {1, 0, 0, sv::kStateUsed},
        {1, 1, 0, sv::kStateInUse},
        {2, 0, 856, sv::kStateInUse},
        {2, 1, 858, sv::kStateInUse},
        {3, 0, 806, sv::kStateDeleted},
        {3, 1, 806, sv::kStateDeleted},
        {9, 1, 14, 0},
        {0, 1, 14, 0},
    };
    for (const auto& c : cases) {
        write_master(2, {{1, sv::kStateUsed, "050324140709"},
                         {2, sv::kStateInUse, "050324140709"},
                         {3, sv::kStateDeleted, "050324140709"}});
        std::string before = env().read("MST/PXIFSMST.SAV");
        EXPECT_EQ(fsav_check_saveFileflag(static_cast<int16_t>(c.no), c.mark), c.result) << c.no << "/" << c.mark;
        std::string after = env().read("MST/PXIFSMST.SAV");
        if (c.no >= 1 && c.no <= 3) {
            EXPECT_EQ(static_cast<unsigned char>(after[sv::entry_offset(c.no)]), c.after) << c.no << "/" << c.mark;
            after[sv::entry_offset(c.no)] = before[sv::entry_offset(c.no)];
        }
        EXPECT_EQ(after, before) << "only the state byte may change";
    }
    EXPECT_TRUE(env().log_lines().empty());
}

TEST_F(FsavTest, AMarkThatCannotBeWrittenLeavesTheMaster) {
    write_master(1, {{1, sv::kStateUsed, "050324140709"}});
    atomic_fail_next_commits(1, 28);
    EXPECT_EQ(fsav_check_saveFileflag(1, 1), 13);
    EXPECT_EQ(state_of(1), sv::kStateUsed);
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "PXFSAV01,fsav_check_saveFileflag,C:\\MST\\PXIFSMST.SAV,(13)(28)(7)");
}

TEST_F(FsavTest, DeleteRemovesTheFileAndMarksTheEntry) {
    write_master(2, {{1, sv::kStateUsed, "050324140709"}, {2, sv::kStateUsed, "050324140709"}});
    write_data(1);
    write_data(2);
    EXPECT_EQ(fsav_svfile_delete(2), 0);
    EXPECT_FALSE(env().exists(data_name(2)));
    EXPECT_TRUE(env().exists(data_name(1)));
    std::string m = env().read("MST/PXIFSMST.SAV");
    EXPECT_EQ(static_cast<unsigned char>(m[sv::entry_offset(2)]), sv::kStateDeleted);
    EXPECT_EQ(get_i16(reinterpret_cast<const unsigned char*>(m.data())), 1);

    // Deleted again: the file is gone, the master stays as it is.
    EXPECT_EQ(fsav_svfile_delete(2), 806);
    EXPECT_EQ(env().read("MST/PXIFSMST.SAV"), m);
    EXPECT_TRUE(env().log_lines().empty());
}

// An entry whose file is already gone (a crash of an older version between
// the two steps, a file removed by hand) is deleted all the same.
TEST_F(FsavTest, AListedEntryWithoutItsFileCanBeDeleted) {
    write_master(2, {{1, sv::kStateUsed, "050324140709"}, {2, sv::kStateInUse, "050324140709"}});
    write_data(1);
    EXPECT_EQ(fsav_svfile_delete(2), 0);
    EXPECT_EQ(state_of(2), sv::kStateDeleted);
    std::string m = env().read("MST/PXIFSMST.SAV");
    EXPECT_EQ(get_i16(reinterpret_cast<const unsigned char*>(m.data())), 1);
    EXPECT_EQ(fsav_svfile_delete(2), 806);
    EXPECT_TRUE(env().log_lines().empty());
}

// The entry goes first: a master that cannot be rewritten keeps the file.
TEST_F(FsavTest, ADeleteWhoseEntryCannotBeClearedKeepsTheFile) {
    write_master(1, {{1, sv::kStateUsed, "050324140709"}});
    write_data(1);
    atomic_fail_next_commits(1, 28);
    EXPECT_EQ(fsav_svfile_delete(1), 13);
    EXPECT_TRUE(env().exists(data_name(1)));
    EXPECT_EQ(state_of(1), sv::kStateUsed);
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("PXFSAV01,fsav_svfile_delete,deldata_save_mst_file,(13)(28)(2)", 0), 0u) << log[0];
}

TEST_F(FsavTest, CurrentSaveNumber) {
    char buf[80];
    VbString s{buf, sizeof buf};
    int16_t no = 0;
    EXPECT_EQ(fsad_check_flno(&no, &s), 807);

    no = 12;
    ASSERT_EQ(fsad_check_flno(&no, &s), 0);
    EXPECT_EQ(current(), 12);
    EXPECT_EQ(text(s), "C:\\MST\\PXIF0012.SAV");
    no = 0;
    ASSERT_EQ(fsad_check_flno(&no, &s), 0);
    EXPECT_EQ(no, 12);

    EXPECT_EQ(fsav_clear_SelSaveflno(), 0);
    EXPECT_EQ(current(), 0);

    // Back from in use: the entry is used again and nothing is current.
    write_master(1, {{3, sv::kStateInUse, "050324140709"}});
    put_i32(get_ctop_addr() + ctop::kCurrentSaveNo, 3);
    EXPECT_EQ(fsav_reset_mstflag(), 0);
    EXPECT_EQ(state_of(3), sv::kStateUsed);
    EXPECT_EQ(current(), 0);

    char small[6];
    VbString t{small, sizeof small};
    ASSERT_EQ(fsad_get_flname(&t), 0);
    EXPECT_EQ(std::string(small, 6), "C:\\WOR") << "cut to the string";
    ASSERT_EQ(fsad_get_flname(&s), 0);
    EXPECT_EQ(text(s), "C:\\WORK\\PXFSAD.TMP");
}

TEST_F(FsavTest, CarNameOfTheSavedListsCatalogue) {
    auto cd = k.make_cd("E1", "20240115");
    std::vector<std::string> names = {
        pxbuild::car_name_record({"4410A1", "ARVENA SEDAN", "4-DOOR SEDAN", "1803", "2312", "01"}),
        pxbuild::car_name_record({"5130C2", "BRISCA HATCH", "HATCHBACK", "2001", "2409", "01"}),
    };
    cd.put_keyed("", "SHAMEI.DAT", pxbuild::build_keyed("SHAMEI.DAT", names));
    k.install("E1", '1');
    env().write(data_name(1), data_image("", "5130C2", "BRH12P1", "B000001", ""));
    env().write(data_name(2), data_image("", "9999Z9", "BRH12P1", "B000001", ""));

    std::string from(6, '#'), to(3, '#'), name(30, '#');
    VbString f{from.data(), 6}, t{to.data(), 3}, n{name.data(), 30};
    ASSERT_EQ(fsad_get_shamei(1, &f, &t, &n), 0);
    EXPECT_EQ(from, "2001##");
    EXPECT_EQ(to, "240");
    EXPECT_EQ(name, "BRISCA HATCH        ##########");

    // A catalogue on no installed CD: blanks and no failure.
    ASSERT_EQ(fsad_get_shamei(2, &f, &t, &n), 0);
    EXPECT_EQ(from, "      ");
    EXPECT_EQ(name, std::string(30, ' '));

    EXPECT_EQ(fsad_get_shamei(3, &f, &t, &n), -1);
    auto log = env().log_lines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "PXFSAD00,fsad_get_shamei,open_save_dat_file,(-1)(2)(1)");
}

}  // namespace
