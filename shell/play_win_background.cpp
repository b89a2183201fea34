// The table's background: the card set's picture, else its tiled
// background cell, else plain dark green.
#include <QFile>
#include <QPainter>
#include <cmath>
#include <system_error>
#include <utility>

#include "engine/working_files.h"
#include "hand/hand_view.h"
#include "platform/picture_clip.h"
#include "shell/play_win.h"

namespace kvt {

namespace {

// The plain table: dark green.
const QColor kPlainTable(0, 128, 0);
// Background tiles: 69 x 94 pixels, one pixel inside the background cell, 7 rows.
constexpr int kTileWidth = 69;
constexpr int kTileHeight = 94;

}  // namespace

void PlayWin::SetUpBackground() {
    // A background decoded on its way in is not read again from its working copy.
    const bool arrived = std::exchange(arriving_background_in_force_, false);
    QImage arriving = std::exchange(arriving_background_, QImage());
    const int cell = FindBackgroundCell();
    background_picture_ = QPixmap();
    background_tile_ = QPixmap();
    background_fitted_ = QPixmap();
    background_tile_fitted_ = QPixmap();
    if (cell < 1) {
        background_ = Background::kPlain;
    } else if (game_->HasBackFile) {
        const QImage picture =
            arrived ? std::move(arriving) : ReadPicture(QFile::decodeName(game_->BackFilePath.c_str()));
        if (!picture.isNull()) {
            background_picture_ = QPixmap::fromImage(picture, Qt::NoFormatConversion);
            background_ = Background::kPicture;
        } else {
            background_ = Background::kPlain;
        }
    } else {
        background_tile_ = clip_.Clip(QRect(game_->BackCellX + 1, game_->BackCellY + 1, kTileWidth, kTileHeight));
        background_ = Background::kTiles;
    }
    FitBackground();
    PlaceNameLabels();
    Table()->update();
}

void PlayWin::CheckForPrevBackGround() {
    game_->BackFilePath = (game_->AppDir / files::kBackground).string();
    std::error_code ec;
    const auto size = std::filesystem::file_size(game_->BackFilePath, ec);
    if (!ec && size > 0) game_->HasBackFile = true;
}

int PlayWin::FindBackgroundCell() {
    if (game_->HasBackFile) return 1;
    for (int d = 0; d < kCardDefCount; ++d) {
        const Card& def = game_->CardSet.CardDefs[static_cast<std::size_t>(d)];
        if (def.Action != kActionBackgroundCell) continue;
        game_->BackCellX = static_cast<std::int16_t>(def.PicCol * kCellPitchX + kCellOffset);
        game_->BackCellY = static_cast<std::int16_t>(def.PicRow * kCellPitchY + kCellOffset);
        return d;
    }
    return 0;
}

// Device pixels of a size in the table's pixels.
static QSize DevicePixels(QSize size, double ratio) {
    return {static_cast<int>(std::lround(size.width() * ratio)), static_cast<int>(std::lround(size.height() * ratio))};
}

void PlayWin::FitBackground() {
    if (background_ != Background::kPicture || background_picture_.isNull()) return;
    const double ratio = Geometry().PixelRatio();
    const QSize device = DevicePixels(Table()->size(), ratio);
    if (background_fitted_.size() == device && background_fitted_.devicePixelRatio() == ratio) return;
    background_fitted_ = background_picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    background_fitted_.setDevicePixelRatio(ratio);
    Table()->update();
}

void PlayWin::PaintBackground(QPainter& painter, const QRect& area) {
    const QRect table = Table()->rect();
    const TableGeometry& g = Geometry();
    switch (background_) {
    case Background::kPicture:
        // The picture covers the table, smoothly fitted once the size holds still.
        if (background_fitted_.deviceIndependentSize().toSize() == table.size())
            painter.drawPixmap(0, 0, background_fitted_);
        else
            painter.drawPixmap(table, background_picture_);
        break;
    case Background::kTiles: {
        // Tiles of the table's scale, from the top-left corner over all of it.
        const QSize tile = DevicePixels(QSize(g.Scaled(kTileWidth), g.Scaled(kTileHeight)), g.PixelRatio());
        if (background_tile_fitted_.size() != tile || background_tile_fitted_.devicePixelRatio() != g.PixelRatio()) {
            background_tile_fitted_ = tile == background_tile_.size()
                                          ? background_tile_
                                          : background_tile_.scaled(tile, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            background_tile_fitted_.setDevicePixelRatio(g.PixelRatio());
        }
        // Parts of a cell outside the card bitmap are see-through: plain table there.
        if (background_tile_fitted_.isNull() || background_tile_fitted_.hasAlphaChannel())
            painter.fillRect(area, kPlainTable);
        if (!background_tile_fitted_.isNull()) painter.drawTiledPixmap(area, background_tile_fitted_, area.topLeft());
        break;
    }
    case Background::kPlain:
        painter.fillRect(area, kPlainTable);
        break;
    }
}

}  // namespace kvt
