#pragma once

#include <QDir>
#include <filesystem>

#include "shell/play_win.h"

namespace kvt::desktop_test {

inline constexpr const char* kCaptionOption = "--new-game-caption";

// The shipped data of the build, and the user's folders the test main set up.
inline PlayWin::Options TableOptions() {
    PlayWin::Options options;
    options.folders.SharedData = KVT_TEST_DATA_DIR;
    options.seed = 7;
    options.player_name = QStringLiteral("Tester");
    options.choose_players = false;
    return options;
}

}  // namespace kvt::desktop_test
