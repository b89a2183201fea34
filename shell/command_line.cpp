#include "shell/command_line.h"

#include <string>
#include <string_view>
#include <system_error>

#include "engine/player_file.h"
#include "engine/card_set_codec.h"
#include "platform/files.h"

namespace kvt {

namespace {

namespace fs = std::filesystem;

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool StartsWith(const fs::path& path, std::string_view heading) {
    ReadableFile file;
    std::string start(heading.size(), '\0');
    return file.Open(path) && file.Size() >= heading.size() && file.ReadAt(0, heading.size(), start.data()) &&
           start == heading;
}

bool ReadsAsPlayerFile(const fs::path& path) {
    ReadableFile file;
    if (!file.Open(path) || file.Size() > kMaxPlayerFileBytes) return false;
    const std::uint64_t size = file.Size();
    const ReadAt read_at = [&file](std::uint64_t offset, std::size_t n, char* out) {
        return file.ReadAt(offset, n, out);
    };
    CardSetLayout card_set;
    if (DecodeCardSetLayout(size, read_at, card_set)) return false;
    PlayerLayout player;
    return static_cast<bool>(DecodePlayerLayout(size, read_at, player));
}

}  // namespace

CommandLineFile KindOfCommandLineFile(const fs::path& path) {
    const std::string extension = LowerAscii(path.extension().string());
    if (extension == ".dpf") return CommandLineFile::kPlayer;
    if (extension == ".cds") return CommandLineFile::kCardSet;
    if (extension == ".kvtdeal" || StartsWith(path, "KVT table in progress ")) return CommandLineFile::kDeal;
    if (extension == ".kvtgame" || StartsWith(path, "KVT game record ")) return CommandLineFile::kGameRecord;
    return ReadsAsPlayerFile(path) ? CommandLineFile::kPlayer : CommandLineFile::kCardSet;
}

}  // namespace kvt
