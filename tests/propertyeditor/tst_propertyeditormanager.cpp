// PropertyEditorManager with its editors in a window, driven as a user
// would: typing, tapping buttons and switches, picking combo-box items.
#include <Pavane/ButtonGroupContainer>
#include <Pavane/ConnectivitySettings>
#include <Pavane/PropertyEditorManager>
#include <Pavane/ValueKeyMapperIf>

#include "testsupport.h"
#include "toolkittest.h"

#include <MButton>
#include <MComboBox>
#include <MLabel>
#include <MSceneWindow>
#include <MTextEdit>

#include <QGraphicsLinearLayout>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

using Pavane::ButtonGroupContainer;
using Pavane::PropertyEditorManager;
using TestSupport::describe;

namespace {

// The property key is "ipv6" when the text holds a colon, else "ipv4"; the
// other one is cleared.
class AddressMapper : public Pavane::ValueKeyMapperIf
{
public:
    explicit AddressMapper(MTextEdit* edit)
        : edit(edit)
    {
    }
    QString mappedKey() const override { return isV6() ? QStringLiteral("ipv6") : QStringLiteral("ipv4"); }
    QVariant mappedValue() const override { return edit->text(); }
    QStringList obsoleteKeys() const override
    {
        return {isV6() ? QStringLiteral("ipv4") : QStringLiteral("ipv6"), QStringLiteral("address")};
    }

private:
    bool isV6() const { return edit->text().contains(QLatin1Char(':')); }
    MTextEdit* edit;
};

class Target : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ssid MEMBER ssid)
    Q_PROPERTY(bool hidden MEMBER hidden)

public:
    QString ssid = QStringLiteral("home");
    bool hidden = true;
};

} // namespace

class TestPropertyEditorManager : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;
    QScopedPointer<MSceneWindow> page;
    QGraphicsLinearLayout* form = nullptr;

    // Puts an editor on the form, shown.
    template<typename Editor>
    Editor* place(QGraphicsWidget* editor)
    {
        form->insertItem(form->count() - 1, editor);
        QGraphicsLinearLayout* layout = form;
        if (!QTest::qWaitFor([layout, editor] { return layout->isActivated() && editor->isVisible(); }))
            qWarning("the editor was not laid out");
        return qobject_cast<Editor*>(editor);
    }

    void typeInto(MTextEdit* edit, const QString& text)
    {
        ToolkitTest::tap(window.data(), edit);
        ToolkitTest::type(window.data(), text);
    }

    void pick(MComboBox* combo, const QString& text)
    {
        ToolkitTest::tap(window.data(), combo);
        QTRY_VERIFY(combo->isPopupVisible());
        // The popup's rows are buttons labelled with the items' texts.
        MButton* row = nullptr;
        for (QGraphicsItem* item : window->scene()->items()) {
            auto* button = qobject_cast<MButton*>(item->toGraphicsObject());
            if (button && button->text() == text && button->isVisible() && !button->isAncestorOf(combo))
                row = button;
        }
        QVERIFY(row);
        ToolkitTest::tap(window.data(), row);
        QTRY_VERIFY(!combo->isPopupVisible());
    }

private Q_SLOTS:
    void init()
    {
        window.reset(ToolkitTest::shownWindow());
        page.reset(new MSceneWindow);
        form = new QGraphicsLinearLayout(Qt::Vertical, page.data());
        form->addStretch();
        page->appear(window.data());
    }

    void cleanup()
    {
        page.reset();
        window.reset();
        QLocale::setDefault(QLocale::c());
    }

    void theModel()
    {
        const QMap<QString, QVariant> values{{"ssid", "home"}, {"channel", 6}};
        PropertyEditorManager manager(values);
        QCOMPARE(manager.properties(), values);
        QVERIFY(!manager.propertyValue(QStringLiteral("unknown")).isValid());
        QCOMPARE(manager.buttonGroupLimit(), 3);

        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        auto* edit = place<MTextEdit>(manager.createEditor(QStringLiteral("ssid"), QVariant::Invalid));
        manager.setPropertyValue(QStringLiteral("ssid"), QStringLiteral("office"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(edit->text(), QStringLiteral("home")); // editors show what they were given
        manager.setPropertyValueWithNotification(QStringLiteral("ssid"), QStringLiteral("office"));
        QCOMPARE(changed.count(), 1);

        Target target;
        PropertyEditorManager objectMode(&target);
        objectMode.setPropertyValue(QStringLiteral("ssid"), QStringLiteral("cafe"));
        QCOMPARE(target.ssid, QStringLiteral("cafe"));
        objectMode.setPropertyValue(QStringLiteral("dynamic"), 5);
        QCOMPARE(target.property("dynamic"), QVariant(5));
        QVERIFY(objectMode.properties().isEmpty());
    }

    void editorsByType()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"hidden", true}, {"channel", 6}});
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);

        auto* hidden = place<MButton>(manager.createEditor(QStringLiteral("hidden"), QVariant::Invalid));
        QVERIFY(hidden && hidden->isCheckable() && hidden->isChecked());
        QCOMPARE(hidden->objectName(), QStringLiteral("hidden"));
        ToolkitTest::tap(window.data(), hidden);
        QCOMPARE(manager.propertyValue(QStringLiteral("hidden")), QVariant(false));

        auto* channel = place<MTextEdit>(manager.createEditor(QStringLiteral("channel"), QVariant::Int));
        QCOMPARE(channel->contentType(), M::NumberContentType);
        QCOMPARE(channel->text(), QStringLiteral("6"));
        typeInto(channel, QStringLiteral("1"));
        QCOMPARE(describe(manager.propertyValue(QStringLiteral("channel"))), describe(QVariant(61)));
        typeInto(channel, QStringLiteral("x"));
        QCOMPARE(describe(manager.propertyValue(QStringLiteral("channel"))), describe(QVariant(0)));

        // No value yet: a text edit, and the property gets a null string.
        QCOMPARE(changed.count(), 3);
        auto* name = place<MTextEdit>(manager.createEditor(QStringLiteral("name"), QVariant::Invalid));
        QVERIFY(name && name->text().isEmpty());
        QCOMPARE(changed.count(), 4);
        QVERIFY(manager.propertyValue(QStringLiteral("name")).toString().isNull());
        typeInto(name, QStringLiteral("Koti"));
        QCOMPARE(manager.propertyValue(QStringLiteral("name")), QVariant(QStringLiteral("Koti")));
    }

    void selectionEditors()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"security", 2}, {"mode", 3}});
        const QList<QVariant> values{1, 2, 3, 4};

        auto* group = place<ButtonGroupContainer>(manager.createEditor(
            QStringLiteral("security"), QStringList{"None", "WEP", "WPA"}, values.mid(0, 3)));
        QVERIFY(group);
        QCOMPARE(group->selectedText(), QStringLiteral("WEP"));
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        ToolkitTest::tap(window.data(), group->button(2));
        QCOMPARE(manager.propertyValue(QStringLiteral("security")), QVariant(3));
        QCOMPARE(changed.count(), 1);

        auto* combo = place<MComboBox>(manager.createEditor(
            QStringLiteral("mode"), QStringList{"Ad hoc", "Infra", "Mesh", "Monitor"}, values));
        QVERIFY(combo);
        QCOMPARE(combo->styleName(), QStringLiteral("CommonComboBox"));
        QCOMPARE(combo->currentIndex(), 2);
        pick(combo, QStringLiteral("Infra"));
        QCOMPARE(manager.propertyValue(QStringLiteral("mode")), QVariant(2));
        QCOMPARE(changed.count(), 2);
    }

    void theButtonGroupLimit()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"p", 5}});
        manager.setButtonGroupLimit(0);
        QScopedPointer<MWidget> one(manager.createEditor(QStringLiteral("p"), QStringList{"a"}, QList<QVariant>{1}));
        QVERIFY(qobject_cast<MComboBox*>(one.data()));
        // Nothing equal to the current value: the combo box keeps its own choice.
        QCOMPARE(qobject_cast<MComboBox*>(one.data())->currentIndex(), -1);
        manager.setButtonGroupLimit(10);
        QStringList labels;
        QList<QVariant> values;
        for (int i = 0; i < 10; ++i) {
            labels << QString::number(i);
            values << (i == 7 ? 5 : 10 + i);
        }
        values[9] = 5; // the first equal value is the one selected
        QScopedPointer<MWidget> ten(manager.createEditor(QStringLiteral("p"), labels, values));
        auto* group = qobject_cast<ButtonGroupContainer*>(ten.data());
        QVERIFY(group);
        QCOMPARE(group->selectedText(), QStringLiteral("7"));
    }

    void labelsWithoutValuesAreLeftOut()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"p", 2}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("3 labels but 2 values")));
        auto* group = place<ButtonGroupContainer>(manager.createEditor(QStringLiteral("p"), QStringList{"a", "b", "c"}, QList<QVariant>{1, 2}));
        QVERIFY(group->button(1) && !group->button(2));
        QCOMPARE(group->selectedText(), QStringLiteral("b"));
    }

    void twoValueSwitch()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"dhcp", "manual"}});
        auto* button = place<MButton>(manager.createEditor(QStringLiteral("dhcp"), QVariant("auto"), QVariant("manual")));
        QVERIFY(!button->isChecked());
        ToolkitTest::tap(window.data(), button);
        QCOMPARE(manager.propertyValue(QStringLiteral("dhcp")), QVariant(QStringLiteral("auto")));
        ToolkitTest::tap(window.data(), button);
        QCOMPARE(manager.propertyValue(QStringLiteral("dhcp")), QVariant(QStringLiteral("manual")));

        manager.setPropertyValue(QStringLiteral("other"), QStringLiteral("neither"));
        QScopedPointer<MWidget> other(manager.createEditor(QStringLiteral("other"), QVariant("auto"), QVariant("manual")));
        QVERIFY(!qobject_cast<MButton*>(other.data())->isChecked());
    }

    void textConversions()
    {
        QLocale::setDefault(QLocale(QStringLiteral("fi_FI")));
        PropertyEditorManager manager(QMap<QString, QVariant>{
            {"big", 1234567}, {"negative", -42}, {"dns", QStringList{"a", "b"}}, {"key", QByteArray("ab")}});

        auto* big = place<MTextEdit>(new MTextEdit);
        QVERIFY(manager.bindEditor(big, QStringLiteral("big"), QVariant::Invalid));
        QCOMPARE(big->text(), QStringLiteral("1234567")); // no group separators
        auto* negative = place<MTextEdit>(new MTextEdit);
        QVERIFY(manager.bindEditor(negative, QStringLiteral("negative"), QVariant::Invalid));
        typeInto(negative, QStringLiteral("1"));
        QCOMPARE(describe(manager.propertyValue(QStringLiteral("negative"))), describe(QVariant(-421)));

        auto* dns = place<MTextEdit>(new MTextEdit);
        QVERIFY(manager.bindEditor(dns, QStringLiteral("dns"), QVariant::Invalid));
        QCOMPARE(dns->text(), QStringLiteral("a b"));
        dns->setText(QStringLiteral("x, y  z,,w"));
        QCOMPARE(manager.propertyValue(QStringLiteral("dns")), QVariant(QStringList{"x", "y", "z", "w"}));

        auto* key = place<MTextEdit>(new MTextEdit);
        QVERIFY(manager.bindEditor(key, QStringLiteral("key"), QVariant::Invalid));
        QCOMPARE(key->text(), QStringLiteral("ab"));
        typeInto(key, QStringLiteral("c"));
        QCOMPARE(describe(manager.propertyValue(QStringLiteral("key"))), describe(QVariant(QByteArray("abc"))));

        // Another type is stored as text from the first edit on.
        manager.setPropertyValue(QStringLiteral("ratio"), 0.5);
        auto* ratio = place<MTextEdit>(new MTextEdit);
        QVERIFY(manager.bindEditor(ratio, QStringLiteral("ratio"), QVariant::Invalid));
        typeInto(ratio, QStringLiteral("1"));
        QCOMPARE(describe(manager.propertyValue(QStringLiteral("ratio"))), describe(QVariant(QStringLiteral("0.51"))));
    }

    void bindingRefusalsAndCombos()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"mode", "Mesh"}, {"value", 3}});
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);

        // Refused, but the property has already had its first value.
        MLabel label;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Unsupported editor widget: ")));
        QVERIFY(!manager.bindEditor(&label, QStringLiteral("fresh"), QVariant::Int));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(describe(manager.propertyValue(QStringLiteral("fresh"))), describe(QVariant(QVariant::Int)));
        QVERIFY(!manager.bindEditor(&label, QStringLiteral("fresh"), nullptr, 1));
        AddressMapper mapper(nullptr);
        QVERIFY(!manager.bindEditor(&label, &mapper));
        QVERIFY(!manager.widgetForProperty(QStringLiteral("fresh")));

        // No item with the value's text: the index stays and nothing is said.
        auto* combo = place<MComboBox>(new MComboBox);
        combo->addItems({"Ad hoc", "Infra"});
        combo->setCurrentIndex(1);
        QVERIFY(manager.bindEditor(combo, QStringLiteral("mode"), QVariant::Invalid));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(changed.count(), 1);

        // Bound to a model: the later of two equal rows wins; picks store column 1.
        QStandardItemModel model(3, 2);
        const QList<QPair<QString, int>> rows{{"low", 3}, {"mid", 5}, {"high", 3}};
        for (int row = 0; row < rows.size(); ++row) {
            model.setData(model.index(row, 0), rows[row].first);
            model.setData(model.index(row, 1), rows[row].second);
        }
        auto* levels = place<MComboBox>(new MComboBox);
        levels->setItemModel(&model);
        QVERIFY(manager.bindEditor(levels, QStringLiteral("value"), &model, 1));
        QCOMPARE(levels->currentIndex(), 2);
        pick(levels, QStringLiteral("mid"));
        QCOMPARE(manager.propertyValue(QStringLiteral("value")), QVariant(5));
    }

    void aMapperWritesByWhatWasTyped()
    {
        PropertyEditorManager manager(QMap<QString, QVariant>{{"address", "old"}});
        auto* edit = place<MTextEdit>(new MTextEdit);
        AddressMapper mapper(edit);
        QVERIFY(manager.bindEditor(edit, &mapper));
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        typeInto(edit, QStringLiteral("f"));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("ipv4"));
        QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("ipv6"));
        QCOMPARE(changed.at(2).at(0).toString(), QStringLiteral("address"));
        ToolkitTest::type(window.data(), QStringLiteral(":1"));
        QCOMPARE(manager.propertyValue(QStringLiteral("ipv6")), QVariant(QStringLiteral("f:1")));
        QVERIFY(!manager.propertyValue(QStringLiteral("ipv4")).isValid());
        QVERIFY(!manager.propertyValue(QStringLiteral("address")).isValid());
        QVERIFY(!manager.widgetForProperty(QStringLiteral("ipv6")));
    }

    void editorsAndManagerGoingAway()
    {
        auto* manager = new PropertyEditorManager(QMap<QString, QVariant>{{"ssid", "a"}});
        QPointer<MWidget> first = manager->createEditor(QStringLiteral("ssid"), QVariant::Invalid);
        auto* second = place<MTextEdit>(manager->createEditor(QStringLiteral("ssid"), QVariant::Invalid));
        place<MTextEdit>(first.data());

        // Two editors on one property: both write it, neither shows the other.
        typeInto(second, QStringLiteral("b"));
        QCOMPARE(manager->propertyValue(QStringLiteral("ssid")), QVariant(QStringLiteral("ab")));
        QCOMPARE(qobject_cast<MTextEdit*>(first.data())->text(), QStringLiteral("a"));

        delete first.data();
        QCOMPARE(manager->widgetForProperty(QStringLiteral("ssid")), second);
        delete second;
        QVERIFY(!manager->widgetForProperty(QStringLiteral("ssid")));

        // The manager before its editors: they stay, and reach nothing.
        auto* orphan = place<MTextEdit>(manager->createEditor(QStringLiteral("ssid"), QVariant::Invalid));
        QSignalSpy changed(manager, &PropertyEditorManager::propertyChanged);
        delete manager;
        typeInto(orphan, QStringLiteral("x"));
        QCOMPARE(orphan->text(), QStringLiteral("abx"));
    }

    void objectModeWithATargetThatGoes()
    {
        auto* target = new Target;
        PropertyEditorManager manager(target);
        auto* hidden = place<MButton>(manager.createEditor(QStringLiteral("hidden"), QVariant::Invalid));
        ToolkitTest::tap(window.data(), hidden);
        QCOMPARE(target->hidden, false);
        delete target;
        QSignalSpy changed(&manager, &PropertyEditorManager::propertyChanged);
        ToolkitTest::tap(window.data(), hidden);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!manager.propertyValue(QStringLiteral("hidden")).isValid());
        QVERIFY(manager.properties().isEmpty());
    }

    // A form over a stored access point: the record's values in, every
    // change back to the store.
    void aFormOverAStoredRecord()
    {
        QTemporaryDir dir;
        qputenv("NETPREFS_DB", dir.filePath(QStringLiteral("netprefs.db")).toUtf8());
        using Pavane::ConnectivitySettings;
        ConnectivitySettings record(ConnectivitySettings::IAP, QStringLiteral("home"));
        record.set(QStringLiteral("name"), QStringLiteral("Home"));
        record.set(QStringLiteral("hidden"), false);
        record.set(QStringLiteral("security"), QStringLiteral("WPA_PSK"));

        QMap<QString, QVariant> values;
        for (const QString& key : record.getAllKeys())
            values.insert(key, record.get(key));
        PropertyEditorManager manager(values);
        connect(&manager, &PropertyEditorManager::propertyChanged, &record,
                [&](const QString& name) { record.set(name, manager.propertyValue(name)); });

        auto* name = place<MTextEdit>(manager.createEditor(QStringLiteral("name"), QVariant::Invalid));
        auto* hidden = place<MButton>(manager.createEditor(QStringLiteral("hidden"), QVariant::Invalid));
        auto* security = place<ButtonGroupContainer>(manager.createEditor(
            QStringLiteral("security"), QStringList{"Open", "WEP", "WPA"}, QList<QVariant>{"NONE", "WEP", "WPA_PSK"}));
        QCOMPARE(security->selectedText(), QStringLiteral("WPA"));

        typeInto(name, QStringLiteral(" Wi-Fi"));
        ToolkitTest::tap(window.data(), hidden);
        ToolkitTest::tap(window.data(), security->button(1));

        ConnectivitySettings reread(ConnectivitySettings::IAP, QStringLiteral("home"));
        QCOMPARE(reread.get(QStringLiteral("name")), QVariant(QStringLiteral("Home Wi-Fi")));
        QCOMPARE(reread.get(QStringLiteral("hidden")), QVariant(true));
        QCOMPARE(reread.get(QStringLiteral("security")), QVariant(QStringLiteral("WEP")));
    }
};

QTEST_MAIN(TestPropertyEditorManager)
#include "tst_propertyeditormanager.moc"
