#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

#include "core/card.h"

class QWidget;

namespace kvt {

class CardGrid;
class PlayWin;

// What a screen reader says for a card: "7 of group 2, Pass 2 Cards Left, playable".
QString SpokenCard(const Card& card, bool playable);

// The human's part by keyboard. A focus mark moves through the hand (Left,
// Right, Home, End), Up and Down switch to the hold grid while it is open,
// and while a card must be taken the mark is on the hand to take from.
// Enter or Space clicks the card under the mark, D draws, Escape puts the
// picked card back: the keys make the same clicks as the mouse, so the
// rules see no difference. The mark and the table's parts carry accessible
// names, and every change of the marked card is announced.
class TableKeys : public QObject {
public:
    enum class Zone { Hand, HoldGrid, Giver };

    explicit TableKeys(PlayWin& window);

    // Follows the table after it changed: the mark is kept on a card that
    // is there, and the accessible names say what the table shows.
    void Refresh();

    int Column() const { return column_; }
    QWidget* Mark() const { return mark_; }

    // Acts on a key; false for a key the table does not use.
    bool HandleKey(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int GridIndex() const;
    int CardsInZone() const;
    std::optional<Card> MarkedCard() const;
    void PlaceMark();
    void Announce();
    void NameTableParts();

    PlayWin& window_;
    QPointer<QWidget> mark_;
    Zone zone_ = Zone::Hand;
    int column_ = 0;
    bool shown_ = false;  // the mark appears with the first key
    QString spoken_;
};

}  // namespace kvt
