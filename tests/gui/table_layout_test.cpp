// The table at any size: one scale for everything, the design's arrangement at the design size, nothing
// overlapping, sharp cards at every pixel ratio, and the hints a new player sees; then the hands' grids:
// the grid widget alone, each hand as the table lays it out, and the order a sorted hand is shown in.

#include "gui_support.h"

namespace kvt {
namespace {

using namespace gui_test;
using namespace table_layout;

// The design, its minimum, the common screens, a wide and a tall table.
const struct { QSize table; double scale; int hand_limit, side_limit; } kSizes[] = {
    {{640, 456}, 1.0, 10, 10},    {{512, 365}, 0.8, 10, 10},   {{800, 560}, 560 / 456.0, 10, 10},
    {{1280, 950}, 2.0, 10, 10},   {{1920, 1010}, 1010 / 456.0, 13, 10}, {{1000, 456}, 1.0, 16, 10},
    {{640, 900}, 1.0, 10, 17},
};

class ScaledTable : public TableTest {
protected:
    CardGrid* Grid(int i) { return win.Hands().Grid(i); }

    // Full hands, the hold grid open for a Discard 6, every mark shown.
    void FillTheTable() {
        const int limit = win.Geometry().HandLimit();
        game.Players[3] = HandFromSet(game, limit);
        for (const int side : {2, 4}) game.Players[side] = HandFromSet(game, win.Geometry().SideLimit());
        PickWithChosen(win, kActionDiscard, 6, limit + 2, 2);
        win.RedrawTable();
        win.SetDiscardButtonVisible(true);
        for (int seat = 2; seat <= 4; ++seat) win.SetSeatArrowVisible(seat, true);
        QApplication::processEvents();
    }
};

// Where each visible part of the table is drawn; the piles by the cards they show.
std::vector<std::pair<QString, QRect>> PartsOnTable(PlayWin& win) {
    HandView& hands = win.Hands();
    std::vector<QWidget*> widgets{hands.ShowCardPlay(), hands.AcceptDiscardBut(), win.PlayDirect(0),
                                  win.HoldHintLbl()};
    for (int i = 0; i <= 4; ++i) widgets.push_back(hands.Grid(i));
    for (int p = 1; p <= 4; ++p) widgets.push_back(win.NameLabel(p));
    for (int seat = 2; seat <= 4; ++seat) widgets.push_back(win.PlayerPtr(seat));
    std::vector<std::pair<QString, QRect>> parts;
    for (QWidget* w : widgets)
        if (w->isVisible()) parts.emplace_back(w->objectName(), w->geometry());
    const QSize card = win.Geometry().CardSize() + QSize(4, 4);  // the card drawn, not its box
    for (PictureBox* pile : {hands.DrawDeck(), hands.DiscardPile()})
        if (pile->isVisible()) parts.emplace_back(pile->objectName(), QRect(pile->pos(), card));
    return parts;
}

TEST_F(ScaledTable, AtEverySizeOneScaleEverythingIsInsideNothingOverlapsAndCardsAreSharp) {
    for (const auto& c : kSizes) {
        SCOPED_TRACE(testing::Message() << c.table.width() << "x" << c.table.height());
        // One scale for everything, more cards where there is room, the design table in the middle.
        const TableGeometry g(c.table);
        EXPECT_NEAR(g.Scale(), c.scale, 0.003);
        EXPECT_EQ(std::tuple(g.HandLimit(), g.SideLimit(), g.CardSize()),
                  std::tuple(c.hand_limit, c.side_limit, QSize(g.Scaled(70), g.Scaled(95))));
        const QPoint off_centre = g.Pixels(g.Middle({0, 0, Tw(640), Tw(456)})).center() - QPoint(c.table.width() / 2, c.table.height() / 2);
        EXPECT_LE(std::max(std::abs(off_centre.x()), std::abs(off_centre.y())), 1);
        ResizeTable(win, c.table);
        FillTheTable();
        const auto parts = PartsOnTable(win);
        ASSERT_EQ(std::tuple(win.Geometry().Size(), parts.size()), std::tuple(c.table, 18u)) << "every part is shown";
        const QRect table = win.Table()->rect();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(table.contains(parts[i].second)) << parts[i].first.toStdString();
            // Rounding may make two parts touch by a pixel, no more.
            for (std::size_t j = i + 1; j < parts.size(); ++j)
                EXPECT_FALSE(parts[i].second.adjusted(1, 1, -1, -1).intersects(parts[j].second.adjusted(1, 1, -1, -1)))
                    << parts[i].first.toStdString() << " and " << parts[j].first.toStdString();
        }
        // The hands scale with the table: strips, whole cards and the light round the hand.
        EXPECT_EQ(std::tuple(Grid(1)->ColWidth(0), Grid(1)->width()),
                  std::tuple(win.Geometry().StripPx(), win.Geometry().StripPx() * (c.hand_limit - 1) + win.Geometry().CardSize().width()));
        EXPECT_TRUE(win.TurnMark()->geometry().contains(Grid(1)->geometry()));
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
            win.Hands().SetGeometry(g);
            const QPixmap face = win.Hands().Face(card);
            // Asked again at the same size: the same picture, not scaled anew.
            EXPECT_EQ(std::tuple(face.size(), face.devicePixelRatio(), win.Hands().Face(card).cacheKey()),
                      std::tuple(g.CardBitmapSize(), ratio, face.cacheKey()));
            EXPECT_LE(std::abs(face.deviceIndependentSize().width() - g.CardSize().width()), 0.5);
            // Smoothly scaled: the middle of the face has the colour of the cell's middle.
            const QColor meant = win.CardClip().CardFace(card).toImage().pixelColor(35, 47);
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
    CardGrid* hand = Grid(1);
    EXPECT_EQ(win.Keys()->Mark()->geometry(),
              QRect(hand->mapTo(win.Table(), hand->CellRect(0, 4).topLeft()), QSize(150, 190)));
    // The human's turn lights the name and the hand.
    for (const int player : {1, 2, 1, 3}) {
        game.CurPlayer = static_cast<std::int16_t>(player);
        win.RedrawTable();
        const bool human = player == 1;
        EXPECT_EQ(std::tuple(win.TurnMark()->isVisible(), win.NameLabel(1)->property("turn").toBool(), win.NameLabel(1)->accessibleDescription()),
                  std::tuple(human, human, human ? QStringLiteral("Your turn") : QString())) << player;
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
        PickWithChosen(win, action, count, hand, chosen);
        EXPECT_EQ(std::tuple(win.HoldHintLbl()->isVisible(), win.HoldHintLbl()->textFormat(), win.HoldHintLbl()->text()),
                  std::tuple(true, Qt::PlainText, QString::fromUtf8(hint)));
    }
    win.Building().ClickPickedCard();
    EXPECT_FALSE(win.HoldHintLbl()->isVisible());
}

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

using HandViewTest = ScaledTable;

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
    std::tie(pass.Action, pass.ActionCount) = std::tuple(kActionDiscard, 6);
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

// The design's places are pinned by TableGeometry; here the seat arrows
// (beside the grids as the deal drew them), the direction, the right hand
// after the window is widened, then what no deal shows.
TEST_F(HandViewTest, WithoutACardBackTheOneShownBeforeStaysAnEmptyDeckShowsNoneAndFacesAreCut) {
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
