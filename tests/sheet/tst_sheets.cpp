// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// Sheets decided by taps on their header; the keyboard flow through a form's
// fields as the virtual keyboard sees it; the inverted-style wrapper.
#include <Pavane/DialogHelperWidget>
#include <Pavane/SimpleInputHandler>
#include <Pavane/SimpleSheet>

#include "toolkittest.h"

#include <MBasicSheetHeader>
#include <MButton>
#include <MInputMethodState>
#include <MLabel>
#include <MTextEdit>

#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace Pavane;

namespace {

MBasicSheetHeader* headerOf(SimpleSheet* sheet)
{
    return qobject_cast<MBasicSheetHeader*>(sheet->headerWidget());
}

QVariant actionKey(const MTextEdit* field, const char* attribute)
{
    return MInputMethodState::instance()->extendedAttribute(field->attachedToolbarId(), QStringLiteral("/keys"),
                                                            QStringLiteral("actionKey"), attribute);
}

} // namespace

class TestSheets : public QObject, private ToolkitTest::FormPage
{
    Q_OBJECT

private:
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

private Q_SLOTS:
    void init() { open(); }
    void cleanup() { close(); }

    void execReportsTheDecision_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("systemWide");
        QTest::newRow("accept button") << true << false;
        QTest::newRow("reject button") << false << false;
        QTest::newRow("system-wide, without window") << true << true;
    }

    void execReportsTheDecision()
    {
        QFETCH(bool, accept);
        QFETCH(bool, systemWide);
        SimpleSheet sheet;
        sheet.setAcceptEnabled(false);
        QVERIFY(!sheet.headerWidget()); // the header comes when needed, with the label asked for
        sheet.setAcceptLabel(QStringLiteral("Save"));
        QVERIFY(headerOf(&sheet) && !sheet.isAcceptEnabled());
        sheet.setAcceptEnabled(true);
        sheet.setRejectLabel(QStringLiteral("Cancel"));
        QSignalSpy finished(&sheet, &SimpleSheet::finished);
        QSignalSpy accepted(&sheet, &SimpleSheet::accepted);
        QSignalSpy rejected(&sheet, &SimpleSheet::rejected);
        QTimer::singleShot(0, this, [&sheet, accept] {
            if (ToolkitTest::appeared(&sheet)) {
                MBasicSheetHeader* header = headerOf(&sheet);
                ToolkitTest::tap(sheet.window(), accept ? header->positiveButton() : header->negativeButton());
            }
        });
        QCOMPARE(sheet.exec(systemWide ? nullptr : window.data()), accept);
        QCOMPARE(sheet.window(), systemWide ? MWindow::systemwideWindow() : window.data());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(accepted.count(), accept ? 1 : 0);
        QCOMPARE(rejected.count(), accept ? 0 : 1);
        // It stays on screen until the caller dismisses it; that says nothing more.
        QCOMPARE(sheet.sceneWindowState(), MSceneWindow::Appeared);
        sheet.dismiss();
        QCOMPARE(finished.count(), 1);
    }

    // A decision taken by a receiver as the sheet appears, before exec()'s
    // loop runs, is the one exec() returns; a second one would end a loop
    // left waiting.
    void execTakesADecisionAsItAppears_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << true;
        QTest::newRow("rejected") << false;
    }

    void execTakesADecisionAsItAppears()
    {
        QFETCH(bool, accept);
        SimpleSheet sheet;
        connect(&sheet, &MSceneWindow::sceneWindowStateChanged, &sheet, [&sheet, accept](MSceneWindow::SceneWindowState state) {
            if (state == MSceneWindow::Appearing)
                sheet.done(accept);
        });
        QTimer::singleShot(0, &sheet, [&sheet, accept] { sheet.done(!accept); });
        QSignalSpy finished(&sheet, &SimpleSheet::finished);
        QCOMPARE(sheet.exec(window.data()), accept);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(sheet.isRejected(), !accept);
    }

    // A sheet destroyed from inside exec() goes undecided: rejected. Its
    // receivers may still ask for its deletion.
    void execEndsWhenTheSheetGoes()
    {
        auto* doomed = new SimpleSheet;
        QSignalSpy doomedFinished(doomed, &SimpleSheet::finished);
        QSignalSpy doomedRejected(doomed, &SimpleSheet::rejected);
        connect(doomed, &SimpleSheet::rejected, doomed, &QObject::deleteLater);
        QTimer::singleShot(0, doomed, [doomed] { delete doomed; });
        QVERIFY(!doomed->exec(window.data()));
        QCOMPARE(doomedFinished.count() + doomedRejected.count(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void theBody()
    {
        SimpleSheet sheet;
        // The content is the host's to delete; the sheet then builds without it.
        auto* gone = new MLabel(QStringLiteral("gone"));
        sheet.setContent(gone);
        delete gone;
        QVERIFY(!sheet.content());
        auto* content = new MLabel(QStringLiteral("content"));
        sheet.setContent(content);
        sheet.setTitle(QStringLiteral("Connect"));
        sheet.appear(window.data());
        QTRY_VERIFY(content->isVisible() && content->size().height() > 0);
        auto* title = qobject_cast<MLabel*>(content->parentItem()->childItems().value(0)->toGraphicsObject());
        QVERIFY(title && title != content);
        QCOMPARE(title->styleName(), QStringLiteral("CommonHeader"));
        QVERIFY(title->sceneBoundingRect().bottom() <= content->sceneBoundingRect().top());
        // Replacing the content rebuilds the body but keeps the title line.
        sheet.setContent(new MLabel(QStringLiteral("other")));
        QCOMPARE(title->text(), QStringLiteral("Connect"));
        sheet.disappear();
    }

    // Fields are taken left to right, then top to bottom. Without an accept
    // button, Return on the last one closes the panel.
    void screenOrder_data()
    {
        QTest::addColumn<QList<QPointF>>("places");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("side by side") << QList<QPointF>{{250, 100}, {10, 100}} << QList<int>{1, 0};
        QTest::newRow("left edge below") << QList<QPointF>{{250, 100}, {0, 400}, {250, 300}} << QList<int>{1, 0, 2};
    }

    void screenOrder()
    {
        QFETCH(QList<QPointF>, places);
        QFETCH(QList<int>, order);
        auto* formWidget = place(new MWidget);
        formWidget->setMinimumSize(480, 600);
        QList<MTextEdit*> fields;
        for (const QPointF& at : places) {
            fields.append(new MTextEdit(MTextEditModel::SingleLine, QString(), formWidget));
            fields.last()->setGeometry(QRectF(at, QSizeF(150, 56)));
        }
        // Already on display: built at once, the first field has the focus.
        new SimpleInputHandler(formWidget);
        for (int i = 0; i < order.size(); ++i) {
            QVERIFY2(fields[order[i]]->hasFocus(), qPrintable(QStringLiteral("step %1").arg(i)));
            QCOMPARE(actionKey(fields[order[i]], "label").toString(),
                     i + 1 < order.size() ? QStringLiteral("Next") : QStringLiteral("Done"));
            key(Qt::Key_Return);
        }
        QVERIFY(!fields[order.last()]->hasFocus());
        QVERIFY(!MInputMethodState::instance()->isSoftwareInputPanelVisible());
    }

    // The key follows the field's validator and the accept button.
    void theKeyFollowsValidatorAndAcceptButton()
    {
        QList<MTextEdit*> fields;
        SimpleSheet* sheet = sheetWithFields(2, &fields, QStringLiteral("Connect"));
        const QRegularExpressionValidator fourDigits(QRegularExpression(QStringLiteral("\\d{4}")));
        fields[0]->setValidator(&fourDigits);
        fields[1]->setValidator(&fourDigits);
        QTRY_VERIFY(fields[0]->hasFocus());
        type(QStringLiteral("12"));
        QCOMPARE(actionKey(fields[0], "enabled"), QVariant(false));
        type(QStringLiteral("34"));
        QCOMPARE(actionKey(fields[0], "enabled"), QVariant(true));
        sheet->setAcceptEnabled(false);
        key(Qt::Key_Return);
        QCOMPARE(actionKey(fields[1], "label").toString(), QStringLiteral("Connect"));
        type(QStringLiteral("5678"));
        QCOMPARE(actionKey(fields[1], "enabled"), QVariant(false)); // acceptable, but the accept button is off
        delete sheet;
    }

    // Return goes to the next field, and accepts on the last one; fields
    // that come later join once, deleted ones are skipped.
    void fieldsComingAndGoing()
    {
        QList<MTextEdit*> fields;
        SimpleSheet* sheet = sheetWithFields(3, &fields, QStringLiteral("Save"));
        QTRY_VERIFY(fields[0]->hasFocus());
        QCOMPARE(actionKey(fields[0], "highlighted"), QVariant(true));
        auto* late = new MTextEdit;
        static_cast<QGraphicsLinearLayout*>(sheet->content()->layout())->addItem(late);
        QTRY_COMPARE(late->attachedToolbarId(), fields[0]->attachedToolbarId());
        // Rebuilt twice more (as after two quiet spells): still one reaction per change.
        QObject* flow = sheet->findChild<SimpleInputHandler*>()->children().value(0);
        QVERIFY(QMetaObject::invokeMethod(flow, "createTextEditList"));
        QVERIFY(QMetaObject::invokeMethod(flow, "createTextEditList"));
        QSignalSpy attributes(MInputMethodState::instance(), &MInputMethodState::extendedAttributeChanged);
        type(QStringLiteral("a"));
        QCOMPARE(attributes.count(), 1);

        delete fields[1];
        key(Qt::Key_Return); // before the list is rebuilt
        QVERIFY(fields[2]->hasFocus());
        delete fields[2];
        tap(fields[0]);
        key(Qt::Key_Return);
        QVERIFY(late->hasFocus());
        delete late;
        QSignalSpy finished(sheet, &SimpleSheet::finished);
        tap(fields[0]);
        key(Qt::Key_Return); // only deleted fields follow: accept
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        // The keyboard's attribute extension lives as long as the flow.
        const int extension = fields[0]->attachedToolbarId();
        QVERIFY(MInputMethodState::instance()->isAttributeExtensionRegistered(extension));
        delete sheet;
        QVERIFY(!MInputMethodState::instance()->isAttributeExtensionRegistered(extension));
    }

    // Style names take their inverted variant, but for those already
    // inverted and bars; so do widgets added later. Events still reach the
    // wrapper's children, also after the host deleted the wrapped widget.
    void theInvertingWrapper()
    {
        auto* content = new MWidget;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, content);
        for (const char* name : {"CommonSubText", "CommonSubTextInverted", "CommonToolBar"}) {
            layout->addItem(new MLabel(QStringLiteral("text")));
            static_cast<MLabel*>(layout->itemAt(layout->count() - 1))->setStyleName(QLatin1String(name));
        }
        auto* wrapper = place(new DialogHelperWidget(content));
        QStringList styles;
        for (int i = 0; i < layout->count(); ++i)
            styles << static_cast<MLabel*>(layout->itemAt(i))->styleName();
        QCOMPARE(styles, (QStringList{"CommonSubTextInverted", "CommonSubTextInverted", "CommonToolBar"}));
        auto* late = new MButton(QStringLiteral("Tap"));
        late->setStyleName(QStringLiteral("CommonDialogButton"));
        layout->addItem(late);
        QTRY_VERIFY(late->isVisible() && late->size().width() > 0);
        QSignalSpy clicked(late, &MButton::clicked);
        tap(late);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(late->styleName(), QStringLiteral("CommonDialogButtonInverted"));

        auto* other = new MButton(QStringLiteral("Other"));
        static_cast<QGraphicsLinearLayout*>(wrapper->layout())->addItem(other);
        delete content;
        QTRY_VERIFY(other->isVisible() && other->size().width() > 0);
        QSignalSpy otherClicked(other, &MButton::clicked);
        tap(other);
        QCOMPARE(otherClicked.count(), 1);
    }
};

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
