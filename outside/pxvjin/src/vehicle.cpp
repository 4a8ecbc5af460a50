// The vehicle being identified: narrowing the candidates, taking a catalogue
// and a model, and what the engine leaves for everyone after it: the
// current-vehicle block, JOUHOU.TMP and VCLINF.TMP.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "engine.h"
#include "platform/files.h"
#include "pxall/applicability.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/jouhou_tmp.h"
#include "pxall/part_records.h"
#include "pxall/paths.h"
#include "pxall/text_cut.h"
#include "pxall/vclinf.h"
#include "pxall/vehicle_work_layout.h"
#include "pxvjin/pxvjin.h"

namespace pxvjin {

namespace cc = pxall::ccar;
namespace jt = pxall::vehwork::jtmp;

State& state() {
    static State s;
    return s;
}

std::string Model::from() const { return records.empty() ? "    " : records.front().substr(jouhou::kFrom, 4); }
std::string Model::to() const {
    if (records.empty() || records.back().size() != jouhou::kSize) return "    ";
    // The end the date check applies: an open last period ends with the
    // catalogue.
    char end[4];
    pxall::v_production_end(reinterpret_cast<const unsigned char*>(records.back().data()), end);
    return std::string(end, 4);
}

bool same(const Model& a, const Model& b) { return a.catalog == b.catalog && a.code == b.code; }

std::vector<Model> group(const std::vector<std::string>& records) {
    std::map<std::string, Model> by_key;
    for (const std::string& r : records) {
        Model& m = by_key[r.substr(0, kCodeSize) + r.substr(jouhou::kModel, kModelCode)];
        m.catalog = r.substr(0, kCodeSize);
        m.code = r.substr(jouhou::kModel, kModelCode);
        m.records.push_back(r);
    }
    std::vector<Model> out;
    for (auto& [k, m] : by_key) {
        std::sort(m.records.begin(), m.records.end(),
                  [](const std::string& a, const std::string& b) { return a.compare(jouhou::kFrom, 4, b, jouhou::kFrom, 4) < 0; });
        m.records.erase(std::unique(m.records.begin(), m.records.end()), m.records.end());
        out.push_back(std::move(m));
    }
    return out;
}

bool identified() {
    const Vehicle& v = state().v;
    return v.catalog.has_value() && v.model_found.has_value();
}

bool narrow(const std::vector<Model>& found) {
    Vehicle& v = state().v;
    std::vector<Model> keep;
    for (const Model& m : found) {
        if (v.catalog && m.catalog != v.catalog->code) continue;
        if (v.model_found && !same(m, *v.model_found)) continue;
        if (v.candidates && std::none_of(v.candidates->begin(), v.candidates->end(),
                                         [&](const Model& c) { return same(c, m); }))
            continue;
        keep.push_back(m);
    }
    if (keep.empty()) return false;
    v.candidates = std::move(keep);
    return true;
}

int take_catalog(const Catalog& c) {
    Vehicle& v = state().v;
    if (v.model_found && v.model_found->catalog != c.code) forget_model();
    v.catalog = c;
    v.cat = trimmed(c.code.data(), c.code.size());
    v.unchecked = static_cast<uint8_t>(v.unchecked & ~kUncCat);
    if (v.candidates) {
        std::vector<Model> keep;
        for (const Model& m : *v.candidates)
            if (m.catalog == c.code) keep.push_back(m);
        if (keep.empty())
            v.candidates.reset();
        else
            v.candidates = std::move(keep);
    }
    return 0;
}

void take_model(const Model& m) {
    Vehicle& v = state().v;
    v.model_found = m;
    v.model = trimmed(m.code.data(), m.code.size());
    v.fmod = trimmed(m.code.data(), kFmodW);
    v.unchecked = static_cast<uint8_t>(v.unchecked & ~(kUncModel | kUncFmod));
    // m may be one of the candidates: it is not used after they go.
    v.candidates = std::vector<Model>{*v.model_found};
    // The date held was checked against no model, or another one.
    v.period = v.ad.empty() ? -1 : period_of(*v.model_found, v.ad);
    if (!v.ad.empty() && v.period < 0) {
        v.ad.clear();
        state().msgid = kMsgDateOutside;
    }
}

void forget_model() {
    Vehicle& v = state().v;
    v.model_found.reset();
    v.period = -1;
}

int settle() {
    Vehicle& v = state().v;
    if (!v.candidates || v.candidates->empty()) return 0;
    const std::vector<Model>& c = *v.candidates;
    bool one_catalog = std::all_of(c.begin(), c.end(), [&](const Model& m) { return m.catalog == c.front().catalog; });
    if (one_catalog && !v.catalog) {
        Catalog cat;
        int r = find_catalog(c.front().catalog, &cat);
        if (r == 4 || r < 0) return r;
        if (r == 0) take_catalog(cat);
    }
    if (v.catalog && !v.model_found && v.candidates->size() == 1) take_model(v.candidates->front());
    // One frame model left among several models: it is known already.
    if (v.fmod.empty() && !v.candidates->empty() &&
        std::all_of(v.candidates->begin(), v.candidates->end(),
                    [&](const Model& m) { return m.frame_model() == v.candidates->front().frame_model(); })) {
        std::string fm = v.candidates->front().frame_model();
        v.fmod = trimmed(fm.data(), fm.size());
    }
    return 0;
}

void reset_vehicle() {
    int lang = state().v.lang;
    state().v = Vehicle{};
    state().v.lang = lang;
}

namespace {

// An entry as the vehicle holds it: none while it is unchecked.
std::string held(const Vehicle& v, const std::string& value, uint8_t bit) {
    return (v.unchecked & bit) != 0 ? std::string() : value;
}

void put_text(unsigned char* at, const std::string& s, size_t n) {
    pxall::put_text_field(reinterpret_cast<char*>(at), n, s, ' ');
}

// The record of the model that stands for the vehicle: the period the date
// picked, else the first.
const std::string* vehicle_record() {
    const Vehicle& v = state().v;
    if (!v.model_found || v.model_found->records.empty()) return nullptr;
    int p = v.period >= 0 && v.period < static_cast<int>(v.model_found->records.size()) ? v.period : 0;
    return &v.model_found->records[static_cast<size_t>(p)];
}

void put_applicability(unsigned char* car) {
    const Vehicle& v = state().v;
    unsigned char* bits = car + cc::kApplicability;
    std::memset(bits, 0, cc::kApplicabilitySize);
    if (!v.catalog || !v.model_found) return;
    int k = pxall::applicability::frame_model_position(v.catalog->frame_models, v.model_found->frame_model());
    if (!pxall::applicability::set_position(bits, k)) {
        // A vehicle the catalogue's own list lacks: every page may fit it
        // rather than none.
        pxall::syerr_message(kModule, "fill_block", "frame_model_position", 128, k, 30);
        std::memset(bits, 0xff, cc::kApplicabilitySize);
    }
}

}  // namespace

void fill_block() {
    unsigned char* car = pxall::get_ccar_addr();
    if (car == nullptr) return;
    const Vehicle& v = state().v;
    // The fields this engine owns; the catalogue list's bytes (532-551,
    // 524) and the narrowing steps are left alone.
    std::memset(car + cc::kCatalog, 0, 15);
    // 15 up to the narrowing steps at 390: entries, characteristics,
    // applicability bits, name and dates, VIN prefix, set-up indexes.
    std::memset(car + cc::kSaveVehicle, 0, cc::kStepIndex - cc::kSaveVehicle);
    std::memset(car + cc::kModel, 0, 20);
    if (v.catalog) {
        std::memcpy(car + cc::kCatalog, v.catalog->code.data(), kCodeSize);
        const std::string& s = v.catalog->shamei;
        namespace sr = pxall::shamei_rec;
        std::memcpy(car + cc::kVehicleName, s.data() + sr::kCarName, sr::kCarNameSize);
        std::memcpy(car + cc::kCarNameBytes, s.data() + sr::kField, sr::kFieldSize);
        std::memcpy(car + cc::kProdFrom, s.data() + sr::kFrom, 4);
        std::memcpy(car + cc::kProdTo, s.data() + sr::kTo, 4);
        pxall::put_i32(car + cc::kNameSetupIndex, v.catalog->read_index);
        pxall::put_i32(car + cc::kSetupIndex, v.catalog->own_index);
    }
    if (const std::string* r = vehicle_record()) {
        put_text(car + cc::kSaveVehicle, v.model_found->code, kModelCode);
        put_text(car + cc::kModel, v.model_found->code, 20);
        std::memcpy(car + cc::kCharact1a, r->data() + jouhou::kChar1, jouhou::kChar1Size);
        std::memset(car + cc::kCharact1b, ' ', 10);
        std::memcpy(car + cc::kCharact2, r->data() + jouhou::kChar2, jouhou::kChar2Size);
    }
    const std::string fmod = held(v, v.fmod, kUncFmod), vin = held(v, v.vin, kUncVin);
    if (!fmod.empty()) put_text(car + cc::kFrameModel, fmod, kFmodW);
    std::string fno = held(v, v.fno, kUncFno);
    if (fno.empty() && vin.size() == kVinW) fno = vin.substr(10, 7);
    if (!fno.empty()) put_text(car + cc::kFrameNo, fno, kFnoW);
    if (!vin.empty()) put_text(car + cc::kVinPrefix, vin.substr(0, 10), 10);
    if (!v.ad.empty()) put_text(car + cc::kProdDate, v.ad, kAdW);
    if (!v.clr.empty()) put_text(car + cc::kColorNo, v.clr, kClrW);
    if (!v.trm.empty()) put_text(car + cc::kTrimNo, v.trm, kTrmW);
    if (!v.notes.empty()) put_text(car + cc::kNotes, v.notes, kNotW);
    put_applicability(car);
}

int write_jouhou_tmp() {
    const Vehicle& v = state().v;
    std::FILE* fp = nullptr;
    int32_t err = 0;
    int r = pxall::v_open_jouhou_tmp(pxall::kJouhouWrite, &fp, nullptr, &err);
    if (r != 0) return fail("write_jouhou_tmp", "v_open_jouhou_tmp", r, err, 40);
    int entry = top_entry();
    int result = 0;
    if (v.candidates) {
        for (const Model& m : *v.candidates)
            for (const std::string& rec : m.records) {
                std::string out(jt::kSize, '\0');
                std::memcpy(out.data(), rec.data(), jt::kTo2);
                std::memcpy(out.data() + jt::kTo2, rec.data() + jouhou::kEnd, 4);
                pxall::put_i32(reinterpret_cast<unsigned char*>(out.data()) + jt::kNum1, entry);
                out[jt::kMark] = ' ';
                if (std::fwrite(out.data(), 1, out.size(), fp) != out.size()) {
                    result = fail("write_jouhou_tmp", "fwrite", 13, 0, 41);
                    break;
                }
            }
    }
    r = pxall::v_close_jouhou_tmp(&fp, &err);
    if (result == 0 && r != 0) result = fail("write_jouhou_tmp", "v_close_jouhou_tmp", r, err, 42);
    return result;
}

int write_vclinf(const Model* m) {
    const Vehicle& v = state().v;
    unsigned char header[pxall::vehwork::vinft::kHeaderSize];
    std::memset(header, ' ', sizeof header);
    std::memset(header + pxall::vehwork::vinft::kCount, 0, 4);
    put_text(header, held(v, v.vin, kUncVin), kVinW);
    pxall::VinftContext ctx{};
    ctx.fd = -1;
    if (v.catalog && m != nullptr) {
        put_text(header + 17, v.catalog->code, 15);
        std::memcpy(header + 32, v.catalog->shamei.data() + pxall::shamei_rec::kFrom, 4);
        std::memcpy(header + 36, v.catalog->shamei.data() + pxall::shamei_rec::kTo, 4);
        std::memcpy(header + 40, v.catalog->shamei.data() + pxall::shamei_rec::kCarName, 20);
        put_text(header + 60, m->code, 20);
        put_text(header + 80, m->frame_model(), 7);
        put_text(header + 87, held(v, v.fno, kUncFno), 7);
        put_text(header + 94, v.ad, 6);
        ctx.setup_entry = v.catalog->own_index;
    }
    int r = pxall::v_pop_make_vclinf_tmp(&ctx, header);
    if (r != 0) return fail("write_vclinf", "v_pop_make_vclinf_tmp", r, 0, 45);
    return 0;
}

int write_model_list(const std::vector<Model>& rows, char* path) {
    std::memset(path, 0, pxall::kPathSize);
    std::strcpy(path, modellist::kName);
    if (int r = pxall::get_path_name(pxall::kPathWork, -1, path); r != 0)
        return fail("write_model_list", "get_path_name", r, 0, 50);
    std::string bytes;
    for (const Model& m : rows) {
        std::string rec(modellist::kSize, ' ');
        const std::string& first = m.records.front();
        rec.replace(modellist::kVin, modellist::kVinSize, first, jouhou::kVin, jouhou::kVinSize);
        rec.replace(modellist::kModel, modellist::kModelSize, m.code);
        rec.replace(modellist::kChar1, modellist::kChar1Size, first, jouhou::kChar1, jouhou::kChar1Size);
        rec.replace(modellist::kPeriod, modellist::kPeriodSize, m.from() + "-" + m.to());
        rec.replace(modellist::kChar2, modellist::kChar2Size, first, jouhou::kChar2, jouhou::kChar2Size);
        bytes += rec;
    }
    std::FILE* fp = plat::fopen(path, "wb");
    if (fp == nullptr) return fail("write_model_list", "fopen", 11, errno, 51);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
    ok = std::fclose(fp) == 0 && ok;
    if (!ok) return fail("write_model_list", "fwrite", 13, errno, 52);
    return 0;
}

std::string trimmed(const char* p, size_t n) {
    size_t b = 0, e = n;
    while (b < e && (static_cast<unsigned char>(p[b]) <= ' ')) ++b;
    while (e > b && (static_cast<unsigned char>(p[e - 1]) <= ' ')) --e;
    return std::string(p + b, e - b);
}

std::string from_vb(const VbString* s, int16_t len) {
    if (s == nullptr || s->data == nullptr || s->len <= 0 || len <= 0) return {};
    size_t n = std::min<size_t>(static_cast<size_t>(len), static_cast<size_t>(s->len));
    return trimmed(s->data, strnlen(s->data, n));
}

void to_vb(VbString* s, const std::string& text) {
    if (s == nullptr || s->data == nullptr || s->len <= 0) return;
    pxall::put_text_field(s->data, static_cast<size_t>(s->len), text, ' ');
}

std::string padded(const std::string& s, size_t n) {
    std::string out(n, ' ');
    pxall::put_text_field(out.data(), n, s, ' ');
    return out;
}

bool alnum_only(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

int fail(const char* function, const char* step, int32_t code, int32_t detail, int place) {
    pxall::syerr_message(kModule, function, step, code, detail, place);
    return -1;
}

}  // namespace pxvjin
