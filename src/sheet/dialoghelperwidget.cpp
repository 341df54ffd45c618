// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/dialoghelperwidget.h>

#include <MWidgetController>

#include <QGraphicsLinearLayout>
#include <QPointer>

namespace Pavane {

namespace {

const QString Inverted = QStringLiteral("Inverted");

// Names already inverted, and the looks that have no inverted variant, stay.
bool qualifies(const QString& name)
{
    static const QStringList kept{Inverted, QStringLiteral("Spacer"), QStringLiteral("Bar"),
                                  QStringLiteral("Icon"), QStringLiteral("Thumbnail")};
    if (name.isEmpty())
        return false;
    for (const QString& ending : kept) {
        if (name.endsWith(ending))
            return false;
    }
    return true;
}

void invert(QGraphicsItem* item)
{
    if (!item)
        return;
    if (auto* controller = qobject_cast<MWidgetController*>(item->toGraphicsObject())) {
        const QString styleName = controller->styleName();
        if (qualifies(styleName))
            controller->setStyleName(styleName + Inverted);
        else if (styleName.isEmpty() && qualifies(controller->objectName()))
            controller->setStyleName(controller->objectName() + Inverted);
    }
    const QList<QGraphicsItem*> children = item->childItems();
    for (QGraphicsItem* child : children)
        invert(child);
}

} // namespace

class DialogHelperWidgetPrivate
{
public:
    // Guarded: the host may delete the wrapped widget itself.
    QPointer<MWidget> wrappedWidget;
};

DialogHelperWidget::DialogHelperWidget(MWidget* widget, QGraphicsItem* parent)
    : MWidget(parent)
    , d(std::make_unique<DialogHelperWidgetPrivate>())
{
    auto* layout = new QGraphicsLinearLayout(Qt::Vertical);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setLayout(layout);
    if (widget)
        layout->addItem(widget);
    d->wrappedWidget = widget;
    invert(widget);
    setFiltersChildEvents(true);
}

DialogHelperWidget::~DialogHelperWidget() = default;

bool DialogHelperWidget::sceneEventFilter(QGraphicsItem*, QEvent*)
{
    invert(d->wrappedWidget);
    return false;
}

} // namespace Pavane
