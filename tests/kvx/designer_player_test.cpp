// The player-file window, driven offscreen through its commands.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include "kvx_test_support.h"
#include "tools/kvx/designer/player_window.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

std::string Wave(char fill) { return std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(24, fill); }

class PlayerWindowTest : public ::testing::Test {
protected:
    PlayerWindowTest() {
        window_.message_sink = [this](const QString& text) { messages_.push_back(text); };
        window_.ask_to_save = [](const QString&) { return QMessageBox::Discard; };
    }
    QString File(const char* name, const std::string& bytes) {
        test::WriteBytes(dir_ / name, bytes);
        return QString::fromStdString((dir_ / name).string());
    }

    test::TempDir dir_;
    PlayerWindow window_;
    QStringList messages_;
};

TEST_F(PlayerWindowTest, APlayerMadeFromNothingPacksAsKvxDoes) {
    window_.SetName("Zoë");
    for (int which = 0; which < 5; ++which) window_.SetNumber(which, 10 * which - 5);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir_ / "face.png").string())));
    ASSERT_TRUE(window_.ImportPicture(QString::fromStdString((dir_ / "face.png").string())));
    ASSERT_TRUE(window_.ImportClip(0, File("a.wav", Wave('a'))));      // Sel1
    ASSERT_TRUE(window_.ImportClip(34, File("b.wav", Wave('b'))));     // lg1
    ASSERT_TRUE(window_.ImportClip(0, File("c.wav", Wave('c'))));      // replaces Sel1
    ASSERT_TRUE(window_.ImportClip(40, File("d.wav", Wave('d'))));     // a slot without a name
    window_.RemoveClip(40);
    EXPECT_FALSE(window_.ImportClip(3, File("e.wav", "not a wave")));
    EXPECT_FALSE(window_.ImportPicture(File("f.png", "not a picture")));
    EXPECT_EQ(std::tuple(messages_.size(), window_.IsModified()), std::tuple(2, true));
    ASSERT_TRUE(window_.SaveFile(dir_ / "zoe.dpf"));
    EXPECT_FALSE(window_.IsModified());

    PlayerFileContents saved;
    ASSERT_TRUE(ReadPlayerFile((dir_ / "zoe.dpf").string(), saved));
    // Names are stored as Latin-1.
    EXPECT_EQ(std::tuple(saved.Header.Name, saved.Header.TraitA, saved.Header.TraitD, saved.Header.SoundChance),
              std::tuple("Zo\xeb", -5, 25, 35));
    EXPECT_EQ(saved.Picture.compare(0, 2, "BM"), 0);
    ASSERT_EQ(saved.Clips.size(), 2u);
    EXPECT_EQ(std::tuple(saved.Clips[0].Entry.FileName, saved.Clips[0].Bytes, saved.Clips[1].Entry.FileName,
                         saved.Clips[1].Entry.SoundIndex),
              std::tuple("Sel1.wav", Wave('c'), "lg1.wav", 34));

    // kvx finds nothing wrong with it (its round trip is pinned on kvx itself).
    const test::ProgramRun check = test::RunProgram(KVX_PROGRAM, {"check", (dir_ / "zoe.dpf").string()}, dir_.Path());
    EXPECT_EQ(check.exit_code, 0) << check.err;

    PlayerWindow reopened;
    ASSERT_TRUE(reopened.OpenFile(dir_ / "zoe.dpf"));
    EXPECT_TRUE(reopened.Contents() == saved && !reopened.IsModified());
}

TEST_F(PlayerWindowTest, DamagedAndHostileFilesAreRefusedAndChangeNothing) {
    window_.SetName("Kept");
    ASSERT_TRUE(window_.SaveFile(dir_ / "good.dpf"));
    const PlayerFileContents before = window_.Contents();
    const std::string good = test::ReadBytes(dir_ / "good.dpf");
    PlayerFileContents hostile = before;
    hostile.Clips.push_back({{3, "../../escape.wav", 4}, "RIFF"});
    PlayerFileContents rich = before;
    rich.Header.Name = "<img src='x' width=9999>";
    // One refusal stands for all: each fault of the format is pinned on the codec.
    EXPECT_FALSE(window_.OpenFile(File("escape.dpf", EncodePlayerFile(hostile)).toStdString()));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains(QString::fromStdString((dir_ / "escape.dpf").string()))) << messages_[0].toStdString();
    EXPECT_TRUE(window_.Contents() == before && window_.Path() == dir_ / "good.dpf");
    // A name that looks like markup stays plain text.
    test::WriteBytes(dir_ / "rich.dpf", EncodePlayerFile(rich));
    ASSERT_TRUE(window_.OpenFile(dir_ / "rich.dpf"));
    for (QLabel* label : window_.findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
    // A file that cannot be written leaves the old one as it was.
    EXPECT_FALSE(window_.SaveFile(dir_ / "no-such-folder" / "x.dpf"));
    EXPECT_EQ(test::ReadBytes(dir_ / "good.dpf"), good);
}

}  // namespace
}  // namespace kvt::kvx
