#include "shell/seams.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QScreen>

#include "shell/printing.h"

namespace px {

namespace {

PrintDevice& qt_printer() {
    static std::unique_ptr<PrintDevice> device = make_qt_printer();
    return *device;
}

DisplayMetrics real_display() {
    DisplayMetrics m;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return m;
    m.width_px = screen->geometry().width();
    m.height_px = screen->geometry().height();
    double dpi_x = screen->logicalDotsPerInchX(), dpi_y = screen->logicalDotsPerInchY();
    if (dpi_x > 0) m.twips_per_px_x = 1440.0 / dpi_x;
    if (dpi_y > 0) m.twips_per_px_y = 1440.0 / dpi_y;
    return m;
}

// The caption flashes through the window system's attention request; the
// state alternates as FlashWindow's does.
int32_t real_flash(QWidget* window, int32_t state) {
    if (window != nullptr) QApplication::alert(window, 400);
    return state == 0 ? 1 : 0;
}

// "Text File(*.txt)|*.txt|CSV File(*.csv)|*.csv" -> "Text File(*.txt);;CSV File(*.csv)"
QString qt_filter(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i] + " (" + parts[i + 1].replace(';', ' ') + ")";
    return out.join(";;");
}

QString real_choose_file(QWidget* parent, const FileChoice& c) {
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    return c.save ? QFileDialog::getSaveFileName(parent, c.title, c.initial_dir, qt_filter(c.filter), nullptr, options)
                  : QFileDialog::getOpenFileName(parent, c.title, c.initial_dir, qt_filter(c.filter), nullptr, options);
}

Seams real_seams() {
    Seams s;
    s.beep = [] { QApplication::beep(); };
    s.printer = [] () -> PrintDevice& { return qt_printer(); };
    s.display = real_display;
    s.flash_window = real_flash;
    s.choose_file = real_choose_file;
    return s;
}

}  // namespace

Seams& seams() {
    static Seams s = real_seams();
    return s;
}

void reset_seams() { seams() = real_seams(); }

void Beep() {
    if (seams().beep) seams().beep();
}

DisplayMetrics display_metrics() { return seams().display ? seams().display() : DisplayMetrics{}; }

QString ChooseFile(QWidget* parent, const FileChoice& choice) {
    // The environment file is opened by its bare name: the current directory
    // must be the same after the dialog.
    QString cwd = QDir::currentPath();
    QString chosen = seams().choose_file ? seams().choose_file(parent, choice) : QString();
    QDir::setCurrent(cwd);
    return chosen;
}

}  // namespace px
