// corvale_bench: Google Benchmark's flags apply (--benchmark_filter=Refill,
// --benchmark_min_time=...); a summary of the targets follows the report.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "bench_devices.h"
#include "summary_reporter.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::SummaryReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                        : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  bench::RemoveBenchDevices();
  benchmark::Shutdown();
  return 0;
}
