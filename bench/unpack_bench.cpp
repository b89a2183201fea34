// Unpacking a 3 MB card set into the working files, against a plain buffered
// copy of the same file in the same run. Runs alternate so that the machine's
// changing speed hits both sides alike; medians are reported.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/card_set_codec.h"
#include "engine/game.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kBitmap = 2'600'000, kSound = 300'000, kBackground = 100'000;

kvt::CardSetFile ThreeMegabyteSet() {
    kvt::CardSetFile file;
    for (int g = 1; g <= 4; ++g)
        for (int v = 1; v <= 9; ++v) {
            kvt::Card& c = file.Def.CardDefs[(g - 1) * 9 + v - 1];
            c.Group = static_cast<std::int16_t>(g);
            c.Value = static_cast<std::int16_t>(v);
            c.Action = kvt::kActionDiscard;
            c.Copies = 2;
        }
    file.Bitmap.assign(kBitmap, 'b');
    file.SoundSize = kSound;
    file.Sound.assign(kSound, 's');
    file.Background.assign(kBackground, 'g');
    return file;
}

// The same copy, written under a temporary name and renamed over the
// previous file, as every working file is.
void PlainCopy(const fs::path& from, const fs::path& to);

void CopyAndReplace(const fs::path& from, const fs::path& to) {
    fs::path temporary = to;
    temporary += ".tmp";
    PlainCopy(from, temporary);
    fs::rename(temporary, to);
}

void PlainCopy(const fs::path& from, const fs::path& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    if (!in || !out) std::abort();
    std::vector<char> buffer(1 << 16);
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) std::fwrite(buffer.data(), 1, n, out);
    std::fclose(in);
    std::fclose(out);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F>
double TimeMs(F&& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const fs::path dir = fs::temp_directory_path() / ("kvt-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    kvt::Folders folders{dir / "kvt.ini", dir / "work", dir / "shared"};
    const fs::path source = dir / "big.cds";
    {
        const std::string bytes = kvt::EncodeCardSetFile(ThreeMegabyteSet());
        std::FILE* f = std::fopen(source.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    kvt::LoadNotices view;
    auto game = std::make_unique<kvt::Game>(folders, view, 1);

    std::vector<double> copy_ms, replace_ms, unpack_ms;
    for (int i = 0; i < runs + 1; ++i) {
        const double c = TimeMs([&] { PlainCopy(source, dir / "copy.bin"); });
        const double r = TimeMs([&] { CopyAndReplace(source, dir / "replaced.bin"); });
        const double u = TimeMs([&] {
            if (!game->LoadCardSetFile(source)) std::abort();
        });
        if (i == 0) continue;  // warm-up
        copy_ms.push_back(c);
        replace_ms.push_back(r);
        unpack_ms.push_back(u);
    }
    const double copy = Median(copy_ms), replace = Median(replace_ms), unpack = Median(unpack_ms);
    std::printf("card set: %ju bytes, %d runs\n", static_cast<std::uintmax_t>(fs::file_size(source)), runs);
    std::printf("plain buffered copy   median %8.3f ms\n", copy);
    std::printf("copy, rename over old median %8.3f ms\n", replace);
    std::printf("unpack to work files  median %8.3f ms\n", unpack);
    std::printf("ratio unpack / copy   %.2f  (goal: at most 2.00)\n", unpack / copy);
    std::printf("ratio unpack / copy with rename  %.2f\n", unpack / replace);
    fs::remove_all(dir);
    return 0;
}
