// A scripted vehicle identification for the vehicle screen's tests: each
// entry answers from its own queue of results (then its default), every
// call is logged, and the getters show the fields the test sets. Stand-in
// screens for the lists, the vehicle-information dialog and the search
// routes record that they were opened.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace vjintest {

struct EngineDouble {
    // Results by entry: "init", "clear", "inputarea", "lang", "vin", "cat",
    // "model", "frame", "date", "col", "trim", "note", "msgid", "exec",
    // "select", "fsel_init", "vkei_init", "vinf_make", "from", "vcat",
    // "vkei", "vxxx", "fsel", "back", "get_vinf", "set_vinf", "vcat_init".
    std::map<std::string, std::deque<int32_t>> queues;
    std::map<std::string, int32_t> defaults;
    // "vin 17 PX1..." (len and the string handed over), "change_lang 3", ...
    std::vector<std::string> calls;
    // What the getters show: "vin", "cat", "mod", "fmod", "fno", "ad", "clr",
    // "trm", "not", "char1", "nam", "pdf", "pdt"; char2 by item.
    std::map<std::string, std::string> fields;
    std::vector<std::string> char2 = std::vector<std::string>(21);
    std::string path_kind1 = "C:\\MST";

    void answer(const std::string& entry, std::initializer_list<int32_t> results);
    int32_t next(const std::string& entry);
    // The calls whose log line starts with `prefix`.
    std::vector<std::string> called(const std::string& prefix) const;
    bool was_called(const std::string& prefix) const { return !called(prefix).empty(); }

    // Binds every entry of the screen to the double, and back.
    void install();
    void uninstall();
};

EngineDouble& engine();

// What the stand-in screens saw: "Vcat load", "Krot load" ...
std::vector<std::string>& stand_in_events();

}  // namespace vjintest
