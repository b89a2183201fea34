#include "tools/soak/extreme_sets.h"

#include <QBuffer>
#include <QImage>

#include <array>
#include <fstream>
#include <system_error>

namespace kvt::soak {
namespace {

constexpr int kBackDefinition = kCardDefCount - 1;

// Two picture cells, faces at (0,0) and the back at (0,1): a 1-bit bitmap of
// a few kilobytes instead of the shipped set's megabytes.
std::string TinyCardBitmap() {
    QImage image(2 * kCellPitchX + kCellOffset, kCellPitchY + kCellOffset, QImage::Format_Mono);
    image.fill(1);
    const FaceRect back = FaceRectOf(Card{.PicCol = 1});
    for (int y = back.y; y < back.y + back.height; ++y)
        for (int x = back.x; x < back.x + back.width; ++x) image.setPixel(x, y, 0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

Card Def(int group, int value, int action, int count, int copies) {
    Card c;
    c.Group = static_cast<std::int16_t>(group);
    c.Value = static_cast<std::int16_t>(value);
    c.Action = static_cast<std::int16_t>(action);
    c.ActionCount = static_cast<std::int16_t>(count);
    c.Copies = static_cast<std::int16_t>(copies);
    return c;
}

// Fills definitions from slot 0 on; the last slot is kept for the card back.
class SetBuilder {
public:
    SetBuilder& Add(const Card& def) {
        if (next_ < kBackDefinition) defs_[next_++] = def;
        return *this;
    }

    CardSetFile Build(const std::string& title, const std::string& bitmap) const {
        CardSetFile file;
        file.Def.Header = static_cast<std::int16_t>(file.Tag[2] | (file.Tag[3] << 8));
        file.Def.CardDefs = defs_;
        Card& back = file.Def.CardDefs[kBackDefinition];
        back = Def(0, 0, kActionCardBack, 0, 0);
        back.PicCol = 1;
        file.Def.GameTitle = FitTitle(title);
        file.Def.AuthorName = "KVT soak";
        file.Bitmap = bitmap;
        return file;
    }

private:
    std::array<Card, kCardDefCount> defs_{};
    int next_ = 0;
};

constexpr int kPlain = kActionDiscard;  // with count 0: hands the turn on

// Group 1 only: every card matches every top, so nobody ever draws for want
// of a card; only the draw actions bring cards in.
CardSetFile OneGroup(const std::string& bitmap) {
    SetBuilder b;
    for (int v = 1; v <= 10; ++v) b.Add(Def(1, v, kPlain, 0, 4));
    b.Add(Def(1, 20, kActionSkip, 0, 4))
        .Add(Def(1, 20, kActionReverse, 0, 4))
        .Add(Def(1, 20, kActionDrawDeck, 2, 4))
        .Add(Def(1, 20, kActionPassLeft, 1, 2))
        .Add(Def(1, 20, kActionDrawRight, 1, 2))
        .Add(Def(1, 20, kActionNone, 0, 2))
        .Add(Def(1, 20, kActionDiscard, 1, 2));
    return b.Build("Soak: one group", bitmap);
}

// Every card has an action; there is no plain hand-over card. Players still go
// out: each play sheds the card itself, passes and discards shed more, and a
// pass that empties the giver's hand ends the round.
CardSetFile ActionsOnly(const std::string& bitmap) {
    SetBuilder b;
    const int actions[][2] = {{kActionNone, 0},      {kActionPassLeft, 1},  {kActionPassRight, 1},
                              {kActionPassAcross, 1}, {kActionDrawDeck, 2},  {kActionDrawRight, 1},
                              {kActionDrawLeft, 1},   {kActionDrawAcross, 1}, {kActionDiscard, 1},
                              {kActionSkip, 0},       {kActionReverse, 0}};
    for (int g = 1; g <= 4; ++g)
        for (const auto& [action, count] : actions) b.Add(Def(g, 5 + action, action, count, 2));
    b.Add(Def(0, 50, kActionDrawDeck, 4, 4)).Add(Def(0, 50, kActionSkip, 0, 2));
    return b.Build("Soak: actions only", bitmap);
}

// 401 cards from 80 definitions, the most a stack holds and a file defines.
CardSetFile LargestDeck(const std::string& bitmap) {
    SetBuilder b;
    for (int g = 1; g <= 4; ++g)
        for (int v = 1; v <= 18; ++v) b.Add(Def(g, v, kPlain, 0, 5));
    for (int g = 1; g <= 4; ++g) b.Add(Def(g, 20, kActionSkip, 0, 4));
    b.Add(Def(0, 50, kPlain, 0, 9))
        .Add(Def(0, 50, kActionDrawDeck, 4, 8))
        .Add(Def(1, 20, kActionReverse, 0, 4))
        .Add(Def(2, 20, kActionNone, 0, 4));
    return b.Build("Soak: 401 cards", bitmap);
}

// 29 cards: the four hands and the first discard leave the deck empty, so
// every draw comes from a rebuilt deck.
CardSetFile SmallestDeck(const std::string& bitmap) {
    SetBuilder b;
    for (int g = 1; g <= 4; ++g) {
        for (int v = 1; v <= 5; ++v) b.Add(Def(g, v, kPlain, 0, 1));
        b.Add(Def(g, 20, kActionReverse, 0, 1)).Add(Def(g, 20, kActionDrawDeck, 1, 1));
    }
    b.Add(Def(0, 50, kPlain, 0, 1));
    return b.Build("Soak: 29 cards", bitmap);
}

// Group 0 only: every card may be played on anything, and the group a
// computer names after one is again a wild card's.
CardSetFile AllWild(const std::string& bitmap) {
    SetBuilder b;
    for (int v = 1; v <= 10; ++v) b.Add(Def(0, v, kPlain, 0, 4));
    b.Add(Def(0, 20, kActionSkip, 0, 4))
        .Add(Def(0, 20, kActionReverse, 0, 4))
        .Add(Def(0, 20, kActionDrawDeck, 2, 4))
        .Add(Def(0, 20, kActionNone, 0, 4))
        .Add(Def(0, 20, kActionDiscard, 1, 4))
        .Add(Def(0, 20, kActionPassLeft, 1, 2))
        .Add(Def(0, 20, kActionDrawAcross, 1, 2));
    return b.Build("Soak: all wild", bitmap);
}

// Group numbers far outside 1..30, which the computers leave out when they
// count the groups of a hand, and card values below zero.
CardSetFile FarGroups(const std::string& bitmap) {
    SetBuilder b;
    for (int g : {1, 31, 255, 32767, -1, -32768})
        for (int v = -2; v <= 6; v += 2) b.Add(Def(g, v, kPlain, 0, 2));
    b.Add(Def(31, 20, kActionSkip, 0, 2))
        .Add(Def(-1, 20, kActionDiscard, 1, 2))
        .Add(Def(32767, 20, kActionPassLeft, 1, 2))
        .Add(Def(0, 50, kPlain, 0, 4))
        .Add(Def(0, 50, kActionDrawDeck, 2, 2));
    return b.Build("Soak: far groups", bitmap);
}

}  // namespace

std::vector<ExtremeSet> ExtremeSets() {
    const std::string bitmap = TinyCardBitmap();
    return {
        {"one-group", "one group, no wild cards", OneGroup(bitmap)},
        {"actions-only", "every card has an action", ActionsOnly(bitmap)},
        {"deck-401", "the largest deck, 401 cards", LargestDeck(bitmap)},
        {"deck-29", "the smallest deck, 29 cards", SmallestDeck(bitmap)},
        {"all-wild", "wild cards only", AllWild(bitmap)},
        {"far-groups", "groups beyond 1..30, values below 0", FarGroups(bitmap)},
    };
}

Status WriteExtremeSets(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const ExtremeSet& set : ExtremeSets()) {
        const std::filesystem::path path = folder / (set.Name + ".cds");
        const std::string bytes = EncodeCardSetFile(set.File);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) return Status::Fail("Cannot write \"" + path.string() + "\"");
    }
    return Status::Ok();
}

}  // namespace kvt::soak
