// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/prefixtextedit.h>

#include <MLabel>
#include <MTheme>

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace Pavane {

// A QObject so that the field's signals reach it only while it exists: the
// field's own destruction outlives it.
class PrefixTextEditPrivate : public QObject
{
    Q_OBJECT

public:
    explicit PrefixTextEditPrivate(PrefixTextEdit* q)
        : q(q)
    {
    }

    void createPrefixLabel();

    PrefixTextEdit* const q;
    MLabel* prefixLabel = nullptr;
    int styleMarginOffset = 0;

public Q_SLOTS:
    void updateTextLeftMargin();
};

void PrefixTextEditPrivate::createPrefixLabel()
{
    const MWidgetStyle* inputText = MTheme::style("MLabelStyle", QStringLiteral("CommonInputFieldText"));
    const MWidgetStyle* plain = MTheme::style("MLabelStyle", QString());
    styleMarginOffset = inputText->marginLeft() - plain->marginLeft();

    prefixLabel = new MLabel(q);
    prefixLabel->setColor(QColor(184, 184, 184, 255));
    prefixLabel->setEnabled(false);
    prefixLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int x = styleMarginOffset + q->style()->paddingLeft();
    const int y = q->style()->paddingTop() + 2 - plain->marginTop();
    prefixLabel->setPos(qreal(x), qreal(y));
    prefixLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred, QSizePolicy::DefaultType);
}

void PrefixTextEditPrivate::updateTextLeftMargin()
{
    if (!prefixLabel)
        return;
    // The label sits outside any layout: it takes the size its text needs.
    const QSizeF labelSize = prefixLabel->effectiveSizeHint(Qt::PreferredSize);
    prefixLabel->resize(labelSize);
    const qreal indent = labelSize.width() + styleMarginOffset - q->style()->paddingLeft();

    // Only the first block: the field is single-line. A format change is no
    // text change, so this does not call itself again.
    QTextCursor cursor(q->document());
    cursor.setPosition(0);
    QTextBlockFormat format = cursor.blockFormat();
    format.setTextIndent(indent);
    cursor.setBlockFormat(format);
}

PrefixTextEdit::PrefixTextEdit(QGraphicsItem* parent)
    : MTextEdit(MTextEditModel::SingleLine, QString(), parent)
    , d(std::make_unique<PrefixTextEditPrivate>(this))
{
    connect(this, &MTextEdit::gainedFocus, d.get(), &PrefixTextEditPrivate::updateTextLeftMargin);
    connect(this, &MTextEdit::textChanged, d.get(), &PrefixTextEditPrivate::updateTextLeftMargin);
}

PrefixTextEdit::~PrefixTextEdit() = default;

QString PrefixTextEdit::prefix() const
{
    return d->prefixLabel ? d->prefixLabel->text() : QString();
}

void PrefixTextEdit::setPrefix(const QString& prefix)
{
    if (!d->prefixLabel)
        d->createPrefixLabel();
    d->prefixLabel->setText(prefix);
    // The prefix is drawn, not typed: a screen reader learns of it here.
    setAccessibleDescription(prefix);
    d->updateTextLeftMargin();
}

} // namespace Pavane

#include "prefixtextedit.moc"
