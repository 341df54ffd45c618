// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A child of bench_sheetframe: the connect sheet's content as a plain Qt
// Widgets dialog, the baseline.
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sheetframe_child.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.resize(480, 854);
    auto* rows = new QVBoxLayout(&dialog);

    auto* header = new QHBoxLayout;
    header->addWidget(new QPushButton(QStringLiteral("Cancel")));
    header->addStretch(1);
    header->addWidget(new QPushButton(QStringLiteral("Connect")));
    rows->addLayout(header);

    auto* title = new QLabel(QStringLiteral("Connect to a network"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    rows->addWidget(title);

    auto field = [&](const QString& caption, const QString& prompt) {
        rows->addWidget(new QLabel(caption));
        auto* edit = new QLineEdit;
        edit->setPlaceholderText(prompt);
        rows->addWidget(edit);
    };
    field(QStringLiteral("Connection name"), QStringLiteral("For example: Home"));
    field(QStringLiteral("Network name (SSID)"), QStringLiteral("As the access point announces it"));

    rows->addWidget(new QLabel(QStringLiteral("Security")));
    auto* choices = new QHBoxLayout;
    auto* group = new QButtonGroup(&dialog);
    for (const QString& label : {QStringLiteral("Open"), QStringLiteral("WEP"), QStringLiteral("WPA")}) {
        auto* button = new QPushButton(label);
        button->setCheckable(true);
        group->addButton(button);
        choices->addWidget(button);
    }
    group->buttons().first()->setChecked(true);
    rows->addLayout(choices);
    rows->addStretch(1);

    FirstFrame frame(&dialog, &dialog);
    dialog.show();
    return app.exec();
}
