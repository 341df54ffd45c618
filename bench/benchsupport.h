// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef PAVANE_BENCH_BENCHSUPPORT_H
#define PAVANE_BENCH_BENCHSUPPORT_H

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>

namespace BenchSupport {

// Prints every run as the console reporter does, keeps the median of each
// benchmark (by function and arguments), and hands them to summary() at the
// end to print figures and ratios.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    // function name -> arguments ("" without) -> median real time
    using Medians = std::map<std::string, std::map<std::string, double>>;

    explicit MedianReporter(std::function<void(const Medians&)> summary);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::function<void(const Medians&)> summary;
    Medians medians;
};

// The settings every benchmark here shares: real time (the figures are
// mostly waiting for other processes), microseconds, medians of five.
void commonSettings(benchmark::internal::Benchmark* b);

// main() of a benchmark program: checks that it runs on private buses,
// runs @p prepare (which starts the services the benchmarks need) and then
// the benchmarks. Call with a QCoreApplication alive.
int run(int& argc, char** argv, const std::function<bool()>& prepare, MedianReporter& reporter);

} // namespace BenchSupport

#endif
