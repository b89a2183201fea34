#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/card.h"
#include "core/card_stack.h"

namespace kvt {

// What the rules and the loaders still tell the table directly; the rest the
// table learns from the rules' events. Every call has a do-nothing default,
// so a headless view only overrides what it cares about.
class TableView {
public:
    virtual ~TableView() = default;

    // Hands and piles. Grid 0 is the hold grid; 1..4 are the players' hands.
    virtual void ShowHand(const CardStack& /*stack*/, int /*grid*/) {}
    virtual void ShowCardBack(const Card& /*back_definition*/) {}
    virtual void LoadCardBitmap(const std::string& /*path*/) {}
    // Why a card bitmap about to come into force (`size` bytes, read through
    // `read`) cannot be shown, or "" when it can; a card set with such a
    // bitmap is refused before anything changes. A view that decodes it may
    // keep the picture for the LoadCardBitmap that follows its switch.
    using BitmapReader = std::function<bool(std::uint64_t offset, std::size_t n, char* out)>;
    virtual std::string CardBitmapFault(std::uint64_t /*size*/, const BitmapReader& /*read*/) { return {}; }
    // The bitmap last accepted by CardBitmapFault is now the working copy.
    virtual void CardBitmapInForce() {}
    virtual void SetUpBackground() {}

    // The hold grid and the picked card of the human's play.
    virtual void SetHoldGridVisible(bool /*visible*/) {}
    virtual void ClearPickedCard() {}

    // The loading notice with its gauge.
    virtual void ShowLoading() {}
    virtual void SetLoadingGauge(int /*value*/, int /*maximum*/) {}
    virtual void HideLoading() {}

    // The notice shown while player files are read.
    virtual void ShowPlayerWait() {}
    virtual void HidePlayerWait() {}

    // Stops the background sound device before its files are replaced.
    virtual void CloseBackgroundSound() {}

    // --- rules: turns, card actions, computer players, scoring
    // The picked-card box's face, and the Discard button.
    virtual void ShowPickedCard(const Card& /*card*/) {}
    virtual void SetDiscardButtonVisible(bool /*visible*/) {}

    // A problem the rules ran into and carried on from (modal, OK).
    virtual void ShowRuleMessage(const std::string& /*text*/) {}
    // Deck and pile are used up: `player` passed for want of a card to play
    // or draw (the Passed event shows it), or (not passed) the human must
    // play a card of the hand.
    virtual void ShowNothingToDraw(int /*player*/, bool /*passed*/) {}
};

}  // namespace kvt
