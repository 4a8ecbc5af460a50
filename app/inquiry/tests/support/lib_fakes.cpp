#include "support/lib_fakes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "inquiry/inquiry_entries.h"
#include "inquiry/layouts.h"
#include "platform/controls.h"
#include "support/fixture.h"

namespace pxtest {

namespace {

namespace fs = std::filesystem;

std::string g_root;

std::string trimmed(const VbString* s) {
    std::string t(s->data, static_cast<size_t>(s->len));
    t = t.substr(0, t.find('\0'));
    while (!t.empty() && t.back() == ' ') t.pop_back();
    return t;
}

void put(VbString* s, const std::string& text, char fill = '\0') {
    std::memset(s->data, fill, static_cast<size_t>(s->len));
    std::memcpy(s->data, text.data(), std::min<size_t>(text.size(), static_cast<size_t>(s->len)));
}

void write_work(const std::string& name, const std::vector<std::string>& records) {
    std::ofstream out(fs::path(g_root) / "WORK" / name, std::ios::binary | std::ios::trunc);
    for (const auto& r : records) out << r;
}

void remove_work(const std::string& name) { fs::remove(fs::path(g_root) / "WORK" / name); }

std::string work(const std::string& name) { return "C:\\WORK\\" + name; }

void call(const std::string& c) { fakes().calls.push_back(c); }

void place(std::string& rec, size_t at, const std::string& s, size_t n) {
    rec.replace(at, n, (s + std::string(n, ' ')).substr(0, n));
}

// --- PXTEKI ---------------------------------------------------------------
int32_t teki_init(int16_t* flag) {
    call("VBTekiInit");
    *flag = fakes().teki_init_flag;
    return fakes().teki_init_rc;
}
int32_t teki_term() {
    call("VBTekiTerm");
    remove_work(teki::kScreenFile);
    return 0;
}
int32_t teki_search(int32_t hwnd, VbString* path, int16_t* status) {
    call("VBTekiSearchProc");
    auto& f = fakes();
    plat::Control* box = plat::control(hwnd);
    f.teki_lines.clear();
    int32_t n = box->lb_count();
    *status = 0;
    if (n < 1) {
        *status = 2;
        return 0;
    }
    for (int32_t i = 0; i < n && i < 10; ++i) {
        std::string line;
        box->lb_text(i, &line);
        f.teki_lines.push_back(line);
        std::string name = static_cast<size_t>(i) < f.teki_names.size() ? f.teki_names[static_cast<size_t>(i)] : "";
        box->lb_delete(i);
        box->lb_insert(i, line.substr(0, 14) + "  : " + (name + std::string(60, ' ')).substr(0, 60));
    }
    put(path, work(teki::kScreenFile));
    write_work(teki::kScreenFile, f.teki_records);
    if (f.teki_status != 0) *status = f.teki_status;
    return f.teki_search_rc;
}
int32_t teki_popup(VbString* path) {
    call("VBTekiPopup");
    put(path, work(pxall::kPopupFileName));
    write_work(pxall::kPopupFileName, fakes().popup);
    return fakes().popup_rc;
}
int32_t teki_set_sel(int16_t* setup, int16_t* slot) {
    call("VBTekiPopupSetSel " + std::to_string(*setup) + " " + std::to_string(*slot));
    return 0;
}
int32_t teki_set_num(int16_t* count) {
    call("VBTekiPopupSetNum " + std::to_string(*count));
    return 0;
}

// --- PXNEWP, PXVCAT -----------------------------------------------------------
int32_t newp_init() {
    call("newp_init");
    return 0;
}
int32_t newp_term() {
    call("newp_term");
    remove_work(newp::kListFile);
    return 0;
}
int32_t newp_names(VbString* w0, VbString* list, VbString* w3, VbString* pop) {
    put(w0, work(newp::kCopyFile));
    put(list, work(newp::kListFile));
    put(w3, work(newp::kPartFile));
    put(pop, work(pxall::kPopupFileName));
    return 0;
}
int32_t newp_area() { return 0; }
int32_t newp_check(VbString* code, int16_t* msg) {
    call("newp_input_check " + trimmed(code));
    *msg = fakes().newp_check_msg;
    return fakes().newp_check_rc;
}
int32_t newp_cat_input(VbString* code) {
    call("newp_catalog_input " + trimmed(code));
    return 0;
}
int32_t newp_text(VbString* cat, VbString* name, VbString* from, VbString* to) {
    put(cat, fakes().catalog, ' ');
    put(name, fakes().car_name, ' ');
    put(from, fakes().from, ' ');
    put(to, fakes().to, ' ');
    return 0;
}
int32_t newp_main_fake(int16_t* msg, int16_t* count) {
    call("newp_main");
    write_work(newp::kListFile, fakes().newp_records);
    int entries = 0;
    for (const auto& r : fakes().newp_records)
        if (r[0] != ' ') ++entries;
    *count = static_cast<int16_t>(entries);
    *msg = fakes().newp_main_msg;
    return fakes().newp_main_rc;
}
int32_t newp_popup(int16_t* msg, int16_t* kind) {
    call("newp_popup");
    write_work(pxall::kPopupFileName, fakes().popup);
    *msg = 105;
    *kind = 0;
    return fakes().popup_rc;
}
int32_t newp_clear() {
    call("newp_clear");
    return 0;
}
int32_t vcat_init() {
    call("vcat_init");
    return fakes().vcat_rc;
}

// --- PXHINB -------------------------------------------------------------------
int32_t hinb_init() {
    call("hinb_init");
    return 0;
}
int32_t hinb_names(VbString* t0, VbString* t1, VbString* pop) {
    put(t0, work(hinb::kNameFile));
    put(t1, work(hinb::kListFile));
    put(pop, work(pxall::kPopupFileName));
    return 0;
}
int32_t hinb_scan(int32_t) {
    call("hinb_cdmake_cdidtbl_alldrive");
    return fakes().hinb_scan_rc;
}
int32_t hinb_check(int32_t n, VbString* text, VbString* code, VbString* name_out, VbString* code_out, int16_t* msg) {
    call("hinb_in_check_input " + std::to_string(n) + " [" + trimmed(text) + "] [" + trimmed(code) + "]");
    auto& f = fakes();
    *msg = f.hinb_check_msg;
    int32_t rc = n == 6 && f.hinb_code_check_rc != 0 ? f.hinb_code_check_rc : f.hinb_check_rc;
    if (rc == 0 && n == 6) {
        put(name_out, f.hinb_check_name, ' ');
        put(code_out, trimmed(code), ' ');
    }
    return rc;
}
int32_t hinb_pn(int16_t* msg, int16_t* count) {
    call("hinb_pn_main");
    write_work(hinb::kListFile, fakes().hinb_records);
    *msg = fakes().hinb_pn_msg;
    *count = static_cast<int16_t>(fakes().hinb_records.size());
    return fakes().hinb_pn_rc;
}
int32_t hinb_pc(int16_t* msg, int16_t* count) {
    call("hinb_pc_main");
    write_work(hinb::kNameFile, fakes().hinb_names);
    *msg = fakes().hinb_pc_msg;
    *count = static_cast<int16_t>(fakes().hinb_names.size());
    return fakes().hinb_pc_rc;
}
int32_t hinb_popup(int16_t* msg, int16_t* kind) {
    call("hinb_popup");
    write_work(pxall::kPopupFileName, fakes().popup);
    *msg = 140;
    *kind = 1;
    return fakes().popup_rc;
}
int32_t hinb_set_sel(int16_t* count, int16_t* setup, int16_t* slot) {
    call("hinb_popup_set_sel " + std::to_string(*count) + " " + std::to_string(*setup) + " " + std::to_string(*slot));
    return 0;
}
int32_t hinb_make_cat() {
    call("hinb_popup_make_cat");
    return fakes().hinb_make_cat_rc;
}
int32_t hinb_term(int16_t* mode) {
    call("hinb_term " + std::to_string(*mode));
    for (const char* n : {hinb::kNameFile, hinb::kListFile, hinb::kWorkFile}) remove_work(n);
    return 0;
}
int32_t hinb_term2() {
    call("hinb_term2");
    remove_work(hinb::kNameFile);
    return 0;
}

template <typename D, typename F>
void bind(D& declared, F* fn) {
    declared.entry().set_address(reinterpret_cast<void*>(fn));
}

}  // namespace

LibFakes& fakes() {
    static LibFakes f;
    return f;
}

void bind_fakes(const Installation& inst) {
    fakes() = LibFakes{};
    g_root = inst.root();
    bind(px::lib::VBTekiInit, &teki_init);
    bind(px::lib::VBTekiTerm, &teki_term);
    bind(px::lib::VBTekiSearchProc, &teki_search);
    bind(px::lib::VBTekiPopup, &teki_popup);
    bind(px::lib::VBTekiPopupSetSel, &teki_set_sel);
    bind(px::lib::VBTekiPopupSetNum, &teki_set_num);
    bind(px::lib::newp_init, &newp_init);
    bind(px::lib::newp_term, &newp_term);
    bind(px::lib::newp_file_name_set, &newp_names);
    bind(px::lib::newp_area_check, &newp_area);
    bind(px::lib::newp_input_check, &newp_check);
    bind(px::lib::newp_catalog_input, &newp_cat_input);
    bind(px::lib::newp_get_text, &newp_text);
    bind(px::lib::newp_main, &newp_main_fake);
    bind(px::lib::newp_popup, &newp_popup);
    bind(px::lib::newp_clear, &newp_clear);
    bind(px::lib::vcat_init, &vcat_init);
    bind(px::lib::hinb_init, &hinb_init);
    bind(px::lib::hinb_file_name_set, &hinb_names);
    bind(px::lib::hinb_cdmake_cdidtbl_alldrive, &hinb_scan);
    bind(px::lib::hinb_in_check_input, &hinb_check);
    bind(px::lib::hinb_pn_main, &hinb_pn);
    bind(px::lib::hinb_pc_main, &hinb_pc);
    bind(px::lib::hinb_popup, &hinb_popup);
    bind(px::lib::hinb_popup_set_sel, &hinb_set_sel);
    bind(px::lib::hinb_popup_make_cat, &hinb_make_cat);
    bind(px::lib::hinb_term, &hinb_term);
    bind(px::lib::hinb_term2, &hinb_term2);
}

void unbind_fakes() {
    for (px::EntryPoint* e :
         {&px::lib::VBTekiInit.entry(), &px::lib::VBTekiTerm.entry(), &px::lib::VBTekiSearchProc.entry(), &px::lib::VBTekiPopup.entry(),
          &px::lib::VBTekiPopupSetSel.entry(), &px::lib::VBTekiPopupSetNum.entry(), &px::lib::newp_init.entry(), &px::lib::newp_term.entry(),
          &px::lib::newp_file_name_set.entry(), &px::lib::newp_area_check.entry(), &px::lib::newp_input_check.entry(),
          &px::lib::newp_catalog_input.entry(), &px::lib::newp_get_text.entry(), &px::lib::newp_main.entry(), &px::lib::newp_popup.entry(),
          &px::lib::newp_clear.entry(), &px::lib::vcat_init.entry(), &px::lib::hinb_init.entry(), &px::lib::hinb_file_name_set.entry(),
          &px::lib::hinb_cdmake_cdidtbl_alldrive.entry(), &px::lib::hinb_in_check_input.entry(), &px::lib::hinb_pn_main.entry(),
          &px::lib::hinb_pc_main.entry(), &px::lib::hinb_popup.entry(), &px::lib::hinb_popup_set_sel.entry(), &px::lib::hinb_popup_make_cat.entry(),
          &px::lib::hinb_term.entry(), &px::lib::hinb_term2.entry()})
        e->set_address(nullptr);
}

std::string popup_record(int no, int16_t setup_index, char area, bool present, const std::string& text) {
    namespace pr = pxall::popup_rec;
    std::string rec(pr::kSize, '\0');
    char num[8];
    std::snprintf(num, sizeof num, "%02d", no % 100);
    rec.replace(pr::kNumber, 2, num);
    rec[pr::kSetupIndex] = static_cast<char>(setup_index & 0xFF);
    rec[pr::kSetupIndex + 1] = static_cast<char>((setup_index >> 8) & 0xFF);
    rec[pr::kArea] = area;
    rec[pr::kPresent] = present ? '1' : '0';
    rec.replace(pr::kText, std::min(text.size(), pr::kTextSize - 1), text.substr(0, pr::kTextSize - 1));
    return rec;
}

std::string teki_record(const std::string& number, const std::string& part, const std::string& code,
                        const std::string& catalog, const std::string& car_name, const std::string& from,
                        const std::string& to, const std::string& remark1, const std::string& remark2,
                        const std::string& part2, const std::string& label2) {
    namespace sr = teki::screen_rec;
    std::string r(sr::kSize, ' ');
    place(r, sr::kNumber, number, 2);
    place(r, sr::kPart[0], part, 14);
    place(r, sr::kLabel[0], code, 6);
    place(r, sr::kQty[0], part.empty() ? "" : "01", 2);
    place(r, sr::kPart[1], part2, 14);
    place(r, sr::kLabel[1], label2, 6);
    place(r, sr::kCatalog, catalog, 6);
    place(r, sr::kCarName, car_name, 20);
    place(r, sr::kFrom, from, 4);
    place(r, sr::kTo, to, 4);
    place(r, sr::kPiece[0], remark1, 42);
    place(r, sr::kPiece[1], remark2, 42);
    return r;
}

std::string newp_record(const std::string& number, const std::string& pnc, const std::string& part,
                        const std::string& period, const std::string& name, const std::string& remark) {
    namespace lr = newp::list_rec;
    std::string r(lr::kSize, ' ');
    place(r, lr::kNumber, number, 2);
    place(r, lr::kPnc, pnc, 6);
    place(r, lr::kPart, part, 14);
    place(r, lr::kQty, number.empty() ? "" : "01", 2);
    place(r, lr::kValidity, period, lr::kValiditySize);
    place(r, lr::kName, name, lr::kNameSize);
    place(r, lr::kRemarks, remark, lr::kPieceWidth);
    return r;
}

std::vector<std::string> newp_list(int count, int entry) {
    std::vector<std::string> out;
    int no = 0;
    for (int i = 0; i < count; ++i) {
        char part[32], num[8];
        if (i % entry == 0) {
            ++no;
            std::snprintf(num, sizeof num, "%02d", no % 100);
            std::snprintf(part, sizeof part, "%05d-A%04d-01", no % 100000, i % 10000);
            out.push_back(newp_record(num, "15601A", part, "0101-9999 ", "PART " + std::to_string(i),
                                      "REC " + std::to_string(i)));
        } else {
            out.push_back(newp_record("", "", "", "", "", "REC " + std::to_string(i)));
        }
    }
    return out;
}

std::string hinb_record(const std::string& number, const std::string& mark, const std::string& part,
                        const std::string& catalog, const std::string& car_name, const std::string& span,
                        const std::string& qty, const std::string& remarks) {
    namespace hr = hinb::list_rec;
    std::string r(hr::kSize, ' ');
    place(r, hr::kCount, number, 2);
    place(r, hr::kCode, mark, 6);
    place(r, hr::kPart, part, 14);
    place(r, hr::kCatalog, catalog, 6);
    place(r, hr::kCarName, car_name, 20);
    place(r, hr::kValidity, span, hr::kValiditySize);
    place(r, hr::kQty, qty, 2);
    place(r, hr::kRemarks, remarks, hr::kRemarksSize);
    return r;
}

std::vector<std::string> hinb_list(int count, int entry) {
    std::vector<std::string> out;
    int no = 0;
    for (int i = 0; i < count; ++i) {
        if (i % entry == 0) {
            ++no;
            char num[8];
            std::snprintf(num, sizeof num, "%02d", no % 100);
            out.push_back(hinb_record(num, "15601A", "15601-YZ001-A1", "4410A1", "DEMO SEDAN", "0101-    ", "01",
                                      "REC " + std::to_string(i)));
        } else {
            out.push_back(hinb_record("", "(SUB) ", "", "", "", "", "", "REC " + std::to_string(i)));
        }
    }
    return out;
}

std::string hinb_name(const std::string& pnc, const std::string& name) {
    return (pnc + "      ").substr(0, 6) + (name + std::string(60, ' ')).substr(0, 60);
}

void write_numbered_messages(const Installation& inst, const std::vector<int>& numbers) {
    std::vector<int> sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    std::string body;
    char line[32];
    for (int n : sorted) {
        std::snprintf(line, sizeof line, "%03dM%d\r\n", n, n);
        body += line;
    }
    inst.write("PROG/PXDROM01.MSG", body);
}

}  // namespace pxtest
