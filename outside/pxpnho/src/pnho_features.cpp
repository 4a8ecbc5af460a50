// The special features of the catalogue for the feature pop-up: the kinds
// (TOKUME.DAT) and their codes (KIGOUU.DAT) in the data language, and the
// codes the clerk chose, which become the vehicle's characteristics.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "pnho_state.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"
#include "pxall/keyed_layout.h"
#include "pxall/strutil.h"
#include "pxall/vehicle_work_layout.h"
#include "pxpnho/pxpnho.h"
#include "pxpnho/pxpnho_layout.h"

namespace pxpnho {

namespace {

namespace tk = pxall::vehwork::tokume;
namespace kg = pxall::vehwork::kigouu;

constexpr int kSecondCharacts = 21;
constexpr size_t kCharact2Size = 5;

struct Kind {
    int code;
    char name[20];
};

struct Code {
    int kind;
    char code[10];
    char text[70];
};

int read_file(const char* name, const char* catalog, int32_t setup, const char* lang, size_t lang_at,
              std::vector<std::vector<unsigned char>>* out, int place) {
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    int r = pxall::cdopen(name, catalog, 1, 0, -1, setup, 0, &h, &detail);
    if (r == -1) return 0;
    if (r == 4) return 4;
    if (r != 0) return fail("pnho_exec_pop", "cdopen", r, detail, place);
    std::vector<unsigned char> buf(pxall::keyed::kBlockSize);
    while ((r = pxall::cdread(buf.data(), nullptr, 0, 0, nullptr, nullptr, h, &detail)) == 0)
        if (std::memcmp(buf.data() + lang_at, lang, 2) == 0) out->push_back(buf);
    pxall::cdclose(&h, nullptr);
    if (r != -1) return fail("pnho_exec_pop", "cdread", r, detail, place + 1);
    return 0;
}

bool is_vehicle_code(const char* code) {
    const unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr || pxall::memlenb(code, 10) == 0) return false;
    if (std::memcmp(car + pxall::ccar::kCharact1a, code, 10) == 0) return true;
    for (int k = 0; k < kSecondCharacts; ++k) {
        const char* c2 = reinterpret_cast<const char*>(car + pxall::ccar::kCharact2 + kCharact2Size * static_cast<size_t>(k));
        char field[10];
        std::memset(field, ' ', sizeof field);
        for (size_t i = 0; i < kCharact2Size; ++i) field[i] = c2[i] == 0 ? ' ' : c2[i];
        if (pxall::memlenb(field, 10) > 0 && std::memcmp(field, code, 10) == 0) return true;
    }
    return false;
}

bool chosen(int kind, const char* code) {
    for (const Feature& f : st().chosen)
        if (f.kind == kind && std::memcmp(f.code, code, 10) == 0) return true;
    return false;
}

void two_digits(char* out, int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n % 100);
    std::memcpy(out, b, 2);
}

int write_records(const char* path, const std::vector<std::string>& recs, int place) {
    std::FILE* f = plat::fopen(path, "wb");
    if (f == nullptr) return fail("pnho_exec_pop", "fopen", 11, errno, place);
    int r = 0;
    for (const auto& rec : recs)
        if (std::fwrite(rec.data(), 1, rec.size(), f) != rec.size()) {
            r = fail("pnho_exec_pop", "fwrite", 13, errno, place + 1);
            break;
        }
    if (std::fclose(f) != 0 && r == 0) r = fail("pnho_exec_pop", "fclose", 12, errno, place + 2);
    return r;
}

bool code_of_kind(int kind, const char* code) {
    for (const Feature& f : st().features)
        if (f.kind == kind && std::memcmp(f.code, code, 10) == 0) return true;
    return false;
}

}  // namespace

}  // namespace pxpnho

using namespace pxpnho;

extern "C" {

int16_t pnho_exec_pop(VbString* kind_path, VbString* code_path) {
    State& s = st();
    const unsigned char* top = pxall::get_ctop_addr();
    const unsigned char* car = pxall::get_ccar_addr();
    if (top == nullptr || car == nullptr) return static_cast<int16_t>(fail("pnho_exec_pop", "get_ccar_addr", -1, 0, 80));
    if (!work_path(kPathKind, kKindFile) || !work_path(kPathCode, kCodeFile))
        return static_cast<int16_t>(fail("pnho_exec_pop", "get_path_name", -1, 0, 81));
    char catalog[7] = {};
    for (int i = 0; i < 6; ++i) catalog[i] = car[pxall::ccar::kCatalog + i] == 0 ? ' ' : static_cast<char>(car[pxall::ccar::kCatalog + i]);
    const char* lang = reinterpret_cast<const char*>(top + pxall::ctop::kDataLangCode);
    int32_t setup = pxall::get_i32(car + pxall::ccar::kSetupIndex);
    std::vector<std::vector<unsigned char>> tok, kig;
    if (pxall::memlenb(catalog, 6) > 0) {
        int r = read_file("TOKUME.DAT", catalog, setup, lang, tk::kLang, &tok, 82);
        if (r == 0) r = read_file("KIGOUU.DAT", catalog, setup, lang, kg::kLang, &kig, 84);
        if (r == 4) return kQuiet;
        if (r != 0) return kFailure;
    }
    std::vector<std::string> kinds, codes;
    s.features.clear();
    for (const auto& t : tok) {
        if (kinds.size() >= static_cast<size_t>(kMaxFeatureRecords)) break;
        int kind = static_cast<uint16_t>(pxall::get_i16(t.data() + tk::kCode));
        std::string rec(kind_rec::kSize, ' ');
        two_digits(rec.data() + kind_rec::kKind, kind);
        std::memcpy(rec.data() + kind_rec::kName, t.data() + tk::kName, kind_rec::kNameSize);
        kinds.push_back(rec);
        for (const auto& k : kig) {
            if (static_cast<uint16_t>(pxall::get_i16(k.data() + kg::kCode)) != kind) continue;
            if (codes.size() >= static_cast<size_t>(kMaxFeatureRecords)) break;
            std::string c(code_rec::kSize, ' ');
            two_digits(c.data() + code_rec::kSeq, static_cast<int>(codes.size()) + 1);
            two_digits(c.data() + code_rec::kKind, kind);
            std::memcpy(c.data() + code_rec::kCode, k.data() + kg::kSymbol, code_rec::kCodeSize);
            std::memcpy(c.data() + code_rec::kText, k.data() + kg::kText, code_rec::kTextSize);
            for (char& ch : c)
                if (ch == 0) ch = ' ';
            Feature f;
            f.kind = kind % 100;
            std::memcpy(f.code, c.data() + code_rec::kCode, 10);
            s.features.push_back(f);
            bool pick = s.chosen.empty() ? is_vehicle_code(f.code) : chosen(f.kind, f.code);
            c[code_rec::kMark] = pick ? 'S' : ' ';
            codes.push_back(c);
        }
    }
    if (write_records(s.paths[kPathKind], kinds, 86) != 0 || write_records(s.paths[kPathCode], codes, 89) != 0)
        return kFailure;
    give_path(kind_path, s.paths[kPathKind]);
    give_path(code_path, s.paths[kPathCode]);
    return 0;
}

int16_t pnho_clr_tokucyo() {
    st().chosen.clear();
    return 0;
}

int16_t pnho_set_tokucyo(int16_t kind, VbString* code) {
    if (code == nullptr || code->data == nullptr) return 1;
    Feature f;
    f.kind = kind;
    std::memset(f.code, ' ', sizeof f.code);
    size_t n = code->len < 10 ? static_cast<size_t>(code->len < 0 ? 0 : code->len) : 10;
    for (size_t i = 0; i < n; ++i) f.code[i] = code->data[i] == 0 ? ' ' : code->data[i];
    st().chosen.push_back(f);
    return 0;
}

int16_t pnho_check_tokucyo() {
    State& s = st();
    unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr) return static_cast<int16_t>(fail("pnho_check_tokucyo", "get_ccar_addr", -1, 0, 90));
    for (size_t i = 0; i < s.chosen.size(); ++i) {
        // One code a kind, and each must fit a characteristic field.
        for (size_t j = i + 1; j < s.chosen.size(); ++j)
            if (s.chosen[j].kind == s.chosen[i].kind) return kMsgRefused;
        if (pxall::memlenb(s.chosen[i].code, 10) > static_cast<int>(kCharact2Size)) return kMsgRefused;
    }
    // The fields the choice takes: the field that holds a code of the same
    // kind, else the first empty one.
    unsigned char fields[kSecondCharacts][kCharact2Size];
    std::memcpy(fields, car + pxall::ccar::kCharact2, sizeof fields);
    for (const Feature& f : s.chosen) {
        int slot = -1, empty = -1;
        for (int k = 0; k < kSecondCharacts; ++k) {
            char cur[10];
            std::memset(cur, ' ', 10);
            for (size_t i = 0; i < kCharact2Size; ++i) cur[i] = fields[k][i] == 0 ? ' ' : static_cast<char>(fields[k][i]);
            if (pxall::memlenb(cur, 10) == 0) {
                if (empty < 0) empty = k;
            } else if (slot < 0 && code_of_kind(f.kind, cur)) {
                slot = k;
            }
        }
        if (slot < 0) slot = empty;
        if (slot < 0) return kMsgRefused;
        std::memset(fields[slot], 0, kCharact2Size);
        int len = pxall::memlenb(f.code, 10);
        std::memcpy(fields[slot], f.code, static_cast<size_t>(len));
    }
    std::memcpy(car + pxall::ccar::kCharact2, fields, sizeof fields);
    return 0;
}

int16_t pnho_close_pop() {
    st().chosen.clear();
    return 0;
}

}  // extern "C"
