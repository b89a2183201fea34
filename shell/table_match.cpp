#include "shell/table_match.h"

#include "core/table_rules.h"
#include "match/record_replay.h"
#include "platform/qt_text.h"
#include "shell/play_win.h"
#include "shell/table_resume.h"

namespace kvt {

TableMatch::TableMatch(PlayWin& window, Game& game, MoveShows& shows)
    : window_(window), game_(game), driver_(game), computers_(game), building_(game, driver_, shows) {
    for (int seat = 2; seat <= 4; ++seat) driver_.SetSeat(seat, &computers_);
    driver_.SetMoveListener([this](const Move& move, const Events& events) {
        if (game_.IsComputer(move.seat)) computer_moved_ = true;
        GameRecord one;
        AddToRecord(one, move, events);
        Record(move, one.moves.front().scores);
    });
    step_.setSingleShot(true);
    step_.setInterval(0);
    connect(&step_, &QTimer::timeout, this, [this] { StepComputer(); });
}

bool TableMatch::ComputerOnTurn() const {
    const Decision asked = game_.Pending();
    return (asked == Decision::PlayOrDraw || asked == Decision::TakeFromHand) && game_.IsComputer(SeatToAct(game_.State()));
}

bool TableMatch::Stalled() const { return stalled_at_ && *stalled_at_ == game_.State(); }

bool TableMatch::GoesOn() const {
    const Decision asked = game_.Pending();
    return (ComputerOnTurn() && !Stalled()) || asking_ || asked == Decision::NameGroup ||
           (asked == Decision::AcknowledgeScore && sheet_awaits_ok_);
}

// The table waits for the human to lay, draw or take, with nothing picked.
bool TableMatch::HumanToPlay() const {
    const Decision asked = game_.Pending();
    return (asked == Decision::PlayOrDraw || asked == Decision::TakeFromHand) && !game_.IsComputer(SeatToAct(game_.State())) &&
           !window_.MoveRunning() && TableResume::AtRest(game_);
}

// A game record shown over the game is not the game: nothing is taken back in it.
bool TableMatch::CanUndo() const { return history_.CanUndo() && !window_.IsClosing() && !window_.Replaying() && !GoesOn(); }

bool TableMatch::CanRedo() const { return history_.CanRedo() && !window_.IsClosing() && !window_.Replaying() && !GoesOn(); }

bool TableMatch::Undo() {
    if (!CanUndo() || window_.MoveRunning() || !BringBack(history_.Undo())) return false;
    undo_used_ = true;
    recorded_ = history_.Tag();
    return true;
}

bool TableMatch::Redo() {
    if (!CanRedo() || window_.MoveRunning() || !BringBack(history_.Redo())) return false;
    recorded_ = history_.Tag();
    return true;
}

void TableMatch::Record(const Move& move, const std::optional<std::array<std::int16_t, 4>>& scores) {
    if (!record_started_) return;
    RecordedMove made{move, scores};
    // The move an undo took back, played again: the moves after it still hold.
    if (recorded_ < record_.moves.size() && record_.moves[recorded_] == made) {
        ++recorded_;
        return;
    }
    record_.moves.resize(recorded_);
    record_.moves.push_back(std::move(made));
    ++recorded_;
}

std::optional<GameRecord> TableMatch::RecordSoFar() const {
    if (!record_started_) return std::nullopt;
    GameRecord record = record_;
    record.moves.resize(recorded_);
    return record;
}

bool TableMatch::BringBack(const TableState* table) {
    if (!table) return false;
    window_.RunMove([this, table] {
        // A card picked meanwhile goes back first, out of the table's way.
        if (building_.Picking()) building_.PutBack();
        game_.State() = *table;
        window_.ShowTableBroughtBack();
    });
    return true;
}

void TableMatch::Continue() {
    // A game record shown over the game asks nothing; closing it goes on.
    if (window_.Replaying()) return;
    if (window_.IsClosing() || window_.MoveRunning() || game_.MoveInProgress()) {
        // Asked again once the table has shown what it is showing.
        window_.AfterShow();
        return;
    }
    const Decision asked = game_.Pending();
    ShowWhoActs(asked);
    // A new game's record starts with the table of its first deal, before the game is kept.
    if (fresh_deal_ && (new_game_next_ || !record_started_) &&
        (asked == Decision::PlayOrDraw || asked == Decision::TakeFromHand)) {
        record_ = GameRecord{};
        record_.start_table = WriteTableState(game_.State());
        record_.human_seat = 1;
        recorded_ = 0;
        record_started_ = true;
        new_game_next_ = false;
    }
    window_.KeepTableInProgress();
    if (asking_) return;
    switch (asked) {
    case Decision::AcknowledgeScore:
        ForgetMoves();
        if (game_.Winner > 0) new_game_next_ = true;
        // Only a round scored just now waits for OK; a table that could not
        // be dealt again stays as it is until a new game.
        if (!sheet_awaits_ok_) return;
        asking_ = window_.AwaitScoreSheetOk([this] {
            asking_ = false;
            sheet_awaits_ok_ = false;
            Answer(Move{MoveKind::Acknowledge, 1, -1, 0, {}});
        });
        return;
    case Decision::NameGroup:
        asking_ = window_.AskGroupWithoutWaiting([this](int card_index) {
            asking_ = false;
            Answer(Move{MoveKind::NameGroup, 1, static_cast<std::int16_t>(card_index), 0, {}});
        });
        return;
    default:
        break;
    }
    // The first look after a deal, before any computer moved.
    if (fresh_deal_) {
        dealt_ = game_.State();
        if (game_.RoundNum == 0) undo_used_ = false;
        fresh_deal_ = false;
    }
    if (HumanToPlay()) history_.Note(game_.State(), recorded_);
    if (!ComputerOnTurn() || Stalled()) return;
    stalled_at_.reset();
    step_.start();
}

// Between moves: the arrow points at a computer on turn; the picked-card
// box, the person's cue, shows when the person is to lay or draw and hides
// while a computer moves or the person takes; the picked card, the hold
// grid and the Discard button show the person's move being built (none
// once it is played or the table is dealt afresh); the prompt to take a card
// stands while the person is to take, and goes with the next computer's
// move or a new deal.
void TableMatch::ShowWhoActs(Decision asked) {
    const bool playing = asked == Decision::PlayOrDraw || asked == Decision::TakeFromHand;
    const bool computer = game_.IsComputer(game_.CurPlayer);
    window_.ShowArrowAt(playing && computer ? game_.CurPlayer : 0);
    if (playing) window_.SetPickedCardVisible(asked == Decision::PlayOrDraw && !computer);
    window_.ShowMoveBeingBuilt();
    if (asked == Decision::TakeFromHand && !computer) {
        window_.SetTakePrompt(game_.ChooseFromPlayer);
        window_.SetChooseMessageVisible(true);
    } else if (computer_moved_ || fresh_deal_) {
        window_.SetChooseMessageVisible(false);
    }
    computer_moved_ = false;
}

void TableMatch::StepComputer() {
    if (window_.Replaying()) return;
    if (window_.IsClosing() || window_.MoveRunning() || game_.MoveInProgress() || !ComputerOnTurn()) {
        window_.AfterShow();
        return;
    }
    // Seat 1 is asked only while the computer plays it.
    driver_.SetSeat(1, game_.IsComputer(1) ? &computers_ : nullptr);
    MatchDriver::Step step = MatchDriver::Step::Applied;
    window_.RunMove([this, &step] {
        Events events;
        step = driver_.Advance(events);
    });
    if (step == MatchDriver::Step::Applied) return;
    // Nothing the computer can do here (a table no game of these rules
    // reaches): the table waits for a new game instead of asking for ever.
    stalled_at_ = game_.State();
    if (step == MatchDriver::Step::Refused) window_.Report(PlayWin::tr("KVT"), ToQString(driver_.Refusal().message()));
}

void TableMatch::Answer(const Move& move) {
    MatchDriver::Step step = MatchDriver::Step::Applied;
    window_.RunMove([this, &move, &step] {
        Events events;
        step = driver_.Submit(move, events);
    });
    if (step == MatchDriver::Step::Refused) window_.Report(PlayWin::tr("KVT"), ToQString(driver_.Refusal().message()));
}

}  // namespace kvt
