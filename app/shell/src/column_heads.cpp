#include "shell/column_heads.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QStyle>

namespace px {

int list_cell_x(const QListWidget& list, int cell) {
    // An item's text begins after the style's focus-frame margin and one pixel.
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    return list.frameWidth() + margin + QFontMetrics(list.font()).horizontalAdvance(QString(cell, QLatin1Char(' ')));
}

ColumnHeads::ColumnHeads(QListWidget* list, const std::vector<ColumnSpan>& spans, int lines, QWidget* parent)
    : QWidget(parent) {
    const int height = lines * QFontMetrics(font()).height() + 6;
    int right = 0;
    for (const ColumnSpan& s : spans) {
        auto* l = new QLabel(this);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Box);
        const int x = list_cell_x(*list, s.first);
        const int w = list_cell_x(*list, s.first + s.cells) - x;
        l->setGeometry(x, 0, w, height);
        right = std::max(right, x + w);
        heads_.push_back(l);
    }
    setFixedHeight(height);
    setMinimumWidth(right);
}

}  // namespace px
