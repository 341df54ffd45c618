// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// PropertyEditorManager with its editors in a window, driven as a user
// would: typing, tapping buttons and switches, picking combo-box items.
#include <Pavane/ButtonGroupContainer>
#include <Pavane/PropertyEditorManager>
#include <Pavane/ValueKeyMapperIf>

#include "testsupport.h"
#include "toolkittest.h"

#include <MButton>
#include <MComboBox>
#include <MLabel>
#include <MTextEdit>

#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using Pavane::ButtonGroupContainer;
using Pavane::PropertyEditorManager;
using TestSupport::describe;

namespace {

// Stores the text under "ipv6" when it holds a colon, else under "ipv4",
// and clears the other key and "address".
struct AddressMapper : Pavane::ValueKeyMapperIf
{
    MTextEdit* edit = nullptr;
    bool v6() const { return edit->text().contains(QLatin1Char(':')); }
    QString mappedKey() const override { return QString::fromLatin1(v6() ? "ipv6" : "ipv4"); }
    QVariant mappedValue() const override { return edit->text(); }
    QStringList obsoleteKeys() const override { return {QString::fromLatin1(v6() ? "ipv4" : "ipv6"), "address"}; }
};

class Target : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool hidden MEMBER hidden)

public:
    bool hidden = true;
};

} // namespace

class TestPropertyEditorManager : public QObject, private ToolkitTest::FormPage
{
    Q_OBJECT

private:
    // Puts an editor on the form, shown.
    template<typename Editor>
    Editor* placed(QGraphicsWidget* editor)
    {
        return qobject_cast<Editor*>(place(editor));
    }

    void typeInto(MTextEdit* edit, const QString& text)
    {
        tap(edit);
        type(text);
    }

private Q_SLOTS:
    void init() { open(); }

    void cleanup()
    {
        close();
        QLocale::setDefault(QLocale::c());
    }

    // What a text edit shows and stores, by the property's type. In a locale
    // with its own minus sign, an edited number used to be stored as 0.
    void textEdits_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("not a number") << QVariant(6) << "6" << "x" << QVariant(0);
        QTest::newRow("no group separators") << QVariant(1234567) << "1234567" << "8" << QVariant(12345678);
        QTest::newRow("locale's minus sign") << QVariant(-42) << QString::fromUtf8("\u221242") << "1" << QVariant(-421);
        QTest::newRow("list") << QVariant(QStringList{"a", "b"}) << "a b" << ", c" << QVariant(QStringList{"a", "b", "c"});
        QTest::newRow("no value yet") << QVariant() << "" << "Koti" << QVariant(QStringLiteral("Koti"));
    }

    void textEdits()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        QLocale::setDefault(QLocale(QStringLiteral("fi_FI")));
        PropertyEditorManager manager(QMap<QString, QVariant>{{"p", value}});
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        auto* edit = placed<MTextEdit>(manager.createEditor("p", QVariant::Invalid));
        QCOMPARE(edit->text(), shown);
        typeInto(edit, typed);
        QCOMPARE(describe(manager.propertyValue("p")), describe(stored));
        // One announcement per keystroke; a property without value gets one at once.
        QCOMPARE(changed.count(), typed.size() + (value.isValid() ? 0 : 1));
    }

    void selectionEditors()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"security", 2}, {"mode", 3}});
        const QList<QVariant> values{1, 2, 3, 4};

        // Up to the limit (three by default) a button group, beyond it a combo box.
        auto* group = placed<ButtonGroupContainer>(
            manager.createEditor("security", QStringList{"None", "WEP", "WPA"}, values.mid(0, 3)));
        QCOMPARE(group->selectedText(), QStringLiteral("WEP"));
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        tap(group->button(2));
        QCOMPARE(manager.propertyValue("security"), QVariant(3));

        auto* combo = placed<MComboBox>(manager.createEditor("mode", QStringList{"Ad hoc", "Infra", "Mesh", "Monitor"}, values));
        QCOMPARE(combo->currentIndex(), 2);
        combo->setCurrentIndex(1);
        QCOMPARE(manager.propertyValue("mode"), QVariant(2));
        QCOMPARE(changed.count(), 2);

        // Labels without a value are left out, and nothing is read past the values.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("3 labels but 2 values"));
        QScopedPointer<MWidget> shortValues(manager.createEditor("mode", QStringList{"a", "b", "c"}, QList<QVariant>{1, 2}));
        auto* shortGroup = qobject_cast<ButtonGroupContainer*>(shortValues.data());
        QVERIFY(shortGroup->button(1) && !shortGroup->button(2));
        QCOMPARE(shortGroup->selectedText(), QStringLiteral("b"));
    }

    // A mapper writes under the key that what was typed calls for. Bound
    // both by name and through a mapper, a deleted editor used to stay in
    // one of the two registries, and widgetForProperty() read freed memory.
    void mappers()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"address", "old"}});
        AddressMapper mapper;
        mapper.edit = placed<MTextEdit>(new MTextEdit);
        QVERIFY(manager.bindEditor(mapper.edit, &mapper));
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        typeInto(mapper.edit, "f");
        QStringList names;
        for (const QList<QVariant>& call : changed)
            names << call.at(0).toString();
        QCOMPARE(names, (QStringList{"ipv4", "ipv6", "address"}));
        type(":1");
        QCOMPARE(manager.propertyValue("ipv6"), QVariant(QStringLiteral("f:1")));
        QVERIFY(!manager.propertyValue("ipv4").isValid() && !manager.propertyValue("address").isValid());

        PropertyEditorManager twice(QMap<QString, QVariant>{{"ipv4", "a"}});
        mapper.edit = new MTextEdit;
        QVERIFY(twice.bindEditor(mapper.edit, "ipv4", QVariant::String));
        QVERIFY(twice.bindEditor(mapper.edit, &mapper));
        QCOMPARE(twice.widgetForProperty("ipv4"), mapper.edit);
        delete mapper.edit;
        QVERIFY(!twice.widgetForProperty("ipv4"));

        // Refused: no mapper, a widget that edits nothing, a combo box without model.
        QVERIFY(!twice.bindEditor(placed<MTextEdit>(new MTextEdit), nullptr));
        MLabel label;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Unsupported editor widget: "));
        QVERIFY(!twice.bindEditor(&label, "fresh", QVariant::Int));
        QVERIFY(!twice.widgetForProperty("fresh"));
        MComboBox unbound;
        QVERIFY(!twice.bindEditor(&unbound, "ipv4", nullptr, 1));
    }

    // Values of types no editor expects, in every editor kind: each editor
    // is made, and a user's change stores a value and is announced once.
    void unexpectedValueTypes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("map") << QVariant(QVariantMap{{"a", QVariantList{1, "x"}}});
        QTest::newRow("nested list") << QVariant(QVariantList{QVariantList{QVariantMap{}}, QVariant()});
        QTest::newRow("not a number") << QVariant(qQNaN());
        QTest::newRow("bytes with NUL and no UTF-8") << QVariant(QByteArray("\0\xff\xfe", 3));
        QTest::newRow("huge text") << QVariant(QString(100000, QChar(0xd800)));
    }

    void unexpectedValueTypes()
    {
        QFETCH(QVariant, value);
        PropertyEditorManager manager(QMap<QString, QVariant>{{"p", value}});
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        auto* byType = placed<MTextEdit>(manager.createEditor("p", QVariant::Invalid));
        typeInto(byType, "1");
        QCOMPARE(changed.count(), 1);

        for (const QVariant::Type type : {QVariant::Int, QVariant::Bool, QVariant::StringList, QVariant::ByteArray,
                                          QVariant::Type(QVariant::UserType + 77)}) {
            manager.setPropertyValue("p", value);
            QScopedPointer<MWidget> editor(manager.createEditor("p", type));
            QVERIFY(editor);
        }
        manager.setPropertyValue("p", value);
        auto* group = placed<ButtonGroupContainer>(manager.createEditor("p", QStringList{"a", "b"}, {value, QVariant()}));
        // Selected when equal to itself (NaN is not).
        QCOMPARE(group->selectedText(), value == value ? QStringLiteral("a") : QString());
        changed.clear();
        tap(group->button(1));
        QCOMPARE(changed.count(), 1);
        QVERIFY(!manager.propertyValue("p").isValid());

        manager.setPropertyValue("p", value);
        auto* toggle = placed<MButton>(manager.createEditor("p", QVariant(), value));
        QVERIFY(!toggle->isChecked());
        tap(toggle);
        QVERIFY(!manager.propertyValue("p").isValid());
    }

    void editorsAndManagerGoingAway()
    {
        auto* manager = new PropertyEditorManager(QMap<QString, QVariant>{{"ssid", "a"}});
        QPointer<MWidget> first = manager->createEditor("ssid", QVariant::Invalid);
        auto* second = placed<MTextEdit>(manager->createEditor("ssid", QVariant::Invalid));
        placed<MTextEdit>(first.data());

        // Two editors on one property: both write it, neither shows the other.
        typeInto(second, "b");
        QCOMPARE(manager->propertyValue("ssid"), QVariant(QStringLiteral("ab")));
        QCOMPARE(qobject_cast<MTextEdit*>(first.data())->text(), QStringLiteral("a"));

        // Editors deleted while laid out leave the registry.
        delete first.data();
        QCOMPARE(manager->widgetForProperty("ssid"), second);
        delete second;
        QVERIFY(!manager->widgetForProperty("ssid"));

        // The manager before its editors: they stay, and reach nothing.
        auto* orphan = placed<MTextEdit>(manager->createEditor("ssid", QVariant::Invalid));
        delete manager;
        typeInto(orphan, "x");
        QCOMPARE(orphan->text(), QStringLiteral("abx"));

        // The object of object mode is not owned: once it was gone, edits
        // used to write to freed memory.
        auto* target = new Target;
        PropertyEditorManager objectMode(target);
        auto* hidden = placed<MButton>(objectMode.createEditor("hidden", QVariant::Invalid));
        tap(hidden);
        QCOMPARE(target->hidden, false);
        delete target;
        QSignalSpy changed(&objectMode, &PropertyEditorManager::propertyChanged);
        tap(hidden);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!objectMode.propertyValue("hidden").isValid());
    }

};

QTEST_MAIN(TestPropertyEditorManager)
#include "tst_propertyeditormanager.moc"
