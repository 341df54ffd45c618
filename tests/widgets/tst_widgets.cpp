// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// The form and layout widgets on screen, as a person sees and uses them, and
// with hostile texts in every widget that shows one.
#include <Pavane/ButtonGroupContainer>
#include <Pavane/DividerHeader>
#include <Pavane/DrillDownItem>
#include <Pavane/HeaderPanel>
#include <Pavane/KeyTextEdit>
#include <Pavane/PrefixTextEdit>
#include <Pavane/SimpleCheckBoxLabel>
#include <Pavane/SimpleFrame>

#include "toolkittest.h"

#include <MButton>
#include <MHelpButton>
#include <MLabel>
#include <MLayout>
#include <MLinearLayoutPolicy>
#include <MPannableViewport>
#include <MProgressIndicator>
#include <MTextEdit>

#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace Pavane;
using ToolkitTest::shown;

namespace {

bool above(const QGraphicsItem* upper, const QGraphicsItem* lower)
{
    return upper->sceneBoundingRect().bottom() <= lower->sceneBoundingRect().top();
}

bool leftOf(const QGraphicsItem* left, const QGraphicsItem* right)
{
    return left->sceneBoundingRect().right() <= right->sceneBoundingRect().left();
}

qreal indent(const MTextEdit* edit)
{
    return edit->document()->firstBlock().blockFormat().textIndent();
}

void insertRow(MLinearLayoutPolicy* policy, int index, const QString& title)
{
    auto* row = new DrillDownItem;
    row->setTitle(title);
    row->setSubtitle(title + QStringLiteral(" secured"));
    policy->insertItem(index, row);
}

MLinearLayoutPolicy* listPage(MPannableViewport* viewport, const QStringList& titles)
{
    auto* contents = new QGraphicsWidget;
    auto* policy = new MLinearLayoutPolicy(new MLayout(contents), Qt::Vertical);
    policy->layout()->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < titles.size(); ++i)
        insertRow(policy, i, titles[i]);
    viewport->setWidget(contents);
    return policy;
}

} // namespace

class TestWidgets : public QObject, private ToolkitTest::FormPage
{
    Q_OBJECT

private Q_SLOTS:
    void init() { open(); }
    void cleanup() { close(); }

    void buttonGroupSelectionAndTaps()
    {
        auto* group = new ButtonGroupContainer;
        for (const char* text : {"None", "WEP", "None", "WPA"})
            group->addButton(QString::fromLatin1(text), QByteArray(text) == "WEP");
        QCOMPARE(group->selectedText(), QStringLiteral("WEP"));
        QVERIFY(!group->button(4));
        QSignalSpy toggled(group->button(1), &MButton::toggled);
        group->setSelectedText(QStringLiteral("WEP")); // already checked
        group->setSelectedText(QStringLiteral("Unknown"));
        QCOMPARE(toggled.count(), 0);
        // Of two equal texts, lookup finds the first, selection ends on the last.
        QCOMPARE(group->button(QStringLiteral("None")), group->button(0));
        group->setSelectedText(QStringLiteral("None"));
        QCOMPARE(group->selectedButton(), group->button(2));
        QCOMPARE(toggled.count(), 1);

        QSignalSpy clicked(place(group), &ButtonGroupContainer::buttonClicked);
        QTRY_VERIFY(group->button(3)->size().width() > 0);
        tap(group->button(3));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).value<MButton*>(), group->button(3));
        QCOMPARE(group->selectedText(), QStringLiteral("WPA"));
        // A button the host deletes is no longer reported, nor deleted again.
        delete group->button(2);
        QVERIFY(!group->button(2));
    }

    // A switch stands at the right end, a check box at the left, the help
    // button before it; info text goes under the title, and the spinner
    // takes the button's place while both stay. A row without a button used
    // to crash.
    void checkBoxRows_data()
    {
        QTest::addColumn<QString>("viewType");
        QTest::addColumn<bool>("withButton");
        QTest::newRow("switch") << MButton::switchType << true;
        QTest::newRow("check box") << MButton::checkboxType << true;
        QTest::newRow("no button") << MButton::switchType << false;
    }

    void checkBoxRows()
    {
        QFETCH(QString, viewType);
        QFETCH(bool, withButton);
        auto* button = withButton ? new MButton : nullptr;
        auto* row = new SimpleCheckBoxLabel(button, QStringLiteral("Hidden network"), viewType);
        row->setHelpPageId(QStringLiteral("wlan-hidden"));
        row->setHelpPageId(QStringLiteral("wlan-hidden-2")); // replaces the first
        MLabel* title = shown<MLabel>(place(row)).value(0);
        QCOMPARE(title->styleName(), QStringLiteral("CommonSingleTitle"));
        const QList<MHelpButton*> help = shown<MHelpButton>(row);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help[0]->pageID(), QStringLiteral("wlan-hidden-2"));
        if (button && viewType == MButton::checkboxType)
            QVERIFY(button->isCheckable() && leftOf(button, title));
        else if (button)
            QVERIFY(button->isCheckable() && leftOf(title, help[0]) && leftOf(help[0], button));

        row->setInfoText(QStringLiteral("The name is not broadcast"));
        QCOMPARE(row->styleName(), QStringLiteral("CommonLargePanel"));
        QTRY_COMPARE(shown<MLabel>(row).size(), 2);
        MLabel* info = shown<MLabel>(row).at(shown<MLabel>(row).first() == title ? 1 : 0);
        QCOMPARE(info->text(), QStringLiteral("The name is not broadcast"));
        row->setHelpPageId(QString());
        QTRY_VERIFY(shown<MHelpButton>(row).isEmpty());
        for (const bool busy : {true, true, false}) {
            row->setShowProgressIndicator(busy);
            QTRY_COMPARE(button && button->isVisible(), button && !busy);
            QCOMPARE(shown<MProgressIndicator>(row).size(), busy ? 1 : 0);
            QTRY_VERIFY(title->isVisible() && info->isVisible() && above(title, info));
        }
    }

    void prefixIndent()
    {
        auto* edit = place(new PrefixTextEdit);
        edit->setPrefix(QStringLiteral("http://"));
        MLabel* label = shown<MLabel>(edit).value(0);
        QVERIFY(label && indent(edit) > label->size().width() - 1);
        const QPointF at = label->pos();
        const qreal shortIndent = indent(edit);
        edit->setPrefix(QStringLiteral("https://www."));
        const qreal longIndent = indent(edit);
        QVERIFY(longIndent > shortIndent);
        QCOMPARE(label->pos(), at);
        // Replacing the text keeps the indent.
        edit->setText(QStringLiteral("other.example"));
        QCOMPARE(indent(edit), longIndent);
    }

    // The clipboard text alone decides, not the text it would make.
    void keyPaste_data()
    {
        QTest::addColumn<QStringList>("beforeClipboardAfter");
        QTest::newRow("a complete key") << QStringList{"", "0123456789", "0123456789"};
        QTest::newRow("a partial key") << QStringList{"", "01234", ""};
        QTest::newRow("completing a partial key") << QStringList{"0123456", "789", "0123456"};
    }

    void keyPaste()
    {
        QFETCH(QStringList, beforeClipboardAfter);
        auto* edit = new KeyTextEdit;
        const QRegularExpressionValidator wepKey{QRegularExpression(QStringLiteral("[0-9A-Fa-f]{10}"))};
        edit->setValidator(&wepKey);
        edit->setText(beforeClipboardAfter[0]);
        QGuiApplication::clipboard()->setText(beforeClipboardAfter[1]);
        tap(place(edit));
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), beforeClipboardAfter[2]);
    }

    void aFrameOnScreen()
    {
        auto* frame = new SimpleFrame(QStringLiteral("Network name"));
        auto* first = new MTextEdit;
        frame->setContent(first);
        MLabel* caption = shown<MLabel>(place(frame), false).value(0);
        QVERIFY(caption && above(caption, first));
        // A new content stands under the same caption. The old one is the
        // host's: let go, out of sight and out of the scene, but alive.
        QScopedPointer<MTextEdit> old(first);
        auto* second = new MTextEdit;
        frame->setContent(second);
        frame->setTitle(QStringLiteral("SSID"));
        QVERIFY(!old->isVisible() && !old->parentItem() && !old->scene());
        QCOMPARE(caption->text(), QStringLiteral("SSID"));
        QTRY_VERIFY(second->isVisible() && above(caption, second));
        // Content the host deletes is forgotten.
        delete second;
        QVERIFY(!frame->content());
        SimpleFrame untitled{QString()};
        untitled.setContent(new MWidget);
        QCOMPARE(untitled.childItems().size(), 1); // no caption
        // A group's caption stands in a divider header.
        SimpleFrame grouped(QStringLiteral("Security"));
        grouped.setContent(new ButtonGroupContainer);
        QCOMPARE(shown<DividerHeader>(&grouped, false).size(), 1);
    }

    // Rows inserted into and deleted from a list on screen: shown, stacked
    // in the policy's order without gaps, and drawn as the same list built anew.
    void listEdits_data()
    {
        QTest::addColumn<int>("initial");
        QTest::addColumn<QList<int>>("edits"); // a row inserted at n, or the row at ~n deleted
        QTest::newRow("into an empty page") << 0 << QList<int>{0, 0, 1, ~1};
        QTest::newRow("at the ends and between") << 5 << QList<int>{0, ~0, 5, 3, ~5, ~2};
        QTest::newRow("a long page, out of sight") << 40 << QList<int>{38, 2, ~39, 20, ~1, ~30};
    }

    void listEdits()
    {
        QFETCH(int, initial);
        QFETCH(QList<int>, edits);
        QStringList titles;
        for (int i = 0; i < initial; ++i)
            titles << QString::number(i);
        auto* viewport = place(new MPannableViewport);
        MLinearLayoutPolicy* policy = listPage(viewport, titles);
        for (const int edit : edits) {
            if (edit < 0)
                delete policy->itemAt(~edit)->graphicsItem();
            else
                insertRow(policy, edit, QStringLiteral("new %1").arg(edit));
            edit < 0 ? titles.removeAt(~edit) : titles.insert(edit, QStringLiteral("new %1").arg(edit));
        }
        QTRY_VERIFY(policy->layout()->isActivated());
        QCOMPARE(policy->layout()->count(), titles.size());
        for (int i = 0; i < titles.size(); ++i) {
            auto* row = static_cast<DrillDownItem*>(policy->itemAt(i)->graphicsItem());
            QVERIFY(row->isVisible() && row->title() == titles[i]);
            const qreal top = i > 0 ? policy->itemAt(i - 1)->geometry().bottom() : 0;
            QCOMPARE(row->geometry(), QRectF(0, top, viewport->size().width(), row->size().height()));
        }
        const auto panned = [&] { viewport->setPosition(QPointF(0, 150)); return window->grab().toImage(); };
        const QImage edited = panned();
        delete viewport->widget();
        listPage(viewport, titles);
        QTRY_COMPARE(panned(), edited);
    }

    // Texts as a host may pass them on: huge, right-to-left, with NULs and
    // unpaired surrogates. Each widget keeps them as given and draws them.
    void hostileTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("100k characters") << QString(100000, QLatin1Char('W'));
        QTest::newRow("100k right-to-left") << QString(50000, QChar(0x05d0)) + QString(50000, QChar(0x0627));
        QTest::newRow("NULs") << QString::fromLatin1("a\0b\0", 4);
        QTest::newRow("lone high surrogate") << QString(QChar(0xd800)) + QStringLiteral("x");
        QTest::newRow("lone low surrogate at the end") << QStringLiteral("x") + QChar(0xdc00);
        QTest::newRow("line and paragraph breaks") << QStringLiteral("a\nb\rc") + QChar(0x2029) + QChar(0x2028);
    }

    void hostileTexts()
    {
        QFETCH(QString, text);
        auto* frame = new SimpleFrame(text);
        frame->setContent(new MWidget);
        auto* item = new DrillDownItem;
        item->setTitle(text);
        item->setSubtitle(text);
        auto* row = new SimpleCheckBoxLabel(new MButton, text, MButton::checkboxType);
        row->setInfoText(text);
        row->setShowProgressIndicator(true);
        auto* prefixed = new PrefixTextEdit;
        prefixed->setPrefix(text);
        auto* panel = place(new HeaderPanel(text));
        auto* divider = place(new DividerHeader(text));
        place(frame), place(item), place(row), place(prefixed);
        auto* keyEdit = place(new KeyTextEdit);
        QCOMPARE(panel->text() + divider->label()->text() + frame->title() + item->title() + prefixed->prefix(),
                 text.repeated(5));
        QVERIFY(indent(prefixed) >= 0 && !window->grab().isNull());
        // Pasted: what the field may hold, on one line, nothing more.
        QGuiApplication::clipboard()->setText(text);
        tap(keyEdit);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(keyEdit->text().size(), text.size());
        QVERIFY(!keyEdit->text().contains(QLatin1Char('\n')));
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
