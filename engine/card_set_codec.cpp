#include "engine/card_set_codec.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/byte_io.h"
#include "core/card_stack.h"

namespace kvt {
namespace {

void WriteCard(ByteWriter& w, const Card& c) {
    for (std::int16_t field : {c.Group, c.Value, c.ActionCount, c.Action, c.Reserved1, c.Reserved2,
                               c.Copies, c.PicRow, c.PicCol, c.Playable})
        w.WriteI16(field);
}

bool ReadCard(ByteReader& r, Card& c) {
    for (std::int16_t* field : {&c.Group, &c.Value, &c.ActionCount, &c.Action, &c.Reserved1,
                                &c.Reserved2, &c.Copies, &c.PicRow, &c.PicCol, &c.Playable})
        if (!r.ReadI16(*field)) return false;
    return true;
}

void WriteCountedText(ByteWriter& w, const std::string& text) {
    w.WriteI16(static_cast<std::int16_t>(text.size()));
    w.WriteBytes(text);
}

Status ReadCountedText(ByteReader& r, const char* what, std::string& out) {
    const std::size_t at = r.Offset();
    std::int16_t length = 0;
    if (!r.ReadI16(length))
        return Status::Fail(std::string("the file ends where the length of ") + what +
                            " should be (offset " + std::to_string(at) + ")");
    if (length < 0)
        return Status::Fail(std::string("the length of ") + what + " is negative (" +
                            std::to_string(length) + ")");
    if (!r.ReadBytes(static_cast<std::size_t>(length), out))
        return Status::Fail(std::string("the text of ") + what + " runs past the end of the file (" +
                            std::to_string(length) + " bytes announced, " +
                            std::to_string(r.Remaining()) + " left)");
    return Status::Ok();
}

Status ReadDef(ByteReader& r, CardSetDef& def) {
    if (!r.ReadI16(def.Header)) return Status::Fail("the file is too short to hold a card set");
    for (int d = 0; d < kCardDefCount; ++d)
        if (!ReadCard(r, def.CardDefs[d]))
            return Status::Fail("the file ends inside card definition " + std::to_string(d));
    if (Status s = ReadCountedText(r, "the first carried text", def.Text1); !s) return s;
    if (Status s = ReadCountedText(r, "the second carried text", def.Text2); !s) return s;
    if (Status s = ReadCountedText(r, "the author's name", def.AuthorName); !s) return s;
    if (!r.ReadBytes(kTitleLength, def.GameTitle))
        return Status::Fail("the file ends inside the game title");
    return Status::Ok();
}

Status CheckTextFits(const std::string& text, const char* what) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        return Status::Fail(std::string(what) + " is longer than 32767 characters");
    return Status::Ok();
}

}  // namespace

std::string EncodeCardSetDef(const CardSetDef& def) {
    std::string out;
    ByteWriter w(out);
    w.WriteI16(def.Header);
    for (const Card& c : def.CardDefs) WriteCard(w, c);
    WriteCountedText(w, def.Text1);
    WriteCountedText(w, def.Text2);
    WriteCountedText(w, def.AuthorName);
    w.WriteBytes(FitTitle(def.GameTitle));
    return out;
}

Status DecodeCardSetDef(std::string_view bytes, CardSetDef& out) {
    ByteReader r(bytes);
    CardSetDef def;
    if (Status s = ReadDef(r, def); !s) return s;
    if (r.Remaining() != 0)
        return Status::Fail(std::to_string(r.Remaining()) + " unexpected bytes follow the game title");
    if (Status s = ValidateCardSetDef(def); !s) return s;
    out = std::move(def);
    return Status::Ok();
}

std::string EncodeCardSetFile(const CardSetFile& file) {
    std::string out;
    out.reserve(1700 + file.Bitmap.size() + file.Sound.size() + file.Background.size());
    ByteWriter w(out);
    // Bytes 2-3 of the tag are the definition's Header, so they come from there.
    w.WriteBytes(std::string_view(file.Tag.data(), 2));
    out += EncodeCardSetDef(file.Def);
    w.WriteI32(static_cast<std::int32_t>(file.Bitmap.size()));
    w.WriteBytes(file.Bitmap);
    w.WriteI32(file.HasSound() ? static_cast<std::int32_t>(file.Sound.size()) : file.SoundSize);
    if (file.HasSound()) w.WriteBytes(file.Sound);
    w.WriteI32(static_cast<std::int32_t>(file.Background.size()));
    w.WriteBytes(file.Background);
    return out;
}

Status DecodeCardSetLayout(std::uint64_t file_size, const ReadAt& read_at, CardSetLayout& out) {
    if (file_size > kMaxCardSetFileBytes)
        return Status::Fail("the file is too large to be a card set (" + std::to_string(file_size) +
                            " bytes)");
    // The tag, the definition and its texts all lie in the head of the file.
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(file_size, kMaxHeadBytes)), '\0');
    if (!read_at(0, head.size(), head.data())) return Status::Fail("the file cannot be read");
    ByteReader r(head);
    CardSetLayout layout;
    std::string_view tag;
    if (!r.ReadBytes(2, tag)) return Status::Fail("the file is too short to hold a card set");
    if (Status s = ReadDef(r, layout.Def); !s) return s;
    layout.Tag = {tag[0], tag[1], static_cast<char>(static_cast<std::uint16_t>(layout.Def.Header) & 0xFF),
                  static_cast<char>(static_cast<std::uint16_t>(layout.Def.Header) >> 8)};

    std::uint64_t pos = r.Offset();
    const auto read_size = [&](const char* what, std::int32_t& size) {
        std::string bytes(4, '\0');
        if (pos + 4 > file_size || !read_at(pos, 4, bytes.data()))
            return Status::Fail(std::string("the file ends where the size of ") + what + " should be");
        ByteReader(bytes).ReadI32(size);
        pos += 4;
        if (size < 0)
            return Status::Fail(std::string("the size of ") + what + " is negative (" +
                                std::to_string(size) + ")");
        return Status::Ok();
    };
    const auto take = [&](const char* what, std::int32_t size, ByteRange& range) {
        const std::uint64_t left = file_size - pos;
        if (static_cast<std::uint64_t>(size) > left)
            return Status::Fail(std::string(what) + " runs past the end of the file (" +
                                std::to_string(size) + " bytes announced, " + std::to_string(left) +
                                " left)");
        range = {pos, static_cast<std::uint64_t>(size)};
        pos += range.Size;
        return Status::Ok();
    };

    std::int32_t size = 0;
    if (Status s = read_size("the card bitmap", size); !s) return s;
    if (Status s = take("the card bitmap", size, layout.Bitmap); !s) return s;
    if (layout.Bitmap.Size == 0) return Status::Fail("the card bitmap is empty");
    if (Status s = read_size("the opening sound", layout.SoundSize); !s) return s;
    if (layout.SoundSize > 1)
        if (Status s = take("the opening sound", layout.SoundSize, layout.Sound); !s) return s;
    if (Status s = read_size("the table background", size); !s) return s;
    if (Status s = take("the table background", size, layout.Background); !s) return s;
    if (pos != file_size)
        return Status::Fail(std::to_string(file_size - pos) +
                            " unexpected bytes follow the table background");
    if (Status s = ValidateCardSetDef(layout.Def); !s) return s;
    out = std::move(layout);
    return Status::Ok();
}

Status DecodeCardSetImage(std::string_view bytes, CardSetImage& out) {
    CardSetLayout layout;
    const ReadAt from_memory = [bytes](std::uint64_t offset, std::size_t n, char* to) {
        if (offset > bytes.size() || n > bytes.size() - offset) return false;
        bytes.copy(to, n, static_cast<std::size_t>(offset));
        return true;
    };
    if (Status s = DecodeCardSetLayout(bytes.size(), from_memory, layout); !s) return s;
    const auto view = [bytes](ByteRange range) {
        return bytes.substr(static_cast<std::size_t>(range.Offset), static_cast<std::size_t>(range.Size));
    };
    out.Tag = layout.Tag;
    out.Def = std::move(layout.Def);
    out.Bitmap = view(layout.Bitmap);
    out.SoundSize = layout.SoundSize;
    out.Sound = view(layout.Sound);
    out.Background = view(layout.Background);
    return Status::Ok();
}

Status DecodeCardSetFile(std::string_view bytes, CardSetFile& out) {
    CardSetImage image;
    if (Status s = DecodeCardSetImage(bytes, image); !s) return s;
    out.Tag = image.Tag;
    out.Def = std::move(image.Def);
    out.Bitmap.assign(image.Bitmap);
    out.SoundSize = image.SoundSize;
    out.Sound.assign(image.Sound);
    out.Background.assign(image.Background);
    return Status::Ok();
}

std::vector<CardSetProblem> ListCardSetProblems(const CardSetDef& def) {
    std::vector<CardSetProblem> problems;
    const auto add = [&problems](int definition, std::string message) {
        problems.push_back({definition, std::move(message)});
    };
    for (auto [text, what] : {std::pair{&def.Text1, "the first carried text"},
                              std::pair{&def.Text2, "the second carried text"},
                              std::pair{&def.AuthorName, "the author's name"}})
        if (Status s = CheckTextFits(*text, what); !s) add(-1, s.message());
    for (int d = 0; d < kCardDefCount; ++d) {
        const Card& c = def.CardDefs[d];
        const bool pictured = IsDealt(c) || c.Action == kActionCardBack ||
                              c.Action == kActionBackgroundCell;
        if (pictured && (c.PicRow < 0 || c.PicCol < 0))
            add(d, "card definition " + std::to_string(d) +
                       " has a negative picture position (row " + std::to_string(c.PicRow) +
                       ", column " + std::to_string(c.PicCol) + ")");
    }
    const int deck = DeckSize(def);
    if (deck > CardStack::Capacity)
        add(-1, "the definitions make a deck of " + std::to_string(deck) +
                    " cards; a deck holds at most " + std::to_string(CardStack::Capacity));
    if (deck < kMinDeckSize)
        add(-1, "the definitions make a deck of only " + std::to_string(deck) +
                    " cards; dealing needs at least " + std::to_string(kMinDeckSize));
    return problems;
}

Status ValidateCardSetDef(const CardSetDef& def) {
    const std::vector<CardSetProblem> problems = ListCardSetProblems(def);
    return problems.empty() ? Status::Ok() : Status::Fail(problems.front().message);
}

}  // namespace kvt
