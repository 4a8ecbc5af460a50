#include "shell/updown.h"

#include <QApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QToolButton>

namespace px {

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setObjectName("up");
    down_->setObjectName("down");
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    // Held down, an arrow repeats as the run time's up-down does.
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] {
        if (on_up_click) on_up_click();
    });
    connect(down_, &QToolButton::clicked, this, [this] {
        if (on_down_click) on_down_click();
    });
    resize(21, 29);
    lay_out();
}

QSize UpDown::sizeHint() const { return {21, 29}; }

void UpDown::set_tab_stop(bool on) { setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus); }

// Up and Down step as the arrows do (held, they repeat); other keys are not
// the control's.
void UpDown::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (event->key() == Qt::Key_Up && plain) {
        if (on_up_click) on_up_click();
    } else if (event->key() == Qt::Key_Down && plain) {
        if (on_down_click) on_down_click();
    } else {
        QWidget::keyPressEvent(event);
    }
}

// The focus shows as on a button: both arrows in the button-shadow colour.
void UpDown::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    for (QToolButton* b : {up_, down_}) {
        QPalette pal = b->palette();
        pal.setColor(QPalette::Button, QApplication::palette().color(QPalette::Dark));
        b->setPalette(pal);
    }
}

void UpDown::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    for (QToolButton* b : {up_, down_}) b->setPalette(QApplication::palette());
}

void UpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lay_out();
}

// The two arrows share the height, the upper one taking an odd pixel.
void UpDown::lay_out() {
    const int w = width();
    const int top = (height() + 1) / 2;
    up_->setGeometry(0, 0, w, top);
    down_->setGeometry(0, top, w, height() - top);
}

}  // namespace px
