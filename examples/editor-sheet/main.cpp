// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause

// A "new network" form in a modal sheet: PropertyEditorManager creates the
// editors and keeps their values, the sheet asks to save or cancel. A stand-in
// for the user types a name and taps Save.
#include <Pavane/PropertyEditorManager>
#include <Pavane/SimpleSheet>

#include <MTextEdit>
#include <MWindow>

#include <QApplication>
#include <QGraphicsLinearLayout>

#include <cstdio>

using Pavane::PropertyEditorManager;
using Pavane::SimpleSheet;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MWindow window;
    window.show();

    // The form's values; every editor writes the property it was made for.
    PropertyEditorManager form(QMap<QString, QVariant>{{QStringLiteral("name"), QString()},
                                                       {QStringLiteral("security"), QStringLiteral("NONE")},
                                                       {QStringLiteral("autoconnect"), true}});
    // The editors are the caller's: here the body's layout takes them, and
    // the sheet takes the body.
    auto* body = new MWidget;
    auto* rows = new QGraphicsLinearLayout(Qt::Vertical, body);
    auto* name = static_cast<MTextEdit*>(form.createEditor(QStringLiteral("name"), QVariant::String));
    rows->addItem(name);
    rows->addItem(form.createEditor(QStringLiteral("security"), {QStringLiteral("Open"), QStringLiteral("WPA")},
                                    {QStringLiteral("NONE"), QStringLiteral("WPA_PSK")}));
    rows->addItem(form.createEditor(QStringLiteral("autoconnect"), true, false));

    SimpleSheet sheet;
    sheet.setTitle(QStringLiteral("New network"));
    sheet.setAcceptLabel(QStringLiteral("Save"));
    sheet.setRejectLabel(QStringLiteral("Cancel"));
    sheet.setContent(body);
    // Save only with a name.
    sheet.setAcceptEnabled(false);
    QObject::connect(&form, &PropertyEditorManager::propertyChanged, &sheet, [&] {
        sheet.setAcceptEnabled(!form.propertyValue(QStringLiteral("name")).toString().isEmpty());
    });

    // The stand-in user: Save is enabled only once the name is there.
    QObject::connect(&sheet, &MSceneWindow::appeared, &sheet, [&] {
        name->setText(QStringLiteral("Home"));
        if (sheet.isAcceptEnabled())
            sheet.accept();
        else
            sheet.reject();
    });

    // Blocks until the user decides; the sheet never dismisses itself.
    const bool saved = sheet.exec(&window);
    sheet.dismiss();
    if (!saved)
        return 1;
    const QMap<QString, QVariant> values = form.properties();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        std::printf("%s = %s\n", qPrintable(it.key()), qPrintable(it.value().toString()));
    return 0;
}
