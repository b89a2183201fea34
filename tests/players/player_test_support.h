#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "engine/player_file.h"
#include "engine/game.h"
#include "tests/test_support.h"

namespace kvt::players_test {

namespace fs = std::filesystem;

// A recognisable stand-in for a picture or a clip: the tools never look inside.
std::string FakeBytes(std::string_view head, std::size_t size, int seed = 0);

// "Ada": a picture and three clips at their canonical slots.
PlayerFileContents SamplePlayer();
// Corners of the format: an unusual tag, non-zero reserved fields, a long
// name with quotes, control bytes and bytes >= 0x80, clip names with bytes
// >= 0x80, a zero-length clip, slot 50, and clips "x" and "x.tmp".
PlayerFileContents OddPlayer();
// A picture and no sound entries.
PlayerFileContents BarePlayer();

// The bytes of one sound entry, written field by field as given, so that
// hostile values can be stored.
std::string RawEntry(std::int16_t index, std::string_view name, std::int32_t length, std::string_view clip);
std::string RawEntry(std::int16_t index, std::int16_t name_length, std::string_view name);

// Every file and folder below `root` (relative path -> bytes, or "<folder>").
std::map<std::string, std::string> Snapshot(const fs::path& root);

// A test on a table of temporary folders, with a place for player files of its own.
class PlayerTableTest : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, std::string_view bytes) const;
    fs::path Write(const std::string& name, const PlayerFileContents& file) const {
        return Write(name, EncodePlayerFile(file));
    }
    // How often the player-file notice was shown and taken down.
    std::pair<int, int> Notices() const {
        return {table.view.Count("ShowPlayerWait"), table.view.Count("HidePlayerWait")};
    }

    test::TableFixture table;
    Game& game = *table.game;
};

}  // namespace kvt::players_test
