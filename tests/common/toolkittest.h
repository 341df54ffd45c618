#ifndef PAVANE_TESTS_TOOLKITTEST_H
#define PAVANE_TESTS_TOOLKITTEST_H

// Driving toolkit widgets as a person would: taps are mouse presses and
// releases on the window's viewport at the item's place, keys go to the
// window, and so to the focused item.

#include <MSceneWindow>
#include <MWindow>

#include <QGraphicsItem>
#include <QGraphicsLinearLayout>
#include <QScopedPointer>
#include <QTest>

namespace ToolkitTest {

inline QPoint viewportPoint(MWindow* window, const QGraphicsItem* item, QPointF at = QPointF(-1, -1))
{
    const QRectF bounds = item->sceneBoundingRect();
    const QPointF scenePoint = at.x() < 0 ? bounds.center() : item->mapToScene(at);
    return window->mapFromScene(scenePoint);
}

inline void tap(MWindow* window, const QGraphicsItem* item)
{
    QTest::mouseClick(window->viewport(), Qt::LeftButton, Qt::NoModifier, viewportPoint(window, item));
}

inline void key(MWindow* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(window->viewport(), key, modifiers);
}

inline void type(MWindow* window, const QString& text)
{
    QTest::keyClicks(window->viewport(), text);
}

// A shown window of a given size, for tests.
inline MWindow* shownWindow(QSize size = QSize(480, 854))
{
    auto* window = new MWindow;
    window->resize(size);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("the test window was not exposed");
    return window;
}

// Shows @p widget at the top of a new page in @p window and waits until it
// is laid out. The page owns the widget; the caller owns the page.
inline MSceneWindow* showOnPage(MWindow* window, QGraphicsWidget* widget)
{
    auto* page = new MSceneWindow;
    auto* layout = new QGraphicsLinearLayout(Qt::Vertical, page);
    layout->addItem(widget);
    layout->addStretch();
    page->appear(window);
    if (!QTest::qWaitFor([layout] { return layout->isActivated(); }))
        qWarning("the page was not laid out");
    return page;
}

// A column on @p page, shown in @p window, into which placeOnForm() puts
// widgets one under the other.
inline QGraphicsLinearLayout* showForm(MWindow* window, MSceneWindow* page)
{
    auto* form = new QGraphicsLinearLayout(Qt::Vertical, page);
    form->addStretch();
    page->appear(window);
    return form;
}

// Puts @p widget on the form, above the stretch, and waits until it is shown.
template<typename Widget>
Widget* placeOnForm(QGraphicsLinearLayout* form, Widget* widget)
{
    form->insertItem(form->count() - 1, widget);
    if (!QTest::qWaitFor([form, widget] { return form->isActivated() && widget->isVisible(); }))
        qWarning("the widget was not laid out");
    return widget;
}

// A shown window with a page holding a form, for suites whose every case
// starts on a fresh form: open() it in init() and close() it in cleanup().
struct FormPage
{
    QScopedPointer<MWindow> window;
    QScopedPointer<MSceneWindow> page;
    QGraphicsLinearLayout* form = nullptr;

    void open()
    {
        window.reset(shownWindow());
        page.reset(new MSceneWindow);
        form = showForm(window.data(), page.data());
    }

    void close()
    {
        page.reset();
        window.reset();
        form = nullptr;
    }
};

} // namespace ToolkitTest

#endif
