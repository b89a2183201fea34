#include "core/table_state.h"

#include <limits>
#include <sstream>

namespace kvt {
namespace {

constexpr const char* kHeading = "kvt table state 1";

void WriteCard(std::ostream& out, const Card& c) {
    out << "card " << c.Group << ' ' << c.Value << ' ' << c.ActionCount << ' ' << c.Action << ' ' << c.Reserved1 << ' '
        << c.Reserved2 << ' ' << c.Copies << ' ' << c.PicRow << ' ' << c.PicCol << ' ' << c.Playable << '\n';
}

void WriteStack(std::ostream& out, const std::string& key, const CardStack& stack) {
    out << key << ' ' << stack.Count() << '\n';
    for (const Card& c : stack) WriteCard(out, c);
}

// Reads the text line by line; the first fault is kept and named by its line.
class Reader {
public:
    explicit Reader(const std::string& text) : in_(text) {}

    // The next line must start with `key`; its remaining words are read next.
    bool Line(const std::string& key) {
        if (!error_.empty()) return false;
        std::string line;
        ++line_no_;
        if (!std::getline(in_, line)) return Fail("missing \"" + key + "\"");
        key_ = key;
        words_.clear();
        words_.str(line);
        std::string word;
        if (!(words_ >> word) || word != key) return Fail("\"" + key + "\" expected");
        return true;
    }

    // Whether the next line starts with `key`, reading nothing.
    bool NextIs(const std::string& key) {
        if (!error_.empty()) return false;
        const std::streampos at = in_.tellg();
        std::string word;
        const bool found = static_cast<bool>(in_ >> word) && word == key;
        in_.clear();
        in_.seekg(at);
        return found;
    }

    bool Heading(const std::string& heading) {
        std::string line;
        ++line_no_;
        if (!std::getline(in_, line) || line != heading) return Fail("\"" + heading + "\" expected");
        return true;
    }

    template <typename T>
    bool Number(T& out, long long low = std::numeric_limits<T>::min(), long long high = std::numeric_limits<T>::max()) {
        if (!error_.empty()) return false;
        long long v = 0;
        if (!(words_ >> v) || v < low || v > high) return Fail("\"" + key_ + "\" wants a number from " + std::to_string(low) + " to " +
                                                               std::to_string(high) + " expected");
        out = static_cast<T>(v);
        return true;
    }

    bool Flag(bool& out) {
        int v = 0;
        if (!Number(v, 0, 1)) return false;
        out = v != 0;
        return true;
    }

    bool End() {
        std::string extra;
        if (error_.empty() && (words_ >> extra)) return Fail("unexpected \"" + extra + "\"");
        return error_.empty();
    }

    bool Stack(const std::string& key, CardStack& stack) {
        int count = 0;
        if (!Line(key) || !Number(count, 0, CardStack::Capacity) || !End()) return false;
        stack.Clear();
        for (int i = 0; i < count; ++i) {
            Card c;
            if (!Line(kCardKey)) return false;
            for (std::int16_t* field : {&c.Group, &c.Value, &c.ActionCount, &c.Action, &c.Reserved1, &c.Reserved2,
                                        &c.Copies, &c.PicRow, &c.PicCol, &c.Playable})
                if (!Number(*field)) return false;
            if (!End()) return false;
            stack.Push(c);
        }
        return true;
    }

    bool Generator(Random& random) {
        if (!Line("random")) return false;
        if (!(words_ >> random)) return Fail("the generator's state is incomplete");
        return End();
    }

    bool AtEnd() {
        std::string rest;
        while (error_.empty() && std::getline(in_, rest)) {
            ++line_no_;
            if (rest.find_first_not_of(" \t\r") != std::string::npos) return Fail("unexpected text after the state");
        }
        return error_.empty();
    }

    const std::string& Error() const { return error_; }

    static constexpr const char* kCardKey = "card";

private:
    bool Fail(const std::string& what) {
        if (error_.empty()) error_ = "line " + std::to_string(line_no_) + ": " + what;
        return false;
    }

    std::istringstream in_;
    std::istringstream words_;
    std::string error_;
    std::string key_;
    int line_no_ = 0;
};

}  // namespace

std::string WriteTableState(const TableState& s) {
    std::ostringstream out;
    out << kHeading << '\n';
    out << "turn " << s.CurPlayer << '\n';
    out << "start " << s.StartPlayer << '\n';
    out << "reversed " << s.PlayReversed << '\n';
    out << "round " << s.RoundNum << '\n';
    out << "wild-group " << s.WildGroup << '\n';
    out << "last-mover " << s.LastMover << '\n';
    out << "choosing " << s.ChoosingCards << ' ' << s.ChooseFromPlayer << ' ' << s.ChooseTotal << ' '
        << s.ChooseDone << '\n';
    out << "naming-group " << s.NamingGroup << '\n';
    out << "round-ended " << s.RoundEnded << '\n';
    out << "winner " << s.Winner << '\n';
    out << "next-deal " << static_cast<int>(s.NextDealRule) << '\n';
    out << "passes " << s.PassesInRow << '\n';
    out << "no-progress " << s.TurnsWithoutProgress << '\n';
    out << "smallest-hands";
    for (int p = 1; p <= 4; ++p) out << ' ' << s.SmallestHands[p];
    out << '\n';
    out << "scores";
    for (int p = 1; p <= 4; ++p) out << ' ' << s.Scores[p];
    out << '\n';
    // Only a sheet with rows has the line, so a table's text from before the
    // sheet was kept here reads the same and still reads back.
    if (s.SheetRows.count > 0) {
        out << "sheet " << s.SheetRows.count;
        for (int row = 0; row < s.SheetRows.count; ++row)
            for (const std::int16_t total : s.SheetRows.totals[static_cast<std::size_t>(row)]) out << ' ' << total;
        out << '\n';
    }
    WriteStack(out, "deck", s.DrawDeck);
    WriteStack(out, "pile", s.DiscardPile);
    for (int p = 1; p <= 4; ++p) WriteStack(out, "hand" + std::to_string(p), s.Players[p]);
    out << "random " << s.Generator << '\n';
    return out.str();
}

Status ReadTableState(const std::string& text, TableState& state) {
    TableState s;
    Reader r(text);
    int rule = 0;
    bool ok = r.Heading(kHeading);
    ok = ok && r.Line("turn") && r.Number(s.CurPlayer, 1, 4) && r.End();
    ok = ok && r.Line("start") && r.Number(s.StartPlayer, 0, 4) && r.End();
    ok = ok && r.Line("reversed") && r.Number(s.PlayReversed, 0, 1) && r.End();
    // The round is the score sheet's row: the rules count it from 0 to the sheet's last.
    ok = ok && r.Line("round") && r.Number(s.RoundNum, 0, ScoreRows::kMax) && r.End();
    ok = ok && r.Line("wild-group") && r.Number(s.WildGroup) && r.End();
    ok = ok && r.Line("last-mover") && r.Number(s.LastMover, 0, 4) && r.End();
    ok = ok && r.Line("choosing") && r.Flag(s.ChoosingCards) && r.Number(s.ChooseFromPlayer, 0, 4) &&
         r.Number(s.ChooseTotal) && r.Number(s.ChooseDone) && r.End();
    ok = ok && r.Line("naming-group") && r.Flag(s.NamingGroup) && r.End();
    ok = ok && r.Line("round-ended") && r.Flag(s.RoundEnded) && r.End();
    ok = ok && r.Line("winner") && r.Number(s.Winner, 0, 4) && r.End();
    ok = ok && r.Line("next-deal") && r.Number(rule, 0, 2) && r.End();
    ok = ok && r.Line("passes") && r.Number(s.PassesInRow) && r.End();
    ok = ok && r.Line("no-progress") && r.Number(s.TurnsWithoutProgress) && r.End();
    ok = ok && r.Line("smallest-hands");
    for (int p = 1; p <= 4; ++p) ok = ok && r.Number(s.SmallestHands[p]);
    ok = ok && r.End() && r.Line("scores");
    for (int p = 1; p <= 4; ++p) ok = ok && r.Number(s.Scores[p]);
    ok = ok && r.End();
    if (ok && r.NextIs("sheet")) {
        ok = r.Line("sheet") && r.Number(s.SheetRows.count, 1, ScoreRows::kMax);
        for (int row = 0; ok && row < s.SheetRows.count; ++row)
            for (std::int16_t& total : s.SheetRows.totals[static_cast<std::size_t>(row)]) ok = ok && r.Number(total);
        ok = ok && r.End();
    }
    ok = ok && r.Stack("deck", s.DrawDeck) && r.Stack("pile", s.DiscardPile);
    for (int p = 1; p <= 4; ++p) ok = ok && r.Stack("hand" + std::to_string(p), s.Players[p]);
    ok = ok && r.Generator(s.Generator) && r.AtEnd();
    if (!ok) return Status::Fail("Cannot read the table state: " + r.Error());
    s.NextDealRule = static_cast<FirstDiscardRule>(rule);
    state = s;
    return Status::Ok();
}

}  // namespace kvt
