#include "support/engine_double.h"

#include <cstring>

#include "shell/form.h"
#include "shell/stack.h"
#include "shell/vehicle_header.h"
#include "vehicle/pxvjin_entries.h"

namespace vjintest {

namespace v = px::lib::vjin;

EngineDouble& engine() {
    static EngineDouble e;
    return e;
}

std::vector<std::string>& stand_in_events() {
    static std::vector<std::string> e;
    return e;
}

void EngineDouble::answer(const std::string& entry, std::initializer_list<int32_t> results) {
    for (int32_t r : results) queues[entry].push_back(r);
}

int32_t EngineDouble::next(const std::string& entry) {
    auto& q = queues[entry];
    if (!q.empty()) {
        int32_t r = q.front();
        q.pop_front();
        return r;
    }
    auto d = defaults.find(entry);
    return d != defaults.end() ? d->second : 0;
}

std::vector<std::string> EngineDouble::called(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}

namespace {

int32_t simple(const char* name) {
    engine().calls.emplace_back(name);
    return engine().next(name);
}

int32_t checked(const char* name, int16_t len, VbString* s) {
    engine().calls.push_back(std::string(name) + " " + std::to_string(len) + " " + std::string(s->data, s->len));
    return engine().next(name);
}

int32_t show(const char* field, VbString* s) {
    std::memset(s->data, ' ', static_cast<size_t>(s->len));
    const std::string& t = engine().fields[field];
    std::memcpy(s->data, t.data(), std::min(t.size(), static_cast<size_t>(s->len)));
    return 0;
}

#define PX_SIMPLE(fn, name) \
    int32_t fn() { return simple(name); }
PX_SIMPLE(f_init, "init")
PX_SIMPLE(f_clear, "clear")
PX_SIMPLE(f_inputarea, "inputarea")
PX_SIMPLE(f_lang, "lang")
PX_SIMPLE(f_exec, "exec")
PX_SIMPLE(f_select, "select")
PX_SIMPLE(f_fsel_init, "fsel_init")
PX_SIMPLE(f_vkei_init, "vkei_init")
PX_SIMPLE(f_vinf_make, "vinf_make")
PX_SIMPLE(f_from, "from")
PX_SIMPLE(f_vcat, "vcat")
PX_SIMPLE(f_vkei, "vkei")
PX_SIMPLE(f_vxxx, "vxxx")
PX_SIMPLE(f_fsel, "fsel")
PX_SIMPLE(f_back, "back")
PX_SIMPLE(f_vcat_init, "vcat_init")
#undef PX_SIMPLE

#define PX_CHECK(fn, name) \
    int32_t fn(int16_t len, VbString* s) { return checked(name, len, s); }
PX_CHECK(f_vin, "vin")
PX_CHECK(f_cat, "cat")
PX_CHECK(f_model, "model")
PX_CHECK(f_date, "date")
PX_CHECK(f_col, "col")
PX_CHECK(f_trim, "trim")
PX_CHECK(f_note, "note")
#undef PX_CHECK

#define PX_SHOW(fn, field) \
    int32_t fn(VbString* s) { return show(field, s); }
PX_SHOW(g_vin, "vin")
PX_SHOW(g_cat, "cat")
PX_SHOW(g_mod, "mod")
PX_SHOW(g_fmod, "fmod")
PX_SHOW(g_fno, "fno")
PX_SHOW(g_ad, "ad")
PX_SHOW(g_clr, "clr")
PX_SHOW(g_trm, "trm")
PX_SHOW(g_not, "not")
PX_SHOW(g_char1, "char1")
PX_SHOW(g_nam, "nam")
PX_SHOW(g_pdf, "pdf")
PX_SHOW(g_pdt, "pdt")
#undef PX_SHOW

int32_t f_frame(int16_t lm, VbString* m, int16_t ln, VbString* n) {
    engine().calls.push_back("frame " + std::to_string(lm) + " " + std::string(m->data, m->len) + " " +
                             std::to_string(ln) + " " + std::string(n->data, n->len));
    return engine().next("frame");
}
int16_t f_msgid() { return static_cast<int16_t>(engine().next("msgid")); }
int32_t f_change_lang(int16_t i) {
    engine().calls.push_back("change_lang " + std::to_string(i));
    return 0;
}
int32_t g_char2(int16_t i, VbString* s) {
    std::memset(s->data, ' ', static_cast<size_t>(s->len));
    if (i >= 0 && i < 21) {
        const std::string& t = engine().char2[static_cast<size_t>(i)];
        std::memcpy(s->data, t.data(), std::min(t.size(), static_cast<size_t>(s->len)));
    }
    return 0;
}
int32_t f_get_vinf(const char* path) {
    engine().calls.push_back(std::string("get_vinf ") + path);
    return engine().next("get_vinf");
}
int32_t f_set_vinf(const char* path) {
    engine().calls.push_back(std::string("set_vinf ") + path);
    return engine().next("set_vinf");
}
int32_t f_path(int16_t kind, VbString* s) {
    engine().calls.push_back("VBGetPathName " + std::to_string(kind));
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, engine().path_kind1.data(), std::min(engine().path_kind1.size(), static_cast<size_t>(s->len)));
    return static_cast<int32_t>(engine().path_kind1.size());
}

template <typename D, typename F>
void bind(D& declared, F* fn, bool on) {
    declared.entry().set_address(on ? reinterpret_cast<void*>(fn) : nullptr);
}

void bind_all(bool on) {
    bind(v::init, f_init, on);
    bind(v::clear, f_clear, on);
    bind(v::check_inputarea, f_inputarea, on);
    bind(v::check_lang, f_lang, on);
    bind(v::change_lang, f_change_lang, on);
    bind(v::check_input_vin, f_vin, on);
    bind(v::check_input_cat, f_cat, on);
    bind(v::check_input_model, f_model, on);
    bind(v::check_input_frameno, f_frame, on);
    bind(v::check_input_date, f_date, on);
    bind(v::check_input_col, f_col, on);
    bind(v::check_input_trim, f_trim, on);
    bind(v::check_input_note, f_note, on);
    bind(v::check_msgid, f_msgid, on);
    bind(v::disp_vin, g_vin, on);
    bind(v::disp_cat, g_cat, on);
    bind(v::disp_mod, g_mod, on);
    bind(v::disp_fmod, g_fmod, on);
    bind(v::disp_fno, g_fno, on);
    bind(v::disp_ad, g_ad, on);
    bind(v::disp_clr, g_clr, on);
    bind(v::disp_trm, g_trm, on);
    bind(v::disp_not, g_not, on);
    bind(v::disp_char1, g_char1, on);
    bind(v::disp_nam, g_nam, on);
    bind(v::disp_pdf, g_pdf, on);
    bind(v::disp_pdt, g_pdt, on);
    bind(v::disp_char2, g_char2, on);
    bind(v::exec, f_exec, on);
    bind(v::select, f_select, on);
    bind(v::fsel_init, f_fsel_init, on);
    bind(v::vkei_init, f_vkei_init, on);
    bind(v::vinf_make, f_vinf_make, on);
    bind(v::return_from_pxxxxx, f_from, on);
    bind(v::return_vcat, f_vcat, on);
    bind(v::return_vkei, f_vkei, on);
    bind(v::return_vxxx, f_vxxx, on);
    bind(v::make_from_pxfsel, f_fsel, on);
    bind(v::back, f_back, on);
    bind(v::get_vinf, f_get_vinf, on);
    bind(v::set_vinf, f_set_vinf, on);
    bind(v::vcat_init, f_vcat_init, on);
    bind(v::VBGetPathName, f_path, on);
}

// The screens the vehicle screen opens by name, as empty stand-ins.
class StandIn : public px::Form {
public:
    explicit StandIn(const char* name) : Form(name) {
        make_key_bar({3, 4});
        make_message_line();
    }
    void on_load() override {
        stand_in_events().push_back(name() + " load");
        if (name() == "Vinf") px::VinfResult() = static_cast<int16_t>(engine().next("vinf_dialog"));
    }
    bool on_key_down(int key_code) override {
        if (key_code == px::key_f(3) || key_code == px::key_f(4)) {
            if (name() == "Krot") px::ScrBack();
            px::unload_form(*this);
        }
        return true;
    }
};

const bool registered = [] {
    for (const char* n : {"Vcat", "Vkei", "Fsel", "Vinf", "Krot"}) px::register_form(n, [n] { return new StandIn(n); });
    return true;
}();

}  // namespace

void EngineDouble::install() {
    *this = EngineDouble{};
    defaults["lang"] = 1;
    defaults["inputarea"] = 1;
    stand_in_events().clear();
    bind_all(true);
}

void EngineDouble::uninstall() { bind_all(false); }

}  // namespace vjintest
