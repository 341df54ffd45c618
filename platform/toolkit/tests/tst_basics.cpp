// The toolkit's foundation, driven through a window as a person would:
// styles from the theme, taps, exclusive groups, scene-window states,
// catalogues, and a full window rendered offscreen. Display state and layout
// policies are driven through the library's own suites.
#include "testsupport.h"
#include "toolkittest.h"

#include <MBanner>
#include <MBasicSheetHeader>
#include <MButton>
#include <MButtonGroup>
#include <MComboBox>
#include <MDialog>
#include <MHelpButton>
#include <MLabel>
#include <MListItem>
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

#include <functional>

using ToolkitTest::tap;

namespace {

// One emission whose receiver deletes what it names.
struct Emission
{
    QObject* emitter = nullptr;
    const char* signal = nullptr;
    QList<QPointer<QObject>> victims;
    std::function<void()> trigger;
};
using EmissionSetup = std::function<Emission(MWindow*, MSceneWindow* page)>;

} // namespace

Q_DECLARE_METATYPE(EmissionSetup)


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

    // Every signal that hosts connect to may end with its emitter deleted by
    // a receiver; the emitter must touch nothing of its own afterwards.
    void receiverDeletesTheEmitter_data()
    {
        QTest::addColumn<EmissionSetup>("setup");
        const char* const stateChanged =
            SIGNAL(sceneWindowStateChanged(MSceneWindow::SceneWindowState,MSceneWindow::SceneWindowState));
        using Make = std::function<MSceneWindow*()>;
        const QList<QPair<const char*, Make>> sceneWindows{
            {"scene window", [] { return new MSceneWindow; }},
            {"sheet", [] { return new MSheet; }},
            {"dialog", [] { return new MDialog(QStringLiteral("Title"), M::OkButton); }},
            {"message box", [] { return new MMessageBox(QStringLiteral("Text"), M::OkButton); }},
            {"banner", [] { return new MBanner; }},
        };
        // A scene window appeared in the window before the trigger.
        const auto shown = [](const Make& make, MWindow* window) {
            MSceneWindow* sceneWindow = make();
            sceneWindow->appear(window);
            if (!QTest::qWaitFor([sceneWindow] { return sceneWindow->sceneWindowState() == MSceneWindow::Appeared; }))
                qWarning("the scene window did not appear");
            return sceneWindow;
        };
        for (const auto& kind : sceneWindows) {
            const Make make = kind.second;
            const auto row = [&kind](const char* what) -> QTestData& {
                return QTest::newRow(qPrintable(QString::fromLatin1("%1: %2").arg(kind.first, what)));
            };
            row("disappeared on disappear()") << EmissionSetup([make, shown](MWindow* window, MSceneWindow*) {
                MSceneWindow* w = shown(make, window);
                return Emission{w, SIGNAL(disappeared()), {w}, [w] { w->disappear(); }};
            });
            row("disappeared on dismiss()") << EmissionSetup([make, shown](MWindow* window, MSceneWindow*) {
                MSceneWindow* w = shown(make, window);
                return Emission{w, SIGNAL(disappeared()), {w}, [w] { w->dismiss(); }};
            });
            row("state change on dismiss()") << EmissionSetup([make, shown, stateChanged](MWindow* window, MSceneWindow*) {
                MSceneWindow* w = shown(make, window);
                return Emission{w, stateChanged, {w}, [w] { w->dismiss(); }};
            });
            row("state change on appear()") << EmissionSetup([make, stateChanged](MWindow* window, MSceneWindow*) {
                MSceneWindow* w = make();
                return Emission{w, stateChanged, {w}, [w, window] { w->appear(window); }};
            });
            row("appeared") << EmissionSetup([make](MWindow* window, MSceneWindow*) {
                MSceneWindow* w = make();
                return Emission{w, SIGNAL(appeared()), {w}, [w, window] { w->appear(window); }};
            });
        }
        for (const char* signal : {SIGNAL(finished(int)), SIGNAL(accepted())}) {
            QTest::newRow(qPrintable(QStringLiteral("dialog: %1 on a tap").arg(QLatin1String(signal + 1))))
                << EmissionSetup([shown, signal](MWindow* window, MSceneWindow*) {
                       auto* dialog = static_cast<MDialog*>(
                           shown([] { return new MDialog(QStringLiteral("Title"), M::OkButton); }, window));
                       return Emission{dialog, signal, {dialog},
                                       [dialog, window] { tap(window, dialog->button(M::OkButton)); }};
                   });
        }
        QTest::newRow("banner: disappeared on a tap") << EmissionSetup([shown](MWindow* window, MSceneWindow*) {
            MSceneWindow* banner = shown([] { return new MBanner; }, window);
            return Emission{banner, SIGNAL(disappeared()), {banner}, [banner, window] { tap(window, banner); }};
        });

        // Buttons, groups, fields, lists on a page, driven by taps and keys.
        const auto onPage = [](MSceneWindow* page, QGraphicsWidget* widget) {
            auto* layout = new QGraphicsLinearLayout(Qt::Vertical, page);
            layout->addItem(widget);
            layout->addStretch();
            if (!QTest::qWaitFor([layout] { return layout->isActivated(); }))
                qWarning("the page was not laid out");
        };
        for (const char* signal : {SIGNAL(pressed()), SIGNAL(released()), SIGNAL(clicked(bool)), SIGNAL(toggled(bool))}) {
            QTest::newRow(qPrintable(QStringLiteral("button: %1").arg(QLatin1String(signal + 1))))
                << EmissionSetup([onPage, signal](MWindow* window, MSceneWindow* page) {
                       auto* button = new MButton(QStringLiteral("b"));
                       button->setCheckable(true);
                       onPage(page, button);
                       return Emission{button, signal, {button}, [button, window] { tap(window, button); }};
                   });
        }
        const auto grouped = [onPage](MSceneWindow* page, MButtonGroup** group) {
            auto* row = new QGraphicsWidget;
            auto* layout = new QGraphicsLinearLayout(Qt::Horizontal, row);
            *group = new MButtonGroup;
            QList<MButton*> buttons;
            for (const char* text : {"a", "b", "c"}) {
                buttons << new MButton(QString::fromLatin1(text));
                buttons.last()->setCheckable(true);
                layout->addItem(buttons.last());
                (*group)->addButton(buttons.last());
            }
            buttons.first()->setChecked(true);
            onPage(page, row);
            return buttons;
        };
        for (const char* signal : {SIGNAL(buttonClicked(MButton*)), SIGNAL(buttonClicked(int))}) {
            QTest::newRow(qPrintable(QStringLiteral("group: %1 deletes the group and its buttons")
                                         .arg(QLatin1String(signal + 1))))
                << EmissionSetup([grouped, signal](MWindow* window, MSceneWindow* page) {
                       MButtonGroup* group = nullptr;
                       const QList<MButton*> buttons = grouped(page, &group);
                       return Emission{group, signal, {group, buttons[0], buttons[1], buttons[2]},
                                       [window, button = buttons[1]] { tap(window, button); }};
                   });
        }
        QTest::newRow("group: the unchecked button's toggled deletes the group and its buttons")
            << EmissionSetup([grouped](MWindow*, MSceneWindow* page) {
                   MButtonGroup* group = nullptr;
                   const QList<MButton*> buttons = grouped(page, &group);
                   return Emission{buttons[0], SIGNAL(toggled(bool)), {group, buttons[0], buttons[1], buttons[2]},
                                   [button = buttons[2]] { button->setChecked(true); }};
               });
        const QList<QPair<const char*, std::function<void(MWindow*, MTextEdit*)>>> fieldSignals{
            {SIGNAL(textChanged()), [](MWindow* window, MTextEdit*) { ToolkitTest::type(window, "x"); }},
            {SIGNAL(cursorPositionChanged()), [](MWindow* window, MTextEdit*) { ToolkitTest::type(window, "x"); }},
            {SIGNAL(returnPressed()), [](MWindow* window, MTextEdit*) { ToolkitTest::key(window, Qt::Key_Return); }},
            {SIGNAL(lostFocus(Qt::FocusReason)), [](MWindow*, MTextEdit* edit) { edit->clearFocus(); }},
        };
        for (const auto& fieldSignal : fieldSignals) {
            QTest::newRow(qPrintable(QStringLiteral("text edit: %1").arg(QLatin1String(fieldSignal.first + 1))))
                << EmissionSetup([onPage, fieldSignal](MWindow* window, MSceneWindow* page) {
                       auto* edit = new MTextEdit;
                       onPage(page, edit);
                       tap(window, edit);
                       return Emission{edit, fieldSignal.first, {edit},
                                       [window, edit, trigger = fieldSignal.second] { trigger(window, edit); }};
                   });
        }
        QTest::newRow("text edit: gainedFocus") << EmissionSetup([onPage](MWindow* window, MSceneWindow* page) {
            auto* edit = new MTextEdit;
            onPage(page, edit);
            return Emission{edit, SIGNAL(gainedFocus(Qt::FocusReason)), {edit}, [window, edit] { tap(window, edit); }};
        });
        QTest::newRow("help button: helpPageOpened") << EmissionSetup([onPage](MWindow* window, MSceneWindow* page) {
            auto* help = new MHelpButton(QStringLiteral("page"));
            onPage(page, help);
            return Emission{help, SIGNAL(helpPageOpened(QString)), {help}, [window, help] { tap(window, help); }};
        });
        QTest::newRow("list item: clicked") << EmissionSetup([onPage](MWindow* window, MSceneWindow* page) {
            auto* item = new MListItem;
            item->setMinimumHeight(80);
            onPage(page, item);
            return Emission{item, SIGNAL(clicked()), {item}, [window, item] { tap(window, item); }};
        });
        QTest::newRow("combo box: currentIndexChanged(int)") << EmissionSetup([onPage](MWindow*, MSceneWindow* page) {
            auto* combo = new MComboBox;
            combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
            onPage(page, combo);
            return Emission{combo, SIGNAL(currentIndexChanged(int)), {combo}, [combo] { combo->setCurrentIndex(1); }};
        });
    }

    void receiverDeletesTheEmitter()
    {
        QFETCH(EmissionSetup, setup);
        QScopedPointer<MSceneWindow> page(new MSceneWindow);
        page->appear(window.data());
        // The handler reads the page it is given, as a real one does.
        MHelpButton::setHelpHandler([](const QString& page) { QVERIFY(!page.isEmpty()); });
        const Emission emission = setup(window.data(), page.data());
        TestSupport::DeletingReceiver deleter;
        deleter.victims = emission.victims;
        QVERIFY(connect(emission.emitter, emission.signal, &deleter, SLOT(deleteVictims())));
        emission.trigger();
        QTRY_VERIFY(deleter.calls > 0);
        for (const QPointer<QObject>& victim : emission.victims)
            QVERIFY(!victim);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        MHelpButton::setHelpHandler({});
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
