// The set-up menu: main-menu item 7. Five items: the catalogue set-up (Stup),
// the price-file and local-parts set-up dialogs shown over the menu (Stpr,
// Stlp), the user part-group maintenance (Stgp) and the screen-text editor
// (Sscr). The two dialogs write their messages on this menu's message line
// and raise SetupBackToMenu when they close after a system error.
#pragma once

#include <array>

#include "shell/form.h"

class QLabel;
class QPushButton;

namespace px {

// Set by the price-file and local-parts dialogs after a system error; the
// menu then goes on to the main menu when it becomes active again.
inline bool SetupBackToMenu = false;

// The set-up menu's message line while it is loaded (the dialogs' line), else nullptr.
QLabel* SetupMenuMessageLine();

class Stpm : public Form {
public:
    static constexpr const char* kName = "Stpm";
    // The screen each item opens, in button order.
    static constexpr std::array<const char*, 5> kItemScreens = {"Stup", "Stpr", "Stlp", "Stgp", "Sscr"};
    Stpm();

    QLabel* lbl_title = nullptr;
    std::array<QPushButton*, 5> cmd_Stup{};
    std::array<QLabel*, 3> lbl_Lang{};
    int16_t chosen_item() const { return chosen_; }

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_button_focus(QPushButton* button, bool got) override;

    // Runs the chosen item.
    void Stpm_LoadSetupCmd();

private:
    int16_t chosen_ = 0;
};

}  // namespace px
