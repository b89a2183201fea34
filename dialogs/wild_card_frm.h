#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "dialogs/frm_support.h"
#include "core/move.h"

class QPushButton;
class QToolButton;

namespace kvt {

class PictureClip;
struct CardSetDef;

// "Choose Card": after a wild card the human names the group to follow. One
// button per group with a card of that group; the window cannot be left
// without a choice.
class WildCardFrm : public QDialog {
    Q_OBJECT

public:
    // Groups 1..10; group 10 gets an eleventh button of its own.
    static constexpr int kButtons = 11;

    WildCardFrm(const std::vector<GroupChoice>& choices, const CardSetDef& set, const PictureClip& clip,
                FrmMessage message = {}, QWidget* parent = nullptr);

    // The chosen definition's index, or -1 while nothing is chosen.
    int WildGroup() const { return wild_group_; }
    QToolButton* GroupButton(int group) const { return buttons_.at(static_cast<std::size_t>(group)); }
    QPushButton* OkBut() const { return ok_; }

    // Shows the window over the application and returns at once; finished
    // tells when a group was chosen (WildGroup).
    void Ask();

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // A digit chooses its group (0 for group 10), as a click on its button does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Steps 1 and 2 of OK: the card index of the last button clicked, or -1.
    int Chosen() const;
    bool CheckChoice();

    struct Entry {
        bool Selected = false;
        int CardIndex = -1;
    };
    std::array<Entry, kButtons> choice_{};
    std::array<QToolButton*, kButtons> buttons_{};
    QPushButton* ok_ = nullptr;
    FrmMessage message_;
    int wild_group_ = -1;
};

}  // namespace kvt
