#include "dialogs/card_view_frm.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

#include "dialogs/card_action_text.h"
#include "core/card.h"
#include "platform/plain_text.h"

namespace kvt {

CardViewFrm::CardViewFrm(QWidget* parent) : QDialog(parent) {
    setObjectName("CardViewFrm");
    setWindowTitle(tr("View"));
    setModal(false);
    setWindowFlag(Qt::Tool, true);

    auto* grid = new QGridLayout(this);
    image_ = NewLabel(this);
    image_->setObjectName("Image1");
    image_->setFixedSize(70, 95);
    grid->addWidget(image_, 0, 0, 3, 1);
    value_caption_ = NewLabel(this, tr("Point Value:"));
    value_caption_->setObjectName("Label3");
    grid->addWidget(value_caption_, 0, 1);
    value_ = NewLabel(this);
    value_->setObjectName("Label4");
    grid->addWidget(value_, 0, 2);
    playable_ = NewLabel(this, tr("PLAYABLE"));
    playable_->setObjectName("Label2");
    playable_->setStyleSheet("QLabel { color: #1d7a2f; font-weight: 700; }");
    grid->addWidget(playable_, 1, 1, 1, 2);
    description_ = NewLabel(this);
    description_->setObjectName("Label1");
    description_->setMinimumWidth(200);
    grid->addWidget(description_, 3, 0, 1, 3);
    // The parts keep their room while hidden, so the window has its full size
    // from the start; the hint fills it while no card is shown.
    for (QLabel* part : {image_, value_caption_, value_, description_, playable_}) {
        QSizePolicy policy = part->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        part->setSizePolicy(policy);
    }
    hint_ = NewLabel(this, tr("Point at one of your cards to see it here."));
    hint_->setObjectName("HintLbl");
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setWordWrap(true);
    hint_->setStyleSheet("QLabel { color: #6b6b6b; }");
    grid->addWidget(hint_, 0, 0, 4, 3);
    playable_->hide();
    ClearCard();
}

QString CardViewFrm::Description(const Card& card, bool hold_grid) { return ActionCaption(card, hold_grid); }

void CardViewFrm::Describe(const QPixmap& picture, const Card& card, bool playable, bool hold_grid) {
    raise();
    image_->setPixmap(picture);
    value_->setText(QString::number(card.Value));
    playable_->setVisible(playable);
    // A card without a described action keeps the last description.
    const QString text = Description(card, hold_grid);
    if (!text.isEmpty()) description_->setText(text);
    hint_->hide();
    for (QLabel* part : {image_, value_caption_, value_, description_}) part->show();
}

void CardViewFrm::ClearCard() {
    for (QLabel* part : {image_, value_caption_, value_, description_, playable_}) part->hide();
    hint_->show();
}

void CardViewFrm::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (closed_) closed_();
}

}  // namespace kvt
