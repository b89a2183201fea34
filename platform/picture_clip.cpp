#include "platform/picture_clip.h"

#include <algorithm>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "platform/files.h"

namespace kvt {

QImage ReadPicture(const QString& path) {
    // Read through our own opener, which refuses FIFOs and devices at once.
    FileBytes bytes;
    if (!ReadFileBytes(QFile::encodeName(path).toStdString(), bytes, kMaxPictureFileBytes)) return {};
    const std::string_view view = bytes.View();
    QByteArray data = QByteArray::fromRawData(view.data(), static_cast<qsizetype>(view.size()));
    QBuffer buffer(&data);
    // Working files carry their own extensions, so the format is named; a
    // file that is no BMP still gets a chance by its content.
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull()) {
        buffer.seek(0);
        QImageReader any(&buffer);
        any.setDecideFormatFromContent(true);
        image = any.read();
    }
    return image;
}

bool PictureClip::Load(const QString& path) {
    Clear();
    QImage image = ReadPicture(path);
    if (image.isNull()) return false;
    bitmap_ = QPixmap::fromImage(std::move(image));
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
    painter.setRenderHint(QPainter::Antialiasing);
    if (picture_.isNull()) {
        if (!empty_outline_) return;
        const QSizeF card(kFaceWidth, kFaceHeight);
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
