// The settings file (kvt.ini) read from arbitrary bytes, then one setting
// written and the file read again.
//
// Input: one selector byte, the value to write up to the first NUL byte, and
// the rest is the file. The selector picks a section and key the program
// really uses, or (high bit set) names found in the file itself.
//
// Promises checked: a refused write leaves the file's bytes alone; after an
// accepted write a fresh reader finds the value (trimmed, at most 127
// characters, as every read gives it), the writer's own view agrees with the
// file, every other setting keeps its value, and writing the same value
// again changes no setting.

#include <cctype>
#include <set>
#include <utility>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/settings_keys.h"

namespace kvt::fuzz {
namespace {

namespace fs = std::filesystem;
constexpr const char* kName = "profile_read";
constexpr std::size_t kMaxValue = 127;
const std::string kMissing = "\x01missing\x01";

const char* const kSections[] = {settings::kMisc, "misc", "Players", "Window"};
const char* const kKeys[] = {settings::kLeft,     settings::kTop,      settings::kSort,
                             settings::kPlayerSounds, settings::kBackMusic, settings::kViewer,
                             settings::kPlaySpeed, settings::kCardFile, settings::kHome,
                             settings::kPlayersFile, "cardfile"};

std::string Trim(std::string_view s) {
    std::size_t first = 0, last = s.size();
    while (first < last && std::isspace(static_cast<unsigned char>(s[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(s[last - 1]))) --last;
    return std::string(s.substr(first, last - first));
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Section and key names as a reader of the file would see them: trimmed
// "[Section]" lines, and the trimmed text before the first '=' of others.
struct Names {
    std::vector<std::string> sections, keys;
};

Names NamesIn(std::string_view file) {
    Names names;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find('\n', start);
        if (end == std::string_view::npos) end = file.size();
        const std::string line = Trim(file.substr(start, end - start));
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            names.sections.push_back(Trim(std::string_view(line).substr(1, line.size() - 2)));
        else if (auto eq = line.find('='); eq != std::string::npos && eq > 0)
            names.keys.push_back(Trim(std::string_view(line).substr(0, eq)));
        start = end + 1;
    }
    return names;
}

void Require(bool condition, const std::string& what) { KVT_FUZZ_CHECK(condition, kName, what); }

std::string Show(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') out += static_cast<char>(c);
        else {
            static const char* hex = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out + "\"";
}

std::string FileBytes(const fs::path& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, 1u << 22)) return "<unreadable>";
    return bytes;
}

}  // namespace

int ProfileRead(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const unsigned selector = size ? data[0] : 0;
    std::string_view rest = size ? input.substr(1) : input;
    std::string value;
    if (auto nul = rest.find('\0'); nul != std::string_view::npos) {
        value = std::string(rest.substr(0, nul));
        rest.remove_prefix(nul + 1);
    }
    const std::string_view file(rest);
    const Names found = NamesIn(file);

    std::string section = kSections[selector % std::size(kSections)];
    std::string key = kKeys[(selector / std::size(kSections)) % std::size(kKeys)];
    if (selector & 0x80) {
        if (!found.sections.empty()) section = found.sections[(selector & 7) % found.sections.size()];
        if (!found.keys.empty()) key = found.keys[((selector >> 3) & 15) % found.keys.size()];
    }

    const fs::path path = ScratchFolder() / kName / "kvt.ini";
    Require(EnsureFolder(path.parent_path()).ok(), "cannot lay out the settings folder");
    Require(WriteFileAtomically(path, file).ok(), "cannot write the settings file");

    // Every setting the file may hold, read before the write.
    std::set<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> all_sections(found.sections.begin(), found.sections.end());
    for (const char* s : kSections) all_sections.push_back(s);
    std::vector<std::string> all_keys(found.keys.begin(), found.keys.end());
    for (const char* k : kKeys) all_keys.push_back(k);
    for (const auto& s : all_sections)
        for (const auto& k : all_keys) pairs.emplace(s, k);
    if (pairs.size() > 4096) pairs.erase(std::next(pairs.begin(), 4096), pairs.end());

    Profile profile(path);
    std::vector<std::string> before;
    for (const auto& [s, k] : pairs) {
        before.push_back(profile.ReadString(s, k, kMissing));
        (void)profile.ReadInt(s, k, 0);
    }

    const Status written = profile.WriteString(section, key, value);
    const std::string what = "[" + Show(section) + "] " + Show(key) + " = " + Show(value);
    const std::string after_write = FileBytes(path);
    if (!written) {
        Require(after_write == file, "a refused write changed the file: " + what);
        return 0;
    }

    const std::string expected = Trim(value).substr(0, kMaxValue);
    Profile again(path);
    const std::string got = again.ReadString(section, key, kMissing);
    Require(got == expected, "a written setting reads back as " + Show(got) + ": " + what);
    Require(profile.ReadString(section, key, kMissing) == expected,
            "the writer's own view differs from the file: " + what);

    std::size_t i = 0;
    for (const auto& [s, k] : pairs) {
        const std::string& old_value = before[i++];
        if (Lower(s) == Lower(section) && Lower(k) == Lower(key)) continue;
        const std::string now = again.ReadString(s, k, kMissing);
        Require(now == old_value, "writing " + what + " changed [" + Show(s) + "] " + Show(k) + " from " +
                                      Show(old_value) + " to " + Show(now));
    }

    // The same write again changes no setting. (The bytes may still change:
    // a line ending in several carriage returns loses one per rewrite.)
    Require(profile.WriteString(section, key, value).ok(), "the same write refused the second time: " + what);
    Profile third(path);
    Require(third.ReadString(section, key, kMissing) == expected, "writing twice lost the setting: " + what);
    i = 0;
    for (const auto& [s, k] : pairs) {
        const std::string& old_value = before[i++];
        if (Lower(s) == Lower(section) && Lower(k) == Lower(key)) continue;
        Require(third.ReadString(s, k, kMissing) == old_value,
                "writing " + what + " twice changed [" + Show(s) + "] " + Show(k));
    }
    return 0;
}

}  // namespace kvt::fuzz
