#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>

#include "dialogs/frm_support.h"

class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;
class QTimer;
class QTreeView;

namespace kvt {

class Game;

// One seat of the opponent choice, drawn as a computer screen showing the
// player dropped on it.
class SeatScreen : public QWidget {
    Q_OBJECT

public:
    SeatScreen(int player, QWidget* parent = nullptr);

    struct Occupant {
        QString File;
        QString Name;
        QPixmap Picture;
    };
    const Occupant& Current() const { return occupant_; }
    void SetOccupant(Occupant occupant);
    bool HasPicture() const { return !occupant_.Picture.isNull(); }
    QSize sizeHint() const override { return {150, 150}; }

signals:
    void Dropped(int player);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int player_;
    Occupant occupant_;
    bool hovered_ = false;
};

// "Choose Players": player files are previewed from a folder and dragged
// onto the seats of Player 2, 3 and 4; OK unpacks all three.
class PlayerSel : public QDialog {
    Q_OBJECT

public:
    struct Hooks {
        FrmMessage message;                                      // plain message boxes
        std::function<void(const std::filesystem::path&)> play;  // a clip, played to its end
        std::function<void(const QString& topic)> help;
        std::function<void()> chosen;  // OK unpacked every seat: deal for the new opponents
        std::function<void()> names;   // some seats changed, the table's names need redrawing
        // A move is running on the table: the opponents change only after it,
        // so `after_move` keeps the step until then.
        std::function<bool()> move_running;
        std::function<void(std::function<void()> step)> after_move;
    };

    PlayerSel(Game& game, Hooks hooks, QWidget* parent = nullptr);

    // The folder of the shipped opponents.
    std::filesystem::path SamplesFolder() const;
    // Shows the file list of a folder.
    void ShowFolder(const QString& folder);
    // The file the list has selected (what a drop takes).
    void SelectFile(const QString& path);
    QString SelectedFile() const { return selected_; }
    // Double-click: the picture and the selection clip of a file.
    bool PreviewFile(const QString& path);
    // A drop on the seat of `player` (2..4).
    void DropOnSeat(int player);
    // Fills the seats with the first three shipped opponents.
    void UseSampleOpponents();
    // OK: true when every seat was unpacked and the window went away. During
    // a move the window goes away at once and the seats are unpacked after it.
    bool Ok();

    SeatScreen* Seat(int player) const { return seats_.at(static_cast<std::size_t>(player)); }
    QLabel* Image4() const { return preview_; }
    QPushButton* OkBut() const { return ok_; }
    QPushButton* CancelBut() const { return cancel_; }
    QPushButton* HelpBut() const { return help_; }
    QPushButton* SamplesBut() const { return samples_; }
    QListView* File1() const { return files_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The first seat without a player: its message, or empty when all are filled.
    bool SeatsChosen();
    // Unpacks the three seats; false (the window showing why) when one was refused.
    bool UnpackSeats();
    void Message(const QString& text);

    Game& game_;
    Hooks hooks_;
    QFileSystemModel* folder_model_ = nullptr;
    QTimer* reveal_ = nullptr;  // scrolls the current folder into view
    QFileSystemModel* file_model_ = nullptr;
    QTreeView* folders_ = nullptr;
    QListView* files_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* preview_name_ = nullptr;
    QString preview_file_;
    QString preview_player_name_;
    QString selected_;
    std::array<SeatScreen*, 5> seats_{};
    std::array<SeatScreen::Occupant, 5> confirmed_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* samples_ = nullptr;
};

}  // namespace kvt
