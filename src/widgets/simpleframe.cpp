// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/dividerheader.h>
#include <Pavane/simpleframe.h>

#include <MButton>
#include <MLabel>
#include <MLayout>
#include <MLinearLayoutPolicy>
#include <MLocale>
#include <MWidgetController>

#include <QGraphicsScene>
#include <QPointer>

namespace Pavane {

class SimpleFramePrivate
{
public:
    QGraphicsWidget* buildCaption();
    void nameContent();
    void unnameContent();

    QString title;
    // The name the caption gave the content; a different one is the host's.
    QString givenName;
    QPointer<MWidget> content;
    QPointer<MLabel> titleLabel;
    // The label itself, or the divider header that carries it.
    QPointer<QGraphicsWidget> caption;
};

QGraphicsWidget* SimpleFramePrivate::buildCaption()
{
    titleLabel = new MLabel(title);
    titleLabel->setWordWrap(true);

    auto* controller = qobject_cast<MWidgetController*>(content.data());
    const QString styleName = controller ? controller->styleName() : QString();

    // In this order; a later rule may restyle what an earlier one set.
    if (styleName.contains(QLatin1String("InputField"))) {
        titleLabel->setStyleName(QStringLiteral("CommonFieldLabel"));
        titleLabel->setAlignment(MLocale::directionForText(title) == Qt::RightToLeft
                                     ? Qt::AlignRight | Qt::AlignTop
                                     : Qt::AlignLeft | Qt::AlignTop);
    }
    if (styleName.contains(QLatin1String("CommonSubTitle")))
        titleLabel->setStyleName(QStringLiteral("CommonTitle"));
    if (styleName.startsWith(QLatin1String("ButtonGroupContainer"))
        || styleName.startsWith(QLatin1String("CommonButtonGroup"))
        || styleName.startsWith(QLatin1String("CommonPanel")) || !controller) {
        auto* header = new DividerHeader(QString());
        titleLabel->setStyleName(QStringLiteral("CommonGroupHeader"));
        header->setLabel(titleLabel);
        return header;
    }
    return titleLabel;
}

// A field or a group says nothing by itself to a screen reader: the caption
// names it. A label or a button with a text is read by that text, and a name
// the host gave stays.
void SimpleFramePrivate::nameContent()
{
    if (!content)
        return;
    const auto* label = qobject_cast<MLabel*>(content.data());
    const auto* button = qobject_cast<MButton*>(content.data());
    if (label || (button && !button->text().isEmpty()))
        return;
    const QString current = content->accessibleName();
    if (!current.isEmpty() && current != givenName)
        return;
    givenName = title;
    content->setAccessibleName(title);
}

// Content the frame lets go keeps no caption that is no longer above it.
void SimpleFramePrivate::unnameContent()
{
    if (content && !givenName.isEmpty() && content->accessibleName() == givenName)
        content->setAccessibleName(QString());
    givenName.clear();
}

SimpleFrame::SimpleFrame(const QString& title, MWidget* parent)
    : MWidget(parent)
    , d(std::make_unique<SimpleFramePrivate>())
{
    d->title = title;
}

SimpleFrame::~SimpleFrame() = default;

QString SimpleFrame::title() const
{
    return d->title;
}

void SimpleFrame::setTitle(const QString& title)
{
    d->title = title;
    if (d->titleLabel && d->caption)
        d->titleLabel->setText(title);
    d->nameContent();
}

MWidget* SimpleFrame::content() const
{
    return d->content;
}

void SimpleFrame::setContent(MWidget* content)
{
    if (content && content == d->content)
        return;
    QPointer<MWidget> old = d->content;
    d->unnameContent();
    d->content = content;
    d->nameContent();
    createContent();
    // Out of the layout now, it would linger on the frame. It is not the
    // frame's to delete: it is let go, out of sight, so that a host that
    // still holds it keeps a live widget, which no scene will delete.
    if (old && old != content && old->parentItem() == this) {
        old->hide();
        old->setParentItem(nullptr);
        if (QGraphicsScene* scene = old->scene())
            scene->removeItem(old);
    }
}

void SimpleFrame::createContent()
{
    auto* layout = new MLayout;
    setLayout(layout); // the layout before goes; the caption stays a child
    layout->setContentsMargins(0, 0, 0, 0);
    auto* policy = new MLinearLayoutPolicy(layout, Qt::Vertical);
    if (!d->caption && !d->title.isEmpty())
        d->caption = d->buildCaption();
    if (d->caption)
        policy->addItem(d->caption);
    if (d->content)
        policy->addItem(d->content, Qt::AlignCenter);
}

} // namespace Pavane
