// The base of the set-up screens' tests: a started program on a scratch
// installation whose messages read "M<number>", the set-up libraries
// scripted (setup_fakes.h), and helpers to reach the screens.
#pragma once

#include <string>
#include <vector>

#include "shell/form.h"
#include "support/fixture.h"
#include "support/setup_fakes.h"

class QListWidget;

namespace pxtest {

class SetupTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads a screen over the menu as the main menu's item does.
    px::Form& open(const char* name);
    static std::string msg(px::Form& f);
    static std::vector<std::string> lines(const QListWidget* list);
    std::string file(const std::string& rel) const;
    // Answers of the message boxes, in order (Yes 6, No 7, Cancel 2); the texts asked.
    std::vector<int32_t> answers;
    std::vector<std::string> asked;
    // Files the file dialog gives, in order ("" cancels); the filters it was shown.
    std::vector<std::string> chosen;
    std::vector<std::string> filters;
    px::Form* menu = nullptr;
};

}  // namespace pxtest
