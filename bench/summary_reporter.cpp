#include "summary_reporter.h"

#include <cmath>
#include <cstdio>
#include <ostream>

namespace bench {
namespace {

constexpr int kCounts[] = {10, 100, 1000, 10000};
constexpr double kScalingTarget = 1.5;   // ns/entry at 10,000 over 100
constexpr double kBaselineTarget = 2.0;  // refill over baseline at 1,000

std::string Format(const char* format, double value) {
  if (std::isnan(value)) return "-";
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

const char* Verdict(double value, double limit) {
  if (std::isnan(value)) return "not measured";
  return value <= limit ? "held" : "MISSED";
}

}  // namespace

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
    std::string name = run.run_name.function_name;
    if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
    Figures& f = figures_[name];
    f.realNsPerIteration = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
    for (const auto& [key, counter] : run.counters) f.counters[key] = counter.value;
  }
}

const SummaryReporter::Figures* SummaryReporter::Find(const std::string& name) const {
  auto it = figures_.find(name);
  return it == figures_.end() ? nullptr : &it->second;
}

double SummaryReporter::Counter(const std::string& name, const std::string& counter) const {
  const Figures* f = Find(name);
  if (!f) return NAN;
  auto it = f->counters.find(counter);
  return it == f->counters.end() ? NAN : it->second;
}

void SummaryReporter::Finalize() {
  std::ostream& out = GetOutputStream();
  auto refill = [&](int n, const char* counter) { return Counter("BM_Refill/" + std::to_string(n), counter); };

  out << "\nSummary (the baseline ran interleaved with the refill)\n";
  out << "  refill, ns per entry         N=10     N=100    N=1000   N=10000\n";
  struct Line {
    const char* title;
    const char* counter;
    const char* format;
  };
  constexpr Line kLines[] = {{"    RefreshStartupList   ", "ns/entry", "%.0f"},
                             {"    POSIX baseline       ", "posix ns/entry", "%.0f"},
                             {"    ratio, wall time     ", "vs posix", "%.2fx"},
                             {"    ratio, CPU time      ", "cpu vs posix", "%.2fx"}};
  for (const Line& line : kLines) {
    out << line.title;
    for (int n : kCounts) {
      char cell[16];
      std::snprintf(cell, sizeof cell, "%10s", Format(line.format, refill(n, line.counter)).c_str());
      out << cell;
    }
    out << "\n";
  }

  double scaling = refill(10000, "ns/entry") / refill(100, "ns/entry");
  double overBaseline = refill(1000, "vs posix");
  out << "  refill per entry, 10,000 over 100 entries: " << Format("%.2fx", scaling) << " (target <= " << kScalingTarget
      << "x) " << Verdict(scaling, kScalingTarget) << "\n";
  out << "  refill over baseline at 1,000 entries:     " << Format("%.2fx", overBaseline)
      << " (target <= " << kBaselineTarget << "x) " << Verdict(overBaseline, kBaselineTarget) << "\n";
  out << "  memory at 1,000 entries: " << Format("%.0f", refill(1000, "B/row")) << " B per row, "
      << Format("%.0f", refill(1000, "B/image")) << " B per image, " << Format("%.2f", refill(1000, "images/row"))
      << " images appended per row and refill\n";

  double allocs102 = Counter("BM_RelayoutProgramTemplate", "allocs/call");
  double allocs100 = Counter("BM_RelayoutHundredItems", "allocs/call");
  auto micros = [&](const std::string& name) {
    const Figures* f = Find(name);
    return f ? f->realNsPerIteration / 1e3 : NAN;
  };
  out << "  relayout, template 102:   " << Format("%.2f us", micros("BM_RelayoutProgramTemplate")) << ", "
      << Format("%.2f", allocs102) << " allocations per call (target 0) " << Verdict(allocs102, 0) << "\n";
  out << "  relayout, 100 items:      " << Format("%.2f us", micros("BM_RelayoutHundredItems")) << ", "
      << Format("%.2f", allocs100) << " allocations per call (target 0) " << Verdict(allocs100, 0) << "\n";

  auto millis = [&](const std::string& name) {
    const Figures* f = Find(name);
    return f ? f->realNsPerIteration / 1e6 : NAN;
  };
  double trivial = millis("BM_TrivialProcess");
  double empty = millis("BM_StartToFirstDraw/0");
  double full = millis("BM_StartToFirstDraw/1000");
  out << "  start to first draw and exit: empty device " << Format("%.2f ms", empty) << " ("
      << Format("%.1fx", empty / trivial) << " /bin/true), 1,000 shortcuts " << Format("%.2f ms", full) << " ("
      << Format("%.1fx", full / trivial) << "), /bin/true " << Format("%.2f ms", trivial) << "\n";
  out.flush();
  ConsoleReporter::Finalize();
}

}  // namespace bench
