#include "shell/startup.h"

#include "engine/card_set_switch.h"
#include "platform/settings_keys.h"

namespace kvt {

void LoadOptions(Game& game) {
    Profile& ini = game.Settings();
    game.SortCards = ini.ReadInt(settings::kMisc, settings::kSort, -1) != 0;
    game.PlayerSoundsHeard = ini.ReadInt(settings::kMisc, settings::kPlayerSounds, -1) != 0;
    game.OpeningMusic = ini.ReadInt(settings::kMisc, settings::kBackMusic, -1) != 0;
    game.CardViewer = ini.ReadInt(settings::kMisc, settings::kViewer, 0) != 0;
    game.GameSpeed = ini.ReadInt(settings::kMisc, settings::kPlaySpeed, 0);
}

// A card-set switch that a kill or a crash interrupted is finished or dropped
// before anything reads the working files: the load, the reload and the
// bitmap's read below each take the lock and repair first.
Status StartTable(Game& game, const std::optional<std::filesystem::path>& command_line_card_set) {
    Status named = Status::Ok();
    if (command_line_card_set) {
        named = game.LoadCardSetFile(*command_line_card_set);
        if (named)
            (void)game.Settings().WriteString(settings::kMisc, settings::kCardFile,
                                              command_line_card_set->string());
    }
    game.Notices().ShowLoading();
    Status reloaded = game.ReloadCardSet();
    game.CurPlayer = 1;
    {
        // Not while another table switches sets in this folder.
        FileLock lock;
        (void)LockAndRepairWorkingFiles(game.AppDir, lock);
        game.Notices().LoadCardBitmap(game.CardBitmapPath);
    }
    game.CardBackDef = game.FindCardBack();
    game.Notices().HideLoading();
    // A bad card set on the command line is reported, but the table still
    // comes up with the card set in force.
    if (!reloaded) return reloaded;
    return named;
}

}  // namespace kvt
