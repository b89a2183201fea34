#include "engine/game.h"

#include "engine/working_files.h"

namespace kvt {

Game::Game(Folders folders, TableView& view, std::optional<std::uint64_t> seed)
    : folders_(std::move(folders)),
      view_(view),
      random_(seed ? Random(*seed) : Random()),
      settings_(folders_.SettingsFile) {
    AppDir = folders_.AppDir;
    CardBitmapPath = (AppDir / files::kCardBitmap).string();
    CardDefPath = (AppDir / files::kCardDefs).string();
    BackFilePath = (AppDir / files::kBackground).string();
    for (int p = 2; p <= 4; ++p) PlayerDir[p] = AppDir / ("Player" + std::to_string(p));
    PreviewDir = AppDir / "WorkDir";
}

bool Game::TableInPlay() const {
    if (!DiscardPile.Empty()) return true;
    for (int p = 1; p <= 4; ++p)
        if (!Players[p].Empty()) return true;
    return false;
}

}  // namespace kvt
