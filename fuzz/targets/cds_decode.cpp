// Whole card-set files (.cds) decoded in memory. Every input is either
// refused with a message, leaving the output alone, or accepted; an accepted
// file encodes back to exactly the same bytes, and the three ways of decoding
// it (layout through reads, image in place, owned copy) agree.

#include "engine/card_set_codec.h"
#include "fuzz/fuzz_targets.h"

namespace kvt::fuzz {
namespace {

constexpr const char* kName = "cds_decode";

CardSetFile Sentinel() {
    CardSetFile f;
    f.Tag = {'x', 'x', 'x', 'x'};
    f.Def.Header = 0x1234;
    f.Def.AuthorName = "untouched";
    f.Bitmap = "untouched";
    f.SoundSize = 4321;
    return f;
}

}  // namespace

int CdsDecode(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    CardSetFile file = Sentinel();
    const Status decoded = DecodeCardSetFile(bytes, file);

    CardSetImage image;
    const Status in_place = DecodeCardSetImage(bytes, image);
    KVT_FUZZ_CHECK(decoded.ok() == in_place.ok(), kName, "the image and the file decoders disagree");

    // The layout decoder must never ask for bytes the file does not have.
    const ReadAt bounded = [&](std::uint64_t offset, std::size_t n, char* out) {
        KVT_FUZZ_CHECK(offset <= size && n <= size - offset, kName,
                       "the layout decoder read past the end of the file (offset " +
                           std::to_string(offset) + ", " + std::to_string(n) + " bytes, file of " +
                           std::to_string(size) + ")");
        bytes.copy(out, n, static_cast<std::size_t>(offset));
        return true;
    };
    CardSetLayout layout;
    const Status laid_out = DecodeCardSetLayout(size, bounded, layout);
    KVT_FUZZ_CHECK(decoded.ok() == laid_out.ok(), kName, "the layout and the file decoders disagree");

    if (!decoded) {
        KVT_FUZZ_CHECK(!decoded.message().empty(), kName, "a refusal without a message");
        KVT_FUZZ_CHECK(file == Sentinel(), kName, "a refused file changed the output");
        return 0;
    }

    KVT_FUZZ_CHECK(ValidateCardSetDef(file.Def).ok(), kName, "an accepted file fails validation");
    KVT_FUZZ_CHECK(file.Bitmap.size() == layout.Bitmap.Size && file.Sound.size() == layout.Sound.Size &&
                       file.Background.size() == layout.Background.Size && file.SoundSize == layout.SoundSize,
                   kName, "the layout and the decoded file disagree on the embedded files");
    KVT_FUZZ_CHECK(image.Bitmap == file.Bitmap && image.Sound == file.Sound &&
                       image.Background == file.Background && image.Def == file.Def,
                   kName, "the image and the decoded file disagree");

    const std::string again = EncodeCardSetFile(file);
    KVT_FUZZ_CHECK(again == bytes, kName,
                   "encoding an accepted card set gives other bytes (" + std::to_string(again.size()) +
                       " against " + std::to_string(size) + ", first difference at offset " +
                       std::to_string(FirstDifference(again, bytes)) + ")");
    return 0;
}

}  // namespace kvt::fuzz
