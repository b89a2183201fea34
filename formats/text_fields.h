#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt::text_fields {

// Sixteen lower-case hex digits.
std::string Hex(std::uint64_t value);
// A name or title on one line: a backslash and control bytes as \xHH.
std::string Escaped(std::string_view text);
// A message for a terminal: control bytes but the line break, C1 controls
// and bytes that are no UTF-8 as \xHH, so that no text a message quotes from
// a file can move the cursor, retitle the window or clear the screen.
std::string ForTerminal(std::string_view message);
// Back from Escaped; false for a broken escape or more than max_bytes.
bool Unescaped(std::string_view text, std::string& out, std::size_t max_bytes);
// The first word of `rest`, taken off it with the blank after it.
std::string_view TakeWord(std::string_view& rest);

// A whole word as a number: no sign but a minus, nothing after it.
template <typename T>
bool Number(std::string_view word, T& out, int base = 10) {
    if (word.empty() || word.front() == '+') return false;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out, base);
    return ec == std::errc() && end == word.data() + word.size();
}

inline bool Hash(std::string_view word, std::uint64_t& out) { return word.size() == 16 && Number(word, out, 16); }

}  // namespace kvt::text_fields
