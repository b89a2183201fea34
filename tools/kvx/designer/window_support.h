#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <string>

class QMediaPlayer;
class QWidget;

namespace kvt::kvx {

// Asks whether to save unsaved changes (Save, Discard or Cancel); `ask`, when
// set, answers instead of a message box.
QMessageBox::StandardButton AskToSave(QWidget* parent, const QString& title, const QString& text,
                                      const std::function<QMessageBox::StandardButton(const QString&)>& ask);

// Plays a WAV file's bytes through `player`, made on first use as a child of
// `owner`. The player reads its own copy, so later edits cannot pull the bytes away.
void PlayWave(QMediaPlayer*& player, QWidget* owner, const std::string& bytes);

}  // namespace kvt::kvx
