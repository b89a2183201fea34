// Faults as the table meets them, a second table on the same folders, hostile
// names, and a kill while the game in progress is kept.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "dialogs/card_view_frm.h"
#include "dialogs/frm_support.h"
#include "dialogs/game_over_frm.h"
#include "dialogs/score_frm.h"
#include "engine/card_set.h"
#include "engine/computer_seat.h"
#include "engine/working_files.h"
#include "gui_support.h"
#include "match/match_driver.h"
#include "platform/picture_clip.h"
#include "platform/profile.h"
#include "platform/sound_output.h"
#include "shell/about_dlg.h"
#include "shell/single_table.h"
#include "shell/table_resume.h"
#include "tests/test_support.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;
using gui_test::TableSetup;

// Whether the table has said `count` things so far, the last naming `file`.
bool SaidNaming(const TableSetup& setup, std::size_t count, const fs::path& file) {
    const QString name = QString::fromStdString(file.string());
    return setup.messages.size() == count && setup.messages.back().second.contains(name);
}

bool FaceIsDrawn(const PlayWin& win, const Card& card) {
    const QImage face = win.CardClip().CardFace(card).toImage();
    return !face.isNull() && face.pixelColor(face.width() / 2, face.height() / 2).alpha() > 0;
}

bool DealsAFreshGame(PlayWin& win) {
    win.NewGameCommand();
    return test::HandCounts(win.GameState()) == std::vector<int>(4, kHandSize);
}

// A card set named on the command line or loaded from the menu is reported and the set in force stays with
// its pictures. (Its working files stay too: CardSetLoading.TheBitmapIsCheckedOnceFromTheCardSet...)
TEST(UndecodableCardBitmap, LoadingTheSetIsRefusedAndADamagedWorkingCopyShowsBlankCards) {
    TableSetup setup;
    // A card set whose layout is sound but whose bitmap bytes are no picture.
    CardSetDef garbled = test::SampleCardSet();
    garbled.GameTitle = FitTitle("Garbled pictures");
    PlayWin::Options options = setup.Options();
    options.card_set = test::WriteCardSet(setup.Root() / "garbled.cds", test::SampleCardSetFile(garbled, 5000));
    PlayWin& win = setup.Open(options);
    const Game& game = win.GameState();
    EXPECT_TRUE(SaidNaming(setup, 1, *options.card_set));
    EXPECT_NE(game.CardSet.GameTitle, FitTitle("Garbled pictures"));
    const CardSetDef set_before = game.CardSet;
    const Card some_card = game.Players[1][0];
    ASSERT_TRUE(FaceIsDrawn(win, some_card));

    win.LoadCardSetCommand(*options.card_set);
    EXPECT_TRUE(SaidNaming(setup, 2, *options.card_set));
    EXPECT_EQ(game.CardSet, set_before);
    EXPECT_TRUE(FaceIsDrawn(win, some_card) && DealsAFreshGame(win));

    // A damaged working copy at the next start shows blank cards, says so once, and the play goes on.
    setup.Close();
    test::WriteBytes(setup.folders.AppDir / files::kCardBitmap, "BM but nothing after");
    setup.messages.clear();
    PlayWin& again = setup.Open();
    EXPECT_TRUE(again.CardClip().IsEmpty());
    EXPECT_TRUE(SaidNaming(setup, 1, setup.folders.AppDir / files::kCardBitmap));
    EXPECT_TRUE(!FaceIsDrawn(again, again.GameState().Players[1][0]) && DealsAFreshGame(again));
    again.RedrawTable();
    QApplication::processEvents();
}

TEST(UnwritableSettings, TheGameGoesOnWithTheValuesInMemoryAndSaysNothing) {
    TableSetup setup;
    fs::create_directories(setup.folders.SettingsFile);  // a folder where kvt.ini belongs
    PlayWin& win = setup.Open();
    const bool sorted = win.GameState().SortCards;
    win.MenuEntry("MM_SORT_CARDS")->trigger();
    win.MenuEntry("MM_VIEWER")->trigger();
    win.LoadCardSetCommand(setup.folders.SharedData / files::kDefaultCardSet);
    EXPECT_EQ(std::tuple(win.GameState().SortCards, win.GameState().CardViewer), std::tuple(!sorted, true));
    EXPECT_TRUE(DealsAFreshGame(win));
    win.close();
    EXPECT_TRUE(setup.messages.empty()) << setup.messages[0].second.toStdString();
    EXPECT_TRUE(fs::is_empty(setup.folders.SettingsFile));
}

TEST(UnusableWorkingFolder, StartUpReportsTheFolderOnceAndTheTableStaysUp) {
    TableSetup setup;
    test::WriteBytes(setup.Root() / "blocked", "a file where a folder belongs");
    setup.folders.AppDir = setup.Root() / "blocked" / "kvt";
    PlayWin& win = setup.Open();
    EXPECT_TRUE(SaidNaming(setup, 1, setup.folders.AppDir));
    win.NewGameCommand();
    win.RedrawTable();
    QApplication::processEvents();
    EXPECT_EQ(test::ReadBytes(setup.Root() / "blocked"), "a file where a folder belongs");
}

// Clips that cannot be played are passed over: no wait, no message.
TEST(UndecodableWave, OpeningSoundAndPlayerClipsAreSilentAndImmediateAndFifosAreRefusedAtOnce) {
    TableSetup setup;
    PlayWin& win = setup.Open(false);
    Game& game = win.GameState();
    game.OpeningMusic = true;
    const fs::path opening = setup.folders.AppDir / files::kOpeningSound;
    const fs::path clip = setup.Root() / "Player2" / "wg1.wav";
    const fs::path truncated = setup.Root() / "truncated.wav";
    gui_test::WriteWave(truncated, 20000);
    fs::resize_file(truncated, 44);  // the header promises 20 s, the data is gone
    const std::vector<std::pair<std::string, std::string>> waves = {
        {"garbage", std::string("RIFF\x10\0\0\0WAVEfmt \xff\xff\xff\xff", 20) + std::string(500, '\x7f')},
        {"empty", ""},
        {"missing", "-"},
        {"truncated", test::ReadBytes(truncated)},
    };
    for (const auto& [what, bytes] : waves) {
        SCOPED_TRACE(what);
        for (const fs::path& path : {opening, clip}) {
            fs::remove(path);
            if (bytes != "-") test::WriteBytes(path, bytes);
        }
        EXPECT_TRUE(what == "truncated" || !WavClipLength(QString::fromStdString(clip.string())));
        // A clip of the rules ends at once, or after the margin at most, never
        // after the 20 s the truncated header promises.
        const gui_test::WaitMark too_long(2 * SoundOutput::kMarginMs);
        win.PlayOpeningSound();
        gui_test::SpeakComment(win, clip.parent_path() / "voice", clip);
        ASSERT_TRUE(gui_test::Settle(win));
        EXPECT_FALSE(too_long.Reached());
    }
    EXPECT_EQ(WavClipLength(QString::fromStdString(truncated.string())), 0);
    win.show();
    QApplication::processEvents();
    EXPECT_TRUE(setup.messages.empty());
    // A FIFO at a working file's name would block a plain open for ever: the
    // pictures and the opening sound are refused at once and play goes on.
    for (const char* name : {files::kCardBitmap, files::kBackground, files::kOpeningSound}) {
        SCOPED_TRACE(name);
        const fs::path path = setup.folders.AppDir / name;
        fs::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
        const QString qpath = QString::fromStdString(path.string());
        EXPECT_TRUE(ReadPicture(qpath).isNull());
        EXPECT_EQ(WavClipLength(qpath), std::nullopt);
        win.PlayOpeningSound();
        EXPECT_TRUE(fs::is_fifo(path));
    }
    EXPECT_TRUE(DealsAFreshGame(win));
}

TEST(SecondTable, FindsTheFirstCallsItForwardAndKeepsItsSettingsInMemory) {
    test::TempDir folders;
    SingleTable first(folders / "kvt");
    SingleTable second(folders / "kvt");
    SingleTable elsewhere(folders / "other");
    EXPECT_FALSE(second.CallForward());  // nobody there yet
    ASSERT_TRUE(first.Claim());
    EXPECT_FALSE(second.Claim());
    EXPECT_TRUE(elsewhere.Claim());
    QSignalSpy forward(&first, &SingleTable::ForwardWanted);
    EXPECT_TRUE(second.CallForward());
    EXPECT_TRUE(QTest::qWaitFor([&] { return forward.count() == 1; }, 5000));

    // Its settings stay in memory, the file as the first table left it.
    const fs::path ini = folders / "kvt.ini";
    test::WriteBytes(ini, "[Misc]\nSort=0\n");
    Profile settings(ini);
    settings.KeepInMemory();
    ASSERT_TRUE(settings.WriteString("Misc", "Left", " 10"));
    EXPECT_EQ(settings.ReadInt("Misc", "Left", 0), 10);
    EXPECT_EQ(test::ReadBytes(ini), "[Misc]\nSort=0\n");
}

// Names, titles and paths from files are shown as they are, never as rich text: hostile ones fed through the
// table and its windows must show verbatim in labels and message boxes that are all plain text.
std::string NestedTables(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<table><tr><td>";
    return text + "x";
}

const QString kImage = QStringLiteral("<img src='/dev/zero'>");
const QString kHugeImage = QStringLiteral("<img width=30000 height=30000>");

// Every label and message box alive is plain text; returns how many labels show `text`.
int PlainLabelsShowing(const QString& text) {
    int showing = 0;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString() << ": "
                                                          << label->text().left(60).toStdString();
            if (label->text().contains(text)) ++showing;
        }
        if (auto* box = qobject_cast<QMessageBox*>(widget)) {
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
        }
    }
    return showing;
}

TEST(PlainText, HostileNamesTitlesAndFileNamesShowVerbatimEverywhere) {
    gui_test::TableSetup setup;
    // The shipped set, with its pictures, under a hostile title and author.
    CardSetFile file;
    ASSERT_TRUE(DecodeCardSetFile(test::ReadBytes(setup.folders.SharedData / "default.cds"), file));
    file.Def.GameTitle = FitTitle(kHugeImage.toStdString());
    file.Def.AuthorName = NestedTables(2000);
    PlayWin::Options options = setup.Options();
    options.card_set = test::WriteCardSet(setup.Root() / "hostile.cds", file);
    options.player_name = kImage;
    PlayWin& win = setup.Open(options);
    ASSERT_TRUE(setup.messages.empty()) << setup.messages[0].second.toStdString();
    for (int p = 2; p <= 4; ++p) win.GameState().PlayerInfo[p].Name = kImage.toStdString();

    ScoreFrm score;
    score.ShowSheet(win.GameState().Sheet(), 0);
    GameOverFrm over;
    over.ShowPlayer(2, kImage, setup.Root() / "<img src='x'>.bmp");
    CardViewFrm viewer;
    AboutDlg about;

    EXPECT_GE(PlainLabelsShowing(kHugeImage), 1);          // the card set's title on the table
    EXPECT_GE(PlainLabelsShowing(kImage), 2);              // the human's name, the game-over caption
    EXPECT_GE(PlainLabelsShowing(QString::fromStdString(NestedTables(3))), 1);  // the author

    const QString text = kImage + QStringLiteral(" cannot be read");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    gui_test::WhenModal<QMessageBox>([&](QMessageBox& box) {
        shown = box.text();
        format = box.textFormat();
        box.accept();
    });
    ShowFrmMessage(nullptr, nullptr, kImage, text);
    EXPECT_EQ(std::tuple(shown, format), std::tuple(text, Qt::PlainText));
    // "[*]" in a title is shown as it stands, not taken for the mark of unsaved changes.
    file.Def.GameTitle = FitTitle("Best [*] Game");
    win.LoadCardSetCommand(test::WriteCardSet(setup.Root() / "marked.cds", file));
    EXPECT_EQ(win.windowHandle()->title(), "KVT - Best [*] Game");
}

// The game in progress is kept after every move; a kill at a random byte of keeping one brings back the table
// of the last move kept whole at the next start, never a mangled one.
constexpr std::uint64_t kSeed = 20240607;
constexpr std::size_t kMostMovesKept = 300;

// The table and its score sheet, as a start brings them back.
std::string Snapshot(const Game& game) {
    std::string text = WriteTableState(game.State());
    for (int row = 0; row < ScoreSheet::kRows; ++row)
        for (int p = 1; p <= 4; ++p) text += game.Sheet().Cell(row, p) + (game.Sheet().Struck(row, p) ? "/" : "|");
    return text;
}

// A game of four computers on the fixture's folders, its card set read, not yet dealt.
std::unique_ptr<Game> ComputersGame(test::TableFixture& fixture, std::uint64_t seed) {
    auto game = fixture.NewGameObject(seed);
    game->ComputerSeat1 = true;
    game->PlayerSounds = false;
    for (int p = 1; p <= 4; ++p) game->PlayerInfo[p].Name = "P" + std::to_string(p);
    EXPECT_TRUE(game->ReloadCardSet().ok());
    return game;
}

struct KeptMatch {
    explicit KeptMatch(test::TableFixture& fixture)
        : game(ComputersGame(fixture, kSeed)), computer(*game), driver(*game) {
        game->NewGame();
        for (int seat = 1; seat <= 4; ++seat) driver.SetSeat(seat, &computer);
    }
    bool Step() {
        Events events;
        return driver.Advance(events) == MatchDriver::Step::Applied;
    }
    std::unique_ptr<Game> game;
    ComputerSeat computer;
    MatchDriver driver;
};

TEST(ResumeKill, AKillInTheMiddleOfKeepingAMoveBringsBackTheMoveBefore) {
    test::TableFixture fixture;
    const auto file = fixture.folders.AppDir / "table-in-progress.txt";

    // The same match played here: the table after each move, 0 as dealt.
    KeptMatch reference(fixture);
    std::vector<std::string> tables{Snapshot(*reference.game)};
    while (tables.size() <= kMostMovesKept && reference.Step()) tables.push_back(Snapshot(*reference.game));
    ASSERT_EQ(tables.size(), kMostMovesKept + 1);

    std::mt19937 chance(7);
    for (int trial = 0; trial < 12; ++trial) {
        std::filesystem::remove(file);
        // Killed while keeping a random move, at a random byte of it: the
        // file size limit ends the process with SIGXFSZ at that byte.
        const int kept = std::uniform_int_distribution<int>(0, static_cast<int>(kMostMovesKept))(chance);
        const double cut = std::uniform_real_distribution<double>(0, 1)(chance);
        const pid_t child = ::fork();
        if (child == 0) {
            KeptMatch match(fixture);
            TableResume resume(file);
            for (int move = 1; move <= kept; ++move)
                if (!match.Step() || !resume.Save(*match.game)) ::_exit(2);
            const auto size = kept > 0 ? std::filesystem::file_size(file) : 1000;
            const rlimit limit{static_cast<rlim_t>(static_cast<double>(size) * cut), RLIM_INFINITY};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0 || !match.Step()) ::_exit(3);
            (void)resume.Save(*match.game);
            ::_exit(4);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "trial " << trial << ": status " << status;

        const auto restored = ComputersGame(fixture, 1);
        std::string why;
        const TableResume::Outcome outcome = TableResume(file).Restore(*restored, why);
        if (kept == 0) {
            EXPECT_EQ(outcome, TableResume::Outcome::kNothingSaved) << "trial " << trial;
            continue;
        }
        ASSERT_EQ(outcome, TableResume::Outcome::kResumed) << "trial " << trial << ": " << why;
        EXPECT_EQ(Snapshot(*restored), tables[static_cast<std::size_t>(kept)]) << "trial " << trial << ", move " << kept;
    }
}

}  // namespace
}  // namespace kvt
