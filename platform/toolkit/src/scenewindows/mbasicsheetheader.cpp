// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mbasicsheetheader.h"

#include "mbutton.h"
#include "mprogressindicator.h"

#include <QAction>
#include <QGraphicsLinearLayout>

MBasicSheetHeader::MBasicSheetHeader(QGraphicsItem* parent)
    : MWidgetController(parent)
    , m_positiveButton(new MButton(this))
    , m_negativeButton(new MButton(this))
    , m_progress(new MProgressIndicator(this, MProgressIndicator::spinnerType))
{
    m_progress->setUnknownDuration(true);
    m_progress->hide();

    // Hidden items take no room, so each button keeps to its edge and the
    // spinner to the middle whatever else is shown.
    auto* layout = new QGraphicsLinearLayout(Qt::Horizontal);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addItem(m_negativeButton);
    layout->addStretch(1);
    layout->addItem(m_progress);
    layout->setAlignment(m_progress, Qt::AlignCenter);
    layout->addStretch(1);
    layout->addItem(m_positiveButton);
    setLayout(layout);

    connect(m_positiveButton, &MButton::clicked, this, [this] {
        if (m_positive)
            m_positive->trigger();
    });
    connect(m_negativeButton, &MButton::clicked, this, [this] {
        if (m_negative)
            m_negative->trigger();
    });

    applyStyle();
    updateButtons();
}

MBasicSheetHeader::~MBasicSheetHeader() = default;

const char* MBasicSheetHeader::styleClassName() const
{
    return "MBasicSheetHeaderStyle";
}

QAction* MBasicSheetHeader::positiveAction() const
{
    return m_positive;
}

void MBasicSheetHeader::setPositiveAction(QAction* action)
{
    if (action == m_positive)
        return;
    if (m_positive && m_positive != m_negative)
        m_positive->disconnect(this);
    m_positive = action;
    if (action) {
        connect(action, &QAction::changed, this, &MBasicSheetHeader::updateButtons, Qt::UniqueConnection);
        connect(action, &QObject::destroyed, this, &MBasicSheetHeader::updateButtons, Qt::UniqueConnection);
    }
    updateButtons();
}

QAction* MBasicSheetHeader::negativeAction() const
{
    return m_negative;
}

void MBasicSheetHeader::setNegativeAction(QAction* action)
{
    if (action == m_negative)
        return;
    if (m_negative && m_negative != m_positive)
        m_negative->disconnect(this);
    m_negative = action;
    if (action) {
        connect(action, &QAction::changed, this, &MBasicSheetHeader::updateButtons, Qt::UniqueConnection);
        connect(action, &QObject::destroyed, this, &MBasicSheetHeader::updateButtons, Qt::UniqueConnection);
    }
    updateButtons();
}

bool MBasicSheetHeader::isProgressIndicatorVisible() const
{
    return m_progress->isVisibleTo(this);
}

void MBasicSheetHeader::setProgressIndicatorVisible(bool visible)
{
    m_progress->setVisible(visible);
}

MButton* MBasicSheetHeader::positiveButton() const
{
    return m_positive ? m_positiveButton : nullptr;
}

MButton* MBasicSheetHeader::negativeButton() const
{
    return m_negative ? m_negativeButton : nullptr;
}

void MBasicSheetHeader::applyStyle()
{
    MWidgetController::applyStyle();
    // An inverted header, on a dark background, needs the buttons' inverted looks.
    const QString suffix = styleName().endsWith(QLatin1String("Inverted")) ? QStringLiteral("Inverted")
                                                                            : QString();
    m_positiveButton->setStyleName(QStringLiteral("CommonSheetHeaderButton") + suffix);
    m_negativeButton->setStyleName(QStringLiteral("CommonSheetHeaderNegativeButton") + suffix);
}

void MBasicSheetHeader::updateButtons()
{
    const auto follow = [](MButton* button, const QAction* action) {
        if (!action) {
            button->hide();
            return;
        }
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow(m_positiveButton, m_positive);
    follow(m_negativeButton, m_negative);
}
