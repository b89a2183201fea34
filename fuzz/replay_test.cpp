// Feeds every committed input of every fuzz target to the target's entry
// function: the crash inputs kept in fuzz/regressions/<target>/ and the
// minimised corpus in fuzz/corpus/<target>/. Built with the ordinary
// compiler, so the normal and the sanitizer test runs replay them too.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "fuzz/fuzz_targets.h"

namespace kvt::fuzz {

// Test names and failure messages show the target by its name.
void PrintTo(const Target& target, std::ostream* os) { *os << target.name; }

namespace {

namespace fs = std::filesystem;

struct CheckFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Throw(const std::string& message) { throw CheckFailed(message); }

std::vector<fs::path> InputsIn(const fs::path& folder) {
    std::vector<fs::path> inputs;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
            inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Replay : public ::testing::TestWithParam<Target> {
protected:
    void SetUp() override { SetFailureHandler(Throw); }
    void TearDown() override { SetFailureHandler(nullptr); }

    // Runs every input of the folder; returns how many there were.
    std::size_t RunFolder(const char* kind) {
        const fs::path folder = fs::path(KVT_FUZZ_SOURCE_DIR) / kind / GetParam().name;
        const auto inputs = InputsIn(folder);
        for (const fs::path& input : inputs) {
            const std::string bytes = Bytes(input);
            try {
                GetParam().entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            } catch (const CheckFailed& e) {
                ADD_FAILURE() << input << ": " << e.what();
            }
        }
        return inputs.size();
    }
};

TEST_P(Replay, RegressionInputs) {
    const std::size_t n = RunFolder("regressions");
    RecordProperty("inputs", static_cast<int>(n));
}

TEST_P(Replay, CorpusInputs) {
    const std::size_t n = RunFolder("corpus");
    EXPECT_GT(n, 0u) << "no committed corpus for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvt::fuzz
