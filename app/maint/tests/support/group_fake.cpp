#include "support/group_fake.h"

#include <algorithm>
#include <cstring>

#include "maint/maint_entries.h"
#include "platform/controls.h"

namespace pxtest {

namespace {

namespace lib = px::maint::lib;

std::string pad(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
}

int32_t rc_of(const char* entry) {
    auto it = group_fake().rc.find(entry);
    return it != group_fake().rc.end() ? it->second : 0;
}

std::string pnc_line(const std::string& pnc) { return pad(pnc, 6) + "  " + pad(GroupFake::part_name(pnc), 60); }

int32_t remake() {
    group_fake().calls.push_back("VBRemakeGpFile");
    return rc_of("VBRemakeGpFile");
}
int32_t init() {
    group_fake().calls.push_back("VBInitGrpTmp");
    return 0;
}
int32_t term() {
    group_fake().calls.push_back("VBTermGrpTmp");
    return 0;
}
int32_t read_files(int16_t* count) {
    group_fake().calls.push_back("VBread_group_file");
    *count = static_cast<int16_t>(group_fake().groups.size());
    return rc_of("VBread_group_file");
}
int32_t write_files() {
    group_fake().calls.push_back("VBwrite_group_file");
    return rc_of("VBwrite_group_file");
}
int16_t count() { return static_cast<int16_t>(group_fake().groups.size()); }
int32_t get_name(const char* code, VbString* name) {
    group_fake().calls.push_back(std::string("VBGetGrpName(") + code + ")");
    FakeGroup* g = group_fake().find(code);
    if (g == nullptr) return 0;
    std::string n = pad(g->name, static_cast<size_t>(name->len));
    std::memcpy(name->data, n.data(), n.size());
    return 1;
}
int32_t set_group(const char* code, const char* name) {
    group_fake().calls.push_back(std::string("VBSetGrpCd(") + code + "," + name + ")");
    if (int32_t rc = rc_of("VBSetGrpCd")) return rc;
    if (FakeGroup* g = group_fake().find(code)) g->name = name;
    else group_fake().groups.push_back(FakeGroup{code, name, {}});
    return 0;
}
int32_t del_group(const char* code) {
    group_fake().calls.push_back(std::string("VBDelGrpCd(") + code + ")");
    auto& gs = group_fake().groups;
    gs.erase(std::remove_if(gs.begin(), gs.end(), [&](const FakeGroup& g) { return g.code == code; }), gs.end());
    return rc_of("VBDelGrpCd");
}
int32_t list_groups(int32_t hwnd) {
    plat::Control* box = plat::control(hwnd);
    for (const FakeGroup& g : group_fake().groups) box->lb_add("  " + pad(g.code, 3) + "     " + pad(g.name, 60));
    return 0;
}
int32_t list_pncs(const char* code, int32_t hwnd, int16_t* flag) {
    group_fake().calls.push_back(std::string("VBMakeListGrpPnc(") + code + "," + std::to_string(*flag) + ")");
    FakeGroup* g = group_fake().find(code);
    *flag = (g == nullptr || group_fake().unknown_list_group) ? 1 : 0;
    if (g != nullptr)
        for (const std::string& p : g->pncs) plat::control(hwnd)->lb_add(pnc_line(p));
    return rc_of("VBMakeListGrpPnc");
}
int32_t set_pnc(int32_t hwnd, const char* code, const char* pnc, int16_t* index) {
    group_fake().calls.push_back(std::string("VBSetGrpPnc(") + code + "," + pnc + "," + std::to_string(*index) + ")");
    if (int32_t rc = rc_of("VBSetGrpPnc")) return rc;
    auto it = group_fake().pnc_position.find(pnc);
    if (it != group_fake().pnc_position.end()) {
        *index = it->second;
        return 0;
    }
    FakeGroup* g = group_fake().find(code);
    if (g == nullptr) return 0;
    plat::Control* box = plat::control(hwnd);
    if (*index == -1) {
        g->pncs.push_back(pnc);
        box->lb_add(pnc_line(pnc));
    } else {
        g->pncs[static_cast<size_t>(*index)] = pnc;
        box->lb_delete(*index);
        box->lb_insert(*index, pnc_line(pnc));
    }
    *index = 0;
    return 0;
}
int32_t del_pnc(int32_t hwnd, const char* code) {
    group_fake().calls.push_back(std::string("VBDelGrpPnc(") + code + ")");
    FakeGroup* g = group_fake().find(code);
    plat::Control* box = plat::control(hwnd);
    for (int i = box->lb_count() - 1; i >= 0; --i) {
        if (box->lb_get_sel(i) <= 0) continue;
        box->lb_delete(i);
        if (g != nullptr) g->pncs.erase(g->pncs.begin() + i);
    }
    return rc_of("VBDelGrpPnc");
}

template <typename D, typename F>
void bind(D& declared, F* fn) {
    declared.entry().set_address(reinterpret_cast<void*>(fn));
}

}  // namespace

FakeGroup* GroupFake::find(const std::string& code) {
    for (FakeGroup& g : groups)
        if (g.code == code) return &g;
    return nullptr;
}

GroupFake& group_fake() {
    static GroupFake fake;
    return fake;
}

void install_group_fake() {
    group_fake() = GroupFake{};
    bind(lib::VBRemakeGpFile, &remake);
    bind(lib::VBInitGrpTmp, &init);
    bind(lib::VBTermGrpTmp, &term);
    bind(lib::VBread_group_file, &read_files);
    bind(lib::VBwrite_group_file, &write_files);
    bind(lib::VBGetGrpNum, &count);
    bind(lib::VBGetGrpName, &get_name);
    bind(lib::VBSetGrpCd, &set_group);
    bind(lib::VBDelGrpCd, &del_group);
    bind(lib::VBMakeListGrpMei, &list_groups);
    bind(lib::VBMakeListGrpPnc, &list_pncs);
    bind(lib::VBSetGrpPnc, &set_pnc);
    bind(lib::VBDelGrpPnc, &del_pnc);
}

void remove_group_fake() {
    for (px::EntryPoint* e :
         {&lib::VBRemakeGpFile.entry(), &lib::VBInitGrpTmp.entry(), &lib::VBTermGrpTmp.entry(),
          &lib::VBread_group_file.entry(), &lib::VBwrite_group_file.entry(), &lib::VBGetGrpNum.entry(),
          &lib::VBGetGrpName.entry(), &lib::VBSetGrpCd.entry(), &lib::VBDelGrpCd.entry(),
          &lib::VBMakeListGrpMei.entry(), &lib::VBMakeListGrpPnc.entry(), &lib::VBSetGrpPnc.entry(),
          &lib::VBDelGrpPnc.entry()})
        e->set_address(nullptr);
}

}  // namespace pxtest
