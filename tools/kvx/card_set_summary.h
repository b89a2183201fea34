#pragma once

#include <string>

#include "engine/card_set_codec.h"

namespace kvt::kvx {

// A readable account of a card set for `kvx info`: texts, tag, the non-empty
// definitions as a table, deck size, card back and background cells and embedded sizes.
std::string SummarizeCardSet(const CardSetFile& file);

}  // namespace kvt::kvx
