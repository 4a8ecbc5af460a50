#include "shell/form.h"

#include <algorithm>
#include <cctype>
#include <map>

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/list_lines.h"
#include "shell/messages.h"
#include "shell/seams.h"
#include "shell/vehicle_header.h"
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

}  // namespace

// Key preview, focus handlers and button colours for every form.
class FormsKitFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress: return key_press(obj, static_cast<QKeyEvent*>(event));
            case QEvent::KeyRelease: return key_release(obj, static_cast<QKeyEvent*>(event));
            case QEvent::FocusIn:
            case QEvent::FocusOut: focus(obj, static_cast<QFocusEvent*>(event)); return false;
            case QEvent::MouseButtonDblClick: double_click(obj, static_cast<QMouseEvent*>(event)); return false;
            case QEvent::Hide: dialog_gone(obj, event); return false;
            default: return false;
        }
    }

private:
    // The control each held key's press went to, by the key's place on the
    // keyboard (its release may name another sign when Shift was let go).
    std::map<quint32, QPointer<QObject>> pressed_;

    static quint32 key_place(const QKeyEvent* event) {
        return event->nativeScanCode() != 0 ? event->nativeScanCode() : 0x80000000u | static_cast<quint32>(event->key());
    }

    // The object a key goes to first: the form's focused control, or the form.
    static bool first_receiver(Form* form, QObject* obj) {
        QWidget* first = form->focusWidget() != nullptr ? form->focusWidget() : form;
        return obj == first;
    }

    bool key_press(QObject* obj, QKeyEvent* event) {
        Form* form = form_of(obj);
        if (form == nullptr) return false;
        const int code = key_code(event);
        const int shift = key_shift(event);
        // F1-F12 are the form's wherever they arrive.
        if (code >= kKeyF1 && code <= kKeyF12) {
            pressed_[key_place(event)] = obj;
            form->run("Form_KeyDown", [&] { form->on_key_down(code); });
            return true;
        }
        if (!first_receiver(form, obj)) return false;
        pressed_[key_place(event)] = obj;
        // Tab moves along the tab order before any rule or filter sees it.
        if (code == kKeyTab && (shift & (kCtrlMask | kAltMask)) == 0) {
            form->move_focus(event->key() != Qt::Key_Backtab && (shift & kShiftMask) == 0);
            return true;
        }
        if (code == 0 || is_modifier_key(code)) return false;
        // Shift+Enter on a list line does what a double-click on it does.
        if (code == kKeyEnter && shift == kShiftMask) {
            if (auto* list = qobject_cast<QAbstractItemView*>(obj); list != nullptr && has_line_rule(list)) {
                const QModelIndex current = list->currentIndex();
                if (current.isValid()) emit list->doubleClicked(current);
                return true;
            }
        }
        bool consumed = false;
        QWidget* const focused = form->focusWidget();
        form->run("Form_KeyDown", [&] { consumed = form->on_key_down(code); });
        if (consumed) return true;
        // A key whose rule moved the focus has been handled: the control it
        // was pressed in no longer has the focus and does nothing more with
        // it (a button would move the focus once again).
        if (form->focusWidget() != focused) return true;
        if (const int ascii = key_ascii(event); ascii != 0) {
            form->run("Form_KeyPress", [&] { consumed = form->on_key_press(ascii); });
            if (consumed) return true;
        }
        if (code == kKeyEnter) {
            // A focused button takes Enter as a press, as Space.
            if (auto* button = qobject_cast<QPushButton*>(obj); button != nullptr && !button->autoDefault())
                button->setAutoDefault(true);
        } else if (code == kKeySpace) {
            if (auto* list = qobject_cast<QAbstractItemView*>(obj)) return toggle_current(list, shift);
        }
        return false;
    }

    // Space on a list of several selectable lines: the line with the focus
    // is turned over (Ctrl+Space on an extended list; Space there selects
    // it alone) and the list reports a click, as for a click on the line;
    // no type-ahead search runs for the blank.
    static bool toggle_current(QAbstractItemView* list, int shift) {
        const auto mode = list->selectionMode();
        if (mode != QAbstractItemView::MultiSelection && mode != QAbstractItemView::ExtendedSelection) return false;
        const QModelIndex current = list->currentIndex();
        if (current.isValid() && list->selectionModel() != nullptr) {
            const bool toggle = mode == QAbstractItemView::MultiSelection || (shift & kCtrlMask) != 0;
            list->selectionModel()->select(current, (toggle ? QItemSelectionModel::Toggle
                                                            : QItemSelectionModel::ClearAndSelect) |
                                                        QItemSelectionModel::Rows);
            emit list->clicked(current);
        }
        return true;
    }

    // A double-click on a line of a multi-select list is two presses: the
    // second turns the line back, so that the double-click's own rule finds
    // the selection as it was and leaves it so.
    static void double_click(QObject* obj, QMouseEvent* event) {
        auto* viewport = qobject_cast<QWidget*>(obj);
        auto* list = viewport != nullptr ? qobject_cast<QAbstractItemView*>(viewport->parentWidget()) : nullptr;
        if (list == nullptr || list->viewport() != viewport || form_of(list) == nullptr) return;
        if (list->selectionMode() != QAbstractItemView::MultiSelection || event->button() != Qt::LeftButton ||
            !has_line_rule(list))
            return;
        const QModelIndex at = list->indexAt(event->position().toPoint());
        if (at.isValid() && at == list->currentIndex() && list->selectionModel() != nullptr)
            list->selectionModel()->select(at, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    }

    bool key_release(QObject* obj, QKeyEvent* event) {
        Form* form = form_of(obj);
        if (form == nullptr || !first_receiver(form, obj)) return false;
        const auto it = pressed_.find(key_place(event));
        const bool pressed_here = it != pressed_.end() && it->second == obj;
        if (it != pressed_.end() && !event->isAutoRepeat()) pressed_.erase(it);
        if (is_modifier_key(key_code(event)) || event->key() == Qt::Key_Meta) return true;
        return !pressed_here;
    }

    // A dialog of the platform (a file dialog, a message box, a question a
    // file dialog asks) that goes leaves the keyboard to no window without a
    // window manager: the window under it takes it back, a dialog still up,
    // else the active form, with the focus that form set meanwhile.
    static void dialog_gone(QObject* obj, QEvent* event) {
        auto* dialog = qobject_cast<QDialog*>(obj);
        if (dialog == nullptr || !dialog->isWindow() || dynamic_cast<Form*>(dialog) != nullptr || event->spontaneous())
            return;
        QWidget* under = QApplication::activeModalWidget();
        if (under == dialog || (under != nullptr && !under->isVisible())) under = nullptr;
        if (under == nullptr && active() && active()->loaded() && active()->isVisible()) under = active();
        if (under == nullptr) return;
        under->raise();
        under->activateWindow();
    }

    // Focus handlers follow the control that has the focus on the form; the
    // window's activation coming and going moves none.
    static void focus(QObject* obj, QFocusEvent* event) {
        auto* control = qobject_cast<QWidget*>(obj);
        Form* form = form_of(obj);
        if (control == nullptr || form == nullptr || control == form) return;
        if (event->type() == QEvent::FocusIn) {
            if (form->focus_control_ == control) return;
            QPointer<QWidget> before = form->focus_control_;
            form->focus_control_ = control;
            if (before) focus_moved(*form, before, false);
            if (form->loaded() && form->focus_control_ == control) focus_moved(*form, control, true);
            return;
        }
        const Qt::FocusReason reason = event->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
        if (form->focus_control_ != control) return;
        form->focus_control_ = nullptr;
        focus_moved(*form, control, false);
    }

    static void focus_moved(Form& form, QWidget* control, bool got) {
        auto* button = qobject_cast<QPushButton*>(control);
        if (button != nullptr) paint_button(button, got);
        form.run(got ? "GotFocus" : "LostFocus", [&] {
            form.on_focus(control, got);
            if (button != nullptr) form.on_button_focus(button, got);
        });
    }
};

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

void hand_keyboard_back(Form& gone);

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
    if (modal_loop_ != nullptr) {
        modal_loop_->quit();  // show_modal activates the window it was opened from
        return;
    }
    if (!event->spontaneous() && active() == this) hand_keyboard_back(*this);
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
    if (!f->run("Form_Load", [&] { f->on_load(); })) f->load_failed_ = true;
    f->placed_by_load_ = f->testAttribute(Qt::WA_Moved);
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
    form.hide();
    if (active() == &form) active() = nullptr;
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

// The window system gives the keyboard to no other window when the active
// one goes (without a window manager nothing does): the window it was opened
// from takes it back, or that one's opener, with the focus it set meanwhile.
void hand_keyboard_back(Form& gone) {
    active() = nullptr;
    Form* to = gone.opener_;
    // Openers can stand in a ring: no more steps than forms.
    for (size_t steps = loaded_list().size(); to != nullptr && to != &gone && steps > 0; --steps) {
        if (to->loaded() && to->isVisible()) {
            activate(*to);
            return;
        }
        to = to->opener_;
    }
}

void Form::keys_last() {
    // The last control that takes Tab, not counting the parts of one (a
    // list's viewport): the keys go after it.
    auto takes_tab = [](const QWidget* w) { return (w->focusPolicy() & Qt::TabFocus) != 0; };
    auto part_of_control = [&](const QWidget* w) {
        for (const QWidget* p = w->parentWidget(); p != nullptr && p != this; p = p->parentWidget())
            if (takes_tab(p)) return true;
        return false;
    };
    QWidget* first = nullptr;
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w != this && w != nullptr; w = w->nextInFocusChain()) {
        if (!takes_tab(w) || part_of_control(w) || std::find(pf_.begin(), pf_.end(), w) != pf_.end()) continue;
        if (first == nullptr && w->isEnabled() && w->isVisibleTo(this)) first = w;
        last = w;
    }
    if (last == nullptr) return;
    for (QPushButton* key : pf_) {
        if (key == nullptr) continue;
        setTabOrder(last, key);
        last = key;
    }
    // Where the screen names no control, the window system would start on
    // a key.
    if (focusWidget() == nullptr && first != nullptr) first->setFocus();
}

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
    if (form.load_failed()) {
        unload_form(form);
        return;
    }
    if (!form.placed_ && !form.isVisible()) {
        form.keys_last();
        size_to_layout(form);
        if (form.placement_ == Placement::Centred) CenterForm(form);
        form.placed_ = true;
    }
    if (active() != &form) form.opener_ = active();
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
    // A pop-up stands over the window it was opened from, else mid-screen,
    // and whole on the display; one that placed itself as it loaded stays
    // where it put itself.
    if (!form.isVisible()) {
        if (!form.placed_) form.keys_last();
        size_to_layout(form);
        QRect screen;
        if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
        QRect under = before && before->isVisible() ? before->frameGeometry() : screen;
        if (!form.placed_by_load_ && under.isValid()) {
            QPoint at = under.center() - QPoint(form.width() / 2, form.height() / 2);
            if (screen.isValid()) {
                at.setX(std::max(screen.left(), std::min(at.x(), screen.right() + 1 - form.width())));
                at.setY(std::max(screen.top(), std::min(at.y(), screen.bottom() + 1 - form.height())));
            }
            form.move(at);
        }
        form.placed_ = true;
    }
    if (before != &form) form.opener_ = before;
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

QLabel* message_line_for(QWidget* window) {
    Form* form = window != nullptr ? dynamic_cast<Form*>(window->window()) : nullptr;
    for (size_t steps = loaded_list().size(); form != nullptr && steps > 0; --steps) {
        if (form->loaded() && form->lbl_Msg != nullptr) return form->lbl_Msg;
        form = form->opener_;
    }
    return nullptr;
}

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
