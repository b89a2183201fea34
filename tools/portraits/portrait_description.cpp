#include "tools/portraits/portrait_description.h"

#include <QFile>
#include <QRegularExpression>

namespace kvt::portraits {

namespace {

// A value may be written bare or in double quotes (with \" and \\ escapes).
bool Unquote(const QString& raw, QString& out, QString& error) {
    if (!raw.startsWith('"')) {
        out = raw;
        return true;
    }
    out.clear();
    for (qsizetype i = 1; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == '"') {
            if (i + 1 != raw.size()) {
                error = "text after the closing quote";
                return false;
            }
            return true;
        }
        if (c == '\\') {
            if (++i == raw.size()) break;
            out += raw[i];
            continue;
        }
        out += c;
    }
    error = "missing closing quote";
    return false;
}

// Drops a trailing "# comment" that is not inside quotes.
QString StripComment(const QString& value) {
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && quoted) {
            ++i;
            continue;
        }
        if (value[i] == '"') quoted = !quoted;
        if (value[i] == '#' && !quoted) return value.left(i).trimmed();
    }
    return value.trimmed();
}

bool ParseColour(const QString& text, QColor& out, QString& error) {
    static const QRegularExpression hex("^#[0-9a-fA-F]{6}$");
    if (!hex.match(text).hasMatch()) {
        error = "a colour is written #rrggbb, not \"" + text + "\"";
        return false;
    }
    out = QColor(text);
    return true;
}

bool ParseChoice(const QString& text, const QStringList& allowed, QString& out, QString& error) {
    if (!allowed.contains(text)) {
        error = "\"" + text + "\" is not one of: " + allowed.join(", ");
        return false;
    }
    out = text;
    return true;
}

// "glasses:#333333, earrings:#e0b040" - a colour after each kind is optional.
bool ParseAccessories(const QString& text, std::vector<Accessory>& out, QString& error) {
    out.clear();
    for (const QString& item : text.split(',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.trimmed().split(':');
        Accessory a;
        if (!ParseChoice(parts[0].trimmed(), AccessoryKinds(), a.kind, error)) return false;
        a.colour = QColor("#3a3a3a");
        if (parts.size() > 2) {
            error = "an accessory is written kind or kind:#rrggbb";
            return false;
        }
        if (parts.size() == 2 && !ParseColour(parts[1].trimmed(), a.colour, error)) return false;
        out.push_back(a);
    }
    return true;
}

}  // namespace

bool PortraitDescription::Has(const QString& kind) const {
    for (const Accessory& a : accessories)
        if (a.kind == kind) return true;
    return false;
}

QColor PortraitDescription::AccessoryColour(const QString& kind, const QColor& fallback) const {
    for (const Accessory& a : accessories)
        if (a.kind == kind) return a.colour;
    return fallback;
}

QStringList HairStyles() {
    return {"short", "side-part", "afro", "curly", "long", "twin-buns", "tousled", "bald"};
}

QStringList TopStyles() {
    return {"tee", "vneck", "collar", "cardigan", "hoodie", "turtleneck"};
}

QStringList AccessoryKinds() {
    return {"glasses", "earrings", "headband", "beard", "moustache", "freckles",
            "hairclip", "scarf", "beanie", "bowtie", "headphones"};
}

bool ReadPortraitDescription(const QString& path, PortraitDescription& out, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = path + ": " + file.errorString();
        return false;
    }
    out = PortraitDescription();
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const qsizetype eq = line.indexOf('=');
        const QString where = path + ": line " + QString::number(number) + ": ";
        if (eq < 0) {
            error = where + "expected key = value";
            return false;
        }
        const QString key = line.left(eq).trimmed();
        QString value;
        QString why;
        if (!Unquote(StripComment(line.mid(eq + 1)), value, why)) {
            error = where + why;
            return false;
        }
        bool ok = true;
        if (key == "figure") ok = ParseChoice(value, {"person", "figure"}, out.figure, why);
        else if (key == "caption") out.caption = value;
        else if (key == "background") ok = ParseColour(value, out.background, why);
        else if (key == "backdrop")
            ok = ParseChoice(value, {"plain", "dots", "rays", "stripes", "bubbles"}, out.backdrop, why);
        else if (key == "skin") ok = ParseColour(value, out.skin, why);
        else if (key == "hair") ok = ParseColour(value, out.hair, why);
        else if (key == "hair-style") ok = ParseChoice(value, HairStyles(), out.hair_style, why);
        else if (key == "eyes") ok = ParseColour(value, out.eyes, why);
        else if (key == "eye-style") ok = ParseChoice(value, {"round", "happy", "wide"}, out.eye_style, why);
        else if (key == "brows") ok = ParseChoice(value, {"soft", "raised", "bold"}, out.brows, why);
        else if (key == "mouth")
            ok = ParseChoice(value, {"smile", "grin", "calm", "smirk", "open"}, out.mouth, why);
        else if (key == "top") ok = ParseColour(value, out.top, why);
        else if (key == "top-trim") ok = ParseColour(value, out.top_trim, why);
        else if (key == "top-style") ok = ParseChoice(value, TopStyles(), out.top_style, why);
        else if (key == "accessories") ok = ParseAccessories(value, out.accessories, why);
        else {
            ok = false;
            why = "unknown key \"" + key + "\"";
        }
        if (!ok) {
            error = where + why;
            return false;
        }
    }
    return true;
}

}  // namespace kvt::portraits
