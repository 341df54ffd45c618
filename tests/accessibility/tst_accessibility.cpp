// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The library's dialogs as a screen reader meets them: found by role and
// name in the accessible tree, read, and operated through its interfaces.
#include <Pavane/DrillDownItem>
#include <Pavane/KeyTextEdit>
#include <Pavane/OfflineMode>
#include <Pavane/PrefixTextEdit>
#include <Pavane/PropertyEditorManager>
#include <Pavane/SimpleCheckBoxLabel>
#include <Pavane/SimpleFrame>
#include <Pavane/SimpleSheet>

#include "testsupport.h"
#include "toolkittest.h"

#include <MButton>
#include <MLabel>
#include <MTextEdit>

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace Pavane;

namespace {

QString operator""_s(const char* text, size_t size)
{
    return QString::fromUtf8(text, int(size));
}

const QString Question = "Exit offline mode?"_s;

// Every event the toolkit announces, by type and object (only compared: the
// object may be gone), and a receiver that may act on it as it arrives.
QList<QPair<QAccessible::Event, const QObject*>> heard;
std::function<void(QAccessibleEvent*)> onEvent;

void record(QAccessibleEvent* event)
{
    heard.append({event->type(), event->object()});
    if (onEvent)
        onEvent(event);
}

bool wasHeard(QAccessible::Event type, const QObject* object)
{
    return heard.contains({type, object});
}

// Depth-first through the accessible subtree, as a screen reader's search.
QList<QAccessibleInterface*> nodes(QAccessibleInterface* root, QAccessible::Role role)
{
    QList<QAccessibleInterface*> found;
    if (!root)
        return found;
    if (root->role() == role)
        found.append(root);
    for (int i = 0; i < root->childCount(); ++i)
        found.append(nodes(root->child(i), role));
    return found;
}

QAccessibleInterface* find(QAccessibleInterface* root, QAccessible::Role role, const QString& name)
{
    for (QAccessibleInterface* node : nodes(root, role)) {
        if (node->text(QAccessible::Name) == name)
            return node;
    }
    return nullptr;
}

QAccessibleInterface* find(QObject* window, QAccessible::Role role, const QString& name)
{
    return find(QAccessible::queryAccessibleInterface(window), role, name);
}

bool act(QAccessibleInterface* node, const QString& action = QAccessibleActionInterface::pressAction())
{
    if (!node || !node->actionInterface() || !node->actionInterface()->actionNames().contains(action))
        return false;
    node->actionInterface()->doAction(action);
    return true;
}

SimpleFrame* framed(const QString& caption, MWidget* content)
{
    auto* frame = new SimpleFrame(caption);
    frame->setContent(content);
    return frame;
}

} // namespace

class TestAccessibility : public QObject, private ToolkitTest::FormPage
{
    Q_OBJECT

private:
    TestSupport::DevmodeProcess daemon;

private Q_SLOTS:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(record);
        QAccessible::setActive(true);
        QVERIFY(daemon.start());
    }

    void init() { open(), heard.clear(); }
    void cleanup() { onEvent = nullptr, close(); }

    void theOfflineQuestionAnswered_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("deletedAsItEnds"); // by a receiver of its DialogEnd
        QTest::newRow("yes") << "Yes" << false;
        QTest::newRow("no") << "No" << false;
        QTest::newRow("no, the question deleted as it ends") << "No" << true;
    }

    // Found, announced and answered as a screen reader would: the answer
    // reaches the daemon and the listeners, and a question deleted by an
    // event handler is made anew when asked again.
    void theOfflineQuestionAnswered()
    {
        QFETCH(QString, answer);
        QFETCH(bool, deletedAsItEnds);
        const bool consent = answer == QLatin1String("Yes");
        QVERIFY(daemon.reset(0x1e));
        OfflineMode mode;
        QSignalSpy status(&mode, &OfflineMode::status);
        QPointer<QObject> ending;
        if (deletedAsItEnds)
            onEvent = [&ending](QAccessibleEvent* event) {
                if (event->type() == QAccessible::DialogEnd && ending && event->object() == ending.data())
                    delete ending.data();
            };
        for (int round = 1; round <= (deletedAsItEnds ? 2 : 1); ++round) {
            mode.requestExitAsync();
            QAccessibleInterface* question = nullptr;
            QTRY_VERIFY((question = find(MWindow::systemwideWindow(), QAccessible::AlertMessage, Question)));
            QVERIFY(question->state().modal);
            QVERIFY(wasHeard(QAccessible::DialogStart, question->object()));
            ending = question->object();
            QVERIFY(act(find(question, QAccessible::PushButton, answer)));
            QTRY_COMPARE(status.count(), round);
            QTRY_VERIFY(!find(MWindow::systemwideWindow(), QAccessible::AlertMessage, Question));
            QCOMPARE(!ending, deletedAsItEnds);
        }
        QCOMPARE(status.first().first().toBool(), !consent);
        QCOMPARE(daemon.requestsSinceReset("req_radio_states_change"_s), consent ? 1u : 0u);
        if (consent)
            QCOMPARE(daemon.lastRequest("req_radio_states_change"_s).args, (QList<QVariant>{1u, 1u}));
        QCOMPARE(mode.currentStatus(), consent);
    }

    void theConnectSheet_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("deletedAsItEnds"); // by a receiver of its DialogEnd
        QTest::newRow("accepted") << true << false;
        QTest::newRow("accepted, deleted as it ends") << true << true;
        QTest::newRow("left undecided, deleted as it ends") << false << true;
    }

    // A connect sheet built as a dialog service builds it, its fields named by
    // their captions, filled in and decided without a tap or a key. A handler that deletes it as its end
    // is announced leaves the decision reported once.
    void theConnectSheet()
    {
        QFETCH(bool, accept);
        QFETCH(bool, deletedAsItEnds);
        PropertyEditorManager manager(QMap<QString, QVariant>{{"autoconnect"_s, true}});
        auto* body = new MWidget;
        auto* rows = new QGraphicsLinearLayout(Qt::Vertical, body);
        SimpleFrame* ssidFrame = framed("Network"_s, manager.createEditor("ssid"_s, QVariant::String));
        rows->addItem(ssidFrame);
        rows->addItem(framed("Security"_s, manager.createEditor("security"_s, {"Open"_s, "WPA"_s}, {"NONE"_s, "WPA_PSK"_s})));
        auto* key = new KeyTextEdit;
        key->setEchoMode(MTextEditModel::Password);
        QVERIFY(manager.bindEditor(key, "key"_s, QVariant::String));
        rows->addItem(framed("Key"_s, key));
        auto* proxy = new PrefixTextEdit;
        proxy->setPrefix("http://"_s);
        rows->addItem(framed("Proxy"_s, proxy));
        rows->addItem(framed("Status"_s, new MLabel("Not connected"_s))); // a label keeps its own text
        auto* autoSwitch = static_cast<MButton*>(manager.createEditor("autoconnect"_s, true, false));
        auto* autoRow = new SimpleCheckBoxLabel(autoSwitch, "Connect automatically"_s, MButton::switchType);
        autoRow->setInfoText("When in range"_s);
        rows->addItem(autoRow);
        QPointer<SimpleSheet> sheet = new SimpleSheet;
        sheet->setTitle("Connect"_s);
        sheet->setContent(body);
        sheet->setAcceptLabel("Connect"_s);
        QSignalSpy finished(sheet.data(), &SimpleSheet::finished);
        const QObject* const sheetObject = sheet.data();
        if (deletedAsItEnds)
            onEvent = [&sheet](QAccessibleEvent* event) {
                if (event->type() == QAccessible::DialogEnd && sheet && event->object() == sheet.data())
                    delete sheet.data();
            };
        sheet->appear(window.data());

        QAccessibleInterface* dialog = nullptr;
        QTRY_VERIFY((dialog = find(window.data(), QAccessible::Dialog, "Connect"_s)));
        QVERIFY(dialog->state().modal);
        QVERIFY(wasHeard(QAccessible::DialogStart, sheetObject));
        QVERIFY(find(dialog, QAccessible::StaticText, "Not connected"_s));
        QAccessibleInterface* proxyNode = find(dialog, QAccessible::EditableText, "Proxy"_s);
        QVERIFY(proxyNode && proxyNode->text(QAccessible::Description) == "http://"_s);
        ssidFrame->setTitle("Network name"_s); // the caption names its field as it changes
        for (const QString& field : {"Network name"_s, "Key"_s}) {
            QAccessibleInterface* node = find(dialog, QAccessible::EditableText, field);
            QVERIFY2(node && node->editableTextInterface() && node->textInterface(), qPrintable(field));
            const bool hidden = field == QLatin1String("Key");
            QCOMPARE(bool(node->state().passwordEdit), hidden);
            node->editableTextInterface()->insertText(0, field.toLower());
            // A hidden key is not read out, only its length.
            const QString read = node->textInterface()->text(0, node->textInterface()->characterCount());
            QCOMPARE(read.size(), field.size());
            QCOMPARE(read == field.toLower(), !hidden);
        }
        QVERIFY(act(find(dialog, QAccessible::RadioButton, "WPA"_s)));
        QAccessibleInterface* switchNode = find(dialog, QAccessible::CheckBox, "Connect automatically"_s);
        QVERIFY(act(switchNode, QAccessibleActionInterface::toggleAction()));
        QCOMPARE(switchNode->text(QAccessible::Description), "When in range"_s);
        QCOMPARE(manager.properties(), (QMap<QString, QVariant>{{"ssid"_s, "network name"_s}, {"key"_s, "key"_s},
                                                                {"security"_s, "WPA_PSK"_s}, {"autoconnect"_s, false}}));
        sheet->setTitle("Connect to Home"_s);
        QTRY_VERIFY(wasHeard(QAccessible::NameChanged, sheetObject));
        QCOMPARE(dialog->text(QAccessible::Name), "Connect to Home"_s);
        if (accept) {
            QVERIFY(act(find(dialog, QAccessible::PushButton, "Connect"_s)));
            QTRY_COMPARE(finished.count(), 1);
        }
        sheet->dismiss();
        QTRY_VERIFY(wasHeard(QAccessible::DialogEnd, sheetObject));
        QCOMPARE(!sheet, deletedAsItEnds);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toBool(), accept);
        delete sheet.data();
    }

    // Stored networks under their caption: a list read row by row, whose
    // changes are announced.
    void theNetworkList()
    {
        auto* column = new MWidget;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, column);
        QList<DrillDownItem*> rows;
        for (const QString& name : {"Home"_s, "Office"_s, "Café"_s}) {
            rows.append(new DrillDownItem);
            rows.last()->setTitle(name);
            rows.last()->setSubtitle(name.toLower() + " · WPA_PSK"_s);
            layout->addItem(rows.last());
        }
        place(framed("Stored access points"_s, column));
        QAccessibleInterface* list = nullptr;
        QTRY_VERIFY((list = find(window.data(), QAccessible::List, "Stored access points"_s)));
        QStringList read;
        for (QAccessibleInterface* row : nodes(list, QAccessible::ListItem))
            read.append(row->text(QAccessible::Name) + QLatin1String(": ") + row->text(QAccessible::Description));
        QCOMPARE(read, (QStringList{"Home: home · WPA_PSK"_s, "Office: office · WPA_PSK"_s,
                                    "Café: café · WPA_PSK"_s}));

        heard.clear();
        rows[1]->setSubtitle("Out of range"_s);
        rows[2]->setTitle("Library"_s);
        QTRY_VERIFY(wasHeard(QAccessible::DescriptionChanged, rows[1]));
        QTRY_VERIFY(wasHeard(QAccessible::NameChanged, rows[2]));
        QAccessibleInterface* office = find(list, QAccessible::ListItem, "Office"_s);
        QVERIFY(office && find(list, QAccessible::ListItem, "Library"_s));
        QCOMPARE(office->text(QAccessible::Description), "Out of range"_s);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
