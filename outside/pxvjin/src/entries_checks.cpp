// The checks of the vehicle screen's entries, and its start, clearing and
// execution.
#include <algorithm>
#include <cstring>
#include <set>

#include "engine.h"
#include "pxall/blocks.h"
#include "pxall/dates.h"
#include "pxall/jouhou_tmp.h"
#include "pxall/vin.h"
#include "pxvjin/pxvjin.h"

using namespace pxvjin;

namespace {

constexpr int32_t kGaveUp = 4;

int32_t refuse(int16_t msg) {
    state().msgid = msg;
    return 4;
}

// The catalogue list opens on the key typed, or on the candidates
// (JOUHOU.TMP) with a blank key.
int32_t open_catalog_list(const std::string& key) {
    State& s = state();
    unsigned char* cnexta = pxall::get_cnexta_addr();
    unsigned char* car = pxall::get_ccar_addr();
    if (cnexta == nullptr || car == nullptr) return fail("open_catalog_list", "get_cnexta_addr", 128, 0, 60);
    std::string k = key;
    if (s.v.candidates) {
        if (int r = write_jouhou_tmp(); r != 0) return r;
        if (k == "ALL") k.clear();
    }
    std::memset(cnexta + pxall::cnexta::kSearchKey, ' ', 15);
    std::memcpy(cnexta + pxall::cnexta::kSearchKey, k.data(), std::min<size_t>(k.size(), 15));
    std::vector<int32_t> entries;
    area_entries(&entries);
    if (entries.size() > 4) entries.resize(4);
    std::memset(car + pxall::ccar::kSearchCds, 0, 16);
    for (size_t i = 0; i < entries.size(); ++i)
        pxall::put_i32(car + pxall::ccar::kSearchCds + 4 * i, entries[i]);
    pxall::put_i32(car + pxall::ccar::kSearchCdCount, static_cast<int32_t>(entries.size()));
    pxall::put_i32(car + pxall::ccar::kListEndMode, 4);
    s.list = ListKind::kCatalog;
    return 1;
}

int32_t catalog_result() {
    fill_block();
    return state().v.model_found ? 8 : 16;
}

}  // namespace

namespace pxvjin {

int period_of(const Model& m, const std::string& ad) {
    if (ad.size() != kAdW) return -1;
    for (size_t i = 0; i < m.records.size(); ++i)
        if (m.records[i].size() == jouhou::kSize &&
            pxall::v_in_production(reinterpret_cast<const unsigned char*>(m.records[i].data()), ad.c_str()))
            return static_cast<int>(i);
    return -1;
}

void begin_check(uint8_t bits) {
    Vehicle& v = state().v;
    const std::pair<uint8_t, std::string Vehicle::*> fields[] = {
        {kUncVin, &Vehicle::vin},   {kUncCat, &Vehicle::cat}, {kUncModel, &Vehicle::model},
        {kUncFmod, &Vehicle::fmod}, {kUncFno, &Vehicle::fno},
    };
    for (const auto& [bit, member] : fields)
        if (bits & v.unchecked & bit) {
            (v.*member).clear();
            v.unchecked = static_cast<uint8_t>(v.unchecked & ~bit);
        }
}

void note_refusal(int16_t* first) {
    if (*first == 0) *first = state().msgid;
}

int32_t after_check(int32_t code) {
    State& s = state();
    if (code < 0 || !s.handing_on || !s.kept) return code;
    // VCLINF.TMP carries the date and the period's characteristics.
    bool rewrite = s.kept->ad != s.v.ad || s.kept->period != s.v.period;
    s.kept = s.v;
    if (rewrite && write_vclinf(s.v.model_found ? &*s.v.model_found : nullptr) != 0) return -1;
    return code;
}

int32_t check_vin(const std::string& vin) {
    State& s = state();
    if (vin.empty()) {
        s.v.vin.clear();
        fill_block();
        return 0;
    }
    if (vin.size() != kVinW || !alnum_only(vin)) {
        s.msgid = kMsgVinForm;
        return 1;
    }
    std::string key_vin = vin;
    pxall::v_edit_vin(key_vin.data());
    char prefix[jouhou::kVinSize];
    int n = pxall::v_copy_vin(key_vin.c_str(), prefix);
    std::vector<Model> found;
    int r = read_models(jouhou::kSetVin, std::string(prefix, static_cast<size_t>(n)), &found);
    if (r == kGaveUp) return 99;
    if (r != 0) return -1;
    // Only the records of exactly this prefix (an 8-character one is
    // blank-padded in the file).
    std::string key(prefix, jouhou::kVinSize);
    for (Model& m : found)
        m.records.erase(std::remove_if(m.records.begin(), m.records.end(),
                                       [&](const std::string& rec) { return rec.compare(jouhou::kVin, 9, key) != 0; }),
                        m.records.end());
    found.erase(std::remove_if(found.begin(), found.end(), [](const Model& m) { return m.records.empty(); }),
                found.end());
    if (found.empty()) {
        s.msgid = kMsgVinUnknown;
        return 2;
    }
    // The VIN's serial is the frame number: where the frame-number data know
    // it, it names the frame model.
    std::string serial = vin.substr(10, 7), frame_model;
    if (pxall::v_valid_frameno(serial.c_str())) {
        std::vector<FrameRange> ranges;
        if (int f = find_frames(serial, "", &ranges); f == kGaveUp) return 99;
        else if (f != 0) return -1;
        std::vector<Model> fit;
        std::set<std::string> models;
        for (const Model& m : found)
            for (const FrameRange& fr : ranges)
                if (fr.catalog == m.catalog && fr.frame_model == m.frame_model()) {
                    fit.push_back(m);
                    models.insert(fr.frame_model);
                    break;
                }
        if (!fit.empty()) {
            found = fit;
            if (models.size() == 1) frame_model = *models.begin();
        }
    }
    if (!narrow(found)) return refuse(kMsgVinNotFit);
    s.v.vin = key_vin;
    if (!frame_model.empty()) {
        s.v.fmod = trimmed(frame_model.data(), frame_model.size());
        s.v.fno = serial;
        s.v.unchecked = static_cast<uint8_t>(s.v.unchecked & ~(kUncFmod | kUncFno));
    }
    if (int t = settle(); t == kGaveUp) return 99;
    else if (t != 0) return -1;
    fill_block();
    if (identified()) return 32;
    if (s.v.catalog) return s.v.fno.empty() ? 16 : 8;
    if (int w = write_jouhou_tmp(); w != 0) return -1;
    return 0;
}

int32_t check_frame(const std::string& fmod, const std::string& fno) {
    State& s = state();
    // No frame number beside no frame model, or beside the one the vehicle
    // already shows: nothing waits for this check, and nothing changes.
    if (fno.empty() && (fmod.empty() || fmod == s.v.fmod)) return 0;
    if (fno.size() != kFnoW || !pxall::v_valid_frameno(fno.c_str())) {
        s.msgid = kMsgFrameForm;
        return 4;
    }
    std::vector<FrameRange> ranges;
    int r = find_frames(fno, fmod, &ranges);
    if (r == kGaveUp) return 99;
    if (r != 0) return -1;
    if (ranges.empty()) return refuse(kMsgFrameUnknown);
    bool had_model = s.v.model_found.has_value();
    std::vector<Model> found;
    std::set<std::string> frame_models;
    for (const FrameRange& fr : ranges) {
        std::vector<Model> of_cat;
        if (int m = read_models(jouhou::kSetCatalog, fr.catalog, &of_cat); m == kGaveUp) return 99;
        else if (m != 0) return -1;
        for (const Model& m : of_cat)
            if (m.frame_model() == fr.frame_model) found.push_back(m);
        frame_models.insert(fr.frame_model);
    }
    if (found.empty() || !narrow(found)) return refuse(kMsgFrameNotFit);
    s.v.fno = fno;
    s.v.unchecked = static_cast<uint8_t>(s.v.unchecked & ~kUncFno);
    if (frame_models.size() == 1) {
        s.v.fmod = trimmed(frame_models.begin()->data(), kFmodW);
        s.v.unchecked = static_cast<uint8_t>(s.v.unchecked & ~kUncFmod);
    }
    if (int t = settle(); t == kGaveUp) return 99;
    else if (t != 0) return -1;
    fill_block();
    if (!s.v.catalog) return open_catalog_list("ALL");
    if (!s.v.model_found) {
        s.frame_path = true;
        return 2;
    }
    if (had_model) return 0;
    return s.v.ad.empty() ? 16 : 8;
}

int32_t check_date(const std::string& ad) {
    State& s = state();
    if (ad.empty()) {
        s.v.ad.clear();
        s.v.period = -1;
        fill_block();
        return 0;
    }
    if (ad.size() != kAdW || ad.find_first_not_of("0123456789") != std::string::npos) return refuse(kMsgDateForm);
    int month = std::stoi(ad.substr(4, 2)), year = std::stoi(ad.substr(0, 4));
    if (month < 1 || month > 12 || year < 1900 || year > 2500) return refuse(kMsgDateForm);
    int32_t result = 0;
    if (s.v.model_found) {
        int p = period_of(*s.v.model_found, ad);
        if (p < 0) return refuse(kMsgDateOutside);
        result = s.v.period >= 0 && p != s.v.period ? 1 : 0;
        s.v.period = p;
    }
    s.v.ad = ad;
    fill_block();
    return result;
}

namespace {
int32_t check_code(std::string Vehicle::*member, const std::string& t, size_t width, int16_t msg) {
    if (t.size() > width || !alnum_only(t)) return refuse(msg);
    state().v.*member = t;
    fill_block();
    return 0;
}
}  // namespace

int32_t check_color(const std::string& t) { return check_code(&Vehicle::clr, t, kClrW, kMsgColorForm); }
int32_t check_trim(const std::string& t) { return check_code(&Vehicle::trm, t, kTrmW, kMsgTrimForm); }

void take_notes(const std::string& notes) {
    state().v.notes = notes;
    fill_block();
}

}  // namespace pxvjin

extern "C" int32_t vjin_init() {
    State& s = state();
    if (pxall::get_ccar_addr() == nullptr) return fail("vjin_init", "get_ccar_addr", 128, 0, 61);
    // The vehicle handed on comes back while the current-vehicle block still
    // holds it; a new catalogue environment (or a screen that used the block
    // for its own search) has let it go.
    if (s.kept && !s.open) {
        const unsigned char* car = pxall::get_ccar_addr();
        if (s.kept->catalog && std::memcmp(car + pxall::ccar::kCatalog, s.kept->catalog->code.data(), kCodeSize) == 0) {
            s.v = *s.kept;
            fill_block();
        } else {
            s.kept.reset();
        }
    }
    s.open = true;
    s.handing_on = false;
    s.msgid = 0;
    return 0;
}

extern "C" int32_t vjin_clear() {
    State& s = state();
    // On the open screen the clerk clears the vehicle for good; at a fresh
    // load the vehicle handed on last comes back with vjin_init.
    if (s.open) s.kept.reset();
    s.handing_on = false;
    reset_vehicle();
    s.msgid = 0;
    s.list = ListKind::kNone;
    s.rows.clear();
    s.frame_path = false;
    if (pxall::get_ccar_addr() == nullptr) return fail("vjin_clear", "get_ccar_addr", 128, 0, 62);
    // A vehicle kept for vjin_init stays in the block until init looks at it.
    if (!s.kept) fill_block();
    return 0;
}

extern "C" int32_t vjin_check_inputarea() { return state().v.catalog ? 1 : 0; }

extern "C" int32_t vjin_check_lang() { return state().v.lang; }

extern "C" int32_t vjin_change_lang(int16_t option) {
    if (option == 1 || (option >= 3 && option <= 5)) state().v.lang = option;
    return 0;
}

extern "C" int16_t vjin_check_msgid() { return state().msgid; }

extern "C" int32_t vjin_check_input_vin(int16_t len, VbString* buf) {
    state().msgid = 0;
    begin_check(kUncVin);
    return check_vin(from_vb(buf, len));
}

extern "C" int32_t vjin_check_input_cat(int16_t len, VbString* buf) {
    State& s = state();
    s.msgid = 0;
    begin_check(kUncCat);
    std::string text = from_vb(buf, len);
    if (text.empty()) text = "ALL";
    if (text.size() == kCodeSize && text != "ALL") {
        Catalog c;
        int r = find_catalog(text, &c);
        if (r == kGaveUp) return 4;
        if (r < 0) return -1;
        if (r == 0) {
            if (s.v.catalog && s.v.catalog->code == c.code) return 0;
            if (s.v.candidates && std::none_of(s.v.candidates->begin(), s.v.candidates->end(),
                                               [&](const Model& m) { return m.catalog == c.code; }))
                return refuse(kMsgCatalogNotFit);
            take_catalog(c);
            if (settle() < 0) return -1;
            return catalog_result();
        }
    }
    // Not a code of the area: the list looks the text up among the names.
    return open_catalog_list(text);
}

extern "C" int32_t vjin_check_input_model(int16_t len, VbString* buf) {
    State& s = state();
    s.msgid = 0;
    begin_check(kUncModel);
    std::string text = from_vb(buf, len);
    if (text.empty() || text == "ALL") {
        if (!s.v.catalog) return 0;
        s.frame_path = false;
        return 2;
    }
    if (text.size() > kModelCode) return refuse(kMsgModelUnknown);
    if (s.v.model_found && trimmed(s.v.model_found->code.data(), kModelCode) == text) return 1;
    std::vector<Model> found;
    int r = read_models(jouhou::kSetModel, text, &found);
    if (r == kGaveUp) return 4;
    if (r != 0) return -1;
    if (s.v.catalog)
        found.erase(std::remove_if(found.begin(), found.end(),
                                   [&](const Model& m) { return m.catalog != s.v.catalog->code; }),
                    found.end());
    if (found.empty()) return refuse(kMsgModelUnknown);
    Vehicle before = s.v;
    forget_model();
    if (!narrow(found)) {
        s.v = before;
        return refuse(kMsgModelUnknown);
    }
    s.v.model = text;
    if (settle() < 0) return -1;
    fill_block();
    if (s.v.model_found) return 8;
    if (!s.v.catalog) return write_jouhou_tmp() == 0 ? 0 : -1;
    s.frame_path = false;
    return 2;
}

extern "C" int32_t vjin_check_input_frameno(int16_t len_model, VbString* model, int16_t len_no, VbString* no) {
    state().msgid = 0;
    begin_check(kUncFmod | kUncFno);
    return check_frame(from_vb(model, len_model), from_vb(no, len_no));
}

// The checks of the F10 step come after vjin_exec: what they accept goes on
// with the vehicle handed on (after_check).
extern "C" int32_t vjin_check_input_date(int16_t len, VbString* buf) {
    state().msgid = 0;
    return after_check(check_date(from_vb(buf, len)));
}

extern "C" int32_t vjin_check_input_col(int16_t len, VbString* buf) {
    state().msgid = 0;
    return after_check(check_color(from_vb(buf, len)));
}

extern "C" int32_t vjin_check_input_trim(int16_t len, VbString* buf) {
    state().msgid = 0;
    return after_check(check_trim(from_vb(buf, len)));
}

extern "C" int32_t vjin_check_input_note(int16_t len, VbString* buf) {
    state().msgid = 0;
    take_notes(from_vb(buf, len));
    return after_check(0);
}

extern "C" int32_t vjin_exec() {
    State& s = state();
    s.msgid = 0;
    if (!identified()) return 0;
    // Entries of a file that no check accepted do not go on with the vehicle.
    begin_check(kUncVin | kUncCat | kUncModel | kUncFmod | kUncFno);
    fill_block();
    if (write_jouhou_tmp() != 0) return -1;
    if (write_vclinf(&*s.v.model_found) != 0) return -1;
    s.kept = s.v;
    s.open = false;
    s.handing_on = true;
    return 1;
}

extern "C" int32_t vjin_back() {
    state().open = false;
    state().handing_on = false;
    return 0;
}

extern "C" int32_t vjin_vinf_make() {
    const Vehicle& v = state().v;
    return write_vclinf(v.model_found ? &*v.model_found : nullptr) == 0 ? 0 : -1;
}
