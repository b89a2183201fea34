#pragma once

#include <QApplication>
#include <QLabel>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The window, and the widgets of it that the tests click and read.
#include "core/card_stack.h"
#include "hand/hand_view.h"
#include "hand/move_being_built.h"
#include "platform/card_grid.h"
#include "shell/flights_qt.h"
#include "shell/play_win.h"
#include "shell/table_keys.h"
#include "shell/table_marks_qt.h"

namespace kvt::gui_test {

namespace fs = std::filesystem;

// Runs `step` on the modal window once it is up: the first event the window's own loop handles.
template <typename Window>
void WhenModal(std::function<void(Window&)> step) {
    QTimer::singleShot(0, [step] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget()))
            step(*window);
        else
            ADD_FAILURE() << "no modal window came up";
    });
}

// A table on folders of its own: settings, working folder, and the shipped data of the build.
class TableSetup {
public:
    TableSetup();
    ~TableSetup();

    Folders folders;
    // Title and text of every message the window reported.
    std::vector<std::pair<QString, QString>> messages;
    std::unique_ptr<PlayWin> win;

    PlayWin::Options Options(int seed = 7) const;
    // Creates the window on Options(), starts it with the name "Tester" and, unless told not to, shows it.
    PlayWin& Open(bool show = true);
    PlayWin& Open(PlayWin::Options options, bool show = true);
    PlayWin& Create(PlayWin::Options options);  // without starting it
    // Opens and shows the window with the shortest card flights.
    PlayWin& OpenFast() { return OpenFast(Options()); }
    PlayWin& OpenFast(PlayWin::Options options);
    // Closes the window as the player would and lets it go: the next Open is the next start.
    void Close();

    fs::path Root() const;
    // A settings value as it stands in the file: the text after "Key=".
    std::string RawSetting(const std::string& key) const;
    void WriteSetting(const std::string& key, const std::string& value) const;

private:
    QTemporaryDir temp_;
};

// A started table, shown, on folders of its own.
class TableTest : public ::testing::Test {
protected:
    TableSetup setup;
    PlayWin& win = setup.Open();
    Game& game = win.GameState();
};

// A hand of n cards of the game's card set, taken from its definitions.
CardStack HandFromSet(const Game& game, int n);

// The human on turn picks a card of the set given this action and count, laid first in a hand with
// `left` cards of the set besides it over a pile it fits, and chooses `chosen` of them. Returns the card.
Card PickWithChosen(PlayWin& win, int action, int count, int left, int chosen);

// The first card of the human's hand that can be laid and needs no choice
// (and is no wild card, when told so); -1 if none.
int NoChoiceColumn(Game& game, bool group_card = false);
void ClickHand(PlayWin& win, int player, int col);
// The column of the human's grid that shows slot `slot` of the hand.
int ShownColumn(PlayWin& win, int slot);
// The game so far, saved as a game record and opened again, plays to the
// table on the window (at rest, nothing picked); `moves` gets its length.
testing::AssertionResult RecordReplaysToTheTable(PlayWin& win, std::size_t* moves = nullptr);
void ClickDiscard(PlayWin& win);
// The human lays NoChoiceColumn's card (a group card, when told) by mouse; the computers reply.
void PlayAMove(PlayWin& win, bool group_card = false);

// Resizes the window to a table of `size` and lets it lay the table out.
void ResizeTable(PlayWin& win, QSize size);

// Runs the event loop until the human is to play or take a card, or the window closes (the windows the
// computers open are answered by a DialogAnswerer).
bool WaitForHuman(PlayWin& win, int ms = 30000);

// Runs the event loop until the window has shown its last move.
bool Settle(PlayWin& win);

// Runs the event loop until `reached` holds; false when it does not within `ms`.
bool RunUntil(const std::function<bool()>& reached, int ms = 30000);

// Tells whether a call waited in the event loop until a timer of `ms` started with it fired (with 0:
// whether it let the loop run at all). Order, not duration, is compared: a slow machine cannot fail it.
class WaitMark {
public:
    explicit WaitMark(int ms) {
        QTimer::singleShot(ms, &guard_, [this] { reached_ = true; });
    }
    bool Reached() const { return reached_; }

private:
    QObject guard_;
    bool reached_ = false;
};

// Answers the windows a move opens, as the player would: the wild card's group with `group` (or the first
// one offered), the score sheet with OK, game over with Exit; by_keys, with the group's digit and Enter. It
// looks every few milliseconds, so it also answers windows opened deep inside a move.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int wild_group = 0);

    int group;
    bool by_keys = false;
    int wild_choices = 0;
    int wild_choices_by_keys = 0;
    int score_sheets = 0;
    int score_sheets_by_keys = 0;
    int game_overs = 0;
    // Runs just before a score sheet is answered.
    std::function<void()> on_score_sheet;

private:
    void Answer();

    QTimer timer_;
};

// Counts a window's card flights as they start and calls on_flight for each, inside the move.
class FlightWatcher : public QObject {
public:
    explicit FlightWatcher(PlayWin& win);
    ~FlightWatcher() override;

    int flights = 0;
    std::function<void()> on_flight;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Box 0 starts every flight, the draw flight included.
    QPointer<QWidget> box_;
};

// An option a test program answers instead of running its tests, with the application up: a test that
// starts its own program under another environment sets it before main runs.
struct MainOption {
    const char* name = nullptr;
    int (*run)() = nullptr;
};
MainOption& ExtraMainOption();

// A PCM wave file of the given length (8 kHz, 16-bit mono); returns its path.
fs::path WriteWave(const fs::path& path, int milliseconds);
// Player 2 speaks a comment, heard by the table at once, from `folder`, where every variant of the clip is
// a copy of `clip` (a missing `clip`: none). Returns the variants' paths.
std::vector<fs::path> SpeakComment(PlayWin& win, const fs::path& folder, const fs::path& clip);

}  // namespace kvt::gui_test
