// kvt-portrait DESCRIPTION OUT.bmp
// kvt-portrait --sheet OUT.png DESCRIPTION...
//
// Paints a player's picture from its portrait description (portrait.txt) and
// saves it as a 24-bit BMP, 120 x 120 pixels. With --sheet it paints several
// and lays them out, enlarged, on one contact sheet for review. Runs
// headless: it is a build step.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QRegularExpression>
#include <cstdio>

#include "tools/portraits/contact_sheet.h"
#include "tools/portraits/portrait_description.h"
#include "tools/portraits/portrait_painter.h"

namespace {

using namespace kvt::portraits;

int Fail(const QString& message) {
    std::fprintf(stderr, "kvt-portrait: %s\n", qPrintable(message));
    return 1;
}

bool Save(const QImage& image, const QString& path, const char* format, QString& error) {
    QImageWriter writer(path, format);
    if (writer.write(image)) return true;
    error = "cannot write " + path + ": " + writer.errorString();
    return false;
}

// The label under a portrait on the sheet: the player's name from the
// manifest beside the description, else its caption, else its folder's name.
QString LabelFor(const QString& description_path, const PortraitDescription& d) {
    const QFileInfo info(description_path);
    QFile manifest(info.dir().filePath("player.txt"));
    if (manifest.open(QIODevice::ReadOnly | QIODevice::Text)) {
        static const QRegularExpression name_line("^\\s*name\\s*=\\s*\"([^\"]*)\"");
        while (!manifest.atEnd()) {
            const auto m = name_line.match(QString::fromUtf8(manifest.readLine()));
            if (m.hasMatch()) return m.captured(1);
        }
    }
    if (!d.caption.isEmpty()) return d.caption;
    return info.dir().dirName();
}

// A build step has no use for the user's folders; Qt's note that the runtime
// folder is unset would only clutter the build log.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith("QStandardPaths:")) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
    // Painting needs a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietHandler);
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    QString error;
    if (args.size() >= 3 && args[0] == "--sheet") {
        QList<SheetEntry> entries;
        for (const QString& path : args.mid(2)) {
            PortraitDescription d;
            if (!ReadPortraitDescription(path, d, error)) return Fail(error);
            entries.append({PaintPortrait(d), LabelFor(path, d)});
        }
        if (!Save(PaintContactSheet(entries, 3), args[1], "png", error)) return Fail(error);
        return 0;
    }
    if (args.size() != 2 || args[0].startsWith("--")) {
        std::fprintf(stderr,
                     "usage: kvt-portrait DESCRIPTION OUT.bmp\n"
                     "       kvt-portrait --sheet OUT.png DESCRIPTION...\n");
        return 2;
    }
    PortraitDescription d;
    if (!ReadPortraitDescription(args[0], d, error)) return Fail(error);
    // A player picture is a 24-bit BMP, which is what RGB888 saves as.
    const QImage picture = PaintPortrait(d).convertToFormat(QImage::Format_RGB888);
    if (!Save(picture, args[1], "bmp", error)) return Fail(error);
    return 0;
}
