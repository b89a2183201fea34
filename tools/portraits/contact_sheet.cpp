#include "tools/portraits/contact_sheet.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace kvt::portraits {

QImage PaintContactSheet(const QList<SheetEntry>& entries, int scale) {
    const int columns = std::max<int>(1, std::min<int>(4, static_cast<int>(entries.size())));
    const int rows = (static_cast<int>(entries.size()) + columns - 1) / columns;
    const int cell = 120 * scale;
    const int gap = 24;
    const int label_height = 40;
    const int width = columns * cell + (columns + 1) * gap;
    const int height = rows * (cell + label_height) + (rows + 1) * gap;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor("#f4f1ea"));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(24);
    p.setFont(font);
    for (int i = 0; i < entries.size(); ++i) {
        const int x = gap + (i % columns) * (cell + gap);
        const int y = gap + (i / columns) * (cell + label_height + gap);
        const QImage big = entries[i].portrait.scaled(cell, cell, Qt::IgnoreAspectRatio,
                                                      Qt::FastTransformation);
        p.fillRect(QRect(x + 4, y + 4, cell, cell), QColor(0, 0, 0, 40));
        p.drawImage(QPoint(x, y), big);
        p.setPen(QColor("#3c3a36"));
        p.drawText(QRect(x, y + cell + 4, cell, label_height - 4), Qt::AlignCenter,
                   entries[i].label);
    }
    return sheet;
}

}  // namespace kvt::portraits
