// An installation for the set-up tests: drive C: a scratch folder with the
// master, work, program and frame-number directories, PXDROM.SYS with all
// its keys in the current directory, the set-up CDs of the data-set
// builder under cd/, three CD drives Q:, R:, S:, and the CD boxes answered
// from a script that can put another CD into a drive before it answers.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pxall/blocks.h"
#include "support/temp_env.h"

namespace stuptest {

struct Choice {
    std::string code;       // "A1"
    char kind = '1';        // '1' full copy, '0' master files only
    std::string issue = "        ";  // blank: install anew; "yyyymmdd": keep
};

struct Step {
    int answer;            // plat::kIdRetry or kIdCancel
    char drive = 0;        // a drive to load before answering
    std::string folder;    // the CD folder (below cd/) to load; "" empties it
};

class SetupEnv {
public:
    explicit SetupEnv(int scale = 1);
    ~SetupEnv();

    pxtest::TempEnv& env() { return env_; }
    const pxtest::TempEnv& env() const { return env_; }
    const std::string& root() const { return env_.root(); }

    // Loads a CD folder of cd/ into a CD drive ("" for no disc).
    void insert(char drive, const std::string& folder);
    // The choice of an area (0-3) or a frame block (0 world, 1 Japan).
    void select_area(int area, char drive, const std::vector<Choice>& cds, bool selected = true);
    void select_frame(int block, char drive, const std::vector<Choice>& cds, bool selected = true);
    // Writes CATALOG.TMP and FRAME.TMP into the work directory.
    void write_selection();
    void clear_selection();

    void script(std::vector<Step> steps);
    // Texts of the boxes shown since the script was set.
    const std::vector<std::string>& boxes() const { return shown_; }

    std::string sys() const;
    void write_sys(const std::string& text) const;
    // The value of a key's line in PXDROM.SYS ("" when the line is missing).
    std::string value(const std::string& key) const;
    // Names of the set-up table's entries ("E1", "EF").
    std::vector<std::string> setup_names() const;

    unsigned char* top() const { return pxall::get_ctop_addr(); }

    unsigned char catalog[488];
    unsigned char frame[244];

private:
    pxtest::TempEnv env_;
    std::vector<Step> steps_;
    std::vector<std::string> shown_;
};

// The default PXDROM.SYS: all 14 keys, CR LF lines.
std::string default_sys();

}  // namespace stuptest
