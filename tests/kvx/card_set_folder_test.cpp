#include <gtest/gtest.h>

#include "kvx_test_support.h"
#include "tools/kvx/card_manifest.h"

namespace kvt::kvx {
namespace {

// The byte-for-byte round trip and the faults of a folder are pinned on the kvx program itself.
TEST(CardSetFolderTest, UnpackWritesTheManifestAndOnlyThePresentFiles) {
    test::TempDir temp;
    const CardSetFile plain = testing::PlainCardSet();
    ASSERT_TRUE(UnpackCardSet(plain, temp / "plain"));
    EXPECT_EQ(test::FilesIn(temp / "plain"), (std::map<std::string, std::string>{
                                                 {"cards.bmp", plain.Bitmap}, {"open.wav", plain.Sound},
                                                 {"cardset.txt", FormatCardManifest(ManifestForCardSet(plain))}}));
    const CardSetFile odd = testing::OddCardSet();
    ASSERT_TRUE(UnpackCardSet(odd, temp / "odd"));
    EXPECT_EQ(test::FilesIn(temp / "odd"), (std::map<std::string, std::string>{
                                               {"cards.bmp", odd.Bitmap}, {"background.bmp", odd.Background},
                                               {"cardset.txt", FormatCardManifest(ManifestForCardSet(odd))}}));
}

}  // namespace
}  // namespace kvt::kvx
