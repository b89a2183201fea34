#pragma once

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <vector>

class QScrollBar;

namespace kvt {

// A grid of picture cells, the control behind every hand on the table.
// Columns and rows have their own widths and heights; a cell shows its
// picture from its top-left corner, cut off at the cell's edges, so narrow
// columns give the overlapping strips of a fanned hand. Sizes are pixels.
//
// As with the grid controls of old, the current cell (Row, Col) is where
// cell pictures are put and what a click reports: a press on a cell makes
// it current, and Clicked follows when the button is released.
class CardGrid : public QWidget {
    Q_OBJECT

public:
    enum ScrollBarMode { kNoScrollBars = 0, kHorizontal = 1, kVertical = 2 };

    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 16;
    static constexpr int kScrollBarExtent = 13;

    explicit CardGrid(QWidget* parent = nullptr);

    int Rows() const { return rows_; }
    void SetRows(int rows);
    int Cols() const { return cols_; }
    void SetCols(int cols);

    // The current cell.
    int Row() const { return row_; }
    void SetRow(int row);
    int Col() const { return col_; }
    void SetCol(int col);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);

    // The picture of the current cell.
    void SetCellPicture(const QPixmap& picture) { SetPicture(row_, col_, picture); }
    QPixmap Picture(int row, int col) const;
    void SetPicture(int row, int col, const QPixmap& picture);

    // Which scroll bar the grid may show; it appears only while the cells do
    // not fit.
    ScrollBarMode ScrollBars() const { return scroll_bars_; }
    void SetScrollBars(ScrollBarMode mode);
    bool ScrollBarShown() const;

    // First visible column and row.
    int LeftCol() const { return left_col_; }
    void SetLeftCol(int col);
    int TopRow() const { return top_row_; }
    void SetTopRow(int row);

    void Refresh();

    // The area the cells are drawn in: the grid less its scroll bar.
    QRect Viewport() const;
    // A cell's rectangle in grid coordinates, as scrolled now.
    QRect CellRect(int row, int col) const;
    // The column or row at a grid position, or -1 outside the cells.
    int ColumnAt(int x) const;
    int RowAt(int y) const;

    // A faint shadow where a card lies over its neighbour.
    void SetOverlapShadow(bool on);
    // Cells without a picture show the outline of an empty card place.
    void SetEmptyCellOutline(bool on);
    // The size of a card, for the outline of an empty place.
    void SetCardSize(QSize size);
    // The thickness of the scroll bars (kScrollBarExtent until set).
    void SetScrollBarExtent(int extent);

signals:
    void Clicked();
    // The pointer moved over the grid; x and y in pixels from its top-left.
    void MouseMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The cards within `view`, clipped to it by the caller.
    void DrawCards(QPainter& painter, const QRect& view);
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    static quint64 Key(int row, int col) {
        return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(col);
    }
    int MaxLeftCol() const;
    int MaxTopRow() const;
    void DropPicturesOutside();
    void UpdateScrollBars();

    int rows_ = 1;
    int cols_ = 1;
    int row_ = 0;
    int col_ = 0;
    std::vector<int> col_widths_;
    std::vector<int> row_heights_;
    QHash<quint64, QPixmap> pictures_;
    ScrollBarMode scroll_bars_ = kNoScrollBars;
    int left_col_ = 0;
    int top_row_ = 0;
    bool overlap_shadow_ = false;
    bool empty_outline_ = false;
    QSize card_size_{70, 95};
    int bar_extent_ = kScrollBarExtent;
    bool pressed_ = false;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
};

}  // namespace kvt
