#include "tools/cardart/card_style.h"

#include <array>

namespace kvt::cardart {

QColor MarginColor() { return QColor(0x15, 0x55, 0x31); }

QColor GroupColor(int group) {
    // Crimson, amber, emerald, sapphire: far apart in hue and in lightness,
    // so they still separate for the common forms of colour blindness.
    static const std::array<QColor, 4> kPalette{
        QColor(0xC4, 0x1E, 0x3A), QColor(0xEC, 0x98, 0x00),
        QColor(0x0B, 0x9A, 0x6D), QColor(0x1F, 0x55, 0xB8)};
    if (group <= 0) return QColor(0x2A, 0x2A, 0x33);
    const int i = (group - 1) % 4;
    const int round = (group - 1) / 4;
    if (round == 0) return kPalette[i];
    QColor c = kPalette[i].toHsv();
    return QColor::fromHsv((c.hsvHue() + 37 * round) % 360, c.hsvSaturation(), c.value());
}

QFont CardFont(qreal pixel_size) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixel_size));
    font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace kvt::cardart
