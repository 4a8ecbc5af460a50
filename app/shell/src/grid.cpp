#include "shell/grid.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "shell/codepage.h"
#include "shell/keys.h"
#include "shell/messages.h"

namespace px {

namespace {

constexpr int kDefaultColTwips = 960;
constexpr int kCellMarginPx = 2;

int tw_x() { return std::max(1, display_twips().x); }
int tw_y() { return std::max(1, display_twips().y); }
int px_of_x(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / tw_x())); }
int px_of_y(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / tw_y())); }

}  // namespace

Grid::Grid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::Box);
    cells_.resize(static_cast<size_t>(rows_ * cols_));
    col_twips_.assign(static_cast<size_t>(cols_), kDefaultColTwips);
    row_twips_.assign(static_cast<size_t>(rows_), -1);
    align_.assign(static_cast<size_t>(cols_), Align::Left);
    update_bars();
}

// --- shape --------------------------------------------------------------------

void Grid::set_rows(int n) {
    n = std::max(n, fixed_rows_);
    if (n == rows_) return;
    cells_.resize(static_cast<size_t>(n) * static_cast<size_t>(cols_));
    if (n < rows_) {
        size_t end = cells_.size();
        for (auto it = back_.lower_bound(end); it != back_.end();) it = back_.erase(it);
        for (auto it = fore_.lower_bound(end); it != fore_.end();) it = fore_.erase(it);
    }
    row_twips_.resize(static_cast<size_t>(n), row_twips_.empty() ? -1 : row_twips_.back());
    rows_ = n;
    int last = std::max(rows_ - 1, 0);
    row_ = std::min(row_, last);
    row_sel_ = std::min(row_sel_, last);
    top_row_ = std::clamp(top_row_, std::min(fixed_rows_, last), std::max(last_top_row(), fixed_rows_));
    changed();
}

void Grid::set_cols(int n) {
    n = std::max(n, fixed_cols_);
    if (n == cols_) return;
    std::vector<QString> cells(static_cast<size_t>(rows_) * static_cast<size_t>(n));
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < std::min(n, cols_); ++c)
            cells[static_cast<size_t>(r) * n + c] = std::move(cells_[index(r, c)]);
    cells_ = std::move(cells);
    back_.clear();
    fore_.clear();
    col_twips_.resize(static_cast<size_t>(n), kDefaultColTwips);
    align_.resize(static_cast<size_t>(n), Align::Left);
    cols_ = n;
    int last = std::max(cols_ - 1, 0);
    col_ = std::min(col_, last);
    col_sel_ = std::min(col_sel_, last);
    left_col_ = std::clamp(left_col_, std::min(fixed_cols_, last), std::max(last_left_col(), fixed_cols_));
    changed();
}

// A grid not scrolled stays so: its first scrolling row or column follows
// the fixed ones, fewer as well as more.
void Grid::set_fixed_rows(int n) {
    const bool at_start = top_row_ <= fixed_rows_;
    fixed_rows_ = std::clamp(n, 0, std::max(rows_ - 1, 0));
    top_row_ = at_start ? fixed_rows_ : std::max(top_row_, fixed_rows_);
    changed();
}

void Grid::set_fixed_cols(int n) {
    const bool at_start = left_col_ <= fixed_cols_;
    fixed_cols_ = std::clamp(n, 0, std::max(cols_ - 1, 0));
    left_col_ = at_start ? fixed_cols_ : std::max(left_col_, fixed_cols_);
    changed();
}

// --- contents -----------------------------------------------------------------

QString Grid::text(int row, int col) const { return inside(row, col) ? cells_[index(row, col)] : QString(); }

bool Grid::set_text(int row, int col, const QString& text) {
    if (!inside(row, col)) return false;
    cells_[index(row, col)] = text;
    if (redraw_) viewport()->update();
    return true;
}

void Grid::set_row_texts(int row, const std::vector<QString>& texts) {
    if (row < 0 || row >= rows_) return;
    for (int c = 0; c < cols_ && c < static_cast<int>(texts.size()); ++c) cells_[index(row, c)] = texts[c];
    if (redraw_) viewport()->update();
}

void Grid::clear_texts() {
    for (QString& s : cells_) s.clear();
    changed();
}

void Grid::set_cell_back_color(int row, int col, const QColor& color) {
    if (inside(row, col)) back_[index(row, col)] = color;
    if (redraw_) viewport()->update();
}

void Grid::set_cell_fore_color(int row, int col, const QColor& color) {
    if (inside(row, col)) fore_[index(row, col)] = color;
    if (redraw_) viewport()->update();
}

void Grid::clear_cell_colors() {
    back_.clear();
    fore_.clear();
    changed();
}

// --- layout -------------------------------------------------------------------

int Grid::col_width(int col) const { return col >= 0 && col < cols_ ? col_twips_[col] : 0; }

void Grid::set_col_width(int col, int twips) {
    if (col < 0 || col >= cols_) return;
    col_twips_[col] = twips < 0 ? kDefaultColTwips : twips;
    changed();
}

void Grid::widen_to_headings() {
    const QFontMetrics fm(font());
    for (int c = 0; c < cols_; ++c) {
        int need = 0;
        for (int r = 0; r < fixed_rows_ && r < rows_; ++r) {
            QString t = cells_[index(r, c)];
            t.replace(QChar('\r'), QChar('\n'));
            for (const QString& line : t.split(QChar('\n'))) need = std::max(need, fm.horizontalAdvance(line.trimmed()));
        }
        if (need == 0) continue;
        need += 2 * kCellMarginPx;
        if (col_px(c) < need) col_twips_[c] = need * tw_x();
    }
    changed();
}

int Grid::fill_width(int col) const {
    int room = width() - 2 * frameWidth();
    if (bars_ & kVertical) room -= verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < cols_; ++c) room -= (c == col ? 0 : col_px(c)) + line_px();
    return std::max(room, 0) * tw_x();
}

int Grid::row_height(int row) const {
    if (row < 0 || row >= rows_) return 0;
    return row_twips_[row] >= 0 ? row_twips_[row] : text_height() + 4 * tw_y();
}

void Grid::set_row_height(int row, int twips) {
    if (row < 0 || row >= rows_) return;
    row_twips_[row] = std::max(twips, 0);
    changed();
}

void Grid::set_row_heights(int twips) {
    std::fill(row_twips_.begin(), row_twips_.end(), std::max(twips, 0));
    changed();
}

Grid::Align Grid::col_alignment(int col) const { return col >= 0 && col < cols_ ? align_[col] : Align::Left; }

void Grid::set_col_alignment(int col, Align align) {
    if (col < 0 || col >= cols_) return;
    align_[col] = align;
    if (redraw_) viewport()->update();
}

int Grid::grid_line_width() const { return tw_x(); }

int Grid::char_width() const {
    int w = QFontMetrics(font()).horizontalAdvance(QStringLiteral("1234567890")) * tw_x();
    return w / 10;
}

int Grid::text_height() const { return QFontMetrics(font()).height() * tw_y(); }

void Grid::set_font_name(const QString& family, int points) {
    // The system's names ("Courier", "ＭＳ 明朝") are served by installed faces.
    setFont(screen_font(family, points));
    changed();
}

void Grid::set_geometry_twips(int left, int top, int width, int height) {
    setGeometry(px_of_x(left), px_of_y(top), px_of_x(width), px_of_y(height));
}

int Grid::left_twips() const { return x() * tw_x(); }
int Grid::top_twips() const { return y() * tw_y(); }
int Grid::width_twips() const { return width() * tw_x(); }
int Grid::height_twips() const { return height() * tw_y(); }

int Grid::col_px(int col) const { return std::max(px_of_x(col_width(col)), 0); }
int Grid::row_px(int row) const { return std::max(px_of_y(row_height(row)), 0); }
int Grid::line_px() const { return 1; }

int Grid::fixed_height_px() const {
    int h = 0;
    for (int r = 0; r < fixed_rows_ && r < rows_; ++r) h += row_px(r) + line_px();
    return h;
}

int Grid::fixed_width_px() const {
    int w = 0;
    for (int c = 0; c < fixed_cols_ && c < cols_; ++c) w += col_px(c) + line_px();
    return w;
}

int Grid::cell_left(int row, int col) const {
    int x = frameWidth();
    if (col < fixed_cols_) {
        for (int c = 0; c < col; ++c) x += col_px(c) + line_px();
    } else {
        x += fixed_width_px();
        for (int c = left_col_; c < col; ++c) x += col_px(c) + line_px();
    }
    return x * tw_x();
}

int Grid::cell_top(int row, int col) const {
    int y = frameWidth();
    if (row < fixed_rows_) {
        for (int r = 0; r < row; ++r) y += row_px(r) + line_px();
    } else {
        y += fixed_height_px();
        for (int r = top_row_; r < row; ++r) y += row_px(r) + line_px();
    }
    return y * tw_y();
}

// --- current cell and selection -------------------------------------------------

void Grid::set_row(int row) {
    if (row < 0 || row >= rows_) return;
    bool moved = row != row_;
    row_ = row_sel_ = row;
    col_sel_ = col_;
    if (redraw_) viewport()->update();
    if (moved && on_row_col_change) on_row_col_change();
}

void Grid::set_col(int col) {
    if (col < 0 || col >= cols_) return;
    bool moved = col != col_;
    col_ = col_sel_ = col;
    row_sel_ = row_;
    if (redraw_) viewport()->update();
    if (moved && on_row_col_change) on_row_col_change();
}

void Grid::set_row_sel(int row) {
    if (row < 0 || row >= rows_) return;
    row_sel_ = row;
    if (redraw_) viewport()->update();
}

void Grid::set_col_sel(int col) {
    if (col < 0 || col >= cols_) return;
    col_sel_ = col;
    if (redraw_) viewport()->update();
}

void Grid::select(int row, int col, int row_sel, int col_sel) {
    set_row(row);
    set_col(col);
    set_row_sel(row_sel);
    set_col_sel(col_sel);
}

bool Grid::is_selected(int row, int col) const {
    if (row < fixed_rows_ || col < fixed_cols_) return false;
    return row >= std::min(row_, row_sel_) && row <= std::max(row_, row_sel_) && col >= std::min(col_, col_sel_) &&
           col <= std::max(col_, col_sel_);
}

void Grid::set_highlight_always(bool on) {
    highlight_always_ = on;
    viewport()->update();
}

// --- scrolling ------------------------------------------------------------------

int Grid::visible_rows() const {
    int avail = viewport()->height() - fixed_height_px();
    int n = 0;
    for (int r = top_row_; r < rows_; ++r) {
        avail -= row_px(r) + line_px();
        if (avail < 0) break;
        ++n;
    }
    return n;
}

int Grid::visible_cols() const {
    int avail = viewport()->width() - fixed_width_px();
    int n = 0;
    for (int c = left_col_; c < cols_; ++c) {
        avail -= col_px(c) + line_px();
        if (avail < 0) break;
        ++n;
    }
    return n;
}

bool Grid::row_is_visible(int row) const {
    if (row < fixed_rows_) return row >= 0 && row < rows_;
    return row >= top_row_ && row < top_row_ + visible_rows();
}

// The last top row that still fills the view.
int Grid::last_top_row() const {
    int avail = viewport()->height() - fixed_height_px();
    int r = rows_ - 1;
    while (r >= fixed_rows_) {
        avail -= row_px(r) + line_px();
        if (avail < 0) break;
        --r;
    }
    return std::clamp(r + 1, fixed_rows_, std::max(rows_ - 1, fixed_rows_));
}

int Grid::last_left_col() const {
    int avail = viewport()->width() - fixed_width_px();
    int c = cols_ - 1;
    while (c >= fixed_cols_) {
        avail -= col_px(c) + line_px();
        if (avail < 0) break;
        --c;
    }
    return std::max(std::min(c + 1, cols_ - 1), fixed_cols_);
}

void Grid::set_top_row(int row) {
    int top = std::clamp(row, fixed_rows_, std::max(last_top_row(), fixed_rows_));
    if (top == top_row_) return;
    top_row_ = top;
    update_bars();
    if (redraw_) viewport()->update();
    if (on_scroll) on_scroll();
}

void Grid::set_left_col(int col) {
    int left = std::clamp(col, fixed_cols_, std::max(last_left_col(), fixed_cols_));
    if (left == left_col_) return;
    left_col_ = left;
    update_bars();
    if (redraw_) viewport()->update();
    if (on_scroll) on_scroll();
}

void Grid::set_scroll_bars(int bars) {
    bars_ = bars & kBoth;
    update_bars();
}

void Grid::update_bars() {
    syncing_bars_ = true;
    setHorizontalScrollBarPolicy((bars_ & kHorizontal) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy((bars_ & kVertical) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    int vmax = std::max(last_top_row() - fixed_rows_, 0);
    verticalScrollBar()->setRange(0, vmax);
    verticalScrollBar()->setPageStep(std::max(visible_rows(), 1));
    verticalScrollBar()->setValue(top_row_ - fixed_rows_);
    int hmax = std::max(last_left_col() - fixed_cols_, 0);
    horizontalScrollBar()->setRange(0, hmax);
    horizontalScrollBar()->setPageStep(std::max(visible_cols(), 1));
    horizontalScrollBar()->setValue(left_col_ - fixed_cols_);
    syncing_bars_ = false;
}

void Grid::scrollContentsBy(int, int) {
    if (syncing_bars_) return;
    int top = verticalScrollBar()->value() + fixed_rows_;
    int left = horizontalScrollBar()->value() + fixed_cols_;
    bool moved = top != top_row_ || left != left_col_;
    top_row_ = top;
    left_col_ = left;
    viewport()->update();
    if (moved && on_scroll) on_scroll();
}

void Grid::set_redraw(bool on) {
    redraw_ = on;
    if (on) {
        update_bars();
        viewport()->update();
    }
}

void Grid::changed() {
    if (!redraw_) return;
    update_bars();
    viewport()->update();
}

void Grid::ensure_visible(int row, int col) {
    if (row >= fixed_rows_) {
        if (row < top_row_) {
            set_top_row(row);
        } else {
            int shown = std::max(visible_rows(), 1);
            if (row >= top_row_ + shown) set_top_row(row - shown + 1);
        }
    }
    if (col >= fixed_cols_) {
        if (col < left_col_) {
            set_left_col(col);
        } else {
            int shown = std::max(visible_cols(), 1);
            if (col >= left_col_ + shown) set_left_col(col - shown + 1);
        }
    }
}

std::vector<std::vector<QString>> Grid::visible_texts() const {
    std::vector<int> rows, cols;
    for (int r = 0; r < fixed_rows_ && r < rows_; ++r) rows.push_back(r);
    for (int r = top_row_, n = visible_rows(); r < rows_ && n > 0; ++r, --n) rows.push_back(r);
    for (int c = 0; c < fixed_cols_ && c < cols_; ++c) cols.push_back(c);
    for (int c = left_col_, n = visible_cols(); c < cols_ && n > 0; ++c, --n) cols.push_back(c);
    std::vector<std::vector<QString>> out;
    for (int r : rows) {
        std::vector<QString> line;
        for (int c : cols) line.push_back(cells_[index(r, c)]);
        out.push_back(std::move(line));
    }
    return out;
}

// --- painting -------------------------------------------------------------------

void Grid::paintEvent(QPaintEvent*) {
    if (!redraw_) return;
    QPainter p(viewport());
    const QPalette& pal = palette();
    p.fillRect(viewport()->rect(), pal.color(QPalette::Window).darker(105));
    const int vw = viewport()->width(), vh = viewport()->height();
    const bool show_selection = highlight_always_ || hasFocus();

    // Rows in painting order: fixed rows, then from the top row on.
    auto paint_rows = [&](int col_from, int col_to, int x0, bool fixed_cols) {
        int y = 0;
        auto paint_row = [&](int r) {
            int h = row_px(r);
            int x = x0;
            for (int c = col_from; c < col_to && x < vw; ++c) {
                int w = col_px(c);
                QRect cell(x, y, w, h);
                bool fixed = r < fixed_rows_ || fixed_cols;
                size_t i = index(r, c);
                QColor back = fixed ? pal.color(QPalette::Button) : pal.color(QPalette::Base);
                QColor fore = pal.color(fixed ? QPalette::ButtonText : QPalette::Text);
                if (auto it = back_.find(i); it != back_.end()) back = it->second;
                if (auto it = fore_.find(i); it != fore_.end()) fore = it->second;
                if (show_selection && is_selected(r, c) && !(r == row_ && c == col_ && selection_ == Selection::Free &&
                                                           row_ == row_sel_ && col_ == col_sel_)) {
                    back = pal.color(QPalette::Highlight);
                    fore = pal.color(QPalette::HighlightedText);
                }
                p.fillRect(cell, back);
                p.setPen(fixed ? pal.color(QPalette::Dark) : pal.color(QPalette::Midlight).darker(115));
                p.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
                p.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
                const QString& t = cells_[i];
                if (!t.isEmpty()) {
                    int flags = Qt::AlignVCenter | Qt::TextDontClip;
                    Align a = align_[c];
                    flags |= a == Align::Center ? Qt::AlignHCenter : a == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
                    p.setPen(fore);
                    p.setClipRect(cell);
                    QString shown = t;
                    shown.replace(QChar('\r'), QChar('\n'));
                    shown.replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
                    p.drawText(cell.adjusted(kCellMarginPx, 0, -kCellMarginPx, 0), flags, shown);
                    p.setClipping(false);
                }
                if (r == row_ && c == col_ && hasFocus() && !fixed) {
                    p.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
                    p.drawRect(cell.adjusted(0, 0, -1, -1));
                }
                x += w + line_px();
            }
            y += h + line_px();
        };
        for (int r = 0; r < fixed_rows_ && r < rows_; ++r) paint_row(r);
        for (int r = top_row_; r < rows_ && y < vh; ++r) paint_row(r);
    };
    int fw = fixed_width_px();
    paint_rows(left_col_, cols_, fw, false);
    if (fixed_cols_ > 0) paint_rows(0, std::min(fixed_cols_, cols_), 0, true);
}

void Grid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    top_row_ = std::clamp(top_row_, fixed_rows_, std::max(last_top_row(), fixed_rows_));
    left_col_ = std::clamp(left_col_, fixed_cols_, std::max(last_left_col(), fixed_cols_));
    update_bars();
}

// --- input ------------------------------------------------------------------------

void Grid::cell_at(const QPoint& pt, int* row, int* col) const {
    *row = *col = -1;
    int y = 0;
    for (int r = 0; r < fixed_rows_ && r < rows_; ++r) {
        int h = row_px(r) + line_px();
        if (pt.y() >= y && pt.y() < y + h) *row = r;
        y += h;
    }
    for (int r = top_row_; *row < 0 && r < rows_ && y <= pt.y(); ++r) {
        int h = row_px(r) + line_px();
        if (pt.y() >= y && pt.y() < y + h) *row = r;
        y += h;
    }
    int x = 0;
    for (int c = 0; c < fixed_cols_ && c < cols_; ++c) {
        int w = col_px(c) + line_px();
        if (pt.x() >= x && pt.x() < x + w) *col = c;
        x += w;
    }
    for (int c = left_col_; *col < 0 && c < cols_ && x <= pt.x(); ++c) {
        int w = col_px(c) + line_px();
        if (pt.x() >= x && pt.x() < x + w) *col = c;
        x += w;
    }
}

void Grid::move_current(int row, int col, bool extend) {
    row = std::clamp(row, fixed_rows_, std::max(rows_ - 1, fixed_rows_));
    col = std::clamp(col, fixed_cols_, std::max(cols_ - 1, fixed_cols_));
    if (row >= rows_ || col >= cols_) return;
    bool moved = row != row_ || col != col_;
    if (extend) {
        row_sel_ = row;
        col_sel_ = col;
    } else {
        row_ = row_sel_ = row;
        col_ = col_sel_ = col;
        if (selection_ == Selection::ByRow) {
            col_ = fixed_cols_;
            col_sel_ = cols_ - 1;
        }
    }
    ensure_visible(extend ? row_sel_ : row_, extend ? col_sel_ : col);
    viewport()->update();
    if (moved && on_row_col_change) on_row_col_change();
}

void Grid::keyPressEvent(QKeyEvent* event) {
    int code = key_code(event);
    int shift = key_shift(event) & (kShiftMask | kCtrlMask);
    if (code != 0 && !is_modifier_key(code) && on_key_down && on_key_down(code, shift)) return;
    int page = std::max(visible_rows(), 1);
    int r = row_, c = selection_ == Selection::ByRow ? col_ : col_;
    bool ctrl = (shift & 2) != 0;
    switch (event->key()) {
        case Qt::Key_Up: move_current(r - 1, c, false); return;
        case Qt::Key_Down: move_current(r + 1, c, false); return;
        case Qt::Key_Left:
            if (selection_ != Selection::ByRow) move_current(r, c - 1, false);
            else set_left_col(left_col_ - 1);
            return;
        case Qt::Key_Right:
            if (selection_ != Selection::ByRow) move_current(r, c + 1, false);
            else set_left_col(left_col_ + 1);
            return;
        case Qt::Key_PageUp:
            set_top_row(top_row_ - page);
            move_current(r - page, c, false);
            return;
        case Qt::Key_PageDown:
            set_top_row(top_row_ + page);
            move_current(r + page, c, false);
            return;
        case Qt::Key_Home: move_current(ctrl ? fixed_rows_ : r, fixed_cols_, false); return;
        case Qt::Key_End: move_current(ctrl ? rows_ - 1 : r, cols_ - 1, false); return;
        default: break;
    }
    int ascii = key_ascii(event);
    if (ascii != 0 && on_key_press) on_key_press(ascii);
}

void Grid::mousePressEvent(QMouseEvent* event) {
    int r, c;
    cell_at(event->position().toPoint(), &r, &c);
    mouse_row_ = r;
    mouse_col_ = c;
    setFocus(Qt::MouseFocusReason);
    if (r >= fixed_rows_ && c >= 0) {
        if (c < fixed_cols_) c = fixed_cols_;
        move_current(r, c, (event->modifiers() & Qt::ShiftModifier) && selection_ == Selection::Free);
    }
    if (on_click) on_click();
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event) {
    int r, c;
    cell_at(event->position().toPoint(), &r, &c);
    mouse_row_ = r;
    mouse_col_ = c;
    if (on_dbl_click) on_dbl_click();
}

void Grid::mouseMoveEvent(QMouseEvent* event) {
    cell_at(event->position().toPoint(), &mouse_row_, &mouse_col_);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void Grid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void Grid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace px
