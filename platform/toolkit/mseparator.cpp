#include "mseparator.h"

#include <QPainter>

MSeparator::MSeparator(QGraphicsItem* parent, Qt::Orientation orientation)
    : MWidgetController(parent)
    , m_orientation(orientation)
{
    setSizePolicy(orientation == Qt::Horizontal
                      ? QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed)
                      : QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred));
    applyStyle();
}

MSeparator::~MSeparator() = default;

const char* MSeparator::styleClassName() const
{
    return "MSeparatorStyle";
}

Qt::Orientation MSeparator::orientation() const
{
    return m_orientation;
}

void MSeparator::setOrientation(Qt::Orientation orientation)
{
    m_orientation = orientation;
    updateGeometry();
    update();
}

QSizeF MSeparator::contentSizeHint(Qt::SizeHint which, const QSizeF&) const
{
    if (which == Qt::MaximumSize)
        return m_orientation == Qt::Horizontal ? QSizeF(-1, 2) : QSizeF(2, -1);
    return m_orientation == Qt::Horizontal ? QSizeF(which == Qt::MinimumSize ? 0 : 16, 2)
                                           : QSizeF(2, which == Qt::MinimumSize ? 0 : 16);
}

void MSeparator::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);
    const QColor color = style()->color().isValid() ? style()->color() : QColor(128, 128, 128);
    painter->fillRect(contentsRect(), color);
}
