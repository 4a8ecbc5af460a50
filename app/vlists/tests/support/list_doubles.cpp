#include "support/list_doubles.h"

#include <algorithm>
#include <cstring>

#include <QListWidget>

#include "shell/form.h"
#include "vlists/list_entries.h"

namespace pxtest {

namespace lv = px::lib::vlists;

namespace {

ListDoubles g_doubles;

void put_path(VbString* s, const std::string& path) {
    std::memset(s->data, 0, static_cast<size_t>(s->len));
    std::memcpy(s->data, path.data(), std::min(path.size(), static_cast<size_t>(s->len)));
}

int32_t fake_check_mode() { return g_doubles.check_mode; }
int32_t fake_main_path(VbString* s) {
    put_path(s, g_doubles.list_path);
    return 0;
}
int32_t fake_vcat_ret(int32_t row) {
    g_doubles.calls.push_back("ret " + std::to_string(row));
    return g_doubles.ret_result;
}
int32_t fake_vcat_end(int32_t how) {
    g_doubles.calls.push_back("end " + std::to_string(how));
    return 0;
}
int32_t fake_disp_model(VbString* s) {
    std::memset(s->data, ' ', static_cast<size_t>(s->len));
    std::memcpy(s->data, g_doubles.model_text.data(), std::min(g_doubles.model_text.size(), static_cast<size_t>(s->len)));
    return 0;
}
int32_t fake_vkei_ret(int16_t row) {
    g_doubles.calls.push_back("ret " + std::to_string(row));
    return g_doubles.ret_result;
}
int32_t fake_vkei_vinf(int16_t row) {
    g_doubles.calls.push_back("vinf " + std::to_string(row));
    return g_doubles.vinf_result;
}
int32_t fake_end16(int16_t how) {
    g_doubles.calls.push_back("end " + std::to_string(how));
    return 0;
}
int32_t fake_fsel_select(int16_t no) {
    g_doubles.calls.push_back("select " + std::to_string(no));
    return g_doubles.ret_result;
}

template <typename E, typename F>
void bind(E& entry, F* f) {
    entry.entry().set_address(reinterpret_cast<void*>(f));
}

}  // namespace

ListDoubles& doubles() { return g_doubles; }

void ListDoubles::install() {
    bind(lv::vcat_check_mode, &fake_check_mode);
    bind(lv::vcat_main, &fake_main_path);
    bind(lv::vcat_ret, &fake_vcat_ret);
    bind(lv::vcat_end_proc, &fake_vcat_end);
    bind(lv::vkei_main, &fake_main_path);
    bind(lv::vkei_check_mode, &fake_check_mode);
    bind(lv::vkei_disp_model, &fake_disp_model);
    bind(lv::vkei_ret, &fake_vkei_ret);
    bind(lv::vkei_make_vclinf_tmp, &fake_vkei_vinf);
    bind(lv::vkei_end_proc, &fake_end16);
    bind(lv::fsel_get_filename, &fake_main_path);
    bind(lv::fsel_select_file, &fake_fsel_select);
    bind(lv::fsel_end_proc, &fake_end16);
}

void ListDoubles::uninstall() {
    for (px::EntryPoint* e :
         {&lv::vcat_check_mode.entry(), &lv::vcat_main.entry(), &lv::vcat_ret.entry(), &lv::vcat_end_proc.entry(),
          &lv::vkei_main.entry(), &lv::vkei_check_mode.entry(), &lv::vkei_disp_model.entry(), &lv::vkei_ret.entry(),
          &lv::vkei_make_vclinf_tmp.entry(), &lv::vkei_end_proc.entry(), &lv::fsel_get_filename.entry(),
          &lv::fsel_select_file.entry(), &lv::fsel_end_proc.entry()})
        e->set_address(nullptr);
    g_doubles = ListDoubles{};
}

std::vector<std::string> dialog_lines(px::Form& errm) {
    std::vector<std::string> lines;
    if (auto* list = errm.findChild<QListWidget*>())
        for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text().toStdString());
    return lines;
}

std::string fixed(const std::string& s, size_t width) {
    std::string out = s.substr(0, std::min(s.size(), width));
    out.resize(width, ' ');
    return out;
}

}  // namespace pxtest
