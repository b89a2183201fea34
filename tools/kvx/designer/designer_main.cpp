#include "tools/kvx/designer/designer_main.h"

#include <QApplication>
#include <filesystem>

#include "tools/kvx/designer/designer_window.h"

namespace kvt::kvx {

int RunDesigner(int argc, char** argv, const std::optional<std::string>& path) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvx"));
    DesignerWindow window;
    window.show();
    if (path && !path->empty()) window.OpenFile(*path);
    return QApplication::exec();
}

bool IsDesignerArgument(const std::string& arg) {
    if (arg.empty()) return true;
    if (arg.front() == '-') return false;
    std::error_code ec;
    if (std::filesystem::is_regular_file(arg, ec)) return true;
    const std::string ext = std::filesystem::path(arg).extension().string();
    return ext.size() == 4 && (ext == ".cds" || ext == ".CDS" || ext == ".cdf" || ext == ".CDF");
}

}  // namespace kvt::kvx
