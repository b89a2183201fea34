#pragma once

namespace kvt {

class PlayWin;
struct TableClick;

// Hands a click on the table to the rule operation it stands for; the rules
// ignore whatever does not fit the state of play.
void RouteTableClick(PlayWin& window, const TableClick& click);

}  // namespace kvt
