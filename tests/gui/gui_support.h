#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/card_stack.h"
#include "shell/play_win.h"

namespace kvt::gui_test {

namespace fs = std::filesystem;

// A table on folders of its own: settings, working folder, and the shipped
// data of the build (with "default.cds").
class TableSetup {
public:
    TableSetup();
    ~TableSetup();

    Folders folders;
    // Title and text of every message the window reported.
    std::vector<std::pair<QString, QString>> messages;
    std::unique_ptr<PlayWin> win;

    PlayWin::Options Options() const;
    // Creates the window on Options() (the settings written before count),
    // starts it with the name "Tester" and, unless told not to, shows it.
    PlayWin& Open(bool show = true);
    PlayWin& Open(PlayWin::Options options, bool show = true);
    // Creates the window without starting it.
    PlayWin& Create(PlayWin::Options options);

    fs::path Root() const;
    // A settings value as it stands in the file: the text after "Key=".
    std::string RawSetting(const std::string& key) const;
    void WriteSetting(const std::string& key, const std::string& value) const;

private:
    QTemporaryDir temp_;
};

// A hand of the given (group, value) pairs, with pictures from the first row.
CardStack HandOf(const std::vector<std::pair<int, int>>& cards);
// A hand of n cards of the game's card set, taken from its definitions.
CardStack HandFromSet(const Game& game, int n);

// Every card of the table (hands, deck, pile, hold and picked stacks).
int CardsOnTable(const Game& game);

// A PCM wave file of the given length (8 kHz, 16-bit mono).
void WriteWave(const fs::path& path, int milliseconds);

// The colour of a table pixel as drawn now (children included).
QColor PixelOf(QWidget* widget, int x, int y);

}  // namespace kvt::gui_test
