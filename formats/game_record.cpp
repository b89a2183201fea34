#include "formats/game_record.h"

#include <charconv>
#include <cstdio>
#include <limits>

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

struct KindName {
    MoveKind kind;
    const char* name;
};
constexpr KindName kKinds[] = {
    {MoveKind::Play, "play"}, {MoveKind::Draw, "draw"}, {MoveKind::Take, "take"},
    {MoveKind::NameGroup, "name-group"}, {MoveKind::Pass, "pass"}, {MoveKind::Acknowledge, "acknowledge"},
};

bool InRange(long value, long low, long high) { return value >= low && value <= high; }

class Reader {
public:
    explicit Reader(GameRecord& out) : out_(out) {}

    Status Line(std::size_t number, std::string_view line) {
        line_ = number;
        std::string_view rest = line;
        const std::string_view key = TakeWord(rest);
        if (key == "card-set") return CardSet(rest);
        if (key == "player") return Player(rest);
        if (key == "seed") return Once(have_seed_, "seed", Number(rest, out_.seed) ? "" : "a seed of 0 to 2^64-1");
        if (key == "move") return MoveLine(rest);
        if (key == "scores") return Scores(rest);
        return Status::Ok();  // a key of a later minor version
    }

    // What the lines before the end left out.
    Status Complete() const {
        if (!have_card_set_) return Missing("card-set");
        for (std::size_t p = 0; p < have_player_.size(); ++p)
            if (!have_player_[p]) return Missing("player " + std::to_string(p + 1));
        if (!have_seed_) return Missing("seed");
        return Status::Ok();
    }

    Status Fault(const std::string& what) const {
        return Status::Fail("line " + std::to_string(line_) + ": " + what);
    }

private:
    static Status Missing(const std::string& key) { return Status::Fail("the record has no \"" + key + "\" line"); }

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

    Status MoveLine(std::string_view rest) {
        if (out_.moves.size() >= kMaxGameRecordMoves)
            return Fault("more than " + std::to_string(kMaxGameRecordMoves) + " moves");
        RecordedMove recorded;
        Move& move = recorded.move;
        const std::string_view kind = TakeWord(rest);
        bool known = false;
        for (const KindName& k : kKinds)
            if (kind == k.name) {
                move.kind = k.kind;
                known = true;
            }
        if (!known) return Fault("no move is called \"" + std::string(kind) + "\"");
        if (!Number(TakeWord(rest), move.seat) || !InRange(move.seat, 1, 4) || !Number(TakeWord(rest), move.slot) ||
            !InRange(move.slot, -1, 400) || !Number(TakeWord(rest), move.from_seat) || !InRange(move.from_seat, 0, 4))
            return Fault("a move wants its seat (1-4), slot (-1-400) and the seat it takes from (0-4)");
        while (!rest.empty()) {
            std::int16_t slot = 0;
            if (!Number(TakeWord(rest), slot) || !InRange(slot, 0, 400) || move.chosen.size() >= kMaxChosenCards)
                return Fault("a chosen card wants a hand slot of 0 to 400, at most " +
                             std::to_string(kMaxChosenCards) + " of them");
            move.chosen.push_back(slot);
        }
        out_.moves.push_back(std::move(recorded));
        return Status::Ok();
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
};

// "1.0" into its two numbers.
bool Version(std::string_view text, int& major, int& minor) {
    const std::size_t dot = text.find('.');
    return dot != std::string_view::npos && Number(text.substr(0, dot), major) && Number(text.substr(dot + 1), minor) &&
           major >= 0 && minor >= 0;
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

const char* MoveKindName(MoveKind kind) {
    for (const KindName& k : kKinds)
        if (k.kind == kind) return k.name;
    return "?";
}

std::string WriteGameRecord(const GameRecord& record) {
    std::string text = std::string(kHeading) + std::to_string(kGameRecordMajor) + "." +
                       std::to_string(kGameRecordMinor) + "\n";
    text += "card-set " + Hex(record.card_set_hash) + " " + Escaped(record.card_set_title) + "\n";
    for (std::size_t p = 0; p < record.players.size(); ++p)
        text += "player " + std::to_string(p + 1) + " " + Hex(record.players[p].file_hash) + " " +
                Escaped(record.players[p].name) + "\n";
    text += "seed " + std::to_string(record.seed) + "\n";
    for (const RecordedMove& recorded : record.moves) {
        const Move& m = recorded.move;
        text += "move " + std::string(MoveKindName(m.kind)) + " " + std::to_string(m.seat) + " " +
                std::to_string(m.slot) + " " + std::to_string(m.from_seat);
        for (const std::int16_t slot : m.chosen) text += " " + std::to_string(slot);
        text += "\n";
        if (const auto& s = recorded.scores)
            text += "scores " + std::to_string((*s)[0]) + " " + std::to_string((*s)[1]) + " " +
                    std::to_string((*s)[2]) + " " + std::to_string((*s)[3]) + "\n";
    }
    // The count and a hash of everything above: a cut or changed record shows.
    text += "end " + std::to_string(record.moves.size()) + " " + Hex(Fnv1a64(text)) + "\n";
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
    if (major != kGameRecordMajor)
        return Status::Fail("line 1: a game record of format " + std::to_string(major) + "." + std::to_string(minor) +
                            "; this version of KVT reads format " + std::to_string(kGameRecordMajor));

    GameRecord read;
    read.minor = minor;
    Reader reader(read);
    std::size_t number = 1;
    for (std::size_t start = first_end; start != std::string_view::npos && start + 1 < text.size();) {
        ++start;
        ++number;
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return Status::Fail("line " + std::to_string(number) + ": the record is cut off");
        const std::string_view line = text.substr(start, end - start);
        if (line.substr(0, 4) == "end ") {
            std::string_view rest = line.substr(4);
            std::size_t moves = 0;
            std::uint64_t hash = 0;
            if (!Number(TakeWord(rest), moves) || !Hash(rest, hash))
                return Status::Fail("line " + std::to_string(number) + ": \"end\" wants the count of moves and a hash");
            if (end + 1 != text.size())
                return Status::Fail("line " + std::to_string(number + 1) + ": text after the end of the record");
            if (hash != Fnv1a64(text.substr(0, start)))
                return Status::Fail("line " + std::to_string(number) + ": the record is damaged (its hash differs)");
            if (moves != read.moves.size())
                return Status::Fail("line " + std::to_string(number) + ": the record says " + std::to_string(moves) +
                                    " moves and holds " + std::to_string(read.moves.size()));
            if (Status s = reader.Complete(); !s) return s;
            record = std::move(read);
            return Status::Ok();
        }
        if (Status s = reader.Line(number, line); !s) return s;
        start = end;
    }
    return Status::Fail("line " + std::to_string(number + 1) + ": the record is cut off (no \"end\" line)");
}

}  // namespace kvt
