#include <gtest/gtest.h>

#include "engine/card_text.h"
#include "test_support.h"

namespace kvt::test {
namespace {

constexpr std::size_t kText1Length = 1624;

// Stores `v` at `at` as `size` little-endian bytes.
void Put(std::string& bytes, std::size_t at, std::int32_t v, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

// Offset of the bitmap size in a file whose three texts are empty.
constexpr std::size_t kBitmapSizeAt = 1660;

TEST(CardSetCodec, FileAndWorkingDefinitionRoundTripFieldByFieldAndEveryCutIsRefused) {
    CardSetDef def = SampleCardSet();
    std::tie(def.Text1, def.Text2, def.AuthorName) = std::tuple("first", std::string("\x80\xff quoted \"", 10), "A. Uthor");
    std::tie(def.CardDefs[3].Reserved1, def.CardDefs[3].Playable) = std::tuple(-5, 1);
    // A sound size of 1 carries no bytes, like 0: the next belong to the background's size.
    for (const std::int32_t sound : {40, 0, 1}) {
        SCOPED_TRACE(sound);
        CardSetFile file = SampleCardSetFile(def, 3000, sound, 17);
        file.Tag = {'X', 'Y', 0, 0};
        const std::string bytes = EncodeCardSetFile(file);
        CardSetFile back;
        ASSERT_TRUE(DecodeCardSetFile(bytes, back).ok());
        EXPECT_EQ(std::tuple(back.Def, back.Bitmap, back.SoundSize, back.HasSound(), back.Sound, back.Background, back.Tag),
                  std::tuple(def, file.Bitmap, sound, sound > 1, file.Sound, file.Background, file.Tag));
        EXPECT_EQ(EncodeCardSetFile(back), bytes);
        for (std::size_t n = 0; n < bytes.size(); ++n)
            EXPECT_FALSE(DecodeCardSetFile(std::string_view(bytes).substr(0, n), back).ok()) << "cut at " << n;
    }
    const std::string def_bytes = EncodeCardSetDef(def);
    CardSetDef def_back;
    ASSERT_TRUE(DecodeCardSetDef(def_bytes, def_back).ok());
    EXPECT_EQ(def_back, def);
    for (const std::string& bad : {def_bytes.substr(0, def_bytes.size() - 1), def_bytes + "x"})
        EXPECT_FALSE(DecodeCardSetDef(bad, def_back).ok());
}

TEST(CardSetCodec, LayoutIsLittleEndianAtTheDocumentedOffsets) {
    CardSetDef def = SampleCardSet();
    std::tie(def.Header, def.CardDefs[0].Value, def.AuthorName) = std::tuple(0x0201, 0x0403, "ab");
    const std::string bytes = EncodeCardSetFile(SampleCardSetFile(def, 5, 0, 0));
    EXPECT_EQ(bytes.substr(2, 2), "\x01\x02");              // header = tag bytes 2-3
    EXPECT_EQ(bytes.substr(4 + 2, 2), "\x03\x04");          // definition 0, Value
    EXPECT_EQ(bytes.substr(1628, 4), std::string("\x02\0ab", 4));  // author after two empty texts
    EXPECT_EQ(bytes.substr(1632, 6), "Sample");             // title
    EXPECT_EQ(bytes.substr(kBitmapSizeAt + 2, 4), std::string("\x05\0\0\0", 4));
    EXPECT_EQ(bytes.size(), kBitmapSizeAt + 2 + 4 + 5 + 4 + 4);
}

// In the hostile sample the author is "Tests", the bitmap 100 bytes, the sound 10.
constexpr std::size_t kSampleBitmapSizeAt = kBitmapSizeAt + 5;
constexpr std::size_t kSampleSoundSizeAt = kSampleBitmapSizeAt + 4 + 100;
constexpr std::size_t kSampleBackgroundSizeAt = kSampleSoundSizeAt + 4 + 10;

void SetDef(std::string& bytes, int d, int field, std::int16_t v) { Put(bytes, 4 + d * 20 + field * 2, v, 2); }

TEST(CardSetCodec, HostileFilesAreRefusedWithAPreciseMessage) {
    struct Hostile {
        const char* name;
        void (*mutate)(std::string& bytes);
        const char* message;
    };
    const Hostile cases[] = {
        {"NegativeTextLength", [](std::string& b) { Put(b, kText1Length, -3, 2); },
         "length of the first carried text is negative"},
        {"TextPastTheEnd", [](std::string& b) { Put(b, kText1Length, 30000, 2); }, "runs past the end"},
        {"NegativeBitmap", [](std::string& b) { Put(b, kSampleBitmapSizeAt, -1, 4); },
         "size of the card bitmap is negative"},
        {"HugeBitmap", [](std::string& b) { Put(b, kSampleBitmapSizeAt, 0x7fffffff, 4); },
         "card bitmap runs past the end"},
        {"EmptyBitmap",
         [](std::string& b) { Put(b, kSampleBitmapSizeAt, 0, 4); b.erase(kSampleBitmapSizeAt + 4, 100); },
         "card bitmap is empty"},
        {"NegativeSound", [](std::string& b) { Put(b, kSampleSoundSizeAt, -7, 4); }, "opening sound is negative"},
        {"NegativeBackground", [](std::string& b) { Put(b, kSampleBackgroundSizeAt, -2, 4); },
         "table background is negative"},
        {"TrailingBytes", [](std::string& b) { b += "junk"; }, "4 unexpected bytes"},
        {"DeckOverCapacity", [](std::string& b) { SetDef(b, 0, 6, 400); }, "deck holds at most 401"},
        {"DeckTooSmall", [](std::string& b) { for (int d = 0; d < 36; ++d) SetDef(b, d, 6, d == 0 ? 28 : 0); },
         "only 28 cards"},
        {"NegativePicture", [](std::string& b) { SetDef(b, 5, 8, -1); }, "negative picture position"}};
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = EncodeCardSetFile(SampleCardSetFile(SampleCardSet(), 100, 10, 10));
        c.mutate(bytes);
        CardSetFile out;
        out.Def.AuthorName = "untouched";
        const Status s = DecodeCardSetFile(bytes, out);
        EXPECT_NE(s.message().find(c.message), std::string::npos) << s.message();
        EXPECT_EQ(out.Def.AuthorName, "untouched");
    }
}

// Copies of never-dealt and non-positive definitions do not count, and every
// group number the format carries is valid.
TEST(CardSetCodec, ValidationCountsOnlyDealtCopiesAndTakesAnyGroup) {
    CardSetDef def = SampleCardSet();
    def.CardDefs[70] = Def(1, 1, kActionNeverDealt, 0, 500);
    def.CardDefs[71] = Def(1, 1, kActionDiscard, 0, -4);
    EXPECT_EQ(DeckSize(def), 72);
    for (int group : {1, 31, 255, 32767, -1, -32768}) {
        def.CardDefs[5].Group = static_cast<std::int16_t>(group);
        EXPECT_TRUE(ValidateCardSetDef(def).ok()) << group;
    }
}

TEST(CardText, ShortTextNamesThePlainCardByValueAndAnActionByNameAndCount) {
    EXPECT_EQ((std::vector<std::string>{ShortCardText(Def(2, 7, kActionDiscard, 0, 1)),
                                        ShortCardText(Def(3, 7, kActionDiscard, 1, 1)),
                                        ShortCardText(Def(0, 50, kActionSkip, 0, 1)),
                                        ShortCardText(Def(4, 9, kActionDrawLeft, 2, 1)), ShortCardText(Def(1, 1, 77, 0, 1))}),
              (std::vector<std::string>{"2:7", "3:discard1", "wild:skip", "4:draw-left2", "1:77"}));
}

}  // namespace
}  // namespace kvt::test
