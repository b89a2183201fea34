#pragma once

#include <filesystem>

namespace kvt {

// The files the game-over window shows for one player, all in that
// player's folder: the picture and the clip it speaks (the win clip for the
// winner, the lose clip for everybody else).
struct GameOverFiles {
    std::filesystem::path Picture;
    std::filesystem::path Clip;
};

GameOverFiles GameOverFilesFor(const std::filesystem::path& folder, bool winner);

}  // namespace kvt
