#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/card.h"

namespace kvt {

// What the loaders of card sets and player files tell the table while they
// load: the notices and their gauge, the pictures and sounds that come into
// force, and a load that failed while play went on. The rules tell it
// nothing; the table learns what they do from their events. Every call has a
// do-nothing default, so a headless table only overrides what it cares about.
class LoadNotices {
public:
    virtual ~LoadNotices() = default;

    // The card set in force: its card back, its card bitmap and background.
    virtual void ShowCardBack(const Card& /*back_definition*/) {}
    virtual void LoadCardBitmap(const std::string& /*path*/) {}
    // Why a card bitmap about to come into force (`size` bytes, read through
    // `read`) cannot be shown, or "" when it can; a card set with such a
    // bitmap is refused before anything changes. A table that decodes it may
    // keep the picture for the LoadCardBitmap that follows its switch. A
    // large bitmap is checked on a thread of its own while the gauge's calls
    // come on the loader's: this call touches nothing else the notices do.
    using BitmapReader = std::function<bool(std::uint64_t offset, std::size_t n, char* out)>;
    virtual std::string CardBitmapFault(std::uint64_t /*size*/, const BitmapReader& /*read*/) { return {}; }
    // The background of the card set being loaded (none when `size` is 0),
    // read from the card set itself once its working copy is written: a
    // table may decode it now for the SetUpBackground that follows
    // PicturesInForce, rather than read the copy back.
    virtual void BackgroundArriving(std::uint64_t /*size*/, const BitmapReader& /*read*/) {}
    // The bitmap last accepted by CardBitmapFault and the last background
    // arriving are now the working copies.
    virtual void PicturesInForce() {}
    virtual void SetUpBackground() {}

    // The loading notice with its gauge.
    virtual void ShowLoading() {}
    virtual void SetLoadingGauge(int /*value*/, int /*maximum*/) {}
    virtual void HideLoading() {}

    // The notice shown while player files are read.
    virtual void ShowPlayerWait() {}
    virtual void HidePlayerWait() {}

    // Stops the background sound device before its files are replaced.
    virtual void CloseBackgroundSound() {}

    // Why the card set could not be loaded again for a round, which goes on
    // with the set in memory (modal, OK).
    virtual void ShowLoadProblem(const std::string& /*text*/) {}
};

}  // namespace kvt
