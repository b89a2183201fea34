#include "tools/cardart/felt_tile.h"

#include <QColor>
#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "core/card.h"

namespace kvt::cardart {
namespace {

// Small repeatable noise that needs no library: a fixed integer hash.
double Hash(int x, int y, int salt) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(salt) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFFF) / 0xFFFFFF - 0.5;
}

}  // namespace

void PaintFeltTile(QImage& face) {
    constexpr int kTileW = kFaceWidth - 1;
    constexpr int kTileH = kFaceHeight - 1;
    const auto wrap = [](int v, int period) { return ((v % period) + period) % period; };
    // Fine grain blurred over its neighbours (wrapping), plus a few faint
    // diagonal fibres; nothing coarser than a few pixels, so no seams or
    // visible repeat when tiled across the table.
    std::array<std::array<double, kTileW>, kTileH> grain{};
    for (int v = 0; v < kTileH; ++v)
        for (int u = 0; u < kTileW; ++u) {
            double sum = 0;
            for (int dv = -1; dv <= 1; ++dv)
                for (int du = -1; du <= 1; ++du)
                    sum += Hash(wrap(u + du, kTileW), wrap(v + dv, kTileH), 1);
            grain[v][u] = sum / 9 * 2.2 + Hash(u, v, 2) * 0.6;
        }
    for (int f = 0; f < 90; ++f) {
        const int u0 = static_cast<int>((Hash(f, 0, 3) + 0.5) * kTileW);
        const int v0 = static_cast<int>((Hash(f, 1, 3) + 0.5) * kTileH);
        const double shade = Hash(f, 2, 3) * 0.9;
        const int dir = Hash(f, 3, 3) < 0 ? 1 : -1;
        for (int k = 0; k < 5; ++k) {
            double& g = grain[wrap(v0 + k, kTileH)][wrap(u0 + dir * k, kTileW)];
            g += shade;
        }
    }
    const QColor base(0x1C, 0x6E, 0x40);
    for (int y = 0; y < kFaceHeight; ++y)
        for (int x = 0; x < kFaceWidth; ++x) {
            const double g = grain[wrap(y - 1, kTileH)][wrap(x - 1, kTileW)];
            const auto channel = [g](int c, double weight) {
                return std::clamp(static_cast<int>(std::lround(c + g * weight)), 0, 255);
            };
            face.setPixelColor(x, y, QColor(channel(base.red(), 14), channel(base.green(), 30),
                                            channel(base.blue(), 18)));
        }
}

}  // namespace kvt::cardart
