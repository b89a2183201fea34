// The table window: start-up, options and exit, commands, clicks, the card
// bitmap (and pictures decoded as Qt's own reader decodes them) and the move log.

#include <QAction>
#include <QBuffer>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QtEndian>
#include <cstring>

#include "dialogs/card_view_frm.h"
#include "engine/working_files.h"
#include "gui_support.h"
#include "platform/picture_decode.h"
#include "platform/settings_keys.h"
#include "shell/move_log.h"

namespace kvt {
namespace {

using namespace gui_test;

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
        const QImage ours = DecodePicture(static_cast<std::uint64_t>(bytes.size()), ReaderOf(bytes));
        const QImage qts = QtDecode(bytes);
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
    // The hands are shown as dealt (the deal itself: Dealing.NewGameDealsAfresh...).
    EXPECT_EQ(std::tuple(game.GameSpeed, win.AnimationInterval(), win.Hands().Grid(0)->isVisible(), win.pos()),
              std::tuple(0, 1000, false, QPoint(0, 0)));
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(win.Hands().Grid(p)->isVisible()) << p;
    // The shipped default set is in force, its bitmap read from the working folder.
    EXPECT_EQ(std::tuple(win.windowTitle().contains("Four Winds"), win.CardClip().Picture().size()),
              std::tuple(true, QSize(1425, 550)));

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
    for (const auto& [name, caption] : entries)
        EXPECT_EQ(win.MenuEntry(name) ? win.MenuEntry(name)->text() : "(no entry)", caption) << name;
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
// A place out of reach is brought on screen.
TEST(PlayWinStartUp, TheOptionsAndThePlaceComeFromTheSettingsTheMenuTogglesThemExitWritesThemAndAPlaceIsInReach) {
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
    const std::vector<int> sorted = ShownOrder(dealt, true);  // the order itself: ShownOrder
    for (int column = 0; column < dealt.Count(); ++column)
        EXPECT_EQ(win.Hands().Grid(1)->Picture(0, column).toImage(),
                  win.Hands().Face(dealt[sorted[column]]).toImage()) << column;
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

    for (const char* extreme : {"-2147483648", "2147483647"}) {
        setup.WriteSetting("Left", extreme);
        setup.WriteSetting("Top", extreme);
        PlayWin& moved = setup.Open();
        const QRect reach = QGuiApplication::primaryScreen()->virtualGeometry();
        EXPECT_TRUE(reach.contains(moved.pos())) << extreme;
        EXPECT_TRUE(moved.close());
        const int left = std::stoi(setup.RawSetting("Left"));
        EXPECT_TRUE(left >= reach.left() * 15 && left <= reach.right() * 15) << extreme << ": " << left;
    }
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
        {win.Hands().ShowCardPlay(), {30, 30}, P::kPickedCard, 1, 0, 0},
        {win.Hands().AcceptDiscardBut(), {}, P::kDiscardButton, 1, 0, 0}};
    for (const auto& [widget, at, place, player, row, col] : cases) {
        clicks.clear();
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        ASSERT_EQ(clicks.size(), 1u) << widget->objectName().toStdString();
        EXPECT_EQ(std::tuple(clicks[0].place, clicks[0].player, clicks[0].row, clicks[0].col),
                  std::tuple(place, player, row, col)) << widget->objectName().toStdString();
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

// The 7 of group 2 moved from one place to another.
Event Moved(Place from, int from_seat, Place to, int to_seat) {
    Card seven;
    std::tie(seven.Group, seven.Value, seven.Action) = std::tuple(2, 7, kActionDiscard);
    return Event::Moved(EventKind::CardMoved, seven, {from, static_cast<std::int8_t>(from_seat)},
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

TEST_F(PlayWinClicks, TheMoveLogShowsBesideTheTableFollowsThePlayAndCheckedPicturesAreShownOnlyInForce) {
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
    ASSERT_TRUE(Settle(win));
    ASSERT_GE(win.Log()->Lines(), 1);
    EXPECT_TRUE(win.Log()->Line(0).startsWith("You drew ")) << win.Log()->Line(0).toStdString();

    // A new deal is one line and the card turned up, not 28 draws.
    win.MenuEntry("MM_NEW_GAME")->trigger();
    ASSERT_TRUE(Settle(win));
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
        if (in_force) win.PicturesInForce();
        win.LoadCardBitmap(missing);
        EXPECT_EQ(win.CardClip().IsEmpty(), !in_force);
        if (in_force) {
            EXPECT_EQ(win.CardClip().Picture().size(), QSize(300, 220));
        }
    }
    // Kept only for the next load: a later one reads the file again.
    win.LoadCardBitmap(missing);
    EXPECT_TRUE(win.CardClip().IsEmpty() && win.CardBitmapFault(3, read) != "");
    // So is the background that arrives with a load.
    std::tie(game.HasBackFile, game.BackFilePath) = std::tuple(true, missing);
    for (const bool in_force : {true, false}) {
        win.BackgroundArriving(static_cast<std::uint64_t>(bmp.size()), read);
        if (in_force) win.PicturesInForce();
        win.SetUpBackground();
        EXPECT_EQ(win.BackgroundKind(), in_force ? PlayWin::Background::kPicture : PlayWin::Background::kPlain);
    }
}

}  // namespace
}  // namespace kvt
