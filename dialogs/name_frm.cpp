#include "dialogs/name_frm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/frm_support.h"
#include "platform/plain_text.h"

namespace kvt {

namespace {

// The decoration: a small fan of three cards.
QPixmap CardFan() {
    QPixmap fan(96, 96);
    fan.fill(Qt::transparent);
    QPainter p(&fan);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(0x2e, 0x6b, 0x3a), QColor(0xb2, 0x3a, 0x3a), QColor(0x1f, 0x4e, 0x8c)};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(48, 80);
        p.rotate(-20 + 20 * i);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(0xff, 0xfd, 0xf4));
        p.drawRoundedRect(QRectF(-20, -64, 40, 58), 4, 4);
        p.setBrush(colours[i]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(0, -35), 9, 9);
        p.restore();
    }
    return fan;
}

}  // namespace

NameFrm::NameFrm(QWidget* parent) : QDialog(parent) {
    setObjectName("NameFrm");
    setWindowTitle(tr("Enter Name"));
    resize(370, 265);

    auto* layout = new QHBoxLayout(this);
    auto* picture = NewLabel(this);
    picture->setObjectName("Image1");
    picture->setPixmap(CardFan());
    picture->setAlignment(Qt::AlignTop);
    layout->addWidget(picture);

    auto* column = new QVBoxLayout;
    column->addStretch();
    auto* label = NewLabel(this, tr("Please Enter Your Name:"));
    label->setObjectName("Label1");
    column->addWidget(label);
    name_ = new QLineEdit(this);
    name_->setObjectName("NameTxt");
    name_->setMaxLength(40);
    label->setBuddy(name_);
    name_->setFocus();
    column->addWidget(name_);
    column->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ok_ = new QPushButton(tr("OK"), this);
    ok_->setObjectName("OKBut");
    ok_->setDefault(true);
    cancel_ = new QPushButton(tr("&Cancel"), this);
    cancel_->setObjectName("CanBut");
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    column->addLayout(buttons);
    layout->addLayout(column, 1);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    CentreOnScreen(this);
}

QString NameFrm::Name() const { return name_->text(); }

}  // namespace kvt
