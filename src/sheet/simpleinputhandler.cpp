// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/simpleinputhandler.h>

#include "logging/pavanelogging_p.h"

#include <MBasicSheetHeader>
#include <MInputMethodState>
#include <MSheet>
#include <MTextEdit>

#include <QAction>
#include <QGraphicsScene>
#include <QPointer>
#include <QTimer>

namespace Pavane {

namespace {

const QString KeysTarget = QStringLiteral("/keys");
const QString ActionKey = QStringLiteral("actionKey");
constexpr int RefreshDelay = 100;

} // namespace

class SimpleInputHandlerPrivate : public QObject
{
    Q_OBJECT

public:
    // A child of the handler, in its object tree and thread; d deletes it
    // before QObject's clean-up would.
    SimpleInputHandlerPrivate(SimpleInputHandler* q, QGraphicsWidget* widget);
    ~SimpleInputHandlerPrivate() override;

    QPointer<MTextEdit> textEditPointerForObject(QObject* object) const;
    QAction* getPositiveAction() const;
    void collect(QGraphicsItem* item);
    void insertInOrder(MTextEdit* edit);
    void updateActionKeyEnabled(MTextEdit* edit);
    bool isLast(const MTextEdit* edit) const;
    // False when a receiver of the input method's change deleted the handler.
    bool setActionKeyAttribute(const char* attribute, const QVariant& value);

    MSheet* const sheet;
    QGraphicsWidget* const widget;
    QList<QPointer<MTextEdit>> textEdits;
    int extensionId = -1;
    QTimer* const refreshTimer;
    // The widget's appearance builds the list: every time for a sheet with a
    // central widget, only the first time for any other.
    QMetaObject::Connection firstBuild;

public Q_SLOTS:
    void createTextEditList();
    void textEditReturnPressed();
    void textEditGainedFocus();
    void textEditTextChanged();
};

SimpleInputHandlerPrivate::SimpleInputHandlerPrivate(SimpleInputHandler* q, QGraphicsWidget* widget)
    : QObject(q)
    , sheet(qobject_cast<MSheet*>(widget))
    , widget(widget)
    , refreshTimer(new QTimer(this))
{
    if (!widget) {
        qCWarning(lcSheet, "SimpleInputHandler: no widget to serve; the handler does nothing");
        return;
    }
    // The extension and the timer exist before a first build may run below.
    extensionId = MInputMethodState::instance()->registerAttributeExtension(QString());
    refreshTimer->setSingleShot(true);
    refreshTimer->setInterval(RefreshDelay);
    connect(refreshTimer, &QTimer::timeout, this, &SimpleInputHandlerPrivate::createTextEditList);

    if (auto* sceneWindow = qobject_cast<MSceneWindow*>(widget)) {
        if (sceneWindow->sceneWindowState() == MSceneWindow::Appeared)
            createTextEditList();
        else
            firstBuild = connect(sceneWindow, &MSceneWindow::appeared, this,
                                 &SimpleInputHandlerPrivate::createTextEditList);
    } else if (auto* mwidget = qobject_cast<MWidget*>(widget)) {
        if (mwidget->isOnDisplay())
            createTextEditList();
        else
            firstBuild = connect(mwidget, &MWidget::displayEntered, this,
                                 &SimpleInputHandlerPrivate::createTextEditList);
    } else {
        createTextEditList();
    }
}

SimpleInputHandlerPrivate::~SimpleInputHandlerPrivate()
{
    if (extensionId != -1)
        MInputMethodState::instance()->unregisterAttributeExtension(extensionId);
    extensionId = -1;
    textEdits.clear();
}

void SimpleInputHandlerPrivate::createTextEditList()
{
    refreshTimer->stop();
    // Every change of the scene restarts the timer: the list is built again
    // once the scene has been quiet for a while.
    if (QGraphicsScene* scene = widget->scene()) {
        connect(scene, &QGraphicsScene::changed, refreshTimer, QOverload<>::of(&QTimer::start),
                Qt::UniqueConnection);
    }

    const bool wasEmpty = textEdits.isEmpty();
    textEdits.clear();

    QGraphicsItem* root = sheet ? sheet->centralWidget() : nullptr;
    if (!root) {
        root = widget;
        // The first build is done; later ones follow the scene.
        disconnect(firstBuild);
    }
    collect(root);

    for (const QPointer<MTextEdit>& edit : qAsConst(textEdits)) {
        if (!edit)
            continue;
        connect(edit, &MTextEdit::returnPressed, this, &SimpleInputHandlerPrivate::textEditReturnPressed);
        connect(edit, &MTextEdit::gainedFocus, this, &SimpleInputHandlerPrivate::textEditGainedFocus);
        connect(edit, &MTextEdit::textChanged, this, &SimpleInputHandlerPrivate::textEditTextChanged);
    }

    if (wasEmpty && !textEdits.isEmpty() && textEdits.first() && textEdits.first()->text().isEmpty())
        textEdits.first()->setFocus(Qt::OtherFocusReason);
}

void SimpleInputHandlerPrivate::collect(QGraphicsItem* item)
{
    const QList<QGraphicsItem*> children = item->childItems();
    for (QGraphicsItem* child : children) {
        auto* edit = qobject_cast<MTextEdit*>(child->toGraphicsObject());
        if (!edit) {
            collect(child);
            continue;
        }
        // Only a field hidden in its own right is left out, with all below it.
        if (!edit->isVisibleTo(edit->parentItem()))
            continue;
        disconnect(edit, nullptr, this, nullptr);
        edit->attachToolbar(extensionId);
        insertInOrder(edit);
    }
}

void SimpleInputHandlerPrivate::insertInOrder(MTextEdit* edit)
{
    // Left to right first, then top to bottom; equal places keep the order found.
    const QPointF position = edit->scenePos();
    int index = textEdits.size();
    for (int i = 0; i < textEdits.size(); ++i) {
        const QPointF other = textEdits.at(i)->scenePos();
        if (other.x() > position.x() || (other.x() == position.x() && other.y() > position.y())) {
            index = i;
            break;
        }
    }
    textEdits.insert(index, edit);
}

QPointer<MTextEdit> SimpleInputHandlerPrivate::textEditPointerForObject(QObject* object) const
{
    if (textEdits.isEmpty()) {
        qCWarning(lcSheet, "SheetInputHandlerPrivate::textEditPointerForObject() without text edits!");
        return nullptr;
    }
    auto* edit = qobject_cast<MTextEdit*>(object);
    if (!edit) {
        qCWarning(lcSheet, "SheetInputHandlerPrivate::textEditPointerForObject() non-text edit object!");
        return nullptr;
    }
    if (!textEdits.contains(edit)) {
        qCWarning(lcSheet, "SheetInputHandlerPrivate::textEditPointerForObject() non recorded text edit!");
        return nullptr;
    }
    return edit;
}

QAction* SimpleInputHandlerPrivate::getPositiveAction() const
{
    if (!sheet || !sheet->headerWidget())
        return nullptr;
    auto* header = qobject_cast<MBasicSheetHeader*>(sheet->headerWidget());
    if (!header) {
        qCWarning(lcSheet, "SheetInputHandlerPrivate::getPositiveAction() unable to handle sheet header, "
                  "which is not MBasicSheetHeader!");
        return nullptr;
    }
    return header->positiveAction();
}

bool SimpleInputHandlerPrivate::isLast(const MTextEdit* edit) const
{
    return !textEdits.isEmpty() && textEdits.last() == edit;
}

bool SimpleInputHandlerPrivate::setActionKeyAttribute(const char* attribute, const QVariant& value)
{
    const QPointer<SimpleInputHandlerPrivate> alive(this);
    MInputMethodState::instance()->setExtendedAttribute(extensionId, KeysTarget, ActionKey, attribute, value);
    return alive;
}

void SimpleInputHandlerPrivate::updateActionKeyEnabled(MTextEdit* edit)
{
    bool actionEnabled = true;
    if (isLast(edit)) {
        if (QAction* action = getPositiveAction())
            actionEnabled = action->isEnabled();
    }
    const bool acceptable = edit->validator() ? edit->hasAcceptableInput() : true;
    setActionKeyAttribute("enabled", actionEnabled && acceptable);
}

void SimpleInputHandlerPrivate::textEditGainedFocus()
{
    const QPointer<MTextEdit> edit = textEditPointerForObject(sender());
    if (!edit) {
        qCWarning(lcSheet, "SheetInputHandlerPrivate::textEditGainedFocus() unknown sender!");
        return;
    }
    QString label;
    if (isLast(edit)) {
        QAction* action = getPositiveAction();
        label = action ? action->text() : qtTrId("qtn_comm_command_done");
    } else {
        label = qtTrId("qtn_comm_next");
    }
    if (setActionKeyAttribute("label", label) && setActionKeyAttribute("highlighted", true) && edit)
        updateActionKeyEnabled(edit);
}

void SimpleInputHandlerPrivate::textEditReturnPressed()
{
    const QPointer<MTextEdit> edit = textEditPointerForObject(sender());
    if (!edit) {
        qCWarning(lcSheet, "SheetInputHandlerPrivate::textEditReturnPressed() unknown sender!");
        return;
    }
    const int index = textEdits.indexOf(edit);
    // Fields deleted since the last build are skipped.
    for (int i = index < 0 ? 0 : index + 1; i < textEdits.size(); ++i) {
        if (textEdits.at(i)) {
            textEdits.at(i)->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (QAction* action = getPositiveAction()) {
        action->activate(QAction::Trigger);
    } else {
        MInputMethodState::instance()->closeSoftwareInputPanel();
        // Its receivers may have deleted the field, or the whole form.
        if (edit)
            edit->clearFocus();
    }
}

void SimpleInputHandlerPrivate::textEditTextChanged()
{
    const QPointer<MTextEdit> edit = textEditPointerForObject(sender());
    if (!edit) {
        qCWarning(lcSheet, "SheetInputHandlerPrivate::textEditTextChanged() unknown sender!");
        return;
    }
    updateActionKeyEnabled(edit);
}

SimpleInputHandler::SimpleInputHandler(QGraphicsWidget* widget)
    : QObject(widget)
    , d(std::make_unique<SimpleInputHandlerPrivate>(this, widget))
{
}

SimpleInputHandler::~SimpleInputHandler() = default;

} // namespace Pavane

#include "simpleinputhandler.moc"
