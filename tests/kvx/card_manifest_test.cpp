#include "tools/kvx/card_manifest.h"

#include <gtest/gtest.h>

#include "kvx_test_support.h"

namespace kvt::kvx {
namespace {

using testing::MinimalManifest;

TEST(CardManifestFormatTest, WritesTheTopSectionEveryCardAndRareFieldsOnlyWhenSet) {
    const std::string text = FormatCardManifest(ManifestForCardSet(testing::PlainCardSet()));
    EXPECT_TRUE(text.starts_with("# KVT card set\nformat = 1\ntag = \"KVTC\"\ntitle = \"Four Corners                  \"\n"
                                 "author = \"The KVT developers\"\ntext1 = \"\"\ntext2 = \"\"\n"
                                 "bitmap = \"cards.bmp\"\nsound = \"open.wav\"\nbackground = \"\"\n"))
        << text;
    for (int d = 0; d < kCardDefCount; ++d)
        EXPECT_NE(text.find("\n[card " + std::to_string(d) + "]\n"), std::string::npos) << d;
    for (const char* part : {"[card 0]\n# group 1, value 1, 2 copies: plain card\ngroup = 1\nvalue = 1\n"
                             "action = discard\ncount = 0\ncopies = 2\nrow = 0\ncol = 0\n",
                             "[card 36]\n# wild, value 50, 4 copies: the next player draws 4 from the deck\n",
                             "[card 50]\n# empty\n\n[card 51]", "[card 80]\n# card back at row 4, column 9\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n--- in:\n" << text;
    // Rarely used fields are written only when set.
    for (const char* rare : {"reserved1", "playable", "sound-size"}) EXPECT_EQ(text.find(rare), std::string::npos);
    const std::string odd = FormatCardManifest(ManifestForCardSet(testing::OddCardSet()));
    for (const char* set : {"col = 0\nreserved1 = -1\nreserved2 = -32768\n\n[card 1]",
                            "col = 2\nplayable = 1\n\n[card 3]", "tag = \"Z\\x01\\xFF\\x80\"\n",
                            "sound = \"\"\nsound-size = 1\nbackground = \"background.bmp\"\n"})
        EXPECT_NE(odd.find(set), std::string::npos) << set << "\n--- in:\n" << odd;
}

TEST(CardManifestParseTest, MissingKeysAndSectionsAreZeroAndOptionalKeysAreRead) {
    CardManifest m;
    Status s = ParseCardManifest(MinimalManifest("[card 80]\naction = card-back\n"), m);
    ASSERT_TRUE(s) << s.message();
    EXPECT_EQ(m.Def.CardDefs[0], kvt::test::Def(1, 1, kActionDiscard, 0, 30));
    EXPECT_EQ(m.Def.CardDefs[1], Card{});
    EXPECT_EQ(m.Def.CardDefs[80].Action, kActionCardBack);
    EXPECT_EQ(std::tuple(m.Def.AuthorName, m.SoundFile, m.SoundSizeWithoutSound, m.BackgroundFile), std::tuple("", "", 0, ""));

    s = ParseCardManifest("format = 1\ntag = \"KVTC\"\ntitle = \"T\"\nauthor = \"Ann\"\ntext1 = \"one\\n\"\n"
                          "text2 = \"two\"\nbitmap = \"faces.bmp\"\nsound = \"\"\nsound-size = 1\n"
                          "background = \"table.bmp\"\n",
                          m);
    ASSERT_TRUE(s) << s.message();
    EXPECT_EQ(std::tuple(m.Def.AuthorName, m.Def.Text1, m.Def.Text2, m.BitmapFile, m.SoundSizeWithoutSound, m.BackgroundFile),
              std::tuple("Ann", "one\n", "two", "faces.bmp", 1, "table.bmp"));
}

TEST(CardManifestParseTest, PadsTheTitleAndTakesTheHeaderFromTheTag) {
    CardManifest m;
    std::string text = MinimalManifest();
    text.replace(text.find("\"KVTC\""), 6, "\"AB\\x34\\x12\"");
    ASSERT_TRUE(ParseCardManifest(text, m));
    EXPECT_EQ(std::tuple(m.Def.GameTitle, m.Def.Header), std::tuple("Minimal                       ", 0x1234));
    EXPECT_EQ(m.Tag, (std::array<char, 4>{'A', 'B', '\x34', '\x12'}));
}

TEST(CardManifestParseTest, AcceptsSectionsInAnyOrderAndNumericActions) {
    CardManifest m;
    const Status s = ParseCardManifest(
        MinimalManifest("[card 9]\naction = 42\ncount = -3\n[card 2]\naction = pass-right\n"
                        "  group=7   # lucky\nreserved2 = 5\nplayable = 1\n[card 3]\n"),
        m);
    ASSERT_TRUE(s) << s.message();
    EXPECT_EQ(std::tuple(m.Def.CardDefs[9].Action, m.Def.CardDefs[9].ActionCount), std::tuple(42, -3));
    EXPECT_EQ(std::tuple(m.Def.CardDefs[2].Action, m.Def.CardDefs[2].Group, m.Def.CardDefs[2].Reserved2, m.Def.CardDefs[2].Playable),
              std::tuple(kActionPassRight, 7, 5, 1));
    EXPECT_EQ(m.Def.CardDefs[3], Card{});
}

TEST(ActionNameTest, NamesRoundTripAndUnknownCodesAreNumbers) {
    const std::pair<int, const char*> names[] = {{kActionNone, "again"}, {kActionDrawAcross, "draw-across"},
                                                 {kActionNeverDealt, "never-dealt"}, {11, "11"}, {-1, "-1"},
                                                 {kActionBackgroundCell, "background-cell"}, {kActionCardBack, "card-back"}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(ActionName(code), name);
    for (int code = -40; code <= 140; ++code) {
        std::int16_t back = -999;
        ASSERT_TRUE(ParseActionName(ActionName(code), back)) << code;
        EXPECT_EQ(back, code);
    }
    std::int16_t action = 0;
    for (const char* bad : {"Discard", "pass_left", "40000", ""}) EXPECT_FALSE(ParseActionName(bad, action)) << bad;
}

}  // namespace
}  // namespace kvt::kvx
