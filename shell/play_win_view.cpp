// The table window's answers to the rules: hands, piles, marks and notices.
#include "hand/move_being_built.h"
#include "shell/play_win.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>

#include "engine/working_files.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/picture_decode.h"
#include "platform/qt_text.h"
#include "platform/sound_output.h"
#include "shell/show_queue.h"
#include "shell/table_keys.h"
#include "shell/table_marks_qt.h"
#include "core/matching.h"
#include "core/seats.h"

namespace kvt {

namespace {

using namespace table_layout;

// How long a notice of the rules stays in the status bar.
constexpr int kNoticeMs = 10000;

}  // namespace

void PlayWin::ShowHand(const CardStack& stack, int grid) {
    hands_->ShowHand(stack, grid);
    if (grid >= 1) PlaceNameLabels();
    if (keys_) keys_->Refresh();
    ShowGuidance();
}

void PlayWin::SetHandVisible(int player, bool visible) { hands_->SetHandVisible(player, visible); }

void PlayWin::ShowDiscardTop() { hands_->ShowDiscardTop(); }

void PlayWin::ShowPiles(const PilesShown& piles) { hands_->ShowPiles(piles); }

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

void PlayWin::BackgroundArriving(std::uint64_t size, const BitmapReader& read) {
    arriving_background_in_force_ = false;
    arriving_background_ = QImage();
    if (size != 0 && size <= kMaxPictureFileBytes) arriving_background_ = DecodePicture(size, read);
}

void PlayWin::PicturesInForce() {
    checked_bitmap_in_force_ = !checked_bitmap_.isNull();
    arriving_background_in_force_ = true;
}

void PlayWin::PlaceSeatArrows() {
    const TableGeometry& g = Geometry();
    const int arrow = Tw(SeatArrow::kSize);
    const TwipRect left = hands_->GridRect(2);
    const TwipRect top = hands_->GridRect(3);
    const TwipRect right = hands_->GridRect(4);
    seat_arrows_[2]->move(g.Pixels(QPoint(left.Left + left.Width + 50, left.Top)));
    seat_arrows_[3]->move(g.Pixels(QPoint(top.Left + 50, top.Top + top.Height + 50)));
    seat_arrows_[4]->move(g.Pixels(QPoint(right.Left - arrow - 50, right.Top)));
}

void PlayWin::SetSeatArrowVisible(int seat, bool visible) {
    if (seat < 2 || seat > 4) return;
    SeatArrow* arrow = seat_arrows_[static_cast<std::size_t>(seat)];
    arrow->setVisible(visible);
    if (visible) arrow->raise();
    ShowGuidance();
}

void PlayWin::ShowArrowAt(int seat) {
    for (int s = 2; s <= 4; ++s) SetSeatArrowVisible(s, s == seat);
}

void PlayWin::SetChooseMessageVisible(bool visible) {
    choose_msg_->setVisible(visible);
    if (visible) choose_msg_->raise();
}

void PlayWin::SetHoldGridVisible(bool visible) {
    hands_->Grid(0)->setVisible(visible);
    ShowGuidance();
}

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
    gauge_painted_.invalidate();
}

void PlayWin::SetLoadingGauge(int value, int maximum) {
    gauge_->setRange(0, std::max(1, maximum));
    gauge_->setValue(std::clamp(value, 0, std::max(1, maximum)));
    // The load runs on without the event loop, so the gauge is painted
    // here: at its start and end, and between them no more often than the
    // eye follows. A paint costs about a third of a millisecond, as much as
    // copying half a megabyte of the bitmap: painting every step of a big
    // card set took longer than its copy.
    constexpr qint64 kPaintEveryMs = 40;
    if (value > 0 && value < maximum && gauge_painted_.isValid() && gauge_painted_.elapsed() < kPaintEveryMs) return;
    gauge_->repaint();
    gauge_painted_.start();
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
    FitChooseMessage();
}

void PlayWin::ShowPickedCard(const Card& card) { hands_->ShowPickedCard(card); }

void PlayWin::ShowPickedStack() {
    if (!Building().Picking())
        hands_->ClearPickedCard();
    else
        hands_->ShowPickedCard(Building().PickedCard());
}

void PlayWin::ShowMoveBeingBuilt() {
    ShowPickedStack();
    SetHoldGridVisible(Building().HoldGridOpen());
    SetDiscardButtonVisible(Building().DiscardShown());
}

void PlayWin::SetPickedCardVisible(bool visible) { hands_->ShowCardPlay()->setVisible(visible); }

void PlayWin::SetDiscardButtonVisible(bool visible) {
    QPushButton* button = hands_->AcceptDiscardBut();
    button->setVisible(visible);
    if (visible) button->raise();
}

void PlayWin::ShowHoldCard(int player, const Card& card) { hands_->ShowHoldCard(player, card); }


void PlayWin::ShowLoadProblem(const std::string& text) { Report(tr("KVT"), ToQString(text)); }

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
    const TableGeometry& g = Geometry();
    const int gap = g.Scaled(3);
    // Against the grids as they are drawn (their pixel sizes follow the cells).
    const QRect bottom = hands_->Grid(1)->geometry();
    name_labels_[1]->move(bottom.left(), g.Pixels(hands_->GridRect(1).Top + hands_->GridRect(1).Height + 200));
    const QRect left = hands_->Grid(2)->geometry();
    name_labels_[2]->move(left.left(), left.top() - name_labels_[2]->height() - gap);
    const QRect top = hands_->Grid(3)->geometry();
    name_labels_[3]->move(top.right() + 1 + 2 * gap, top.top() + gap);
    const QRect right = hands_->Grid(4)->geometry();
    name_labels_[4]->move(right.right() + 1 - name_labels_[4]->width(), right.top() - name_labels_[4]->height() - gap);
}

QString PlayWin::HoldHint() const {
    const Game& game = *game_;
    const MoveBeingBuilt& move = Building();
    if (!move.HoldGridOpen() || hands_->Grid(0)->isHidden()) return {};
    if (move.HoldNeeded() <= 0) return tr("Nothing to choose: press Discard.");
    const Card& picked = move.PickedCard();
    const int left = move.HoldNeeded() - move.Held().Count();
    const QString cards = left == 1 ? tr("1 card") : tr("%1 cards").arg(left);
    if (!IsPassAction(picked.Action))
        return left > 0 ? tr("Choose %1 to discard with it.").arg(cards) : tr("Press Discard: they go on the pile.");
    const int to = picked.Action == kActionPassLeft    ? LeftOf(1)
                   : picked.Action == kActionPassRight ? RightOf(1)
                                                       : AcrossFrom(1);
    QString name = ToQString(game.PlayerInfo[static_cast<std::size_t>(to)].Name).trimmed();
    if (name.isEmpty()) name = tr("Player %1").arg(to);
    return left > 0 ? tr("Choose %1 to give to %2.").arg(cards, name) : tr("Press Discard: they go to %1.").arg(name);
}

void PlayWin::ShowGuidance() {
    if (!hands_) return;
    const TableGeometry& g = Geometry();
    // The hold grid's hint, where the take prompt would stand (they never show together).
    const QString hint = HoldHint();
    if (hint.isEmpty() || !choose_msg_->isHidden()) {
        hold_hint_->hide();
    } else {
        const QRect place = g.ChooseMsgLbl();
        const QRect hold = hands_->Grid(0)->geometry();
        hold_hint_->setText(hint);
        // As wide as the room before the right hand's arrow allows, just above the hold grid.
        const int room = hands_->Grid(4)->x() - g.Scaled(SeatArrow::kSize + 8) - place.left();
        const int width = std::max(place.width(), room);
        const int height = hold_hint_->heightForWidth(width);
        hold_hint_->setGeometry(place.left(), std::max(0, hold.top() - g.Scaled(4) - height), width, height);
        hold_hint_->show();
        hold_hint_->raise();
    }
    // The human's turn: the name stands out and a light lies round the hand.
    const bool human_turn = started_ && !Replaying() && game_->CurPlayer == 1 && !game_->IsComputer(1) &&
                            !game_->Players[1].Empty() && !hands_->Grid(1)->isHidden();
    QLabel* name = name_labels_[1];
    if (name->property("turn").toBool() != human_turn) {
        name->setProperty("turn", human_turn);
        // The style sheet has a look of its own for the turn.
        name->style()->unpolish(name);
        name->style()->polish(name);
        name->adjustSize();
        name->setAccessibleDescription(human_turn ? tr("Your turn") : QString());
    }
    if (human_turn) {
        const int margin = g.Scaled(TurnGlow::kMargin);
        turn_glow_->SetMargin(margin);
        turn_glow_->setGeometry(hands_->Grid(1)->geometry().adjusted(-margin, -margin, margin, margin));
        turn_glow_->show();
        turn_glow_->lower();
    } else {
        turn_glow_->hide();
    }
}

void PlayWin::RedrawTable() {
    show_->Now([this] { RedrawTableNow(); });
}

void PlayWin::RedrawTableNow() {
    hands_->ShowHand(Building().ShownHand(), 1);
    for (int p = 2; p <= 4; ++p) hands_->ShowHand(game_->Players[static_cast<std::size_t>(p)], p);
    if (!hands_->Grid(0)->isHidden()) hands_->ShowHand(Building().Held(), 0);
    hands_->ShowDiscardTop();
    hands_->ShowDrawDeck();
    ShowPickedStack();
    SetDirectionPicture(game_->PlayReversed);
    PlaceNameLabels();
    // The arrows keep to the grids' outer edges, which only the table's size moves.
    PlaceSeatArrows();
    if (keys_) keys_->Refresh();
    ShowGuidance();
}

}  // namespace kvt
