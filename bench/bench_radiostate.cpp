// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// How RadioState scales with the number of live objects: the time for one
// radio states indication from devmoded to reach 1, 100 and 1,000 objects,
// and the time to construct and destroy that many. Prints the figures and
// their ratios to the single-object case measured in the same run.
//
// Run it on private buses: tests/harness/with-private-buses bench_radiostate
#include <Pavane/RadioState>

#include "benchsupport.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>


using Pavane::RadioState;

namespace {

TestSupport::DevmodeProcess* devmode = nullptr;

void Indication(benchmark::State& state)
{
    const int count = int(state.range(0));
    std::vector<std::unique_ptr<RadioState>> states;
    int notified = 0;
    QEventLoop loop;
    for (int i = 0; i < count; ++i) {
        states.emplace_back(new RadioState(RadioState::WLAN));
        QObject::connect(states.back().get(), &RadioState::enabledChanged, &loop, [&] {
            if (++notified == count)
                loop.quit();
        });
    }
    states.front()->enabled(); // the first answer is in
    for (auto _ : state) {
        notified = 0;
        devmode->changeRadioStates(0, 0);
        if (notified < count)
            loop.exec();
    }
}

void ConstructAndDestroy(benchmark::State& state)
{
    const int count = int(state.range(0));
    std::vector<std::unique_ptr<RadioState>> states;
    states.reserve(count);
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            states.emplace_back(new RadioState(RadioState::WLAN));
        states.clear();
    }
}

void summary(const BenchSupport::MedianReporter::Medians& medians)
{
    std::printf("Medians (real time, microseconds) and ratios to one object:\n");
    for (const char* name : {"Indication", "ConstructAndDestroy"}) {
        const auto& byArgs = medians.at(name);
        const double one = byArgs.at("1");
        for (const char* args : {"1", "100", "1000"}) {
            const double value = byArgs.at(args);
            std::printf("  %-20s %5s objects %10.1f us   %7.2fx\n", name, args, value, value / one);
        }
    }
}

void settings(benchmark::internal::Benchmark* b)
{
    BenchSupport::commonSettings(b->Arg(1)->Arg(100)->Arg(1000));
}

} // namespace

BENCHMARK(Indication)->Apply(settings);
BENCHMARK(ConstructAndDestroy)->Apply(settings);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestSupport::DevmodeProcess devmoded;
    devmode = &devmoded;
    BenchSupport::MedianReporter reporter(summary);
    return BenchSupport::run(argc, argv, [&] {
        return devmoded.start({QStringLiteral("--radio-states"), QStringLiteral("0x1f")});
    }, reporter);
}
