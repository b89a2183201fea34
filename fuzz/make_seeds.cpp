// Writes the starting corpora of the fuzz targets: small playable card sets,
// the shipped card set with its embedded files cut short, and damaged
// variants of each. Usage: kvt_fuzz_seeds OUT_DIR [default.cds]
// (OUT_DIR gets one folder per target; fuzz/run.sh --seed refreshes
// fuzz/corpus/ with it.)

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/byte_io.h"
#include "engine/player_file.h"
#include "engine/card_set_codec.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using kvt::CardSetDef;
using kvt::CardSetFile;

fs::path g_out;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
    const fs::path folder = g_out / target;
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string I32(std::int32_t v) {
    std::string s;
    kvt::ByteWriter(s).WriteI32(v);
    return s;
}
std::string I16(std::int16_t v) {
    std::string s;
    kvt::ByteWriter(s).WriteI16(v);
    return s;
}

std::string Patched(std::string bytes, std::size_t at, const std::string& with) {
    if (at + with.size() <= bytes.size()) bytes.replace(at, with.size(), with);
    return bytes;
}

// Offsets inside an encoded .cds of a file.
struct Offsets {
    std::size_t text1, text2, author, title, bitmap_size, sound_size, background_size, end;
};
Offsets OffsetsOf(const CardSetFile& f) {
    Offsets o{};
    o.text1 = 2 + 2 + kvt::kCardDefCount * kvt::kCardRecordBytes;
    o.text2 = o.text1 + 2 + f.Def.Text1.size();
    o.author = o.text2 + 2 + f.Def.Text2.size();
    o.title = o.author + 2 + f.Def.AuthorName.size();
    o.bitmap_size = o.title + kvt::kTitleLength;
    o.sound_size = o.bitmap_size + 4 + f.Bitmap.size();
    o.background_size = o.sound_size + 4 + (f.HasSound() ? f.Sound.size() : 0);
    o.end = o.background_size + 4 + f.Background.size();
    return o;
}
std::size_t CardField(int def, int field) { return 4 + def * kvt::kCardRecordBytes + 2 * field; }

// One well-formed file and its damaged variants, for the .cds targets.
void CardSetSeeds(const std::string& stem, const CardSetFile& f) {
    const std::string good = kvt::EncodeCardSetFile(f);
    const Offsets o = OffsetsOf(f);
    std::vector<std::pair<std::string, std::string>> seeds = {
        {"ok", good},
        {"cut-in-tag", good.substr(0, 1)},
        {"cut-in-card", good.substr(0, CardField(40, 3))},
        {"cut-in-texts", good.substr(0, o.text2 + 1)},
        {"cut-in-title", good.substr(0, o.title + 7)},
        {"cut-in-bitmap", good.substr(0, o.bitmap_size + 4 + f.Bitmap.size() / 2)},
        {"cut-before-background-size", good.substr(0, o.background_size + 2)},
        {"cut-last-byte", good.substr(0, good.size() - 1)},
        {"trailing-bytes", good + "xyz"},
        {"bitmap-size-negative", Patched(good, o.bitmap_size, I32(-1))},
        {"bitmap-size-huge", Patched(good, o.bitmap_size, I32(0x7fffffff))},
        {"bitmap-size-zero", Patched(good, o.bitmap_size, I32(0))},
        {"sound-size-one", Patched(good, o.sound_size, I32(1))},
        {"sound-size-negative", Patched(good, o.sound_size, I32(-2))},
        {"sound-size-past-end", Patched(good, o.sound_size, I32(1 << 20))},
        {"background-size-past-end", Patched(good, o.background_size, I32(1 << 24))},
        {"background-size-negative", Patched(good, o.background_size, I32(-100))},
        {"text-length-negative", Patched(good, o.text1, I16(-1))},
        {"text-length-past-end", Patched(good, o.author, I16(0x7fff))},
        {"group-out-of-range", Patched(good, CardField(0, 0), I16(31))},
        {"picture-row-negative", Patched(good, CardField(1, 7), I16(-1))},
        {"deck-too-large", Patched(good, CardField(2, 6), I16(400))},
        {"copies-negative", Patched(good, CardField(3, 6), I16(-32768))},
    };
    for (const auto& [name, bytes] : seeds) {
        Put("cds_decode", stem + "-" + name, bytes);
        Put("cds_load", stem + "-" + name, bytes);
    }
}

void DefinitionSeeds(const std::string& stem, const CardSetDef& def) {
    const std::string good = kvt::EncodeCardSetDef(def);
    const std::size_t text1 = 2 + kvt::kCardDefCount * kvt::kCardRecordBytes;
    Put("cdf_decode", stem + "-ok", good);
    Put("cdf_decode", stem + "-cut", good.substr(0, good.size() - 3));
    Put("cdf_decode", stem + "-trailing", good + "!");
    Put("cdf_decode", stem + "-text-length-negative", Patched(good, text1, I16(-5)));
    Put("cdf_decode", stem + "-group-out-of-range", Patched(good, 2, I16(-1)));
    Put("cdf_decode", stem + "-deck-too-small", good.substr(0, 2) + std::string(81 * 20, '\0') +
                                                     good.substr(2 + 81 * 20));
}

void ProfileSeeds() {
    // Selector byte, value, NUL, file.
    const auto seed = [](const std::string& name, unsigned char selector, const std::string& value,
                         const std::string& file) {
        Put("profile_read", name, std::string(1, static_cast<char>(selector)) + value + std::string(1, '\0') + file);
    };
    const std::string typical =
        "[Misc]\nLeft= 120\nTop= 80\nSort=-1\nPlayerSounds=-1\nBackMusic= 0\nViewer= 0\n"
        "PlaySpeed= 3\nCardFile=/home/player/.local/share/kvt/CurCards.cdf\nHome=/home/player\n\n"
        "[Players]\nPlayersFile=/home/player/players.txt\n";
    seed("typical-replace", 4 * 7, "/tmp/other.cds", typical);
    seed("typical-new-key", 1, " 42", typical);
    seed("typical-new-section", 2, "x", typical);
    seed("empty-file", 0, " 0", "");
    seed("crlf", 4 * 2, "-1", "[MISC]\r\nsort = 0\r\n; comment\r\n# other comment\r\n");
    seed("no-final-newline", 4 * 8, "abc", "[Misc]\nCardFile=old");
    seed("duplicate-sections", 0x80 | (1 << 3), "new", "[Misc]\na=1\n[Misc]\nb=2\n[misc]\nA=3\n");
    seed("odd-lines", 0x80, "v", "junk\n=\n[\n]\n[]\nkey\n==x\n [ spaced ] \n  k  =  v  \n");
    seed("long-value", 4 * 7, std::string(300, 'L'), typical);
    seed("refused-value", 4 * 7, "two\nlines", typical);
    seed("numbers", 4 * 6, "+12", "[Misc]\nPlaySpeed=99999999999999999999\nLeft=-2147483649\nTop=+\n");
    seed("global-keys", 0x81, "g", "before=1\n[Misc]\nafter=2\n");
}

// Player files: a few well-formed ones and damaged variants.
kvt::PlayerFileContents Player(const std::string& name, std::size_t picture,
                               std::vector<std::pair<std::string, std::size_t>> clips) {
    kvt::PlayerFileContents f;
    f.Header.Name = name;
    f.Header.TraitA = 60;
    f.Header.TraitB = 2;
    f.Header.TraitC = 40;
    f.Header.TraitD = 3;
    f.Header.SoundChance = 50;
    f.Picture = "BM" + std::string(picture > 2 ? picture - 2 : 0, 'p');
    f.Header.PictureSize = static_cast<std::int32_t>(f.Picture.size());
    std::int16_t index = 1;
    for (auto& [clip, size] : clips) {
        kvt::PlayerClip c;
        c.Entry.SoundIndex = index++;
        c.Entry.FileName = clip;
        c.Bytes = "RIFF" + std::string(size, 'c');
        c.Entry.Length = static_cast<std::int32_t>(c.Bytes.size());
        f.Clips.push_back(std::move(c));
    }
    return f;
}

std::string RawEntry(std::int16_t index, const std::string& name, std::int32_t length, const std::string& clip) {
    return I16(index) + I16(static_cast<std::int16_t>(name.size())) + name + I32(length) + clip;
}

void PlayerSeeds() {
    const auto put = [](const std::string& name, const std::string& bytes) { Put("dpf_load", name, bytes); };
    const kvt::PlayerFileContents ada = Player("Ada", 40, {{"Sel1.wav", 8}, {"lg1.wav", 12}, {"wg1.wav", 4}});
    const std::string good = kvt::EncodePlayerFile(ada);
    const std::size_t picture_size = 4 + 2 + ada.Header.Name.size();
    const std::size_t clips = picture_size + 4 + 16 + ada.Picture.size();
    put("ada", good);
    put("bare", kvt::EncodePlayerFile(Player("Bare", 10, {})));
    put("empty-name-empty-picture", kvt::EncodePlayerFile(Player("", 0, {{"Sel1.wav", 0}})));
    put("odd-names", kvt::EncodePlayerFile(Player("\"Q\" \x01\xe9", 6, {{"x", 1}, {"x.tmp", 2}, {"\xc3\xa9t\xc3\xa9.wav", 1},
                                                                       {"Player.bmp.tmp", 1}, {std::string(64, 'n'), 0}})));
    put("cut-in-header", good.substr(0, 9));
    put("cut-in-picture", good.substr(0, clips - 10));
    put("cut-in-entry", good.substr(0, clips + 5));
    put("cut-in-clip", good.substr(0, good.size() - 2));
    put("name-length-negative", Patched(good, 4, I16(-2)));
    put("picture-size-negative", Patched(good, picture_size, I32(-1)));
    put("picture-size-past-end", Patched(good, picture_size, I32(1 << 20)));
    const std::string head = good.substr(0, clips);
    put("index-out-of-range", head + RawEntry(51, "a.wav", 1, "x"));
    put("index-negative", head + RawEntry(-1, "a.wav", 1, "x"));
    put("name-with-slash", head + RawEntry(1, "../a.wav", 1, "x"));
    put("name-with-backslash", head + RawEntry(1, "a\\b", 1, "x"));
    put("name-dot", head + RawEntry(1, ".hidden", 1, "x"));
    put("name-empty", head + RawEntry(1, "", 1, "x"));
    put("name-too-long", head + RawEntry(1, std::string(65, 'n'), 1, "x"));
    put("name-of-the-picture", head + RawEntry(1, "player.BMP", 1, "x"));
    put("name-repeated-other-case", head + RawEntry(1, "a.wav", 1, "x") + RawEntry(2, "A.WAV", 1, "y"));
    put("clip-size-negative", head + RawEntry(1, "a.wav", -1, ""));
    put("clip-size-past-end", head + RawEntry(1, "a.wav", 100, "x"));
    put("name-length-negative-in-entry", head + I16(1) + I16(-1));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR [default.cds]\n", argv[0]);
        return 2;
    }
    g_out = argv[1];

    kvt::CardSetDef sample = kvt::test::SampleCardSet();
    CardSetSeeds("sample", kvt::test::SampleCardSetFile(sample, 40, 0, 0));
    CardSetSeeds("sample-sound-background", kvt::test::SampleCardSetFile(sample, 64, 12, 9));
    DefinitionSeeds("sample", sample);

    kvt::CardSetDef texts = sample;
    texts.Text1 = "Four of a kind";
    texts.Text2 = "Wild cards count 20";
    texts.AuthorName = "KVT";
    texts.GameTitle = kvt::FitTitle("A title of exactly thirty char");
    texts.CardDefs[79] = kvt::test::Def(0, 20, kvt::kActionDrawLeft, 2, 4, 3, 0);
    texts.CardDefs[78] = kvt::test::Def(0, 0, kvt::kActionBackgroundCell, 0, 0, 3, 1);
    texts.CardDefs[77] = kvt::test::Def(5, 0, kvt::kActionNeverDealt, 0, 3, -1, -1);
    CardSetSeeds("texts", kvt::test::SampleCardSetFile(texts, 3, 1, 0));
    DefinitionSeeds("texts", texts);

    if (argc > 2) {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        kvt::CardSetFile shipped;
        if (kvt::Status s = kvt::DecodeCardSetFile(bytes, shipped); !s) {
            std::fprintf(stderr, "%s: %s\n", argv[2], s.message().c_str());
            return 1;
        }
        // Keep the definitions and the heads of the embedded files: a bitmap
        // or sound header is worth having, megabytes of pixels are not.
        shipped.Bitmap.resize(std::min<std::size_t>(shipped.Bitmap.size(), 96));
        if (shipped.HasSound()) {
            shipped.Sound.resize(std::min<std::size_t>(shipped.Sound.size(), 64));
            shipped.SoundSize = static_cast<std::int32_t>(shipped.Sound.size());
        }
        shipped.Background.resize(std::min<std::size_t>(shipped.Background.size(), 32));
        CardSetSeeds("default", shipped);
        DefinitionSeeds("default", shipped.Def);
    }
    ProfileSeeds();
    PlayerSeeds();
    return 0;
}
