#include "shell/listbox.h"

#include <QListWidget>
#include <QPoint>

#include "shell/codepage.h"

namespace px {

ListBoxControl::ListBoxControl(QListWidget* widget) : widget_(widget), handle_(plat::register_control(this)) {}

ListBoxControl::~ListBoxControl() { plat::unregister_control(handle_); }

int32_t ListBoxControl::lb_reset() {
    widget_->clear();
    return 0;
}

int32_t ListBoxControl::lb_count() const { return widget_->count(); }

int32_t ListBoxControl::lb_add(const std::string& text) {
    widget_->addItem(from_ansi(text));
    give_caret();
    return widget_->count() - 1;
}

int32_t ListBoxControl::lb_insert(int32_t index, const std::string& text) {
    if (index < -1 || index > widget_->count()) return plat::kLbErr;
    if (index == -1) index = widget_->count();
    widget_->insertItem(index, from_ansi(text));
    give_caret();
    return index;
}

// A list of several selectable lines always has a line with the focus (the
// first one once it is filled), so that a key works on it at once; a list of
// one selectable line has none until one is chosen.
void ListBoxControl::give_caret() {
    const auto mode = widget_->selectionMode();
    const bool multi = mode == QAbstractItemView::MultiSelection || mode == QAbstractItemView::ExtendedSelection;
    if (multi && widget_->currentRow() < 0 && widget_->count() > 0)
        widget_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

bool remove_list_line(QListWidget* list, int row) {
    if (row < 0 || row >= list->count()) return false;
    // Without a current line the view has none to choose in its place.
    if (list->selectionMode() == QAbstractItemView::SingleSelection && list->currentRow() == row)
        list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    delete list->takeItem(row);
    return true;
}

int32_t ListBoxControl::lb_delete(int32_t index) {
    if (!remove_list_line(widget_, index)) return plat::kLbErr;
    return widget_->count();
}

int32_t ListBoxControl::lb_text(int32_t index, std::string* text) const {
    if (index < 0 || index >= widget_->count()) return plat::kLbErr;
    *text = to_ansi(widget_->item(index)->text());
    return static_cast<int32_t>(text->size());
}

int32_t ListBoxControl::lb_set_sel(int32_t index, bool on) {
    if (index == -1) {
        for (int i = 0; i < widget_->count(); ++i) widget_->item(i)->setSelected(on);
        return 0;
    }
    if (index < 0 || index >= widget_->count()) return plat::kLbErr;
    widget_->item(index)->setSelected(on);
    return 0;
}

int32_t ListBoxControl::lb_get_sel(int32_t index) const {
    if (index < 0 || index >= widget_->count()) return plat::kLbErr;
    return widget_->item(index)->isSelected() ? 1 : 0;
}

int32_t ListBoxControl::lb_set_cur(int32_t index) {
    if (index < -1 || index >= widget_->count()) return plat::kLbErr;
    widget_->setCurrentRow(index);
    return index;
}

int32_t ListBoxControl::lb_get_cur() const {
    int row = widget_->currentRow();
    return row < 0 ? plat::kLbErr : row;
}

int32_t ListBoxControl::lb_set_top(int32_t index) {
    const int count = widget_->count();
    if (index < 0 || (index >= count && index != 0)) return plat::kLbErr;
    if (count > 0) widget_->scrollToItem(widget_->item(index), QAbstractItemView::PositionAtTop);
    return 0;
}

// The line under the view's top-left corner; an empty list answers 0.
int32_t ListBoxControl::lb_get_top() const {
    const QModelIndex at = widget_->indexAt(QPoint(0, 0));
    return at.isValid() ? at.row() : 0;
}

std::string ListBoxControl::text() const {
    QListWidgetItem* item = widget_->currentItem();
    return item != nullptr ? to_ansi(item->text()) : std::string();
}

void ListBoxControl::set_text(const std::string& text) { widget_->setWindowTitle(from_ansi(text)); }

void ListBoxControl::set_focus() { widget_->setFocus(); }

}  // namespace px
