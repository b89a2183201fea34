// A game record shown move by move over the game in progress.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <functional>

#include "hand/hand_view.h"
#include "platform/qt_text.h"
#include "shell/play_win.h"
#include "shell/record_table.h"
#include "shell/replay_bar.h"
#include "shell/table_keys.h"
#include "shell/table_match.h"
#include "core/table_rules.h"

namespace kvt {

namespace {

// The table keeps its size: the window grows or shrinks by the replay bar.
void KeepingTableSize(QMainWindow& window, QWidget& table, const std::function<void()>& change) {
    const int table_height = table.height();
    change();
    if (window.isMaximized() || window.isFullScreen()) return;
    // The bar's own size settles only once it is laid out: a second step brings the table back.
    for (int step = 0; step < 3; ++step) {
        if (window.layout()) window.layout()->activate();
        if (table.height() == table_height) return;
        window.resize(window.width(), window.height() + table_height - table.height());
    }
}

// A hand played out at the end of a record is hidden; the next table shown has its cards again.
void ShowEveryHandHeld(HandView& hands, const TableState& table) {
    for (int seat = 1; seat <= 4; ++seat) hands.SetHandVisible(seat, !table.Players[static_cast<std::size_t>(seat)].Empty());
}

std::optional<std::filesystem::path> AskGameRecordFile(QWidget* parent) {
    const QString file = QFileDialog::getOpenFileName(parent, PlayWin::tr("Open Game Record"), QDir::homePath(),
                                                      PlayWin::tr("KVT Game Records (*.kvtgame);;All Files (*)"));
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

}  // namespace

void PlayWin::OpenGameRecordCommand(std::optional<std::filesystem::path> file) {
    WhenNoMoveRuns([this, file] {
        const std::optional<std::filesystem::path> source = file ? file : AskGameRecordFile(this);
        if (!source) return;
        RecordSources sources;
        sources.shared = game_->GetFolders().SharedData;
        if (!card_set_source_.empty()) sources.card_sets.push_back(card_set_source_);
        for (int seat = 2; seat <= 4; ++seat)
            if (!game_->PlayerFile[seat].empty()) sources.players.emplace_back(game_->PlayerFile[seat]);
        std::unique_ptr<RecordTable> opened;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const Status read = RecordTable::Open(*source, game_->CardSet, sources, opened);
        QApplication::restoreOverrideCursor();
        if (!read) {
            Report(tr("Open Game Record"), ToQString(read.message()));
            return;
        }
        if (!replay_) {
            // A card picked meanwhile goes back first, out of the record's way.
            if (Building().Picking()) Building().PutBack();
            replay_over_ = game_->State();
            replay_players_ = game_->PlayerInfo;
        }
        replay_ = std::move(opened);
        if (!replay_bar_) {
            replay_bar_ = new ReplayBar(this);
            addToolBar(Qt::BottomToolBarArea, replay_bar_);
            replay_bar_->SetHandlers([this](std::size_t step) { ShowReplayStep(step); }, [this] { CloseReplay(); });
        }
        if (!replay_bar_->isVisible()) KeepingTableSize(*this, *Table(), [this] { replay_bar_->show(); });
        SyncUndoEntries();
        if (QAction* entry = MenuEntry("MM_VIEW_SCORE")) entry->setEnabled(false);
        ShowReplayStep(0);
        statusBar()->showMessage(tr("Showing the game record \"%1\".").arg(PathText(source->filename())), 6000);
    });
}

void PlayWin::ShowReplayStep(std::size_t step) {
    if (!replay_ || closing_) return;
    step = std::min(step, replay_->Moves());
    TableState before;
    TableState table;
    if (const Status shown = replay_->TableAt(step, table, &before); !shown) {
        Report(tr("Open Game Record"), ToQString(shown.message()));
        return;
    }
    replay_step_ = step;
    game_->State() = table;
    for (int seat = 1; seat <= 4; ++seat) game_->PlayerInfo[static_cast<std::size_t>(seat)].Name = replay_->Name(seat);
    // A computer's cards are seen once the game is over; the person's own, in
    // a record of the table's game, all along.
    hands_->ShowRecordedHands(table.Winner > 0, replay_->Record().human_seat);
    ShowEveryHandHeld(*hands_, table);
    ShowTableBroughtBack();
    SetChooseMessageVisible(false);
    // Whose turn it is after the move, as the table shows it in play.
    if (const int seat = SeatToAct(table); !table.RoundEnded && seat >= 2 && seat <= 4) SetSeatArrowVisible(seat, true);
    replay_bar_->ShowStep(step, replay_->Moves(), ReplayStepText(step, before));
}

QString PlayWin::ReplayStepText(std::size_t step, const TableState& before) const {
    const std::size_t moves = replay_->Moves();
    if (step == 0) return tr("Move 0 of %1:\nthe table as dealt").arg(moves);
    const Move& move = replay_->Record().moves[step - 1].move;
    const auto name = [this](int seat) {
        const QString text = ToQString(replay_->Name(seat)).trimmed();
        return text.isEmpty() ? tr("Player %1").arg(seat) : text;
    };
    const QString who = name(move.seat);
    QString what;
    switch (move.kind) {
    case MoveKind::Play: {
        // A card laid is seen by everyone; the hand it came from is not.
        const CardStack& hand = before.Players[static_cast<std::size_t>(std::clamp<int>(move.seat, 1, 4))];
        what = move.slot >= 0 && move.slot < hand.Count() ? tr("%1 plays %2").arg(who, SpokenCard(hand[move.slot], false))
                                                          : tr("%1 plays").arg(who);
        break;
    }
    case MoveKind::Draw: what = tr("%1 draws").arg(who); break;
    case MoveKind::Take: what = tr("%1 takes a card from %2").arg(who, name(std::clamp<int>(move.from_seat, 1, 4))); break;
    case MoveKind::NameGroup: what = tr("%1 names a group").arg(who); break;
    case MoveKind::Pass: what = tr("%1 passes").arg(who); break;
    case MoveKind::Acknowledge: what = tr("The score is taken; the next round is dealt"); break;
    case MoveKind::ViewScore: what = tr("%1 looks at the score sheet").arg(who); break;
    }
    QString text = tr("Move %1 of %2:\n%3").arg(step).arg(moves).arg(what);
    if (game_->Winner >= 1 && game_->Winner <= 4) text += tr("; %1 wins the game").arg(name(game_->Winner));
    return text;
}

void PlayWin::PutBackGameInProgress() {
    if (!replay_) return;
    replay_.reset();
    replay_step_ = 0;
    game_->State() = replay_over_;
    game_->PlayerInfo = replay_players_;
    hands_->ShowRecordedHands(std::nullopt);
    if (replay_bar_ && replay_bar_->isVisible()) KeepingTableSize(*this, *Table(), [this] { replay_bar_->Stop(); });
    if (QAction* entry = MenuEntry("MM_VIEW_SCORE")) entry->setEnabled(true);
}

void PlayWin::CloseReplay() {
    if (!replay_) return;
    PutBackGameInProgress();
    if (closing_) return;
    ShowEveryHandHeld(*hands_, game_->State());
    ShowTableBroughtBack();
    // The game goes on where it was: the computers' turn or the human's.
    match_->Continue();
    SyncUndoEntries();
}

}  // namespace kvt
