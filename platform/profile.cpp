#include "platform/profile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>

#include "platform/file_lock.h"
#include "platform/files.h"

namespace kvt {
namespace {

constexpr std::size_t kMaxProfileBytes = 1 << 20;
constexpr std::size_t kMaxValueLength = 127;

std::string Trim(std::string_view s) {
    const auto not_space = [](unsigned char c) { return !std::isspace(c); };
    auto first = std::find_if(s.begin(), s.end(), not_space);
    auto last = std::find_if(s.rbegin(), s.rend(), not_space).base();
    return first < last ? std::string(first, last) : std::string();
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool IsSafeText(std::string_view s) {
    return std::none_of(s.begin(), s.end(), [](char c) { return c == '\n' || c == '\r' || c == '\0'; });
}

}  // namespace

Profile::Profile(std::filesystem::path path) : path_(std::move(path)) { Load(); }

void Profile::Load() {
    lines_.clear();
    problem_.clear();
    std::string bytes;
    // A missing file behaves as one with every key missing; so does one that
    // cannot be read, but that one is kept from being written over.
    std::error_code ec;
    // A folder in its place cannot be written either, so there is nothing to keep.
    if (!std::filesystem::exists(path_, ec) || std::filesystem::is_directory(path_, ec)) return;
    if (Status s = ReadWholeFile(path_, bytes, kMaxProfileBytes); !s) {
        problem_ = s.message();
        return;
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        Line line;
        line.text = bytes.substr(start, end - start);
        if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
        const std::string trimmed = Trim(line.text);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            line.kind = Line::kSection;
            line.section = Trim(std::string_view(trimmed).substr(1, trimmed.size() - 2));
        } else if (auto eq = trimmed.find('='); eq != std::string::npos && eq > 0 &&
                                                trimmed.front() != ';' && trimmed.front() != '#') {
            line.kind = Line::kKey;
            line.key = Trim(std::string_view(trimmed).substr(0, eq));
            line.value = Trim(std::string_view(trimmed).substr(eq + 1));
        }
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

const Profile::Line* Profile::Find(const std::string& section, const std::string& key) const {
    bool inside = false;
    for (const Line& line : lines_) {
        if (line.kind == Line::kSection) inside = SameName(line.section, section);
        else if (inside && line.kind == Line::kKey && SameName(line.key, key)) return &line;
    }
    return nullptr;
}

int Profile::ReadInt(const std::string& section, const std::string& key, int fallback) const {
    const Line* line = Find(section, key);
    if (!line) return fallback;
    const std::string& v = line->value;
    long long number = 0;
    const char* first = v.data();
    if (first != v.data() + v.size() && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, v.data() + v.size(), number);
    if (error != std::errc() || end == first) return fallback;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

std::string Profile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    const Line* line = Find(section, key);
    if (!line) return fallback;
    return line->value.substr(0, kMaxValueLength);
}

Status Profile::WriteString(const std::string& section, const std::string& key,
                            const std::string& value) {
    if (!IsSafeText(section) || !IsSafeText(key) || !IsSafeText(value) || key.empty() ||
        key.find('=') != std::string::npos || section.find(']') != std::string::npos ||
        Trim(key) != key || Trim(section) != section || key.find_first_of(";#[") == 0)  // unreadable back
        return Status::Fail("Cannot store the setting \"" + key + "\": it contains characters a "
                            "settings file cannot hold");
    FileLock lock;
    if (!in_memory_) {
        if (Status s = EnsureFolder(path_.parent_path()); !s)
            return Status::Fail("Cannot write \"" + path_.string() + "\": " + s.message());
        // Writers take turns, so none of them drops what another has just stored.
        if (Status s = lock.Acquire(path_.parent_path(), true); !s) return s;
        Load();  // pick up what another writer changed since
    }
    if (!in_memory_ && !problem_.empty())
        return Status::Fail("Cannot store the setting \"" + key + "\": " + problem_ +
                            "; the settings file is left as it is");
    auto section_start = lines_.end();
    for (auto it = lines_.begin(); it != lines_.end(); ++it)
        if (it->kind == Line::kSection && SameName(it->section, section)) { section_start = it; break; }
    Line entry;
    entry.kind = Line::kKey;
    entry.key = key;
    entry.value = Trim(value);  // as Load() would read it back
    entry.text = key + "=" + value;
    if (section_start == lines_.end()) {
        if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(Line{});
        Line header;
        header.kind = Line::kSection;
        header.section = section;
        header.text = "[" + section + "]";
        lines_.push_back(header);
        lines_.push_back(entry);
    } else {
        auto insert_at = section_start + 1;
        bool replaced = false;
        for (auto it = section_start + 1; it != lines_.end() && it->kind != Line::kSection; ++it) {
            if (it->kind == Line::kKey && SameName(it->key, key)) {
                *it = entry;
                replaced = true;
                break;
            }
            if (!Trim(it->text).empty()) insert_at = it + 1;
        }
        if (!replaced) lines_.insert(insert_at, entry);
    }
    if (in_memory_) return Status::Ok();
    std::string bytes;
    for (const Line& line : lines_) bytes += line.text + "\n";
    // A settings file kept elsewhere behind a link (as dotfile managers
    // keep them) is replaced there, and the link stays.
    return WriteFileAtomically(FinalLinkTarget(path_), bytes);
}

std::string FormatNumber(long value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

}  // namespace kvt
