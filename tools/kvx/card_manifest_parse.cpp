#include <array>
#include <map>
#include <vector>

#include "tools/kvx/card_manifest.h"
#include "tools/kvx/manifest_reader.h"

namespace kvt::kvx {
namespace {

constexpr std::string_view kCardKeys[] = {"group",  "value", "action", "count",     "copies",
                                          "row",    "col",   "reserved1", "reserved2", "playable"};
constexpr std::string_view kTopKeys[] = {"format", "tag",   "title", "author",     "text1",
                                         "text2",  "bitmap", "sound", "sound-size", "background"};
constexpr std::string_view kRequiredTopKeys[] = {"format", "tag", "title", "bitmap"};

std::int16_t* CardField(Card& c, std::string_view key) {
    if (key == "group") return &c.Group;
    if (key == "value") return &c.Value;
    if (key == "count") return &c.ActionCount;
    if (key == "copies") return &c.Copies;
    if (key == "row") return &c.PicRow;
    if (key == "col") return &c.PicCol;
    if (key == "reserved1") return &c.Reserved1;
    if (key == "reserved2") return &c.Reserved2;
    if (key == "playable") return &c.Playable;
    return nullptr;
}

class CardManifestParser : ManifestReader {
public:
    explicit CardManifestParser(std::string_view source) : ManifestReader(source) {}

    Status Parse(const std::vector<ManifestLine>& lines, CardManifest& out) {
        for (const ManifestLine& line : lines) {
            Status s = line.is_section ? EnterSection(line)
                       : card_ < 0     ? TopSetting(line)
                                       : CardSetting(line);
            if (!s) return s;
        }
        if (Status s = Finish(); !s) return s;
        out = std::move(manifest_);
        return Status::Ok();
    }

private:
    Status EnterSection(const ManifestLine& line) {
        const std::string_view section = line.section;
        const auto digits = section.find_first_not_of(" \t", 4);
        if (!section.starts_with("card") || digits == 4 || digits == std::string_view::npos)
            return Fault(line.number, "unknown section [" + line.section + "]; expected [card N]");
        std::int64_t index = 0;
        std::string error;
        if (!ParseManifestInteger(section.substr(digits), 0, kCardDefCount - 1, index, error))
            return Fault(line.number, "card index " + error);
        if (const int first = card_lines_[index]; first != 0)
            return Fault(line.number, "[card " + std::to_string(index) +
                                          "] appears twice (first on line " +
                                          std::to_string(first) + ")");
        card_ = static_cast<int>(index);
        card_lines_[index] = line.number;
        seen_card_keys_.clear();
        return Status::Ok();
    }

    Status TopSetting(const ManifestLine& line) {
        if (!IsOneOf(kTopKeys, line.key)) {
            if (IsOneOf(kCardKeys, line.key))
                return Fault(line.number, "\"" + line.key + "\" belongs inside a [card N] section");
            return Fault(line.number, "unknown key \"" + line.key + "\"");
        }
        if (Status s = NoteKey(top_keys_, line); !s) return s;
        CardSetDef& def = manifest_.Def;
        const std::string& key = line.key;
        if (key == "format") return ReadFormat(line);
        if (key == "tag") {
            if (Status s = ReadTag(line, manifest_.Tag); !s) return s;
            def.Header = static_cast<std::int16_t>(static_cast<unsigned char>(manifest_.Tag[2]) |
                                                   static_cast<unsigned char>(manifest_.Tag[3]) << 8);
            return Status::Ok();
        }
        if (key == "title") {
            std::string title;
            if (Status s = ReadString(line, title); !s) return s;
            if (title.size() > static_cast<std::size_t>(kTitleLength))
                return Fault(line.number, "the title is " + std::to_string(title.size()) +
                                              " characters long; at most " +
                                              std::to_string(kTitleLength) + " fit");
            def.GameTitle = FitTitle(std::move(title));
            return Status::Ok();
        }
        if (key == "author") return ReadText(line, def.AuthorName);
        if (key == "text1") return ReadText(line, def.Text1);
        if (key == "text2") return ReadText(line, def.Text2);
        if (key == "bitmap") return ReadFileName(line, false, manifest_.BitmapFile);
        if (key == "sound") return ReadFileName(line, true, manifest_.SoundFile);
        if (key == "background") return ReadFileName(line, true, manifest_.BackgroundFile);
        // sound-size
        std::int64_t size = 0;
        if (Status s = ReadInteger(line, 0, 1, size); !s) return s;
        manifest_.SoundSizeWithoutSound = static_cast<std::int32_t>(size);
        return Status::Ok();
    }

    Status CardSetting(const ManifestLine& line) {
        if (!IsOneOf(kCardKeys, line.key)) {
            if (IsOneOf(kTopKeys, line.key))
                return Fault(line.number, "\"" + line.key +
                                              "\" belongs in the top section, before the first [card N]");
            return Fault(line.number, "unknown key \"" + line.key + "\" in [card " +
                                          std::to_string(card_) + "]");
        }
        if (Status s = NoteKey(seen_card_keys_, line); !s) return s;
        Card& card = manifest_.Def.CardDefs[card_];
        if (line.key == "action") {
            if (!ParseActionName(line.value, card.Action))
                return Fault(line.number, "unknown action \"" + line.value + "\"");
            return Status::Ok();
        }
        std::int64_t value = 0;
        if (Status s = ReadInteger(line, kInt16Min, kInt16Max, value); !s) return s;
        *CardField(card, line.key) = static_cast<std::int16_t>(value);
        return Status::Ok();
    }

    Status Finish() const {
        if (Status s = RequireKeys(top_keys_, kRequiredTopKeys); !s) return s;
        if (const auto it = top_keys_.find("sound-size");
            it != top_keys_.end() && !manifest_.SoundFile.empty())
            return Fault(it->second, "sound-size only applies when there is no sound (sound = \"\")");
        return Status::Ok();
    }

    CardManifest manifest_;
    int card_ = -1;  // the [card N] section being read, -1 in the top section
    std::array<int, kCardDefCount> card_lines_{};  // header line of each section seen
    std::map<std::string, int> top_keys_;          // key -> line
    std::map<std::string, int> seen_card_keys_;
};

}  // namespace

Status ParseCardManifest(std::string_view text, CardManifest& out) {
    return ParseCardManifest(text, kCardManifestName, out);
}

Status ParseCardManifest(std::string_view text, std::string_view source, CardManifest& out) {
    std::vector<ManifestLine> lines;
    if (Status s = SplitManifestLinesOf(text, source, lines); !s) return s;
    return CardManifestParser(source).Parse(lines, out);
}

Status ReadCardManifest(const std::filesystem::path& manifest_path, CardManifest& out) {
    std::string text;
    if (Status s = ReadManifestText(manifest_path, text); !s) return s;
    return ParseCardManifest(text, manifest_path.string(), out);
}

}  // namespace kvt::kvx
