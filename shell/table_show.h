#pragma once

#include "engine/load_notices.h"
#include "hand/move_shows.h"

namespace kvt {

class PlayWin;
class ShowQueue;

// The loaders' notices and the person's move being built, as the table
// window shows them: every call becomes a step of the window's show queue,
// with what it shows taken as it stands at the call, after what the events
// heard so far have queued. Calls that answer the loader go to the window
// at once.
class TableShow : public LoadNotices, public MoveShows {
public:
    TableShow(PlayWin& window, ShowQueue& queue) : window_(window), queue_(queue) {}

    // LoadNotices
    void ShowCardBack(const Card& back_definition) override;
    void LoadCardBitmap(const std::string& path) override;
    std::string CardBitmapFault(std::uint64_t size, const BitmapReader& read) override;
    void BackgroundArriving(std::uint64_t size, const BitmapReader& read) override;
    void PicturesInForce() override;
    void SetUpBackground() override;
    void ShowLoading() override;
    void SetLoadingGauge(int value, int maximum) override;
    void HideLoading() override;
    void ShowPlayerWait() override;
    void HidePlayerWait() override;
    void CloseBackgroundSound() override;
    void ShowLoadProblem(const std::string& text) override;

    // MoveShows
    void ShowHand(const CardStack& stack, int grid) override;
    void ShowPickedCard(const Card& card) override;
    void ClearPickedCard() override;
    void SetHoldGridVisible(bool visible) override;
    void SetDiscardButtonVisible(bool visible) override;
    void ShowNothingToDraw(int player, bool passed) override;

private:
    // A step of the show, after what the events heard so far queued.
    void Then(std::function<void()> step);

    PlayWin& window_;
    ShowQueue& queue_;
};

}  // namespace kvt
