#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <filesystem>
#include <string>

#include "engine/card_set_codec.h"
#include "core/status.h"

namespace kvt::kvx {

// The card set being designed: the file's contents, where it was loaded from,
// and the undo history of every edit. Every change goes through an undo
// command, so the history's clean mark is the "saved" state.
class CardSetDocument : public QObject {
    Q_OBJECT

public:
    enum class Part { Bitmap, Sound, Background };

    explicit CardSetDocument(QObject* parent = nullptr);

    const CardSetFile& File() const { return file_; }
    const CardSetDef& Def() const { return file_.Def; }
    // The card bitmap as a picture; null when there is none or it cannot be read.
    const QImage& BitmapImage() const { return bitmap_image_; }
    // Empty for a card set never saved (new, or taken from the table's working files).
    const std::filesystem::path& Path() const { return path_; }
    QUndoStack& History() { return history_; }
    bool IsModified() const { return !history_.isClean(); }

    // A fresh card set: a playable deck of four groups and a card back, no pictures.
    void Reset();
    // Opens a card-set file, or the table's working definition file together
    // with the working files beside it (then the set is untitled, so the
    // table's files are never saved over). On failure nothing changes.
    Status Open(const std::filesystem::path& path);
    // Writes the set atomically; on success it becomes the set's path and the
    // history is marked clean. On failure the file on disk is as it was.
    Status SaveAs(const std::filesystem::path& path);

    // Edits, each one undoable step described by `what`.
    void SetDefinitions(const CardSetDef& after, const QString& what);
    void SetPart(Part part, std::string bytes, const QString& what);

    // Used by the undo commands: replaces state without recording history.
    void Apply(const CardSetDef& def);
    void Apply(Part part, const std::string& bytes, std::int32_t sound_size);

signals:
    // The definitions, texts or embedded files changed.
    void Changed();
    // A different card set was opened or started.
    void Replaced();

private:
    void Replace(CardSetFile file, std::filesystem::path path);

    CardSetFile file_;
    QImage bitmap_image_;
    std::filesystem::path path_;
    QUndoStack history_;
};

// A blank-padded title cut to its stored length, and back without the padding.
std::string StoredTitle(const QString& title);
QString ShownTitle(const std::string& stored);

}  // namespace kvt::kvx
