// The keyboard flow through a form's fields, as the virtual keyboard sees
// it: focus, the action key's attributes, and Return.
#include <Pavane/SimpleInputHandler>
#include <Pavane/SimpleSheet>

#include "toolkittest.h"

#include <MInputMethodState>
#include <MTextEdit>

#include <QGraphicsLinearLayout>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QtTest>

using Pavane::SimpleInputHandler;
using Pavane::SimpleSheet;

namespace {

QVariant actionKey(const MTextEdit* field, const char* attribute)
{
    return MInputMethodState::instance()->extendedAttribute(field->attachedToolbarId(), QStringLiteral("/keys"),
                                                            QStringLiteral("actionKey"), attribute);
}

} // namespace

class TestSimpleInputHandler : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;

    // A sheet with @p count stacked fields, shown once its list is built.
    SimpleSheet* sheetWithFields(int count, QList<MTextEdit*>* fields, const QString& acceptLabel = QString())
    {
        auto* sheet = new SimpleSheet;
        auto* content = new MWidget;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, content);
        for (int i = 0; i < count; ++i) {
            fields->append(new MTextEdit);
            layout->addItem(fields->last());
        }
        sheet->setContent(content);
        if (!acceptLabel.isEmpty())
            sheet->setAcceptLabel(acceptLabel);
        sheet->appear(window.data(), MSceneWindow::DestroyWhenDone);
        return sheet;
    }

    // A plain form already on display, with fields at the given places.
    MSceneWindow* formAt(const QList<QPointF>& places, QList<MTextEdit*>* fields)
    {
        auto* page = new MSceneWindow;
        auto* form = new MWidget(page);
        form->resize(480, 800);
        for (const QPointF& place : places) {
            fields->append(new MTextEdit(MTextEditModel::SingleLine, QString(), form));
            fields->last()->setGeometry(QRectF(place, QSizeF(150, 56)));
        }
        page->appear(window.data(), MSceneWindow::DestroyWhenDone);
        if (!QTest::qWaitFor([page] { return page->sceneWindowState() == MSceneWindow::Appeared; }))
            qWarning("the form did not appear");
        new SimpleInputHandler(form);
        return page;
    }

private Q_SLOTS:
    void init() { window.reset(ToolkitTest::shownWindow()); }
    void cleanup() { window.reset(); }

    void nextNextAccept()
    {
        QList<MTextEdit*> fields;
        SimpleSheet* sheet = sheetWithFields(3, &fields, QStringLiteral("Save"));
        QSignalSpy finished(sheet, &SimpleSheet::finished);
        QTRY_VERIFY(fields[0]->hasFocus());
        QCOMPARE(actionKey(fields[0], "highlighted"), QVariant(true));
        QCOMPARE(actionKey(fields[0], "enabled"), QVariant(true));
        ToolkitTest::key(window.data(), Qt::Key_Return);
        ToolkitTest::key(window.data(), Qt::Key_Return);
        QVERIFY(fields[2]->hasFocus());
        QCOMPARE(actionKey(fields[2], "label").toString(), QStringLiteral("Save"));
        ToolkitTest::key(window.data(), Qt::Key_Return);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
    }

    // Fields are taken left to right, then top to bottom. Without an accept
    // button, Return on the last one closes the panel.
    void screenOrder_data()
    {
        QTest::addColumn<QList<QPointF>>("places");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("one field") << QList<QPointF>{{10, 10}} << QList<int>{0};
        QTest::newRow("side by side") << QList<QPointF>{{250, 100}, {10, 100}} << QList<int>{1, 0};
        QTest::newRow("same column") << QList<QPointF>{{10, 300}, {10, 100}} << QList<int>{1, 0};
        QTest::newRow("left edge below") << QList<QPointF>{{250, 100}, {0, 400}, {250, 300}} << QList<int>{1, 0, 2};
    }

    void screenOrder()
    {
        QFETCH(QList<QPointF>, places);
        QFETCH(QList<int>, order);
        QList<MTextEdit*> fields;
        QScopedPointer<MSceneWindow> page(formAt(places, &fields));
        // Already on display: built at once, the first field has the focus.
        for (int i = 0; i < order.size(); ++i) {
            QVERIFY2(fields[order[i]]->hasFocus(), qPrintable(QStringLiteral("step %1").arg(i)));
            const QString label = i + 1 < order.size() ? QStringLiteral("Next") : QStringLiteral("Done");
            QCOMPARE(actionKey(fields[order[i]], "label").toString(), label);
            ToolkitTest::key(window.data(), Qt::Key_Return);
        }
        QVERIFY(!fields[order.last()]->hasFocus());
        QVERIFY(!MInputMethodState::instance()->isSoftwareInputPanelVisible());
    }

    void theKeyFollowsValidatorAndAcceptButton()
    {
        QList<MTextEdit*> fields;
        SimpleSheet* sheet = sheetWithFields(2, &fields, QStringLiteral("Connect"));
        const QRegularExpressionValidator fourDigits(QRegularExpression(QStringLiteral("\\d{4}")));
        fields[0]->setValidator(&fourDigits);
        fields[1]->setValidator(&fourDigits);
        QTRY_VERIFY(fields[0]->hasFocus());
        ToolkitTest::type(window.data(), QStringLiteral("12"));
        QCOMPARE(actionKey(fields[0], "enabled"), QVariant(false));
        ToolkitTest::type(window.data(), QStringLiteral("34"));
        QCOMPARE(actionKey(fields[0], "enabled"), QVariant(true));

        sheet->setAcceptEnabled(false);
        ToolkitTest::key(window.data(), Qt::Key_Return);
        ToolkitTest::type(window.data(), QStringLiteral("5678"));
        QCOMPARE(actionKey(fields[1], "enabled"), QVariant(false)); // acceptable, but the accept button is off
        delete sheet;
    }

    void whichFieldsAreFollowed()
    {
        QList<MTextEdit*> fields;
        SimpleSheet* sheet = sheetWithFields(2, &fields);
        // Changed before the sheet has appeared, so before the first build.
        fields[0]->setText(QStringLiteral("prefilled"));
        fields[1]->hide();
        auto* hiddenBox = new MWidget;
        auto* inHiddenBox = new MTextEdit(MTextEditModel::SingleLine, QString(), hiddenBox);
        static_cast<QGraphicsLinearLayout*>(sheet->content()->layout())->addItem(hiddenBox);
        hiddenBox->hide();

        QTRY_VERIFY(fields[0]->attachedToolbarId() >= 0);
        QCOMPARE(fields[1]->attachedToolbarId(), -1);
        QCOMPARE(inHiddenBox->attachedToolbarId(), fields[0]->attachedToolbarId());
        // A first field that holds text does not take the focus.
        QVERIFY(!fields[0]->hasFocus());

        // The attribute extension lives as long as the handler.
        const int id = fields[0]->attachedToolbarId();
        QVERIFY(MInputMethodState::instance()->isAttributeExtensionRegistered(id));
        delete sheet;
        QVERIFY(!MInputMethodState::instance()->isAttributeExtensionRegistered(id));
    }

    void fieldsAppearingLaterJoinOnce()
    {
        QList<MTextEdit*> fields;
        SimpleSheet* sheet = sheetWithFields(1, &fields);
        QTRY_VERIFY(fields[0]->hasFocus());
        auto* layout = static_cast<QGraphicsLinearLayout*>(sheet->content()->layout());
        auto* late = new MTextEdit;
        layout->addItem(late);
        QTRY_COMPARE(late->attachedToolbarId(), fields[0]->attachedToolbarId());

        // Rebuilt twice more (as after two quiet spells): still one reaction per change.
        QObject* handler = sheet->findChild<SimpleInputHandler*>();
        QObject* flow = handler->children().value(0);
        QVERIFY(QMetaObject::invokeMethod(flow, "createTextEditList"));
        QVERIFY(QMetaObject::invokeMethod(flow, "createTextEditList"));
        QSignalSpy attributes(MInputMethodState::instance(), &MInputMethodState::extendedAttributeChanged);
        ToolkitTest::type(window.data(), QStringLiteral("a"));
        QCOMPARE(attributes.count(), 1);
        ToolkitTest::key(window.data(), Qt::Key_Return);
        QVERIFY(late->hasFocus());
        delete sheet;
    }

    void deletedFieldsAreSkipped()
    {
        QList<MTextEdit*> fields;
        SimpleSheet* sheet = sheetWithFields(3, &fields, QStringLiteral("Save"));
        QTRY_VERIFY(fields[0]->hasFocus());
        delete fields[1];
        ToolkitTest::key(window.data(), Qt::Key_Return); // before the list is rebuilt
        QVERIFY(fields[2]->hasFocus());
        delete fields[2];
        QSignalSpy finished(sheet, &SimpleSheet::finished);
        ToolkitTest::tap(window.data(), fields[0]);
        ToolkitTest::key(window.data(), Qt::Key_Return); // only deleted fields follow: accept
        QTRY_COMPARE(finished.count(), 1);
        delete sheet;
    }
};

QTEST_MAIN(TestSimpleInputHandler)
#include "tst_simpleinputhandler.moc"
