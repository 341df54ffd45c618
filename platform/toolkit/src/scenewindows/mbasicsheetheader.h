// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MBASICSHEETHEADER_H
#define MBASICSHEETHEADER_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

#include <QPointer>

class QAction;
class MButton;
class MProgressIndicator;

// A sheet's header: a negative action at the left, a positive one at the
// right, each shown as a button that follows its action's text, enabled and
// visible states and triggers it when tapped, and a progress indicator in
// between. Actions are not owned.
class TT_EXPORT MBasicSheetHeader : public MWidgetController
{
    Q_OBJECT

public:
    explicit MBasicSheetHeader(QGraphicsItem* parent = nullptr);
    ~MBasicSheetHeader() override;

    QAction* positiveAction() const;
    void setPositiveAction(QAction* action);
    QAction* negativeAction() const;
    void setNegativeAction(QAction* action);
    bool isProgressIndicatorVisible() const;
    void setProgressIndicatorVisible(bool visible);

    // The buttons that stand for the actions; null while there is no action.
    MButton* positiveButton() const;
    MButton* negativeButton() const;

    const char* styleClassName() const override;

protected:
    void applyStyle() override;

private:
    void updateButtons();

    QPointer<QAction> m_positive;
    QPointer<QAction> m_negative;
    MButton* m_positiveButton;
    MButton* m_negativeButton;
    MProgressIndicator* m_progress;
};

#endif
