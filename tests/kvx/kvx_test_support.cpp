#include "kvx_test_support.h"

#include <gtest/gtest.h>

#include "players/player_test_support.h"

namespace kvt::kvx::testing {

namespace {

using players_test::FakeBytes;

void SetTagAndHeader(CardSetFile& file, std::string_view tag) {
    for (int i = 0; i < 4; ++i) file.Tag[i] = tag[i];
    file.Def.Header = static_cast<std::int16_t>(static_cast<unsigned char>(tag[2]) |
                                                static_cast<unsigned char>(tag[3]) << 8);
}

}  // namespace

CardSetFile PlainCardSet() {
    CardSetFile file;
    file.Def = kvt::test::SampleCardSet();  // groups 1..4 of 1..9, two of each
    SetTagAndHeader(file, "KVTC");
    file.Def.CardDefs[36] = kvt::test::Def(0, 50, kActionDrawDeck, 4, 4, 4, 0);
    file.Def.CardDefs[37] = kvt::test::Def(1, 20, kActionSkip, 0, 1, 4, 1);
    file.Def.CardDefs[38] = kvt::test::Def(2, 20, kActionReverse, 0, 1, 4, 2);
    file.Def.CardDefs[80] = kvt::test::Def(0, 0, kActionCardBack, 0, 0, 4, 9);
    file.Def.GameTitle = FitTitle("Four Corners");
    file.Def.AuthorName = "The KVT developers";
    file.Bitmap = FakeBytes("BM", 3000);
    file.Sound = FakeBytes("RIFF", 500);
    file.SoundSize = static_cast<std::int32_t>(file.Sound.size());
    return file;
}

CardSetFile OddCardSet() {
    CardSetFile file = PlainCardSet();
    SetTagAndHeader(file, std::string_view("Z\x01\xFF\x80", 4));
    file.Def.GameTitle = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    file.Def.Text1 = "Say \"hi\" \\ then\r\nnew line\tand caf\xE9 \x01\x7F\xFF";
    file.Def.Text2 = std::string("#not a comment = [card 3]\0end", 29);
    file.Def.AuthorName = "M\xFCller & O'Brien";
    file.Def.CardDefs[0].Reserved1 = -1;
    file.Def.CardDefs[0].Reserved2 = -32768;
    file.Def.CardDefs[1].Reserved2 = 32767;
    file.Def.CardDefs[2].Playable = 1;
    file.Def.CardDefs[3].Playable = -7;
    file.Def.CardDefs[79] = kvt::test::Def(0, 0, kActionBackgroundCell, 0, 0, 4, 8);
    file.Sound.clear();
    file.SoundSize = 1;
    file.Background = FakeBytes("BM\0\0", 1234);
    return file;
}

CardSetFile SparseCardSet() {
    CardSetFile file;
    SetTagAndHeader(file, "KVTC");
    file.Def.CardDefs[5] = kvt::test::Def(3, 7, kActionDiscard, 0, 30, 0, 0);
    file.Def.CardDefs[6] = kvt::test::Def(0, 0, kActionNeverDealt, 2, 99, -1, -1);
    file.Def.CardDefs[7] = kvt::test::Def(2, 1, 11, 3, 0, 0, 1);  // unknown action, no copies
    file.Def.CardDefs[8] = kvt::test::Def(-5, -2, kActionDiscard, 0, -4, -3, -3);  // never in the deck
    file.Def.CardDefs[40] = kvt::test::Def(30, 1, kActionPassAcross, 2, 1, 1, 0);
    file.Def.GameTitle = std::string(kTitleLength, '\0');
    file.Bitmap = "B";
    file.SoundSize = 0;
    file.Background = FakeBytes("BM", 64);
    return file;
}

std::string MinimalManifest(std::string_view extra) {
    return "format = 1\ntag = \"KVTC\"\ntitle = \"Minimal\"\nbitmap = \"cards.bmp\"\n\n"
           "[card 0]\ngroup = 1\nvalue = 1\naction = discard\ncopies = 30\n" + std::string(extra);
}

std::string Replace(std::string text, std::string_view from, std::string_view to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace kvt::kvx::testing
