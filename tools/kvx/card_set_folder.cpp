#include "platform/files.h"
#include "tools/kvx/card_manifest.h"
#include "tools/kvx/embedded_file_name.h"

namespace kvt::kvx {
namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

CardManifest ManifestForCardSet(const CardSetFile& file) {
    CardManifest manifest;
    manifest.Tag = file.Tag;
    manifest.Def = file.Def;
    manifest.BitmapFile = kUnpackedBitmapName;
    if (file.HasSound()) manifest.SoundFile = kUnpackedSoundName;
    else manifest.SoundSizeWithoutSound = file.SoundSize;
    if (!file.Background.empty()) manifest.BackgroundFile = kUnpackedBackgroundName;
    return manifest;
}

Status UnpackCardSet(const CardSetFile& file, const fs::path& folder) {
    if (Status s = EnsureFolder(folder); !s) return s;
    if (Status s = WriteFileAtomically(folder / kUnpackedBitmapName, file.Bitmap); !s) return s;
    if (file.HasSound())
        if (Status s = WriteFileAtomically(folder / kUnpackedSoundName, file.Sound); !s) return s;
    if (!file.Background.empty())
        if (Status s = WriteFileAtomically(folder / kUnpackedBackgroundName, file.Background); !s)
            return s;
    // The manifest goes last: a folder with a manifest is a complete one.
    return WriteFileAtomically(folder / kCardManifestName,
                               FormatCardManifest(ManifestForCardSet(file)));
}

Status PackCardSet(const fs::path& folder, CardSetFile& out) {
    CardManifest manifest;
    if (Status s = ReadCardManifest(folder / kCardManifestName, manifest); !s) return s;

    CardSetFile file;
    file.Tag = manifest.Tag;
    file.Def = manifest.Def;
    if (Status s = ReadEmbeddedFile(folder, manifest.BitmapFile, kMaxCardSetFileBytes, file.Bitmap); !s) return s;
    if (file.Bitmap.empty())
        return Status::Fail("the card bitmap " + Quoted(manifest.BitmapFile) + " is empty");
    if (manifest.SoundFile.empty()) {
        file.SoundSize = manifest.SoundSizeWithoutSound;
    } else {
        if (Status s = ReadEmbeddedFile(folder, manifest.SoundFile, kMaxCardSetFileBytes, file.Sound); !s) return s;
        // A stored size of 0 or 1 means "no sound", so a sound needs two bytes at least.
        if (file.Sound.size() < 2)
            return Status::Fail("the sound " + Quoted(manifest.SoundFile) + " holds only " +
                                std::to_string(file.Sound.size()) +
                                " bytes; write sound = \"\" for a card set without a sound");
        file.SoundSize = static_cast<std::int32_t>(file.Sound.size());
    }
    if (!manifest.BackgroundFile.empty()) {
        if (Status s = ReadEmbeddedFile(folder, manifest.BackgroundFile, kMaxCardSetFileBytes, file.Background); !s)
            return s;
        if (file.Background.empty())
            return Status::Fail("the background " + Quoted(manifest.BackgroundFile) +
                                " is empty; write background = \"\" for none");
    }

    // Whatever we write must be a file the game reads back unchanged.
    CardSetFile decoded;
    if (Status s = DecodeCardSetFile(EncodeCardSetFile(file), decoded); !s)
        return Status::Fail("the card set in " + Quoted(folder.string()) + " is not valid: " +
                            s.message());
    if (!(decoded == file))
        return Status::Fail("the card set in " + Quoted(folder.string()) +
                            " does not read back as written");
    out = std::move(file);
    return Status::Ok();
}

}  // namespace kvt::kvx
