#include "support/keyed_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/keyed_layout.h"
#include "pxall/texts.h"
#include "pxbuild/keyed_writer.h"

namespace fs = std::filesystem;

namespace pxtest {

using namespace pxall;

KeyedEnv::KeyedEnv() {
    // The CD request's pauses then pass without waiting.
    plat::fix_clock(2024, 6, 20, 9, 30, 0);
    unsigned char* top = get_ctop_addr();
    set_field(top, ctop::kMasterDir, ctop::kDirSize, "C:\\MST");
    set_field(top, ctop::kWorkDir, ctop::kDirSize, "C:\\WORK");
    set_field(top, ctop::kProgramDir, ctop::kDirSize, "C:\\PRG");
    set_field(top, ctop::kDataLangCode, 3, "01");
    set_field(top, ctop::kMenuLangCode, 3, "01");
    put_i32(top + ctop::kAreaIndex, 0);
    env_.mkdir("MST");
    env_.mkdir("WORK");
    env_.write("PRG/PXDROM01.MSG",
               "881Please insert into drive [\n881the catalogue CD [\n"
               "882Please insert into drive [\n882the frame CD [\n"
               "883Please insert into drive [\n883the comparison CD [\n");
    env_.write("PXDROM01.SCR", "0111 ANY DRIVE\n0112 EU-CAT\n0113 GR-CAT\n0114 US-CAT\n0115 JP-CAT\n0126 EU-FRM\n");
    set_msg();
    set_scr();
    plat::set_message_box_hook([this](const std::string&, const std::string&, uint32_t) {
        int i = shown_++;
        int a = i < static_cast<int>(answers_.size()) ? answers_[i] : plat::kIdCancel;
        if (between_) between_(shown_);
        return a;
    });
}

KeyedEnv::~KeyedEnv() {
    plat::unfix_clock();
    plat::set_message_box_hook({});
    free_msg();
    free_scr();
}

pxbuild::CdWriter KeyedEnv::make_cd(const std::string& id, const std::string& date) {
    return pxbuild::CdWriter((fs::path(env_.root()) / "cd" / id).string(), id, date);
}

void KeyedEnv::install(const std::string& id, char kind, const std::string& cd_no) {
    pxbuild::InstallSpec job;
    job.cd_folder = (fs::path(env_.root()) / "cd" / id).string();
    job.target_dir = (fs::path(env_.root()) / "MST").string();
    job.dir_name = id;
    job.install_kind = kind;
    job.cd_no = cd_no;
    installer_.install_catalog_cd(job);
    std::string label = pxbuild::cd_label(job.cd_folder);
    add_setup(id, cd_no, label.substr(2, 8), kind == '1');
}

void KeyedEnv::set_cd_drives(const std::vector<std::pair<char, std::string>>& drives) {
    unsigned char* top = get_ctop_addr();
    top[ctop::kDriveCount] = static_cast<unsigned char>(drives.size());
    for (size_t i = 0; i < drives.size(); ++i) {
        top[ctop::kDrives + 2 * i] = static_cast<unsigned char>(drives[i].first);
        top[ctop::kDrives + 2 * i + 1] = ':';
        std::string folder = drives[i].second.empty() ? "empty-drive-" + std::string(1, drives[i].first) : drives[i].second;
        env_.map_drive(drives[i].first, folder, plat::kDriveCdrom, false);
    }
}

void KeyedEnv::add_setup(const std::string& name, const std::string& cd_no, const std::string& date, bool full_copy) {
    unsigned char* top = get_ctop_addr();
    int n = get_i32(top + ctop::kSetupCount);
    unsigned char* e = setup_entry_addr(n);
    std::memset(e, 0, ctop::kSetupEntrySize);
    std::memcpy(e + setup_entry::kName, name.data(), 2);
    std::memcpy(e + setup_entry::kCdNo, cd_no.data(), 2);
    std::memcpy(e + setup_entry::kCdDate, date.data(), 8);
    e[12] = '0';
    e[13] = '1';
    e[setup_entry::kPictureFlag] = full_copy ? 1 : 0;
    put_i32(top + ctop::kSetupCount, n + 1);
}

int KeyedEnv::setup_count() const { return get_i32(get_ctop_addr() + ctop::kSetupCount); }

void KeyedEnv::script_box(std::vector<int> answers, std::function<void(int)> between) {
    answers_ = std::move(answers);
    between_ = std::move(between);
    shown_ = 0;
}

CdHandle* KeyedEnv::open(const char* name, const char* catalog, int key_set, int read_mode) {
    CdHandle* h = nullptr;
    int detail = 0;
    int r = cdopen(name, catalog, key_set, read_mode, -1, 0, 0, &h, &detail);
    EXPECT_EQ(r, 0) << name << " detail " << detail;
    return h;
}

std::string rec(const char* data_name, const std::string& key, const std::string& rest) {
    const auto& d = keyed::file_table()[pxbuild::find_row(data_name)];
    std::string r(d.rec_len, ' ');
    r.replace(d.key_off, std::min<size_t>(key.size(), d.key_len), key.substr(0, d.key_len));
    size_t at = d.key_off + d.key_len;
    if (at >= r.size()) at = 0;
    if (!rest.empty()) r.replace(at, std::min(rest.size(), r.size() - at), rest.substr(0, r.size() - at));
    return r;
}

std::string key_n(const std::string& prefix, int n, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%0*d", prefix.c_str(), static_cast<int>(width - prefix.size()), n);
    return buf;
}

std::vector<std::string> read_all(CdHandle* h, const std::string& key, int rec_len, int* last) {
    std::vector<std::string> out;
    std::vector<char> buf(4096);
    int detail = 0, r;
    while ((r = cdread(buf.data(), key.data(), static_cast<int>(key.size()), 0, nullptr, nullptr, h, &detail)) == 0) {
        out.emplace_back(buf.data(), buf.data() + rec_len);
        if (out.size() > 100000) break;
    }
    if (last != nullptr) *last = r;
    return out;
}

}  // namespace pxtest
