#include "engine/game.h"

#include "core/seats.h"
#include "engine/working_files.h"

namespace kvt {

Game::Game(Folders folders, TableView& view, std::optional<std::uint64_t> seed)
    : folders_(std::move(folders)), view_(view), settings_(folders_.SettingsFile) {
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

void Game::DeliverHeard() {
    // A listener that makes the view call back here hears the rest in order
    // from the call that is delivering already.
    if (!listener_ || delivering_) return;
    delivering_ = true;
    DeliverHeardNow();
    delivering_ = false;
}

void Game::DeliverHeardNow() {
    // A rule operation reporting into its caller's list: what it has
    // reported so far is heard now, in step with what the view was told.
    if (applied_ && events_ == applied_) {
        while (applied_delivered_ < applied_->size()) {
            const Event e = (*applied_)[applied_delivered_++];
            listener_(e);
        }
        return;
    }
    if (heard_.empty()) return;
    Events delivered;
    delivered.swap(heard_);
    for (const Event& e : delivered) listener_(e);
}

}  // namespace kvt
