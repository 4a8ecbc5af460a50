// Installed catalogue data for the keyed-file tests, made by the data-set
// builder in a TempEnv: CDs as folders under cd/, data sets installed under
// C:\MST, the set-up table, the CD drive list and the CD request texts filled
// in, and the message box answered from a script.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pxall/keyed_file.h"
#include "pxbuild/cd_writer.h"
#include "pxbuild/installer.h"
#include "support/temp_env.h"

namespace pxtest {

class KeyedEnv {
public:
    KeyedEnv();
    ~KeyedEnv();

    TempEnv& env() { return env_; }

    // A CD folder cd/<id> with its label.
    pxbuild::CdWriter make_cd(const std::string& id, const std::string& date);
    // Installs a CD under C:\MST\<id> and adds its set-up entry; kind '1'
    // copies everything, '0' writes the masters only.
    void install(const std::string& id, char kind, const std::string& cd_no = "01");
    // CD drives of the drive list: letter -> folder under the root ("" for an
    // empty drive). Maps the platform drives as cdrom.
    void set_cd_drives(const std::vector<std::pair<char, std::string>>& drives);
    // Adds a set-up entry directly.
    void add_setup(const std::string& name, const std::string& cd_no, const std::string& date, bool full_copy);
    int setup_count() const;

    // Answers of the CD request box, in order; Cancel when they run out.
    // `between` runs after each answer (to change drives on Retry).
    void script_box(std::vector<int> answers, std::function<void(int shown)> between = {});
    int boxes_shown() const { return shown_; }

    // Opens through the master of set-up entry 0 and checks success.
    pxall::CdHandle* open(const char* name, const char* catalog = "", int key_set = 1, int read_mode = 0);

private:
    TempEnv env_;
    pxbuild::Installer installer_;
    std::vector<int> answers_;
    std::function<void(int)> between_;
    int shown_ = 0;
};

// Records of a keyed file for tests: the descriptor row's record length,
// blank-filled, the key at its offset.
std::string rec(const char* data_name, const std::string& key, const std::string& rest = "");
// Keys "P00001" ... of width w from a prefix.
std::string key_n(const std::string& prefix, int n, int width);

// Reads every record of a key (repeated cdread) into a list.
std::vector<std::string> read_all(pxall::CdHandle* h, const std::string& key, int rec_len, int* last = nullptr);

}  // namespace pxtest
