// The table's card flights and sounds.
#include "shell/play_win.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <cstdlib>
#include <system_error>
#include "shell/flights_qt.h"
#include "dialogs/card_view_frm.h"
#include "dialogs/game_info_frm.h"
#include "dialogs/game_over_frm.h"
#include "dialogs/name_frm.h"
#include "dialogs/play_spd_frm.h"
#include "dialogs/player_sel_frm.h"
#include "dialogs/score_frm.h"
#include "dialogs/wild_card_frm.h"
#include "engine/working_files.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/profile.h"
#include "platform/qt_text.h"
#include "platform/sound_output.h"
#include "shell/about_dlg.h"
#include "shell/help_window.h"
#include "shell/move_log.h"
#include "shell/show_queue.h"
#include "platform/settings_keys.h"
#include "shell/startup.h"
#include "shell/table_marks_qt.h"
#include "shell/table_match.h"

namespace kvt {

using namespace table_layout;

// --- card flights

QPoint PlayWin::GridTopLeft(int grid) const {
    const TwipRect rect = hands_->GridRect(grid);
    return QPoint(rect.Left, rect.Top);
}

void PlayWin::Fly(const QPixmap& picture, QPoint from, QPoint to, bool keep_start, std::function<void()> landed) {
    if (closing_) return landed();
    flights_->PlaceTrail(picture, from, to);
    PictureBox* start = flights_->Box(0);
    start->show();
    start->raise();
    if (!keep_start) {
        // The cell the card leaves in the hold grid goes blank.
        hands_->Grid(0)->SetCellPicture(QPixmap());
        start->hide();
    }
    flights_->PlayTrail(keep_start, [this, start, landed = std::move(landed)](bool) {
        start->hide();
        flights_->ParkLastBox(Geometry().MiddleTopLeft(kDiscardPile));
        // Also when cut short (the window closes): the steps behind it are let go.
        landed();
    });
}

void PlayWin::FlyCardMove(int to_player, int from_place, const Card& card, const Done& done) {
    if (closing_ || to_player < 1 || to_player > 4 || from_place < 0 || from_place > 4) return done();
    CardGrid* hold = hands_->Grid(0);
    if (from_place == 0) hold->SetCol(0);
    // Cards leaving the hold grid fly face up, cards leaving a hand face down.
    const QPixmap picture = from_place == 0 ? hands_->Face(card) : hands_->Back();
    // The stacks the card left and joined are drawn again by the steps behind the flight.
    Fly(picture, GridTopLeft(from_place), GridTopLeft(to_player), false, [this, from_place, done] {
        if (!closing_) {
            if (from_place <= 2) hands_->Grid(2)->repaint();
            if (from_place <= 3) hands_->Grid(3)->repaint();
            if (from_place == 4) hands_->Grid(4)->repaint();
        }
        done();
    });
}

void PlayWin::FlyCompDiscard(int player, const Card& card, const Done& done) {
    if (closing_ || player < 1 || player > 4) return done();
    Fly(hands_->Face(card), GridTopLeft(player), Geometry().MiddleTopLeft(kDiscardPile), false, done);
}

void PlayWin::FlyHoldDiscard(const Card& card, const Done& done) {
    if (closing_) return done();
    hands_->Grid(0)->SetCol(0);
    Fly(hands_->Face(card), GridTopLeft(0), Geometry().MiddleTopLeft(kDiscardPile), false, done);
}

void PlayWin::FlyPickedCard(const Card& card, const Done& done) {
    if (closing_) return done();
    const QPixmap face = hands_->Face(card);
    hands_->ClearPickedCard();
    Fly(face, Geometry().MiddleTopLeft(kShowCardPlay), Geometry().MiddleTopLeft(kDiscardPile), true, [this, face, done] {
        if (!closing_) {
            hands_->DiscardPile()->SetPicture(face);
            hands_->DiscardPile()->repaint();
        }
        done();
    });
}

void PlayWin::FlyDraw(int player, bool to_picked_card, const Done& done) {
    if (closing_ || player < 1 || player > 4) return done();
    const bool to_box = to_picked_card && player == 1;
    const QPoint target = to_box ? Geometry().MiddleTopLeft(kShowCardPlay) : GridTopLeft(player);
    QWidget* target_widget = to_box ? static_cast<QWidget*>(hands_->ShowCardPlay()) : hands_->Grid(player);
    QPointer<QWidget> repainted(target_widget);
    flights_->DrawFlight(
        hands_->Back(), Geometry().MiddleTopLeft(kDrawDeck), target,
        [repainted] {
            if (repainted) repainted->repaint();
        },
        [done](bool) { done(); });
}

void PlayWin::SetAnimationInterval(int ms) { flights_->SetInterval(ms); }

int PlayWin::AnimationInterval() const { return flights_->Interval(); }

// --- sound

void PlayWin::PlayClip(const std::filesystem::path& wave_file) {
    if (closing_) return;
    sound_->Play(PathText(wave_file));
}

void PlayWin::PlayClipThen(const std::filesystem::path& wave_file, const Done& done) {
    if (closing_) return done();
    sound_->Play(PathText(wave_file), done);
}

void PlayWin::ShowEvent(const Event& event) { ShowEventOn(*game_, event, *this); }

void PlayWin::ComputerDiscardFlies(int player, const Card& card) {
    show_->Lasting([this, player, card](const Done& done) { FlyCompDiscard(player, card, done); });
}

void PlayWin::HoldDiscardFlies(const Card& card) {
    show_->Lasting([this, card](const Done& done) { FlyHoldDiscard(card, done); });
}

void PlayWin::CardFliesToHand(int to_player, int from_place, const Card& card) {
    show_->Lasting([this, to_player, from_place, card](const Done& done) { FlyCardMove(to_player, from_place, card, done); });
}

void PlayWin::HoldCardShown(int player, const Card& card) {
    show_->Now([this, player, card] { ShowHoldCard(player, card); });
}

void PlayWin::HoldCardHidden() {
    show_->Now([this] { hands_->HideHoldCard(); });
}

void PlayWin::ArrowAt(int seat) {
    show_->Now([this, seat] { ShowArrowAt(seat); });
}

void PlayWin::HandVisible(int player, bool visible) {
    show_->Now([this, player, visible] { SetHandVisible(player, visible); });
}

void PlayWin::PickedCardFlies(const Card& card) {
    show_->Lasting([this, card](const Done& done) { FlyPickedCard(card, done); });
}

void PlayWin::HandRedrawn(int grid, const CardStack& stack) {
    show_->Now([this, grid, stack] { ShowHand(stack, grid); });
}

void PlayWin::PilesRedrawn(const PilesShown& piles) {
    show_->Now([this, piles] { ShowPiles(piles); });
}

void PlayWin::DrawFlies(int player, bool to_picked_card) {
    show_->Lasting([this, player, to_picked_card](const Done& done) { FlyDraw(player, to_picked_card, done); });
}

void PlayWin::Logged(const Event& event) {
    std::array<std::string, 5> names;
    for (int p = 1; p <= 4; ++p) names[static_cast<std::size_t>(p)] = game_->PlayerInfo[static_cast<std::size_t>(p)].Name;
    // Logged when the table shows it.
    show_->Now([this, event, names] { move_log_->Add(event, names); });
}

void PlayWin::DirectionTurns(int reversed) {
    show_->Now([this, reversed] { SetDirectionPicture(reversed); });
}

void PlayWin::DeckShuffled() {
    show_->Now([this] {
        ShowShuffling();
        HideShuffling();
    });
}

void PlayWin::RoundScored(const ScoreRows& rows, int winner) {
    RecordRoundInStatistics();
    show_->Now([this, rows, winner] {
        OpenScoreSheet(rows, winner);
        if (!closing_) match_->RoundScored();
    });
}

void PlayWin::PlayerPassed(int player) {
    show_->Now([this, player] { ShowNothingToDraw(player, true); });
}

void PlayWin::PlayerSpeaks(const std::filesystem::path& clip) {
    show_->Lasting([this, clip](const Done& done) { PlayClipThen(clip, done); });
}

void PlayWin::GameOver(int winner, const std::array<GameOverFiles, 5>& files) {
    show_->Now([this, winner] { ShowGameOver(winner); });
    for (int p = 1; p <= 4; ++p) {
        const GameOverFiles& shown = files[static_cast<std::size_t>(p)];
        show_->Now([this, p, picture = shown.Picture] { ShowGameOverPicture(p, picture); });
        PlayerSpeaks(shown.Clip);
    }
    show_->Now([this] { WaitGameOverClosed(); });
}

void PlayWin::PlayOpeningSound() {
    if (!game_->OpeningMusic || closing_) return;
    PlayClip(game_->AppDir / files::kOpeningSound);
}

}  // namespace kvt
