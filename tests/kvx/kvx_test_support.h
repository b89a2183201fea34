#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/card_set_codec.h"

namespace kvt::kvx::testing {

namespace fs = std::filesystem;

// A fresh folder under the test temp dir, removed again by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(std::string_view name) const { return path_ / name; }

private:
    fs::path path_;
};

void WriteTestFile(const fs::path& path, std::string_view bytes);
std::string ReadTestFile(const fs::path& path);

// Card sets that pass validation, each exercising different corners of the format.
// Four plain groups, a card back, an opening sound, no background.
CardSetFile PlainCardSet();
// Stored sound size 1, a title without blank padding, texts with quotes,
// backslashes, control bytes and bytes >= 0x80, a background, negative
// reserved fields, non-zero playable marks and an unusual tag.
CardSetFile OddCardSet();
// Stored sound size 0, a background, never-dealt and unknown-action
// definitions, a NUL-filled title and empty texts.
CardSetFile SparseCardSet();

// The body of a manifest with the top section filled in and [card 0] making a
// 30-card deck; `extra` is appended.
std::string MinimalManifest(std::string_view extra = {});

}  // namespace kvt::kvx::testing
