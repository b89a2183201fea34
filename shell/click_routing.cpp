#include "shell/click_routing.h"

#include "hand/hand_view.h"
#include "hand/move_being_built.h"
#include "shell/play_win.h"

namespace kvt {

void RouteTableClick(PlayWin& window, const TableClick& click) {
    MoveBeingBuilt& move = window.Building();
    switch (click.place) {
        case TableClick::Place::kHand:
            if (click.player == 1) move.ClickHandCard(window.Hands().HumanSlot(click.col));
            else move.ClickOpponentCard(click.player, click.col);
            break;
        case TableClick::Place::kHoldGrid: move.ClickHoldCard(click.col); break;
        case TableClick::Place::kDrawDeck: move.ClickDrawDeck(); break;
        case TableClick::Place::kPickedCard: move.ClickPickedCard(); break;
        case TableClick::Place::kDiscardButton: move.ClickDiscardButton(); break;
    }
}

}  // namespace kvt
