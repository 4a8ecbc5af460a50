// A scripted group work table in place of the common library's, for the
// maintenance screens' tests: groups in memory, every call recorded, the
// results the tests ask for.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pxtest {

struct FakeGroup {
    std::string code;  // 3 characters
    std::string name;
    std::vector<std::string> pncs;
};

struct GroupFake {
    std::vector<FakeGroup> groups;
    std::vector<std::string> calls;
    // Results asked for: by entry name ("VBSetGrpCd" ...), else 0.
    std::map<std::string, int32_t> rc;
    // What VBSetGrpPnc writes back into the position (else 0: stored).
    std::map<std::string, int16_t> pnc_position;  // by part-name code
    bool unknown_list_group = false;              // VBMakeListGrpPnc answers flag 1

    FakeGroup* find(const std::string& code);
    static std::string part_name(const std::string& pnc) { return "NAME OF " + pnc; }
};

GroupFake& group_fake();
// Binds the common library's group entries to the fake (or back).
void install_group_fake();
void remove_group_fake();

}  // namespace pxtest
