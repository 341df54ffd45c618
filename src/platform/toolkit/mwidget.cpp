#include "mwidget.h"

#include <QGraphicsScene>
#include <QGraphicsView>

MWidget::MWidget(QGraphicsItem* parent)
    : QGraphicsWidget(parent)
{
}

MWidget::~MWidget() = default;

bool MWidget::isOnDisplay() const
{
    return m_onDisplay;
}

void MWidget::updateDisplayState()
{
    bool onDisplay = false;
    if (QGraphicsScene* s = scene(); s && isVisible()) {
        const QList<QGraphicsView*> views = s->views();
        for (const QGraphicsView* view : views) {
            if (view->isVisible()) {
                onDisplay = true;
                break;
            }
        }
    }
    if (onDisplay == m_onDisplay)
        return;
    m_onDisplay = onDisplay;
    if (onDisplay)
        Q_EMIT displayEntered();
    else
        Q_EMIT displayExited();
}

QVariant MWidget::itemChange(GraphicsItemChange change, const QVariant& value)
{
    // Qt tells every descendant too when an ancestor changes scene or visibility.
    if (change == ItemSceneHasChanged || change == ItemVisibleHasChanged)
        updateDisplayState();
    return QGraphicsWidget::itemChange(change, value);
}
