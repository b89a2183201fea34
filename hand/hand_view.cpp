#include "hand/hand_view.h"

#include <numeric>

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
int StripsAndCardPx(int n, int card_px, int strip_px = table_layout::kStripPx) { return strip_px * (n - 1) + card_px; }

// Whole design pixels of room, `twips` of it.
int RoomPx(int twips) { return std::max(0, twips) / kTwipsPerPixel; }

}  // namespace

int Px(int twips) { return static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel))); }

QRect TwipRect::ToPixels() const { return QRect(Px(Left), Px(Top), Px(Width), Px(Height)); }
QPoint TwipRect::TopLeftPixels() const { return QPoint(Px(Left), Px(Top)); }

QSize TableGeometry::MinimumSize() {
    return {static_cast<int>(std::ceil(kDesignSize.width() * kMinScale)),
            static_cast<int>(std::ceil(kDesignSize.height() * kMinScale))};
}

TableGeometry::TableGeometry(QSize table, double pixel_ratio)
    : size_(table), pixel_ratio_(pixel_ratio > 0 ? pixel_ratio : 1.0) {
    const double across = table.width() / static_cast<double>(kDesignSize.width());
    const double down = table.height() / static_cast<double>(kDesignSize.height());
    scale_ = std::max(0.05, std::min(across, down));
    width_twips_ = static_cast<int>(std::lround(Tw(table.width()) / scale_));
    height_twips_ = static_cast<int>(std::lround(Tw(table.height()) / scale_));
    shift_ = QPoint((width_twips_ - Tw(kDesignSize.width())) / 2, (height_twips_ - Tw(kDesignSize.height())) / 2);
    // The top and bottom hands may grow into the right half of the room
    // beside the design; the side hands down to the table's bottom edge.
    extra_across_ = RoomPx(shift_.x()) / table_layout::kStripPx;
    const int side_bottom = table_layout::kSideGridTop + Tw(StripsAndCardPx(table_layout::kHandLimit, kFaceHeight));
    extra_down_ = RoomPx(height_twips_ - table_layout::kEdgeMargin - side_bottom - shift_.y()) / table_layout::kStripPx;
}

TwipRect TableGeometry::Middle(const TwipRect& design) const {
    return {design.Left + shift_.x(), design.Top + shift_.y(), design.Width, design.Height};
}

QPoint TableGeometry::MiddleTopLeft(const TwipRect& design) const {
    return QPoint(design.Left, design.Top) + shift_;
}

int TableGeometry::Pixels(int twips) const {
    return static_cast<int>(std::lround(twips * scale_ / kTwipsPerPixel));
}

QPoint TableGeometry::Pixels(QPoint twips) const { return {Pixels(twips.x()), Pixels(twips.y())}; }

QRect TableGeometry::Pixels(const TwipRect& rect) const {
    return {Pixels(rect.Left), Pixels(rect.Top), Pixels(rect.Width), Pixels(rect.Height)};
}

int TableGeometry::Scaled(int design_px) const { return static_cast<int>(std::lround(design_px * scale_)); }

QSize TableGeometry::CardBitmapSize() const {
    const QSize card = CardSize();
    return {static_cast<int>(std::lround(card.width() * pixel_ratio_)),
            static_cast<int>(std::lround(card.height() * pixel_ratio_))};
}

std::vector<int> ShownOrder(const CardStack& stack, bool sort_cards) {
    std::vector<int> order(static_cast<std::size_t>(stack.Count()));
    std::iota(order.begin(), order.end(), 0);
    if (sort_cards)
        std::stable_sort(order.begin(), order.end(), [&stack](int a, int b) {
            const Card& x = stack[a];
            const Card& y = stack[b];
            return x.Group != y.Group ? x.Group < y.Group : x.Value < y.Value;
        });
    return order;
}

int HandView::HumanSlot(int column) const {
    if (column < 0 || column >= static_cast<int>(human_order_.size())) return column;
    return human_order_[static_cast<std::size_t>(column)];
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
    const auto design = [](const TwipRect& rect) { return rect.ToPixels().size(); };
    Place(0, kDiscardGrid, design(kDiscardGrid));
    Place(1, kPlayerGridAnchor, design(kPlayerGridAnchor));
    Place(2, {kEdgeMargin, kSideGridTop, Tw(72), Tw(kFaceHeight)}, {72, kFaceHeight});
    Place(3, {kPlayerGridAnchor.Left, kTopGridTop, Tw(kFaceWidth), Tw(kFaceHeight)}, {kFaceWidth, kFaceHeight});
    Place(4, {kPlayerGridAnchor.Left + kPlayerGridAnchor.Width, kSideGridTop, Tw(73), Tw(kFaceHeight)},
          {73, kFaceHeight});
    grids_[0]->SetEmptyCellOutline(true);
    grids_[0]->hide();

    draw_deck_ = new PictureBox(table);
    draw_deck_->setObjectName("DrawDeck");
    back_ = PlainBack();
    draw_deck_->SetShadow(true);
    draw_deck_->SetEmptyOutline(true);
    draw_deck_->setCursor(Qt::PointingHandCursor);

    discard_pile_ = new PictureBox(table);
    discard_pile_->setObjectName("DiscardPile");
    discard_pile_->SetShadow(true);
    discard_pile_->SetEmptyOutline(true);

    show_card_play_ = new PictureBox(table);
    show_card_play_->setObjectName("ShowCardPlay");
    show_card_play_->SetShadow(true);
    show_card_play_->SetEmptyOutline(true);

    hold_card_ = new PictureBox(table);
    hold_card_->setObjectName("HoldCard");
    hold_card_->SetShadow(true);
    hold_card_->hide();

    accept_discard_ = new QPushButton(tr("&Discard"), table);
    accept_discard_->setObjectName("AcceptDiscardBut");
    accept_discard_->setStyleSheet(kDiscardButtonStyle);
    accept_discard_->setCursor(Qt::PointingHandCursor);
    accept_discard_->hide();
    button_font_ = accept_discard_->font();
    PlaceFixedParts();
    hold_card_->setGeometry(QRect(kHoldCard.TopLeftPixels(), kHoldCard.ToPixels().size()));
}

void HandView::SetGeometry(const TableGeometry& geometry) {
    if (geometry == geometry_) return;
    if (geometry.CardBitmapSize() != geometry_.CardBitmapSize() || geometry.PixelRatio() != geometry_.PixelRatio())
        scaled_.clear();
    // Cell sizes a redraw leaves as they are (a long side hand's rows) keep
    // their share of the card.
    const double ratio = geometry.Scale() / geometry_.Scale();
    if (ratio != 1.0) {
        const auto rescaled = [ratio](int px) { return static_cast<int>(std::lround(px * ratio)); };
        for (CardGrid* grid : grids_) {
            for (int r = 0; r < grid->Rows(); ++r) grid->SetRowHeight(r, rescaled(grid->RowHeight(r)));
            for (int c = 0; c < grid->Cols(); ++c) grid->SetColWidth(c, rescaled(grid->ColWidth(c)));
        }
    }
    geometry_ = geometry;
    PlaceFixedParts();
    // The pictures shown now are redrawn at the new scale.
    ShowDrawDeck();
    if (discard_pile_->HasPicture()) ShowDiscardTop();
    if (show_card_play_->HasPicture() && picked_) ShowPickedCard(*picked_);
    if (hold_card_player_ >= 1 && !hold_card_->isHidden()) {
        hold_card_->SetPicture(Face(held_card_));
        hold_card_->move(geometry_.Pixels(QPoint(GridRect(hold_card_player_).Left, GridRect(hold_card_player_).Top)));
    }
}

void HandView::PlaceFixedParts() {
    const TableGeometry& g = geometry_;
    draw_deck_->setGeometry(g.DrawDeck());
    discard_pile_->setGeometry(g.DiscardPile());
    show_card_play_->setGeometry(g.ShowCardPlay());
    accept_discard_->setGeometry(g.AcceptDiscardBut());
    hold_card_->resize(g.Pixels(kHoldCard).size());
    for (PictureBox* box : {draw_deck_, discard_pile_, show_card_play_, hold_card_}) box->SetCardSize(g.CardSize());
    for (CardGrid* grid : grids_) {
        grid->SetCardSize(g.CardSize());
        grid->SetScrollBarExtent(g.ScrollBarPx());
    }
    // Whole points, so that a resize changes the font only now and then.
    QFont font = button_font_;
    if (g.Scale() != 1.0 && font.pointSizeF() > 0)
        font.setPointSizeF(std::max(1.0, std::round(font.pointSizeF() * g.Scale())));
    if (accept_discard_->font() != font) accept_discard_->setFont(font);
}

QPixmap HandView::AtScale(const QPixmap& card_picture) const {
    if (card_picture.isNull()) return card_picture;
    const QSize bitmap = geometry_.CardBitmapSize();
    if (card_picture.size() == bitmap && card_picture.devicePixelRatio() == geometry_.PixelRatio()) return card_picture;
    if (auto found = scaled_.constFind(card_picture.cacheKey()); found != scaled_.constEnd()) return *found;
    // Pictures of card sets loaded earlier are not kept for ever.
    if (scaled_.size() > 400) scaled_.clear();
    // Bilinear filtering in this thread: as smooth as the card cells allow,
    // and quick enough to redo on every step of a resize.
    QImage image(bitmap, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRect(QPoint(0, 0), bitmap), card_picture);
    }
    QPixmap scaled = QPixmap::fromImage(std::move(image));
    scaled.setDevicePixelRatio(geometry_.PixelRatio());
    scaled_.insert(card_picture.cacheKey(), scaled);
    return scaled;
}

QPixmap HandView::Face(const Card& card) const { return AtScale(clip_.CardFace(card)); }

QPixmap HandView::Back() const { return AtScale(back_); }

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

void HandView::Place(int index, const TwipRect& rect, QSize pixels) {
    grid_rects_[static_cast<std::size_t>(index)] = rect;
    grids_[static_cast<std::size_t>(index)]->setGeometry(QRect(geometry_.Pixels(QPoint(rect.Left, rect.Top)), pixels));
}

void HandView::ShowHand(const CardStack& stack, int player) {
    if (player < 0 || player > 4) return;
    if (minimized_ && minimized_()) return;
    // Every draw and deal is followed by a redraw of a hand: the deck follows.
    ShowDrawDeck();
    CardGrid* grid = Grid(player);
    if (player != 0) {
        grid->setVisible(stack.Count() > 0);
        if (stack.Count() == 0) return;
    }

    if (player == 0) {
        const int left_col = grid->LeftCol();
        const int cols = grid->Cols();
        AdjustPlayerGrid(0, hold_cols_);
        for (int i = 0; i < stack.Count(); ++i) {
            grid->SetCol(i);
            grid->SetRow(0);
            grid->SetPicture(0, i, Face(stack[i]));
        }
        if (grid->Cols() > cols) grid->SetLeftCol(left_col);
        return;
    }

    if (recorded_faces_) {
        // As the record's game holds it: sorting would change the game shown.
        const bool across = player == 1 || player == 3;
        const int n = stack.Count();
        AdjustPlayerGrid(player, n);
        const QPixmap back = Back();
        for (int i = 0; i < n; ++i) {
            const QPixmap picture = *recorded_faces_ || player == recorded_open_seat_ ? Face(stack[i]) : back;
            if (across)
                grid->SetPicture(0, i, picture);
            else
                grid->SetPicture(i, 0, picture);
        }
        if (player != 1) across ? grid->SetPicture(0, n, QPixmap()) : grid->SetPicture(n, 0, QPixmap());
        return;
    }

    if (player == 1) {
        // Sorted for the eye only: the hand itself keeps the order the game gave it.
        human_order_ = ShownOrder(stack, game_.SortCards);
        const int left_col = grid->LeftCol();
        const int cols = grid->Cols();
        AdjustPlayerGrid(1, stack.Count());
        for (int i = 0; i < stack.Count(); ++i) grid->SetPicture(0, i, Face(stack[human_order_[static_cast<std::size_t>(i)]]));
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
    const TableGeometry& g = geometry_;
    const int n = count;
    TwipRect rect = GridRect(player);
    const QSize card = g.CardSize();
    const int strip = g.StripPx();
    // A hand that outgrows its limit keeps the design's scrolled width (or
    // height), grown by the strips the wider table allows.
    const auto scrolled = [&](int design_px, int limit, int design_limit) {
        return design_px + kStripPx * (limit - design_limit);
    };
    QSize pixels;

    const auto horizontal_cells = [&](bool keep_row_height) {
        if (n < 1) return;
        for (int i = 0; i < n - 1; ++i) grid->SetColWidth(i, strip);
        grid->SetColWidth(n - 1, g.Scaled(kCellPitchX));
        if (!keep_row_height) grid->SetRowHeight(0, g.Scaled(100));
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
            pixels = {n < 1 ? 0 : StripsAndCardPx(n, card.width(), strip), card.height()};
        } else {
            grid->SetScrollBars(CardGrid::kHorizontal);
            rect.Width = Tw(180);
            rect.Height = Tw(kFaceHeight) + 200;
            pixels = {g.Scaled(180), card.height() + g.ScrollBarPx()};
        }
        // The hold grid stays where the design put it, in the table's middle.
        rect.Left = g.Middle(kDiscardGrid).Left;
        rect.Top = g.Middle(kDiscardGrid).Top;
        Place(0, rect, pixels);
        horizontal_cells(false);
        break;
    }
    case 1:
    case 3: {  // the human at the bottom, the player across at the top
        const int limit = g.HandLimit();
        grid->SetRows(1);
        grid->SetCols(player == 1 ? n : n + 1);
        if (n <= limit) {
            grid->SetScrollBars(CardGrid::kNoScrollBars);
            rect.Width = n < 1 ? 0 : Tw(StripsAndCardPx(n, kFaceWidth)) + 3;
            rect.Height = Tw(kFaceHeight);
            pixels = {n < 1 ? 0 : StripsAndCardPx(n, card.width(), strip), card.height()};
        } else {
            grid->SetScrollBars(CardGrid::kHorizontal);
            const int width_px = scrolled(300, limit, kHandLimit);
            rect.Width = Tw(width_px);
            rect.Height = Tw(kFaceHeight) + (player == 1 ? 200 : 0);
            pixels = {g.Scaled(width_px), card.height() + (player == 1 ? g.ScrollBarPx() : 0)};
        }
        const TwipRect anchor = g.Middle(kPlayerGridAnchor);
        rect.Left = anchor.Left;
        rect.Top = player == 1 ? anchor.Top : kTopGridTop + g.MiddleShift().y();
        Place(player, rect, pixels);
        horizontal_cells(player == 3 && n > limit);
        break;
    }
    case 2:
    case 4: {  // the players at the left and at the right: one column
        const int limit = g.SideLimit();
        grid->SetCols(1);
        grid->SetRows(n + 1);
        if (n <= limit) grid->SetRows(std::max(0, n));
        const int width_px = player == 2 ? 72 : 73;
        if (n <= limit) {
            grid->SetScrollBars(CardGrid::kNoScrollBars);
            rect.Height = n < 1 ? 0 : Tw(StripsAndCardPx(n, kFaceHeight));
            pixels = {g.Scaled(width_px), n < 1 ? 0 : StripsAndCardPx(n, card.height(), strip)};
        } else {
            grid->SetScrollBars(CardGrid::kVertical);
            const int height_px = scrolled(300, limit, kHandLimit);
            rect.Height = Tw(height_px);
            pixels = {g.Scaled(width_px), g.Scaled(height_px)};
        }
        rect.Width = Tw(width_px);
        rect.Top = kSideGridTop + g.MiddleShift().y();
        // The right hand keeps to the table's right edge.
        rect.Left = player == 2 ? kEdgeMargin : g.WidthTwips() - rect.Width - kEdgeMargin;
        Place(player, rect, pixels);
        grid->SetColWidth(0, card.width());
        if (n >= 1 && n <= limit) {
            for (int i = 0; i < n - 1; ++i) grid->SetRowHeight(i, strip);
            grid->SetRowHeight(n - 1, card.height());
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

void HandView::ShowDiscardTop() { ShowPiles(PilesShown::Of(game_)); }

void HandView::ShowPiles(const PilesShown& piles) {
    ShowDrawDeck(piles.deck);
    if (piles.pile <= 0) {
        discard_pile_->ClearPicture();
        discard_pile_->SetPileDepth(0);
        return;
    }
    discard_pile_->SetPileDepth(std::min(2, piles.pile - 1));
    discard_pile_->SetPicture(Face(piles.top));
}

void HandView::ShowCardBack(const Card& back_definition) {
    back_ = Face(back_definition);
    ShowDrawDeck();
}

void HandView::ShowDrawDeck() { ShowDrawDeck(game_.DrawDeck.Count()); }

void HandView::ShowDrawDeck(int count) {
    const QPixmap picture = count > 0 ? Back() : QPixmap();
    const int depth = std::clamp(count - 1, 0, 2);
    if (picture.cacheKey() == draw_deck_->Picture().cacheKey() && depth == deck_depth_) return;
    draw_deck_->SetPicture(picture);
    draw_deck_->SetPileDepth(depth);
    deck_depth_ = depth;
}

void HandView::ShowPickedCard(const Card& card) {
    picked_ = card;
    // The hold grid has a cell for each card the picked card may ask for.
    hold_cols_ = card.ActionCount;
    ShowDrawDeck();
    show_card_play_->SetPicture(Face(card));
}

void HandView::ClearPickedCard() {
    picked_.reset();
    ShowDrawDeck();
    show_card_play_->ClearPicture();
}

void HandView::ShowHoldCard(int player, const Card& card) {
    if (player < 1 || player > 4) return;
    held_card_ = card;
    hold_card_player_ = player;
    hold_card_->SetPicture(Face(card));
    hold_card_->move(geometry_.Pixels(QPoint(GridRect(player).Left, GridRect(player).Top)));
    hold_card_->show();
    hold_card_->raise();
}

void HandView::HideHoldCard() { hold_card_->hide(); }

}  // namespace kvt
