#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/card_stack.h"
#include "core/event.h"
#include "core/random.h"
#include "core/status.h"
#include "core/table_rules.h"
#include "core/table_state.h"
#include "engine/card_set.h"
#include "engine/card_set_codec.h"
#include "engine/load_notices.h"
#include "engine/turn_outcome.h"
#include "engine/score_sheet.h"
#include "engine/player_record.h"
#include "platform/paths.h"
#include "platform/profile.h"

namespace kvt {

// One table: the game (the TableState it is), with the card set, the
// players, the settings and the working stacks of a Play being laid beside
// it. All rule operations are members; what they do is reported as events,
// and the loaders tell the table their notices (LoadNotices).
class Game : public TableState, public TableRules {
public:
    // A seed makes every shuffle of this game reproducible; without one the
    // generator is seeded once from the system.
    Game(Folders folders, LoadNotices& notices, std::optional<std::uint64_t> seed = std::nullopt);

    // The game itself, to copy, compare or write out.
    TableState& State() { return *this; }
    const TableState& State() const override { return *this; }

    // One move of the seat that must act (SeatToAct), as a match driver
    // plays it: only that move, never the computers' replies or the next
    // deal, and no question asked in the middle (a wild card of the human
    // leaves the group to name as the pending decision).
    Status Apply(const Move& move, Events& events) override;

    CardSetDef CardSet;
    bool SortCards = true;
    // The players' sound cues are chosen (they draw on the generator). The
    // table always chooses them, so that the course of a game never depends
    // on whether they are heard; the simulator does without.
    bool PlayerSounds = true;
    // The Player Sounds option: whether the cues' clips are played.
    bool PlayerSoundsHeard = true;
    bool OpeningMusic = true;
    bool CardViewer = false;
    std::int32_t GameSpeed = 0;
    // Every round starts from the working copy of the card set; the
    // simulator keeps it in memory instead.
    bool ReloadEachRound = true;
    bool ScoreViewOnly = false;

    // --- players: 1 is the human (only the name is used), 2..4 the opponents
    std::array<PlayerRec, 5> PlayerInfo;
    std::array<std::filesystem::path, 5> PlayerDir;  // opponents' working folders
    std::filesystem::path PreviewDir;                  // the opponent choice's preview folder
    std::array<std::string, 5> PlayerFile;             // chosen player files of seats 2..4

    // --- table-window state
    std::filesystem::path AppDir;
    std::string CardBitmapPath;
    std::string CardDefPath;
    CardStack ScratchStack;
    std::int16_t CardBackDef = 0;
    std::int16_t BackCellX = 0;
    std::int16_t BackCellY = 0;
    bool HasBackFile = false;
    std::string BackFilePath;
    bool FirstPaint = true;

    // --- rules: turns, card actions, computer players, scoring
    // State of the rules beyond the game.
    bool ComputerSeat1 = false;     // seat 1 is played by the computer too (simulation)
    std::int64_t GroupCardsAdded = 0;  // wild-card group cards laid: copies the rules add
    std::int64_t RefusedMoves = 0;     // moves refused because the target was full
    CardStack CompHeld;             // a computer's Discard card while it discards
    std::filesystem::path HumanDir;  // the human's pictures and clips; empty: SharedData/"player1"

    std::filesystem::path HumanFolder() const;
    std::filesystem::path PlayerFolder(int player) const;  // HumanFolder for 1, PlayerDir else
    bool IsComputer(int player) const { return player >= 2 ? player <= 4 : (player == 1 && ComputerSeat1); }

    // Playability and the hold grid.
    std::int16_t CheckPlayable(Card& card);
    static std::int16_t NeedsNoChoice(const Card& card);
    static std::int16_t GivesCardsAway(const Card& card);
    // What the hold grid asks of a card the human picked (`drawn`: the card
    // just drawn) that fits or not, with `left` cards left in the hand
    // besides it: whether the grid opens, and how many cards to choose in it.
    struct HoldAsk {
        bool opens = false;
        int cards = 0;
    };
    static HoldAsk HoldFor(const Card& card, bool fits, bool drawn, int left);
    // How many cards the human chooses to lay hand slot `slot` (0 for a card
    // that does not fit or asks for none).
    int CardsToChoose(int slot) const;

    // While a move runs, while a finished round waits for its score sheet,
    // or when the computer plays seat 1, the human can do nothing.
    bool HumanLocked() const;

    // Card actions.
    std::int16_t TransferRandomCards(int target, int kind, int count);
    static std::int16_t SourcePlayer(int player, int action);
    std::vector<GroupChoice> WildGroupChoices() const;
    std::int16_t ChooseWildGroup(const CardStack& hand) const;

    // Computer players.
    // After the human's move: the table turns to the computers, which a
    // match driver then asks one move at a time (and back to the human at
    // once when it is on turn again).
    void HandOverToComputers();
    TurnOutcome PlayComputerTurn();
    // The same, handing what happened to `events` (cleared first).
    TurnOutcome PlayComputerTurn(Events& events);
    // The turn of the computer on turn with the card its chooser picked
    // (slot -1: nothing fits, so it draws until something does, or passes).
    TurnOutcome PlayComputerTurnWith(int slot);
    std::int16_t ChooseCompCard(CardStack& hand, int mode);
    void MarkPlayableCards(CardStack& hand);
    std::int16_t ScoreValue(const Card& card);
    double ScoreMatch(const Card& card, const CardStack& hand);
    static std::int16_t ScoreBonus(const Card& card);
    std::int16_t MaxOtherHand() const;
    std::int16_t CompPlayDiscardCard(int player, int slot);
    bool AnimateCompDiscard(int player, int slot, bool with_action);

    // Drawing and taking.
    int DrawCard(CardStack& hand, int player, bool human_click);
    std::int16_t TakeCards(int taker, int action, int count);
    // A hand is empty, or four players in a row could neither play nor draw.
    bool RoundIsOver() const;

    // Player sounds: whether the player speaks, told as a SoundCue event
    // that the window plays (VoiceClip). player 0 picks a random opponent
    // and is written back.
    bool PlayPlayerSound(int event, bool chance_test, int& player);
    // The wave file of a SoundCue: the player's clip of that kind and
    // variant, found whatever the case of its name; empty for any other event.
    std::filesystem::path VoiceClip(const Event& cue) const;

    // Scoring and the end of a round or a game.
    RoundResult RoundOver(FirstDiscardRule rule);
    RoundResult RoundOver(FirstDiscardRule rule, Events& events);  // events cleared first
    // A round that ended, in two halves: counted with its sheet opened (and
    // the game-over presentation), then, after the sheet's OK, the next deal.
    RoundResult ScoreRound();
    void DealAfterScore(FirstDiscardRule rule);
    bool CountRound();  // the sheet's activation: counts the round; true when the game ended
    void ScoreSheetOk();
    // The score sheet of a table's rows, headed by the players' names.
    ScoreSheet SheetOf(const ScoreRows& rows) const;
    ScoreSheet Sheet() const { return SheetOf(SheetRows); }
    // The sheet looked at between moves, as it was read (a winner above 0
    // blinks); its OK has moved the starting seat on.
    struct SheetRead {
        ScoreRows rows;
        int winner = 0;
    };
    SheetRead ViewScore();
    void ClearScoreSheet();

    // True while a rule operation that moves cards runs: the window refuses
    // game-changing commands meanwhile.
    bool MoveInProgress() const { return move_depth_ > 0; }
    // The cards of the human's Play on their way from the hand (none between moves).
    int CardsBeingLaid() const { return PickStack.Count() + HoldStack.Count(); }
    // The cards of that Play in the hold grid.
    const CardStack& HoldGridCards() const { return HoldStack; }

    // Hears every event the rules report, the moment it is reported, also
    // those an operation hands back to its caller.
    void SetEventListener(std::function<void(const Event&)> listener);

    const Folders& GetFolders() const { return folders_; }
    Profile& Settings() { return settings_; }
    LoadNotices& Notices() { return notices_; }
    Random& Rng() { return Generator; }

    // --- moving cards
    // Moves slot `slot` of `from` to the top of `to`. With do_action the card's
    // action runs and the result is the next player (or -1: a hand ran out);
    // otherwise 0. An empty source, a missing slot or a full target move nothing.
    std::int16_t MoveCard(CardStack& from, CardStack& to, int slot, bool do_action);
    // Draws slot 0 of the deck into `hand`, first rebuilding an empty deck
    // from all but the top card of the discard pile.
    void DrawFromDeck(CardStack& hand);
    std::int16_t ApplyCardAction(Card& card);

    // --- building and dealing
    void ResetHands();
    void BuildDeck(const CardSetDef& set);
    void ShuffleStack(CardStack& stack);
    void DealHands();  // from DrawDeck
    void TurnUpFirstCard(FirstDiscardRule rule);

    // --- the four dealing sequences
    void NewGame();
    // A game dealt as the simulator deals each one, and a game record's
    // replay after it: from `fresh` (the table as set up, before any deal),
    // with the generator started from `seed`.
    void DealFromSeed(const TableState& fresh, std::uint64_t seed);
    void DealForPlayers();
    Status LoadCardSetCommand(const std::filesystem::path& card_set);
    Status NextRound(FirstDiscardRule rule);

    // --- card-set files
    // Validates the whole file, then replaces the working files and CardSet.
    // On failure nothing is changed and the message names the file.
    Status LoadCardSetFile(const std::filesystem::path& card_set);
    // Brings CardSet back from the working copy (or the shipped default card
    // set) and builds a fresh deck from it.
    Status ReloadCardSet();
    // The same for a round about to be dealt, which goes on whatever
    // happens: the table is told what went wrong.
    Status ReloadForRound();
    // Shows the first card-back definition on the draw deck; its index, or 0.
    std::int16_t FindCardBack();

    // True while any hand or pile holds cards.
    bool TableInPlay() const;

    // --- player files
    // Validates the whole file, then unpacks it into a fresh folder that
    // replaces PlayerDir[player] (2..4) and fills PlayerInfo[player]. On
    // failure the seat keeps its previous opponent; the message names the file.
    Status ExtractPlayer(const std::filesystem::path& file, int player);
    // Reads only the header into PlayerInfo[player]; the working folder is untouched.
    Status ReadPlayerHeader(const std::filesystem::path& file, int player);
    // Seats the computers of a simulated game from their files' headers:
    // seat 1 from `seat1`, or the built-in computer when it is empty, and
    // seats 2..4 from `opponents` (one left empty seats a player without traits).
    Status SeatComputers(const std::filesystem::path& seat1, const std::array<std::filesystem::path, 3>& opponents);
    // Reads the remembered choice into PlayerFile[2..4] and each header; a seat
    // whose file fails keeps an empty name. The failure lists every such seat.
    // Dealing is the caller's (DealForPlayers).
    Status LoadPlayers();
    // Writes the picture and the "Sel1.wav" clip of a file into PreviewDir.
    Status PreviewPlayer(const std::filesystem::path& file);
    Status EnsurePlayerFolders();
    Status SavePlayerChoice();
    // Whether every seat's remembered path has at least 2 characters.
    bool RememberedPlayersComplete() const;

private:
    void PrepareTableForFirstTurn();
    Status WriteWorkingFiles(const CardSetLayout& layout, int source_fd);

    Folders folders_;
    LoadNotices& notices_;
    Profile settings_;

    // --- rules
    friend class MoveScope;
    bool MoveChecked(CardStack& from, CardStack& to, int slot);
    void PlaceGroupCard(int player);
    void ClearPickState();

    // --- the human's Play while it is laid: the picked card and the cards
    // chosen for it leave the hand for the picked-card box and the hold grid
    // (empty between moves), shown as the window showed them while the move
    // was built, then go where the card sends them.
    bool PickToLay(int slot, bool drawn);
    bool ChooseToLay(int slot);
    bool LayPicked();
    // The first card of the hold grid back to its slot of the hand.
    bool ReturnHeldToHand();
    void ForgetHeldSlot(int index);
    CardStack HoldStack;
    CardStack PickStack;
    // The slots of the whole hand that the picked card and the held cards
    // came from (HoldOrigins parallel to HoldStack).
    std::int16_t PickOrigin = -1;
    std::vector<std::int16_t> HoldOrigins;
    std::int16_t HoldNeeded = 0;
    // The picked card asks for cards to be chosen; the Play is complete
    // and may be laid.
    bool PickAsksForCards = false;
    bool PickComplete = false;

    TurnOutcome PassTurn(int player);
    TurnOutcome PlayComputerMove(int slot);
    // Before the computers' part of the table's turn: a comment by one of them.
    void BeginComputerRun();
    void AfterHumanPlay();
    Status DrawForHuman();
    Status PassForHuman();
    bool TakeFrom(int player, int slot);
    void LayGroupCard(int player, int def_index);
    Status ApplyComputerMove(const Move& move);
    Status ApplyHumanMove(const Move& move);
    Status ApplyHumanPlay(const Move& move);
    void AcknowledgeScore();
    bool HandsGotSmaller();
    void FinishHumanRound();
    // Where the rules report what happens; none while nobody listens. The
    // event is made in place at the end of the list (no copy of a whole
    // event per move) and `fill` completes it. A listener hears it at once,
    // while the table is as the event left it.
    template <typename Fill>
    void Emit(EventKind kind, int seat, int number, Fill&& fill) {
        if (!events_) return;
        Event& e = events_->emplace_back();
        e.kind = kind;
        e.seat = static_cast<std::int16_t>(seat);
        e.number = static_cast<std::int16_t>(number);
        fill(e);
        if (listener_) Hear(e);
    }
    void Emit(EventKind kind, int seat = 0, int number = 0) {
        Emit(kind, seat, number, [](Event&) {});
    }
    void EmitMove(EventKind kind, const Card& card, const CardStack& from, const CardStack& to, int slot) {
        Emit(kind, 0, slot, [&](Event& e) {
            e.card = card;
            e.from = SpotOf(from);
            e.to = SpotOf(to);
            if (&from == &DrawDeck && kind == EventKind::CardMoved) e.variant = draw_mark_;
        });
    }
    Spot SpotOf(const CardStack& stack) const {
        // Hands first: nearly every move starts or ends in one.
        const std::less_equal<const CardStack*> before_or_at;
        if (before_or_at(&Players[1], &stack) && before_or_at(&stack, &Players[4]))
            return {Place::Hand, static_cast<std::int8_t>(&stack - Players.data())};
        return SpotOfOther(stack);
    }
    Spot SpotOfOther(const CardStack& stack) const;
    Events* events_ = nullptr;
    // With only a listener, where the rules report what it hears.
    Events heard_;
    void Hear(const Event& event);
    // Runs a rule operation that reports into `events`.
    template <typename Run>
    auto ReportInto(Events& events, Run&& run) {
        Events* const outer = std::exchange(events_, &events);
        auto result = run();  // called once, so that it is inlined
        events_ = outer;
        return result;
    }
    std::function<void(const Event&)> listener_;
    int move_depth_ = 0;
    bool applying_ = false;  // inside Apply: its move is the caller's to report
    int drawn_slot_ = -1;    // the hand slot of the card the human's last move drew
    // How the card a player draws is marked while DrawCard draws it (Event::variant).
    std::int16_t draw_mark_ = 0;
    // The deck BuildDeck made last and the definitions it made it from:
    // every round builds the same deck from the same card set.
    std::array<Card, kCardDefCount> built_from_{};
    CardStack built_deck_;
    bool deck_built_ = false;
};

}  // namespace kvt
