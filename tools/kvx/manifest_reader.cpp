#include "tools/kvx/manifest_reader.h"

#include <algorithm>

#include "platform/files.h"
#include "tools/kvx/embedded_file_name.h"

namespace kvt::kvx {

bool IsOneOf(std::span<const std::string_view> keys, std::string_view key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

Status ReadManifestText(const std::filesystem::path& path, std::string& text) {
    return ReadWholeFile(path, text, kMaxManifestBytes);
}

Status SplitManifestLinesOf(std::string_view text, std::string_view source,
                            std::vector<ManifestLine>& lines) {
    if (Status s = SplitManifestLines(text, lines); !s)
        return Status::Fail(std::string(source) + ", " + s.message());
    return Status::Ok();
}

Status ManifestReader::Fault(int line, const std::string& what) const {
    return Status::Fail(source_ + ", line " + std::to_string(line) + ": " + what);
}

Status ManifestReader::NoteKey(std::map<std::string, int>& seen, const ManifestLine& line) const {
    const auto [it, fresh] = seen.emplace(line.key, line.number);
    if (fresh) return Status::Ok();
    return Fault(line.number, "\"" + line.key + "\" is given twice (first on line " +
                                  std::to_string(it->second) + ")");
}

Status ManifestReader::RequireKeys(const std::map<std::string, int>& seen,
                                   std::span<const std::string_view> required) const {
    for (std::string_view key : required)
        if (!seen.contains(std::string(key)))
            return Status::Fail(source_ + ": the top section has no \"" + std::string(key) + "\" line");
    return Status::Ok();
}

Status ManifestReader::ReadString(const ManifestLine& line, std::string& out) const {
    std::string error;
    if (!UnquoteManifestString(line.value, out, error)) return Fault(line.number, line.key + ": " + error);
    return Status::Ok();
}

Status ManifestReader::ReadInteger(const ManifestLine& line, std::int64_t min, std::int64_t max,
                                   std::int64_t& out) const {
    std::string error;
    if (!ParseManifestInteger(line.value, min, max, out, error))
        return Fault(line.number, line.key + ": " + error);
    return Status::Ok();
}

Status ManifestReader::ReadText(const ManifestLine& line, std::string& out) const {
    if (Status s = ReadString(line, out); !s) return s;
    if (out.size() > static_cast<std::size_t>(kInt16Max))
        return Fault(line.number, "the " + line.key + " is " + std::to_string(out.size()) +
                                      " bytes long; at most 32767 fit");
    return Status::Ok();
}

Status ManifestReader::ReadFileName(const ManifestLine& line, bool may_be_empty, std::string& out) const {
    if (Status s = ReadString(line, out); !s) return s;
    if (out.empty() && may_be_empty) return Status::Ok();
    if (const std::string fault = EmbeddedFileNameFault(out); !fault.empty())
        return Fault(line.number, line.key + ": " + fault);
    return Status::Ok();
}

Status ManifestReader::ReadFormat(const ManifestLine& line) const {
    std::int64_t format = 0;
    if (Status s = ReadInteger(line, kInt16Min, kInt16Max, format); !s) return s;
    if (format != 1) return Fault(line.number, "format " + line.value + " is not known; this kvx reads format 1");
    return Status::Ok();
}

Status ManifestReader::ReadTag(const ManifestLine& line, std::array<char, 4>& tag) const {
    std::string text;
    if (Status s = ReadString(line, text); !s) return s;
    if (text.size() != tag.size())
        return Fault(line.number, "the tag must be exactly 4 bytes, not " + std::to_string(text.size()));
    std::copy(text.begin(), text.end(), tag.begin());
    return Status::Ok();
}

}  // namespace kvt::kvx
