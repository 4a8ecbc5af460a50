// The abbreviation window: the clerk types an abbreviation and sees its
// meaning from the catalogue's abbreviation file. Opened over a result
// screen through ShowModalOwned; F6 prints that screen.
#pragma once

#include <array>

#include "shell/form.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace px {

class Ryak : public Form {
public:
    static constexpr const char* kName = "Ryak";
    // The abbreviation key's length in the abbreviation file.
    static constexpr int kAbbrevMax = 20;
    static constexpr int kMeanSize = 130;
    Ryak();

    QLineEdit* txt_Abbrev = nullptr;
    QLabel* lbl_Mean = nullptr;
    std::array<QLabel*, 3> lbl_Ttl{};  // indexes 1 and 2
    QFrame* Line1 = nullptr;

    void on_load() override;
    void on_activate() override;
    bool on_key_down(int key_code) override;
    void on_close_request() override;

private:
    void look_up();
    void clear();
    void close_window();
};

}  // namespace px
