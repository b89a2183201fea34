#include "shell/table_resume.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "engine/game.h"
#include "formats/game_record.h"
#include "platform/files.h"

namespace kvt {

std::uint64_t CardSetIdentity(const Game& game) {
    const auto& defs = game.CardSet.CardDefs;
    std::string bytes(reinterpret_cast<const char*>(defs.data()), sizeof(defs[0]) * defs.size());
    return Fnv1a64(bytes + game.CardSet.GameTitle);
}

std::uint64_t PlayerIdentity(const PlayerRec& player) {
    return Fnv1a64(player.Name + "\n" + std::to_string(player.TraitA) + " " + std::to_string(player.TraitB) + " " +
                   std::to_string(player.TraitC) + " " + std::to_string(player.TraitD) + " " +
                   std::to_string(player.SoundChance));
}

namespace {

constexpr std::size_t kReadLimit = kMaxTableSaveBytes;

SavedTable Capture(const Game& game) {
    SavedTable saved;
    saved.card_set_hash = CardSetIdentity(game);
    saved.card_set_title = game.CardSet.GameTitle;
    for (std::size_t p = 0; p < 4; ++p) {
        saved.player_names[p] = game.PlayerInfo[p + 1].Name;
        saved.player_hashes[p] = PlayerIdentity(game.PlayerInfo[p + 1]);
    }
    saved.state = game.State();
    return saved;
}

// Every card on the table is a card of this card set, and every count is one
// the rules can reach: a file made elsewhere cannot smuggle in anything else.
std::string Implausible(const Game& game, const TableState& state) {
    const auto known = [&game](const Card& card) {
        return std::any_of(game.CardSet.CardDefs.begin(), game.CardSet.CardDefs.end(), [&card](const Card& def) {
            Card unmarked = card;
            unmarked.Playable = def.Playable;
            return unmarked == def;
        });
    };
    const auto all_known = [&known](const CardStack& stack) { return std::all_of(stack.begin(), stack.end(), known); };
    bool cards = all_known(state.DrawDeck) && all_known(state.DiscardPile);
    for (int p = 1; p <= 4; ++p) cards = cards && all_known(state.Players[static_cast<std::size_t>(p)]);
    if (!cards) return "it holds a card the card set does not have";
    if (state.RoundNum < 0 || state.RoundNum > ScoreRows::kMax) return "its round is out of range";
    if (state.WildGroup < -1 || state.WildGroup >= kCardDefCount) return "its wild-card group is out of range";
    if (state.ChoosingCards && (game.IsComputer(state.CurPlayer) || state.ChooseFromPlayer < 2 || state.ChooseFromPlayer > 4 ||
                                state.ChooseFromPlayer == state.CurPlayer))
        return "it asks for a card to be taken from a hand that cannot give one";
    if (state.NamingGroup && game.WildGroupChoices().empty()) return "it waits for a group the card set cannot name";
    if (state.ChooseDone < 0 || state.ChooseTotal < 0 || state.ChooseDone > CardStack::Capacity ||
        state.ChooseTotal > CardStack::Capacity)
        return "its cards to take are out of range";
    return {};
}

}  // namespace

bool TableResume::AtRest(const Game& game) {
    return !game.MoveInProgress() && game.CompHeld.Empty();
}

Status TableResume::Save(const Game& game) {
    if (!AtRest(game)) return Status::Ok();
    std::string text = WriteSavedTable(Capture(game));
    if (text == written_) return Status::Ok();
    if (Status s = EnsureFolder(file_.parent_path()); !s) return s;
    if (Status s = WriteFileAtomically(file_, text); !s) return s;
    written_ = std::move(text);
    return Status::Ok();
}

namespace {

// A name from the file as a message shows it: at most 60 bytes of it.
std::string Shown(const std::string& name) { return name.size() <= 60 ? name : name.substr(0, 60) + "..."; }

// Whether `saved` may be brought onto `game`: the same card set and players,
// and a table the rules can have made.
Status Acceptable(const Game& game, const SavedTable& saved) {
    const SavedTable here = Capture(game);
    if (saved.card_set_hash != here.card_set_hash)
        return Status::Fail("it was played with the card set \"" + Shown(saved.card_set_title) + "\", not \"" +
                            Shown(here.card_set_title) + "\"");
    for (std::size_t p = 0; p < 4; ++p)
        if (saved.player_hashes[p] != here.player_hashes[p])
            return Status::Fail("seat " + std::to_string(p + 1) + " was " + Shown(saved.player_names[p]) + ", now it is " +
                                Shown(here.player_names[p]));
    if (const std::string fault = Implausible(game, saved.state); !fault.empty()) return Status::Fail(fault);
    return Status::Ok();
}

Status ReadSaved(const std::filesystem::path& file, std::string& text, SavedTable& saved) {
    if (Status s = ReadWholeFile(file, text, kReadLimit); !s) return s;
    return ReadSavedTable(text, saved);
}

}  // namespace

TableResume::Outcome TableResume::Restore(Game& game, std::string& why) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file_, ec))) return Outcome::kNothingSaved;
    std::string text;
    SavedTable saved;
    Status read = ReadSaved(file_, text, saved);
    if (read) read = Acceptable(game, saved);
    if (!read) {
        why = read.message();
        std::filesystem::path aside = file_;
        aside += ".set-aside";
        std::filesystem::rename(file_, aside, ec);
        if (ec) std::filesystem::remove(file_, ec);
        return Outcome::kSetAside;
    }
    game.State() = saved.state;
    written_ = std::move(text);
    return Outcome::kResumed;
}

Status TableResume::WriteDeal(const Game& game, const TableState& dealt, const std::filesystem::path& file) {
    SavedTable deal = Capture(game);
    deal.state = dealt;
    deal.state.Scores = {};
    deal.state.RoundNum = 0;
    deal.state.Winner = 0;
    deal.state.SheetRows = {};
    return WriteFileAtomically(file, WriteSavedTable(deal));
}

Status TableResume::OpenDeal(Game& game, const std::filesystem::path& file) {
    std::string text;
    SavedTable deal;
    Status read = ReadSaved(file, text, deal);
    if (read) read = Acceptable(game, deal);
    if (!read) return read;
    game.State() = deal.state;
    return Status::Ok();
}

}  // namespace kvt
