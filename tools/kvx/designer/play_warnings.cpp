#include "tools/kvx/designer/play_warnings.h"

#include <map>
#include <string>

namespace kvt::kvx {
namespace {

bool IsPictured(const Card& c) {
    return IsDealt(c) || c.Action == kActionCardBack || c.Action == kActionBackgroundCell;
}

bool CellInside(const Card& c, int width, int height) {
    const FaceRect r = FaceRectOf(c);
    return r.x >= 0 && r.y >= 0 && r.x + r.width <= width && r.y + r.height <= height;
}

}  // namespace

std::vector<CardSetProblem> ListPlayWarnings(const CardSetDef& set, int bitmap_width, int bitmap_height) {
    std::vector<CardSetProblem> warnings;
    struct GroupCount {
        int cards = 0;
        int first_definition = -1;
    };
    std::map<int, GroupCount> groups;  // dealt cards only
    bool any_wild = false;
    for (int d = 0; d < kCardDefCount; ++d) {
        const Card& c = set.CardDefs[d];
        const std::string name = "card definition " + std::to_string(d);
        if (bitmap_width > 0 && IsPictured(c) && !CellInside(c, bitmap_width, bitmap_height))
            warnings.push_back({d, name + ": its picture cell (row " + std::to_string(c.PicRow) + ", column " +
                                       std::to_string(c.PicCol) + ") lies outside the card bitmap"});
        if (!IsDealt(c)) continue;
        if (c.IsWild()) any_wild = true;
        GroupCount& group = groups[c.Group];
        if (group.first_definition < 0) group.first_definition = d;
        group.cards += c.Copies;
        if (c.Group > kWildCardWindowGroups)
            warnings.push_back({d, name + " has group " + std::to_string(c.Group) +
                                       ", which a wild card cannot ask for (the choice offers groups 1 to " +
                                       std::to_string(kWildCardWindowGroups) + ")"});
    }
    for (const auto& [group, count] : groups)
        if (group != 0 && count.cards == 1)
            warnings.push_back({count.first_definition, "group " + std::to_string(group) + " has a single card"});
    if (!any_wild) warnings.push_back({-1, "no wild card: a player without the group on the pile must draw"});
    const int deck = DeckSize(set);
    if (deck >= kMinDeckSize && deck - kMinDeckSize < kFewestCardsToDraw)
        warnings.push_back({-1, "the deck of " + std::to_string(deck) + " cards leaves only " +
                                    std::to_string(deck - kMinDeckSize) +
                                    " to draw after four hands are dealt"});
    return warnings;
}

}  // namespace kvt::kvx
