#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <array>
#include <filesystem>
#include <functional>

#include "engine/player_file.h"

class QLabel;
class QLineEdit;
class QMediaPlayer;
class QSpinBox;
class QTableWidget;

namespace kvt::kvx {

// Edits a player file: the opponent's name, personality numbers, picture and
// voice clips. It is written as `kvx pack-player` writes one, atomically.
class PlayerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit PlayerWindow(QWidget* parent = nullptr);
    ~PlayerWindow() override;

    const PlayerFileContents& Contents() const { return file_; }
    const std::filesystem::path& Path() const { return path_; }
    bool IsModified() const { return modified_; }

    // Commands without their dialogs; each reports a failure and returns false
    // and leaves the player as it was.
    bool OpenFile(const std::filesystem::path& path);
    bool SaveFile(const std::filesystem::path& path);
    bool ImportPicture(const QString& path);
    // Gives the clip of a slot (see CanonicalClipSlot) the WAV file's bytes.
    bool ImportClip(int slot, const QString& path);
    void RemoveClip(int slot);
    // The personality numbers in the order shown: TraitA to TraitD, SoundChance.
    void SetNumber(int which, int value);
    void SetName(const QString& name);

    // The clip slots shown, one table row each.
    static constexpr int kClipSlots = 35;

    std::function<void(const QString& text)> message_sink;
    std::function<QMessageBox::StandardButton(const QString& text)> ask_to_save;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildHeader();
    void Report(const QString& text);
    bool MayDiscardChanges();
    void OpenCommand();
    bool SaveCommand();
    bool SaveAsCommand();
    void ImportClipCommand();
    void PlayClip(int slot);
    void Changed();
    void ShowPlayer();
    int ClipOfSlot(int slot) const;
    int CurrentSlot() const;

    PlayerFileContents file_;
    std::filesystem::path path_;
    bool modified_ = false;
    QLineEdit* name_ = nullptr;
    std::array<QSpinBox*, 5> numbers_{};
    QLabel* picture_ = nullptr;
    QTableWidget* clips_ = nullptr;
    QMediaPlayer* player_ = nullptr;
};

// The personality number `which` (0..4: TraitA..TraitD, SoundChance) of a header.
std::int16_t& PersonalityNumber(PlayerRec& header, int which);

}  // namespace kvt::kvx
