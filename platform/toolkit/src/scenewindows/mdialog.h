// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MDIALOG_H
#define MDIALOG_H

#include "tesseltouchcore_export.h"
#include "mnamespace.h"
#include "mscenewindow.h"

#include <QList>

class MButton;
class MLabel;
class QGraphicsLinearLayout;

// A dialog: a title, a central widget and a row of standard buttons, centred
// in its window above a layer that blocks taps to everything below.
//
// A tap on an affirmative button (Ok, Yes, Save, Open, Apply) finishes the
// dialog with the result 1024 (AffirmativeResult, M::OkButton), as does
// accept(); any other button finishes it with its own button value,
// reject() with Rejected. Finishing emits finished(result), then accepted()
// (for 1024 or Accepted) or rejected(), and makes the dialog disappear.
// Dismissing it, or disappear(), closes it without finishing.
//
// A system dialog is shown above all applications: without a window it
// goes to MWindow::systemwideWindow().
class TT_EXPORT MDialog : public MSceneWindow
{
    Q_OBJECT

public:
    enum DialogCode { Rejected = 0, Accepted = 1 };
    static const int AffirmativeResult = M::OkButton;

    explicit MDialog(QGraphicsItem* parent = nullptr);
    MDialog(const QString& title, M::StandardButtons buttons, QGraphicsItem* parent = nullptr);
    ~MDialog() override;

    QString title() const;
    void setTitle(const QString& title);
    QGraphicsWidget* centralWidget() const;
    // The dialog takes the widget; a widget set before is deleted.
    void setCentralWidget(QGraphicsWidget* widget);

    void addButton(M::StandardButton button);
    MButton* button(M::StandardButton which) const;
    M::StandardButtons standardButtons() const;
    void setStandardButtons(M::StandardButtons buttons);

    bool isSystem() const;
    void setSystem(bool system);

    int result() const;
    void setResult(int result);

    // Shows the dialog and runs a local event loop until it finishes,
    // disappears or is deleted; returns its result (Rejected when it was
    // deleted before it finished).
    int exec(MWindow* window = nullptr);

    void appear(MWindow* window, DeletionPolicy policy = KeepWhenDone) override;
    using MSceneWindow::appear;
    const char* styleClassName() const override;

public Q_SLOTS:
    void accept();
    void reject();
    virtual void done(int result);

Q_SIGNALS:
    void finished(int result);
    void accepted();
    void rejected();

protected:
    void applyStyle() override;
    QRectF placement(const QSizeF& size) const override;
    bool isModal() const override;

private:
    void rebuild();

    MLabel* m_titleLabel;
    QPointer<QGraphicsWidget> m_central;
    QGraphicsWidget* m_buttonRow;
    QGraphicsLinearLayout* m_buttonLayout;
    QList<QPair<M::StandardButton, MButton*>> m_buttons;
    bool m_system = false;
    int m_result = Rejected;
};

#endif
