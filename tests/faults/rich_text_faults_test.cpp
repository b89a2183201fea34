// Names, titles and paths from files are shown as they are, never as rich
// text: hostile ones fed through the table and its windows must show
// verbatim in labels and message boxes that are all plain text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "dialogs/card_view_frm.h"
#include "dialogs/frm_support.h"
#include "dialogs/game_over_frm.h"
#include "dialogs/score_frm.h"
#include "engine/card_set.h"
#include "gui_support.h"
#include "platform/plain_text.h"
#include "shell/about_dlg.h"
#include "tests/test_support.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

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
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        box->accept();
    });
    ShowFrmMessage(nullptr, nullptr, kImage, text);
    EXPECT_EQ(shown, text);
    EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
}  // namespace kvt
