// Pictures read straight into their rows decode as Qt's own reader decodes them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <cstring>

#include "platform/picture_decode.h"

namespace kvt {
namespace {

QByteArray Saved(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A 24-bit BMP whose rows need padding, stored bottom-up or top-down.
QByteArray Bmp24(int width, int height, bool top_down) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    QByteArray bytes = Saved(image, "BMP");
    if (top_down) {
        // Same pixels, rows stored from the top: negative height, rows reversed.
        const int at = qFromLittleEndian<qint32>(bytes.constData() + 10);
        const int stride = (width * 3 + 3) / 4 * 4;
        QByteArray rows = bytes.mid(at);
        for (int y = 0; y < height; ++y)
            std::memcpy(bytes.data() + at + y * stride, rows.constData() + (height - 1 - y) * stride, stride);
        qToLittleEndian<qint32>(-height, bytes.data() + 22);
    }
    return bytes;
}

QImage Decode(const QByteArray& bytes) {
    return DecodePicture(static_cast<std::uint64_t>(bytes.size()), [&](std::uint64_t at, std::size_t n, char* out) {
        if (at > static_cast<std::uint64_t>(bytes.size()) || n > bytes.size() - at) return false;
        std::memcpy(out, bytes.constData() + at, n);
        return true;
    });
}

// Whatever Qt's reader makes of the bytes, as plain pixels; null when it makes nothing.
QImage QtDecode(const QByteArray& bytes) { return QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32); }

TEST(PictureDecode, GivesWhatQtsReaderGives) {
    QImage png(5, 4, QImage::Format_ARGB32);
    png.fill(qRgba(10, 20, 30, 128));
    const QByteArray whole = Bmp24(13, 7, false);
    // Uncompressed 24-bit rows of odd widths both ways up, a huge-page sized
    // picture; formats left to Qt (an 8-bit BMP, a PNG); cut-off and foreign bytes.
    for (const QByteArray& bytes :
         {Bmp24(1, 1, false), whole, Bmp24(13, 7, true), Bmp24(1001, 700, false),
          Saved(QtDecode(whole).convertToFormat(QImage::Format_Indexed8), "BMP"), Saved(png, "PNG"),
          whole.left(whole.size() - 1), whole.left(60), QByteArray("BM"), QByteArray()}) {
        const QImage ours = Decode(bytes), qts = QtDecode(bytes);
        EXPECT_EQ(ours.size(), qts.size()) << bytes.size();
        EXPECT_EQ(ours.isNull(), bytes.size() < 3) << bytes.size();
        // Rows a cut-off file lacks are left undefined by both.
        if (bytes.size() != whole.size() - 1 && bytes.size() != 60)
            EXPECT_EQ(ours.convertToFormat(QImage::Format_ARGB32), qts) << bytes.size();
    }
}

}  // namespace
}  // namespace kvt
