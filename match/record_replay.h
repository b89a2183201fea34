#pragma once

#include <cstddef>
#include <functional>

#include "core/event.h"
#include "core/status.h"
#include "formats/game_record.h"
#include "match/match_driver.h"

namespace kvt {

// Adds an applied move to `record`, with the totals when its events scored a round.
void AddToRecord(GameRecord& record, const Move& move, const Events& events);

// Plays the record's moves, in order, through `driver` on a table dealt
// from the record's seed, and checks the totals at every round's end. The
// message names the first move that is refused or whose totals differ.
// `played` hears the number of moves played after each one.
Status ReplayMoves(const GameRecord& record, MatchDriver& driver,
                   const std::function<void(std::size_t played)>& played = nullptr);

}  // namespace kvt
