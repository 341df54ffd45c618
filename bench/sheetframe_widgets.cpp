// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A child of bench_sheetframe: the connect sheet's content as a plain Qt
// Widgets dialog, the baseline: the same texts in the same type sizes.
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sheetframe_child.h"

namespace {

// The type sizes of the sheet's theme, so that both draw the same text in
// the same fonts.
QFont sized(int pixels, bool bold = false)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(sized(22));
    QDialog dialog;
    dialog.resize(480, 854);
    auto* rows = new QVBoxLayout(&dialog);

    auto* header = new QHBoxLayout;
    header->addWidget(new QPushButton(QStringLiteral("Cancel")));
    header->addStretch(1);
    auto* connect = new QPushButton(QStringLiteral("Connect"));
    connect->setFont(sized(22, true));
    header->addWidget(connect);
    rows->addLayout(header);

    auto* title = new QLabel(QStringLiteral("Connect to a network"));
    title->setFont(sized(30, true));
    rows->addWidget(title);

    auto field = [&](const QString& caption, const QString& prompt) {
        auto* label = new QLabel(caption);
        label->setFont(sized(20));
        rows->addWidget(label);
        auto* edit = new QLineEdit;
        edit->setPlaceholderText(prompt);
        rows->addWidget(edit);
    };
    field(QStringLiteral("Connection name"), QStringLiteral("For example: Home"));
    field(QStringLiteral("Network name (SSID)"), QStringLiteral("As the access point announces it"));

    auto* security = new QLabel(QStringLiteral("Security"));
    security->setFont(sized(18));
    rows->addWidget(security);
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
