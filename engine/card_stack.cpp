#include "engine/card_stack.h"

#include <algorithm>

namespace kvt {

Card CardStack::RemoveAt(int slot) {
    assert(slot >= 0 && slot < count_);
    const Card removed = cards_[Checked(slot)];
    if (slot < 0 || slot >= count_) return removed;
    std::copy(cards_.begin() + slot + 1, cards_.begin() + count_, cards_.begin() + slot);
    --count_;
    return removed;
}

}  // namespace kvt
