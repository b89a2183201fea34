#include <map>
#include <vector>

#include "tools/kvx/embedded_file_name.h"
#include "tools/kvx/manifest_reader.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

constexpr std::string_view kTopKeys[] = {"format",  "tag",       "name",      "trait-a",
                                         "trait-b", "trait-c",   "trait-d",   "sound-chance",
                                         "reserved1", "reserved2", "reserved3", "picture"};
constexpr std::string_view kRequiredTopKeys[] = {"format", "name", "picture"};
constexpr std::string_view kSoundKeys[] = {"index", "file"};

std::int16_t* HeaderNumber(PlayerRec& h, std::string_view key) {
    if (key == "trait-a") return &h.TraitA;
    if (key == "trait-b") return &h.TraitB;
    if (key == "trait-c") return &h.TraitC;
    if (key == "trait-d") return &h.TraitD;
    if (key == "sound-chance") return &h.SoundChance;
    if (key == "reserved1") return &h.Reserved1;
    if (key == "reserved2") return &h.Reserved2;
    if (key == "reserved3") return &h.Reserved3;
    return nullptr;
}

class PlayerManifestParser : ManifestReader {
public:
    explicit PlayerManifestParser(std::string_view source) : ManifestReader(source) {
        // Names no clip may take in an unpacked folder: line 0 marks them.
        clip_names_.emplace(FoldClipName(kPlayerPictureName), 0);
        clip_names_.emplace(FoldClipName(kPlayerManifestName), 0);
    }

    Status Parse(const std::vector<ManifestLine>& lines, PlayerManifest& out) {
        for (const ManifestLine& line : lines) {
            Status s = line.is_section       ? EnterSection(line)
                       : sound_lines_.empty() ? TopSetting(line)
                                              : SoundSetting(line);
            if (!s) return s;
        }
        if (Status s = FinishSound(); !s) return s;
        if (Status s = RequireKeys(top_keys_, kRequiredTopKeys); !s) return s;
        out = std::move(manifest_);
        return Status::Ok();
    }

private:
    Status EnterSection(const ManifestLine& line) {
        if (line.section != "sound")
            return Fault(line.number, "unknown section [" + line.section + "]; expected [sound]");
        if (Status s = FinishSound(); !s) return s;
        if (manifest_.Sounds.size() == kMaxPlayerClips)
            return Fault(line.number, "a player file holds at most " + std::to_string(kMaxPlayerClips) +
                                          " sound entries");
        manifest_.Sounds.emplace_back();
        sound_lines_.push_back(line.number);
        sound_keys_.clear();
        return Status::Ok();
    }

    // Both keys are needed: a sound without a slot or a file is a mistake.
    Status FinishSound() const {
        if (sound_lines_.empty()) return Status::Ok();
        for (std::string_view key : kSoundKeys)
            if (!sound_keys_.contains(std::string(key)))
                return Fault(sound_lines_.back(), "the [sound] section has no \"" + std::string(key) +
                                                      "\" line");
        return Status::Ok();
    }

    Status TopSetting(const ManifestLine& line) {
        if (!IsOneOf(kTopKeys, line.key)) {
            if (IsOneOf(kSoundKeys, line.key))
                return Fault(line.number, "\"" + line.key + "\" belongs inside a [sound] section");
            return Fault(line.number, "unknown key \"" + line.key + "\"");
        }
        if (Status s = NoteKey(top_keys_, line); !s) return s;
        PlayerRec& h = manifest_.Header;
        const std::string& key = line.key;
        if (key == "format") return ReadFormat(line);
        if (key == "tag") return ReadTag(line, h.Tag);
        if (key == "name") return ReadText(line, h.Name);
        if (key == "picture") return ReadFileName(line, false, manifest_.PictureFile);
        std::int64_t value = 0;
        if (Status s = ReadInteger(line, kInt16Min, kInt16Max, value); !s) return s;
        *HeaderNumber(h, key) = static_cast<std::int16_t>(value);
        return Status::Ok();
    }

    Status SoundSetting(const ManifestLine& line) {
        if (!IsOneOf(kSoundKeys, line.key)) {
            if (IsOneOf(kTopKeys, line.key))
                return Fault(line.number, "\"" + line.key + "\" belongs before the first [sound] section");
            return Fault(line.number, "unknown key \"" + line.key + "\"");
        }
        if (Status s = NoteKey(sound_keys_, line); !s) return s;
        PlayerManifestSound& sound = manifest_.Sounds.back();
        if (line.key == "index") {
            std::int64_t index = 0;
            if (Status s = ReadInteger(line, 0, kMaxSoundIndex, index); !s) return s;
            sound.Index = static_cast<std::int16_t>(index);
            return Status::Ok();
        }
        if (Status s = ReadString(line, sound.File); !s) return s;
        if (const std::string fault = PlayerClipNameFault(sound.File); !fault.empty())
            return Fault(line.number, "file: " + fault);
        const auto [it, fresh] = clip_names_.emplace(FoldClipName(sound.File), line.number);
        if (fresh) return Status::Ok();
        if (it->second == 0)
            return Fault(line.number, "file: " + QuoteManifestString(sound.File) +
                                          " is reserved in a player's folder; choose another name");
        return Fault(line.number, "file: " + QuoteManifestString(sound.File) +
                                      " repeats the file of line " + std::to_string(it->second) +
                                      " (names are compared without regard to case)");
    }

    PlayerManifest manifest_;
    std::vector<int> sound_lines_;           // header line of each [sound] section
    std::map<std::string, int> top_keys_;    // key -> line
    std::map<std::string, int> sound_keys_;  // of the [sound] section being read
    std::map<std::string, int> clip_names_;  // folded file name -> line
};

}  // namespace

Status ParsePlayerManifest(std::string_view text, PlayerManifest& out) {
    return ParsePlayerManifest(text, kPlayerManifestName, out);
}

Status ParsePlayerManifest(std::string_view text, std::string_view source, PlayerManifest& out) {
    std::vector<ManifestLine> lines;
    if (Status s = SplitManifestLinesOf(text, source, lines); !s) return s;
    return PlayerManifestParser(source).Parse(lines, out);
}

Status ReadPlayerManifest(const std::filesystem::path& manifest_path, PlayerManifest& out) {
    std::string text;
    if (Status s = ReadManifestText(manifest_path, text); !s) return s;
    return ParsePlayerManifest(text, manifest_path.string(), out);
}

}  // namespace kvt::kvx
