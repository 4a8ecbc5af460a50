// The main menu: the start-up form of the program. Its load starts the
// catalogue environment and the screen stack; each showing fetches its texts
// and releases the current saved list; its eight items open the screens of
// the system; F3 (or closing its window) ends the program.
#pragma once

#include <array>
#include <string>

#include "shell/form.h"

class QFrame;
class QLabel;
class QPushButton;

namespace px {

// Item 3 opens its screen through a procedure of the area that brings it
// (OpenDprcScreen: it checks the price file before the screen is pushed).
// The area registers it under the screen's name; without it the item stays
// inert.
using MenuOpener = void (*)(Form& caller, QLabel* caller_msg);
bool register_menu_opener(const std::string& screen, MenuOpener opener);

class Gyom : public Form {
public:
    static constexpr const char* kName = "Gyom";
    // The screen each item opens (item 3 goes through OpenDprcScreen).
    static constexpr std::array<const char*, 9> kItemScreens = {"", "Vjin", "Teki", "Dprc", "Newp",
                                                                "Fsav", "Hinb", "Stpm", "Siup"};
    Gyom();

    // Whether the catalogue environment started.
    bool started() const { return started_; }

    QLabel* lbl_title = nullptr;
    QFrame* fra_gyom = nullptr;
    std::array<QPushButton*, 9> cmd_Menu{};  // indexes 1 to 8

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_button_focus(QPushButton* button, bool got) override;
    void on_close_request() override;

private:
    void menu_execute(int item);
    void end_program();

    bool started_ = false;
};

}  // namespace px
