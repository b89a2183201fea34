#include "formats/text_fields.h"

#include <cstdio>

namespace kvt::text_fields {

std::string Hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '\\') {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// How many bytes of a well-formed UTF-8 character other than a C1 control
// start at text[0]; 0 for anything else.
std::size_t PrintableCharacter(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
                             : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
    if (length == 0 || text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xc0) != 0x80) return 0;
    // The second byte's range where the lead allows less: C1 controls,
    // overlong forms, surrogates and code points past U+10FFFF.
    const unsigned char second = byte(1);
    const bool refused = (lead == 0xc2 && second < 0xa0) || (lead == 0xe0 && second < 0xa0) ||
                         (lead == 0xed && second > 0x9f) || (lead == 0xf0 && second < 0x90) ||
                         (lead == 0xf4 && second > 0x8f);
    return refused ? 0 : length;
}

}  // namespace

std::string ForTerminal(std::string_view message) {
    std::string out;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const auto byte = static_cast<unsigned char>(message[i]);
        if ((byte >= 0x20 && byte < 0x7f) || byte == '\n') {
            out += message[i];
        } else if (const std::size_t length = byte >= 0x80 ? PrintableCharacter(message.substr(i)) : 0) {
            out += message.substr(i, length);
            i += length - 1;
        } else {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            out += code;
        }
    }
    return out;
}

bool Unescaped(std::string_view text, std::string& out, std::size_t max_bytes) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 3 >= text.size() || text[i + 1] != 'x') return false;
        const auto [end, ec] = std::from_chars(text.data() + i + 2, text.data() + i + 4, value, 16);
        if (ec != std::errc() || end != text.data() + i + 4) return false;
        out += static_cast<char>(value);
        i += 3;
    }
    return out.size() <= max_bytes;
}

std::string_view TakeWord(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return word;
}

}  // namespace kvt::text_fields
