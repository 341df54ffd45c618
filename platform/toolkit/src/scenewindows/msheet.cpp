// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "msheet.h"

#include "mwindow.h"

#include <QGraphicsLinearLayout>
#include <QPainter>

namespace {

// What stands in for the phone's status bar above a system-wide sheet, which
// covers the whole screen and so would hide the real one. It shows nothing
// but its strip.
class SheetStatusBar : public QGraphicsWidget
{
public:
    explicit SheetStatusBar(MSheet* sheet)
        : QGraphicsWidget(sheet)
        , m_sheet(sheet)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        hide();
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        // The sheet's style may give the strip a colour of its own.
        painter->fillRect(rect(), m_sheet->style()->colorAttribute(QStringLiteral("status-bar-color")));
    }

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF& constraint) const override
    {
        // As tall as the sheet's style says the phone's status bar is.
        const QSizeF hint = QGraphicsWidget::sizeHint(which, constraint);
        return QSizeF(hint.width(), m_sheet->style()->number(QStringLiteral("status-bar-height")));
    }

private:
    MSheet* m_sheet;
};

} // namespace

MSheet::MSheet(QGraphicsItem* parent)
    : MSceneWindow(parent)
    , m_statusBar(new SheetStatusBar(this))
{
    // Whether the status bar belongs above it depends on where it is shown.
    connect(this, &MSceneWindow::sceneWindowStateChanged, this, [this](SceneWindowState state) {
        if (state == Appearing || state == Disappeared)
            rebuild();
    });
    applyStyle();
    rebuild();
}

MSheet::~MSheet() = default;

const char* MSheet::styleClassName() const
{
    return "MSheetStyle";
}

QGraphicsWidget* MSheet::centralWidget() const
{
    return m_central;
}

void MSheet::setCentralWidget(QGraphicsWidget* widget)
{
    if (widget == m_central)
        return;
    // A header moved to the middle is no longer the header.
    if (widget && widget == m_header)
        m_header = nullptr;
    QGraphicsWidget* old = m_central;
    m_central = widget;
    if (widget)
        widget->setParentItem(this);
    rebuild();
    delete old;
}

QGraphicsWidget* MSheet::headerWidget() const
{
    return m_header;
}

void MSheet::setHeaderWidget(QGraphicsWidget* widget)
{
    if (widget == m_header)
        return;
    if (widget && widget == m_central)
        m_central = nullptr;
    QGraphicsWidget* old = m_header;
    m_header = widget;
    if (widget)
        widget->setParentItem(this);
    rebuild();
    delete old;
}

bool MSheet::isHeaderVisible() const
{
    return m_headerVisible;
}

void MSheet::setHeaderVisible(bool visible)
{
    if (visible == m_headerVisible)
        return;
    m_headerVisible = visible;
    rebuild();
}

void MSheet::appearSystemwide(MSceneWindow::DeletionPolicy policy)
{
    // Without a QApplication there is no such window; it has said so.
    if (MWindow* window = MWindow::systemwideWindow())
        appear(window, policy);
}

bool MSheet::isStatusBarVisibleInSystemwide() const
{
    return m_statusBarInSystemwide;
}

void MSheet::setStatusBarVisibleInSystemwide(bool visible)
{
    if (visible == m_statusBarInSystemwide)
        return;
    m_statusBarInSystemwide = visible;
    rebuild();
}

void MSheet::rebuild()
{
    // A new layout each time: a stretch is no item, and no layout gives one back.
    m_layout = new QGraphicsLinearLayout(Qt::Vertical);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);

    // Only asked when it matters: the question creates the system-wide window.
    const bool statusBar = m_statusBarInSystemwide && window() && sceneWindowState() != Disappeared
        && window() == MWindow::systemwideWindow();
    m_statusBar->setVisible(statusBar);
    if (statusBar)
        m_layout->addItem(m_statusBar);

    if (m_header) {
        m_header->setVisible(m_headerVisible);
        if (m_headerVisible)
            m_layout->addItem(m_header);
    }

    if (m_central) {
        m_central->show();
        m_layout->addItem(m_central);
        m_layout->setStretchFactor(m_central, 1);
    } else {
        // Keeps the header at its own height at the top.
        m_layout->addStretch(1);
    }
    setLayout(m_layout); // deletes the one before
}
