// The hands' grids: the grid widget alone, then each hand as the table lays it
// out, and the order a sorted hand is shown in.

#include "gui_support.h"

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
    // The picture is cut at the cell's edge: a strip shows its own card, the last cell the whole last card.
    const QImage shot = grid.grab().toImage();
    EXPECT_EQ(std::tuple(shot.pixelColor(35, 50), shot.pixelColor(185, 50)), std::tuple(QColor(10, 100, 200), QColor(40, 100, 200)));

    // Fewer cells drop the pictures of the others; the current cell takes a picture.
    grid.SetCol(4);
    grid.SetCols(3);
    EXPECT_EQ(grid.Col(), 2);
    grid.SetCols(5);
    EXPECT_EQ(std::tuple(grid.Picture(0, 2).isNull(), grid.Picture(0, 3).isNull(), grid.Picture(0, 4).isNull(), grid.ColWidth(4)),
              std::tuple(false, true, true, CardGrid::kDefaultColWidth));
    grid.SetCol(1);
    grid.SetCellPicture(QPixmap());
    EXPECT_EQ(std::tuple(grid.Picture(0, 0).isNull(), grid.Picture(0, 1).isNull()), std::tuple(false, true));
    grid.SetCol(99);
    EXPECT_EQ(grid.Col(), 4);

    // A hand too wide scrolls by columns; one that fits needs no scroll bar.
    CardGrid row;
    row.resize(300, 95 + CardGrid::kScrollBarExtent);
    MakeHand(row, 11);  // 10 strips and a card: 375 pixels
    row.SetScrollBars(CardGrid::kHorizontal);
    EXPECT_TRUE(row.ScrollBarShown() && row.Viewport().height() == 95);
    // From column 3 on, the cards fit: 7 strips and the last card, 285 pixels.
    row.SetLeftCol(10);
    EXPECT_EQ(row.LeftCol(), 3);
    row.SetLeftCol(2);
    EXPECT_EQ(std::tuple(row.LeftCol(), row.ColumnAt(5), row.CellRect(0, 2).left()), std::tuple(2, 2, 0));
    // Without a scroll bar mode nothing shows, even when the cells do not fit.
    row.SetScrollBars(CardGrid::kNoScrollBars);
    EXPECT_FALSE(row.ScrollBarShown());
    // Eight cards fit: no scroll bar, and no scrolling.
    MakeHand(row, 8);
    row.SetScrollBars(CardGrid::kHorizontal);
    EXPECT_FALSE(row.ScrollBarShown());
    row.SetLeftCol(4);
    EXPECT_EQ(row.LeftCol(), 0);

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
    EXPECT_TRUE(win.PlayerPtr(3)->isVisible() && !win.PlayerPtr(2)->isVisible());
    for (const int reversed : {0, 1}) {
        win.SetDirectionPicture(reversed);
        EXPECT_EQ(std::tuple(win.PlayDirect(0)->isVisible(), win.PlayDirect(1)->isVisible()), std::tuple(reversed == 0, reversed == 1));
    }
    CardGrid* right_hand = Grid(4);
    const int before = right_hand->x();
    EXPECT_EQ(before, Px(win.Table()->width() * 15 - 73 * 15 - 100));
    ResizeTable(win, win.Table()->size() + QSize(200, 0));
    win.ShowHand(game.Players[4], 4);
    EXPECT_EQ(std::tuple(right_hand->x(), right_hand->width()), std::tuple(before + 200, 73));
    // The name and the arrow of that seat go along.
    EXPECT_EQ(win.NameLabel(4)->geometry().right() + 1, right_hand->geometry().right() + 1);

    // What no deal shows (the look tests compare the drawn hands with the game): without a card back the
    // one shown before stays, an empty deck shows none.
    const QPixmap back = win.Hands().Back();
    ASSERT_TRUE(!back.isNull() && SameImage(win.Hands().DrawDeck()->Picture(), back));
    game.CardBackDef = 0;
    win.RedrawTable();
    EXPECT_TRUE(SameImage(win.Hands().DrawDeck()->Picture(), back) && SameImage(Grid(2)->Picture(0, 0), back));
    game.DrawDeck.Clear();
    win.RedrawTable();
    EXPECT_FALSE(win.Hands().DrawDeck()->HasPicture());

    // A face is cut from the card bitmap's cell.
    Card card;
    std::tie(card.PicRow, card.PicCol) = std::tuple(2, 3);
    const QPixmap face = win.CardClip().CardFace(card);
    EXPECT_EQ(face.size(), QSize(70, 95));
    const QImage bitmap = win.CardClip().Picture().toImage();
    EXPECT_EQ(face.toImage().convertToFormat(QImage::Format_RGB32),
              bitmap.copy(3 * 75 + 5, 2 * 110 + 5, 70, 95).convertToFormat(QImage::Format_RGB32));
}

TEST(ShownOrder, ByGroupThenValueKeepingEqualCardsInOrder) {
    CardStack hand;
    for (const auto& [group, value] : {std::pair<std::int16_t, std::int16_t>{2, 5}, {1, 9}, {0, 3}, {1, 2}, {1, 9}}) {
        Card card;
        std::tie(card.Group, card.Value) = std::tuple(group, value);
        hand.Push(card);
    }
    EXPECT_EQ(ShownOrder(hand, false), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(ShownOrder(hand, true), (std::vector<int>{2, 3, 1, 4, 0}));
}

}  // namespace
}  // namespace kvt
