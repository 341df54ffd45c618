// ButtonGroupContainer in a window: selection by text, one click signal per
// tap, layouts by orientation or fixed, and ownership of its buttons.
#include <Pavane/ButtonGroupContainer>

#include "testsupport.h"
#include "toolkittest.h"

#include <MButton>
#include <MSceneWindow>

#include <QGraphicsLinearLayout>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using Pavane::ButtonGroupContainer;

class TestButtonGroupContainer : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;
    QScopedPointer<MSceneWindow> page;

    void show(ButtonGroupContainer* container) { page.reset(ToolkitTest::showOnPage(window.data(), container)); }

    static bool sideBySide(ButtonGroupContainer* c)
    {
        return c->button(0)->sceneBoundingRect().top() == c->button(1)->sceneBoundingRect().top()
            && c->button(0)->sceneBoundingRect().right() <= c->button(1)->sceneBoundingRect().left();
    }

    static bool stacked(ButtonGroupContainer* c)
    {
        return c->button(0)->sceneBoundingRect().left() == c->button(1)->sceneBoundingRect().left()
            && c->button(0)->sceneBoundingRect().bottom() <= c->button(1)->sceneBoundingRect().top();
    }

private Q_SLOTS:
    void init()
    {
        window.reset(ToolkitTest::shownWindow(QSize(480, 854)));
    }

    void cleanup()
    {
        page.reset();
        window.reset();
    }

    void selectionByText()
    {
        ButtonGroupContainer container;
        QVERIFY(!container.selectedButton());
        QVERIFY(!container.button(QStringLiteral("WEP")));
        QVERIFY(!container.button(5));
        QCOMPARE(container.selectedText(), QString());
        QCOMPARE(container.styleName(), QStringLiteral("ButtonGroupContainer"));

        container.addButton(QStringLiteral("None"));
        container.addButton(QStringLiteral("WEP"), true);
        container.addButton(QStringLiteral("WPA"));
        QCOMPARE(container.selectedText(), QStringLiteral("WEP"));
        QCOMPARE(container.button(2)->objectName(), QStringLiteral("WPA"));
        QCOMPARE(container.button(2)->viewType(), MButton::groupType);

        QSignalSpy toggled(container.button(1), &MButton::toggled);
        container.setSelectedText(QStringLiteral("WEP")); // already checked
        container.setSelectedText(QStringLiteral("Unknown"));
        QCOMPARE(toggled.count(), 0);
        container.setSelectedText(QStringLiteral("WPA"));
        QCOMPARE(container.selectedButton(), container.button(2));
        QCOMPARE(toggled.count(), 1);
    }

    void duplicateTexts()
    {
        ButtonGroupContainer container;
        container.addButton(QStringLiteral("same"));
        container.addButton(QStringLiteral("other"), true);
        container.addButton(QStringLiteral("same"));
        QCOMPARE(container.button(QStringLiteral("same")), container.button(0));
        container.setSelectedText(QStringLiteral("same"));
        QCOMPARE(container.selectedButton(), container.button(2));
    }

    void oneClickSignalPerTap()
    {
        auto* container = new ButtonGroupContainer;
        for (const char* text : {"a", "b", "c", "d"})
            container->addButton(QString::fromLatin1(text));
        show(container);
        QSignalSpy clicked(container, &ButtonGroupContainer::buttonClicked);
        QTRY_VERIFY(container->button(2)->isVisible() && container->button(2)->size().width() > 0);
        ToolkitTest::tap(window.data(), container->button(2));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).value<MButton*>(), container->button(2));
        QCOMPARE(container->selectedText(), QStringLiteral("c"));
    }

    void layoutFollowsTheOrientation()
    {
        auto* container = new ButtonGroupContainer;
        container->addButton(QStringLiteral("short"));
        container->addButton(QStringLiteral("a much longer label"));
        show(container);
        QTRY_VERIFY(stacked(container));
        window->resize(854, 480);
        QTRY_VERIFY(sideBySide(container));
        // The buttons share the width equally, whatever their texts.
        QCOMPARE(container->button(0)->size().width(), container->button(1)->size().width());
    }

    void fixedMode_data()
    {
        QTest::addColumn<bool>("beforeButtons");
        QTest::newRow("before the first button") << true;
        QTest::newRow("after buttons exist") << false;
    }

    void fixedMode()
    {
        QFETCH(bool, beforeButtons);
        auto* container = new ButtonGroupContainer;
        if (beforeButtons) {
            container->setFixedModeOrientation(Qt::Horizontal);
            container->setFixedModeEnabled(true);
        }
        container->addButton(QStringLiteral("one"));
        container->addButton(QStringLiteral("two"));
        if (!beforeButtons) {
            container->setFixedModeOrientation(Qt::Horizontal);
            container->setFixedModeEnabled(true);
        }
        show(container);
        QTRY_VERIFY(sideBySide(container)); // portrait window
        window->resize(854, 480);
        QTRY_VERIFY(sideBySide(container));

        QTest::ignoreMessage(QtWarningMsg,
                             "ButtonGroupContainer: Unable to disable fixed mode when the layout is created");
        container->setFixedModeEnabled(false);
        QVERIFY(container->isFixedModeEnabled());
    }

    void turningFixedModeOffWhileOffIsSilent()
    {
        ButtonGroupContainer container;
        container.addButton(QStringLiteral("one"));
        TestSupport::MessageLog log;
        container.setFixedModeEnabled(false);
        QVERIFY(!container.isFixedModeEnabled());
        QCOMPARE(log.messages(), QStringList());
    }

    void theContainerDeletesItsButtons()
    {
        auto* container = new ButtonGroupContainer;
        QPointer<MButton> own = new MButton(QStringLiteral("caller's"));
        container->addButton(own.data());
        container->addButton(QStringLiteral("made here"));
        QPointer<MButton> made = container->button(1);
        show(container);
        QTRY_VERIFY(made->isVisible());
        page.reset();
        QVERIFY(own.isNull());
        QVERIFY(made.isNull());
    }
};

QTEST_MAIN(TestButtonGroupContainer)
#include "tst_buttongroupcontainer.moc"
