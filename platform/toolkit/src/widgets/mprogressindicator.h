// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MPROGRESSINDICATOR_H
#define MPROGRESSINDICATOR_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

// A progress indicator: a spinner (view type spinnerType) or a bar
// (barType). With unknown duration it shows activity without a value. It is
// drawn still: the toolkit has no animations.
class TT_EXPORT MProgressIndicator : public MWidgetController
{
    Q_OBJECT

public:
    static const MTheme::ViewType spinnerType;
    static const MTheme::ViewType barType;

    explicit MProgressIndicator(QGraphicsItem* parent = nullptr,
                                const MTheme::ViewType& viewType = barType);
    ~MProgressIndicator() override;

    bool unknownDuration() const;
    void setUnknownDuration(bool unknown);
    int minimum() const;
    int maximum() const;
    void setRange(int minimum, int maximum);
    int value() const;
    void setValue(int value);

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;

private:
    bool m_unknownDuration = false;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
};

#endif
