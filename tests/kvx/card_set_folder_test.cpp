#include <gtest/gtest.h>

#include "kvx_test_support.h"
#include "tools/kvx/card_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using test::WriteBytes;

// A folder unpacked from the plain set, to pack again.
class CardSetFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(UnpackCardSet(testing::PlainCardSet(), folder_)); }

    void SetManifest(const std::string& text) { WriteBytes(folder_ / kCardManifestName, text); }
    void EditManifest(std::string_view from, std::string_view to) {
        SetManifest(testing::Replace(test::ReadBytes(folder_ / kCardManifestName), from, to));
    }

    std::string PackFault() {
        CardSetFile file;
        const Status s = PackCardSet(folder_, file);
        EXPECT_FALSE(s) << "packed although it should not";
        return s.message();
    }

    test::TempDir temp_;
    fs::path folder_ = temp_ / "set";
};

// The byte-for-byte round trip is pinned on the kvx program itself.
TEST_F(CardSetFolderTest, UnpackWritesTheManifestAndOnlyThePresentFiles) {
    const CardSetFile plain = testing::PlainCardSet();
    EXPECT_EQ(test::FilesIn(folder_), (std::map<std::string, std::string>{
                                          {"cards.bmp", plain.Bitmap}, {"open.wav", plain.Sound},
                                          {"cardset.txt", FormatCardManifest(ManifestForCardSet(plain))}}));
    const CardSetFile odd = testing::OddCardSet();
    ASSERT_TRUE(UnpackCardSet(odd, temp_ / "odd"));
    EXPECT_EQ(test::FilesIn(temp_ / "odd"), (std::map<std::string, std::string>{
                                               {"cards.bmp", odd.Bitmap}, {"background.bmp", odd.Background},
                                               {"cardset.txt", FormatCardManifest(ManifestForCardSet(odd))}}));
}

// The files are those the manifest names; each refusal names the file or the cause.
TEST_F(CardSetFolderTest, TakesTheFilesTheManifestNamesAndRefusesMissingOrUnstorableOnes) {
    fs::rename(folder_ / "cards.bmp", folder_ / "faces.bmp");
    EditManifest("bitmap = \"cards.bmp\"", "bitmap = \"faces.bmp\"");
    CardSetFile file;
    const Status s = PackCardSet(folder_, file);
    ASSERT_TRUE(s) << s.message();
    EXPECT_EQ(file.Bitmap, testing::PlainCardSet().Bitmap);

    WriteBytes(folder_ / "open.wav", "R");
    EXPECT_NE(PackFault().find("holds only 1 bytes"), std::string::npos) << "the stored sound size cannot hold it";
    fs::remove(folder_ / "open.wav");
    EXPECT_NE(PackFault().find("open.wav"), std::string::npos);
    EditManifest("background = \"\"", "background = \"table.bmp\"");
    EditManifest("sound = \"open.wav\"", "sound = \"\"");
    EXPECT_NE(PackFault().find("table.bmp"), std::string::npos);
    WriteBytes(folder_ / "empty.bmp", "");
    EditManifest("background = \"table.bmp\"", "background = \"empty.bmp\"");
    EXPECT_NE(PackFault().find("\"empty.bmp\" is empty"), std::string::npos);
    WriteBytes(folder_ / "faces.bmp", "");
    EXPECT_NE(PackFault().find("\"faces.bmp\" is empty"), std::string::npos);
    fs::remove(folder_ / "faces.bmp");
    EXPECT_NE(PackFault().find("faces.bmp"), std::string::npos);
    fs::remove(folder_ / kCardManifestName);
    EXPECT_NE(PackFault().find("cardset.txt"), std::string::npos);
}

// Which sets the game refuses is pinned on the codec; a manifest fault on the kvx program.
TEST_F(CardSetFolderTest, RefusesACardSetTheGameWouldRefuse) {
    EditManifest("copies = 2\nrow = 0\ncol = 0", "copies = 2\nrow = -2\ncol = 0");
    const std::string fault = PackFault();
    EXPECT_TRUE(fault.find("is not valid") != std::string::npos && fault.find("negative picture position") != std::string::npos)
        << fault;
}

}  // namespace
}  // namespace kvt::kvx
