// The table window: start-up, options and exit, commands, clicks, the card
// bitmap (and pictures decoded as Qt's own reader decodes them), the move log,
// and the dialogs it opens.
// Then whole moves of the human by mouse on the real widgets, from a table laid
// out card by card, through the computers' replies back to the human's turn.
// The rules of each move are pinned by the rules tests (tests/rules); here,
// that each click reaches its move and the widgets show what follows. The same
// by keyboard, and what a screen reader is told; whole rounds by the keys
// alone are played in the soak.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QBuffer>
#include <QApplication>
#include <QScreen>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <cstring>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <functional>

#include "dialogs/card_view_frm.h"
#include "engine/card_set.h"
#include "engine/working_files.h"
#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/picture_decode.h"
#include "shell/move_log.h"
#include "platform/settings_keys.h"
#include "shell/table_keys.h"
#include "dialogs/game_info_frm.h"
#include "dialogs/game_over_frm.h"
#include "dialogs/play_spd_frm.h"
#include "dialogs/score_frm.h"
#include "dialogs/wild_card_frm.h"
#include "dialogs/card_action_text.h"
#include "engine/player_file.h"
#include "dialogs/player_sel_frm.h"
#include "platform/qt_text.h"
#include "shell/help_window.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;
using namespace gui_test;

// Runs `step` on the modal window once it is up: the first event the
// window's own loop handles.
template <typename Window>
void WhenModal(std::function<void(Window&)> step) {
    QTimer::singleShot(0, [step] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget()))
            step(*window);
        else
            ADD_FAILURE() << "no modal window came up";
    });
}

QByteArray Saved(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A 24-bit BMP whose rows need padding, stored bottom-up or top-down.
QByteArray Bmp24(int width, int height, bool top_down) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    QByteArray bytes = Saved(image, "BMP");
    if (top_down) {
        // Same pixels, rows stored from the top: negative height, rows reversed.
        const int at = qFromLittleEndian<qint32>(bytes.constData() + 10);
        const int stride = (width * 3 + 3) / 4 * 4;
        QByteArray rows = bytes.mid(at);
        for (int y = 0; y < height; ++y)
            std::memcpy(bytes.data() + at + y * stride, rows.constData() + (height - 1 - y) * stride, stride);
        qToLittleEndian<qint32>(-height, bytes.data() + 22);
    }
    return bytes;
}

// Reads `bytes`, which must outlive the reader.
PictureReader ReaderOf(const QByteArray& bytes) {
    return [&bytes](std::uint64_t at, std::size_t n, char* out) {
        if (at > static_cast<std::uint64_t>(bytes.size()) || n > bytes.size() - at) return false;
        std::memcpy(out, bytes.constData() + at, n);
        return true;
    };
}

QImage Decode(const QByteArray& bytes) {
    return DecodePicture(static_cast<std::uint64_t>(bytes.size()), ReaderOf(bytes));
}

// Whatever Qt's reader makes of the bytes, as plain pixels; null when it makes nothing.
QImage QtDecode(const QByteArray& bytes) { return QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32); }

TEST(PictureDecode, GivesWhatQtsReaderGives) {
    QImage png(5, 4, QImage::Format_ARGB32);
    png.fill(qRgba(10, 20, 30, 128));
    const QByteArray whole = Bmp24(13, 7, false);
    // Uncompressed 24-bit rows of odd widths both ways up, a huge-page sized
    // picture; formats left to Qt (an 8-bit BMP, a PNG); cut-off and foreign bytes.
    for (const QByteArray& bytes :
         {Bmp24(1, 1, false), whole, Bmp24(13, 7, true), Bmp24(1001, 700, false),
          Saved(QtDecode(whole).convertToFormat(QImage::Format_Indexed8), "BMP"), Saved(png, "PNG"),
          whole.left(whole.size() - 1), whole.left(60), QByteArray("BM"), QByteArray()}) {
        const QImage ours = Decode(bytes), qts = QtDecode(bytes);
        EXPECT_EQ(ours.size(), qts.size()) << bytes.size();
        EXPECT_EQ(ours.isNull(), bytes.size() < 3) << bytes.size();
        // Rows a cut-off file lacks are left undefined by both.
        if (bytes.size() != whole.size() - 1 && bytes.size() != 60) {
            EXPECT_EQ(ours.convertToFormat(QImage::Format_ARGB32), qts) << bytes.size();
        }
    }
}

// A first run: no settings and no working folder.
TEST(PlayWinStartUp, FirstRunBuildsTheWorkingFolderTurnsTheOptionsOnDealsAndShowsTheMenus) {
    TableSetup setup;
    ASSERT_FALSE(std::filesystem::exists(setup.folders.AppDir));
    PlayWin& win = setup.Open();
    Game& game = win.GameState();
    EXPECT_TRUE(setup.messages.empty());
    for (const auto& [entry, on] : {std::pair{"MM_SORT_CARDS", true}, {"MM_PLAYER_SOUNDS", true}, {"MM_MUSIC", true},
                                    {"MM_VIEWER", false}})
        EXPECT_EQ(win.MenuEntry(entry)->isChecked(), on) << entry;
    EXPECT_EQ(std::tuple(game.GameSpeed, win.AnimationInterval(), game.PlayerInfo[1].Name), std::tuple(0, 1000, "Tester"));
    for (int p = 1; p <= 4; ++p)
        EXPECT_TRUE(game.Players[static_cast<std::size_t>(p)].Count() == 7 && win.Hands().Grid(p)->isVisible()) << p;
    EXPECT_EQ(std::tuple(win.Hands().Grid(0)->isVisible(), CardsOnTable(game), win.pos()),
              std::tuple(false, DeckSize(game.CardSet), QPoint(0, 0)));
    // The shipped default set is in force, from a working folder built for it.
    EXPECT_TRUE(win.windowTitle().contains("Four Winds"));
    for (const char* file : {files::kCardDefs, files::kCardBitmap})
        EXPECT_TRUE(std::filesystem::exists(setup.folders.AppDir / file)) << file;
    EXPECT_EQ(win.CardClip().Picture().size(), QSize(1425, 550));
    EXPECT_EQ(game.CardSet.CardDefs[static_cast<std::size_t>(game.CardBackDef)].Action, kActionCardBack);

    // Every menu entry has its caption.
    const std::vector<std::pair<const char*, const char*>> entries{
        {"MM_FILE", "&File"}, {"MM_NEW_GAME", "&New Game"}, {"MM_LOAD_CARD", "&Load Card Set"},
        {"MM_DEFINE_CARDS", "&Define Cards"}, {"MM_CHOOSE_PLAYERS", "&Choose Players"},
        {"MM_SHARE_DEAL", "S&hare This Deal..."}, {"MM_OPEN_DEAL", "&Open Deal..."},
        {"MM_OPEN_RECORD", "Open &Game Record..."}, {"MM_EXIT", "&Exit"},
        {"MM_EDIT", "&Edit"}, {"MM_UNDO", "&Undo"}, {"MM_REDO", "&Redo"}, {"MM_SETUP", "&Options"},
        {"MM_SORT_CARDS", "S&ort Cards"}, {"MM_SOUNDS", "&Sounds"}, {"MM_PLAYER_SOUNDS", "&Player Sounds"},
        {"MM_MUSIC", "&Opening Music"}, {"MM_VIEWER", "&Card Viewer"}, {"MM_GAME_SPEED", "&Game Speed"},
        {"MM_SCORE", "&Score"}, {"MM_VIEW_SCORE", "&View Score"}, {"MM_HELP", "&Help"},
        {"MM_CONTENTS", "&Contents"}, {"MM_ABOUT", "About &KVT"}, {"MM_CURRENT_GAME", "&About Current Game"}};
    for (const auto& [name, caption] : entries) {
        QAction* action = win.MenuEntry(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromLatin1(caption)) << name;
    }
    EXPECT_TRUE(win.MenuEntry("MM_DASH")->isSeparator() && win.MenuEntry("MM_DIVIDER5")->isSeparator());
    // The bar holds its five menus in order, with Edit (Undo, Redo) after File; Exit ends File.
    const QList<QAction*> bar = win.menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(std::tuple(bar[0]->objectName(), bar[1]->objectName(), bar[4]->objectName()),
              std::tuple("MM_FILE", "MM_EDIT", "MM_HELP"));
    const QList<QAction*> file = bar[0]->menu()->actions();
    ASSERT_EQ(file.size(), 10);
    EXPECT_EQ(std::tuple(file[7]->objectName(), file[8]->objectName(), file[9]->objectName()),
              std::tuple("MM_SAVE_RECORD", "MM_DASH", "MM_EXIT"));
    EXPECT_EQ(win.MenuEntry("MM_PLAYER_SOUNDS")->parent(), win.MenuEntry("MM_SOUNDS")->menu());
}

// Read at the start and written in the settings' own forms: Sort and the viewer at once, the rest at Exit.
TEST(PlayWinStartUp, TheOptionsAndThePlaceComeFromTheSettingsTheMenuTogglesThemAndExitWritesThem) {
    TableSetup setup;
    for (const auto& [key, value] : {std::pair{settings::kSort, "0"}, {settings::kPlayerSounds, "0"},
                                     {settings::kBackMusic, "-1"}, {settings::kViewer, "-1"},
                                     {settings::kPlaySpeed, "250"}, {settings::kLeft, "1500"}, {settings::kTop, "750"}})
        setup.WriteSetting(key, value);
    PlayWin& win = setup.Open();
    Game& game = win.GameState();
    for (const auto& [entry, on] : {std::pair{"MM_SORT_CARDS", false}, {"MM_PLAYER_SOUNDS", false}, {"MM_MUSIC", true},
                                    {"MM_VIEWER", true}})
        EXPECT_EQ(win.MenuEntry(entry)->isChecked(), on) << entry;
    EXPECT_TRUE(win.CardViewer() && win.CardViewer()->isVisible());
    // The game speed reaches the timer only through the Game Speed command.
    EXPECT_EQ(std::tuple(game.GameSpeed, win.AnimationInterval(), win.pos()), std::tuple(250, 1000, QPoint(100, 50)));

    // Sorting is for the eye: switched on, the hand is shown sorted at once and the game's hand keeps its order.
    std::swap(game.Players[1][0], game.Players[1][6]);
    const CardStack dealt = game.Players[1];
    win.ShowHand(game.Players[1], 1);
    win.MenuEntry("MM_SORT_CARDS")->trigger();
    EXPECT_EQ(std::tuple(game.Players[1], setup.RawSetting("Sort")), std::tuple(dealt, "-1"));
    std::vector<std::pair<int, int>> shown;
    for (int column = 0; column < dealt.Count(); ++column) {
        const Card& card = dealt[win.Hands().HumanSlot(column)];
        shown.emplace_back(card.Group, card.Value);
        EXPECT_EQ(win.Hands().Grid(1)->Picture(0, column).toImage(), win.Hands().Face(card).toImage());
    }
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    // Each option flips its mark.
    struct Option { const char* entry; const bool& on; const char* key; bool at_once; };
    const Option options[] = {
        {"MM_SORT_CARDS", game.SortCards, "Sort", true},
        {"MM_PLAYER_SOUNDS", game.PlayerSoundsHeard, "PlayerSounds", false},
        {"MM_MUSIC", game.OpeningMusic, "BackMusic", false},
        {"MM_VIEWER", game.CardViewer, "Viewer", true},
    };
    for (const Option& option : options) {
        const bool was = option.on;
        const std::string stored = setup.RawSetting(option.key);
        win.MenuEntry(option.entry)->trigger();
        const std::string saved = !option.at_once ? stored : was ? " 0" : "-1";
        EXPECT_EQ(std::tuple(option.on, win.MenuEntry(option.entry)->isChecked(), setup.RawSetting(option.key)),
                  std::tuple(!was, !was, saved)) << option.entry;
    }

    game.GameSpeed = 40;
    win.move(110, 60);
    QApplication::processEvents();
    win.MenuEntry("MM_EXIT")->trigger();
    EXPECT_TRUE(!win.isVisible() && win.IsClosing());
    const std::pair<const char*, std::string> written[] = {
        {"PlaySpeed", " 40"}, {"Left", " 1650"}, {"Top", " 900"}, {"Sort", " 0"}, {"PlayerSounds", "-1"},
        {"BackMusic", " 0"}, {"Home", setup.folders.AppDir.string()}};
    for (const auto& [key, value] : written) EXPECT_EQ(setup.RawSetting(key), value) << key;
}

TEST(PlayWinStartUp, TheNameGivenIsThePlayersNameAndCancellingEndsTheProgram) {
    for (const bool cancel : {false, true}) {
        TableSetup setup;
        PlayWin::Options options = setup.Options();
        options.player_name.reset();
        PlayWin& win = setup.Create(options);
        bool asked = false;
        WhenModal<QDialog>([&asked, cancel](QDialog& dialog) {
            asked = dialog.windowTitle() == "Enter Name";
            QTest::keyClicks(dialog.focusWidget(), "Morgan");
            cancel ? dialog.reject() : dialog.accept();
        });
        EXPECT_EQ(win.Start(), !cancel);
        EXPECT_TRUE(asked);
        if (cancel) {
            EXPECT_EQ(win.GameState().Players[1].Count(), 0) << "nothing was loaded or dealt";
        } else {
            EXPECT_EQ(std::tuple(win.GameState().PlayerInfo[1].Name, win.NameLabel(1)->text()), std::tuple("Morgan", "Morgan"));
        }
    }
}

TEST(PlayWinShutDown, PositionsOutOfReachAreBroughtOnScreen) {
    for (const char* extreme : {"-2147483648", "2147483647"}) {
        TableSetup setup;
        setup.WriteSetting("Left", extreme);
        setup.WriteSetting("Top", extreme);
        PlayWin& win = setup.Open();
        const QRect reach = QGuiApplication::primaryScreen()->virtualGeometry();
        EXPECT_TRUE(reach.contains(win.pos())) << extreme;
        EXPECT_TRUE(win.close());
        const int left = std::stoi(setup.RawSetting("Left"));
        EXPECT_TRUE(left >= reach.left() * 15 && left <= reach.right() * 15) << extreme << ": " << left;
    }
}

using PlayWinClicks = TableTest;

TEST_F(PlayWinClicks, ClicksReportTheCellAndThePlaceAndPointerMovesOverTheHandTwips) {
    std::vector<TableClick> clicks;
    win.SetClickHandler([&](PlayWin&, const TableClick& click) { clicks.push_back(click); });

    win.SetDiscardButtonVisible(true);
    // Where each click lands and what it reports: place, player, row and column (the latter for a hand only).
    using P = TableClick::Place;
    const std::tuple<QWidget*, QPoint, P, int, int, int> cases[] = {
        {win.Hands().Grid(1), {45, 40}, P::kHand, 1, 0, 1}, {win.Hands().Grid(1), {6 * 30 + 40, 40}, P::kHand, 1, 0, 6},
        {win.Hands().Grid(3), {75, 40}, P::kHand, 3, 0, 2}, {win.Hands().Grid(2), {20, 70}, P::kHand, 2, 2, 0},
        {win.Hands().DrawDeck(), {30, 30}, P::kDrawDeck, 0, 0, 0},
        {win.Hands().ShowCardPlay(), {30, 30}, P::kPickedCard, 0, 0, 0},
        {win.Hands().AcceptDiscardBut(), {}, P::kDiscardButton, 0, 0, 0}};
    for (const auto& [widget, at, place, player, row, col] : cases) {
        clicks.clear();
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        ASSERT_EQ(clicks.size(), 1u) << widget->objectName().toStdString();
        EXPECT_EQ(clicks[0].place, place) << widget->objectName().toStdString();
        if (place == P::kHand) {
            EXPECT_EQ(std::tuple(clicks[0].player, clicks[0].row, clicks[0].col), std::tuple(player, row, col));
        }
    }

    int grid = -2, x = -1;
    QObject::connect(&win, &PlayWin::PointerMoved,
                     [&](int g, int x_twips, int) { std::tie(grid, x) = std::tie(g, x_twips); });
    QTest::mouseMove(win.Hands().Grid(1), QPoint(50, 40));
    QApplication::processEvents();
    EXPECT_EQ(std::tuple(grid, x), std::tuple(1, 750));
    QTest::mouseMove(win.Table(), QPoint(470, 300));
    QApplication::processEvents();
    EXPECT_EQ(grid, -1);
}

Card Seven() {
    Card card;
    card.Group = 2;
    card.Value = 7;
    card.Action = kActionDiscard;
    return card;
}

Event Moved(Place from, int from_seat, Place to, int to_seat) {
    return Event::Moved(EventKind::CardMoved, Seven(), {from, static_cast<std::int8_t>(from_seat)},
                        {to, static_cast<std::int8_t>(to_seat)});
}

TEST(MoveLog, EachEventInPlainWordsAndNoHiddenCardNamed) {
    const std::array<std::string, 5> names{"", "Robin", "Amara", "<b>Ben</b>", ""};
    const std::array<std::string, 5> hostile{"", "", "%2 %1", "", ""};
    Event named = Event::Of(EventKind::GroupCardLaid, 2);
    named.card.Group = 3;
    EXPECT_EQ(MoveLogLine(named, hostile), "%2 %1 named group 3") << "a name is never a marker";
    Event scored = Event::Of(EventKind::RoundEnded, 0);
    scored.scores = {0, 0, 12, 7, 30};
    const std::pair<Event, QString> cases[] = {
        {Moved(Place::Hand, 2, Place::Pile, 0), "Amara played 7 of group 2"},
        {Moved(Place::PickedCard, 1, Place::Pile, 0), "You played 7 of group 2"},
        {Moved(Place::HoldGrid, 0, Place::Pile, 0), "You discarded 7 of group 2"},
        {Moved(Place::Deck, 0, Place::Hand, 1), "You drew 7 of group 2"},
        {Moved(Place::Deck, 0, Place::Hand, 2), "Amara drew a card"},
        {Moved(Place::Hand, 3, Place::Hand, 2), "A card went from <b>Ben</b> to Amara"},
        {Moved(Place::Hand, 1, Place::Hand, 4), "A card went from You to Player 4"},
        {Moved(Place::Hand, 2, Place::Hand, 1), "You got 7 of group 2 from Amara"},
        {Moved(Place::HoldGrid, 0, Place::Hand, 3), "You passed 7 of group 2 to <b>Ben</b>"},
        {Event::Of(EventKind::DirectionChanged, 2, 1), "Play now goes the other way"},
        {Event::Of(EventKind::Passed, 1), "You passed the turn"},
        {Event::Of(EventKind::Passed, 3), "<b>Ben</b> passed the turn"},
        {scored, "Round over: You 0, Amara 12, <b>Ben</b> 7, Player 4 30"},
        {Event::Of(EventKind::GameEnded, 2), "Amara won the game"},
        {Moved(Place::Deck, 0, Place::Pile, 0), "Turned up: 7 of group 2"},
        {Event::Of(EventKind::CardChosen, 2, 3), ""},
        {Event::Of(EventKind::SoundCue, 2, 4), ""},
    };
    for (const auto& [event, line] : cases) EXPECT_EQ(MoveLogLine(event, names), line);
}

TEST_F(PlayWinClicks, TheMoveLogShowsBesideTheTableFollowsThePlayAndACheckedBitmapIsShownOnlyInForce) {
    ASSERT_FALSE(win.Log()->isVisible()) << "off until asked for";
    win.resize(1, win.height());  // the narrowest table, with room for the log beside it on the screen
    QApplication::processEvents();
    const int table_width = win.Table()->width();
    win.MenuEntry("MM_MOVE_LOG")->trigger();
    EXPECT_TRUE(win.Log()->isVisible() && win.MenuEntry("MM_MOVE_LOG")->isChecked());
    EXPECT_EQ(setup.RawSetting("MoveLog"), "-1");
    QApplication::processEvents();
    EXPECT_EQ(win.Table()->width(), table_width) << "the window grew by the log";

    win.GameState().CurPlayer = 1;
    QTest::mouseClick(win.Hands().DrawDeck(), Qt::LeftButton, {}, QPoint(30, 30));
    ASSERT_TRUE(gui_test::Settle(win));
    ASSERT_GE(win.Log()->Lines(), 1);
    EXPECT_TRUE(win.Log()->Line(0).startsWith("You drew ")) << win.Log()->Line(0).toStdString();

    // A new deal is one line and the card turned up, not 28 draws.
    win.MenuEntry("MM_NEW_GAME")->trigger();
    ASSERT_TRUE(gui_test::Settle(win));
    ASSERT_GE(win.Log()->Lines(), 3);
    EXPECT_TRUE(win.Log()->Line(0).startsWith("Turned up: ")) << win.Log()->Line(0).toStdString();
    const QString deal = "New deal: seven cards each";
    EXPECT_TRUE(win.Log()->Line(1) == deal || win.Log()->Line(2) == deal) << "a wild card turned up is covered";

    win.MenuEntry("MM_MOVE_LOG")->trigger();
    EXPECT_TRUE(!win.Log()->isVisible() && setup.RawSetting("MoveLog") == " 0");
    // A window that fits the screen stays within it: the table gives way to the log.
    const int room = win.screen()->availableGeometry().width();
    win.resize(room - 100, win.height());
    win.MenuEntry("MM_MOVE_LOG")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(win.Log()->isVisible() && win.frameGeometry().width() <= room && win.Table()->width() < room - 100)
        << win.frameGeometry().width() << " of " << room;
    win.MenuEntry("MM_MOVE_LOG")->trigger();

    // A card bitmap decoded when it was checked is shown once its switch put it in force,
    // instead of being read back from the working copy; otherwise the working copy is read.
    QImage picture(300, 220, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QByteArray bmp = Saved(picture, "BMP");
    const PictureReader read = ReaderOf(bmp);
    const std::string missing = (setup.Root() / "no-such-bitmap").string();
    for (const bool in_force : {true, false}) {
        EXPECT_EQ(win.CardBitmapFault(static_cast<std::uint64_t>(bmp.size()), read), "");
        if (in_force) win.CardBitmapInForce();
        win.LoadCardBitmap(missing);
        EXPECT_EQ(win.CardClip().IsEmpty(), !in_force);
        if (in_force) {
            EXPECT_EQ(win.CardClip().Picture().size(), QSize(300, 220));
        }
    }
    // Kept only for the next load: a later one reads the file again.
    win.LoadCardBitmap(missing);
    EXPECT_TRUE(win.CardClip().IsEmpty() && win.CardBitmapFault(3, read) != "");
}

using Cards = std::vector<Card>;

// The same card, whatever the work mark the rules left on it.
bool Same(Card a, const Card& b) {
    a.Playable = b.Playable;
    return a == b;
}

int CountIn(const CardStack& stack, const Card& card) {
    return static_cast<int>(std::count_if(stack.begin(), stack.end(), [&](const Card& c) { return Same(c, card); }));
}

void ClickDeck(PlayWin& win) {
    QTest::mouseClick(win.Hands().DrawDeck(), Qt::LeftButton, {}, QPoint(30, 30));
    gui_test::Settle(win);
}

// Back at the human's turn with nothing picked and nothing offered (that the widgets show
// the move being built, the soak checks after every step).
void ExpectIdleTable(PlayWin& win) {
    EXPECT_TRUE(WaitForHuman(win));
    Game& game = win.GameState();
    EXPECT_EQ(std::tuple(game.CurPlayer, game.MoveInProgress(), win.Building().Picking(), win.Building().Held().Empty()),
              std::tuple(1, false, false, true));
}

class TableMoves : public ::testing::Test {
protected:
    Game& game() { return win_.GameState(); }
    // The first definition of the shipped set with this group and value (and action, unless -1).
    Card Def(int group, int value, int action = -1) {
        for (const Card& def : game().CardSet.CardDefs)
            if (def.Group == group && def.Value == value && (action < 0 || def.Action == action) && IsDealt(def))
                return def;
        ADD_FAILURE() << "no card " << group << "/" << value;
        return {};
    }
    Card Plain(int group, int value) { return Def(group, value, kActionDiscard); }
    Cards Plains(int group, std::initializer_list<int> values) {
        Cards cards;
        for (int v : values) cards.push_back(Plain(group, v));
        return cards;
    }
    // A deck of group 1: a computer that must draw on a group 1 card soon finds one to lay.
    Cards Deck() { return Plains(1, {5, 6, 5, 6, 5, 6, 5, 6, 5, 6}); }
    // The table holds exactly these hands (1..4), pile (top last) and deck (top first).
    void Arrange(const std::array<Cards, 4>& hands, const Cards& pile, const Cards& deck) {
        CardStack* stacks[] = {&game().Players[1], &game().Players[2], &game().Players[3], &game().Players[4],
                               &game().DiscardPile, &game().DrawDeck};
        const Cards* cards[] = {&hands[0], &hands[1], &hands[2], &hands[3], &pile, &deck};
        for (int s = 0; s < 6; ++s) {
            stacks[s]->Clear();
            for (const Card& c : *cards[s]) stacks[s]->Push(c);
        }
        game().CurPlayer = 1;
        win_.RedrawTable();
    }
    void ClickCard(const Card& card) {
        const CardStack hand = win_.Building().ShownHand();
        const auto at = std::find_if(hand.begin(), hand.end(), [&](const Card& c) { return Same(c, card); });
        ASSERT_NE(at, hand.end()) << "card not in the hand";
        ClickHand(win_, 1, ShownColumn(win_, static_cast<int>(at - hand.begin())));
    }

    gui_test::TableSetup setup_;
    PlayWin& win_ = setup_.OpenFast();
    // Whatever a move opens is answered, so that no test can hang on a window.
    gui_test::DialogAnswerer answerer_;
};

// Then the human takes from the giver's hand, and a wild card lays the group chosen in the dialog.
TEST_F(TableMoves, HandDeckPickedBoxAndButtonClicksMakeTheirMovesOrPassWithNothingToDo) {
    const Card discard2 = Def(1, 25);
    ASSERT_EQ(discard2.ActionCount, 2);
    const Card first = Plain(3, 8), second = Plain(4, 9), unplayable = Plain(3, 2);
    Arrange({Cards{discard2, first, second, Plain(2, 1), Plain(2, 2)}, Cards{Plain(1, 3), Plain(1, 4), Plain(2, 3)},
             Cards{Plain(1, 5), Plain(1, 6), Plain(2, 4)}, Cards{Plain(1, 1), Plain(1, 2), Plain(2, 5)}},
            {Plain(1, 9)}, Cards{unplayable, Plain(1, 5), Plain(1, 6), Plain(1, 5)});
    // The left hand while nobody must take, and the empty picked-card box: nothing.
    QTest::mouseClick(win_.Hands().Grid(2), Qt::LeftButton, {}, QPoint(20, 40));
    QTest::mouseClick(win_.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_FALSE(win_.Building().Picking());
    // The deck: the drawn card waits in the box; the box: back into the hand.
    ClickDeck(win_);
    EXPECT_EQ(win_.Hands().ShowCardPlay()->Picture().toImage(), win_.Hands().Face(unplayable).toImage());
    QTest::mouseClick(win_.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_TRUE(CountIn(game().Players[1], unplayable) == 1 && !win_.Hands().ShowCardPlay()->HasPicture());

    // A hand card is picked; the hold grid opens for its two cards.
    ClickCard(discard2);
    EXPECT_EQ(win_.Hands().ShowCardPlay()->Picture().toImage(), win_.Hands().Face(discard2).toImage());
    EXPECT_EQ(std::tuple(win_.Hands().Grid(0)->isVisible(), win_.Hands().Grid(0)->Cols()), std::tuple(true, 2));
    ClickCard(first);
    ClickCard(second);
    EXPECT_TRUE(win_.Hands().AcceptDiscardBut()->isVisible() &&
                win_.Hands().Grid(0)->Picture(0, 1).toImage() == win_.Hands().Face(second).toImage());

    ClickDiscard(win_);
    ExpectIdleTable(win_);

    // Nothing to draw and nothing to play: the deck click says so and passes (the pass itself:
    // Human.AnEmptyDeckIsRebuilt..., the empty deck drawn: HandViewTest).
    const Cards ones = Plains(1, {3, 4});
    Arrange({Plains(3, {7, 8, 9}), ones, ones, ones}, {Plain(1, 2)}, {});
    ClickDeck(win_);
    EXPECT_EQ(win_.statusBar()->currentMessage(), "Nothing to draw and nothing to play: you pass.");
    ASSERT_TRUE(WaitForHuman(win_));

    // The human takes by clicking the giver's hand.
    Card draw_left = Def(1, 20, kActionDrawLeft);
    draw_left.ActionCount = 2;
    // Each computer has one card to lay; the right player's is the draw-left card.
    Arrange({Cards{Plain(1, 2), Plain(2, 1)}, Cards{Plain(1, 3), Plain(3, 7), Plain(3, 8), Plain(3, 9), Plain(3, 9)},
             Cards{Plain(1, 4), Plain(4, 7), Plain(4, 8)}, Cards{draw_left, Plain(2, 9), Plain(3, 9)}},
            {Plain(1, 1)}, Deck());
    ClickCard(Plain(1, 2));
    ClickDiscard(win_);
    ASSERT_TRUE(WaitForHuman(win_));
    ASSERT_TRUE(game().ChoosingCards);
    EXPECT_TRUE(win_.ChooseMsgLbl()->isVisible() && win_.ChooseMsgLbl()->text().startsWith("Choose a card from Player - "));
    ClickHand(win_, 3, 0);  // the wrong grid takes nothing
    EXPECT_EQ(game().Players[1].Count(), 1);
    const Card taken = game().Players[2][0];
    ClickHand(win_, 2, 0);
    EXPECT_EQ(CountIn(game().Players[1], taken), 1);
    ClickHand(win_, 2, 0);
    EXPECT_TRUE(!game().ChoosingCards && WaitForHuman(win_));
    EXPECT_FALSE(win_.ChooseMsgLbl()->isVisible()) << "the next computer move hides the prompt";
    ExpectIdleTable(win_);

    // A wild card lays the group chosen in the dialog.
    answerer_.group = 3;
    FlightWatcher watcher(win_);
    const Card wild = Def(0, 50, kActionDiscard);
    Arrange({Cards{wild, Plain(2, 1)}, Cards{Plain(3, 3), Plain(2, 7)}, Cards{Plain(3, 4), Plain(2, 8)},
             Cards{Plain(3, 5), Plain(2, 9)}},
            {Plain(1, 9)}, Deck());
    // What the table shows when the next player's card starts to fly.
    QImage pile_shown;
    watcher.on_flight = [&] {
        if (answerer_.wild_choices == 1 && pile_shown.isNull())
            pile_shown = win_.Hands().DiscardPile()->Picture().toImage();
    };
    ClickCard(wild);
    ClickDiscard(win_);
    EXPECT_TRUE(WaitForHuman(win_));
    EXPECT_EQ(answerer_.wild_choices, 1);
    EXPECT_EQ(pile_shown, win_.Hands().Face(Def(3, 1)).toImage());
    ExpectIdleTable(win_);
}

TEST_F(TableMoves, UndoTakesBackTheMoveWithTheRepliesRedoPlaysThemAgainAndMenuCommandsInAMoveKeepTheGameWhole) {
    Game& g = game();
    QAction* undo = win_.MenuEntry("MM_UNDO");
    QAction* redo = win_.MenuEntry("MM_REDO");
    ASSERT_TRUE(WaitForHuman(win_));
    EXPECT_FALSE(undo->isEnabled()) << "nothing played yet";
    const TableState before = g.State();
    gui_test::PlayAMove(win_);
    const TableState after = g.State();
    ASSERT_NE(after, before);
    EXPECT_TRUE(undo->isEnabled() && !redo->isEnabled());

    undo->trigger();
    EXPECT_EQ(g.State(), before) << "hands, pile, deck and the generator as they were";
    EXPECT_EQ(win_.Hands().Grid(1)->Cols(), before.Players[1].Count());
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(g.State(), after);
    undo->trigger();
    // The same move again: the computers do the same, drawing the same cards.
    gui_test::PlayAMove(win_);
    EXPECT_EQ(g.State(), after);
    EXPECT_FALSE(redo->isEnabled());
    // The game so far as a record, the undone line left out: it plays to the table shown.
    std::size_t moves = 0;
    EXPECT_TRUE(gui_test::RecordReplaysToTheTable(win_, &moves));
    EXPECT_EQ(moves, 4u) << "the human's move and the three replies";
    // A new game forgets the moves of the last one.
    win_.MenuEntry("MM_NEW_GAME")->trigger();
    ASSERT_TRUE(WaitForHuman(win_));
    EXPECT_FALSE(undo->isEnabled());

    // Menu commands during a computer turn keep the game whole.
    FlightWatcher watcher(win_);
    bool move_running = false, table_kept = false;
    // The menu is used as the second card flight starts, inside the move.
    watcher.on_flight = [&] {
        if (watcher.flights != 2) return;
        move_running = win_.MoveRunning();
        const CardStack left_hand = g.Players[2], pile = g.DiscardPile;
        win_.MenuEntry("MM_NEW_GAME")->trigger();
        win_.MenuEntry("MM_SORT_CARDS")->trigger();
        const auto kept = [](const CardStack& a, const CardStack& b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(), Same);
        };
        table_kept = kept(g.Players[2], left_hand) && kept(g.DiscardPile, pile);
    };
    g.Scores[2] = 40;
    gui_test::PlayAMove(win_);
    EXPECT_GE(watcher.flights, 2);
    EXPECT_TRUE(move_running);
    EXPECT_TRUE(table_kept) << "the new game waits for the move to end";
    EXPECT_FALSE(g.SortCards || win_.MenuEntry("MM_SORT_CARDS")->isChecked()) << "a toggle applies at once";
    // The new game followed the move: a fresh deal, every card there once.
    EXPECT_EQ(std::tuple(g.Scores[2], g.RoundNum), std::tuple(0, 0));
    EXPECT_EQ(CardsOnTable(g), DeckSize(g.CardSet));
    ExpectIdleTable(win_);
}

QString AccessibleName(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QString();
}

// What a screen reader hears of the table is checked with the mark. The move
// log, shown from the start, never holds the keyboard.
TEST(Keyboard, TheMarkMovesThroughTheHandKeysMakeTheClicksAndEveryPartHasAnAccessibleName) {
    TableSetup setup;
    setup.WriteSetting("MoveLog", "-1");
    PlayWin& win = setup.Open();
    ASSERT_TRUE(win.Log()->isVisible());
    QApplication::setActiveWindow(&win);
    QApplication::processEvents();
    Game& game = win.GameState();
    game.CurPlayer = 1;
    TableKeys& keys = *win.Keys();
    EXPECT_FALSE(keys.Mark()->isVisible()) << "no mark before the first key";

    QTest::keyClick(&win, Qt::Key_End);
    EXPECT_EQ(std::tuple(keys.Column(), keys.Mark()->isVisible()), std::tuple(game.Players[1].Count() - 1, true));
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) QTest::keyClick(&win, key);
    ASSERT_EQ(keys.Column(), 1);
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Left}) QTest::keyClick(&win, key);
    EXPECT_EQ(keys.Column(), 0) << "the mark stops at the first card";
    // The mark says which card it is (where it sits: ScaledTable).
    Card marked = game.Players[1][win.Hands().HumanSlot(0)];
    const bool playable = game.CheckPlayable(marked) == 1;
    EXPECT_EQ(AccessibleName(keys.Mark()), SpokenCard(marked, playable));
    EXPECT_EQ(AccessibleName(win.Hands().Grid(1)), "Your hand, 7 cards");
    // The other hands by their owner and size, the deck by its size, the pile by its top card.
    HandView& hands = win.Hands();
    const auto cards = [](int n) { return n == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(n); };
    for (int p = 2; p <= 4; ++p) {
        const QString name = QStringLiteral("Player %1").arg(p);  // no opponents chosen
        EXPECT_EQ(AccessibleName(hands.Grid(p)), name + "'s hand, " + cards(game.Players[static_cast<std::size_t>(p)].Count()));
        EXPECT_EQ(AccessibleName(win.NameLabel(p)), name);
    }
    EXPECT_EQ(AccessibleName(hands.DrawDeck()), "Draw deck, " + cards(game.DrawDeck.Count()));
    EXPECT_EQ(AccessibleName(hands.DiscardPile()), "Discard pile, " + SpokenCard(game.DiscardPile.Top(), false));
    EXPECT_TRUE(AccessibleName(hands.Grid(0)).startsWith("Cards chosen, "));
    EXPECT_FALSE(AccessibleName(hands.AcceptDiscardBut()).isEmpty());
    // Enter picks the marked card, Escape puts it back, D draws.
    QTest::keyClick(&win, Qt::Key_Return);
    ASSERT_TRUE(win.Building().Picking());
    const Card picked = win.Building().PickedCard();
    EXPECT_EQ(std::pair(picked.Group, picked.Value), std::pair(marked.Group, marked.Value));
    QTest::keyClick(&win, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(win.Building().Picking(), win.Building().ShownHand().Count()), std::tuple(false, 7));
    const int deck = game.DrawDeck.Count();
    QWidget* keyboard = QApplication::focusWidget();
    QTest::keyClick(keyboard ? keyboard : &win, Qt::Key_D);
    // The drawn card waits in the picked-card box.
    EXPECT_EQ(std::tuple(game.DrawDeck.Count(), win.Building().Picking(), win.Building().PickedCard()),
              std::tuple(deck - 1, true, game.Players[1].Top()))
        << (keyboard ? keyboard->objectName().toStdString() : "");
}


using Dialogs = gui_test::TableTest;

TEST_F(Dialogs, TheWildCardChoiceTakesDigitsViewScoreShowsTheSheetWithoutWaitingAndGameOverClosesOnExit) {
    const std::vector<GroupChoice> choices = win.GameState().WildGroupChoices();
    ASSERT_GE(choices.size(), 2u);
    const GroupChoice second = choices[1];
    // The window opens without waiting and answers once a group is chosen.
    int chosen = -1;
    ASSERT_TRUE(win.AskGroupWithoutWaiting([&chosen](int card_index) { chosen = card_index; }));
    auto* frm = qobject_cast<WildCardFrm*>(QApplication::activeModalWidget());
    ASSERT_NE(frm, nullptr);
    EXPECT_EQ(std::tuple(frm->windowTitle(), frm->GroupButton(second.Group)->text(), frm->GroupButton(0)->isHidden()),
              std::tuple("Choose Card", QStringLiteral("Group  %1").arg(second.Group), true));
    QTest::mouseClick(frm->OkBut(), Qt::LeftButton);
    frm->close();
    EXPECT_TRUE(frm->isVisible() && chosen == -1);
    ASSERT_EQ(setup.messages.size(), 2u);
    for (const auto& message : setup.messages) EXPECT_EQ(message.second, "No Group has been Selected");
    frm->GroupButton(choices[0].Group)->click();
    frm->GroupButton(second.Group)->click();
    QTest::mouseClick(frm->OkBut(), Qt::LeftButton);
    EXPECT_EQ(chosen, second.CardIndex);

    // Group 10 gets a button of its own, and digits choose by keyboard.
    WildCardFrm ten({{1, 0}, {10, 5}}, win.GameState().CardSet, win.CardClip());
    ten.show();
    EXPECT_TRUE(!ten.GroupButton(10)->isHidden() && ten.GroupButton(10)->text() == "Group  10");
    QTest::keyClick(&ten, Qt::Key_3);  // no group 3 on offer: nothing chosen
    EXPECT_FALSE(ten.GroupButton(1)->isChecked() || ten.GroupButton(3)->isChecked() || ten.GroupButton(10)->isChecked());
    QTest::keyClick(&ten, Qt::Key_0);
    EXPECT_TRUE(ten.GroupButton(10)->isChecked());
    QTest::keyClick(&ten, Qt::Key_1);
    QTest::keyClick(&ten, Qt::Key_0);
    QTest::mouseClick(ten.OkBut(), Qt::LeftButton);
    EXPECT_EQ(ten.WildGroup(), 5);
    ASSERT_TRUE(!ten.isVisible() && !frm->isVisible() && !QApplication::activeModalWidget());

    // View Score shows the sheet without waiting; the game-over window closes on Exit.
    const int starter = game.StartPlayer;
    // Only a sheet waiting in an event loop of its own would meet this before the menu returns.
    bool closed_inside = false;
    QTimer::singleShot(0, [&closed_inside] {
        if (auto* shown = qobject_cast<ScoreFrm*>(QApplication::activeModalWidget())) {
            closed_inside = true;
            shown->accept();
        }
    });
    win.MenuEntry("MM_VIEW_SCORE")->trigger();
    ASSERT_FALSE(closed_inside);
    ScoreFrm* sheet = win.ScoreWindow();
    ASSERT_TRUE(sheet && sheet->isVisible());
    EXPECT_EQ(sheet->PlayerLabel(1)->text(), "Tester");
    // The table waits for the sheet; Escape ends it as OK does, and the
    // starting player moves on once (the rules: Scoring tests).
    EXPECT_TRUE(win.MoveRunning());
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(gui_test::Settle(win));
    EXPECT_EQ(std::tuple(sheet->isVisible(), win.MoveRunning(), game.StartPlayer, game.ScoreViewOnly),
              std::tuple(false, false, starter == 0 ? 2 : starter % 4 + 1, false));

    win.ShowGameOver(1);
    ASSERT_NE(win.GameOverWindow(), nullptr);
    win.ShowGameOverPicture(1, setup.folders.SharedData / "player1" / "Player.bmp");
    EXPECT_TRUE(!win.GameOverWindow()->Image1()->pixmap().isNull() &&
                win.GameOverWindow()->Caption()->text().contains("Tester"));
    win.ShowGameOverPicture(4, setup.Root() / "missing.bmp");
    EXPECT_EQ(win.GameOverWindow()->ShownPlayer(), 4);
    // Nothing waits for the window: Exit closes it when the human is done.
    win.WaitGameOverClosed();
    ASSERT_NE(win.GameOverWindow(), nullptr);
    QTest::mouseClick(win.GameOverWindow()->ExitBut(), Qt::LeftButton);
    EXPECT_EQ(win.GameOverWindow(), nullptr);
}

TEST(DialogsScore, TheWinnersColumnBlinks) {
    ScoreSheet sheet;
    for (int p = 1; p <= 3; ++p) sheet.Headings[static_cast<std::size_t>(p)] = "P" + std::to_string(p);
    sheet.Headings[4] = " ";
    sheet.SetCell(0, 2, "12");
    sheet.SetCell(1, 2, "30");
    sheet.Strike(0, 2);
    ScoreFrm frm;
    frm.ShowSheet(sheet, 2);
    EXPECT_EQ(std::tuple(frm.PlayerLabel(2)->text(), frm.PlayerLabel(4)->text(), frm.ScoreCell(1, 2)->text()),
              std::tuple("P2", "Player 4", "30"))
        << "a seat without a name goes by its number";
    EXPECT_TRUE(frm.ScoreCell(0, 2)->font().strikeOut() && !frm.ScoreCell(1, 2)->font().strikeOut() &&
                frm.Timer1()->isActive());
    frm.Blink();
    EXPECT_EQ(std::tuple(frm.CellColour(5, 2), frm.CellColour(5, 1)), std::tuple(QColor(192, 0, 0), QColor(Qt::black)));
    frm.Blink();
    EXPECT_EQ(frm.CellColour(5, 2), QColor(Qt::black));
    // The timer blinks it: the next tick turns the winner's cells red again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return frm.CellColour(0, 2) == QColor(192, 0, 0); }, 5000));

    // However the sheet is closed: black again, and later ticks change nothing.
    const std::vector<std::pair<const char*, std::function<void(ScoreFrm&)>>> closings{
        {"OK", [](ScoreFrm& f) { QTest::mouseClick(f.OkBut(), Qt::LeftButton); }},
        {"Escape", [](ScoreFrm& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
        {"close box", [](ScoreFrm& f) { f.close(); }}};
    for (const auto& [how, close] : closings) {
        ScoreFrm closed;
        closed.ShowSheet(sheet, 2);
        closed.Blink();
        ASSERT_EQ(closed.CellColour(0, 2), QColor(192, 0, 0)) << how;
        close(closed);
        EXPECT_EQ(std::tuple(closed.isVisible(), closed.CellColour(0, 2)), std::tuple(false, QColor(Qt::black))) << how;
        closed.Blink();
        EXPECT_EQ(closed.CellColour(0, 2), QColor(Qt::black)) << how;
    }
}

TEST(DialogsGameInfo, TheTitleIsKeptAtThirtyCharacters) {
    CardSetDef set;
    set.AuthorName = "Ann";
    GameInFo frm(set, true);
    EXPECT_EQ(frm.GameTitle()->text().size(), 30);
    frm.GameTitle()->setText(QString(40, QLatin1Char('x')));
    frm.AuthorName()->setText("Bo");
    QTest::mouseClick(frm.OkBut(), Qt::LeftButton);
    EXPECT_EQ(std::tuple(set.GameTitle, set.AuthorName), std::tuple(std::string(30, 'x'), "Bo"));
    GameInFo again(set, true);
    again.GameTitle()->setText("Short");
    QTest::mouseClick(again.OkBut(), Qt::LeftButton);
    EXPECT_EQ(set.GameTitle, "Short" + std::string(25, ' '));
    GameInFo shown(set, false);
    EXPECT_FALSE(shown.GameTitle()->isEnabled() || shown.AuthorName()->isEnabled());
}

TEST_F(Dialogs, HelpOpensTheFirstPageTheActionsPageUsesTheViewersWordingAndPlaySpeedIsClamped) {
    win.MenuEntry("MM_CONTENTS")->trigger();
    ASSERT_NE(HelpWindow::Instance(), nullptr);
    EXPECT_FALSE(HelpWindow::Instance()->Browser()->toPlainText().contains("not found"));
    // The contents page is not named twice.
    EXPECT_EQ(std::tuple(HelpWindow::Instance()->CurrentTopic(), HelpWindow::Instance()->windowTitle()),
              std::tuple("playing_corvane_gaming_system.htm", "KVT Help"));
    win.OpenHelp("card_actions.htm");
    EXPECT_EQ(std::tuple(HelpWindow::Instance()->CurrentTopic(), HelpWindow::Instance()->windowTitle()),
              std::tuple("card_actions.htm", "KVT Help - The card actions"));
    // The table of actions is the card viewer's own wording, with N for the count.
    const QString page = HelpWindow::Instance()->Browser()->toPlainText().simplified();
    Card card;
    card.ActionCount = 7;
    for (int action = kActionPassLeft; action <= kActionReverse; ++action) {
        card.Action = static_cast<std::int16_t>(action);
        const QString caption = CardViewFrm::Description(card, false).replace(" 7", " N").simplified();
        EXPECT_TRUE(page.contains(caption + " " + ActionEffect(action))) << caption.toStdString();
    }
    HelpWindow::Instance()->close();
    // The viewer's own wording of an action, its count hidden when told.
    const std::tuple<int, int, bool, const char*> cases[] = {
        {1, 2, false, "Pass 2 Cards Left"}, {2, 2, false, "Pass 2  Cards Right"},
        {6, 3, false, "Draw 3  Cards From LEFT"}, {8, 1, false, "Discard 1 Cards"}, {8, 1, true, "Discard Cards"},
        {10, 1, false, "Reverse Direction of Play"}};
    for (const auto& [action, count, hide_count, text] : cases) {
        card.Action = static_cast<std::int16_t>(action);
        card.ActionCount = static_cast<std::int16_t>(count);
        EXPECT_EQ(CardViewFrm::Description(card, hide_count), text);
    }

    // The game speed dialog clamps and stores the speed.
    using Frm = PlaySpdFrm;
    for (const auto& [speed, bar] : {std::pair{0, Frm::kUnset}, {3, Frm::kFastest}, {99999, Frm::kSlowest}}) {
        game.GameSpeed = speed;
        EXPECT_EQ(PlaySpdFrm(game).HScroll1()->value(), bar) << speed;
    }

    // OK stores the bar's speed; closing without OK keeps what was there; a stored
    // speed beyond the bar reaches the timer only as far as the bar goes.
    const struct { int stored, bar; bool ok; int speed, interval; } speeds[] = {
        {99999, 40, true, 40, 40}, {40, 900, false, 40, 40}, {60000, -1, false, 60000, PlaySpdFrm::kSlowest}};
    for (const auto& c : speeds) {
        game.GameSpeed = c.stored;
        WhenModal<PlaySpdFrm>([c](PlaySpdFrm& frm) {
            if (c.bar >= 0) frm.HScroll1()->setValue(c.bar);
            c.ok ? QTest::mouseClick(frm.OkBut(), Qt::LeftButton) : frm.reject();
        });
        win.MenuEntry("MM_GAME_SPEED")->trigger();
        EXPECT_EQ(std::tuple(game.GameSpeed, win.AnimationInterval(), setup.RawSetting("PlaySpeed")),
                  std::tuple(c.speed, c.interval, " 40")) << c.stored;
    }
}

TEST(DialogsMenu, LoadCardSetStartsInTheFolderOfTheSetInForceAndDefineCardsReportsAMissingDesigner) {
    TableSetup setup;
    PlayWin::Options options = setup.Options();
    options.designer = setup.Root() / "no-such-designer";
    PlayWin& win = setup.Open(options, false);
    const QString current = QDir::currentPath();
    const auto dialog_folder = [&win] {
        QString folder;
        WhenModal<QFileDialog>([&folder](QFileDialog& dialog) {
            folder = QFileInfo(dialog.directory().absolutePath()).canonicalFilePath();
            dialog.reject();
        });
        win.MenuEntry("MM_LOAD_CARD")->trigger();
        return folder;
    };
    const auto canonical = [](const fs::path& folder) {
        return QFileInfo(PathText(folder)).canonicalFilePath();
    };
    // The set in force comes from the working folder: the shipped sets are shown.
    EXPECT_EQ(dialog_folder(), canonical(setup.folders.SharedData));

    // The choice of opponents leaves the current folder alone.
    win.ChoosePlayersCommand();
    win.PlayerSelWindow()->UseSampleOpponents();
    ASSERT_TRUE(win.PlayerSelWindow()->Ok());
    EXPECT_EQ(QDir::currentPath(), current);

    const fs::path own = setup.Root() / "sets";
    fs::create_directories(own);
    fs::copy_file(setup.folders.SharedData / files::kDefaultCardSet, own / "mine.cds");
    win.LoadCardSetCommand(own / "mine.cds");
    ASSERT_TRUE(setup.messages.empty());
    EXPECT_EQ(dialog_folder(), canonical(own));

    win.MenuEntry("MM_DEFINE_CARDS")->trigger();
    EXPECT_EQ(setup.messages, (std::vector<std::pair<QString, QString>>{
                                  {"Game Designer", "Error Launching Corvane Game Designer\nPlease ensure the designer is installed."}}));
}

TEST_F(Dialogs, TheCardViewerFollowsTheOptionAndTheMinimisedTable) {
    win.MenuEntry("MM_VIEWER")->trigger();
    ASSERT_NE(win.CardViewer(), nullptr);
    CardViewFrm& viewer = *win.CardViewer();
    EXPECT_TRUE(viewer.isVisible());
    // Before any card and off the hand: a neutral text, at the window's full size.
    QApplication::processEvents();
    const QSize size = viewer.size();
    for (const int grid : {1, -1}) {
        emit win.PointerMoved(grid, 10 * 15, 10 * 15);
        QApplication::processEvents();
        EXPECT_EQ(std::tuple(viewer.Label4()->isHidden(), viewer.Hint()->isVisible(), viewer.size()),
                  std::tuple(grid < 0, grid < 0, size)) << grid;
    }
    // Minimising the table hides the viewer; restoring shows it while the option is on. Its
    // close box unchecks the entry and keeps the option; the entry then turns it off.
    // Minimised, the table is not redrawn either.
    CardGrid& hand = *win.Hands().Grid(1);
    const auto minimise_and_restore = [this, &hand] {
        win.showMinimized();
        QApplication::processEvents();
        EXPECT_FALSE(win.CardViewer()->isVisible());
        const int cols = hand.Cols();
        win.GameState().Players[1] = gui_test::HandFromSet(win.GameState(), cols == 3 ? 4 : 3);
        win.ShowHand(win.GameState().Players[1], 1);
        EXPECT_EQ(hand.Cols(), cols);
        win.showNormal();
        QApplication::processEvents();
        return win.CardViewer()->isVisible();
    };
    EXPECT_TRUE(minimise_and_restore());
    win.CardViewer()->close();
    EXPECT_TRUE(!win.MenuEntry("MM_VIEWER")->isChecked() && win.GameState().CardViewer);
    win.MenuEntry("MM_VIEWER")->trigger();
    EXPECT_FALSE(win.GameState().CardViewer || minimise_and_restore());
}

std::vector<fs::path> Samples(const Folders& folders) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folders.SharedData / "players"))
        if (entry.path().extension() == ".dpf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

PlayerSel& OpenChoice(PlayWin& win) {
    win.ChoosePlayersCommand();
    QApplication::processEvents();
    EXPECT_NE(win.PlayerSelWindow(), nullptr);
    return *win.PlayerSelWindow();
}

class DialogsPlayerSel : public Dialogs {
protected:
    PlayerSel& sel = OpenChoice(win);
    const std::vector<fs::path> samples = Samples(setup.folders);
};

TEST_F(DialogsPlayerSel, EachEmptySeatHasItsMessageOkUnpacksTheSeatsABadFileLeavesItsSeatAndAMoveKeepsTheOld) {
    ASSERT_GE(samples.size(), 4u);

    for (int seat = 2; seat <= 4; ++seat) {
        EXPECT_FALSE(sel.Ok());
        ASSERT_FALSE(setup.messages.empty());
        EXPECT_EQ(setup.messages.back().second, QString("Player %1 has not been chosen .").arg(seat));
        if (seat == 4) break;
        ASSERT_TRUE(sel.PreviewFile(PathText(samples[static_cast<std::size_t>(seat - 2)])));
        sel.DropOnSeat(seat);
    }
    EXPECT_TRUE(sel.isVisible());
    // The close box asks the same.
    sel.close();
    EXPECT_TRUE(sel.isVisible());
    EXPECT_EQ(setup.messages.back().second, "Player 4 has not been chosen .");
    // Help opens its topic.
    QTest::mouseClick(sel.HelpBut(), Qt::LeftButton);
    ASSERT_NE(HelpWindow::Instance(), nullptr);
    EXPECT_EQ(HelpWindow::Instance()->CurrentTopic(), "choosing_players.htm");
    HelpWindow::Instance()->close();

    // OK unpacks the three seats and deals.
    sel.UseSampleOpponents();
    for (int p = 2; p <= 4; ++p) EXPECT_TRUE(sel.Seat(p)->HasPicture()) << p;
    game.Players[1].Clear();
    ASSERT_TRUE(sel.Ok() && !sel.isVisible());
    QApplication::processEvents();
    for (int p = 2; p <= 4; ++p) {
        const auto seat = static_cast<std::size_t>(p);
        EXPECT_TRUE(!game.PlayerInfo[seat].Name.empty() && fs::exists(game.PlayerDir[seat] / kPlayerPictureName)) << p;
        EXPECT_EQ(std::tuple(game.PlayerFile[seat], win.NameLabel(p)->text().toStdString()),
                  std::tuple(samples[seat - 2].string(), game.PlayerInfo[seat].Name));
    }
    EXPECT_TRUE(game.Players[1].Count() == 7 && game.RememberedPlayersComplete());

    // A bad player file leaves its seat as it was.
    const std::string name3 = game.PlayerInfo[3].Name;
    const std::string file3 = game.PlayerFile[3];
    // Not a player file at all: the preview refuses it.
    const fs::path junk = setup.Root() / "junk.dpf";
    std::ofstream(junk) << "not a player";
    const std::size_t said = setup.messages.size();
    EXPECT_FALSE(sel.PreviewFile(PathText(junk)));
    ASSERT_GT(setup.messages.size(), said);

    // A file spoilt between the preview and OK: unpacking refuses it.
    const fs::path spoilt = setup.Root() / "spoilt.dpf";
    fs::copy_file(samples[3], spoilt);
    ASSERT_TRUE(sel.PreviewFile(PathText(spoilt)));
    sel.DropOnSeat(3);
    fs::resize_file(spoilt, 40);
    EXPECT_FALSE(sel.Ok());
    EXPECT_TRUE(setup.messages.back().second.contains("Cannot load the player file"))
        << setup.messages.back().second.toStdString();
    EXPECT_EQ(std::tuple(game.PlayerInfo[3].Name, game.PlayerFile[3], sel.Seat(3)->Current().File.toStdString(),
                         setup.RawSetting("Player3")),
              std::tuple(name3, file3, file3, file3));
    EXPECT_TRUE(sel.Seat(3)->HasPicture());

    const PlayerRec before = game.PlayerInfo[2];
    ASSERT_TRUE(sel.PreviewFile(PathText(samples[3])));
    sel.DropOnSeat(2);
    // The move that is running when OK is pressed plays on with the old opponent.
    bool old_opponent_in_move = false;
    win.SetClickHandler([&](PlayWin&, const TableClick&) {
        EXPECT_TRUE(sel.Ok() && !sel.isVisible());
        old_opponent_in_move = game.PlayerInfo[2] == before && game.PlayerFile[2] != samples[3].string();
    });
    win.HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0});
    EXPECT_TRUE(old_opponent_in_move);
    EXPECT_NE(game.PlayerInfo[2].Name, before.Name);
    EXPECT_EQ(std::tuple(game.PlayerFile[2], game.Players[1].Count()), std::tuple(samples[3].string(), 7));
}

// A first run asks for the opponents before dealing. OK, New Game or Load Card
// Set (with the choice open or cancelled) deals a table that plays; chosen by
// OK, the next start brings them back without asking.
TEST(DialogsPlayerSelFirstRun, OkNewGameOrLoadCardSetBeforeAChoiceDealsATableThatPlays) {
    using Command = std::function<void(TableSetup&)>;
    const std::vector<std::pair<const char*, Command>> commands{
        {"OK",
         [](TableSetup& setup) {
             setup.win->PlayerSelWindow()->UseSampleOpponents();
             ASSERT_TRUE(setup.win->PlayerSelWindow()->Ok());
             QApplication::processEvents();
         }},
        {"New Game", [](TableSetup& setup) { setup.win->MenuEntry("MM_NEW_GAME")->trigger(); }},
        {"Load Card Set",
         [](TableSetup& setup) { setup.win->LoadCardSetCommand(setup.folders.SharedData / files::kDefaultCardSet); }},
    };
    for (const auto& [name, command] : commands) {
        for (const bool cancelled : {false, true}) {
            const bool ok = std::string(name) == "OK";
            if (ok && cancelled) continue;
            SCOPED_TRACE(std::string(name) + (cancelled ? ", choice cancelled" : ", choice open"));
            TableSetup setup;
            PlayWin::Options options = setup.Options();
            options.choose_players = true;
            PlayWin& win = setup.Open(options, false);
            QApplication::processEvents();
            EXPECT_EQ(std::tuple(win.AwaitingPlayers(), win.GameState().Players[1].Count()), std::tuple(true, 0));
            ASSERT_TRUE(win.PlayerSelWindow() && win.PlayerSelWindow()->isVisible());
            if (cancelled) QTest::mouseClick(win.PlayerSelWindow()->CancelBut(), Qt::LeftButton);
            command(setup);
            EXPECT_EQ(std::tuple(win.AwaitingPlayers(), win.GameState().Players[1].Count()), std::tuple(false, 7));
            if (ok) {
                setup.win->close();
                setup.win.reset();
                PlayWin& again = setup.Open(options, false);
                QApplication::processEvents();
                EXPECT_TRUE(!again.AwaitingPlayers() && again.PlayerSelWindow() == nullptr &&
                            !again.GameState().PlayerInfo[2].Name.empty() && again.GameState().Players[1].Count() == 7);
            }
            int clicks = 0;
            QObject::connect(setup.win.get(), &PlayWin::TableClicked, [&clicks] { ++clicks; });
            setup.win->SetClickHandler(nullptr);
            setup.win->HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0});
            EXPECT_EQ(clicks, 1);
        }
    }
}

}  // namespace
}  // namespace kvt
