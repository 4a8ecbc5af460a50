// The base of the inquiry screens' tests: a started program on a scratch
// installation whose messages read "M<number>", the inquiry libraries
// scripted (lib_fakes.h), and helpers to reach the screens.
#pragma once

#include <string>
#include <vector>

#include <QString>

#include "shell/form.h"
#include "support/fixture.h"
#include "support/lib_fakes.h"

namespace px {
class Grid;
}

namespace pxtest {

class InquiryTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a screen over the menu as the menu's item does.
    px::Form& open(const char* name);
    // The message line's text ("M105").
    static std::string msg(px::Form& f);
    // A row of a grid, its cells joined by "|".
    static std::string row(px::Grid* g, int r);
    // The number of the first record each row of a grid shows (from column
    // `col`), for rows 1..n.
    static QString cell(px::Grid* g, int r, int c);

    px::Form* menu = nullptr;
};

}  // namespace pxtest
