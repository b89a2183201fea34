// The statistics: the database opened at start, each round scored recorded,
// and the window of the Score menu.
#include <QStatusBar>

#include "dialogs/statistics_frm.h"
#include "platform/plain_text.h"
#include "platform/qt_text.h"
#include "platform/statistics_store.h"
#include "shell/play_win.h"
#include "shell/table_match.h"
#include "shell/table_resume.h"

namespace kvt {
namespace {

// Titles and names are kept in fixed-size fields, padded.
std::string Trimmed(const std::string& text) {
    const std::size_t end = text.find_last_not_of(std::string(" \t\0", 3));
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

ScoredRound RoundAsScored(const Game& game, bool undo_used) {
    ScoredRound round;
    round.identity.card_set_title = Trimmed(game.CardSet.GameTitle);
    round.identity.card_set_hash = CardSetIdentity(game);
    for (std::size_t p = 1; p <= 4; ++p) {
        round.identity.names[p - 1] = Trimmed(game.PlayerInfo[p].Name);
        round.identity.player_hashes[p - 1] = PlayerIdentity(game.PlayerInfo[p]);
        round.totals[p - 1] = game.Scores[p];
        // The hands are still as the round left them: their cards are the points.
        for (const Card& card : game.Players[p]) round.points[p - 1] += card.Value;
    }
    round.winner = game.Winner;
    round.undo_used = undo_used;
    return round;
}

}  // namespace

StatisticsStore* PlayWin::Statistics() {
    if (!statistics_ && !closing_) OpenStatistics();
    return statistics_.get();
}

void PlayWin::OpenStatistics() {
    statistics_ = std::make_unique<StatisticsStore>(options_.folders.AppDir / "statistics.sqlite");
    std::string why;
    const StatisticsStore::Opened opened = statistics_->Open(why);
    // A game of the last run that does not go on now is over unfinished.
    if (opened != StatisticsStore::Opened::kUnusable && !resumed_) (void)statistics_->AbandonGame();
    switch (opened) {
    case StatisticsStore::Opened::kReady:
        return;
    case StatisticsStore::Opened::kSetAside:
        Report(tr("KVT"), tr("The statistics in \"%1\" cannot be read: %2. They were set aside as \"%3\"; new statistics are kept.")
                              .arg(PathText(statistics_->File()), ToQString(why),
                                   PathText(statistics_->File()) + QStringLiteral(".set-aside")));
        return;
    case StatisticsStore::Opened::kUnusable:
        // The table goes on without them, said once in the status bar.
        statistics_failed_ = true;
        statusBar()->showMessage(tr("The statistics in \"%1\" cannot be kept: %2").arg(PathText(statistics_->File()), ToQString(why)),
                                 10000);
        return;
    }
}

void PlayWin::StartingAfresh() {
    match_->NewGameDealt();
    // The game left behind counts as not finished, in no figure.
    if (StatisticsStore* store = Statistics(); store && store->Usable()) (void)store->AbandonGame();
}

void PlayWin::RecordRoundInStatistics() {
    if (replay_ || !Statistics() || !statistics_->Usable()) return;
    const Status recorded = statistics_->RecordRound(RoundAsScored(*game_, match_->UndoUsed()));
    if (!recorded && !statistics_failed_)
        statusBar()->showMessage(tr("The statistics in \"%1\" cannot be written: %2")
                                     .arg(PathText(statistics_->File()), ToQString(recorded.message())),
                                 10000);
    statistics_failed_ = !recorded;
    if (statistics_frm_ && statistics_frm_->isVisible()) statistics_frm_->Refresh();
}

void PlayWin::StatisticsCommand() {
    if (!Statistics()) return;
    if (!statistics_->Usable()) {
        Report(tr("Statistics"), tr("The statistics in \"%1\" cannot be kept in this run.").arg(PathText(statistics_->File())));
        return;
    }
    if (!statistics_frm_) {
        statistics_frm_ = new StatisticsFrm(*statistics_, [this] {
            PlainMessageBox ask(QMessageBox::Question, tr("Reset Statistics"),
                                tr("All games and rounds recorded so far are deleted. Reset the statistics?"),
                                QMessageBox::Yes | QMessageBox::No, statistics_frm_);
            ask.setDefaultButton(QMessageBox::No);
            return ask.exec() == QMessageBox::Yes;
        }, this);
    }
    statistics_frm_->Refresh();
    statistics_frm_->show();
    statistics_frm_->raise();
    statistics_frm_->activateWindow();
}

}  // namespace kvt
