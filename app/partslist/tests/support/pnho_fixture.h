// The parts-list screens against a scripted parts-list engine: each entry
// records its call and answers from the script; the list, print and
// feature files are written into the installation's work folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "partslist/pnho.h"
#include "support/fixture.h"

namespace pxtest {

// A parts-list record from its fields (blank-padded to their widths).
std::string list_record(const std::string& f1, const std::string& f2, const std::string& f3 = "01",
                        const std::string& f4 = "", const std::string& mark = " ");
// `n` records, each its own group (part-name code a number).
std::string numbered_records(int n);
// One group of `n` records: a numbered head and n - 1 continuations.
std::string one_group(int n, const std::string& code = "000001");

struct EngineScript {
    std::vector<std::string> calls;  // "pnho_exec_main", "pnho_reverse_sel 3" ...
    std::map<std::string, int> rc;   // result by entry name (0 when absent)
    std::string list;                // the list file exec_main, match and retran write
    std::string list_after;          // what match and retran write, when not empty
    std::string print;               // the print file exec_print writes
    std::string kinds, codes;        // the feature files
    int16_t match_state = 0;
    int16_t lcl_fig = 0;
    int16_t selcnt = 0;
    std::vector<std::string> tokucyo;  // "kind:code" handed over
    int count(const std::string& name) const;
};

EngineScript& engine();

class PnhoTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the screen on the list and pushes it on the stack.
    px::Pnho& open(const std::string& list);
    void press(px::Form& f, int fkey);
    std::string work(const std::string& name) const;
    bool work_exists(const std::string& name) const;
    static QString message(int no);
    // The visible and hidden keys: "1 2 3 ..." of the shown buttons.
    static std::string shown_keys(px::Form& f);
};

}  // namespace pxtest
