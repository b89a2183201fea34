#include "tools/cardart/pictograms.h"

#include "tools/cardart/action_shapes.h"
#include "tools/cardart/group_symbols.h"

namespace kvt::cardart {
namespace {

using shapes::Side;

QString Number(int n) { return QString::number(n); }
QString Plus(int n) { return QStringLiteral("+") + Number(n); }
QString Minus(int n) { return QString(QChar(0x2212)) + Number(n); }

bool IsPlainWild(const Card& card) {
    return card.IsWild() && card.Action == kActionDiscard && card.ActionCount == 0;
}

}  // namespace

bool IsNumberCard(const Card& card) {
    return !card.IsWild() && card.Action == kActionDiscard && card.ActionCount == 0;
}

Drawing CentreMark(const Card& card) {
    if (IsNumberCard(card)) return shapes::Label(Number(card.Value), 84);
    if (IsPlainWild(card)) return shapes::FourColourWheel({50, 50}, 46, true);
    if (card.IsWild() && card.Action == kActionDrawDeck) {
        Drawing d = shapes::FourColourWheel({50, 32}, 31, true);
        for (Layer& l : shapes::Label(Plus(card.ActionCount), 44, {50, 80})) d.push_back(l);
        return d;
    }
    switch (card.Action) {
        case kActionNone: return shapes::PlayAgain(true);
        case kActionPassLeft: return shapes::PassCard(Side::Left);
        case kActionPassRight: return shapes::PassCard(Side::Right);
        case kActionPassAcross: return shapes::PassCard(Side::Across);
        case kActionDrawDeck: return shapes::Label(Plus(card.ActionCount), 66);
        case kActionDrawLeft: return shapes::TakeCard(Side::Left);
        case kActionDrawRight: return shapes::TakeCard(Side::Right);
        case kActionDrawAcross: return shapes::TakeCard(Side::Across);
        case kActionDiscard: return shapes::DiscardCards(card.ActionCount);
        case kActionSkip: return shapes::Skip();
        case kActionReverse: return shapes::Reverse();
        default: return shapes::Label(Number(card.Value), 84);
    }
}

Drawing CornerMark(const Card& card) {
    if (IsNumberCard(card)) return shapes::Label(Number(card.Value), 118);
    if (IsPlainWild(card)) return shapes::FourColourWheel({50, 50}, 48, false);
    switch (card.Action) {
        case kActionNone: return shapes::PlayAgain(false);
        case kActionPassLeft: return shapes::PassArrow(Side::Left);
        case kActionPassRight: return shapes::PassArrow(Side::Right);
        case kActionPassAcross: return shapes::PassArrow(Side::Across);
        case kActionDrawDeck: return shapes::Label(Plus(card.ActionCount), 118);
        case kActionDrawLeft: return shapes::TakeArrow(Side::Left);
        case kActionDrawRight: return shapes::TakeArrow(Side::Right);
        case kActionDrawAcross: return shapes::TakeArrow(Side::Across);
        case kActionDiscard: return shapes::Label(Minus(card.ActionCount), 118);
        case kActionSkip: return shapes::Skip();
        case kActionReverse: return shapes::Reverse();
        default: return shapes::Label(Number(card.Value), 118);
    }
}

Drawing CornerSymbol(const Card& card) {
    if (!card.IsWild()) return {Layer{GroupSymbol(card.Group, false), Layer::Fill::Ink, {}, true}};
    if (IsPlainWild(card)) return {};
    return shapes::FourColourWheel({50, 50}, 48, false);
}

}  // namespace kvt::cardart
