// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A page of drill-down rows (title and subtitle) in an MLayout with a
// vertical linear policy, inside a pannable viewport on a shown window: the
// time from the first row created to the page laid out and painted, for 100,
// 1,000 and 3,000 rows; the same page made of plain graphics widgets with two
// labels each in a QGraphicsLinearLayout, and a QListWidget, for reference;
// and the time to paint one frame of a page that is already up, which should
// not depend on how many rows lie outside the viewport. Prints the figures
// and the ratios.
//
// Run it on private buses: tests/harness/with-private-buses bench_lists
#include <Pavane/DrillDownItem>

#include "benchsupport.h"

#include <MLayout>
#include <MLinearLayoutPolicy>
#include <MPannableViewport>
#include <MSceneWindow>
#include <MWindow>

#include <QApplication>
#include <QFontMetricsF>
#include <QGraphicsLinearLayout>
#include <QListWidget>
#include <QPainter>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

using Pavane::DrillDownItem;

namespace {

QString title(int row)
{
    return QStringLiteral("Network %1").arg(row);
}

QString subtitle(int row)
{
    return QStringLiteral("Secured, signal %1%").arg(row % 100);
}

// The least a row's text needs: a size from the font, the text drawn.
class PlainLabel : public QGraphicsWidget
{
public:
    explicit PlainLabel(const QString& text)
        : m_text(text)
    {
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        painter->setFont(font());
        painter->drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    }

protected:
    QSizeF sizeHint(Qt::SizeHint which, const QSizeF& constraint) const override
    {
        if (which == Qt::MaximumSize)
            return QGraphicsWidget::sizeHint(which, constraint);
        const QFontMetricsF metrics(font());
        return QSizeF(metrics.horizontalAdvance(m_text), metrics.height());
    }

private:
    QString m_text;
};

// A shown portrait window whose page holds one pannable viewport.
struct Screen
{
    MWindow window;
    MSceneWindow page;
    MPannableViewport* viewport = new MPannableViewport;

    Screen()
    {
        window.resize(480, 854);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            std::fprintf(stderr, "the window was not exposed\n");
        auto* layout = new QGraphicsLinearLayout(Qt::Vertical, &page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addItem(viewport);
        page.appear(&window);
        if (!QTest::qWaitFor([this] { return page.sceneWindowState() == MSceneWindow::Appeared; }))
            std::fprintf(stderr, "the page did not appear\n");
    }

    // Until the contents' layout is done and the frame that shows it painted:
    // what a person waits for before the rows are there.
    void settle(QGraphicsWidget* contents)
    {
        do
            QCoreApplication::processEvents();
        while (!contents->layout()->isActivated());
        QCoreApplication::processEvents();
        window.viewport()->repaint();
    }
};

Screen* screen = nullptr;

QGraphicsWidget* drillDownPage(int rows)
{
    auto* contents = new QGraphicsWidget;
    auto* layout = new MLayout(contents);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* policy = new MLinearLayoutPolicy(layout, Qt::Vertical);
    policy->setSpacing(0);
    for (int row = 0; row < rows; ++row) {
        auto* item = new DrillDownItem;
        item->setTitle(title(row));
        item->setSubtitle(subtitle(row));
        policy->addItem(item);
    }
    return contents;
}

QGraphicsWidget* plainPage(int rows)
{
    auto* contents = new QGraphicsWidget;
    auto* layout = new QGraphicsLinearLayout(Qt::Vertical, contents);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int row = 0; row < rows; ++row) {
        auto* item = new QGraphicsWidget;
        auto* lines = new QGraphicsLinearLayout(Qt::Vertical, item);
        lines->addItem(new PlainLabel(title(row)));
        lines->addItem(new PlainLabel(subtitle(row)));
        layout->addItem(item);
    }
    return contents;
}

void pageUp(benchmark::State& state, const std::function<QGraphicsWidget*(int)>& make)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        QGraphicsWidget* contents = make(rows);
        screen->viewport->setWidget(contents);
        screen->settle(contents);
        state.PauseTiming();
        screen->viewport->setWidget(nullptr);
        delete contents;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void DrillDownPage(benchmark::State& state)
{
    pageUp(state, drillDownPage);
}

void PlainPage(benchmark::State& state)
{
    pageUp(state, plainPage);
}

void ListWidget(benchmark::State& state)
{
    const int rows = int(state.range(0));
    QListWidget list;
    list.resize(480, 854);
    list.show();
    if (!QTest::qWaitForWindowExposed(&list))
        std::fprintf(stderr, "the list was not exposed\n");
    for (auto _ : state) {
        for (int row = 0; row < rows; ++row)
            list.addItem(title(row) + QLatin1Char('\n') + subtitle(row));
        QCoreApplication::processEvents();
        list.viewport()->repaint();
        state.PauseTiming();
        list.clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// One frame of a page that is up, as panning asks for one.
void PaintFrame(benchmark::State& state)
{
    QGraphicsWidget* contents = drillDownPage(int(state.range(0)));
    screen->viewport->setWidget(contents);
    screen->settle(contents);
    screen->viewport->setPosition(QPointF(0, 200));
    QCoreApplication::processEvents();
    for (auto _ : state)
        screen->window.viewport()->repaint();
    screen->viewport->setWidget(nullptr);
    delete contents;
    QCoreApplication::processEvents();
}

void summary(const BenchSupport::MedianReporter::Medians& medians)
{
    // A benchmark left out (--benchmark_filter) shows as nan.
    const auto median = [&](const char* name, const char* rows) {
        const auto byName = medians.find(name);
        const auto byRows = byName == medians.end() ? decltype(byName->second.end())() : byName->second.find(rows);
        return byName == medians.end() || byRows == byName->second.end() ? std::nan("") : byRows->second;
    };
    const double rows100 = median("DrillDownPage", "100"), rows1000 = median("DrillDownPage", "1000"),
                 rows3000 = median("DrillDownPage", "3000"), plain = median("PlainPage", "1000"),
                 frame100 = median("PaintFrame", "100"), frame3000 = median("PaintFrame", "3000");
    std::printf("Medians (real time, microseconds) and ratios:\n");
    std::printf("  drill-down page   100 rows %10.1f us\n", rows100);
    std::printf("  drill-down page  1000 rows %10.1f us   %6.2fx 100 rows (goal <= 11)\n", rows1000,
                rows1000 / rows100);
    std::printf("  drill-down page  3000 rows %10.1f us   %6.2fx 1000 rows (goal <= 3.3)\n", rows3000,
                rows3000 / rows1000);
    std::printf("  plain graphics-widget page 1000 rows %10.1f us; drill-down page %6.2fx (goal <= 3)\n", plain,
                rows1000 / plain);
    const double plain100 = median("PlainPage", "100"), plain3000 = median("PlainPage", "3000");
    std::printf("  plain page: 1000 rows %6.2fx 100 rows, 3000 rows %6.2fx 1000 rows (how Qt's own layout scales)\n",
                plain / plain100, plain3000 / plain);
    std::printf("  list widget 1000 rows %10.1f us, 3000 rows %10.1f us (reference)\n",
                median("ListWidget", "1000"), median("ListWidget", "3000"));
    std::printf("  one frame, 100 rows %10.1f us, 3000 rows %10.1f us   %6.2fx (goal ~1)\n", frame100, frame3000,
                frame3000 / frame100);
}

void settings(benchmark::internal::Benchmark* b)
{
    BenchSupport::commonSettings(b);
}

} // namespace

BENCHMARK(DrillDownPage)->Arg(100)->Arg(1000)->Arg(3000)->Apply(settings);
BENCHMARK(PlainPage)->Arg(100)->Arg(1000)->Arg(3000)->Apply(settings);
BENCHMARK(ListWidget)->Arg(1000)->Arg(3000)->Apply(settings);
BENCHMARK(PaintFrame)->Arg(100)->Arg(3000)->Apply(settings);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::unique_ptr<Screen> shown;
    BenchSupport::MedianReporter reporter(summary);
    return BenchSupport::run(argc, argv, [&] {
        shown = std::make_unique<Screen>();
        screen = shown.get();
        return true;
    }, reporter);
}
