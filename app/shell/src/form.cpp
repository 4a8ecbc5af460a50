#include "shell/form.h"

#include <algorithm>
#include <cctype>
#include <map>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "shell/messages.h"
#include "shell/seams.h"
#include "shell/stack.h"

namespace px {

namespace {

std::map<std::string, FormFactory>& factories() {
    static std::map<std::string, FormFactory> f;
    return f;
}

// Loaded forms in load order.
std::vector<Form*>& loaded_list() {
    static std::vector<Form*> forms;
    return forms;
}

QPointer<Form>& active() {
    static QPointer<Form> form;
    return form;
}

Form* form_of(QObject* obj) {
    auto* w = qobject_cast<QWidget*>(obj);
    if (w == nullptr) return nullptr;
    auto* f = dynamic_cast<Form*>(w->window());
    return f != nullptr && f->loaded() ? f : nullptr;
}

// Key preview and button colours for every form.
class FormsKitFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress: return key_press(obj, static_cast<QKeyEvent*>(event));
            case QEvent::FocusIn:
            case QEvent::FocusOut: focus(obj, event->type() == QEvent::FocusIn); return false;
            default: return false;
        }
    }

private:
    static bool key_press(QObject* obj, QKeyEvent* event) {
        Form* form = form_of(obj);
        if (form == nullptr) return false;
        int key = event->key();
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
            int code = kKeyF1 + (key - Qt::Key_F1);
            form->run("Form_KeyDown", [&] { form->on_key_down(code); });
            return true;
        }
        // Other keys once, from the control that has the focus.
        QWidget* first = form->focusWidget() != nullptr ? form->focusWidget() : form;
        if (obj != first) return false;
        int code = 0;
        if (key == Qt::Key_Return || key == Qt::Key_Enter) code = kKeyEnter;
        else if (key >= Qt::Key_Left && key <= Qt::Key_Down) code = 37 + (key - Qt::Key_Left);
        else if (key == Qt::Key_Escape) code = 27;
        else if (key == Qt::Key_Tab) code = 9;
        else if (key == Qt::Key_Backspace) code = 8;
        else if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) code = QChar(key).toUpper().unicode();
        if (code == 0) return false;
        bool consumed = false;
        form->run("Form_KeyDown", [&] { consumed = form->on_key_down(code); });
        return consumed;
    }

    static void focus(QObject* obj, bool got) {
        auto* button = qobject_cast<QPushButton*>(obj);
        Form* form = form_of(obj);
        if (button == nullptr || form == nullptr) return;
        paint_button(button, got);
        form->run(got ? "GotFocus" : "LostFocus", [&] { form->on_button_focus(button, got); });
    }
};

}  // namespace

Form::Form(const char* name) : QWidget(nullptr), name_(name) {
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() {
    auto& forms = loaded_list();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

std::string Form::source_name() const {
    std::string s = "PX" + name_;
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

namespace {

bool any_form_shown() {
    for (Form* f : loaded_list())
        if (f->isVisible()) return true;
    return false;
}

}  // namespace

bool Form::run(const char* procedure, const std::function<void()>& body) {
    // Handlers run inside one another (a modal window's keys inside the
    // handler that opened it); only the outermost one sees the end state.
    static int depth = 0;
    const bool shown_before = depth == 0 && any_form_shown();
    bool ok = false;
    {
        struct Nested {
            Nested() { ++depth; }
            ~Nested() { --depth; }
        } nested;
        try {
            body();
            ok = true;
        } catch (const RuntimeError& e) {
            ReportFailure(*this, procedure, e);
        } catch (const std::exception&) {
            ReportFailure(*this, procedure, RuntimeError(kErrInternal, "ErrProc"));
        }
    }
    // A handler never leaves the clerk without a window, whatever failed.
    if (shown_before && !any_form_shown()) ScrShowLost();
    return ok;
}

QWidget* Form::make_key_bar(std::initializer_list<int> indexes) {
    auto* bar = new QWidget(this);
    bar->setObjectName("fra_PF");
    auto* grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    for (int n = 1; n <= 12; ++n) grid->setColumnStretch(n - 1, 1);
    for (int n : indexes) {
        if (n < 1 || n > 12) continue;
        auto* b = new QPushButton(bar);
        b->setObjectName(QString("cmd_PF_%1").arg(n));
        b->setFocusPolicy(Qt::StrongFocus);
        b->setAutoDefault(true);  // Enter clicks the focused button, as Space does
        // Twelve keys share the screen's width in equal places; each is wide
        // enough for a caption such as "F10:Exec", so that the bar never makes a
        // screen wider than its contents.
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("F10:Exec")) + 16);
        paint_button(b, false);
        connect(b, &QPushButton::clicked, this, [this, n] { run("cmd_PF_Click", [&] { on_pf_click(n); }); });
        grid->addWidget(b, 0, n - 1);
        pf_[n] = b;
    }
    return bar;
}

QLabel* Form::make_message_line() {
    auto* label = new QLabel(this);
    label->setObjectName("lbl_Msg");
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumHeight(label->fontMetrics().height() * 2 + 8);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    lbl_Msg = label;
    return label;
}

void Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    run("Form_QueryUnload", [&] { on_close_request(); });
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modal_loop_ != nullptr) modal_loop_->quit();
}

bool register_form(const std::string& name, FormFactory factory) {
    factories()[name] = std::move(factory);
    return true;
}

bool form_exists(const std::string& name) { return factories().count(name) != 0; }

Form& load_form(const std::string& name) {
    if (Form* f = loaded_form(name)) return *f;
    auto it = factories().find(name);
    if (it == factories().end()) throw RuntimeError(kErrSubscriptOutOfRange, "Forms(" + name + ")");
    Form* f = it->second();
    f->loaded_ = true;
    loaded_list().push_back(f);
    if (!f->run("Form_Load", [&] { f->on_load(); })) f->load_failed_ = true;
    return *f;
}

Form* loaded_form(const std::string& name) {
    for (Form* f : loaded_list())
        if (f->name() == name) return f;
    return nullptr;
}

std::vector<Form*> loaded_forms() { return loaded_list(); }

void unload_form(Form& form) {
    if (!form.loaded_) return;
    if (form.load_failed_) {
        // Its failure has been reported once; what it started is ended quietly.
        try {
            form.on_unload();
        } catch (const std::exception&) {
        }
    } else {
        form.run("Form_Unload", [&] { form.on_unload(); });
    }
    form.loaded_ = false;
    auto& forms = loaded_list();
    forms.erase(std::remove(forms.begin(), forms.end(), &form), forms.end());
    if (active() == &form) active() = nullptr;
    form.hide();
    form.deleteLater();
}

namespace {

// Makes a shown form the active window; its activate handler runs when it
// was not the active one.
void activate(Form& form) {
    form.raise();
    form.activateWindow();
    if (active() == &form) return;
    active() = &form;
    form.run("Form_Activate", [&] { form.on_activate(); });
}

}  // namespace

void show_modeless(Form& form) {
    if (!form.loaded()) return;
    if (form.load_failed()) {
        unload_form(form);
        return;
    }
    form.show();
    activate(form);
}

void show_modal(Form& form) {
    if (!form.loaded()) return;
    if (form.load_failed()) {
        unload_form(form);
        return;
    }
    QPointer<Form> before = active();
    QPointer<Form> self = &form;
    // A pop-up stands over the window it was opened from, else mid-screen.
    if (!form.isVisible()) {
        QRect under;
        if (before && before->isVisible()) under = before->frameGeometry();
        else if (QScreen* screen = QGuiApplication::primaryScreen()) under = screen->availableGeometry();
        if (under.isValid()) form.move(under.center() - QPoint(form.width() / 2, form.height() / 2));
    }
    form.setWindowModality(Qt::ApplicationModal);
    form.show();
    active() = nullptr;
    activate(form);
    if (self && self->loaded() && self->isVisible()) {
        if (seams().modal_shown) {
            QTimer::singleShot(0, self, [self] {
                if (self && self->loaded() && self->isVisible()) seams().modal_shown(*self);
            });
        }
        QEventLoop loop;
        self->modal_loop_ = &loop;
        loop.exec();
        if (self) self->modal_loop_ = nullptr;
    }
    if (self && self->loaded()) self->setWindowModality(Qt::NonModal);
    if (before && before->loaded() && before->isVisible()) {
        active() = nullptr;
        activate(*before);
    } else if (active() == self.data()) {
        active() = nullptr;
    }
}

Form* active_form() { return active(); }

void install_forms_kit() {
    static QPointer<QObject> filter;
    if (filter) return;
    filter = new FormsKitFilter;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

void paint_button(QPushButton* button, bool shadow) {
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, shadow ? QApplication::palette().color(QPalette::Dark)
                                          : QApplication::palette().color(QPalette::Button));
    button->setPalette(pal);
    button->setProperty("px_shadow", shadow);
}

void SetHourglass() {
    if (QApplication::overrideCursor() == nullptr) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void SetDefaultPointer() {
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
}

}  // namespace px
