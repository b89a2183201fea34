// The card-set designer and the player-file window, driven offscreen through their commands.

#include <gtest/gtest.h>

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <QWindow>
#include <tuple>

#include "kvx_test_support.h"
#include "tools/kvx/designer/balance_report.h"
#include "tools/kvx/designer/bitmap_cells_view.h"
#include "tools/kvx/designer/definition_edits.h"
#include "tools/kvx/designer/definitions_model.h"
#include "tools/kvx/designer/designer_main.h"
#include "tools/kvx/designer/designer_window.h"
#include "tools/kvx/designer/play_test.h"
#include "tools/kvx/designer/play_warnings.h"
#include "tools/kvx/designer/player_window.h"
#include "tools/kvx/player_manifest.h"
#include "platform/profile.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;
using Part = CardSetDocument::Part;

QString Text(const fs::path& path) { return QString::fromStdString(path.string()); }

// A picture of one colour saved at `path`, in the format its suffix names.
QString SavedPicture(const fs::path& path, int width, int height, Qt::GlobalColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    EXPECT_TRUE(picture.save(Text(path)));
    return Text(path);
}

// A designer or player window on a temporary folder; the texts it reports are collected (the designer's
// come after a title), and a question about unsaved changes gets `answer_`.
template <typename Window>
class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        window_.message_sink = [this](const auto&... parts) {
            messages_.push_back(std::get<sizeof...(parts) - 1>(std::tie(parts...)));
        };
        window_.ask_to_save = [this](const QString&) { return answer_; };
    }
    fs::path Write(const char* name, const CardSetFile& f) { return test::WriteCardSet(dir_ / name, f); }
    QString File(const char* name, const std::string& bytes) {
        test::WriteBytes(dir_ / name, bytes);
        return Text(dir_ / name);
    }
    void Edit(int definition, int column, const QVariant& value) {
        QAbstractItemModel* model = window_.Table().model();
        ASSERT_TRUE(model->setData(model->index(definition, column), value));
    }
    QStringList ProblemTexts() {
        QStringList texts;
        for (int i = 0; i < window_.Problems().count(); ++i) texts << window_.Problems().item(i)->text();
        return texts;
    }

    test::TempDir dir_;
    Window window_;
    QStringList messages_;
    QMessageBox::StandardButton answer_ = QMessageBox::Discard;
};
using DesignerTest = WindowTest<DesignerWindow>;
using PlayerWindowTest = WindowTest<PlayerWindow>;

TEST_F(DesignerTest, UnchangedSetsSaveByteForByteAndEveryEditUndoesAndRedoesToTheByte) {
    for (const CardSetFile& set : {testing::OddCardSet(), testing::SparseCardSet(), testing::PlainCardSet()}) {
        ASSERT_TRUE(window_.OpenFile(Write("in.cds", set)));
        // Leaving a text field untouched is no edit, even where a line edit cannot show the text.
        for (QLineEdit* field : window_.findChildren<QLineEdit*>()) emit field->editingFinished();
        EXPECT_FALSE(window_.Document().IsModified());
        ASSERT_TRUE(window_.SaveFile(dir_ / "out.cds"));
        EXPECT_TRUE(test::ReadBytes(dir_ / "out.cds") == test::ReadBytes(dir_ / "in.cds"));
    }
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();

    // The plain set is open.
    const CardSetFile original = window_.Document().File();
    const QString png = SavedPicture(dir_ / "cards.png", 300, 230, Qt::darkGreen);

    Edit(3, DefinitionsModel::kGroup, 7);
    Edit(3, DefinitionsModel::kAction, "skip");
    Edit(4, DefinitionsModel::kAction, "5");
    window_.SelectDefinition(2);
    window_.DuplicateDefinition();
    window_.AddDefinition();
    window_.MoveDefinition(-1);
    window_.SelectDefinition(0);
    window_.RemoveDefinition();
    QTest::mouseClick(&window_.Cells(), Qt::LeftButton, {}, QPoint(2 * kCellPitchX + 20, kCellPitchY + 20));
    auto* title = window_.findChild<QLineEdit*>();
    title->setText("Renamed");
    emit title->editingFinished();
    ASSERT_TRUE(window_.ImportPart(Part::Bitmap, png));
    EXPECT_FALSE(window_.ImportPart(Part::Sound, png));

    const CardSetFile& doc = window_.Document().File();
    // Duplicated 2 into 3, added a new 4 and moved it up to 3, removed 0: all moved up one.
    const auto& defs = doc.Def.CardDefs;
    const auto& was = original.Def.CardDefs;
    EXPECT_EQ(std::tuple(defs[1], defs[2], defs[3]), std::tuple(was[2], NewDefinition(), was[2]));
    EXPECT_EQ(std::tuple(defs[4].Group, defs[4].Action, defs[5].Action), std::tuple(7, kActionSkip, kActionDrawRight));
    EXPECT_EQ(std::tuple(defs[39], defs[40], defs[80]), std::tuple(was[38], Card{}, was[80]));
    EXPECT_EQ(std::tuple(defs[0].PicRow, defs[0].PicCol, doc.Def.GameTitle), std::tuple(1, 2, FitTitle("Renamed")));
    EXPECT_EQ(doc.Bitmap.compare(0, 2, "BM"), 0);
    // The picture refused as a sound is the one message.
    EXPECT_EQ(std::tuple(window_.Document().BitmapImage().size(), messages_.size()), std::tuple(QSize(300, 230), 1));

    const CardSetFile edited = doc;
    QUndoStack& history = window_.Document().History();
    EXPECT_EQ(history.count(), 10);
    while (history.canUndo()) history.undo();
    EXPECT_TRUE(window_.Document().File() == original && !window_.Document().IsModified());
    while (history.canRedo()) history.redo();
    EXPECT_TRUE(window_.Document().File() == edited);

    ASSERT_TRUE(window_.SaveFile(dir_ / "edited.cds"));
    EXPECT_TRUE(!window_.Document().IsModified() && test::ReadBytes(dir_ / "edited.cds") == EncodeCardSetFile(edited));
}

TEST_F(DesignerTest, ProblemsFollowTheEditsAndSelectTheirDefinition) {
    ASSERT_TRUE(window_.OpenFile(Write("in.cds", testing::PlainCardSet())));
    // The fake bitmap of the test set is no picture.
    EXPECT_EQ(ProblemTexts(), QStringList{"Warning: the card bitmap cannot be read as a picture"});

    Edit(5, DefinitionsModel::kPicRow, -1);
    Edit(7, DefinitionsModel::kGroup, 12);
    Edit(7, DefinitionsModel::kCopies, 1);
    Edit(8, DefinitionsModel::kGroup, 11);
    const QStringList problems = ProblemTexts();
    // The first error is what `kvx check` says.
    EXPECT_EQ(problems.value(0).toStdString(), "Error: " + ValidateCardSetDef(window_.Document().Def()).message());
    for (const char* problem : {"Error: card definition 5 has a negative picture position (row -1, column 5)",
                                "Warning: group 12 has a single card",
                                "Warning: card definition 8 has group 11, which a wild card cannot ask for "
                                "(the choice offers groups 1 to 10)"})
        EXPECT_TRUE(problems.contains(problem)) << problems.join('\n').toStdString();

    QListWidgetItem* error = window_.Problems().findItems("negative picture", Qt::MatchContains).value(0);
    ASSERT_NE(error, nullptr);
    window_.SelectDefinition(0);
    emit window_.Problems().itemClicked(error);
    EXPECT_EQ(window_.CurrentDefinition(), 5);
    for (int edit = 0; edit < 4; ++edit) window_.Document().History().undo();
    EXPECT_EQ(ProblemTexts().size(), 1);
}

TEST(PlayWarnings, NameWhatPlaysBadly) {
    CardSetDef set = testing::PlainCardSet().Def;
    EXPECT_TRUE(ListPlayWarnings(set, 10 * kCellPitchX, 5 * kCellPitchY).empty());
    set.CardDefs[36].Group = 1;  // the only wild card
    set.CardDefs[80].PicCol = 10;  // the card back beyond the bitmap's right edge
    for (int d = 0; d < 36; d += 2) set.CardDefs[d].Copies = 1;  // 29 + 18 = 47 cards, not 29 + 8
    const std::vector<CardSetProblem> warnings = ListPlayWarnings(set, 10 * kCellPitchX, 5 * kCellPitchY);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(std::tuple(warnings[0].definition, warnings[1].message),
              std::tuple(80, "no wild card: a player without the group on the pile must draw"));
    for (int d = 0; d < 36; ++d) set.CardDefs[d].Copies = d < 30 ? 0 : 4;
    EXPECT_EQ(ListPlayWarnings(set, 0, 0).back().message,
              "the deck of 30 cards leaves only 1 to draw after four hands are dealt");
}

TEST_F(DesignerTest, NamesStayPlainTextDamagedFilesChangeNothingAndTheTablesWorkingFilesOpenUntitled) {
    CardSetFile set = testing::PlainCardSet();
    set.Def.AuthorName = "<img width=30000 height=30000>";
    const fs::path hostile = Write("<img src='x'>[*].cds", set);
    ASSERT_TRUE(window_.OpenFile(hostile));
    const QList<QLabel*> labels = window_.findChildren<QLabel*>();
    EXPECT_GE(labels.size(), 6);
    for (QLabel* label : labels) EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    window_.winId();  // the title as the window system shows it
    EXPECT_EQ(window_.windowHandle()->title(), "<img src='x'>[*].cds - KVT Card-Set Designer");

    const CardSetFile before = window_.Document().File();
    test::WriteBytes(dir_ / "CurCards.cdf", "junk");
    for (const char* name : {"missing.cds", "CurCards.cdf", "gone/CurCards.cdf"}) {
        EXPECT_FALSE(window_.OpenFile(dir_ / name));
        ASSERT_FALSE(messages_.isEmpty());
        EXPECT_TRUE(messages_.back().contains(Text(dir_ / name))) << name;
        EXPECT_TRUE(window_.Document().File() == before && window_.Document().Path() == hostile) << name;
    }
    EXPECT_FALSE(fs::exists(dir_ / "gone")) << "opening makes no folder";

    const CardSetFile odd = testing::OddCardSet();
    test::WriteBytes(dir_ / "CurCards.cdf", EncodeCardSetDef(odd.Def));
    test::WriteBytes(dir_ / "CurCards.cdm", odd.Bitmap);
    test::WriteBytes(dir_ / "BackGrnd.cdm", odd.Background);
    ASSERT_TRUE(window_.OpenFile(dir_ / "CurCards.cdf"));
    EXPECT_TRUE(window_.Document().Path().empty() && window_.Document().Def() == odd.Def);
    // Nor is a card set saved under a working file's name.
    EXPECT_FALSE(window_.SaveFile(dir_ / "CurCards.cdf"));
    EXPECT_TRUE(messages_.back().contains("working files") &&
                test::ReadBytes(dir_ / "CurCards.cdf") == EncodeCardSetDef(odd.Def));
    EXPECT_EQ(std::tuple(window_.Document().File().Bitmap, window_.Document().File().Background),
              std::tuple(odd.Bitmap, odd.Background));
    // A switch that a killed table left decided is finished before the set is read.
    const std::string staged = "BM staged";
    test::WriteBytes(dir_ / "CardSet.new" / "CurCards.cdm", staged);
    test::WriteBytes(dir_ / "CardSet.switch", "replace CurCards.cdm\n");
    ASSERT_TRUE(window_.OpenFile(dir_ / "CurCards.cdf"));
    EXPECT_EQ(std::tuple(window_.Document().File().Bitmap, fs::exists(dir_ / "CardSet.switch")), std::tuple(staged, false));
}

TEST_F(DesignerTest, UnsavedChangesAskBeforeClosing) {
    // A new set is playable once it has its pictures.
    EXPECT_EQ(ProblemTexts(), QStringList{"Error: the card bitmap is empty"});
    window_.show();
    // A picture cell chosen from the keyboard is an edit like any other.
    QTest::keyClick(&window_.Cells(), Qt::Key_Down);
    QTest::keyClick(&window_.Cells(), Qt::Key_Space);
    EXPECT_EQ(std::tuple(window_.Document().Def().CardDefs[0].PicRow, window_.isWindowModified()), std::tuple(1, true));
    answer_ = QMessageBox::Cancel;
    EXPECT_TRUE(!window_.close() && window_.isVisible());
    answer_ = QMessageBox::Discard;
    EXPECT_TRUE(window_.close());
}

TEST_F(DesignerTest, PlayTestRunsTheTableOnTheSetAsItStandsInFoldersOfItsOwn) {
    ASSERT_TRUE(window_.OpenFile(Write("in.cds", testing::PlainCardSet())));
    Edit(3, DefinitionsModel::kGroup, 7);  // not saved
    // The user's remembered opponents go with the set; the table is a script that records what it got.
    window_.user_folders = {dir_ / "user.ini", dir_ / "user-data", dir_ / "shared"};
    Profile user(dir_ / "user.ini");
    for (const std::string seat : {"Player2", "Player3", "Player4"})
        ASSERT_TRUE(user.WriteString("PlayersFile", seat, File((seat + ".dpf").c_str(), "x").toStdString()));
    const std::string record = (dir_ / "record").string();
    const auto fake_table = [&](const char* name, int exit_code) {
        const QString script = File(name, "#!/bin/sh\nr='" + record + "'\nmkdir -p \"$r\"\nprintf '%s\\n' \"$@\" > \"$r/args\"\n"
                                          "printf '%s\\n%s\\n' \"$XDG_CONFIG_HOME\" \"$XDG_DATA_HOME\" > \"$r/env\"\n"
                                          "cp \"$1\" \"$r/set.cds\"; cp \"$XDG_CONFIG_HOME/kvt/kvt.ini\" \"$r/kvt.ini\"\n"
                                          "echo 'table trouble' >&2\nexit " + std::to_string(exit_code) + "\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
        return script;
    };
    const struct {
        QString table;
        QString message;  // what the designer says when the table ends; "" for nothing
    } cases[] = {{fake_table("ok.sh", 0), ""}, {fake_table("fails.sh", 3), "exit status 3.\ntable trouble"},
                 {Text(dir_ / "no-such-table"), "cannot be started"}};
    for (const auto& c : cases) {
        fs::remove_all(record);
        messages_.clear();
        window_.table_program = c.table;
        PlayTest* test = window_.StartPlayTest();
        ASSERT_NE(test, nullptr);
        const QString folder = test->Folder();
        QSignalSpy ended(test, &PlayTest::Ended);
        ASSERT_TRUE(ended.wait(20000));
        EXPECT_FALSE(QDir(folder).exists()) << "the play-test folder is removed";
        EXPECT_TRUE(c.message.isEmpty() ? messages_.isEmpty() : messages_.size() == 1 && messages_[0].contains(c.message))
            << messages_.join('\n').toStdString();
        if (c.table.endsWith("no-such-table")) continue;
        EXPECT_EQ(std::tuple(test::ReadBytes(dir_ / "record" / "args"), test::ReadBytes(dir_ / "record" / "env"),
                             Profile(dir_ / "record" / "kvt.ini").ReadString("PlayersFile", "Player3", "")),
                  std::tuple((folder + "/Play-Test.cds\n").toStdString(), (folder + "/config\n" + folder + "/data\n").toStdString(),
                             (dir_ / "Player3.dpf").string()));
        // The table got exactly what Save writes, and the document is still unsaved.
        ASSERT_TRUE(window_.Document().IsModified());
        EXPECT_TRUE(test::ReadBytes(dir_ / "record" / "set.cds") == EncodeCardSetFile(window_.Document().File()));
    }
    EXPECT_EQ(test::ReadBytes(dir_ / "in.cds"), EncodeCardSetFile(testing::PlainCardSet()));
}

TEST(PlayTestOpponents, RememberedWhenAllThreeAreThereElseTheShippedOnes) {
    test::TempDir dir;
    for (const char* name : {"c.dpf", "a.dpf", "b.dpf", "d.dpf", "notes.txt"}) test::WriteBytes(dir / "shared" / "players" / name, "x");
    const Folders folders{dir / "kvt.ini", dir / "data", dir / "shared"};
    const std::array shipped{dir / "shared/players/a.dpf", dir / "shared/players/b.dpf", dir / "shared/players/c.dpf"};
    EXPECT_EQ(PlayTestOpponents(folders), shipped);
    Profile settings(folders.SettingsFile);
    ASSERT_TRUE(settings.WriteString("PlayersFile", "Player2", shipped[2].string()));
    ASSERT_TRUE(settings.WriteString("PlayersFile", "Player3", shipped[1].string()));
    EXPECT_EQ(PlayTestOpponents(folders), shipped) << "one seat is not remembered";
    ASSERT_TRUE(settings.WriteString("PlayersFile", "Player4", (dir / "shared/players/d.dpf").string()));
    EXPECT_EQ(PlayTestOpponents(folders), (std::array{shipped[2], shipped[1], dir / "shared/players/d.dpf"}));
}

// A set made from nothing in the designer passes `kvx check` and plays.
TEST_F(DesignerTest, ASetMadeFromNothingPassesCheckAndItsBalanceReportShowsTheSimulatorsFigures) {
    window_.SelectDefinition(3);
    window_.DuplicateDefinition();
    ASSERT_TRUE(window_.ImportPart(Part::Bitmap, SavedPicture(dir_ / "cards.jpg", 10 * kCellPitchX, 5 * kCellPitchY, Qt::white)));
    EXPECT_EQ(ProblemTexts(), QStringList{"No problems found."});
    ASSERT_TRUE(window_.SaveFile(dir_ / "set.cds"));
    const std::string set = test::ReadBytes(dir_ / "set.cds");
    const test::ProgramRun check = test::RunProgram(KVX_PROGRAM, {"check", (dir_ / "set.cds").string()}, dir_.Path());
    EXPECT_EQ(check.exit_code, 0) << check.err;
    // Chosen opponents, not the simulator's default ones, in an order of their own.
    std::vector<fs::path> shipped = ShippedPlayerFiles(DefaultFolders().SharedData);
    ASSERT_GE(shipped.size(), 5u);
    const std::vector<std::string> opponents{shipped[4].string(), shipped[0].string(), shipped[2].string()};
    const test::ProgramRun direct = test::RunProgram(
        KVT_SIM_PROGRAM, {"--cards", (dir_ / "set.cds").string(), "--games", "3", "--seed", "5", "--json", "--players",
                          opponents[0], opponents[1], opponents[2]}, dir_.Path());
    ASSERT_EQ(direct.exit_code, 0) << direct.err;

    BalanceReport report(set, KVT_SIM_PROGRAM, {});
    for (int seat = 2; seat <= 4; ++seat) report.SetOpponent(seat, Text(opponents[seat - 2]));
    report.SetGames(3);
    report.SetSeed(5);
    QSignalSpy finished(&report, &BalanceReport::Finished);
    QSignalSpy moved(report.ProgressBar(), &QProgressBar::valueChanged);
    report.Start();
    ASSERT_TRUE(finished.wait(60000));
    // The bar went to 3 of 3 as the games ended.
    EXPECT_TRUE(std::ranges::any_of(moved, [](const QList<QVariant>& v) { return v.at(0).toInt() == 3; }));
    // Every figure's name and value, as the CSV export writes them.
    QStringList seats{"Computer"};
    for (const std::string& opponent : opponents) seats << QFileInfo(Text(opponent)).completeBaseName();
    const QString expected = BalanceCsv(BalanceFigures(QByteArray::fromStdString(direct.out), seats));
    EXPECT_EQ(BalanceCsv(report.Figures()), expected);
    // The charts draw the same counts: wins of the four seats, cards played by action.
    const auto bars = [&report](const char* name) {
        const auto* view = report.findChild<QChartView*>(name);
        const QList<QAbstractSeries*> series = view ? view->chart()->series() : QList<QAbstractSeries*>();
        return series.size() == 1 ? static_cast<QAbstractBarSeries*>(series[0])->barSets().value(0) : nullptr;
    };
    const QBarSet* wins = bars("winsChart");
    const QBarSet* played = bars("playedChart");
    ASSERT_TRUE(wins && played && wins->count() == 4);
    EXPECT_EQ(wins->at(0) + wins->at(1) + wins->at(2) + wins->at(3), 3);
    EXPECT_EQ(played->count(),
              static_cast<int>(BalanceCountsOf(QByteArray::fromStdString(direct.out)).played_by_action.size()));
    ASSERT_TRUE(report.ExportCsv(Text(dir_ / "figures.csv")));
    EXPECT_TRUE(expected.startsWith("figure,value\nGames,3\n") &&
                test::ReadBytes(dir_ / "figures.csv") == expected.toStdString());

    // A long run is cancelled at once and leaves no figures.
    report.SetGames(1000000);
    report.Start();
    report.Cancel();
    EXPECT_TRUE(!report.IsRunning() && report.Figures().empty());
}

TEST(BalanceReport, NamesFiguresAndQuotesCsv) {
    const std::vector<BalanceFigure> figures = BalanceFigures(
        R"({"games":4,"meanTurnsPerRound":52.77,"wins":{"1":1,"3":3},"playedByAction":{"8":9},"signature":1})",
        {"Computer", "Ada"});
    ASSERT_EQ(figures.size(), 11u);
    EXPECT_EQ(figures[1].value, "52.770");
    for (const auto& [index, name, value] :
         {std::tuple{2, "Wins of seat 1 (Computer)", "1"}, {3, "Win share of seat 1", "25.0%"},
          {4, "Wins of seat 2 (Ada)", "0"}, {6, "Wins of seat 3", "3"}, {7, "Win share of seat 3", "75.0%"},
          {10, "Cards played: discard", "9"}})
        EXPECT_EQ(std::tie(figures[index].name, figures[index].value), std::tuple(QString(name), QString(value)));
    EXPECT_TRUE(BalanceFigures("not json").empty());
    EXPECT_EQ(BalanceCsv({{"a, \"b\"", "1"}}), "figure,value\n\"a, \"\"b\"\"\",1\n");
}

TEST(DesignerArguments, OnlyCardSetsOpenTheDesigner) {
    test::TempDir dir;
    test::WriteBytes(dir / "game", "x");
    for (const auto& [arg, designer] : std::vector<std::pair<std::string, bool>>{
             {"", true}, {"game.cds", true}, {"CurCards.cdf", true}, {(dir / "game").string(), true},
             {"Ada.DPF", true}, {"frobnicate", false}, {"--frob", false}})
        EXPECT_EQ(IsDesignerArgument(arg), designer) << arg;
    EXPECT_EQ(std::tuple(IsPlayerFileName("players/Ada.DPF"), IsPlayerFileName("Ada.cds")), std::tuple(true, false));
    // Without a display kvx says so instead of letting Qt abort.
    EXPECT_NE(DesignerDisplayFault(nullptr, "", nullptr), "");
    for (const auto& [qpa, x, wayland] : {std::tuple{"offscreen", "", ""}, {"", ":0", ""}, {"", "", "wayland-0"}})
        EXPECT_EQ(DesignerDisplayFault(qpa, x, wayland), "") << qpa << x << wayland;
}

std::string Wave(char fill) { return std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(24, fill); }

TEST_F(PlayerWindowTest, APlayerMadeFromNothingPacksAsKvxDoes) {
    window_.SetName("Zoë");
    for (int which = 0; which < 5; ++which) window_.SetNumber(which, 10 * which - 5);
    ASSERT_TRUE(window_.ImportPicture(SavedPicture(dir_ / "face.png", 40, 30, Qt::blue)));
    ASSERT_TRUE(window_.ImportClip(0, File("a.wav", Wave('a'))));      // Sel1
    ASSERT_TRUE(window_.ImportClip(34, File("b.wav", Wave('b'))));     // lg1
    ASSERT_TRUE(window_.ImportClip(0, File("c.wav", Wave('c'))));      // replaces Sel1
    ASSERT_TRUE(window_.ImportClip(40, File("d.wav", Wave('d'))));     // a slot without a name
    window_.RemoveClip(40);
    EXPECT_FALSE(window_.ImportClip(3, File("e.wav", "not a wave")));
    EXPECT_FALSE(window_.ImportPicture(File("f.png", "not a picture")));
    EXPECT_EQ(std::tuple(messages_.size(), window_.IsModified()), std::tuple(2, true));
    ASSERT_TRUE(window_.SaveFile(dir_ / "zoe.dpf"));
    EXPECT_FALSE(window_.IsModified());

    PlayerFileContents saved;
    ASSERT_TRUE(ReadPlayerFile((dir_ / "zoe.dpf").string(), saved));
    // Names are stored as Latin-1.
    EXPECT_EQ(std::tuple(saved.Header.Name, saved.Header.TraitA, saved.Header.TraitD, saved.Header.SoundChance),
              std::tuple("Zo\xeb", -5, 25, 35));
    EXPECT_EQ(saved.Picture.compare(0, 2, "BM"), 0);
    ASSERT_EQ(saved.Clips.size(), 2u);
    EXPECT_EQ(std::tuple(saved.Clips[0].Entry.FileName, saved.Clips[0].Bytes, saved.Clips[1].Entry.FileName,
                         saved.Clips[1].Entry.SoundIndex), std::tuple("Sel1.wav", Wave('c'), "lg1.wav", 34));

    // kvx finds nothing wrong with it (its round trip is pinned on kvx itself).
    const test::ProgramRun check = test::RunProgram(KVX_PROGRAM, {"check", (dir_ / "zoe.dpf").string()}, dir_.Path());
    EXPECT_EQ(check.exit_code, 0) << check.err;

    PlayerWindow reopened;
    ASSERT_TRUE(reopened.OpenFile(dir_ / "zoe.dpf"));
    EXPECT_TRUE(reopened.Contents() == saved && !reopened.IsModified());
}

TEST_F(PlayerWindowTest, DamagedAndHostileFilesAreRefusedAndChangeNothing) {
    window_.SetName("Kept");
    ASSERT_TRUE(window_.SaveFile(dir_ / "good.dpf"));
    const PlayerFileContents before = window_.Contents();
    const std::string good = test::ReadBytes(dir_ / "good.dpf");
    PlayerFileContents hostile = before;
    hostile.Clips.push_back({{3, "../../escape.wav", 4}, "RIFF"});
    PlayerFileContents rich = before;
    rich.Header.Name = "<img src='x' width=9999>";
    // One refusal stands for all: each fault of the format is pinned on the codec.
    EXPECT_FALSE(window_.OpenFile(File("escape.dpf", EncodePlayerFile(hostile)).toStdString()));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains(Text(dir_ / "escape.dpf"))) << messages_[0].toStdString();
    EXPECT_TRUE(window_.Contents() == before && window_.Path() == dir_ / "good.dpf");
    // A name that looks like markup stays plain text, and "[*]" in a file's name shows as it stands.
    ASSERT_TRUE(window_.OpenFile(File("rich[*].dpf", EncodePlayerFile(rich)).toStdString()));
    for (QLabel* label : window_.findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
    window_.winId();
    EXPECT_EQ(window_.windowHandle()->title(), "rich[*].dpf - KVT Player File");
    // A file that cannot be written leaves the old one as it was.
    EXPECT_FALSE(window_.SaveFile(dir_ / "no-such-folder" / "x.dpf"));
    EXPECT_EQ(test::ReadBytes(dir_ / "good.dpf"), good);
}

}  // namespace
}  // namespace kvt::kvx
