// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef MCOMBOBOX_H
#define MCOMBOBOX_H

#include "tesseltouchcore_export.h"
#include "mwidgetcontroller.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>

class QAbstractItemModel;
class MSceneWindow;

// Shows one item of a list (column 0 of an item model, display role) under
// a title; a tap opens a popup list from which the user picks another.
// The current index is -1 while nothing is chosen.
class TT_EXPORT MComboBox : public MWidgetController
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)

public:
    explicit MComboBox(QGraphicsItem* parent = nullptr);
    ~MComboBox() override;

    QString title() const;
    void setTitle(const QString& title);

    // The model is not owned. Items added with addItem() live in a model of
    // the combo box's own, which replaces any model set before.
    void setItemModel(QAbstractItemModel* model);
    QAbstractItemModel* itemModel() const;
    void addItem(const QString& text);
    void addItems(const QStringList& texts);
    void insertItem(int index, const QString& text);
    void removeItem(int index);
    void clear();

    int count() const;
    QString itemText(int index) const;
    int currentIndex() const;
    QString currentText() const;

    // Whether its popup list is shown.
    bool isPopupVisible() const;

    const char* styleClassName() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public Q_SLOTS:
    void setCurrentIndex(int index);
    void showPopup();
    void dismissPopup();

Q_SIGNALS:
    void currentIndexChanged(int index);
    void currentIndexChanged(const QString& text);
    // The user picked an item from the popup list.
    void activated(int index);

protected:
    QSizeF contentSizeHint(Qt::SizeHint which, const QSizeF& constraint) const override;
    void tapEvent() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void modelChanged();

    QString m_title;
    QAbstractItemModel* m_model = nullptr;
    QAbstractItemModel* m_ownModel = nullptr;
    int m_currentIndex = -1;
    // Follows the current item through insertions, removals and sorting.
    QPersistentModelIndex m_current;
    QPointer<MSceneWindow> m_popup;
};

#endif
