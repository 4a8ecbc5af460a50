// Scripted doubles of the list entries of PXVCAT and PXVJIN for the vehicle
// lists' tests: each records what it was given and answers what the test
// set; the list files are written into the installation's work folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace px {
class Form;
}

namespace pxtest {

struct ListDoubles {
    // What the entries answer.
    int32_t check_mode = 0;
    int32_t ret_result = 0;
    int32_t vinf_result = 0;
    std::string list_path;   // the path the main entry hands out (Windows-shaped)
    std::string model_text;  // _vkei_disp_model@4
    // What they were given, in order: "ret 0", "end 3", "vinf 2", "select 12" ...
    std::vector<std::string> calls;

    // Binds every entry of the vehicle lists to the doubles, and back.
    void install();
    static void uninstall();
};

ListDoubles& doubles();

// The lines the system-error dialog lists (the error log it read).
std::vector<std::string> dialog_lines(px::Form& errm);

// Fixed-width text: cut or blank-padded to `width`.
std::string fixed(const std::string& s, size_t width);

}  // namespace pxtest
