#include "shell/click_routing.h"

#include "hand/hand_view.h"
#include "shell/play_win.h"

namespace kvt {

void RouteTableClick(PlayWin& window, const TableClick& click) {
    Game& game = window.GameState();
    switch (click.place) {
        case TableClick::Place::kHand:
            if (click.player == 1) game.ClickHandCard(window.Hands().HumanSlot(click.col));
            else game.ClickOpponentCard(click.player, click.col);
            break;
        case TableClick::Place::kHoldGrid: game.ClickHoldCard(click.col); break;
        case TableClick::Place::kDrawDeck: game.ClickDrawDeck(); break;
        case TableClick::Place::kPickedCard: game.ClickPickedCard(); break;
        case TableClick::Place::kDiscardButton: game.ClickDiscardButton(); break;
    }
}

}  // namespace kvt
