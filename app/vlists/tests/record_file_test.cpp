// Reading the lists' work files: paths out of a library's buffer, records
// only within the file.
#include <gtest/gtest.h>

#include "platform/drives.h"
#include "support/fixture.h"
#include "vlists/record_file.h"

namespace pxtest {
namespace {

using px::vlists::path_of;
using px::vlists::RecordFile;

TEST(RecordFileTest, PathCutAtTheFirstNulAndTrimmed) {
    struct Case {
        std::string buffer;
        std::string path;
    } cases[] = {
        {std::string("C:\\WORK\\A.TMP\0junk", 18), "C:\\WORK\\A.TMP"},
        {std::string("  C:\\B.TMP  \0\0\0", 15), "C:\\B.TMP"},
        {std::string(80, 'P'), std::string(80, 'P')},  // a full buffer: its own length, no further
        {std::string(80, '\0'), ""},
        {std::string(80, ' '), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(path_of(c.buffer), c.path);
}

TEST(RecordFileTest, RecordsOnlyWithinTheFile) {
    Installation inst(false);
    std::string error;
    ASSERT_TRUE(plat::load_drive_table(inst.root() + "/PXDRIVES.SYS", &error)) << error;
    inst.write("WORK/L.TMP", std::string(10, 'a') + std::string(10, 'b') + "cc");
    RecordFile f(10);
    ASSERT_EQ(f.open("C:\\WORK\\L.TMP"), 0);
    EXPECT_EQ(f.count(), 2u);
    EXPECT_EQ(f.record(1), std::string(10, 'b'));
    EXPECT_TRUE(f.record(2).empty());  // the trailing piece is no record
    EXPECT_EQ(f.at(20, 2), "cc");
    EXPECT_TRUE(f.at(20, 3).empty());
    EXPECT_TRUE(f.at(static_cast<size_t>(-1), 2).empty());
    EXPECT_EQ(f.open("C:\\WORK\\NONE.TMP"), px::vlists::kErrFileNotFound);
    EXPECT_EQ(f.count(), 0u);
    EXPECT_EQ(f.open(""), px::vlists::kErrBadFileName);
}

}  // namespace
}  // namespace pxtest
