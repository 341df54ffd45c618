// DialogHelperWidget switching the styles of what it wraps to their
// inverted variants, also for widgets added later, without taking events.
#include <Pavane/DialogHelperWidget>

#include "toolkittest.h"

#include <MButton>
#include <MLabel>
#include <MSceneWindow>

#include <QGraphicsLinearLayout>
#include <QSignalSpy>
#include <QtTest>

using Pavane::DialogHelperWidget;

class TestDialogHelperWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("styleName");
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("result");
        QTest::newRow("plain") << "CommonSubText" << "" << "CommonSubTextInverted";
        QTest::newRow("already inverted") << "CommonSubTextInverted" << "" << "CommonSubTextInverted";
        QTest::newRow("no inverted variant") << "CommonToolBar" << "" << "CommonToolBar";
        QTest::newRow("object name") << "" << "CommonTitle" << "CommonTitleInverted";
        QTest::newRow("object name of a bar") << "" << "ProgressBar" << "";
        QTest::newRow("nothing") << "" << "" << "";
    }

    void names()
    {
        QFETCH(QString, styleName);
        QFETCH(QString, objectName);
        QFETCH(QString, result);
        auto* content = new MWidget;
        auto* label = new MLabel(QStringLiteral("text"), content);
        label->setStyleName(styleName);
        label->setObjectName(objectName);
        DialogHelperWidget wrapper(content);
        QCOMPARE(label->styleName(), result);
    }

    void laterWidgetsAndEvents()
    {
        QScopedPointer<MWindow> window(ToolkitTest::shownWindow());
        MSceneWindow page;
        auto* content = new MWidget;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, content);
        auto* button = new MButton(QStringLiteral("Tap"));
        button->setStyleName(QStringLiteral("CommonDialogButton"));
        layout->addItem(button);
        auto* wrapper = new DialogHelperWidget(content);
        (new QGraphicsLinearLayout(Qt::Vertical, &page))->addItem(wrapper);
        page.appear(window.data());
        QCOMPARE(button->styleName(), QStringLiteral("CommonDialogButtonInverted"));

        auto* late = new MLabel(QStringLiteral("late"));
        late->setStyleName(QStringLiteral("CommonBodyText"));
        layout->addItem(late);
        QTRY_VERIFY(button->isVisible() && button->size().width() > 0);

        // Any event to a descendant switches the newcomer; the event goes on.
        QSignalSpy clicked(button, &MButton::clicked);
        ToolkitTest::tap(window.data(), button);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(late->styleName(), QStringLiteral("CommonBodyTextInverted"));

        // The host may delete the wrapped widget: events to the wrapper's other
        // children used to walk it after it was freed.
        auto* other = new MButton(QStringLiteral("Other"));
        static_cast<QGraphicsLinearLayout*>(wrapper->layout())->addItem(other);
        delete content;
        QTRY_VERIFY(other->isVisible() && other->size().width() > 0);
        QSignalSpy otherClicked(other, &MButton::clicked);
        ToolkitTest::tap(window.data(), other);
        QCOMPARE(otherClicked.count(), 1);
    }

    void aNullWidget()
    {
        DialogHelperWidget wrapper(nullptr);
        QVERIFY(wrapper.childItems().isEmpty());
    }
};

QTEST_MAIN(TestDialogHelperWidget)
#include "tst_dialoghelperwidget.moc"
