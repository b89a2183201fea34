#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>

#include "core/card.h"

namespace kvt {

// A hand, the draw deck, the discard pile or a scratch pile. Slots 0..Count()-1
// are live; the top of a pile is the last slot; a stack never holds more than
// Capacity cards, and no operation writes past the last slot. Aligned to 8
// bytes so that copies of a whole stack run as aligned block copies.
class alignas(8) CardStack {
public:
    static constexpr int Capacity = 401;

    CardStack() = default;
    CardStack(const CardStack&) = default;
    // Assigning copies the live slots alone: a table's state is reset by
    // assignment far more often than its stacks are full, and the slots
    // past the last one are never read.
    CardStack& operator=(const CardStack& other) {
        if (this == &other) return *this;
        std::copy(other.begin(), other.end(), cards_.begin());
        count_ = other.count_;
        first_ = 0;
        return *this;
    }

    std::int16_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    bool Full() const { return count_ >= Capacity; }

    const Card& operator[](int slot) const { return cards_[Checked(slot)]; }
    Card& operator[](int slot) { return cards_[Checked(slot)]; }
    const Card& Top() const { return cards_[Checked(count_ - 1)]; }

    // Appends at slot Count(); false (and nothing changes) when the stack is full.
    bool Push(const Card& card) {
        if (Full()) return false;
        if (first_ + count_ == Capacity) MoveToStart();
        cards_[first_ + count_++] = card;
        return true;
    }

    // Puts a card at `slot` (clamped to 0..Count()), moving the later cards
    // up; false (and nothing changes) when the stack is full.
    bool InsertAt(int slot, const Card& card) {
        if (!Push(card)) return false;
        slot = std::clamp(slot, 0, count_ - 1);
        std::rotate(begin() + slot, end() - 1, end());
        return true;
    }

    // Removes a live slot, moving the later cards down so the order is kept.
    // Slot 0 (the deck's top, drawn from all the time) moves nothing: the
    // live slots simply start one further on.
    Card RemoveAt(int slot) {
        assert(slot >= 0 && slot < count_);
        const Card removed = (*this)[slot];
        if (slot < 0 || slot >= count_) return removed;
        if (slot == 0)
            ++first_;
        else if (slot + 1 < count_)
            std::copy(begin() + slot + 1, end(), begin() + slot);
        if (--count_ == 0) first_ = 0;
        return removed;
    }

    // Holds n cards (n clamped to 0..Capacity): the live slots kept, the
    // slots after them as they happen to be, for the caller to fill
    // through begin().
    void Resize(int n) {
        n = std::clamp(n, 0, Capacity);
        if (first_ + n > Capacity) MoveToStart();
        count_ = static_cast<std::int16_t>(n);
    }

    // Keeps the first n slots (n clamped to 0..Count()).
    void Truncate(int n) {
        if (n < 0) n = 0;
        if (n < count_) count_ = static_cast<std::int16_t>(n);
    }
    void Clear() {
        count_ = 0;
        first_ = 0;
    }

    const Card* begin() const { return cards_.data() + first_; }
    const Card* end() const { return begin() + count_; }
    Card* begin() { return cards_.data() + first_; }
    Card* end() { return begin() + count_; }

    // Equal when the live slots hold equal cards, wherever they lie in the array.
    friend bool operator==(const CardStack& a, const CardStack& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    // The array index of a slot, kept inside the array whatever the slot.
    int Checked(int slot) const {
        assert(slot >= 0 && slot < Capacity);
        const int index = first_ + (slot < 0 ? 0 : slot);
        return index >= Capacity ? Capacity - 1 : index;
    }
    void MoveToStart();

    std::int16_t count_ = 0;
    std::int16_t first_ = 0;  // array index of slot 0
    std::array<Card, Capacity> cards_{};
};

}  // namespace kvt
