#include <limits>
#include <map>
#include <vector>

#include "platform/files.h"
#include "tools/kvx/embedded_file_name.h"
#include "tools/kvx/manifest_syntax.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

constexpr std::int64_t kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kInt16Max = std::numeric_limits<std::int16_t>::max();
// A name of 32767 bytes, each escaped as \xNN, and the largest number of sections.
constexpr std::size_t kMaxManifestBytes = 1u << 20;

constexpr std::string_view kTopKeys[] = {"format",  "tag",       "name",      "trait-a",
                                         "trait-b", "trait-c",   "trait-d",   "sound-chance",
                                         "reserved1", "reserved2", "reserved3", "picture"};
constexpr std::string_view kRequiredTopKeys[] = {"format", "name", "picture"};
constexpr std::string_view kSoundKeys[] = {"index", "file"};

template <std::size_t N>
bool Contains(const std::string_view (&keys)[N], std::string_view key) {
    for (std::string_view k : keys)
        if (k == key) return true;
    return false;
}

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

class PlayerManifestParser {
public:
    explicit PlayerManifestParser(std::string_view source) : source_(source) {
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
        for (std::string_view key : kRequiredTopKeys)
            if (!top_keys_.contains(std::string(key)))
                return Status::Fail(source_ + ": the top section has no \"" + std::string(key) +
                                    "\" line");
        out = std::move(manifest_);
        return Status::Ok();
    }

private:
    Status Fault(int line, const std::string& what) const {
        return Status::Fail(source_ + ", line " + std::to_string(line) + ": " + what);
    }

    Status NoteKey(std::map<std::string, int>& seen, const ManifestLine& line) const {
        const auto [it, fresh] = seen.emplace(line.key, line.number);
        if (fresh) return Status::Ok();
        return Fault(line.number, "\"" + line.key + "\" is given twice (first on line " +
                                      std::to_string(it->second) + ")");
    }

    Status ReadString(const ManifestLine& line, std::string& out) const {
        std::string error;
        if (!UnquoteManifestString(line.value, out, error))
            return Fault(line.number, line.key + ": " + error);
        return Status::Ok();
    }

    Status ReadInteger(const ManifestLine& line, std::int64_t min, std::int64_t max,
                       std::int64_t& out) const {
        std::string error;
        if (!ParseManifestInteger(line.value, min, max, out, error))
            return Fault(line.number, line.key + ": " + error);
        return Status::Ok();
    }

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
        if (!Contains(kTopKeys, line.key)) {
            if (Contains(kSoundKeys, line.key))
                return Fault(line.number, "\"" + line.key + "\" belongs inside a [sound] section");
            return Fault(line.number, "unknown key \"" + line.key + "\"");
        }
        if (Status s = NoteKey(top_keys_, line); !s) return s;
        PlayerRec& h = manifest_.Header;
        const std::string& key = line.key;
        if (key == "format") {
            std::int64_t format = 0;
            if (Status s = ReadInteger(line, kInt16Min, kInt16Max, format); !s) return s;
            if (format != 1)
                return Fault(line.number, "format " + line.value + " is not known; this kvx reads format 1");
            return Status::Ok();
        }
        if (key == "tag") {
            std::string tag;
            if (Status s = ReadString(line, tag); !s) return s;
            if (tag.size() != h.Tag.size())
                return Fault(line.number, "the tag must be exactly 4 bytes, not " + std::to_string(tag.size()));
            std::copy(tag.begin(), tag.end(), h.Tag.begin());
            return Status::Ok();
        }
        if (key == "name") {
            if (Status s = ReadString(line, h.Name); !s) return s;
            if (h.Name.size() > static_cast<std::size_t>(kInt16Max))
                return Fault(line.number, "the name is " + std::to_string(h.Name.size()) +
                                              " bytes long; at most 32767 fit");
            return Status::Ok();
        }
        if (key == "picture") {
            if (Status s = ReadString(line, manifest_.PictureFile); !s) return s;
            if (const std::string fault = EmbeddedFileNameFault(manifest_.PictureFile); !fault.empty())
                return Fault(line.number, "picture: " + fault);
            return Status::Ok();
        }
        std::int64_t value = 0;
        if (Status s = ReadInteger(line, kInt16Min, kInt16Max, value); !s) return s;
        *HeaderNumber(h, key) = static_cast<std::int16_t>(value);
        return Status::Ok();
    }

    Status SoundSetting(const ManifestLine& line) {
        if (!Contains(kSoundKeys, line.key)) {
            if (Contains(kTopKeys, line.key))
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

    std::string source_;
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
    if (Status s = SplitManifestLines(text, lines); !s)
        return Status::Fail(std::string(source) + ", " + s.message());
    return PlayerManifestParser(source).Parse(lines, out);
}

Status ReadPlayerManifest(const std::filesystem::path& manifest_path, PlayerManifest& out) {
    std::string text;
    if (Status s = ReadWholeFile(manifest_path, text, kMaxManifestBytes); !s) return s;
    return ParsePlayerManifest(text, manifest_path.string(), out);
}

}  // namespace kvt::kvx
