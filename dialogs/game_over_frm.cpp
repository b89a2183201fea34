#include "dialogs/game_over_frm.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/frm_support.h"
#include "platform/picture_clip.h"
#include "platform/plain_text.h"

namespace kvt {

namespace {

constexpr QSize kPictureSize(160, 160);

}  // namespace

GameOverFrm::GameOverFrm(QWidget* parent) : QDialog(parent) {
    setObjectName("GameOverFrm");
    setWindowTitle(tr("Game Over"));
    setModal(true);
    setStyleSheet(
        "QDialog#GameOverFrm { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #134d24, stop:1 #0a2e15); }"
        "QLabel#Label1 { color: #f7e7a1; }"
        "QLabel#Caption { color: #fbf5e1; font-weight: 600; }"
        "QLabel#Image1 { background: #fffdf4; border: 3px solid #c9a74a; border-radius: 4px; }");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    auto* title = NewLabel(this, tr("Game Over"));
    title->setObjectName("Label1");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2.0);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    image_ = NewLabel(this);
    image_->setObjectName("Image1");
    image_->setFixedSize(kPictureSize + QSize(6, 6));
    image_->setAlignment(Qt::AlignCenter);
    auto* picture_row = new QHBoxLayout;
    picture_row->addStretch();
    picture_row->addWidget(image_);
    picture_row->addStretch();
    layout->addLayout(picture_row);

    caption_ = NewLabel(this);
    caption_->setObjectName("Caption");
    caption_->setAlignment(Qt::AlignCenter);
    layout->addWidget(caption_);

    exit_ = new QPushButton(tr("&Exit"), this);
    exit_->setObjectName("Command1");
    exit_->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(exit_);
    row->addStretch();
    layout->addLayout(row);
    connect(exit_, &QPushButton::clicked, this, [this] { QDialog::done(QDialog::Accepted); });
    setMinimumWidth(300);
}

void GameOverFrm::Open(int winner) {
    winner_ = winner;
    shown_player_ = 0;
    image_->clear();
    caption_->clear();
    adjustSize();
    CentreOnScreen(this);
    show();
    raise();
    activateWindow();
}

void GameOverFrm::ShowPlayer(int player, const QString& name, const std::filesystem::path& picture) {
    shown_player_ = player;
    const QImage image = picture.empty() ? QImage() : ReadPicture(QFile::decodeName(picture.c_str()));
    if (!image.isNull())
        image_->setPixmap(QPixmap::fromImage(image).scaled(kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        image_->clear();
    caption_->setText(player == winner_ ? tr("%1 wins the game!").arg(name) : name);
    image_->repaint();
    caption_->repaint();
}

}  // namespace kvt
