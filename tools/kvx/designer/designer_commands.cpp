// The designer's file, import and definition commands.

#include <QAudioOutput>
#include <QBuffer>
#include <QFileDialog>
#include <QImageReader>
#include <QImageWriter>
#include <QMediaPlayer>
#include <QTableView>

#include "platform/files.h"
#include "platform/paths.h"
#include "tools/kvx/designer/balance_report.h"
#include "platform/qt_text.h"
#include "tools/kvx/designer/definition_edits.h"
#include "tools/kvx/designer/designer_window.h"

namespace kvt::kvx {
namespace {

const char* const kCardSetFilter = QT_TRANSLATE_NOOP("kvt::kvx::DesignerWindow", "Card Files (*.cds);;All Files (*)");

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

bool IsWave(const std::string& bytes) {
    return bytes.size() > 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0;
}

}  // namespace

bool DesignerWindow::OpenFile(const std::filesystem::path& path) {
    if (Status s = doc_.Open(path); !s) {
        Report(tr("The card set cannot be opened.\n%1").arg(QString::fromStdString(s.message())));
        return false;
    }
    return true;
}

bool DesignerWindow::SaveFile(const std::filesystem::path& path) {
    if (Status s = doc_.SaveAs(path); !s) {
        Report(tr("The card set was not saved.\n%1").arg(QString::fromStdString(s.message())));
        return false;
    }
    return true;
}

bool DesignerWindow::ImportPart(CardSetDocument::Part part, const QString& path) {
    std::string bytes;
    if (Status s = ReadWholeFile(ToPath(path), bytes, kMaxCardSetFileBytes); !s) {
        Report(QString::fromStdString(s.message()));
        return false;
    }
    if (part == CardSetDocument::Part::Sound) {
        if (!IsWave(bytes)) {
            Report(tr("\"%1\" is not a WAV file; the opening sound is stored as a WAV file.").arg(path));
            return false;
        }
        doc_.SetPart(part, std::move(bytes), tr("Import the opening sound"));
        return true;
    }
    // Pictures are stored as BMP files; a BMP is kept byte for byte, anything else converted.
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer in(&data);
    QImageReader reader(&in);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull()) {
        Report(tr("\"%1\" cannot be read as a picture: %2").arg(path, reader.errorString()));
        return false;
    }
    if (format != "bmp") {
        QByteArray bmp;
        QBuffer out(&bmp);
        out.open(QIODevice::WriteOnly);
        if (!QImageWriter(&out, "BMP").write(image.convertToFormat(QImage::Format_RGB32))) {
            Report(tr("\"%1\" cannot be converted to a BMP picture.").arg(path));
            return false;
        }
        bytes = bmp.toStdString();
    }
    doc_.SetPart(part, std::move(bytes),
                 part == CardSetDocument::Part::Bitmap ? tr("Import the card bitmap") : tr("Import the background"));
    return true;
}

bool DesignerWindow::MayDiscardChanges() {
    if (!doc_.IsModified()) return true;
    const QString text = tr("The card set has unsaved changes. Save them?");
    const QMessageBox::StandardButton answer =
        ask_to_save ? ask_to_save(text)
                    : QMessageBox::question(this, tr("Card-Set Designer"), text,
                                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                            QMessageBox::Save);
    if (answer == QMessageBox::Save) return SaveCommand();
    return answer == QMessageBox::Discard;
}

void DesignerWindow::NewCommand() {
    if (MayDiscardChanges()) doc_.Reset();
}

void DesignerWindow::OpenCommand() {
    if (!MayDiscardChanges()) return;
    const QString start = doc_.Path().empty() ? QString() : PathText(doc_.Path().parent_path());
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Card Set"), start, tr(kCardSetFilter));
    if (!path.isEmpty()) OpenFile(ToPath(path));
}

bool DesignerWindow::SaveCommand() {
    if (doc_.Path().empty()) return SaveAsCommand();
    return SaveFile(doc_.Path());
}

bool DesignerWindow::SaveAsCommand() {
    QString path = QFileDialog::getSaveFileName(this, tr("Save Card Set"), PathText(doc_.Path()), tr(kCardSetFilter));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".cds");
    return SaveFile(ToPath(path));
}

void DesignerWindow::ImportCommand(CardSetDocument::Part part) {
    const bool sound = part == CardSetDocument::Part::Sound;
    const QString filter = sound ? tr("Wave Files (*.wav);;All Files (*)")
                                 : tr("Pictures (*.bmp *.png *.jpg *.jpeg *.gif);;All Files (*)");
    const QString path = QFileDialog::getOpenFileName(this, sound ? tr("Import Opening Sound") : tr("Import Picture"),
                                                      QString(), filter);
    if (!path.isEmpty()) ImportPart(part, path);
}

void DesignerWindow::PlaySoundCommand() {
    if (!doc_.File().HasSound()) return;
    if (!player_) {
        player_ = new QMediaPlayer(this);
        player_->setAudioOutput(new QAudioOutput(player_));
    }
    player_->stop();
    // The player reads from its own copy, so later edits cannot pull the bytes away.
    auto* buffer = new QBuffer(player_);
    buffer->setData(QByteArray::fromStdString(doc_.File().Sound));
    buffer->open(QIODevice::ReadOnly);
    player_->setSourceDevice(buffer);
    player_->play();
}

void DesignerWindow::BalanceReportCommand() {
    // The report plays the set as it stands now; later edits need a new report.
    auto* report = new BalanceReport(EncodeCardSetFile(doc_.File()), PathText(ExecutableFolder() / "kvt-sim"), this);
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->show();
}

void DesignerWindow::AddDefinition() {
    CardSetDef def = doc_.Def();
    const int at = CurrentDefinition() + 1 < kCardDefCount ? CurrentDefinition() + 1 : CurrentDefinition();
    if (!InsertDefinition(def, at, NewDefinition())) {
        Report(tr("All 81 definitions are in use; remove one first."));
        return;
    }
    doc_.SetDefinitions(def, tr("Add definition %1").arg(at));
    SelectDefinition(at);
}

void DesignerWindow::DuplicateDefinition() {
    CardSetDef def = doc_.Def();
    const int from = CurrentDefinition();
    if (from + 1 >= kCardDefCount || !InsertDefinition(def, from + 1, def.CardDefs[from])) {
        Report(tr("All 81 definitions are in use; remove one first."));
        return;
    }
    doc_.SetDefinitions(def, tr("Duplicate definition %1").arg(from));
    SelectDefinition(from + 1);
}

void DesignerWindow::RemoveDefinition() {
    CardSetDef def = doc_.Def();
    const int at = CurrentDefinition();
    if (kvx::RemoveDefinition(def, at)) doc_.SetDefinitions(def, tr("Remove definition %1").arg(at));
}

void DesignerWindow::MoveDefinition(int step) {
    CardSetDef def = doc_.Def();
    const int at = CurrentDefinition();
    if (!kvx::MoveDefinition(def, at, step)) return;
    doc_.SetDefinitions(def, tr("Move definition %1").arg(at));
    SelectDefinition(at + step);
}

}  // namespace kvt::kvx
