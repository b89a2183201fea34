#include "dialogs/wild_card_frm.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "engine/card_set.h"
#include "platform/picture_clip.h"
#include "platform/profile.h"
#include "platform/qt_text.h"
#include "platform/plain_text.h"

namespace kvt {

WildCardFrm::WildCardFrm(const std::vector<GroupChoice>& choices, const CardSetDef& set, const PictureClip& clip,
                         FrmMessage message, QWidget* parent)
    : QDialog(parent), message_(std::move(message)) {
    setObjectName("WildCardFrm");
    setWindowTitle(tr("Choose Card"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* prompt = NewLabel(this, tr("Choose the group the next player must follow:"));
    prompt->setObjectName("Label1");
    layout->addWidget(prompt);

    auto* grid = new QGridLayout;
    grid->setSpacing(8);
    layout->addLayout(grid);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);

    for (int g = 0; g < kButtons; ++g) {
        auto* button = new QToolButton(this);
        button->setText(QStringLiteral(" "));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setObjectName(QStringLiteral("Command3D1_%1").arg(g));
        button->setCheckable(true);
        button->setIconSize(QSize(70, 95));
        button->setMinimumSize(92, 128);
        button->setStyleSheet(
            "QToolButton { padding: 4px; }"
            "QToolButton:checked { background: #2e6b3a; color: white; border: 2px solid #f2c94c; border-radius: 4px; }");
        button->hide();
        buttons_[static_cast<std::size_t>(g)] = button;
        group->addButton(button, g);
        connect(button, &QToolButton::clicked, this, [this, g] {
            for (Entry& e : choice_) e.Selected = false;
            choice_[static_cast<std::size_t>(g)].Selected = true;
        });
    }

    int shown = 0;
    for (const GroupChoice& c : choices) {
        if (c.Group < 1 || c.Group >= kButtons || c.CardIndex < 0 || c.CardIndex >= kCardDefCount) continue;
        const auto g = static_cast<std::size_t>(c.Group);
        choice_[g].CardIndex = c.CardIndex;
        QToolButton* button = buttons_[g];
        const Card& def = set.CardDefs[static_cast<std::size_t>(c.CardIndex)];
        button->setIcon(QIcon(clip.CardFace(def)));
        button->setText(tr("Group ") + ToQString(FormatNumber(c.Group)));
        button->setToolTip(button->text().simplified());
        grid->addWidget(button, shown / 5, shown % 5);
        button->show();
        ++shown;
    }

    ok_ = new QPushButton(tr("&Ok"), this);
    ok_->setObjectName("OkBut");
    ok_->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok_);
    layout->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (CheckChoice()) QDialog::done(QDialog::Accepted);
    });
}

void WildCardFrm::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const int group = key == Qt::Key_0 ? 10 : key - Qt::Key_0;
        QToolButton* button = buttons_[static_cast<std::size_t>(group)];
        if (!button->isHidden()) {
            button->click();
            button->setFocus();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

int WildCardFrm::Chosen() const {
    int chosen = -1;
    for (const Entry& e : choice_)
        if (e.Selected) chosen = e.CardIndex;
    return chosen;
}

bool WildCardFrm::CheckChoice() {
    wild_group_ = Chosen();
    if (wild_group_ != -1) return true;
    ShowFrmMessage(message_, this, tr("KVT"), tr("No Group has been Selected"));
    return false;
}

void WildCardFrm::Ask() {
    adjustSize();
    CentreOver(this, parentWidget());
    setWindowModality(Qt::ApplicationModal);
    show();
}

void WildCardFrm::done(int result) {
    // Escape and the close box end up here too: only a choice lets the window go.
    if (!CheckChoice()) return;
    QDialog::done(result);
}

void WildCardFrm::closeEvent(QCloseEvent* event) {
    if (!CheckChoice()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace kvt
