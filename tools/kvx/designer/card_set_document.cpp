#include "tools/kvx/designer/card_set_document.h"

#include <QUndoCommand>
#include <utility>

#include "engine/card_set_switch.h"
#include "engine/working_files.h"
#include "platform/files.h"
#include "platform/qt_text.h"

namespace kvt::kvx {
namespace {

// Definitions and texts before and after one edit (a few kilobytes at most).
class DefinitionsCommand : public QUndoCommand {
public:
    DefinitionsCommand(CardSetDocument& doc, CardSetDef before, CardSetDef after, const QString& what)
        : QUndoCommand(what), doc_(doc), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { doc_.Apply(before_); }
    void redo() override { doc_.Apply(after_); }

private:
    CardSetDocument& doc_;
    CardSetDef before_;
    CardSetDef after_;
};

// One embedded file before and after an import, with the stored sound size
// (which tells "no sound" as 0 or 1).
class PartCommand : public QUndoCommand {
public:
    PartCommand(CardSetDocument& doc, CardSetDocument::Part part, std::string before, std::int32_t before_size,
                std::string after, std::int32_t after_size, const QString& what)
        : QUndoCommand(what), doc_(doc), part_(part), before_(std::move(before)), after_(std::move(after)),
          before_size_(before_size), after_size_(after_size) {}
    void undo() override { doc_.Apply(part_, before_, before_size_); }
    void redo() override { doc_.Apply(part_, after_, after_size_); }

private:
    CardSetDocument& doc_;
    CardSetDocument::Part part_;
    std::string before_;
    std::string after_;
    std::int32_t before_size_;
    std::int32_t after_size_;
};

const std::string& PartBytes(const CardSetFile& file, CardSetDocument::Part part) {
    switch (part) {
        case CardSetDocument::Part::Bitmap: return file.Bitmap;
        case CardSetDocument::Part::Sound: return file.Sound;
        case CardSetDocument::Part::Background: return file.Background;
    }
    return file.Bitmap;
}

// Four groups of 1..9, two copies each, four wild cards and a card back:
// plain cards are discard cards with a count of 0, which hand the turn on.
CardSetFile StarterCardSet() {
    CardSetFile file;
    const auto define = [&file](int d, int group, int value, int action, int copies, int row, int col) {
        Card& c = file.Def.CardDefs[d];
        c.Group = static_cast<std::int16_t>(group);
        c.Value = static_cast<std::int16_t>(value);
        c.Action = static_cast<std::int16_t>(action);
        c.Copies = static_cast<std::int16_t>(copies);
        c.PicRow = static_cast<std::int16_t>(row);
        c.PicCol = static_cast<std::int16_t>(col);
    };
    int d = 0;
    for (int group = 1; group <= 4; ++group)
        for (int value = 1; value <= 9; ++value) define(d++, group, value, kActionDiscard, 2, group - 1, value - 1);
    define(d++, 0, 20, kActionDiscard, 4, 4, 0);
    define(d, 0, 0, kActionCardBack, 0, 4, 1);
    file.Def.Header = static_cast<std::int16_t>('T' | 'C' << 8);
    file.Def.GameTitle = FitTitle("New card set");
    return file;
}

// An optional working file: missing means empty.
Status ReadOptional(const std::filesystem::path& path, std::string& out) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        out.clear();
        return Status::Ok();
    }
    return ReadWholeFile(path, out, kMaxCardSetFileBytes);
}

// The table's working files: the definition file and the pictures and sound beside it.
// Read under the folder's lock, as one whole set: a table switching sets
// holds the lock until the switch is done, and a switch that a killed table
// left decided but unfinished is finished first, as the table would. A
// folder that is not there is not made: the read says what is missing.
Status ReadWorkingFiles(const std::filesystem::path& cdf, CardSetFile& out) {
    const std::filesystem::path folder = cdf.has_parent_path() ? cdf.parent_path() : ".";
    FileLock lock;
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec))
        if (Status s = LockAndRepairWorkingFiles(folder, lock); !s) return s;
    std::string bytes;
    if (Status s = ReadWholeFile(cdf, bytes, kMaxHeadBytes); !s) return s;
    CardSetFile file;
    if (Status s = DecodeCardSetDef(bytes, file.Def); !s) return Status::Fail(cdf.string() + ": " + s.message());
    if (Status s = ValidateCardSetDef(file.Def); !s) return Status::Fail(cdf.string() + ": " + s.message());
    if (Status s = ReadOptional(folder / files::kCardBitmap, file.Bitmap); !s) return s;
    if (Status s = ReadOptional(folder / files::kOpeningSound, file.Sound); !s) return s;
    if (Status s = ReadOptional(folder / files::kBackground, file.Background); !s) return s;
    file.SoundSize = static_cast<std::int32_t>(file.Sound.size());
    file.Tag[2] = static_cast<char>(file.Def.Header & 0xFF);
    file.Tag[3] = static_cast<char>((file.Def.Header >> 8) & 0xFF);
    out = std::move(file);
    return Status::Ok();
}

bool IsWorkingDefinitionFile(const std::filesystem::path& path) {
    return path.filename() == files::kCardDefs;
}

}  // namespace

CardSetDocument::CardSetDocument(QObject* parent) : QObject(parent) {
    Replace(StarterCardSet(), {});
}

void CardSetDocument::Reset() { Replace(StarterCardSet(), {}); }

Status CardSetDocument::Open(const std::filesystem::path& path) {
    CardSetFile file;
    if (IsWorkingDefinitionFile(path)) {
        if (Status s = ReadWorkingFiles(path, file); !s) return s;
        Replace(std::move(file), {});
        return Status::Ok();
    }
    std::string bytes;
    if (Status s = ReadWholeFile(path, bytes, kMaxCardSetFileBytes); !s) return s;
    if (Status s = DecodeCardSetFile(bytes, file); !s) return Status::Fail(path.string() + ": " + s.message());
    Replace(std::move(file), path);
    return Status::Ok();
}

Status CardSetDocument::SaveAs(const std::filesystem::path& path) {
    // A card-set file there would stand in for the table's working file of that name.
    if (files::IsWorkingFileName(path.filename().string()))
        return Status::Fail("\"" + path.string() +
                            "\" is named as one of the table's working files; save the card set as a .cds file of its own.");
    if (Status s = WriteFileAtomically(path, EncodeCardSetFile(file_)); !s) return s;
    path_ = path;
    history_.setClean();
    emit Changed();
    return Status::Ok();
}

void CardSetDocument::SetDefinitions(const CardSetDef& after, const QString& what) {
    if (after == file_.Def) return;
    history_.push(new DefinitionsCommand(*this, file_.Def, after, what));
}

void CardSetDocument::SetPart(Part part, std::string bytes, const QString& what) {
    if (bytes == PartBytes(file_, part)) return;
    const auto size = static_cast<std::int32_t>(bytes.size());
    history_.push(new PartCommand(*this, part, PartBytes(file_, part), file_.SoundSize, std::move(bytes),
                                  part == Part::Sound ? size : file_.SoundSize, what));
}

void CardSetDocument::Apply(const CardSetDef& def) {
    file_.Def = def;
    emit Changed();
}

void CardSetDocument::Apply(Part part, const std::string& bytes, std::int32_t sound_size) {
    file_.SoundSize = sound_size;
    switch (part) {
        case Part::Bitmap:
            file_.Bitmap = bytes;
            bitmap_image_ = QImage::fromData(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
            break;
        case Part::Sound:
            file_.Sound = bytes;
            break;
        case Part::Background: file_.Background = bytes; break;
    }
    emit Changed();
}

void CardSetDocument::Replace(CardSetFile file, std::filesystem::path path) {
    history_.clear();
    file_ = std::move(file);
    path_ = std::move(path);
    const std::string& bitmap = file_.Bitmap;
    bitmap_image_ = QImage::fromData(QByteArray::fromRawData(bitmap.data(), static_cast<qsizetype>(bitmap.size())));
    emit Replaced();
    emit Changed();
}

std::string StoredTitle(const QString& title) { return FitTitle(FromQString(title)); }

QString ShownTitle(const std::string& stored) {
    std::string title = stored;
    while (!title.empty() && (title.back() == ' ' || title.back() == '\0')) title.pop_back();
    return ToQString(title);
}

}  // namespace kvt::kvx
