#include "hand/hand_view.h"

#include <QPainter>
#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "engine/game.h"
#include "platform/card_grid.h"
#include "platform/picture_clip.h"

namespace kvt {
namespace {

using namespace table_layout;

const char* const kDiscardButtonStyle = R"(
QPushButton {
  color: #2b2205; font-weight: bold;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbe7a1, stop:1 #e0b84a);
  border: 1px solid #6b5314; border-radius: 5px; padding: 0 4px;
}
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff1c4, stop:1 #ebc65e); }
QPushButton:pressed { background: #d4aa3a; }
QPushButton:focus { border: 1px solid #fff6d5; }
)";

// Width of a one-row grid of n cards that shows them all: n - 1 strips and
// the last card whole (the last column's right margin stays outside).
int StripsAndCardPx(int n, int card_px) { return table_layout::kStripPx * (n - 1) + card_px; }

}  // namespace

int Px(int twips) { return static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel))); }

QRect TwipRect::ToPixels() const { return QRect(Px(Left), Px(Top), Px(Width), Px(Height)); }
QPoint TwipRect::TopLeftPixels() const { return QPoint(Px(Left), Px(Top)); }

void SortHand(CardStack& stack, bool sort_cards) {
    if (!sort_cards) return;
    const int count = stack.Count();
    for (int j = 0; j < count - 1; ++j) {
        for (int i = count - 1; i >= j; --i) {
            if (i == 0) continue;
            const Card& a = stack[i];
            const Card& b = stack[i - 1];
            if (a.Group < b.Group || (a.Group == b.Group && a.Value < b.Value)) std::swap(stack[i], stack[i - 1]);
        }
    }
}

HandView::HandView(QWidget* table, Game& game, const PictureClip& clip)
    : table_(table), game_(game), clip_(clip) {
    static const char* const kGridNames[] = {"DiscardGrid", "PlayerGrid1", "PlayerGrid2", "PlayerGrid3",
                                             "PlayerGrid4"};
    for (int i = 0; i <= 4; ++i) {
        auto* grid = new CardGrid(table);
        grid->setObjectName(kGridNames[i]);
        grid->SetOverlapShadow(true);
        grid->SetRows(1);
        grid->SetCols(1);
        grids_[static_cast<std::size_t>(i)] = grid;
    }
    // Until the first deal: the hands where the design put them, the hold grid closed.
    Place(0, kDiscardGrid);
    Place(1, kPlayerGridAnchor);
    Place(2, {kEdgeMargin, kSideGridTop, Tw(72), Tw(kFaceHeight)});
    Place(3, {kPlayerGridAnchor.Left, kTopGridTop, Tw(kFaceWidth), Tw(kFaceHeight)});
    Place(4, {kPlayerGridAnchor.Left + kPlayerGridAnchor.Width, kSideGridTop, Tw(73), Tw(kFaceHeight)});
    grids_[0]->SetEmptyCellOutline(true);
    grids_[0]->hide();

    draw_deck_ = new PictureBox(table);
    draw_deck_->setObjectName("DrawDeck");
    draw_deck_->setGeometry(kDrawDeck.ToPixels());
    back_ = PlainBack();
    draw_deck_->SetShadow(true);
    draw_deck_->SetEmptyOutline(true);
    draw_deck_->setCursor(Qt::PointingHandCursor);

    discard_pile_ = new PictureBox(table);
    discard_pile_->setObjectName("DiscardPile");
    discard_pile_->setGeometry(kDiscardPile.ToPixels());
    discard_pile_->SetShadow(true);
    discard_pile_->SetEmptyOutline(true);

    show_card_play_ = new PictureBox(table);
    show_card_play_->setObjectName("ShowCardPlay");
    show_card_play_->setGeometry(QRect(kShowCardPlay.TopLeftPixels(), QSize(kFaceWidth, kFaceHeight)));
    show_card_play_->SetShadow(true);
    show_card_play_->SetEmptyOutline(true);

    hold_card_ = new PictureBox(table);
    hold_card_->setObjectName("HoldCard");
    hold_card_->setGeometry(kHoldCard.ToPixels());
    hold_card_->SetShadow(true);
    hold_card_->hide();

    accept_discard_ = new QPushButton(tr("&Discard"), table);
    accept_discard_->setObjectName("AcceptDiscardBut");
    accept_discard_->setGeometry(kAcceptDiscardBut.ToPixels());
    accept_discard_->setStyleSheet(kDiscardButtonStyle);
    accept_discard_->setCursor(Qt::PointingHandCursor);
    accept_discard_->hide();
}

QPixmap HandView::Face(const Card& card) const { return clip_.CardFace(card); }

QPixmap HandView::Back() const { return back_; }

// Until a card set names its back: a plain one, never another card's face.
QPixmap HandView::PlainBack() {
    QPixmap plain(kFaceWidth, kFaceHeight);
    plain.fill(Qt::transparent);
    QPainter painter(&plain);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(235, 235, 240), 3));
    painter.setBrush(QColor(40, 62, 120));
    painter.drawRoundedRect(QRectF(1.5, 1.5, kFaceWidth - 3, kFaceHeight - 3), 5, 5);
    return plain;
}

void HandView::Place(int index, const TwipRect& rect) {
    grid_rects_[static_cast<std::size_t>(index)] = rect;
    grids_[static_cast<std::size_t>(index)]->setGeometry(rect.ToPixels());
}

void HandView::ShowHand(const CardStack& stack, int player) {
    if (player < 0 || player > 4) return;
    if (minimized_ && minimized_()) return;
    // Every draw and deal is followed by a redraw of a hand: the deck follows.
    ShowDrawDeck();
    CardGrid* grid = Grid(player);
    if (player != 0 && stack.Count() == 0) {
        grid->hide();
        return;
    }

    if (player == 0) {
        const int left_col = grid->LeftCol();
        const int cols = grid->Cols();
        AdjustPlayerGrid(0, game_.PickStack[0].ActionCount);
        for (int i = 0; i < stack.Count(); ++i) {
            grid->SetCol(i);
            grid->SetRow(0);
            grid->SetPicture(0, i, Face(stack[i]));
        }
        if (grid->Cols() > cols) grid->SetLeftCol(left_col);
        return;
    }

    if (player == 1) {
        // The human's hand is sorted in the game itself, so that column i is
        // always card i of the hand.
        const CardStack* shown = &stack;
        CardStack sorted;
        if (&stack == &game_.Players[1]) {
            SortHand(game_.Players[1], game_.SortCards);
        } else {
            sorted = stack;
            SortHand(sorted, game_.SortCards);
            shown = &sorted;
        }
        const int left_col = grid->LeftCol();
        const int cols = grid->Cols();
        AdjustPlayerGrid(1, shown->Count());
        for (int i = 0; i < shown->Count(); ++i) grid->SetPicture(0, i, Face((*shown)[i]));
        if (grid->Cols() > cols) grid->SetLeftCol(left_col);
        return;
    }

    // The opponents' cards are never put on screen, only their backs.
    AdjustPlayerGrid(player, stack.Count());
    const QPixmap back = Back();
    const int n = stack.Count();
    for (int i = 0; i < n; ++i) {
        if (player == 3)
            grid->SetPicture(0, i, back);
        else
            grid->SetPicture(i, 0, back);
    }
    // The spare cell after the last card stays empty.
    if (player == 3)
        grid->SetPicture(0, n, QPixmap());
    else
        grid->SetPicture(n, 0, QPixmap());
}

void HandView::AdjustPlayerGrid(int player, int count) {
    try {
        Adjust(player, count);
    } catch (const std::exception&) {
        if (report_) report_(tr("Error in AdjustPlayerGrid"));
    }
}

void HandView::Adjust(int player, int count) {
    if (player < 0 || player > 4) throw std::out_of_range("grid");
    CardGrid* grid = Grid(player);
    const int n = count;
    TwipRect rect = GridRect(player);

    const auto horizontal_cells = [&](bool keep_row_height) {
        if (n < 1) return;
        for (int i = 0; i < n - 1; ++i) grid->SetColWidth(i, kStripPx);
        grid->SetColWidth(n - 1, kCellPitchX);
        if (!keep_row_height) grid->SetRowHeight(0, 100);
    };

    switch (player) {
    case 0: {  // the hold grid: as many cells as the picked card asks for
        const int col = grid->Col();
        grid->SetRows(1);
        grid->SetCols(std::max(0, n));
        for (int i = 0; i < n; ++i) grid->SetPicture(0, i, QPixmap());
        grid->SetCol(col);
        grid->Refresh();
        if (n <= kHoldLimit) {
            grid->SetScrollBars(CardGrid::kNoScrollBars);
            rect.Width = n < 1 ? 0 : Tw(StripsAndCardPx(n, kFaceWidth));
            rect.Height = Tw(kFaceHeight);
        } else {
            grid->SetScrollBars(CardGrid::kHorizontal);
            rect.Width = Tw(180);
            rect.Height = Tw(kFaceHeight) + 200;
        }
        Place(0, rect);
        horizontal_cells(false);
        break;
    }
    case 1:
    case 3: {  // the human at the bottom, the player across at the top
        grid->SetRows(1);
        grid->SetCols(player == 1 ? n : n + 1);
        if (n <= kHandLimit) {
            grid->SetScrollBars(CardGrid::kNoScrollBars);
            rect.Width = n < 1 ? 0 : Tw(StripsAndCardPx(n, kFaceWidth)) + 3;
            rect.Height = Tw(kFaceHeight);
        } else {
            grid->SetScrollBars(CardGrid::kHorizontal);
            rect.Width = Tw(300);
            rect.Height = Tw(kFaceHeight) + (player == 1 ? 200 : 0);
        }
        rect.Left = kPlayerGridAnchor.Left;
        rect.Top = player == 1 ? kPlayerGridAnchor.Top : kTopGridTop;
        Place(player, rect);
        horizontal_cells(player == 3 && n > kHandLimit);
        break;
    }
    case 2:
    case 4: {  // the players at the left and at the right: one column
        grid->SetCols(1);
        grid->SetRows(n + 1);
        if (n <= kHandLimit) grid->SetRows(std::max(0, n));
        const int width_px = player == 2 ? 72 : 73;
        if (n <= kHandLimit) {
            grid->SetScrollBars(CardGrid::kNoScrollBars);
            rect.Height = n < 1 ? 0 : Tw(StripsAndCardPx(n, kFaceHeight));
        } else {
            grid->SetScrollBars(CardGrid::kVertical);
            rect.Height = Tw(300);
        }
        rect.Width = Tw(width_px);
        rect.Top = kSideGridTop;
        rect.Left = player == 2 ? kEdgeMargin : Tw(table_->width()) - rect.Width - kEdgeMargin;
        Place(player, rect);
        grid->SetColWidth(0, kFaceWidth);
        if (n >= 1 && n <= kHandLimit) {
            for (int i = 0; i < n - 1; ++i) grid->SetRowHeight(i, kStripPx);
            grid->SetRowHeight(n - 1, kFaceHeight);
        }
        break;
    }
    default:
        break;
    }
}

void HandView::SetHandVisible(int player, bool visible) {
    if (player < 0 || player > 4) return;
    Grid(player)->setVisible(visible);
}

void HandView::ShowDiscardTop() {
    ShowDrawDeck();
    const CardStack& pile = game_.DiscardPile;
    if (pile.Empty()) {
        discard_pile_->ClearPicture();
        discard_pile_->SetPileDepth(0);
        return;
    }
    discard_pile_->SetPileDepth(std::min(2, pile.Count() - 1));
    discard_pile_->SetPicture(Face(pile.Top()));
}

void HandView::ShowCardBack(const Card& back_definition) {
    back_ = Face(back_definition);
    ShowDrawDeck();
}

void HandView::ShowDrawDeck() {
    const int count = game_.DrawDeck.Count();
    const QPixmap picture = count > 0 ? Back() : QPixmap();
    const int depth = std::clamp(count - 1, 0, 2);
    if (picture.cacheKey() == draw_deck_->Picture().cacheKey() && depth == deck_depth_) return;
    draw_deck_->SetPicture(picture);
    draw_deck_->SetPileDepth(depth);
    deck_depth_ = depth;
}

void HandView::ShowPickedCard(const Card& card) {
    ShowDrawDeck();
    show_card_play_->SetPicture(Face(card));
}

void HandView::ClearPickedCard() {
    ShowDrawDeck();
    show_card_play_->ClearPicture();
}

void HandView::ShowHoldCard(int player, const Card& card) {
    if (player < 1 || player > 4) return;
    hold_card_->SetPicture(Face(card));
    hold_card_->move(GridRect(player).TopLeftPixels());
    hold_card_->show();
    hold_card_->raise();
}

void HandView::HideHoldCard() { hold_card_->hide(); }

}  // namespace kvt
