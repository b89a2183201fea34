#include "engine/computer_seat.h"

#include "engine/game.h"

namespace kvt {

std::optional<Move> ComputerSeat::ChooseMove(const SeatView& view) {
    Move move;
    move.seat = static_cast<std::int16_t>(view.seat);
    switch (view.asked) {
    case Decision::AcknowledgeScore:
        move.kind = MoveKind::Acknowledge;
        return move;
    case Decision::PlayOrDraw: {
        const int slot = game_.ChooseCompCard(game_.Players[static_cast<std::size_t>(view.seat)], 0);
        move.kind = slot >= 0 ? MoveKind::Play : MoveKind::Draw;
        move.slot = static_cast<std::int16_t>(slot);
        return move;
    }
    case Decision::TakeFromHand:
    case Decision::NameGroup:
        break;  // a computer takes at random and names its group as it lays the card
    }
    return std::nullopt;
}

}  // namespace kvt
