// MComboBox: its items and current item, with a model of its own or one set
// from outside, and the popup list a tap opens.
#include <MButton>
#include <MComboBox>
#include <MSceneWindow>

#include "toolkittest.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QPointer>
#include <QSignalSpy>
#include <QStringListModel>
#include <QtTest>

#include <algorithm>
#include <utility>

namespace {

// Both currentIndexChanged signals, as "index:text" in the order they came.
class CurrentLog : public QObject
{
public:
    explicit CurrentLog(MComboBox* combo)
    {
        connect(combo, QOverload<int>::of(&MComboBox::currentIndexChanged), this,
                [this](int index) { entries << QString::number(index); });
        connect(combo, QOverload<const QString&>::of(&MComboBox::currentIndexChanged), this,
                [this](const QString& text) { entries.last() += QLatin1Char(':') + text; });
    }
    QStringList take() { return std::exchange(entries, {}); }

private:
    QStringList entries;
};

QStringList itemsOf(const MComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

} // namespace

class TestComboBox : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;

    MComboBox* shownCombo(const QStringList& items)
    {
        auto* combo = new MComboBox;
        combo->setTitle(QStringLiteral("Connect automatically"));
        combo->addItems(items);
        window->scene()->addItem(combo);
        combo->setGeometry(0, 20, 480, 80);
        return combo;
    }

    MSceneWindow* popup() const { return window->sceneWindows().value(0); }

    QList<MButton*> rowsOf(MSceneWindow* list) const
    {
        QList<MButton*> rows;
        const QList<QGraphicsItem*> items = window->scene()->items();
        for (QGraphicsItem* item : items) {
            if (auto* button = qobject_cast<MButton*>(item->toGraphicsObject()); button && list->isAncestorOf(item))
                rows << button;
        }
        std::sort(rows.begin(), rows.end(), [](MButton* a, MButton* b) { return a->y() < b->y(); });
        return rows;
    }

private Q_SLOTS:
    void init() { window.reset(ToolkitTest::shownWindow()); }
    void cleanup() { window.reset(); }

    void itemsAndTheCurrentOne()
    {
        MComboBox combo;
        CurrentLog log(&combo);
        combo.addItem(QStringLiteral("b"));
        combo.addItems({QStringLiteral("d"), QStringLiteral("e")});
        combo.insertItem(1, QStringLiteral("c"));
        combo.insertItem(-5, QStringLiteral("a"));
        QCOMPARE(itemsOf(combo), QStringList({"a", "b", "c", "d", "e"}));
        QCOMPARE(combo.itemText(5), QString());
        QCOMPARE(combo.currentIndex(), -1);

        combo.setCurrentIndex(1);
        combo.setCurrentIndex(1);
        combo.setCurrentIndex(5);
        combo.setCurrentIndex(-2);
        QCOMPARE(log.take(), QStringList({"1:b"}));
        // The current item stays current while rows come and go around it.
        combo.insertItem(0, QStringLiteral("first"));
        combo.removeItem(4);
        QCOMPARE(combo.currentText(), QStringLiteral("b"));
        QCOMPARE(log.take(), QStringList({"2:b"}));
        combo.removeItem(2);
        QCOMPARE(log.take(), QStringList({"-1:"}));
        combo.setCurrentIndex(0);
        combo.clear();
        QCOMPARE(combo.count(), 0);
        QCOMPARE(log.take(), QStringList({"0:first", "-1:"}));
    }

    void followingAModelFromOutside()
    {
        MComboBox combo;
        combo.addItem(QStringLiteral("own"));
        combo.setCurrentIndex(0);
        CurrentLog log(&combo);
        auto* model = new QStringListModel({QStringLiteral("cherry"), QStringLiteral("apple")});
        combo.setItemModel(model);
        QCOMPARE(itemsOf(combo), QStringList({"cherry", "apple"}));
        combo.setCurrentIndex(0);
        model->sort(0);
        model->setData(model->index(1, 0), QStringLiteral("cranberry"));
        QCOMPARE(combo.currentText(), QStringLiteral("cranberry"));
        model->removeRows(1, 1);
        QCOMPARE(log.take(), QStringList({"-1:", "0:cherry", "1:cherry", "-1:"}));

        // The combo box's own items never go into a model from outside.
        combo.removeItem(0);
        combo.addItem(QStringLiteral("mine"));
        QCOMPARE(model->stringList(), QStringList({"apple"}));
        QCOMPARE(itemsOf(combo), QStringList({"mine"}));

        combo.setItemModel(model);
        combo.setCurrentIndex(0);
        log.take();
        delete model;
        QCOMPARE(combo.itemModel(), nullptr);
        QCOMPARE(combo.count(), 0);
        QCOMPARE(log.take(), QStringList({"-1:"}));
    }

    void aTapOpensTheListAndARowChoosesIt()
    {
        MComboBox* combo = shownCombo({QStringLiteral("Always"), QStringLiteral("Never"), QStringLiteral("Ask")});
        combo->setCurrentIndex(0);
        auto* below = new MButton(QStringLiteral("Elsewhere"));
        window->scene()->addItem(below);
        below->setGeometry(0, 700, 480, 80);
        QSignalSpy belowClicked(below, &MButton::clicked);
        CurrentLog log(combo);
        QSignalSpy activated(combo, &MComboBox::activated);

        // Dismissed, it changes nothing.
        ToolkitTest::tap(window.data(), combo);
        QPointer<MSceneWindow> list = popup();
        QVERIFY(list && combo->isPopupVisible());
        combo->dismissPopup();
        QVERIFY(!combo->isPopupVisible() && window->sceneWindows().isEmpty());
        QTRY_VERIFY(!list);

        ToolkitTest::tap(window.data(), combo);
        list = popup();
        QCOMPARE(list->geometry().width(), 440.0);
        QCOMPARE(list->geometry().center(), QPointF(240, 427));
        const QList<MButton*> rows = rowsOf(list);
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows.at(0)->isChecked() && !rows.at(1)->isChecked() && !rows.at(2)->isChecked());
        for (MButton* row : rows)
            QVERIFY(list->geometry().contains(row->sceneBoundingRect()));
        ToolkitTest::tap(window.data(), below);
        QCOMPARE(belowClicked.count(), 0);

        ToolkitTest::tap(window.data(), rows.at(2));
        QCOMPARE(log.take(), QStringList({"2:Ask"}));
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.first().first().toInt(), 2);
        QVERIFY(!combo->isPopupVisible() && window->sceneWindows().isEmpty());
        QTRY_VERIFY(!list);
        ToolkitTest::tap(window.data(), below);
        QCOMPARE(belowClicked.count(), 1);

        // Picking the current item again is an activation, not a change.
        ToolkitTest::tap(window.data(), combo);
        ToolkitTest::tap(window.data(), rowsOf(popup()).at(2));
        QCOMPARE(activated.count(), 2);
        QCOMPARE(log.take(), QStringList());
    }

    void aLongListIsPanned()
    {
        QStringList items;
        for (int i = 0; i < 40; ++i)
            items << QStringLiteral("Item %1").arg(i);
        MComboBox* combo = shownCombo(items);
        ToolkitTest::tap(window.data(), combo);
        const QRectF area = popup()->geometry();
        QVERIFY(area.height() <= 854 * 0.8 + 0.5 && area.height() > 854 * 0.7);
        MButton* last = rowsOf(popup()).last();

        const QPoint from = window->mapFromScene(QPointF(area.center().x(), area.bottom() - 60));
        const QPoint to = window->mapFromScene(QPointF(area.center().x(), area.top() + 60));
        for (int i = 0; i < 10 && !area.contains(last->sceneBoundingRect()); ++i) {
            QTest::mousePress(window->viewport(), Qt::LeftButton, Qt::NoModifier, from);
            QMouseEvent move(QEvent::MouseMove, to, window->viewport()->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window->viewport(), &move);
            QTest::mouseRelease(window->viewport(), Qt::LeftButton, Qt::NoModifier, to);
        }
        QVERIFY(area.contains(last->sceneBoundingRect()));
        QCOMPARE(combo->currentIndex(), -1);
        ToolkitTest::tap(window.data(), last);
        QCOMPARE(combo->currentIndex(), 39);
    }

    void theComboBoxMayGoWhileItsListIsShown()
    {
        MComboBox* combo = shownCombo({QStringLiteral("a"), QStringLiteral("b")});
        ToolkitTest::tap(window.data(), combo);
        QPointer<MSceneWindow> list = popup();
        delete combo;
        QVERIFY(!list);
        QVERIFY(window->sceneWindows().isEmpty());

        // Even from the very tap on a row.
        combo = shownCombo({QStringLiteral("a"), QStringLiteral("b")});
        connect(combo, &MComboBox::activated, combo, [combo] { delete combo; });
        ToolkitTest::tap(window.data(), combo);
        list = popup();
        ToolkitTest::tap(window.data(), rowsOf(list).at(1));
        QTRY_VERIFY(!list);

        // Or with its window.
        combo = shownCombo({QStringLiteral("a"), QStringLiteral("b")});
        ToolkitTest::tap(window.data(), combo);
        list = popup();
        QVERIFY(list);
        window.reset();
        QVERIFY(!list);
    }
};

QTEST_MAIN(TestComboBox)
#include "tst_mcombobox.moc"
