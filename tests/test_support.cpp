#include "test_support.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "engine/working_files.h"
#include "platform/files.h"

namespace kvt::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("kvt-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore permissions a test may have taken away before removing.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

Card Def(int group, int value, int action, int count, int copies, int row, int col) {
    const auto i16 = [](int v) { return static_cast<std::int16_t>(v); };
    return Card{.Group = i16(group), .Value = i16(value), .ActionCount = i16(count), .Action = i16(action),
                .Copies = i16(copies), .PicRow = i16(row), .PicCol = i16(col)};
}

Card NumberedCard(int value) { return Def(1, value, kActionDiscard, 0, 1); }

std::vector<int> ValuesOf(const CardStack& stack) {
    std::vector<int> values;
    for (const Card& c : stack) values.push_back(c.Value);
    return values;
}

CardSetDef SampleCardSet() {
    CardSetDef set;
    set.GameTitle = FitTitle("Sample");
    set.AuthorName = "Tests";
    for (int g = 1; g <= 4; ++g)
        for (int v = 1; v <= 9; ++v)
            set.CardDefs[(g - 1) * 9 + (v - 1)] = Def(g, v, kActionDiscard, 0, 2, g - 1, v - 1);
    set.CardDefs[80] = Def(0, 0, kActionCardBack, 0, 0, 4, 3);
    return set;
}

CardSetFile SampleCardSetFile(const CardSetDef& def, std::size_t bitmap_bytes,
                              std::int32_t sound_size, std::size_t background_bytes) {
    CardSetFile file;
    file.Def = def;
    file.Bitmap.resize(bitmap_bytes);
    for (std::size_t i = 0; i < bitmap_bytes; ++i) file.Bitmap[i] = static_cast<char>(i * 7 + 1);
    file.SoundSize = sound_size;
    if (sound_size > 1) file.Sound.assign(static_cast<std::size_t>(sound_size), 'S');
    file.Background.assign(background_bytes, 'B');
    return file;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

fs::path WriteCardSet(const fs::path& path, const CardSetFile& file) {
    WriteBytes(path, EncodeCardSetFile(file));
    return path;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TableFixture::TableFixture() {
    folders.SettingsFile = temp_.Path() / "config" / "kvt" / "kvt.ini";
    folders.AppDir = temp_.Path() / "data" / "kvt";
    folders.SharedData = temp_.Path() / "shared";
    CardSetDef def = SampleCardSet();
    def.GameTitle = FitTitle("Shipped default");
    WriteBytes(folders.SharedData / files::kDefaultCardSet, EncodeCardSetFile(SampleCardSetFile(def)));
    game = NewGameObject();
}

std::unique_ptr<Game> TableFixture::NewGameObject(std::uint64_t seed) {
    return std::make_unique<Game>(folders, view, seed);
}

namespace {

std::string ShellQuoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const fs::path& scratch) {
    std::string command = ShellQuoted(program);
    for (const std::string& a : args) command += " " + ShellQuoted(a);
    command += " >" + ShellQuoted((scratch / "stdout").string()) + " 2>" +
               ShellQuoted((scratch / "stderr").string());
    const int status = std::system(command.c_str());
    ProgramRun run;
    if (status != -1 && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    run.out = ReadBytes(scratch / "stdout");
    run.err = ReadBytes(scratch / "stderr");
    return run;
}

std::vector<Card> AllCards(const Game& game) {
    std::vector<Card> all;
    auto add = [&all](const CardStack& s) { all.insert(all.end(), s.begin(), s.end()); };
    add(game.DrawDeck);
    add(game.DiscardPile);
    for (int p = 1; p <= 4; ++p) add(game.Players[p]);
    return all;
}

std::vector<int> HandCounts(const Game& game) {
    return {game.Players[1].Count(), game.Players[2].Count(), game.Players[3].Count(), game.Players[4].Count()};
}

std::map<std::string, std::string> FilesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadBytes(entry.path());
    return files;
}

std::string FaultMismatch(const Status& s, std::string_view source, int line, std::string_view fragment) {
    if (s.ok()) return "accepted";
    const std::string prefix =
        std::string(source) + (line ? ", line " + std::to_string(line) + ": " : std::string(": "));
    if (s.message().rfind(prefix, 0) != 0 || s.message().find(fragment) == std::string::npos)
        return s.message() + " (wanted \"" + prefix + "...\" with \"" + std::string(fragment) + "\")";
    return {};
}

}  // namespace kvt::test
