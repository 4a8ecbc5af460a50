// A list box of a screen that the libraries fill through its handle: the Qt
// list widget registered as a platform control. Lines are ANSI bytes on the
// library's side and Unicode in the widget.
#pragma once

#include <cstdint>
#include <string>

#include "platform/controls.h"

class QListWidget;

namespace px {

// Removes line `row` of a list as a list box of the platform does: the lines
// left keep their selection, and where the removed line was the chosen one
// of a list of one selectable line, no line is chosen afterwards (a view
// would choose a neighbour, which the next Delete would then remove). A row
// outside the list changes nothing; answers whether a line went.
bool remove_list_line(QListWidget* list, int row);

class ListBoxControl : public plat::Control {
public:
    explicit ListBoxControl(QListWidget* widget);
    ~ListBoxControl() override;
    ListBoxControl(const ListBoxControl&) = delete;
    ListBoxControl& operator=(const ListBoxControl&) = delete;

    // The handle the libraries are given (the window handle of the list).
    int32_t hwnd() const { return handle_; }
    QListWidget* widget() const { return widget_; }

    int32_t lb_reset() override;
    int32_t lb_count() const override;
    int32_t lb_add(const std::string& text) override;
    int32_t lb_insert(int32_t index, const std::string& text) override;
    int32_t lb_delete(int32_t index) override;
    int32_t lb_text(int32_t index, std::string* text) const override;
    int32_t lb_set_sel(int32_t index, bool on) override;
    int32_t lb_get_sel(int32_t index) const override;
    int32_t lb_set_cur(int32_t index) override;
    int32_t lb_get_cur() const override;
    int32_t lb_set_top(int32_t index) override;
    int32_t lb_get_top() const override;
    std::string text() const override;
    void set_text(const std::string& text) override;
    void set_focus() override;

private:
    void give_caret();

    QListWidget* widget_;
    int32_t handle_;
};

}  // namespace px
