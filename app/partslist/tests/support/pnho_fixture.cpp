#include "support/pnho_fixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QLabel>
#include <QPushButton>

#include "partslist/pnho_entries.h"
#include "partslist/pnho_module.h"
#include "shell/messages.h"
#include "shell/stack.h"

namespace pxtest {

namespace fs = std::filesystem;
namespace lib = px::lib::partslist;

namespace {

std::string pad(const std::string& s, size_t n) {
    std::string r = s.substr(0, n);
    r.resize(n, ' ');
    return r;
}

void give(VbString* s, const std::string& text) {
    if (s == nullptr || s->data == nullptr) return;
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, text.data(), std::min(text.size(), static_cast<size_t>(s->len - 1)));
}

void write_work(const std::string& name, const std::string& bytes) {
    std::ofstream(fs::path("WORK") / name, std::ios::binary) << bytes;
}

int16_t rc(const char* name) {
    auto it = engine().rc.find(name);
    return static_cast<int16_t>(it == engine().rc.end() ? 0 : it->second);
}

int16_t exec_main(VbString* path, int16_t* match) {
    engine().calls.push_back("pnho_exec_main");
    write_work("PXPNHO1.TMP", engine().list);
    give(path, "C:\\WORK\\PXPNHO1.TMP");
    *match = 0;
    return rc("pnho_exec_main");
}
int16_t close_main() {
    engine().calls.push_back("pnho_close_main");
    return 0;
}
int16_t lcl_fig(int16_t ask) {
    engine().calls.push_back("pnho_check_LclFigFlg " + std::to_string(ask));
    return ask == 1 ? engine().lcl_fig : 0;
}
void rewrite() {
    write_work("PXPNHO1.TMP", engine().list_after.empty() ? engine().list : engine().list_after);
}
int16_t exec_match(int16_t* match) {
    engine().calls.push_back("pnho_exec_match");
    engine().match_state = engine().match_state == 0 ? 1 : 0;
    *match = engine().match_state;
    rewrite();
    return rc("pnho_exec_match");
}
int16_t check_retran() {
    engine().calls.push_back("pnho_check_retran");
    return rc("pnho_check_retran");
}
int16_t check_jouhou(int16_t kind, const char* ym) {
    engine().calls.push_back("pnho_check_jouhou " + std::to_string(kind) + " " + ym);
    return rc("pnho_check_jouhou");
}
int16_t set_frame_model(const char* t) {
    engine().calls.push_back(std::string("pnho_set_FrameModel ") + t);
    return 0;
}
int16_t set_frame_no(const char* t) {
    engine().calls.push_back(std::string("pnho_set_FrameNo ") + t);
    return 0;
}
int16_t set_ad(const char* t) {
    engine().calls.push_back(std::string("pnho_set_Ad ") + t);
    return 0;
}
int16_t set_color(const char* t) {
    engine().calls.push_back(std::string("pnho_set_ColorNo ") + t);
    return 0;
}
int16_t set_trim(const char* t) {
    engine().calls.push_back(std::string("pnho_set_TrimNo ") + t);
    return 0;
}
int16_t exec_retran(int32_t* zero) {
    engine().calls.push_back("pnho_exec_retran " + std::to_string(*zero));
    rewrite();
    return rc("pnho_exec_retran");
}
int16_t selcnt() {
    engine().calls.push_back("pnho_check_selcnt");
    return engine().selcnt;
}
int16_t reverse_sel(int16_t i) {
    engine().calls.push_back("pnho_reverse_sel " + std::to_string(i));
    return rc("pnho_reverse_sel");
}
int16_t input_qty(int16_t i) {
    engine().calls.push_back("pnho_input_qty " + std::to_string(i));
    return rc("pnho_input_qty");
}
int16_t set_qty(int16_t i, const char* q) {
    engine().calls.push_back("pnho_set_qty " + std::to_string(i) + " " + q);
    return 0;
}
int16_t reset_mstflag() {
    engine().calls.push_back("pnho_reset_mstflag");
    return rc("pnho_reset_mstflag");
}
int16_t exec_pop(VbString* kinds, VbString* codes) {
    engine().calls.push_back("pnho_exec_pop");
    write_work("PXPNHO4.TMP", engine().kinds);
    write_work("PXPNHO5.TMP", engine().codes);
    give(kinds, "C:\\WORK\\PXPNHO4.TMP");
    give(codes, "C:\\WORK\\PXPNHO5.TMP");
    return rc("pnho_exec_pop");
}
int16_t clr_tokucyo() {
    engine().calls.push_back("pnho_clr_tokucyo");
    engine().tokucyo.clear();
    return 0;
}
int16_t set_tokucyo(int16_t kind, VbString* code) {
    engine().calls.push_back("pnho_set_tokucyo");
    engine().tokucyo.push_back(std::to_string(kind) + ":" + std::string(code->data, static_cast<size_t>(code->len)));
    return 0;
}
int16_t check_tokucyo() {
    engine().calls.push_back("pnho_check_tokucyo");
    return rc("pnho_check_tokucyo");
}
int16_t close_pop() {
    engine().calls.push_back("pnho_close_pop");
    return 0;
}
int16_t exec_print(VbString* path) {
    engine().calls.push_back("pnho_exec_print");
    int16_t r = rc("pnho_exec_print");
    if (r == 0) {
        write_work("PXPNHO2.TMP", engine().print);
        give(path, "C:\\WORK\\PXPNHO2.TMP");
    }
    return r;
}
int16_t exec_price(int16_t kind, VbString* path) {
    engine().calls.push_back("pnho_exec_price " + std::to_string(kind));
    int16_t r = rc("pnho_exec_price");
    if (r == 0) {
        write_work("PXPNHO3.TMP", std::string(72, ' '));
        give(path, "C:\\WORK\\PXPNHO3.TMP");
    }
    return r;
}
int16_t exec_save() {
    engine().calls.push_back("pnho_exec_save");
    return rc("pnho_exec_save");
}
int32_t clear_select() {
    engine().calls.push_back("VBClearSelectTmp");
    return rc("VBClearSelectTmp");
}

// The price list and the export dialog come with their own screens; these
// stand in for them here.
class StandIn : public px::Form {
public:
    explicit StandIn(const char* name) : px::Form(name) {
        make_key_bar({3});
        make_message_line();
    }
};

const bool stand_ins = [] {
    for (const char* name : {"Pric", "Intf"}) px::register_form(name, [name] { return new StandIn(name); });
    return true;
}();

template <typename Sig>
void answer(px::Declared<Sig>& entry, Sig* fake) {
    entry.entry().set_address(reinterpret_cast<void*>(fake));
}

}  // namespace

std::string list_record(const std::string& f1, const std::string& f2, const std::string& f3, const std::string& f4,
                        const std::string& mark) {
    return pad(f1, 2) + pad(f2, 6) + pad(f3, 2) + pad(f4, 14) + pad("01", 2) + pad("1801-", 9) + pad("PART", 30) +
           pad("", 30) + pad(mark, 1);
}

std::string numbered_records(int n) {
    std::string out;
    char code[8];
    for (int i = 1; i <= n; ++i) {
        std::snprintf(code, sizeof code, "%06d", i);
        out += list_record(std::to_string(i % 100), code, "01", "11111-22222-33");
    }
    return out;
}

std::string one_group(int n, const std::string& code) {
    std::string out = list_record("01", code, "01", "11111-22222-33");
    for (int i = 1; i < n; ++i) out += list_record("", "", "", "");
    return out;
}

int EngineScript::count(const std::string& name) const {
    int n = 0;
    for (const auto& c : calls)
        if (c == name || c.rfind(name + " ", 0) == 0) ++n;
    return n;
}

EngineScript& engine() {
    static EngineScript s;
    return s;
}

void PnhoTest::SetUp() {
    ProgramTest::SetUp();
    ASSERT_TRUE(start());
    engine() = EngineScript{};
    px::partslist::pnho_module() = px::partslist::PnhoModule{};
    answer(lib::pnho_exec_main, &exec_main);
    answer(lib::pnho_close_main, &close_main);
    answer(lib::pnho_check_LclFigFlg, &lcl_fig);
    answer(lib::pnho_exec_match, &exec_match);
    answer(lib::pnho_check_retran, &check_retran);
    answer(lib::pnho_check_jouhou, &check_jouhou);
    answer(lib::pnho_set_FrameModel, &set_frame_model);
    answer(lib::pnho_set_FrameNo, &set_frame_no);
    answer(lib::pnho_set_Ad, &set_ad);
    answer(lib::pnho_set_ColorNo, &set_color);
    answer(lib::pnho_set_TrimNo, &set_trim);
    answer(lib::pnho_exec_retran, &exec_retran);
    answer(lib::pnho_check_selcnt, &selcnt);
    answer(lib::pnho_reverse_sel, &reverse_sel);
    answer(lib::pnho_input_qty, &input_qty);
    answer(lib::pnho_set_qty, &set_qty);
    answer(lib::pnho_reset_mstflag, &reset_mstflag);
    answer(lib::pnho_exec_pop, &exec_pop);
    answer(lib::pnho_clr_tokucyo, &clr_tokucyo);
    answer(lib::pnho_set_tokucyo, &set_tokucyo);
    answer(lib::pnho_check_tokucyo, &check_tokucyo);
    answer(lib::pnho_close_pop, &close_pop);
    answer(lib::pnho_exec_print, &exec_print);
    answer(lib::pnho_exec_price, &exec_price);
    answer(lib::pnho_exec_save, &exec_save);
    answer(lib::VBClearSelectTmp, &clear_select);
    on_modal("Errm", [](px::Form& f) { px::unload_form(f); });
    on_modal("Pric", [](px::Form& f) { px::unload_form(f); });
    on_modal("Intf", [](px::Form& f) { px::unload_form(f); });
}

void PnhoTest::TearDown() {
    if (px::Form* f = px::loaded_form("Pnho")) px::unload_form(*f);
    settle();
    for (px::EntryPoint* e : lib::kAllEntries) e->set_address(nullptr);
    ProgramTest::TearDown();
}

px::Pnho& PnhoTest::open(const std::string& list) {
    engine().list = list;
    auto& p = px::load_form<px::Pnho>();
    px::ScrPush(p);
    settle();
    return p;
}

void PnhoTest::press(px::Form& f, int fkey) {
    key(f, Qt::Key_F1 + (fkey - 1));
    settle();
}

std::string PnhoTest::work(const std::string& name) const {
    std::ifstream in(fs::path(inst->root()) / "WORK" / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool PnhoTest::work_exists(const std::string& name) const { return fs::exists(fs::path(inst->root()) / "WORK" / name); }

QString PnhoTest::message(int no) {
    QLabel label;
    px::DispMsg(static_cast<int16_t>(no), &label);
    return label.text();
}

std::string PnhoTest::shown_keys(px::Form& f) {
    std::string out;
    for (int n = 1; n <= 12; ++n)
        if (f.cmd_PF(n) != nullptr && !f.cmd_PF(n)->isHidden()) out += (out.empty() ? "" : " ") + std::to_string(n);
    return out;
}

}  // namespace pxtest
