// MComboBox: its items and current item, with a model of its own or one set
// from outside, and the popup list a tap opens. Picking a row that changes the
// current item is driven through the property editors' suite.
#include <MButton>
#include <MComboBox>
#include <MSceneWindow>

#include "toolkittest.h"

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
        combo.addItems({QStringLiteral("b"), QStringLiteral("c")});
        combo.insertItem(-5, QStringLiteral("a"));
        QCOMPARE(itemsOf(combo), QStringList({"a", "b", "c"}));
        QCOMPARE(combo.currentIndex(), -1);

        // Out of range or unchanged: no news.
        combo.setCurrentIndex(1);
        combo.setCurrentIndex(1);
        combo.setCurrentIndex(3);
        combo.setCurrentIndex(-2);
        // The current item stays current while rows come and go around it.
        combo.insertItem(0, QStringLiteral("first"));
        combo.removeItem(3);
        QCOMPARE(combo.currentText(), QStringLiteral("b"));
        combo.removeItem(2);
        combo.setCurrentIndex(0);
        combo.clear();
        QCOMPARE(log.take(), QStringList({"1:b", "2:b", "-1:", "0:first", "-1:"}));
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

        // A deleted model is forgotten.
        combo.setItemModel(model);
        combo.setCurrentIndex(0);
        log.take();
        delete model;
        QCOMPARE(combo.count(), 0);
        QCOMPARE(log.take(), QStringList({"-1:"}));
    }

    void theListShowsTheCurrentItemAndTellsOfEveryPick()
    {
        MComboBox* combo = shownCombo({QStringLiteral("Always"), QStringLiteral("Never"), QStringLiteral("Ask")});
        combo->setCurrentIndex(0);
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
        const QList<MButton*> rows = rowsOf(list);
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows.at(0)->isChecked() && !rows.at(1)->isChecked() && !rows.at(2)->isChecked());
        // Picking the current item again is an activation, not a change.
        ToolkitTest::tap(window.data(), rows.at(0));
        QCOMPARE(activated.count(), 1);
        QCOMPARE(log.take(), QStringList());
        QTRY_VERIFY(!list);
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
