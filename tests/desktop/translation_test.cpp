#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <iostream>

#include "gui_support.h"
#include "shell/translations_qt.h"

namespace kvt {
namespace {

constexpr const char* kCaptionOption = "--new-game-caption";

// `desktop_tests --new-game-caption` prints the caption of File > New Game as
// kvt shows it for the language of the environment.
int PrintNewGameCaption() {
    InstallTranslations(KVT_TEST_DATA_DIR);
    gui_test::TableSetup setup;
    PlayWin table(setup.Options());
    std::cout << table.MenuEntry("MM_NEW_GAME")->text().toStdString() << std::endl;
    return 0;
}

[[maybe_unused]] const bool kCaptionOptionSet = [] {
    gui_test::ExtraMainOption() = {kCaptionOption, &PrintNewGameCaption};
    return true;
}();

// The caption of File > New Game as a table started in this environment
// shows it (every locale variable of the runner removed first).
QString NewGameCaption(const QStringList& locale_variables) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys())
        if (name == "LANG" || name == "LANGUAGE" || name.startsWith("LC_")) environment.remove(name);
    for (const QString& variable : locale_variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    QProcess table;
    table.setProcessEnvironment(environment);
    table.start(QCoreApplication::applicationFilePath(), {kCaptionOption});
    if (!table.waitForFinished(60000) || table.exitCode() != 0) return QStringLiteral("<failed>");
    return QString::fromUtf8(table.readAllStandardOutput()).trimmed();
}

// German from the language variables, the original texts otherwise; English
// first wins over a later language we have.
TEST(Translation, TheCaptionFollowsTheLanguageVariables) {
    const std::pair<QStringList, QString> cases[] = {
        {{"LANGUAGE=de"}, "&Neues Spiel"},     {{"LC_ALL=de_DE.UTF-8"}, "&Neues Spiel"},
        {{"LANG=de_AT.UTF-8"}, "&Neues Spiel"}, {{}, "&New Game"},
        {{"LANG=fr_FR.UTF-8"}, "&New Game"},    {{"LANGUAGE=en_GB:de"}, "&New Game"}};
    for (const auto& [variables, caption] : cases)
        EXPECT_EQ(NewGameCaption(variables), caption) << variables.join(' ').toStdString();
}

}  // namespace
}  // namespace kvt
