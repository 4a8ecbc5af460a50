#include "support/temp_env.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "platform/drives.h"
#include "pxall/blocks.h"

namespace fs = std::filesystem;

namespace pxtest {

TempEnv::TempEnv() {
    std::string tmpl = (fs::temp_directory_path() / "pxtest-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    root_ = tmpl;
    saved_cwd_ = fs::current_path().string();
    if (const char* t = std::getenv("TMP")) {
        had_tmp_ = true;
        saved_tmp_ = t;
    }
    plat::clear_drives();
    plat::set_drive('C', root_, plat::kDriveFixed);
    setenv("TMP", "C:\\", 1);
    fs::current_path(root_);
    pxall::set_table();
}

TempEnv::~TempEnv() {
    pxall::free_table();
    plat::clear_drives();
    std::error_code ec;
    fs::current_path(saved_cwd_, ec);
    if (had_tmp_)
        setenv("TMP", saved_tmp_.c_str(), 1);
    else
        unsetenv("TMP");
    fs::remove_all(root_, ec);
}

std::string TempEnv::host(const std::string& win_path) const {
    auto p = plat::host_path(win_path);
    return p ? *p : std::string();
}

void TempEnv::write(const std::string& rel, const std::string& bytes) const {
    fs::path p = fs::path(root_) / rel;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string TempEnv::read(const std::string& rel) const {
    std::ifstream in(fs::path(root_) / rel, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempEnv::exists(const std::string& rel) const { return fs::exists(fs::path(root_) / rel); }

void TempEnv::mkdir(const std::string& rel) const { fs::create_directories(fs::path(root_) / rel); }

void TempEnv::map_drive(char letter, const std::string& rel, int type, bool create) const {
    fs::path p = fs::path(root_) / rel;
    if (create) fs::create_directories(p);
    plat::set_drive(letter, p.string(), static_cast<plat::DriveType>(type));
}

std::vector<std::string> TempEnv::log_lines() const {
    std::vector<std::string> lines;
    std::ifstream in(fs::path(root_) / "PXERROR.LOG", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        auto close = line.find(')');
        lines.push_back(close == std::string::npos ? line : line.substr(close + 1));
    }
    return lines;
}

void set_field(unsigned char* block, size_t at, size_t width, const std::string& text) {
    std::memset(block + at, 0, width);
    std::memcpy(block + at, text.data(), std::min(text.size(), width - 1));
}

}  // namespace pxtest
