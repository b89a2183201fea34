#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>

class QLabel;
class QPushButton;

namespace kvt {

// "Game Over": the four players one after the other, each with its picture
// while its win or lose clip plays; then the Exit button closes it.
class GameOverFrm : public QDialog {
    Q_OBJECT

public:
    explicit GameOverFrm(QWidget* parent = nullptr);

    void Open(int winner);
    // One player's turn: the picture (a missing file shows none) and the line under it.
    void ShowPlayer(int player, const QString& name, const std::filesystem::path& picture);

    QLabel* Image1() const { return image_; }
    QLabel* Caption() const { return caption_; }
    QPushButton* ExitBut() const { return exit_; }
    int ShownPlayer() const { return shown_player_; }

private:
    QLabel* image_ = nullptr;
    QLabel* caption_ = nullptr;
    QPushButton* exit_ = nullptr;
    int winner_ = 0;
    int shown_player_ = 0;
};

}  // namespace kvt
