#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kvt {

// How a dialog reports a message: a title and a text, shown as a plain box
// with an OK button. The table passes its own reporter so tests can catch them.
using FrmMessage = std::function<void(const QString& title, const QString& text)>;

// A plain message box over `parent` when no reporter is given.
void ShowFrmMessage(const FrmMessage& sink, QWidget* parent, const QString& title, const QString& text);

// Puts a window in the middle of the screen its parent is on (or the primary one).
void CentreOnScreen(QWidget* window);

// Puts a window in the middle of another window.
void CentreOver(QWidget* window, const QWidget* over);

}  // namespace kvt
