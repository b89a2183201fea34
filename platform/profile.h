#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/status.h"

namespace kvt {

// A settings profile file: [Section] headers and Key=Value lines. Lookups
// ignore case as profile files always have; unknown lines are kept as they
// are. Every write rewrites the whole file through a temporary file beside
// the file a symbolic link leads to, under a lock shared by every writer. A
// file that is there but cannot be read whole is never written over.
class Profile {
public:
    explicit Profile(std::filesystem::path path);

    // Integer value, or `fallback` when the key is missing or not a number.
    int ReadInt(const std::string& section, const std::string& key, int fallback) const;
    // Text value (at most 127 characters), or `fallback` when the key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    Status WriteString(const std::string& section, const std::string& key, const std::string& value);

    const std::filesystem::path& Path() const { return path_; }
    // Why the file could not be read (it is then left as it is), or "".
    const std::string& Problem() const { return problem_; }
    // Writes change the values in memory only (a second table on the same folders).
    void KeepInMemory() { in_memory_ = true; }

private:
    struct Line {
        std::string text;     // the line as stored
        std::string section;  // for header lines
        std::string key;      // for key lines
        std::string value;
        enum Kind { kOther, kSection, kKey } kind = kOther;
    };

    void Load();
    const Line* Find(const std::string& section, const std::string& key) const;

    std::filesystem::path path_;
    std::vector<Line> lines_;
    std::string problem_;
    bool in_memory_ = false;
};

// Numbers as the settings file stores them: one blank before a number that
// is not negative (" 0", " 40", "-1").
std::string FormatNumber(long value);
// Booleans are stored as -1 (true) and 0 (false).
inline std::string FormatFlag(bool value) { return FormatNumber(value ? -1 : 0); }

}  // namespace kvt
