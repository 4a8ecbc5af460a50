// The demo installed through the set-up, as a dealer installs it, against
// the demo the builder installs itself: the same data sets, prices and local
// parts, so that every screen reads the same records either way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "demo_setup.h"
#include "platform/drives.h"
#include "pxbuild/demo_install.h"

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file below a folder by its path relative to it, upper case.
std::map<std::string, fs::path> files_below(const fs::path& dir) {
    std::map<std::string, fs::path> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        std::string rel = fs::relative(e.path(), dir).string();
        for (char& c : rel) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        out[rel] = e.path();
    }
    return out;
}

class DemoSetup : public ::testing::Test {
protected:
    fs::path root;
    std::string saved_cwd = fs::current_path().string();
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "pxdemosetup-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        root = tmpl;
    }
    void TearDown() override {
        plat::clear_drives();
        fs::current_path(saved_cwd);
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

TEST_F(DemoSetup, GivesTheBuildersInstallation) {
    pxbuild::write_demo((root / "built").string());
    pxbuild::write_demo_media((root / "setup").string());
    ASSERT_EQ(pxdemo::install_demo_through_setup((root / "setup").string()), "");

    // Data sets, prices, local parts and pictures: the same files with the
    // same bytes, but for the date and time of the set-up in the masters'
    // headers (bytes 8-21).
    for (const char* dir : {"c/MST", "c/FRW", "p"}) {
        auto built = files_below(root / "built" / dir), setup = files_below(root / "setup" / dir);
        for (const auto& [name, path] : built) {
            ASSERT_TRUE(setup.count(name)) << dir << "/" << name << " is missing";
            std::string a = read(path), b = read(setup[name]);
            ASSERT_EQ(a.size(), b.size()) << dir << "/" << name;
            if (name.size() > 4 && name.substr(name.size() - 4) == ".MST" && name.find("PRICE") == std::string::npos &&
                name.find("LOCAL") == std::string::npos && a.size() >= 22) {
                a.replace(8, 14, 14, ' ');
                b.replace(8, 14, 14, ' ');
            }
            EXPECT_TRUE(a == b) << dir << "/" << name << " differs";
        }
        for (const auto& [name, path] : setup) EXPECT_TRUE(built.count(name)) << dir << "/" << name << " is extra";
    }
    // The environment file names the same directories and data sets.
    EXPECT_EQ(read(root / "setup/c/PXDROM/PXDROM.SYS"), read(root / "built/c/PXDROM/PXDROM.SYS"));
    // The set-up leaves no work file behind, only the environment file as
    // it was before (PXDROM.BAK).
    for (const auto& e : fs::directory_iterator(root / "setup/c/PXDROM/WORK"))
        EXPECT_EQ(e.path().filename(), "PXDROM.BAK");
    EXPECT_FALSE(fs::exists(root / "setup/c/PXDROM/PXERROR.LOG"));
}

}  // namespace
