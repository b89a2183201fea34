#include "tools/sim/report.h"

#include <cstdio>
#include <string>

namespace kvt::sim {
namespace {

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

double Ratio(double a, double b) { return b > 0 ? a / b : 0.0; }

}  // namespace

void PrintText(std::ostream& out, const Stats& s, bool with_time) {
    out << "games                    " << s.Games << "\n";
    out << "rounds                   " << s.Rounds << "\n";
    out << "wins per seat            ";
    for (int p = 1; p <= 4; ++p) out << (p > 1 ? " " : "") << p << ":" << s.Wins[p];
    out << "\n";
    out << "mean rounds per game     " << Fixed(Ratio(s.Rounds, s.Games), 3) << "\n";
    out << "mean turns per round     " << Fixed(Ratio(s.Turns, s.Rounds), 3) << "\n";
    out << "cards drawn              " << s.CardsDrawn << "\n";
    out << "deck rebuilds            " << s.DeckRebuilds << "\n";
    out << "cards played by action  ";
    for (const auto& [action, n] : s.Played) out << " " << action << ":" << n;
    out << "\n";
    out << "passes, nothing to draw  " << s.PassesNothingToDraw << "\n";
    out << "refused moves            " << s.RefusedMoves << "\n";
    out << "group cards added        " << s.GroupCardsAdded << "\n";
    out << "rounds ended stuck       " << s.StuckRounds << "\n";
    out << "longest no-progress run  " << s.LongestTurnsWithoutProgress << " turns\n";
    if (with_time) {
        out << "wall time                " << Fixed(s.Seconds, 3) << " s\n";
        out << "games per second         " << Fixed(Ratio(s.Games, s.Seconds), 1) << "\n";
        out << "peak resident memory     " << s.PeakRssKb << " kB\n";
        out << "open files at the end    " << s.OpenFiles << "\n";
    }
}

void PrintJson(std::ostream& out, const Stats& s, bool with_time) {
    out << "{\"games\":" << s.Games << ",\"rounds\":" << s.Rounds << ",\"turns\":" << s.Turns << ",\"wins\":{";
    for (int p = 1; p <= 4; ++p) out << (p > 1 ? "," : "") << "\"" << p << "\":" << s.Wins[p];
    out << "},\"meanRoundsPerGame\":" << Fixed(Ratio(s.Rounds, s.Games), 3)
        << ",\"meanTurnsPerRound\":" << Fixed(Ratio(s.Turns, s.Rounds), 3) << ",\"cardsDrawn\":" << s.CardsDrawn
        << ",\"deckRebuilds\":" << s.DeckRebuilds << ",\"playedByAction\":{";
    bool first = true;
    for (const auto& [action, n] : s.Played) {
        out << (first ? "" : ",") << "\"" << action << "\":" << n;
        first = false;
    }
    out << "},\"playedByCard\":{";
    first = true;
    for (const auto& [key, n] : s.PlayedCards) {
        const Card card = PlayedCardOf(key);
        out << (first ? "" : ",") << "\"" << card.Group << "/" << card.Value << "/" << card.Action << "/"
            << card.ActionCount << "\":" << n;
        first = false;
    }
    out << "},\"starterWins\":" << s.StarterWins << ",\"passesNothingToDraw\":" << s.PassesNothingToDraw << ",\"refusedMoves\":" << s.RefusedMoves
        << ",\"groupCardsAdded\":" << s.GroupCardsAdded << ",\"stuckRounds\":" << s.StuckRounds
        << ",\"longestTurnsWithoutProgress\":" << s.LongestTurnsWithoutProgress << ",\"signature\":" << s.Signature;
    if (with_time)
        out << ",\"seconds\":" << Fixed(s.Seconds, 6) << ",\"gamesPerSecond\":" << Fixed(Ratio(s.Games, s.Seconds), 1)
            << ",\"peakRssKb\":" << s.PeakRssKb << ",\"openFiles\":" << s.OpenFiles;
    out << "}\n";
}

}  // namespace kvt::sim
