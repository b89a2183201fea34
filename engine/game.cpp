#include "engine/game.h"

#include "core/seats.h"
#include "engine/working_files.h"

namespace kvt {

Game::Game(Folders folders, LoadNotices& notices, std::optional<std::uint64_t> seed)
    : folders_(std::move(folders)), notices_(notices), settings_(folders_.SettingsFile) {
    Generator = seed ? Random(*seed) : Random();
    AppDir = folders_.AppDir;
    CardBitmapPath = (AppDir / files::kCardBitmap).string();
    CardDefPath = (AppDir / files::kCardDefs).string();
    BackFilePath = (AppDir / files::kBackground).string();
    for (int p = 2; p <= 4; ++p) PlayerDir[p] = AppDir / ("Player" + std::to_string(p));
    PreviewDir = AppDir / "WorkDir";
}

Spot Game::SpotOfOther(const CardStack& stack) const {
    if (&stack == &DiscardPile) return {Place::Pile, 0};
    if (&stack == &DrawDeck) return {Place::Deck, 0};
    if (&stack == &CompHeld) return {Place::Held, static_cast<std::int8_t>(LastMover)};
    if (&stack == &HoldStack) return {Place::HoldGrid, kHuman};
    if (&stack == &PickStack) return {Place::PickedCard, kHuman};
    return {};
}

bool Game::TableInPlay() const {
    if (!DiscardPile.Empty()) return true;
    for (int p = 1; p <= 4; ++p)
        if (!Players[p].Empty()) return true;
    return false;
}

void Game::SetEventListener(std::function<void(const Event&)> listener) {
    listener_ = std::move(listener);
    heard_.clear();
    events_ = listener_ ? &heard_ : nullptr;
}

void Game::Hear(const Event& event) {
    // A copy: what the listener does may report more into the same list.
    const Event heard = event;
    if (events_ == &heard_) heard_.clear();
    listener_(heard);
}

}  // namespace kvt
