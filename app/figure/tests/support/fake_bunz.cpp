#include "support/fake_bunz.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "figure/bunz_entries.h"
#include "platform/controls.h"
#include "platform/picture.h"

namespace figtest {

Answer FakeBunz::take(const std::string& call) {
    calls.push_back(call);
    auto it = answers.find(call);
    if (it == answers.end() || it->second.empty()) return Answer{};
    Answer a = it->second.front();
    it->second.pop_front();
    return a;
}

int FakeBunz::count(const std::string& call) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
        return c == call || c.rfind(call + " ", 0) == 0;
    }));
}

FakeBunz& fake() {
    static FakeBunz f;
    return f;
}

namespace {

void put(VbString* s, const std::string& text, char pad = ' ') {
    if (s == nullptr || s->data == nullptr) return;
    std::memset(s->data, pad, static_cast<size_t>(s->len));
    std::memcpy(s->data, text.data(), std::min(text.size(), static_cast<size_t>(s->len)));
}

void copy_out(VbString* key, VbString* record, const std::string& k, const std::string& r) {
    put(key, k);
    put(record, r);
}

int32_t page_move(const char* name, int16_t* sub, VbString* key, VbString* record, int16_t* match, int16_t* last,
                  int16_t* status) {
    FakeBunz& f = fake();
    Answer a = f.take(name);
    *status = a.status;
    if (a.rc != 0) return a.rc;
    if (a.status == 11 || a.status == 12) {
        *last = a.status == 11 ? 1 : *last;
        return 0;
    }
    if (sub != nullptr) *sub = f.sub_out;
    *match = f.match;
    *last = f.last;
    copy_out(key, record, f.key, f.record);
    return 0;
}

int32_t init(VbString* k, VbString* r, int16_t* m, int16_t* l, int16_t* s) {
    return page_move("Init", nullptr, k, r, m, l, s);
}
int32_t next(int16_t* sub, VbString* k, VbString* r, int16_t* m, int16_t* l, int16_t* s) {
    return page_move("Next", sub, k, r, m, l, s);
}
int32_t prev(int16_t* sub, VbString* k, VbString* r, int16_t* m, int16_t* l, int16_t* s) {
    return page_move("Prev", sub, k, r, m, l, s);
}
int32_t change(VbString* k, VbString* r, int16_t* m, int16_t* l, int16_t* s) {
    return page_move("Match", nullptr, k, r, m, l, s);
}
int32_t busz_init(VbString* k, VbString* r, int16_t* m, int16_t* l, int16_t* s) {
    FakeBunz& f = fake();
    Answer a = f.take("BuszInit");
    *s = a.status;
    if (a.rc != 0) return a.rc;
    *m = f.match;
    *l = f.last;
    copy_out(k, r, f.sub_key, f.sub_record);
    return 0;
}
int32_t busz_term() {
    fake().take("BuszTerm");
    return 0;
}
int32_t term() {
    fake().take("Term");
    return 0;
}
int32_t page_info(VbString* code, VbString* title, VbString* bitmap, VbString* list, int16_t* kind,
                  int16_t* status) {
    FakeBunz& f = fake();
    Answer a = f.take("MakePageInfo");
    *status = a.status;
    if (a.rc != 0) return a.rc;
    if (a.status == 0) *kind = f.kind;
    put(code, f.code);
    put(title, f.title);
    put(bitmap, f.bitmap, '\0');
    put(list, f.list, '\0');
    return 0;
}
int32_t print_name(VbString* title, VbString* name) {
    fake().take("PrnIllustNm");
    std::string t(title->data, static_cast<size_t>(title->len));
    t.resize(200, ' ');
    put(name, t.substr(0, 74) + "\r\n" + t.substr(74, 74) + "\r\n" + t.substr(148, 52));
    return name->len;
}
int32_t select_all1(int16_t kind, int32_t, int32_t, int32_t) {
    fake().take("SelectAll1 " + std::to_string(kind));
    return 0;
}
int32_t select_all2(int32_t, int32_t, int32_t) {
    fake().take("SelectAll2");
    return 0;
}
int32_t select_illust(int16_t kind, int32_t picture, int32_t window, int32_t, int32_t, VbString* name, float x, float y,
                      int16_t* status) {
    FakeBunz& f = fake();
    Answer a = f.take("SelectIllust");
    f.picks.push_back(FakeBunz::Pick{kind, x, y});
    for (const auto& m : f.marks) {
        plat::PixelRect r{m[0], m[1], m[2], m[3]};
        plat::invert_picture(picture, r);
        plat::show_picture(window, picture, r);
    }
    *status = a.status;
    if (!f.pick_name.empty()) put(name, f.pick_name);
    return a.rc;
}
int32_t select_list(int16_t kind, int32_t, int32_t, int32_t, int32_t, int16_t* status) {
    FakeBunz& f = fake();
    f.list_kinds.push_back("Select " + std::to_string(kind));
    Answer a = f.take("SelectListBox");
    *status = a.status;
    return a.rc;
}
int32_t click_list(int16_t kind, int32_t, int32_t, int16_t* status) {
    FakeBunz& f = fake();
    f.list_kinds.push_back("Click " + std::to_string(kind));
    Answer a = f.take("ClickListBox");
    *status = a.status;
    return a.rc;
}
int32_t entry_qty(int16_t kind, int16_t step, int32_t, int32_t, int16_t* status) {
    FakeBunz& f = fake();
    f.qty_steps.push_back(step);
    Answer a = f.take("EntryQty " + std::to_string(kind));
    *status = a.status;
    return a.rc;
}
int32_t read_sel() { return fake().take("ReadSelectTmp").rc; }
int16_t num_sel() {
    fake().take("GetNumSelTmp");
    return fake().selected;
}
int32_t write_sel() { return fake().take("WriteSelectTmp").rc; }
int32_t clear_sel() {
    fake().take("ClearSelTmp");
    fake().selected = 0;
    return 0;
}
int32_t set_list(int32_t hwnd, const char* path) {
    Answer a = fake().take("SetListBox");
    if (a.rc != 0) return a.rc;
    plat::Control* c = plat::control(hwnd);
    if (c == nullptr) return 11;
    std::ifstream in(path);
    if (!in) return 11;
    c->lb_reset();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        c->lb_add(line);
    }
    return 0;
}

template <typename D, typename F>
void bind(D& declared, F* f) {
    declared.entry().set_address(reinterpret_cast<void*>(f));
}

}  // namespace

void install_fake() {
    namespace b = px::bunz_lib;
    fake() = FakeBunz{};
    bind(b::VBBunzInit, &init);
    bind(b::VBBunzNextPage, &next);
    bind(b::VBBunzPrevPage, &prev);
    bind(b::VBBunzChangeMatch, &change);
    bind(b::VBBunzMakePageInfo, &page_info);
    bind(b::VBBunzTerm, &term);
    bind(b::VBBuszInit, &busz_init);
    bind(b::VBBuszTerm, &busz_term);
    bind(b::VBBunMakePrnIllustNm, &print_name);
    bind(b::VBBunSelectAll1, &select_all1);
    bind(b::VBBunSelectAll2, &select_all2);
    bind(b::VBBunSelectIllust, &select_illust);
    bind(b::VBBunSelectListBox, &select_list);
    bind(b::VBBunClickListBox, &click_list);
    bind(b::VBBunEntryQty, &entry_qty);
    bind(b::VBReadSelectTmp, &read_sel);
    bind(b::VBGetNumSelTmp, &num_sel);
    bind(b::VBWriteSelectTmp, &write_sel);
    bind(b::VBClearSelTmp, &clear_sel);
    bind(b::VBSetListBox, &set_list);
}

void remove_fake() {
    namespace b = px::bunz_lib;
    for (px::EntryPoint* e :
         {&b::VBBunzInit.entry(), &b::VBBunzNextPage.entry(), &b::VBBunzPrevPage.entry(), &b::VBBunzChangeMatch.entry(),
          &b::VBBunzMakePageInfo.entry(), &b::VBBunzTerm.entry(), &b::VBBuszInit.entry(), &b::VBBuszTerm.entry(),
          &b::VBBunMakePrnIllustNm.entry(), &b::VBBunSelectAll1.entry(), &b::VBBunSelectAll2.entry(),
          &b::VBBunSelectIllust.entry(), &b::VBBunSelectListBox.entry(), &b::VBBunClickListBox.entry(),
          &b::VBBunEntryQty.entry(), &b::VBReadSelectTmp.entry(), &b::VBGetNumSelTmp.entry(),
          &b::VBWriteSelectTmp.entry(), &b::VBClearSelTmp.entry(), &b::VBSetListBox.entry()})
        e->set_address(nullptr);
}

void write_page_bitmap(const std::string& path, int w, int h) {
    const int stride = ((w + 7) / 8 + 3) / 4 * 4;
    std::string b(62 + static_cast<size_t>(stride) * h, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 62);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    b[26] = 1;
    b[28] = 1;
    put32(46, 2);
    put32(54, 0x00FFFFFFu);
    auto set = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        b[62 + static_cast<size_t>(stride) * (h - 1 - y) + x / 8] |= static_cast<char>(0x80 >> (x % 8));
    };
    for (int x = 0; x < w; ++x) set(x, 0), set(x, h - 1);
    for (int y = 0; y < h; ++y) set(0, y), set(w - 1, y);
    for (int i = 0; i < std::max(w, h); ++i) {
        set(i * w / std::max(w, h), i * h / std::max(w, h));
        set(w - 1 - i * w / std::max(w, h), i * h / std::max(w, h));
    }
    std::ofstream(path, std::ios::binary) << b;
}

void write_list(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& l : lines) out << l << "\r\n";
}

}  // namespace figtest
