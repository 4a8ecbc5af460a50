// A scratch folder per test, and the platform's process-wide state (drive
// table, current directory, clock, message-box hook) reset around each test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/msgbox.h"

namespace plattest {

class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "pxplat-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        root_ = std::filesystem::canonical(tmpl).string();
        saved_cwd_ = std::filesystem::current_path().string();
        plat::clear_drives();
        plat::set_last_error(0);
    }
    void TearDown() override {
        ASSERT_EQ(::chdir(saved_cwd_.c_str()), 0);
        plat::clear_drives();
        plat::unfix_clock();
        plat::set_message_box_hook(nullptr);
        std::error_code ec;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(root_, ec);
    }

    std::string at(const std::string& rel) const { return rel.empty() ? root_ : root_ + "/" + rel; }
    void make_dir(const std::string& rel) const { std::filesystem::create_directories(at(rel)); }
    void write(const std::string& rel, const std::string& bytes) const {
        std::ofstream(at(rel), std::ios::binary) << bytes;
    }
    std::string read(const std::string& rel) const {
        std::ifstream in(at(rel), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& rel) const { return std::filesystem::exists(at(rel)); }

    std::string root_;

private:
    std::string saved_cwd_;
};

}  // namespace plattest
