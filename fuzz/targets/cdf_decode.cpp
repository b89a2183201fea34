// The working definition file (CurCards.cdf). Accepted bytes encode back to
// the same bytes; refused ones leave the output alone.

#include "engine/card_set_codec.h"
#include "fuzz/fuzz_targets.h"

namespace kvt::fuzz {
namespace {

constexpr const char* kName = "cdf_decode";

CardSetDef Sentinel() {
    CardSetDef def;
    def.Header = 0x4321;
    def.Text1 = "untouched";
    def.CardDefs[3].Copies = 77;
    return def;
}

}  // namespace

int CdfDecode(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CardSetDef def = Sentinel();
    const Status decoded = DecodeCardSetDef(bytes, def);
    if (!decoded) {
        KVT_FUZZ_CHECK(!decoded.message().empty(), kName, "a refusal without a message");
        KVT_FUZZ_CHECK(def == Sentinel(), kName, "a refused definition changed the output");
        return 0;
    }
    KVT_FUZZ_CHECK(ValidateCardSetDef(def).ok(), kName, "an accepted definition fails validation");
    KVT_FUZZ_CHECK(def.GameTitle.size() == static_cast<std::size_t>(kTitleLength), kName,
                   "the title is not " + std::to_string(kTitleLength) + " characters");
    const std::string again = EncodeCardSetDef(def);
    KVT_FUZZ_CHECK(again == bytes, kName,
                   "encoding an accepted definition gives other bytes (" + std::to_string(again.size()) +
                       " against " + std::to_string(size) + ", first difference at offset " +
                       std::to_string(FirstDifference(again, bytes)) + ")");
    return 0;
}

}  // namespace kvt::fuzz
