// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "mcombobox.h"

#include "accessibletree_p.h"
#include "mbutton.h"
#include "mlabel.h"
#include "mlayout.h"
#include "mlinearlayoutpolicy.h"
#include "mpannableviewport.h"
#include "mscenewindow.h"
#include "mwindow.h"

#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QStringListModel>

#include <functional>

namespace {

// The popup's look: a dialog's, laid out as a list.
const MTheme::ViewType popupType = QStringLiteral("popup");

bool isInverted(const QString& styleName)
{
    return styleName.endsWith(QLatin1String("Inverted"));
}

// The title above the current item is set smaller than the item.
QFont titleFont(const MWidgetStyle* style)
{
    QFont font = style->font();
    const qreal scale = style->number(QStringLiteral("title-font-scale"), 1);
    if (font.pixelSize() > 0)
        font.setPixelSize(qBound(1, qRound(font.pixelSize() * scale), 0xffff));
    else if (font.pointSizeF() > 0 && scale > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

// The room the chevron takes at the end of the field, gap included.
qreal chevronRoom(const MWidgetStyle* style)
{
    return style->number(QStringLiteral("chevron-width")) + style->number(QStringLiteral("chevron-spacing"));
}

MWindow* windowOf(const QGraphicsItem* item)
{
    if (QGraphicsScene* scene = item->scene()) {
        const QList<QGraphicsView*> views = scene->views();
        for (QGraphicsView* view : views) {
            if (auto* window = qobject_cast<MWindow*>(view))
                return window;
        }
    }
    return nullptr;
}

// The list a combo box opens: its title above one row per item, the rows
// panned when they do not fit. It lives in the window's scene, not inside
// the combo box, so the combo box ends it explicitly (release()).
class ComboBoxPopup : public MSceneWindow
{
public:
    using ChosenHandler = std::function<void(int)>;

    ComboBoxPopup(MComboBox* combo, ChosenHandler chosen);

    // Rebuilds the title and the rows from the combo box.
    void populate();
    // The combo box is done with it: it goes now, or, when it was closed
    // already (possibly by the very tap it is handling), with its queued
    // deletion.
    void release();

    const char* styleClassName() const override { return "MDialogStyle"; }
    void disappear() override;

protected:
    bool isModal() const override { return true; }
    QRectF placement(const QSizeF& size) const override;

private:
    void choose(int row);

    QPointer<MComboBox> m_combo;
    ChosenHandler m_chosen;
    MLinearLayoutPolicy* m_policy;
    MLabel* m_title;
    MLinearLayoutPolicy* m_rows;
    QList<MButton*> m_buttons;
    bool m_inverted;
    bool m_choosing = false;
    // Closed through disappear(), so DestroyWhenDone has its deletion
    // under way; a window that is destroyed takes its scene windows off
    // screen without disappear(), and without deleting them.
    bool m_closed = false;
};

ComboBoxPopup::ComboBoxPopup(MComboBox* combo, ChosenHandler chosen)
    : m_combo(combo)
    , m_chosen(std::move(chosen))
    , m_inverted(isInverted(combo->styleName()))
{
    setStyleName(m_inverted ? QStringLiteral("Inverted") : QString());
    setViewType(popupType);

    auto* layout = new MLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_policy = new MLinearLayoutPolicy(layout, Qt::Vertical);
    m_policy->setSpacing(style()->number(QStringLiteral("spacing")));

    m_title = new MLabel(this);
    m_title->setStyleName(m_inverted ? QStringLiteral("CommonTitleInverted") : QStringLiteral("CommonTitle"));
    m_title->setTextElide(true);
    m_title->hide();

    auto* list = new MWidget;
    auto* listLayout = new MLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    m_rows = new MLinearLayoutPolicy(listLayout, Qt::Vertical);

    auto* viewport = new MPannableViewport(this);
    viewport->setWidget(list);
    m_policy->addItem(viewport);

    populate();
}

void ComboBoxPopup::populate()
{
    if (!m_combo)
        return;

    const QString title = m_combo->title();
    m_title->setText(title);
    const bool titled = m_policy->indexOf(m_title) >= 0;
    if (!title.isEmpty() && !titled)
        m_policy->insertItem(0, m_title);
    else if (title.isEmpty() && titled)
        m_policy->removeItem(m_title);
    m_title->setVisible(!title.isEmpty());

    for (MButton* button : qAsConst(m_buttons)) {
        m_rows->removeItem(button);
        delete button;
    }
    m_buttons.clear();

    const QString rowStyle = m_inverted ? QStringLiteral("CommonComboBoxItemInverted")
                                        : QStringLiteral("CommonComboBoxItem");
    const int count = m_combo->count();
    const int current = m_combo->currentIndex();
    for (int row = 0; row < count; ++row) {
        auto* button = new MButton(m_combo->itemText(row));
        button->setStyleName(rowStyle);
        // A checked row is how the current item stands out.
        button->setCheckable(true);
        button->setChecked(row == current);
        QObject::connect(button, &MButton::clicked, this, [this, row] { choose(row); });
        m_rows->addItem(button);
        m_buttons.append(button);
    }
}

void ComboBoxPopup::choose(int row)
{
    // Closed first, so that whatever the choice sets off finds it gone;
    // DestroyWhenDone deletes it only after this tap has been handled. What
    // the choice sets off may delete it all the same (with every scene
    // window of its window, say): then nothing of it is touched again, and
    // the handler runs from a copy.
    const QPointer<ComboBoxPopup> self(this);
    m_choosing = true;
    disappear();
    if (self && m_combo && m_chosen) {
        const ChosenHandler chosen = m_chosen;
        chosen(row);
    }
    if (self)
        m_choosing = false;
}

void ComboBoxPopup::disappear()
{
    m_closed = true;
    MSceneWindow::disappear();
}

void ComboBoxPopup::release()
{
    m_combo = nullptr;
    if (m_choosing)
        return;
    if (sceneWindowState() != Disappeared) {
        disappear();
        delete this;
    } else if (!m_closed) {
        // Its window went while it was shown: nothing else will delete it.
        delete this;
    }
    // Otherwise it is closed and already queued for deletion; deleting it
    // now could reach back into a window that is itself being destroyed.
}

QRectF ComboBoxPopup::placement(const QSizeF& size) const
{
    // It keeps some of the window free on each side, and grows no wider than
    // a comfortable reading width, nor taller than most of the window.
    const MWidgetStyle* s = style();
    const qreal margin = s->number(QStringLiteral("placement-margin"));
    const qreal width = qMax<qreal>(0, qMin(size.width() - 2 * margin,
                                            s->number(QStringLiteral("placement-maximum-width"), size.width())));
    const qreal wanted = effectiveSizeHint(Qt::PreferredSize, QSizeF(width, -1)).height();
    const qreal height = qMin(wanted, size.height() * s->number(QStringLiteral("placement-height-share"), 1));
    return QRectF((size.width() - width) / 2, (size.height() - height) / 2, width, height);
}

ComboBoxPopup* popupOf(const QPointer<MSceneWindow>& popup)
{
    // Every popup a combo box keeps is one of these.
    return static_cast<ComboBoxPopup*>(popup.data());
}

bool isShown(const MSceneWindow* window)
{
    return window
        && (window->sceneWindowState() == MSceneWindow::Appearing
            || window->sceneWindowState() == MSceneWindow::Appeared);
}

} // namespace

MComboBox::MComboBox(QGraphicsItem* parent)
    : MWidgetController(parent)
{
    setTappable(true);
    setFocusPolicy(Qt::TabFocus);
    applyStyle();
}

MComboBox::~MComboBox()
{
    if (ComboBoxPopup* popup = popupOf(m_popup))
        popup->release();
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
}

const char* MComboBox::styleClassName() const
{
    return "MComboBoxStyle";
}

QString MComboBox::title() const
{
    return m_title;
}

void MComboBox::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    updateGeometry();
    update();
    if (isShown(m_popup))
        popupOf(m_popup)->populate();
}

void MComboBox::setItemModel(QAbstractItemModel* model)
{
    if (model == m_model)
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    m_current = QPersistentModelIndex();
    if (model) {
        const auto changed = [this] { modelChanged(); };
        connect(model, &QAbstractItemModel::rowsInserted, this, changed);
        connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
        connect(model, &QAbstractItemModel::rowsMoved, this, changed);
        connect(model, &QAbstractItemModel::modelReset, this, changed);
        connect(model, &QAbstractItemModel::layoutChanged, this, changed);
        connect(model, &QAbstractItemModel::dataChanged, this, changed);
        connect(model, &QObject::destroyed, this, [this](QObject* gone) {
            if (gone == m_ownModel)
                m_ownModel = nullptr;
            m_model = nullptr;
            m_current = QPersistentModelIndex();
            modelChanged();
        });
    }
    modelChanged();
}

QAbstractItemModel* MComboBox::itemModel() const
{
    return m_model;
}

void MComboBox::addItem(const QString& text)
{
    insertItem(count(), text);
}

void MComboBox::addItems(const QStringList& texts)
{
    for (const QString& text : texts)
        addItem(text);
}

void MComboBox::insertItem(int index, const QString& text)
{
    if (!m_ownModel)
        m_ownModel = new QStringListModel(this);
    auto* own = static_cast<QStringListModel*>(m_ownModel);
    if (m_model != own) {
        // A model set from outside is not ours to change: start a list of our own.
        own->setStringList(QStringList());
        setItemModel(own);
    }
    const int row = qBound(0, index, own->rowCount());
    own->insertRows(row, 1);
    own->setData(own->index(row, 0), text);
}

void MComboBox::removeItem(int index)
{
    // Items of a model set from outside are left to its owner.
    if (!m_ownModel || m_model != m_ownModel || index < 0 || index >= count())
        return;
    m_ownModel->removeRows(index, 1);
}

void MComboBox::clear()
{
    if (!m_ownModel)
        m_ownModel = new QStringListModel(this);
    auto* own = static_cast<QStringListModel*>(m_ownModel);
    own->setStringList(QStringList());
    setItemModel(own);
}

int MComboBox::count() const
{
    return m_model ? m_model->rowCount() : 0;
}

QString MComboBox::itemText(int index) const
{
    if (!m_model || index < 0 || index >= count())
        return QString();
    return m_model->data(m_model->index(index, 0), Qt::DisplayRole).toString();
}

int MComboBox::currentIndex() const
{
    return m_currentIndex;
}

QString MComboBox::currentText() const
{
    return itemText(m_currentIndex);
}

void MComboBox::setCurrentIndex(int index)
{
    if (index < -1 || index >= count() || index == m_currentIndex)
        return;
    m_currentIndex = index;
    m_current = index >= 0 ? QPersistentModelIndex(m_model->index(index, 0)) : QPersistentModelIndex();
    update();
    if (isShown(m_popup))
        popupOf(m_popup)->populate();

    const QString text = itemText(index);
    const QPointer<MComboBox> guard(this);
    QAccessibleValueChangeEvent changed(this, text);
    AccessibleTree::notify(&changed);
    if (!guard)
        return;
    Q_EMIT currentIndexChanged(index);
    if (guard)
        Q_EMIT currentIndexChanged(text);
}

void MComboBox::modelChanged()
{
    updateGeometry();
    update();
    if (isShown(m_popup))
        popupOf(m_popup)->populate();
    // The current item may have moved, or gone with its row.
    setCurrentIndex(m_current.isValid() ? m_current.row() : -1);
}

bool MComboBox::isPopupVisible() const
{
    return isShown(m_popup);
}

void MComboBox::showPopup()
{
    if (isShown(m_popup))
        return;
    if (ComboBoxPopup* old = popupOf(m_popup))
        old->release();

    auto* popup = new ComboBoxPopup(this, [this](int row) {
        const QPointer<MComboBox> guard(this);
        setCurrentIndex(row);
        if (guard)
            Q_EMIT activated(row);
    });
    m_popup = popup;
    popup->appear(windowOf(this), MSceneWindow::DestroyWhenDone);
    if (!isShown(popup))
        popup->release();
}

void MComboBox::dismissPopup()
{
    if (isShown(m_popup))
        m_popup->disappear();
}

void MComboBox::tapEvent()
{
    showPopup();
}

void MComboBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        showPopup();
        return;
    }
    MWidgetController::keyPressEvent(event);
}

QSizeF MComboBox::contentSizeHint(Qt::SizeHint which, const QSizeF&) const
{
    if (which == Qt::MaximumSize)
        return QSizeF(-1, -1);
    const MWidgetStyle* s = style();
    const QFontMetricsF metrics(s->font());
    const QFontMetricsF titleMetrics(titleFont(s));
    const qreal height = titleMetrics.height() + metrics.height();
    const qreal chevron = chevronRoom(s);
    if (which == Qt::MinimumSize)
        return QSizeF(metrics.averageCharWidth() * 4 + chevron, height);
    qreal width = titleMetrics.horizontalAdvance(m_title);
    const int rows = count();
    for (int row = 0; row < rows; ++row)
        width = qMax(width, metrics.horizontalAdvance(itemText(row)));
    return QSizeF(width + chevron, height);
}

void MComboBox::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    MWidgetController::paint(painter, option, widget);

    const MWidgetStyle* s = style();
    const QRectF area = contentsRect();
    QColor ink = s->color();
    if (!isEnabled())
        ink = s->faded(ink, QStringLiteral("disabled-opacity"));
    const QColor faded = s->faded(ink, QStringLiteral("title-opacity"));

    const QFont font = s->font();
    const QFont smallFont = titleFont(s);
    const qreal textHeight = QFontMetricsF(font).height();
    const qreal titleHeight = QFontMetricsF(smallFont).height();
    const QString current = currentText();
    QRectF textArea = area.adjusted(0, 0, -chevronRoom(s), 0);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (!m_title.isEmpty()) {
        // Title and text stand together in the middle.
        const qreal block = titleHeight + (current.isEmpty() ? 0 : textHeight);
        const QRectF titleArea(textArea.left(), area.center().y() - block / 2, textArea.width(), titleHeight);
        painter->setFont(smallFont);
        painter->setPen(faded);
        painter->drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(m_title, Qt::ElideRight, int(titleArea.width())));
        textArea = QRectF(textArea.left(), titleArea.bottom(), textArea.width(), textHeight);
    }
    if (!current.isEmpty()) {
        painter->setFont(font);
        painter->setPen(ink);
        painter->drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(current, Qt::ElideRight, int(textArea.width())));
    }

    const qreal chevronWidth = s->number(QStringLiteral("chevron-width"));
    const QRectF chevron(area.right() - chevronWidth, area.center().y() - chevronWidth / 4, chevronWidth,
                         chevronWidth / 2);
    painter->setPen(QPen(ink, s->number(QStringLiteral("chevron-line-width")), Qt::SolidLine, Qt::RoundCap,
                         Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPolyline(QPolygonF({chevron.topLeft(), QPointF(chevron.center().x(), chevron.bottom()),
                                     chevron.topRight()}));
    painter->restore();
}
