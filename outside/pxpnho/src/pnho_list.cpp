// The list file and what it shows: the narrowing to the vehicle (validity
// against the production date, "FOR" and "EXC." remark clauses against the
// frame model and the characteristics), the conditions, marks and
// quantities.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "pnho_state.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/strutil.h"
#include "pxpnho/pxpnho.h"
#include "pxpnho/pxpnho_layout.h"

namespace pxpnho {

namespace {

constexpr int kSecondCharacts = 21;

std::string trimmed(const char* p, size_t n) {
    size_t b = 0, e = n;
    while (b < e && (p[b] == ' ' || p[b] == 0)) ++b;
    while (e > b && (p[e - 1] == ' ' || p[e - 1] == 0)) --e;
    return std::string(p + b, e - b);
}

// The clauses of a part's remarks, split at ';' and ',', trimmed, upper case.
std::vector<std::string> clauses(const std::string& remarks) {
    std::vector<std::string> out;
    std::string cur;
    auto push = [&] {
        std::string t = trimmed(cur.data(), cur.size());
        if (!t.empty()) out.push_back(t);
        cur.clear();
    };
    for (char c : remarks) {
        if (c == ';' || c == ',') push();
        else cur.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    push();
    return out;
}

// The word after a clause's lead ("FOR ", "EXC. "), or "".
std::string after(const std::string& clause, std::string_view lead) {
    if (clause.size() <= lead.size() || clause.compare(0, lead.size(), lead) != 0) return "";
    std::string rest = trimmed(clause.data() + lead.size(), clause.size() - lead.size());
    size_t sp = rest.find(' ');
    return sp == std::string::npos ? rest : rest.substr(0, sp);
}

bool date_fits(const Part& p, int when) {
    if (when < 0 || !p.found) return true;
    int from = yymm_months(p.from);
    int to = std::memcmp(p.to, "9999", 4) == 0 ? -1 : yymm_months(p.to);
    if (from >= 0 && when < from) return false;
    if (to >= 0 && when > to) return false;
    return true;
}

// Whether the "FOR"/"EXC." clauses allow a vehicle of these words. No words:
// nothing to compare, the part stays.
bool words_fit(const std::vector<std::string>& cl, const std::vector<std::string>& words) {
    if (words.empty()) return true;
    auto known = [&](const std::string& w) {
        for (const auto& v : words)
            if (v == w) return true;
        return false;
    };
    bool any_for = false, for_hit = false;
    for (const auto& c : cl) {
        std::string w = after(c, "FOR ");
        if (!w.empty()) {
            any_for = true;
            if (known(w)) for_hit = true;
        }
        std::string x = after(c, "EXC. ");
        if (x.empty()) x = after(c, "EXC ");
        if (!x.empty() && known(x)) return false;
    }
    return !any_for || for_hit;
}

// A condition named by a clause ("COLOR 1E7", "TRIM FA20") must be the one
// entered, when one was entered.
bool named_fits(const std::vector<std::string>& cl, std::string_view lead, const std::string& value) {
    if (value.empty()) return true;
    bool any = false;
    for (const auto& c : cl) {
        std::string w = after(c, lead);
        if (w.empty()) continue;
        any = true;
        if (w == value) return true;
    }
    return !any;
}

std::vector<std::string> vehicle_words() {
    std::vector<std::string> out;
    const unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr) return out;
    auto add = [&](size_t at, size_t n) {
        std::string w = trimmed(reinterpret_cast<const char*>(car + at), n);
        for (char& c : w) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!w.empty()) out.push_back(w);
    };
    add(pxall::ccar::kFrameModel, 7);
    add(pxall::ccar::kCharact1a, 10);
    add(pxall::ccar::kCharact1b, 10);
    for (int k = 0; k < kSecondCharacts; ++k) add(pxall::ccar::kCharact2 + 5 * static_cast<size_t>(k), 5);
    return out;
}

int vehicle_date() {
    const unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr) return -1;
    return yyyymm_months(reinterpret_cast<const char*>(car + pxall::ccar::kProdDate));
}

void put(char* rec, size_t at, const char* p, size_t n) { std::memcpy(rec + at, p, n); }

}  // namespace

State& st() {
    static State s;
    return s;
}

int fail(const char* function, const char* step, int code, int second, int place) {
    pxall::syerr_message(kModule, function, step, code, second, place);
    return kFailed;
}

bool work_path(PathSlot slot, const char* name) {
    char* p = st().paths[slot];
    std::memset(p, 0, pxall::kPathSize);
    std::snprintf(p, pxall::kPathSize, "%s", name);
    if (pxall::get_path_name(pxall::kPathWork, -1, p) == 0) return true;
    p[0] = 0;
    return false;
}

void give_path(VbString* s, const char* path) {
    if (s == nullptr || s->data == nullptr || s->len < 1) return;
    size_t len = static_cast<size_t>(s->len);
    std::memset(s->data, 0, len);
    size_t n = std::strlen(path);
    std::memcpy(s->data, path, n < len - 1 ? n : len - 1);
}

bool reads_as_number(const char* field, size_t n) {
    std::string t = trimmed(field, n);
    if (t.empty()) return false;
    for (char c : t)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

int yymm_months(const char* yymm) {
    for (int i = 0; i < 4; ++i)
        if (!std::isdigit(static_cast<unsigned char>(yymm[i]))) return -1;
    int yy = (yymm[0] - '0') * 10 + (yymm[1] - '0');
    int mm = (yymm[2] - '0') * 10 + (yymm[3] - '0');
    int year = yy > 49 ? 1900 + yy : 2000 + yy;
    return year * 12 + mm;
}

int yyyymm_months(const char* yyyymm) {
    for (int i = 0; i < 6; ++i)
        if (!std::isdigit(static_cast<unsigned char>(yyyymm[i]))) return -1;
    int year = std::atoi(std::string(yyyymm, 4).c_str());
    int mm = (yyyymm[4] - '0') * 10 + (yyyymm[5] - '0');
    if (mm < 1 || mm > 12) return -1;
    return year * 12 + mm;
}

void choose_lines() {
    State& s = st();
    std::vector<std::string> words;
    int when = -1;
    if (s.match == 1) {
        words = vehicle_words();
        when = vehicle_date();
    }
    const Conditions& c = s.cond;
    int cond_when = c.active ? yyyymm_months(c.ad) : -1;
    std::vector<std::string> cond_words;
    std::string color, trim;
    if (c.active) {
        std::string fm = trimmed(c.frame_model, sizeof c.frame_model);
        for (char& ch : fm) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (!fm.empty()) cond_words.push_back(fm);
        color = trimmed(c.color, sizeof c.color);
        trim = trimmed(c.trim, sizeof c.trim);
    }
    std::vector<char> part_shown(s.parts.size(), 0);
    for (size_t i = 0; i < s.parts.size(); ++i) {
        const Part& p = s.parts[i];
        std::vector<std::string> cl = clauses(p.remarks);
        bool ok = date_fits(p, when) && words_fit(cl, words);
        if (ok && c.active)
            ok = date_fits(p, cond_when) && words_fit(cl, cond_words) && named_fits(cl, "COLOR ", color) &&
                 named_fits(cl, "TRIM ", trim);
        part_shown[i] = ok ? 1 : 0;
    }
    s.shown.clear();
    for (size_t i = 0; i < s.lines.size(); ++i)
        if (part_shown[static_cast<size_t>(s.lines[i].part)]) s.shown.push_back(static_cast<int>(i));
}

int write_list() {
    namespace lr = list_rec;
    State& s = st();
    if (s.paths[kPathList][0] == 0 && !work_path(kPathList, kListFile))
        return fail("pnho_write_list", "get_path_name", -1, 0, 20);
    std::FILE* f = plat::fopen(s.paths[kPathList], "wb");
    if (f == nullptr) return fail("pnho_write_list", "fopen", 11, errno, 21);
    int last_item = -1, parts = 0;
    int r = 0;
    for (int li : s.shown) {
        const Line& l = s.lines[static_cast<size_t>(li)];
        const Part& p = s.parts[static_cast<size_t>(l.part)];
        char rec[lr::kSize];
        std::memset(rec, ' ', sizeof rec);
        if (l.first) {
            char n[8];
            std::snprintf(n, sizeof n, "%02d", ++parts % 100);
            put(rec, lr::kF1, n, 2);
            put(rec, lr::kF7, p.name, 30);
            if (p.found) {
                put(rec, lr::kF6, p.from, 4);
                rec[lr::kF6 + 4] = '-';
                if (std::memcmp(p.to, "9999", 4) != 0) put(rec, lr::kF6 + 5, p.to, 4);
            }
        }
        if (p.item != last_item) {
            put(rec, lr::kF2, p.pnc, 6);
            last_item = p.item;
        } else {
            put(rec, lr::kF2, l.label, 6);
        }
        put(rec, lr::kF3, l.qty, 2);
        put(rec, lr::kF4, l.number, 14);
        put(rec, lr::kF5, l.cat_qty, 2);
        put(rec, lr::kF8, l.piece, 30);
        rec[lr::kF9] = l.marked ? 'S' : ' ';
        if (std::fwrite(rec, 1, sizeof rec, f) != sizeof rec) {
            r = fail("pnho_write_list", "fwrite", 13, errno, 22);
            break;
        }
    }
    if (std::fclose(f) != 0 && r == 0) r = fail("pnho_write_list", "fclose", 12, errno, 23);
    return r;
}

Line* shown_line(int index) {
    State& s = st();
    if (index < 0 || static_cast<size_t>(index) >= s.shown.size()) return nullptr;
    return &s.lines[static_cast<size_t>(s.shown[static_cast<size_t>(index)])];
}

int marked_count() {
    State& s = st();
    int n = 0;
    for (int li : s.shown)
        if (s.lines[static_cast<size_t>(li)].marked) ++n;
    return n;
}

}  // namespace pxpnho

using namespace pxpnho;

extern "C" {

int16_t pnho_exec_main(VbString* path, int16_t* match) {
    State& s = st();
    const unsigned char* next = pxall::get_cnexta_addr();
    s.local = next != nullptr && next[pxall::cnexta::kLocalFlag] != 0;
    s.match = 0;
    s.cond = Conditions{};
    s.chosen.clear();
    s.open = false;
    if (match != nullptr) *match = 0;
    if (!work_path(kPathList, kListFile)) return static_cast<int16_t>(fail("pnho_exec_main", "get_path_name", -1, 0, 30));
    int r = build_list();
    if (r == 4) return kQuiet;
    if (r != 0) return static_cast<int16_t>(r);
    choose_lines();
    if (write_list() != 0) return kFailure;
    s.open = true;
    give_path(path, s.paths[kPathList]);
    return 0;
}

int16_t pnho_close_main() {
    State& s = st();
    s.parts.clear();
    s.lines.clear();
    s.shown.clear();
    s.price.clear();
    s.chosen.clear();
    s.price_kind = -1;
    s.open = false;
    return 0;
}

int16_t pnho_check_LclFigFlg(int16_t ask) {
    State& s = st();
    if (ask == 1) return s.local ? 1 : 0;
    s.local = false;
    // The flag of the next-screen block goes too: left set, every later
    // parts list would list the local parts instead of its own selection.
    if (unsigned char* next = pxall::get_cnexta_addr()) next[pxall::cnexta::kLocalFlag] = 0;
    return 0;
}

int16_t pnho_exec_match(int16_t* match) {
    State& s = st();
    if (!s.open) return static_cast<int16_t>(fail("pnho_exec_match", "no list", -1, 0, 31));
    s.match = s.match == 1 ? 0 : 1;
    choose_lines();
    if (write_list() != 0) return kFailure;
    if (match != nullptr) *match = s.match;
    return 0;
}

int16_t pnho_check_retran() {
    State& s = st();
    if (!s.open) return static_cast<int16_t>(fail("pnho_check_retran", "no list", -1, 0, 32));
    const unsigned char* car = pxall::get_ccar_addr();
    bool no_catalog = car == nullptr || pxall::memlenb(reinterpret_cast<const char*>(car + pxall::ccar::kCatalog), 6) == 0;
    if (s.local || no_catalog) return kMsgNoNarrowing;
    return 0;
}

int16_t pnho_check_jouhou(int16_t /*kind*/, const char* yyyymm) {
    std::string t = yyyymm != nullptr ? trimmed(yyyymm, std::strlen(yyyymm)) : "";
    if (t.empty()) return 0;
    if (t.size() != 6 || yyyymm_months(t.c_str()) < 0) return kMsgRefused;
    int year = std::atoi(t.substr(0, 4).c_str());
    if (year < 1900 || year > 2500) return kMsgRefused;
    return 0;
}

namespace {
void set_field(char* field, size_t n, const char* text) {
    std::memset(field, ' ', n);
    if (text == nullptr) return;
    size_t len = std::strlen(text);
    std::memcpy(field, text, len < n ? len : n);
}
}  // namespace

int16_t pnho_set_FrameModel(const char* text) {
    set_field(st().cond.frame_model, 7, text);
    return 0;
}
int16_t pnho_set_FrameNo(const char* text) {
    set_field(st().cond.frame_no, 7, text);
    return 0;
}
int16_t pnho_set_Ad(const char* text) {
    set_field(st().cond.ad, 6, text);
    return 0;
}
int16_t pnho_set_ColorNo(const char* text) {
    set_field(st().cond.color, 3, text);
    return 0;
}
int16_t pnho_set_TrimNo(const char* text) {
    set_field(st().cond.trim, 4, text);
    return 0;
}

int16_t pnho_exec_retran(int32_t* /*reserved*/) {
    State& s = st();
    if (!s.open) return static_cast<int16_t>(fail("pnho_exec_retran", "no list", -1, 0, 33));
    s.cond.active = true;
    // The conditions replace the narrowing to the vehicle.
    s.match = 0;
    choose_lines();
    if (write_list() != 0) return kFailure;
    return 0;
}

int16_t pnho_check_selcnt() {
    int n = marked_count();
    return static_cast<int16_t>(n > 32767 ? 32767 : n);
}

int16_t pnho_reverse_sel(int16_t index) {
    Line* l = shown_line(index);
    if (l == nullptr || !l->has_part) return 1;
    l->marked = !l->marked;
    return 0;
}

int16_t pnho_input_qty(int16_t index) {
    Line* l = shown_line(index);
    return l != nullptr && l->has_part ? 0 : 1;
}

int16_t pnho_set_qty(int16_t index, const char* qty) {
    Line* l = shown_line(index);
    if (l == nullptr || !l->has_part || qty == nullptr) return 1;
    if (!std::isdigit(static_cast<unsigned char>(qty[0])) || !std::isdigit(static_cast<unsigned char>(qty[1]))) return 1;
    std::memcpy(l->qty, qty, 2);
    if (qty[0] == '0' && qty[1] == '0') std::memcpy(l->qty, "01", 2);
    return 0;
}

}  // extern "C"
