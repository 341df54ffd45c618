// The layout widgets on screen: captions chosen by the content's style,
// headers, divider headers and drill-down rows.
#include <Pavane/ButtonGroupContainer>
#include <Pavane/DividerHeader>
#include <Pavane/DrillDownItem>
#include <Pavane/HeaderPanel>
#include <Pavane/SimpleFrame>

#include "toolkittest.h"

#include <MImageWidget>
#include <MLabel>
#include <MSceneWindow>
#include <MSeparator>
#include <MTextEdit>

#include <QGraphicsLinearLayout>
#include <QPointer>
#include <QtTest>

using namespace Pavane;

namespace {

// What a frame shows above its content.
struct Caption
{
    QString labelStyle;
    bool inDivider = false;
    Qt::Alignment alignment;
};

Caption captionOf(SimpleFrame* frame)
{
    Caption caption;
    for (QGraphicsItem* item : frame->childItems()) {
        QGraphicsObject* object = item->toGraphicsObject();
        if (object == frame->content())
            continue;
        if (auto* header = qobject_cast<DividerHeader*>(object)) {
            caption.inDivider = true;
            caption.labelStyle = header->label()->styleName();
            caption.alignment = header->label()->alignment();
        } else if (auto* label = qobject_cast<MLabel*>(object)) {
            caption.labelStyle = label->styleName();
            caption.alignment = label->alignment();
        }
    }
    return caption;
}

} // namespace

Q_DECLARE_METATYPE(Qt::Alignment)

class TestLayoutWidgets : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<MWindow> window;
    QScopedPointer<MSceneWindow> page;

    void show(QGraphicsWidget* widget) { page.reset(ToolkitTest::showOnPage(window.data(), widget)); }

private Q_SLOTS:
    void init() { window.reset(ToolkitTest::shownWindow()); }
    void cleanup()
    {
        page.reset();
        window.reset();
    }

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
        QTest::newRow("large panel") << "CommonLargePanel" << "Details" << "" << false << plain;
        QTest::newRow("combo box") << "CommonComboBox" << "Method" << "" << false << plain;
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

    void captionsForGroupsAndPlainContent()
    {
        for (MWidget* content : {static_cast<MWidget*>(new ButtonGroupContainer), new MWidget}) {
            SimpleFrame frame(QStringLiteral("Group"));
            frame.setContent(content);
            QVERIFY(captionOf(&frame).inDivider);
            QCOMPARE(captionOf(&frame).labelStyle, QStringLiteral("CommonGroupHeader"));
        }
    }

    void aFrameOnScreen()
    {
        auto* frame = new SimpleFrame(QStringLiteral("Network name"));
        auto* first = new MTextEdit;
        first->setStyleName(QStringLiteral("CommonInputFieldText"));
        frame->setContent(first);
        show(frame);
        MLabel* caption = nullptr;
        for (QGraphicsItem* item : frame->childItems())
            if (auto* label = qobject_cast<MLabel*>(item->toGraphicsObject()))
                caption = label;
        QVERIFY(caption && caption->wordWrap());
        QVERIFY(caption->sceneBoundingRect().bottom() <= first->sceneBoundingRect().top());

        // A new content stands under the same caption; the old one goes.
        QPointer<MTextEdit> old = first;
        auto* second = new MTextEdit;
        frame->setContent(second);
        frame->setTitle(QStringLiteral("SSID"));
        QVERIFY(old.isNull());
        QCOMPARE(caption->text(), QStringLiteral("SSID"));
        QVERIFY(QTest::qWaitFor([&] { return caption->sceneBoundingRect().bottom() <= second->sceneBoundingRect().top()
                                             && second->isVisible(); }));
    }

    void framesWithoutTitleOrContent()
    {
        SimpleFrame untitled{QString()};
        auto* content = new MWidget;
        untitled.setContent(content);
        QCOMPARE(untitled.childItems().size(), 1);

        SimpleFrame empty(QStringLiteral("Caption only"));
        empty.setContent(nullptr);
        QVERIFY(captionOf(&empty).inDivider);
        QCOMPARE(empty.content(), nullptr);
    }

    void headerPanel()
    {
        auto* panel = new HeaderPanel;
        QCOMPARE(panel->text(), QString());
        QVERIFY(panel->setProperty("text", QStringLiteral("A rather long heading for a narrow phone screen indeed")));
        QCOMPARE(panel->text(), QStringLiteral("A rather long heading for a narrow phone screen indeed"));
        show(panel);
        MLabel* label = nullptr;
        MSeparator* divider = nullptr;
        for (QGraphicsItem* item : panel->childItems()) {
            if (auto* l = qobject_cast<MLabel*>(item->toGraphicsObject()))
                label = l;
            if (auto* s = qobject_cast<MSeparator*>(item->toGraphicsObject()))
                divider = s;
        }
        QVERIFY(label && divider);
        QVERIFY(label->textElide());
        QCOMPARE(label->styleName(), QStringLiteral("CommonHeader"));
        QCOMPARE(divider->styleName(), QStringLiteral("CommonHeaderDivider"));
        QVERIFY(label->sceneBoundingRect().bottom() <= divider->sceneBoundingRect().top());
        QVERIFY(label->size().width() <= panel->size().width()); // elided, not wider than the panel
        QCOMPARE(HeaderPanel(QStringLiteral("Given")).text(), QStringLiteral("Given"));
    }

    void dividerHeader()
    {
        auto* header = new DividerHeader(QString());
        QCOMPARE(header->styleName(), QStringLiteral("CommonGroupHeaderPanel"));
        QCOMPARE(header->label()->text(), QString());
        QPointer<MLabel> first = header->label();
        auto* other = new MLabel(QStringLiteral("Advanced"));
        header->setLabel(other);
        QVERIFY(first.isNull());
        QCOMPARE(header->label(), other);
        show(header);
        MSeparator* divider = nullptr;
        for (QGraphicsItem* item : header->childItems())
            if (auto* s = qobject_cast<MSeparator*>(item->toGraphicsObject()))
                divider = s;
        QVERIFY(divider);
        QCOMPARE(divider->styleName(), QStringLiteral("CommonGroupHeaderDivider"));
        QVERIFY(divider->sceneBoundingRect().right() <= other->sceneBoundingRect().left());

        QPointer<MLabel> gone = other;
        header->setLabel(nullptr);
        QVERIFY(gone.isNull());
        QCOMPARE(header->label(), nullptr);
    }

    void drillDownItem()
    {
        auto* item = new DrillDownItem;
        QCOMPARE(item->styleName(), QStringLiteral("CommonPanel"));
        QCOMPARE(item->imageWidget(), nullptr);
        item->setTitle(QStringLiteral("Home network"));
        show(item);
        QList<MLabel*> labels;
        MImageWidget* arrow = nullptr;
        for (QGraphicsItem* child : item->childItems()) {
            if (auto* label = qobject_cast<MLabel*>(child->toGraphicsObject()))
                labels.append(label);
            if (auto* image = qobject_cast<MImageWidget*>(child->toGraphicsObject()))
                arrow = image;
        }
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonSingleTitle"));
        QCOMPARE(arrow->image(), QStringLiteral("icon-m-common-drilldown-arrow-inverse"));
        QVERIFY(labels[0]->sceneBoundingRect().right() <= arrow->sceneBoundingRect().left());

        item->setSubtitle(QString());
        QCOMPARE(labels[0]->styleName(), QStringLiteral("CommonTitle"));
        item->setSubtitle(QStringLiteral("WPA2, saved"));
        int subtitles = 0;
        for (QGraphicsItem* child : item->childItems()) {
            auto* label = qobject_cast<MLabel*>(child->toGraphicsObject());
            if (label && label->styleName() == QLatin1String("CommonSubTitle")) {
                ++subtitles;
                QCOMPARE(label->text(), QStringLiteral("WPA2, saved"));
            }
        }
        QCOMPARE(subtitles, 1);

        QPointer<MImageWidget> a = new MImageWidget(QStringLiteral("icon-m-content-wlan"));
        auto* b = new MImageWidget(QStringLiteral("icon-m-content-gprs"));
        item->setImageWidget(a);
        item->setImageWidget(b);
        QVERIFY(a.isNull());
        QCOMPARE(item->imageWidget(), b);
        QCOMPARE(b->styleName(), QStringLiteral("CommonMainIcon"));
        QVERIFY(QTest::qWaitFor([&] { return b->isVisible() && b->sceneBoundingRect().right() <= labels[0]->sceneBoundingRect().left(); }));

        QPointer<MImageWidget> gone = b;
        item->setImageWidget(nullptr);
        QVERIFY(gone.isNull());
        QCOMPARE(item->imageWidget(), nullptr);
    }
};

QTEST_MAIN(TestLayoutWidgets)
#include "tst_layoutwidgets.moc"
