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
#include <QVBoxLayout>

#include "shell/messages.h"
#include "shell/seams.h"
#include "shell/vehicle_header.h"

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

void Form::run(const char* procedure, const std::function<void()>& body) {
    try {
        body();
    } catch (const RuntimeError& e) {
        ReportFailure(*this, procedure, e);
    } catch (const std::exception&) {
        ReportFailure(*this, procedure, RuntimeError(kErrInternal, "ErrProc"));
    }
}

QFont title_font() {
    QFont f("Times New Roman");
    f.setStyleHint(QFont::Serif);
    f.setPointSize(18);
    f.setBold(true);
    return f;
}

QVBoxLayout* Form::make_frame(const FrameSpec& spec) {
    if (spec.size.isValid()) resize(spec.size.boundedTo(QSize(kDesignWidth, kDesignHeight)));
    placement_ = spec.placement;
    auto* outer = new QVBoxLayout(this);
    // A narrow margin: the design display has no room to spare.
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(4);
    using Bars = FrameSpec::Bars;
    if (spec.bars == Bars::KeysOnTop) outer->addWidget(make_key_bar(spec.keys));
    if (spec.vehicle_header) outer->addWidget(make_vehicle_header(*this));
    if (spec.title != nullptr) {
        title_ = new QLabel(this);
        title_->setObjectName(QString::fromLatin1(spec.title));
        title_->setTextFormat(Qt::PlainText);
        title_->setFont(title_font());
        if (spec.title_centred) title_->setAlignment(Qt::AlignCenter);
        outer->addWidget(title_);
    }
    auto* body = new QVBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(body, 1);
    if (spec.bars == Bars::KeysThenMessage) outer->addWidget(make_key_bar(spec.keys));
    if (spec.message) outer->addWidget(make_message_line());
    if (spec.bars == Bars::MessageThenKeys) outer->addWidget(make_key_bar(spec.keys));
    return body;
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

std::vector<std::string> form_names() {
    std::vector<std::string> names;
    for (const auto& [name, factory] : factories()) names.push_back(name);
    return names;
}

Form& load_form(const std::string& name) {
    if (Form* f = loaded_form(name)) return *f;
    auto it = factories().find(name);
    if (it == factories().end()) throw RuntimeError(kErrSubscriptOutOfRange, "Forms(" + name + ")");
    Form* f = it->second();
    f->loaded_ = true;
    f->placed_ = false;
    loaded_list().push_back(f);
    f->run("Form_Load", [&] { f->on_load(); });
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
    form.run("Form_Unload", [&] { form.on_unload(); });
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

void size_to_layout(Form& form) {
    QLayout* layout = form.layout();
    if (layout == nullptr) return;
    layout->activate();
    // The window system tells the frame of a window it has made.
    if (!form.testAttribute(Qt::WA_WState_Created)) form.winId();
    // The window's frame, where the window system has drawn one, is part of
    // what must fit.
    const QSize design = QSize(kDesignWidth, kDesignHeight) - (form.frameGeometry().size() - form.size());
    QSize size = form.size().boundedTo(design).expandedTo(form.minimumSizeHint());
    if (size != form.size()) form.resize(size);
}

void show_modeless(Form& form) {
    if (!form.loaded()) return;
    if (!form.placed_ && !form.isVisible()) {
        size_to_layout(form);
        if (form.placement_ == Placement::Centred) CenterForm(form);
        form.placed_ = true;
    }
    form.show();
    activate(form);
}

void show_modal(Form& form) {
    if (!form.loaded()) return;
    QPointer<Form> before = active();
    QPointer<Form> self = &form;
    // A pop-up stands over the window it was opened from, else mid-screen,
    // and whole on the display.
    if (!form.isVisible()) {
        size_to_layout(form);
        QRect screen;
        if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
        QRect under = before && before->isVisible() ? before->frameGeometry() : screen;
        if (under.isValid()) {
            QPoint at = under.center() - QPoint(form.width() / 2, form.height() / 2);
            if (screen.isValid()) {
                at.setX(std::max(screen.left(), std::min(at.x(), screen.right() + 1 - form.width())));
                at.setY(std::max(screen.top(), std::min(at.y(), screen.bottom() + 1 - form.height())));
            }
            form.move(at);
        }
        form.placed_ = true;
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
