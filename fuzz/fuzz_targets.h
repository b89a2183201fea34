#pragma once

// Entry points of the fuzz targets. Each takes one input and returns 0; a
// broken promise of the code under test stops the run through Fail(). The
// libFuzzer programs (KVT_FUZZ, clang) and the replay test (any compiler)
// call the very same functions.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kvt::fuzz {

int CdsDecode(const std::uint8_t* data, std::size_t size);
int CdfDecode(const std::uint8_t* data, std::size_t size);
int CdsLoad(const std::uint8_t* data, std::size_t size);
int ProfileRead(const std::uint8_t* data, std::size_t size);
int DpfLoad(const std::uint8_t* data, std::size_t size);
int GameRecordRead(const std::uint8_t* data, std::size_t size);
int TableSaveRead(const std::uint8_t* data, std::size_t size);
int ManifestParse(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name;  // folder name under fuzz/corpus and fuzz/regressions
    int (*entry)(const std::uint8_t*, std::size_t);
};
inline constexpr Target kTargets[] = {
    {"cds_decode", CdsDecode},
    {"cdf_decode", CdfDecode},
    {"cds_load", CdsLoad},
    {"profile_read", ProfileRead},
    {"dpf_load", DpfLoad},
    {"game_record_read", GameRecordRead},
    {"table_save_read", TableSaveRead},
    {"manifest_parse", ManifestParse},
};

// Reports a broken promise and stops: by default with abort(), which
// libFuzzer records as a crash together with the input. The replay test
// installs a handler that throws instead, so it can name the input file.
[[noreturn]] void Fail(const char* target, const std::string& what);
using FailureHandler = void (*)(const std::string& message);
void SetFailureHandler(FailureHandler handler);

// A folder of this process for the targets that need files: under /dev/shm
// when there is one (fast), else the system's temporary folder. Created on
// first use and removed when the process ends.
const std::filesystem::path& ScratchFolder();

// Where two byte strings first differ, for messages.
std::size_t FirstDifference(std::string_view a, std::string_view b);

}  // namespace kvt::fuzz

#define KVT_FUZZ_CHECK(condition, target, what)                        \
    do {                                                               \
        if (!(condition)) ::kvt::fuzz::Fail((target), (what));         \
    } while (0)
