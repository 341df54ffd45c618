// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_TESTS_TOOLKITTEST_H
#define PAVANE_TESTS_TOOLKITTEST_H

// Driving toolkit widgets as a person would: taps are mouse presses and
// releases on the window's viewport at the item's place, keys go to the
// window, and so to the focused item.

#include <MButton>
#include <MMessageBox>
#include <MSceneWindow>
#include <MWindow>

#include <QGraphicsItem>
#include <QGraphicsLinearLayout>
#include <QScopedPointer>
#include <QTest>

namespace ToolkitTest {

inline void tap(MWindow* window, const QGraphicsItem* item)
{
    QTest::mouseClick(window->viewport(), Qt::LeftButton, Qt::NoModifier,
                      window->mapFromScene(item->sceneBoundingRect().center()));
}

// The widgets of type T below @p root: shown ones at any depth, or children.
template<typename T>
QList<T*> shown(QGraphicsItem* root, bool deep = true)
{
    QList<T*> result;
    for (QGraphicsItem* item : root->childItems()) {
        if (auto* widget = qobject_cast<T*>(item->toGraphicsObject()); widget && (!deep || widget->isVisible()))
            result.append(widget);
        if (deep)
            result.append(shown<T>(item));
    }
    return result;
}

// Waits until @p sceneWindow (a page, a sheet) is on screen.
inline bool appeared(MSceneWindow* sceneWindow)
{
    return QTest::qWaitFor([sceneWindow] { return sceneWindow->sceneWindowState() == MSceneWindow::Appeared; });
}

// The message box on screen in the system-wide window, if any.
inline MMessageBox* shownQuestion()
{
    for (MSceneWindow* sceneWindow : MWindow::systemwideWindow()->sceneWindows()) {
        auto* box = qobject_cast<MMessageBox*>(sceneWindow);
        if (box && box->sceneWindowState() == MSceneWindow::Appeared)
            return box;
    }
    return nullptr;
}

// Taps @p which on the message box on screen; false while there is none.
inline bool answer(M::StandardButton which)
{
    MMessageBox* box = shownQuestion();
    if (!box || !box->button(which))
        return false;
    tap(MWindow::systemwideWindow(), box->button(which));
    return true;
}

// A shown portrait window with a page holding a form, a column into which
// place() puts widgets one under the other; for suites whose every case
// starts on a fresh form: open() it in init() and close() it in cleanup().
struct FormPage
{
    QScopedPointer<MWindow> window;
    QScopedPointer<MSceneWindow> page;
    QGraphicsLinearLayout* form = nullptr;

    void open()
    {
        window.reset(new MWindow);
        window->resize(480, 854);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.data()))
            qWarning("the test window was not exposed");
        page.reset(new MSceneWindow);
        form = new QGraphicsLinearLayout(Qt::Vertical, page.data());
        form->addStretch();
        page->appear(window.data());
    }

    void close()
    {
        page.reset();
        window.reset();
        form = nullptr;
    }

    // Puts @p widget on the form, above the stretch, and waits until it is
    // laid out and shown. The page owns it.
    template<typename Widget>
    Widget* place(Widget* widget)
    {
        form->insertItem(form->count() - 1, widget);
        if (!QTest::qWaitFor([this, widget] { return form->isActivated() && widget->isVisible(); }))
            qWarning("the widget was not laid out");
        return widget;
    }

    void tap(const QGraphicsItem* item) { ToolkitTest::tap(window.data(), item); }
    void key(Qt::Key which, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window->viewport(), which, modifiers);
    }
    void type(const QString& text) { QTest::keyClicks(window->viewport(), text); }
};

} // namespace ToolkitTest

#endif
