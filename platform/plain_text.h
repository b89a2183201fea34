#pragma once

#include <QLabel>
#include <QMessageBox>
#include <QString>

namespace kvt {

// Names, titles and paths come from files, the settings and the file system,
// and rich text from there could load any file or take any amount of memory
// and time to lay out. So every label and message box of the windows is made
// here, and shows its text exactly as it is.
QLabel* NewLabel(QWidget* parent, const QString& text = {});

class PlainMessageBox : public QMessageBox {
public:
    PlainMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons,
                    QWidget* parent = nullptr);
};

}  // namespace kvt
