// ButtonGroupContainer in a window: selection by text, one click signal per
// tap, layouts by orientation or fixed, and ownership of its buttons.
#include <Pavane/ButtonGroupContainer>

#include "toolkittest.h"

#include <MButton>
#include <MSceneWindow>

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

private Q_SLOTS:
    void init() { window.reset(ToolkitTest::shownWindow()); }
    void cleanup() { page.reset(); window.reset(); }

    void selectionByText()
    {
        ButtonGroupContainer container;
        QVERIFY(!container.selectedButton());
        container.addButton(QStringLiteral("None"));
        container.addButton(QStringLiteral("WEP"), true);
        container.addButton(QStringLiteral("None"));
        QCOMPARE(container.selectedText(), QStringLiteral("WEP"));
        QVERIFY(!container.button(3));

        QSignalSpy toggled(container.button(1), &MButton::toggled);
        container.setSelectedText(QStringLiteral("WEP")); // already checked
        container.setSelectedText(QStringLiteral("Unknown"));
        QCOMPARE(toggled.count(), 0);
        // Of two equal texts, lookup finds the first, selection ends on the last.
        QCOMPARE(container.button(QStringLiteral("None")), container.button(0));
        container.setSelectedText(QStringLiteral("None"));
        QCOMPARE(container.selectedButton(), container.button(2));
        QCOMPARE(toggled.count(), 1);
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
        // Stacked in portrait, side by side in landscape.
        QTRY_VERIFY(container->button(0)->sceneBoundingRect().bottom() <= container->button(1)->sceneBoundingRect().top());
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
        auto fixHorizontally = [container] {
            container->setFixedModeOrientation(Qt::Horizontal);
            container->setFixedModeEnabled(true);
        };
        if (beforeButtons)
            fixHorizontally();
        container->addButton(QStringLiteral("one"));
        container->addButton(QStringLiteral("two"));
        if (!beforeButtons)
            fixHorizontally();
        show(container);
        QTRY_VERIFY(sideBySide(container)); // portrait window
        window->resize(854, 480);
        QTRY_VERIFY(sideBySide(container));

        QTest::ignoreMessage(QtWarningMsg,
                             "ButtonGroupContainer: Unable to disable fixed mode when the layout is created");
        container->setFixedModeEnabled(false);
        QVERIFY(container->isFixedModeEnabled());
    }

    void theContainerDeletesItsButtons()
    {
        auto* container = new ButtonGroupContainer;
        QPointer<MButton> own = new MButton(QStringLiteral("caller's"));
        container->addButton(own.data());
        container->addButton(QStringLiteral("made here"));
        QPointer<MButton> made = container->button(1);
        container->addButton(QStringLiteral("gone"));
        show(container);
        QTRY_VERIFY(made->isVisible());
        // One the caller deleted is neither reported nor deleted again.
        delete container->button(2);
        QVERIFY(!container->button(2));
        QCOMPARE(container->button(QStringLiteral("made here")), made.data());
        page.reset();
        QVERIFY(own.isNull());
        QVERIFY(made.isNull());
    }
};

QTEST_MAIN(TestButtonGroupContainer)
#include "tst_buttongroupcontainer.moc"
