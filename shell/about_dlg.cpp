#include "shell/about_dlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/plain_text.h"

namespace kvt {

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutDlg");
    setWindowTitle(tr("About KVT"));
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty()) version = QStringLiteral("0.1.0");

    auto* layout = new QVBoxLayout(this);
    auto* name = NewLabel(this, QStringLiteral("KVT"));
    QFont heading = name->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    name->setFont(heading);
    name->setObjectName("NameLbl");
    auto* version_label = NewLabel(this, tr("Version %1").arg(version));
    version_label->setObjectName("VersionLbl");
    auto* what = NewLabel(this, tr("A card table for four: you and three computer opponents. The cards and what they "
                               "do come from the card set in force; card sets and players are made with kvx."));
    what->setObjectName("WhatLbl");
    what->setWordWrap(true);
    what->setMinimumWidth(320);
    layout->addWidget(name);
    layout->addWidget(version_label);
    layout->addWidget(what);
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName("OkBut");
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kvt
