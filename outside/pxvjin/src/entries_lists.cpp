// The lists the vehicle screen opens (catalogue list, model list, saved
// vehicles) and what the engine takes back from them.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine.h"
#include "fsav/fsav.h"
#include "fsav/save_list_layout.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/paths.h"
#include "pxall/savefile.h"
#include "pxall/savefile_layout.h"
#include "pxvjin/pxvjin.h"

using namespace pxvjin;

namespace {

constexpr int32_t kGaveUp = 4;
namespace sf = pxall::savefile;

// The catalogue the list wrote into the current-vehicle block, taken over:
// 0, 4 nothing usable, -1 failure.
int take_listed_catalog() {
    const unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr) return fail("take_listed_catalog", "get_ccar_addr", 128, 0, 70);
    std::string code(reinterpret_cast<const char*>(car + pxall::ccar::kCatalog), kCodeSize);
    if (trimmed(code.data(), code.size()).empty()) return 4;
    Catalog c;
    int r = find_catalog(code, &c);
    if (r < 0) return -1;
    if (r != 0) return 4;
    State& s = state();
    if (s.v.candidates && std::none_of(s.v.candidates->begin(), s.v.candidates->end(),
                                       [&](const Model& m) { return m.catalog == c.code; }))
        return 4;
    take_catalog(c);
    if (settle() < 0) return -1;
    fill_block();
    return 0;
}

// The models the model list offers: the candidates of the catalogue, or all
// of its models.
int model_rows(std::vector<Model>* rows) {
    const Vehicle& v = state().v;
    rows->clear();
    if (!v.catalog) return 0;
    if (v.candidates) {
        for (const Model& m : *v.candidates)
            if (m.catalog == v.catalog->code) rows->push_back(m);
        return 0;
    }
    return read_models(jouhou::kSetCatalog, v.catalog->code, rows);
}

int32_t path_out(VbString* s, const char* name) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return 0;
    char path[pxall::kPathSize] = {};
    std::strncpy(path, name, sizeof path - 1);
    int r = pxall::get_path_name(pxall::kPathWork, -1, path);
    size_t n = std::min(strnlen(path, sizeof path), static_cast<size_t>(s->len));
    std::memcpy(s->data, path, n);
    std::memset(s->data + n, 0, static_cast<size_t>(s->len) - n);
    return r;
}

// Writes the saved-list listing; its number of lines, or -1.
int saved_list_lines() {
    char buf[pxall::kPathSize] = {};
    VbString path{buf, static_cast<int32_t>(sizeof buf)};
    if (fsav_exec_main(&path) != 0) return -1;  // logged by the saved-list library
    std::FILE* fp = plat::fopen(std::string(buf, strnlen(buf, sizeof buf)), "rb");
    if (fp == nullptr) return fail("saved_list_lines", "fopen", 11, errno, 80);
    long len = -1;
    if (std::fseek(fp, 0, SEEK_END) == 0) len = std::ftell(fp);
    std::fclose(fp);
    if (len < 0) return fail("saved_list_lines", "ftell", 15, errno, 81);
    return static_cast<int>(len / static_cast<long>(pxfsav::listrec::kSize));
}

std::string field(const char* h, size_t at, size_t n) { return trimmed(h + at, n); }

}  // namespace

extern "C" int32_t vjin_return_from_pxxxxx() {
    State& s = state();
    if (s.list == ListKind::kCatalog) {
        const unsigned char* car = pxall::get_ccar_addr();
        int32_t mode = car ? pxall::get_i32(car + pxall::ccar::kListEndMode) : 4;
        return mode == 0 || mode == 3 ? mode : 4;
    }
    if (s.list == ListKind::kNone) return 4;
    return s.list_end == 0 || s.list_end == 3 ? s.list_end : 4;
}

extern "C" int32_t vjin_return_vcat() {
    state().msgid = 0;
    int r = take_listed_catalog();
    if (r != 0) return r;
    return state().v.model_found ? 8 : 16;
}

// The model list's choice was made by vkei_ret, whose message (a date the
// model drops) stays for the screen.
extern "C" int32_t vjin_return_vkei() { return state().row_taken && identified() ? 8 : 4; }

extern "C" int32_t vjin_return_vxxx() {
    State& s = state();
    if (s.list == ListKind::kCatalog) {
        s.msgid = 0;
        int r = take_listed_catalog();
        if (r != 0) return r;
    } else if (!s.row_taken) {
        return 4;
    }
    if (!s.v.catalog) return 4;
    if (!s.v.model_found) {
        s.frame_path = true;
        return 2;
    }
    return s.v.ad.empty() ? 16 : 8;
}

// --- the model list ---------------------------------------------------------

extern "C" int32_t vkei_init() {
    State& s = state();
    s.list = ListKind::kModel;
    s.list_end = 4;
    s.row_taken = false;
    int r = model_rows(&s.rows);
    if (r == kGaveUp) return 1;
    if (r != 0) return -1;
    if (s.rows.empty()) return 1;
    char path[pxall::kPathSize];
    return write_model_list(s.rows, path) == 0 ? 0 : -1;
}

extern "C" int32_t vkei_main(VbString* path) { return path_out(path, modellist::kName); }

extern "C" int32_t vkei_check_mode() { return state().frame_path ? 1 : 0; }

extern "C" int32_t vkei_disp_model(VbString* s) {
    to_vb(s, state().v.model);
    return 0;
}

extern "C" int32_t vkei_ret(int16_t row) {
    State& s = state();
    if (row < 0 || row >= static_cast<int>(s.rows.size()))
        return fail("vkei_ret", "row", row, static_cast<int32_t>(s.rows.size()), 90);
    const Model& m = s.rows[static_cast<size_t>(row)];
    s.msgid = 0;
    // A frame model of a file that no check has seen yet does not refuse.
    if (!s.v.fmod.empty() && (s.v.unchecked & kUncFmod) == 0 && m.frame_model() != padded(s.v.fmod, kFmodW)) return 5;
    take_model(m);
    if (settle() < 0) return -1;
    fill_block();
    s.row_taken = true;
    s.list_end = 0;
    s.frame_path = false;
    return 0;
}

extern "C" int32_t vkei_make_vclinf_tmp(int16_t row) {
    State& s = state();
    if (row < 0 || row >= static_cast<int>(s.rows.size()))
        return fail("vkei_make_vclinf_tmp", "row", row, static_cast<int32_t>(s.rows.size()), 91);
    // The pop-up marks the characteristics of the model of the row: show it
    // with them, then put the vehicle's own back.
    Vehicle before = s.v;
    s.v.model_found = s.rows[static_cast<size_t>(row)];
    s.v.period = -1;
    fill_block();
    int r = write_vclinf(&*s.v.model_found);
    s.v = before;
    fill_block();
    return r == 0 ? 0 : -1;
}

extern "C" int32_t vkei_end_proc(int16_t how) {
    state().list_end = how == 3 ? 3 : 4;
    return 0;
}

// --- the saved vehicles -------------------------------------------------------

extern "C" int32_t vjin_select() {
    int n = saved_list_lines();
    if (n < 0) return -1;
    return n == 0 ? 1 : 0;
}

extern "C" int32_t fsel_init() {
    State& s = state();
    s.list = ListKind::kSaved;
    s.list_end = 4;
    s.save_no = 0;
    return 0;
}

extern "C" int32_t fsel_get_filename(VbString* path) {
    if (saved_list_lines() < 0) return -1;
    return path_out(path, pxfsav::kListName);
}

extern "C" int32_t fsel_select_file(int16_t save_no) {
    int16_t r = fsav_check_saveFileflag(save_no, 0);
    if (r == pxfsav::kMsgNoFile) return 1;
    if (r == pxfsav::kMsgInUse || r == pxfsav::kMsgInUseMark) return 2;
    if (r != 0) return -1;
    state().save_no = save_no;
    state().list_end = 0;
    return 0;
}

extern "C" int32_t fsel_end_proc(int16_t how) {
    state().list_end = how == 3 ? 3 : 4;
    return 0;
}

extern "C" int32_t vjin_make_from_pxfsel() {
    State& s = state();
    s.msgid = 0;
    char path[pxall::kPathSize] = {};
    if (int r = pxall::make_save_dat_file_name(s.save_no, path); r != 0)
        return fail("vjin_make_from_pxfsel", "make_save_dat_file_name", r, s.save_no, 100);
    std::FILE* fp = plat::fopen(std::string(path, strnlen(path, sizeof path)), "rb");
    if (fp == nullptr) return fail("vjin_make_from_pxfsel", "fopen", 11, errno, 101);
    char h[sf::kDatHeaderSize];
    size_t got = std::fread(h, 1, sizeof h, fp);
    std::fclose(fp);
    if (got != sizeof h) return fail("vjin_make_from_pxfsel", "fread", 14, static_cast<int32_t>(got), 102);
    for (char& c : h)
        if (c == '\0') c = ' ';

    reset_vehicle();
    Vehicle& v = s.v;
    std::string vin = field(h, sf::kDatVin, sf::kDatVinSize);
    std::string serial = field(h, sf::kDatVinFrame, sf::kDatVinFrameSize);
    if (vin.size() == sf::kDatVinSize && serial.size() == kFnoW) vin += serial;
    else vin.clear();
    const std::string fmod = field(h, sf::kDatFrameModel, sf::kDatFrameModelSize);
    const std::string fno = field(h, sf::kDatFrameNo, sf::kDatFrameNoSize);
    const std::string code = field(h, sf::kDatCatalog, sf::kDatCatalogSize);
    const std::string model = field(h, sf::kDatVehicle, sf::kDatVehicleSize);

    Catalog c;
    int r = code.empty() ? 1 : find_catalog(code, &c);
    if (r < 0) return -1;
    if (r == 0) {
        take_catalog(c);
        if (!model.empty()) {
            std::vector<Model> found;
            if (read_models(jouhou::kSetModel, model, &found) < 0) return -1;
            for (const Model& m : found)
                if (m.catalog == c.code && trimmed(m.code.data(), m.code.size()) == model) take_model(m);
        }
    }
    // The saved entries go through the checks a typed entry takes; a refused
    // one is left out, and the first refusal is the screen's message.
    int16_t first = 0;
    if (r != 0) {
        // Without the catalogue nothing can check them: shown, not the vehicle's.
        v.vin = vin;
        v.fmod = fmod;
        v.fno = fno;
        v.unchecked = static_cast<uint8_t>((vin.empty() ? 0 : kUncVin) | (fmod.empty() ? 0 : kUncFmod) |
                                           (fno.empty() ? 0 : kUncFno));
    } else {
        if (!vin.empty()) {
            int32_t k = check_vin(vin);
            if (k < 0) return -1;
            if (k == 1 || k == 2 || k == 4) note_refusal(&first);
        }
        if (!fno.empty() && fno != v.fno) {
            int32_t k = check_frame(fmod, fno);
            if (k < 0) return -1;
            if (k == 4) note_refusal(&first);
        }
    }
    const std::pair<int32_t (*)(const std::string&), std::string> details[] = {
        {check_date, field(h, sf::kDatProdDate, sf::kDatProdDateSize)},
        {check_color, field(h, sf::kDatColor, sf::kDatColorSize)},
        {check_trim, field(h, sf::kDatTrim, sf::kDatTrimSize)},
    };
    for (const auto& [check, text] : details)
        if (!text.empty() && check(text) == 4) note_refusal(&first);
    take_notes(field(h, sf::kDatNotes, sf::kDatNotesSize));
    fill_block();
    s.msgid = first;
    if (r != 0) return 4;
    if (!v.model_found) {
        s.frame_path = false;
        return 1;
    }
    if (v.ad.empty()) return 8;
    if (v.clr.empty()) return 16;
    if (v.trm.empty()) return 32;
    return 64;
}
