#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "engine/working_files.h"
#include "gui_support.h"
#include "platform/sound_backend.h"
#include "platform/sound_output.h"
#include "hand/hand_view.h"
#include "shell/show_queue.h"

namespace kvt {
namespace {

using namespace gui_test;

QString Text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// A clip's length comes from its header. It ends on its own (muted: after its
// length), when stopped, or at once when it cannot play; each tells its end once.
// Missing and undecodable clips are pinned through the table (tests/faults).
// The device comes from a module beside the program, so the table itself
// does not load the sound libraries.
TEST(SoundOutput, TheDeviceComesFromItsModuleAndEveryClipTellsItsEndOnce) {
    ASSERT_NE(OpenSoundBackend(), nullptr);
    EXPECT_EQ(OpenSoundBackend(), OpenSoundBackend());
    TableSetup setup;
    SoundOutput sound;
    sound.SetMuted(true);
    const auto short_wave = setup.Root() / "short.wav";
    const auto long_wave = setup.Root() / "long.wav";
    WriteWave(short_wave, 30);
    WriteWave(long_wave, 20000);
    EXPECT_EQ(WavClipLength(Text(short_wave)), 30);
    int short_ends = 0, long_ends = 0, missing_ends = 0;
    EXPECT_TRUE(sound.Play(Text(short_wave), [&] { ++short_ends; }));
    EXPECT_TRUE(sound.Play(Text(long_wave), [&] { ++long_ends; }));
    EXPECT_FALSE(sound.Play(Text(setup.Root() / "missing.wav"), [&] { ++missing_ends; }));
    EXPECT_EQ(std::tuple(missing_ends, short_ends), std::tuple(1, 0));
    ASSERT_TRUE(RunUntil([&] { return short_ends > 0; }));
    EXPECT_TRUE(sound.IsPlaying(Text(long_wave)));
    sound.StopClip(Text(long_wave));
    EXPECT_FALSE(sound.IsPlaying(Text(long_wave)));
    sound.Stop();
    EXPECT_EQ(std::tuple(short_ends, long_ends), std::tuple(1, 1));

    // Shut down (the window closes), a clip ends as it starts.
    EXPECT_TRUE(sound.Play(Text(long_wave), [&] { ++long_ends; }));
    sound.Shutdown();
    EXPECT_FALSE(sound.Play(Text(long_wave), [&] { ++long_ends; }));
    EXPECT_EQ(long_ends, 3);
}

// The first paint plays the opening music once; turning it off stops only the music.
TEST(OpeningSound, TheFirstPaintPlaysItOnceTurningItOffStopsOnlyItAndAClipHoldsTheTable) {
    TableSetup setup;
    PlayWin& win = setup.Open(false);
    EXPECT_TRUE(win.GameState().FirstPaint);
    win.show();
    QApplication::processEvents();
    win.Table()->repaint();
    QApplication::processEvents();
    EXPECT_FALSE(win.GameState().FirstPaint);

    SoundOutput& sound = win.Sound();
    sound.SetMuted(true);
    const auto clip = setup.Root() / "Comment1.wav";
    WriteWave(clip, 20000);
    WriteWave(win.GameState().AppDir / files::kOpeningSound, 40000);
    win.PlayClip(clip);
    win.PlayOpeningSound();
    EXPECT_TRUE(sound.IsPlaying(Text(win.GameState().AppDir / files::kOpeningSound)));
    win.MenuEntry("MM_MUSIC")->trigger();
    EXPECT_TRUE(!sound.IsPlaying(Text(win.GameState().AppDir / files::kOpeningSound)) && sound.IsPlaying(Text(clip)));

    // A player's clip in the rules holds back what the table shows after it;
    // closing the window lets everything go at once.
    const auto wave = setup.Root() / "long.wav";
    WriteWave(wave, 20000);
    win.GameState().View().PlayClip(wave);
    win.GameState().View().SetDiscardButtonVisible(true);
    EXPECT_TRUE(win.Show().Playing() && !win.Hands().AcceptDiscardBut()->isVisible());
    win.close();
    EXPECT_FALSE(win.Show().Playing() || win.Sound().IsPlaying(Text(wave)));
}

}  // namespace
}  // namespace kvt
