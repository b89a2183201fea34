// The card-set designer, driven offscreen through its commands.

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <tuple>

#include "kvx_test_support.h"
#include "tools/kvx/designer/balance_report.h"
#include "tools/kvx/designer/bitmap_cells_view.h"
#include "tools/kvx/designer/definition_edits.h"
#include "tools/kvx/designer/definitions_model.h"
#include "tools/kvx/designer/designer_main.h"
#include "tools/kvx/designer/designer_window.h"
#include "tools/kvx/designer/play_warnings.h"

namespace kvt::kvx {
namespace {

using Part = CardSetDocument::Part;

class DesignerTest : public ::testing::Test {
protected:
    DesignerTest() {
        window_.message_sink = [this](const QString&, const QString& text) { messages_.push_back(text); };
        window_.ask_to_save = [this](const QString&) { return answer_; };
    }
    std::filesystem::path Write(const char* name, const CardSetFile& file) {
        test::WriteBytes(dir_ / name, EncodeCardSetFile(file));
        return dir_ / name;
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
    DesignerWindow window_;
    QStringList messages_;
    QMessageBox::StandardButton answer_ = QMessageBox::Cancel;
};

TEST_F(DesignerTest, UnchangedSetsSaveByteForByte) {
    for (const CardSetFile& set : {testing::PlainCardSet(), testing::OddCardSet(), testing::SparseCardSet()}) {
        ASSERT_TRUE(window_.OpenFile(Write("in.cds", set)));
        EXPECT_FALSE(window_.Document().IsModified());
        // Leaving a text field untouched is no edit, even where a line edit cannot show the text.
        for (QLineEdit* field : window_.findChildren<QLineEdit*>()) emit field->editingFinished();
        EXPECT_FALSE(window_.Document().IsModified());
        ASSERT_TRUE(window_.SaveFile(dir_ / "out.cds"));
        EXPECT_TRUE(test::ReadBytes(dir_ / "out.cds") == test::ReadBytes(dir_ / "in.cds"));
    }
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
}

TEST_F(DesignerTest, EveryEditUndoesAndRedoesToTheByte) {
    ASSERT_TRUE(window_.OpenFile(Write("in.cds", testing::PlainCardSet())));
    const CardSetFile original = window_.Document().File();
    QImage picture(300, 230, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir_ / "cards.png").string())));

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
    ASSERT_TRUE(window_.ImportPart(Part::Bitmap, QString::fromStdString((dir_ / "cards.png").string())));
    EXPECT_FALSE(window_.ImportPart(Part::Sound, QString::fromStdString((dir_ / "cards.png").string())));

    const CardSetFile& doc = window_.Document().File();
    // Duplicated 2 into 3, added a new 4 and moved it up to 3, removed 0: all moved up one.
    EXPECT_EQ(doc.Def.CardDefs[1], original.Def.CardDefs[2]);
    EXPECT_EQ(doc.Def.CardDefs[2], NewDefinition());
    EXPECT_EQ(doc.Def.CardDefs[3], original.Def.CardDefs[2]);
    EXPECT_EQ(doc.Def.CardDefs[4].Group, 7);
    EXPECT_EQ(doc.Def.CardDefs[4].Action, kActionSkip);
    EXPECT_EQ(doc.Def.CardDefs[5].Action, kActionDrawRight);
    EXPECT_EQ(doc.Def.CardDefs[39], original.Def.CardDefs[38]);
    EXPECT_EQ(doc.Def.CardDefs[40], Card{});
    EXPECT_EQ(doc.Def.CardDefs[80], original.Def.CardDefs[80]);
    EXPECT_EQ(doc.Def.CardDefs[0].PicRow, 1);
    EXPECT_EQ(doc.Def.CardDefs[0].PicCol, 2);
    EXPECT_EQ(doc.Def.GameTitle, FitTitle("Renamed"));
    EXPECT_EQ(doc.Bitmap.compare(0, 2, "BM"), 0);
    EXPECT_EQ(window_.Document().BitmapImage().size(), picture.size());
    EXPECT_EQ(messages_.size(), 1);  // the picture refused as a sound

    const CardSetFile edited = doc;
    QUndoStack& history = window_.Document().History();
    EXPECT_EQ(history.count(), 10);
    while (history.canUndo()) history.undo();
    EXPECT_TRUE(window_.Document().File() == original);
    EXPECT_FALSE(window_.Document().IsModified());
    while (history.canRedo()) history.redo();
    EXPECT_TRUE(window_.Document().File() == edited);

    ASSERT_TRUE(window_.SaveFile(dir_ / "edited.cds"));
    EXPECT_FALSE(window_.Document().IsModified());
    CardSetFile saved;
    ASSERT_TRUE(DecodeCardSetFile(test::ReadBytes(dir_ / "edited.cds"), saved));
    EXPECT_TRUE(saved == edited);
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
    EXPECT_TRUE(problems.contains("Error: card definition 5 has a negative picture position (row -1, column 5)"));
    EXPECT_TRUE(problems.contains("Warning: group 12 has a single card")) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems.contains("Warning: card definition 8 has group 11, which a wild card cannot ask for "
                                  "(the choice offers groups 1 to 10)"));

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
    EXPECT_EQ(warnings[0].definition, 80);
    EXPECT_EQ(warnings[1].message, "no wild card: a player without the group on the pile must draw");
    for (int d = 0; d < 36; ++d) set.CardDefs[d].Copies = d < 30 ? 0 : 4;
    EXPECT_EQ(ListPlayWarnings(set, 0, 0).back().message,
              "the deck of 30 cards leaves only 1 to draw after four hands are dealt");
}

TEST_F(DesignerTest, DamagedFilesAreRefusedAndChangeNothing) {
    ASSERT_TRUE(window_.OpenFile(Write("good.cds", testing::PlainCardSet())));
    const CardSetFile before = window_.Document().File();
    std::string bytes = EncodeCardSetFile(testing::PlainCardSet());
    test::WriteBytes(dir_ / "short.cds", bytes.substr(0, 1000));
    test::WriteBytes(dir_ / "CurCards.cdf", "junk");
    for (const char* name : {"short.cds", "missing.cds", "CurCards.cdf"}) {
        EXPECT_FALSE(window_.OpenFile(dir_ / name));
        ASSERT_FALSE(messages_.isEmpty());
        EXPECT_TRUE(messages_.back().contains(QString::fromStdString((dir_ / name).string()))) << name;
        EXPECT_TRUE(window_.Document().File() == before);
        EXPECT_EQ(window_.Document().Path(), dir_ / "good.cds");
    }
}

TEST_F(DesignerTest, TheTablesWorkingFilesOpenUntitled) {
    const CardSetFile set = testing::OddCardSet();
    test::WriteBytes(dir_ / "CurCards.cdf", EncodeCardSetDef(set.Def));
    test::WriteBytes(dir_ / "CurCards.cdm", set.Bitmap);
    test::WriteBytes(dir_ / "BackGrnd.cdm", set.Background);
    ASSERT_TRUE(window_.OpenFile(dir_ / "CurCards.cdf"));
    EXPECT_TRUE(window_.Document().Path().empty());
    EXPECT_TRUE(window_.Document().Def() == set.Def);
    EXPECT_EQ(window_.Document().File().Bitmap, set.Bitmap);
    EXPECT_EQ(window_.Document().File().Background, set.Background);
}

TEST_F(DesignerTest, UnsavedChangesAskBeforeClosing) {
    // A new set is playable once it has its pictures.
    EXPECT_EQ(ProblemTexts(), QStringList{"Error: the card bitmap is empty"});
    window_.show();
    // A picture cell chosen from the keyboard is an edit like any other.
    QTest::keyClick(&window_.Cells(), Qt::Key_Down);
    QTest::keyClick(&window_.Cells(), Qt::Key_Space);
    EXPECT_EQ(window_.Document().Def().CardDefs[0].PicRow, 1);
    EXPECT_TRUE(window_.isWindowModified());
    answer_ = QMessageBox::Cancel;
    EXPECT_FALSE(window_.close());
    EXPECT_TRUE(window_.isVisible());
    answer_ = QMessageBox::Discard;
    EXPECT_TRUE(window_.close());
}

TEST(BalanceReport, ShowsTheSimulatorsFiguresForTheSameSeed) {
    // A set made from nothing in the designer passes `kvx check` and plays.
    test::TempDir dir;
    DesignerWindow designer;
    designer.SelectDefinition(3);
    designer.DuplicateDefinition();
    QImage picture(10 * kCellPitchX, 5 * kCellPitchY, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "cards.jpg").string())));
    ASSERT_TRUE(designer.ImportPart(CardSetDocument::Part::Bitmap, QString::fromStdString((dir / "cards.jpg").string())));
    EXPECT_EQ(designer.Problems().item(0)->text(), "No problems found.");
    ASSERT_TRUE(designer.SaveFile(dir / "set.cds"));
    const std::string set = test::ReadBytes(dir / "set.cds");
    const test::ProgramRun check = test::RunProgram(KVX_PROGRAM, {"check", (dir / "set.cds").string()}, dir.Path());
    EXPECT_EQ(check.exit_code, 0) << check.err;
    const test::ProgramRun direct =
        test::RunProgram(KVT_SIM_PROGRAM, {"--cards", (dir / "set.cds").string(), "--games", "3", "--seed", "5", "--json"},
                         dir.Path());
    ASSERT_EQ(direct.exit_code, 0) << direct.err;

    BalanceReport report(set, KVT_SIM_PROGRAM);
    report.SetGames(3);
    report.SetSeed(5);
    QSignalSpy finished(&report, &BalanceReport::Finished);
    report.Start();
    EXPECT_TRUE(report.IsRunning());
    ASSERT_TRUE(finished.wait(60000));
    const std::vector<BalanceFigure> figures = report.Figures();
    ASSERT_FALSE(figures.empty());
    const std::vector<BalanceFigure> expected = BalanceFigures(QByteArray::fromStdString(direct.out));
    ASSERT_EQ(figures.size(), expected.size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        EXPECT_EQ(figures[i].name, expected[i].name);
        EXPECT_EQ(figures[i].value, expected[i].value) << figures[i].name.toStdString();
    }
    EXPECT_EQ(figures[0].name, "Games");
    EXPECT_EQ(figures[0].value, "3");
    ASSERT_TRUE(report.ExportCsv(QString::fromStdString((dir / "figures.csv").string())));
    EXPECT_EQ(test::ReadBytes(dir / "figures.csv").rfind("figure,value\nGames,3\n", 0), 0u);

    // A long run is cancelled at once and leaves no figures.
    report.SetGames(1000000);
    report.Start();
    report.Cancel();
    EXPECT_FALSE(report.IsRunning());
    EXPECT_TRUE(report.Figures().empty());
}

TEST(BalanceReport, NamesFiguresAndQuotesCsv) {
    const std::vector<BalanceFigure> figures = BalanceFigures(
        R"({"games":2,"meanTurnsPerRound":52.77,"wins":{"1":2},"playedByAction":{"8":9},"signature":1})");
    ASSERT_EQ(figures.size(), 4u);
    EXPECT_EQ(figures[1].value, "52.770");
    EXPECT_EQ(figures[3].name, "Cards played: discard");
    EXPECT_TRUE(BalanceFigures("not json").empty());
    EXPECT_EQ(BalanceCsv({{"a, \"b\"", "1"}}), "figure,value\n\"a, \"\"b\"\"\",1\n");
}

TEST(DesignerArguments, OnlyCardSetsOpenTheDesigner) {
    test::TempDir dir;
    test::WriteBytes(dir / "game", "x");
    for (const auto& [arg, designer] : std::vector<std::pair<std::string, bool>>{
             {"", true}, {"game.cds", true}, {"CurCards.cdf", true}, {(dir / "game").string(), true},
             {"frobnicate", false}, {"--frob", false}})
        EXPECT_EQ(IsDesignerArgument(arg), designer) << arg;
    // Without a display kvx says so instead of letting Qt abort.
    EXPECT_NE(DesignerDisplayFault(nullptr, "", nullptr), "");
    for (const auto& [qpa, x, wayland] : {std::tuple{"offscreen", "", ""}, {"", ":0", ""}, {"", "", "wayland-0"}})
        EXPECT_EQ(DesignerDisplayFault(qpa, x, wayland), "") << qpa << x << wayland;
}

}  // namespace
}  // namespace kvt::kvx
