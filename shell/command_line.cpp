#include "shell/command_line.h"

#include <fstream>
#include <string>
#include <system_error>

#include "dialogs/player_file.h"
#include "engine/card_set_codec.h"

namespace kvt {

namespace {

namespace fs = std::filesystem;

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool ReadsAsPlayerFile(const fs::path& path) {
    std::error_code ec;
    const std::uint64_t size = fs::file_size(path, ec);
    if (ec || size > kMaxPlayerFileBytes) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const ReadAt read_at = [&in](std::uint64_t offset, std::size_t n, char* out) {
        in.clear();
        in.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(in.read(out, static_cast<std::streamsize>(n)));
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
    return ReadsAsPlayerFile(path) ? CommandLineFile::kPlayer : CommandLineFile::kCardSet;
}

}  // namespace kvt
