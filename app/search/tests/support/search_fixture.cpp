#include "support/search_fixture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QVBoxLayout>

#include "platform/controls.h"
#include "search/route_context.h"
#include "search/route_entries.h"
#include "shell/codepage.h"
#include "shell/messages.h"
#include "shell/stack.h"

namespace fs = std::filesystem;

namespace pxtest {

namespace lib = px::search::lib;

Script& script() {
    static Script s;
    return s;
}

std::vector<std::string> Script::calls_of(const std::string& entry) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.rfind(entry + "(", 0) == 0) out.push_back(c);
    return out;
}

namespace {

void log(const std::string& entry, const std::string& args = "") { script().calls.push_back(entry + "(" + args + ")"); }

void give(VbString* s, const std::string& text) {
    if (s == nullptr) return;
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, text.data(), std::min<size_t>(text.size(), static_cast<size_t>(s->len)));
}

std::string padded(const char* s, size_t n) {
    std::string t = s != nullptr ? std::string(s) : std::string();
    t.resize(n, ' ');
    return t.substr(0, n);
}

// --- PXKROT --------------------------------------------------------------------
int32_t clear_fig_grp() {
    log("VBKrotClearFigGrp");
    return 0;
}
int32_t set_fig_grp(int16_t n) {
    log("VBKrotSetFigGrp", std::to_string(n));
    return 0;
}
int32_t check_fig_no(const char* fig, int16_t* status) {
    log("VBKrotCheckFigNo", fig);
    const Answer& a = script()["VBKrotCheckFigNo"];
    *status = a.status;
    return a.rc;
}
int32_t check_pnc(const char* pnc, VbString* fig, int16_t* status) {
    log("VBKrotCheckPnc", pnc);
    const Answer& a = script()["VBKrotCheckPnc"];
    if (a.rc == 0 && a.status == 0) give(fig, a.text);
    *status = a.status;
    return a.rc;
}
int32_t check_pn(const char* part, VbString* fig, int16_t* status) {
    log("VBKrotCheckPn", part);
    const Answer& a = script()["VBKrotCheckPn"];
    if (a.rc == 0 && a.status == 0) give(fig, a.text);
    *status = a.status;
    return a.rc;
}
int32_t set_group_code(const char* code) {
    log("VBKgrlSetGroupCode", code);
    return 0;
}
int32_t grl_load(int16_t* status) {
    log("VBKgrlLoad");
    const Answer& a = script()["VBKgrlLoad"];
    *status = a.status;
    return a.rc;
}
int32_t grp_get_group(VbString* code, VbString* name) {
    log("VBKgrpGetGroup");
    give(code, script().group_code);
    give(name, padded(script().group_name.c_str(), 60));
    return 0;
}
int32_t kwd_load(const char* keyword, int16_t* count, VbString* path, int16_t* status) {
    log("VBKkwdLoad", keyword);
    const Answer& a = script()["VBKkwdLoad"];
    *count = a.count;
    *status = a.status;
    give(path, a.text);
    return a.rc;
}
int32_t make_pnc_lst(const char* entry, int16_t* count, VbString* path, int16_t* status) {
    log("VBKpncMakePncLst", entry);
    const Answer& a = script()["VBKpncMakePncLst"];
    *count = a.count;
    *status = a.status;
    give(path, a.text);
    return a.rc;
}
// As the library does it: a new line with the code's name, or a replaced
// line with the new code's name.
int32_t add_rep_pnc(int32_t list, const char* pnc, const char* qty, int16_t* index) {
    log("VBKpncAddRepPnc", std::string(pnc) + "," + qty + "," + std::to_string(*index));
    const Answer& a = script()["VBKpncAddRepPnc"];
    if (a.rc != 0) return a.rc;
    plat::Control* box = plat::control(list);
    const std::string code = padded(pnc, 6);
    auto it = script().names.find(code);
    const std::string name = padded(it != script().names.end() ? it->second.c_str() : ("NAME " + code).c_str(), 60);
    if (*index != -1) {
        std::string line;
        box->lb_text(*index, &line);
        line = line.substr(0, 4) + code + " " + name + " " + padded(qty, 2);
        box->lb_delete(*index);
        box->lb_insert(*index, line);
        *index = 0;
        return 0;
    }
    if (box->lb_count() >= 1000) {
        *index = 1;
        return 0;
    }
    char num[8];
    std::snprintf(num, sizeof num, "%03d", box->lb_count());
    box->lb_add(std::string(num) + " " + code + " " + name + " " + padded(qty, 2));
    *index = a.status;
    return 0;
}

// --- PXEMOK, PXLPPS ---------------------------------------------------------------
int32_t emok_init(int16_t* count, int16_t* status) {
    log("VBEmokInit");
    const Answer& a = script()["VBEmokInit"];
    *status = a.status;
    if (a.status != 4) *count = a.count;
    return a.rc;
}
int32_t emok_term() {
    log("VBEmokTerm");
    return 0;
}
int32_t lpem_make(int16_t* count, VbString* path) {
    log("VBLpemMakeFigListFile");
    const Answer& a = script()["VBLpemMakeFigListFile"];
    *count = a.count;
    give(path, a.text);
    return a.rc;
}

// --- PXEMOK: the index pages ------------------------------------------------------
int32_t emok_page(int16_t n, VbString* sho, VbString* zen, VbString* figs, int16_t* last, int16_t* status) {
    log("VBEmokGetPageData", std::to_string(n));
    const Answer& a = script()["VBEmokGetPageData"];
    *last = 0;
    *status = a.status;
    if (a.rc != 0 || a.status != 0) return a.rc;
    if (n < 1) {
        *status = 1;
        return 0;
    }
    if (n > script().index_pages) {
        *status = 2;
        *last = 1;
        return 0;
    }
    QImage img(640, 352, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 100; y < 150; ++y)
        for (int x = 100; x < 200; ++x) img.setPixel(x, y, qRgb(0, 0, 0));
    const fs::path work = fs::current_path() / "WORK";
    img.save(QString::fromStdString((work / "EMOKIMGZ.BMP").string()), "BMP");
    img.save(QString::fromStdString((work / "EMOKIMGS.BMP").string()), "BMP");
    std::ofstream(work / "EMOKFNLS.TMP", std::ios::binary)
        << "1" << n << "-01 PAGE " << n << "\r\n     (CONTINUED)\r\n";
    give(zen, a.text.empty() ? "C:\\WORK\\EMOKIMGZ.BMP" : a.text);
    give(sho, "C:\\WORK\\EMOKIMGS.BMP");
    give(figs, "C:\\WORK\\EMOKFNLS.TMP");
    *last = n == script().index_pages ? 1 : 0;
    return 0;
}
int32_t emok_select_all(int32_t, int32_t, int32_t, int32_t, int32_t) {
    log("VBEmokSelectAll");
    return 0;
}
int32_t emok_select_list(int32_t, int32_t, int32_t, int32_t, int32_t list, int16_t* status) {
    log("VBEmokSelectListBox", std::to_string(plat::control(list)->lb_get_cur()));
    const Answer& a = script()["VBEmokSelectListBox"];
    *status = a.status;
    return a.rc;
}
int32_t emok_select_at(const char* entry, float x, float y, int16_t* status) {
    log(entry, std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    const Answer& a = script()[entry];
    if (a.status != 0) *status = a.status;
    return a.rc;
}
int32_t emok_zentai(int32_t, int32_t, int32_t, int32_t, int32_t, float x, float y, int16_t* status) {
    return emok_select_at("VBEmokSelectZentai", x, y, status);
}
int32_t emok_shosai(int32_t, int32_t, int32_t, int32_t, int32_t, float x, float y, int16_t* status) {
    return emok_select_at("VBEmokSelectShosai", x, y, status);
}
int32_t emok_clear(int32_t) {
    log("VBEmokClear");
    return 0;
}
int32_t write_figno(int16_t* count) {
    log("VBwrite_figno");
    *count = script()["VBwrite_figno"].count;
    return 0;
}

// --- PXLPPS: the pages --------------------------------------------------------------
int32_t lpps_page(int16_t n, VbString* fig, VbString* name, VbString* picture, VbString* list, int16_t* last,
                  int16_t* status) {
    log("VBLppsGetPageData", std::to_string(n));
    const auto& pages = script().pages;
    *last = 0;
    *status = 0;
    if (n < 0) {
        *status = 11;
        return 0;
    }
    if (n >= static_cast<int16_t>(pages.size())) {
        *last = 1;
        *status = 12;
        return 0;
    }
    const auto& p = pages[static_cast<size_t>(n)];
    std::string bytes;
    for (const auto& l : p.lines) bytes += l + "\r\n";
    const fs::path file = fs::current_path() / "WORK" / "LPPSFNLS.TMP";
    std::ofstream(file, std::ios::binary) << bytes;
    give(fig, p.figure);
    give(name, padded(p.name.c_str(), 30));
    give(list, "C:\\WORK\\LPPSFNLS.TMP");
    if (p.picture.empty())
        *status = 1;
    else
        give(picture, p.picture);
    if (n + 1 == static_cast<int16_t>(pages.size())) *last = 1;
    return 0;
}
int32_t lpps_none() { return 0; }
int32_t lpps_select_all(const char* fig, int32_t) {
    log("VBLppsSelectAll", fig);
    return 0;
}
int32_t lpps_select(const char* fig, int32_t list, int32_t box, int16_t* out) {
    plat::Control* l = plat::control(list);
    const int32_t cur = l->lb_get_cur();
    log("VBLppsSelectListBox", std::string(fig) + "," + std::to_string(cur));
    *out = 0;
    if (cur < 0) return 0;
    std::string line;
    l->lb_text(cur, &line);
    line.resize(36, ' ');
    const bool picked = l->lb_get_sel(cur) == 1;
    line.replace(34, 2, picked ? "  " : "01");
    l->lb_delete(cur);
    l->lb_insert(cur, line);
    l->lb_set_cur(cur);
    l->lb_set_sel(cur, !picked);
    plat::control(box)->set_text(picked ? "" : "01");
    return 0;
}
int32_t lpps_click(int32_t, int32_t) {
    log("VBLppsClickListBox");
    return 0;
}
int32_t lpps_entry(const char* fig, int16_t step, int32_t, int32_t box, int16_t* out) {
    const std::string typed = plat::control(box)->text();
    log("VBLppsEntryQty", std::string(fig) + "," + std::to_string(step) + "," + typed);
    *out = typed.empty() ? 1 : 0;
    return 0;
}
int32_t lpps_exec(int16_t* count) {
    log("VBLppsExec");
    *count = script().picks;
    return 0;
}

// --- PXALL: the group lists ------------------------------------------------------
int32_t make_list_grp_mei(int32_t list) {
    log("VBMakeListGrpMei");
    for (const auto& l : script().group_lines) plat::control(list)->lb_add(l);
    return 0;
}
int32_t make_list_grp_pnc(const char* code, int32_t list, int16_t* flag) {
    log("VBMakeListGrpPnc", std::string(code) + "," + std::to_string(*flag));
    const Answer& a = script()["VBMakeListGrpPnc"];
    if (a.rc != 0) return a.rc;
    for (const auto& l : script().group_pnc_lines) plat::control(list)->lb_add(l);
    return 0;
}

template <typename Sig>
void answer(px::Declared<Sig>& entry, Sig* fake) {
    entry.entry().set_address(reinterpret_cast<void*>(fake));
}

const bool stand_ins = [] {
    for (const char* name : {"Bunz", "Pnho", "Vinf"})
        px::register_form(name, [name] { return new StandIn(name); });
    return true;
}();

}  // namespace

StandIn::StandIn(const char* name) : px::Form(name) {
    setWindowTitle(name);
    resize(300, 120);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(make_key_bar({3}));
    layout->addWidget(make_message_line());
    opened().push_back(name);
}

bool StandIn::on_key_down(int key_code) {
    if (key_code == px::key_f(3)) {
        px::ScrBack();
        px::unload_form(*this);
    }
    return false;
}

std::vector<std::string>& StandIn::opened() {
    static std::vector<std::string> names;
    return names;
}

void SearchTest::SetUp() {
    ProgramTest::SetUp();
    ASSERT_TRUE(start());
    menu = px::loaded_form("Gyom");
    script() = Script{};
    StandIn::opened().clear();
    px::search::reset_route_context();
    answer(lib::VBKrotClearFigGrp, &clear_fig_grp);
    answer(lib::VBKrotSetFigGrp, &set_fig_grp);
    answer(lib::VBKrotCheckFigNo, &check_fig_no);
    answer(lib::VBKrotCheckPnc, &check_pnc);
    answer(lib::VBKrotCheckPn, &check_pn);
    answer(lib::VBKgrlSetGroupCode, &set_group_code);
    answer(lib::VBKgrlLoad, &grl_load);
    answer(lib::VBKgrpGetGroup, &grp_get_group);
    answer(lib::VBKkwdLoad, &kwd_load);
    answer(lib::VBKpncMakePncLst, &make_pnc_lst);
    answer(lib::VBKpncAddRepPnc, &add_rep_pnc);
    answer(lib::VBEmokInit, &emok_init);
    answer(lib::VBEmokTerm, &emok_term);
    answer(lib::VBLpemMakeFigListFile, &lpem_make);
    answer(lib::VBMakeListGrpMei, &make_list_grp_mei);
    answer(lib::VBMakeListGrpPnc, &make_list_grp_pnc);
    answer(lib::VBEmokGetPageData, &emok_page);
    answer(lib::VBEmokSelectAll, &emok_select_all);
    answer(lib::VBEmokSelectListBox, &emok_select_list);
    answer(lib::VBEmokSelectZentai, &emok_zentai);
    answer(lib::VBEmokSelectShosai, &emok_shosai);
    answer(lib::VBEmokClear, &emok_clear);
    answer(lib::VBwrite_figno, &write_figno);
    answer(lib::VBLppsGetPageData, &lpps_page);
    answer(lib::VBLppsInit, &lpps_none);
    answer(lib::VBLppsTerm, &lpps_none);
    answer(lib::VBLppsSelectAll, &lpps_select_all);
    answer(lib::VBLppsSelectListBox, &lpps_select);
    answer(lib::VBLppsClickListBox, &lpps_click);
    answer(lib::VBLppsEntryQty, &lpps_entry);
    answer(lib::VBLppsExec, &lpps_exec);
}

void SearchTest::TearDown() {
    for (px::EntryPoint* e : lib::kAllEntries) e->set_address(nullptr);
    px::search::reset_route_context();
    ProgramTest::TearDown();
}

QString SearchTest::message(int no) {
    QLabel label;
    px::DispMsg(static_cast<int16_t>(no), &label);
    return label.text();
}

std::string SearchTest::work_file(const std::string& name, const std::string& bytes) {
    inst->write("WORK/" + name, bytes);
    return "C:\\WORK\\" + name;
}

std::string SearchTest::read_work(const std::string& name) const {
    std::ifstream in(fs::path(inst->root()) / "WORK" / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> SearchTest::lines(QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(px::to_ansi(list->item(i)->text()));
    return out;
}

void SearchTest::click_line(QListWidget* list, int i) {
    list->setCurrentRow(i, QItemSelectionModel::NoUpdate);
    list->item(i)->setSelected(!list->item(i)->isSelected());
}

namespace {

// The block's accessor, a C++ export of the common library.
px::Declared<unsigned char*()> cnexta{"PXALL", "_ZN5pxall15get_cnexta_addrEv"};

}  // namespace

std::vector<std::string> SearchTest::block_figures() {
    const unsigned char* b = cnexta();
    const int n = b[4] | (b[5] << 8);
    std::vector<std::string> out;
    for (int i = 0; i < n && i < 100; ++i) out.emplace_back(reinterpret_cast<const char*>(b + 6 + 4 * i), 4);
    return out;
}

std::string SearchTest::block_group_code() { return std::string(reinterpret_cast<const char*>(cnexta() + 466), 3); }

std::string SearchTest::block_group_name() { return std::string(reinterpret_cast<const char*>(cnexta() + 406), 60); }

std::vector<std::pair<std::string, std::string>> SearchTest::selection() const {
    const std::string image = read_work("SELECT.TMP");
    std::vector<std::pair<std::string, std::string>> out;
    for (size_t at = 0; at + 20 <= image.size(); at += 20) {
        if (image[at] == '\0') continue;
        out.emplace_back(image.substr(at, 12), image.substr(at + 12, 2));
    }
    return out;
}

}  // namespace pxtest
