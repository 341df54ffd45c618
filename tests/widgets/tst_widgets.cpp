// The form and layout widgets on screen: the button group's selection, taps
// and layouts; the check-box row's layouts; the prefixed field's indent; the
// key field's checked paste; captions chosen by a frame's content; headers
// and drill-down rows; and hostile texts in every widget that shows one.
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
#include <MImageWidget>
#include <MLabel>
#include <MProgressIndicator>
#include <MSeparator>
#include <MTextEdit>

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace Pavane;

namespace {

// The widgets of type T below @p root, shown ones only, or its children only.
template<typename T>
QList<T*> shown(QGraphicsItem* root, bool deep = true)
{
    QList<T*> result;
    for (QGraphicsItem* item : root->childItems()) {
        if (auto* widget = qobject_cast<T*>(item->toGraphicsObject()); widget && (!deep || widget->isVisible()))
            result.append(widget);
        if (deep)
            result.append(shown<T>(item));
    }
    return result;
}

bool above(const QGraphicsItem* upper, const QGraphicsItem* lower)
{
    return upper->sceneBoundingRect().bottom() <= lower->sceneBoundingRect().top();
}

bool leftOf(const QGraphicsItem* left, const QGraphicsItem* right)
{
    return left->sceneBoundingRect().right() <= right->sceneBoundingRect().left();
}

qreal firstLineIndent(const MTextEdit* edit)
{
    return edit->document()->firstBlock().blockFormat().textIndent();
}

} // namespace

Q_DECLARE_METATYPE(Qt::Alignment)

class TestWidgets : public QObject, private ToolkitTest::FormPage
{
    Q_OBJECT

private Q_SLOTS:
    void init() { open(); }
    void cleanup() { close(); }

    void buttonGroupSelectionAndTaps()
    {
        auto* group = new ButtonGroupContainer;
        QVERIFY(!group->selectedButton());
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

        // One click signal per tap.
        place(group);
        QSignalSpy clicked(group, &ButtonGroupContainer::buttonClicked);
        QTRY_VERIFY(group->button(3)->size().width() > 0);
        tap(group->button(3));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).value<MButton*>(), group->button(3));
        QCOMPARE(group->selectedText(), QStringLiteral("WPA"));
    }

    // Stacked in portrait and side by side in landscape, or fixed side by
    // side (set before or after the buttons came), which then stays.
    void buttonGroupLayouts_data()
    {
        QTest::addColumn<QString>("fixed");
        QTest::newRow("by orientation") << "";
        QTest::newRow("fixed before the first button") << "before";
        QTest::newRow("fixed after buttons exist") << "after";
    }

    void buttonGroupLayouts()
    {
        QFETCH(QString, fixed);
        auto* group = new ButtonGroupContainer;
        const auto fixHorizontally = [group] {
            group->setFixedModeOrientation(Qt::Horizontal);
            group->setFixedModeEnabled(true);
        };
        if (fixed == QLatin1String("before"))
            fixHorizontally();
        group->addButton(QStringLiteral("short"));
        group->addButton(QStringLiteral("a much longer label"));
        if (fixed == QLatin1String("after"))
            fixHorizontally();
        place(group);
        const auto sideBySide = [group] {
            return group->button(0)->sceneBoundingRect().top() == group->button(1)->sceneBoundingRect().top()
                && leftOf(group->button(0), group->button(1));
        };
        if (fixed.isEmpty())
            QTRY_VERIFY(above(group->button(0), group->button(1)));
        else
            QTRY_VERIFY(sideBySide());
        window->resize(854, 480);
        QTRY_VERIFY(sideBySide());
        // The buttons share the width equally, whatever their texts.
        QCOMPARE(group->button(0)->size().width(), group->button(1)->size().width());
        if (!fixed.isEmpty()) {
            QTest::ignoreMessage(QtWarningMsg,
                                 "ButtonGroupContainer: Unable to disable fixed mode when the layout is created");
            group->setFixedModeEnabled(false);
            QVERIFY(group->isFixedModeEnabled());
        }
    }

    void theButtonGroupDeletesItsButtons()
    {
        auto* group = new ButtonGroupContainer;
        QPointer<MButton> own = new MButton(QStringLiteral("caller's"));
        group->addButton(own.data());
        group->addButton(QStringLiteral("made here"));
        QPointer<MButton> made = group->button(1);
        group->addButton(QStringLiteral("gone"));
        place(group);
        // One the caller deleted is neither reported nor deleted again.
        delete group->button(2);
        QVERIFY(!group->button(2));
        QCOMPARE(group->button(QStringLiteral("made here")), made.data());
        close();
        QVERIFY(own.isNull() && made.isNull());
    }

    // A switch stands at the right end, a check box at the left; a row
    // without a button used to crash, and shows its title alone.
    void checkBoxRowOrder_data()
    {
        QTest::addColumn<QString>("viewType");
        QTest::addColumn<bool>("withButton");
        QTest::newRow("switch at the right end") << MButton::switchType << true;
        QTest::newRow("check box at the left end") << MButton::checkboxType << true;
        QTest::newRow("no button") << MButton::switchType << false;
    }

    void checkBoxRowOrder()
    {
        QFETCH(QString, viewType);
        QFETCH(bool, withButton);
        auto* button = withButton ? new MButton : nullptr;
        auto* row = place(new SimpleCheckBoxLabel(button, QStringLiteral("Automatic connection"), viewType));
        const QList<MLabel*> labels = shown<MLabel>(row);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonSingleTitle"));
        if (button)
            QCOMPARE(leftOf(button, labels[0]), viewType == MButton::checkboxType);
        QVERIFY(!button || button->isCheckable());
    }

    void checkBoxRowHelpAndInfo()
    {
        auto* button = new MButton;
        auto* row = new SimpleCheckBoxLabel(button, QStringLiteral("Hidden network"), MButton::switchType);
        row->setHelpPageId(QStringLiteral("wlan-hidden"));
        row->setHelpPageId(QStringLiteral("wlan-hidden-2"));
        place(row);
        QList<MHelpButton*> help = shown<MHelpButton>(row);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help[0]->pageID(), QStringLiteral("wlan-hidden-2"));
        MLabel* title = shown<MLabel>(row).first();
        QVERIFY(leftOf(title, help[0]) && leftOf(help[0], button));

        // The info text stands under the title; a second one replaces the first.
        row->setInfoText(QStringLiteral("Asks for the network name"));
        row->setInfoText(QStringLiteral("The name is not broadcast"));
        QCOMPARE(row->styleName(), QStringLiteral("CommonLargePanel"));
        QTRY_COMPARE(shown<MLabel>(row).size(), 2);
        MLabel* info = shown<MLabel>(row).last() == title ? shown<MLabel>(row).first() : shown<MLabel>(row).last();
        QCOMPARE(info->text(), QStringLiteral("The name is not broadcast"));
        QTRY_VERIFY(above(title, info));
        row->setHelpPageId(QString());
        QTRY_VERIFY(shown<MHelpButton>(row).isEmpty());
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
        place(row);
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
        for (const bool busy : {true, false, true}) {
            row->setShowProgressIndicator(busy);
            QTRY_COMPARE(button->isVisible(), !busy);
            QCOMPARE(shown<MProgressIndicator>(row).size(), busy ? 1 : 0);
            QTRY_COMPARE(texts(), expected);
        }
    }

    void prefixIndent()
    {
        auto* edit = place(new PrefixTextEdit);
        QVERIFY(edit->prefix().isNull());
        edit->setPrefix(QLatin1String(""));
        QVERIFY(!edit->prefix().isNull() && edit->prefix().isEmpty());
        edit->setPrefix(QStringLiteral("http://"));
        MLabel* label = shown<MLabel>(edit).value(0);
        QVERIFY(label);
        const QPointF at = label->pos();
        const qreal shortIndent = firstLineIndent(edit);
        QVERIFY(shortIndent > label->size().width() - 1);
        edit->setPrefix(QStringLiteral("https://www."));
        const qreal longIndent = firstLineIndent(edit);
        QVERIFY(longIndent > shortIndent);
        QCOMPARE(label->pos(), at);
        // Typing and replacing the text keep the indent.
        tap(edit);
        type(QStringLiteral("example.org"));
        QCOMPARE(firstLineIndent(edit), longIndent);
        edit->setText(QStringLiteral("other.example"));
        QCOMPARE(firstLineIndent(edit), longIndent);
    }

    // The clipboard text alone decides, not the text it would make.
    void keyPaste_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        const QString wepKey = QStringLiteral("[0-9A-Fa-f]{10}");
        QTest::newRow("a complete key") << wepKey << "" << "0123456789" << "0123456789";
        QTest::newRow("a partial key") << wepKey << "" << "01234" << "";
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
        place(edit);
        QGuiApplication::clipboard()->setText(clipboard);
        tap(edit);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), after);
    }

    // What a frame shows above its content: a label, or one in a divider
    // header; button groups, and content that is no styled widget or none
    // at all, stand under a divider header.
    void captions_data()
    {
        QTest::addColumn<QString>("content"); // a text edit's style, or "group", "widget", "none"
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("labelStyle");
        QTest::addColumn<bool>("inDivider");
        QTest::addColumn<Qt::Alignment>("alignment");
        const Qt::Alignment plain = Qt::AlignLeft | Qt::AlignVCenter;
        const Qt::Alignment top = Qt::AlignLeft | Qt::AlignTop;
        QTest::newRow("input field") << "CommonInputFieldText" << "Name" << "CommonFieldLabel" << false << top;
        QTest::newRow("input field, right-to-left title") << "CommonInputFieldText" << "שם" << "CommonFieldLabel"
                                                          << false << Qt::Alignment(Qt::AlignRight | Qt::AlignTop);
        QTest::newRow("sub-title") << "CommonSubTitle" << "Security" << "CommonTitle" << false << plain;
        QTest::newRow("panel") << "CommonPanel" << "Options" << "CommonGroupHeader" << true << plain;
        QTest::newRow("button group style") << "CommonButtonGroup" << "Mode" << "CommonGroupHeader" << true << plain;
        QTest::newRow("other styles") << "CommonLargePanel" << "Details" << "" << false << plain;
        QTest::newRow("panel holding an input field") << "CommonPanelInputField" << "Key" << "CommonGroupHeader"
                                                      << true << top;
        QTest::newRow("button group") << "group" << "Group" << "CommonGroupHeader" << true << plain;
        QTest::newRow("plain widget") << "widget" << "Group" << "CommonGroupHeader" << true << plain;
        QTest::newRow("no content") << "none" << "Group" << "CommonGroupHeader" << true << plain;
    }

    void captions()
    {
        QFETCH(QString, content);
        QFETCH(QString, title);
        QFETCH(QString, labelStyle);
        QFETCH(bool, inDivider);
        QFETCH(Qt::Alignment, alignment);
        MWidget* widget = nullptr;
        if (content == QLatin1String("group"))
            widget = new ButtonGroupContainer;
        else if (content == QLatin1String("widget"))
            widget = new MWidget;
        else if (content != QLatin1String("none"))
            widget = new MTextEdit;
        if (auto* edit = qobject_cast<MTextEdit*>(widget))
            edit->setStyleName(content);
        SimpleFrame frame(title);
        frame.setContent(widget);
        DividerHeader* header = shown<DividerHeader>(&frame, false).value(0);
        MLabel* label = header ? header->label() : shown<MLabel>(&frame, false).value(0);
        QCOMPARE(label ? label->styleName() : QString(), labelStyle);
        QCOMPARE(bool(header), inDivider);
        QCOMPARE(label ? label->alignment() : Qt::Alignment(), alignment);
    }

    void aFrameOnScreen()
    {
        auto* frame = new SimpleFrame(QStringLiteral("Network name"));
        auto* first = new MTextEdit;
        first->setStyleName(QStringLiteral("CommonInputFieldText"));
        frame->setContent(first);
        place(frame);
        MLabel* caption = shown<MLabel>(frame, false).value(0);
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

        // Content the host deletes is forgotten; the next one takes its place.
        delete second;
        QVERIFY(!frame->content());
        auto* third = new MTextEdit;
        frame->setContent(third);
        QTRY_VERIFY(third->isVisible());
        // Without a title there is no caption.
        SimpleFrame untitled{QString()};
        untitled.setContent(new MWidget);
        QCOMPARE(untitled.childItems().size(), 1);
    }

    void headers()
    {
        auto* panel = place(new HeaderPanel(QStringLiteral("A rather long heading for a narrow phone screen indeed")));
        MLabel* label = shown<MLabel>(panel, false).value(0);
        MSeparator* line = shown<MSeparator>(panel, false).value(0);
        QVERIFY(label && line);
        QCOMPARE(label->styleName() + " " + line->styleName(), QStringLiteral("CommonHeader CommonHeaderDivider"));
        QVERIFY(above(label, line));
        QVERIFY(label->size().width() <= panel->size().width()); // elided, not wider than the panel

        auto* header = new DividerHeader(QString());
        QPointer<MLabel> first = header->label();
        auto* other = new MLabel(QStringLiteral("Advanced"));
        header->setLabel(other);
        QVERIFY(first.isNull());
        place(header);
        line = shown<MSeparator>(header, false).value(0);
        QCOMPARE(line->styleName(), QStringLiteral("CommonGroupHeaderDivider"));
        QVERIFY(leftOf(line, other));
        // A label the host deleted is not deleted again; without a label the
        // row keeps its divider alone.
        delete other;
        auto* third = new MLabel(QStringLiteral("More"));
        header->setLabel(third);
        QCOMPARE(header->label(), third);
        header->setLabel(nullptr);
        QVERIFY(shown<MLabel>(header, false).isEmpty());
    }

    void drillDownItem()
    {
        auto* item = new DrillDownItem;
        item->setTitle(QStringLiteral("Home network"));
        place(item);
        const QList<MLabel*> labels = shown<MLabel>(item, false);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonSingleTitle"));
        QVERIFY(leftOf(labels[0], shown<MImageWidget>(item, false).value(0)));
        // A subtitle, even an empty one, turns the title into a two-line one.
        item->setSubtitle(QString());
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonTitle"));
        item->setSubtitle(QStringLiteral("WPA2, saved"));
        QCOMPARE(shown<MLabel>(item, false).size(), 2);
        QCOMPARE(shown<MLabel>(item, false).last()->styleName(), QStringLiteral("CommonSubTitle"));

        // A new image replaces the old one, at the left end; none leaves none.
        QPointer<MImageWidget> a = new MImageWidget(QStringLiteral("icon-m-content-wlan"));
        auto* b = new MImageWidget(QStringLiteral("icon-m-content-gprs"));
        item->setImageWidget(a);
        item->setImageWidget(b);
        QVERIFY(a.isNull());
        QCOMPARE(b->styleName(), QStringLiteral("CommonMainIcon"));
        QTRY_VERIFY(b->isVisible() && leftOf(b, labels[0]));
        // An image the host deleted is not deleted again.
        delete b;
        QPointer<MImageWidget> gone = new MImageWidget(QStringLiteral("icon-m-content-wlan"));
        item->setImageWidget(gone);
        item->setImageWidget(nullptr);
        QVERIFY(gone.isNull());
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
        auto* panel = place(new HeaderPanel(text));
        auto* divider = place(new DividerHeader(text));
        auto* frame = new SimpleFrame(text);
        frame->setContent(new MWidget);
        place(frame);
        auto* item = new DrillDownItem;
        item->setTitle(text);
        item->setSubtitle(text);
        place(item);
        auto* row = new SimpleCheckBoxLabel(new MButton, text, MButton::checkboxType);
        row->setInfoText(text);
        row->setShowProgressIndicator(true);
        place(row);
        auto* prefixed = new PrefixTextEdit;
        prefixed->setPrefix(text);
        place(prefixed);
        auto* keyEdit = place(new KeyTextEdit);
        QCOMPARE(panel->text() + divider->label()->text() + frame->title() + item->title() + prefixed->prefix(),
                 text.repeated(5));
        QVERIFY(firstLineIndent(prefixed) >= 0);
        QVERIFY(!window->grab().isNull());

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
