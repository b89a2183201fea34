#pragma once

namespace kvt::settings {

// Sections and keys of kvt.ini.
inline constexpr const char* kMisc = "Misc";
inline constexpr const char* kLeft = "Left";
inline constexpr const char* kTop = "Top";
inline constexpr const char* kSort = "Sort";
inline constexpr const char* kPlayerSounds = "PlayerSounds";
inline constexpr const char* kBackMusic = "BackMusic";
inline constexpr const char* kViewer = "Viewer";
inline constexpr const char* kMoveLog = "MoveLog";
inline constexpr const char* kPlaySpeed = "PlaySpeed";
inline constexpr const char* kCardFile = "CardFile";
inline constexpr const char* kHome = "Home";
inline constexpr const char* kPlayersFile = "PlayersFile";

}  // namespace kvt::settings
