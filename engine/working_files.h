#pragma once

namespace kvt::files {

// Working files of the current card set, kept in the working folder.
inline constexpr const char* kCardDefs = "CurCards.cdf";
inline constexpr const char* kCardBitmap = "CurCards.cdm";
inline constexpr const char* kOpeningSound = "OpenWav.wav";
inline constexpr const char* kBackground = "BackGrnd.cdm";
// The card set that ships with the program, in the shared data folder.
inline constexpr const char* kDefaultCardSet = "default.cds";

}  // namespace kvt::files
