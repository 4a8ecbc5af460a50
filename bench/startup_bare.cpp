// The peer of startup_bench: a bare Qt 6 program that shows windows of the
// same layout as the program's (the same widgets of Qt's own classes, at the
// same places and sizes, with the same captions and fonts, read from the
// description the program wrote, PXBENCH_LAYOUT), and nothing else: no
// library, no file, no catalogue. It starts on the main menu's layout; 'v'
// shows the vehicle screen's in its place, F10 there the search-route
// screen's, each window made when it is first shown, as the program's forms
// are; 'q' ends it.
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "startup_child.h"

namespace {

QWidget* make(const std::string& cls, const QString& text, QWidget* parent) {
    if (cls == "QPushButton") return new QPushButton(text, parent);
    if (cls == "QCheckBox") return new QCheckBox(text, parent);
    if (cls == "QRadioButton") return new QRadioButton(text, parent);
    if (cls == "QLineEdit") return new QLineEdit(text, parent);
    if (cls == "QComboBox") return new QComboBox(parent);
    if (cls == "QSpinBox") return new QSpinBox(parent);
    if (cls == "QTableView") return new QTableView(parent);
    if (cls == "QListView") return new QListView(parent);
    if (cls == "QPlainTextEdit") return new QPlainTextEdit(text, parent);
    if (cls == "QLabel") return new QLabel(text, parent);
    if (cls == "QGroupBox") return new QGroupBox(text, parent);
    if (cls == "QFrame") return new QFrame(parent);
    return new QWidget(parent);
}

// The windows of one state, hidden.
std::vector<QWidget*> build(const std::vector<pxbench::LayoutLine>& state) {
    std::vector<QWidget*> windows, stack;
    for (const pxbench::LayoutLine& l : state) {
        stack.resize(static_cast<size_t>(l.depth));
        QWidget* parent = stack.empty() ? nullptr : stack.back();
        if (l.depth > 0 && parent == nullptr) continue;
        QWidget* w = make(l.cls, l.depth == 0 ? QString() : l.text, parent);
        QFont font;
        if (font.fromString(l.font)) w->setFont(font);
        w->setGeometry(l.geometry);
        if (l.depth == 0) {
            w->setWindowTitle(l.text);
            windows.push_back(w);
        } else if (!l.shown) {
            w->hide();
        }
        stack.push_back(w);
    }
    return windows;
}

class Screens : public QObject {
public:
    explicit Screens(const pxbench::Layouts& layouts) : layouts_(layouts) {}
    // Shows state n in the place of the one shown.
    void show(size_t n) {
        if (n >= layouts_.states.size()) return;
        const std::vector<QWidget*> next = build(layouts_.states[n]);
        for (QWidget* w : next) w->show();
        if (!next.empty()) next.back()->activateWindow();
        for (QWidget* w : shown_) w->hide();
        shown_ = next;
        state_ = n;
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F10 && state_ == 1) {
            show(2);
            return true;
        }
        return false;
    }

private:
    const pxbench::Layouts& layouts_;
    std::vector<QWidget*> shown_;
    size_t state_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const pxbench::Layouts layouts = pxbench::read_layouts(std::getenv("PXBENCH_LAYOUT"));
    if (layouts.states.size() < 3) return 2;
    QFont font;
    if (font.fromString(layouts.app_font)) QApplication::setFont(font);
    Screens screens(layouts);
    app.installEventFilter(&screens);
    pxbench::BenchLink* link = nullptr;
    pxbench::BenchLink bench([&](char c) {
        if (c == 'v') {
            screens.show(1);
            link->reply_later('r');
        }
        if (c == 'q') QApplication::quit();
    });
    link = &bench;
    screens.show(0);
    return QApplication::exec();
}
