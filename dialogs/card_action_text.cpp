#include "dialogs/card_action_text.h"

#include <QCoreApplication>

#include "platform/profile.h"
#include "platform/qt_text.h"

namespace kvt {

// The help's texts; the viewer's keep the translation context of its window.
class CardActionText {
    Q_DECLARE_TR_FUNCTIONS(CardActionText)

public:
    // %1 is the count with its sign place (" 2"), so the English texts keep their exact blanks.
    static QString Caption(int action, const QString& n, bool hold_grid) {
        switch (action) {
        case kActionPassLeft: return QCoreApplication::translate("kvt::CardViewFrm", "Pass%1 Cards Left").arg(n);
        case kActionPassRight: return QCoreApplication::translate("kvt::CardViewFrm", "Pass%1  Cards Right").arg(n);
        case kActionPassAcross: return QCoreApplication::translate("kvt::CardViewFrm", "Pass%1  Cards Across").arg(n);
        case kActionDrawDeck: return QCoreApplication::translate("kvt::CardViewFrm", "Draw%1  Cards From Deck").arg(n);
        case kActionDrawRight: return QCoreApplication::translate("kvt::CardViewFrm", "Draw%1  Cards From RIGHT").arg(n);
        case kActionDrawLeft: return QCoreApplication::translate("kvt::CardViewFrm", "Draw%1  Cards From LEFT").arg(n);
        case kActionDrawAcross:
            return QCoreApplication::translate("kvt::CardViewFrm", "Draw%1  Cards From ACROSS").arg(n);
        case kActionDiscard:
            return hold_grid ? QCoreApplication::translate("kvt::CardViewFrm", "Discard Cards")
                             : QCoreApplication::translate("kvt::CardViewFrm", "Discard%1 Cards").arg(n);
        case kActionSkip: return QCoreApplication::translate("kvt::CardViewFrm", "Skip Next Player");
        case kActionReverse: return QCoreApplication::translate("kvt::CardViewFrm", "Reverse Direction of Play");
        default: return {};
        }
    }

    static QString Effect(int action) {
        switch (action) {
        case kActionPassLeft: return Pass(tr("the player on your left"));
        case kActionPassRight: return Pass(tr("the player on your right"));
        case kActionPassAcross: return Pass(tr("the player across from you"));
        case kActionDrawDeck: return tr("The next player draws N cards from the deck and loses the turn.");
        case kActionDrawRight: return Take(tr("the player on their right"));
        case kActionDrawLeft: return Take(tr("the player on their left"));
        case kActionDrawAcross: return Take(tr("the player across from them"));
        case kActionDiscard:
            return tr("You lay N cards of your choice on the pile first: click them into the hold grid, then press "
                      "Discard. With N = 0 it is a plain card that hands the turn on.");
        case kActionSkip: return tr("The next player misses a turn.");
        case kActionReverse:
            return tr("Play turns the other way round the table; the arrow in the middle shows the direction.");
        default: return {};
        }
    }

    static QString Table() {
        QString html = QStringLiteral("<table border=\"0\">\n<tr><th>%1</th><th>%2</th></tr>\n")
                           .arg(tr("Card Viewer"), tr("What happens"));
        for (int action = kActionPassLeft; action <= kActionReverse; ++action)
            html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                        .arg(Caption(action, QStringLiteral(" N"), false).toHtmlEscaped(),
                             Effect(action).toHtmlEscaped());
        return html + QStringLiteral("</table>\n");
    }

private:
    static QString Pass(const QString& whom) {
        return tr("You give N cards of your choice to %1: click them into the hold grid, then press Discard. "
                  "A computer player gives cards at random.")
            .arg(whom);
    }
    static QString Take(const QString& whom) {
        return tr("The next player takes N cards from the hand of %1 and loses the turn. When that is you, a "
                  "message names the player and you click the cards to take.")
            .arg(whom);
    }
};

QString ActionCaption(const Card& card, bool hold_grid) {
    return CardActionText::Caption(card.Action, ToQString(FormatNumber(card.ActionCount)), hold_grid);
}

QString ActionEffect(int action) { return CardActionText::Effect(action); }

QString CardActionsTable() { return CardActionText::Table(); }

}  // namespace kvt
