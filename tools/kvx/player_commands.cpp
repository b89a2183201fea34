#include "tools/kvx/player_commands.h"

#include <system_error>

#include "platform/files.h"
#include "tools/kvx/player_manifest.h"
#include "tools/kvx/player_summary.h"

namespace kvt::kvx {
namespace {

using Run = Status (*)(const CommandArgs& args, std::ostream& out);

// What info and check did before player files joined them. A command runs
// through a plain function pointer, so the previous one is kept here.
Run card_set_info = nullptr;
Run card_set_check = nullptr;

std::string Folded(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// By the extension, or by the tag when the extension says nothing.
bool IsPlayerFile(const std::string& path) {
    const std::string extension = Folded(fs::path(path).extension().string());
    if (extension == ".dpf") return true;
    if (extension == ".cds") return false;
    char tag[4] = {};
    ReadableFile in;
    return in.Open(path) && in.ReadAt(0, sizeof tag, tag) && std::string_view(tag, sizeof tag) == "KVTP";
}

std::string ClipCount(const PlayerFileContents& file) {
    return std::to_string(file.Clips.size()) + (file.Clips.size() == 1 ? " clip" : " clips");
}

// An unpacked folder should hold one player only, so an occupied folder needs --force.
Status CheckUnpackFolder(const std::string& folder, bool force) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status)) {
        if (!fs::is_symlink(fs::symlink_status(folder, ec))) return Status::Ok();
        return Status::Fail("\"" + folder + "\" is a symbolic link to \"" +
                            fs::read_symlink(folder, ec).string() + "\", which does not exist");
    }
    if (!fs::is_directory(status)) return Status::Fail("\"" + folder + "\" exists and is not a folder");
    const bool empty = fs::is_empty(folder, ec);
    if (ec) return Status::Fail("Cannot read the folder \"" + folder + "\": " + ec.message());
    if (!empty && !force)
        return Status::Fail("the folder \"" + folder + "\" is not empty (use --force to unpack into it anyway)");
    return Status::Ok();
}

Status RunUnpackPlayer(const CommandArgs& args, std::ostream& out) {
    const std::string& dpf = args.operands[0];
    const std::string& folder = args.operands[1];
    if (Status s = CheckUnpackFolder(folder, args.Has("--force")); !s) return s;
    PlayerFileContents file;
    if (Status s = ReadPlayerFile(dpf, file); !s) return s;
    // What cannot be unpacked is a fault of the file, named as check names it.
    if (Status s = CheckUnpackable(file); !s) return Status::Fail(dpf + ": " + s.message());
    if (Status s = UnpackPlayer(file, folder); !s) return s;
    out << dpf << ": unpacked into " << folder << "\n";
    return Status::Ok();
}

Status RunPackPlayer(const CommandArgs& args, std::ostream& out) {
    const std::string& folder = args.operands[0];
    const std::string& dpf = args.operands[1];
    PlayerFileContents file;
    if (Status s = PackPlayer(folder, file); !s) return s;
    if (Status s = WriteFileAtomically(dpf, EncodePlayerFile(file)); !s) return s;
    out << dpf << ": packed (" << ClipCount(file) << ")\n";
    return Status::Ok();
}

Status RunPlayerInfo(const CommandArgs& args, std::ostream& out) {
    PlayerFileContents file;
    if (Status s = ReadPlayerFile(args.operands[0], file); !s) return s;
    out << SummarizePlayer(file);
    return Status::Ok();
}

Status RunPlayerCheck(const CommandArgs& args, std::ostream& out) {
    PlayerFileContents file;
    if (Status s = ReadPlayerFile(args.operands[0], file); !s) return s;
    if (Status s = CheckUnpackable(file); !s) return Status::Fail(args.operands[0] + ": " + s.message());
    out << args.operands[0] << ": ok (" << ClipCount(file) << ")\n";
    return Status::Ok();
}

Status RunInfo(const CommandArgs& args, std::ostream& out) {
    if (card_set_info && !IsPlayerFile(args.operands[0])) return card_set_info(args, out);
    return RunPlayerInfo(args, out);
}

Status RunCheck(const CommandArgs& args, std::ostream& out) {
    if (card_set_check && !IsPlayerFile(args.operands[0])) return card_set_check(args, out);
    return RunPlayerCheck(args, out);
}

// Lets an existing command take player files too, or adds it for them alone.
void ShareCommand(std::vector<Command>& table, Command player_command, Run& previous) {
    for (Command& command : table) {
        if (command.name != player_command.name) continue;
        previous = command.run;
        command.run = player_command.run;
        command.operands_synopsis = player_command.operands_synopsis;
        command.summary = player_command.summary;
        return;
    }
    table.push_back(std::move(player_command));
}

constexpr const char* kPlayerManifestHelp = R"(An unpacked player is a folder holding player.txt, the picture and the clips.
player.txt follows the same rules as cardset.txt:

  format = 1
  tag = "KVTP"                 4 bytes, kept as they are (optional)
  name = "Ada"                 the name shown at the table
  trait-a = 100                also trait-b, trait-c, trait-d: the computer's play
  sound-chance = 30            how readily the clips play
  reserved1 = 0                also reserved2, reserved3 (optional, 0 when missing)
  picture = "Player.bmp"       the picture (BMP), required

  [sound]                      one section per clip, in file order
  index = 0                    slot 0..50 (Sel1..3 = 0..2, Comment 3..5, Disc 6..8,
                               DrawP 9..11, DrawL 12..14, DrawR 15..17, DrawA 18..20,
                               PassL 21..23, PassR 24..26, PassA 27..29, Rev 30..32,
                               wg1 = 33, lg1 = 34, others 35..50)
  file = "Sel1.wav"            the clip (WAV); also its name in the player file
)";

}  // namespace

void AddPlayerCommands(std::vector<Command>& table) {
    table.push_back({"unpack-player", "[--force] FILE.dpf DIR",
                     "write a player's player.txt, picture and clips into DIR", 2, {"--force"},
                     RunUnpackPlayer});
    table.push_back({"pack-player", "DIR FILE.dpf",
                     "build a player file from DIR/player.txt and the files it names", 2, {},
                     RunPackPlayer});
    ShareCommand(table,
                 {"info", "FILE.cds|FILE.dpf", "describe a card set or a player file", 1, {}, RunInfo},
                 card_set_info);
    ShareCommand(table, {"check", "FILE.cds|FILE.dpf", "validate a card set or a player file", 1, {}, RunCheck},
                 card_set_check);
}

std::string PlayerManifestHelp() { return kPlayerManifestHelp; }

}  // namespace kvt::kvx
