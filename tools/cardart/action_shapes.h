#pragma once

#include <QString>

#include "tools/cardart/pictograms.h"

// The pictures for the card actions, each in the 100x100 design box.
namespace kvt::cardart::shapes {

enum class Side { Left, Right, Across };

Drawing Skip();
Drawing Reverse();
Drawing PlayAgain(bool with_card);
Drawing PassCard(Side toward);
Drawing TakeCard(Side from);
Drawing DiscardCards(int count);
Drawing FourColourWheel(QPointF centre, qreal radius, bool with_symbols);
// Large bold text such as "+2" or "7"; 6 and 9 get a bar beneath to tell them apart.
Drawing Label(const QString& text, qreal size, QPointF centre = {50, 50});

// Bare arrows for the corners: straight away for a pass, bent towards the
// player for a take.
Drawing PassArrow(Side toward);
Drawing TakeArrow(Side from);

}  // namespace kvt::cardart::shapes
