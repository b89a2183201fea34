#pragma once

#include "engine/table_view.h"

namespace kvt {

class PlayWin;
class ShowQueue;

// The rules' view of the table window: every call becomes a step of the
// window's show queue, with what it shows taken as it stands at the call.
// The rules therefore run a move to its end at once, and the window plays
// it afterwards, a card flight or a clip holding back what follows it.
// Calls that answer the rules go to the window at once.
class TableShow : public TableView {
public:
    TableShow(PlayWin& window, ShowQueue& queue) : window_(window), queue_(queue) {}

    void ShowHand(const CardStack& stack, int grid) override;
    void ShowCardBack(const Card& back_definition) override;
    void LoadCardBitmap(const std::string& path) override;
    std::string CardBitmapFault(std::uint64_t size, const BitmapReader& read) override;
    void CardBitmapInForce() override;
    void SetUpBackground() override;

    void SetHoldGridVisible(bool visible) override;
    void ClearPickedCard() override;

    void ShowLoading() override;
    void SetLoadingGauge(int value, int maximum) override;
    void HideLoading() override;
    void ShowPlayerWait() override;
    void HidePlayerWait() override;
    void CloseBackgroundSound() override;

    void ShowPickedCard(const Card& card) override;
    void SetDiscardButtonVisible(bool visible) override;

    void ShowRuleMessage(const std::string& text) override;
    void ShowNothingToDraw(int player, bool passed) override;

private:
    // A step of the show, after what the events heard so far queued.
    void Then(std::function<void()> step);

    PlayWin& window_;
    ShowQueue& queue_;
};

}  // namespace kvt
