// One libFuzzer program per target: KVT_FUZZ_ENTRY names its entry function.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return KVT_FUZZ_ENTRY(data, size);
}
