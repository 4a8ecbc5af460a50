// Message boxes raised by the libraries go through a hook that the program
// sets; with no hook the answer is Cancel. Tests script the answers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/export.h"

namespace plat {

// Button sets and icons, with the Windows values.
enum MsgBoxStyle : uint32_t {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbRetryCancel = 0x5,
    kMbYesNo = 0x4,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
};

// Answers, with the Windows values.
enum MsgBoxAnswer : int32_t {
    kIdOk = 1,
    kIdCancel = 2,
    kIdRetry = 4,
    kIdYes = 6,
    kIdNo = 7,
};

using MessageBoxHook = std::function<int32_t(const std::string& text, const std::string& caption, uint32_t style)>;

// Sets the hook (an empty function removes it).
PX_EXPORT void set_message_box_hook(MessageBoxHook hook);
// Shows a box through the hook; kIdCancel when none is set.
PX_EXPORT int32_t message_box(const std::string& text, const std::string& caption, uint32_t style);

}  // namespace plat
