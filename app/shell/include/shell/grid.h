// The grid every list screen shows its records in: fixed header rows and
// columns that stay in place while the rest scrolls, column widths and row
// heights in twips (character units are the screens' business: measure
// "1234567890" with char_width()), column alignment, a current cell with a
// selection that runs from it to a second corner, scrolling by whole rows
// and columns (top_row, left_col) and scroll bars that show only when asked
// for and needed.
//
// The cells live in one vector of texts, row after row, so that a list of
// thousands of rows fills and scrolls at once; painting touches only the
// cells in view. Switch redraw off while a screen fills it.
//
// Events reach the screen through the callbacks: a click (any button) or a
// double click on a cell, a key before the grid handles it (on_key_down; true
// consumes it), a typed character or Enter (on_key_press, with 0 written back
// to swallow it), and every change of the current cell.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>

namespace px {

class Grid : public QAbstractScrollArea {
public:
    enum class Align { Left, Center, Right };
    enum class Selection { Free, ByRow };
    enum ScrollBars { kNone = 0, kHorizontal = 1, kVertical = 2, kBoth = 3 };

    explicit Grid(QWidget* parent = nullptr);

    // --- shape -----------------------------------------------------------
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // Cells that stay keep their texts; new cells are empty.
    void set_rows(int n);
    void set_cols(int n);
    int fixed_rows() const { return fixed_rows_; }
    int fixed_cols() const { return fixed_cols_; }
    void set_fixed_rows(int n);
    void set_fixed_cols(int n);

    // --- contents ----------------------------------------------------------
    // A cell outside the grid reads empty and is not written (set_text
    // returns false), as a subscript error would be caught by the caller.
    QString text(int row, int col) const;
    bool set_text(int row, int col, const QString& text);
    // The texts of one row from column 0 on; the rest of the row is kept.
    void set_row_texts(int row, const std::vector<QString>& texts);
    // Empties every cell, keeping the shape.
    void clear_texts();
    void set_cell_back_color(int row, int col, const QColor& color);
    void set_cell_fore_color(int row, int col, const QColor& color);
    void clear_cell_colors();

    // --- layout (twips) ------------------------------------------------------
    int col_width(int col) const;
    void set_col_width(int col, int twips);
    // Widens each column that is narrower than a text of its fixed rows, so
    // that no heading is cut; wider columns keep their widths.
    void widen_to_headings();
    // The widest a column can be while all columns fit beside the vertical
    // scroll bar (when one is asked for), so that the grid never has to
    // scroll sideways to show a whole row.
    int fill_width(int col) const;
    int row_height(int row) const;
    void set_row_height(int row, int twips);
    // Every row's height, the header rows included.
    void set_row_heights(int twips);
    Align col_alignment(int col) const;
    void set_col_alignment(int col, Align align);
    // Width of the line between cells, in twips.
    int grid_line_width() const;
    // The measured width of "1234567890" in the grid's font, in twips,
    // divided by 10 (remainder dropped), and the height of a line of it.
    int char_width() const;
    int text_height() const;
    // A font of the system's name: "Courier" and "ＭＳ 明朝" in the installed
    // faces that serve them (codepage.h), any other name as it stands.
    void set_font_name(const QString& family, int points);

    // Position and size of the grid in its parent, in twips.
    void set_geometry_twips(int left, int top, int width, int height);
    int left_twips() const;
    int top_twips() const;
    int width_twips() const;
    int height_twips() const;
    // A cell's place in the grid (twips, from the grid's top left), valid
    // while the cell is in view.
    int cell_left(int row, int col) const;
    int cell_top(int row, int col) const;

    // --- current cell and selection ---------------------------------------------
    int row() const { return row_; }
    int col() const { return col_; }
    // Setting the current cell collapses the selection onto it.
    void set_row(int row);
    void set_col(int col);
    int row_sel() const { return row_sel_; }
    int col_sel() const { return col_sel_; }
    void set_row_sel(int row);
    void set_col_sel(int col);
    // The current cell and the selection's other corner at once.
    void select(int row, int col, int row_sel, int col_sel);
    bool is_selected(int row, int col) const;
    void set_selection_mode(Selection mode) { selection_ = mode; }
    // Whether the selection shows while the grid has no focus (it does).
    void set_highlight_always(bool on);

    // --- scrolling -----------------------------------------------------------
    int top_row() const { return top_row_; }
    int left_col() const { return left_col_; }
    // Clamped so that no empty space is scrolled into view.
    void set_top_row(int row);
    void set_left_col(int col);
    // Rows (after the fixed ones) that fit whole from top_row on.
    int visible_rows() const;
    bool row_is_visible(int row) const;
    void set_scroll_bars(int bars);
    int scroll_bars() const { return bars_; }
    // The cell under the mouse at its last move or click.
    int mouse_row() const { return mouse_row_; }
    int mouse_col() const { return mouse_col_; }

    // Painting stops while off; switching it on repaints.
    void set_redraw(bool on);
    bool redraw() const { return redraw_; }

    // A printable picture of the cells in view, for tests and hard copies.
    std::vector<std::vector<QString>> visible_texts() const;

    // --- events ----------------------------------------------------------------
    std::function<void()> on_click;
    std::function<void()> on_dbl_click;
    std::function<void()> on_row_col_change;
    std::function<void()> on_scroll;
    // Key codes as the forms run time gives them (13 Enter, 37-40 arrows, 33
    // and 34 page keys, 36 Home, 35 End); true consumes the key.
    std::function<bool(int key_code, int shift)> on_key_down;
    // A character or Enter (13); write 0 to swallow it.
    std::function<void(int& key_ascii)> on_key_press;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    size_t index(int row, int col) const { return static_cast<size_t>(row) * static_cast<size_t>(cols_) + col; }
    bool inside(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    int col_px(int col) const;
    int row_px(int row) const;
    int line_px() const;
    // Cell under a viewport point: row and column, -1 where none.
    void cell_at(const QPoint& p, int* row, int* col) const;
    int fixed_height_px() const;
    int fixed_width_px() const;
    int last_top_row() const;
    int last_left_col() const;
    int visible_cols() const;
    void move_current(int row, int col, bool extend);
    void ensure_visible(int row, int col);
    void update_bars();
    void changed();

    int rows_ = 2;
    int cols_ = 2;
    int fixed_rows_ = 1;
    int fixed_cols_ = 1;
    std::vector<QString> cells_;
    std::vector<int> col_twips_;
    std::vector<int> row_twips_;
    std::vector<Align> align_;
    std::map<size_t, QColor> back_;
    std::map<size_t, QColor> fore_;
    int row_ = 1;
    int col_ = 1;
    int row_sel_ = 1;
    int col_sel_ = 1;
    int top_row_ = 1;
    int left_col_ = 1;
    int mouse_row_ = -1;
    int mouse_col_ = -1;
    int bars_ = kBoth;
    Selection selection_ = Selection::Free;
    bool redraw_ = true;
    bool highlight_always_ = true;
    bool syncing_bars_ = false;
};

}  // namespace px
