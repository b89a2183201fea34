#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "engine/working_files.h"
#include "gui_support.h"
#include "platform/sound_backend.h"
#include "platform/sound_output.h"

namespace kvt {
namespace {

using gui_test::TableSetup;
using gui_test::WaitMark;
using gui_test::WriteWave;

QString Text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Missing and undecodable clips are pinned through the table (tests/faults).
TEST(SoundOutput, TheClipLengthComesFromTheHeader) {
    TableSetup setup;
    const auto wave = setup.Root() / "half.wav";
    WriteWave(wave, 500);
    EXPECT_EQ(WavClipLength(Text(wave)), 500);
}

// The sound module is found beside the program, so the table itself does
// not load the sound libraries.
TEST(SoundOutput, TheDeviceComesFromItsModule) {
    ASSERT_NE(OpenSoundBackend(), nullptr);
    EXPECT_EQ(OpenSoundBackend(), OpenSoundBackend());
}

TEST(SoundOutput, AClipEndsWithinItsLengthAndTheMargin) {
    TableSetup setup;
    SoundOutput sound;
    const auto wave = setup.Root() / "short.wav";
    WriteWave(wave, 300);
    const WaitMark past_the_margin(300 + SoundOutput::kMarginMs + 1000);
    sound.PlayToEnd(Text(wave));  // plays where there is a device, returns at once where not
    EXPECT_FALSE(past_the_margin.Reached());
}

TEST(SoundOutput, AfterShutdownNothingPlays) {
    TableSetup setup;
    SoundOutput sound;
    const auto wave = setup.Root() / "long.wav";
    WriteWave(wave, 20000);
    sound.Shutdown();
    const WaitMark any_wait(0);
    EXPECT_FALSE(sound.PlayToEnd(Text(wave)));
    EXPECT_FALSE(any_wait.Reached());
}

TEST(SoundOutput, ClosingTheWindowEndsAPlayingClip) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    const auto wave = setup.Root() / "long.wav";
    WriteWave(wave, 20000);
    QTimer::singleShot(100, &win, [&] { win.close(); });
    const WaitMark half_the_clip(10000);
    win.PlayClip(wave);
    EXPECT_FALSE(half_the_clip.Reached());
}

TEST(OpeningSound, TurningItOffStopsOnlyTheOpeningMusic) {
    TableSetup setup;
    PlayWin& win = setup.Open(false);
    SoundOutput& sound = win.Sound();
    sound.SetMuted(true);
    const auto clip = setup.Root() / "Comment1.wav";
    // Music that outlasts the clip: only the toggle ends it before the clip.
    WriteWave(clip, 20000);
    WriteWave(win.GameState().AppDir / files::kOpeningSound, 40000);
    bool music_stopped = false;
    bool clip_outlived_music = false;
    // The opening music starts while a player's clip plays, and is turned off.
    QTimer::singleShot(0, &win, [&] {
        QTimer::singleShot(0, &win, [&] { win.MenuEntry("MM_MUSIC")->trigger(); });
        win.PlayOpeningSound();
        music_stopped = true;
        QTimer::singleShot(0, &win, [&] {
            clip_outlived_music = sound.IsPlaying(Text(clip));
            sound.Stop();
        });
    });
    win.PlayClip(clip);
    EXPECT_TRUE(music_stopped);
    EXPECT_TRUE(clip_outlived_music);
}

TEST(OpeningSound, TheFirstPaintPlaysItOnce) {
    TableSetup setup;
    PlayWin& win = setup.Open(false);
    EXPECT_TRUE(win.GameState().FirstPaint);
    win.show();
    QApplication::processEvents();
    win.Table()->repaint();
    QApplication::processEvents();
    EXPECT_FALSE(win.GameState().FirstPaint);
}

}  // namespace
}  // namespace kvt
