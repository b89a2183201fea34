#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

namespace kvt::portraits {

// One accessory of a character, such as "glasses" or "earrings", in its colour.
struct Accessory {
    QString kind;
    QColor colour;
};

// Everything kvt-portrait needs to paint one character. Read from a small
// "key = value" file (portrait.txt) kept beside each player's manifest.
struct PortraitDescription {
    // "person" paints a face; "figure" paints the neutral stand-in for the
    // human at the table: a plain head and shoulders with a caption.
    QString figure = "person";
    QString caption;                 // figure only, e.g. "You"

    QColor background = QColor("#dfe7ef");
    QString backdrop = "plain";      // plain, dots, rays, stripes, bubbles

    QColor skin = QColor("#e0b48e");
    QColor hair = QColor("#3b2a20");
    QString hair_style = "short";    // see HairStyles() for the list
    QColor eyes = QColor("#2a1d16");
    QString eye_style = "round";     // round, happy, wide
    QString brows = "soft";          // soft, raised, bold
    QString mouth = "smile";         // smile, grin, calm, smirk, open

    QColor top = QColor("#4a6fa5");  // clothing
    QColor top_trim = QColor("#f2f2f2");
    QString top_style = "tee";       // tee, vneck, collar, cardigan, hoodie, turtleneck

    std::vector<Accessory> accessories;

    bool Has(const QString& kind) const;
    QColor AccessoryColour(const QString& kind, const QColor& fallback) const;
};

// The names each style key accepts; the reader rejects anything else so that
// a typing mistake shows up at build time instead of as a bald character.
QStringList HairStyles();
QStringList TopStyles();
QStringList AccessoryKinds();

// Reads a portrait description. On failure `error` names the line at fault.
bool ReadPortraitDescription(const QString& path, PortraitDescription& out, QString& error);

}  // namespace kvt::portraits
