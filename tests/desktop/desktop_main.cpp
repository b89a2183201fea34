#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <iostream>

#include "desktop_support.h"
#include "shell/play_win.h"
#include "shell/translations_qt.h"

// `desktop_tests --new-game-caption` prints the caption of File > New Game as
// kvt shows it for the language of the environment; the translation tests run
// it with the environments they check.
int PrintNewGameCaption(QApplication& app) {
    (void)app;
    kvt::InstallTranslations(KVT_TEST_DATA_DIR);
    kvt::PlayWin table(kvt::desktop_test::TableOptions());
    std::cout << table.MenuEntry("MM_NEW_GAME")->text().toStdString() << std::endl;
    return 0;
}

// Windows draw offscreen, and nothing reaches the real settings or data folders.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(home.path()).filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(home.path()).filePath("data")));
    qunsetenv("KVT_PLAYER_NAME");
    qunsetenv("KVT_SEED");

    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kvt::desktop_test::kCaptionOption) == 0) return PrintNewGameCaption(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
