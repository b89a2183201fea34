#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <functional>

class QLabel;

namespace kvt {

struct Card;

// "View": the card under the pointer, its point value, whether it may be
// played now and what it does.
class CardViewFrm : public QDialog {
    Q_OBJECT

public:
    explicit CardViewFrm(QWidget* parent = nullptr);

    // What a card's action does, as the viewer words it; `hold_grid` for a
    // card of the hold grid. Empty for a card without a described action.
    static QString Description(const Card& card, bool hold_grid);

    void Describe(const QPixmap& picture, const Card& card, bool playable, bool hold_grid);
    // The bare table: the parts are hidden, the window stays.
    void ClearCard();

    // Called when the window is closed by its close box.
    void SetClosedHandler(std::function<void()> handler) { closed_ = std::move(handler); }

    QLabel* Image1() const { return image_; }
    QLabel* Label1() const { return description_; }
    QLabel* Label2() const { return playable_; }
    QLabel* Label3() const { return value_caption_; }
    QLabel* Label4() const { return value_; }
    // The neutral text shown while no card is described.
    QLabel* Hint() const { return hint_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* image_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* playable_ = nullptr;
    QLabel* value_caption_ = nullptr;
    QLabel* value_ = nullptr;
    QLabel* hint_ = nullptr;
    std::function<void()> closed_;
};

}  // namespace kvt
