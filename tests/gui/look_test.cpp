// The table in the states play brings, grabbed as a person sees it and compared with the game, over the
// background under it. With KVT_SCENE_DIR set, each scene of Look.* is also written there as a PNG.

#include <QDir>
#include <fstream>

#include "engine/working_files.h"
#include "gui_support.h"
#include "shell/show_queue.h"

namespace kvt {
namespace {

using namespace gui_test;
using namespace table_layout;

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

// Whether the part of `area` (in `widget`'s coordinates) that the window shows holds `picture` drawn at the
// area's top left. A few pixels at the edges are left out: a card's shade may fall there.
bool Shows(const QImage& shot, const QWidget& win, const QWidget& widget, const QRect& area,
           const QRect& visible, const QPixmap& picture) {
    const QRect seen = (area & visible).adjusted(4, 4, -4, -4);
    if (seen.isEmpty() || picture.isNull()) return false;
    const QImage drawn = shot.copy(QRect(widget.mapTo(&win, seen.topLeft()), seen.size()));
    const QImage meant = picture.toImage().copy(QRect(seen.topLeft() - area.topLeft(), seen.size()));
    return drawn.convertToFormat(QImage::Format_RGB32) == meant.convertToFormat(QImage::Format_RGB32);
}

// The cell of card i of a hand: the top and human hands run across, the side hands down.
QRect HandCell(const CardGrid& grid, int player, int i) {
    return player == 1 || player == 3 ? grid.CellRect(0, i) : grid.CellRect(i, 0);
}

// Compares the drawn table with the game: the pile shows its top card, the human's hand its cards in the
// order shown, every other hand as many backs as it holds cards and felt after them.
void ExpectTableShowsTheGame(PlayWin& win, const char* scene) {
    SCOPED_TRACE(scene);
    const QImage shot = Shot(win, scene);
    const Game& game = win.GameState();
    const HandView& hands = win.Hands();
    const PictureBox& pile = *hands.DiscardPile();
    ASSERT_FALSE(game.DiscardPile.Empty());
    const QPixmap top = hands.Face(game.DiscardPile.Top());
    EXPECT_TRUE(Shows(shot, win, pile, QRect(QPoint(0, 0), top.size()), pile.rect(), top));
    for (int p = 1; p <= 4; ++p) {
        const CardStack& hand = game.Players[p];
        const CardGrid& grid = *hands.Grid(p);
        const QRect view = grid.Viewport();
        int checked = 0;
        for (int i = 0; i < hand.Count() && HandCell(grid, p, i).intersects(view); ++i, ++checked) {
            const QPixmap meant = p == 1 ? hands.Face(hand[hands.HumanSlot(i)]) : hands.Back();
            EXPECT_TRUE(Shows(shot, win, grid, HandCell(grid, p, i), view, meant)) << "seat " << p << ", card " << i;
        }
        EXPECT_GT(checked, 0) << "seat " << p;
        const QRect after = HandCell(grid, p, hand.Count());
        if (p != 1 && after.intersects(view)) {
            EXPECT_FALSE(Shows(shot, win, grid, after, view, hands.Back())) << "seat " << p << " shows a card too many";
        }
    }
}

QColor PixelOf(QWidget* widget, int x, int y) { return widget->grab().toImage().pixelColor(x, y); }

// Bare table spots: no hand, pile, label or box covers them.
const std::vector<QPoint> kBareSpots{{1, 1}, {120, 250}, {600, 440}, {470, 300}};

// The card set's background cell is tiled under the table; without one the table is green; a background
// bitmap of the card set covers it.
using Look = TableTest;

TEST_F(Look, TheTableShowsTheGameAsItStandsOnTheTiledBackgroundOrTheBackgroundBitmap) {
    ExpectTableShowsTheGame(win, "scene-dealt");
    ASSERT_EQ(win.BackgroundKind(), PlayWin::Background::kTiles);
    const QImage bitmap = win.CardClip().Picture().toImage();
    for (const QPoint& at : kBareSpots) {
        const QColor expected =
            bitmap.pixelColor(game.BackCellX + 1 + at.x() % 69, game.BackCellY + 1 + at.y() % 94);
        EXPECT_EQ(PixelOf(win.Table(), at.x(), at.y()), expected) << at.x() << "," << at.y();
    }

    // Another game drawn from scratch: new hands, a new top card.
    for (const auto& [p, n] : {std::pair{1, 4}, {2, 2}, {3, 9}, {4, 1}}) game.Players[p] = HandFromSet(game, n);
    game.DiscardPile.Push(game.Players[3][4]);
    win.RedrawTable();
    ExpectTableShowsTheGame(win, "scene-redrawn");

    // At 700 pixels, column 10 starts at 690 and runs past the edge.
    ResizeTable(win, {700, win.Table()->height()});
    EXPECT_EQ(PixelOf(win.Table(), 695, 440), bitmap.pixelColor(game.BackCellX + 1 + 5, game.BackCellY + 1 + 440 % 94));
    // Twice the design's size: every card drawn at the table's scale, tiles of 138 x 188 pixels over all of it.
    ResizeTable(win, {1280, 912});
    ASSERT_EQ(win.Hands().Face(game.Players[1][0]).size(), QSize(140, 190));
    ExpectTableShowsTheGame(win, "scene-scaled");
    const QPoint corner(1275, 905);
    const QColor at_corner = PixelOf(win.Table(), corner.x(), corner.y());
    EXPECT_EQ(std::tuple(PixelOf(win.Table(), corner.x() - 4 * 138, corner.y()), PixelOf(win.Table(), corner.x(), corner.y() - 188)),
              std::tuple(at_corner, at_corner));
    EXPECT_NE(at_corner, QColor(0, 128, 0));

    ResizeTable(win, {640, 456});
    for (Card& def : game.CardSet.CardDefs)
        if (def.Action == kActionBackgroundCell) def.Action = kActionNeverDealt;
    win.SetUpBackground();
    EXPECT_EQ(win.BackgroundKind(), PlayWin::Background::kPlain);
    for (const QPoint& at : kBareSpots) EXPECT_EQ(PixelOf(win.Table(), at.x(), at.y()), QColor(0, 128, 0));

    // The next start finds the card set's background in the working folder; an empty file does not count.
    setup.Close();
    std::ofstream(setup.folders.AppDir / files::kBackground).close();
    PlayWin& tiled = setup.Open();
    EXPECT_EQ(std::tuple(tiled.GameState().HasBackFile, tiled.BackgroundKind()),
              std::tuple(false, PlayWin::Background::kTiles));
    setup.Close();
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(120, 40, 60));
    ASSERT_TRUE(picture.save(QString::fromStdString((setup.folders.AppDir / files::kBackground).string()), "BMP"));
    PlayWin& covered = setup.Open();
    ASSERT_TRUE(covered.GameState().HasBackFile && covered.BackgroundKind() == PlayWin::Background::kPicture);
    for (const QPoint& at : kBareSpots) EXPECT_EQ(PixelOf(covered.Table(), at.x(), at.y()), QColor(120, 40, 60));
    // Any size: the picture still covers the table, to its far corner.
    const QSize table = covered.Table()->size() + QSize(900, 500);
    ResizeTable(covered, table);
    EXPECT_EQ(PixelOf(covered.Table(), table.width() - 2, table.height() - 2), QColor(120, 40, 60));
}

TEST_F(Look, TheHumanChoosingCardsToPass) {
    for (const auto& [p, n] : {std::pair{2, 12}, {4, 3}}) game.Players[p] = HandFromSet(game, n);
    // A Pass 3 card is picked; two cards are chosen so far.
    const Card pass = PickWithChosen(win, kActionPassLeft, 3, 13, 2);
    const CardStack held = win.Building().Held();
    for (int p = 2; p <= 4; ++p) win.ShowHand(game.Players[p], p);
    win.SetDiscardButtonVisible(true);
    win.SetSeatArrowVisible(3, true);
    win.SetTakePrompt(3);
    win.SetChooseMessageVisible(true);
    win.SetDirectionPicture(1);
    win.ShowDiscardTop();
    win.ShowGuidance();  // the take prompt stands where the hold grid's hint would
    const QImage image = Shot(win, "scene-choosing");
    EXPECT_TRUE(win.Hands().Grid(1)->ScrollBarShown());
    // The hold grid shows the chosen cards, the box the picked card.
    CardGrid& hold = *win.Hands().Grid(0);
    ASSERT_EQ(held.Count(), 2);
    for (int i = 0; i < held.Count(); ++i)
        EXPECT_TRUE(Shows(image, win, hold, hold.CellRect(0, i), hold.Viewport(), win.Hands().Face(held[i])));
    const PictureBox& box = *win.Hands().ShowCardPlay();
    const QPixmap face = win.Hands().Face(pass);
    EXPECT_TRUE(Shows(image, win, box, QRect(QPoint(0, 0), face.size()), box.rect(), face));

    // On a larger table, with the hint a new player reads above the hold grid.
    win.SetChooseMessageVisible(false);
    win.resize(1280, 800);
    win.ShowGuidance();
    Shot(win, "scene-choosing-large");
    EXPECT_TRUE(win.HoldHintLbl()->isVisible());
}

// A computer's discard flies from its event, face up; the rules' call returns at once.
TEST_F(Look, ACardInFlight) {
    win.SetAnimationInterval(20000);
    win.SetSeatArrowVisible(4, true);
    const Card card = game.Players[4][2];
    game.AnimateCompDiscard(4, 2, false);
    EXPECT_TRUE(win.Show().Playing());
    // Shot during the pause, once the trail is complete.
    ASSERT_TRUE(RunUntil([&] { return win.Flights().Box(CardFlights::kBoxes - 1)->isVisible(); }));
    const QImage image = Shot(win, "scene-flight");
    const QPoint last = win.Flights().Box(9)->mapTo(&win, QPoint(0, 0));
    // The trail's last box, a step short of the pile, shows the card's face.
    const QImage face = win.Hands().Face(card).toImage();
    EXPECT_EQ(image.pixelColor(last + QPoint(35, 60)), face.pixelColor(35, 60));
}

}  // namespace
}  // namespace kvt
