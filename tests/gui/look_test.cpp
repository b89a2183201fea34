// The table as a person sees it: the hands' grids (the grid widget alone,
// then each hand as the table lays it out), the table at any size (one scale
// for everything, the design's arrangement at the design size, nothing
// overlapping, sharp cards at every pixel ratio, the hints a new player sees),
// and the table in the states play brings, grabbed and compared with the game,
// over the background under it. With KVT_SCENE_DIR set, each scene of Look.*
// is also written there as a PNG. Then what the table shows and plays over
// time: card flights, the queue of what the rules asked to show, and sound.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include "engine/working_files.h"
#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/picture_clip.h"
#include "platform/sound_backend.h"
#include "platform/sound_output.h"
#include "shell/flights_qt.h"
#include "shell/show_queue.h"
#include "shell/table_keys.h"
#include "shell/table_marks_qt.h"

namespace kvt {
namespace {

using namespace gui_test;
using namespace table_layout;

// A one-row hand: n - 1 strips of 30 pixels and a last card of 75.
void MakeHand(CardGrid& grid, int n) {
    grid.SetRows(1);
    grid.SetCols(n);
    for (int i = 0; i < n - 1; ++i) grid.SetColWidth(i, 30);
    grid.SetColWidth(n - 1, 75);
    grid.SetRowHeight(0, 100);
    QPixmap card(70, 95);
    for (int i = 0; i < n; ++i) {
        card.fill(QColor(10 * i, 100, 200));
        grid.SetPicture(0, i, card);
    }
}

TEST(CardGrid, StripsMapToTheirColumnsTheLastCardIsWholeFewerCellsDropTheirPicturesAndWideHandsScroll) {
    CardGrid grid;
    grid.resize(30 * 4 + 70, 95);
    MakeHand(grid, 5);
    for (const auto& [x, col] : {std::pair{0, 0}, {29, 0}, {30, 1}, {119, 3}, {120, 4}, {189, 4}, {195, -1}})
        EXPECT_EQ(grid.ColumnAt(x), col) << x;
    EXPECT_EQ(grid.CellRect(0, 4), QRect(120, 0, 75, 100));
    // The picture is cut at the cell's edge: a strip shows its own card, the
    // last cell the whole last card.
    const QImage shot = grid.grab().toImage();
    EXPECT_EQ(shot.pixelColor(35, 50), QColor(10, 100, 200));
    EXPECT_EQ(shot.pixelColor(185, 50), QColor(40, 100, 200));

    // Fewer cells drop the pictures of the others; the current cell takes a picture.
    grid.SetCol(4);
    grid.SetCols(3);
    EXPECT_EQ(grid.Col(), 2);
    grid.SetCols(5);
    EXPECT_EQ(std::tuple(grid.Picture(0, 2).isNull(), grid.Picture(0, 3).isNull(), grid.Picture(0, 4).isNull()),
              std::tuple(false, true, true));
    EXPECT_EQ(grid.ColWidth(4), CardGrid::kDefaultColWidth);
    grid.SetCol(1);
    grid.SetCellPicture(QPixmap());
    EXPECT_EQ(std::tuple(grid.Picture(0, 0).isNull(), grid.Picture(0, 1).isNull()), std::tuple(false, true));
    grid.SetCol(99);
    EXPECT_EQ(grid.Col(), 4);

    // A hand too wide scrolls by columns; one that fits needs no scroll bar.
    CardGrid wide;
    wide.resize(300, 95 + CardGrid::kScrollBarExtent);
    MakeHand(wide, 11);  // 10 strips and a card: 375 pixels
    wide.SetScrollBars(CardGrid::kHorizontal);
    EXPECT_TRUE(wide.ScrollBarShown() && wide.Viewport().height() == 95);
    // From column 3 on, the cards fit: 7 strips and the last card, 285 pixels.
    wide.SetLeftCol(10);
    EXPECT_EQ(wide.LeftCol(), 3);
    wide.SetLeftCol(2);
    EXPECT_EQ(std::tuple(wide.LeftCol(), wide.ColumnAt(5), wide.CellRect(0, 2).left()), std::tuple(2, 2, 0));
    // Without a scroll bar mode nothing shows, even when the cells do not fit.
    wide.SetScrollBars(CardGrid::kNoScrollBars);
    EXPECT_FALSE(wide.ScrollBarShown());

    CardGrid fits;
    fits.resize(300, 108);
    MakeHand(fits, 8);
    fits.SetScrollBars(CardGrid::kHorizontal);
    EXPECT_FALSE(fits.ScrollBarShown());
    fits.SetLeftCol(4);
    EXPECT_EQ(fits.LeftCol(), 0);

    // A column of cards scrolls by rows.
    CardGrid column;
    column.resize(72, 300);
    column.SetCols(1);
    column.SetRows(12);
    for (int r = 0; r < 12; ++r) column.SetRowHeight(r, 30);
    column.SetScrollBars(CardGrid::kVertical);
    EXPECT_TRUE(column.ScrollBarShown());
    column.SetTopRow(5);
    EXPECT_EQ(std::tuple(column.TopRow(), column.RowAt(0)), std::tuple(2, 2));
}

bool SameImage(const QPixmap& a, const QPixmap& b) { return a.toImage() == b.toImage(); }

class HandViewTest : public TableTest {
protected:
    CardGrid* Grid(int i) { return win.Hands().Grid(i); }
};

TEST_F(HandViewTest, EachHandsGridFollowsItsCardsAndTheHoldGridThePickedCard) {
    struct Case { int grid, cards; QRect geometry; int rows, cols; int scroll; };
    const Case cases[] = {
        {1, 10, {146, 303, 340, 95}, 1, 10, CardGrid::kNoScrollBars},  // ten fit without a scroll bar
        {1, 11, {146, 303, 300, 108}, 1, 11, CardGrid::kHorizontal},
        {2, 11, {7, 67, 72, 300}, 12, 1, CardGrid::kVertical},           // one spare row, a fixed height
        {2, 1, {7, 67, 72, 95}, 1, 1, CardGrid::kNoScrollBars},
        {2, 7, {7, 67, 72, 30 * 6 + 95}, 7, 1, CardGrid::kNoScrollBars},  // side hands: columns of strips
        {3, 12, {146, 7, 300, 95}, 1, 13, CardGrid::kHorizontal},
        {3, 7, {146, 7, 250, 95}, 1, 8, CardGrid::kNoScrollBars},          // the top hand has a spare column
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "grid " << c.grid << ", " << c.cards << " cards");
        game.Players[c.grid] = HandFromSet(game, c.cards);
        win.SetHandVisible(c.grid, true);
        win.ShowHand(game.Players[c.grid], c.grid);
        CardGrid* grid = Grid(c.grid);
        EXPECT_EQ(std::tuple(grid->geometry(), grid->Rows(), grid->Cols(), grid->ScrollBars()),
                  std::tuple(c.geometry, c.rows, c.cols, c.scroll));
    }
    EXPECT_TRUE(Grid(3)->Picture(0, 7).isNull());
    // A card more keeps the scrolled place (the strips scale with the table: ScaledTable).
    EXPECT_TRUE(Grid(1)->ScrollBarShown());
    Grid(1)->SetLeftCol(1);
    game.Players[1].Push(game.DrawDeck[0]);
    win.ShowHand(game.Players[1], 1);
    EXPECT_EQ(Grid(1)->LeftCol(), 1);
    // No card: the side hand is hidden.
    game.Players[2].Clear();
    win.ShowHand(game.Players[2], 2);
    EXPECT_FALSE(Grid(2)->isVisible());

    // The hold grid has as many cells as the picked card asks for.
    CardGrid* hold = Grid(0);
    const TwipRect before = win.Hands().GridRect(0);
    Card pass;
    pass.Action = kActionDiscard;
    pass.ActionCount = 6;
    const CardStack held = HandFromSet(game, 2);
    win.ShowPickedCard(pass);
    win.ShowHand(held, 0);
    EXPECT_EQ(std::tuple(hold->Cols(), hold->geometry(), hold->ScrollBarShown(), win.Hands().GridRect(0).Left),
              std::tuple(6, QRect(278, 205, 220, 95), false, before.Left));
    EXPECT_TRUE(!hold->Picture(0, 1).isNull() && hold->Picture(0, 2).isNull());

    pass.ActionCount = 7;
    win.ShowPickedCard(pass);
    win.ShowHand(held, 0);
    EXPECT_EQ(std::tuple(hold->Cols(), hold->size(), win.Hands().GridRect(0).Height, hold->ScrollBars(), hold->ScrollBarShown()),
              std::tuple(7, QSize(180, 108), 95 * 15 + 200, CardGrid::kHorizontal, true));
}

// The design's places are pinned by TableGeometry; here the seat arrows, the
// direction, the right hand after the window is widened, then what no deal shows.
TEST_F(HandViewTest, WithoutACardBackTheOneShownBeforeStaysAnEmptyDeckShowsNoneAndFacesAreCut) {
    win.PlaceSeatArrows();
    const TwipRect left = win.Hands().GridRect(2);
    const TwipRect top = win.Hands().GridRect(3);
    const TwipRect right = win.Hands().GridRect(4);
    EXPECT_EQ(win.PlayerPtr(2)->pos(), QPoint(Px(left.Left + left.Width + 50), Px(left.Top)));
    EXPECT_EQ(win.PlayerPtr(3)->pos(), QPoint(Px(top.Left + 50), Px(top.Top + top.Height + 50)));
    EXPECT_EQ(win.PlayerPtr(4)->pos(), QPoint(Px(right.Left - 30 * 15 - 50), Px(right.Top)));
    for (int seat = 2; seat <= 4; ++seat) EXPECT_FALSE(win.PlayerPtr(seat)->isVisible());
    win.SetSeatArrowVisible(3, true);
    EXPECT_TRUE(win.PlayerPtr(3)->isVisible());
    for (const int reversed : {0, 1}) {
        win.SetDirectionPicture(reversed);
        EXPECT_EQ(win.PlayDirect(0)->isVisible(), reversed == 0);
        EXPECT_EQ(win.PlayDirect(1)->isVisible(), reversed == 1);
    }
    CardGrid* right_hand = Grid(4);
    const int table_width = win.Table()->width();
    EXPECT_EQ(right_hand->x(), Px(table_width * 15 - 73 * 15 - 100));
    const int before = right_hand->x();
    ResizeTable(win, win.Table()->size() + QSize(200, 0));
    win.ShowHand(game.Players[4], 4);
    EXPECT_EQ(std::tuple(right_hand->x(), right_hand->width()), std::tuple(before + 200, 73));
    // The name and the arrow of that seat go along.
    EXPECT_EQ(win.NameLabel(4)->geometry().right() + 1, right_hand->geometry().right() + 1);

    // What no deal shows (the look tests compare the drawn hands with the game): without a card back the
    // one shown before stays, an empty deck shows none.
    const QPixmap back = win.Hands().Back();
    ASSERT_FALSE(back.isNull());
    EXPECT_TRUE(SameImage(win.Hands().DrawDeck()->Picture(), back));
    game.CardBackDef = 0;
    win.RedrawTable();
    EXPECT_TRUE(SameImage(win.Hands().DrawDeck()->Picture(), back) && SameImage(Grid(2)->Picture(0, 0), back));
    game.DrawDeck.Clear();
    win.RedrawTable();
    EXPECT_FALSE(win.Hands().DrawDeck()->HasPicture());

    // A face is cut from the card bitmap's cell.
    Card card;
    card.PicRow = 2;
    card.PicCol = 3;
    const QPixmap face = win.CardClip().CardFace(card);
    EXPECT_EQ(face.size(), QSize(70, 95));
    const QImage bitmap = win.CardClip().Picture().toImage();
    EXPECT_EQ(face.toImage().convertToFormat(QImage::Format_RGB32),
              bitmap.copy(3 * 75 + 5, 2 * 110 + 5, 70, 95).convertToFormat(QImage::Format_RGB32));
}

TEST(ShownOrder, ByGroupThenValueKeepingEqualCardsInOrder) {
    CardStack hand;
    for (const auto& [group, value] : {std::pair{2, 5}, {1, 9}, {0, 3}, {1, 2}, {1, 9}}) {
        Card card;
        card.Group = static_cast<std::int16_t>(group);
        card.Value = static_cast<std::int16_t>(value);
        hand.Push(card);
    }
    EXPECT_EQ(ShownOrder(hand, false), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(ShownOrder(hand, true), (std::vector<int>{2, 3, 1, 4, 0}));
}

// The design, its minimum, the common screens, a wide and a tall table.
const struct { QSize table; double scale; int hand_limit, side_limit; } kSizes[] = {
    {{640, 456}, 1.0, 10, 10},    {{512, 365}, 0.8, 10, 10},   {{800, 560}, 560 / 456.0, 10, 10},
    {{1280, 950}, 2.0, 10, 10},   {{1920, 1010}, 1010 / 456.0, 13, 10}, {{1000, 456}, 1.0, 16, 10},
    {{640, 900}, 1.0, 10, 17},
};

class ScaledTable : public TableTest {
protected:
    HandView& Hands() { return win.Hands(); }

    // A card of the set with this action and count picked from a hand of
    // `left` more, `chosen` of them chosen.
    void Pick(int action, int count, int left, int chosen) {
        Card card = HandFromSet(game, 1)[0];
        card.Action = static_cast<std::int16_t>(action);
        card.ActionCount = static_cast<std::int16_t>(count);
        PickWithChosen(win, card, left, chosen);
    }

    // Full hands, the hold grid open for a Discard 6, every mark shown.
    void FillTheTable() {
        const int limit = win.Geometry().HandLimit();
        game.Players[3] = HandFromSet(game, limit);
        game.Players[2] = HandFromSet(game, win.Geometry().SideLimit());
        game.Players[4] = HandFromSet(game, win.Geometry().SideLimit());
        Pick(kActionDiscard, 6, limit + 2, 2);
        win.RedrawTable();
        win.SetDiscardButtonVisible(true);
        for (int seat = 2; seat <= 4; ++seat) win.SetSeatArrowVisible(seat, true);
        win.PlaceSeatArrows();
        QApplication::processEvents();
    }
};

// Where each visible part of the table is drawn; the piles by the cards they show.
std::vector<std::pair<QString, QRect>> PartsOnTable(PlayWin& win) {
    std::vector<std::pair<QString, QRect>> parts;
    const auto add = [&](QWidget* w, QRect shown) {
        if (w->isVisible()) parts.emplace_back(w->objectName(), shown);
    };
    const QSize card = win.Geometry().CardSize();
    for (int i = 0; i <= 4; ++i) add(win.Hands().Grid(i), win.Hands().Grid(i)->geometry());
    for (PictureBox* pile : {win.Hands().DrawDeck(), win.Hands().DiscardPile()})
        add(pile, QRect(pile->pos(), card + QSize(4, 4)));
    add(win.Hands().ShowCardPlay(), win.Hands().ShowCardPlay()->geometry());
    add(win.Hands().AcceptDiscardBut(), win.Hands().AcceptDiscardBut()->geometry());
    for (int p = 1; p <= 4; ++p) add(win.NameLabel(p), win.NameLabel(p)->geometry());
    for (int seat = 2; seat <= 4; ++seat) add(win.PlayerPtr(seat), win.PlayerPtr(seat)->geometry());
    add(win.PlayDirect(0), win.PlayDirect(0)->geometry());
    add(win.HoldHintLbl(), win.HoldHintLbl()->geometry());
    return parts;
}

TEST_F(ScaledTable, AtEverySizeOneScaleEverythingIsInsideNothingOverlapsAndCardsAreSharp) {
    for (const auto& c : kSizes) {
        SCOPED_TRACE(testing::Message() << c.table.width() << "x" << c.table.height());
        // One scale for everything, more cards where there is room, the design table in the middle.
        const TableGeometry g(c.table);
        EXPECT_NEAR(g.Scale(), c.scale, 0.003);
        EXPECT_EQ(std::tuple(g.HandLimit(), g.SideLimit()), std::tuple(c.hand_limit, c.side_limit));
        const QPoint off_centre = g.Pixels(g.Middle({0, 0, Tw(640), Tw(456)})).center() - QPoint(c.table.width() / 2, c.table.height() / 2);
        EXPECT_LE(std::max(std::abs(off_centre.x()), std::abs(off_centre.y())), 1);
        EXPECT_EQ(g.CardSize(), QSize(g.Scaled(70), g.Scaled(95)));
        ResizeTable(win, c.table);
        FillTheTable();
        EXPECT_EQ(win.Geometry().Size(), c.table);
        const auto parts = PartsOnTable(win);
        ASSERT_EQ(parts.size(), 18u) << "every part is shown";
        const QRect table = win.Table()->rect();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(table.contains(parts[i].second)) << parts[i].first.toStdString();
            // Rounding may make two parts touch by a pixel, no more.
            for (std::size_t j = i + 1; j < parts.size(); ++j)
                EXPECT_FALSE(parts[i].second.adjusted(1, 1, -1, -1).intersects(parts[j].second.adjusted(1, 1, -1, -1)))
                    << parts[i].first.toStdString() << " and " << parts[j].first.toStdString();
        }
        // The hands scale with the table: strips, whole cards and the light round the hand.
        EXPECT_EQ(std::tuple(Hands().Grid(1)->ColWidth(0), Hands().Grid(1)->width()),
                  std::tuple(win.Geometry().StripPx(), win.Geometry().StripPx() * (c.hand_limit - 1) + win.Geometry().CardSize().width()));
        EXPECT_TRUE(win.TurnMark()->geometry().contains(Hands().Grid(1)->geometry()));
    }
    // At the design size the layout is the design, pixel for pixel.
    const TableGeometry design;
    EXPECT_EQ(std::tuple(design.DrawDeck(), design.ChooseMsgLbl(), design.Pixels(QPoint(2190, 4545)), TableGeometry::MinimumSize()),
              std::tuple(kDrawDeck.ToPixels(), kChooseMsgLbl.ToPixels(), QPoint(146, 303), QSize(512, 365)));

    // Cards are drawn from their cells at every pixel ratio, once per size.
    const Card card = HandFromSet(game, 1)[0];
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        for (const QSize size : {QSize(640, 456), QSize(1280, 912), QSize(900, 700)}) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " at " << ratio);
            const TableGeometry g(size, ratio);
            Hands().SetGeometry(g);
            const QPixmap face = Hands().Face(card);
            EXPECT_EQ(std::tuple(face.size(), face.devicePixelRatio()), std::tuple(g.CardBitmapSize(), ratio));
            EXPECT_LE(std::abs(face.deviceIndependentSize().width() - g.CardSize().width()), 0.5);
            // Asked again at the same size: the same picture, not scaled anew.
            EXPECT_EQ(Hands().Face(card).cacheKey(), face.cacheKey());
            // Smoothly scaled: the middle of the face has the colour of the cell's middle.
            const QImage cell = win.CardClip().CardFace(card).toImage();
            const QColor meant = cell.pixelColor(35, 47);
            const QColor drawn = face.toImage().pixelColor(face.width() / 2, face.height() / 2);
            EXPECT_LE(std::abs(meant.red() - drawn.red()) + std::abs(meant.green() - drawn.green()) +
                          std::abs(meant.blue() - drawn.blue()), 90);
        }
    }
}

TEST_F(ScaledTable, TheFocusMarkFollowsTheScaledCardTheHumansTurnLightsTheNameAndHandAndTheHoldGridHints) {
    ResizeTable(win, {1280, 912});
    game.Players[1] = HandFromSet(game, 5);
    win.RedrawTable();
    ASSERT_TRUE(win.Keys()->HandleKey(Qt::Key_End));
    CardGrid* hand = Hands().Grid(1);
    EXPECT_EQ(win.Keys()->Mark()->geometry(),
              QRect(hand->mapTo(win.Table(), hand->CellRect(0, 4).topLeft()), QSize(150, 190)));
    // The human's turn lights the name and the hand.
    for (const int player : {1, 2, 1, 3}) {
        game.CurPlayer = static_cast<std::int16_t>(player);
        win.RedrawTable();
        const bool human = player == 1;
        EXPECT_EQ(std::tuple(win.TurnMark()->isVisible(), win.NameLabel(1)->property("turn").toBool()),
                  std::tuple(human, human)) << player;
        EXPECT_EQ(win.NameLabel(1)->accessibleDescription(), human ? QStringLiteral("Your turn") : QString());
    }

    // The hold grid says how many cards to choose and where they go. Action and count of the picked card,
    // cards left in the hand, cards already chosen.
    const std::tuple<int, int, int, int, const char*> cases[] = {
        {kActionDiscard, 2, 4, 0, "Choose 2 cards to discard with it."},
        {kActionDiscard, 2, 4, 1, "Choose 1 card to discard with it."},
        {kActionDiscard, 2, 4, 2, "Press Discard: they go on the pile."},
        {kActionPassLeft, 3, 5, 0, "Choose 3 cards to give to Player 2."},
        {kActionPassRight, 1, 5, 0, "Choose 1 card to give to Player 4."},
        {kActionPassAcross, 2, 5, 2, "Press Discard: they go to Player 3."},
        {kActionPassAcross, 2, 1, 0, "Nothing to choose: press Discard."},
    };
    for (const auto& [action, count, hand, chosen, hint] : cases) {
        SCOPED_TRACE(hint);
        Pick(action, count, hand, chosen);
        EXPECT_TRUE(win.HoldHintLbl()->isVisible() && win.HoldHintLbl()->textFormat() == Qt::PlainText);
        EXPECT_EQ(win.HoldHintLbl()->text(), QString::fromUtf8(hint));
    }
    win.Building().ClickPickedCard();
    EXPECT_FALSE(win.HoldHintLbl()->isVisible());
}

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

// Whether the part of `area` (in `widget`'s coordinates) that the window
// shows holds `picture` drawn at the area's top left. A few pixels at the
// edges are left out: a card's shade may fall there.
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

// Compares the drawn table with the game: the pile shows its top card, the
// human's hand its cards in the order shown, every other hand as many backs as it
// holds cards and felt after them.
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
        const CardStack& hand = game.Players[static_cast<std::size_t>(p)];
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

// The card set's background cell is tiled under the table; without one the table is green.
using Look = TableTest;

TEST_F(Look, TheTableShowsTheGameAsItStandsOnTheTiledBackground) {
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
}

TEST_F(Look, TheHumanChoosingCardsToPass) {
    game.Players[1] = HandFromSet(game, 11);
    game.Players[2] = HandFromSet(game, 12);
    game.Players[4] = HandFromSet(game, 3);
    // A Pass 3 card is picked; two cards are chosen so far.
    Card pass = game.Players[1][5];
    pass.Action = kActionPassLeft;
    pass.ActionCount = 3;
    PickWithChosen(win, pass, 13, 2);
    const CardStack held = win.Building().Held();
    for (int p = 2; p <= 4; ++p) win.ShowHand(game.Players[static_cast<std::size_t>(p)], p);
    win.SetDiscardButtonVisible(true);
    win.PlaceSeatArrows();
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
    win.PlaceSeatArrows();
    win.SetSeatArrowVisible(4, true);
    const Card card = game.Players[4][2];
    game.AnimateCompDiscard(4, 2, false);
    game.DeliverHeard();
    EXPECT_TRUE(win.Show().Playing());
    // Shot during the pause, once the trail is complete.
    ASSERT_TRUE(gui_test::RunUntil([&] { return win.Flights().Box(CardFlights::kBoxes - 1)->isVisible(); }));
    const QImage image = Shot(win, "scene-flight");
    const QPoint last = win.Flights().Box(9)->mapTo(&win, QPoint(0, 0));
    // The trail's last box, a step short of the pile, shows the card's face.
    const QImage face = win.Hands().Face(card).toImage();
    EXPECT_EQ(image.pixelColor(last + QPoint(35, 60)), face.pixelColor(35, 60));
}

TEST(LookBackground, ABackgroundBitmapCoversTheTable) {
    TableSetup setup;
    // An empty background file does not count.
    std::filesystem::create_directories(setup.folders.AppDir);
    std::ofstream(setup.folders.AppDir / files::kBackground).close();
    setup.Open();
    EXPECT_EQ(std::tuple(setup.win->GameState().HasBackFile, setup.win->BackgroundKind()),
              std::tuple(false, PlayWin::Background::kTiles));
    // The next start finds the card set's background.
    setup.win->close();
    setup.win.reset();
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(120, 40, 60));
    ASSERT_TRUE(picture.save(QString::fromStdString((setup.folders.AppDir / files::kBackground).string()), "BMP"));
    PlayWin& win = setup.Open();
    ASSERT_TRUE(win.GameState().HasBackFile && win.BackgroundKind() == PlayWin::Background::kPicture);
    for (const QPoint& at : kBareSpots) EXPECT_EQ(PixelOf(win.Table(), at.x(), at.y()), QColor(120, 40, 60));
    // Any size: the picture still covers the table, to its far corner.
    const QSize table = win.Table()->size() + QSize(900, 500);
    ResizeTable(win, table);
    EXPECT_EQ(PixelOf(win.Table(), table.width() - 2, table.height() - 2), QColor(120, 40, 60));
}

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
    // The table grows to twice the design's size during the flight: the same
    // twips land twice as far, in boxes twice as large.
    flights.SetPlacement([](QPoint twips) { return TableGeometry({1280, 912}).Pixels(twips); }, QSize(140, 190));
    for (int i = 0; i < CardFlights::kBoxes; ++i)
        EXPECT_EQ(flights.Box(i)->geometry(), QRect(QPoint(2 * Px(1500 + 300 * i), 2 * Px(3000 - 150 * i)), QSize(140, 190))) << i;

    // The trail grows without holding up its caller, stands for its pause, and
    // is gone when its end is told.
    table.show();
    EXPECT_EQ(flights.Interval(), 1000);
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
        EXPECT_EQ(steps[static_cast<std::size_t>(i)], QPoint(Px(3240 - 210 * (i + 1)), Px(1560 + 597 * (i + 1))));
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
        {[&] { win.Show().Lasting([&](const ShowQueue::Done& done) { win.FlyCardMove(4, 0, card, game.Players[4], done); }); },
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
    game.View().ShowPickedCard(card);
    win.Show().Lasting([&](const ShowQueue::Done& done) { win.FlyPickedCard(card, done); });
    game.View().SetDiscardButtonVisible(true);
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible());
    ASSERT_TRUE(RunUntil([&] { return !win.Show().Playing(); }));
    EXPECT_TRUE(win.Hands().AcceptDiscardBut()->isVisible() && !win.Hands().ShowCardPlay()->HasPicture());
    EXPECT_EQ(win.Hands().DiscardPile()->Picture().toImage(), win.Hands().Face(card).toImage());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(win.Flights().Box(i)->isVisible()) << i;
    // The last box is parked on the pile.
    EXPECT_EQ(win.Flights().Box(9)->pos(), win.Hands().DiscardPile()->pos());

    // A computer's card laid with its action shows on the pile once it has
    // landed, as the pile then was, though the rest of the turn covers it first.
    Card laid = game.Players[3][0];
    laid.Action = kActionNone;
    game.Players[3].RemoveAt(0);
    game.Players[3].InsertAt(0, laid);
    const Card covering = game.Players[2][0];
    ASSERT_NE(win.Hands().Face(laid).toImage(), win.Hands().Face(covering).toImage());
    ASSERT_NE(win.Hands().Face(laid).toImage(), win.Hands().DiscardPile()->Picture().toImage());
    game.AnimateCompDiscard(3, 0, true);
    game.DiscardPile.Push(covering);
    ASSERT_TRUE(RunUntil([&] { return !win.Show().Playing(); }));
    EXPECT_EQ(win.Hands().DiscardPile()->Picture().toImage(), win.Hands().Face(laid).toImage());

    // Closing during a flight ends it and the program.
    win.SetAnimationInterval(20000);
    QTimer::singleShot(0, &win, [&] {
        win.GameState().TransferRandomCards(1, kActionPassAcross, 1);
        QTimer::singleShot(0, &win, [&] { win.close(); });
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(99); });
    watchdog.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    watchdog.stop();
    EXPECT_TRUE(win.IsClosing() && !win.Show().Playing());
    // Settings were written on the way out.
    EXPECT_EQ(setup.RawSetting("PlaySpeed"), " 0");
    // Whatever the rules still ask ends at once.
    bool draw_ended = false;
    win.FlyDraw(1, true, [&] { draw_ended = true; });
    bool clip_ended = false;
    win.PlayClipThen(setup.folders.AppDir / "OpenWav.wav", [&] { clip_ended = true; });
    EXPECT_TRUE(draw_ended && clip_ended && !win.Show().Playing());
    for (int i = 0; i < CardFlights::kBoxes; ++i) EXPECT_FALSE(win.Flights().Box(i)->isVisible());
}

QString Text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// A clip's length comes from its header. It ends on its own (muted: after its
// length), when stopped, or at once when it cannot play; each tells its end once.
// Missing and undecodable clips are pinned through the table (tests/faults).
// The device comes from a module beside the program, so the table itself
// does not load the sound libraries.
TEST(SoundOutput, EveryClipTellsItsEndOnceTheFirstPaintPlaysTheMusicAndAClipHoldsTheTable) {
    ASSERT_NE(OpenSoundBackend(), nullptr);
    EXPECT_EQ(OpenSoundBackend(), OpenSoundBackend());
    TableSetup setup;
    SoundOutput sound;
    sound.SetMuted(true);
    const auto short_wave = setup.Root() / "short.wav";
    const auto long_wave = setup.Root() / "long.wav";
    WriteWave(short_wave, 30);
    WriteWave(long_wave, 20000);
    EXPECT_EQ(WavClipLength(Text(short_wave)), 30);
    int short_ends = 0, long_ends = 0, missing_ends = 0;
    EXPECT_TRUE(sound.Play(Text(short_wave), [&] { ++short_ends; }));
    EXPECT_TRUE(sound.Play(Text(long_wave), [&] { ++long_ends; }));
    EXPECT_FALSE(sound.Play(Text(setup.Root() / "missing.wav"), [&] { ++missing_ends; }));
    EXPECT_EQ(std::tuple(missing_ends, short_ends), std::tuple(1, 0));
    ASSERT_TRUE(RunUntil([&] { return short_ends > 0; }));
    EXPECT_TRUE(sound.IsPlaying(Text(long_wave)));
    sound.StopClip(Text(long_wave));
    EXPECT_FALSE(sound.IsPlaying(Text(long_wave)));
    sound.Stop();
    EXPECT_EQ(std::tuple(short_ends, long_ends), std::tuple(1, 1));

    // Shut down (the window closes), a clip ends as it starts.
    EXPECT_TRUE(sound.Play(Text(long_wave), [&] { ++long_ends; }));
    sound.Shutdown();
    EXPECT_FALSE(sound.Play(Text(long_wave), [&] { ++long_ends; }));
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
    const auto clip = setup.Root() / "Comment1.wav";
    WriteWave(clip, 20000);
    WriteWave(win.GameState().AppDir / files::kOpeningSound, 40000);
    win.PlayClip(clip);
    win.PlayOpeningSound();
    EXPECT_TRUE(heard.IsPlaying(Text(win.GameState().AppDir / files::kOpeningSound)));
    win.MenuEntry("MM_MUSIC")->trigger();
    EXPECT_TRUE(!heard.IsPlaying(Text(win.GameState().AppDir / files::kOpeningSound)) && heard.IsPlaying(Text(clip)));

    // A player's clip holds back what the table shows after it; closing the
    // window lets everything go at once.
    const std::vector<fs::path> comments = SpeakComment(win, setup.Root() / "voice", long_wave);
    win.GameState().View().SetDiscardButtonVisible(true);
    const auto speaking = [&] {
        return std::any_of(comments.begin(), comments.end(), [&](const fs::path& c) { return heard.IsPlaying(Text(c)); });
    };
    EXPECT_TRUE(win.Show().Playing() && speaking() && !win.Hands().AcceptDiscardBut()->isVisible());
    win.close();
    EXPECT_FALSE(win.Show().Playing() || speaking());
}

}  // namespace
}  // namespace kvt
