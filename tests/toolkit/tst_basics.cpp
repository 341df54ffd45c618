// The toolkit's foundation, driven through a window as a person would:
// display state, styles from the theme, taps and exclusive groups, layouts
// that follow the orientation, scene-window states, the modal layer,
// catalogues, and a window with one of each widget rendered offscreen.
#include "toolkittest.h"

#include <MBasicSheetHeader>
#include <MButton>
#include <MButtonGroup>
#include <MComboBox>
#include <MDialog>
#include <MHelpButton>
#include <MImageWidget>
#include <MLabel>
#include <MLayout>
#include <MLinearLayoutPolicy>
#include <MListItem>
#include <MLocale>
#include <MMessageBox>
#include <MPannableViewport>
#include <MProgressIndicator>
#include <MSceneWindow>
#include <MSeparator>
#include <MSheet>
#include <MTextEdit>
#include <MTheme>

#include <QAction>
#include <QGraphicsLinearLayout>
#include <QPointer>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

using ToolkitTest::tap;

namespace {

// A scene window whose modality a test chooses.
class TestWindow : public MSceneWindow
{
public:
    bool modal = false;

protected:
    bool isModal() const override { return modal; }
};

QList<QPair<int, int>> states(const QSignalSpy& spy)
{
    QList<QPair<int, int>> result;
    for (const QList<QVariant>& call : spy)
        result.append({call.at(0).toInt(), call.at(1).toInt()});
    return result;
}

} // namespace

class TestToolkitBasics : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;

private Q_SLOTS:
    void init()
    {
        window.reset(ToolkitTest::shownWindow());
    }

    void cleanup()
    {
        window.reset();
    }

    void widgetsKnowWhenTheyAreOnDisplay()
    {
        TestWindow page;
        auto* label = new MLabel(QStringLiteral("hello"), &page);
        QSignalSpy entered(label, &MWidget::displayEntered);
        QSignalSpy exited(label, &MWidget::displayExited);
        QVERIFY(!label->isOnDisplay());
        page.appear(window.data());
        QVERIFY(label->isOnDisplay());
        window->hide();
        QVERIFY(!label->isOnDisplay());
        window->show();
        page.disappear();
        QVERIFY(!label->isOnDisplay());
        QCOMPARE(entered.count(), 2);
        QCOMPARE(exited.count(), 2);
    }

    void stylesComeFromTheTheme()
    {
        QVERIFY(!MTheme::themeDirectory().isEmpty());
        MLabel label;
        const QColor plain = label.style()->color();
        label.setStyleName(QStringLiteral("CommonSubText"));
        QCOMPARE(label.style()->font().pixelSize(), 18);
        label.setStyleName(QStringLiteral("CommonSubTextInverted"));
        QCOMPARE(label.style()->font().pixelSize(), 18);
        QVERIFY(label.style()->color() != plain);
        // An unknown inverted name: the base look in the inverted colours.
        label.setStyleName(QStringLiteral("CommonHeaderDoesNotExistInverted"));
        QCOMPARE(label.style()->color(), MTheme::style("MLabelStyle", QStringLiteral("Inverted"))->color());
        // An unknown name: the class default.
        label.setStyleName(QStringLiteral("NoSuchStyle"));
        QCOMPARE(label.style(), MTheme::style("MLabelStyle", QStringLiteral("NoSuchStyle")));
        QCOMPARE(label.style()->color(), plain);
    }

    void aTapIsAPressAndAReleaseInside()
    {
        TestWindow page;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, &page);
        auto* button = new MButton(QStringLiteral("Tap me"));
        layout->addItem(button);
        layout->addStretch();
        page.appear(window.data());
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
        TestWindow page;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, &page);
        MButtonGroup group;
        QList<MButton*> buttons;
        for (const char* text : {"a", "b", "c"}) {
            auto* button = new MButton(QString::fromLatin1(text));
            button->setCheckable(true);
            layout->addItem(button);
            group.addButton(button);
            buttons.append(button);
        }
        layout->addStretch();
        page.appear(window.data());
        QSignalSpy clicked(&group, SIGNAL(buttonClicked(MButton*)));

        tap(window.data(), buttons[1]);
        QCOMPARE(group.checkedButton(), buttons[1]);
        tap(window.data(), buttons[2]);
        QCOMPARE(group.checkedButton(), buttons[2]);
        QVERIFY(!buttons[1]->isChecked());
        // The checked one stays checked when tapped or toggled again.
        tap(window.data(), buttons[2]);
        buttons[2]->toggle();
        QVERIFY(buttons[2]->isChecked());
        QCOMPARE(clicked.count(), 3);
        QCOMPARE(clicked.at(1).at(0).value<MButton*>(), buttons[2]);

        // toggle() on another one moves the check, without a click.
        QSignalSpy toggled(buttons[2], &MButton::toggled);
        buttons[0]->toggle();
        QCOMPARE(group.checkedButton(), buttons[0]);
        QCOMPARE(toggled.count(), 1);
        QCOMPARE(clicked.count(), 3);
    }

    void layoutsFollowTheOrientation()
    {
        window->resize(800, 480);
        TestWindow page;
        auto* container = new MWidget;
        auto* outer = new QGraphicsLinearLayout(Qt::Vertical, &page);
        outer->addItem(container);
        outer->addStretch();
        auto* layout = new MLayout(container);
        auto* landscape = new MLinearLayoutPolicy(layout, Qt::Horizontal);
        auto* portrait = new MLinearLayoutPolicy(layout, Qt::Vertical);
        layout->setLandscapePolicy(landscape);
        layout->setPortraitPolicy(portrait);
        auto* first = new MButton(QStringLiteral("first"));
        auto* second = new MButton(QStringLiteral("second"));
        for (MLinearLayoutPolicy* policy : {landscape, portrait}) {
            policy->addItem(first);
            policy->addItem(second);
        }
        page.appear(window.data());
        QSignalSpy orientation(window.data(), &MWindow::orientationChanged);

        QTRY_VERIFY(first->sceneBoundingRect().right() <= second->sceneBoundingRect().left());
        QCOMPARE(first->sceneBoundingRect().top(), second->sceneBoundingRect().top());

        window->resize(480, 800);
        QCOMPARE(window->orientation(), M::Portrait);
        QCOMPARE(orientation.count(), 1);
        QTRY_VERIFY(first->sceneBoundingRect().bottom() <= second->sceneBoundingRect().top());
        QCOMPARE(first->sceneBoundingRect().left(), second->sceneBoundingRect().left());
        QVERIFY(layout->policy() == portrait);
    }

    void onlyTheActivePolicysItemsAreShown()
    {
        TestWindow page;
        auto* layout = new MLayout(&page);
        auto* main = new MLinearLayoutPolicy(layout, Qt::Horizontal);
        auto* busy = new MLinearLayoutPolicy(layout, Qt::Horizontal);
        auto* title = new MLabel(QStringLiteral("title"));
        auto* button = new MButton(QStringLiteral("button"));
        auto* spinner = new MProgressIndicator(nullptr, MProgressIndicator::spinnerType);
        main->addItem(title);
        main->addItem(button);
        busy->addItem(title);
        busy->addItem(spinner);
        page.appear(window.data());
        QTRY_VERIFY(button->isVisible());
        QVERIFY(!spinner->isVisible());
        busy->activate();
        QTRY_VERIFY(spinner->isVisible());
        QVERIFY(!button->isVisible() && title->isVisible());
        main->activate();
        QTRY_VERIFY(button->isVisible());
        QVERIFY(!spinner->isVisible());
        QCOMPARE(layout->count(), 3);
        main->removeItem(button);
        QCOMPARE(layout->count(), 2); // in no policy any more
        delete button;
    }

    void sceneWindowStatesAndDeletionPolicies()
    {
        QPointer<TestWindow> kept = new TestWindow;
        QSignalSpy changes(kept.data(), &MSceneWindow::sceneWindowStateChanged);
        QSignalSpy appeared(kept.data(), &MSceneWindow::appeared);
        kept->appear(window.data(), MSceneWindow::KeepWhenDone);
        QCOMPARE(kept->sceneWindowState(), MSceneWindow::Appearing);
        QCOMPARE(appeared.count(), 0);
        QTRY_COMPARE(kept->sceneWindowState(), MSceneWindow::Appeared);
        QCOMPARE(appeared.count(), 1);
        kept->appear(window.data()); // already shown: nothing new
        QCOMPARE(window->sceneWindows(), QList<MSceneWindow*>{kept.data()});
        kept->disappear();
        QCOMPARE(kept->sceneWindowState(), MSceneWindow::Disappeared);
        QCOMPARE(states(changes), (QList<QPair<int, int>>{{0, 3}, {1, 0}, {2, 1}, {3, 2}}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(kept);
        delete kept.data();

        QPointer<TestWindow> done = new TestWindow;
        done->appear(window.data(), MSceneWindow::DestroyWhenDone);
        done->disappear();
        QTRY_VERIFY(done.isNull());

        QPointer<TestWindow> dismissed = new TestWindow;
        dismissed->appear(window.data(), MSceneWindow::DestroyWhenDismissed);
        dismissed->disappear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dismissed);
        dismissed->appear(window.data(), MSceneWindow::DestroyWhenDismissed);
        QVERIFY(dismissed->dismiss());
        QTRY_VERIFY(dismissed.isNull());
    }

    void aModalSceneWindowTakesTheTapsBelowIt()
    {
        TestWindow page;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, &page);
        auto* button = new MButton(QStringLiteral("below"));
        layout->addItem(button);
        layout->addStretch();
        page.appear(window.data());
        QSignalSpy clicked(button, &MButton::clicked);

        TestWindow overlay;
        overlay.modal = true;
        overlay.resize(10, 10);
        overlay.appear(window.data());
        tap(window.data(), button);
        QCOMPARE(clicked.count(), 0);
        overlay.disappear();
        tap(window.data(), button);
        QCOMPARE(clicked.count(), 1);
    }

    void cataloguesTranslateLogicalIds()
    {
        // The common catalogue is there from the start.
        QCOMPARE(qtTrId("qtn_comm_next"), QStringLiteral("Next"));
        QCOMPARE(qtTrId("qtn_comm_command_done"), QStringLiteral("Done"));

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
        MLocale::setDefault(MLocale(QStringLiteral("en_GB")));
        QCOMPARE(MLocale::defaultLocale().catalogues(), QStringList{QStringLiteral("common")});
    }

    void textDirection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("direction");
        QTest::newRow("empty") << QString() << int(Qt::LeftToRight);
        QTest::newRow("latin") << QStringLiteral("Kotiverkko") << int(Qt::LeftToRight);
        QTest::newRow("digits, then hebrew") << QStringLiteral("12 שלום") << int(Qt::RightToLeft);
        QTest::newRow("arabic") << QStringLiteral("مرحبا") << int(Qt::RightToLeft);
        QTest::newRow("latin first") << QStringLiteral("Wi-Fi مرحبا") << int(Qt::LeftToRight);
    }

    void textDirection()
    {
        QFETCH(QString, text);
        QFETCH(int, direction);
        QCOMPARE(int(MLocale::directionForText(text)), direction);
    }

    void everyWidgetRendersOffscreen()
    {
        auto* sheet = new MSheet;
        auto* header = new MBasicSheetHeader;
        QAction accept(QStringLiteral("Save"), header);
        QAction cancel(QStringLiteral("Cancel"), header);
        header->setPositiveAction(&accept);
        header->setNegativeAction(&cancel);
        header->setProgressIndicatorVisible(true);
        sheet->setHeaderWidget(header);

        auto* body = new MWidget;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, body);
        layout->addItem(new MLabel(QStringLiteral("A label")));
        layout->addItem(new MSeparator);
        layout->addItem(new MImageWidget(QStringLiteral("icon-m-content-pdf-inverse")));
        auto* bar = new MProgressIndicator(nullptr, MProgressIndicator::barType);
        bar->setValue(40);
        layout->addItem(bar);
        auto* switchButton = new MButton(QStringLiteral("switch"));
        switchButton->setViewType(MButton::switchType);
        switchButton->setCheckable(true);
        switchButton->setChecked(true);
        layout->addItem(switchButton);
        auto* checkbox = new MButton(QStringLiteral("check"));
        checkbox->setViewType(MButton::checkboxType);
        layout->addItem(checkbox);
        layout->addItem(new MButton(QStringLiteral("A push button")));
        layout->addItem(new MHelpButton(QStringLiteral("help-page")));
        auto* combo = new MComboBox;
        combo->setTitle(QStringLiteral("Security"));
        combo->addItems({QStringLiteral("None"), QStringLiteral("WPA2")});
        combo->setCurrentIndex(1);
        layout->addItem(combo);
        layout->addItem(new MTextEdit(MTextEditModel::SingleLine, QStringLiteral("typed text")));
        auto* item = new MListItem;
        auto* itemLayout = new QGraphicsLinearLayout(item);
        itemLayout->addItem(new MLabel(QStringLiteral("A list item")));
        layout->addItem(item);
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
