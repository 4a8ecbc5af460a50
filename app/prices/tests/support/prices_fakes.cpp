#include "support/prices_fakes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "prices/prices_entries.h"
#include "support/fixture.h"

namespace pxtest {

namespace {

namespace fs = std::filesystem;
namespace lp = px::lib::prices;

std::string g_root;

void call(const std::string& c) { prices_fakes().calls.push_back(c); }

void put(VbString* s, const std::string& text) {
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, text.data(), std::min<size_t>(text.size(), static_cast<size_t>(s->len)));
}

std::string pad(const std::string& s, size_t n) { return (s + std::string(n, ' ')).substr(0, n); }

fs::path work(const std::string& name) { return fs::path(g_root) / "WORK" / name; }

std::string read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// --- Pxdprc -------------------------------------------------------------------
std::string dprc_record(size_t position, const std::string& part, int choice) {
    char no[8];
    std::snprintf(no, sizeof no, "%02d", static_cast<int>(position % 100));
    std::string display = part.substr(0, 5) + "-" + part.substr(5, 5) + "-" + part.substr(10, 2);
    auto it = prices_fakes().prices.find(part);
    if (it == prices_fakes().prices.end()) return no + display + std::string(38, '@');
    std::string price = it->second[static_cast<size_t>(std::min(choice, 2))];
    return no + display + pad(price, 8) + pad("RMK" + std::to_string(choice), 10) + pad("NAME " + part.substr(0, 5), 20);
}

int32_t get_path(char* path80) {
    call("dprc_get_path");
    std::memset(path80, 0, 80);
    std::strcpy(path80, "C:\\WORK\\PXDPRC1.TMP");
    return prices_fakes().kind;
}

int32_t search(const char* part_no, int32_t choice) {
    std::string part(part_no, 12);
    call("dprc_search " + part + " " + std::to_string(choice));
    if (prices_fakes().search_rc != 0) return prices_fakes().search_rc;
    std::string bytes = read_all(work("PXDPRC1.TMP"));
    std::ofstream(work("PXDPRC1.TMP"), std::ios::binary | std::ios::app) << dprc_record(bytes.size() / 54 + 1, part, choice);
    return 0;
}

int32_t update(int32_t choice) {
    call("dprc_update_wfile " + std::to_string(choice));
    if (prices_fakes().update_rc != 0) return prices_fakes().update_rc;
    std::string bytes = read_all(work("PXDPRC1.TMP"));
    for (size_t i = 0; i + 54 <= bytes.size(); i += 54) {
        std::string d = bytes.substr(i + 2, 14);
        std::string part = d.substr(0, 5) + d.substr(6, 5) + d.substr(12, 2);
        auto it = prices_fakes().prices.find(part);
        if (it != prices_fakes().prices.end()) bytes.replace(i + 16, 8, pad(it->second[static_cast<size_t>(choice)], 8));
    }
    std::ofstream(work("PXDPRC1.TMP"), std::ios::binary | std::ios::trunc) << bytes;
    return 0;
}

// --- PXFSAV -------------------------------------------------------------------
int16_t exec_main(VbString* path) {
    call("fsav_exec_main");
    put(path, "C:\\WORK\\pxfsav.tmp");
    std::ofstream out(work("pxfsav.tmp"), std::ios::binary | std::ios::trunc);
    for (const auto& r : prices_fakes().list_records) out << r;
    return prices_fakes().exec_main_rc;
}
int16_t reset_mstflag() {
    call("fsav_reset_mstflag");
    prices_fakes().current = 0;
    return prices_fakes().reset_rc;
}
int16_t check_flag(int16_t save_no, int16_t mark) {
    call("fsav_check_saveFileflag " + std::to_string(save_no) + " " + std::to_string(mark));
    auto it = prices_fakes().check_rc.find(save_no);
    return it == prices_fakes().check_rc.end() ? 0 : it->second;
}
int16_t svfile_delete(int16_t save_no) {
    call("fsav_svfile_delete " + std::to_string(save_no));
    auto it = prices_fakes().delete_rc.find(save_no);
    return it == prices_fakes().delete_rc.end() ? 0 : it->second;
}
int16_t clear_sel() {
    call("fsav_clear_SelSaveflno");
    prices_fakes().current = 0;
    return 0;
}
int16_t check_flno(int16_t* save_no, VbString* path) {
    call("fsad_check_flno " + std::to_string(*save_no));
    if (prices_fakes().check_flno_rc != 0) return prices_fakes().check_flno_rc;
    if (*save_no != 0) prices_fakes().current = *save_no;
    if (prices_fakes().current == 0) return 807;
    *save_no = prices_fakes().current;
    put(path, prices_fakes().save_file);
    return 0;
}
int16_t get_shamei(int16_t save_no, VbString* from, VbString* to, VbString* name) {
    call("fsad_get_shamei " + std::to_string(save_no));
    put(from, "0101");
    put(to, "9912");
    put(name, pad("DEMO SEDAN", 20));
    return prices_fakes().shamei_rc;
}
int16_t get_flname(VbString* path) {
    call("fsad_get_flname");
    put(path, "C:\\WORK\\PXFSAD.TMP");
    return 0;
}

// --- PXPNHO -------------------------------------------------------------------
int16_t get_expppnho(int16_t entry, VbString* buf) {
    call("pnho_get_expppnho " + std::to_string(entry));
    const auto& p = prices_fakes().programs;
    put(buf, static_cast<size_t>(entry) < p.size() ? p[static_cast<size_t>(entry)] : "");
    return 0;
}
int16_t get_exppfsad(VbString* buf) {
    call("pnho_get_exppfsad");
    put(buf, prices_fakes().fsad_program);
    return 0;
}
int16_t exec_intf(int16_t kind, const char* path) {
    call("pnho_exec_intf " + std::to_string(kind) + " " + path);
    if (prices_fakes().exec_intf_rc == 0) std::ofstream(path, std::ios::binary) << "PARTS\r\n";
    return prices_fakes().exec_intf_rc;
}

template <typename D, typename F>
void bind(D& declared, F* fn) {
    declared.entry().set_address(reinterpret_cast<void*>(fn));
}

}  // namespace

PricesFakes& prices_fakes() {
    static PricesFakes f;
    return f;
}

void bind_prices_fakes(const Installation& inst) {
    prices_fakes() = PricesFakes{};
    g_root = inst.root();
    bind(lp::dprc_get_path, &get_path);
    bind(lp::dprc_search, &search);
    bind(lp::dprc_update_wfile, &update);
    bind(lp::fsav_exec_main, &exec_main);
    bind(lp::fsav_reset_mstflag, &reset_mstflag);
    bind(lp::fsav_check_saveFileflag, &check_flag);
    bind(lp::fsav_svfile_delete, &svfile_delete);
    bind(lp::fsav_clear_SelSaveflno, &clear_sel);
    bind(lp::fsad_check_flno, &check_flno);
    bind(lp::fsad_get_shamei, &get_shamei);
    bind(lp::fsad_get_flname, &get_flname);
    bind(lp::pnho_get_expppnho, &get_expppnho);
    bind(lp::pnho_get_exppfsad, &get_exppfsad);
    bind(lp::pnho_exec_intf, &exec_intf);
}

void unbind_prices_fakes() {
    for (px::EntryPoint* e : lp::kAllEntries) e->set_address(nullptr);
}

std::string save_list_record(int run, int save_no, const std::string& vin, const std::string& frame,
                             const std::string& note, const std::string& date, const std::string& time) {
    char head[16];
    std::snprintf(head, sizeof head, "%02d%04d", run % 100, save_no);
    return head + pad(vin, 17) + pad(frame, 15) + pad(note, 30) + pad(date, 6) + pad(time, 6);
}

std::string save_file_bytes(const std::string& count_field, const std::vector<std::string>& parts,
                            const std::string& note) {
    std::string h = pad("JT1AB23C456789012", 17) + pad("AB123-CDEFG", 15) + pad("4410A1", 6) + "200304" +
                    pad("ABC1234-5678901", 15) + "1C0" + "FA12" + pad(note, 30) + pad(count_field, 3);
    for (const auto& p : parts) h += p;
    return h;
}

}  // namespace pxtest
