#include "engine/game_over.h"

#include "engine/player_sounds.h"
#include "engine/rules_support.h"

namespace kvt {

GameOverFiles GameOverFilesFor(const std::filesystem::path& folder, bool winner) {
    return {FindFileNoCase(folder, "player.bmp"), FindFileNoCase(folder, winner ? "wg1.wav" : "lg1.wav")};
}

// The players in seat order, each with its picture and clip; the window
// stays on the last picture until the human closes it.
void Game::PresentGameOver() {
    view_.ShowGameOver(Winner);
    if (Winner > 0 && view_.ShowsGameOverFiles()) {
        for (int p = 1; p <= 4; ++p) {
            const GameOverFiles files = GameOverFilesFor(PlayerFolder(p), p == Winner);
            view_.ShowGameOverPicture(p, files.Picture);
            view_.PlayClip(files.Clip);
        }
    }
    view_.WaitGameOverClosed();
}

}  // namespace kvt
