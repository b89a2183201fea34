// The baseline for the table's start-up and memory figures: the least a Qt
// Widgets program does to show one window with a line of text.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Minimal window");
    window.setCentralWidget(new QLabel("A minimal Qt Widgets window", &window));
    window.resize(370, 265);
    window.show();
    return QApplication::exec();
}
