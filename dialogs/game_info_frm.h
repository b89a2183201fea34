#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kvt {

struct CardSetDef;

// "Game Information": the card set's title and author.
class GameInFo : public QDialog {
    Q_OBJECT

public:
    // Read-only unless `editable`; OK writes an edit back into the card set in memory.
    GameInFo(CardSetDef& set, bool editable, QWidget* parent = nullptr);

    // A title as the card set keeps it: cut or padded with blanks to 30 characters.
    static QString FittedTitle(const QString& title);

    QLineEdit* GameTitle() const { return title_; }
    QLineEdit* AuthorName() const { return author_; }
    QPushButton* OkBut() const { return ok_; }

private:
    void Ok();

    CardSetDef& set_;
    QLineEdit* title_ = nullptr;
    QLineEdit* author_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace kvt
