#include "shell/replay_bar.h"

#include <QAction>
#include <QLabel>

#include "platform/plain_text.h"

namespace kvt {

ReplayBar::ReplayBar(QWidget* parent) : QToolBar(tr("Game Record"), parent) {
    setObjectName("ReplayBar");
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto action = [this](const char* name, const QString& text, const QString& tip, QKeySequence key,
                               std::function<std::size_t()> target) {
        QAction* entry = addAction(text);
        entry->setObjectName(name);
        entry->setShortcut(key);
        entry->setToolTip(tip + " (" + key.toString(QKeySequence::NativeText) + ")");
        connect(entry, &QAction::triggered, this, [this, target] {
            if (step_handler_) step_handler_(target());
        });
        return entry;
    };
    first_ = action("ReplayFirst", tr("First"), tr("The table as it was dealt"), QKeySequence(Qt::Key_Home),
                    [] { return std::size_t{0}; });
    back_ = action("ReplayBack", tr("Back"), tr("One move back"), QKeySequence(Qt::Key_Left),
                   [this] { return step_ > 0 ? step_ - 1 : 0; });
    forward_ = action("ReplayForward", tr("Forward"), tr("One move on"), QKeySequence(Qt::Key_Right),
                      [this] { return step_ < moves_ ? step_ + 1 : moves_; });
    last_ = action("ReplayLast", tr("Last"), tr("The end of the game"), QKeySequence(Qt::Key_End),
                   [this] { return moves_; });
    addSeparator();
    label_ = NewLabel(this);
    label_->setObjectName("ReplayStepLbl");
    label_->setTextFormat(Qt::PlainText);
    label_->setMinimumWidth(200);
    // Two lines, where the record stands and the move: the bar keeps its height from step to step.
    label_->setMinimumHeight(2 * label_->fontMetrics().lineSpacing());
    label_->setContentsMargins(6, 0, 6, 0);
    addWidget(label_);
    addSeparator();
    close_ = addAction(tr("Close Replay"));
    close_->setObjectName("ReplayClose");
    close_->setShortcut(QKeySequence(Qt::Key_Escape));
    close_->setToolTip(tr("Back to the game in progress (Esc)"));
}

void ReplayBar::SetHandlers(std::function<void(std::size_t)> step, std::function<void()> close) {
    step_handler_ = std::move(step);
    disconnect(close_, &QAction::triggered, this, nullptr);
    connect(close_, &QAction::triggered, this, std::move(close));
}

void ReplayBar::ShowStep(std::size_t step, std::size_t moves, const QString& text) {
    step_ = step;
    moves_ = moves;
    label_->setText(text);
    first_->setEnabled(step > 0);
    back_->setEnabled(step > 0);
    forward_->setEnabled(step < moves);
    last_->setEnabled(step < moves);
    close_->setEnabled(true);
}

void ReplayBar::Stop() {
    for (QAction* entry : {first_, back_, forward_, last_, close_}) entry->setEnabled(false);
    hide();
}

}  // namespace kvt
