// Headings over a list of fixed-pitch lines. A heading stands over the cells
// of its column measured in the list's own face (the code page's fixed-pitch
// face, whose cells a Japanese character takes two of), so the lines stand
// under their headings whichever face the code page picks. Every list with
// headings places them through list_cell_x; ColumnHeads makes framed boxes.
#pragma once

#include <vector>

#include <QWidget>

class QLabel;
class QListWidget;

namespace px {

// The cells of a list line a heading stands over: from `first`, `cells` wide.
struct ColumnSpan {
    int first = 0;
    int cells = 0;
};

// Where cell `cell` of a line of `list` begins, in pixels from the list's
// left edge (frame and the item's text margin included).
int list_cell_x(const QListWidget& list, int cell);

// A row of framed heading boxes, centred texts of `lines` lines, to stand
// right above `list` in the same layout column (so both share their left
// edge). Its height is that of the boxes.
class ColumnHeads : public QWidget {
public:
    ColumnHeads(QListWidget* list, const std::vector<ColumnSpan>& spans, int lines, QWidget* parent);

    QLabel* head(int i) const { return heads_[static_cast<size_t>(i)]; }
    int count() const { return static_cast<int>(heads_.size()); }

private:
    std::vector<QLabel*> heads_;
};

}  // namespace px
