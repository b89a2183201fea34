#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <vector>

namespace kvt::kvx {

// One figure of a balance report, as the simulator printed it.
struct BalanceFigure {
    QString name;
    QString value;
};

// What the charts draw from kvt-sim's JSON report.
struct BalanceCounts {
    std::array<long long, 5> wins{};             // by seat, 1..4
    std::map<int, long long> played_by_action;  // cards laid on the pile
};

// The figures of kvt-sim's JSON report, named for people; machine figures
// (timings, memory) are left out. `seat_names` (seats 1..4) name the players
// beside their wins. Empty when the text is no such report.
std::vector<BalanceFigure> BalanceFigures(const QByteArray& json, const QStringList& seat_names = {});
BalanceCounts BalanceCountsOf(const QByteArray& json);
// The figures as CSV: a header line, then one "name,value" line each.
QString BalanceCsv(const std::vector<BalanceFigure>& figures);

}  // namespace kvt::kvx
