// Helpers the set-up screens share: a message's text for a message box,
// and the message numbers they show.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace px::setup {

// The message of the menu language's message file (blank-trimmed bytes).
std::string message_text(int16_t no);

// A question with Yes, No and Cancel (the program's message-box hook knows
// two-button boxes only): plat::kIdYes, kIdNo or kIdCancel. Tests put their
// answer in place of the box.
using YesNoCancelBox = std::function<int32_t(const std::string& text, const std::string& caption)>;
YesNoCancelBox& yes_no_cancel_box();
int32_t AskYesNoCancel(const std::string& text, const std::string& caption);

// A status list of the catalogue set-up cannot take an eleventh CD: a set-up
// block holds ten.
constexpr int16_t kMsgTooManyCds = 880;

}  // namespace px::setup
