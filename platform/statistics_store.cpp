#include "platform/statistics_store.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <functional>
#include <optional>
#include <system_error>

#include "platform/files.h"

namespace kvt {
namespace {

enum GameState { kOpen = 0, kFinished = 1, kAbandoned = 2 };

constexpr const char* kSchema[] = {
    "CREATE TABLE games(id INTEGER PRIMARY KEY, card_set_title TEXT NOT NULL, card_set_hash INTEGER NOT NULL,"
    " state INTEGER NOT NULL, winner INTEGER NOT NULL DEFAULT 0, rounds INTEGER NOT NULL DEFAULT 0,"
    " undo_used INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE seats(game_id INTEGER NOT NULL, seat INTEGER NOT NULL, name TEXT NOT NULL,"
    " player_hash INTEGER NOT NULL, total INTEGER NOT NULL, PRIMARY KEY(game_id, seat))",
    "CREATE TABLE rounds(game_id INTEGER NOT NULL, number INTEGER NOT NULL, seat INTEGER NOT NULL,"
    " points INTEGER NOT NULL, total INTEGER NOT NULL, PRIMARY KEY(game_id, number, seat))",
};

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Text(const QVariant& v) { return v.toString().toStdString(); }
qint64 Stored(std::uint64_t hash) { return static_cast<qint64>(hash); }

QSqlDatabase Connection(const std::string& name) { return QSqlDatabase::database(Text(name), false); }

// Runs one statement with positional values; the query is left on its result.
bool Run(QSqlQuery& q, const QString& sql, const QVariantList& values = {}) {
    if (!q.prepare(sql)) return false;
    for (const QVariant& v : values) q.addBindValue(v);
    return q.exec();
}

// SQLite's own words ("file is not a database"), without the driver's.
std::string Why(const QSqlError& error) {
    return (error.databaseText().isEmpty() ? error.text() : error.databaseText()).toStdString();
}

Status Failed(const QSqlQuery& q) { return Status::Fail(Why(q.lastError())); }

// SQLite's busy and locked codes, extended ones included: the file is in use, not bad.
bool InUse(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6;
}

// One transaction: committed when the work succeeds, rolled back otherwise.
Status InTransaction(const std::string& connection, const std::function<Status(QSqlQuery&)>& work) {
    QSqlDatabase db = Connection(connection);
    if (!db.transaction()) return Status::Fail(Why(db.lastError()));
    QSqlQuery q(db);
    Status done = work(q);
    if (done && !db.commit()) done = Status::Fail(Why(db.lastError()));
    if (!done) db.rollback();
    return done;
}

std::string Label(const QString& name) { return name.trimmed().isEmpty() ? std::string("?") : name.toStdString(); }

std::vector<Figures> ReadFigures(const std::string& connection, const QString& label_sql, const QString& where,
                                 const QString& group) {
    std::vector<Figures> rows;
    QSqlQuery q(Connection(connection));
    const QString sql = QStringLiteral(
                            "SELECT %1, SUM(g.undo_used = 0), SUM(g.undo_used = 0 AND g.winner = s.seat),"
                            " SUM(CASE WHEN g.undo_used = 0 THEN g.rounds ELSE 0 END),"
                            " AVG(CASE WHEN g.undo_used = 0 THEN s.total END), MIN(CASE WHEN g.undo_used = 0 THEN s.total END),"
                            " SUM(g.undo_used <> 0)"
                            " FROM games g JOIN seats s ON s.game_id = g.id WHERE g.state = 1 AND %2 GROUP BY %3 ORDER BY 1")
                            .arg(label_sql, where, group);
    if (!Run(q, sql)) return rows;
    while (q.next())
        rows.push_back({Label(q.value(0).toString()), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                        q.value(4).toDouble(), q.value(5).toInt(), q.value(6).toInt()});
    return rows;
}

using Totals = std::array<int, 4>;

struct LastGame {
    qint64 id = 0;
    bool finished = false;
    int rounds = 0;
    GameIdentity identity;
    Totals totals{};       // after its last round
    Totals last_points{};  // of its last round
};

// The last game recorded, unless it was abandoned.
std::optional<LastGame> FindLastGame(QSqlQuery& q) {
    if (!Run(q, QStringLiteral("SELECT id, rounds, card_set_title, card_set_hash, state FROM games ORDER BY id DESC LIMIT 1")) ||
        !q.next())
        return std::nullopt;
    if (q.value(4).toInt() == kAbandoned) return std::nullopt;
    LastGame game;
    game.finished = q.value(4).toInt() == kFinished;
    game.id = q.value(0).toLongLong();
    game.rounds = q.value(1).toInt();
    game.identity.card_set_title = Text(q.value(2));
    game.identity.card_set_hash = static_cast<std::uint64_t>(q.value(3).toLongLong());
    if (!Run(q, QStringLiteral("SELECT s.seat, s.name, s.player_hash, s.total, r.points FROM seats s LEFT JOIN rounds r"
                               " ON r.game_id = s.game_id AND r.seat = s.seat AND r.number = ? WHERE s.game_id = ?"),
             {game.rounds, game.id}))
        return std::nullopt;
    while (q.next()) {
        const int seat = q.value(0).toInt();
        if (seat < 1 || seat > 4) continue;
        const auto i = static_cast<std::size_t>(seat - 1);
        game.identity.names[i] = Text(q.value(1));
        game.identity.player_hashes[i] = static_cast<std::uint64_t>(q.value(2).toLongLong());
        game.totals[i] = q.value(3).toInt();
        game.last_points[i] = q.value(4).toInt();
    }
    return game;
}

bool WriteRound(QSqlQuery& q, qint64 game, int number, const ScoredRound& round) {
    for (int seat = 1; seat <= 4; ++seat) {
        const auto i = static_cast<std::size_t>(seat - 1);
        if (!Run(q, QStringLiteral("INSERT OR REPLACE INTO rounds VALUES (?, ?, ?, ?, ?)"),
                 {game, number, seat, round.points[i], round.totals[i]}) ||
            !Run(q, QStringLiteral("UPDATE seats SET total = ? WHERE game_id = ? AND seat = ?"), {round.totals[i], game, seat}))
            return false;
    }
    return Run(q, QStringLiteral("UPDATE games SET rounds = ? WHERE id = ?"), {number, game});
}

qint64 StartGame(QSqlQuery& q, const GameIdentity& who) {
    if (!Run(q, QStringLiteral("INSERT INTO games(card_set_title, card_set_hash, state) VALUES (?, ?, 0)"),
             {Text(who.card_set_title), Stored(who.card_set_hash)}))
        return 0;
    const qint64 id = q.lastInsertId().toLongLong();
    for (int seat = 1; seat <= 4; ++seat) {
        const auto i = static_cast<std::size_t>(seat - 1);
        if (!Run(q, QStringLiteral("INSERT INTO seats VALUES (?, ?, ?, ?, 0)"),
                 {id, seat, Text(who.names[i]), Stored(who.player_hashes[i])}))
            return 0;
    }
    return id;
}

// The round joins the last game when it follows its last round, replaces
// that round when it was counted again from the same totals (the table
// brought back from before it), and is known already when it leaves the
// totals as they are. Anything else starts a game of its own, and an open
// game is left as not finished.
Status AppendRound(QSqlQuery& q, const ScoredRound& round) {
    Totals before{};
    for (std::size_t i = 0; i < 4; ++i) before[i] = round.totals[i] - round.points[i];
    std::optional<LastGame> last = FindLastGame(q);
    qint64 game = 0;
    if (last && last->identity == round.identity) {
        Totals before_last{};
        for (std::size_t i = 0; i < 4; ++i) before_last[i] = last->totals[i] - last->last_points[i];
        int number = 0;  // none: known already
        if (before == last->totals && !last->finished)
            number = last->rounds + 1;
        else if (before == before_last && last->rounds > 0)
            number = last->rounds;
        if (round.totals == last->totals || number > 0) game = last->id;
        if (round.totals != last->totals && number > 0 && !WriteRound(q, game, number, round)) return Failed(q);
    }
    if (game == 0) {
        if (!Run(q, QStringLiteral("UPDATE games SET state = 2 WHERE state = 0"))) return Failed(q);
        game = StartGame(q, round.identity);
        if (game == 0 || !WriteRound(q, game, 1, round)) return Failed(q);
    }
    if (!Run(q, QStringLiteral("UPDATE games SET undo_used = MAX(undo_used, ?), state = ?, winner = ? WHERE id = ?"),
             {round.undo_used ? 1 : 0, round.winner > 0 ? kFinished : kOpen, round.winner, game}))
        return Failed(q);
    return Status::Ok();
}

std::atomic<int> connections{0};

}  // namespace

StatisticsStore::StatisticsStore(std::filesystem::path file)
    : file_(std::move(file)), connection_("kvt-statistics-" + std::to_string(++connections)) {}

StatisticsStore::~StatisticsStore() { Close(); }

void StatisticsStore::Close() {
    usable_ = false;
    if (!QSqlDatabase::contains(Text(connection_))) return;
    Connection(connection_).close();
    QSqlDatabase::removeDatabase(Text(connection_));
}

Status StatisticsStore::CreateSchema() {
    return InTransaction(connection_, [](QSqlQuery& q) {
        for (const char* table : kSchema)
            if (!Run(q, QString::fromLatin1(table))) return Failed(q);
        if (!Run(q, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion))) return Failed(q);
        return Status::Ok();
    });
}

// Whether the file is a sound statistics database of a version this program
// reads; an empty file becomes one.
Status StatisticsStore::Check() {
    in_use_ = false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Text(connection_));
    db.setDatabaseName(QFile::decodeName(file_.c_str()));
    // A round waits at most this long for another program's write.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open()) return Status::Fail(Why(db.lastError()));
    QSqlQuery q(db);
    const auto failed = [this, &q] {
        in_use_ = InUse(q.lastError());
        return Failed(q);
    };
    if (!Run(q, QStringLiteral("PRAGMA quick_check")) || !q.next()) return failed();
    if (q.value(0).toString() != QLatin1String("ok")) return Status::Fail("it is damaged (" + Text(q.value(0)) + ")");
    if (!Run(q, QStringLiteral("PRAGMA user_version")) || !q.next()) return failed();
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion)
        return Status::Fail("it was written by a later version of this program (schema " + std::to_string(version) + ")");
    if (!Run(q, QStringLiteral("SELECT count(*), SUM(name IN ('games', 'seats', 'rounds')) FROM sqlite_master WHERE type = 'table'")) ||
        !q.next())
        return failed();
    const int tables = q.value(0).toInt();
    const int ours = q.value(1).toInt();
    if (version == 0 && tables == 0) {
        if (Status created = CreateSchema(); !created) return created;
    } else if (version != kSchemaVersion || ours != 3) {
        return Status::Fail("it holds no statistics of this program");
    }
    // Readers never wait for a writer, nor it for them. Where the folder
    // cannot be written the journal stays as it is.
    (void)Run(q, QStringLiteral("PRAGMA journal_mode = WAL"));
    return Status::Ok();
}

StatisticsStore::Opened StatisticsStore::Open(std::string& why) {
    Close();
    std::error_code ec;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(file_, ec));
    if (!existed) {
        if (Status folder = EnsureFolder(file_.parent_path()); !folder) {
            why = folder.message();
            return Opened::kUnusable;
        }
    }
    Status checked = Check();
    if (checked) {
        usable_ = true;
        return Opened::kReady;
    }
    why = checked.message();
    Close();
    // A file another program holds is left alone; this run goes without.
    if (!existed || in_use_) return Opened::kUnusable;
    // The bad file and its journal go aside together, so that the fresh
    // database never takes the old journal for its own.
    for (const char* journal : {"", "-journal", "-wal", "-shm"}) {
        std::filesystem::path from = file_, to = file_;
        from += journal;
        to += std::string(".set-aside") + journal;
        if (!std::filesystem::exists(std::filesystem::symlink_status(from, ec))) continue;
        std::filesystem::rename(from, to, ec);
        if (ec) {
            why += "; it cannot be set aside: " + ec.message();
            return Opened::kUnusable;
        }
    }
    if (Status fresh = Check(); !fresh) {
        why += "; a new one cannot be started: " + fresh.message();
        Close();
        return Opened::kUnusable;
    }
    usable_ = true;
    return Opened::kSetAside;
}

Status StatisticsStore::RecordRound(const ScoredRound& round) {
    if (!usable_) return Status::Fail("the statistics cannot be written");
    return InTransaction(connection_, [&round](QSqlQuery& q) { return AppendRound(q, round); });
}

Status StatisticsStore::AbandonGame() {
    if (!usable_) return Status::Fail("the statistics cannot be written");
    return InTransaction(connection_, [](QSqlQuery& q) {
        return Run(q, QStringLiteral("UPDATE games SET state = 2 WHERE state = 0")) ? Status::Ok() : Failed(q);
    });
}

Status StatisticsStore::Reset() {
    if (!usable_) return Status::Fail("the statistics cannot be written");
    return InTransaction(connection_, [](QSqlQuery& q) {
        for (const char* table : {"rounds", "seats", "games"})
            if (!Run(q, QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)))) return Failed(q);
        return Status::Ok();
    });
}

std::vector<Figures> StatisticsStore::PerOpponent() const {
    if (!usable_) return {};
    return ReadFigures(connection_, QStringLiteral("s.name"), QStringLiteral("s.seat > 1"),
                       QStringLiteral("s.name, s.player_hash"));
}

std::vector<Figures> StatisticsStore::PerCardSet() const {
    if (!usable_) return {};
    return ReadFigures(connection_, QStringLiteral("g.card_set_title"), QStringLiteral("s.seat = 1"),
                       QStringLiteral("g.card_set_title, g.card_set_hash"));
}

std::vector<Figures> StatisticsStore::PerSeat() const {
    if (!usable_) return {};
    return ReadFigures(connection_, QStringLiteral("s.seat"), QStringLiteral("1"), QStringLiteral("s.seat"));
}

std::vector<HeadToHead> StatisticsStore::HeadToHeads() const {
    std::vector<HeadToHead> rows;
    if (!usable_) return rows;
    QSqlQuery q(Connection(connection_));
    if (!Run(q, QStringLiteral("SELECT o.name, SUM(g.undo_used = 0), SUM(g.undo_used = 0 AND h.total < o.total),"
                               " SUM(g.undo_used = 0 AND o.total < h.total), SUM(g.undo_used <> 0)"
                               " FROM games g JOIN seats h ON h.game_id = g.id AND h.seat = 1"
                               " JOIN seats o ON o.game_id = g.id AND o.seat > 1"
                               " WHERE g.state = 1 GROUP BY o.name, o.player_hash ORDER BY 1")))
        return rows;
    while (q.next())
        rows.push_back({Label(q.value(0).toString()), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                        q.value(4).toInt()});
    return rows;
}

std::vector<GameTotal> StatisticsStore::LastTotals(int count) const {
    std::vector<GameTotal> totals;
    if (!usable_) return totals;
    QSqlQuery q(Connection(connection_));
    if (!Run(q, QStringLiteral("SELECT s.total, g.undo_used FROM games g JOIN seats s ON s.game_id = g.id AND s.seat = 1"
                               " WHERE g.state = 1 ORDER BY g.id DESC LIMIT ?"),
             {count}))
        return totals;
    while (q.next()) totals.insert(totals.begin(), {q.value(0).toInt(), q.value(1).toInt() != 0});
    return totals;
}

int StatisticsStore::FinishedGames() const {
    if (!usable_) return 0;
    QSqlQuery q(Connection(connection_));
    return Run(q, QStringLiteral("SELECT count(*) FROM games WHERE state = 1")) && q.next() ? q.value(0).toInt() : 0;
}

}  // namespace kvt
