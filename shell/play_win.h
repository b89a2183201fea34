#pragma once

#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "engine/game.h"
#include "engine/load_notices.h"
#include "hand/event_shows.h"
#include "hand/move_shows.h"
#include "shell/record_table.h"
#include "platform/paths.h"
#include "platform/picture_clip.h"

class QAction;
class QLabel;
class QProgressBar;
class QTimer;

namespace kvt {

class CardFlights;
class DirectionPicture;
class HandView;
struct PilesShown;
class SeatArrow;
class ShowQueue;
class SoundOutput;
class TableMatch;
class TableResume;
class TableShow;
class TableArea;
class TableKeys;
class TableGeometry;
class TurnGlow;
class MoveLog;
class CardViewFrm;
class GameOverFrm;
class PlayerSel;
class RecordTable;
class ReplayBar;
class ScoreFrm;
class StatisticsFrm;
class StatisticsStore;

// A click of the human on the table, with the cell the grid made current.
struct TableClick {
    enum class Place {
        kHand,           // a hand grid; player 1..4
        kHoldGrid,       // the hold grid
        kDrawDeck,       // the draw deck
        kPickedCard,     // the picked card
        kDiscardButton,  // the Discard button
    };
    Place place = Place::kHand;
    int player = 0;
    int col = 0;
    int row = 0;
};

// The game's generator seed from KVT_SEED, when that holds a number.
std::optional<std::uint64_t> SeedFromEnvironment();

// The table window. It owns the game, shows what the game asks through the
// table view, and hands the human's clicks back. Closing it ends the program
// and is always honoured: a running flight or clip returns at once and
// IsClosing() tells the rules to stop at their next safe point.
//
// The window must outlive every move it runs; close it, never delete it
// while a handler of its own is still on the stack.
class MoveBeingBuilt;

class PlayWin : public QMainWindow, public LoadNotices, public MoveShows, private EventShows {
    Q_OBJECT

public:
    struct Options {
        Folders folders = DefaultFolders();
        // A card set named on the command line.
        std::optional<std::filesystem::path> card_set;
        // Without a seed, KVT_SEED is used when set, else the system's.
        std::optional<std::uint64_t> seed;
        // Without a name, KVT_PLAYER_NAME is used when set, else the name is asked.
        std::optional<QString> player_name;
        // Whether start-up opens the opponent choice when no opponents are
        // remembered. Without a value: only when the name was asked.
        std::optional<bool> choose_players;
        // The game designer Define Cards starts; without one, kvx beside the program.
        std::optional<std::filesystem::path> designer;
        // A player file named on the command line: the opponent choice opens showing it.
        std::optional<std::filesystem::path> player_file;
        // A shared deal named on the command line: dealt once the table is up.
        std::optional<std::filesystem::path> deal;
        // A game record named on the command line: shown once the table is up.
        std::optional<std::filesystem::path> game_record;
    };

    explicit PlayWin(Options options, QWidget* parent = nullptr);
    ~PlayWin() override;

    // Start-up: settings, the human's name, the card set in force, the
    // table's layout, the first deal and the background. False when the
    // human cancelled the name: the program ends.
    bool Start();

    Game& GameState() { return *game_; }
    // The human's move as the clicks and keys build it.
    MoveBeingBuilt& Building();
    // The loaders' and the move being built's calls as steps of the show.
    MoveShows& Queued();
    const MoveBeingBuilt& Building() const;
    HandView& Hands() { return *hands_; }
    TableKeys* Keys() const { return keys_; }
    MoveLog* Log() const { return move_log_; }
    CardFlights& Flights() { return *flights_; }
    SoundOutput& Sound() { return *sound_; }
    const PictureClip& CardClip() const { return clip_; }
    QWidget* Table() const;
    QAction* MenuEntry(const QString& name) const;
    QLabel* NameLabel(int player) const { return name_labels_.at(static_cast<std::size_t>(player)); }
    SeatArrow* PlayerPtr(int seat) const { return seat_arrows_.at(static_cast<std::size_t>(seat)); }
    DirectionPicture* PlayDirect(int index) const { return play_direct_.at(static_cast<std::size_t>(index)); }
    QLabel* ChooseMsgLbl() const { return choose_msg_; }
    // The hint beside the hold grid: how many cards to choose and where they go.
    QLabel* HoldHintLbl() const { return hold_hint_; }
    // The light round the human's hand on the human's turn.
    TurnGlow* TurnMark() const { return turn_glow_; }
    // Where everything goes at the table's size now.
    const TableGeometry& Geometry() const;
    // The hint's text for the game as it stands; empty while the hold grid is closed.
    QString HoldHint() const;
    // Shows whose turn it is and the hold grid's hint as the game stands.
    void ShowGuidance();

    // --- the table view
    void ShowHand(const CardStack& stack, int grid) override;
    void SetHandVisible(int player, bool visible);
    void ShowDiscardTop();
    void ShowPiles(const PilesShown& piles);
    void ShowCardBack(const Card& back_definition) override;
    void LoadCardBitmap(const std::string& path) override;
    std::string CardBitmapFault(std::uint64_t size, const BitmapReader& read) override;
    void BackgroundArriving(std::uint64_t size, const BitmapReader& read) override;
    void PicturesInForce() override;
    void SetUpBackground() override;
    // The seat arrows of players 2..4 beside their grids as they are drawn.
    void PlaceSeatArrows();
    void SetSeatArrowVisible(int seat, bool visible);
    // The arrow of `seat` shown and the others hidden; seat 1 or 0 hides them all.
    void ShowArrowAt(int seat);
    void SetChooseMessageVisible(bool visible);
    void SetHoldGridVisible(bool visible) override;
    void ClearPickedCard() override;
    // The shuffle notice, shown as the table plays a shuffle of the deck.
    void ShowShuffling();
    void HideShuffling();
    void ShowLoading() override;
    void SetLoadingGauge(int value, int maximum) override;
    void HideLoading() override;
    void ShowPlayerWait() override;
    void HidePlayerWait() override;
    void CloseBackgroundSound() override;

    // --- the rules' calls: picked card, prompt, direction, the held card
    void SetDirectionPicture(int reversed);
    // The choose message's words: take a card from `giver`'s hand.
    void SetTakePrompt(int giver);
    void ShowPickedCard(const Card& card) override;
    void SetPickedCardVisible(bool visible);
    void SetDiscardButtonVisible(bool visible) override;
    void ShowHoldCard(int player, const Card& card);
    void ShowLoadProblem(const std::string& text) override;
    void ShowNothingToDraw(int player, bool passed) override;

    // --- the dialogs the rules open
    // A round's sheet, open until it is to be read.
    void OpenScoreSheet(const ScoreRows& rows, int winner);
    // The sheet to be read and closed (Score > View Score), without waiting:
    // `done` once it has been closed.
    void ShowScoreSheetThen(const ScoreRows& rows, int winner, const std::function<void()>& done);
    void ShowGameOver(int winner);
    void ShowGameOverPicture(int player, const std::filesystem::path& picture);
    void WaitGameOverClosed();

    // --- the match's questions to the human, answered later: each opens
    // its window without waiting and calls back once with the answer. False
    // when nothing was opened (the window is closing, or the game-over
    // window still stands over the score sheet: its Exit asks again).
    bool AwaitScoreSheetOk(std::function<void()> ok);
    bool AskGroupWithoutWaiting(std::function<void(int card_index)> chosen);
    TableMatch& Match() { return *match_; }
    // Keeps the game in progress for the next start, between moves.
    void KeepTableInProgress();
    // A table Undo or Redo brought back, drawn whole with its prompt.
    void ShowTableBroughtBack();
    void UndoCommand();
    void RedoCommand();

    // --- card flights, played from the show queue: one pause of the
    // animation timer each (the draw flight: five short steps), then `done`.
    // When the window closes during a flight the pause ends at once.
    using Done = std::function<void()>;
    // From the hold grid (from_place 0, the card's face) or a hand (1..4, a
    // card back) to the hand of to_player.
    void FlyCardMove(int to_player, int from_place, const Card& card, const Done& done);
    // A computer player's card, face up, from its hand to the pile.
    void FlyCompDiscard(int player, const Card& card, const Done& done);
    // One of the human's chosen discards, from the hold grid to the pile.
    void FlyHoldDiscard(const Card& card, const Done& done);
    // The picked card from its box to the pile, which then shows it.
    void FlyPickedCard(const Card& card, const Done& done);
    // A card back from the deck to a hand in five steps (to the picked-card
    // box for the human's own draw).
    void FlyDraw(int player, bool to_picked_card, const Done& done);
    // What the rules show, played in order; busy while a flight or clip lasts.
    ShowQueue& Show() { return *show_; }
    // The animation timer's interval; the game speed sets it.
    void SetAnimationInterval(int ms);
    int AnimationInterval() const;

    // --- sound
    // Plays a clip while the window goes on; silent without a device or a
    // readable file. PlayClipThen calls `done` when the clip has ended.
    void PlayClip(const std::filesystem::path& wave_file);
    void PlayClipThen(const std::filesystem::path& wave_file, const Done& done);
    void PlayOpeningSound();

    // Shows the picked card of the move being built, or a blank box.
    void ShowPickedStack();
    // The picked card, the hold grid and the Discard button as the move
    // being built has them.
    void ShowMoveBeingBuilt();
    // Puts the players' names beside their hands.
    void PlaceNameLabels();
    // Redraws every hand and pile from the game.
    void RedrawTable();

    // --- background
    enum class Background { kPicture, kTiles, kPlain };
    Background BackgroundKind() const { return background_; }
    // A background bitmap left by the card set of an earlier run.
    void CheckForPrevBackGround();
    // 1 with a background bitmap; else the index of the background cell, or 0.
    int FindBackgroundCell();
    void PaintBackground(QPainter& painter, const QRect& area);

    // --- commands
    void NewGameCommand();
    // Without a path the file dialog asks for one.
    void LoadCardSetCommand(std::optional<std::filesystem::path> card_set = std::nullopt);
    void ToggleSortCards();
    void TogglePlayerSounds();
    void ToggleOpeningMusic();
    void ToggleCardViewer();
    void DefineCardsCommand();
    // A deal to share, and a shared deal dealt as a new game; without a path
    // the file dialog asks for one.
    void ShareDealCommand(std::optional<std::filesystem::path> file = std::nullopt);
    void OpenDealCommand(std::optional<std::filesystem::path> file = std::nullopt);
    // A game record shown move by move over the game in progress, which
    // comes back as it was when the replay closes; without a path the file
    // dialog asks for one. While it is shown nothing acts on the game: no
    // clicks, no computer moves, no Undo, no statistics, no saving.
    void OpenGameRecordCommand(std::optional<std::filesystem::path> file = std::nullopt);
    // Writes the record of the game in progress (asks where without a file).
    void SaveGameRecordCommand(std::optional<std::filesystem::path> file = std::nullopt);
    Status WriteGameRecord(const std::filesystem::path& target);
    // The card set file of the cards in force: the one loaded in this run,
    // the one remembered from the last load or a shipped one, whichever
    // holds these cards, with its hash; none when no file at hand does.
    std::optional<CardSetFound> CardSetFileInForce() const;
    // The record of the game in progress, kept beside the table kept for the
    // next start, and taken up with it.
    std::filesystem::path RecordInProgressFile() const;
    void KeepRecordInProgress();
    void TakeUpRecordInProgress();
    bool Replaying() const { return replay_ != nullptr; }
    // The record after `step` moves (0: as dealt).
    void ShowReplayStep(std::size_t step);
    std::size_t ReplayStep() const { return replay_step_; }
    // The game in progress back on the table; nothing without a replay.
    void CloseReplay();
    ReplayBar* ReplayControls() const { return replay_bar_; }
    // Where Load Card Set's file dialog starts: the folder of the card set
    // loaded in this run, else the shipped card sets' folder.
    QString CardSetFolder() const;
    // Shows the opponent choice without blocking the table.
    void ChoosePlayersCommand();
    void GameSpeedCommand();
    void ViewScoreCommand();
    void AboutCommand();
    void CurrentGameCommand();
    // Opens the statistics window, or brings it to the front.
    void StatisticsCommand();
    // The round the rules have just scored, recorded when it is scored
    // (not when its sheet is shown), so a close meanwhile cannot lose it.
    void RecordRoundInStatistics();
    // Opens a page of the help (a file name of the help folder).
    void OpenHelp(const QString& topic);

    // The side windows, once they have been opened.
    PlayerSel* PlayerSelWindow() const { return player_sel_; }
    ScoreFrm* ScoreWindow() const { return score_frm_; }
    GameOverFrm* GameOverWindow() const { return game_over_; }
    CardViewFrm* CardViewer() const { return card_view_; }
    StatisticsFrm* StatisticsWindow() const { return statistics_frm_; }
    // Null when the statistics cannot be kept in this run.
    // Opened on first use, or just after the table's first paint.
    StatisticsStore* Statistics();
    // True from a start-up without opponents until they have been chosen or
    // a table has been dealt all the same (New Game, Load Card Set).
    bool AwaitingPlayers() const { return awaiting_players_; }

    // --- the human's clicks
    using ClickHandler = std::function<void(PlayWin&, const TableClick&)>;
    // What a click asks of the game; runs as a move.
    void SetClickHandler(ClickHandler handler) { click_handler_ = std::move(handler); }
    void HandleClick(const TableClick& click);
    // Runs a move: commands that would change the game meanwhile wait until
    // it has finished.
    void RunMove(const std::function<void()>& move);
    // A move runs or its show still plays.
    bool MoveRunning() const;
    // While the show plays: the end of the move (the table's next question,
    // the computers' next move, commands that waited) follows it.
    void AfterShow();
    // A move runs, or the computers are still to move: commands wait.
    bool TableBusy() const;

    // --- messages; tests catch them instead of showing a box
    using MessageSink = std::function<void(const QString& title, const QString& text)>;
    void SetMessageSink(MessageSink sink) { message_sink_ = std::move(sink); }
    void Report(const QString& title, const QString& text, bool warning = true);
    static QPoint OnScreens(int left_twips, int top_twips);

    bool IsClosing() const { return closing_; }

signals:
    void TableClicked(const kvt::TableClick& click);
    // The pointer moved over a hand (x, y in twips within the grid), or over
    // the bare table (grid -1).
    void PointerMoved(int grid, int x_twips, int y_twips);

protected:
    // What an event of the rules shows by itself (ShowEventOn), queued as
    // steps of the show where the rules reported it.
    virtual void ShowEvent(const Event& event);
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TableArea;
    // EventShows: each a step of the show.
    void ComputerDiscardFlies(int player, const Card& card) override;
    void HoldDiscardFlies(const Card& card) override;
    void CardFliesToHand(int to_player, int from_place, const Card& card) override;
    void DrawFlies(int player, bool to_picked_card) override;
    void PickedCardFlies(const Card& card) override;
    void HandRedrawn(int grid, const CardStack& stack) override;
    void PilesRedrawn(const PilesShown& piles) override;
    void HoldCardShown(int player, const Card& card) override;
    void HoldCardHidden() override;
    void HandVisible(int player, bool visible) override;
    void ArrowAt(int seat) override;
    void Logged(const Event& event) override;
    void DirectionTurns(int reversed) override;
    void DeckShuffled() override;
    void RoundScored(const ScoreRows& rows, int winner) override;
    void PlayerPassed(int player) override;
    void PlayerSpeaks(const std::filesystem::path& clip) override;
    void GameOver(int winner, const std::array<GameOverFiles, 5>& files) override;
    TableKeys* keys_ = nullptr;
    MoveLog* move_log_ = nullptr;
    void ShowMoveLog(bool shown);

    void BuildMenu();
    void BuildTable();
    bool AskName();
    // The remembered opponents; false when the choice opens instead (nothing is dealt yet).
    bool LoadStartPlayers();
    void PlayersChosen();
    void ShowCardViewer(bool shown);
    // The card under the pointer into the card viewer.
    void DescribeCard(int grid, int x_twips);
    void ShutDown();
    void SyncCheckMarks();
    // Undo and Redo can be chosen only when they would do something.
    void SyncUndoEntries();
    void UpdateTitle();
    void TableResized();
    // The table's middle parts that are not hands: direction, messages, fonts.
    void PlaceMiddleParts();
    void FitChooseMessage();
    // The background picture scaled smoothly to the table's size.
    void FitBackground();
    void WhenNoMoveRuns(std::function<void()> command);
    void WriteMisc(const char* key, const std::string& value);
    QPoint GridTopLeft(int grid) const;  // twips
    // A trail from `from` to `to` (twips) with its pause; box 0 stays on the
    // start while keep_start. `landed` runs after it, also when cut short.
    void Fly(const QPixmap& picture, QPoint from, QPoint to, bool keep_start, std::function<void()> landed);
    // The end of a move once the show queue has played it: the questions of
    // the table, the computers' next move, commands that waited.
    void AfterMove();
    void RedrawTableNow();

    Options options_;
    // Before the game: the rules show through them.
    std::unique_ptr<ShowQueue> show_;
    std::unique_ptr<TableShow> table_show_;
    bool after_move_waits_ = false;  // a move ended while its show still played
    std::unique_ptr<Game> game_;
    // After the game: it holds a reference to it.
    std::unique_ptr<TableMatch> match_;
    std::unique_ptr<TableResume> resume_;
    bool keep_failed_ = false;
    // The game in progress of the last run, when there is one to go on with.
    void ResumeTableInProgress();
    // The statistics database, opened at start; every round scored goes in.
    void OpenStatistics();
    // A new game, deal or card set replaces the game on the table.
    void StartingAfresh();
    bool resumed_ = false;  // the game of the last run goes on
    std::unique_ptr<StatisticsStore> statistics_;
    bool statistics_failed_ = false;
    PictureClip clip_;
    // The card bitmap decoded when it was checked, shown by the next
    // LoadCardBitmap once its switch has put it in force.
    QImage checked_bitmap_;
    bool checked_bitmap_in_force_ = false;
    // Likewise the background, for the next SetUpBackground.
    QImage arriving_background_;
    bool arriving_background_in_force_ = false;
    TableArea* table_ = nullptr;
    std::unique_ptr<HandView> hands_;
    CardFlights* flights_ = nullptr;
    SoundOutput* sound_ = nullptr;

    std::array<QLabel*, 5> name_labels_{};
    std::array<SeatArrow*, 5> seat_arrows_{};
    std::array<DirectionPicture*, 2> play_direct_{};
    QLabel* choose_msg_ = nullptr;
    QLabel* hold_hint_ = nullptr;
    TurnGlow* turn_glow_ = nullptr;
    // The labels' fonts at the design size.
    QFont name_font_;
    QFont message_font_;
    // The background picture at the table's size, made when the table has
    // kept a size for a moment; until then the picture is drawn quickly.
    QPixmap background_fitted_;
    QPixmap background_tile_fitted_;
    QTimer* background_fit_ = nullptr;
    QLabel* title_label_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    // Since the gauge was last painted during a load.
    QElapsedTimer gauge_painted_;

    Background background_ = Background::kPlain;
    QPixmap background_picture_;
    QPixmap background_tile_;

    ClickHandler click_handler_;
    MessageSink message_sink_;
    std::function<void()> deferred_;
    // The opponents' unpacking, when their choice was confirmed during a move.
    std::function<void()> players_waiting_;
    int move_depth_ = 0;
    bool started_ = false;
    bool closing_ = false;
    bool shut_down_ = false;

    PlayerSel* player_sel_ = nullptr;
    ScoreFrm* score_frm_ = nullptr;
    GameOverFrm* game_over_ = nullptr;
    CardViewFrm* card_view_ = nullptr;
    StatisticsFrm* statistics_frm_ = nullptr;
    bool name_asked_ = false;
    // The card set file loaded in this run (command line or Load Card Set).
    std::filesystem::path card_set_source_;
    bool awaiting_players_ = false;

    // The game record shown, and the game in progress it stands over.
    std::unique_ptr<RecordTable> replay_;
    std::size_t replay_step_ = 0;
    TableState replay_over_;
    std::array<PlayerRec, 5> replay_players_;
    ReplayBar* replay_bar_ = nullptr;
    // The game in progress back in the game, not yet drawn.
    void PutBackGameInProgress();
    // What the replay's label says of the step shown.
    QString ReplayStepText(std::size_t step, const TableState& before) const;
};

}  // namespace kvt
