#include "dialogs/game_info_frm.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/frm_support.h"
#include "engine/card_set.h"
#include "platform/qt_text.h"
#include "platform/plain_text.h"

namespace kvt {

GameInFo::GameInFo(CardSetDef& set, bool editable, QWidget* parent) : QDialog(parent), set_(set) {
    setObjectName("GameInFo");
    setWindowTitle(tr("Game Information"));

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    title_ = new QLineEdit(ToQString(set_.GameTitle), this);
    title_->setObjectName("GameTitle");
    author_ = new QLineEdit(ToQString(set_.AuthorName), this);
    author_->setObjectName("AuthorName");
    for (QLineEdit* box : {title_, author_}) {
        box->setEnabled(editable);
        box->setMinimumWidth(300);
    }
    auto* title_label = NewLabel(this, tr("Game Title"));
    title_label->setObjectName("Label3");
    auto* author_label = NewLabel(this, tr("Author's Name"));
    author_label->setObjectName("Label1");
    form->addRow(title_label, title_);
    form->addRow(author_label, author_);
    layout->addLayout(form);

    ok_ = new QPushButton(tr("&Ok"), this);
    ok_->setObjectName("OKBut");
    ok_->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok_);
    layout->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, &GameInFo::Ok);
    adjustSize();
    CentreOnScreen(this);
}

QString GameInFo::FittedTitle(const QString& title) {
    return title.left(kTitleLength).leftJustified(kTitleLength, QLatin1Char(' '));
}

void GameInFo::Ok() {
    set_.AuthorName = FromQString(author_->text());
    set_.GameTitle = FromQString(FittedTitle(title_->text()));
    accept();
}

}  // namespace kvt
