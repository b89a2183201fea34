#include "shell/command_line.h"

#include <string>
#include <string_view>
#include <system_error>

#include "dialogs/player_file.h"
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

bool StartsAsDeal(const fs::path& path) {
    static constexpr std::string_view kHeading = "KVT table in progress ";
    ReadableFile file;
    char start[kHeading.size()];
    return file.Open(path) && file.Size() >= kHeading.size() && file.ReadAt(0, kHeading.size(), start) &&
           std::string_view(start, kHeading.size()) == kHeading;
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
    if (extension == ".kvtdeal" || StartsAsDeal(path)) return CommandLineFile::kDeal;
    return ReadsAsPlayerFile(path) ? CommandLineFile::kPlayer : CommandLineFile::kCardSet;
}

}  // namespace kvt
