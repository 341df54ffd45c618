// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A child of bench_sheetframe: a connect sheet (title, two captioned text
// fields, a button group, accept and reject) in a window of its own, built
// as the applications build it.
#include <Pavane/ButtonGroupContainer>
#include <Pavane/DialogHelperWidget>
#include <Pavane/PropertyEditorManager>
#include <Pavane/SimpleFrame>
#include <Pavane/SimpleSheet>

#include <MTextEdit>
#include <MWindow>

#include <QApplication>
#include <QGraphicsLinearLayout>

#include "sheetframe_child.h"

using namespace Pavane;

namespace {

SimpleFrame* framed(const QString& caption, MWidget* content)
{
    auto* frame = new SimpleFrame(caption);
    frame->setContent(content);
    return frame;
}

MTextEdit* asField(MWidget* editor, const QString& prompt)
{
    auto* field = static_cast<MTextEdit*>(editor);
    field->setStyleName(QStringLiteral("CommonSingleInputField"));
    field->setPrompt(prompt);
    return field;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MWindow window;
    window.resize(480, 854);

    PropertyEditorManager form(QMap<QString, QVariant>{{QStringLiteral("name"), QString()},
                                                       {QStringLiteral("wlan_ssid"), QString()},
                                                       {QStringLiteral("wlan_security"), QStringLiteral("NONE")}});
    auto* inner = new MWidget;
    auto* rows = new QGraphicsLinearLayout(Qt::Vertical, inner);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addItem(framed(QStringLiteral("Connection name"),
                         asField(form.createEditor(QStringLiteral("name"), QVariant::String),
                                 QStringLiteral("For example: Home"))));
    rows->addItem(framed(QStringLiteral("Network name (SSID)"),
                         asField(form.createEditor(QStringLiteral("wlan_ssid"), QVariant::String),
                                 QStringLiteral("As the access point announces it"))));
    rows->addItem(framed(QStringLiteral("Security"),
                         form.createEditor(QStringLiteral("wlan_security"),
                                           {QStringLiteral("Open"), QStringLiteral("WEP"), QStringLiteral("WPA")},
                                           {QStringLiteral("NONE"), QStringLiteral("WEP"),
                                            QStringLiteral("WPA_PSK")})));

    SimpleSheet sheet;
    sheet.setTitle(QStringLiteral("Connect to a network"));
    sheet.setAcceptLabel(QStringLiteral("Connect"));
    sheet.setRejectLabel(QStringLiteral("Cancel"));
    sheet.setContent(new DialogHelperWidget(inner));

    FirstFrame frame(window.viewport(), &window);
    window.show();
    sheet.appear(&window);
    return app.exec();
}
