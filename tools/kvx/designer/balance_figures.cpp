#include "tools/kvx/designer/balance_figures.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include "engine/card_text.h"

namespace kvt::kvx {
namespace {

QString Tr(const char* text) { return QCoreApplication::translate("kvt::kvx::BalanceReport", text); }

// kvt-sim's figures in the order shown, with their names for people.
struct FigureName {
    const char* key;
    const char* name;
};
constexpr FigureName kFigureNames[] = {
    {"games", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Games")},
    {"rounds", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Rounds")},
    {"turns", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Turns")},
    {"meanRoundsPerGame", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Mean rounds per game")},
    {"meanTurnsPerRound", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Mean turns per round")},
    {"cardsDrawn", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Cards drawn")},
    {"deckRebuilds", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Deck rebuilds")},
    {"groupCardsAdded", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Group choices by wild cards")},
    {"passesNothingToDraw", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Passes with nothing to draw")},
    {"stuckRounds", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Rounds ended stuck")},
    {"longestTurnsWithoutProgress", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Longest run of turns without progress")},
};

QString Number(const QJsonValue& value) {
    const double d = value.toDouble();
    return d == static_cast<double>(static_cast<long long>(d)) ? QString::number(static_cast<long long>(d))
                                                               : QString::number(d, 'f', 3);
}

QJsonObject Report(const QByteArray& json) {
    const QJsonObject report = QJsonDocument::fromJson(json).object();
    return report.contains(QLatin1String("games")) ? report : QJsonObject();
}

}  // namespace

BalanceCounts BalanceCountsOf(const QByteArray& json) {
    const QJsonObject report = Report(json);
    BalanceCounts counts;
    const QJsonObject wins = report.value(QLatin1String("wins")).toObject();
    for (int seat = 1; seat <= 4; ++seat)
        counts.wins[seat] = static_cast<long long>(wins.value(QString::number(seat)).toDouble());
    const QJsonObject played = report.value(QLatin1String("playedByAction")).toObject();
    for (auto it = played.begin(); it != played.end(); ++it)
        counts.played_by_action[it.key().toInt()] = static_cast<long long>(it.value().toDouble());
    return counts;
}

std::vector<BalanceFigure> BalanceFigures(const QByteArray& json, const QStringList& seat_names) {
    const QJsonObject report = Report(json);
    if (report.isEmpty()) return {};
    std::vector<BalanceFigure> figures;
    for (const FigureName& f : kFigureNames)
        if (report.contains(QLatin1String(f.key)))
            figures.push_back({Tr(f.name), Number(report.value(QLatin1String(f.key)))});
    const BalanceCounts counts = BalanceCountsOf(json);
    const double games = report.value(QLatin1String("games")).toDouble();
    for (int seat = 1; seat <= 4; ++seat) {
        const QString who = seat_names.value(seat - 1);
        const QString name = who.isEmpty() ? Tr("Wins of seat %1").arg(seat) : Tr("Wins of seat %1 (%2)").arg(seat).arg(who);
        figures.push_back({name, QString::number(counts.wins[seat])});
        figures.push_back({Tr("Win share of seat %1").arg(seat),
                           games > 0 ? QString::number(100.0 * counts.wins[seat] / games, 'f', 1) + QLatin1Char('%')
                                     : QString()});
    }
    // First-player advantage: the seat that played first wins a quarter of the games if it has none.
    if (report.contains(QLatin1String("starterWins"))) {
        const double starter = report.value(QLatin1String("starterWins")).toDouble();
        figures.push_back({Tr("Games won by the seat that played first"), Number(starter)});
        figures.push_back({Tr("Their share (25% would be no advantage)"),
                           games > 0 ? QString::number(100.0 * starter / games, 'f', 1) + QLatin1Char('%') : QString()});
    }
    for (const auto& [action, n] : counts.played_by_action)
        figures.push_back({Tr("Cards played: %1").arg(QString::fromStdString(ActionName(action))), QString::number(n)});
    const QJsonObject by_card = report.value(QLatin1String("playedByCard")).toObject();
    for (auto it = by_card.begin(); it != by_card.end(); ++it) {
        const QStringList parts = it.key().split(QLatin1Char('/'));
        if (parts.size() != 4) continue;
        Card card;
        card.Group = static_cast<std::int16_t>(parts[0].toInt());
        card.Value = static_cast<std::int16_t>(parts[1].toInt());
        card.Action = static_cast<std::int16_t>(parts[2].toInt());
        card.ActionCount = static_cast<std::int16_t>(parts[3].toInt());
        figures.push_back({Tr("Played card %1").arg(QString::fromStdString(ShortCardText(card))), Number(it.value())});
    }
    return figures;
}

QString BalanceCsv(const std::vector<BalanceFigure>& figures) {
    const auto field = [](QString text) {
        if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
            return text;
        return QLatin1Char('"') + text.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    };
    QString csv = QStringLiteral("figure,value\n");
    for (const BalanceFigure& f : figures) csv += field(f.name) + QLatin1Char(',') + field(f.value) + QLatin1Char('\n');
    return csv;
}

}  // namespace kvt::kvx
