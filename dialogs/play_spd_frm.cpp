#include "dialogs/play_spd_frm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/game.h"
#include "platform/profile.h"
#include "platform/settings_keys.h"
#include "platform/plain_text.h"

namespace kvt {

PlaySpdFrm::PlaySpdFrm(Game& game, QWidget* parent) : QDialog(parent), game_(game) {
    setObjectName("PlaySpdFrm");
    setWindowTitle(tr("Play Speed"));

    auto* layout = new QVBoxLayout(this);
    auto* prompt = NewLabel(this, tr("Adjust the speed of Cards being Played."));
    prompt->setObjectName("Label2");
    layout->addWidget(prompt);

    bar_ = new QScrollBar(Qt::Horizontal, this);
    bar_->setObjectName("HScroll1");
    bar_->setRange(kFastest, kSlowest);
    // Larger values are longer pauses: the slow end is on the left.
    bar_->setInvertedAppearance(true);
    bar_->setInvertedControls(true);
    bar_->setSingleStep(20);
    bar_->setPageStep(200);
    bar_->setMinimumWidth(280);
    bar_->setValue(Clamped(game_.GameSpeed));
    layout->addWidget(bar_);

    auto* ends = new QHBoxLayout;
    auto* slow = NewLabel(this, tr("Slow"));
    slow->setObjectName("Label1");
    auto* fast = NewLabel(this, tr("Fast"));
    fast->setObjectName("Label1Fast");
    ends->addWidget(slow);
    ends->addStretch();
    ends->addWidget(fast);
    layout->addLayout(ends);

    ok_ = new QPushButton(tr("&Ok"), this);
    ok_->setObjectName("OkBut");
    ok_->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok_);
    layout->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, &PlaySpdFrm::Ok);

    if (parent) move(parent->pos() + QPoint(40, 40));
}

int PlaySpdFrm::Clamped(std::int32_t speed) {
    // No speed stored yet: the pause the flights have until one is chosen.
    if (speed <= 0) return kUnset;
    return static_cast<int>(std::clamp<std::int32_t>(speed, kFastest, kSlowest));
}

void PlaySpdFrm::Ok() {
    game_.GameSpeed = bar_->value();
    // The settings are a convenience; a failed write leaves the speed in force.
    (void)game_.Settings().WriteString(settings::kMisc, settings::kPlaySpeed, FormatNumber(game_.GameSpeed));
    accept();
}

}  // namespace kvt
