#include "engine/player_sounds.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <system_error>

#include "engine/rules_support.h"

namespace kvt {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

}  // namespace

std::string SoundEventName(int event) {
    static const std::array<const char*, 11> kNames = {"Sel",   "Comment", "Disc",  "DrawP", "DrawL", "DrawR",
                                                       "DrawA", "PassL",   "PassR", "PassA", "Rev"};
    if (event < 1 || event > static_cast<int>(kNames.size())) return "";
    return kNames[event - 1];
}

std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path exact = folder / name;
    std::error_code ec;
    if (folder.empty() || std::filesystem::exists(exact, ec)) return exact;
    const std::string wanted = Lower(name);
    for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
        if (Lower(it->path().filename().string()) == wanted) return it->path();
    }
    return exact;
}

std::filesystem::path Game::HumanFolder() const {
    return HumanDir.empty() ? folders_.SharedData / "player1" : HumanDir;
}

std::filesystem::path Game::PlayerFolder(int player) const {
    if (player == kHuman) return HumanFolder();
    if (player < 2 || player > 4) return {};
    return PlayerDir[player];
}

bool Game::PlayPlayerSound(int event, bool chance_test, int& player) {
    if (!PlayerSounds) return false;
    if (player == 0) player = static_cast<int>(Rng().Uniform() * 3 + 1) + 1;
    if (player < 1 || player > 4) return false;
    const int r = chance_test ? static_cast<int>(Rng().Uniform() * 99 + 1) : 2;
    if (!(r > 1 && r < PlayerInfo[player].SoundChance)) return false;
    const int variant = static_cast<int>(Rng().Uniform() * 3) + 1;
    Emit(EventKind::SoundCue, player, event, [variant](Event& cue) { cue.variant = static_cast<std::int16_t>(variant); });
    return true;
}

std::filesystem::path Game::VoiceClip(const Event& cue) const {
    if (cue.kind != EventKind::SoundCue) return {};
    const std::string name = SoundEventName(cue.number);
    if (name.empty() || cue.variant < 1 || cue.variant > 3) return {};
    const std::filesystem::path folder = PlayerFolder(cue.seat);
    if (folder.empty()) return {};
    return FindFileNoCase(folder, name + std::to_string(cue.variant) + ".wav");
}

}  // namespace kvt
