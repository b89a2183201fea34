#include "tools/kvx/manifest_syntax.h"

#include <charconv>
#include <cstdio>

namespace kvt::kvx {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

// What may follow a value or a section header: nothing, or a comment.
bool OnlyCommentLeft(std::string_view rest) {
    rest = Trim(rest);
    return rest.empty() || rest.front() == '#';
}

// Index of the quote closing the string that opens at s[0], or npos.
std::size_t ClosingQuote(std::string_view s) {
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '\\') ++i;
        else if (s[i] == '"') return i;
    }
    return std::string_view::npos;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Fault(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

Status SplitSetting(std::string_view content, ManifestLine& line) {
    const auto eq = content.find('=');
    if (eq == std::string_view::npos)
        return Status::Fail(Fault(line.number, "expected \"key = value\" or a [card N] header"));
    line.key = std::string(Trim(content.substr(0, eq)));
    if (line.key.empty()) return Status::Fail(Fault(line.number, "a value has no key"));
    std::string_view value = Trim(content.substr(eq + 1));
    if (!value.empty() && value.front() == '"') {
        const auto close = ClosingQuote(value);
        if (close == std::string_view::npos)
            return Status::Fail(Fault(line.number, "the string has no closing quote"));
        if (!OnlyCommentLeft(value.substr(close + 1)))
            return Status::Fail(Fault(line.number, "unexpected text after the closing quote"));
        value = value.substr(0, close + 1);
    } else {
        value = Trim(value.substr(0, value.find('#')));
    }
    if (value.empty()) return Status::Fail(Fault(line.number, "\"" + line.key + "\" has no value"));
    line.value = std::string(value);
    return Status::Ok();
}

Status SplitSection(std::string_view content, ManifestLine& line) {
    const auto close = content.find(']');
    if (close == std::string_view::npos)
        return Status::Fail(Fault(line.number, "the section header has no closing ']'"));
    if (!OnlyCommentLeft(content.substr(close + 1)))
        return Status::Fail(Fault(line.number, "unexpected text after the section header"));
    line.is_section = true;
    line.section = std::string(Trim(content.substr(1, close - 1)));
    return Status::Ok();
}

}  // namespace

Status SplitManifestLines(std::string_view text, std::vector<ManifestLine>& out) {
    std::vector<ManifestLine> lines;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::string_view content = Trim(raw);
        if (content.empty() || content.front() == '#') continue;
        ManifestLine line;
        line.number = number;
        const Status s = content.front() == '[' ? SplitSection(content, line) : SplitSetting(content, line);
        if (!s) return s;
        lines.push_back(std::move(line));
    }
    out = std::move(lines);
    return Status::Ok();
}

std::string QuoteManifestString(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (u < 0x20 || u >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(u));
            out += hex;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

bool UnquoteManifestString(std::string_view raw, std::string& out, std::string& error) {
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') {
        error = "expected a double-quoted string, found " + std::string(raw);
        return false;
    }
    const std::string_view body = raw.substr(1, raw.size() - 2);
    std::string bytes;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(u));
            error = std::string("byte 0x") + hex + " must be written as \\x" + hex;
            return false;
        }
        if (c == '"') {
            error = "a quote inside a string must be written as \\\"";
            return false;
        }
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (++i == body.size()) {
            error = "the string ends with a lone backslash";
            return false;
        }
        switch (body[i]) {
            case '\\': bytes += '\\'; break;
            case '"': bytes += '"'; break;
            case 'n': bytes += '\n'; break;
            case 'r': bytes += '\r'; break;
            case 't': bytes += '\t'; break;
            case 'x': {
                const int high = i + 1 < body.size() ? HexDigit(body[i + 1]) : -1;
                const int low = i + 2 < body.size() ? HexDigit(body[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    error = "\\x must be followed by two hexadecimal digits";
                    return false;
                }
                bytes += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                error = std::string("unknown escape \\") + body[i] +
                        " (use \\\\, \\\", \\n, \\r, \\t or \\xNN)";
                return false;
        }
    }
    out = std::move(bytes);
    return true;
}

bool ParseManifestInteger(std::string_view raw, std::int64_t min, std::int64_t max,
                          std::int64_t& out, std::string& error) {
    const bool digits_only =
        raw.find_first_not_of("0123456789", raw.starts_with('-') ? 1 : 0) == std::string_view::npos;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(raw.data(), raw.data() + raw.size(), value);
    const bool whole = digits_only && raw != "-" && !raw.empty();
    if (!whole || (ec != std::errc() && ec != std::errc::result_out_of_range) ||
        end != raw.data() + raw.size()) {
        error = "\"" + std::string(raw) + "\" is not a whole number";
        return false;
    }
    if (ec == std::errc::result_out_of_range || value < min || value > max) {
        error = std::string(raw) + " is out of range (" + std::to_string(min) + " to " +
                std::to_string(max) + ")";
        return false;
    }
    out = value;
    return true;
}

}  // namespace kvt::kvx
