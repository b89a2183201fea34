#include "player_test_support.h"

#include "engine/byte_io.h"

namespace kvt::players_test {

std::string FakeBytes(std::string_view head, std::size_t size, int seed) {
    std::string bytes(head.substr(0, size));
    for (std::size_t i = bytes.size(); i < size; ++i) bytes += static_cast<char>(i * 7 + 3 + seed);
    return bytes;
}

namespace {

PlayerClip Clip(std::int16_t index, std::string name, std::string bytes) {
    const auto length = static_cast<std::int32_t>(bytes.size());
    return {{index, std::move(name), length}, std::move(bytes)};
}

}  // namespace

PlayerFileContents SamplePlayer() {
    return {{.Name = "Ada", .PictureSize = 1500, .TraitA = 100, .TraitC = 50, .TraitD = 2, .SoundChance = 30},
            FakeBytes("BM", 1500),
            {Clip(0, "Sel1.wav", FakeBytes("RIFF", 700, 1)), Clip(3, "Comment1.wav", FakeBytes("RIFF", 400, 2)),
             Clip(33, "wg1.wav", FakeBytes("RIFF", 300, 3))}};
}

PlayerFileContents OddPlayer() {
    return {{{'Z', '\x01', '\xFF', '\x80'}, "Ad\xE9le \"the\" \\ caf\xE9\x01\x7F #x = [sound]" + std::string(70, 'n'), 77,
             -5, 32767, -32768, 7, 1, -1, 2, -32768},
            FakeBytes(std::string_view("BM\0\0", 4), 77),
            {Clip(50, "caf\xE9 \xFF.wav", FakeBytes("RIFF", 10, 4)), Clip(12, "empty.wav", ""),
             Clip(0, "x.tmp", FakeBytes("one", 20, 5)), Clip(1, "x", FakeBytes("two", 30, 6)), Clip(34, "lg1.wav", "L")}};
}

PlayerFileContents BarePlayer() {
    return {{.Name = "Bare", .PictureSize = 64, .SoundChance = 50}, FakeBytes("BM", 64, 7), {}};
}

std::string RawEntry(std::int16_t index, std::int16_t name_length, std::string_view name) {
    std::string out;
    ByteWriter w(out);
    w.WriteI16(index);
    w.WriteI16(name_length);
    w.WriteBytes(name);
    return out;
}

std::string RawEntry(std::int16_t index, std::string_view name, std::int32_t length, std::string_view clip) {
    std::string out = RawEntry(index, static_cast<std::int16_t>(name.size()), name);
    ByteWriter w(out);
    w.WriteI32(length);
    w.WriteBytes(clip);
    return out;
}

std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        files[name] = entry.is_directory() ? "<folder>" : test::ReadBytes(entry.path());
    }
    return files;
}

fs::path PlayerTableTest::Write(const std::string& name, std::string_view bytes) const {
    const fs::path path = table.Root() / "files" / name;
    test::WriteBytes(path, std::string(bytes));
    return path;
}

}  // namespace kvt::players_test
