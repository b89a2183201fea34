#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <fstream>

#include "engine/working_files.h"
#include "gui_support.h"
#include "hand/hand_view.h"

namespace kvt {
namespace {

using namespace gui_test;

QColor PixelOf(QWidget* widget, int x, int y) { return widget->grab().toImage().pixelColor(x, y); }

// Bare table spots: no hand, pile, label or box covers them.
const std::vector<QPoint> kBareSpots{{1, 1}, {120, 250}, {600, 440}, {470, 300}};

TEST(Background, TheCardSetsBackgroundCellIsTiledAndWithoutOneTheTableIsGreen) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    ASSERT_EQ(win.BackgroundKind(), PlayWin::Background::kTiles);
    Game& game = win.GameState();
    const QImage bitmap = win.CardClip().Picture().toImage();
    for (const QPoint& at : kBareSpots) {
        const QColor expected =
            bitmap.pixelColor(game.BackCellX + 1 + at.x() % 69, game.BackCellY + 1 + at.y() % 94);
        EXPECT_EQ(PixelOf(win.Table(), at.x(), at.y()), expected) << at.x() << "," << at.y();
    }
    // At 700 pixels, column 10 starts at 690 and runs past the edge.
    win.resize(700, win.height());
    QApplication::processEvents();
    ASSERT_EQ(win.Table()->width(), 700);
    EXPECT_EQ(PixelOf(win.Table(), 695, 440), bitmap.pixelColor(game.BackCellX + 1 + 5, game.BackCellY + 1 + 440 % 94));
    // Twice the size: tiles twice as large, over all of the table.
    win.resize(win.size() + QSize(1280, 912) - win.Table()->size());
    QApplication::processEvents();
    ASSERT_EQ(win.Table()->size(), QSize(1280, 912));
    const QPoint corner(1275, 905);
    // Tiles of 138 x 188 pixels repeat across and down.
    const QColor at_corner = PixelOf(win.Table(), corner.x(), corner.y());
    EXPECT_EQ(std::tuple(PixelOf(win.Table(), corner.x() - 4 * 138, corner.y()), PixelOf(win.Table(), corner.x(), corner.y() - 188)),
              std::tuple(at_corner, at_corner));
    EXPECT_NE(at_corner, QColor(0, 128, 0));

    // Without a background cell the table is plain green.
    win.resize(win.size() + QSize(640, 456) - win.Table()->size());
    QApplication::processEvents();
    for (Card& def : game.CardSet.CardDefs)
        if (def.Action == kActionBackgroundCell) def.Action = kActionNeverDealt;
    win.SetUpBackground();
    EXPECT_EQ(win.BackgroundKind(), PlayWin::Background::kPlain);
    for (const QPoint& at : kBareSpots) EXPECT_EQ(PixelOf(win.Table(), at.x(), at.y()), QColor(0, 128, 0));
}

TEST(Background, ABackgroundBitmapCoversTheTable) {
    TableSetup setup;
    // An empty background file does not count.
    std::filesystem::create_directories(setup.folders.AppDir);
    std::ofstream(setup.folders.AppDir / files::kBackground).close();
    setup.Open();
    EXPECT_FALSE(setup.win->GameState().HasBackFile);
    EXPECT_EQ(setup.win->BackgroundKind(), PlayWin::Background::kTiles);
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
    win.resize(win.size() + QSize(900, 500));
    QApplication::processEvents();
    const QSize table = win.Table()->size();
    EXPECT_EQ(PixelOf(win.Table(), table.width() - 2, table.height() - 2), QColor(120, 40, 60));
}

}  // namespace
}  // namespace kvt
