#pragma once

#include <QImage>
#include <QWidget>

namespace kvt::kvx {

// The card bitmap at its real size with its grid of picture cells drawn over
// it. Clicking a cell (or moving with the arrow keys and pressing Space)
// chooses it; the chosen cell is outlined.
class BitmapCellsView : public QWidget {
    Q_OBJECT

public:
    explicit BitmapCellsView(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    // The outlined cell; -1, -1 for none.
    void SetChosenCell(int row, int col);

    // The cell whose pitch holds a point of the widget; false left of or above the bitmap.
    static bool CellAt(const QPoint& point, int& row, int& col);

    QSize sizeHint() const override;

signals:
    void CellChosen(int row, int col);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int CellRows() const;
    int CellCols() const;

    QImage image_;
    int row_ = -1;
    int col_ = -1;
};

}  // namespace kvt::kvx
