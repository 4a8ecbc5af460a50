#include "platform/msgbox.h"

namespace plat {

namespace {

MessageBoxHook& hook() {
    static MessageBoxHook h;
    return h;
}

}  // namespace

void set_message_box_hook(MessageBoxHook h) { hook() = std::move(h); }

int32_t message_box(const std::string& text, const std::string& caption, uint32_t style) {
    // A copy, so a hook that replaces itself does not destroy the running call.
    MessageBoxHook current = hook();
    if (!current) return kIdCancel;
    return current(text, caption, style);
}

}  // namespace plat
