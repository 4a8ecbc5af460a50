#include "shell/program.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include <QCoreApplication>
#include <QDir>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QStyleFactory>
#include <QThread>
#include <QThreadPool>

#include "platform/drives.h"
#include "platform/msgbox.h"
#include "shell/codepage.h"
#include "shell/dialog_language.h"
#include "shell/form.h"
#include "shell/gyom.h"

namespace px {

namespace {

bool g_ended = false;
int g_exit_code = 0;

}  // namespace

// Message boxes that the libraries raise (the CD request) as Qt boxes.
int32_t ShowMessageBox(const std::string& text, const std::string& caption, uint32_t style) {
    QMessageBox box(active_form());
    box.setWindowTitle(from_ansi(caption));
    box.setText(from_ansi(text));
    uint32_t icon = style & 0xF0;
    box.setIcon(icon == plat::kMbIconQuestion      ? QMessageBox::Question
                : icon == plat::kMbIconExclamation ? QMessageBox::Warning
                                                   : QMessageBox::NoIcon);
    switch (style & 0x0F) {
        case plat::kMbOkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case plat::kMbRetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
        case plat::kMbYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return plat::kIdOk;
        case QMessageBox::Retry: return plat::kIdRetry;
        case QMessageBox::Yes: return plat::kIdYes;
        case QMessageBox::No: return plat::kIdNo;
        default: return plat::kIdCancel;
    }
}

namespace {

// Fusion makes a button with a long caption exactly as wide as the caption's
// advance and its frame; a caption drawn partly in a fallback face (Japanese
// in a Latin face) reaches past that advance and is cut at the right edge.
// Every button keeps a margin of its own beside its caption.
class ScreenStyle : public QProxyStyle {
public:
    ScreenStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        if (type != CT_PushButton) return size;
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (button == nullptr || button->text.isEmpty()) return size;
        const int margin = option->fontMetrics.horizontalAdvance(QLatin1Char('0'));
        size.setWidth(std::max(size.width(), contents.width() + 2 * margin));
        return size;
    }
};

}  // namespace

bool start_program() {
    // One look on every desktop, where the button colours show.
    QApplication::setStyle(new ScreenStyle);
    install_forms_kit();
    plat::set_message_box_hook(ShowMessageBox);
    // The installation's drives, before the catalogue environment starts.
    std::string table = QDir::current().filePath("PXDRIVES.SYS").toStdString();
    std::string error;
    if (!plat::load_drive_table(table, &error))
        std::fprintf(stderr, "pxdrom: drive table %s: %s\n", table.c_str(), error.c_str());

    Form& menu = load_form(Gyom::kName);
    if (!static_cast<Gyom&>(menu).started()) {
        unload_form(menu);
        QuitProgram(1);
        return false;
    }
    // The menu language is known once the environment is read: the texts
    // from here on decode in its code page.
    apply_code_page_setting();
    if (!apply_dialog_language(menu_language_code().c_str()))
        std::fprintf(stderr, "pxdrom: Qt's translations for the menu language are not installed\n");
    show_modeless(menu);
    return !g_ended;
}

void QuitProgram(int code) {
    g_ended = true;
    g_exit_code = code;
    // Only a running event loop is told: once told, the application ends
    // every event loop that starts after it.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(code);
}

bool program_ended() { return g_ended; }
int program_exit_code() { return g_exit_code; }

void reset_program() {
    g_ended = false;
    g_exit_code = 0;
}

namespace {

// Runs what the event queue holds until it holds nothing more; each round
// can post more (a deferred delete whose destructor queues a call), so a few
// rounds are run.
void drain_events() {
    for (int round = 0; round < 8; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

}  // namespace

void close_application() {
    for (Form* f : loaded_forms()) unload_form(*f);
    drain_events();
    // A window that has a parent goes with it.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        if (w && w->parent() == nullptr) delete w.data();
    drain_events();
    // Painting large pictures scales them on Qt's global pool threads; one
    // still winding down while the process exits leaves its thread data
    // unfreed, which the leak checker sees at random. Join them here.
    QThreadPool::globalInstance()->waitForDone();
}

namespace {

// Threads of this process besides the caller (Linux: one entry each in
// /proc/self/task; a thread leaves it only once it has wholly ended).
int other_threads() {
    std::error_code error;
    int n = 0;
    for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
         it.increment(error))
        ++n;
    return error ? 0 : n - 1;
}

}  // namespace

void wait_for_other_threads() {
    using namespace std::chrono_literals;
    const auto give_up = std::chrono::steady_clock::now() + 10s;
    while (other_threads() > 0 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(1ms);
}

void join_threads_at_exit() {
    // Exit steps run in the reverse order of their registration: one
    // registered now runs after the teardown of what Qt starts later (its
    // session bus connection is a static object made on first use), and
    // before the steps the libraries and the leak checker registered as they
    // loaded.
    static bool registered = false;
    if (!registered) registered = std::atexit(wait_for_other_threads) == 0;
}

}  // namespace px
