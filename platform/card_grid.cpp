#include "platform/card_grid.h"

#include <algorithm>

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/banded_paint.h"

namespace kvt {
namespace {

const char* const kScrollBarStyle = R"(
QScrollBar { background: rgba(0, 0, 0, 70); border: none; border-radius: 5px; margin: 2px; }
QScrollBar::handle { background: rgba(255, 255, 255, 150); border-radius: 3px; margin: 1px; }
QScrollBar::handle:horizontal { min-width: 18px; }
QScrollBar::handle:vertical { min-height: 18px; }
QScrollBar::handle:hover { background: rgba(255, 255, 255, 200); }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)";

}  // namespace

CardGrid::CardGrid(QWidget* parent)
    : QWidget(parent), col_widths_(1, kDefaultColWidth), row_heights_(1, kDefaultRowHeight) {
    setMouseTracking(true);
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {hbar_, vbar_}) {
        bar->setStyleSheet(kScrollBarStyle);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->hide();
    }
    connect(hbar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != left_col_) SetLeftCol(value);
    });
    connect(vbar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != top_row_) SetTopRow(value);
    });
}

void CardGrid::SetRows(int rows) {
    rows_ = std::max(0, rows);
    row_heights_.resize(static_cast<std::size_t>(rows_), kDefaultRowHeight);
    row_ = std::clamp(row_, 0, std::max(0, rows_ - 1));
    DropPicturesOutside();
    UpdateScrollBars();
    update();
}

void CardGrid::SetCols(int cols) {
    cols_ = std::max(0, cols);
    col_widths_.resize(static_cast<std::size_t>(cols_), kDefaultColWidth);
    col_ = std::clamp(col_, 0, std::max(0, cols_ - 1));
    DropPicturesOutside();
    UpdateScrollBars();
    update();
}

void CardGrid::SetRow(int row) { row_ = std::clamp(row, 0, std::max(0, rows_ - 1)); }
void CardGrid::SetCol(int col) { col_ = std::clamp(col, 0, std::max(0, cols_ - 1)); }

int CardGrid::ColWidth(int col) const {
    return (col >= 0 && col < cols_) ? col_widths_[static_cast<std::size_t>(col)] : 0;
}

void CardGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= cols_) return;
    col_widths_[static_cast<std::size_t>(col)] = std::max(0, width);
    UpdateScrollBars();
    update();
}

int CardGrid::RowHeight(int row) const {
    return (row >= 0 && row < rows_) ? row_heights_[static_cast<std::size_t>(row)] : 0;
}

void CardGrid::SetRowHeight(int row, int height) {
    if (row < 0 || row >= rows_) return;
    row_heights_[static_cast<std::size_t>(row)] = std::max(0, height);
    UpdateScrollBars();
    update();
}

QPixmap CardGrid::Picture(int row, int col) const { return pictures_.value(Key(row, col)); }

void CardGrid::SetPicture(int row, int col, const QPixmap& picture) {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return;
    if (picture.isNull())
        pictures_.remove(Key(row, col));
    else
        pictures_.insert(Key(row, col), picture);
    update();
}

void CardGrid::SetScrollBars(ScrollBarMode mode) {
    scroll_bars_ = mode;
    UpdateScrollBars();
    update();
}

bool CardGrid::ScrollBarShown() const {
    if (scroll_bars_ == kHorizontal) return !hbar_->isHidden();
    if (scroll_bars_ == kVertical) return !vbar_->isHidden();
    return false;
}

void CardGrid::SetLeftCol(int col) {
    left_col_ = std::clamp(col, 0, MaxLeftCol());
    if (hbar_->value() != left_col_) hbar_->setValue(left_col_);
    update();
}

void CardGrid::SetTopRow(int row) {
    top_row_ = std::clamp(row, 0, MaxTopRow());
    if (vbar_->value() != top_row_) vbar_->setValue(top_row_);
    update();
}

void CardGrid::Refresh() { update(); }

void CardGrid::SetOverlapShadow(bool on) {
    overlap_shadow_ = on;
    update();
}

void CardGrid::SetEmptyCellOutline(bool on) {
    empty_outline_ = on;
    update();
}

void CardGrid::SetCardSize(QSize size) {
    if (size == card_size_) return;
    card_size_ = size;
    update();
}

void CardGrid::SetScrollBarExtent(int extent) {
    extent = std::max(1, extent);
    if (extent == bar_extent_) return;
    bar_extent_ = extent;
    UpdateScrollBars();
    update();
}

QRect CardGrid::Viewport() const {
    QRect area = rect();
    if (!hbar_->isHidden()) area.setBottom(area.bottom() - bar_extent_);
    if (!vbar_->isHidden()) area.setRight(area.right() - bar_extent_);
    return area;
}

QRect CardGrid::CellRect(int row, int col) const {
    int x = 0;
    if (col >= left_col_)
        for (int c = left_col_; c < col; ++c) x += ColWidth(c);
    else
        for (int c = col; c < left_col_; ++c) x -= ColWidth(c);
    int y = 0;
    if (row >= top_row_)
        for (int r = top_row_; r < row; ++r) y += RowHeight(r);
    else
        for (int r = row; r < top_row_; ++r) y -= RowHeight(r);
    return QRect(x, y, ColWidth(col), RowHeight(row));
}

int CardGrid::ColumnAt(int x) const {
    if (x < 0) return -1;
    int left = 0;
    for (int c = left_col_; c < cols_; ++c) {
        const int right = left + ColWidth(c);
        if (x < right) return c;
        left = right;
    }
    return -1;
}

int CardGrid::RowAt(int y) const {
    if (y < 0) return -1;
    int top = 0;
    for (int r = top_row_; r < rows_; ++r) {
        const int bottom = top + RowHeight(r);
        if (y < bottom) return r;
        top = bottom;
    }
    return -1;
}

int CardGrid::MaxLeftCol() const {
    const int room = rect().width() - (!vbar_->isHidden() ? bar_extent_ : 0);
    int tail = 0;
    for (int c = cols_ - 1; c >= 0; --c) {
        tail += ColWidth(c);
        if (tail > room) return std::min(c + 1, std::max(0, cols_ - 1));
    }
    return 0;
}

int CardGrid::MaxTopRow() const {
    const int room = rect().height() - (!hbar_->isHidden() ? bar_extent_ : 0);
    int tail = 0;
    for (int r = rows_ - 1; r >= 0; --r) {
        tail += RowHeight(r);
        if (tail > room) return std::min(r + 1, std::max(0, rows_ - 1));
    }
    return 0;
}

void CardGrid::DropPicturesOutside() {
    for (auto it = pictures_.begin(); it != pictures_.end();) {
        const int row = static_cast<int>(it.key() >> 32);
        const int col = static_cast<int>(it.key() & 0xffffffffu);
        if (row >= rows_ || col >= cols_)
            it = pictures_.erase(it);
        else
            ++it;
    }
}

void CardGrid::UpdateScrollBars() {
    // Whether a bar is needed depends on the room the bar itself leaves.
    hbar_->hide();
    vbar_->hide();
    if (scroll_bars_ == kHorizontal) {
        hbar_->setGeometry(0, height() - bar_extent_, width(), bar_extent_);
        hbar_->show();
        if (MaxLeftCol() == 0) hbar_->hide();
        hbar_->setRange(0, MaxLeftCol());
    } else if (scroll_bars_ == kVertical) {
        vbar_->setGeometry(width() - bar_extent_, 0, bar_extent_, height());
        vbar_->show();
        if (MaxTopRow() == 0) vbar_->hide();
        vbar_->setRange(0, MaxTopRow());
    }
    left_col_ = std::clamp(left_col_, 0, MaxLeftCol());
    top_row_ = std::clamp(top_row_, 0, MaxTopRow());
    const QSignalBlocker block_h(hbar_);
    const QSignalBlocker block_v(vbar_);
    hbar_->setValue(left_col_);
    vbar_->setValue(top_row_);
}

void CardGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect view = Viewport();
    painter.setClipRect(view);
    PaintInBands(painter, view, [&] { DrawCards(painter, view); });
}

void CardGrid::DrawCards(QPainter& painter, const QRect& view) {
    int y = 0;
    for (int r = top_row_; r < rows_ && y < view.bottom() + 1; ++r) {
        const int h = RowHeight(r);
        int x = 0;
        for (int c = left_col_; c < cols_ && x < view.right() + 1; ++c) {
            const int w = ColWidth(c);
            const QRect cell(x, y, w, h);
            const QPixmap picture = Picture(r, c);
            if (picture.isNull() && empty_outline_ && w > 0 && h > 0) {
                painter.save();
                painter.setClipRect(cell, Qt::IntersectClip);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(QPen(QColor(255, 255, 255, 80), 1.5, Qt::DashLine));
                painter.setBrush(QColor(0, 0, 0, 30));
                painter.drawRoundedRect(QRectF(x + 1.5, y + 1.5, card_size_.width() - 3, card_size_.height() - 3), 6, 6);
                painter.restore();
            }
            if (!picture.isNull() && w > 0 && h > 0) {
                painter.save();
                painter.setClipRect(cell, Qt::IntersectClip);
                painter.drawPixmap(cell.topLeft(), picture);
                painter.restore();
                // The card under this one shows a little shade at its edge.
                if (overlap_shadow_) {
                    painter.save();
                    const QSizeF size = QSizeF(picture.size()) / picture.devicePixelRatio();
                    if (c > left_col_ && !Picture(r, c - 1).isNull()) {
                        QLinearGradient shade(x - 4, 0, x, 0);
                        shade.setColorAt(0, QColor(0, 0, 0, 0));
                        shade.setColorAt(1, QColor(0, 0, 0, 55));
                        painter.fillRect(QRectF(x - 4, y + 3, 4, size.height() - 6), shade);
                    }
                    if (r > top_row_ && !Picture(r - 1, c).isNull()) {
                        QLinearGradient shade(0, y - 4, 0, y);
                        shade.setColorAt(0, QColor(0, 0, 0, 0));
                        shade.setColorAt(1, QColor(0, 0, 0, 55));
                        painter.fillRect(QRectF(x + 3, y - 4, size.width() - 6, 4), shade);
                    }
                    painter.restore();
                }
            }
            x += w;
        }
        y += h;
    }
}

void CardGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateScrollBars();
}

void CardGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    if (!Viewport().contains(at)) return QWidget::mousePressEvent(event);
    pressed_ = true;
    event->accept();
    const int c = ColumnAt(at.x());
    const int r = RowAt(at.y());
    if (c >= 0 && r >= 0) {
        col_ = c;
        row_ = r;
    }
}

void CardGrid::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton;
    pressed_ = false;
    event->accept();
    if (click) emit Clicked();
}

void CardGrid::mouseMoveEvent(QMouseEvent* event) {
    // The pointer is over this grid, not over the bare table under it.
    const QPoint at = event->position().toPoint();
    emit MouseMoved(at.x(), at.y());
    event->accept();
}

}  // namespace kvt
