#include "dialogs/score_frm.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/frm_support.h"
#include "platform/qt_text.h"
#include "platform/plain_text.h"

namespace kvt {

namespace {

const char* const kSheetStyle =
    "QFrame#SheetFrame { background: #fffdf4; border: 1px solid #b9ad8a; border-radius: 3px; }"
    "QLabel[role=\"heading\"] { font-weight: 700; color: #2b2b2b; padding: 4px 6px;"
    " border-bottom: 2px solid #7a6f55; }"
    "QLabel[role=\"cell\"] { padding: 2px 6px; border-bottom: 1px solid #d9e4f2; }";

}  // namespace

ScoreFrm::ScoreFrm(QWidget* parent) : QDialog(parent) {
    setObjectName("ScoreFrm");
    setWindowTitle(tr("Score"));
    setStyleSheet(kSheetStyle);

    auto* layout = new QVBoxLayout(this);
    auto* title = NewLabel(this, tr("Score Sheet"));
    title->setObjectName("Label1");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto* frame = new QFrame(this);
    frame->setObjectName("SheetFrame");
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(0);
    grid->setContentsMargins(10, 6, 10, 10);
    for (int p = 1; p <= ScoreSheet::kPlayers; ++p) {
        auto* heading = NewLabel(frame);
        heading->setObjectName(QStringLiteral("PlayerLabel%1").arg(p));
        heading->setProperty("role", "heading");
        heading->setAlignment(Qt::AlignCenter);
        heading->setMinimumWidth(110);
        headings_[static_cast<std::size_t>(p)] = heading;
        grid->addWidget(heading, 0, p - 1);
        for (int r = 0; r < ScoreSheet::kRows; ++r) {
            auto* cell = NewLabel(frame, QStringLiteral(" "));
            cell->setObjectName(QStringLiteral("Score%1_%2").arg(p).arg(r));
            cell->setProperty("role", "cell");
            cell->setAlignment(Qt::AlignCenter);
            cell->setMinimumHeight(22);
            cells_[static_cast<std::size_t>(r)][static_cast<std::size_t>(p)] = cell;
            grid->addWidget(cell, r + 1, p - 1);
        }
    }
    layout->addWidget(frame);

    ok_ = new QPushButton(tr("&Ok"), this);
    ok_->setObjectName("OkBut");
    ok_->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok_);
    row->addStretch();
    layout->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &ScoreFrm::Blink);
    for (int p = 1; p <= ScoreSheet::kPlayers; ++p) SetColumnColour(p, Qt::black);
}

void ScoreFrm::ShowSheet(const ScoreSheet& sheet, int winner) {
    for (int p = 1; p <= ScoreSheet::kPlayers; ++p) {
        // A seat without a chosen opponent goes by its number, as on the table.
        QString heading = ToQString(sheet.Headings[static_cast<std::size_t>(p)]);
        if (heading.trimmed().isEmpty()) heading = tr("Player %1").arg(p);
        headings_[static_cast<std::size_t>(p)]->setText(heading);
        for (int r = 0; r < ScoreSheet::kRows; ++r) {
            QLabel* cell = ScoreCell(r, p);
            cell->setText(ToQString(sheet.Cell(r, p)));
            QFont font = cell->font();
            font.setStrikeOut(sheet.Struck(r, p));
            cell->setFont(font);
        }
    }
    winner_ = winner;
    if (winner_ >= 1 && winner_ <= ScoreSheet::kPlayers && !timer_->isActive()) timer_->start();
    if (!isVisible()) {
        adjustSize();
        CentreOnScreen(this);
        show();
    }
    raise();
}

void ScoreFrm::FillHiddenAndCentred(const ScoreSheet& sheet, int winner) {
    // A sheet already open (the game-over window came over it) is shown
    // again, now to be answered.
    hide();
    ShowSheet(sheet, winner);
    hide();
    adjustSize();
    CentreOnScreen(this);
}

void ScoreFrm::AwaitOk(const ScoreSheet& sheet, int winner) {
    FillHiddenAndCentred(sheet, winner);
    setWindowModality(Qt::ApplicationModal);
    show();
}

void ScoreFrm::done(int) {
    // Escape and the close box end the sheet as OK does: the blinking stops
    // and every column is black again for the next sheet.
    hide();
    winner_ = 0;
    for (int p = 1; p <= ScoreSheet::kPlayers; ++p) SetColumnColour(p, Qt::black);
    QDialog::done(QDialog::Accepted);
}

void ScoreFrm::Blink() {
    if (winner_ < 1 || winner_ > ScoreSheet::kPlayers) return;
    SetColumnColour(winner_, blink_on_ ? QColor(Qt::black) : kBlinkColour);
    blink_on_ = !blink_on_;
}

QColor ScoreFrm::CellColour(int row, int player) const {
    return ScoreCell(row, player)->palette().color(QPalette::WindowText);
}

void ScoreFrm::SetColumnColour(int player, const QColor& colour) {
    for (int r = 0; r < ScoreSheet::kRows; ++r) {
        QLabel* cell = ScoreCell(r, player);
        QPalette palette = cell->palette();
        palette.setColor(QPalette::WindowText, colour);
        cell->setPalette(palette);
    }
}

}  // namespace kvt
