#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kvt {

// "Enter Name": the human's name, shown as Player 1.
class NameFrm : public QDialog {
    Q_OBJECT

public:
    explicit NameFrm(QWidget* parent = nullptr);

    QString Name() const;
    QLineEdit* NameTxt() const { return name_; }
    QPushButton* OKBut() const { return ok_; }
    QPushButton* CanBut() const { return cancel_; }

private:
    QLineEdit* name_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace kvt
