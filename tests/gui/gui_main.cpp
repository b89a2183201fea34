#include <QDir>
#include <cstring>

#include "gui_support.h"

namespace kvt::gui_test {
MainOption& ExtraMainOption() {
    static MainOption option;
    return option;
}
}  // namespace kvt::gui_test

// The windows draw offscreen unless told otherwise, and nothing the tests do
// reaches the real settings or data folders.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(home.path()).filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(home.path()).filePath("data")));
    qunsetenv("KVT_PLAYER_NAME");
    qunsetenv("KVT_SEED");

    QApplication app(argc, argv);
    const kvt::gui_test::MainOption& option = kvt::gui_test::ExtraMainOption();
    if (option.name && argc > 1 && std::strcmp(argv[1], option.name) == 0) return option.run();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
