#include <cstdint>
#include <limits>

#include "core/card.h"
#include "engine/card_text.h"
#include "tools/kvx/card_manifest.h"
#include "tools/kvx/manifest_syntax.h"

namespace kvt::kvx {
namespace {

// The codes that have names; the names themselves come from the engine.
constexpr ActionCode kNamedActions[] = {
    kActionNone,     kActionPassLeft,  kActionPassRight, kActionPassAcross, kActionDrawDeck,
    kActionDrawRight, kActionDrawLeft, kActionDrawAcross, kActionDiscard,   kActionSkip,
    kActionReverse,  kActionNeverDealt, kActionBackgroundCell, kActionCardBack,
};

}  // namespace

std::string ActionName(int action) { return kvt::ActionName(action); }

bool ParseActionName(std::string_view text, std::int16_t& action) {
    for (const ActionCode code : kNamedActions) {
        if (kvt::ActionName(code) == text) {
            action = code;
            return true;
        }
    }
    std::int64_t number = 0;
    std::string ignored;
    if (!ParseManifestInteger(text, std::numeric_limits<std::int16_t>::min(),
                              std::numeric_limits<std::int16_t>::max(), number, ignored))
        return false;
    action = static_cast<std::int16_t>(number);
    return true;
}

}  // namespace kvt::kvx
