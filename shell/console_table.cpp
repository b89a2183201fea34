#include "shell/console_table.h"

#include <sstream>

#include "engine/card_text.h"

namespace kvt {
namespace {

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string Cards(const CardStack& stack) {
    std::string out;
    for (const Card& card : stack) out += (out.empty() ? "" : "  ") + ShortCardText(card);
    return out.empty() ? "(none)" : out;
}

}  // namespace

std::string DescribeTable(const Game& game) {
    static const char* const kSeatNames[] = {"", "you", "left", "across", "right"};
    std::ostringstream out;
    out << TrimRight(game.CardSet.GameTitle) << " - by " << game.CardSet.AuthorName << "\n\n";
    for (int p = 1; p <= 4; ++p)
        out << "Player " << p << " (" << kSeatNames[p] << "), " << game.Players[p].Count()
            << " cards: " << Cards(game.Players[p]) << "\n";
    out << "\nDiscard pile: " << Cards(game.DiscardPile);
    if (!game.DiscardPile.Empty()) out << "   (top: " << ShortCardText(game.DiscardPile.Top()) << ")";
    out << "\nDraw deck: " << game.DrawDeck.Count() << " cards\n";
    return out.str();
}

}  // namespace kvt
