#include "shell/flights_qt.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "hand/hand_view.h"
#include "platform/picture_clip.h"

namespace kvt {
namespace {

// Int(x): the largest whole number not above x.
int FloorDiv(int a, int b) { return static_cast<int>(std::floor(static_cast<double>(a) / b)); }

}  // namespace

CardFlights::CardFlights(QWidget* table) : QObject(table), table_(table) {
    for (int i = 0; i < kBoxes; ++i) {
        auto* box = new PictureBox(table);
        box->setObjectName(QStringLiteral("AnimateBox%1").arg(i));
        box->resize(kFaceWidth, kFaceHeight);
        box->SetShadow(true);
        // The trail fades in towards the destination.
        box->SetOpacity(i == 0 ? 1.0 : 0.35 + 0.65 * i / (kBoxes - 1));
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->hide();
        boxes_[static_cast<std::size_t>(i)] = box;
    }
    boxes_[0]->move(table_layout::kAnimateBox.TopLeftPixels());
    tick_.setSingleShot(true);
    // The game speed is the length of the pause, to the millisecond.
    tick_.setTimerType(Qt::PreciseTimer);
    connect(&tick_, &QTimer::timeout, this, [this] {
        if (std::function<void()> next = std::exchange(next_, nullptr)) next();
    });
}

CardFlights::~CardFlights() {
    // Nobody hears of a flight that ends with the window.
    done_ = nullptr;
    Abort();
}

void CardFlights::SetPlacement(std::function<QPoint(QPoint)> to_pixels, QSize card) {
    to_pixels_ = std::move(to_pixels);
    // A flight under way goes on at the new scale, from where its boxes stand.
    for (int i = 0; i < kBoxes; ++i) {
        PictureBox* box = Box(i);
        box->resize(card);
        box->SetCardSize(card);
        if (placed_[static_cast<std::size_t>(i)]) MoveBox(i, *placed_[static_cast<std::size_t>(i)]);
    }
}

void CardFlights::MoveBox(int index, QPoint twips) {
    placed_[static_cast<std::size_t>(index)] = twips;
    Box(index)->move(PixelsOf(twips));
}

QPoint CardFlights::PixelsOf(QPoint twips) const {
    return to_pixels_ ? to_pixels_(twips) : QPoint(Px(twips.x()), Px(twips.y()));
}

void CardFlights::SetInterval(int ms) { interval_ms_ = std::max(1, ms); }

void CardFlights::SetDrawStepPause(int ms) { draw_step_ms_ = std::max(0, ms); }

void CardFlights::PlaceTrail(const QPixmap& picture, QPoint from, QPoint to) {
    const int dx = FloorDiv(to.x() - from.x(), kBoxes);
    const int dy = FloorDiv(to.y() - from.y(), kBoxes);
    for (int i = 0; i < kBoxes; ++i) {
        PictureBox* box = Box(i);
        box->SetPicture(picture);
        MoveBox(i, from + QPoint(i * dx, i * dy));
    }
}

void CardFlights::After(int ms, std::function<void()> next) {
    next_ = std::move(next);
    tick_.start(std::max(0, ms));
}

void CardFlights::Finish(bool finished) {
    tick_.stop();
    next_ = nullptr;
    repaint_target_ = nullptr;
    anim_done_ = true;
    if (Done done = std::exchange(done_, nullptr)) done(finished);
}

void CardFlights::PlayTrail(bool keep_start_box, Done done) {
    if (aborted_) {
        done(false);
        return;
    }
    done_ = std::move(done);
    if (!keep_start_box) Box(0)->hide();
    ShowTrailFrom(1);
}

void CardFlights::ShowTrailFrom(int index) {
    Box(index)->show();
    Box(index)->raise();
    if (index + 1 < kBoxes) {
        // Each box is painted before the next one appears.
        After(0, [this, index] { ShowTrailFrom(index + 1); });
        return;
    }
    anim_done_ = false;
    After(interval_ms_, [this] {
        for (int i = 1; i < kBoxes; ++i) Box(i)->hide();
        Finish(true);
    });
}

void CardFlights::ParkLastBox(QPoint place) {
    Box(kBoxes - 1)->hide();
    MoveBox(kBoxes - 1, place);
}

void CardFlights::DrawFlight(const QPixmap& picture, QPoint from, QPoint to, std::function<void()> repaint_target,
                             Done done) {
    if (aborted_) {
        done(false);
        return;
    }
    done_ = std::move(done);
    repaint_target_ = std::move(repaint_target);
    PictureBox* box = Box(0);
    box->SetPicture(picture);
    MoveBox(0, from);
    box->show();
    box->raise();
    DrawStep(0, from, QPoint(FloorDiv(to.x() - from.x(), kDrawSteps), FloorDiv(to.y() - from.y(), kDrawSteps)));
}

void CardFlights::DrawStep(int step, QPoint at, QPoint by) {
    PictureBox* box = Box(0);
    for (; step < kDrawSteps; ++step) {
        at += by;
        MoveBox(0, at);
        if (repaint_target_) repaint_target_();
        box->repaint();
        if (draw_step_ms_ > 0) {
            After(draw_step_ms_, [this, step, at, by] { DrawStep(step + 1, at, by); });
            return;
        }
    }
    box->hide();
    Finish(true);
}

void CardFlights::Abort() {
    aborted_ = true;
    Finish(false);
}

void CardFlights::HideAll() {
    for (PictureBox* box : boxes_) box->hide();
}

}  // namespace kvt
