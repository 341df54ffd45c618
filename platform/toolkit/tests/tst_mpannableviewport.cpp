// MPannableViewport: layout of the contents, and panning by dragging and by
// focus.
#include <MButton>
#include <MLabel>
#include <MLayout>
#include <MLinearLayoutPolicy>
#include <MPannableViewport>
#include <MPositionIndicator>

#include "toolkittest.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

QGraphicsWidget* block(qreal height)
{
    auto* widget = new QGraphicsWidget;
    widget->setPreferredSize(50, height);
    return widget;
}

void drag(MWindow* window, QPoint from, QPoint to, int steps = 6)
{
    QWidget* surface = window->viewport();
    QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        QMouseEvent move(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(surface, &move);
    }
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, to);
}

} // namespace

class TestPannableViewport : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;

    // A 300 by 400 viewport at the window's top left.
    MPannableViewport* shownViewport(QGraphicsWidget* content)
    {
        auto* viewport = new MPannableViewport;
        window->scene()->addItem(viewport);
        viewport->setGeometry(0, 0, 300, 400);
        viewport->setWidget(content);
        return viewport;
    }

private Q_SLOTS:
    void init() { window.reset(ToolkitTest::shownWindow()); }
    void cleanup() { window.reset(); }

    void layingOutTheContents()
    {
        QGraphicsWidget* content = block(100);
        MPannableViewport* viewport = shownViewport(content);
        MPositionIndicator* indicator = viewport->positionIndicator();
        QCOMPARE(content->geometry(), QRectF(0, 0, 300, 400));
        QVERIFY(!indicator->isVisible());

        content->setPreferredSize(50, 1000);
        QTRY_COMPARE(content->size(), QSizeF(300, 1000));
        QVERIFY(indicator->isVisible() && indicator->zValue() > content->zValue());

        // The position stays within the contents, whatever asks for it.
        viewport->setPosition(QPointF(40, -30));
        QCOMPARE(viewport->position(), QPointF(0, 0));
        viewport->setPosition(QPointF(0, 5000));
        QCOMPARE(content->pos(), QPointF(0, -600));
        viewport->resize(300, 800);
        QCOMPARE(viewport->position(), QPointF(0, 200));
        content->setPreferredSize(50, 300);
        QTRY_COMPARE(content->size(), QSizeF(300, 800));
        QCOMPARE(viewport->position(), QPointF(0, 0));
        QVERIFY(!indicator->isVisible());

        // A replaced widget is let go, not deleted; a deleted one is forgotten.
        QPointer<QGraphicsWidget> old = content;
        QGraphicsWidget* next = block(2000);
        viewport->setWidget(next);
        QVERIFY(old && !old->parentItem());
        delete old;
        delete next;
        QCOMPARE(viewport->widget(), nullptr);
        QVERIFY(!indicator->isVisible());
    }

    void draggingPansWithoutTapping()
    {
        auto* column = new MWidget;
        auto* policy = new MLinearLayoutPolicy(new MLayout(column), Qt::Vertical);
        auto* header = new MLabel(QStringLiteral("Header"));
        policy->addItem(header);
        QList<MButton*> buttons;
        for (int i = 0; i < 20; ++i) {
            buttons << new MButton(QString::number(i));
            policy->addItem(buttons.last());
        }
        MPannableViewport* viewport = shownViewport(column);
        MButton* button = buttons.at(2);
        QSignalSpy clicked(button, &MButton::clicked);
        QSignalSpy released(button, &MButton::released);
        const QPoint start = ToolkitTest::viewportPoint(window.data(), button);

        // Taps, even shaky ones, still reach the button.
        ToolkitTest::tap(window.data(), button);
        drag(window.data(), start, start + QPoint(0, 8));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(viewport->position(), QPointF(0, 0));

        // A longer move pans as far as the finger went; the button's press
        // ends without a click.
        drag(window.data(), start, start - QPoint(0, 150));
        QCOMPARE(viewport->position(), QPointF(0, 150));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(released.count(), 3);

        // It stops at the ends, and may start on what takes no taps.
        drag(window.data(), start, start + QPoint(0, 300));
        QCOMPARE(viewport->position(), QPointF(0, 0));
        const QPoint onHeader = ToolkitTest::viewportPoint(window.data(), header);
        drag(window.data(), onHeader, onHeader - QPoint(0, 100));
        QCOMPARE(viewport->position(), QPointF(0, 100));
        for (int i = 0; i < 4; ++i)
            drag(window.data(), QPoint(150, 390), QPoint(150, 10));
        QCOMPARE(viewport->position().y(), column->size().height() - 400);
    }

    void aFocusedFieldIsPannedIntoView()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        QGraphicsWidget* content = block(1000);
        const auto field = [content](qreal y) {
            auto* widget = new QGraphicsWidget(content);
            widget->setGeometry(0, y, 100, 60);
            widget->setFocusPolicy(Qt::StrongFocus);
            return widget;
        };
        QGraphicsWidget* low = field(900);
        QGraphicsWidget* high = field(100);
        MPannableViewport* viewport = shownViewport(content);

        low->setFocus();
        QCOMPARE(viewport->position(), QPointF(0, 560));
        high->setFocus();
        QCOMPARE(viewport->position(), QPointF(0, 100));
        // A field already in view stays where it is.
        low->setFocus();
        viewport->setPosition(QPointF(0, 80));
        high->setFocus();
        QCOMPARE(viewport->position(), QPointF(0, 80));
    }
};

QTEST_MAIN(TestPannableViewport)
#include "tst_mpannableviewport.moc"
