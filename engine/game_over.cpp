#include "engine/game_over.h"

#include "engine/player_sounds.h"

namespace kvt {

GameOverFiles GameOverFilesFor(const std::filesystem::path& folder, bool winner) {
    return {FindFileNoCase(folder, "player.bmp"), FindFileNoCase(folder, winner ? "wg1.wav" : "lg1.wav")};
}


}  // namespace kvt
