#include "hand/event_shows.h"

#include "engine/game.h"

namespace kvt {

void ShowEventOn(const Game& game, const Event& event, EventShows& shows) {
    const bool moved = event.kind == EventKind::CardMoved || event.kind == EventKind::CardRefused;
    if (moved && event.to.place == Place::Pile) {
        if (event.from.place == Place::Hand || event.from.place == Place::Held)
            shows.ComputerDiscardFlies(event.from.seat, event.card);
        else if (event.from.place == Place::HoldGrid)
            shows.HoldDiscardFlies(event.card);
    }
    shows.Logged(event);
    switch (event.kind) {
    case EventKind::DirectionChanged:
        shows.DirectionTurns(event.number);
        break;
    case EventKind::DeckShuffled:
        shows.DeckShuffled();
        break;
    case EventKind::SoundCue:
        if (game.PlayerSoundsHeard) {
            // A player without a folder (none loaded) has no clip to play.
            if (const std::filesystem::path clip = game.VoiceClip(event); !clip.empty()) shows.PlayerSpeaks(clip);
        }
        break;
    case EventKind::GameEnded:
        if (event.seat >= 1 && event.seat <= 4) {
            std::array<GameOverFiles, 5> files;
            for (int p = 1; p <= 4; ++p) files[static_cast<std::size_t>(p)] = GameOverFilesFor(game.PlayerFolder(p), p == event.seat);
            shows.GameOver(event.seat, files);
        }
        break;
    default:
        break;
    }
}

}  // namespace kvt
