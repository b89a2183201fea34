#include "shell/play_win.h"
#include "shell/click_routing.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "shell/flights_qt.h"
#include "dialogs/card_view_frm.h"
#include "dialogs/game_info_frm.h"
#include "dialogs/game_over_frm.h"
#include "dialogs/name_frm.h"
#include "dialogs/play_spd_frm.h"
#include "dialogs/player_sel_frm.h"
#include "dialogs/score_frm.h"
#include "dialogs/wild_card_frm.h"
#include "engine/working_files.h"
#include "hand/hand_view.h"
#include "platform/banded_paint.h"
#include "platform/card_grid.h"
#include "platform/profile.h"
#include "platform/qt_text.h"
#include "platform/sound_output.h"
#include "shell/about_dlg.h"
#include "shell/help_window.h"
#include "platform/settings_keys.h"
#include "shell/table_match.h"
#include "shell/table_resume.h"
#include "shell/record_table.h"
#include "shell/replay_bar.h"
#include "shell/show_queue.h"
#include "shell/table_show.h"
#include "platform/statistics_store.h"
#include "shell/startup.h"
#include "shell/move_log.h"
#include "shell/startup_profile.h"
#include "shell/table_keys.h"
#include "shell/table_marks_qt.h"
#include "platform/picture_decode.h"
#include "platform/plain_text.h"

namespace kvt {

namespace {

using namespace table_layout;

// Where the direction of play is shown, in twips.
constexpr QPoint kPlayDirectPlace(5880, 1620);
// The table's first size, in pixels.
constexpr QSize kTableSize(640, 456);

const char* const kNameLabelStyle =
    "QLabel { color: #fbf5e1; background: rgba(0, 0, 0, 95); border: 1px solid rgba(255, 255, 255, 38);"
    " border-radius: 9px; padding: 1px 9px; font-weight: 600; }"
    // On the human's turn the name stands out.
    "QLabel[turn=\"true\"] { color: #2b2205; background: #ffd75a; border: 1px solid #fff3c4; }";
const char* const kHintStyle =
    "QLabel { color: #fdfbf2; background: rgba(0, 30, 60, 165); border: 1px solid rgba(160, 210, 255, 130);"
    " border-radius: 6px; padding: 2px 5px; }";
// How long the table keeps a size before its background picture is fitted smoothly.
constexpr int kBackgroundFitMs = 120;
const char* const kChooseMessageStyle =
    "QLabel { color: #fff3c4; background: rgba(20, 12, 0, 150); border: 1px solid rgba(255, 220, 120, 120);"
    " border-radius: 6px; padding: 1px 4px; font-weight: 600; }";

QString Trimmed(const std::string& text) { return ToQString(text).trimmed(); }

}  // namespace

std::optional<std::uint64_t> SeedFromEnvironment() {
    const char* text = std::getenv("KVT_SEED");
    if (!text || !*text) return std::nullopt;
    char* end = nullptr;
    const unsigned long long seed = std::strtoull(text, &end, 0);
    if (end == text || *end != '\0') return std::nullopt;
    return static_cast<std::uint64_t>(seed);
}

// The table's surface: draws the background and reports the pointer over
// the bare table.
class TableArea : public QWidget {
public:
    explicit TableArea(PlayWin* win) : QWidget(win), win_(win) {
        setObjectName("Table");
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(TableGeometry::MinimumSize());
    }
    QSize sizeHint() const override { return kTableSize; }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (win_->started_ && win_->game_->FirstPaint) {
            win_->game_->FirstPaint = false;
            StartupMark("first table paint");
            QTimer::singleShot(0, [] { StartupMark("first paint done"); });
            // The opening sound waits in its own event loop, so it starts
            // after this paint rather than inside it.
            QTimer::singleShot(0, win_, [win = QPointer<PlayWin>(win_)] {
                if (win) win->PlayOpeningSound();
            });
            // The statistics are not needed for the first look at the table.
            QTimer::singleShot(0, win_, [win = QPointer<PlayWin>(win_)] {
                if (win) win->Statistics();
            });
        }
        // On a screen of another pixel ratio the cards are drawn afresh for it.
        if (devicePixelRatioF() != win_->Geometry().PixelRatio())
            QTimer::singleShot(0, win_, [win = QPointer<PlayWin>(win_)] {
                if (win) win->TableResized();
            });
        QPainter painter(this);
        const QRect area = event->rect();
        PaintInBands(painter, area, [&] { win_->PaintBackground(painter, area); });
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        win_->TableResized();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        emit win_->PointerMoved(-1, Tw(at.x()), Tw(at.y()));
        QWidget::mouseMoveEvent(event);
    }

private:
    PlayWin* win_;
};

PlayWin::PlayWin(Options options, QWidget* parent) : QMainWindow(parent), options_(std::move(options)) {
    setObjectName("PlayWin");
    if (!options_.seed) options_.seed = SeedFromEnvironment();
    show_ = std::make_unique<ShowQueue>();
    table_show_ = std::make_unique<TableShow>(*this, *show_);
    game_ = std::make_unique<Game>(options_.folders, *table_show_, options_.seed);
    show_->SetOnIdle([this] {
        if (closing_) return;
        ShowGuidance();
        if (move_depth_ == 0 && std::exchange(after_move_waits_, false)) AfterMove();
    });
    match_ = std::make_unique<TableMatch>(*this, *game_, *table_show_);
    resume_ = std::make_unique<TableResume>(options_.folders.AppDir / "table-in-progress.txt");
    StartupMark("game object");
    sound_ = new SoundOutput(this);
    BuildMenu();
    StartupMark("menu built");
    BuildTable();
    StartupMark("table built");
    SetClickHandler(RouteTableClick);
    UpdateTitle();
    resize(sizeHint());
}

PlayWin::~PlayWin() {
    closing_ = true;
    show_->Clear();
    if (flights_) flights_->Abort();
    if (sound_) sound_->Shutdown();
}

QWidget* PlayWin::Table() const { return table_; }

QAction* PlayWin::MenuEntry(const QString& name) const { return findChild<QAction*>(name); }

// --- building the window

void PlayWin::BuildMenu() {
    QMenuBar* bar = menuBar();
    const auto submenu = [](QWidget* parent_menu, const char* name, const QString& caption) {
        QMenu* menu = nullptr;
        if (auto* in_bar = qobject_cast<QMenuBar*>(parent_menu))
            menu = in_bar->addMenu(caption);
        else
            menu = static_cast<QMenu*>(parent_menu)->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };
    const auto entry = [this](QMenu* menu, const char* name, const QString& caption, auto&& command,
                              bool checkable = false) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, command);
        return action;
    };

    QMenu* file = submenu(bar, "MM_FILE", tr("&File"));
    entry(file, "MM_NEW_GAME", tr("&New Game"), [this] { NewGameCommand(); })->setShortcut(QKeySequence::New);
    entry(file, "MM_LOAD_CARD", tr("&Load Card Set"), [this] { LoadCardSetCommand(); })->setShortcut(QKeySequence::Open);
    entry(file, "MM_DEFINE_CARDS", tr("&Define Cards"), [this] { DefineCardsCommand(); });
    entry(file, "MM_CHOOSE_PLAYERS", tr("&Choose Players"), [this] { ChoosePlayersCommand(); });
    entry(file, "MM_SHARE_DEAL", tr("S&hare This Deal..."), [this] { ShareDealCommand(); });
    entry(file, "MM_OPEN_DEAL", tr("&Open Deal..."), [this] { OpenDealCommand(); });
    entry(file, "MM_OPEN_RECORD", tr("Open &Game Record..."), [this] { OpenGameRecordCommand(); });
    entry(file, "MM_SAVE_RECORD", tr("Sa&ve Game Record..."), [this] { SaveGameRecordCommand(); });
    file->addSeparator()->setObjectName("MM_DASH");
    entry(file, "MM_EXIT", tr("&Exit"), [this] { close(); })->setShortcut(QKeySequence::Quit);

    QMenu* edit = submenu(bar, "MM_EDIT", tr("&Edit"));
    entry(edit, "MM_UNDO", tr("&Undo"), [this] { UndoCommand(); })->setShortcut(QKeySequence::Undo);
    entry(edit, "MM_REDO", tr("&Redo"), [this] { RedoCommand(); })->setShortcut(QKeySequence::Redo);

    QMenu* setup = submenu(bar, "MM_SETUP", tr("&Options"));
    entry(setup, "MM_SORT_CARDS", tr("S&ort Cards"), [this] { ToggleSortCards(); }, true);
    QMenu* sounds = submenu(setup, "MM_SOUNDS", tr("&Sounds"));
    entry(sounds, "MM_PLAYER_SOUNDS", tr("&Player Sounds"), [this] { TogglePlayerSounds(); }, true);
    entry(sounds, "MM_MUSIC", tr("&Opening Music"), [this] { ToggleOpeningMusic(); }, true);
    entry(setup, "MM_VIEWER", tr("&Card Viewer"), [this] { ToggleCardViewer(); }, true);
    entry(setup, "MM_GAME_SPEED", tr("&Game Speed"), [this] { GameSpeedCommand(); });
    entry(setup, "MM_MOVE_LOG", tr("&Move Log"), [this] {
        const bool shown = !move_log_->isVisible();
        ShowMoveLog(shown);
        WriteMisc(settings::kMoveLog, FormatFlag(shown));
    }, true);

    QMenu* score = submenu(bar, "MM_SCORE", tr("&Score"));
    entry(score, "MM_VIEW_SCORE", tr("&View Score"), [this] { ViewScoreCommand(); });
    entry(score, "MM_STATISTICS", tr("S&tatistics..."), [this] { StatisticsCommand(); });

    QMenu* help = submenu(bar, "MM_HELP", tr("&Help"));
    entry(help, "MM_CONTENTS", tr("&Contents"), [this] { OpenHelp(QString::fromLatin1(HelpWindow::kContentsTopic)); })
        ->setShortcut(QKeySequence::HelpContents);
    help->addSeparator()->setObjectName("MM_DIVIDER5");
    entry(help, "MM_ABOUT", tr("About &KVT"), [this] { AboutCommand(); });
    entry(help, "MM_CURRENT_GAME", tr("&About Current Game"), [this] { CurrentGameCommand(); });
    SyncCheckMarks();
    SyncUndoEntries();
}

void PlayWin::BuildTable() {
    table_ = new TableArea(this);
    setCentralWidget(table_);

    hands_ = std::make_unique<HandView>(table_, *game_, clip_);
    hands_->SetMinimizedCheck([this] { return isMinimized(); });
    keys_ = new TableKeys(*this);
    move_log_ = new MoveLog(this);
    addDockWidget(Qt::RightDockWidgetArea, move_log_);
    move_log_->hide();
    // The dock's own close box turns the log off as the menu does.
    connect(move_log_->toggleViewAction(), &QAction::toggled, this, [this](bool shown) {
        if (QAction* entry = MenuEntry("MM_MOVE_LOG")) entry->setChecked(shown);
    });
    game_->SetEventListener([this](const Event& event) { ShowEvent(event); });
    hands_->SetErrorReporter([this](const QString& text) { Report(tr("KVT"), text); });

    for (int p = 1; p <= 4; ++p) {
        CardGrid* grid = hands_->Grid(p);
        connect(grid, &CardGrid::Clicked, this, [this, p, grid] {
            HandleClick({TableClick::Place::kHand, p, grid->Col(), grid->Row()});
        });
        connect(grid, &CardGrid::MouseMoved, this, [this, p](int x, int y) { emit PointerMoved(p, Tw(x), Tw(y)); });
    }
    CardGrid* hold = hands_->Grid(0);
    connect(hold, &CardGrid::Clicked, this, [this, hold] {
        HandleClick({TableClick::Place::kHoldGrid, 0, hold->Col(), hold->Row()});
    });
    connect(hold, &CardGrid::MouseMoved, this, [this](int x, int y) { emit PointerMoved(0, Tw(x), Tw(y)); });
    connect(hands_->DrawDeck(), &PictureBox::Clicked, this,
            [this] { HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0}); });
    connect(hands_->ShowCardPlay(), &PictureBox::Clicked, this,
            [this] { HandleClick({TableClick::Place::kPickedCard, 1, 0, 0}); });
    connect(hands_->AcceptDiscardBut(), &QPushButton::clicked, this,
            [this] { HandleClick({TableClick::Place::kDiscardButton, 1, 0, 0}); });

    static const char* const kLabelNames[] = {"", "lblPlayName1", "lblPlayName2", "lblPlayName3", "lblPlayName4"};
    for (int p = 1; p <= 4; ++p) {
        auto* label = NewLabel(table_);
        label->setObjectName(kLabelNames[p]);
        label->setStyleSheet(kNameLabelStyle);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        name_labels_[static_cast<std::size_t>(p)] = label;
    }

    seat_arrows_[2] = new SeatArrow(SeatArrow::Points::kLeft, table_);
    seat_arrows_[3] = new SeatArrow(SeatArrow::Points::kUp, table_);
    seat_arrows_[4] = new SeatArrow(SeatArrow::Points::kRight, table_);
    for (int seat = 2; seat <= 4; ++seat) {
        seat_arrows_[static_cast<std::size_t>(seat)]->setObjectName(QStringLiteral("PlayerPtr%1").arg(seat));
        seat_arrows_[static_cast<std::size_t>(seat)]->hide();
    }

    for (int i = 0; i < 2; ++i) {
        auto* picture = new DirectionPicture(i == 1, table_);
        picture->setObjectName(QStringLiteral("PlayDirect%1").arg(i));
        play_direct_[static_cast<std::size_t>(i)] = picture;
    }
    play_direct_[1]->hide();

    choose_msg_ = NewLabel(table_);
    choose_msg_->setObjectName("ChooseMsgLbl");
    choose_msg_->setStyleSheet(kChooseMessageStyle);
    choose_msg_->setWordWrap(true);
    choose_msg_->setAlignment(Qt::AlignCenter);
    choose_msg_->setGeometry(kChooseMsgLbl.ToPixels());
    message_font_ = choose_msg_->font();
    message_font_.setPointSizeF(message_font_.pointSizeF() * 0.85);
    choose_msg_->setFont(message_font_);
    choose_msg_->hide();
    name_font_ = name_labels_[1]->font();

    hold_hint_ = NewLabel(table_);
    hold_hint_->setObjectName("HoldHintLbl");
    hold_hint_->setStyleSheet(kHintStyle);
    hold_hint_->setWordWrap(true);
    hold_hint_->setAlignment(Qt::AlignCenter);
    hold_hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hold_hint_->hide();

    // Under everything else on the table.
    turn_glow_ = new TurnGlow(table_);
    turn_glow_->lower();

    flights_ = new CardFlights(table_);
    background_fit_ = new QTimer(this);
    background_fit_->setSingleShot(true);
    background_fit_->setInterval(kBackgroundFitMs);
    connect(background_fit_, &QTimer::timeout, this, [this] { FitBackground(); });

    title_label_ = NewLabel(this);
    title_label_->setObjectName("GameTitleLbl");
    statusBar()->addPermanentWidget(title_label_);
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName("Gauge1");
    gauge_->setMaximumWidth(160);
    gauge_->setMaximumHeight(14);
    gauge_->setTextVisible(false);
    gauge_->hide();
    statusBar()->addWidget(gauge_);
    statusBar()->setSizeGripEnabled(true);
}

// --- start-up and shut-down

// A remembered position (in twips) brought within the screens' reach: a
// stale or hand-edited value must neither hide the window nor overflow when
// it is saved again.
QPoint PlayWin::OnScreens(int left, int top) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect reach = screen ? screen->virtualGeometry() : QRect(0, 0, 1, 1);
    return {std::clamp(Px(left), reach.left(), reach.right()), std::clamp(Px(top), reach.top(), reach.bottom())};
}

bool PlayWin::Start() {
    if (started_) return true;
    if (layout()) layout()->activate();

    Profile& ini = game_->Settings();
    move(OnScreens(ini.ReadInt(settings::kMisc, settings::kLeft, 0), ini.ReadInt(settings::kMisc, settings::kTop, 0)));
    LoadOptions(*game_);
    if (!ini.Problem().empty()) Report(tr("KVT"), ToQString(ini.Problem()));
    SyncCheckMarks();
    ShowMoveLog(ini.ReadInt(settings::kMisc, settings::kMoveLog, 0) != 0);

    StartupMark("settings read");
    if (!AskName()) return false;

    // The card set in force (or the one named on the command line), its
    // bitmap and its card back.
    const Status loaded = StartTable(*game_, options_.card_set);
    StartupMark("card set and bitmap");
    if (loaded && options_.card_set) card_set_source_ = *options_.card_set;
    if (!loaded)
        Report(tr("KVT"), ToQString(loaded.message()));
    else if (clip_.IsEmpty())
        Report(tr("KVT"), tr("The card pictures in \"%1\" cannot be read; the cards are shown blank.")
                              .arg(QFile::decodeName(game_->CardBitmapPath.c_str())));

    for (int p = 1; p <= 4; ++p) hands_->ShowHand(game_->Players[static_cast<std::size_t>(p)], p);

    // The first deal of the run, for the remembered opponents; without them
    // the opponent choice deals when it is confirmed.
    if (LoadStartPlayers()) {
        StartupMark("players loaded");
        game_->DealForPlayers();
        ShowHand(Building().ShownHand(), 1);
        StartupMark("dealt");
        ResumeTableInProgress();
    }
    SyncCheckMarks();

    CheckForPrevBackGround();
    SetUpBackground();
    SetDirectionPicture(game_->PlayReversed);
    UpdateTitle();
    PlaceNameLabels();
    StartupMark("background and labels");
    started_ = true;
    connect(this, &PlayWin::PointerMoved, this, [this](int grid, int x, int) { DescribeCard(grid, x); });
    if (game_->CardViewer) ShowCardViewer(true);
    // The table as dealt: the first move the human can take back starts here.
    match_->Continue();
    SyncUndoEntries();
    if (options_.deal && !awaiting_players_) QTimer::singleShot(0, this, [this] { OpenDealCommand(*options_.deal); });
    if (options_.game_record) QTimer::singleShot(0, this, [this] { OpenGameRecordCommand(*options_.game_record); });
    if (awaiting_players_ || options_.player_file) QTimer::singleShot(0, this, [this] {
        ChoosePlayersCommand();
        if (options_.player_file && player_sel_) player_sel_->PreviewFile(PathText(*options_.player_file));
    });
    return true;
}

bool PlayWin::AskName() {
    QString name;
    if (options_.player_name) {
        name = *options_.player_name;
    } else if (qEnvironmentVariableIsSet("KVT_PLAYER_NAME")) {
        name = qEnvironmentVariable("KVT_PLAYER_NAME");
    } else {
        NameFrm dialog;
        name_asked_ = true;
        if (dialog.exec() != QDialog::Accepted) return false;
        name = dialog.Name();
    }
    game_->PlayerInfo[1].Name = FromQString(name);
    return true;
}

void PlayWin::ShowMoveLog(bool shown) {
    if (shown == move_log_->isVisible()) return;
    // The table keeps its size: the window grows or shrinks by the log. A
    // window that fits the screen stays within it; the table gives way.
    const int table_width = table_->width();
    const int frame = frameGeometry().width() - geometry().width();
    const int room = screen() ? screen()->availableGeometry().width() - frame : QWIDGETSIZE_MAX;
    const int widest = width() <= room ? room : QWIDGETSIZE_MAX;
    move_log_->setVisible(shown);
    if (layout()) layout()->activate();
    // A log squeezed by the table's minimum width takes its own width only
    // once the window has grown: a second step then brings the table back.
    for (int step = 0; step < 3 && table_->width() != table_width; ++step) {
        const int wanted = std::min(widest, width() + table_width - table_->width());
        if (wanted == width()) break;
        resize(wanted, height());
        if (layout()) layout()->activate();
    }
    if (QAction* entry = MenuEntry("MM_MOVE_LOG")) entry->setChecked(shown);
}

void PlayWin::WriteMisc(const char* key, const std::string& value) {
    // The settings are a convenience; a failed write leaves the game as it is.
    (void)game_->Settings().WriteString(settings::kMisc, key, value);
}

void PlayWin::ShutDown() {
    shut_down_ = true;
    WriteMisc(settings::kPlaySpeed, FormatNumber(game_->GameSpeed));
    const QPoint at = pos();
    WriteMisc(settings::kLeft, FormatNumber(Tw(at.x())));
    WriteMisc(settings::kTop, FormatNumber(Tw(at.y())));
    WriteMisc(settings::kSort, FormatFlag(game_->SortCards));
    WriteMisc(settings::kPlayerSounds, FormatFlag(game_->PlayerSoundsHeard));
    WriteMisc(settings::kBackMusic, FormatFlag(game_->OpeningMusic));
    std::string home = game_->AppDir.string();
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    WriteMisc(settings::kHome, home);
}

void PlayWin::closeEvent(QCloseEvent* event) {
    if (!shut_down_) ShutDown();
    // The game in progress is kept, not a game record shown over it.
    PutBackGameInProgress();
    // A move the table is still showing is over in the game: kept as it left it.
    if (move_depth_ == 0 && !closing_) KeepTableInProgress();
    // Whatever waits now returns at once, and nothing waits again.
    closing_ = true;
    show_->Clear();
    flights_->Abort();
    sound_->Shutdown();
    event->accept();
}

void PlayWin::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized()) {
        // The card viewer goes down with the table and comes back with it.
        if (card_view_) card_view_->hide();
        return;
    }
    if (!(change->oldState() & Qt::WindowMinimized) || !started_) return;
    // A minimised table is not drawn; it catches up (at the size it came back with) when it is restored.
    TableResized();
    if (game_->CardViewer) ShowCardViewer(true);
}

const TableGeometry& PlayWin::Geometry() const { return hands_->Geometry(); }

// Everything on the table follows its size: one scale, the middle centred,
// the side hands at the edges (TableGeometry).
void PlayWin::TableResized() {
    // Resizes while the window is still being built wait for the first full layout.
    if (!hands_ || !background_fit_ || isMinimized()) return;
    hands_->SetGeometry(TableGeometry(table_->size(), table_->devicePixelRatioF()));
    PlaceMiddleParts();
    background_fit_->start();
    if (!started_) return;
    RedrawTable();
    PlaceSeatArrows();
}

void PlayWin::PlaceMiddleParts() {
    const TableGeometry& g = Geometry();
    const QSize direction(g.Scaled(DirectionPicture::kSize), g.Scaled(DirectionPicture::kSize));
    for (DirectionPicture* picture : play_direct_)
        picture->setGeometry(QRect(g.Pixels(kPlayDirectPlace + g.MiddleShift()), direction));
    for (int seat = 2; seat <= 4; ++seat)
        seat_arrows_[static_cast<std::size_t>(seat)]->resize(g.Scaled(SeatArrow::kSize), g.Scaled(SeatArrow::kSize));
    // Whole points: a window being resized changes its fonts (and asks for
    // new glyphs) only now and then, not at every step.
    const auto scale_font = [&g](QWidget* widget, QFont font) {
        if (g.Scale() != 1.0 && font.pointSizeF() > 0)
            font.setPointSizeF(std::max(1.0, std::round(font.pointSizeF() * g.Scale())));
        if (widget->font() != font) widget->setFont(font);
    };
    for (int p = 1; p <= 4; ++p) scale_font(name_labels_[static_cast<std::size_t>(p)], name_font_);
    scale_font(choose_msg_, message_font_);
    scale_font(hold_hint_, message_font_);
    FitChooseMessage();
    flights_->SetPlacement([this](QPoint twips) { return Geometry().Pixels(twips); }, g.CardSize());
    ShowGuidance();
}

void PlayWin::FitChooseMessage() {
    // A long name takes another line rather than being cut off.
    const QRect design = Geometry().ChooseMsgLbl();
    choose_msg_->setGeometry(design);
    choose_msg_->resize(design.width(), std::max(design.height(), choose_msg_->heightForWidth(design.width())));
}

void PlayWin::SyncCheckMarks() {
    const auto mark = [this](const char* name, bool on) {
        if (QAction* action = MenuEntry(name)) action->setChecked(on);
    };
    mark("MM_SORT_CARDS", game_->SortCards);
    mark("MM_PLAYER_SOUNDS", game_->PlayerSoundsHeard);
    mark("MM_MUSIC", game_->OpeningMusic);
    mark("MM_VIEWER", game_->CardViewer);
}

void PlayWin::UpdateTitle() {
    const QString title = Trimmed(game_->CardSet.GameTitle);
    const QString author = Trimmed(game_->CardSet.AuthorName);
    setWindowTitle(title.isEmpty() ? tr("KVT") : tr("KVT - %1").arg(InWindowTitle(title)));
    if (title.isEmpty())
        title_label_->clear();
    else if (author.isEmpty())
        title_label_->setText(title);
    else
        title_label_->setText(tr("%1, by %2").arg(title, author));
}

}  // namespace kvt
