#include "shell/table_show.h"

#include "shell/play_win.h"
#include "shell/show_queue.h"

namespace kvt {

void TableShow::Then(std::function<void()> step) { queue_.Now(std::move(step)); }

void TableShow::ShowHand(const CardStack& stack, int grid) {
    Then([this, stack, grid] { window_.ShowHand(stack, grid); });
}

void TableShow::ShowCardBack(const Card& back_definition) {
    Then([this, back_definition] { window_.ShowCardBack(back_definition); });
}

void TableShow::LoadCardBitmap(const std::string& path) { window_.LoadCardBitmap(path); }

std::string TableShow::CardBitmapFault(std::uint64_t size, const BitmapReader& read) {
    return window_.CardBitmapFault(size, read);
}

void TableShow::BackgroundArriving(std::uint64_t size, const BitmapReader& read) {
    window_.BackgroundArriving(size, read);
}

void TableShow::PicturesInForce() { window_.PicturesInForce(); }

void TableShow::SetUpBackground() {
    Then([this] { window_.SetUpBackground(); });
}

void TableShow::SetHoldGridVisible(bool visible) {
    Then([this, visible] { window_.SetHoldGridVisible(visible); });
}

void TableShow::ClearPickedCard() {
    Then([this] { window_.ClearPickedCard(); });
}

void TableShow::ShowLoading() {
    Then([this] { window_.ShowLoading(); });
}

void TableShow::SetLoadingGauge(int value, int maximum) {
    Then([this, value, maximum] { window_.SetLoadingGauge(value, maximum); });
}

void TableShow::HideLoading() {
    Then([this] { window_.HideLoading(); });
}

void TableShow::ShowPlayerWait() {
    Then([this] { window_.ShowPlayerWait(); });
}

void TableShow::HidePlayerWait() {
    Then([this] { window_.HidePlayerWait(); });
}

void TableShow::CloseBackgroundSound() {
    Then([this] { window_.CloseBackgroundSound(); });
}

void TableShow::ShowPickedCard(const Card& card) {
    Then([this, card] { window_.ShowPickedCard(card); });
}

void TableShow::SetDiscardButtonVisible(bool visible) {
    Then([this, visible] { window_.SetDiscardButtonVisible(visible); });
}

void TableShow::ShowLoadProblem(const std::string& text) {
    Then([this, text] { window_.ShowLoadProblem(text); });
}

void TableShow::ShowNothingToDraw(int player, bool passed) {
    Then([this, player, passed] { window_.ShowNothingToDraw(player, passed); });
}

}  // namespace kvt
