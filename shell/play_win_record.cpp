// File > Save Game Record: the record of the game in progress, with what it
// was played with, so that Open Game Record (or kvt-sim --replay) plays it again.
#include <QFileDialog>
#include <QStatusBar>

#include "engine/game.h"
#include "platform/files.h"
#include "platform/qt_text.h"
#include "shell/play_win.h"
#include "shell/record_table.h"
#include "platform/settings_keys.h"
#include "shell/table_match.h"
#include "shell/table_resume.h"

namespace kvt {
namespace {

constexpr std::size_t kMaxIdentityBytes = 256u << 20;

Status FileHash(const std::filesystem::path& path, std::uint64_t& hash) {
    std::string bytes;
    if (Status s = ReadWholeFile(path, bytes, kMaxIdentityBytes); !s) return s;
    hash = Fnv1a64(bytes);
    return Status::Ok();
}

std::string Quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

std::optional<CardSetFound> PlayWin::CardSetFileInForce() const {
    std::vector<std::filesystem::path> candidates;
    if (!card_set_source_.empty()) candidates.push_back(card_set_source_);
    const std::filesystem::path remembered = game_->Settings().ReadString(settings::kMisc, settings::kCardFile, "");
    if (remembered.extension() == ".cds") candidates.push_back(remembered);
    return FindCardSetFile(candidates, game_->GetFolders().SharedData, game_->CardSet);
}

Status PlayWin::WriteGameRecord(const std::filesystem::path& target) {
    std::optional<GameRecord> record = match_->RecordSoFar();
    if (!record) return Status::Fail("there is no game on the table to record");
    // Found by its cards, and hashed on the way: the file is read once.
    const std::optional<CardSetFound> cards = CardSetFileInForce();
    if (!cards)
        return Status::Fail("no card set file holds the cards in force (Load Card Set names the file they come from)");
    record->card_set_hash = cards->hash;
    record->card_set_title = Trimmed(game_->CardSet.GameTitle);
    for (int seat = 1; seat <= 4; ++seat) {
        RecordedPlayer& player = record->players[static_cast<std::size_t>(seat - 1)];
        player.name = game_->PlayerInfo[seat].Name;
        const std::string& file = game_->PlayerFile[seat];
        if (seat == 1 || file.empty()) continue;
        if (Status s = FileHash(file, player.file_hash); !s)
            return Status::Fail("the player file " + Quoted(file) + " cannot be read: " + s.message());
    }
    return WriteFileAtomically(target, kvt::WriteGameRecord(*record));
}

std::filesystem::path PlayWin::RecordInProgressFile() const { return resume_->File().string() + ".kvtgame"; }

void PlayWin::KeepRecordInProgress() {
    std::optional<GameRecord> record = match_->RecordSoFar();
    if (!record) return;
    record->end_table = WriteTableState(game_->State());
    // Like the table itself, the record is a convenience: the game goes on without it.
    (void)WriteFileAtomically(RecordInProgressFile(), kvt::WriteGameRecord(*record));
}

void PlayWin::TakeUpRecordInProgress() {
    std::string text;
    GameRecord record;
    if (!ReadWholeFile(RecordInProgressFile(), text, kMaxGameRecordBytes) || !ReadGameRecord(text, record)) return;
    // Only the record of this very table: one a move ahead or behind starts afresh from the table.
    if (record.human_seat != 1 || record.end_table != WriteTableState(game_->State())) return;
    match_->TakeUpRecord(std::move(record));
}

void PlayWin::SaveGameRecordCommand(std::optional<std::filesystem::path> file) {
    WhenNoMoveRuns([this, file] {
        if (!match_->RecordSoFar() || awaiting_players_) {
            Report(tr("Save Game Record"), tr("There is no game on the table to record."), false);
            return;
        }
        std::optional<std::filesystem::path> target = file;
        if (!target) {
            QFileDialog dialog(this, tr("Save Game Record"), QDir::homePath(), tr("KVT Game Records (*.kvtgame)"));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(QStringLiteral("kvtgame"));
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
            target = std::filesystem::path(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
        }
        if (const Status written = WriteGameRecord(*target); !written)
            Report(tr("Save Game Record"), tr("The game record \"%1\" cannot be written: %2")
                                               .arg(PathText(*target), ToQString(written.message())));
        else
            statusBar()->showMessage(tr("The game record was written to \"%1\".").arg(PathText(*target)), 6000);
    });
}

}  // namespace kvt
