#pragma once

#include <initializer_list>
#include <string_view>

namespace kvt::files {

// Working files of the current card set, kept in the working folder.
inline constexpr const char* kCardDefs = "CurCards.cdf";
inline constexpr const char* kCardBitmap = "CurCards.cdm";
inline constexpr const char* kOpeningSound = "OpenWav.wav";
inline constexpr const char* kBackground = "BackGrnd.cdm";

// Whether `name` is the name of one of the working files above.
inline bool IsWorkingFileName(std::string_view name) {
    for (const char* known : {kCardDefs, kCardBitmap, kOpeningSound, kBackground})
        if (name == known) return true;
    return false;
}
// The card set that ships with the program, in the shared data folder.
inline constexpr const char* kDefaultCardSet = "default.cds";

}  // namespace kvt::files
