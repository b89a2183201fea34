#include "tools/kvx/designer/picture_import.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

namespace kvt::kvx {

bool PictureAsBmp(const QString& path, std::string& bytes, QString& error) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer in(&data);
    QImageReader reader(&in);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull()) {
        error = QCoreApplication::translate("kvt::kvx::DesignerWindow", "\"%1\" cannot be read as a picture: %2")
                    .arg(path, reader.errorString());
        return false;
    }
    if (format == "bmp") return true;
    QByteArray bmp;
    QBuffer out(&bmp);
    out.open(QIODevice::WriteOnly);
    if (!QImageWriter(&out, "BMP").write(image.convertToFormat(QImage::Format_RGB32))) {
        error = QCoreApplication::translate("kvt::kvx::DesignerWindow", "\"%1\" cannot be converted to a BMP picture.")
                    .arg(path);
        return false;
    }
    bytes = bmp.toStdString();
    return true;
}

bool IsWave(const std::string& bytes) {
    return bytes.size() > 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0;
}

}  // namespace kvt::kvx
