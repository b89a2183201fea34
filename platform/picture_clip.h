#pragma once

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include "core/card.h"

namespace kvt {

// Pictures larger than this are not read.
inline constexpr std::size_t kMaxPictureFileBytes = 256u * 1024u * 1024u;

// A picture file (a BMP whatever its extension, else by its content), or a
// null image when it cannot be read: FIFOs and devices are refused at once.
QImage ReadPicture(const QString& path);

// The clip control over a card set's bitmap. Every card picture on the table
// is cut from this one bitmap; a face is cut once per picture cell and kept
// until another bitmap is loaded.
class PictureClip {
public:
    // Loads the card bitmap (a BMP whatever the file's extension). On failure
    // the clip is empty and every cut gives a transparent picture.
    bool Load(const QString& path);
    // Takes a bitmap decoded elsewhere, as Load does; false for a null image.
    bool SetBitmap(QImage image);
    void Clear();
    bool IsEmpty() const { return bitmap_.isNull(); }
    const QPixmap& Picture() const { return bitmap_; }

    // The rectangle of the bitmap at (x, y); parts outside the bitmap are transparent.
    QPixmap Clip(const QRect& rect) const;

    // CutCardFace: the 70 x 95 face at x = PicCol * 75 + 5, y = PicRow * 110 + 5.
    QPixmap CardFace(const Card& card) const;

private:
    QPixmap bitmap_;
    mutable QHash<quint32, QPixmap> faces_;
};

// A picture box: shows one picture at its top-left corner, unscaled, and
// reports clicks. A box without a picture is blank, or shows the outline of
// an empty card place when asked to.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    void SetPicture(const QPixmap& picture);
    void ClearPicture() { SetPicture(QPixmap()); }
    const QPixmap& Picture() const { return picture_; }
    bool HasPicture() const { return !picture_.isNull(); }

    // Draws an empty card place (a faint rounded outline) while blank.
    void SetEmptyOutline(bool on);
    // The size of the card drawn in the box, for that outline.
    void SetCardSize(QSize size);
    // Extra cards drawn under the picture, each 2 pixels further down and to
    // the right, so the box reads as a pile; 0 for a single card.
    void SetPileDepth(int cards);
    // Opacity of the picture, 0..1.
    void SetOpacity(double opacity);
    // A soft shadow under the picture.
    void SetShadow(bool on);

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void Draw(QPainter& painter);
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    bool empty_outline_ = false;
    QSize card_size_{kFaceWidth, kFaceHeight};
    bool shadow_ = false;
    int pile_depth_ = 0;
    double opacity_ = 1.0;
    bool pressed_ = false;
};

}  // namespace kvt
