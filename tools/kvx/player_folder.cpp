#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "tools/kvx/embedded_file_name.h"
#include "tools/kvx/manifest_syntax.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// Writes a fresh file under a temporary name and renames it over the old
// one, so whatever is in the way (a hard or symbolic link to a file outside,
// a FIFO) is replaced, never written through or waited on. The temporary
// name starts with '.', which no clip name may, so it never meets a clip.
Status WriteUnpackedFile(const fs::path& path, std::string_view bytes) {
    std::string temporary = (path.parent_path() / ".unpack-XXXXXX").string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return Status::Fail("Cannot write " + Quoted(path) + ": " + std::strerror(errno));
    const auto fail = [&](const std::string& why) {
        ::unlink(temporary.c_str());
        return Status::Fail("Cannot write " + Quoted(path) + ": " + why);
    };
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string why = std::strerror(errno);
            ::close(fd);
            return fail(why);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    ::fchmod(fd, 0644);
    if (::close(fd) != 0) return fail(std::strerror(errno));
    if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(std::strerror(errno));
    return Status::Ok();
}

// Reads a file the manifest names, counting it against what one player file may hold.
Status ReadNamedFile(const fs::path& folder, const std::string& name, std::uint64_t& budget,
                     std::string& out) {
    if (Status s = ReadEmbeddedFile(folder, name, static_cast<std::size_t>(budget), out); !s) return s;
    budget -= out.size();
    return Status::Ok();
}

}  // namespace

Status CheckUnpackable(const PlayerFileContents& file) {
    for (const PlayerClip& clip : file.Clips)
        if (FoldClipName(clip.Entry.FileName) == FoldClipName(kPlayerManifestName))
            return Status::Fail("the player file holds a clip named " +
                                QuoteManifestString(clip.Entry.FileName) +
                                ", which an unpacked folder keeps for its manifest");
    return Status::Ok();
}

Status ReadPlayerFile(const std::string& path, PlayerFileContents& out) {
    std::string bytes;
    if (Status s = ReadWholeFile(path, bytes, kMaxPlayerFileBytes); !s) return s;
    if (Status s = DecodePlayerFile(bytes, out); !s) return Status::Fail(path + ": " + s.message());
    return Status::Ok();
}

Status UnpackPlayer(const PlayerFileContents& file, const fs::path& folder) {
    if (Status s = CheckUnpackable(file); !s) return s;
    if (Status s = EnsureFolder(folder); !s) return s;
    if (Status s = WriteUnpackedFile(folder / kPlayerPictureName, file.Picture); !s) return s;
    for (const PlayerClip& clip : file.Clips)
        if (Status s = WriteUnpackedFile(folder / clip.Entry.FileName, clip.Bytes); !s) return s;
    // The manifest goes last: a folder with a manifest is a complete one.
    return WriteUnpackedFile(folder / kPlayerManifestName, FormatPlayerManifest(ManifestForPlayer(file)));
}

Status PackPlayer(const fs::path& folder, PlayerFileContents& out) {
    PlayerManifest manifest;
    if (Status s = ReadPlayerManifest(folder / kPlayerManifestName, manifest); !s) return s;

    std::uint64_t budget = kMaxPlayerFileBytes;
    PlayerFileContents file;
    file.Header = manifest.Header;
    if (Status s = ReadNamedFile(folder, manifest.PictureFile, budget, file.Picture); !s) return s;
    for (const PlayerManifestSound& sound : manifest.Sounds) {
        PlayerClip clip;
        clip.Entry.SoundIndex = sound.Index;
        clip.Entry.FileName = sound.File;
        if (Status s = ReadNamedFile(folder, sound.File, budget, clip.Bytes); !s) return s;
        file.Clips.push_back(std::move(clip));
    }
    if (Status s = SealPlayerFile(file); !s) return Status::Fail("the player in " + Quoted(folder) + " " + s.message());
    out = std::move(file);
    return Status::Ok();
}

Status SealPlayerFile(PlayerFileContents& file) {
    file.Header.PictureSize = static_cast<std::int32_t>(file.Picture.size());
    for (PlayerClip& clip : file.Clips) clip.Entry.Length = static_cast<std::int32_t>(clip.Bytes.size());
    // Whatever we write must be a file the game reads back unchanged.
    PlayerFileContents decoded;
    if (Status s = DecodePlayerFile(EncodePlayerFile(file), decoded); !s)
        return Status::Fail("is not valid: " + s.message());
    if (!(decoded == file)) return Status::Fail("does not read back as written");
    return Status::Ok();
}

}  // namespace kvt::kvx
