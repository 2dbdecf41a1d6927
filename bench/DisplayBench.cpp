// Repaint cost of the compass page: time per Update and heap allocations
// per Update, into a recording device context that reuses its storage.
// Fails (non-zero exit) when the median repaint takes more than kLimitNs of
// CPU time or when a repaint allocates.  CPU time, not wall time: the
// machines this runs on are shared, and waiting for a core is not the
// repaint's cost.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/HeapCount.hpp"
#include "common/Pi.hpp"
#include "display/Norvane.hpp"
#include "sim/StandInHost.hpp"

namespace {

constexpr double kLimitNs = 3000.0;  // median repaint, CPU ns
constexpr int kWarmUpPages = 16;
constexpr double kDegree = norvane::kPi / 180.0;

void BM_Repaint(benchmark::State& state) {
  norvane::sim::VesselState vessel{-105 * kDegree, 40 * kDegree,
                                   6378137.0 + 400e3, 0.5};
  VESSEL host(&vessel);
  StandInDC dc;
  norvane::Norvane display(256, 256, &host);
  // Until the context's call log and text store have grown to a page.
  for (int i = 0; i < kWarmUpPages; ++i) {
    dc.Clear();
    display.Update(&dc);
  }
  std::size_t allocations = 0;
  for (auto _ : state) {
    vessel.heading += 1e-3;
    dc.Clear();
    const std::size_t before = norvane::bench::HeapAllocations();
    display.Update(&dc);
    allocations += norvane::bench::HeapAllocations() - before;
  }
  state.counters["allocs/page"] = benchmark::Counter(
      static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
  if (allocations != 0) state.SkipWithError("a repaint allocated");
}
BENCHMARK(BM_Repaint)
    ->Unit(benchmark::kNanosecond)
    ->MinTime(0.1)
    ->Repetitions(15);

// Prints as usual and notes every error and every median above the limit.
class CheckingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) {
        failures_.push_back(run.benchmark_name() + ": " + run.error_message);
      } else if (run.aggregate_name == "median") {
        const double ns = run.GetAdjustedCPUTime() * 1e9 /
                          benchmark::GetTimeUnitMultiplier(run.time_unit);
        if (ns > kLimitNs) {
          failures_.push_back(run.benchmark_name() + ": median " +
                              std::to_string(ns) + " ns CPU above " +
                              std::to_string(kLimitNs) + " ns");
        }
      }
    }
  }

  const std::vector<std::string>& Failures() const { return failures_; }

 private:
  std::vector<std::string> failures_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  CheckingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const std::string& failure : reporter.Failures()) {
    std::fprintf(stderr, "FAILED %s\n", failure.c_str());
  }
  return reporter.Failures().empty() ? 0 : 1;
}
