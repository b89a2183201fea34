#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTimer>

#include "actions/flights_qt.h"
#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/picture_clip.h"
#include "shell/help_window.h"

// The table in the states play brings, drawn as a person sees them. With
// KVT_SCENE_DIR set, each scene is also written there as a PNG.
namespace kvt {
namespace {

using gui_test::HandFromSet;
using gui_test::TableSetup;

QImage Shot(QWidget& win, const char* name) {
    QApplication::processEvents();
    const QImage image = win.grab().toImage();
    const QString folder = qEnvironmentVariable("KVT_SCENE_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(QStringLiteral("%1.png").arg(QLatin1String(name))));
    }
    return image;
}

// A table that shows more than felt: many distinct colours.
int Colours(const QImage& image) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) seen.insert(image.pixel(x, y));
    return static_cast<int>(seen.size());
}

TEST(Look, TheDealtTable) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    const QImage image = Shot(win, "scene-dealt");
    EXPECT_GT(Colours(image), 200);
}

TEST(Look, TheHumanChoosingCardsToPass) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    Game& game = win.GameState();
    game.Players[1] = HandFromSet(game, 11);
    game.Players[2] = HandFromSet(game, 12);
    game.Players[4] = HandFromSet(game, 3);
    // A Pass 3 card is picked; two cards are chosen so far.
    Card pass = game.Players[1][5];
    pass.ActionCount = 3;
    game.PickStack.Clear();
    game.PickStack.Push(pass);
    game.HoldStack = HandFromSet(game, 2);
    for (int p = 1; p <= 4; ++p) win.ShowHand(game.Players[static_cast<std::size_t>(p)], p);
    win.ShowPickedCard(pass);
    win.ShowHand(game.HoldStack, 0);
    win.SetHoldGridVisible(true);
    win.SetDiscardButtonVisible(true);
    win.PlaceSeatArrows();
    win.SetSeatArrowVisible(3, true);
    win.SetChooseMessage("Choose a card from Player - Player 3");
    win.SetChooseMessageVisible(true);
    win.SetDirectionPicture(1);
    const QImage image = Shot(win, "scene-choosing");
    EXPECT_GT(Colours(image), 200);
    EXPECT_TRUE(win.Hands().Grid(1)->ScrollBarShown());
}

TEST(Look, NothingLeftToDrawAndTheCardActionsHelp) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.GameState().DrawDeck.Clear();
    win.RedrawTable();
    win.ShowNothingToDraw(1, true);
    Shot(win, "scene-nothing-to-draw");
    EXPECT_FALSE(win.Hands().DrawDeck()->HasPicture());
    win.OpenHelp("card_actions.htm");
    ASSERT_NE(HelpWindow::Instance(), nullptr);
    EXPECT_GT(Colours(Shot(*HelpWindow::Instance(), "scene-help-card-actions")), 2);
    HelpWindow::Instance()->close();
}

TEST(Look, ACardInFlight) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.SetAnimationInterval(250);
    win.PlaceSeatArrows();
    win.SetSeatArrowVisible(4, true);
    const Card card = win.GameState().Players[4][2];
    win.ShowHoldCard(4, card);
    QImage image;
    QPoint last;
    QTimer::singleShot(120, [&] {
        image = Shot(win, "scene-flight");
        last = win.Flights().Box(9)->mapTo(&win, QPoint(0, 0));
    });
    win.AnimateCompDiscard(4, card);
    win.HideHoldCard();
    ASSERT_FALSE(image.isNull());
    // The trail's last box, a step short of the pile, shows the card's face.
    const QImage face = win.Hands().Face(card).toImage();
    EXPECT_EQ(image.pixelColor(last + QPoint(35, 60)), face.pixelColor(35, 60));
}

}  // namespace
}  // namespace kvt
