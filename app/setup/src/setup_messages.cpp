#include "setup/setup_messages.h"

#include <QMessageBox>

#include "platform/msgbox.h"
#include "shell/codepage.h"
#include "shell/form.h"
#include "shell/pxall_entries.h"

namespace px::setup {

std::string message_text(int16_t no) {
    std::string buf(256, '\0');
    VbString s{buf.data(), static_cast<int32_t>(buf.size())};
    lib::VBGetMsg(no, &s);
    size_t end = buf.find('\0');
    if (end != std::string::npos) buf.resize(end);
    while (!buf.empty() && (buf.back() == ' ' || buf.back() == '\r' || buf.back() == '\n')) buf.pop_back();
    return buf;
}

YesNoCancelBox& yes_no_cancel_box() {
    static YesNoCancelBox box;
    return box;
}

int32_t AskYesNoCancel(const std::string& text, const std::string& caption) {
    if (yes_no_cancel_box()) return yes_no_cancel_box()(text, caption);
    QMessageBox box(active_form());
    box.setWindowTitle(from_ansi(caption));
    box.setText(from_ansi(text));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes: return plat::kIdYes;
        case QMessageBox::No: return plat::kIdNo;
        default: return plat::kIdCancel;
    }
}

}  // namespace px::setup
