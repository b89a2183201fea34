// What the table shows and plays over time: card flights, the queue of what
// the rules asked to show, and sound.

#include "engine/working_files.h"
#include "gui_support.h"
#include "platform/sound_backend.h"
#include "platform/sound_output.h"
#include "shell/show_queue.h"

namespace kvt {
namespace {

using namespace gui_test;
using namespace table_layout;

bool TrailComplete(const CardFlights& flights) { return flights.Box(CardFlights::kBoxes - 1)->isVisible(); }

TEST(CardFlights, TheTrailRunsInTenthsEndsOneStepShortAndStandsForItsPauseTheDrawFlightInFiveSteps) {
    QWidget table;
    table.resize(640, 456);
    CardFlights flights(&table);
    QPixmap picture(70, 95);
    picture.fill(Qt::red);
    // Steps are whole twips, rounded down: -1005 / 10 gives -101.
    flights.PlaceTrail(picture, QPoint(1005, 0), QPoint(0, 0));
    EXPECT_EQ(flights.Box(1)->pos(), QPoint(Px(1005 - 101), 0));

    flights.PlaceTrail(picture, QPoint(1500, 3000), QPoint(4500, 1500));
    for (int i = 0; i < CardFlights::kBoxes; ++i)
        EXPECT_EQ(std::tuple(flights.Box(i)->pos(), flights.Box(i)->Picture().toImage()),
                  std::tuple(QPoint(Px(1500 + 300 * i), Px(3000 - 150 * i)), picture.toImage())) << i;
    // The table grows to twice the design's size during the flight: the same twips land twice as far.
    flights.SetPlacement([](QPoint twips) { return TableGeometry({1280, 912}).Pixels(twips); }, QSize(140, 190));
    for (int i = 0; i < CardFlights::kBoxes; ++i)
        EXPECT_EQ(flights.Box(i)->geometry(), QRect(QPoint(2 * Px(1500 + 300 * i), 2 * Px(3000 - 150 * i)), QSize(140, 190))) << i;

    // The trail grows without holding up its caller, stands for its pause, and is gone when its end is told.
    table.show();
    flights.SetInterval(50);
    flights.PlaceTrail(picture, QPoint(0, 0), QPoint(3000, 3000));
    std::optional<bool> finished;
    flights.PlayTrail(false, [&](bool done) { finished = done; });
    EXPECT_FALSE(finished);
    ASSERT_TRUE(RunUntil([&] { return TrailComplete(flights) || finished; }));
    EXPECT_FALSE(finished || flights.AnimDone() || flights.Box(0)->isVisible());
    for (int i = 1; i < CardFlights::kBoxes; ++i) EXPECT_TRUE(flights.Box(i)->isVisible()) << i;
    ASSERT_TRUE(RunUntil([&] { return finished.has_value(); }));
    EXPECT_TRUE(*finished && flights.AnimDone());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(flights.Box(i)->isVisible()) << i;

    // The draw flight moves in five equal steps, on a table of the design's size.
    CardFlights draws(&table);
    draws.SetDrawStepPause(1);
    std::vector<QPoint> steps;
    finished.reset();
    draws.DrawFlight(picture, QPoint(3240, 1560), QPoint(2190, 4545), [&] { steps.push_back(draws.Box(0)->pos()); },
                     [&](bool done) { finished = done; });
    EXPECT_EQ(steps.size(), 1u);  // the later steps wait for their pauses
    ASSERT_TRUE(RunUntil([&] { return finished.has_value(); }));
    ASSERT_TRUE(*finished && steps.size() == 5u) << steps.size();
    // Int(-1050 / 5) = -210, Int(2985 / 5) = 597.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(steps[i], QPoint(Px(3240 - 210 * (i + 1)), Px(1560 + 597 * (i + 1))));
    EXPECT_FALSE(draws.Box(0)->isVisible());
}

TEST(ShowQueue, StepsPlayInOrderAndALastingOneHoldsBackTheRest) {
    ShowQueue queue;
    std::vector<int> played;
    int idles = 0;
    queue.SetOnIdle([&] { ++idles; });
    queue.Now([&] { played.push_back(1); });
    EXPECT_EQ(played, std::vector<int>{1});  // nothing held back: at once
    ShowQueue::Done release;
    queue.Lasting([&](ShowQueue::Done done) { release = done; });
    queue.Lasting([&](ShowQueue::Done done) {
        played.push_back(2);
        release = done;
        // A step added by a step comes after the steps already waiting.
        queue.Now([&] { played.push_back(4); });
    });
    queue.Now([&] { played.push_back(3); });
    EXPECT_EQ(played, std::vector<int>{1});
    release();
    EXPECT_TRUE(played == (std::vector<int>{1, 2}) && queue.Playing());
    const int idles_before = idles;
    ShowQueue::Done second = release;
    second();
    EXPECT_EQ(played, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(std::tuple(queue.Playing(), idles), std::tuple(false, idles_before + 1));

    // A step ends once: a second end lets no later step go.
    queue.Lasting([&](ShowQueue::Done done) { release = done; });
    second();
    EXPECT_TRUE(queue.Playing());
    // Cleared (the window closes), what waited never plays and a late end changes nothing.
    queue.Now([&] { played.push_back(5); });
    queue.Clear();
    EXPECT_FALSE(queue.Playing());
    release();
    queue.Now([&] { played.push_back(6); });
    EXPECT_EQ(played, (std::vector<int>{1, 2, 3, 4, 6}));
}

// The rules' calls through the window's view are played after the call
// returns: the flight's picture, then the hand it left as it stood.
using PlayWinFlights = TableTest;

TEST_F(PlayWinFlights, TheRulesCallsReturnAtOnceTheTableShowsThemInOrderAndClosingEndsAFlight) {
    win.SetAnimationInterval(20);
    const Card card = game.Players[1][0];
    const std::pair<std::function<void()>, QPixmap> cases[] = {
        // A card passed between hands flies from its event, face down.
        {[&] { game.TransferRandomCards(2, kActionPassLeft, 1); }, win.Hands().Back()},
        // From the hold grid: the face. (A computer's discard: Look.ACardInFlight.)
        {[&] { win.Show().Lasting([&](const ShowQueue::Done& done) { win.FlyCardMove(4, 0, card, done); }); },
         win.Hands().Face(card)},
    };
    for (const auto& [call, picture] : cases) {
        call();
        EXPECT_TRUE(win.Show().Playing());
        ASSERT_TRUE(RunUntil([&] { return TrailComplete(win.Flights()); }));
        EXPECT_EQ(win.Flights().Box(5)->Picture().toImage(), picture.toImage());
        ASSERT_TRUE(RunUntil([&] { return !win.Show().Playing(); }));
    }
    // The picked card: the box empties, the pile shows the card, the steps behind the flight wait for it.
    win.ShowPickedCard(card);
    win.Show().Lasting([&](const ShowQueue::Done& done) { win.FlyPickedCard(card, done); });
    win.Queued().SetDiscardButtonVisible(true);
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible());
    ASSERT_TRUE(RunUntil([&] { return !win.Show().Playing(); }));
    EXPECT_TRUE(win.Hands().AcceptDiscardBut()->isVisible() && !win.Hands().ShowCardPlay()->HasPicture());
    EXPECT_EQ(win.Hands().DiscardPile()->Picture().toImage(), win.Hands().Face(card).toImage());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(win.Flights().Box(i)->isVisible()) << i;
    // The last box is parked on the pile.
    EXPECT_EQ(win.Flights().Box(9)->pos(), win.Hands().DiscardPile()->pos());

    // A computer's card laid with its action shows on the pile as it was when the card landed, though the
    // rest of the turn covers it first.
    game.Players[3][0].Action = kActionNone;
    const Card laid = game.Players[3][0], covering = game.Players[2][0];
    ASSERT_NE(win.Hands().Face(laid).toImage(), win.Hands().Face(covering).toImage());
    ASSERT_NE(win.Hands().Face(laid).toImage(), win.Hands().DiscardPile()->Picture().toImage());
    game.AnimateCompDiscard(3, 0, true);
    game.DiscardPile.Push(covering);
    ASSERT_TRUE(RunUntil([&] { return !win.Show().Playing(); }));
    EXPECT_EQ(win.Hands().DiscardPile()->Picture().toImage(), win.Hands().Face(laid).toImage());

    win.SetAnimationInterval(20000);
    QTimer::singleShot(0, &win, [&] {
        win.GameState().TransferRandomCards(1, kActionPassAcross, 1);
        QTimer::singleShot(0, &win, [&] { win.close(); });
    });
    const QObject watchdog;  // ends the loop should the close not; gone with the test
    QTimer::singleShot(10000, &watchdog, [] { QApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(win.IsClosing() && !win.Show().Playing());
    // Whatever the rules still ask ends at once.
    bool draw_ended = false, clip_ended = false;
    win.FlyDraw(1, true, [&] { draw_ended = true; });
    win.PlayClipThen(setup.folders.AppDir / "OpenWav.wav", [&] { clip_ended = true; });
    EXPECT_TRUE(draw_ended && clip_ended && !win.Show().Playing());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(win.Flights().Box(i)->isVisible());
}

QString Text(const fs::path& path) { return QString::fromStdString(path.string()); }

// A clip ends on its own (muted: after the length in its header), when stopped, or at once when it cannot
// play (undecodable clips: tests/faults); each tells its end once. The device comes from a module beside
// the program, so the table itself does not load the sound libraries.
TEST(SoundOutput, EveryClipTellsItsEndOnceTheFirstPaintPlaysTheMusicAndAClipHoldsTheTable) {
    ASSERT_NE(OpenSoundBackend(), nullptr);
    EXPECT_EQ(OpenSoundBackend(), OpenSoundBackend());
    TableSetup setup;
    SoundOutput sound;
    sound.SetMuted(true);
    const fs::path long_wave = WriteWave(setup.Root() / "long.wav", 20000);
    const QString short_wave = Text(WriteWave(setup.Root() / "short.wav", 30)), long_clip = Text(long_wave);
    EXPECT_EQ(WavClipLength(short_wave), 30);
    int short_ends = 0, long_ends = 0, missing_ends = 0;
    EXPECT_TRUE(sound.Play(short_wave, [&] { ++short_ends; }));
    EXPECT_TRUE(sound.Play(long_clip, [&] { ++long_ends; }));
    EXPECT_FALSE(sound.Play(Text(setup.Root() / "missing.wav"), [&] { ++missing_ends; }));
    EXPECT_EQ(std::tuple(missing_ends, short_ends), std::tuple(1, 0));
    ASSERT_TRUE(RunUntil([&] { return short_ends > 0; }));
    EXPECT_TRUE(sound.IsPlaying(long_clip));
    sound.StopClip(long_clip);
    EXPECT_FALSE(sound.IsPlaying(long_clip));
    sound.Stop();
    EXPECT_EQ(std::tuple(short_ends, long_ends), std::tuple(1, 1));

    // Shut down (the window closes), a clip ends as it starts.
    EXPECT_TRUE(sound.Play(long_clip, [&] { ++long_ends; }));
    sound.Shutdown();
    EXPECT_FALSE(sound.Play(long_clip, [&] { ++long_ends; }));
    EXPECT_EQ(long_ends, 3);

    // The first paint plays the opening music once; turning it off stops only the music.
    PlayWin& win = setup.Open(false);
    EXPECT_TRUE(win.GameState().FirstPaint);
    win.show();
    QApplication::processEvents();
    win.Table()->repaint();
    QApplication::processEvents();
    EXPECT_FALSE(win.GameState().FirstPaint);

    SoundOutput& heard = win.Sound();
    heard.SetMuted(true);
    const fs::path clip = WriteWave(setup.Root() / "Comment1.wav", 20000);
    const QString music = Text(WriteWave(win.GameState().AppDir / files::kOpeningSound, 40000));
    win.PlayClip(clip);
    win.PlayOpeningSound();
    EXPECT_TRUE(heard.IsPlaying(music));
    win.MenuEntry("MM_MUSIC")->trigger();
    EXPECT_TRUE(!heard.IsPlaying(music) && heard.IsPlaying(Text(clip)));

    // A player's clip holds back what the table shows after it; closing the window lets all go at once.
    const std::vector<fs::path> comments = SpeakComment(win, setup.Root() / "voice", long_wave);
    win.Queued().SetDiscardButtonVisible(true);
    const auto speaking = [&] {
        return std::any_of(comments.begin(), comments.end(), [&](const fs::path& c) { return heard.IsPlaying(Text(c)); });
    };
    EXPECT_TRUE(win.Show().Playing() && speaking() && !win.Hands().AcceptDiscardBut()->isVisible());
    win.close();
    EXPECT_FALSE(win.Show().Playing() || speaking());
}

}  // namespace
}  // namespace kvt
