#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QHash>
#include <QString>
#include <array>
#include <functional>
#include <vector>
#include <optional>

#include "core/card.h"
#include "core/card_stack.h"
#include "core/table_state.h"
#include "hand/piles_shown.h"

class QPushButton;
class QWidget;

namespace kvt {

class CardGrid;
class Game;
class PictureBox;
class PictureClip;

// The table is laid out in twips, 15 to the pixel at the table's own scale.
inline constexpr int kTwipsPerPixel = 15;
constexpr int Tw(int pixels) { return pixels * kTwipsPerPixel; }
// Twips to pixels, to the nearest pixel.
int Px(int twips);

struct TwipRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    QRect ToPixels() const;
    QPoint TopLeftPixels() const;
    bool operator==(const TwipRect&) const = default;
};

// Where the table's controls were placed at design time (left, top, width,
// height in twips).
namespace table_layout {
inline constexpr TwipRect kPlayerGridAnchor{2190, 4545, 5655, 1455};
inline constexpr TwipRect kDiscardGrid{4170, 3075, 3975, 1455};
inline constexpr TwipRect kDrawDeck{3240, 1560, 1215, 1695};
inline constexpr TwipRect kDiscardPile{4440, 1575, 1215, 1695};
inline constexpr TwipRect kShowCardPlay{2160, 3135, 1050, 1350};
inline constexpr TwipRect kAcceptDiscardBut{3240, 3720, 855, 375};
inline constexpr TwipRect kHoldCard{240, 3840, 1215, 1695};
inline constexpr TwipRect kChooseMsgLbl{5760, 2400, 1815, 495};
inline constexpr TwipRect kAnimateBox{1320, 2160, Tw(kFaceWidth), Tw(kFaceHeight)};
// Top of the top grid; left and top of the left grid; the side grids' top.
inline constexpr int kTopGridTop = 100;
inline constexpr int kSideGridTop = 1000;
inline constexpr int kEdgeMargin = 100;
// Hands up to this many cards are shown whole; more get a scroll bar.
inline constexpr int kHandLimit = 10;
inline constexpr int kHoldLimit = 6;
// Every card but the last of a hand shows a strip this wide (or high).
inline constexpr int kStripPx = 30;
}  // namespace table_layout

// Where everything on the table goes at a given size of the table. The
// design is a 640 x 456 pixel table in twips; at other sizes one scale
// (that of the narrower side) enlarges or shrinks all of it, the table's
// middle (piles, the top and bottom hands, the hold grid, the messages) is
// centred in the room the proportions leave over, and the side hands keep
// to the edges. Layout twips are design twips of that widened table; at
// the design size layout twips, design twips and pixels agree exactly.
class TableGeometry {
public:
    static constexpr QSize kDesignSize{640, 456};
    // Below this the cards and the names would no longer read.
    static constexpr double kMinScale = 0.8;
    static QSize MinimumSize();

    explicit TableGeometry(QSize table = kDesignSize, double pixel_ratio = 1.0);

    QSize Size() const { return size_; }
    double Scale() const { return scale_; }
    double PixelRatio() const { return pixel_ratio_; }
    bool operator==(const TableGeometry&) const = default;

    // The whole table in layout twips.
    int WidthTwips() const { return width_twips_; }
    // What the middle of the table is moved by, in twips.
    QPoint MiddleShift() const { return shift_; }
    TwipRect Middle(const TwipRect& design) const;
    QPoint MiddleTopLeft(const TwipRect& design) const;

    // Layout twips to pixels, to the nearest pixel.
    int Pixels(int twips) const;
    QPoint Pixels(QPoint twips) const;
    QRect Pixels(const TwipRect& rect) const;
    // A length of the design, in pixels, to the nearest pixel.
    int Scaled(int design_px) const;
    QSize CardSize() const { return {Scaled(kFaceWidth), Scaled(kFaceHeight)}; }
    // A card picture's size in device pixels.
    QSize CardBitmapSize() const;
    int StripPx() const { return Scaled(table_layout::kStripPx); }
    // The scroll bars of the hands: the 200 twips the design allows for them.
    int ScrollBarPx() const { return Pixels(200); }

    // Hands up to this many cards are shown whole: the design's 10, and more
    // when the table is wider (the top and bottom hands) or taller (the
    // side hands) than the design's proportions.
    int HandLimit() const { return table_layout::kHandLimit + extra_across_; }
    int SideLimit() const { return table_layout::kHandLimit + extra_down_; }

    // The fixed places, in pixels.
    QRect DrawDeck() const { return Pixels(Middle(table_layout::kDrawDeck)); }
    QRect DiscardPile() const { return Pixels(Middle(table_layout::kDiscardPile)); }
    QRect ShowCardPlay() const { return {Pixels(MiddleTopLeft(table_layout::kShowCardPlay)), CardSize()}; }
    QRect AcceptDiscardBut() const { return Pixels(Middle(table_layout::kAcceptDiscardBut)); }
    QRect ChooseMsgLbl() const { return Pixels(Middle(table_layout::kChooseMsgLbl)); }

private:
    QSize size_;
    double pixel_ratio_ = 1.0;
    double scale_ = 1.0;
    int width_twips_ = 0;
    int height_twips_ = 0;
    QPoint shift_;
    int extra_across_ = 0;
    int extra_down_ = 0;
};

// The order the human's hand is shown in, as slots of the hand: sorted
// when sort_cards is on, by Group (cards of no group first), then by
// Value, equal cards in the hand's order; else the hand's order.
std::vector<int> ShownOrder(const CardStack& stack, bool sort_cards);

// The hands and piles on the table: the four hand grids, the hold grid, the
// draw deck, the discard pile, the picked card and the Discard button. It
// draws what the game holds and decides nothing.
class HandView {
    Q_DECLARE_TR_FUNCTIONS(HandView)

public:
    HandView(QWidget* table, Game& game, const PictureClip& clip);

    // Grid 0 is the hold grid, 1..4 the players' hands (bottom, left, top, right).
    CardGrid* Grid(int index) const { return grids_.at(static_cast<std::size_t>(index)); }
    PictureBox* DrawDeck() const { return draw_deck_; }
    PictureBox* DiscardPile() const { return discard_pile_; }
    PictureBox* ShowCardPlay() const { return show_card_play_; }
    PictureBox* HoldCard() const { return hold_card_; }
    QPushButton* AcceptDiscardBut() const { return accept_discard_; }

    // The table's size and scale: places the fixed parts again and scales
    // the card pictures from then on. The hands follow at their next redraw.
    void SetGeometry(const TableGeometry& geometry);
    const TableGeometry& Geometry() const { return geometry_; }

    // Where AdjustPlayerGrid last placed a grid, in layout twips.
    TwipRect GridRect(int index) const { return grid_rects_.at(static_cast<std::size_t>(index)); }

    // Redraws grid `player` (0 = hold grid from the hold stack) from `stack`.
    // A player's grid is shown while it holds cards and hidden without;
    // the human's hand is shown in its ShownOrder.
    void ShowHand(const CardStack& stack, int player);
    // The slot of the human's hand that column `column` of its grid shows
    // (the column itself when it shows none).
    int HumanSlot(int column) const;
    // Sizes and places grid `player` for `count` cards; for the hold grid the
    // count is the picked card's ActionCount.
    void AdjustPlayerGrid(int player, int count);
    void SetHandVisible(int player, bool visible);
    // A game record shown move by move: every hand as it stands in the game,
    // unsorted, face up when `faces` (the hand of `open_seat` always), else
    // as backs. Without a value the table's own way again: the human's hand
    // face up, the others' backs.
    void ShowRecordedHands(std::optional<bool> faces, int open_seat = 0) {
        recorded_faces_ = faces;
        recorded_open_seat_ = open_seat;
    }

    // The top card of the discard pile (blank for an empty pile), with the
    // deck: as the game holds them, or as they were when `piles` was taken.
    void ShowDiscardTop();
    void ShowPiles(const PilesShown& piles);
    // The card back of the card set in force; a card set without one keeps
    // the back shown before.
    void ShowCardBack(const Card& back_definition);
    // The deck: the card back, or an empty place when the deck holds no card.
    void ShowDrawDeck();
    void ShowDrawDeck(int count);
    void ShowPickedCard(const Card& card);
    void ClearPickedCard();
    // The card a computer player is about to play, at the corner of its grid.
    void ShowHoldCard(int player, const Card& card);
    void HideHoldCard();

    // A card's face at the table's scale, drawn smoothly from its cell of
    // the card bitmap (cut once, scaled once per size).
    QPixmap Face(const Card& card) const;
    // The card back in force (a plain painted one until a card set names one).
    QPixmap Back() const;
    // Any card-sized picture at the table's scale.
    QPixmap AtScale(const QPixmap& card_picture) const;

    // The table is not drawn while its window is minimised.
    void SetMinimizedCheck(std::function<bool()> minimized) { minimized_ = std::move(minimized); }
    // How a failure inside the layout is reported.
    void SetErrorReporter(std::function<void(const QString&)> report) { report_ = std::move(report); }

private:
    static QPixmap PlainBack();
    void Adjust(int player, int count);
    void Place(int index, const TwipRect& rect, QSize pixels);
    void PlaceFixedParts();

    QWidget* table_;
    Game& game_;
    const PictureClip& clip_;
    std::array<CardGrid*, 5> grids_{};
    std::array<TwipRect, 5> grid_rects_{};
    PictureBox* draw_deck_ = nullptr;
    PictureBox* discard_pile_ = nullptr;
    PictureBox* show_card_play_ = nullptr;
    PictureBox* hold_card_ = nullptr;
    QPushButton* accept_discard_ = nullptr;
    QPixmap back_;
    int deck_depth_ = -1;
    int hold_card_player_ = 0;
    Card held_card_;
    std::optional<Card> picked_;  // the card in the picked-card box
    int hold_cols_ = 0;           // the cards the last picked card may ask for
    QFont button_font_;
    TableGeometry geometry_;
    // Card pictures at the current scale, by the cache key of their source.
    mutable QHash<qint64, QPixmap> scaled_;
    std::function<bool()> minimized_;
    std::function<void(const QString&)> report_;
    std::optional<bool> recorded_faces_;
    int recorded_open_seat_ = 0;
    std::vector<int> human_order_;  // column -> slot of the human's hand shown last
};

}  // namespace kvt
