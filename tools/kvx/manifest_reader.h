#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"
#include "tools/kvx/manifest_syntax.h"

namespace kvt::kvx {

inline constexpr std::int64_t kInt16Min = std::numeric_limits<std::int16_t>::min();
inline constexpr std::int64_t kInt16Max = std::numeric_limits<std::int16_t>::max();
// Generous for the largest manifest: texts of 32767 bytes escaped as \xNN and
// every section a file can hold.
inline constexpr std::size_t kMaxManifestBytes = 1u << 20;

bool IsOneOf(std::span<const std::string_view> keys, std::string_view key);

// A manifest file's text, and its lines; a fault names the source.
Status ReadManifestText(const std::filesystem::path& path, std::string& text);
Status SplitManifestLinesOf(std::string_view text, std::string_view source,
                            std::vector<ManifestLine>& lines);

// What both manifest parsers share: faults that name the manifest and the
// line, keys given once per section, and typed values.
class ManifestReader {
protected:
    explicit ManifestReader(std::string_view source) : source_(source) {}

    Status Fault(int line, const std::string& what) const;
    // Refuses a key given twice within the same section.
    Status NoteKey(std::map<std::string, int>& seen, const ManifestLine& line) const;
    // Names the first required key the top section lacks.
    Status RequireKeys(const std::map<std::string, int>& seen,
                       std::span<const std::string_view> required) const;

    Status ReadString(const ManifestLine& line, std::string& out) const;
    Status ReadInteger(const ManifestLine& line, std::int64_t min, std::int64_t max,
                       std::int64_t& out) const;
    // A string that fits a 16-bit length field.
    Status ReadText(const ManifestLine& line, std::string& out) const;
    // The name of a file beside the manifest that goes into the packed file.
    Status ReadFileName(const ManifestLine& line, bool may_be_empty, std::string& out) const;
    // "format = 1", the only manifest format there is.
    Status ReadFormat(const ManifestLine& line) const;
    Status ReadTag(const ManifestLine& line, std::array<char, 4>& tag) const;

    std::string source_;
};

}  // namespace kvt::kvx
