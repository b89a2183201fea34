#include "shell/table_keys.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "dialogs/card_action_text.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "platform/qt_text.h"
#include "hand/move_being_built.h"
#include "shell/play_win.h"

namespace kvt {

namespace {

// A ring drawn dark outside and bright inside, so that it shows on a light
// card, a dark back and any background.
class FocusMark : public QWidget {
public:
    explicit FocusMark(QWidget* parent) : QWidget(parent) {
        setObjectName("FocusMark");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }
    // The rings grow with the table, never thinner than at its design size.
    void SetScale(double scale) {
        scale = std::max(1.0, scale);
        if (scale == scale_) return;
        scale_ = scale;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal ring = 2 * scale_;
        const QRectF outer = QRectF(rect()).adjusted(ring / 2, ring / 2, -ring / 2, -ring / 2);
        painter.setPen(QPen(QColor(0, 0, 0, 220), ring));
        painter.drawRoundedRect(outer, 6 * scale_, 6 * scale_);
        painter.setPen(QPen(QColor(255, 214, 0), ring));
        painter.drawRoundedRect(outer.adjusted(ring, ring, -ring, -ring), 5 * scale_, 5 * scale_);
    }

private:
    double scale_ = 1.0;
};

QString CardsText(int n) { return n == 1 ? QObject::tr("1 card") : QObject::tr("%1 cards").arg(n); }

}  // namespace

QString SpokenCard(const Card& card, bool playable) {
    QString text = card.IsWild() ? QObject::tr("Wild card %1").arg(card.Value)
                                 : QObject::tr("%1 of group %2").arg(card.Value).arg(card.Group);
    // A plain card (discarding nothing) is known by its group and value alone.
    const bool plain = card.Action == kActionDiscard && card.ActionCount == 0;
    if (const QString action = ActionCaption(card); !plain && !action.isEmpty()) text += ", " + action;
    if (playable) text += QObject::tr(", playable");
    return text;
}

TableKeys::TableKeys(PlayWin& window) : QObject(&window), window_(window) {
    mark_ = new FocusMark(window.Table());
    window.installEventFilter(this);
}

bool TableKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier && HandleKey(key->key())) return true;
    }
    return QObject::eventFilter(watched, event);
}

int TableKeys::GridIndex() const {
    switch (zone_) {
        case Zone::Hand: return 1;
        case Zone::HoldGrid: return 0;
        case Zone::Giver: return window_.GameState().ChooseFromPlayer;
    }
    return 1;
}

int TableKeys::CardsInZone() const {
    const Game& game = window_.GameState();
    const int grid = GridIndex();
    if (grid == 0) return window_.Building().Held().Count();
    if (grid == 1) return window_.Building().ShownHand().Count();
    if (grid < 1 || grid > 4) return 0;
    return game.Players[static_cast<std::size_t>(grid)].Count();
}

std::optional<Card> TableKeys::MarkedCard() const {
    if (column_ < 0 || column_ >= CardsInZone()) return std::nullopt;
    // Only the human's own cards are shown; another hand is known by its size.
    if (zone_ == Zone::Hand) return window_.Building().ShownHand()[window_.Hands().HumanSlot(column_)];
    if (zone_ == Zone::HoldGrid) return window_.Building().Held()[column_];
    return std::nullopt;
}

bool TableKeys::HandleKey(int key) {
    // A game record shown has the replay's keys; its hands are no one's to play.
    if (window_.Replaying()) return false;
    const auto click = [this](TableClick::Place place, int player, int col) {
        window_.HandleClick({place, player, col, 0});
    };
    switch (key) {
        case Qt::Key_Left: --column_; break;
        case Qt::Key_Right: ++column_; break;
        case Qt::Key_Home: column_ = 0; break;
        case Qt::Key_End: column_ = CardsInZone() - 1; break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (zone_ == Zone::Hand && window_.Building().HoldGridOpen() && !window_.Building().Held().Empty())
                zone_ = Zone::HoldGrid;
            else if (zone_ == Zone::HoldGrid) zone_ = Zone::Hand;
            column_ = 0;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (zone_ == Zone::Hand) click(TableClick::Place::kHand, 1, column_);
            else if (zone_ == Zone::HoldGrid) click(TableClick::Place::kHoldGrid, 0, column_);
            else click(TableClick::Place::kHand, GridIndex(), column_);
            break;
        case Qt::Key_D: click(TableClick::Place::kDrawDeck, 0, 0); break;
        case Qt::Key_Escape: click(TableClick::Place::kPickedCard, 1, 0); break;
        default: return false;
    }
    shown_ = true;
    Refresh();
    return true;
}

void TableKeys::Refresh() {
    const Game& game = window_.GameState();
    if (window_.Replaying()) {
        shown_ = false;
        if (mark_) mark_->hide();
        NameTableParts();
        return;
    }
    if (game.ChoosingCards && game.ChooseFromPlayer >= 2 && game.ChooseFromPlayer <= 4) {
        if (zone_ != Zone::Giver) column_ = 0;
        zone_ = Zone::Giver;
    } else if (zone_ == Zone::Giver || (zone_ == Zone::HoldGrid &&
                                          (!window_.Building().HoldGridOpen() || window_.Building().Held().Empty()))) {
        zone_ = Zone::Hand;
    }
    column_ = std::clamp(column_, 0, std::max(0, CardsInZone() - 1));
    PlaceMark();
    NameTableParts();
    Announce();
}

void TableKeys::PlaceMark() {
    if (!mark_) return;
    const int index = GridIndex();
    CardGrid* grid = index >= 0 && index <= 4 ? window_.Hands().Grid(index) : nullptr;
    if (!shown_ || CardsInZone() == 0 || !grid || !grid->isVisible()) {
        mark_->hide();
        return;
    }
    const bool down = GridIndex() == 2 || GridIndex() == 4;
    // The marked card is scrolled into view, as the player would with the scroll bar.
    QRect cell = down ? grid->CellRect(column_, 0) : grid->CellRect(0, column_);
    const QRect view = grid->Viewport();
    const bool out_of_view = down ? cell.top() < view.top() || cell.top() + std::min(cell.height(), view.height()) > view.bottom() + 1
                                  : cell.left() < view.left() || cell.left() + std::min(cell.width(), view.width()) > view.right() + 1;
    if (out_of_view) {
        if (down) grid->SetTopRow(column_);
        else grid->SetLeftCol(column_);
        cell = down ? grid->CellRect(column_, 0) : grid->CellRect(0, column_);
    }
    const QRect shown = cell & view;
    static_cast<FocusMark*>(mark_.data())->SetScale(window_.Geometry().Scale());
    mark_->setGeometry(QRect(grid->mapTo(mark_->parentWidget(), shown.topLeft()), shown.size()));
    mark_->show();
    mark_->raise();
}

void TableKeys::Announce() {
    Game& game = window_.GameState();
    QString text;
    if (const std::optional<Card> card = MarkedCard()) {
        Card probe = *card;
        text = SpokenCard(probe, zone_ == Zone::Hand && game.CheckPlayable(probe) == 1);
    } else if (zone_ == Zone::Giver) {
        text = tr("Card %1 of %2's hand")
                   .arg(column_ + 1)
                   .arg(ToQString(game.PlayerInfo[static_cast<std::size_t>(GridIndex())].Name));
    }
    if (!mark_ || text == spoken_) return;
    spoken_ = text;
    mark_->setAccessibleName(text);
    if (mark_->isVisible()) {
        QAccessibleEvent changed(mark_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void TableKeys::NameTableParts() {
    const Game& game = window_.GameState();
    HandView& hands = window_.Hands();
    for (int p = 1; p <= 4; ++p) {
        const int n = p == 1 ? window_.Building().ShownHand().Count() : game.Players[static_cast<std::size_t>(p)].Count();
        // The owner as the seat's label shows it ("Player 2" while the seat has no player).
        hands.Grid(p)->setAccessibleName(p == 1 ? tr("Your hand, %1").arg(CardsText(n))
                                                : tr("%1's hand, %2").arg(window_.NameLabel(p)->text(), CardsText(n)));
    }
    hands.Grid(0)->setAccessibleName(tr("Cards chosen, %1").arg(CardsText(window_.Building().Held().Count())));
    hands.DrawDeck()->setAccessibleName(tr("Draw deck, %1").arg(CardsText(game.DrawDeck.Count())));
    hands.DiscardPile()->setAccessibleName(game.DiscardPile.Empty()
                                               ? tr("Discard pile, empty")
                                               : tr("Discard pile, %1").arg(SpokenCard(game.DiscardPile.Top(), false)));
}

}  // namespace kvt
