#include "actions/flights_qt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>

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
}

CardFlights::~CardFlights() { Abort(); }

void CardFlights::SetPlacement(std::function<QPoint(QPoint)> to_pixels, QSize card) {
    to_pixels_ = std::move(to_pixels);
    for (PictureBox* box : boxes_) {
        box->resize(card);
        box->SetCardSize(card);
    }
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
        box->move(PixelsOf(from + QPoint(i * dx, i * dy)));
    }
}

bool CardFlights::DelayDiscardAnimation(bool keep_start_box) {
    if (aborted_) return false;
    QPointer<CardFlights> alive(this);
    if (!keep_start_box) Box(0)->hide();
    for (int i = 1; i < kBoxes; ++i) {
        Box(i)->show();
        Box(i)->raise();
        // Each box is painted before the next one appears.
        QCoreApplication::processEvents();
        if (!alive) return false;
        if (aborted_) {
            HideAll();
            return false;
        }
    }
    anim_done_ = false;
    const bool waited = Wait(interval_ms_);
    if (!alive) return false;
    anim_done_ = true;
    for (int i = 1; i < kBoxes; ++i) Box(i)->hide();
    return waited;
}

void CardFlights::ParkLastBox(QPoint place) {
    PictureBox* last = Box(kBoxes - 1);
    last->hide();
    last->move(PixelsOf(place));
}

bool CardFlights::DrawFlight(const QPixmap& picture, QPoint from, QPoint to,
                             const std::function<void()>& repaint_target) {
    if (aborted_) return false;
    QPointer<CardFlights> alive(this);
    constexpr int kSteps = 5;
    const int dx = FloorDiv(to.x() - from.x(), kSteps);
    const int dy = FloorDiv(to.y() - from.y(), kSteps);
    PictureBox* box = Box(0);
    box->SetPicture(picture);
    box->move(PixelsOf(from));
    box->show();
    box->raise();
    QPoint at = from;
    bool completed = true;
    for (int step = 0; step < kSteps; ++step) {
        at += QPoint(dx, dy);
        box->move(PixelsOf(at));
        if (repaint_target) repaint_target();
        box->repaint();
        if (draw_step_ms_ > 0 && !Wait(draw_step_ms_)) {
            completed = false;
            break;
        }
        if (!alive) return false;
    }
    if (!alive) return false;
    box->hide();
    return completed && !aborted_;
}

bool CardFlights::Wait(int ms) {
    if (aborted_) return false;
    QPointer<CardFlights> alive(this);
    QEventLoop loop;
    QTimer tick;
    tick.setSingleShot(true);
    // The game speed is the length of the pause, to the millisecond.
    tick.setTimerType(Qt::PreciseTimer);
    connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    waits_.push_back(&loop);
    tick.start(std::max(0, ms));
    loop.exec();
    if (!alive) return false;
    std::erase(waits_, &loop);
    return !aborted_;
}

void CardFlights::Abort() {
    aborted_ = true;
    anim_done_ = true;
    for (QEventLoop* loop : waits_) loop->quit();
}

void CardFlights::HideAll() {
    for (PictureBox* box : boxes_) box->hide();
}

}  // namespace kvt
