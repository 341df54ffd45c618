// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mdialog.h"

#include "accessibletree_p.h"
#include "mbutton.h"
#include "mlabel.h"
#include "mwindow.h"

#include <QEventLoop>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>

#include <iterator>

namespace {

struct StandardButtonInfo
{
    M::StandardButton button;
    const char* text;
    bool affirmative;
};

// The order buttons stand in a row: those that go ahead first, those that
// leave without acting last, help at the end.
const StandardButtonInfo standardButtonInfo[] = {
    {M::OkButton, "OK", true},
    {M::YesButton, "Yes", true},
    {M::SaveButton, "Save", true},
    {M::OpenButton, "Open", true},
    {M::ApplyButton, "Apply", true},
    {M::RetryButton, "Retry", false},
    {M::IgnoreButton, "Ignore", false},
    {M::ResetButton, "Reset", false},
    {M::NoButton, "No", false},
    {M::DiscardButton, "Discard", false},
    {M::AbortButton, "Abort", false},
    {M::CloseButton, "Close", false},
    {M::CancelButton, "Cancel", false},
    {M::HelpButton, "Help", false},
};

int rank(M::StandardButton button)
{
    for (int i = 0; i < int(std::size(standardButtonInfo)); ++i) {
        if (standardButtonInfo[i].button == button)
            return i;
    }
    return -1;
}

// The answers that running exec() calls wait for, innermost last. done()
// fills them in before anyone hears of the result, so that exec() still
// returns it when a receiver deletes the dialog at once.
struct PendingAnswer
{
    const MDialog* dialog;
    int result;
};

QList<PendingAnswer*>& pendingAnswers()
{
    static QList<PendingAnswer*> answers;
    return answers;
}

// Buttons whose tap is being handled, innermost last. A receiver of
// finished() may delete the dialog, or replace its buttons, while the tapped
// button is still inside its own click handling: that button is only let go
// of then, and deleted once the event loop has it again.
QList<MButton*>& buttonsInTap()
{
    static QList<MButton*> buttons;
    return buttons;
}

struct TapScope
{
    explicit TapScope(MButton* button) { buttonsInTap().append(button); }
    ~TapScope() { buttonsInTap().removeLast(); }
};

void discard(MButton* button, QGraphicsLinearLayout* layout)
{
    layout->removeItem(button);
    if (!buttonsInTap().contains(button)) {
        delete button;
        return;
    }
    button->setParentItem(nullptr);
    if (button->scene())
        button->scene()->removeItem(button);
    button->deleteLater();
}

} // namespace

const int MDialog::AffirmativeResult;

MDialog::MDialog(QGraphicsItem* parent)
    : MDialog(QString(), M::NoStandardButton, parent)
{
}

MDialog::MDialog(const QString& title, M::StandardButtons buttons, QGraphicsItem* parent)
    : MSceneWindow(parent)
    , m_titleLabel(new MLabel(title, this))
    , m_buttonRow(new QGraphicsWidget(this))
    , m_buttonLayout(new QGraphicsLinearLayout(Qt::Horizontal))
{
    // Its window gives it its size (placement()). Unbounded by a width, the
    // minimum of wrapped text is a column a few letters wide and very tall,
    // which must not stretch it beyond that.
    setMinimumSize(0, 0);
    m_titleLabel->setStyleName(QStringLiteral("CommonTitle"));
    m_titleLabel->setWordWrap(true);
    // The same minimum in a label would make it taller than the row the
    // layout gives it for its width.
    m_titleLabel->setMinimumHeight(0);

    m_buttonLayout->setContentsMargins(0, 0, 0, 0);
    m_buttonRow->setLayout(m_buttonLayout);

    auto* layout = new QGraphicsLinearLayout(Qt::Vertical);
    layout->setContentsMargins(0, 0, 0, 0);
    // A layout, like the dialog, would otherwise grow to that minimum too.
    layout->setMinimumSize(0, 0);
    setLayout(layout);

    applyStyle();
    setStandardButtons(buttons);
    rebuild();
}

MDialog::~MDialog()
{
    for (const auto& entry : qAsConst(m_buttons))
        discard(entry.second, m_buttonLayout);
}

const char* MDialog::styleClassName() const
{
    return "MDialogStyle";
}

QString MDialog::title() const
{
    return m_titleLabel->text();
}

void MDialog::setTitle(const QString& title)
{
    m_titleLabel->setText(title);
    rebuild();
    if (accessibleName().isEmpty())
        AccessibleTree::post(this, QAccessible::NameChanged);
}

QGraphicsWidget* MDialog::centralWidget() const
{
    return m_central;
}

void MDialog::setCentralWidget(QGraphicsWidget* widget)
{
    if (widget == m_central)
        return;
    QGraphicsWidget* old = m_central;
    m_central = widget;
    if (widget)
        widget->setParentItem(this);
    rebuild();
    delete old;
}

void MDialog::addButton(M::StandardButton which)
{
    const int position = rank(which);
    if (position < 0 || button(which))
        return;
    auto* added = new MButton(QString::fromLatin1(standardButtonInfo[position].text), m_buttonRow);
    added->setStyleName(QStringLiteral("CommonDialogButton"));
    const int result = standardButtonInfo[position].affirmative ? AffirmativeResult : int(which);
    connect(added, &MButton::clicked, this, [this, added, result] {
        const TapScope scope(added);
        done(result);
    });

    int index = 0;
    while (index < m_buttons.size() && rank(m_buttons.at(index).first) < position)
        ++index;
    m_buttons.insert(index, qMakePair(which, added));
    m_buttonLayout->insertItem(index, added);
    rebuild();
}

MButton* MDialog::button(M::StandardButton which) const
{
    for (const auto& entry : m_buttons) {
        if (entry.first == which)
            return entry.second;
    }
    return nullptr;
}

M::StandardButtons MDialog::standardButtons() const
{
    M::StandardButtons buttons;
    for (const auto& entry : m_buttons)
        buttons |= entry.first;
    return buttons;
}

void MDialog::setStandardButtons(M::StandardButtons buttons)
{
    for (int i = m_buttons.size() - 1; i >= 0; --i) {
        if (!buttons.testFlag(m_buttons.at(i).first))
            discard(m_buttons.takeAt(i).second, m_buttonLayout);
    }
    for (const StandardButtonInfo& info : standardButtonInfo) {
        if (buttons.testFlag(info.button))
            addButton(info.button);
    }
    rebuild();
}

bool MDialog::isSystem() const
{
    return m_system;
}

void MDialog::setSystem(bool system)
{
    m_system = system;
}

int MDialog::result() const
{
    return m_result;
}

void MDialog::setResult(int result)
{
    m_result = result;
}

void MDialog::appear(MWindow* window, DeletionPolicy policy)
{
    if (!window)
        window = m_system ? MWindow::systemwideWindow() : MWindow::activeWindow();
    // Without a QApplication there is no window at all, which it has said.
    if (!window)
        return;
    MSceneWindow::appear(window, policy);
}

int MDialog::exec(MWindow* window)
{
    m_result = Rejected;
    const QPointer<MDialog> self(this);
    appear(window, deletionPolicy());
    // A receiver of the state change may have deleted it already.
    if (!self || sceneWindowState() == Disappeared)
        return Rejected;

    // A dialog deleted once it has finished (DestroyWhenDone, or by a
    // receiver of finished()) has still answered.
    PendingAnswer answer{this, Rejected};
    pendingAnswers().append(&answer);
    QEventLoop loop;
    connect(this, &MDialog::finished, &loop, &QEventLoop::quit);
    connect(this, &MSceneWindow::disappeared, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
    pendingAnswers().removeOne(&answer);
    return self ? m_result : answer.result;
}

void MDialog::accept()
{
    done(AffirmativeResult);
}

void MDialog::reject()
{
    done(Rejected);
}

void MDialog::done(int result)
{
    m_result = result;
    for (PendingAnswer* answer : qAsConst(pendingAnswers())) {
        if (answer->dialog == this)
            answer->result = result;
    }
    const QPointer<MDialog> self(this);
    Q_EMIT finished(result);
    if (!self)
        return;
    if (result == AffirmativeResult || result == Accepted)
        Q_EMIT accepted();
    else
        Q_EMIT rejected();
    if (!self)
        return;
    if (sceneWindowState() != Disappeared)
        disappear();
}

void MDialog::applyStyle()
{
    MSceneWindow::applyStyle();
    const MWidgetStyle* s = style();
    m_buttonLayout->setSpacing(s->number(QStringLiteral("button-spacing")));
    if (auto* column = static_cast<QGraphicsLinearLayout*>(layout()))
        column->setSpacing(s->number(QStringLiteral("spacing")));
}

QRectF MDialog::placement(const QSizeF& size) const
{
    // Centred, with some of the window free around it.
    const MWidgetStyle* s = style();
    const qreal margin = s->number(QStringLiteral("placement-margin"));
    const qreal width = qMax<qreal>(0, qMin<qreal>(size.width() - 2 * margin,
                                                   s->number(QStringLiteral("placement-maximum-width"), size.width())));
    const qreal preferred = effectiveSizeHint(Qt::PreferredSize, QSizeF(width, -1)).height();
    const qreal height = qMax<qreal>(0, qMin<qreal>(preferred, size.height() - 2 * margin));
    return QRectF((size.width() - width) / 2, (size.height() - height) / 2, width, height);
}

bool MDialog::isModal() const
{
    return true;
}

void MDialog::rebuild()
{
    auto* layout = static_cast<QGraphicsLinearLayout*>(this->layout());
    while (layout->count() > 0)
        layout->removeAt(0);

    const bool titled = !m_titleLabel->text().isEmpty();
    m_titleLabel->setVisible(titled);
    if (titled)
        layout->addItem(m_titleLabel);
    if (m_central) {
        m_central->show();
        layout->addItem(m_central);
        layout->setStretchFactor(m_central, 1);
    }
    m_buttonRow->setVisible(!m_buttons.isEmpty());
    if (!m_buttons.isEmpty())
        layout->addItem(m_buttonRow);
}
