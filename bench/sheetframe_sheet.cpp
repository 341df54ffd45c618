// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A child of bench_sheetframe: a connect sheet (title, two captioned text
// fields, a button group, accept and reject) in a window of its own, built
// as the applications build it.
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
    // Two captioned text fields, then the security choice.
    const struct {
        const char* key;
        const char* caption;
        const char* prompt;
    } fields[] = {{"name", "Connection name", "For example: Home"},
                  {"wlan_ssid", "Network name (SSID)", "As the access point announces it"}};
    for (const auto& field : fields) {
        auto* edit = static_cast<MTextEdit*>(form.createEditor(QLatin1String(field.key), QVariant::String));
        edit->setStyleName(QStringLiteral("CommonSingleInputField"));
        edit->setPrompt(QLatin1String(field.prompt));
        auto* frame = new SimpleFrame(QLatin1String(field.caption));
        frame->setContent(edit);
        rows->addItem(frame);
    }
    auto* security = new SimpleFrame(QStringLiteral("Security"));
    security->setContent(form.createEditor(QStringLiteral("wlan_security"),
                                           {QStringLiteral("Open"), QStringLiteral("WEP"), QStringLiteral("WPA")},
                                           {QStringLiteral("NONE"), QStringLiteral("WEP"), QStringLiteral("WPA_PSK")}));
    rows->addItem(security);

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
