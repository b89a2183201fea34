#include "tools/kvx/designer/bitmap_cells_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "core/card.h"

namespace kvt::kvx {

BitmapCellsView::BitmapCellsView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Card bitmap cells"));
}

void BitmapCellsView::SetImage(const QImage& image) {
    image_ = image;
    setFixedSize(sizeHint());
    update();
}

void BitmapCellsView::SetChosenCell(int row, int col) {
    row_ = row;
    col_ = col;
    update();
}

bool BitmapCellsView::CellAt(const QPoint& point, int& row, int& col) {
    if (point.x() < 0 || point.y() < 0) return false;
    row = point.y() / kCellPitchY;
    col = point.x() / kCellPitchX;
    return true;
}

int BitmapCellsView::CellRows() const { return std::max(1, (image_.height() + kCellPitchY - 1) / kCellPitchY); }
int BitmapCellsView::CellCols() const { return std::max(1, (image_.width() + kCellPitchX - 1) / kCellPitchX); }

QSize BitmapCellsView::sizeHint() const {
    // Room for the cells a bitmap of this size holds, and one more of each to point outside it.
    return {(CellCols() + 1) * kCellPitchX, (CellRows() + 1) * kCellPitchY};
}

void BitmapCellsView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Mid));
    p.drawImage(0, 0, image_);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1, Qt::DashLine));
    for (int r = 0; r < height() / kCellPitchY + 1; ++r)
        for (int c = 0; c < width() / kCellPitchX + 1; ++c)
            p.drawRect(c * kCellPitchX + kCellOffset, r * kCellPitchY + kCellOffset, kFaceWidth - 1, kFaceHeight - 1);
    if (row_ >= 0 && col_ >= 0) {
        p.setPen(QPen(hasFocus() ? palette().color(QPalette::Highlight) : QColor(255, 200, 0), 3));
        p.drawRect(col_ * kCellPitchX + kCellOffset - 1, row_ * kCellPitchY + kCellOffset - 1, kFaceWidth + 1,
                   kFaceHeight + 1);
    }
}

void BitmapCellsView::mousePressEvent(QMouseEvent* event) {
    int row = 0;
    int col = 0;
    if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), row, col)) return;
    SetChosenCell(row, col);
    emit CellChosen(row, col);
}

void BitmapCellsView::keyPressEvent(QKeyEvent* event) {
    const int row = std::max(row_, 0);
    const int col = std::max(col_, 0);
    switch (event->key()) {
        case Qt::Key_Left: SetChosenCell(row, std::max(col - 1, 0)); break;
        case Qt::Key_Right: SetChosenCell(row, std::min(col + 1, CellCols())); break;
        case Qt::Key_Up: SetChosenCell(std::max(row - 1, 0), col); break;
        case Qt::Key_Down: SetChosenCell(std::min(row + 1, CellRows()), col); break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: emit CellChosen(row, col); break;
        default: QWidget::keyPressEvent(event); return;
    }
}

}  // namespace kvt::kvx
