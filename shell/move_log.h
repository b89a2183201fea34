#pragma once

#include <QDockWidget>
#include <QString>
#include <array>
#include <string>

#include "core/event.h"

class QListWidget;

namespace kvt {

// One line of the move log for an event, in plain words: "Amara played 7 of
// group 2", "You drew 3 of group 1", "A card went from Amara to Ben". A card
// that moves between hidden places is never named. Empty for an event the
// log leaves out (a computer's choice, a sound). names[1..4] are the seats'
// names; seat 1 is "You".
QString MoveLogLine(const Event& event, const std::array<std::string, 5>& names);

// The log beside the table: newest line first, as plain text.
class MoveLog : public QDockWidget {
public:
    static constexpr int kMaxLines = 500;

    explicit MoveLog(QWidget* parent);
    void Add(const Event& event, const std::array<std::string, 5>& names);
    void Clear();
    int Lines() const;
    QString Line(int newest_first) const;

private:
    QListWidget* list_;
    bool dealing_ = false;  // the cards of a deal are one line, not one each
};

}  // namespace kvt
