// The table window's answers to the rules: hands, piles, marks and notices.
#include "shell/play_win.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

#include "engine/working_files.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/picture_decode.h"
#include "platform/qt_text.h"
#include "platform/sound_output.h"
#include "shell/table_keys.h"
#include "shell/table_marks_qt.h"

namespace kvt {

namespace {

using namespace table_layout;

// How long a notice of the rules stays in the status bar.
constexpr int kNoticeMs = 10000;

}  // namespace

void PlayWin::PumpEvents() { QCoreApplication::processEvents(); }

void PlayWin::ShowHand(const CardStack& stack, int grid) {
    game_->DeliverHeard();
    hands_->ShowHand(stack, grid);
    if (grid >= 1) PlaceNameLabels();
    if (keys_) keys_->Refresh();
}

void PlayWin::SetHandVisible(int player, bool visible) { hands_->SetHandVisible(player, visible); }

void PlayWin::ShowDiscardTop() { hands_->ShowDiscardTop(); }

void PlayWin::RepaintDiscardPile() { hands_->DiscardPile()->update(); }

void PlayWin::ShowCardBack(const Card& back_definition) { hands_->ShowCardBack(back_definition); }

void PlayWin::LoadCardBitmap(const std::string& path) {
    // A bitmap checked on its way in is not read again from its working copy.
    if (checked_bitmap_in_force_ && !checked_bitmap_.isNull())
        clip_.SetBitmap(std::move(checked_bitmap_));
    else
        clip_.Load(QFile::decodeName(path.c_str()));
    checked_bitmap_ = QImage();
    checked_bitmap_in_force_ = false;
}

std::string PlayWin::CardBitmapFault(std::uint64_t size, const BitmapReader& read) {
    checked_bitmap_in_force_ = false;
    checked_bitmap_ = QImage();  // freed before the next one is decoded
    if (size <= kMaxPictureFileBytes) checked_bitmap_ = DecodePicture(size, read);
    if (!checked_bitmap_.isNull()) return {};
    return FromQString(tr("its card pictures are not a bitmap that can be shown."));
}

void PlayWin::CardBitmapInForce() { checked_bitmap_in_force_ = !checked_bitmap_.isNull(); }

void PlayWin::PlaceSeatArrows() {
    const int arrow = Tw(SeatArrow::kSize);
    const TwipRect left = hands_->GridRect(2);
    const TwipRect top = hands_->GridRect(3);
    const TwipRect right = hands_->GridRect(4);
    seat_arrows_[2]->move(Px(left.Left + left.Width + 50), Px(left.Top));
    seat_arrows_[3]->move(Px(top.Left + 50), Px(top.Top + top.Height + 50));
    seat_arrows_[4]->move(Px(right.Left - arrow - 50), Px(right.Top));
}

void PlayWin::SetSeatArrowVisible(int seat, bool visible) {
    if (seat < 2 || seat > 4) return;
    SeatArrow* arrow = seat_arrows_[static_cast<std::size_t>(seat)];
    arrow->setVisible(visible);
    if (visible) arrow->raise();
}

void PlayWin::SetChooseMessageVisible(bool visible) {
    choose_msg_->setVisible(visible);
    if (visible) choose_msg_->raise();
}

void PlayWin::SetHoldGridVisible(bool visible) { hands_->Grid(0)->setVisible(visible); }

void PlayWin::ClearPickedCard() { hands_->ClearPickedCard(); }

void PlayWin::ShowShuffling() {
    statusBar()->showMessage(tr("Shuffling Cards......"));
    statusBar()->repaint();
}

void PlayWin::HideShuffling() { statusBar()->clearMessage(); }

void PlayWin::ShowLoading() {
    statusBar()->showMessage(tr("Loading Card Set........"));
    gauge_->setRange(0, 1);
    gauge_->setValue(0);
    gauge_->show();
    statusBar()->repaint();
}

void PlayWin::SetLoadingGauge(int value, int maximum) {
    gauge_->setRange(0, std::max(1, maximum));
    gauge_->setValue(std::clamp(value, 0, std::max(1, maximum)));
}

void PlayWin::HideLoading() {
    gauge_->hide();
    statusBar()->clearMessage();
}

void PlayWin::ShowPlayerWait() {
    statusBar()->showMessage(tr("Loading players file....."));
    statusBar()->repaint();
}

void PlayWin::HidePlayerWait() { statusBar()->clearMessage(); }

void PlayWin::CloseBackgroundSound() {
    // Only the opening music: a player's clip that is playing goes on.
    sound_->StopClip(PathText(game_->AppDir / files::kOpeningSound));
}

// --- the rules' calls

void PlayWin::SetDirectionPicture(int reversed) {
    play_direct_[0]->setVisible(reversed == 0);
    play_direct_[1]->setVisible(reversed != 0);
}

void PlayWin::SetTakePrompt(int giver) {
    const std::string name = giver >= 1 && giver <= 4 ? game_->PlayerInfo[static_cast<std::size_t>(giver)].Name : "";
    choose_msg_->setText(tr("Choose a card from Player - %1").arg(ToQString(name)));
    // A long name takes another line rather than being cut off.
    const int design = kChooseMsgLbl.ToPixels().height();
    choose_msg_->resize(choose_msg_->width(), std::max(design, choose_msg_->heightForWidth(choose_msg_->width())));
}

void PlayWin::ShowPickedCard(const Card& card) { hands_->ShowPickedCard(card); }

void PlayWin::ShowPickedStack() {
    if (game_->PickStack.Empty())
        hands_->ClearPickedCard();
    else
        hands_->ShowPickedCard(game_->PickStack[0]);
}

void PlayWin::SetPickedCardVisible(bool visible) { hands_->ShowCardPlay()->setVisible(visible); }

void PlayWin::SetDiscardButtonVisible(bool visible) {
    QPushButton* button = hands_->AcceptDiscardBut();
    button->setVisible(visible);
    if (visible) button->raise();
}

void PlayWin::ShowHoldCard(int player, const Card& card) { hands_->ShowHoldCard(player, card); }

void PlayWin::HideHoldCard() { hands_->HideHoldCard(); }

void PlayWin::ShowRuleMessage(const std::string& text) { Report(tr("KVT"), ToQString(text)); }

void PlayWin::ShowNothingToDraw(int player, bool passed) {
    QString text = tr("Nothing left to draw: play a card of your hand.");
    if (passed && player == 1) {
        text = tr("Nothing to draw and nothing to play: you pass.");
    } else if (passed && player >= 2 && player <= 4) {
        QString name = ToQString(game_->PlayerInfo[static_cast<std::size_t>(player)].Name);
        if (name.trimmed().isEmpty()) name = tr("Player %1").arg(player);
        text = tr("Nothing to draw and nothing to play: %1 passes.").arg(name);
    }
    statusBar()->showMessage(text, kNoticeMs);
}

void PlayWin::PlaceNameLabels() {
    const auto caption = [this](int p) {
        QString name = ToQString(game_->PlayerInfo[static_cast<std::size_t>(p)].Name);
        // Seats without a chosen opponent go by their number.
        if (name.trimmed().isEmpty() && p > 1) name = tr("Player %1").arg(p);
        return name;
    };
    for (int p = 1; p <= 4; ++p) {
        QLabel* label = name_labels_[static_cast<std::size_t>(p)];
        label->setText(caption(p));
        label->adjustSize();
        label->setVisible(!label->text().isEmpty());
    }
    const int gap = 3;
    const TwipRect bottom = hands_->GridRect(1);
    name_labels_[1]->move(Px(bottom.Left), Px(bottom.Top + bottom.Height + 200));
    const TwipRect left = hands_->GridRect(2);
    name_labels_[2]->move(Px(left.Left), Px(left.Top) - name_labels_[2]->height() - gap);
    const TwipRect top = hands_->GridRect(3);
    name_labels_[3]->move(Px(top.Left + top.Width) + 2 * gap, Px(top.Top) + gap);
    const TwipRect right = hands_->GridRect(4);
    name_labels_[4]->move(Px(right.Left + right.Width) - name_labels_[4]->width(),
                          Px(right.Top) - name_labels_[4]->height() - gap);
}

void PlayWin::RedrawTable() {
    game_->DeliverHeard();
    for (int p = 1; p <= 4; ++p) hands_->ShowHand(game_->Players[static_cast<std::size_t>(p)], p);
    if (!hands_->Grid(0)->isHidden()) hands_->ShowHand(game_->HoldStack, 0);
    hands_->ShowDiscardTop();
    hands_->ShowDrawDeck();
    ShowPickedStack();
    SetDirectionPicture(game_->PlayReversed);
    PlaceNameLabels();
    if (keys_) keys_->Refresh();
}

}  // namespace kvt
