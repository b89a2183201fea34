#include <vector>

#include "engine/card_set_codec.h"
#include "engine/game.h"
#include "engine/working_files.h"
#include "platform/files.h"
#include "shell/settings_keys.h"

namespace kvt {
namespace {

constexpr std::size_t kBlock = 1000;

std::string Quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

}  // namespace

Status Game::LoadCardSetFile(const std::filesystem::path& card_set) {
    view_.CloseBackgroundSound();
    std::string bytes;
    if (Status s = ReadWholeFile(card_set, bytes, kMaxCardSetFileBytes); !s)
        return Status::Fail("Cannot load the card set: " + s.message());
    CardSetFile file;
    if (Status s = DecodeCardSetFile(bytes, file); !s)
        return Status::Fail("Cannot load the card set " + Quoted(card_set) + ": " + s.message() + ".");

    view_.ShowLoading();
    Status written = WriteWorkingFiles(file);
    view_.HideLoading();
    if (!written) return Status::Fail("Cannot load the card set " + Quoted(card_set) + ": " +
                                      written.message());
    CardSet = file.Def;
    if (!file.Background.empty()) {
        BackFilePath = (AppDir / files::kBackground).string();
        HasBackFile = true;
    }
    return Status::Ok();
}

// Writes every working file under a temporary name first and renames them
// only when all are complete, so a failure leaves the previous set in force.
Status Game::WriteWorkingFiles(const CardSetFile& file) {
    if (Status s = EnsureFolder(AppDir); !s) return s;
    AtomicFile defs(AppDir / files::kCardDefs);
    AtomicFile bitmap(AppDir / files::kCardBitmap);
    AtomicFile sound(AppDir / files::kOpeningSound);
    AtomicFile background(AppDir / files::kBackground);
    std::vector<AtomicFile*> finished;

    const auto write_whole = [&finished](AtomicFile& target, std::string_view bytes) {
        if (Status s = target.Open(); !s) return s;
        if (Status s = target.Write(bytes); !s) return s;
        if (Status s = target.Finish(); !s) return s;
        finished.push_back(&target);
        return Status::Ok();
    };

    if (Status s = write_whole(defs, EncodeCardSetDef(file.Def)); !s) return s;

    // The bitmap goes in blocks of 1000 bytes, the gauge counting the blocks.
    const std::string_view image = file.Bitmap;
    const int blocks = static_cast<int>(image.size() / kBlock);
    view_.SetLoadingGauge(0, blocks);
    if (Status s = bitmap.Open(); !s) return s;
    for (int b = 0; b < blocks; ++b) {
        if (Status s = bitmap.Write(image.substr(b * kBlock, kBlock)); !s) return s;
        view_.SetLoadingGauge(b + 1, blocks);
        view_.PumpEvents();
    }
    if (Status s = bitmap.Write(image.substr(blocks * kBlock)); !s) return s;
    view_.PumpEvents();
    if (Status s = bitmap.Finish(); !s) return s;
    finished.push_back(&bitmap);

    // Without a sound of its own the previous opening sound stays.
    if (file.HasSound())
        if (Status s = write_whole(sound, file.Sound); !s) return s;
    if (!file.Background.empty())
        if (Status s = write_whole(background, file.Background); !s) return s;

    for (AtomicFile* f : finished)
        if (Status s = f->Commit(); !s) return s;
    if (file.Background.empty()) {
        std::error_code ec;
        std::filesystem::remove(AppDir / files::kBackground, ec);
    }
    return Status::Ok();
}

Status Game::ReloadCardSet() {
    std::string bytes;
    CardSetDef def;
    if (ReadWholeFile(CardDefPath, bytes, kMaxCardSetFileBytes) && DecodeCardSetDef(bytes, def)) {
        (void)settings_.WriteString(settings::kMisc, settings::kCardFile, CardDefPath);
        CardSet = std::move(def);
        BuildDeck(CardSet);
        return Status::Ok();
    }
    // A missing or unreadable working copy falls back to the shipped card set.
    if (Status s = LoadCardSetFile(folders_.SharedData / files::kDefaultCardSet); !s) return s;
    BuildDeck(CardSet);
    return Status::Ok();
}

std::int16_t Game::FindCardBack() {
    const int d = FindDefinition(CardSet, kActionCardBack);
    if (d < 0) return 0;
    view_.ShowCardBack(CardSet.CardDefs[d]);
    return static_cast<std::int16_t>(d);
}

}  // namespace kvt
