// An up-down control: two arrow buttons, one above the other, that report
// each press of the upper or the lower arrow. It keeps no value of its own:
// the screen decides what a press changes (the quantity boxes step their
// quantity through a library, which keeps it within range). Where the
// screen makes it a tab stop it takes the focus from the keyboard, shows it
// in the button-shadow colour, and Up or Down steps it as a press of that
// arrow does.
#pragma once

#include <functional>

#include <QWidget>

class QToolButton;

namespace px {

class UpDown : public QWidget {
public:
    explicit UpDown(QWidget* parent = nullptr);

    QToolButton* up_button() const { return up_; }
    QToolButton* down_button() const { return down_; }

    // A press of the upper (UpClick) and of the lower arrow (DownClick).
    std::function<void()> on_up_click;
    std::function<void()> on_down_click;

    // Whether Tab stops on it (by default it does not).
    void set_tab_stop(bool on);

    // The run time's size of the control, for the layout that holds it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void lay_out();

    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace px
