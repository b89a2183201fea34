#include "tools/kvx/designer/play_test.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/qt_text.h"
#include "platform/settings_keys.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

std::string SeatKey(int seat) { return "Player" + std::to_string(seat); }

fs::path ToPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

}  // namespace

std::array<fs::path, 3> PlayTestOpponents(const Folders& user) {
    std::array<fs::path, 3> chosen;
    const Profile settings(user.SettingsFile);
    bool all = true;
    for (int seat = 2; seat <= 4; ++seat) {
        chosen[seat - 2] = settings.ReadString(settings::kPlayersFile, SeatKey(seat), "");
        std::error_code ec;
        all = all && !chosen[seat - 2].empty() && fs::is_regular_file(chosen[seat - 2], ec);
    }
    if (all) return chosen;
    const std::vector<fs::path> shipped = ShippedPlayerFiles(user.SharedData);
    for (std::size_t i = 0; i < chosen.size(); ++i) chosen[i] = i < shipped.size() ? shipped[i] : fs::path();
    return chosen;
}

std::vector<fs::path> ShippedPlayerFiles(const fs::path& shared) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(shared / "players", ec))
        if (entry.path().extension() == ".dpf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

PlayTest::PlayTest(QString table, Folders user, QObject* parent)
    : QObject(parent), table_(std::move(table)), user_(std::move(user)) {}

PlayTest::~PlayTest() {
    if (!process_) return;
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(-1);
}

Status PlayTest::PrepareFolder(const std::string& card_set, QString& card_set_path) {
    folder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kvx-play-test-XXXXXX"));
    if (!folder_->isValid())
        return Status::Fail("Cannot make a temporary folder: " + FromQString(folder_->errorString()));
    const fs::path root = ToPath(folder_->path());
    for (const char* sub : {"config/kvt", "data/kvt"})
        if (Status s = EnsureFolder(root / sub); !s) return s;
    card_set_path = folder_->filePath(QStringLiteral("Play-Test.cds"));
    if (Status s = WriteFileAtomically(ToPath(card_set_path), card_set); !s) return s;
    Profile settings(root / "config" / "kvt" / "kvt.ini");
    const std::array<fs::path, 3> opponents = PlayTestOpponents(user_);
    for (int seat = 2; seat <= 4; ++seat)
        if (Status s = settings.WriteString(settings::kPlayersFile, SeatKey(seat), opponents[seat - 2].string()); !s)
            return s;
    return Status::Ok();
}

Status PlayTest::Start(const std::string& card_set) {
    if (IsRunning()) return Status::Fail("The table is already running.");
    QString card_set_path;
    if (Status s = PrepareFolder(card_set, card_set_path); !s) {
        folder_.reset();
        return s;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder_->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder_->filePath(QStringLiteral("data")));
    process_ = new QProcess(this);
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    connect(process_, &QProcess::finished, this, &PlayTest::ProcessEnded);
    // Queued: a program that is not there fails inside start(), before the caller could listen.
    connect(
        process_, &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) ProcessEnded();
        },
        Qt::QueuedConnection);
    process_->start(table_, {card_set_path});
    return Status::Ok();
}

void PlayTest::ProcessEnded() {
    if (!process_) return;
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    QString problem;
    if (process->error() == QProcess::FailedToStart) {
        problem = tr("The table \"%1\" cannot be started: %2").arg(table_, process->errorString());
    } else if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process->readAllStandardError()).trimmed().right(600);
        problem = process->exitStatus() != QProcess::NormalExit
                      ? tr("The table ended abnormally.")
                      : tr("The table ended with exit status %1.").arg(process->exitCode());
        if (!said.isEmpty()) problem += QLatin1Char('\n') + said;
    }
    process->deleteLater();
    folder_.reset();
    emit Ended(problem);
}

}  // namespace kvt::kvx
