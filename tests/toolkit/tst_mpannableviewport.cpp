// MPannableViewport and its position indicator: layout of the contents,
// panning by dragging, wheel and focus, and what the indicator shows.
#include <MButton>
#include <MLabel>
#include <MLayout>
#include <MLinearLayoutPolicy>
#include <MPannableViewport>
#include <MPositionIndicator>

#include "toolkittest.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QStyleOptionGraphicsItem>
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

// The rows of the indicator's picture that its bar covers.
QPair<int, int> barRows(MPositionIndicator* indicator)
{
    QImage image(indicator->size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    indicator->paint(&painter, &option, nullptr);
    painter.end();
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (qAlpha(image.pixel(image.width() - 2, y)) > 64) {
            first = first < 0 ? y : first;
            last = y;
        }
    }
    return {first, last};
}

} // namespace

class TestPannableViewport : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;

    MPannableViewport* shownViewport(QGraphicsWidget* content, const QRectF& geometry = QRectF(0, 0, 300, 400))
    {
        auto* viewport = new MPannableViewport;
        window->scene()->addItem(viewport);
        viewport->setGeometry(geometry);
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
        QVERIFY(viewport->flags() & QGraphicsItem::ItemClipsChildrenToShape);
        QCOMPARE(content->geometry(), QRectF(0, 0, 300, 400));
        QVERIFY(!indicator->isVisible());

        content->setPreferredSize(50, 1000);
        QTRY_COMPARE(content->size(), QSizeF(300, 1000));
        QVERIFY(indicator->isVisible() && indicator->zValue() > content->zValue());

        viewport->setPosition(QPointF(40, -30));
        QCOMPARE(viewport->position(), QPointF(0, 0));
        viewport->setPosition(QPointF(0, 5000));
        QCOMPARE(viewport->position(), QPointF(0, 600));
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
        drag(window.data(), start, start + QPoint(0, 300));
        QCOMPARE(viewport->position(), QPointF(0, 0));

        // A drag may start on what takes no taps, and stops at the end.
        const QPoint onHeader = ToolkitTest::viewportPoint(window.data(), header);
        drag(window.data(), onHeader, onHeader - QPoint(0, 100));
        QCOMPARE(viewport->position(), QPointF(0, 100));
        for (int i = 0; i < 4; ++i)
            drag(window.data(), QPoint(150, 390), QPoint(150, 10));
        QCOMPARE(viewport->position().y(), column->size().height() - 400);

        viewport->setPosition(QPointF(0, 0));
        ToolkitTest::tap(window.data(), button);
        QCOMPARE(clicked.count(), 3);
    }

    void theWheelPans()
    {
        MPannableViewport* viewport = shownViewport(block(1000));
        const auto wheel = [this](int delta) {
            QWheelEvent event(QPointF(150, 200), window->viewport()->mapToGlobal(QPoint(150, 200)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(window->viewport(), &event);
        };
        wheel(-120);
        const qreal step = viewport->position().y();
        QVERIFY(step > 0);
        wheel(-240);
        QCOMPARE(viewport->position().y(), 3 * step);
        wheel(12000);
        QCOMPARE(viewport->position(), QPointF(0, 0));
        wheel(-12000);
        QCOMPARE(viewport->position(), QPointF(0, 600));
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

    void inALayoutItWantsItsContentsSize()
    {
        auto* container = new QGraphicsWidget;
        window->scene()->addItem(container);
        auto* layout = new MLayout(container);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* policy = new MLinearLayoutPolicy(layout, Qt::Vertical);
        auto* viewport = new MPannableViewport;
        QGraphicsWidget* content = block(200);
        viewport->setWidget(content);
        policy->addItem(viewport);
        policy->addStretch();
        container->setGeometry(0, 0, 300, 600);
        QTRY_COMPARE(viewport->size(), QSizeF(300, 200));

        content->setPreferredSize(50, 350);
        QTRY_COMPARE(viewport->size(), QSizeF(300, 350));
        content->setPreferredSize(50, 900);
        QTRY_COMPARE(viewport->size(), QSizeF(300, 600));
        QCOMPARE(content->size(), QSizeF(300, 900));
    }

    void theIndicatorShowsTheShareInView()
    {
        MPannableViewport* viewport = shownViewport(block(1600), QRectF(0, 0, 100, 400));
        MPositionIndicator* indicator = viewport->positionIndicator();
        QVERIFY(indicator->size().width() <= 12);
        const auto near = [](QPair<int, int> bar, int first, int last) {
            return qAbs(bar.first - first) <= 2 && qAbs(bar.second - last) <= 2;
        };
        // A quarter in view: a quarter of the track, moving along it.
        QVERIFY(near(barRows(indicator), 0, 99));
        viewport->setPosition(QPointF(0, 600));
        QVERIFY(near(barRows(indicator), 150, 249));
        viewport->setPosition(QPointF(0, 1200));
        QVERIFY(near(barRows(indicator), 300, 399));
        indicator->setRange(QRectF(0, 0, 100, 300));
        QCOMPARE(barRows(indicator), qMakePair(-1, -1));
    }
};

QTEST_MAIN(TestPannableViewport)
#include "tst_mpannableviewport.moc"
