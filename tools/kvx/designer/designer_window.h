#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <filesystem>
#include <functional>

#include "platform/paths.h"
#include "tools/kvx/designer/card_set_document.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMediaPlayer;
class QTableView;

namespace kvt::kvx {

class BitmapCellsView;
class DefinitionsModel;
class PlayTest;

// The card-set designer: the definitions as a table with each card's face,
// the texts, the embedded pictures and sound, and the live list of problems.
class DesignerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit DesignerWindow(QWidget* parent = nullptr);
    ~DesignerWindow() override;

    CardSetDocument& Document() { return doc_; }
    QTableView& Table() { return *table_; }
    QListWidget& Problems() { return *problems_; }
    BitmapCellsView& Cells() { return *cells_; }

    // The definition the edits act on (the table's current row).
    int CurrentDefinition() const;
    void SelectDefinition(int index);

    // File commands without their dialogs; each reports a failure and returns false.
    bool OpenFile(const std::filesystem::path& path);
    bool SaveFile(const std::filesystem::path& path);
    bool ImportPart(CardSetDocument::Part part, const QString& path);

    // Definition commands on the current definition.
    void AddDefinition();
    void DuplicateDefinition();
    void RemoveDefinition();
    void MoveDefinition(int step);

    // Starts the table on the set as it stands, without waiting for it; the
    // play-test ends itself when the table ends. Null when it cannot start.
    PlayTest* StartPlayTest();
    // The table program and the folders whose remembered opponents a play-test takes.
    QString table_program;
    Folders user_folders;

    // Messages and questions go through these, so tests can answer them.
    std::function<void(const QString& title, const QString& text)> message_sink;
    std::function<QMessageBox::StandardButton(const QString& text)> ask_to_save;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildTexts();
    void Report(const QString& text);
    // False when the user cancels; saves first when asked to.
    bool MayDiscardChanges();
    void NewCommand();
    void OpenCommand();
    bool SaveCommand();
    bool SaveAsCommand();
    void ImportCommand(CardSetDocument::Part part);
    void PlaySoundCommand();
    void BalanceReportCommand();
    void PlayerFileCommand();
    void TextEdited();
    void ShowDocument();
    void Recheck();
    void ProblemChosen(QListWidgetItem* item);
    void CellChosen(int row, int col);
    void CurrentRowChanged();

    CardSetDocument doc_;
    DefinitionsModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QListWidget* problems_ = nullptr;
    BitmapCellsView* cells_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* author_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLabel* parts_ = nullptr;
    QLabel* deck_ = nullptr;
    QAction* play_sound_ = nullptr;
    QMediaPlayer* player_ = nullptr;
};

}  // namespace kvt::kvx
