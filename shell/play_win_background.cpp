// The table's background: the card set's picture, else its tiled
// background cell, else plain dark green.
#include <QFile>
#include <QPainter>
#include <system_error>

#include "engine/working_files.h"
#include "platform/picture_clip.h"
#include "shell/play_win.h"

namespace kvt {

namespace {

// The plain table: dark green.
const QColor kPlainTable(0, 128, 0);
// Background tiles: 69 x 94 pixels, one pixel inside the background cell, 7 rows.
constexpr int kTileWidth = 69;
constexpr int kTileHeight = 94;
constexpr int kTileRows = 7;

}  // namespace

void PlayWin::SetUpBackground() {
    const int cell = FindBackgroundCell();
    background_picture_ = QPixmap();
    background_tile_ = QPixmap();
    if (cell < 1) {
        background_ = Background::kPlain;
    } else if (game_->HasBackFile) {
        const QImage picture = ReadPicture(QFile::decodeName(game_->BackFilePath.c_str()));
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

void PlayWin::PaintBackground(QPainter& painter, const QRect& area) {
    painter.fillRect(area, kPlainTable);
    switch (background_) {
    case Background::kPicture:
        painter.drawPixmap(Table()->rect(), background_picture_);
        break;
    case Background::kTiles: {
        const int cols = Table()->width() / kTileWidth;
        for (int r = 0; r < kTileRows; ++r)
            for (int c = 0; c <= cols; ++c) painter.drawPixmap(kTileWidth * c, kTileHeight * r, background_tile_);
        break;
    }
    case Background::kPlain:
        break;
    }
}

}  // namespace kvt
