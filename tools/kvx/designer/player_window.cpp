#include "tools/kvx/designer/player_window.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/files.h"
#include "platform/plain_text.h"
#include "platform/qt_text.h"
#include "tools/kvx/designer/picture_import.h"
#include "tools/kvx/designer/window_support.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

constexpr int kSlotRole = Qt::UserRole;
constexpr int kPictureSide = 160;
const char* const kPlayerFilter = QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Player Files (*.dpf);;All Files (*)");

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

// What each personality number does at the table, in the order of the spin boxes.
struct NumberText {
    const char* label;
    const char* meaning;
};
constexpr NumberText kNumbers[] = {
    {QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Trait &A:"),
     QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow",
                       "A percentage: how much a card's value counts when choosing what to play. Higher, the player "
                       "sheds its high cards first, whose points count against it when a round ends.")},
    {QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Trait &B:"),
     QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow",
                       "Times the largest other opponent's hand, taken off every card's value score. It moves all "
                       "the scores of one choice alike, so it matters only through rounding.")},
    {QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Trait &C:"),
     QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow",
                       "A percentage: how much matching counts. Higher, the player prefers cards whose group and "
                       "value it holds many of.")},
    {QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Trait &D:"),
     QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow",
                       "Multiplies the count of the hand's cards of the same group and the same value before "
                       "trait C weighs it.")},
    {QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Sound &chance:"),
     QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow",
                       "How readily the clips play: 2 or less never, 100 nearly always; a clip left to chance plays "
                       "with odds (chance - 2) / 99.")},
};

// The events of the clip slots, three variants each, then the game-over clips.
constexpr const char* kEvents[] = {
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Chosen as an opponent"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Comment as the computers play"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Discard"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Draw from the deck"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Draw from the left"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Draw from the right"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Draw from all"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Pass to the left"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Pass to the right"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Pass to all"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Reverse the play"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Win the game"),
    QT_TRANSLATE_NOOP("kvt::kvx::PlayerWindow", "Lose the game"),
};

QString EventOfSlot(int slot) {
    if (slot < 33) return PlayerWindow::tr(kEvents[slot / 3]) + PlayerWindow::tr(" (%1)").arg(slot % 3 + 1);
    if (slot < PlayerWindow::kClipSlots) return PlayerWindow::tr(kEvents[11 + slot - 33]);
    return PlayerWindow::tr("Slot %1").arg(slot);
}

// A new player saves as it stands: a plain picture, middling numbers, no clips.
PlayerFileContents NewPlayer() {
    PlayerFileContents file;
    file.Header.Name = "New Player";
    file.Header.TraitA = 50;
    file.Header.TraitC = 50;
    file.Header.TraitD = 5;
    file.Header.SoundChance = 30;
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    QByteArray bmp;
    QBuffer out(&bmp);
    out.open(QIODevice::WriteOnly);
    picture.save(&out, "BMP");
    file.Picture = bmp.toStdString();
    return file;
}

}  // namespace

std::int16_t& PersonalityNumber(PlayerRec& header, int which) {
    switch (which) {
    case 0: return header.TraitA;
    case 1: return header.TraitB;
    case 2: return header.TraitC;
    case 3: return header.TraitD;
    default: return header.SoundChance;
    }
}

PlayerWindow::PlayerWindow(QWidget* parent) : QMainWindow(parent), file_(NewPlayer()) {
    clips_ = new QTableWidget(0, 4);
    clips_->setHorizontalHeaderLabels({tr("Event"), tr("File"), tr("Size"), tr("Play")});
    clips_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    clips_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    clips_->setSelectionBehavior(QAbstractItemView::SelectRows);
    clips_->setSelectionMode(QAbstractItemView::SingleSelection);
    clips_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    clips_->verticalHeader()->hide();
    clips_->setAccessibleName(tr("Voice clips"));
    auto* import_clip = new QPushButton(tr("&Import Clip..."));
    auto* remove_clip = new QPushButton(tr("&Remove Clip"));
    connect(import_clip, &QPushButton::clicked, this, &PlayerWindow::ImportClipCommand);
    connect(remove_clip, &QPushButton::clicked, this, [this] { RemoveClip(CurrentSlot()); });
    auto* clip_buttons = new QHBoxLayout;
    clip_buttons->addWidget(import_clip);
    clip_buttons->addWidget(remove_clip);
    clip_buttons->addStretch();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(BuildHeader());
    layout->addWidget(NewLabel(nullptr, tr("Voice clips by event (WAV files; the table picks one of three at random):")));
    layout->addWidget(clips_, 1);
    layout->addLayout(clip_buttons);
    setCentralWidget(central);
    BuildMenus();
    resize(760, 760);
    ShowPlayer();
}

PlayerWindow::~PlayerWindow() = default;

QWidget* PlayerWindow::BuildHeader() {
    auto* box = new QWidget;
    auto* form = new QFormLayout;
    name_ = new QLineEdit;
    name_->setMaxLength(32767);
    name_->setAccessibleName(tr("Name"));
    connect(name_, &QLineEdit::editingFinished, this, [this] { SetName(name_->text()); });
    auto* name_label = NewLabel(nullptr, tr("&Name:"));
    name_label->setBuddy(name_);
    form->addRow(name_label, name_);
    for (int i = 0; i < static_cast<int>(numbers_.size()); ++i) {
        numbers_[i] = new QSpinBox;
        numbers_[i]->setRange(-32768, 32767);
        auto* meaning = NewLabel(nullptr, tr(kNumbers[i].meaning));
        meaning->setWordWrap(true);
        auto* row = new QHBoxLayout;
        row->addWidget(numbers_[i]);
        row->addWidget(meaning, 1);
        auto* label = NewLabel(nullptr, tr(kNumbers[i].label));
        label->setBuddy(numbers_[i]);
        form->addRow(label, row);
        connect(numbers_[i], &QSpinBox::valueChanged, this, [this, i](int value) { SetNumber(i, value); });
    }
    picture_ = NewLabel(nullptr);
    picture_->setFixedSize(kPictureSide, kPictureSide);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    auto* import_picture = new QPushButton(tr("Import &Picture..."));
    connect(import_picture, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Import Picture"), QString(),
                                                          tr("Pictures (*.bmp *.png *.jpg *.jpeg *.gif);;All Files (*)"));
        if (!path.isEmpty()) ImportPicture(path);
    });
    auto* picture_column = new QVBoxLayout;
    picture_column->addWidget(picture_);
    picture_column->addWidget(import_picture);
    picture_column->addStretch();
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form, 1);
    layout->addLayout(picture_column);
    return box;
}

void PlayerWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), QKeySequence::New, this, [this] {
        if (!MayDiscardChanges()) return;
        file_ = NewPlayer();
        path_.clear();
        modified_ = false;
        ShowPlayer();
    });
    file->addAction(tr("&Open..."), QKeySequence::Open, this, &PlayerWindow::OpenCommand);
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { SaveCommand(); });
    file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] { SaveAsCommand(); });
    file->addSeparator();
    file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
}

void PlayerWindow::Report(const QString& text) {
    if (message_sink) {
        message_sink(text);
        return;
    }
    PlainMessageBox box(QMessageBox::Warning, tr("Player File"), text, QMessageBox::Ok, this);
    box.exec();
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
    if (MayDiscardChanges()) {
        if (player_) player_->stop();
        event->accept();
    } else {
        event->ignore();
    }
}

bool PlayerWindow::MayDiscardChanges() {
    if (!modified_) return true;
    const QMessageBox::StandardButton answer =
        AskToSave(this, tr("Player File"), tr("The player file has unsaved changes. Save them?"), ask_to_save);
    if (answer == QMessageBox::Save) return SaveCommand();
    return answer == QMessageBox::Discard;
}

bool PlayerWindow::OpenFile(const std::filesystem::path& path) {
    PlayerFileContents file;
    if (Status s = ReadPlayerFile(path.string(), file); !s) {
        Report(tr("The player file cannot be opened.\n%1").arg(QString::fromStdString(s.message())));
        return false;
    }
    file_ = std::move(file);
    path_ = path;
    modified_ = false;
    ShowPlayer();
    return true;
}

bool PlayerWindow::SaveFile(const std::filesystem::path& path) {
    PlayerFileContents file = file_;
    Status s = SealPlayerFile(file);
    if (s) s = CheckUnpackable(file);
    if (s) s = WriteFileAtomically(path, EncodePlayerFile(file));
    if (!s) {
        Report(tr("The player file was not saved.\n%1").arg(QString::fromStdString(s.message())));
        return false;
    }
    file_ = std::move(file);
    path_ = path;
    modified_ = false;
    ShowPlayer();
    return true;
}

void PlayerWindow::OpenCommand() {
    if (!MayDiscardChanges()) return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Player File"), QString(), tr(kPlayerFilter));
    if (!path.isEmpty()) OpenFile(ToPath(path));
}

bool PlayerWindow::SaveCommand() {
    if (path_.empty()) return SaveAsCommand();
    return SaveFile(path_);
}

bool PlayerWindow::SaveAsCommand() {
    QString path = QFileDialog::getSaveFileName(this, tr("Save Player File"), PathText(path_), tr(kPlayerFilter));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dpf");
    return SaveFile(ToPath(path));
}

bool PlayerWindow::ImportPicture(const QString& path) {
    std::string bytes;
    QString error;
    if (Status s = ReadWholeFile(ToPath(path), bytes, kMaxPlayerFileBytes); !s) {
        Report(QString::fromStdString(s.message()));
        return false;
    }
    if (!PictureAsBmp(path, bytes, error)) {
        Report(error);
        return false;
    }
    file_.Picture = std::move(bytes);
    Changed();
    return true;
}

int PlayerWindow::ClipOfSlot(int slot) const {
    for (std::size_t i = 0; i < file_.Clips.size(); ++i)
        if (file_.Clips[i].Entry.SoundIndex == slot) return static_cast<int>(i);
    return -1;
}

int PlayerWindow::CurrentSlot() const {
    const QTableWidgetItem* item = clips_->item(clips_->currentRow(), 0);
    return item ? item->data(kSlotRole).toInt() : -1;
}

bool PlayerWindow::ImportClip(int slot, const QString& path) {
    if (slot < 0 || slot > kMaxSoundIndex) return false;
    std::string bytes;
    if (Status s = ReadWholeFile(ToPath(path), bytes, kMaxPlayerFileBytes); !s) {
        Report(QString::fromStdString(s.message()));
        return false;
    }
    if (!IsWave(bytes)) {
        Report(tr("\"%1\" is not a WAV file; voice clips are stored as WAV files.").arg(path));
        return false;
    }
    const int at = ClipOfSlot(slot);
    if (at >= 0) {
        file_.Clips[at].Bytes = std::move(bytes);
    } else {
        const std::string name = CanonicalClipSlot(slot);
        PlayerClip clip;
        clip.Entry.SoundIndex = static_cast<std::int16_t>(slot);
        clip.Entry.FileName = (name.empty() ? "Clip" + std::to_string(slot) : name) + ".wav";
        clip.Bytes = std::move(bytes);
        file_.Clips.push_back(std::move(clip));
    }
    Changed();
    return true;
}

void PlayerWindow::RemoveClip(int slot) {
    const int at = ClipOfSlot(slot);
    if (at < 0) return;
    file_.Clips.erase(file_.Clips.begin() + at);
    Changed();
}

void PlayerWindow::SetNumber(int which, int value) {
    std::int16_t& number = PersonalityNumber(file_.Header, which);
    if (number == value) return;
    number = static_cast<std::int16_t>(value);
    Changed();
}

void PlayerWindow::SetName(const QString& name) {
    const std::string stored = FromQString(name);
    if (stored == file_.Header.Name) return;
    file_.Header.Name = stored;
    Changed();
}

void PlayerWindow::ImportClipCommand() {
    const int slot = CurrentSlot();
    if (slot < 0) {
        Report(tr("Choose the event of the clip in the list first."));
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Import Clip"), QString(), tr("Wave Files (*.wav);;All Files (*)"));
    if (!path.isEmpty()) ImportClip(slot, path);
}

void PlayerWindow::PlayClip(int slot) {
    if (const int at = ClipOfSlot(slot); at >= 0) PlayWave(player_, this, file_.Clips[at].Bytes);
}

void PlayerWindow::Changed() {
    modified_ = true;
    ShowPlayer();
}

void PlayerWindow::ShowPlayer() {
    const QString name = path_.empty() ? tr("Untitled") : PathText(path_.filename());
    setWindowTitle(tr("%1[*] - KVT Player File").arg(InWindowTitle(name)));
    setWindowModified(modified_);
    if (FromQString(name_->text()) != file_.Header.Name) name_->setText(ToQString(file_.Header.Name));
    for (int i = 0; i < static_cast<int>(numbers_.size()); ++i) {
        const QSignalBlocker quiet(numbers_[i]);
        numbers_[i]->setValue(PersonalityNumber(file_.Header, i));
    }
    const QImage picture = QImage::fromData(QByteArray::fromStdString(file_.Picture));
    if (picture.isNull()) {
        picture_->setPixmap({});
        picture_->setText(tr("No picture"));
    } else {
        picture_->setPixmap(QPixmap::fromImage(
            picture.width() > kPictureSide || picture.height() > kPictureSide
                ? picture.scaled(kPictureSide, kPictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                : picture));
    }

    // The named slots, then any other slot the file uses.
    std::vector<int> shown_slots;
    for (int slot = 0; slot < kClipSlots; ++slot) shown_slots.push_back(slot);
    for (const PlayerClip& clip : file_.Clips)
        if (std::find(shown_slots.begin(), shown_slots.end(), clip.Entry.SoundIndex) == shown_slots.end())
            shown_slots.push_back(clip.Entry.SoundIndex);
    const int current = clips_->currentRow();
    clips_->setRowCount(static_cast<int>(shown_slots.size()));
    for (int row = 0; row < clips_->rowCount(); ++row) {
        const int slot = shown_slots[row];
        const int at = ClipOfSlot(slot);
        auto* event = new QTableWidgetItem(EventOfSlot(slot));
        event->setData(kSlotRole, slot);
        clips_->setItem(row, 0, event);
        clips_->setItem(row, 1, new QTableWidgetItem(at < 0 ? QString() : ToQString(file_.Clips[at].Entry.FileName)));
        auto* size = new QTableWidgetItem(at < 0 ? tr("none") : tr("%1 bytes").arg(file_.Clips[at].Bytes.size()));
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        clips_->setItem(row, 2, size);
        if (at < 0) {
            clips_->removeCellWidget(row, 3);
            continue;
        }
        auto* play = new QPushButton(tr("Play"));
        play->setAccessibleName(tr("Play %1").arg(EventOfSlot(slot)));
        connect(play, &QPushButton::clicked, this, [this, slot] { PlayClip(slot); });
        clips_->setCellWidget(row, 3, play);
    }
    if (current >= 0) clips_->setCurrentCell(current, 0);
}

}  // namespace kvt::kvx
