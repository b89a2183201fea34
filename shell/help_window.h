#pragma once

#include <QMainWindow>
#include <QString>
#include <filesystem>

class QTextBrowser;

namespace kvt {

// The help: our HTML pages in a browser window with back, forward and contents.
class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kContentsTopic = "playing_corvane_gaming_system.htm";

    explicit HelpWindow(std::filesystem::path help_folder, QWidget* parent = nullptr);

    // Shows a page (a file name of the help folder) and brings the window up.
    // A missing page is said on the page itself.
    void ShowTopic(const QString& topic);
    // The file name of the page shown.
    QString CurrentTopic() const;
    QTextBrowser* Browser() const { return browser_; }

    // The one help window of the program, made on first use.
    static HelpWindow* Open(const std::filesystem::path& help_folder, const QString& topic);
    static HelpWindow* Instance();

private:
    std::filesystem::path folder_;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace kvt
