#include "hand/event_shows.h"

#include "core/seats.h"
#include "engine/game.h"

namespace kvt {

namespace {

// A card's move (or refused move) between the stacks: its flight, or the
// held card shown.
void ShowCardMove(const Event& event, EventShows& shows) {
    if (event.to.place == Place::Pile) {
        if (event.from.place == Place::Hand || event.from.place == Place::Held)
            shows.ComputerDiscardFlies(event.from.seat, event.card);
        else if (event.from.place == Place::HoldGrid)
            shows.HoldDiscardFlies(event.card);
        else if (event.from.place == Place::PickedCard)
            shows.PickedCardFlies(event.card);
        return;
    }
    if (event.to.place == Place::Held) {
        if (event.kind == EventKind::CardMoved) shows.HoldCardShown(event.to.seat, event.card);
        return;
    }
    if (event.to.place != Place::Hand) return;
    // Cards chosen for a pass fly from the hold grid; one going back to the
    // human's own hand does not fly.
    const bool from_hand = event.from.place == Place::Hand;
    if (!from_hand && !(event.from.place == Place::HoldGrid && event.to.seat != kHuman)) return;
    const int from_place = from_hand ? event.from.seat : 0;
    shows.CardFliesToHand(event.to.seat, from_place, event.card);
}

bool OnPiles(Place place) { return place == Place::Deck || place == Place::Pile; }

// The stack at `spot` drawn again after a card left or joined it.
void Redraw(const Game& game, Spot spot, EventShows& shows) {
    switch (spot.place) {
    case Place::Hand:
        if (spot.seat >= 1 && spot.seat <= 4) shows.HandRedrawn(spot.seat, game.Players[static_cast<std::size_t>(spot.seat)]);
        break;
    case Place::HoldGrid:
    case Place::PickedCard:
        shows.HandRedrawn(0, game.HoldGridCards());
        break;
    default:
        if (OnPiles(spot.place)) shows.PilesRedrawn(PilesShown::Of(game));
        break;
    }
}

}  // namespace

void ShowEventOn(const Game& game, const Event& event, EventShows& shows) {
    if (event.kind == EventKind::CardChosen) shows.ArrowAt(event.seat);
    // The first card passed or taken turns the arrow to the seat it goes to.
    if (event.kind == EventKind::CardMoved && event.variant == 0 && event.to.place == Place::Hand &&
        (event.from.place == Place::Hand || event.from.place == Place::HoldGrid) && event.from.seat != event.to.seat)
        shows.ArrowAt(event.to.seat);
    if (event.variant > 0 && (event.kind == EventKind::NothingDrawn || event.kind == EventKind::CardMoved))
        shows.DrawFlies(event.kind == EventKind::NothingDrawn ? event.seat : event.to.seat, event.variant == 2);
    else if (event.kind == EventKind::CardMoved || event.kind == EventKind::CardRefused)
        ShowCardMove(event, shows);
    if (event.kind == EventKind::CardMoved && event.from.place == Place::Held) shows.HoldCardHidden();
    if (event.kind == EventKind::CardMoved) {
        Redraw(game, event.from, shows);
        // A card from the deck to the pile draws the two once.
        if (!(OnPiles(event.from.place) && OnPiles(event.to.place))) Redraw(game, event.to, shows);
    }
    if (event.kind == EventKind::GroupCardLaid || event.kind == EventKind::DeckRebuilt)
        shows.PilesRedrawn(PilesShown::Of(game));
    if (event.kind == EventKind::RoundEnded) {
        // A player that went out while it held a card aside: the card goes with the round.
        if (!game.CompHeld.Empty()) shows.HoldCardHidden();
        for (int p = 1; p <= 4; ++p)
            if (game.IsComputer(p) && game.Players[static_cast<std::size_t>(p)].Empty()) shows.HandVisible(p, false);
        shows.RoundScored(game.SheetRows, event.seat);
    }
    shows.Logged(event);
    switch (event.kind) {
    case EventKind::DirectionChanged:
        shows.DirectionTurns(event.number);
        break;
    case EventKind::DeckShuffled:
        shows.DeckShuffled();
        break;
    case EventKind::Dealt:
        // The table as the new round starts it, before its cards come.
        shows.HandRedrawn(0, game.HoldGridCards());
        for (int p = 1; p <= 4; ++p) shows.HandRedrawn(p, game.Players[static_cast<std::size_t>(p)]);
        shows.PilesRedrawn(PilesShown::Of(game));
        break;
    case EventKind::Passed:
        shows.PlayerPassed(event.seat);
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
