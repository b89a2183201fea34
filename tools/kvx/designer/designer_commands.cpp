// The designer's file, import and definition commands.

#include <QFileDialog>
#include <QStatusBar>
#include <QTableView>

#include "platform/plain_text.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt_text.h"
#include "tools/kvx/designer/balance_report.h"
#include "tools/kvx/designer/definition_edits.h"
#include "tools/kvx/designer/designer_window.h"
#include "tools/kvx/designer/picture_import.h"
#include "tools/kvx/designer/play_test.h"
#include "tools/kvx/designer/player_window.h"
#include "tools/kvx/designer/window_support.h"

namespace kvt::kvx {
namespace {

const char* const kCardSetFilter = QT_TRANSLATE_NOOP("kvt::kvx::DesignerWindow", "Card Files (*.cds);;All Files (*)");

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

}  // namespace

bool DesignerWindow::OpenFile(const std::filesystem::path& path) {
    if (Status s = doc_.Open(path); !s) {
        Report(tr("The card set cannot be opened.\n%1").arg(QString::fromStdString(s.message())));
        return false;
    }
    return true;
}

bool DesignerWindow::SaveFile(const std::filesystem::path& path) {
    if (Status s = doc_.SaveAs(path); !s) {
        Report(tr("The card set was not saved.\n%1").arg(QString::fromStdString(s.message())));
        return false;
    }
    return true;
}

bool DesignerWindow::ImportPart(CardSetDocument::Part part, const QString& path) {
    std::string bytes;
    if (Status s = ReadWholeFile(ToPath(path), bytes, kMaxCardSetFileBytes); !s) {
        Report(QString::fromStdString(s.message()));
        return false;
    }
    if (part == CardSetDocument::Part::Sound) {
        if (!IsWave(bytes)) {
            Report(tr("\"%1\" is not a WAV file; the opening sound is stored as a WAV file.").arg(path));
            return false;
        }
        doc_.SetPart(part, std::move(bytes), tr("Import the opening sound"));
        return true;
    }
    QString error;
    if (!PictureAsBmp(path, bytes, error)) {
        Report(error);
        return false;
    }
    doc_.SetPart(part, std::move(bytes),
                 part == CardSetDocument::Part::Bitmap ? tr("Import the card bitmap") : tr("Import the background"));
    return true;
}

bool DesignerWindow::MayDiscardChanges() {
    if (!doc_.IsModified()) return true;
    const QMessageBox::StandardButton answer =
        AskToSave(this, tr("Card-Set Designer"), tr("The card set has unsaved changes. Save them?"), ask_to_save);
    if (answer == QMessageBox::Save) return SaveCommand();
    return answer == QMessageBox::Discard;
}

void DesignerWindow::NewCommand() {
    if (MayDiscardChanges()) doc_.Reset();
}

void DesignerWindow::OpenCommand() {
    if (!MayDiscardChanges()) return;
    const QString start = doc_.Path().empty() ? QString() : PathText(doc_.Path().parent_path());
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Card Set"), start, tr(kCardSetFilter));
    if (!path.isEmpty()) OpenFile(ToPath(path));
}

bool DesignerWindow::SaveCommand() {
    if (doc_.Path().empty()) return SaveAsCommand();
    return SaveFile(doc_.Path());
}

bool DesignerWindow::SaveAsCommand() {
    QString path = QFileDialog::getSaveFileName(this, tr("Save Card Set"), PathText(doc_.Path()), tr(kCardSetFilter));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".cds");
    return SaveFile(ToPath(path));
}

void DesignerWindow::ImportCommand(CardSetDocument::Part part) {
    const bool sound = part == CardSetDocument::Part::Sound;
    const QString filter = sound ? tr("Wave Files (*.wav);;All Files (*)")
                                 : tr("Pictures (*.bmp *.png *.jpg *.jpeg *.gif);;All Files (*)");
    const QString path = QFileDialog::getOpenFileName(this, sound ? tr("Import Opening Sound") : tr("Import Picture"),
                                                      QString(), filter);
    if (!path.isEmpty()) ImportPart(part, path);
}

void DesignerWindow::PlaySoundCommand() {
    if (doc_.File().HasSound()) PlayWave(player_, this, doc_.File().Sound);
}

void DesignerWindow::BalanceReportCommand() {
    // The report plays the set as it stands now; later edits need a new report.
    QStringList opponents;
    for (const std::filesystem::path& file : ShippedPlayerFiles(user_folders.SharedData))
        if (opponents.size() < 3) opponents << PathText(file);
    auto* report = new BalanceReport(EncodeCardSetFile(doc_.File()), PathText(ExecutableFolder() / "kvt-sim"),
                                     opponents, this);
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->show();
}

PlayTest* DesignerWindow::StartPlayTest() {
    // The table plays the set as it stands now, whether saved or not.
    auto* test = new PlayTest(table_program, user_folders, this);
    connect(test, &PlayTest::Ended, this, [this, test](const QString& problem) {
        test->deleteLater();
        statusBar()->showMessage(tr("The play-test has ended."), 5000);
        if (!problem.isEmpty()) Report(tr("The play-test did not end well.\n%1").arg(problem));
    });
    if (Status s = test->Start(EncodeCardSetFile(doc_.File())); !s) {
        delete test;
        Report(tr("The play-test cannot start.\n%1").arg(QString::fromStdString(s.message())));
        return nullptr;
    }
    statusBar()->showMessage(tr("The table is running the play-test."));
    return test;
}

void DesignerWindow::PlayerFileCommand() {
    auto* window = new PlayerWindow(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void DesignerWindow::AddDefinition() {
    CardSetDef def = doc_.Def();
    const int at = CurrentDefinition() + 1 < kCardDefCount ? CurrentDefinition() + 1 : CurrentDefinition();
    if (!InsertDefinition(def, at, NewDefinition())) {
        Report(tr("All 81 definitions are in use; remove one first."));
        return;
    }
    doc_.SetDefinitions(def, tr("Add definition %1").arg(at));
    SelectDefinition(at);
}

void DesignerWindow::DuplicateDefinition() {
    CardSetDef def = doc_.Def();
    const int from = CurrentDefinition();
    if (from + 1 >= kCardDefCount || !InsertDefinition(def, from + 1, def.CardDefs[from])) {
        Report(tr("All 81 definitions are in use; remove one first."));
        return;
    }
    doc_.SetDefinitions(def, tr("Duplicate definition %1").arg(from));
    SelectDefinition(from + 1);
}

void DesignerWindow::RemoveDefinition() {
    CardSetDef def = doc_.Def();
    const int at = CurrentDefinition();
    if (kvx::RemoveDefinition(def, at)) doc_.SetDefinitions(def, tr("Remove definition %1").arg(at));
}

void DesignerWindow::MoveDefinition(int step) {
    CardSetDef def = doc_.Def();
    const int at = CurrentDefinition();
    if (!kvx::MoveDefinition(def, at, step)) return;
    doc_.SetDefinitions(def, tr("Move definition %1").arg(at));
    SelectDefinition(at + step);
}

}  // namespace kvt::kvx
