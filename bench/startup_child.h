// What the two children of startup_bench share (the program, and a bare Qt
// window of the same layout): the commands of the bench on a socket, one
// byte each, and the description of a screen's layout that the program
// writes and the bare window is built from.
//
// Commands: 'v' go to the vehicle screen with a vehicle identified (reply
// 'r' once done), 'd' describe the windows shown (reply 'k'), 'q' end.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QTableView>
#include <QTimer>
#include <QWidget>

namespace pxbench {

// The bench's end of the socket is handed over in PXBENCH_FD.
class BenchLink {
public:
    explicit BenchLink(std::function<void(char)> on_command) : on_command_(std::move(on_command)) {
        const char* fd = std::getenv("PXBENCH_FD");
        fd_ = fd != nullptr ? std::atoi(fd) : -1;
        if (fd_ < 0) return;
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, qApp);
        QObject::connect(notifier_, &QSocketNotifier::activated, [this] {
            char c = 0;
            if (::read(fd_, &c, 1) != 1) {
                notifier_->setEnabled(false);
                return;
            }
            on_command_(c);
        });
    }
    // Replies once the events the command caused have been handled.
    void reply_later(char c) {
        QTimer::singleShot(0, [this, c] { reply(c); });
    }
    void reply(char c) {
        if (fd_ >= 0 && ::write(fd_, &c, 1) != 1) std::perror("reply");
    }

private:
    std::function<void(char)> on_command_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

// --- Layouts ---------------------------------------------------------------
// A line a widget: "<depth> <class> <x> <y> <w> <h> <shown> <text> <font>",
// texts and fonts in hex; depth 0 a window. A state (the windows shown at
// one moment) ends with a line "end"; the first line of the file is the
// application's font.

// "-" for no text.
inline std::string to_hex(const QString& s) {
    return s.isEmpty() ? "-" : QString::fromLatin1(s.toUtf8().toHex()).toStdString();
}
inline QString from_hex(const std::string& h) {
    return h == "-" ? QString() : QString::fromUtf8(QByteArray::fromHex(QByteArray::fromStdString(h)));
}

// The Qt class a widget is rebuilt as, and whether its children are its own
// (made by the class itself) rather than the screen's.
inline const char* rebuilt_as(const QWidget* w, bool* own_children) {
    *own_children = true;
    if (qobject_cast<const QPushButton*>(w)) return "QPushButton";
    if (qobject_cast<const QCheckBox*>(w)) return "QCheckBox";
    if (qobject_cast<const QRadioButton*>(w)) return "QRadioButton";
    if (qobject_cast<const QLineEdit*>(w)) return "QLineEdit";
    if (qobject_cast<const QComboBox*>(w)) return "QComboBox";
    if (qobject_cast<const QAbstractSpinBox*>(w)) return "QSpinBox";
    if (qobject_cast<const QTableView*>(w)) return "QTableView";
    if (qobject_cast<const QListView*>(w)) return "QListView";
    if (qobject_cast<const QAbstractScrollArea*>(w)) return "QPlainTextEdit";
    if (qobject_cast<const QLabel*>(w)) return "QLabel";
    *own_children = false;
    if (qobject_cast<const QGroupBox*>(w)) return "QGroupBox";
    if (qobject_cast<const QFrame*>(w)) return "QFrame";
    return "QWidget";
}

inline QString text_of(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    if (w->isWindow()) return w->windowTitle();
    return {};
}

inline void describe_widget(std::FILE* out, const QWidget* w, int depth) {
    bool own = false;
    const char* cls = depth == 0 ? "QWidget" : rebuilt_as(w, &own);
    const QRect g = w->geometry();
    std::fprintf(out, "%d %s %d %d %d %d %d %s %s\n", depth, cls, g.x(), g.y(), g.width(), g.height(),
                 depth == 0 ? 1 : int(!w->isHidden()), to_hex(text_of(w)).c_str(), to_hex(w->font().toString()).c_str());
    if (own) return;
    for (const QObject* o : w->children())
        if (auto* c = qobject_cast<const QWidget*>(o); c != nullptr && !c->isWindow()) describe_widget(out, c, depth + 1);
}

// Appends the windows shown now as one state.
inline void describe_shown(const char* path) {
    std::FILE* out = std::fopen(path, "a");
    if (out == nullptr) return;
    if (std::ftell(out) == 0) std::fprintf(out, "%s\n", to_hex(QApplication::font().toString()).c_str());
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) describe_widget(out, w, 0);
    std::fprintf(out, "end\n");
    std::fclose(out);
}

struct LayoutLine {
    int depth = 0;
    std::string cls;
    QRect geometry;
    bool shown = true;
    QString text, font;
};
struct Layouts {
    QString app_font;
    std::vector<std::vector<LayoutLine>> states;
};

inline Layouts read_layouts(const char* path) {
    Layouts out;
    std::FILE* in = path != nullptr ? std::fopen(path, "r") : nullptr;
    if (in == nullptr) return out;
    char buf[8192];
    std::vector<LayoutLine> state;
    bool first = true;
    while (std::fgets(buf, sizeof buf, in) != nullptr) {
        std::string line(buf);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (first) {
            out.app_font = from_hex(line);
            first = false;
            continue;
        }
        if (line == "end") {
            out.states.push_back(std::move(state));
            state.clear();
            continue;
        }
        LayoutLine l;
        char cls[64], text[4096], font[1024];
        int x, y, w, h, shown;
        if (std::sscanf(line.c_str(), "%d %63s %d %d %d %d %d %4095s %1023s", &l.depth, cls, &x, &y, &w, &h, &shown,
                        text, font) != 9)
            continue;
        l.cls = cls;
        l.geometry = QRect(x, y, w, h);
        l.shown = shown != 0;
        l.text = from_hex(text);
        l.font = from_hex(font);
        state.push_back(l);
    }
    std::fclose(in);
    return out;
}

}  // namespace pxbench
