#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include "actions/flights_qt.h"
#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/picture_clip.h"

namespace kvt {
namespace {

using gui_test::FlightWatcher;
using gui_test::TableSetup;
using gui_test::WaitMark;

TEST(CardFlights, TheTrailRunsInTenthsAndEndsOneStepShort) {
    QWidget table;
    table.resize(640, 456);
    CardFlights flights(&table);
    QPixmap picture(70, 95);
    picture.fill(Qt::red);
    flights.PlaceTrail(picture, QPoint(1500, 3000), QPoint(4500, 1500));
    for (int i = 0; i < CardFlights::kBoxes; ++i) {
        EXPECT_EQ(flights.Box(i)->pos(), QPoint(Px(1500 + 300 * i), Px(3000 - 150 * i))) << i;
        EXPECT_EQ(flights.Box(i)->Picture().toImage(), picture.toImage());
    }
    // Steps are whole twips, rounded down: -1005 / 10 gives -101.
    flights.PlaceTrail(picture, QPoint(1005, 0), QPoint(0, 0));
    EXPECT_EQ(flights.Box(1)->pos(), QPoint(Px(1005 - 101), 0));

    // On a table twice the design's size the same twips land twice as far, in boxes twice as large.
    flights.SetPlacement([](QPoint twips) { return TableGeometry({1280, 912}).Pixels(twips); }, QSize(140, 190));
    flights.PlaceTrail(picture, QPoint(1500, 3000), QPoint(4500, 1500));
    for (int i = 0; i < CardFlights::kBoxes; ++i) {
        EXPECT_EQ(flights.Box(i)->pos(), QPoint(2 * Px(1500 + 300 * i), 2 * Px(3000 - 150 * i))) << i;
        EXPECT_EQ(flights.Box(i)->size(), QSize(140, 190)) << i;
    }
}

TEST(CardFlights, APauseLastsOneIntervalShowingTheTrail) {
    QWidget table;
    table.resize(640, 456);
    table.show();
    CardFlights flights(&table);
    EXPECT_EQ(flights.Interval(), 1000);
    flights.SetInterval(300);
    QPixmap picture(70, 95);
    picture.fill(Qt::blue);
    flights.PlaceTrail(picture, QPoint(0, 0), QPoint(3000, 3000));

    // Looked at half an interval after the trail is complete, however long
    // drawing the trail took.
    bool trail_shown = false;
    bool anim_done_during = true;
    std::unique_ptr<WaitMark> three_times;
    FlightWatcher trail_complete(flights.Box(CardFlights::kBoxes - 1));
    trail_complete.on_flight = [&] {
        three_times = std::make_unique<WaitMark>(900);
        QTimer::singleShot(150, &table, [&] {
            trail_shown = !flights.Box(0)->isVisible();
            for (int i = 1; i < CardFlights::kBoxes; ++i) trail_shown &= flights.Box(i)->isVisible();
            anim_done_during = flights.AnimDone();
        });
    };
    EXPECT_TRUE(flights.DelayDiscardAnimation());
    ASSERT_TRUE(three_times);
    EXPECT_FALSE(three_times->Reached());
    EXPECT_TRUE(trail_shown);
    EXPECT_FALSE(anim_done_during);
    EXPECT_TRUE(flights.AnimDone());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(flights.Box(i)->isVisible()) << i;
}

TEST(CardFlights, TheDrawFlightMovesInFiveEqualSteps) {
    QWidget table;
    table.resize(640, 456);
    table.show();
    CardFlights flights(&table);
    flights.SetDrawStepPause(0);
    QPixmap picture(70, 95);
    picture.fill(Qt::green);
    std::vector<QPoint> steps;
    EXPECT_TRUE(flights.DrawFlight(picture, QPoint(3240, 1560), QPoint(2190, 4545),
                                   [&] { steps.push_back(flights.Box(0)->pos()); }));
    ASSERT_EQ(steps.size(), 5u);
    // Int(-1050 / 5) = -210, Int(2985 / 5) = 597.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(steps[static_cast<std::size_t>(i)], QPoint(Px(3240 - 210 * (i + 1)), Px(1560 + 597 * (i + 1))));
    EXPECT_FALSE(flights.Box(0)->isVisible());
}

TEST(CardFlights, AnAbortEndsThePauseAtOnceAndEveryLaterOne) {
    QWidget table;
    CardFlights flights(&table);
    flights.SetInterval(20000);
    QTimer::singleShot(50, [&] { flights.Abort(); });
    const WaitMark half_the_pause(10000);
    EXPECT_FALSE(flights.DelayDiscardAnimation());
    EXPECT_FALSE(half_the_pause.Reached());
    const WaitMark any_wait(0);
    EXPECT_FALSE(flights.DelayDiscardAnimation());
    EXPECT_FALSE(flights.Wait(5000));
    EXPECT_FALSE(any_wait.Reached());
}

TEST(PlayWinFlights, ClosingTheWindowDuringAFlightEndsItAtOnce) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.SetAnimationInterval(20000);
    const Card card = win.GameState().Players[2][0];
    QTimer::singleShot(100, &win, [&] { win.close(); });
    const WaitMark half_the_pause(10000);
    win.AnimateCardMove(1, 2, card);
    EXPECT_FALSE(half_the_pause.Reached());
    EXPECT_TRUE(win.IsClosing());
    EXPECT_FALSE(win.isVisible());
    EXPECT_TRUE(win.GameState().StopRequested());
    // Settings were written on the way out.
    EXPECT_EQ(setup.RawSetting("PlaySpeed"), " 0");
    // Whatever the rules still ask returns at once.
    const WaitMark any_wait(0);
    win.AnimateCompDiscard(2, card);
    win.AnimatePickedCard(card);
    win.AnimateDraw(1, true);
    win.PlayClip(setup.folders.AppDir / "OpenWav.wav");
    EXPECT_FALSE(any_wait.Reached());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(win.Flights().Box(i)->isVisible());
}

TEST(PlayWinFlights, ClosingDuringAFlightEndsTheProgram) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.SetAnimationInterval(20000);
    const Card card = win.GameState().Players[3][0];
    bool flight_returned = false;
    // As in the program: the flight runs inside the event loop, the close
    // arrives during its pause, and the event loop must end.
    QTimer::singleShot(0, &win, [&] {
        win.AnimateCardMove(1, 3, card);
        flight_returned = true;
    });
    QTimer::singleShot(150, &win, [&] { win.close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(99); });
    watchdog.start(5000);
    const int result = QApplication::exec();
    watchdog.stop();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(flight_returned);
}

TEST(PlayWinFlights, AFlightShowsTheRightPictureAndHidesAfterwards) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.SetAnimationInterval(60);
    Game& game = win.GameState();
    const Card card = game.Players[1][0];

    // From a hand: the card back.
    QPixmap shown;
    QTimer::singleShot(30, [&] { shown = win.Flights().Box(5)->Picture(); });
    win.AnimateCardMove(2, 1, card);
    EXPECT_EQ(shown.toImage(), win.Hands().Back().toImage());

    // From the hold grid, and a computer's discard: the face.
    QTimer::singleShot(30, [&] { shown = win.Flights().Box(5)->Picture(); });
    win.AnimateCardMove(4, 0, card);
    EXPECT_EQ(shown.toImage(), win.Hands().Face(card).toImage());
    QTimer::singleShot(30, [&] { shown = win.Flights().Box(5)->Picture(); });
    win.AnimateCompDiscard(3, card);
    EXPECT_EQ(shown.toImage(), win.Hands().Face(card).toImage());

    // The picked card: the box empties, the pile shows the card.
    win.ShowPickedCard(card);
    win.AnimatePickedCard(card);
    EXPECT_FALSE(win.Hands().ShowCardPlay()->HasPicture());
    EXPECT_EQ(win.Hands().DiscardPile()->Picture().toImage(), win.Hands().Face(card).toImage());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(win.Flights().Box(i)->isVisible()) << i;
    // The last box is parked on the pile.
    EXPECT_EQ(win.Flights().Box(9)->pos(), win.Hands().DiscardPile()->pos());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(PlayWinFlights, TheWindowPaintsDuringAPause) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.SetAnimationInterval(400);
    PaintCounter counter;
    win.Table()->installEventFilter(&counter);
    int paints_at_end = -1;
    QTimer::singleShot(150, [&] { win.Table()->update(); });
    QTimer::singleShot(300, [&] { paints_at_end = counter.paints; });
    win.AnimateCompDiscard(2, win.GameState().Players[2][0]);
    EXPECT_GE(paints_at_end, 1);
    win.Table()->removeEventFilter(&counter);
}

}  // namespace
}  // namespace kvt
