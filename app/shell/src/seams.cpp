#include "shell/seams.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>

#include "platform/drives.h"
#include "shell/form.h"
#include "shell/messages.h"
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

// The extensions of a filter's entries ("*.txt" gives ".txt"; "*.*" none).
QStringList filter_extensions(const QString& filter) {
    QStringList parts = filter.split('|'), out;
    for (int i = 1; i < parts.size(); i += 2) {
        QString pattern = parts[i].section(';', 0, 0).trimmed();
        const QString ext = pattern.mid(1);
        out << (pattern.startsWith("*.") && !ext.contains('*') && !ext.contains('?') ? ext : QString());
    }
    return out;
}

QString real_choose_file(QWidget* parent, FileChoice& c) {
    const QStringList entries = qt_filter(c.filter).split(";;");
    const QStringList exts = filter_extensions(c.filter);
    QFileDialog dialog(parent, c.title, c.initial_dir, entries.join(";;"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(c.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The dialog adds the chosen type's extension to a bare name itself, so
    // that it asks before overwriting the file that is really written.
    auto suffix_of = [&](const QString& entry) {
        return exts.value(static_cast<int>(entries.indexOf(entry))).mid(1);
    };
    if (c.filter_index >= 1 && c.filter_index <= entries.size()) dialog.selectNameFilter(entries[c.filter_index - 1]);
    if (c.save && c.add_extension) {
        dialog.setDefaultSuffix(suffix_of(dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&](const QString& entry) { dialog.setDefaultSuffix(suffix_of(entry)); });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (qsizetype i = entries.indexOf(dialog.selectedNameFilter()); i >= 0) c.filter_index = static_cast<int>(i) + 1;
    return dialog.selectedFiles().front();
}

QString with_extension(const QString& path, const FileChoice& c) {
    const QStringList exts = filter_extensions(c.filter);
    for (const QString& e : exts)
        if (!e.isEmpty() && path.endsWith(e, Qt::CaseInsensitive)) return path;
    const QString chosen = exts.value(c.filter_index - 1);
    return chosen.isEmpty() ? path : path + chosen;
}

// The drives as the clerk can find them in the dialog: each letter with its
// folder ("C: /srv/pxdrom/c"); where those do not fit the line, each letter
// with the folder's own name, and at last what fits.
QString drive_names(const QLabel& line) {
    QStringList whole, short_names;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::optional<std::string> dir = plat::drive_dir(letter);
        if (!dir) continue;
        const QString folder = QDir::cleanPath(QString::fromStdString(*dir));
        whole << QString("%1: %2").arg(QChar(letter), folder);
        short_names << QString("%1: %2").arg(QChar(letter), QDir(folder).dirName());
    }
    const QFontMetrics fm = line.fontMetrics();
    const int room = line.contentsRect().width() - 2 * line.margin() - fm.averageCharWidth();
    const QString full = whole.join("   ");
    if (fm.horizontalAdvance(full) <= room) return full;
    return fm.elidedText(short_names.join("   "), Qt::ElideRight, std::max(room, 0));
}

// A file outside the drives: the message line of the window that asked says
// so and names the drives.
void tell_outside_drives(QWidget* parent) {
    QLabel* line = message_line_for(parent);
    if (line == nullptr) return;
    DispMsg(kMsgOutsideDrives, line);
    line->setText(line->text().section('\n', 0, 0) + '\n' + drive_names(*line));
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

QString ChooseFile(QWidget* parent, FileChoice& choice) {
    // The environment file is opened by its bare name: the current directory
    // must be the same after the dialog.
    QString cwd = QDir::currentPath();
    QString chosen = seams().choose_file ? seams().choose_file(parent, choice) : QString();
    QDir::setCurrent(cwd);
    if (choice.save && choice.add_extension && !chosen.isEmpty()) chosen = with_extension(chosen, choice);
    // The system names files by drive, and no name outside the drives is
    // ever opened: a file there cannot be taken.
    const std::string drive_path = chosen.isEmpty() ? std::string() : plat::windows_path(chosen.toStdString());
    if (!chosen.isEmpty() && (drive_path.size() < 2 || drive_path[1] != ':')) {
        tell_outside_drives(parent);
        Beep();
        return QString();
    }
    return chosen;
}

}  // namespace px
