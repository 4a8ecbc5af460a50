#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/files.h"
#include "scratch.h"

namespace {

using plattest::ScratchTest;

class TextIoTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        make_dir("c/MST");
        write("c/pxdrom.sys", "env");
        plat::set_drive('C', at("c"));
    }
};

TEST_F(TextIoTest, FopenTranslatesAndKeepsNewNamesAsWritten) {
    std::FILE* fp = plat::fopen("C:\\PXDROM.SYS", "rt");
    ASSERT_NE(fp, nullptr);
    char buf[8];
    EXPECT_EQ(std::fread(buf, 1, sizeof buf, fp), 3u);
    std::fclose(fp);

    fp = plat::fopen("c:\\mst\\New.Txt", "wb");
    ASSERT_NE(fp, nullptr);
    std::fputs("a\r\n", fp);
    std::fclose(fp);
    EXPECT_EQ(read("c/MST/New.Txt"), "a\r\n");

    fp = plat::fopen("C:\\MST\\NEW.TXT", "a+t");  // the existing file, whatever the case
    ASSERT_NE(fp, nullptr);
    std::fputs("b", fp);
    std::fclose(fp);
    EXPECT_EQ(read("c/MST/New.Txt"), "a\r\nb");

    errno = 0;
    EXPECT_EQ(plat::fopen("Q:\\X.TXT", "rt"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(plat::fopen("C:\\NONE.TXT", "r"), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(TextIoTest, OpenTranslates) {
    int fd = plat::open("C:\\MST\\Work.Bin", O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "xy", 2), 2);
    ::close(fd);
    EXPECT_EQ(read("c/MST/Work.Bin"), "xy");
    fd = plat::open("c:\\mst\\work.bin", O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    ::close(fd);

    errno = 0;
    EXPECT_EQ(plat::open("Q:\\X", O_RDONLY, 0), -1);
    EXPECT_EQ(errno, ENOENT);
}

// Reads a whole stream with fgets_text and a buffer of `size` bytes.
std::vector<std::string> read_lines(const std::string& bytes, int size) {
    std::FILE* fp = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), fp);
    std::rewind(fp);
    std::vector<std::string> lines;
    std::vector<char> buf(size + 8, '#');
    while (plat::fgets_text(buf.data(), size, fp) != nullptr) {
        std::string line(buf.data());
        EXPECT_LT(line.size(), static_cast<size_t>(size));
        EXPECT_EQ(buf[size], '#');  // nothing written past the buffer
        lines.push_back(line);
    }
    EXPECT_FALSE(std::ferror(fp));
    std::fclose(fp);
    return lines;
}

TEST(FgetsTextTest, CountsAsWindowsTextMode) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* name;
        std::string bytes;
        int size;
        Lines lines;
    } cases[] = {
        {"crlf", "ab\r\ncd\r\n", 16, {"ab\n", "cd\n"}},
        {"lf", "ab\ncd\n", 16, {"ab\n", "cd\n"}},
        {"lone cr stays", "a\rb\n", 16, {"a\rb\n"}},
        {"cr at end", "a\r", 16, {"a\r"}},
        {"cr cr lf", "\r\r\n", 16, {"\r\n"}},
        {"no last newline", "ab\r\nlast", 16, {"ab\n", "last"}},
        {"empty", "", 16, {}},
        {"long line", "abcdefgh\r\n", 4, {"abc", "def", "gh\n"}},
        // The CR does not count: "ab" + CR LF fits 3 bytes.
        {"pair fits", "ab\r\nx", 4, {"ab\n", "x"}},
        {"pair splits", "ab\r\nx", 3, {"ab", "\n", "x"}},
        {"exact length", "abc\r\n", 4, {"abc", "\n"}},
    };
    for (const auto& c : cases) EXPECT_EQ(read_lines(c.bytes, c.size), c.lines) << c.name;
}

TEST(FgetsTextTest, BadArguments) {
    char buf[4];
    EXPECT_EQ(plat::fgets_text(buf, 4, nullptr), nullptr);
    EXPECT_EQ(plat::fgets_text(buf, 0, stdin), nullptr);
    EXPECT_EQ(plat::fgets_text(nullptr, 4, stdin), nullptr);
}

TEST_F(TextIoTest, RewriteInPlaceLeavesExactlyWhatWasWritten) {
    // Each write over what the one before left: longer, shorter, nothing.
    const char* contents[] = {"first line\r\n", "a much longer second text\r\n", "short", "", "again\r\n"};
    struct stat before {};
    for (const char* text : contents) {
        SCOPED_TRACE(text);
        std::FILE* fp = plat::fopen_rewrite("C:\\MST\\KKWD.TMP");
        ASSERT_NE(fp, nullptr);
        std::fputs(text, fp);
        ASSERT_EQ(plat::fclose_rewrite(fp), 0);
        EXPECT_EQ(read("c/MST/KKWD.TMP"), text);
        struct stat now {};
        ASSERT_EQ(::stat(at("c/MST/KKWD.TMP").c_str(), &now), 0);
        if (before.st_ino != 0) EXPECT_EQ(now.st_ino, before.st_ino);  // the same file, never made anew
        before = now;
    }
    errno = 0;
    EXPECT_EQ(plat::fopen_rewrite("C:\\NOFOLDER\\X.TMP"), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
