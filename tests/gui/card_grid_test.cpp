#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "platform/card_grid.h"

namespace kvt {
namespace {

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

TEST(CardGrid, StripsMapToTheirColumnsTheLastCardIsWholeAndClicksReportTheCell) {
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

    // A click makes the cell current, then reports it; moves report the position.
    grid.show();
    int clicked_col = -1;
    QObject::connect(&grid, &CardGrid::Clicked, [&] { clicked_col = grid.Col(); });
    for (const auto& [at, col] : {std::pair{QPoint(45, 50), 1}, {QPoint(160, 20), 4}}) {
        QTest::mouseClick(&grid, Qt::LeftButton, {}, at);
        EXPECT_EQ(std::tuple(clicked_col, grid.Row()), std::tuple(col, 0));
    }
    QSignalSpy moved(&grid, &CardGrid::MouseMoved);
    QTest::mouseMove(&grid, QPoint(77, 40));
    QApplication::processEvents();
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_EQ(moved.last(), (QList<QVariant>{77, 40}));
}

TEST(CardGrid, AHandTooWideScrollsByColumnsOneThatFitsNeedsNoScrollBarAndAColumnByRows) {
    CardGrid grid;
    grid.resize(300, 95 + CardGrid::kScrollBarExtent);
    MakeHand(grid, 11);  // 10 strips and a card: 375 pixels
    grid.SetScrollBars(CardGrid::kHorizontal);
    EXPECT_TRUE(grid.ScrollBarShown());
    EXPECT_EQ(grid.Viewport().height(), 95);
    // From column 3 on, the cards fit: 7 strips and the last card, 285 pixels.
    grid.SetLeftCol(10);
    EXPECT_EQ(grid.LeftCol(), 3);
    grid.SetLeftCol(2);
    EXPECT_EQ(std::tuple(grid.LeftCol(), grid.ColumnAt(5), grid.CellRect(0, 2).left()), std::tuple(2, 2, 0));
    // Without a scroll bar mode nothing shows, even when the cells do not fit.
    grid.SetScrollBars(CardGrid::kNoScrollBars);
    EXPECT_FALSE(grid.ScrollBarShown());

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

TEST(CardGrid, FewerCellsDropThePicturesOfTheOthersAndTheCurrentCellTakesThePicture) {
    CardGrid grid;
    MakeHand(grid, 5);
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
}

}  // namespace
}  // namespace kvt
