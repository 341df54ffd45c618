// The layout widgets on screen: captions chosen by the content's style,
// headers, divider headers and drill-down rows, and hostile texts in all
// the widgets that show a text.
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
#include <MImageWidget>
#include <MLabel>
#include <MSceneWindow>
#include <MSeparator>
#include <MTextEdit>

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace Pavane;

namespace {

template<typename T>
QList<T*> childrenOf(QGraphicsItem* item)
{
    QList<T*> result;
    for (QGraphicsItem* child : item->childItems()) {
        if (auto* object = qobject_cast<T*>(child->toGraphicsObject()))
            result.append(object);
    }
    return result;
}

// What a frame shows above its content: a label, or one in a divider header.
struct Caption
{
    QString labelStyle;
    bool inDivider = false;
    Qt::Alignment alignment;
};

Caption captionOf(SimpleFrame* frame)
{
    if (DividerHeader* header = childrenOf<DividerHeader>(frame).value(0))
        return {header->label()->styleName(), true, header->label()->alignment()};
    MLabel* label = childrenOf<MLabel>(frame).value(0);
    return label ? Caption{label->styleName(), false, label->alignment()} : Caption();
}

} // namespace

Q_DECLARE_METATYPE(Qt::Alignment)

class TestLayoutWidgets : public QObject
{
    Q_OBJECT

    QScopedPointer<MWindow> window{ToolkitTest::shownWindow()};

private Q_SLOTS:
    void captions_data()
    {
        QTest::addColumn<QString>("contentStyle");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("labelStyle");
        QTest::addColumn<bool>("inDivider");
        QTest::addColumn<Qt::Alignment>("alignment");
        const Qt::Alignment plain = Qt::AlignLeft | Qt::AlignVCenter;
        QTest::newRow("input field") << "CommonInputFieldText" << "Name" << "CommonFieldLabel" << false
                                     << Qt::Alignment(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("input field, right-to-left title") << "CommonInputFieldText" << "שם" << "CommonFieldLabel"
                                                          << false << Qt::Alignment(Qt::AlignRight | Qt::AlignTop);
        QTest::newRow("sub-title") << "CommonSubTitle" << "Security" << "CommonTitle" << false << plain;
        QTest::newRow("panel") << "CommonPanel" << "Options" << "CommonGroupHeader" << true << plain;
        QTest::newRow("button group") << "CommonButtonGroup" << "Mode" << "CommonGroupHeader" << true << plain;
        QTest::newRow("other styles") << "CommonLargePanel" << "Details" << "" << false << plain;
        QTest::newRow("panel holding an input field") << "CommonPanelInputField" << "Key" << "CommonGroupHeader"
                                                      << true << Qt::Alignment(Qt::AlignLeft | Qt::AlignTop);
    }

    void captions()
    {
        QFETCH(QString, contentStyle);
        QFETCH(QString, title);
        QFETCH(QString, labelStyle);
        QFETCH(bool, inDivider);
        QFETCH(Qt::Alignment, alignment);
        auto* content = new MTextEdit;
        content->setStyleName(contentStyle);
        SimpleFrame frame(title);
        frame.setContent(content);
        const Caption caption = captionOf(&frame);
        QCOMPARE(caption.labelStyle, labelStyle);
        QCOMPARE(caption.inDivider, inDivider);
        QCOMPARE(caption.alignment, alignment);
    }

    // Button groups, and content that is no styled widget or none at all,
    // stand under a divider header; without a title there is no caption.
    void captionsForGroupsAndPlainContent()
    {
        for (MWidget* content : {static_cast<MWidget*>(new ButtonGroupContainer), new MWidget, static_cast<MWidget*>(nullptr)}) {
            SimpleFrame frame(QStringLiteral("Group"));
            frame.setContent(content);
            QVERIFY(captionOf(&frame).inDivider);
            QCOMPARE(captionOf(&frame).labelStyle, QStringLiteral("CommonGroupHeader"));
        }
        SimpleFrame untitled{QString()};
        untitled.setContent(new MWidget);
        QCOMPARE(untitled.childItems().size(), 1);
    }

    void aFrameOnScreen()
    {
        auto* frame = new SimpleFrame(QStringLiteral("Network name"));
        auto* first = new MTextEdit;
        first->setStyleName(QStringLiteral("CommonInputFieldText"));
        frame->setContent(first);
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), frame));
        MLabel* caption = childrenOf<MLabel>(frame).value(0);
        QVERIFY(caption);
        QVERIFY(caption->sceneBoundingRect().bottom() <= first->sceneBoundingRect().top());

        // A new content stands under the same caption. The old one is the
        // host's: let go, out of sight and out of the scene, but alive.
        QScopedPointer<MTextEdit> old(first);
        auto* second = new MTextEdit;
        frame->setContent(second);
        frame->setTitle(QStringLiteral("SSID"));
        QVERIFY(!old->isVisible() && !old->parentItem() && !old->scene());
        QCOMPARE(caption->text(), QStringLiteral("SSID"));
        QVERIFY(QTest::qWaitFor([&] { return caption->sceneBoundingRect().bottom() <= second->sceneBoundingRect().top()
                                             && second->isVisible(); }));

        // Content the host deletes is forgotten; the next one takes its place.
        delete second;
        QVERIFY(!frame->content());
        auto* third = new MTextEdit;
        frame->setContent(third);
        QVERIFY(QTest::qWaitFor([&] { return third->isVisible(); }));
    }

    void headerPanel()
    {
        auto* panel = new HeaderPanel(QStringLiteral("A rather long heading for a narrow phone screen indeed"));
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), panel));
        MLabel* label = childrenOf<MLabel>(panel).value(0);
        MSeparator* divider = childrenOf<MSeparator>(panel).value(0);
        QVERIFY(label && divider);
        QCOMPARE(label->styleName(), QStringLiteral("CommonHeader"));
        QCOMPARE(divider->styleName(), QStringLiteral("CommonHeaderDivider"));
        QVERIFY(label->sceneBoundingRect().bottom() <= divider->sceneBoundingRect().top());
        QVERIFY(label->size().width() <= panel->size().width()); // elided, not wider than the panel
    }

    void dividerHeader()
    {
        auto* header = new DividerHeader(QString());
        QPointer<MLabel> first = header->label();
        auto* other = new MLabel(QStringLiteral("Advanced"));
        header->setLabel(other);
        QVERIFY(first.isNull());
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), header));
        MSeparator* divider = childrenOf<MSeparator>(header).value(0);
        QVERIFY(divider);
        QCOMPARE(divider->styleName(), QStringLiteral("CommonGroupHeaderDivider"));
        QVERIFY(divider->sceneBoundingRect().right() <= other->sceneBoundingRect().left());

        // A label the host deleted is not deleted again.
        delete other;
        auto* third = new MLabel(QStringLiteral("More"));
        header->setLabel(third);
        QCOMPARE(header->label(), third);

        // Without a label the row keeps its divider alone.
        header->setLabel(nullptr);
        QVERIFY(childrenOf<MLabel>(header).isEmpty());
    }

    void drillDownItem()
    {
        auto* item = new DrillDownItem;
        item->setTitle(QStringLiteral("Home network"));
        const QScopedPointer<MSceneWindow> page(ToolkitTest::showOnPage(window.data(), item));
        const QList<MLabel*> labels = childrenOf<MLabel>(item);
        MImageWidget* arrow = childrenOf<MImageWidget>(item).value(0);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonSingleTitle"));
        QVERIFY(labels[0]->sceneBoundingRect().right() <= arrow->sceneBoundingRect().left());

        // A subtitle, even an empty one, turns the title into a two-line one.
        item->setSubtitle(QString());
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonTitle"));
        item->setSubtitle(QStringLiteral("WPA2, saved"));
        const QList<MLabel*> withSubtitle = childrenOf<MLabel>(item);
        QCOMPARE(withSubtitle.size(), 2);
        QCOMPARE(withSubtitle.last()->styleName(), QStringLiteral("CommonSubTitle"));

        // A new image replaces the old one, at the left end; none leaves none.
        QPointer<MImageWidget> a = new MImageWidget(QStringLiteral("icon-m-content-wlan"));
        auto* b = new MImageWidget(QStringLiteral("icon-m-content-gprs"));
        item->setImageWidget(a);
        item->setImageWidget(b);
        QVERIFY(a.isNull());
        QCOMPARE(b->styleName(), QStringLiteral("CommonMainIcon"));
        QVERIFY(QTest::qWaitFor([&] { return b->isVisible() && b->sceneBoundingRect().right() <= labels[0]->sceneBoundingRect().left(); }));
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
        auto* page = new MSceneWindow;
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, page);
        auto* panel = new HeaderPanel(text);
        auto* divider = new DividerHeader(text);
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
        auto* key = new KeyTextEdit;
        for (QGraphicsWidget* widget : std::initializer_list<QGraphicsWidget*>{panel, divider, frame, item, row, prefixed, key})
            layout->addItem(widget);
        page->appear(window.data(), MSceneWindow::DestroyWhenDone);
        QVERIFY(QTest::qWaitFor([layout] { return layout->isActivated(); }));

        QCOMPARE(panel->text(), text);
        QCOMPARE(divider->label()->text(), text);
        QCOMPARE(frame->title(), text);
        QCOMPARE(item->title(), text);
        QCOMPARE(prefixed->prefix(), text);
        QVERIFY(prefixed->document()->firstBlock().blockFormat().textIndent() >= 0);
        QVERIFY(!window->grab().isNull());

        // Pasted: what the field may hold, on one line, nothing more.
        QGuiApplication::clipboard()->setText(text);
        ToolkitTest::tap(window.data(), key);
        ToolkitTest::key(window.data(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(key->text().size(), text.size());
        QVERIFY(!key->text().contains(QLatin1Char('\n')));
        page->disappear();
    }
};

QTEST_MAIN(TestLayoutWidgets)
#include "tst_layoutwidgets.moc"
