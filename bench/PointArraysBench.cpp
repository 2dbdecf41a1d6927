// Speed of the evaluation behind the Python module: EvaluatePoints over one
// million points held in arrays, the work that model.field hands to C++.
// bench/python_throughput.py compares the module's throughput with this
// one's; the points are the ones it makes (a golden-ratio sequence over
// the globe, 0 to 10 km, 2006.0 to 2010.0), so both do the same work.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <vector>

#include "tools/model/TimeVaryingModel.hpp"
#include "tools/field/PointArrays.hpp"

namespace norvane::tools {
namespace {

constexpr std::size_t kPoints = 1000000;

// The i-th point's share of its range: frac(i x step).
double Share(std::size_t i, double step) {
  const double x = static_cast<double>(i) * step;
  return x - std::floor(x);
}

struct Points {
  std::vector<double> latitude, longitude, altitude, year;
  Points() {
    for (std::size_t i = 0; i < kPoints; ++i) {
      latitude.push_back(-90.0 + 180.0 * Share(i, 0.6180339887498949));
      longitude.push_back(-180.0 + 360.0 * Share(i, 0.7548776662466927));
      altitude.push_back(10.0 * Share(i, 0.5698402909980532));
      year.push_back(2006.0 + 4.0 * Share(i, 0.8191725133961645));
    }
  }
};

void BM_EvaluatePoints(benchmark::State& state) {
  static const Points points;
  const TimeVaryingModel model;
  std::vector<double> columns(kElementColumns * kPoints);
  std::vector<double*> out;
  for (int k = 0; k < kElementColumns; ++k)
    out.push_back(columns.data() + static_cast<std::size_t>(k) * kPoints);
  for (auto _ : state) {
    const ArrayOutcome outcome = EvaluatePoints(
        model, kPoints, points.latitude.data(), points.longitude.data(),
        points.altitude.data(), points.year.data(), ArrayRequest{}, out.data());
    benchmark::DoNotOptimize(outcome.failed);
    benchmark::DoNotOptimize(columns.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kPoints));
}
BENCHMARK(BM_EvaluatePoints)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace norvane::tools

BENCHMARK_MAIN();
