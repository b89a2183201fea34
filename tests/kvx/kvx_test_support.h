#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/card_set_codec.h"
#include "test_support.h"

namespace kvt::kvx::testing {

// Card sets that pass validation, each exercising different corners of the format.
// Four plain groups, a card back, an opening sound, no background.
CardSetFile PlainCardSet();
// Stored sound size 1, a title without blank padding, texts with quotes, backslashes, control bytes and bytes
// >= 0x80, a background, negative reserved fields, non-zero playable marks and an unusual tag.
CardSetFile OddCardSet();
// Stored sound size 0, a background, never-dealt and unknown-action
// definitions, a NUL-filled title and empty texts.
CardSetFile SparseCardSet();

// The body of a manifest with the top section filled in and [card 0] making a
// 30-card deck; `extra` is appended.
std::string MinimalManifest(std::string_view extra = {});

// `text` with the first `from` replaced by `to`; a missing `from` fails the test.
std::string Replace(std::string text, std::string_view from, std::string_view to);

}  // namespace kvt::kvx::testing
