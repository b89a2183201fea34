#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

class QWidget;

namespace kvt {

class PictureBox;

// Card flights across the table. A flight is a trail of card pictures from
// one place to another (positions in twips): box 0 marks the start, boxes 1
// to 9 the trail, each one tenth of the way further, the last one step short
// of the destination. The trail grows box by box, stays for one interval of
// the animation timer, and vanishes at once.
//
// Waiting happens in a local event loop on a timer: the window paints and
// stays usable meanwhile, and no CPU is used. Abort (the window is closing)
// ends every wait at once; later waits return at once as well.
class CardFlights : public QObject {
    Q_OBJECT

public:
    static constexpr int kBoxes = 10;
    static constexpr int kDrawSteps = 5;
    static constexpr int kDefaultIntervalMs = 1000;
    static constexpr int kDefaultDrawStepMs = 20;

    explicit CardFlights(QWidget* table);
    ~CardFlights() override;

    // The animation timer's interval: the pause of one flight. Until the game
    // speed is applied it is 1000 ms. Values below 1 ms count as 1 ms.
    void SetInterval(int ms);
    int Interval() const { return interval_ms_; }

    // The draw flight moves one picture in five steps; each step waits this
    // long (one frame or so) so that the steps can be seen. 0: no wait.
    void SetDrawStepPause(int ms);

    // How places in twips become pixels on the table, and the size of a
    // card there: the table's scale. Until set: 15 twips to the pixel and
    // cards of 70 x 95 pixels.
    void SetPlacement(std::function<QPoint(QPoint)> to_pixels, QSize card);

    PictureBox* Box(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }

    // False only during the pause of a flight.
    bool AnimDone() const { return anim_done_; }

    // Gives every box the picture and places box 0 at `from` and box i at
    // from + i * step, step = Int((to - from) / 10) twips per axis.
    void PlaceTrail(const QPixmap& picture, QPoint from, QPoint to);

    // `finished` is false when the flight was aborted.
    using Done = std::function<void(bool finished)>;

    // Shows the trail box by box, pauses one timer interval, hides it. Box 0
    // stays as it is when keep_start_box is set, else it is hidden first.
    void PlayTrail(bool keep_start_box, Done done);

    // Hides the last box of the trail and leaves it at `place` (twips).
    void ParkLastBox(QPoint place);

    // The draw flight: box 0 with `picture` moves from `from` to `to` in five
    // equal steps of Int((to - from) / 5) twips; `repaint_target` runs after
    // each step.
    void DrawFlight(const QPixmap& picture, QPoint from, QPoint to, std::function<void()> repaint_target, Done done);

    // The window is closing: the flight under way ends now, later ones at once.
    void Abort();

    void HideAll();

private:
    QPoint PixelsOf(QPoint twips) const;
    void MoveBox(int index, QPoint twips);
    void ShowTrailFrom(int box);
    void DrawStep(int step, QPoint at, QPoint by);
    void After(int ms, std::function<void()> next);
    void Finish(bool finished);

    QWidget* table_;
    std::function<QPoint(QPoint)> to_pixels_;
    std::array<PictureBox*, kBoxes> boxes_{};
    std::array<std::optional<QPoint>, kBoxes> placed_{};  // twips, once a box has been placed
    QTimer tick_;
    std::function<void()> next_;  // what the tick does
    Done done_;                   // of the flight under way
    std::function<void()> repaint_target_;
    QPixmap draw_picture_;
    int interval_ms_ = kDefaultIntervalMs;
    int draw_step_ms_ = kDefaultDrawStepMs;
    bool anim_done_ = true;
    bool aborted_ = false;
};

}  // namespace kvt
