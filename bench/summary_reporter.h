// The console report followed by a summary: the refill against its baseline,
// the targets it must hold, and start-up against a trivial process.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace bench {

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Figures {
    double realNsPerIteration = 0;
    std::map<std::string, double> counters;
  };
  // By "function/args", e.g. "BM_Refill/1000"; successful runs only.
  const Figures* Find(const std::string& name) const;
  double Counter(const std::string& name, const std::string& counter) const;

  std::map<std::string, Figures> figures_;
};

}  // namespace bench
