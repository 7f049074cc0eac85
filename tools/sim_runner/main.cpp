#include "core/frozen_clock.h"
#include "core/local_clock.h"
#include "core/ratios.h"
#include "core/shown_texts.h"
#include "core/xoshiro_generator.h"
#include "headless_experiment.h"
#include "runner_options.h"

#include <QCoreApplication>
#include <array>
#include <iostream>

using namespace pokorin;

namespace {

using BinTotals = std::array<long, kBinTotal>;

void PrintBins(const BinTotals &bins) {
    std::cout << " bins";
    for (long count : bins) {
        std::cout << ' ' << count;
    }
    std::cout << '\n';
}

void PrintRatioLines(const BinTotals &bins, long drops) {
    std::cout << "ratios:";
    for (long count : bins) {
        std::cout << ' ' << (drops > 0 ? FormatRatio(count, drops) : "-");
    }
    std::cout << "\ntheory:";
    for (const char *text : kTheoryTexts) {
        std::cout << ' ' << text;
    }
    std::cout << '\n';
}

int RunExperiments(const RunnerOptions &options) {
    XoshiroGenerator generator =
        options.seed ? XoshiroGenerator(*options.seed) : XoshiroGenerator();
    LocalClock localClock;
    FrozenClock frozenClock;
    Clock &clock = options.frozenClock ? static_cast<Clock &>(frozenClock) : localClock;
    HeadlessExperiment headless(clock, generator, options.trace ? &std::cout : nullptr);

    BinTotals totals{};
    long drops = 0;
    for (long run = 1; run <= options.runs; ++run) {
        const Experiment &experiment = headless.run();
        BinTotals bins{};
        for (int k = 1; k <= kBinTotal; ++k) {
            bins.at(k - 1) = experiment.bins(k);
            totals.at(k - 1) += experiment.bins(k);
        }
        drops += experiment.drops;
        std::cout << "run " << run << ": drops " << experiment.drops;
        PrintBins(bins);
    }
    std::cout << "total: runs " << options.runs << " drops " << drops;
    PrintBins(totals);
    PrintRatioLines(totals, drops);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(POKORIN_VERSION));
    const auto options = ReadRunnerOptions(QCoreApplication::arguments());
    if (const int *exitCode = std::get_if<int>(&options)) {
        return *exitCode;
    }
    return RunExperiments(std::get<RunnerOptions>(options));
}
