#include "platform/picture_clip.h"

#include <algorithm>

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "platform/banded_paint.h"
#include "platform/files.h"
#include "platform/picture_decode.h"

namespace kvt {

QImage ReadPicture(const QString& path) {
    // Read through our own opener, which refuses FIFOs and devices at once.
    ReadableFile file;
    if (!file.Open(QFile::encodeName(path).toStdString()) || file.Size() > kMaxPictureFileBytes) return {};
    return DecodePicture(file.Size(), [&file](std::uint64_t offset, std::size_t n, char* out) {
        return file.ReadAt(offset, n, out);
    });
}

bool PictureClip::Load(const QString& path) { return SetBitmap(ReadPicture(path)); }

bool PictureClip::SetBitmap(QImage image) {
    Clear();
    if (image.isNull()) return false;
    // Kept in the decoded format: converting a large bitmap costs more than
    // converting the few faces cut from it when they are drawn.
    bitmap_ = QPixmap::fromImage(std::move(image), Qt::NoFormatConversion);
    return true;
}

void PictureClip::Clear() {
    bitmap_ = QPixmap();
    faces_.clear();
}

QPixmap PictureClip::Clip(const QRect& rect) const {
    if (rect.width() <= 0 || rect.height() <= 0) return QPixmap();
    if (!bitmap_.isNull() && bitmap_.rect().contains(rect)) return bitmap_.copy(rect);
    QPixmap out(rect.size());
    out.fill(Qt::transparent);
    if (bitmap_.isNull()) return out;
    const QRect inside = rect & bitmap_.rect();
    if (inside.isEmpty()) return out;
    QPainter painter(&out);
    painter.drawPixmap(inside.topLeft() - rect.topLeft(), bitmap_, inside);
    return out;
}

QPixmap PictureClip::CardFace(const Card& card) const {
    const quint32 key = (static_cast<quint32>(static_cast<quint16>(card.PicRow)) << 16) |
                        static_cast<quint16>(card.PicCol);
    if (auto found = faces_.constFind(key); found != faces_.constEnd()) return *found;
    const FaceRect face = FaceRectOf(card);
    QPixmap picture = Clip(QRect(face.x, face.y, face.width, face.height));
    faces_.insert(key, picture);
    return picture;
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::SetEmptyOutline(bool on) {
    empty_outline_ = on;
    update();
}

void PictureBox::SetCardSize(QSize size) {
    card_size_ = size;
    update();
}

void PictureBox::SetPileDepth(int cards) {
    pile_depth_ = std::max(0, cards);
    update();
}

void PictureBox::SetOpacity(double opacity) {
    opacity_ = std::clamp(opacity, 0.0, 1.0);
    update();
}

void PictureBox::SetShadow(bool on) {
    shadow_ = on;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintInBands(painter, rect(), [&] { Draw(painter); });
}

void PictureBox::Draw(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    if (picture_.isNull()) {
        if (!empty_outline_) return;
        const QSizeF card(card_size_);
        const QRectF place(QPointF(1.5, 1.5), card - QSizeF(3, 3));
        painter.setPen(QPen(QColor(255, 255, 255, 70), 1.5, Qt::DashLine));
        painter.setBrush(QColor(0, 0, 0, 28));
        painter.drawRoundedRect(place, 6, 6);
        return;
    }
    painter.setOpacity(opacity_);
    const QRectF card(QPointF(0, 0), QSizeF(picture_.size()) / picture_.devicePixelRatio());
    const int step = 2;
    if (shadow_) {
        QPainterPath path;
        const qreal spread = pile_depth_ * step;
        path.addRoundedRect(card.adjusted(2, 3, spread + 2, spread + 3), 6, 6);
        painter.fillPath(path, QColor(0, 0, 0, 60));
    }
    for (int k = pile_depth_; k >= 1; --k) painter.drawPixmap(QPointF(k * step, k * step), picture_);
    painter.drawPixmap(QPointF(0, 0), picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit Clicked();
}

// The pointer over a picture is not over the bare table.
void PictureBox::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kvt
