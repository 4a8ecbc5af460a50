// Help: F1 of a screen shows its help text, found by the help screen id "PX"
// and the upper-cased four-letter screen name ("PXGYOM").
#pragma once

#include <string>

namespace px {

class Form;

void ShowHelp(Form& caller);
void ShowHelpByName(const std::string& name);
// The 6-character id of the help last asked for.
std::string GetHelpScreenId();

}  // namespace px
