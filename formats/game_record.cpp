#include "formats/game_record.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

#include "formats/text_fields.h"

namespace kvt {
namespace {

using text_fields::Escaped;
using text_fields::Hash;
using text_fields::Hex;
using text_fields::Number;
using text_fields::TakeWord;

// Names and titles no longer than any player file could hold.
bool Unescaped(std::string_view text, std::string& out) {
    return text_fields::Unescaped(text, out, kMaxGameRecordName);
}

constexpr std::string_view kHeading = "KVT game record ";
constexpr int kOldestMajor = 1;  // sealed with Fnv1a64 instead of GameRecordHash64

// The shortest move line, "move pass 1 0 0\n": no text holds more moves than its bytes over this.
constexpr std::size_t kShortestMoveLine = 16;

struct KindName {
    MoveKind kind;
    std::string_view name;
};
constexpr KindName kKinds[] = {
    {MoveKind::Play, "play"}, {MoveKind::Draw, "draw"}, {MoveKind::Take, "take"},
    {MoveKind::NameGroup, "name-group"}, {MoveKind::Pass, "pass"}, {MoveKind::Acknowledge, "acknowledge"},
    {MoveKind::ViewScore, "view-score"},
};

bool InRange(long value, long low, long high) { return value >= low && value <= high; }

std::string AtLine(std::size_t number, const std::string& what) { return "line " + std::to_string(number) + ": " + what; }

// A field of a line whose end is known to be a line feed: a number up to the
// next blank, which it steps over, or up to the line feed, where it stays.
// Accepts what text_fields::Number takes of text_fields::TakeWord's word:
// an optional minus and decimal digits, within the range of an int16_t.
[[gnu::always_inline]] inline bool TakeNumber(const char*& at, std::int16_t& out) {
    const char* p = at;
    const bool negative = *p == '-';
    p += negative;
    const char* const digits = p;
    std::int32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = std::min(value * 10 + (*p - '0'), 1 << 16);  // saturates
    if (p == digits || (*p != ' ' && *p != '\n')) return false;
    value = negative ? -value : value;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return false;
    out = static_cast<std::int16_t>(value);
    at = *p == ' ' ? p + 1 : p;
    return true;
}

// `word` is the `N - 1` letters of `name`, compared as a whole at once.
template <std::size_t N>
bool Is(std::string_view word, const char (&name)[N]) {
    return word.size() == N - 1 && std::memcmp(word.data(), name, N - 1) == 0;
}

// The kind a move line names; nullopt for none. Length and first letter
// rule out all names but at most one before any comparison of the bytes.
std::optional<MoveKind> KindCalled(std::string_view word) {
    for (const KindName& k : kKinds)
        if (word.size() == k.name.size() && word.front() == k.name.front() && word == k.name) return k.kind;
    return std::nullopt;
}

class Reader {
public:
    Reader(GameRecord& out, int major) : out_(out), major_(major) {}

    Status Line(std::size_t number, std::string_view line) {
        line_ = number;
        std::string_view rest = line;
        const std::string_view key = TakeWord(rest);
        if (key == "card-set") return CardSet(rest);
        if (key == "player") return Player(rest);
        if (key == "seed") return Once(have_seed_, "seed", Number(rest, out_.seed) ? "" : "a seed of 0 to 2^64-1");
        if (key == "scores") return Scores(rest);
        if (key == "move") return Fault("no move is called \"\"");  // "move" alone: the others go to MoveLine
        if (major_ < 3) return Status::Ok();  // the keys below came with format 3
        if (key == "table") return TableLine(rest, out_.start_table);
        if (key == "last-table") return TableLine(rest, out_.end_table);
        if (key == "human") {
            int seat = 0;
            const bool good = Number(rest, seat) && seat == 1;  // the only seat a person plays
            if (good) out_.human_seat = seat;
            return Once(have_human_, "human", good ? "" : "seat 1");
        }
        return Status::Ok();  // a key of a later minor version
    }

    // The line after "move " at `at`, which ends in a line feed: where that
    // line feed is, or nullptr with the fault in `fault`. The commonest line
    // by far, so it is read in place.
    const char* MoveLine(std::size_t number, const char* at, std::string& fault) {
        line_ = number;
        if (out_.moves.size() >= kMaxGameRecordMoves)
            return Refuse(fault, "more than " + std::to_string(kMaxGameRecordMoves) + " moves");
        const char* kind_end = at;
        while (*kind_end != ' ' && *kind_end != '\n') ++kind_end;
        const std::string_view kind(at, static_cast<std::size_t>(kind_end - at));
        const std::optional<MoveKind> known = KindCalled(kind);
        if (!known || (*known == MoveKind::ViewScore && major_ < 3))
            return Refuse(fault, "no move is called \"" + std::string(kind) + "\"");
        at = *kind_end == ' ' ? kind_end + 1 : kind_end;

        Move& move = out_.moves.emplace_back().move;
        move.kind = *known;
        if (!TakeNumber(at, move.seat) || !InRange(move.seat, 1, 4) || !TakeNumber(at, move.slot) ||
            !InRange(move.slot, -1, 400) || !TakeNumber(at, move.from_seat) ||
            !InRange(move.from_seat, move.kind == MoveKind::Play && major_ >= 3 ? -1 : 0, 4))
            return Refuse(fault, "a move wants its seat (1-4), slot (-1-400) and the seat it takes from (0-4)");
        // A play from -1: the card just drawn.
        if (move.from_seat < 0) {
            move.drawn = true;
            move.from_seat = 0;
        }
        while (*at != '\n') {
            std::int16_t slot = 0;
            if (!TakeNumber(at, slot) || !InRange(slot, 0, 400) || move.chosen.size() >= kMaxChosenCards)
                return Refuse(fault, "a chosen card wants a hand slot of 0 to 400, at most " +
                                         std::to_string(kMaxChosenCards) + " of them");
            move.chosen.push_back(slot);
        }
        return at;
    }

    // What the lines before the end left out.
    Status Complete() const {
        if (!have_card_set_) return Missing("card-set");
        for (std::size_t p = 0; p < have_player_.size(); ++p)
            if (!have_player_[p]) return Missing("player " + std::to_string(p + 1));
        if (!have_seed_ && out_.start_table.empty()) return Missing("seed");
        return Status::Ok();
    }

    Status Fault(const std::string& what) const { return Status::Fail(AtLine(line_, what)); }

private:
    static Status Missing(const std::string& key) { return Status::Fail("the record has no \"" + key + "\" line"); }

    const char* Refuse(std::string& fault, const std::string& what) const {
        fault = AtLine(line_, what);
        return nullptr;
    }

    Status Once(bool& seen, const char* key, const std::string& wanted) {
        if (!wanted.empty()) return Fault("\"" + std::string(key) + "\" wants " + wanted);
        if (seen) return Fault("a second \"" + std::string(key) + "\" line");
        seen = true;
        return Status::Ok();
    }

    Status CardSet(std::string_view rest) {
        const bool good = Hash(TakeWord(rest), out_.card_set_hash) && Unescaped(rest, out_.card_set_title);
        return Once(have_card_set_, "card-set", good ? "" : "a 16-digit hex hash and a title");
    }

    Status Player(std::string_view rest) {
        int seat = 0;
        if (!Number(TakeWord(rest), seat) || !InRange(seat, 1, 4)) return Fault("\"player\" wants a seat of 1 to 4");
        RecordedPlayer& player = out_.players[static_cast<std::size_t>(seat - 1)];
        const bool good = Hash(TakeWord(rest), player.file_hash) && Unescaped(rest, player.name);
        const std::string key = "player " + std::to_string(seat);
        return Once(have_player_[static_cast<std::size_t>(seat - 1)], key.c_str(),
                    good ? "" : "a 16-digit hex hash and a name");
    }

    Status Scores(std::string_view rest) {
        if (out_.moves.empty() || out_.moves.back().scores) return Fault("scores that follow no move");
        std::array<std::int16_t, 4> scores{};
        for (std::int16_t& score : scores)
            if (!Number(TakeWord(rest), score)) return Fault("\"scores\" wants four whole numbers");
        if (!rest.empty()) return Fault("\"scores\" wants four whole numbers");
        out_.moves.back().scores = scores;
        return Status::Ok();
    }

    GameRecord& out_;
    std::size_t line_ = 0;
    bool have_card_set_ = false;
    std::array<bool, 4> have_player_{};
    bool have_seed_ = false;
    bool have_human_ = false;
    int major_ = 0;

    // One line of a table's text form, in order.
    Status TableLine(std::string_view rest, std::string& table) {
        if (table.size() + rest.size() + 1 > kMaxTableBytes)
            return Fault("a table is longer than " + std::to_string(kMaxTableBytes) + " bytes");
        table.append(rest);
        table += '\n';
        return Status::Ok();
    }
};

// "1.0" into its two numbers.
bool Version(std::string_view text, int& major, int& minor) {
    const std::size_t dot = text.find('.');
    return dot != std::string_view::npos && Number(text.substr(0, dot), major) && Number(text.substr(dot + 1), minor) &&
           major >= 0 && minor >= 0;
}

// The count of moves the end line of `text` gives, if it has one, bounded by
// what the text can hold: room to make once for the moves. Whether the count
// is right is judged when the end line is read.
std::size_t MovesAnnounced(std::string_view text) {
    if (text.size() < 2 || text.back() != '\n') return 0;
    const std::size_t from = text.rfind('\n', text.size() - 2) + 1;  // npos + 1: the whole text
    std::string_view rest = text.substr(from, text.size() - 1 - from);
    std::size_t moves = 0;
    if (TakeWord(rest) != "end" || !Number(TakeWord(rest), moves)) return 0;
    return std::min({moves, kMaxGameRecordMoves, text.size() / kShortestMoveLine});
}

template <typename T>
void Append(std::string& text, T number) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, end);
}

std::uint64_t LittleEndianWord(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

}  // namespace

std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// As docs/file-formats.md gives it. Four lanes, so that the multiplications
// of neighbouring words overlap; each step is one-to-one in both the lane and
// the word, so a change within one 8-byte word always changes the hash.
std::uint64_t GameRecordHash64(std::string_view bytes) {
    constexpr std::uint64_t kLaneStart = 0x9e3779b97f4a7c15ull;
    constexpr std::uint64_t kWordFactor = 0xff51afd7ed558ccdull;
    constexpr std::uint64_t kJoinFactor = 0xc4ceb9fe1a85ec53ull;
    const auto step = [](std::uint64_t lane, std::uint64_t word) {
        lane = (lane ^ word) * kWordFactor;
        return lane ^ (lane >> 32);
    };
    std::uint64_t lanes[4] = {kLaneStart, 2 * kLaneStart, 3 * kLaneStart, 4 * kLaneStart};
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    for (; size - at >= 32; at += 32)
        for (std::size_t lane = 0; lane < 4; ++lane) lanes[lane] = step(lanes[lane], LittleEndianWord(data + at + 8 * lane));
    for (std::size_t lane = 0; at < size; at += 8, ++lane) {
        char tail[8] = {};
        std::memcpy(tail, data + at, std::min<std::size_t>(8, size - at));
        lanes[lane] = step(lanes[lane], LittleEndianWord(tail));
    }
    std::uint64_t hash = size;
    for (const std::uint64_t lane : lanes) {
        hash = (hash ^ lane) * kJoinFactor;
        hash ^= hash >> 29;
    }
    return hash;
}

const char* MoveKindName(MoveKind kind) {
    for (const KindName& k : kKinds)
        if (k.kind == kind) return k.name.data();
    return "?";
}

namespace {

// A table's text form, a line of the record for each of its lines (none of them empty).
void AppendTable(std::string& text, const char* key, const std::string& table) {
    for (std::size_t at = 0; at < table.size();) {
        const std::size_t end = std::min(table.find('\n', at), table.size());
        text += key;
        text.append(table, at, end - at);
        text += '\n';
        at = end + 1;
    }
}

}  // namespace

std::string WriteGameRecord(const GameRecord& record) {
    std::string text = std::string(kHeading);
    // A record that needs what only format 3 says is written as 3; any other as 2, which older readers take.
    const bool third = !record.start_table.empty() || !record.end_table.empty() || record.human_seat != 0;
    Append(text, third ? kGameRecordMajor : 2);
    text += '.';
    Append(text, kGameRecordMinor);
    text += "\ncard-set " + Hex(record.card_set_hash) + " " + Escaped(record.card_set_title) + "\n";
    for (std::size_t p = 0; p < record.players.size(); ++p)
        text += "player " + std::to_string(p + 1) + " " + Hex(record.players[p].file_hash) + " " +
                Escaped(record.players[p].name) + "\n";
    if (record.human_seat != 0) {
        text += "human ";
        Append(text, record.human_seat);
        text += '\n';
    }
    if (record.start_table.empty()) {
        text += "seed ";
        Append(text, record.seed);
        text += '\n';
    }
    AppendTable(text, "table ", record.start_table);
    AppendTable(text, "last-table ", record.end_table);
    for (const RecordedMove& recorded : record.moves) {
        const Move& m = recorded.move;
        text += "move ";
        text += MoveKindName(m.kind);
        for (const std::int16_t field : {m.seat, m.slot, m.drawn ? std::int16_t{-1} : m.from_seat}) {
            text += ' ';
            Append(text, field);
        }
        for (const std::int16_t slot : m.chosen) {
            text += ' ';
            Append(text, slot);
        }
        text += '\n';
        if (const auto& scores = recorded.scores) {
            text += "scores";
            for (const std::int16_t score : *scores) {
                text += ' ';
                Append(text, score);
            }
            text += '\n';
        }
    }
    // The count and a hash of everything above: a cut or changed record shows.
    const std::string seal = Hex(GameRecordHash64(text));
    text += "end ";
    Append(text, record.moves.size());
    text += " " + seal + "\n";
    return text;
}

Status ReadGameRecord(std::string_view text, GameRecord& record) {
    if (text.size() > kMaxGameRecordBytes)
        return Status::Fail("the record is larger than " + std::to_string(kMaxGameRecordBytes >> 20) + " MiB");
    const std::size_t first_end = text.find('\n');
    const std::string_view heading = text.substr(0, first_end);
    int major = 0, minor = 0;
    if (heading.substr(0, kHeading.size()) != kHeading || !Version(heading.substr(kHeading.size()), major, minor))
        return Status::Fail("line 1: not a KVT game record");
    if (major < kOldestMajor || major > kGameRecordMajor)
        return Status::Fail("line 1: a game record of format " + std::to_string(major) + "." + std::to_string(minor) +
                            "; this version of KVT reads formats " + std::to_string(kOldestMajor) + " to " +
                            std::to_string(kGameRecordMajor));
    if (first_end == std::string_view::npos) return Status::Fail("line 2: the record is cut off (no \"end\" line)");

    GameRecord read;
    read.minor = minor;
    read.moves.reserve(MovesAnnounced(text));
    Reader reader(read, major);
    // Every line that starts before `whole` ends in a line feed inside it.
    const std::size_t whole = text.rfind('\n') + 1;
    std::string fault;
    std::size_t number = 1;
    for (std::size_t start = first_end + 1; start < text.size();) {
        ++number;
        if (start >= whole) return Status::Fail(AtLine(number, "the record is cut off"));
        const std::string_view from_here = text.substr(start, whole - start);
        if (Is(from_here.substr(0, 5), "move ")) {
            const char* end = reader.MoveLine(number, from_here.data() + 5, fault);
            if (!end) return Status::Fail(fault);
            start = static_cast<std::size_t>(end - text.data()) + 1;
            continue;
        }
        const std::size_t end = from_here.find('\n') + start;
        const std::string_view line = text.substr(start, end - start);
        if (line.starts_with("end ")) {
            std::string_view rest = line.substr(4);
            std::size_t moves = 0;
            std::uint64_t hash = 0;
            if (!Number(TakeWord(rest), moves) || !Hash(rest, hash))
                return Status::Fail(AtLine(number, "\"end\" wants the count of moves and a hash"));
            if (end + 1 != text.size()) return Status::Fail(AtLine(number + 1, "text after the end of the record"));
            const std::string_view sealed = text.substr(0, start);
            if (hash != (major == kOldestMajor ? Fnv1a64(sealed) : GameRecordHash64(sealed)))
                return Status::Fail(AtLine(number, "the record is damaged (its hash differs)"));
            if (moves != read.moves.size())
                return Status::Fail(AtLine(number, "the record says " + std::to_string(moves) + " moves and holds " +
                                                       std::to_string(read.moves.size())));
            if (Status s = reader.Complete(); !s) return s;
            record = std::move(read);
            return Status::Ok();
        }
        if (Status s = reader.Line(number, line); !s) return s;
        start = end + 1;
    }
    return Status::Fail(AtLine(number + 1, "the record is cut off (no \"end\" line)"));
}

}  // namespace kvt
