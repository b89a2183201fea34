#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace kvt::portraits {

struct SheetEntry {
    QImage portrait;  // as shipped, 120 x 120
    QString label;
};

// Lays portraits out in rows of up to four, each enlarged `scale` times with
// square pixels so that the shipped pixels can be judged, with its label below.
QImage PaintContactSheet(const QList<SheetEntry>& entries, int scale);

}  // namespace kvt::portraits
