// The toolkit's foundation, driven through a window as a person would:
// styles from the theme, taps, exclusive groups, scene-window states,
// catalogues, and a full window rendered offscreen. Display state and layout
// policies are driven through the library's own suites.
#include "toolkittest.h"

#include <MBasicSheetHeader>
#include <MButton>
#include <MButtonGroup>
#include <MComboBox>
#include <MLabel>
#include <MLocale>
#include <MMessageBox>
#include <MPannableViewport>
#include <MProgressIndicator>
#include <MSheet>
#include <MTextEdit>
#include <MTheme>

#include <QAction>
#include <QPointer>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

using ToolkitTest::tap;

class TestToolkitBasics : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;

    // A page of buttons, one under the other, shown in the window.
    QList<MButton*> showButtons(MSceneWindow* page, const QStringList& texts)
    {
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, page);
        QList<MButton*> buttons;
        for (const QString& text : texts) {
            buttons << new MButton(text);
            layout->addItem(buttons.last());
        }
        layout->addStretch();
        page->appear(window.data());
        return buttons;
    }

private Q_SLOTS:
    void init() { window.reset(ToolkitTest::shownWindow()); }
    void cleanup() { window.reset(); }

    void stylesComeFromTheTheme()
    {
        MLabel label;
        const QColor plain = label.style()->color();
        label.setStyleName(QStringLiteral("CommonSubTextInverted"));
        QCOMPARE(label.style()->font().pixelSize(), 18);
        QVERIFY(label.style()->color() != plain);
        // An unknown inverted name: the base look in the inverted colours.
        label.setStyleName(QStringLiteral("CommonHeaderDoesNotExistInverted"));
        QCOMPARE(label.style()->color(), MTheme::style("MLabelStyle", QStringLiteral("Inverted"))->color());
        // An unknown name: the class default.
        label.setStyleName(QStringLiteral("NoSuchStyle"));
        QCOMPARE(label.style()->color(), plain);
    }

    void aTapIsAPressAndAReleaseOnAnEnabledButton()
    {
        MSceneWindow page;
        MButton* button = showButtons(&page, {QStringLiteral("Tap me")}).first();
        QSignalSpy clicked(button, &MButton::clicked);
        tap(window.data(), button);
        QCOMPARE(clicked.count(), 1);

        // Released elsewhere: no tap.
        const QPoint inside = ToolkitTest::viewportPoint(window.data(), button);
        QTest::mousePress(window->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mouseRelease(window->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(inside.x(), 800));
        QCOMPARE(clicked.count(), 1);

        button->setEnabled(false);
        tap(window.data(), button);
        QCOMPARE(clicked.count(), 1);
    }

    void exclusiveGroupsKeepOneChecked()
    {
        MSceneWindow page;
        MButtonGroup group;
        const QList<MButton*> buttons = showButtons(&page, {"a", "b", "c"});
        for (MButton* button : buttons) {
            button->setCheckable(true);
            group.addButton(button);
        }
        QSignalSpy clicked(&group, SIGNAL(buttonClicked(MButton*)));
        tap(window.data(), buttons[2]);
        // The checked one stays checked when tapped or toggled again.
        tap(window.data(), buttons[2]);
        buttons[2]->toggle();
        QCOMPARE(group.checkedButton(), buttons[2]);
        QCOMPARE(clicked.count(), 2);
        // toggle() on another one moves the check, without a click.
        buttons[0]->toggle();
        QVERIFY(!buttons[2]->isChecked());
        QCOMPARE(clicked.count(), 2);
    }

    void sceneWindowStatesAndDeletionPolicies()
    {
        QPointer<MSceneWindow> kept = new MSceneWindow;
        QSignalSpy changes(kept.data(), &MSceneWindow::sceneWindowStateChanged);
        QSignalSpy appeared(kept.data(), &MSceneWindow::appeared);
        kept->appear(window.data(), MSceneWindow::KeepWhenDone);
        QCOMPARE(appeared.count(), 0); // on the next pass only
        QTRY_COMPARE(appeared.count(), 1);
        kept->appear(window.data()); // already shown: nothing new
        QCOMPARE(window->sceneWindows(), QList<MSceneWindow*>{kept.data()});
        kept->disappear();
        QCOMPARE(kept->sceneWindowState(), MSceneWindow::Disappeared);
        QList<QPair<int, int>> states;
        for (const QList<QVariant>& call : qAsConst(changes))
            states.append({call.at(0).toInt(), call.at(1).toInt()});
        QCOMPARE(states, (QList<QPair<int, int>>{{0, 3}, {1, 0}, {2, 1}, {3, 2}}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(kept);
        delete kept.data();

        QPointer<MSceneWindow> done = new MSceneWindow;
        done->appear(window.data(), MSceneWindow::DestroyWhenDone);
        done->disappear();
        QTRY_VERIFY(done.isNull());

        // Only a dismissal ends one destroyed when dismissed.
        QPointer<MSceneWindow> dismissed = new MSceneWindow;
        dismissed->appear(window.data(), MSceneWindow::DestroyWhenDismissed);
        dismissed->disappear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dismissed);
        dismissed->appear(window.data(), MSceneWindow::DestroyWhenDismissed);
        QVERIFY(dismissed->dismiss());
        QTRY_VERIFY(dismissed.isNull());
    }

    void cataloguesTranslateLogicalIds()
    {
        MLocale finnish(QStringLiteral("fi_FI"));
        finnish.installTrCatalog(QStringLiteral("offline"));
        MLocale::setDefault(finnish);
        QCOMPARE(qtTrId("qtn_offl_exiting"), QStringLiteral("Poistutaanko lentotilasta?"));
        QCOMPARE(qtTrId("qtn_comm_next"), QStringLiteral("Seuraava"));

        // A language without catalogues falls back to English.
        MLocale other(QStringLiteral("de_DE"));
        other.installTrCatalog(QStringLiteral("offline"));
        MLocale::setDefault(other);
        QCOMPARE(qtTrId("qtn_offl_exiting"), QStringLiteral("Exit offline mode?"));
        QCOMPARE(qtTrId("qtn_comm_next"), QStringLiteral("Next"));
        MLocale::setDefault(MLocale(QStringLiteral("en_GB")));
    }

    void textDirection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("direction");
        QTest::newRow("empty") << QString() << int(Qt::LeftToRight);
        QTest::newRow("digits, then hebrew") << QStringLiteral("12 שלום") << int(Qt::RightToLeft);
        QTest::newRow("arabic") << QStringLiteral("مرحبا") << int(Qt::RightToLeft);
        QTest::newRow("latin first") << QStringLiteral("Wi-Fi مرحبا") << int(Qt::LeftToRight);
    }

    void textDirection()
    {
        QFETCH(QString, text);
        QTEST(int(MLocale::directionForText(text)), "direction");
    }

    // Each widget is painted in the library's suites too; here the theme's
    // look as a whole is checked on a full window's grab.
    void aFullWindowRendersOffscreen()
    {
        auto* sheet = new MSheet;
        auto* header = new MBasicSheetHeader;
        header->setPositiveAction(new QAction(QStringLiteral("Save"), header));
        header->setNegativeAction(new QAction(QStringLiteral("Cancel"), header));
        header->setProgressIndicatorVisible(true);
        sheet->setHeaderWidget(header);
        auto* body = new MWidget;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, body);
        auto* bar = new MProgressIndicator(nullptr, MProgressIndicator::barType);
        bar->setValue(40);
        auto* combo = new MComboBox;
        combo->setTitle(QStringLiteral("Security"));
        combo->addItems({QStringLiteral("None"), QStringLiteral("WPA2")});
        combo->setCurrentIndex(1);
        for (QGraphicsWidget* widget : std::initializer_list<QGraphicsWidget*>{
                 new MLabel(QStringLiteral("A label")), bar, new MButton(QStringLiteral("A push button")), combo,
                 new MTextEdit(MTextEditModel::SingleLine, QStringLiteral("typed text"))})
            layout->addItem(widget);
        auto* viewport = new MPannableViewport;
        viewport->setWidget(body);
        sheet->setCentralWidget(viewport);
        sheet->appear(window.data(), MSceneWindow::DestroyWhenDone);
        MMessageBox box(QStringLiteral("A question?"), M::YesButton | M::NoButton);
        box.appear(window.data());
        QTRY_COMPARE(box.sceneWindowState(), MSceneWindow::Appeared);

        const QImage image = window->grab().toImage();
        QCOMPARE(image.size(), window->size());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        }
        QVERIFY2(colours.size() > 50, qPrintable(QStringLiteral("%1 colours").arg(colours.size())));
        if (qEnvironmentVariableIsSet("TOOLKIT_RENDER_TO"))
            image.save(QString::fromLocal8Bit(qgetenv("TOOLKIT_RENDER_TO")));
        box.disappear();
        sheet->disappear();
    }
};

QTEST_MAIN(TestToolkitBasics)
#include "tst_basics.moc"
