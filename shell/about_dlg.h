#pragma once

#include <QDialog>

namespace kvt {

// About KVT: the name, the version and what the program is.
class AboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit AboutDlg(QWidget* parent = nullptr);
};

}  // namespace kvt
