#include "shell/updown.h"

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
