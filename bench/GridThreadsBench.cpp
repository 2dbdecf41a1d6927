// norvane-field --grid on one thread and on all of them: whole-world grids
// of the official models, text written to /dev/null, at spacings from 2 to
// 0.25 degrees.  The speed-up of the 0.5-degree WMMHR-2025 grid on every
// hardware thread over one is asserted: a run that misses it is reported
// as an error and the program exits with status 1.  It needs cores that
// are free: the one-minute load average is reported beside it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <time.h>
#include <memory>
#include <string>
#include <vector>

#include "tools/common/ParallelFor.hpp"
#include "tools/field/FieldTool.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "tools/model/TimeVaryingModel.hpp"

namespace norvane::tools {
namespace {

/// Time of a 0.5-degree grid on one thread over its time on every hardware
/// thread, at the least, where there are at least two.
constexpr double kMinSpeedup = 1.7;

bool missed = false;

const TimeVaryingModel& Model(const std::string& name) {
  static const TimeVaryingModel wmm(
      ReadCoefficientFile(std::string(NORVANE_WMM_DATA_DIR) + "/WMM2025.COF"));
  static const TimeVaryingModel wmmhr(ReadCoefficientFile(
      std::string(NORVANE_WMM_DATA_DIR) + "/WMMHR2025.COF"));
  return name == "WMMHR2025" ? wmmhr : wmm;
}

struct Timing {
  double wall;    // s
  double cpu;     // s, of every thread of the process
  double ownCpu;  // s, of the calling thread alone
};

double ThreadCpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// One whole-world grid, its text written to /dev/null.
Timing RunGrid(const TimeVaryingModel& model, double step, unsigned threads) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> null(
      std::fopen("/dev/null", "w"), &std::fclose);
  FieldToolOptions options;
  options.threads = threads;
  const std::clock_t cpuStart = std::clock();
  const double ownStart = ThreadCpuSeconds();
  const auto wallStart = std::chrono::steady_clock::now();
  FieldTool tool(model, options, null.get(), stderr);
  tool.RunGrid({-90.0, 90.0, step, -180.0, 180.0, step}, 0.0, 2026.0);
  if (tool.Finish() != 0) std::abort();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                        wallStart)
              .count(),
          static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC,
          ThreadCpuSeconds() - ownStart};
}

double Points(double step) {
  return (180.0 / step + 1.0) * (360.0 / step + 1.0);
}

// Args: threads (0 for every hardware thread), spacing in hundredths of a
// degree.
void BM_WorldGrid(benchmark::State& state, const std::string& name) {
  const unsigned threads = state.range(0) == 0
                               ? HardwareThreads()
                               : static_cast<unsigned>(state.range(0));
  const double step = static_cast<double>(state.range(1)) / 100.0;
  const TimeVaryingModel& model = Model(name);
  double cpu = 0.0;
  for (auto _ : state) {
    const Timing t = RunGrid(model, step, threads);
    state.SetIterationTime(t.wall);
    cpu += t.cpu;
  }
  state.counters["threads"] = threads;
  state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() *
                          static_cast<std::int64_t>(Points(step)));
}
void Spacings(benchmark::internal::Benchmark* b) {
  for (const int threads : {1, 0})
    for (const int hundredths : {200, 100, 50, 25})
      b->Args({threads, hundredths});
}
BENCHMARK_CAPTURE(BM_WorldGrid, WMM2025, std::string("WMM2025"))
    ->Apply(Spacings)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorldGrid, WMMHR2025, std::string("WMMHR2025"))
    ->Apply(Spacings)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The 0.5-degree WMMHR-2025 grid on one thread and on all, alternating so
// that both meet the same load; medians of the rounds.  On a machine that
// others share the wall times say little, so cpu_speedup gives the speed-up
// that the split of processor time allows on free cores: the one-thread
// run's processor time over the larger of the calling thread's and the
// other threads' mean share in the run on all.
void BM_GridSpeedup(benchmark::State& state) {
  const unsigned threads = HardwareThreads();
  const TimeVaryingModel& model = Model("WMMHR2025");
  std::vector<double> one, all, cpuOne, cpuAll, critical;
  double load[1] = {0.0};
  getloadavg(load, 1);
  for (auto _ : state) {
    const Timing a = RunGrid(model, 0.5, 1);
    const Timing b = RunGrid(model, 0.5, threads);
    one.push_back(a.wall);
    all.push_back(b.wall);
    cpuOne.push_back(a.cpu);
    cpuAll.push_back(b.cpu);
    critical.push_back(
        std::max(b.ownCpu, (b.cpu - b.ownCpu) / std::max(1u, threads - 1)));
    state.SetIterationTime(a.wall + b.wall);
  }
  const auto median = [](std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  const double speedup = median(one) / median(all);
  state.counters["threads"] = threads;
  state.counters["one_ms"] = median(one) * 1e3;
  state.counters["all_ms"] = median(all) * 1e3;
  state.counters["speedup"] = speedup;
  state.counters["cpu_ratio"] = median(cpuAll) / median(cpuOne);
  const double cpuSpeedup = median(cpuOne) / median(critical);
  state.counters["cpu_speedup"] = cpuSpeedup;
  state.counters["load1"] = load[0];
  if (threads >= 2 && speedup < kMinSpeedup) {
    missed = true;
    state.SkipWithError(
        ("on " + std::to_string(threads) + " threads only " +
         std::to_string(speedup) + " times as fast as on one (" +
         std::to_string(median(one) * 1e3) + " ms against " +
         std::to_string(median(all) * 1e3) + " ms, load " +
         std::to_string(load[0]) + ", cpu_speedup " +
         std::to_string(cpuSpeedup) + "); want " + std::to_string(kMinSpeedup))
            .c_str());
  }
}
BENCHMARK(BM_GridSpeedup)
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace norvane::tools

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return norvane::tools::missed ? 1 : 0;
}
