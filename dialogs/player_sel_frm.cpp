#include "dialogs/player_sel_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "engine/player_file.h"
#include "engine/game.h"
#include "platform/files.h"
#include "platform/qt_text.h"
#include "platform/plain_text.h"

namespace kvt {

namespace {

namespace fs = std::filesystem;

fs::path ToPath(const QString& text) { return fs::path(QFile::encodeName(text).toStdString()); }
QString FromPath(const fs::path& path) { return QFile::decodeName(path.c_str()); }

// The name a player file gives its player, or empty when the header cannot be read.
QString PlayerNameOf(const QString& file) {
    ReadableFile in;
    if (!in.Open(ToPath(file))) return {};
    const std::uint64_t size = in.Size();
    const ReadAt read_at = [&in](std::uint64_t offset, std::size_t n, char* out) {
        return in.ReadAt(offset, n, out);
    };
    PlayerRec header;
    if (!DecodePlayerHeader(size, read_at, header)) return {};
    return ToQString(header.Name);
}

// A picture read whole, so the file may be overwritten by the next preview.
QPixmap LoadPicture(const fs::path& file) {
    FileBytes bytes;
    if (!ReadFileBytes(file, bytes, kMaxPlayerFileBytes)) return {};
    QPixmap picture;
    const std::string_view view = bytes.View();
    picture.loadFromData(reinterpret_cast<const uchar*>(view.data()), static_cast<uint>(view.size()));
    return picture;
}

}  // namespace

// --- the seats

SeatScreen::SeatScreen(int player, QWidget* parent) : QWidget(parent), player_(player) {
    setObjectName(QStringLiteral("Image%1").arg(player - 1));
    setAcceptDrops(true);
    setMinimumSize(sizeHint());
    setToolTip(tr("Drop a player here to seat Player %1").arg(player));
}

void SeatScreen::SetOccupant(Occupant occupant) {
    occupant_ = std::move(occupant);
    update();
}

void SeatScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect().adjusted(4, 2, -4, -2);
    // The monitor: a dark bezel, the screen inside, a neck and a foot.
    const QRectF bezel(area.left(), area.top(), area.width(), area.height() - 34);
    const QRectF screen = bezel.adjusted(8, 8, -8, -12);
    const QPointF centre(bezel.center().x(), bezel.bottom());
    QPainterPath stand;
    stand.moveTo(centre.x() - 10, bezel.bottom());
    stand.lineTo(centre.x() + 10, bezel.bottom());
    stand.lineTo(centre.x() + 16, bezel.bottom() + 12);
    stand.lineTo(centre.x() - 16, bezel.bottom() + 12);
    stand.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x58, 0x5e));
    p.drawPath(stand);
    p.drawRoundedRect(QRectF(centre.x() - 34, bezel.bottom() + 11, 68, 6), 3, 3);

    QLinearGradient shell(bezel.topLeft(), bezel.bottomLeft());
    shell.setColorAt(0, QColor(0x4a, 0x4e, 0x56));
    shell.setColorAt(1, QColor(0x26, 0x28, 0x2d));
    p.setBrush(shell);
    p.setPen(QPen(hovered_ ? QColor(0xf2, 0xc9, 0x4c) : QColor(0x18, 0x19, 0x1c), hovered_ ? 3 : 1));
    p.drawRoundedRect(bezel, 7, 7);
    // The power light.
    p.setPen(Qt::NoPen);
    p.setBrush(HasPicture() ? QColor(0x5c, 0xd6, 0x6a) : QColor(0x7a, 0x3a, 0x3a));
    p.drawEllipse(QPointF(bezel.right() - 12, bezel.bottom() - 6), 2.2, 2.2);

    if (HasPicture()) {
        p.fillRect(screen, QColor(0xff, 0xfd, 0xf4));
        const QPixmap scaled = occupant_.Picture.scaled(screen.size().toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap(QPointF(screen.center().x() - scaled.width() / 2.0, screen.center().y() - scaled.height() / 2.0), scaled);
    } else {
        QLinearGradient glass(screen.topLeft(), screen.bottomRight());
        glass.setColorAt(0, QColor(0x1b, 0x3a, 0x5c));
        glass.setColorAt(1, QColor(0x0c, 0x1a, 0x2c));
        p.fillRect(screen, glass);
        p.setPen(QColor(0x9f, 0xc3, 0xe8));
        p.drawText(screen, Qt::AlignCenter | Qt::TextWordWrap, tr("Player %1").arg(player_));
    }
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(screen);

    // The name under the screen.
    p.setPen(palette().color(QPalette::WindowText));
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    const QString caption = occupant_.Name.trimmed().isEmpty() ? (HasPicture() ? tr("(no name)") : tr("empty seat"))
                                                               : occupant_.Name.trimmed();
    p.drawText(QRectF(area.left(), area.bottom() - 16, area.width(), 16), Qt::AlignCenter,
               fontMetrics().elidedText(caption, Qt::ElideRight, static_cast<int>(area.width())));
}

void SeatScreen::dragEnterEvent(QDragEnterEvent* event) {
    hovered_ = true;
    update();
    event->acceptProposedAction();
}

void SeatScreen::dragLeaveEvent(QDragLeaveEvent*) {
    hovered_ = false;
    update();
}

void SeatScreen::dropEvent(QDropEvent* event) {
    hovered_ = false;
    event->acceptProposedAction();
    emit Dropped(player_);
}

// --- the window

PlayerSel::PlayerSel(Game& game, Hooks hooks, QWidget* parent)
    : QDialog(parent), game_(game), hooks_(std::move(hooks)) {
    setObjectName("PlayerSel");
    setWindowTitle(tr("Choose Players"));
    setModal(false);

    (void)game_.EnsurePlayerFolders();

    auto* layout = new QVBoxLayout(this);
    auto* label = NewLabel(this, tr("Click and Drag a player to one of the computer screens below:"));
    label->setObjectName("Label1");
    layout->addWidget(label);

    auto* top = new QHBoxLayout;
    folder_model_ = new QFileSystemModel(this);
    folder_model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folder_model_->setRootPath(QDir::rootPath());
    folders_ = new QTreeView(this);
    folders_->setObjectName("Dir1");
    folders_->setModel(folder_model_);
    for (int c = 1; c < folder_model_->columnCount(); ++c) folders_->hideColumn(c);
    folders_->header()->hide();
    folders_->setMinimumSize(200, 170);
    top->addWidget(folders_, 3);

    file_model_ = new QFileSystemModel(this);
    file_model_->setFilter(QDir::Files);
    file_model_->setNameFilters({QStringLiteral("*.dpf")});
    file_model_->setNameFilterDisables(false);
    files_ = new QListView(this);
    files_->setObjectName("File1");
    files_->setModel(file_model_);
    files_->setDragEnabled(true);
    files_->setDragDropMode(QAbstractItemView::DragOnly);
    files_->setSelectionMode(QAbstractItemView::SingleSelection);
    files_->setMinimumSize(150, 170);
    files_->setToolTip(tr("Double-click a player to see and hear it; drag it onto a screen to seat it."));
    top->addWidget(files_, 2);

    auto* preview_box = new QVBoxLayout;
    preview_ = NewLabel(this);
    preview_->setObjectName("Image4");
    preview_->setFixedSize(130, 130);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setStyleSheet("QLabel#Image4 { background: #fffdf4; border: 1px solid #9a927c; }");
    preview_name_ = NewLabel(this);
    preview_name_->setObjectName("PreviewName");
    preview_name_->setAlignment(Qt::AlignCenter);
    preview_box->addWidget(preview_);
    preview_box->addWidget(preview_name_);
    preview_box->addStretch();
    top->addLayout(preview_box);
    layout->addLayout(top);

    // The model reads folders in the background and sorts what it read a
    // moment later, which moves the rows: the current folder is scrolled into
    // view once the folders on its way have been read and have settled.
    reveal_ = new QTimer(this);
    reveal_->setSingleShot(true);
    reveal_->setInterval(50);
    connect(reveal_, &QTimer::timeout, this,
            [this] { folders_->scrollTo(folders_->currentIndex(), QAbstractItemView::PositionAtCenter); });
    connect(folder_model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (folder_model_->filePath(folders_->currentIndex()).startsWith(loaded)) reveal_->start();
    });
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShowFolder(folder_model_->filePath(current)); });
    connect(files_, &QListView::pressed, this,
            [this](const QModelIndex& index) { selected_ = file_model_->filePath(index); });
    connect(files_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
        if (index.isValid()) selected_ = file_model_->filePath(index);
    });
    connect(files_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { PreviewFile(file_model_->filePath(index)); });

    auto* seats = new QHBoxLayout;
    seats->addStretch();
    for (int p = 2; p <= 4; ++p) {
        auto* seat = new SeatScreen(p, this);
        seats_[static_cast<std::size_t>(p)] = seat;
        seats->addWidget(seat);
        seats->addSpacing(p < 4 ? 18 : 0);
        connect(seat, &SeatScreen::Dropped, this, &PlayerSel::DropOnSeat);
    }
    seats->addStretch();
    layout->addLayout(seats);

    auto* buttons = new QHBoxLayout;
    samples_ = new QPushButton(tr("Use &sample opponents"), this);
    samples_->setObjectName("SamplesBut");
    buttons->addWidget(samples_);
    buttons->addStretch();
    ok_ = new QPushButton(tr("&Ok"), this);
    ok_->setObjectName("OkBut");
    ok_->setDefault(true);
    cancel_ = new QPushButton(tr("&Cancel"), this);
    cancel_->setObjectName("CancelBut");
    help_ = new QPushButton(tr("&Help"), this);
    help_->setObjectName("HelpBut");
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { hide(); });
    connect(help_, &QPushButton::clicked, this, [this] {
        if (hooks_.help) hooks_.help(QStringLiteral("choosing_players.htm"));
    });
    connect(samples_, &QPushButton::clicked, this, &PlayerSel::UseSampleOpponents);

    QDir samples(FromPath(SamplesFolder()));
    samples_->setVisible(samples.entryList({QStringLiteral("*.dpf")}, QDir::Files).size() >= 3);
    ShowFolder(samples.exists() ? samples.absolutePath() : QDir::homePath());

    resize(620, 470);
    CentreOnScreen(this);
}

fs::path PlayerSel::SamplesFolder() const { return game_.GetFolders().SharedData / "players"; }

void PlayerSel::ShowFolder(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return;
    files_->setRootIndex(file_model_->setRootPath(folder));
    const QModelIndex in_tree = folder_model_->index(folder);
    if (in_tree.isValid() && folders_->currentIndex() != in_tree) {
        folders_->setCurrentIndex(in_tree);
        folders_->scrollTo(in_tree);  // opens the folders on the way
        reveal_->start();
    }
}

void PlayerSel::SelectFile(const QString& path) {
    const QFileInfo info(path);
    ShowFolder(info.absolutePath());
    selected_ = info.absoluteFilePath();
    const QModelIndex index = file_model_->index(selected_);
    if (index.isValid()) files_->setCurrentIndex(index);
}

bool PlayerSel::PreviewFile(const QString& path) {
    if (path.isEmpty()) return false;
    SelectFile(path);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status previewed = game_.PreviewPlayer(ToPath(selected_));
    QApplication::restoreOverrideCursor();
    if (!previewed) {
        ShowFrmMessage(hooks_.message, this, tr("Choose Players"), ToQString(previewed.message()));
        return false;
    }
    preview_file_ = selected_;
    preview_player_name_ = PlayerNameOf(selected_);
    const QPixmap picture = LoadPicture(game_.PreviewDir / kPlayerPictureName);
    preview_->setPixmap(picture.scaled(preview_->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    preview_->setProperty("picture", picture);
    preview_name_->setText(preview_player_name_);
    if (game_.PlayerSoundsHeard && hooks_.play) hooks_.play(game_.PreviewDir / kSelectionClipName);
    return true;
}

void PlayerSel::DropOnSeat(int player) {
    if (player < 2 || player > 4) return;
    SeatScreen::Occupant occupant;
    occupant.File = selected_;
    if (!preview_file_.isEmpty() && preview_file_ == selected_) {
        occupant.Picture = preview_->property("picture").value<QPixmap>();
        occupant.Name = preview_player_name_;
    }
    seats_[static_cast<std::size_t>(player)]->SetOccupant(occupant);
    // The preview has gone onto the seat.
    preview_->clear();
    preview_->setProperty("picture", QPixmap());
    preview_name_->clear();
    preview_file_.clear();
    if (game_.PlayerSoundsHeard && hooks_.play) hooks_.play(game_.PreviewDir / kSelectionClipName);
}

void PlayerSel::UseSampleOpponents() {
    QDir samples(FromPath(SamplesFolder()));
    const QStringList files = samples.entryList({QStringLiteral("*.dpf")}, QDir::Files, QDir::Name);
    for (int p = 2; p <= 4 && p - 2 < files.size(); ++p) {
        const bool sounds = game_.PlayerSoundsHeard;
        game_.PlayerSoundsHeard = false;  // three voices at once would be a lot
        if (PreviewFile(samples.absoluteFilePath(files[p - 2]))) DropOnSeat(p);
        game_.PlayerSoundsHeard = sounds;
    }
}

void PlayerSel::Message(const QString& text) { ShowFrmMessage(hooks_.message, this, tr("KVT"), text); }

bool PlayerSel::SeatsChosen() {
    for (int p = 2; p <= 4; ++p) {
        if (!seats_[static_cast<std::size_t>(p)]->HasPicture()) {
            Message(tr("Player %1 has not been chosen .").arg(p));
            return false;
        }
    }
    return true;
}

bool PlayerSel::Ok() {
    if (!SeatsChosen()) return false;
    if (hooks_.move_running && hooks_.move_running() && hooks_.after_move) {
        // The running move keeps the opponents it started with.
        hide();
        hooks_.after_move([window = QPointer<PlayerSel>(this)] {
            if (window) window->UnpackSeats();
        });
        return true;
    }
    return UnpackSeats();
}

bool PlayerSel::UnpackSeats() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList problems;
    bool changed = false;
    for (int p = 2; p <= 4; ++p) {
        const auto seat = static_cast<std::size_t>(p);
        SeatScreen::Occupant occupant = seats_[seat]->Current();
        const std::string before = game_.PlayerFile[seat];
        game_.PlayerFile[seat] = FromQString(occupant.File);
        const Status unpacked = game_.ExtractPlayer(ToPath(occupant.File), p);
        if (unpacked) {
            // The name as the table will show it.
            occupant.Name = ToQString(game_.PlayerInfo[seat].Name);
            seats_[seat]->SetOccupant(occupant);
            confirmed_[seat] = occupant;
            changed = true;
        } else {
            // The seat keeps the opponent it had.
            game_.PlayerFile[seat] = before;
            seats_[seat]->SetOccupant(confirmed_[seat]);
            problems << ToQString(unpacked.message());
        }
    }
    // What could be unpacked is remembered; a refused file leaves its seat as it was.
    const Status saved = game_.SavePlayerChoice();
    QApplication::restoreOverrideCursor();
    if (!problems.isEmpty()) {
        if (!saved) problems << ToQString(saved.message());
        show();  // a choice that waited for a move was hidden meanwhile
        ShowFrmMessage(hooks_.message, this, tr("Choose Players"), problems.join('\n'));
        if (changed && hooks_.names) hooks_.names();
        return false;
    }
    if (!saved) ShowFrmMessage(hooks_.message, this, tr("Choose Players"), ToQString(saved.message()));
    hide();
    if (hooks_.chosen) hooks_.chosen();
    return true;
}

void PlayerSel::closeEvent(QCloseEvent* event) {
    if (!SeatsChosen()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PlayerSel::reject() {
    // Escape is Cancel: the seats stay as they are, nothing is saved.
    hide();
}

}  // namespace kvt
