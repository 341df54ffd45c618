#include <Pavane/prefixtextedit.h>

#include <MLabel>
#include <MTheme>

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace Pavane {

class PrefixTextEditPrivate : public QObject
{
    Q_OBJECT

public:
    explicit PrefixTextEditPrivate(PrefixTextEdit* edit)
        : edit(edit)
    {
    }

    void createPrefixLabel();

    PrefixTextEdit* edit;
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

    prefixLabel = new MLabel(edit);
    prefixLabel->setColor(QColor(184, 184, 184, 255));
    prefixLabel->setEnabled(false);
    prefixLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int x = styleMarginOffset + edit->style()->paddingLeft();
    const int y = edit->style()->paddingTop() + 2 - plain->marginTop();
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
    const qreal indent = labelSize.width() + styleMarginOffset - edit->style()->paddingLeft();

    // Only the first block: the field is single-line. A format change is no
    // text change, so this does not call itself again.
    QTextCursor cursor(edit->document());
    cursor.setPosition(0);
    QTextBlockFormat format = cursor.blockFormat();
    format.setTextIndent(indent);
    cursor.setBlockFormat(format);
}

PrefixTextEdit::PrefixTextEdit(QGraphicsItem* parent)
    : MTextEdit(MTextEditModel::SingleLine, QString(), parent)
    , d(new PrefixTextEditPrivate(this))
{
    connect(this, SIGNAL(gainedFocus(Qt::FocusReason)), d, SLOT(updateTextLeftMargin()));
    connect(this, SIGNAL(textChanged()), d, SLOT(updateTextLeftMargin()));
}

PrefixTextEdit::~PrefixTextEdit()
{
    delete d;
}

QString PrefixTextEdit::prefix() const
{
    return d->prefixLabel ? d->prefixLabel->text() : QString();
}

void PrefixTextEdit::setPrefix(const QString& prefix)
{
    if (!d->prefixLabel)
        d->createPrefixLabel();
    d->prefixLabel->setText(prefix);
    d->updateTextLeftMargin();
}

} // namespace Pavane

#include "prefixtextedit.moc"
