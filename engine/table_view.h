#pragma once

#include <string>

#include "engine/card.h"
#include "engine/card_stack.h"

namespace kvt {

// Everything the rules show, wait for or ask of the human goes through this
// interface. Every call has a do-nothing default, so a headless view only
// overrides what it cares about.
class TableView {
public:
    virtual ~TableView() = default;

    // Lets pending window events through (repaints, menu commands).
    virtual void PumpEvents() {}

    // Hands and piles. Grid 0 is the hold grid; 1..4 are the players' hands.
    virtual void ShowHand(const CardStack& /*stack*/, int /*grid*/) {}
    virtual void SetHandVisible(int /*player*/, bool /*visible*/) {}
    virtual void ShowDiscardTop() {}
    virtual void RepaintDiscardPile() {}
    virtual void ShowCardBack(const Card& /*back_definition*/) {}
    virtual void LoadCardBitmap(const std::string& /*path*/) {}
    virtual void SetUpBackground() {}

    // Seat arrows of players 2..4, the prompt, the hold grid, the picked card.
    virtual void PlaceSeatArrows() {}
    virtual void SetSeatArrowVisible(int /*seat*/, bool /*visible*/) {}
    virtual void SetChooseMessageVisible(bool /*visible*/) {}
    virtual void SetHoldGridVisible(bool /*visible*/) {}
    virtual void ClearPickedCard() {}
    virtual void ClearScoreSheet() {}

    // Progress notices: the shuffle notice and the loading notice with its gauge.
    virtual void ShowShuffling() {}
    virtual void HideShuffling() {}
    virtual void ShowLoading() {}
    virtual void SetLoadingGauge(int /*value*/, int /*maximum*/) {}
    virtual void HideLoading() {}

    // The notice shown while player files are read.
    virtual void ShowPlayerWait() {}
    virtual void HidePlayerWait() {}

    // Stops the background sound device before its files are replaced.
    virtual void CloseBackgroundSound() {}
};

}  // namespace kvt
