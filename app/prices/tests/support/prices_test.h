// The base of the prices screens' tests: a started program on a scratch
// installation whose messages read "M<number>", the libraries scripted
// (prices_fakes.h), and helpers to reach the screens.
#pragma once

#include <string>

#include "shell/form.h"
#include "support/fixture.h"
#include "support/prices_fakes.h"

namespace px {
class Grid;
}

namespace pxtest {

class PricesTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads a screen over the menu as the menu's item does.
    px::Form& open(const char* name);
    static std::string msg(px::Form& f);
    static std::string row(px::Grid* g, int r);
    // A file of the installation, whole ("" when missing).
    std::string file(const std::string& rel) const;
    px::Form* menu = nullptr;
    // The lines the system-error dialog showed (it deletes the log), all
    // dialogs of the test joined.
    std::string errm_text;
};

}  // namespace pxtest
