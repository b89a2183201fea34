#include "tools/kvx/designer/designer_main.h"

#include <QApplication>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "tools/kvx/designer/designer_window.h"
#include "tools/kvx/designer/player_window.h"

namespace kvt::kvx {

namespace {

bool IsSet(const char* value) { return value && *value; }

}  // namespace

std::string DesignerDisplayFault(const char* qpa_platform, const char* x_display, const char* wayland_display) {
    if (IsSet(qpa_platform) || IsSet(x_display) || IsSet(wayland_display)) return {};
    return "there is no display to open the designer window on";
}

int RunDesigner(int argc, char** argv, const std::optional<std::string>& path) {
    if (const std::string fault = DesignerDisplayFault(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                                       std::getenv("WAYLAND_DISPLAY"));
        !fault.empty()) {
        std::cerr << "kvx: " << fault << "\n(kvx --help lists the commands, which need none)\n";
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvx"));
    // A player file opens in the player-file window, anything else in the designer.
    if (path && IsPlayerFileName(*path)) {
        PlayerWindow window;
        window.show();
        window.OpenFile(*path);
        return QApplication::exec();
    }
    DesignerWindow window;
    window.show();
    if (path && !path->empty()) window.OpenFile(*path);
    return QApplication::exec();
}

bool IsPlayerFileName(const std::string& arg) {
    std::string ext = std::filesystem::path(arg).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".dpf";
}

bool IsDesignerArgument(const std::string& arg) {
    if (arg.empty()) return true;
    if (arg.front() == '-') return false;
    std::error_code ec;
    if (std::filesystem::is_regular_file(arg, ec)) return true;
    const std::string ext = std::filesystem::path(arg).extension().string();
    return IsPlayerFileName(arg) ||
           (ext.size() == 4 && (ext == ".cds" || ext == ".CDS" || ext == ".cdf" || ext == ".CDF"));
}

}  // namespace kvt::kvx
