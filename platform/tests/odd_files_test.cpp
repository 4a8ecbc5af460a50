// A FIFO, socket or device under a file name is refused at once, never
// waited on: a FIFO without a writer would hold a reader for ever.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "scratch.h"

namespace {

using plattest::ScratchTest;

// A hang becomes a failed test instead of a run that never ends.
struct Deadline {
    Deadline() { ::alarm(20); }
    ~Deadline() { ::alarm(0); }
};

class OddFilesTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        make_dir("c/MST");
        make_dir("cd");
        plat::set_drive('C', at("c"));
        ASSERT_EQ(::mkfifo(at("c/MST/FIFO.DAT").c_str(), 0666), 0);
        ASSERT_EQ(::mkfifo(at("cd/.volume-label").c_str(), 0666), 0);
        ASSERT_EQ(::mkfifo(at("c/PXDRIVES.SYS").c_str(), 0666), 0);
        ASSERT_EQ(::symlink("/dev/zero", at("c/MST/DEVICE.DAT").c_str()), 0);
        int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(s, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::string path = at("c/MST/SOCKET.DAT");
        if (path.size() < sizeof addr.sun_path) {
            std::strcpy(addr.sun_path, path.c_str());
            has_socket_ = ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        }
        ::close(s);
        plat::set_drive('D', at("cd"), plat::kDriveCdrom);
    }
    bool has_socket_ = false;
    Deadline deadline_;
};

TEST_F(OddFilesTest, EveryOpenOfAFifoDeviceOrSocketIsRefusedAsAccessDenied) {
    std::vector<std::string> names = {"C:\\MST\\FIFO.DAT", "C:\\MST\\DEVICE.DAT"};
    if (has_socket_) names.push_back("C:\\MST\\SOCKET.DAT");
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const bool device = name == "C:\\MST\\DEVICE.DAT";
        for (const char* mode : {"rb", "rt", "r+b", "wb", "w+b", "a+t"}) {
            SCOPED_TRACE(mode);
            if (device && mode[0] == 'w') continue;  // replaced, never read: below
            errno = 0;
            plat::set_last_error(0);
            std::FILE* fp = plat::fopen(name, mode);
            EXPECT_EQ(fp, nullptr);
            if (fp != nullptr) std::fclose(fp);
            EXPECT_EQ(errno, EACCES);
            EXPECT_EQ(plat::last_error(), plat::kErrAccessDenied);
        }
        for (int flags : {O_RDONLY, O_RDWR, O_WRONLY, O_WRONLY | O_CREAT | O_TRUNC}) {
            if (device && (flags & O_TRUNC)) continue;
            errno = 0;
            int fd = plat::open(name, flags, 0666);
            EXPECT_EQ(fd, -1) << flags;
            if (fd >= 0) ::close(fd);
            EXPECT_EQ(errno, EACCES) << flags;
        }
        EXPECT_FALSE(plat::copy_file(name, "C:\\MST\\COPY.DAT", false));
        EXPECT_FALSE(plat::file_exists("C:\\MST\\COPY.DAT"));
    }
}

// A device may take bytes that replace a file (the always-full device stands
// for a full disk), but is never read.
TEST_F(OddFilesTest, ADeviceIsOnlyWrittenOver) {
    std::FILE* fp = plat::fopen("C:\\MST\\DEVICE.DAT", "wb");
    ASSERT_NE(fp, nullptr);
    std::fclose(fp);
    for (const char* mode : {"wb", "w+b", "a"}) {
        fp = plat::fopen("C:\\MST\\FIFO.DAT", mode);
        EXPECT_EQ(fp, nullptr) << mode;
        if (fp != nullptr) std::fclose(fp);
    }
}

TEST_F(OddFilesTest, AVolumeLabelOrDriveTableThatIsAFifoIsNotWaitedOn) {
    std::string label = "unchanged";
    EXPECT_FALSE(plat::volume_label("D:\\", &label));
    EXPECT_EQ(plat::last_error(), plat::kErrAccessDenied);
    EXPECT_EQ(label, "unchanged");

    std::string error;
    EXPECT_FALSE(plat::load_drive_table(at("c/PXDRIVES.SYS"), &error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

TEST_F(OddFilesTest, RegularFilesAndFoldersStillOpenAsBefore) {
    write("c/MST/PLAIN.DAT", "abc");
    std::FILE* fp = plat::fopen("C:\\MST\\PLAIN.DAT", "r+b");
    ASSERT_NE(fp, nullptr);
    // The stream blocks as usual: the non-blocking look is taken off again.
    EXPECT_EQ(::fcntl(::fileno(fp), F_GETFL) & O_NONBLOCK, 0);
    char buf[4] = {};
    EXPECT_EQ(std::fread(buf, 1, 3, fp), 3u);
    std::fclose(fp);
    int fd = plat::open("C:\\MST", O_RDONLY | O_DIRECTORY, 0);
    EXPECT_GE(fd, 0);
    if (fd >= 0) ::close(fd);
    // A folder where a file is meant is still refused.
    EXPECT_EQ(plat::open("C:\\MST", O_RDONLY, 0), -1);
    fp = plat::fopen("C:\\MST\\NEW.DAT", "wx");
    ASSERT_NE(fp, nullptr);
    std::fclose(fp);
    EXPECT_EQ(plat::fopen("C:\\MST\\NEW.DAT", "wx"), nullptr);
    EXPECT_EQ(errno, EEXIST);
}

}  // namespace

namespace {

// A whole file for a screen: what is no regular file cannot be opened, a
// file beyond the bound of its kind is never read into memory.
TEST_F(OddFilesTest, AWholeFileReadIsRegularAndBounded) {
    write("c/MST/PICTURE.BMP", std::string(1000, 'p'));
    make_dir("c/MST/FOLDER.BMP");
    const struct {
        const char* name;
        size_t limit;
        plat::ReadWhole want;
        size_t size;
    } cases[] = {
        {"C:\\MST\\PICTURE.BMP", 1000, plat::ReadWhole::kDone, 1000},
        {"C:\\MST\\PICTURE.BMP", 999, plat::ReadWhole::kTooLarge, 0},
        {"C:\\MST\\NONE.BMP", 1000, plat::ReadWhole::kNotFound, 0},
        {"C:\\NODIR\\NONE.BMP", 1000, plat::ReadWhole::kNotFound, 0},
        {"Q:\\NONE.BMP", 1000, plat::ReadWhole::kNotFound, 0},
        {"C:\\MST\\FIFO.DAT", 1000, plat::ReadWhole::kCannotOpen, 0},
        {"C:\\MST\\DEVICE.DAT", 1u << 20, plat::ReadWhole::kCannotOpen, 0},
        {"C:\\MST\\FOLDER.BMP", 1000, plat::ReadWhole::kCannotOpen, 0},
    };
    for (const auto& c : cases) {
        std::string bytes = "old";
        EXPECT_EQ(plat::read_whole_file(c.name, c.limit, &bytes), c.want) << c.name << " " << c.limit;
        EXPECT_EQ(bytes.size(), c.size) << c.name;
    }
}

}  // namespace
