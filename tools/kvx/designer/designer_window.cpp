#include "tools/kvx/designer/designer_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/plain_text.h"
#include "platform/qt_text.h"
#include "tools/kvx/designer/bitmap_cells_view.h"
#include "tools/kvx/designer/definitions_model.h"
#include "tools/kvx/designer/play_warnings.h"

namespace kvt::kvx {
namespace {

constexpr int kDefinitionRole = Qt::UserRole;
constexpr const char* kStoredText = "kvxStoredText";
constexpr const char* kShownText = "kvxShownText";

QLineEdit* TextField(int max_length, const QString& name) {
    auto* field = new QLineEdit;
    field->setMaxLength(max_length);
    field->setAccessibleName(name);
    return field;
}

}  // namespace

DesignerWindow::DesignerWindow(QWidget* parent)
    : QMainWindow(parent), table_program(PathText(ExecutableFolder() / "kvt")), user_folders(DefaultFolders()) {
    model_ = new DefinitionsModel(doc_, this);
    table_ = new QTableView;
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->setDefaultSectionSize(kFaceHeight + 4);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setAccessibleName(tr("Card definitions"));

    problems_ = new QListWidget;
    problems_->setWordWrap(true);
    problems_->setAccessibleName(tr("Problems"));
    cells_ = new BitmapCellsView;
    auto* cells_scroll = new QScrollArea;
    cells_scroll->setWidget(cells_);
    cells_scroll->setAccessibleName(tr("Card bitmap"));

    auto* side = new QSplitter(Qt::Vertical);
    auto* problems_box = new QWidget;
    auto* problems_layout = new QVBoxLayout(problems_box);
    problems_layout->setContentsMargins(0, 0, 0, 0);
    auto* problems_label = NewLabel(nullptr, tr("&Problems"));
    problems_label->setBuddy(problems_);
    problems_layout->addWidget(problems_label);
    problems_layout->addWidget(problems_);
    side->addWidget(problems_box);
    side->addWidget(cells_scroll);
    side->setStretchFactor(1, 3);
    side->setSizes({150, 450});

    auto* main_split = new QSplitter(Qt::Horizontal);
    main_split->addWidget(table_);
    main_split->addWidget(side);
    main_split->setStretchFactor(0, 3);
    main_split->setStretchFactor(1, 2);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(BuildTexts());
    layout->addWidget(main_split, 1);
    setCentralWidget(central);

    deck_ = NewLabel(nullptr);
    parts_ = NewLabel(nullptr);
    statusBar()->addWidget(deck_);
    statusBar()->addPermanentWidget(parts_);

    BuildMenus();
    connect(&doc_, &CardSetDocument::Changed, this, &DesignerWindow::ShowDocument);
    connect(&doc_, &CardSetDocument::Replaced, this, [this] { SelectDefinition(0); });
    connect(&doc_.History(), &QUndoStack::cleanChanged, this, &DesignerWindow::ShowDocument);
    connect(problems_, &QListWidget::itemActivated, this, &DesignerWindow::ProblemChosen);
    connect(problems_, &QListWidget::itemClicked, this, &DesignerWindow::ProblemChosen);
    connect(cells_, &BitmapCellsView::CellChosen, this, &DesignerWindow::CellChosen);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &DesignerWindow::CurrentRowChanged);
    resize(1100, 720);
    setMinimumSize(640, 420);
    ShowDocument();
    SelectDefinition(0);
}

DesignerWindow::~DesignerWindow() = default;

QWidget* DesignerWindow::BuildTexts() {
    // Two texts to a row, so the definitions keep most of the height.
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    title_ = TextField(kTitleLength, tr("Title"));
    author_ = TextField(32767, tr("Author"));
    text1_ = TextField(32767, tr("First carried text"));
    text2_ = TextField(32767, tr("Second carried text"));
    const std::pair<QString, QLineEdit*> fields[] = {
        {tr("&Title:"), title_}, {tr("&Author:"), author_}, {tr("Text &1:"), text1_}, {tr("Text &2:"), text2_}};
    for (int i = 0; i < 4; ++i) {
        auto* label = NewLabel(nullptr, fields[i].first);
        label->setBuddy(fields[i].second);
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(fields[i].second, i / 2, (i % 2) * 2 + 1);
        connect(fields[i].second, &QLineEdit::editingFinished, this, &DesignerWindow::TextEdited);
    }
    return box;
}

void DesignerWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), QKeySequence::New, this, &DesignerWindow::NewCommand);
    file->addAction(tr("&Open..."), QKeySequence::Open, this, &DesignerWindow::OpenCommand);
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { SaveCommand(); });
    file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] { SaveAsCommand(); });
    file->addSeparator();
    file->addAction(tr("&Close"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = doc_.History().createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = doc_.History().createRedoAction(this, tr("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(tr("&Add Definition"), QKeySequence(Qt::CTRL | Qt::Key_Insert), this,
                    &DesignerWindow::AddDefinition);
    edit->addAction(tr("&Duplicate Definition"), QKeySequence(Qt::CTRL | Qt::Key_D), this,
                    &DesignerWindow::DuplicateDefinition);
    edit->addAction(tr("Re&move Definition"), QKeySequence(Qt::CTRL | Qt::Key_Delete), this,
                    &DesignerWindow::RemoveDefinition);
    edit->addAction(tr("Move &Up"), QKeySequence(Qt::ALT | Qt::Key_Up), this, [this] { MoveDefinition(-1); });
    edit->addAction(tr("Move Do&wn"), QKeySequence(Qt::ALT | Qt::Key_Down), this, [this] { MoveDefinition(1); });

    QMenu* set = menuBar()->addMenu(tr("&Card Set"));
    set->addAction(tr("Import Card &Bitmap..."), this, [this] { ImportCommand(CardSetDocument::Part::Bitmap); });
    set->addAction(tr("Import Opening &Sound..."), this, [this] { ImportCommand(CardSetDocument::Part::Sound); });
    set->addAction(tr("Import Bac&kground..."), this, [this] { ImportCommand(CardSetDocument::Part::Background); });
    set->addSeparator();
    set->addAction(tr("Remove Opening Sound"), this,
                   [this] { doc_.SetPart(CardSetDocument::Part::Sound, {}, tr("Remove the opening sound")); });
    set->addAction(tr("Remove Background"), this,
                   [this] { doc_.SetPart(CardSetDocument::Part::Background, {}, tr("Remove the background")); });
    set->addSeparator();
    play_sound_ = set->addAction(tr("&Play Opening Sound"), QKeySequence(Qt::Key_F5), this,
                                 &DesignerWindow::PlaySoundCommand);
    set->addSeparator();
    QAction* play_test = set->addAction(tr("Play-&Test"), QKeySequence(Qt::Key_F9), this,
                                        [this] { StartPlayTest(); });
    QAction* balance = set->addAction(tr("Balance &Report..."), QKeySequence(Qt::CTRL | Qt::Key_R), this,
                                      &DesignerWindow::BalanceReportCommand);
    set->addSeparator();
    QAction* player = set->addAction(tr("Player &File..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this,
                                     &DesignerWindow::PlayerFileCommand);
    QToolBar* tools = addToolBar(tr("Card Set"));
    tools->setObjectName(QStringLiteral("cardSetTools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(play_test);
    tools->addAction(balance);
    tools->addAction(player);
}

int DesignerWindow::CurrentDefinition() const {
    const int row = table_->currentIndex().row();
    return row < 0 ? 0 : row;
}

void DesignerWindow::SelectDefinition(int index) {
    if (index < 0 || index >= kCardDefCount) return;
    const int column = std::max(table_->currentIndex().column(), int{DefinitionsModel::kGroup});
    table_->setCurrentIndex(model_->index(index, column));
    table_->scrollTo(model_->index(index, column));
}

void DesignerWindow::Report(const QString& text) {
    if (message_sink) {
        message_sink(windowTitle(), text);
        return;
    }
    PlainMessageBox box(QMessageBox::Warning, tr("Card-Set Designer"), text, QMessageBox::Ok, this);
    box.exec();
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
    if (MayDiscardChanges()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void DesignerWindow::ShowDocument() {
    const CardSetDef& def = doc_.Def();
    const std::pair<QLineEdit*, QString> texts[] = {{title_, ShownTitle(def.GameTitle)},
                                                    {author_, ToQString(def.AuthorName)},
                                                    {text1_, ToQString(def.Text1)},
                                                    {text2_, ToQString(def.Text2)}};
    for (const auto& [field, text] : texts) {
        if (field->property(kStoredText).toString() == text) continue;
        field->setText(text);
        // What the field made of the text, to tell an edit from a field that cannot show it all.
        field->setProperty(kStoredText, text);
        field->setProperty(kShownText, field->text());
    }
    cells_->SetImage(doc_.BitmapImage());
    CurrentRowChanged();
    const QString name = doc_.Path().empty() ? tr("Untitled") : PathText(doc_.Path().filename());
    setWindowTitle(tr("%1[*] - KVT Card-Set Designer").arg(InWindowTitle(name)));
    setWindowModified(doc_.IsModified());
    deck_->setText(tr("Deck: %1 cards").arg(DeckSize(def)));
    const CardSetFile& file = doc_.File();
    parts_->setText(tr("Bitmap: %1  Sound: %2  Background: %3")
                        .arg(doc_.BitmapImage().isNull()
                                 ? tr("none")
                                 : tr("%1 x %2").arg(doc_.BitmapImage().width()).arg(doc_.BitmapImage().height()))
                        .arg(file.HasSound() ? tr("%1 bytes").arg(file.Sound.size()) : tr("none"))
                        .arg(file.Background.empty() ? tr("none") : tr("%1 bytes").arg(file.Background.size())));
    play_sound_->setEnabled(file.HasSound());
    Recheck();
}

void DesignerWindow::Recheck() {
    problems_->clear();
    const auto add = [this](const CardSetProblem& problem, QStyle::StandardPixmap icon, const QString& kind) {
        auto* item = new QListWidgetItem(style()->standardIcon(icon), kind.arg(QString::fromStdString(problem.message)));
        item->setData(kDefinitionRole, problem.definition);
        problems_->addItem(item);
    };
    // The same checks `kvx check` makes: every fault of the definitions, then
    // whatever else decoding the saved bytes would refuse. Then what plays badly.
    const std::vector<CardSetProblem> errors = ListCardSetProblems(doc_.Def());
    for (const CardSetProblem& p : errors) add(p, QStyle::SP_MessageBoxCritical, tr("Error: %1"));
    CardSetFile decoded;
    if (Status s = DecodeCardSetFile(EncodeCardSetFile(doc_.File()), decoded);
        !s && (errors.empty() || errors.front().message != s.message()))
        add({-1, s.message()}, QStyle::SP_MessageBoxCritical, tr("Error: %1"));
    const QImage& bitmap = doc_.BitmapImage();
    if (!doc_.File().Bitmap.empty() && bitmap.isNull())
        add({-1, "the card bitmap cannot be read as a picture"}, QStyle::SP_MessageBoxWarning, tr("Warning: %1"));
    for (const CardSetProblem& p : ListPlayWarnings(doc_.Def(), bitmap.width(), bitmap.height()))
        add(p, QStyle::SP_MessageBoxWarning, tr("Warning: %1"));
    if (problems_->count() == 0) problems_->addItem(tr("No problems found."));
}

void DesignerWindow::ProblemChosen(QListWidgetItem* item) {
    const QVariant definition = item ? item->data(kDefinitionRole) : QVariant();
    if (definition.isValid() && definition.toInt() >= 0) SelectDefinition(definition.toInt());
}

void DesignerWindow::CellChosen(int row, int col) {
    const int d = CurrentDefinition();
    CardSetDef def = doc_.Def();
    def.CardDefs[d].PicRow = static_cast<std::int16_t>(row);
    def.CardDefs[d].PicCol = static_cast<std::int16_t>(col);
    doc_.SetDefinitions(def, tr("Picture cell of definition %1").arg(d));
}

void DesignerWindow::CurrentRowChanged() {
    const Card& card = doc_.Def().CardDefs[CurrentDefinition()];
    cells_->SetChosenCell(card.PicRow, card.PicCol);
}

void DesignerWindow::TextEdited() {
    // A field the author has not changed keeps its stored bytes exactly
    // (title padding, line breaks and other characters a line edit cannot show).
    const auto edited = [](const QLineEdit* field, const std::string& stored, std::string (*store)(const QString&)) {
        return field->text() == field->property(kShownText).toString() ? stored : store(field->text());
    };
    const CardSetDef& before = doc_.Def();
    CardSetDef def = before;
    def.GameTitle = edited(title_, before.GameTitle, &StoredTitle);
    def.AuthorName = edited(author_, before.AuthorName, &FromQString);
    def.Text1 = edited(text1_, before.Text1, &FromQString);
    def.Text2 = edited(text2_, before.Text2, &FromQString);
    doc_.SetDefinitions(def, tr("Edit the texts"));
}

}  // namespace kvt::kvx
