// Card stacks, the moves between them, and building, shuffling and dealing the deck; then
// card-set files: the format, its refusals, and loading a set into the working files.

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "core/seats.h"
#include "engine/card_set_switch.h"
#include "engine/card_text.h"
#include "engine/working_files.h"
#include "platform/settings_keys.h"
#include "test_support.h"

namespace kvt::test {
namespace {

// A stack of n cards numbered from `first_value` up.
CardStack Numbered(int n, int first_value = 1) {
    CardStack stack;
    for (int i = 0; i < n; ++i) stack.Push(NumberedCard(first_value + i));
    return stack;
}

// The seat a take is from: right, left or across of the taker; none for other actions.
TEST(Seats, NeighboursWrapAroundTheTableAndATakeIsFromTheSeatItNames) {
    EXPECT_EQ((std::vector<int>{LeftOf(4), RightOf(1), AcrossFrom(3), AcrossFrom(4), AcrossFrom(1), NextSeat(4, 0),
                                NextSeat(1, 1), NextSeat(2, 1), WrapSeat(0), WrapSeat(6),
                                Game::SourcePlayer(1, kActionDrawRight), Game::SourcePlayer(4, kActionDrawLeft),
                                Game::SourcePlayer(3, kActionDrawAcross), Game::SourcePlayer(4, kActionDrawAcross),
                                Game::SourcePlayer(1, kActionSkip)}),
              (std::vector<int>{1, 4, 1, 2, 3, 1, 4, 1, 4, 2, 4, 1, 1, 2, 0}));
}

class MoveCardTest : public ::testing::Test {
protected:
    TableFixture table;
    Game& game = *table.game;
};

TEST_F(MoveCardTest, MovingSlotZeroShiftsTheOthersDownAndPushesOnTop) {
    CardStack from = Numbered(3, 10), to = Numbered(2);
    EXPECT_EQ(game.MoveCard(from, to, 0, false), 0);
    EXPECT_EQ(std::tuple(ValuesOf(from), ValuesOf(to)), std::tuple(std::vector<int>{11, 12}, std::vector<int>{1, 2, 10}));
    from = Numbered(1);
    game.MoveCard(from, to, 0, false);
    EXPECT_EQ(std::tuple(from.Empty(), to.Top().Value), std::tuple(true, 1)) << "moving the last card empties the source";
    // An assigned stack holds the live cards, wherever they started, and no more.
    from = Numbered(2, 11);
    to = Numbered(5, 20);
    to = from;
    EXPECT_EQ(std::tuple(ValuesOf(to), to == from), std::tuple(std::vector<int>{11, 12}, true));
    to.Push(from[0]);
    EXPECT_EQ(ValuesOf(to), (std::vector<int>{11, 12, 11}));
}

TEST_F(MoveCardTest, InsertAtPutsACardBeforeTheSlotAndRefusesAFullStack) {
    CardStack hand = Numbered(3), full = Numbered(CardStack::Capacity);
    for (const int slot : {0, 2, 5}) hand.InsertAt(slot, NumberedCard(90 + slot));
    EXPECT_EQ(ValuesOf(hand), (std::vector<int>{90, 1, 92, 2, 3, 95}));
    EXPECT_FALSE(full.InsertAt(0, NumberedCard(1)));
    EXPECT_EQ(full.Count(), CardStack::Capacity);
    // Drawn from the top, the live slots start further on; a card pushed
    // when they reach the array's end moves them back to its start.
    for (int drawn = 1; drawn <= 3; ++drawn) EXPECT_EQ(full.RemoveAt(0).Value, drawn);
    ASSERT_TRUE(full.Push(NumberedCard(900)));
    std::vector<int> kept(CardStack::Capacity - 3);
    std::iota(kept.begin(), kept.end(), 4);
    kept.push_back(900);
    EXPECT_EQ(ValuesOf(full), kept);
}

TEST_F(MoveCardTest, NothingMovesFromEmptyOrIntoFullOrFromAMissingSlot) {
    CardStack empty, full = Numbered(CardStack::Capacity), some = Numbered(2);
    for (const auto& [from, to, slot, play] : {std::tuple{&empty, &some, 0, true}, {&some, &full, 0, false},
                                               {&some, &empty, 2, false}, {&some, &empty, -1, false}})
        EXPECT_EQ(game.MoveCard(*from, *to, slot, play), 0) << slot;
    EXPECT_EQ(std::tuple(empty.Count(), some.Count(), full.Count(), full.Full()), std::tuple(0, 2, CardStack::Capacity, true));
    EXPECT_FALSE(full.Push(NumberedCard(1))) << "a push stops at the capacity";
    some.Resize(CardStack::Capacity + 5);
    EXPECT_EQ(std::tuple(full.Count(), some.Count()), std::tuple(CardStack::Capacity, CardStack::Capacity));
    some.Resize(-1);
    EXPECT_TRUE(some.Empty()) << "a size is clamped to the stack's room";
}

class DrawFromDeckTest : public MoveCardTest {};

TEST_F(DrawFromDeckTest, EmptyDeckIsRebuiltShuffledFromAllButTheTopOfThePileOfMoreThanOne) {
    int rebuilt = 0, shuffled = 0;
    game.SetEventListener([&](const Event& e) {
        rebuilt += e.kind == EventKind::DeckRebuilt;
        shuffled += e.kind == EventKind::DeckShuffled;
    });
    // A pile of one card, or none, is not made into a deck.
    for (int pile : {5, 12, 1, 0}) {
        SCOPED_TRACE(pile);
        const int drawn = pile > 1 ? 1 : 0;
        game.DrawDeck.Clear();
        game.DiscardPile = Numbered(pile, 100);
        CardStack hand;
        rebuilt = shuffled = 0;
        game.DrawFromDeck(hand);
        ASSERT_EQ(std::tuple(rebuilt, shuffled, game.DrawDeck.Count(), game.DiscardPile.Count(), hand.Count()),
                  std::tuple(drawn, drawn, std::max(pile - 2, 0), std::min(pile, 1), drawn));
        if (!drawn) continue;
        EXPECT_EQ(game.DiscardPile.Top().Value, 100 + pile - 1) << "the top card stays";
        std::vector<int> back = ValuesOf(game.DrawDeck);
        back.insert(back.begin(), hand.Top().Value);  // drawn from slot 0
        EXPECT_TRUE(pile != 12 || !std::is_sorted(back.begin(), back.end())) << "shuffled";
        std::sort(back.begin(), back.end());
        std::vector<int> expected(pile - 1);
        std::iota(expected.begin(), expected.end(), 100);
        EXPECT_EQ(back, expected);
    }
}

const std::vector<int> kFullHands(4, kHandSize);

class Dealing : public MoveCardTest {
protected:
    void SetUp() override { game.CardSet = SampleCardSet(); }
};

TEST_F(Dealing, BuildDeckFollowsCopiesInDefinitionOrder) {
    CardSetDef set;
    std::tie(set.CardDefs[0], set.CardDefs[1], set.CardDefs[2], set.CardDefs[3], set.CardDefs[4]) =
        std::tuple(Def(1, 10, kActionDiscard, 0, 2), Def(2, 20, kActionDiscard, 0, 0), Def(3, 30, kActionSkip, 0, 3),
                   Def(4, 40, kActionNeverDealt, 0, 4), Def(4, 50, kActionCardBack, 0, 1));
    game.BuildDeck(set);
    EXPECT_EQ(ValuesOf(game.DrawDeck), (std::vector<int>{10, 10, 30, 30, 30, 50}))
        << "code 13 is never dealt; a card back with copies is";
    EXPECT_EQ(game.DrawDeck[2], set.CardDefs[2]) << "whole definition records are copied";

    // The deck is built again from any change of the definitions, a work
    // mark included, and from the same definitions gives the same deck.
    const CardStack first = game.DrawDeck;
    set.CardDefs[0].Copies = 1;
    game.BuildDeck(set);
    EXPECT_EQ(game.DrawDeck.Count(), first.Count() - 1);
    std::tie(set.CardDefs[0].Copies, set.CardDefs[2].Playable) = std::tuple(2, 1);
    game.BuildDeck(set);
    EXPECT_EQ(game.DrawDeck[2].Playable, 1);
    set.CardDefs[2].Playable = 0;
    game.DrawDeck.Clear();
    game.BuildDeck(set);
    EXPECT_EQ(game.DrawDeck, first);
}

// Every order seen is one of the 24 of a four-card deck: no card is lost or
// made. A single card is not shuffled and gives no notice.
TEST_F(Dealing, ShuffleGivesEveryOrderTheSameChanceAndTwoCardsAreShuffled) {
    constexpr int kTrials = 24000;
    std::map<std::vector<int>, int> seen;
    for (int t = 0; t < kTrials; ++t) {
        CardStack deck;
        for (int v = 1; v <= 4; ++v) deck.Push(NumberedCard(v));
        game.ShuffleStack(deck);
        ++seen[ValuesOf(deck)];
    }
    ASSERT_EQ(seen.size(), 24u);
    const double expected = kTrials / 24.0;
    double chi2 = 0;
    for (const auto& [order, n] : seen) chi2 += (n - expected) * (n - expected) / expected;
    // 23 degrees of freedom: 41.64 is the 1% critical value.
    EXPECT_LT(chi2, 41.64);
    int notices = 0, swapped = 0;
    game.SetEventListener([&notices](const Event& e) { notices += e.kind == EventKind::DeckShuffled; });
    CardStack one;
    one.Push(NumberedCard(1));
    game.ShuffleStack(one);
    for (int i = 0; i < 64; ++i) {
        CardStack two = one;
        two.Push(NumberedCard(2));
        game.ShuffleStack(two);
        swapped += two[0].Value == 2;
    }
    EXPECT_TRUE(swapped > 0 && swapped < 64 && notices == 64) << swapped << " swapped; notices " << notices;
}

// A wild first discard is covered by a second card unless the rule says not
// to; a plain first discard stays alone whatever the rule.
TEST_F(Dealing, FirstDiscardRules) {
    const std::tuple<FirstDiscardRule, Card, int> cases[] = {
        {FirstDiscardRule::kWildOrPlain, Def(0, 50, kActionDiscard, 0, 1), 2},
        {FirstDiscardRule::kWild, Def(0, 50, kActionDiscard, 0, 1), 2},
        {FirstDiscardRule::kNoSecondCard, Def(0, 50, kActionDiscard, 0, 1), 1},
        {FirstDiscardRule::kWildOrPlain, Def(2, 6, kActionNone, 0, 1), 1}};
    for (const auto& [rule, first, pile] : cases) {
        game.ResetHands();
        game.DrawDeck.Clear();
        game.DrawDeck.Push(first);
        game.DrawDeck.Push(Def(2, 5, kActionNone, 0, 1));
        game.TurnUpFirstCard(rule);
        EXPECT_EQ(game.DiscardPile.Count(), pile) << static_cast<int>(rule) << " " << first.Group;
    }
}

// A new game resets the scores and keeps the turn and direction; each deals
// afresh (the first card turned up is not always the same).
TEST_F(Dealing, NewGameDealsAfreshAndDealForPlayersDealsOnce) {
    std::tie(game.CurPlayer, game.StartPlayer, game.PlayReversed) = std::tuple(3, 2, 1);
    game.CardSet.CardDefs[40] = Def(0, 50, kActionDiscard, 0, 20);  // many wild cards
    int wild_tops = 0;
    for (int g = 0; g < 300; ++g) {
        std::tie(game.RoundNum, game.Scores[3]) = std::tuple(4, 120);
        game.NewGame();
        const bool first_was_wild = game.DiscardPile[0].IsWild();
        ASSERT_EQ(std::tuple(HandCounts(game), game.DiscardPile.Count(), game.CurPlayer, game.StartPlayer,
                             game.PlayReversed, game.RoundNum, game.Scores[3], AllCards(game).size()),
                  std::tuple(kFullHands, first_was_wild ? 2 : 1, 3, 2, 1, 0, 0, 92u));
        wild_tops += first_was_wild;
    }
    EXPECT_TRUE(wild_tops > 0 && wild_tops < 300) << wild_tops;

    game.ResetHands();
    game.BuildDeck(game.CardSet);
    game.Scores[4] = 33;
    for (int deal = 0; deal < 2; ++deal) {
        game.DealForPlayers();
        EXPECT_EQ(std::tuple(HandCounts(game), AllCards(game).size()), std::tuple(kFullHands, 92u)) << deal;
        EXPECT_EQ(game.Scores[4], deal > 0 ? 0 : 33) << "the first deal keeps scores; a table in play starts afresh";
    }
}

TEST_F(Dealing, NextRoundReloadsAndHandsTheTurnToTheStartPlayer) {
    game.NewGame();
    std::tie(game.StartPlayer, game.LastMover, game.Scores[2]) = std::tuple(3, 4, 17);
    ASSERT_TRUE(game.NextRound(FirstDiscardRule::kNoSecondCard).ok());
    EXPECT_EQ(std::tuple(game.CurPlayer, game.DiscardPile.Count(), game.Scores[2]), std::tuple(3, 1, 17));
}

TEST_F(Dealing, AShortDeckOrAHandNearlyFullTakesWhatFitsAndNoCardIsLost) {
    game.DrawDeck.Clear();
    for (int v = 1; v <= 10; ++v) game.DrawDeck.Push(NumberedCard(v));
    game.DealHands();
    EXPECT_EQ(HandCounts(game), (std::vector<int>{3, 3, 2, 2}));
    game.ResetHands();
    game.BuildDeck(game.CardSet);
    while (game.Players[2].Count() < CardStack::Capacity - 3) game.Players[2].Push(NumberedCard(1));
    const std::size_t cards = AllCards(game).size();
    game.DealHands();
    EXPECT_EQ(std::tuple(game.Players[2].Count(), game.Players[1].Count(), AllCards(game).size()),
              std::tuple(CardStack::Capacity, kHandSize, cards));
}

// --- card-set files: the format, its refusals, and loading a set into the working files

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

class CardSetLoading : public ::testing::Test {
protected:
    TableFixture table;
    Game& game = *table.game;
    fs::path work = table.folders.AppDir;

    fs::path Write(const std::string& name, const CardSetFile& f) { return WriteCardSet(work.parent_path() / name, f); }
};

TEST_F(CardSetLoading, WritesTheFourWorkingFilesAndASetWithoutSoundOrBackgroundKeepsOnlyTheSound) {
    CardSetDef def = SampleCardSet();
    def.GameTitle = FitTitle("Loaded");
    const CardSetFile file = SampleCardSetFile(def, 2500, 300, 40);
    ASSERT_TRUE(game.LoadCardSetFile(Write("a.cds", file)).ok());
    EXPECT_EQ(game.CardSet, def);
    // The four working files and nothing else: no temporary file left.
    EXPECT_EQ(FilesIn(work), (std::map<std::string, std::string>{{files::kCardDefs, EncodeCardSetDef(def)},
                                 {files::kCardBitmap, file.Bitmap}, {files::kOpeningSound, file.Sound},
                                 {files::kBackground, file.Background}}));
    EXPECT_EQ(std::tuple(game.HasBackFile, game.BackFilePath), std::tuple(true, (work / files::kBackground).string()));
    for (std::int32_t s : {0, 1}) {
        ASSERT_TRUE(game.LoadCardSetFile(Write("b.cds", SampleCardSetFile(SampleCardSet(), 10, s, 0))).ok());
        EXPECT_EQ(std::tuple(ReadBytes(work / files::kOpeningSound), fs::exists(work / files::kBackground)),
                  std::tuple(file.Sound, false)) << "S = " << s;
    }
    EXPECT_TRUE(game.HasBackFile) << "only a background sets the flag; nothing clears it";
}

TEST_F(CardSetLoading, TheGaugeCountsWholeBlocksOfTheBitmapAndMovesUpToItsEnd) {
    // A small bitmap moves the gauge block by block; a large one in a bounded
    // number of rising steps, each letting window events through.
    for (const std::size_t bitmap : {std::size_t{2500}, std::size_t{1'000'500}}) {
        table.view.calls.clear();
        ASSERT_TRUE(game.LoadCardSetFile(Write("a.cds", SampleCardSetFile(SampleCardSet(), bitmap))).ok());
        const std::string maximum = "/" + std::to_string(bitmap / 1000);
        std::vector<int> values;
        std::vector<std::string> notice;
        for (const auto& c : table.view.calls) {
            if (c.rfind("Gauge", 0) == 0) {
                EXPECT_TRUE(c.ends_with(maximum)) << c;
                values.push_back(std::stoi(c.substr(6)));
            }
            if (c.find("Loading") != std::string::npos) notice.push_back(c);
        }
        ASSERT_FALSE(values.empty());
        EXPECT_EQ(std::tuple(notice, values.front(), values.back()),
                  std::tuple(std::vector<std::string>{"ShowLoading", "HideLoading"}, 0, static_cast<int>(bitmap / 1000)));
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()) &&
                    std::adjacent_find(values.begin(), values.end()) == values.end());
        if (bitmap < 100'000) EXPECT_EQ(values, (std::vector<int>{0, 1, 2}));
        else EXPECT_TRUE(values.size() > 100 && values.size() <= 129) << values.size();
    }
}

// A view that decodes: what it was asked to check, and when the check came into force.
class CheckingView : public LoadNotices {
public:
    std::vector<std::string> calls;
    std::string checked;
    bool refuse = false;

    std::string CardBitmapFault(std::uint64_t size, const BitmapReader& read) override {
        calls.push_back("check");
        checked.assign(size, '\0');
        if (!read(0, size, checked.data()) || read(size, 1, checked.data()) || read(1, size, checked.data()))
            return "reads wrongly";
        return refuse ? "not a picture" : "";
    }
    void BackgroundArriving(std::uint64_t size, const BitmapReader& read) override {
        std::string bytes(size, '\0');
        calls.push_back(read(0, size, bytes.data()) ? "background " + bytes : "unread background");
    }
    void PicturesInForce() override { calls.push_back("in force"); }
    void LoadCardBitmap(const std::string&) override { calls.push_back("load"); }
};

// A bitmap of a megabyte or more is checked while it is copied, a smaller one before.
TEST_F(CardSetLoading, TheBitmapIsCheckedOnceFromTheCardSetAndNamedInForceAfterTheSwitch) {
    for (const std::size_t bytes : {std::size_t{30'000}, std::size_t{1'500'000}}) {
        SCOPED_TRACE(bytes);
        CheckingView view;
        Game checked_game(table.folders, view, 7);
        const CardSetFile file = SampleCardSetFile(SampleCardSet(), bytes, 300, 40);
        ASSERT_TRUE(checked_game.LoadCardSetCommand(Write("a.cds", file)).ok());
        EXPECT_EQ(std::tuple(view.calls, view.checked),
                  std::tuple(std::vector<std::string>{"check", "background " + file.Background, "in force", "load"},
                             file.Bitmap));

        const auto before = FilesIn(work);
        view.calls.clear();
        view.refuse = true;
        const Status refused = checked_game.LoadCardSetCommand(Write("b.cds", SampleCardSetFile(SampleCardSet(), bytes)));
        EXPECT_NE(refused.message().find("not a picture"), std::string::npos) << refused.message();
        EXPECT_EQ(std::tuple(view.calls, FilesIn(work)), std::tuple(std::vector<std::string>{"check"}, before));
    }
}

TEST_F(CardSetLoading, ABadFileOrAFailedWriteHalfWayChangesNothing) {
    ASSERT_TRUE(game.LoadCardSetFile(Write("good.cds", SampleCardSetFile(SampleCardSet(), 3000, 80, 30))).ok());
    const auto before = FilesIn(work);
    const CardSetDef set_before = game.CardSet;

    const std::string whole = EncodeCardSetFile(SampleCardSetFile(SampleCardSet(), 3000));
    WriteBytes(work.parent_path() / "bad.cds", whole.substr(0, whole.size() - 9));
    fs::create_directories(work.parent_path() / "folder.cds");
    for (const auto& [name, fault] :
         {std::pair{"bad.cds", "past the end"}, {"nowhere.cds", ""}, {"folder.cds", "not a regular file"}}) {
        const std::string said = game.LoadCardSetFile(work.parent_path() / name).message();
        EXPECT_TRUE(said.find(name) != std::string::npos && said.find(fault) != std::string::npos) << said;
    }
    CardSetDef other = SampleCardSet();
    other.GameTitle = FitTitle("Other");
    // The definition file gets written, then the bitmap cannot be: its
    // temporary name in the fresh staging folder is taken by a folder.
    static fs::path blocker;
    blocker = work / kStagingFolder / "CurCards.cdm.tmp" / "blocker";
    SetSwitchStepHook([](const char* step) {
        if (std::string_view(step) == "staging created") fs::create_directories(blocker);
    });
    const Status s = game.LoadCardSetFile(Write("other.cds", SampleCardSetFile(other, 100, 10, 10)));
    SetSwitchStepHook(nullptr);
    EXPECT_TRUE(s.message().find("other.cds") != std::string::npos && s.message().find("CurCards.cdm") != std::string::npos)
        << s.message();
    EXPECT_EQ(std::tuple(FilesIn(work), game.CardSet), std::tuple(before, set_before));
}

// A switch cut short is finished from its journal, which may act on the
// working files only, whatever else a damaged or planted journal names.
TEST_F(CardSetLoading, AJournalActsOnTheWorkingFilesOnly) {
    WriteBytes(work.parent_path() / "outside.txt", "kept");
    WriteBytes(work / "notes.txt", "kept");
    WriteBytes(work / files::kCardDefs, "old");
    WriteBytes(work / kSwitchJournal, "remove ../outside.txt\nremove notes.txt\nremove " +
                                          std::string(files::kCardDefs) + "\n");
    ASSERT_TRUE(RepairWorkingFiles(work).ok());
    EXPECT_EQ(std::tuple(ReadBytes(work.parent_path() / "outside.txt"), FilesIn(work)),
              std::tuple("kept", std::map<std::string, std::string>{{"notes.txt", "kept"}}));
}

// A decided switch that fails half-way keeps what it has not moved yet, so
// that the next start finishes it.
TEST_F(CardSetLoading, ASwitchThatFailsAfterItsJournalIsFinishedLater) {
    ASSERT_TRUE(game.LoadCardSetFile(Write("old.cds", SampleCardSetFile(SampleCardSet(), 100))).ok());
    static fs::path blocker;
    blocker = work / files::kCardBitmap;
    SetSwitchStepHook([](const char* step) {
        if (std::string_view(step) != "journal written") return;
        fs::remove(blocker);
        WriteBytes(blocker / "in the way", "");
    });
    const CardSetFile file = SampleCardSetFile(SampleCardSet(), 300);
    EXPECT_FALSE(game.LoadCardSetFile(Write("new.cds", file)).ok());
    SetSwitchStepHook(nullptr);
    fs::remove_all(blocker);
    ASSERT_TRUE(RepairWorkingFiles(work).ok());
    EXPECT_EQ(ReadBytes(work / files::kCardBitmap), file.Bitmap);
}

// The Load command remembers the path, deals keeping the scores, and a restart plays the same set. A
// working folder gone at the next round (a first start) or a damaged working copy (named to the user)
// then gives way to the default, written afresh; the remembered path stays.
TEST_F(CardSetLoading, AMissingOrDamagedWorkingCopyFallsBackToTheDefault) {
    std::tie(game.Scores[2], game.RoundNum) = std::tuple(42, 3);
    CardSetDef def = SampleCardSet();
    def.GameTitle = FitTitle("Chosen last time");
    const fs::path chosen = Write("chosen.cds", SampleCardSetFile(def));
    ASSERT_TRUE(game.LoadCardSetCommand(chosen).ok());
    const auto remembered = [](Game& g) { return g.Settings().ReadString(settings::kMisc, settings::kCardFile, ""); };
    EXPECT_EQ(std::tuple(remembered(game), HandCounts(game), game.CardBackDef, game.Scores[2], game.RoundNum,
                         AllCards(game).size()),
              std::tuple(chosen.string(), std::vector<int>(4, kHandSize), 80, 42, 3, 72u));
    fs::remove(chosen);

    auto restarted = table.NewGameObject();
    ASSERT_TRUE(restarted->ReloadCardSet().ok());
    EXPECT_EQ(std::tuple(restarted->CardSet, restarted->DrawDeck.Count(), remembered(*restarted)),
              std::tuple(def, 72, restarted->CardDefPath));

    // A switch to the chosen set, killed with its definitions still staged,
    // is finished before a round reads them: no fall-back to the shipped set.
    fs::create_directories(work / "CardSet.new");
    fs::rename(work / files::kCardDefs, work / "CardSet.new" / files::kCardDefs);
    WriteBytes(work / "CardSet.switch", std::string("replace ") + files::kCardDefs + "\n");
    restarted->CardSet = SampleCardSet();
    ASSERT_TRUE(restarted->NextRound(FirstDiscardRule::kWild).ok());
    EXPECT_EQ(std::tuple(restarted->CardSet.GameTitle, fs::exists(work / "CardSet.switch")), std::tuple(def.GameTitle, false));

    for (bool damage : {false, true}) {
        SCOPED_TRACE(damage ? "damaged" : "gone");
        if (damage) WriteBytes(work / files::kCardDefs, "garbage");
        else fs::remove_all(work);
        table.view.calls.clear();
        const Status round = game.NextRound(FirstDiscardRule::kWild);
        EXPECT_EQ(std::tuple(round.ok(), table.view.Count("ShowLoadProblem")), std::tuple(!damage, damage ? 1 : 0))
            << round.message();
        EXPECT_TRUE(!damage || round.message().find((work / files::kCardDefs).string() + "\" is damaged") !=
                                   std::string::npos) << round.message();
        EXPECT_EQ(std::tuple(game.CardSet.GameTitle, fs::exists(work / files::kCardDefs),
                             fs::is_regular_file(work / files::kCardBitmap), remembered(game), game.Players[1].Count()),
                  std::tuple(FitTitle("Shipped default"), true, true, chosen.string(), kHandSize));
    }
}

TEST_F(CardSetLoading, CardBackIsTheFirstDefinitionWithItsCode) {
    game.CardSet = SampleCardSet();
    game.CardSet.CardDefs[75] = Def(0, 0, kActionCardBack, 0, 0, 2, 7);
    table.view.calls.clear();
    EXPECT_EQ(game.FindCardBack(), 75);
    EXPECT_EQ(table.view.calls, (std::vector<std::string>{"ShowCardBack 2,7"}));

    game.CardSet.CardDefs[75] = game.CardSet.CardDefs[80] = Card{};
    table.view.calls.clear();
    EXPECT_EQ(game.FindCardBack(), 0);
    EXPECT_TRUE(table.view.calls.empty()) << "the previous back stays on the deck";
}

}  // namespace
}  // namespace kvt::test
