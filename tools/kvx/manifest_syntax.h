#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"

namespace kvt::kvx {

// One meaningful line of a manifest: a section header such as "[card 3]" or a
// "key = value" setting. Comment lines and blank lines are dropped.
struct ManifestLine {
    int number = 0;          // 1-based line number in the manifest
    bool is_section = false;
    std::string section;     // text between the brackets, trimmed
    std::string key;
    std::string value;       // raw value text: quotes kept, trailing comment removed
};

// Splits manifest text into lines; a fault names its line ("line 7: ...").
Status SplitManifestLines(std::string_view text, std::vector<ManifestLine>& out);

// Writes bytes as a double-quoted string that reads back byte for byte.
std::string QuoteManifestString(std::string_view bytes);

// The reverse of QuoteManifestString. On failure `error` says what is wrong.
bool UnquoteManifestString(std::string_view raw, std::string& out, std::string& error);

// A decimal integer within [min, max]. On failure `error` says what is wrong.
bool ParseManifestInteger(std::string_view raw, std::int64_t min, std::int64_t max,
                          std::int64_t& out, std::string& error);

}  // namespace kvt::kvx
