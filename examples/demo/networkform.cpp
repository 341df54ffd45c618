// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#include "networkform.h"

#include <Pavane/ButtonGroupContainer>
#include <Pavane/DialogHelperWidget>
#include <Pavane/DrillDownItem>
#include <Pavane/KeyTextEdit>
#include <Pavane/PrefixTextEdit>
#include <Pavane/PropertyEditorManager>
#include <Pavane/SimpleCheckBoxLabel>
#include <Pavane/SimpleFrame>

#include <MButton>
#include <MImageWidget>
#include <MTextEdit>

#include <QGraphicsLinearLayout>
#include <QRegExpValidator>

using namespace Pavane;

namespace {

// A vertical column of form rows.
MWidget* column(QGraphicsLinearLayout** layout)
{
    auto* widget = new MWidget;
    *layout = new QGraphicsLinearLayout(Qt::Vertical, widget);
    (*layout)->setContentsMargins(0, 0, 0, 0);
    (*layout)->setSpacing(0);
    return widget;
}

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

QMap<QString, QVariant> NetworkForm::blankRecord()
{
    return {
        {QStringLiteral("name"), QString()},
        {QStringLiteral("wlan_ssid"), QString()},
        {QStringLiteral("wlan_security"), QStringLiteral("NONE")},
        {QStringLiteral("wlan_wpa_key"), QString()},
        {QStringLiteral("proxy_http_host"), QString()},
        {QStringLiteral("autoconnect"), true},
        {QStringLiteral("wlan_hidden"), false},
    };
}

NetworkForm NetworkForm::build(PropertyEditorManager* manager, const QList<StoredNetwork>& stored)
{
    NetworkForm form;
    QGraphicsLinearLayout* rows = nullptr;
    MWidget* inner = column(&rows);

    form.name = asField(manager->createEditor(QStringLiteral("name"), QVariant::String),
                        QStringLiteral("For example: Home"));
    rows->addItem(framed(QStringLiteral("Connection name"), form.name));

    form.ssid = asField(manager->createEditor(QStringLiteral("wlan_ssid"), QVariant::String),
                        QStringLiteral("As the access point announces it"));
    rows->addItem(framed(QStringLiteral("Network name (SSID)"), form.ssid));

    form.security = static_cast<ButtonGroupContainer*>(manager->createEditor(
        QStringLiteral("wlan_security"), {QStringLiteral("Open"), QStringLiteral("WEP"), QStringLiteral("WPA")},
        {QStringLiteral("NONE"), QStringLiteral("WEP"), QStringLiteral("WPA_PSK")}));
    rows->addItem(framed(QStringLiteral("Security"), form.security));

    form.key = new KeyTextEdit;
    asField(form.key, QStringLiteral("8 to 63 characters"));
    form.key->setValidator(new QRegExpValidator(
        QRegExp(QStringLiteral("[\\x20-\\x7e]{8,63}|[0-9a-fA-F]{64}")), form.key));
    manager->bindEditor(form.key, QStringLiteral("wlan_wpa_key"), QVariant::String);
    rows->addItem(framed(QStringLiteral("Key"), form.key));

    form.proxy = new PrefixTextEdit;
    asField(form.proxy, QStringLiteral("host:port"));
    form.proxy->setPrefix(QStringLiteral("http://"));
    manager->bindEditor(form.proxy, QStringLiteral("proxy_http_host"), QVariant::String);
    rows->addItem(framed(QStringLiteral("Proxy"), form.proxy));

    form.autoConnect = static_cast<MButton*>(manager->createEditor(QStringLiteral("autoconnect"), true, false));
    auto* autoRow = new SimpleCheckBoxLabel(form.autoConnect, QStringLiteral("Connect automatically"),
                                            MButton::switchType);
    autoRow->setInfoText(QStringLiteral("Whenever the network is in range"));
    rows->addItem(autoRow);
    form.hidden = static_cast<MButton*>(manager->createEditor(QStringLiteral("wlan_hidden"), true, false));
    rows->addItem(new SimpleCheckBoxLabel(form.hidden, QStringLiteral("Hidden network"), MButton::switchType));

    QGraphicsLinearLayout* list = nullptr;
    MWidget* storedList = column(&list);
    for (const StoredNetwork& network : stored) {
        auto* item = new DrillDownItem;
        item->setTitle(network.name);
        item->setSubtitle(QStringLiteral("%1 · %2").arg(network.ssid, network.security));
        item->setImageWidget(new MImageWidget(QStringLiteral("icon-m-common-wlan-inverse")));
        list->addItem(item);
        form.stored.append(item);
    }
    rows->addItem(framed(QStringLiteral("Stored access points"), storedList));

    // The sheet is dark: the wrapper gives every widget inside, also the
    // ones the frames build, the inverted variant of its style.
    form.body = new DialogHelperWidget(inner);
    return form;
}

bool NetworkForm::keyIsComplete() const
{
    return key->hasAcceptableInput();
}
