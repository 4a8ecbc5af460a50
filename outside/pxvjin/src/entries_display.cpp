// The vehicle as the screen shows it.
#include "engine.h"
#include "pxall/part_records.h"
#include "pxvjin/pxvjin.h"

using namespace pxvjin;

namespace {

const std::string* shown_record() {
    const Vehicle& v = state().v;
    if (!v.model_found || v.model_found->records.empty()) return nullptr;
    size_t p = v.period >= 0 ? static_cast<size_t>(v.period) : 0;
    return p < v.model_found->records.size() ? &v.model_found->records[p] : &v.model_found->records.front();
}

std::string shamei_field(size_t at, size_t n) {
    const Vehicle& v = state().v;
    if (!v.catalog || v.catalog->shamei.size() < at + n) return {};
    return v.catalog->shamei.substr(at, n);
}

int32_t show(VbString* s, const std::string& text) {
    to_vb(s, text);
    return 0;
}

}  // namespace

extern "C" int32_t vjin_disp_vin(VbString* s) { return show(s, state().v.vin); }
extern "C" int32_t vjin_disp_cat(VbString* s) { return show(s, state().v.cat); }
extern "C" int32_t vjin_disp_mod(VbString* s) { return show(s, state().v.model); }
extern "C" int32_t vjin_disp_fmod(VbString* s) { return show(s, state().v.fmod); }
extern "C" int32_t vjin_disp_fno(VbString* s) { return show(s, state().v.fno); }
extern "C" int32_t vjin_disp_ad(VbString* s) { return show(s, state().v.ad); }
extern "C" int32_t vjin_disp_clr(VbString* s) { return show(s, state().v.clr); }
extern "C" int32_t vjin_disp_trm(VbString* s) { return show(s, state().v.trm); }
extern "C" int32_t vjin_disp_not(VbString* s) { return show(s, state().v.notes); }
extern "C" int32_t vjin_disp_nam(VbString* s) {
    return show(s, shamei_field(pxall::shamei_rec::kCarName, pxall::shamei_rec::kCarNameSize));
}
extern "C" int32_t vjin_disp_pdf(VbString* s) { return show(s, shamei_field(pxall::shamei_rec::kFrom, 4)); }
extern "C" int32_t vjin_disp_pdt(VbString* s) { return show(s, shamei_field(pxall::shamei_rec::kTo, 4)); }

extern "C" int32_t vjin_disp_char1(VbString* s) {
    const std::string* r = shown_record();
    return show(s, r ? r->substr(jouhou::kChar1, jouhou::kChar1Size) : std::string());
}

extern "C" int32_t vjin_disp_char2(int16_t item, VbString* s) {
    const std::string* r = shown_record();
    if (r == nullptr || item < 0 || item > 20) return show(s, {});
    return show(s, r->substr(jouhou::kChar2 + 5 * static_cast<size_t>(item), 5));
}
