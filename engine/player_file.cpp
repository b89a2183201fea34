#include "engine/player_file.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>

#include "engine/byte_io.h"

namespace kvt {
namespace {

std::string Bytes(std::uint64_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

// Reads the fields of a player file in sequence through ReadAt, checking
// that each is there before asking for it.
class FieldReader {
public:
    FieldReader(std::uint64_t size, const ReadAt& read_at) : size_(size), read_at_(read_at) {}

    std::uint64_t Left() const { return size_ - pos_; }
    void Skip(std::uint64_t n) { pos_ += n; }
    std::uint64_t Offset() const { return pos_; }

    Status Take(std::size_t n, char* out, const std::string& what) {
        if (n > Left())
            return Status::Fail("the file ends where " + what + " should be (offset " +
                                std::to_string(pos_) + ", " + Bytes(Left()) + " left)");
        if (!read_at_(pos_, n, out))
            return Status::Fail("the file cannot be read at offset " + std::to_string(pos_));
        pos_ += n;
        return Status::Ok();
    }

    Status TakeI16(std::int16_t& out, const std::string& what) {
        std::string bytes(2, '\0');
        if (Status s = Take(2, bytes.data(), what); !s) return s;
        ByteReader(bytes).ReadI16(out);
        return Status::Ok();
    }

    Status TakeI32(std::int32_t& out, const std::string& what) {
        std::string bytes(4, '\0');
        if (Status s = Take(4, bytes.data(), what); !s) return s;
        ByteReader(bytes).ReadI32(out);
        return Status::Ok();
    }

    // A text whose length has already been read and checked not to be negative.
    Status TakeText(std::int16_t length, std::string& out, const std::string& what) {
        const auto n = static_cast<std::size_t>(length);
        if (n > Left())
            return Status::Fail(what + " runs past the end of the file (" + Bytes(n) + " announced, " +
                                std::to_string(Left()) + " left)");
        std::string text(n, '\0');
        if (Status s = Take(n, text.data(), what); !s) return s;
        out = std::move(text);
        return Status::Ok();
    }

private:
    std::uint64_t size_;
    std::uint64_t pos_ = 0;
    const ReadAt& read_at_;
};

Status CheckFileSize(std::uint64_t file_size) {
    if (file_size > kMaxPlayerFileBytes)
        return Status::Fail("the file is too large to be a player file (" + Bytes(file_size) +
                            "; at most " + std::to_string(kMaxPlayerFileBytes) + ")");
    return Status::Ok();
}

Status ReadHeader(FieldReader& r, PlayerRec& rec) {
    if (Status s = r.Take(rec.Tag.size(), rec.Tag.data(), "the tag"); !s) return s;
    std::int16_t name_length = 0;
    if (Status s = r.TakeI16(name_length, "the length of the name"); !s) return s;
    if (name_length < 0)
        return Status::Fail("the length of the name is negative (" + std::to_string(name_length) + ")");
    if (Status s = r.TakeText(name_length, rec.Name, "the name"); !s) return s;
    if (Status s = r.TakeI32(rec.PictureSize, "the picture size"); !s) return s;
    const std::pair<std::int16_t*, const char*> fields[] = {
        {&rec.TraitA, "trait A"},         {&rec.TraitB, "trait B"},
        {&rec.TraitC, "trait C"},         {&rec.Reserved1, "the first reserved field"},
        {&rec.TraitD, "trait D"},         {&rec.Reserved2, "the second reserved field"},
        {&rec.SoundChance, "the sound chance"}, {&rec.Reserved3, "the third reserved field"}};
    for (const auto& [field, what] : fields)
        if (Status s = r.TakeI16(*field, what); !s) return s;
    return Status::Ok();
}

// The header, then the picture's place; the reader ends after the picture.
Status ReadHeaderAndPicture(FieldReader& r, PlayerRec& rec, ByteRange& picture) {
    if (Status s = ReadHeader(r, rec); !s) return s;
    if (rec.PictureSize < 0)
        return Status::Fail("the picture size is negative (" + std::to_string(rec.PictureSize) + ")");
    const auto size = static_cast<std::uint64_t>(rec.PictureSize);
    if (size > r.Left())
        return Status::Fail("the picture runs past the end of the file (" + Bytes(size) +
                            " announced, " + std::to_string(r.Left()) + " left)");
    picture = {r.Offset(), size};
    r.Skip(size);
    return Status::Ok();
}

// The fixed part of one sound entry, before anything about it is checked
// beyond what reading it needs.
Status ReadEntryHead(FieldReader& r, PlayerSoundEntry& entry) {
    if (Status s = r.TakeI16(entry.SoundIndex, "its sound index"); !s) return s;
    std::int16_t name_length = 0;
    if (Status s = r.TakeI16(name_length, "the length of its file name"); !s) return s;
    if (name_length < 0)
        return Status::Fail("the length of the file name is negative (" + std::to_string(name_length) +
                            ")");
    if (static_cast<std::size_t>(name_length) > kMaxClipNameLength)
        return Status::Fail("the file name is " + std::to_string(name_length) +
                            " characters long; at most " + std::to_string(kMaxClipNameLength) +
                            " are allowed");
    if (Status s = r.TakeText(name_length, entry.FileName, "the file name"); !s) return s;
    return r.TakeI32(entry.Length, "the clip size");
}

// Everything about one entry that does not depend on reading further.
Status CheckEntry(const PlayerSoundEntry& entry, std::uint64_t left,
                  const std::map<std::string, std::size_t>& earlier) {
    if (entry.SoundIndex < 0 || entry.SoundIndex > kMaxSoundIndex)
        return Status::Fail("the sound index is " + std::to_string(entry.SoundIndex) +
                            "; it must be 0 to " + std::to_string(kMaxSoundIndex));
    if (std::string fault = PlayerClipNameFault(entry.FileName); !fault.empty())
        return Status::Fail(std::move(fault));
    if (const auto it = earlier.find(FoldClipName(entry.FileName)); it != earlier.end())
        return Status::Fail(it->second == 0 ? std::string("the file name is that of the picture")
                                            : "the file name repeats that of sound entry " +
                                                  std::to_string(it->second));
    if (entry.Length < 0)
        return Status::Fail("the clip size is negative (" + std::to_string(entry.Length) + ")");
    if (static_cast<std::uint64_t>(entry.Length) > left)
        return Status::Fail("the clip runs past the end of the file (" +
                            Bytes(static_cast<std::uint64_t>(entry.Length)) + " announced, " +
                            std::to_string(left) + " left)");
    return Status::Ok();
}

}  // namespace

Status DecodePlayerHeader(std::uint64_t file_size, const ReadAt& read_at, PlayerRec& out) {
    if (Status s = CheckFileSize(file_size); !s) return s;
    FieldReader r(file_size, read_at);
    PlayerRec rec;
    ByteRange picture;
    if (Status s = ReadHeaderAndPicture(r, rec, picture); !s) return s;
    out = std::move(rec);
    return Status::Ok();
}

Status DecodePlayerLayout(std::uint64_t file_size, const ReadAt& read_at, PlayerLayout& out) {
    if (Status s = CheckFileSize(file_size); !s) return s;
    FieldReader r(file_size, read_at);
    PlayerLayout layout;
    if (Status s = ReadHeaderAndPicture(r, layout.Header, layout.Picture); !s) return s;

    // Folded name -> number of the entry that has it; 0 is the picture.
    std::map<std::string, std::size_t> names{{FoldClipName(kPlayerPictureName), 0}};
    while (r.Left() > 0) {
        const std::size_t number = layout.Clips.size() + 1;
        const std::string entry_name = "sound entry " + std::to_string(number);
        if (number > kMaxPlayerClips)
            return Status::Fail(entry_name + ": a player file holds at most " +
                                std::to_string(kMaxPlayerClips) + " sound entries");
        PlayerClipLayout clip;
        if (Status s = ReadEntryHead(r, clip.Entry); !s) return Status::Fail(entry_name + ": " + s.message());
        if (Status s = CheckEntry(clip.Entry, r.Left(), names); !s) {
            const std::string& name = clip.Entry.FileName;
            return Status::Fail(entry_name + (name.empty() ? "" : " (" + QuotedClipName(name) + ")") +
                                ": " + s.message());
        }
        names.emplace(FoldClipName(clip.Entry.FileName), number);
        clip.Bytes = {r.Offset(), static_cast<std::uint64_t>(clip.Entry.Length)};
        r.Skip(clip.Bytes.Size);
        layout.Clips.push_back(std::move(clip));
    }
    out = std::move(layout);
    return Status::Ok();
}

Status DecodePlayerFile(std::string_view bytes, PlayerFileContents& out) {
    const ReadAt from_memory = [bytes](std::uint64_t offset, std::size_t n, char* to) {
        if (offset > bytes.size() || n > bytes.size() - offset) return false;
        bytes.copy(to, n, static_cast<std::size_t>(offset));
        return true;
    };
    PlayerLayout layout;
    if (Status s = DecodePlayerLayout(bytes.size(), from_memory, layout); !s) return s;
    const auto view = [bytes](ByteRange range) {
        return std::string(bytes.substr(static_cast<std::size_t>(range.Offset),
                                        static_cast<std::size_t>(range.Size)));
    };
    PlayerFileContents file;
    file.Header = std::move(layout.Header);
    file.Picture = view(layout.Picture);
    for (PlayerClipLayout& clip : layout.Clips)
        file.Clips.push_back({std::move(clip.Entry), view(clip.Bytes)});
    out = std::move(file);
    return Status::Ok();
}

std::string EncodePlayerFile(const PlayerFileContents& file) {
    std::string out;
    std::size_t total = 64 + file.Header.Name.size() + file.Picture.size();
    for (const PlayerClip& clip : file.Clips) total += 16 + clip.Entry.FileName.size() + clip.Bytes.size();
    out.reserve(total);
    ByteWriter w(out);
    const PlayerRec& h = file.Header;
    w.WriteBytes(std::string_view(h.Tag.data(), h.Tag.size()));
    w.WriteI16(static_cast<std::int16_t>(h.Name.size()));
    w.WriteBytes(h.Name);
    w.WriteI32(static_cast<std::int32_t>(file.Picture.size()));
    for (std::int16_t field :
         {h.TraitA, h.TraitB, h.TraitC, h.Reserved1, h.TraitD, h.Reserved2, h.SoundChance, h.Reserved3})
        w.WriteI16(field);
    w.WriteBytes(file.Picture);
    for (const PlayerClip& clip : file.Clips) {
        w.WriteI16(clip.Entry.SoundIndex);
        w.WriteI16(static_cast<std::int16_t>(clip.Entry.FileName.size()));
        w.WriteBytes(clip.Entry.FileName);
        w.WriteI32(static_cast<std::int32_t>(clip.Bytes.size()));
        w.WriteBytes(clip.Bytes);
    }
    return out;
}

std::string PlayerClipNameFault(std::string_view name) {
    if (name.empty()) return "the file name is empty";
    if (name.size() > kMaxClipNameLength)
        return "the file name is " + std::to_string(name.size()) + " characters long; at most " +
               std::to_string(kMaxClipNameLength) + " are allowed";
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return "the file name contains a control character";
    }
    for (const char separator : {'/', '\\', ':'})
        if (name.find(separator) != std::string_view::npos)
            return std::string("the file name contains '") + separator + "'";
    if (name.find("..") != std::string_view::npos) return "the file name contains \"..\"";
    if (name.front() == '.') return "the file name starts with '.'";
    return {};
}

std::string FoldClipName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::string QuotedClipName(std::string_view name) {
    std::string out = "\"";
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(u));
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::vector<std::size_t> ClipWriteOrder(const std::vector<PlayerClipLayout>& clips) {
    std::vector<std::size_t> order(clips.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&clips](std::size_t a, std::size_t b) {
        return clips[a].Entry.FileName.size() < clips[b].Entry.FileName.size();
    });
    return order;
}

}  // namespace kvt
