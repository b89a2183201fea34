// The table at any size: one scale for everything, the design's arrangement at the design size, nothing
// overlapping, sharp cards at every pixel ratio, and the hints a new player sees.

#include "gui_support.h"

namespace kvt {
namespace {

using namespace gui_test;
using namespace table_layout;

// The design, its minimum, the common screens, a wide and a tall table.
const struct { QSize table; double scale; int hand_limit, side_limit; } kSizes[] = {
    {{640, 456}, 1.0, 10, 10},    {{512, 365}, 0.8, 10, 10},   {{800, 560}, 560 / 456.0, 10, 10},
    {{1280, 950}, 2.0, 10, 10},   {{1920, 1010}, 1010 / 456.0, 13, 10}, {{1000, 456}, 1.0, 16, 10},
    {{640, 900}, 1.0, 10, 17},
};

class ScaledTable : public TableTest {
protected:
    // A card of the set with this action and count picked from a hand of
    // `left` more, `chosen` of them chosen.
    void Pick(int action, int count, int left, int chosen) {
        Card card = HandFromSet(game, 1)[0];
        card.Action = static_cast<std::int16_t>(action);
        card.ActionCount = static_cast<std::int16_t>(count);
        PickWithChosen(win, card, left, chosen);
    }

    // Full hands, the hold grid open for a Discard 6, every mark shown.
    void FillTheTable() {
        const int limit = win.Geometry().HandLimit();
        game.Players[3] = HandFromSet(game, limit);
        for (const int side : {2, 4}) game.Players[side] = HandFromSet(game, win.Geometry().SideLimit());
        Pick(kActionDiscard, 6, limit + 2, 2);
        win.RedrawTable();
        win.SetDiscardButtonVisible(true);
        for (int seat = 2; seat <= 4; ++seat) win.SetSeatArrowVisible(seat, true);
        win.PlaceSeatArrows();
        QApplication::processEvents();
    }
};

// Where each visible part of the table is drawn; the piles by the cards they show.
std::vector<std::pair<QString, QRect>> PartsOnTable(PlayWin& win) {
    std::vector<std::pair<QString, QRect>> parts;
    const auto add = [&](QWidget* w, QRect shown) {
        if (w->isVisible()) parts.emplace_back(w->objectName(), shown);
    };
    const QSize card = win.Geometry().CardSize();
    for (int i = 0; i <= 4; ++i) add(win.Hands().Grid(i), win.Hands().Grid(i)->geometry());
    for (PictureBox* pile : {win.Hands().DrawDeck(), win.Hands().DiscardPile()})
        add(pile, QRect(pile->pos(), card + QSize(4, 4)));
    add(win.Hands().ShowCardPlay(), win.Hands().ShowCardPlay()->geometry());
    add(win.Hands().AcceptDiscardBut(), win.Hands().AcceptDiscardBut()->geometry());
    for (int p = 1; p <= 4; ++p) add(win.NameLabel(p), win.NameLabel(p)->geometry());
    for (int seat = 2; seat <= 4; ++seat) add(win.PlayerPtr(seat), win.PlayerPtr(seat)->geometry());
    add(win.PlayDirect(0), win.PlayDirect(0)->geometry());
    add(win.HoldHintLbl(), win.HoldHintLbl()->geometry());
    return parts;
}

TEST_F(ScaledTable, AtEverySizeOneScaleEverythingIsInsideNothingOverlapsAndCardsAreSharp) {
    for (const auto& c : kSizes) {
        SCOPED_TRACE(testing::Message() << c.table.width() << "x" << c.table.height());
        // One scale for everything, more cards where there is room, the design table in the middle.
        const TableGeometry g(c.table);
        EXPECT_NEAR(g.Scale(), c.scale, 0.003);
        EXPECT_EQ(std::tuple(g.HandLimit(), g.SideLimit(), g.CardSize()),
                  std::tuple(c.hand_limit, c.side_limit, QSize(g.Scaled(70), g.Scaled(95))));
        const QPoint off_centre = g.Pixels(g.Middle({0, 0, Tw(640), Tw(456)})).center() - QPoint(c.table.width() / 2, c.table.height() / 2);
        EXPECT_LE(std::max(std::abs(off_centre.x()), std::abs(off_centre.y())), 1);
        ResizeTable(win, c.table);
        FillTheTable();
        const auto parts = PartsOnTable(win);
        ASSERT_EQ(std::tuple(win.Geometry().Size(), parts.size()), std::tuple(c.table, 18u)) << "every part is shown";
        const QRect table = win.Table()->rect();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(table.contains(parts[i].second)) << parts[i].first.toStdString();
            // Rounding may make two parts touch by a pixel, no more.
            for (std::size_t j = i + 1; j < parts.size(); ++j)
                EXPECT_FALSE(parts[i].second.adjusted(1, 1, -1, -1).intersects(parts[j].second.adjusted(1, 1, -1, -1)))
                    << parts[i].first.toStdString() << " and " << parts[j].first.toStdString();
        }
        // The hands scale with the table: strips, whole cards and the light round the hand.
        EXPECT_EQ(std::tuple(win.Hands().Grid(1)->ColWidth(0), win.Hands().Grid(1)->width()),
                  std::tuple(win.Geometry().StripPx(), win.Geometry().StripPx() * (c.hand_limit - 1) + win.Geometry().CardSize().width()));
        EXPECT_TRUE(win.TurnMark()->geometry().contains(win.Hands().Grid(1)->geometry()));
    }
    // At the design size the layout is the design, pixel for pixel.
    const TableGeometry design;
    EXPECT_EQ(std::tuple(design.DrawDeck(), design.ChooseMsgLbl(), design.Pixels(QPoint(2190, 4545)), TableGeometry::MinimumSize()),
              std::tuple(kDrawDeck.ToPixels(), kChooseMsgLbl.ToPixels(), QPoint(146, 303), QSize(512, 365)));

    // Cards are drawn from their cells at every pixel ratio, once per size.
    const Card card = HandFromSet(game, 1)[0];
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        for (const QSize size : {QSize(640, 456), QSize(1280, 912), QSize(900, 700)}) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " at " << ratio);
            const TableGeometry g(size, ratio);
            win.Hands().SetGeometry(g);
            const QPixmap face = win.Hands().Face(card);
            // Asked again at the same size: the same picture, not scaled anew.
            EXPECT_EQ(std::tuple(face.size(), face.devicePixelRatio(), win.Hands().Face(card).cacheKey()),
                      std::tuple(g.CardBitmapSize(), ratio, face.cacheKey()));
            EXPECT_LE(std::abs(face.deviceIndependentSize().width() - g.CardSize().width()), 0.5);
            // Smoothly scaled: the middle of the face has the colour of the cell's middle.
            const QColor meant = win.CardClip().CardFace(card).toImage().pixelColor(35, 47);
            const QColor drawn = face.toImage().pixelColor(face.width() / 2, face.height() / 2);
            EXPECT_LE(std::abs(meant.red() - drawn.red()) + std::abs(meant.green() - drawn.green()) +
                          std::abs(meant.blue() - drawn.blue()), 90);
        }
    }
}

TEST_F(ScaledTable, TheFocusMarkFollowsTheScaledCardTheHumansTurnLightsTheNameAndHandAndTheHoldGridHints) {
    ResizeTable(win, {1280, 912});
    game.Players[1] = HandFromSet(game, 5);
    win.RedrawTable();
    ASSERT_TRUE(win.Keys()->HandleKey(Qt::Key_End));
    CardGrid* hand = win.Hands().Grid(1);
    EXPECT_EQ(win.Keys()->Mark()->geometry(),
              QRect(hand->mapTo(win.Table(), hand->CellRect(0, 4).topLeft()), QSize(150, 190)));
    // The human's turn lights the name and the hand.
    for (const int player : {1, 2, 1, 3}) {
        game.CurPlayer = static_cast<std::int16_t>(player);
        win.RedrawTable();
        const bool human = player == 1;
        EXPECT_EQ(std::tuple(win.TurnMark()->isVisible(), win.NameLabel(1)->property("turn").toBool(), win.NameLabel(1)->accessibleDescription()),
                  std::tuple(human, human, human ? QStringLiteral("Your turn") : QString())) << player;
    }

    // The hold grid says how many cards to choose and where they go. Action and count of the picked card,
    // cards left in the hand, cards already chosen.
    const std::tuple<int, int, int, int, const char*> cases[] = {
        {kActionDiscard, 2, 4, 0, "Choose 2 cards to discard with it."},
        {kActionDiscard, 2, 4, 1, "Choose 1 card to discard with it."},
        {kActionDiscard, 2, 4, 2, "Press Discard: they go on the pile."},
        {kActionPassLeft, 3, 5, 0, "Choose 3 cards to give to Player 2."},
        {kActionPassRight, 1, 5, 0, "Choose 1 card to give to Player 4."},
        {kActionPassAcross, 2, 5, 2, "Press Discard: they go to Player 3."},
        {kActionPassAcross, 2, 1, 0, "Nothing to choose: press Discard."},
    };
    for (const auto& [action, count, hand, chosen, hint] : cases) {
        SCOPED_TRACE(hint);
        Pick(action, count, hand, chosen);
        EXPECT_EQ(std::tuple(win.HoldHintLbl()->isVisible(), win.HoldHintLbl()->textFormat(), win.HoldHintLbl()->text()),
                  std::tuple(true, Qt::PlainText, QString::fromUtf8(hint)));
    }
    win.Building().ClickPickedCard();
    EXPECT_FALSE(win.HoldHintLbl()->isVisible());
}

}  // namespace
}  // namespace kvt
