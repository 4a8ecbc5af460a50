#include "support/setup_fakes.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/controls.h"
#include "setup/setup_entries.h"
#include "setup/status_block.h"
#include "shell/pxall_entries.h"
#include "support/fixture.h"

namespace pxtest {

namespace {

namespace fs = std::filesystem;
namespace ls = px::lib::setup;

std::string g_root;

void call(const std::string& c) { setup_fakes().calls.push_back(c); }

void put(VbString* s, const std::string& text) {
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, text.data(), std::min<size_t>(text.size(), static_cast<size_t>(s->len)));
}

std::string read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string text(const VbString* s) { return std::string(s->data, strnlen(s->data, static_cast<size_t>(s->len))); }

int32_t main_proc() {
    call("stup_main_proc");
    setup_fakes().run_catalog = read_all(fs::path(g_root) / "CATALOG.TMP");
    setup_fakes().run_frame = read_all(fs::path(g_root) / "FRAME.TMP");
    return setup_fakes().run_rc;
}
int32_t set_client() {
    call("stup_set_client");
    setup_fakes().run_catalog = read_all(fs::path(g_root) / "CATALOG.TMP");
    setup_fakes().run_frame = read_all(fs::path(g_root) / "FRAME.TMP");
    return setup_fakes().run_rc;
}
int32_t make_tmpfile(VbString* cat, VbString* frame, int16_t client) {
    call("stup_make_tmpfile " + std::to_string(client));
    if (setup_fakes().make_rc != 0) return setup_fakes().make_rc;
    std::ofstream(fs::path(g_root) / "CATALOG.TMP", std::ios::binary) << setup_fakes().catalog;
    std::ofstream(fs::path(g_root) / "FRAME.TMP", std::ios::binary) << setup_fakes().frame;
    put(cat, "C:\\CATALOG.TMP");
    put(frame, "C:\\FRAME.TMP");
    return 0;
}
int32_t latest_lang(int16_t* language, VbString* name) {
    put(name, "ENGLISH");
    *language = setup_fakes().latest_language;
    return setup_fakes().latest_rc;
}
int32_t client_check() { return setup_fakes().client; }
int32_t client_drive(int16_t type, const char* drive) {
    std::string key = std::to_string(type) + drive;
    call("ClientDriveCheck " + key);
    return setup_fakes().client_drives.count(key) ? 0 : 1;
}
int16_t drive_info(int16_t type, const char* drive, VbString* path) {
    std::string key = std::to_string(type) + drive;
    call("GetSetupedDriveInfo " + key);
    auto it = setup_fakes().drive_info.find(key);
    if (it == setup_fakes().drive_info.end()) return 1;
    std::ofstream(fs::path(g_root) / "DRVINFO.TMP", std::ios::binary) << it->second;
    put(path, "C:\\DRVINFO.TMP");
    return 0;
}
int16_t price_set() { return setup_fakes().price_set; }
int32_t kakaku(const VbString* source, int16_t kind, int16_t append) {
    call("kakaku " + text(source) + " " + std::to_string(kind) + " " + std::to_string(append));
    if (setup_fakes().kakaku_rc.empty()) return 0;
    int32_t rc = setup_fakes().kakaku_rc.front();
    setup_fakes().kakaku_rc.pop_front();
    return rc;
}
int32_t localp_check(int16_t type) {
    call("Check_Setuped_Localp " + std::to_string(type));
    return setup_fakes().localp_set;
}
void localp_init(int16_t flag, int16_t type) {
    call("Init_Setuped_Localp " + std::to_string(flag) + " " + std::to_string(type));
}
int16_t localp_setup(int16_t type, const char* source) {
    call("Setup_Localp " + std::to_string(type) + " " + source);
    if (setup_fakes().localp_rc.empty()) return 0;
    int16_t rc = setup_fakes().localp_rc.front();
    setup_fakes().localp_rc.pop_front();
    return rc;
}
int32_t set_image(int32_t list) {
    call("Localp3_SetImageFile");
    if (plat::Control* c = plat::control(list))
        for (const auto& l : setup_fakes().images) c->lb_add(l);
    return setup_fakes().image_rc;
}
void copy_image(int32_t, int32_t files, const char* dir) {
    std::string names;
    if (plat::Control* c = plat::control(files))
        for (int32_t i = 0; i < c->lb_count(); ++i) {
            std::string t;
            c->lb_text(i, &t);
            names += " " + t;
        }
    call(std::string("Localp3_CopyImageFile ") + dir + names);
}
void setup_data(int16_t kind, const VbString* value) { call("set " + std::to_string(kind) + " " + text(value)); }
int16_t write_initial() {
    call("Write_Initial_Data");
    if (!setup_fakes().written_sys.empty())
        std::ofstream(fs::path(g_root) / "PXDROM.SYS", std::ios::binary) << setup_fakes().written_sys;
    return setup_fakes().write_rc;
}
int32_t check_scrmsg(int32_t language) {
    call("Check_ScrMsgFile " + std::to_string(language));
    auto it = setup_fakes().scrmsg_rc.find(language);
    return it == setup_fakes().scrmsg_rc.end() ? 0 : it->second;
}
int32_t reload_scrmsg() {
    call("Reload_ScrMsgFile");
    return 0;
}
int32_t path_name(int16_t kind, VbString* s) {
    put(s, "C:\\");
    return 3;
}
int32_t check_setup(int16_t mode) {
    call("drom_check_setup " + std::to_string(mode));
    return setup_fakes().check_setup_rc;
}

template <typename D, typename F>
void bind(D& declared, F* fn) {
    declared.entry().set_address(reinterpret_cast<void*>(fn));
}

}  // namespace

SetupFakes& setup_fakes() {
    static SetupFakes f;
    return f;
}

void bind_setup_fakes(const Installation& inst) {
    setup_fakes() = SetupFakes{};
    setup_fakes().catalog = std::string(px::setup::kCatalogRecord, ' ');
    setup_fakes().frame = std::string(px::setup::kFrameRecord, ' ');
    g_root = inst.root();
    bind(ls::stup_main_proc, &main_proc);
    bind(ls::stup_set_client, &set_client);
    bind(ls::stup_make_tmpfile, &make_tmpfile);
    bind(ls::VBGet_Latest_Lang, &latest_lang);
    bind(ls::stup_client_check, &client_check);
    bind(ls::ClientDriveCheck, &client_drive);
    bind(ls::GetSetupedDriveInfo, &drive_info);
    bind(ls::Check_Setuped_Price, &price_set);
    bind(ls::stup_kakaku_setup, &kakaku);
    bind(ls::Check_Setuped_Localp, &localp_check);
    bind(ls::Init_Setuped_Localp, &localp_init);
    bind(ls::Setup_Localp, &localp_setup);
    bind(ls::Localp3_SetImageFile, &set_image);
    bind(ls::Localp3_CopyImageFile, &copy_image);
    bind(ls::VBGet_Setup_Data, &setup_data);
    bind(ls::Write_Initial_Data, &write_initial);
    bind(ls::Check_ScrMsgFile, &check_scrmsg);
    bind(ls::Reload_ScrMsgFile, &reload_scrmsg);
    bind(ls::VBGetPathName, &path_name);
    bind(px::lib::drom_check_setup, &check_setup);
}

void unbind_setup_fakes() {
    for (px::EntryPoint* e : ls::kAllEntries) e->set_address(nullptr);
    px::lib::drom_check_setup.entry().set_address(nullptr);
}

std::string entry(const std::string& code, const std::string& issue, char source, char mark) {
    return px::setup::fixed(code, 2) + px::setup::fixed(issue, 8) + std::string(1, source) + std::string(1, mark);
}

std::string block(char flag, char drive, const std::vector<std::string>& entries) {
    std::string b = std::string(1, flag) + std::string(1, drive);
    for (const auto& e : entries) b += e;
    b.resize(px::setup::kBlockSize, ' ');
    return b;
}

}  // namespace pxtest
