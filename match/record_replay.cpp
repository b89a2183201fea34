#include "match/record_replay.h"

#include <optional>
#include <string>

namespace kvt {
namespace {

std::optional<std::array<std::int16_t, 4>> RoundTotals(const Events& events) {
    for (const Event& e : events)
        if (e.kind == EventKind::RoundEnded) return std::array<std::int16_t, 4>{e.scores[1], e.scores[2], e.scores[3], e.scores[4]};
    return std::nullopt;
}

std::string Shown(const std::optional<std::array<std::int16_t, 4>>& scores) {
    if (!scores) return "no round scored";
    std::string text;
    for (const std::int16_t s : *scores) text += (text.empty() ? "" : " ") + std::to_string(s);
    return text;
}

std::string Named(std::size_t index, const Move& move) {
    return "move " + std::to_string(index + 1) + " (" + MoveKindName(move.kind) + ", seat " +
           std::to_string(move.seat) + ")";
}

}  // namespace

void AddToRecord(GameRecord& record, const Move& move, const Events& events) {
    record.moves.push_back({move, RoundTotals(events)});
}

Status ReplayMoves(const GameRecord& record, MatchDriver& driver, const std::function<void(std::size_t)>& played) {
    Events events;
    for (std::size_t i = 0; i < record.moves.size(); ++i) {
        const RecordedMove& recorded = record.moves[i];
        if (driver.Submit(recorded.move, events) != MatchDriver::Step::Applied)
            return Status::Fail(Named(i, recorded.move) + " is refused: " + driver.Refusal().message());
        const auto totals = RoundTotals(events);
        if (totals != recorded.scores)
            return Status::Fail(Named(i, recorded.move) + " scores " + Shown(totals) + "; the record says " +
                                Shown(recorded.scores));
        if (played) played(i + 1);
    }
    return Status::Ok();
}

}  // namespace kvt
