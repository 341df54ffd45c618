// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "benchsupport.h"

#include "testsupport.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace BenchSupport {

MedianReporter::MedianReporter(std::function<void(const Medians&)> summary)
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular)
    , summary(std::move(summary))
{
}

void MedianReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.aggregate_name == "median")
            medians[run.run_name.function_name][run.run_name.args] = run.GetAdjustedRealTime();
    }
}

void MedianReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::printf("\n");
    summary(medians);
}

void commonSettings(benchmark::internal::Benchmark* b)
{
    b->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

int run(int& argc, char** argv, const std::function<bool()>& prepare, MedianReporter& reporter)
{
    const QString name = QCoreApplication::applicationName();
    const QString problem = TestSupport::environmentProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(problem));
        return 1;
    }
    if (!prepare()) {
        std::fprintf(stderr, "%s: the services it needs did not start\n", qPrintable(name));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchSupport
