// The move log: what happened, in plain words, hiding the hidden hands.
#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include "gui_support.h"
#include "hand/hand_view.h"
#include "shell/move_log.h"

namespace kvt {
namespace {

using gui_test::TableSetup;

Card Seven() {
    Card card;
    card.Group = 2;
    card.Value = 7;
    card.Action = kActionDiscard;
    return card;
}

Event Moved(Place from, int from_seat, Place to, int to_seat) {
    return Event::Moved(EventKind::CardMoved, Seven(), {from, static_cast<std::int8_t>(from_seat)},
                        {to, static_cast<std::int8_t>(to_seat)});
}

TEST(MoveLog, EachEventInPlainWordsAndNoHiddenCardNamed) {
    const std::array<std::string, 5> names{"", "Robin", "Amara", "<b>Ben</b>", ""};
    const std::array<std::string, 5> hostile{"", "", "%2 %1", "", ""};
    Event named = Event::Of(EventKind::GroupCardLaid, 2);
    named.card.Group = 3;
    EXPECT_EQ(MoveLogLine(named, hostile), "%2 %1 named group 3") << "a name is never a marker";
    Event scored = Event::Of(EventKind::RoundEnded, 0);
    scored.scores = {0, 0, 12, 7, 30};
    const std::pair<Event, QString> cases[] = {
        {Moved(Place::Hand, 2, Place::Pile, 0), "Amara played 7 of group 2"},
        {Moved(Place::PickedCard, 1, Place::Pile, 0), "You played 7 of group 2"},
        {Moved(Place::HoldGrid, 0, Place::Pile, 0), "You discarded 7 of group 2"},
        {Moved(Place::Deck, 0, Place::Hand, 1), "You drew 7 of group 2"},
        {Moved(Place::Deck, 0, Place::Hand, 2), "Amara drew a card"},
        {Moved(Place::Hand, 3, Place::Hand, 2), "A card went from <b>Ben</b> to Amara"},
        {Moved(Place::Hand, 1, Place::Hand, 4), "A card went from You to Player 4"},
        {Moved(Place::Hand, 2, Place::Hand, 1), "You got 7 of group 2 from Amara"},
        {Moved(Place::HoldGrid, 0, Place::Hand, 3), "You passed 7 of group 2 to <b>Ben</b>"},
        {Event::Of(EventKind::DirectionChanged, 2, 1), "Play now goes the other way"},
        {scored, "Round over: You 0, Amara 12, <b>Ben</b> 7, Player 4 30"},
        {Event::Of(EventKind::GameEnded, 2), "Amara won the game"},
        {Moved(Place::Deck, 0, Place::Pile, 0), "Turned up: 7 of group 2"},
        {Event::Of(EventKind::CardChosen, 2, 3), ""},
        {Event::Of(EventKind::SoundCue, 2, 4), ""},
    };
    for (const auto& [event, line] : cases) EXPECT_EQ(MoveLogLine(event, names), line);
}

TEST(MoveLog, TheMenuShowsItBesideTheTableAndItFollowsThePlay) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    ASSERT_FALSE(win.Log()->isVisible()) << "off until asked for";
    const int table_width = win.Table()->width();
    win.MenuEntry("MM_MOVE_LOG")->trigger();
    EXPECT_TRUE(win.Log()->isVisible() && win.MenuEntry("MM_MOVE_LOG")->isChecked());
    EXPECT_EQ(setup.RawSetting("MoveLog"), "-1");
    QApplication::processEvents();
    EXPECT_EQ(win.Table()->width(), table_width) << "the window grew by the log";

    win.GameState().CurPlayer = 1;
    QTest::mouseClick(win.Hands().DrawDeck(), Qt::LeftButton, {}, QPoint(30, 30));
    ASSERT_TRUE(gui_test::Settle(win));
    ASSERT_GE(win.Log()->Lines(), 1);
    EXPECT_TRUE(win.Log()->Line(0).startsWith("You drew ")) << win.Log()->Line(0).toStdString();

    // A new deal is one line and the card turned up, not 28 draws.
    win.MenuEntry("MM_NEW_GAME")->trigger();
    ASSERT_TRUE(gui_test::Settle(win));
    ASSERT_GE(win.Log()->Lines(), 3);
    EXPECT_TRUE(win.Log()->Line(0).startsWith("Turned up: ")) << win.Log()->Line(0).toStdString();
    const QString deal = "New deal: seven cards each";
    EXPECT_TRUE(win.Log()->Line(1) == deal || win.Log()->Line(2) == deal) << "a wild card turned up is covered";

    win.MenuEntry("MM_MOVE_LOG")->trigger();
    EXPECT_FALSE(win.Log()->isVisible());
    EXPECT_EQ(setup.RawSetting("MoveLog"), " 0");
}

}  // namespace
}  // namespace kvt
