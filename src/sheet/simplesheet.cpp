// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/simplesheet.h>
#include <Pavane/simpleinputhandler.h>

#include <MBasicSheetHeader>
#include <MLabel>
#include <MPannableViewport>
#include <MPositionIndicator>
#include <MWindow>

#include <QAction>
#include <QEventLoop>
#include <QGraphicsLinearLayout>
#include <QPointer>

namespace Pavane {

class SimpleSheetPrivate : public QObject
{
    Q_OBJECT

public:
    // A child of the sheet, in its object tree and thread; d deletes it
    // before QObject's clean-up would.
    explicit SimpleSheetPrivate(SimpleSheet* q);

    void createHeader();
    QAction* acceptAction();
    QAction* rejectAction();
    void createTitleLine();
    void buildBody();

    SimpleSheet* const q;
    // Guarded, all of them: the host may delete its content, and may replace
    // the header or the body through the sheet's own setters, which delete
    // what they replace.
    QPointer<MBasicSheetHeader> header;
    QPointer<MLabel> titleLabel;
    QString title;
    // The body's container, whose layout is the body layout.
    QPointer<MWidget> body;
    QPointer<QGraphicsWidget> content;
    bool acceptEnabled = true;
    bool accepted = false;
    bool rejected = false;

public Q_SLOTS:
    void setStyleNames();
    void disappeared();
};

SimpleSheetPrivate::SimpleSheetPrivate(SimpleSheet* q)
    : QObject(q)
    , q(q)
{
    new SimpleInputHandler(q);
    connect(q, &MSceneWindow::sceneWindowStateChanged, this, &SimpleSheetPrivate::setStyleNames);
    connect(q, &MSceneWindow::disappeared, this, &SimpleSheetPrivate::disappeared);
}

void SimpleSheetPrivate::createHeader()
{
    if (header)
        return;
    header = new MBasicSheetHeader(q);
    setStyleNames();
    q->setHeaderWidget(header);
}

QAction* SimpleSheetPrivate::acceptAction()
{
    createHeader();
    if (!header->positiveAction()) {
        auto* action = new QAction(header);
        action->setEnabled(acceptEnabled);
        // Queued: the decision is taken on a later turn than the tap.
        connect(action, &QAction::triggered, q, &SimpleSheet::accept, Qt::QueuedConnection);
        header->setPositiveAction(action);
    }
    return header->positiveAction();
}

QAction* SimpleSheetPrivate::rejectAction()
{
    createHeader();
    if (!header->negativeAction()) {
        auto* action = new QAction(header);
        connect(action, &QAction::triggered, q, &SimpleSheet::reject, Qt::QueuedConnection);
        header->setNegativeAction(action);
    }
    return header->negativeAction();
}

void SimpleSheetPrivate::createTitleLine()
{
    delete titleLabel;
    titleLabel = new MLabel;
    titleLabel->setTextElide(true);
    titleLabel->setText(title);
    setStyleNames();
    if (body)
        static_cast<QGraphicsLinearLayout*>(body->layout())->insertItem(0, titleLabel);
}

void SimpleSheetPrivate::buildBody()
{
    auto* container = new MWidget;
    auto* layout = new QGraphicsLinearLayout(Qt::Vertical);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    body = container;
    container->setLayout(layout);
    // Taken into the new container before the old one goes with the old
    // viewport, so that they live on.
    if (titleLabel)
        layout->addItem(titleLabel);
    if (content)
        layout->addItem(content);
    layout->addStretch(1);

    auto* viewport = new MPannableViewport;
    viewport->setWidget(container);
    q->setCentralWidget(viewport);
    setStyleNames();
}

void SimpleSheetPrivate::setStyleNames()
{
    if (q->styleName().endsWith(QLatin1String("Inverted"))) {
        if (titleLabel)
            titleLabel->setStyleName(QStringLiteral("CommonHeaderInverted"));
        if (header)
            header->setStyleName(QStringLiteral("Inverted"));
        auto* viewport = qobject_cast<MPannableViewport*>(q->centralWidget());
        if (viewport && viewport->positionIndicator())
            viewport->positionIndicator()->setStyleName(QStringLiteral("CommonPositionIndicatorInverted"));
    } else if (titleLabel) {
        titleLabel->setStyleName(QStringLiteral("CommonHeader"));
    }
}

void SimpleSheetPrivate::disappeared()
{
    if (!accepted && !rejected)
        q->reject();
}

SimpleSheet::SimpleSheet()
    : d(std::make_unique<SimpleSheetPrivate>(this))
{
    setStatusBarVisibleInSystemwide(true);
}

SimpleSheet::~SimpleSheet()
{
    // A sheet destroyed undecided is rejected, with both signals.
    d->disappeared();
}

QString SimpleSheet::title() const
{
    return d->title;
}

void SimpleSheet::setTitle(const QString& title)
{
    d->title = title;
    // The title line is only a label in the body: the sheet itself must
    // carry the name that a screen reader announces for the dialog.
    setAccessibleName(title);
    if (d->titleLabel) {
        d->titleLabel->setText(title);
        return;
    }
    d->createTitleLine();
    d->buildBody();
}

QGraphicsWidget* SimpleSheet::content() const
{
    return d->content;
}

void SimpleSheet::setContent(QGraphicsWidget* content)
{
    d->content = content;
    d->buildBody();
}

QString SimpleSheet::acceptLabel() const
{
    return d->header && d->header->positiveAction() ? d->header->positiveAction()->text() : QString();
}

void SimpleSheet::setAcceptLabel(const QString& label)
{
    d->acceptAction()->setText(label);
}

QString SimpleSheet::rejectLabel() const
{
    return d->header && d->header->negativeAction() ? d->header->negativeAction()->text() : QString();
}

void SimpleSheet::setRejectLabel(const QString& label)
{
    d->rejectAction()->setText(label);
}

bool SimpleSheet::isAcceptEnabled() const
{
    return d->header && d->header->positiveAction() && d->header->positiveAction()->isEnabled();
}

void SimpleSheet::setAcceptEnabled(bool enabled)
{
    d->acceptEnabled = enabled;
    if (d->header && d->header->positiveAction())
        d->header->positiveAction()->setEnabled(enabled);
}

bool SimpleSheet::isProgressIndicatorVisible() const
{
    return d->header && d->header->isProgressIndicatorVisible();
}

void SimpleSheet::setProgressIndicatorVisible(bool visible)
{
    d->createHeader();
    d->header->setProgressIndicatorVisible(visible);
}

bool SimpleSheet::isAccepted() const
{
    return d->accepted;
}

bool SimpleSheet::isRejected() const
{
    return d->rejected;
}

void SimpleSheet::accept()
{
    done(true);
}

void SimpleSheet::reject()
{
    done(false);
}

void SimpleSheet::done(bool accepted)
{
    d->accepted = accepted;
    d->rejected = !accepted;
    QPointer<SimpleSheet> alive(this);
    Q_EMIT finished(accepted);
    // A receiver may have deleted the sheet.
    if (!alive)
        return;
    if (accepted)
        Q_EMIT this->accepted();
    else
        Q_EMIT rejected();
}

bool SimpleSheet::exec(MWindow* window)
{
    QPointer<SimpleSheet> alive(this);
    QEventLoop loop;
    // A receiver of the sheet's appearance may decide at once: the loop's
    // quit() then comes before the loop runs, and the decision must stand.
    // One taken as the sheet leaves another window does not count.
    bool decidedOnScreen = false;
    connect(this, &SimpleSheet::finished, &loop, [this, &loop, &decidedOnScreen] {
        decidedOnScreen = decidedOnScreen || sceneWindowState() != Disappeared;
        loop.quit();
    });
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    if (window)
        appear(window, KeepWhenDone);
    else
        appearSystemwide(KeepWhenDone);
    // A receiver of the state change may have deleted it already.
    if (!alive)
        return false;
    if (decidedOnScreen)
        return d->accepted;
    d->accepted = false;
    d->rejected = false;
    // Nowhere to show it (no QApplication): waiting would never end.
    if (sceneWindowState() == Disappeared) {
        reject();
        return false;
    }
    loop.exec(QEventLoop::AllEvents);
    return alive ? d->accepted : false;
}

} // namespace Pavane

#include "simplesheet.moc"
