#include "shell/move_log.h"

#include <QListWidget>

#include "platform/qt_text.h"
#include "shell/table_keys.h"

namespace kvt {

namespace {

// The human sees their own cards, and every card that lies face up.
bool Seen(Spot spot) {
    return spot.place == Place::Pile || spot.place == Place::HoldGrid || spot.place == Place::PickedCard ||
           spot.place == Place::Held || (spot.place == Place::Hand && spot.seat == 1);
}

}  // namespace

QString MoveLogLine(const Event& e, const std::array<std::string, 5>& names) {
    const auto name = [&names](int seat) {
        if (seat == 1) return QObject::tr("You");
        if (seat < 1 || seat > 4 || names[static_cast<std::size_t>(seat)].empty())
            return QObject::tr("Player %1").arg(seat);
        return ToQString(names[static_cast<std::size_t>(seat)]);
    };
    const QString card = SpokenCard(e.card, false);
    switch (e.kind) {
        case EventKind::CardMoved: {
            const Spot from = e.from;
            const Spot to = e.to;
            const bool mover_is_hand = from.place == Place::Hand || from.place == Place::Held;
            if (to.place == Place::Pile && mover_is_hand) return QObject::tr("%1 played %2").arg(name(from.seat), card);
            if (to.place == Place::Pile && from.place == Place::PickedCard) return QObject::tr("You played %1").arg(card);
            if (to.place == Place::Pile && from.place == Place::HoldGrid) return QObject::tr("You discarded %1").arg(card);
            if (from.place == Place::Deck && to.place == Place::PickedCard) return QObject::tr("You drew %1").arg(card);
            if (from.place == Place::Deck && to.place == Place::Pile) return QObject::tr("Turned up: %1").arg(card);
            if (from.place == Place::Deck && to.place == Place::Hand)
                return to.seat == 1 ? QObject::tr("You drew %1").arg(card) : QObject::tr("%1 drew a card").arg(name(to.seat));
            if (from.place == Place::HoldGrid && to.place == Place::Hand && to.seat != 1)
                return QObject::tr("You passed %1 to %2").arg(card, name(to.seat));
            if (from.place == Place::Hand && to.place == Place::Hand) {
                if (Seen(to) && from.seat != 1) return QObject::tr("You got %1 from %2").arg(card, name(from.seat));
                return QObject::tr("A card went from %1 to %2").arg(name(from.seat), name(to.seat));
            }
            return {};  // within the human's own places, or a computer's card held aside
        }
        case EventKind::Dealt: return QObject::tr("New deal: seven cards each");
        // One arg() for all markers: a "%2" inside a name is not a marker.
        case EventKind::GroupCardLaid:
            return QObject::tr("%1 named group %2").arg(name(e.seat), QString::number(e.card.Group));
        case EventKind::DeckRebuilt: return QObject::tr("The deck was made again from %1 cards of the pile").arg(e.number);
        case EventKind::DirectionChanged:
            return e.number ? QObject::tr("Play now goes the other way") : QObject::tr("Play goes the usual way again");
        case EventKind::NothingDrawn: return QObject::tr("%1 found nothing to draw").arg(name(e.seat));
        case EventKind::Passed:
            return e.seat == 1 ? QObject::tr("You passed the turn") : QObject::tr("%1 passed the turn").arg(name(e.seat));
        case EventKind::RoundEnded: {
            QStringList scores;
            for (int p = 1; p <= 4; ++p)
                scores << QObject::tr("%1 %2").arg(name(p), QString::number(e.scores[static_cast<std::size_t>(p)]));
            return QObject::tr("Round over: %1").arg(scores.join(QStringLiteral(", ")));
        }
        case EventKind::GameEnded:
            return e.seat == 1 ? QObject::tr("You won the game") : QObject::tr("%1 won the game").arg(name(e.seat));
        default: return {};
    }
}

MoveLog::MoveLog(QWidget* parent) : QDockWidget(tr("Moves"), parent), list_(new QListWidget(this)) {
    setObjectName("MoveLog");
    setFeatures(QDockWidget::DockWidgetClosable);
    list_->setObjectName("MoveLogList");
    list_->setAccessibleName(tr("Moves, newest first"));
    list_->setWordWrap(true);
    list_->setMinimumWidth(220);
    // The table's keys play the game; a log holding the keyboard would eat
    // them (arrows, Enter, letters). It scrolls with the mouse.
    list_->setFocusPolicy(Qt::NoFocus);
    setWidget(list_);
}

void MoveLog::Add(const Event& event, const std::array<std::string, 5>& names) {
    const bool dealt_card = event.kind == EventKind::CardMoved && event.from.place == Place::Deck && event.to.place == Place::Hand;
    if (event.kind == EventKind::Dealt) dealing_ = true;
    else if (!dealt_card) dealing_ = false;
    else if (dealing_) return;
    const QString line = MoveLogLine(event, names);
    if (line.isEmpty()) return;
    // QListWidget items are plain text: a name from a player file is shown as it is.
    list_->insertItem(0, line);
    while (list_->count() > kMaxLines) delete list_->takeItem(list_->count() - 1);
}

void MoveLog::Clear() { list_->clear(); }

int MoveLog::Lines() const { return list_->count(); }

QString MoveLog::Line(int newest_first) const {
    const QListWidgetItem* item = list_->item(newest_first);
    return item ? item->text() : QString();
}

}  // namespace kvt
