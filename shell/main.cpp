#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "engine/game.h"
#include "formats/text_fields.h"
#include "shell/command_line.h"
#include "shell/console_table.h"
#include "platform/plain_text.h"
#include "platform/qt_text.h"
#include "shell/play_win.h"
#include "shell/single_table.h"
#include "shell/startup.h"
#include "shell/startup_profile.h"
#include "shell/translations_qt.h"

namespace {

constexpr const char* kVersion = "0.1.0";

void PrintUsage() {
    std::cout << "Usage: kvt [CARDSET.cds | PLAYER.dpf]\n"
                 "       kvt --print-deal [CARDSET.cds]\n"
                 "Starts the card table with the card set in force (or with CARDSET.cds, which\n"
                 "then stays in force). A player file opens the choice of opponents with it.\n"
                 "\n"
                 "  --print-deal  deal a game and print the table instead of showing it\n"
                 "  --help        show this help\n"
                 "  --version     show the version\n"
                 "\n"
                 "Environment: KVT_SEED fixes the shuffles, KVT_PLAYER_NAME skips the name question.\n";
}

// The console table: deals a game of the card set in force and prints it.
int PrintDeal(const std::optional<std::filesystem::path>& card_set) {
    kvt::LoadNotices view;
    auto game = std::make_unique<kvt::Game>(kvt::DefaultFolders(), view, kvt::SeedFromEnvironment());
    kvt::LoadOptions(*game);
    kvt::Status started = kvt::StartTable(*game, card_set);
    // A card set that cannot be used is an error for scripts as well.
    if (!started) {
        std::cerr << "kvt: " << kvt::text_fields::ForTerminal(started.message()) << "\n";
        return 1;
    }
    if (game->DrawDeck.Empty()) return 1;
    game->DealForPlayers();
    std::cout << kvt::text_fields::ForTerminal(kvt::DescribeTable(*game));
    return 0;
}

// The rest of the command line, taken as one path.
std::optional<std::filesystem::path> CardSetArgument(int argc, char** argv, int first) {
    if (first >= argc) return std::nullopt;
    std::string path = argv[first];
    for (int i = first + 1; i < argc; ++i) path += std::string(" ") + argv[i];
    return std::filesystem::path(path);
}

}  // namespace

int main(int argc, char** argv) {
    kvt::StartupMark("main");
    if (argc > 1) {
        if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
            PrintUsage();
            return 0;
        }
        if (std::strcmp(argv[1], "--version") == 0) {
            std::cout << "kvt " << kVersion << "\n";
            return 0;
        }
        if (std::strcmp(argv[1], "--print-deal") == 0) return PrintDeal(CardSetArgument(argc, argv, 2));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("kvt");
    QApplication::setApplicationVersion(kVersion);
    kvt::StartupMark("application");

    // Qt has taken its own options out of the command line by now.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    kvt::PlayWin::Options options;
    kvt::InstallTranslations(options.folders.SharedData);
    kvt::StartupMark("translations");
    if (!arguments.isEmpty()) {
        // The file manager opens player files with kvt too; those are offered for a seat.
        const std::filesystem::path named(QFile::encodeName(arguments.join(' ')).toStdString());
        switch (kvt::KindOfCommandLineFile(named)) {
        case kvt::CommandLineFile::kPlayer: options.player_file = named; break;
        case kvt::CommandLineFile::kDeal: options.deal = named; break;
        case kvt::CommandLineFile::kGameRecord: options.game_record = named; break;
        case kvt::CommandLineFile::kCardSet: options.card_set = named; break;
        }
    }

    // A second table on the same folders would change the files under the
    // first one: it brings that one forward, or runs on a copy, saving nothing.
    kvt::SingleTable single(options.folders.AppDir);
    QTemporaryDir scratch;
    bool in_memory = false;
    if (!single.Claim()) {
        kvt::PlainMessageBox box(QMessageBox::Question, QObject::tr("KVT"),
                                 QObject::tr("KVT is already running with the folder \"%1\".")
                                     .arg(kvt::PathText(options.folders.AppDir)),
                                 QMessageBox::NoButton);
        QPushButton* forward = box.addButton(QObject::tr("&Bring It Forward"), QMessageBox::AcceptRole);
        box.addButton(QObject::tr("&Run Without Saving"), QMessageBox::RejectRole);
        box.setInformativeText(QObject::tr("A table run alongside it saves no settings and changes no files."));
        box.exec();
        if (box.clickedButton() == forward) {
            single.CallForward();
            return 0;
        }
        options.folders.AppDir = kvt::CopyOfWorkingFolder(options.folders.AppDir, scratch.path().toStdString());
        in_memory = true;
    }

    kvt::StartupMark("single table claimed");
    kvt::PlayWin table(std::move(options));
    kvt::StartupMark("window built");
    if (in_memory) table.GameState().Settings().KeepInMemory();
    QObject::connect(&single, &kvt::SingleTable::ForwardWanted, &table, [&table] {
        table.showNormal();
        table.raise();
        table.activateWindow();
    });
    if (!table.Start()) return 0;
    kvt::StartupMark("table started");
    table.show();
    kvt::StartupMark("shown");
    return QApplication::exec();
}
