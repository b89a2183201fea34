#include "core/card_stack.h"

#include <algorithm>

namespace kvt {

void CardStack::MoveToStart() {
    std::copy(begin(), end(), cards_.begin());
    first_ = 0;
}

}  // namespace kvt
