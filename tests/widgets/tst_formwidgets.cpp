// The form widgets on screen: the check-box row's layouts, the prefixed
// field's indent, and the key field's checked paste through the clipboard.
#include <Pavane/KeyTextEdit>
#include <Pavane/PrefixTextEdit>
#include <Pavane/SimpleCheckBoxLabel>

#include "toolkittest.h"

#include <MButton>
#include <MHelpButton>
#include <MLabel>
#include <MProgressIndicator>
#include <MSceneWindow>

#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpressionValidator>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace Pavane;

namespace {

template<typename T>
QList<T*> shown(QGraphicsItem* root)
{
    QList<T*> result;
    for (QGraphicsItem* item : root->childItems()) {
        if (auto* widget = qobject_cast<T*>(item->toGraphicsObject()); widget && widget->isVisible())
            result.append(widget);
        result.append(shown<T>(item));
    }
    return result;
}

qreal firstLineIndent(const MTextEdit* edit)
{
    return edit->document()->firstBlock().blockFormat().textIndent();
}

} // namespace

class TestFormWidgets : public QObject
{
    Q_OBJECT

    QScopedPointer<MWindow> window{ToolkitTest::shownWindow()};

private Q_SLOTS:
    void checkBoxRowOrder_data()
    {
        QTest::addColumn<QString>("viewType");
        QTest::addColumn<bool>("buttonFirst");
        QTest::newRow("switch at the right end") << MButton::switchType << false;
        QTest::newRow("check box at the left end") << MButton::checkboxType << true;
    }

    void checkBoxRowOrder()
    {
        QFETCH(QString, viewType);
        QFETCH(bool, buttonFirst);
        auto* button = new MButton;
        auto* row = new SimpleCheckBoxLabel(button, QStringLiteral("Automatic connection"), viewType);
        QVERIFY(button->isCheckable());
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), row));
        const QList<MLabel*> labels = shown<MLabel>(row);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonSingleTitle"));
        QCOMPARE(button->sceneBoundingRect().center().x() < labels[0]->sceneBoundingRect().center().x(), buttonFirst);
    }

    // A row without a button used to crash; it shows its title alone.
    void checkBoxRowWithoutButton()
    {
        auto* row = new SimpleCheckBoxLabel(nullptr, QStringLiteral("Title only"), MButton::switchType);
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), row));
        QCOMPARE(shown<MLabel>(row).size(), 1);
    }

    void checkBoxRowHelpAndInfo()
    {
        auto* button = new MButton;
        auto* row = new SimpleCheckBoxLabel(button, QStringLiteral("Hidden network"), MButton::switchType);
        row->setHelpPageId(QStringLiteral("wlan-hidden"));
        row->setHelpPageId(QStringLiteral("wlan-hidden-2"));
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), row));
        QList<MHelpButton*> help = shown<MHelpButton>(row);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help[0]->pageID(), QStringLiteral("wlan-hidden-2"));
        MLabel* title = shown<MLabel>(row).first();
        QVERIFY(title->sceneBoundingRect().right() <= help[0]->sceneBoundingRect().left());
        QVERIFY(help[0]->sceneBoundingRect().right() <= button->sceneBoundingRect().left());

        // The info text stands under the title; a second one replaces the first.
        row->setInfoText(QStringLiteral("Asks for the network name"));
        row->setInfoText(QStringLiteral("The name is not broadcast"));
        QCOMPARE(row->styleName(), QStringLiteral("CommonLargePanel"));
        QVERIFY(QTest::qWaitFor([row] { return shown<MLabel>(row).size() == 2; }));
        const QList<MLabel*> labels = shown<MLabel>(row);
        MLabel* info = labels[0] == title ? labels[1] : labels[0];
        QCOMPARE(info->text(), QStringLiteral("The name is not broadcast"));
        QVERIFY(QTest::qWaitFor([&] { return title->sceneBoundingRect().bottom() <= info->sceneBoundingRect().top(); }));

        row->setHelpPageId(QString());
        QVERIFY(QTest::qWaitFor([row] { return shown<MHelpButton>(row).isEmpty(); }));
    }

    // The spinner takes the button's place; the title, with the info text
    // under it when there is one, stays in both states, whichever came first.
    void theSpinnerTakesTheButtonsPlace_data()
    {
        QTest::addColumn<bool>("infoBefore");
        QTest::addColumn<bool>("infoAfter");
        QTest::newRow("busy alone") << false << false;
        QTest::newRow("info text, then busy") << true << false;
        QTest::newRow("busy, then info text") << false << true;
    }

    void theSpinnerTakesTheButtonsPlace()
    {
        QFETCH(bool, infoBefore);
        QFETCH(bool, infoAfter);
        auto* button = new MButton;
        auto* row = new SimpleCheckBoxLabel(button, QStringLiteral("Bluetooth"), MButton::switchType);
        row->setShowProgressIndicator(false); // before any true: nothing
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), row));
        QVERIFY(shown<MProgressIndicator>(row).isEmpty());
        const auto texts = [row] {
            QStringList result;
            for (MLabel* label : shown<MLabel>(row)) {
                if (label->size().width() > 0 && row->sceneBoundingRect().contains(label->sceneBoundingRect()))
                    result << label->text();
            }
            result.sort();
            return result;
        };
        const QStringList expected = infoBefore || infoAfter ? QStringList{"Bluetooth", "Searching"}
                                                             : QStringList{"Bluetooth"};
        if (infoBefore)
            row->setInfoText(QStringLiteral("Searching"));
        row->setShowProgressIndicator(true);
        row->setShowProgressIndicator(true);
        if (infoAfter)
            row->setInfoText(QStringLiteral("Searching"));
        QTRY_VERIFY(!button->isVisible());
        QCOMPARE(shown<MProgressIndicator>(row).size(), 1);
        QTRY_COMPARE(texts(), expected);
        row->setShowProgressIndicator(false);
        QTRY_VERIFY(button->isVisible());
        QVERIFY(shown<MProgressIndicator>(row).isEmpty());
        QTRY_COMPARE(texts(), expected);
        row->setShowProgressIndicator(true);
        QTRY_VERIFY(!button->isVisible());
        QTRY_COMPARE(texts(), expected);
    }

    void prefixIndent()
    {
        auto* edit = new PrefixTextEdit;
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), edit));
        QVERIFY(edit->prefix().isNull());
        edit->setPrefix(QLatin1String(""));
        QVERIFY(!edit->prefix().isNull() && edit->prefix().isEmpty());
        edit->setPrefix(QStringLiteral("http://"));
        MLabel* label = shown<MLabel>(edit).value(0);
        QVERIFY(label);
        const QPointF place = label->pos();
        const qreal shortIndent = firstLineIndent(edit);
        QVERIFY(shortIndent > label->size().width() - 1);

        edit->setPrefix(QStringLiteral("https://www."));
        const qreal longIndent = firstLineIndent(edit);
        QVERIFY(longIndent > shortIndent);
        QCOMPARE(label->pos(), place);

        // Typing and replacing the text keep the indent.
        ToolkitTest::tap(window.data(), edit);
        ToolkitTest::type(window.data(), QStringLiteral("example.org"));
        QCOMPARE(firstLineIndent(edit), longIndent);
        edit->setText(QStringLiteral("other.example"));
        QCOMPARE(firstLineIndent(edit), longIndent);
    }

    void keyPaste_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        const QString wepKey = QStringLiteral("[0-9A-Fa-f]{10}");
        QTest::newRow("a complete key") << wepKey << "" << "0123456789" << "0123456789";
        QTest::newRow("a partial key") << wepKey << "" << "01234" << "";
        // The clipboard text alone decides, not the text it would make.
        QTest::newRow("completing a partial key") << wepKey << "0123456" << "789" << "0123456";
        QTest::newRow("no validator") << "" << "" << "anything" << "anything";
    }

    void keyPaste()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, before);
        QFETCH(QString, clipboard);
        QFETCH(QString, after);
        auto* edit = new KeyTextEdit;
        const QRegularExpressionValidator validator{QRegularExpression(pattern)};
        if (!pattern.isEmpty())
            edit->setValidator(&validator);
        edit->setText(before);
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), edit));
        QGuiApplication::clipboard()->setText(clipboard);
        ToolkitTest::tap(window.data(), edit);
        ToolkitTest::key(window.data(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), after);
    }
};

QTEST_MAIN(TestFormWidgets)
#include "tst_formwidgets.moc"
