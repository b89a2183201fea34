// The table's commands and the side windows it opens.
#include "shell/play_win.h"
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
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <cstdlib>
#include <system_error>
#include <utility>
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
#include "platform/card_grid.h"
#include "platform/profile.h"
#include "platform/qt_text.h"
#include "platform/sound_output.h"
#include "shell/about_dlg.h"
#include "shell/show_queue.h"
#include "shell/help_window.h"
#include "platform/settings_keys.h"
#include "shell/startup.h"
#include "shell/table_marks_qt.h"
#include "shell/table_match.h"
#include "shell/table_show.h"
#include "shell/table_resume.h"
#include "platform/statistics_store.h"
#include "platform/plain_text.h"
#include "shell/record_table.h"

namespace kvt {

// --- commands

MoveBeingBuilt& PlayWin::Building() { return match_->Building(); }
const MoveBeingBuilt& PlayWin::Building() const { return match_->Building(); }
MoveShows& PlayWin::Queued() { return *table_show_; }

bool PlayWin::MoveRunning() const { return move_depth_ > 0 || show_->Playing(); }

void PlayWin::AfterShow() {
    if (show_->Playing()) after_move_waits_ = true;
}

bool PlayWin::TableBusy() const { return MoveRunning() || game_->MoveInProgress() || match_->GoesOn(); }

void PlayWin::WhenNoMoveRuns(std::function<void()> command) {
    if (TableBusy()) {
        // One command waits; a later one replaces it.
        deferred_ = std::move(command);
        statusBar()->showMessage(tr("That follows when this move is over."), 4000);
        return;
    }
    command();
}

void PlayWin::RunMove(const std::function<void()>& move) {
    QPointer<PlayWin> alive(this);
    ++move_depth_;
    move();
    if (!alive) return;
    --move_depth_;
    if (move_depth_ > 0 || closing_) return;
    // What follows waits until the table has shown the move.
    if (show_->Playing()) return AfterShow();
    after_move_waits_ = false;
    AfterMove();
}

void PlayWin::AfterMove() {
    QPointer<PlayWin> alive(this);
    // The turn and the hold grid's hint as the move left them.
    ShowGuidance();
    // Commands given meanwhile wait until the table waits for the human's
    // play: the computers' moves and the questions of this move come first.
    if (match_->GoesOn()) {
        match_->Continue();
        return;
    }
    // A choice of opponents confirmed during the move comes first, then the command that waited.
    if (std::function<void()> players = std::exchange(players_waiting_, nullptr)) {
        players();
        if (!alive || move_depth_ > 0 || closing_) return;
    }
    if (std::function<void()> next = std::exchange(deferred_, nullptr)) {
        next();
        if (!alive || move_depth_ > 0 || closing_) return;
    }
    // Then whatever the table asks next: a computer's move, a question to the human.
    match_->Continue();
    SyncUndoEntries();
}

namespace {

std::optional<std::filesystem::path> AskDealFile(QWidget* parent, bool save) {
    const QString filter = PlayWin::tr("KVT Deals (*.kvtdeal);;All Files (*)");
    const QString file = save ? QFileDialog::getSaveFileName(parent, PlayWin::tr("Share This Deal"), QDir::homePath() + "/deal.kvtdeal", filter)
                              : QFileDialog::getOpenFileName(parent, PlayWin::tr("Open Deal"), QDir::homePath(), filter);
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

}  // namespace

void PlayWin::ShareDealCommand(std::optional<std::filesystem::path> file) {
    WhenNoMoveRuns([this, file] {
        const TableState* dealt = match_->Dealt();
        if (!dealt || awaiting_players_) {
            Report(tr("Share This Deal"), tr("There is no deal on the table to share."), false);
            return;
        }
        const TableState deal = *dealt;
        const std::optional<std::filesystem::path> target = file ? file : AskDealFile(this, true);
        if (!target) return;
        if (const Status written = TableResume::WriteDeal(*game_, deal, *target); !written)
            Report(tr("Share This Deal"), ToQString(written.message()));
        else
            statusBar()->showMessage(tr("The deal was written to \"%1\".").arg(PathText(*target)), 6000);
    });
}

void PlayWin::OpenDealCommand(std::optional<std::filesystem::path> file) {
    WhenNoMoveRuns([this, file] {
        const std::optional<std::filesystem::path> source = file ? file : AskDealFile(this, false);
        if (!source) return;
        CloseReplay();
        RunMove([this, source] {
            // A card picked meanwhile goes back first: the deal replaces every hand.
            if (Building().Picking()) Building().PutBack();
            if (const Status opened = TableResume::OpenDeal(*game_, *source); !opened) {
                Report(tr("Open Deal"), tr("The deal in \"%1\" cannot be dealt: %2.").arg(PathText(*source), ToQString(opened.message())));
                return;
            }
            awaiting_players_ = false;
            StartingAfresh();
            ShowTableBroughtBack();
        });
    });
}

void PlayWin::KeepTableInProgress() {
    if (!started_ || closing_ || awaiting_players_ || replay_) return;
    // The record first: a kill between the two leaves it a move ahead of the
    // table, which the next start sees by its last table and does not take up.
    KeepRecordInProgress();
    const Status kept = resume_->Save(*game_);
    // Said once, in the status bar: the game goes on, it only cannot be kept
    // (an unusable working folder has been reported at start-up already).
    if (!kept && !keep_failed_)
        statusBar()->showMessage(tr("The game in progress cannot be kept for the next start: %1").arg(ToQString(kept.message())), 10000);
    keep_failed_ = !kept;
}

void PlayWin::ResumeTableInProgress() {
    std::string why;
    switch (resume_->Restore(*game_, why)) {
    case TableResume::Outcome::kNothingSaved:
        return;
    case TableResume::Outcome::kSetAside:
        Report(tr("KVT"), tr("The game in progress of the last run cannot go on: %1. It was set aside as \"%2\"; a new game is dealt.")
                              .arg(ToQString(why), PathText(resume_->File()) + QStringLiteral(".set-aside")));
        return;
    case TableResume::Outcome::kResumed:
        break;
    }
    resumed_ = true;
    TakeUpRecordInProgress();
    // A round scored before the exit still waits for its sheet's OK.
    if (game_->Pending() == Decision::AcknowledgeScore) match_->RoundScored();
    ShowTableBroughtBack();
    statusBar()->showMessage(tr("The game goes on where you left it."), 4000);
}

void PlayWin::SyncUndoEntries() {
    // Built before the match: nothing to take back yet.
    const bool undo = match_ && match_->CanUndo();
    const bool redo = match_ && match_->CanRedo();
    if (QAction* entry = MenuEntry("MM_UNDO")) entry->setEnabled(undo);
    if (QAction* entry = MenuEntry("MM_REDO")) entry->setEnabled(redo);
}

void PlayWin::UndoCommand() {
    if (match_->Undo()) statusBar()->showMessage(tr("Your last move was taken back."), 4000);
}

void PlayWin::RedoCommand() {
    if (match_->Redo()) statusBar()->showMessage(tr("Your move was played again."), 4000);
}

void PlayWin::ShowTableBroughtBack() {
    if (!game_->ChoosingCards) SetChooseMessageVisible(false);
    SetHoldGridVisible(false);
    ShowArrowAt(0);
    if (game_->ChoosingCards) {
        SetTakePrompt(game_->ChooseFromPlayer);
        SetChooseMessageVisible(true);
    }
    SetPickedCardVisible(true);
    RedrawTable();
}

void PlayWin::HandleClick(const TableClick& click) {
    if (closing_ || !started_ || awaiting_players_ || replay_) return;
    // The computers' moves are played one by one; the human waits for them
    // and for the table to show the last move.
    if (match_->ComputerOnTurn() || show_->Playing()) return;
    emit TableClicked(click);
    if (click_handler_) RunMove([this, click] { click_handler_(*this, click); });
}

void PlayWin::NewGameCommand() {
    WhenNoMoveRuns([this] {
        CloseReplay();
        RunMove([this] {
            StartingAfresh();
            game_->NewGame();
            // A table that is dealt is played, also before any opponents were chosen.
            awaiting_players_ = false;
            RedrawTable();
        });
    });
}

void PlayWin::LoadCardSetCommand(std::optional<std::filesystem::path> card_set) {
    WhenNoMoveRuns([this, card_set] {
        std::filesystem::path chosen;
        if (card_set) {
            chosen = *card_set;
        } else {
            const QString file = QFileDialog::getOpenFileName(this, tr("Load Card Set"), CardSetFolder(),
                                                              tr("Card Files (*.cds);;All Files (*)"));
            if (file.isEmpty()) return;
            chosen = std::filesystem::path(QFile::encodeName(file).toStdString());
        }
        CloseReplay();
        RunMove([this, chosen] {
            const Status loaded = game_->LoadCardSetCommand(chosen);
            if (!loaded) {
                Report(tr("Load Card Set"), ToQString(loaded.message()));
                return;
            }
            StartingAfresh();
            awaiting_players_ = false;
            card_set_source_ = chosen;
            UpdateTitle();
            RedrawTable();
        });
    });
}

QString PlayWin::CardSetFolder() const {
    // The card set in force is read from a working copy, no place to look for
    // card sets: its own file's folder is known when it was loaded in this run.
    if (!card_set_source_.empty()) {
        const QFileInfo loaded(PathText(card_set_source_));
        if (loaded.absoluteDir().exists()) return loaded.absolutePath();
    }
    const QFileInfo shipped(PathText(game_->GetFolders().SharedData));
    return shipped.isDir() ? shipped.absoluteFilePath() : QDir::homePath();
}

void PlayWin::ToggleSortCards() {
    game_->SortCards = !game_->SortCards;
    SyncCheckMarks();
    ShowHand(Building().ShownHand(), 1);
    WriteMisc(settings::kSort, FormatFlag(game_->SortCards));
}

void PlayWin::TogglePlayerSounds() {
    game_->PlayerSoundsHeard = !game_->PlayerSoundsHeard;
    SyncCheckMarks();
}

void PlayWin::ToggleOpeningMusic() {
    game_->OpeningMusic = !game_->OpeningMusic;
    SyncCheckMarks();
    if (!game_->OpeningMusic) CloseBackgroundSound();
}

void PlayWin::ToggleCardViewer() {
    game_->CardViewer = !game_->CardViewer;
    SyncCheckMarks();
    ShowCardViewer(game_->CardViewer);
    WriteMisc(settings::kViewer, FormatFlag(game_->CardViewer));
}

void PlayWin::Report(const QString& title, const QString& text, bool warning) {
    if (message_sink_) {
        message_sink_(title, text);
        return;
    }
    PlainMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok,
                    isVisible() ? this : nullptr);
    box.exec();
}

// --- the side windows and the remaining commands

bool PlayWin::LoadStartPlayers() {
    if (game_->RememberedPlayersComplete()) {
        // A remembered file that went missing leaves its seat without a name.
        const Status loaded = game_->LoadPlayers();
        if (!loaded) statusBar()->showMessage(ToQString(loaded.message()), 8000);
        return true;
    }
    if (!options_.choose_players.value_or(name_asked_)) return true;
    awaiting_players_ = true;
    return false;
}

void PlayWin::ChoosePlayersCommand() {
    if (closing_) return;
    if (!player_sel_) {
        PlayerSel::Hooks hooks;
        hooks.message = [this](const QString& title, const QString& text) { Report(title, text, false); };
        hooks.play = [this](const std::filesystem::path& clip) { PlayClip(clip); };
        hooks.help = [this](const QString& topic) { OpenHelp(topic); };
        hooks.chosen = [this] { PlayersChosen(); };
        hooks.names = [this] { PlaceNameLabels(); };
        hooks.move_running = [this] { return TableBusy(); };
        hooks.after_move = [this](std::function<void()> step) {
            players_waiting_ = std::move(step);
            statusBar()->showMessage(tr("The new players join when this move is over."), 4000);
        };
        player_sel_ = new PlayerSel(*game_, std::move(hooks), this);
    }
    player_sel_->show();
    player_sel_->raise();
    player_sel_->activateWindow();
}

void PlayWin::PlayersChosen() {
    // The new opponents get a fresh deal, as New Game gives.
    WhenNoMoveRuns([this] {
        CloseReplay();
        RunMove([this] {
            awaiting_players_ = false;
            StartingAfresh();
            game_->DealForPlayers();
            RedrawTable();
        });
    });
}

void PlayWin::DefineCardsCommand() {
    const std::string card_file = game_->Settings().ReadString(settings::kMisc, settings::kCardFile, "");
    const std::filesystem::path designer = options_.designer ? *options_.designer : ExecutableFolder() / "kvx";
    if (QProcess::startDetached(PathText(designer), {ToQString(card_file)})) return;
    Report(tr("Game Designer"),
           tr("Error Launching Corvane Game Designer") + QLatin1Char('\n') + tr("Please ensure the designer is installed."));
}

void PlayWin::GameSpeedCommand() {
    {
        PlaySpdFrm dialog(*game_, this);
        dialog.exec();
    }
    // Cancelled, the stored speed stays; the timer still takes it only as the bar could.
    if (game_->GameSpeed > 0) SetAnimationInterval(PlaySpdFrm::Clamped(game_->GameSpeed));
}

void PlayWin::ViewScoreCommand() {
    // Between moves: the sheet's OK moves the starting seat on, which a move under way must not see.
    WhenNoMoveRuns([this] {
        if (closing_ || replay_) return;
        const Game::SheetRead sheet = game_->ViewScore();
        match_->Noted(Move{MoveKind::ViewScore, 1, -1, 0, {}});
        // What the table shows next waits until the sheet has been closed.
        show_->Lasting([this, sheet](const ShowQueue::Done& done) { ShowScoreSheetThen(sheet.rows, sheet.winner, done); });
    });
}

void PlayWin::AboutCommand() {
    AboutDlg dialog(this);
    dialog.exec();
}

void PlayWin::CurrentGameCommand() {
    {
        GameInFo dialog(game_->CardSet, false, this);
        dialog.exec();
    }
    UpdateTitle();
}

void PlayWin::OpenHelp(const QString& topic) { HelpWindow::Open(game_->GetFolders().SharedData / "help", topic); }

bool PlayWin::AskGroupWithoutWaiting(std::function<void(int card_index)> chosen) {
    const std::vector<GroupChoice> choices = game_->WildGroupChoices();
    if (closing_ || choices.empty()) return false;
    auto* dialog = new WildCardFrm(choices, game_->CardSet, clip_,
                                   [this](const QString& title, const QString& text) { Report(title, text, false); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The window lets go only once a group is chosen.
    connect(dialog, &QDialog::finished, this, [dialog, chosen = std::move(chosen)] { chosen(dialog->WildGroup()); });
    dialog->Ask();
    return true;
}

void PlayWin::OpenScoreSheet(const ScoreRows& rows, int winner) {
    if (closing_) return;
    if (!score_frm_) score_frm_ = new ScoreFrm(this);
    score_frm_->ShowSheet(game_->SheetOf(rows), winner);
}


void PlayWin::ShowScoreSheetThen(const ScoreRows& rows, int winner, const std::function<void()>& done) {
    if (closing_) return done();
    if (!score_frm_) score_frm_ = new ScoreFrm(this);
    connect(score_frm_, &QDialog::finished, this, done, Qt::SingleShotConnection);
    score_frm_->AwaitOk(game_->SheetOf(rows), winner);
}

bool PlayWin::AwaitScoreSheetOk(std::function<void()> ok) {
    // The game-over window comes first; closing it asks again.
    if (closing_ || (game_over_ && game_over_->isVisible())) return false;
    if (!score_frm_) score_frm_ = new ScoreFrm(this);
    connect(score_frm_, &QDialog::finished, this, std::move(ok), Qt::SingleShotConnection);
    score_frm_->AwaitOk(game_->Sheet(), game_->Winner);
    return true;
}

void PlayWin::ShowGameOver(int winner) {
    if (closing_) return;
    if (game_over_) game_over_->deleteLater();
    game_over_ = new GameOverFrm(this);
    game_over_->Open(winner);
}

void PlayWin::ShowGameOverPicture(int player, const std::filesystem::path& picture) {
    if (closing_ || !game_over_ || player < 1 || player > 4) return;
    QString name = ToQString(game_->PlayerInfo[static_cast<std::size_t>(player)].Name).trimmed();
    if (name.isEmpty()) name = tr("Player %1").arg(player);
    game_over_->ShowPlayer(player, name, picture);
}

void PlayWin::WaitGameOverClosed() {
    if (!game_over_) return;
    // Nothing waits here: once the human closes the window (a one-shot
    // window, gone then), the score sheet asks for its OK.
    GameOverFrm* over = game_over_;
    connect(over, &QDialog::finished, this, [this, over] {
        over->hide();
        over->deleteLater();
        if (game_over_ == over) game_over_ = nullptr;
        match_->Continue();
    });
}

void PlayWin::ShowCardViewer(bool shown) {
    if (!shown) {
        if (card_view_) card_view_->hide();
        return;
    }
    if (!card_view_) {
        card_view_ = new CardViewFrm(this);
        // Closing the viewer takes the check mark away; the option stays as it is.
        card_view_->SetClosedHandler([this] {
            if (QAction* entry = MenuEntry("MM_VIEWER")) entry->setChecked(false);
        });
        card_view_->move(geometry().topRight() + QPoint(8, 0));
    }
    card_view_->show();
}

void PlayWin::DescribeCard(int grid, int x_twips) {
    if (!game_->CardViewer || !card_view_ || closing_ || replay_) return;
    if (grid < 0) {
        card_view_->ClearCard();
        return;
    }
    if (grid > 1) return;  // the opponents' cards are face down
    CardGrid* cells = hands_->Grid(grid);
    const CardStack stack = grid == 1 ? Building().ShownHand() : Building().Held();
    const int cols = cells->Cols();
    const int first = cells->LeftCol();
    const int last = cols - 1 - first;
    int col = -1;
    for (int i = 0; i <= last; ++i) {
        if (i == last) {
            col = cols - 1;
            break;
        }
        const int width = Tw(cells->ColWidth(i));
        if (x_twips > width * i && x_twips < width * (i + 1)) {
            col = first + i;
            break;
        }
    }
    if (col < 0 || col >= stack.Count()) return;
    Card card = stack[grid == 1 ? hands_->HumanSlot(col) : col];
    const bool playable = game_->CheckPlayable(card) == 1;
    card_view_->Describe(cells->Picture(cells->Row(), col), card, playable, grid == 0);
}

}  // namespace kvt
