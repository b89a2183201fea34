#include "gui_support.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QToolButton>
#include <QDataStream>
#include <fstream>

#include "dialogs/game_over_frm.h"
#include "dialogs/score_frm.h"
#include "dialogs/wild_card_frm.h"
#include "platform/settings_keys.h"
#include "shell/table_match.h"

namespace kvt::gui_test {

TableSetup::TableSetup() {
    folders.SettingsFile = Root() / "config" / "kvt" / "kvt.ini";
    folders.AppDir = Root() / "data" / "kvt";
    folders.SharedData = KVT_TEST_DATA_DIR;
}

TableSetup::~TableSetup() {
    Close();
    QApplication::processEvents();
}

void TableSetup::Close() {
    if (win) win->close();
    win.reset();
}

fs::path TableSetup::Root() const { return fs::path(QFile::encodeName(temp_.path()).toStdString()); }

PlayWin::Options TableSetup::Options(int seed) const {
    PlayWin::Options options;
    options.folders = folders;
    options.seed = seed;
    options.player_name = QStringLiteral("Tester");
    return options;
}

PlayWin& TableSetup::Create(PlayWin::Options options) {
    win = std::make_unique<PlayWin>(std::move(options));
    win->SetMessageSink([this](const QString& title, const QString& text) { messages.emplace_back(title, text); });
    return *win;
}

PlayWin& TableSetup::Open(bool show) { return Open(Options(), show); }

PlayWin& TableSetup::Open(PlayWin::Options options, bool show) {
    Create(std::move(options));
    win->Start();
    if (show) {
        win->show();
        QApplication::processEvents();
    }
    return *win;
}

PlayWin& TableSetup::OpenFast(PlayWin::Options options) {
    Open(std::move(options));
    win->SetAnimationInterval(1);
    win->Flights().SetDrawStepPause(0);
    return *win;
}

std::string TableSetup::RawSetting(const std::string& key) const {
    std::ifstream in(folders.SettingsFile);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "(missing)";
}

void TableSetup::WriteSetting(const std::string& key, const std::string& value) const {
    Profile ini(folders.SettingsFile);
    (void)ini.WriteString(settings::kMisc, key, value);
}

CardStack HandFromSet(const Game& game, int n) {
    CardStack stack;
    for (std::size_t d = 0; stack.Count() < n; ++d)
        if (const Card& def = game.CardSet.CardDefs[d % kCardDefCount]; IsDealt(def)) stack.Push(def);
    return stack;
}

Card PickWithChosen(PlayWin& win, int action, int count, int left, int chosen) {
    Game& game = win.GameState();
    Card picked = HandFromSet(game, 1)[0];
    std::tie(picked.Action, picked.ActionCount) = std::tuple<std::int16_t, std::int16_t>(action, count);
    if (win.Building().Picking()) win.Building().PutBack();
    game.Players[1] = HandFromSet(game, left);
    game.Players[1].InsertAt(0, picked);
    game.DiscardPile.Clear();
    game.DiscardPile.Push(picked);  // the same group: it fits
    game.CurPlayer = 1;
    game.ChoosingCards = false;
    EXPECT_EQ(win.Building().ClickHandCard(0), HumanMove::Picked);
    for (int i = 0; i < chosen; ++i) EXPECT_EQ(win.Building().ClickHandCard(0), HumanMove::Chosen) << i;
    return picked;
}

int NoChoiceColumn(Game& game, bool group_card) {
    const CardStack& hand = game.Players[1];
    for (int c = 0; c < hand.Count(); ++c)
        if (Card card = hand[c];
            game.CheckPlayable(card) == 1 && Game::NeedsNoChoice(card) == 1 && (!group_card || card.Group > 0))
            return c;
    return -1;
}

namespace {

// A point inside cell (row, col) of a grid; a cell out of view is scrolled
// into view first, as the player would with the scroll bar.
QPoint CellPoint(CardGrid* grid, int col, int row = 0) {
    if (grid->CellRect(row, col).intersected(grid->Viewport()).isEmpty()) {
        grid->SetLeftCol(col);
        grid->SetTopRow(row);
    }
    return grid->CellRect(row, col).intersected(grid->Viewport()).center();
}

}  // namespace

void ClickHand(PlayWin& win, int player, int col) {
    QTest::mouseClick(win.Hands().Grid(player), Qt::LeftButton, {}, CellPoint(win.Hands().Grid(player), col));
    Settle(win);
}

int ShownColumn(PlayWin& win, int slot) {
    for (int column = 0; column < win.Building().ShownHand().Count(); ++column)
        if (win.Hands().HumanSlot(column) == slot) return column;
    return slot;
}

testing::AssertionResult RecordReplaysToTheTable(PlayWin& win, std::size_t* moves) {
    const Game& game = win.GameState();
    QTemporaryDir folder;
    const fs::path file = QFile::encodeName(folder.filePath("game.kvtgame")).toStdString();
    if (const Status written = win.WriteGameRecord(file); !written) return testing::AssertionFailure() << written.message();
    RecordSources sources;
    sources.shared = game.GetFolders().SharedData;
    if (const auto cards = win.CardSetFileInForce()) sources.card_sets.push_back(cards->file);
    for (int seat = 2; seat <= 4; ++seat) sources.players.emplace_back(game.PlayerFile[seat]);
    std::unique_ptr<RecordTable> opened;
    if (const Status read = RecordTable::Open(file, game.CardSet, sources, opened); !read)
        return testing::AssertionFailure() << read.message();
    TableState replayed;
    if (const Status s = opened->TableAt(opened->Moves(), replayed); !s) return testing::AssertionFailure() << s.message();
    if (moves) *moves = opened->Moves();
    if (!(replayed == game.State()))
        return testing::AssertionFailure() << "after " << opened->Moves() << " moves the record's table differs";
    return testing::AssertionSuccess();
}

void ClickDiscard(PlayWin& win) {
    QTest::mouseClick(win.Hands().AcceptDiscardBut(), Qt::LeftButton);
    Settle(win);
}

void PlayAMove(PlayWin& win, bool group_card) {
    ASSERT_TRUE(WaitForHuman(win));
    const int column = NoChoiceColumn(win.GameState(), group_card);
    ASSERT_GE(column, 0) << "the fixed seed deals a card that needs no choice";
    ClickHand(win, 1, ShownColumn(win, column));
    ClickDiscard(win);
    ASSERT_TRUE(WaitForHuman(win));
}

void ResizeTable(PlayWin& win, QSize size) {
    win.resize(win.size() + size - win.Table()->size());
    QApplication::processEvents();
    EXPECT_EQ(win.Table()->size(), size);
}

bool WaitForHuman(PlayWin& win, int ms) {
    return RunUntil(
        [&win] {
            if (win.IsClosing()) return true;
            const Game& game = win.GameState();
            const Decision asked = game.Pending();
            return !win.MoveRunning() && !game.MoveInProgress() && !win.Match().ComputerOnTurn() &&
                   (asked == Decision::PlayOrDraw || asked == Decision::TakeFromHand);
        },
        ms);
}

bool Settle(PlayWin& win) {
    return RunUntil([&win] { return win.IsClosing() || !win.MoveRunning(); });
}

bool RunUntil(const std::function<bool()>& reached, int ms) {
    // Each event is looked at as it comes, with no pause between looks: a
    // soak plays thousands of computer moves.
    const QDeadlineTimer deadline(ms);
    QTimer wake;
    wake.start(50);
    while (!reached()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

DialogAnswerer::DialogAnswerer(int wild_group) : group(wild_group) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start(2);
}

void DialogAnswerer::Answer() {
    if (auto* wild = qobject_cast<WildCardFrm*>(QApplication::activeModalWidget())) {
        int chosen = group > 0 && group < WildCardFrm::kButtons && !wild->GroupButton(group)->isHidden() ? group : 0;
        for (int g = 1; g < WildCardFrm::kButtons && chosen == 0; ++g)
            if (!wild->GroupButton(g)->isHidden()) chosen = g;
        ++wild_choices;
        wild_choices_by_keys += by_keys;
        if (by_keys) {
            QTest::keyClick(wild, static_cast<Qt::Key>(Qt::Key_0 + chosen % 10));
            QTest::keyClick(wild, Qt::Key_Return);
        } else {
            QTest::mouseClick(wild->GroupButton(chosen), Qt::LeftButton);
            QTest::mouseClick(wild->OkBut(), Qt::LeftButton);
        }
        return;
    }
    if (auto* sheet = qobject_cast<ScoreFrm*>(QApplication::activeModalWidget())) {
        ++score_sheets;
        score_sheets_by_keys += by_keys;
        if (on_score_sheet) on_score_sheet();
        by_keys ? QTest::keyClick(sheet, Qt::Key_Return) : QTest::mouseClick(sheet->OkBut(), Qt::LeftButton);
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* over = qobject_cast<GameOverFrm*>(window);
        if (!over || !over->isVisible()) continue;
        ++game_overs;
        by_keys ? QTest::keyClick(over, Qt::Key_Return) : QTest::mouseClick(over->ExitBut(), Qt::LeftButton);
        return;
    }
}

FlightWatcher::FlightWatcher(PlayWin& win) : box_(win.Flights().Box(0)) { box_->installEventFilter(this); }

FlightWatcher::~FlightWatcher() {
    if (box_) box_->removeEventFilter(this);
}

bool FlightWatcher::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Show) {
        ++flights;
        if (on_flight) on_flight();
    }
    return false;
}

std::vector<fs::path> SpeakComment(PlayWin& win, const fs::path& folder, const fs::path& clip) {
    Game& game = win.GameState();
    fs::create_directories(folder);
    std::vector<fs::path> variants;
    for (int v = 1; v <= 3; ++v) {
        variants.push_back(folder / ("Comment" + std::to_string(v) + ".wav"));
        fs::remove(variants.back());
        if (fs::exists(clip)) fs::copy_file(clip, variants.back());
    }
    game.PlayerSounds = game.PlayerSoundsHeard = true;
    game.PlayerInfo[2].SoundChance = 100;
    game.PlayerDir[2] = folder;
    int speaker = 2;
    EXPECT_TRUE(game.PlayPlayerSound(2, false, speaker));
    return variants;
}

fs::path WriteWave(const fs::path& path, int milliseconds) {
    const quint32 rate = 8000, data = rate * 2 * static_cast<quint32>(milliseconds) / 1000;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + data);
    out.writeRawData("WAVEfmt ", 8);
    // PCM, mono, samples and bytes per second, block, bits
    out << quint32(16) << quint16(1) << quint16(1) << rate << rate * 2 << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << data;
    bytes.append(static_cast<qsizetype>(data), '\0');
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
    return path;
}

}  // namespace kvt::gui_test
