#include "tools/kvx/cards_commands.h"

#include <system_error>

#include "platform/files.h"
#include "tools/kvx/card_manifest.h"
#include "tools/kvx/card_set_summary.h"

namespace kvt::kvx {
namespace {

Status LoadCardSet(const std::string& path, CardSetFile& out) {
    std::string bytes;
    if (Status s = ReadWholeFile(path, bytes, kMaxCardSetFileBytes); !s) return s;
    if (Status s = DecodeCardSetFile(bytes, out); !s) return Status::Fail(path + ": " + s.message());
    return Status::Ok();
}

std::string DeckCount(const CardSetFile& file) {
    return std::to_string(DeckSize(file.Def)) + " cards in the deck";
}

// An unpacked folder should hold one card set only, so an occupied folder
// needs --force.
Status CheckUnpackFolder(const std::string& folder, bool force) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status)) return Status::Ok();
    if (!fs::is_directory(status))
        return Status::Fail("\"" + folder + "\" exists and is not a folder");
    const bool empty = fs::is_empty(folder, ec);
    if (ec) return Status::Fail("Cannot read the folder \"" + folder + "\": " + ec.message());
    if (!empty && !force)
        return Status::Fail("the folder \"" + folder +
                            "\" is not empty (use --force to unpack into it anyway)");
    return Status::Ok();
}

Status RunUnpackCards(const CommandArgs& args, std::ostream& out) {
    const std::string& cds = args.operands[0];
    const std::string& folder = args.operands[1];
    if (Status s = CheckUnpackFolder(folder, args.Has("--force")); !s) return s;
    CardSetFile file;
    if (Status s = LoadCardSet(cds, file); !s) return s;
    if (Status s = UnpackCardSet(file, folder); !s) return s;
    out << cds << ": unpacked into " << folder << "\n";
    return Status::Ok();
}

Status RunPackCards(const CommandArgs& args, std::ostream& out) {
    const std::string& folder = args.operands[0];
    const std::string& cds = args.operands[1];
    CardSetFile file;
    if (Status s = PackCardSet(folder, file); !s) return s;
    if (Status s = WriteFileAtomically(cds, EncodeCardSetFile(file)); !s) return s;
    out << cds << ": packed (" << DeckCount(file) << ")\n";
    return Status::Ok();
}

Status RunInfo(const CommandArgs& args, std::ostream& out) {
    CardSetFile file;
    if (Status s = LoadCardSet(args.operands[0], file); !s) return s;
    out << SummarizeCardSet(file);
    return Status::Ok();
}

Status RunCheck(const CommandArgs& args, std::ostream& out) {
    CardSetFile file;
    if (Status s = LoadCardSet(args.operands[0], file); !s) return s;
    out << args.operands[0] << ": ok (" << DeckCount(file) << ")\n";
    // Valid, but worth knowing: such a group is never named after a wild card.
    for (int d = 0; d < kCardDefCount; ++d) {
        const Card& c = file.Def.CardDefs[d];
        if (IsDealt(c) && (c.Group < 0 || c.Group > kMaxGroup))
            out << args.operands[0] << ": warning: card definition " << d << " has group " << c.Group
                << "; it plays, but a computer player naming a group counts only groups 1 to " << kMaxGroup
                << "\n";
    }
    return Status::Ok();
}

}  // namespace

void AddCardCommands(std::vector<Command>& table) {
    table.push_back({"unpack-cards", "[--force] FILE.cds DIR",
                     "write a card set's cardset.txt and embedded files into DIR", 2, {"--force"},
                     RunUnpackCards});
    table.push_back({"pack-cards", "DIR FILE.cds",
                     "build a card set from DIR/cardset.txt and the files it names", 2, {},
                     RunPackCards});
    table.push_back({"info", "FILE.cds", "describe a card set: texts, definitions, deck, sizes", 1,
                     {}, RunInfo});
    table.push_back({"check", "FILE.cds", "validate a card set", 1, {}, RunCheck});
}

}  // namespace kvt::kvx
