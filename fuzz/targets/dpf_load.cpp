// Player files (.dpf): decoded in memory, and unpacked into an opponent's
// working folder (Game::ExtractPlayer).
//
// Decoding: an accepted file encodes back to exactly the same bytes; the
// header-only and the whole-file decoders agree; the decoders never ask for
// bytes past the end; a refused file leaves the output alone.
// Unpacking: every run starts from the same folder of an earlier opponent.
// A refused file leaves everything under the working folder exactly as it
// was (nothing beside it either) and the seat's header too; an accepted one
// leaves a folder holding exactly the picture and the clips, with their bytes.

#include <map>
#include <set>

#include "engine/player_file.h"
#include "engine/game.h"
#include "fuzz/fuzz_targets.h"
#include "platform/files.h"

namespace kvt::fuzz {
namespace {

namespace fs = std::filesystem;
constexpr const char* kName = "dpf_load";
constexpr int kSeat = 3;

void Require(bool condition, const std::string& what) { KVT_FUZZ_CHECK(condition, kName, what); }

// Every file and folder below root: relative path -> bytes, or "<folder>".
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_directory()) {
            out[name] = "<folder>";
        } else {
            std::string bytes;
            (void)ReadWholeFile(entry.path(), bytes, 1u << 30);
            out[name] = bytes;
        }
    }
    return out;
}

std::string Names(const std::map<std::string, std::string>& files) {
    std::string names;
    for (const auto& [name, bytes] : files) names += (names.empty() ? "" : ", ") + name;
    return names;
}

PlayerFileContents Sentinel() {
    PlayerFileContents f;
    f.Header.Name = "untouched";
    f.Picture = "untouched";
    f.Clips.push_back({{7, "untouched.wav", 3}, "abc"});
    return f;
}

PlayerRec PreviousOpponent() {
    PlayerRec rec;
    rec.Name = "Previous opponent";
    rec.PictureSize = 16;
    rec.SoundChance = 50;
    return rec;
}

class NoticeView : public LoadNotices {
public:
    int shown = 0, hidden = 0;
    void ShowPlayerWait() override { ++shown; }
    void HidePlayerWait() override { ++hidden; }
};

void CheckDecoding(std::string_view bytes, const Status& decoded, const PlayerFileContents& file) {
    const std::size_t size = bytes.size();
    const ReadAt bounded = [&](std::uint64_t offset, std::size_t n, char* out) {
        Require(offset <= size && n <= size - offset,
                "a decoder read past the end of the file (offset " + std::to_string(offset) + ", " +
                    std::to_string(n) + " bytes, file of " + std::to_string(size) + ")");
        bytes.copy(out, n, static_cast<std::size_t>(offset));
        return true;
    };
    PlayerLayout layout;
    const Status laid_out = DecodePlayerLayout(size, bounded, layout);
    Require(laid_out.ok() == decoded.ok(), "the layout and the file decoders disagree");
    PlayerRec header;
    const Status header_read = DecodePlayerHeader(size, bounded, header);
    if (!decoded) {
        Require(!decoded.message().empty(), "a refusal without a message");
        Require(file == Sentinel(), "a refused file changed the output");
        return;
    }
    Require(header_read.ok(), "the header decoder refuses an accepted file: " + header_read.message());
    Require(header == file.Header, "the header decoder reads another header");
    Require(file.Header.PictureSize == static_cast<std::int32_t>(file.Picture.size()),
            "the picture size does not match the picture");
    std::set<std::string> folded{FoldClipName(kPlayerPictureName)};
    for (const PlayerClip& clip : file.Clips) {
        Require(PlayerClipNameFault(clip.Entry.FileName).empty(),
                "an accepted clip name is at fault: " + QuotedClipName(clip.Entry.FileName));
        Require(folded.insert(FoldClipName(clip.Entry.FileName)).second,
                "two parts share the name " + QuotedClipName(clip.Entry.FileName));
        Require(clip.Entry.Length == static_cast<std::int32_t>(clip.Bytes.size()),
                "a clip's size does not match its bytes");
    }
    const std::string again = EncodePlayerFile(file);
    Require(again == bytes, "encoding an accepted player file gives other bytes (" +
                                std::to_string(again.size()) + " against " + std::to_string(size) +
                                ", first difference at offset " +
                                std::to_string(FirstDifference(again, bytes)) + ")");
}

}  // namespace

int DpfLoad(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    PlayerFileContents file = Sentinel();
    const Status decoded = DecodePlayerFile(bytes, file);
    CheckDecoding(bytes, decoded, file);

    // Unpacking, from a working folder that holds an earlier opponent.
    const fs::path root = ScratchFolder() / kName;
    Folders folders;
    folders.SettingsFile = root / "config" / "kvt.ini";
    folders.AppDir = root / "work";
    folders.SharedData = root / "shared";
    const fs::path input = root / "input.dpf";
    std::error_code ec;
    fs::remove_all(folders.AppDir, ec);
    NoticeView view;
    Game game(folders, view, 1);
    const fs::path seat_folder = game.PlayerDir[kSeat];
    Require(EnsureFolder(seat_folder).ok(), "cannot lay out the seat's folder");
    Require(WriteFileAtomically(seat_folder / kPlayerPictureName, "previous picture").ok() &&
                WriteFileAtomically(seat_folder / kSelectionClipName, "previous clip").ok() &&
                WriteFileAtomically(folders.AppDir / "CurCards.cdf", "other working file").ok(),
            "cannot lay out the working folder");
    Require(WriteFileAtomically(input, bytes).ok(), "cannot write the input");
    game.PlayerInfo[kSeat] = PreviousOpponent();
    const auto before = Snapshot(folders.AppDir);

    const Status extracted = game.ExtractPlayer(input, kSeat);
    const auto after = Snapshot(folders.AppDir);
    Require(view.shown == view.hidden, "the player-file notice was left open");
    Require(extracted.ok() == decoded.ok(),
            std::string("unpacking from disk and decoding in memory disagree: unpacking ") +
                (extracted.ok() ? "accepted" : "refused (" + extracted.message() + ")") + " it");

    if (!extracted) {
        Require(extracted.message().find(input.filename().string()) != std::string::npos,
                "the refusal does not name the file: " + extracted.message());
        Require(after == before, "a refused player file changed the working folder: now " + Names(after));
        Require(game.PlayerInfo[kSeat] == PreviousOpponent(), "a refused player file changed the seat");
        return 0;
    }

    Require(game.PlayerInfo[kSeat] == file.Header, "the seat's header is not the file's");
    std::map<std::string, std::string> expected = before;
    const std::string seat_name = fs::relative(seat_folder, folders.AppDir).string();
    for (auto it = expected.begin(); it != expected.end();)
        it = it->first.rfind(seat_name + "/", 0) == 0 ? expected.erase(it) : std::next(it);
    expected[seat_name + "/" + kPlayerPictureName] = file.Picture;
    for (const PlayerClip& clip : file.Clips) expected[seat_name + "/" + clip.Entry.FileName] = clip.Bytes;
    for (const auto& [name, contents] : after)
        Require(expected.count(name) != 0, "unpacking left an unexpected file: " + name);
    for (const auto& [name, contents] : expected) {
        const auto it = after.find(name);
        Require(it != after.end(), "unpacking did not leave " + name);
        Require(it->second == contents, name + " does not hold the file's bytes (" +
                                            std::to_string(it->second.size()) + " against " +
                                            std::to_string(contents.size()) + ")");
    }
    return 0;
}

}  // namespace kvt::fuzz
