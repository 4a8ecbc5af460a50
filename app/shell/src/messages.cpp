#include "shell/messages.h"

#include <algorithm>
#include <array>
#include <cstring>

#include <QLabel>
#include <QLayout>
#include <QPointer>

#include "shell/codepage.h"
#include "shell/field_box.h"
#include "shell/form.h"
#include "shell/pxall_entries.h"
#include "shell/seams.h"

namespace px {

namespace {

// Two lines of 71 characters joined by CR LF, and room to spare. An unknown
// message leaves the buffer as it was, so the line shows the last text.
std::array<char, 150> g_message{};

QPointer<Form> g_error_caller;

const char* kErrorDialog = "Errm";

}  // namespace

void DispMsg(int16_t no, QLabel* label) {
    if (label == nullptr) throw RuntimeError(kErrObjectNotSet, "DispMsg");
    VbString str{g_message.data(), static_cast<int32_t>(g_message.size())};
    lib::VBGetMsg(no, &str);
    QStringList lines = field_text(g_message.data(), g_message.size()).split("\r\n");
    for (QString& line : lines) {
        qsizetype n = line.size();
        while (n > 0 && line[n - 1] == ' ') --n;
        line.truncate(n);
    }
    label->setText(lines.join('\n'));
    if (no / 100 == 7) label->repaint();
}

void WriteErrorLog(const std::string& source, const std::string& procedure, const std::string& step, int32_t n1,
                   int32_t n2, int32_t n3) {
    lib::VBsyerr_message(source.c_str(), procedure.c_str(), step.c_str(), n1, n2, n3);
}

void ShowErrorDialog(Form& caller) {
    g_error_caller = &caller;
    // A failure inside the dialog itself does not open a second one.
    Form* open = loaded_form(kErrorDialog);
    if (open != nullptr && open->isVisible()) return;
    show_modal(load_form(kErrorDialog));
}

Form* ErrorCaller() { return g_error_caller; }

namespace {

// The size the form has, or will have when it is first shown: a screen that
// centres itself while it loads has not been laid out yet, and takes the
// size its layout asks for when it shows.
QSize shown_size(Form& form) {
    if (form.isVisible() || form.testAttribute(Qt::WA_Resized)) return form.frameGeometry().size();
    if (QLayout* layout = form.layout()) layout->activate();
    return form.sizeHint().expandedTo(form.minimumSize()).boundedTo(form.maximumSize());
}

}  // namespace

void CenterForm(Form& form) {
    DisplayMetrics m = display_metrics();
    const DisplayTwips& t = display_twips();
    double width_twips = m.width_px * m.twips_per_px_x;
    int left = 0, top = 0;
    if (t.x > 0 && width_twips / t.x > 1024) {
        QSize size = shown_size(form);
        left = (m.width_px - size.width()) / 2;
        top = (m.height_px - size.height()) / 2;
    }
    form.move(left, top);
}

void KeepMessageLineClear(QWidget& dialog, const QLabel* line) {
    if (line == nullptr || !line->isVisible()) return;
    const QRect msg(line->mapToGlobal(QPoint(0, 0)), line->size());
    const QRect frame = dialog.frameGeometry();
    if (!frame.intersects(msg)) return;
    const DisplayMetrics m = display_metrics();
    // The frame's top-left is where move() puts it: above the line, below
    // it, beside it; where none has room, as far right as the display goes,
    // so that the line's text, which starts at its left, shows.
    if (msg.top() - frame.height() >= 0) dialog.move(frame.left(), msg.top() - frame.height());
    else if (msg.bottom() + 1 + frame.height() <= m.height_px) dialog.move(frame.left(), msg.bottom() + 1);
    else if (msg.right() + 1 + frame.width() <= m.width_px) dialog.move(msg.right() + 1, frame.top());
    else if (msg.left() - frame.width() >= 0) dialog.move(msg.left() - frame.width(), frame.top());
    else dialog.move(std::max(frame.left(), m.width_px - frame.width()), frame.top());
}

void ReportFailure(Form& form, const std::string& procedure, const RuntimeError& error) {
    // A step that fails in turn (the common library itself missing) is left
    // out; the dialog still opens.
    try {
        WriteErrorLog(form.source_name(), procedure, error.step(), error.number(), 0, 0);
    } catch (const RuntimeError&) {
    }
    try {
        if (form.lbl_Msg != nullptr) DispMsg(999, form.lbl_Msg);
    } catch (const RuntimeError&) {
    }
    ShowErrorDialog(form);
}

DisplayTwips& display_twips() {
    static DisplayTwips t;
    return t;
}

QString ScrText(int32_t no, int len) {
    if (len <= 0) return QString();
    // A byte beyond the field tells whether its last byte begins a
    // double-byte character that the field would split: such a character is
    // left out whole, never shown as half of one.
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    VbString str{buf.data(), len + 1};
    lib::VBGetScr(no, &str);
    return from_ansi(ansi_cut(std::string_view(buf.data(), strnlen(buf.data(), buf.size())), static_cast<size_t>(len)));
}

}  // namespace px
