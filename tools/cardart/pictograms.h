#pragma once

#include <QColor>
#include <QPainterPath>
#include <vector>

#include "core/card.h"

namespace kvt::cardart {

// One piece of a drawing, painted in order over the pieces before it.
struct Layer {
    enum class Fill { Ink, Tint, Shade, Fixed };
    QPainterPath shape;  // in the 100x100 design box
    Fill fill = Fill::Ink;  // Ink: white; Tint/Shade: the panel colour, plain/darkened
    QColor fixed;           // the colour for Fill::Fixed
    bool outlined = true;
};
using Drawing = std::vector<Layer>;

// The large mark in the middle of a card: its number, or a picture of what it does.
Drawing CentreMark(const Card& card);

// The small mark in the corners: the same idea, reduced to stay readable at
// the size of a fanned hand.
Drawing CornerMark(const Card& card);

// What goes under the corner mark: the group symbol, or for wild cards the
// colour wheel unless the mark already is one. May be empty.
Drawing CornerSymbol(const Card& card);

// Whether the card shows a number rather than an action.
bool IsNumberCard(const Card& card);

}  // namespace kvt::cardart
