#include "core/card_stack.h"

#include <algorithm>

namespace kvt {

Card CardStack::RemoveAt(int slot) {
    assert(slot >= 0 && slot < count_);
    const Card removed = (*this)[slot];
    if (slot < 0 || slot >= count_) return removed;
    if (slot == 0)
        ++first_;
    else
        std::copy(begin() + slot + 1, end(), begin() + slot);
    if (--count_ == 0) first_ = 0;
    return removed;
}

void CardStack::MoveToStart() {
    std::copy(begin(), end(), cards_.begin());
    first_ = 0;
}

}  // namespace kvt
