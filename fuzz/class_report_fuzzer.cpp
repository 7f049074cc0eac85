// Checks the one parser of what a student's device sends, and the pool that
// takes what it passes, on arbitrary bytes: what passes is a report one run
// can reach, reads back as itself, and never makes the pool shrink or a bin
// of one run go beyond its stack.

#include "pool/class_pool.h"
#include "require.h"

#include <cstdint>
#include <numeric>

using namespace pokorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static ClassPool pool; // the reports of runs pile up as on a host, a thousand runs at most
    if (pool.contributions().size() > 1000) {
        pool = ClassPool();
    }
    const QByteArrayView message(data, static_cast<qsizetype>(size));
    QString problem;
    const std::optional<ClassReport> report = ParseClassReport(message, problem);
    Require(report.has_value() == problem.isEmpty());
    if (!report) {
        return 0;
    }
    Require(std::all_of(report->bins.begin(), report->bins.end(),
                        [](int count) { return count >= 0 && count <= kStackCapacity; }));
    const std::optional<ClassReport> again = ParseClassReport(ReportMessage(*report), problem);
    Require(again && again->bins == report->bins && again->device == report->device &&
            again->run == report->run && again->ms == report->ms);
    const long before = pool.balls();
    if (pool.take(*report, report->ms, problem) != ClassPool::Verdict::Refused) {
        Require(pool.balls() >= before);
    }
    return 0;
}
