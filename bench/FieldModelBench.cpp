// Speed of the field model: evaluation, the same points evaluated by
// GeographicLib's MagneticModel in the same run, and the construction of a
// model.  The thresholds below are asserted on the final measurements (the
// median when repeated): a run that misses one is reported as an error and
// the program exits with status 1.

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <vector>

#include "common/Pi.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "model/FieldModel.hpp"
#include "tools/model/LoadedModel.hpp"
#include "tools/model/ShcFile.hpp"
#include "tools/model/TextFields.hpp"
#include "tools/model/TimeVaryingModel.hpp"
#include "testsupport/GeographicLibModel.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane {
namespace {

/// GeographicLib's time per evaluation over ours, at the least.
constexpr double kMinSpeedRatio = 8.0;
/// The same for WMMHR-2025 (degree 133), at the least.
constexpr double kMinHighDegreeSpeedRatio = 10.0;
/// IGRF-14's time (degree 13, point by point or on a grid) over WMM-2025's
/// (degree 12), at the most.
constexpr double kMaxIgrfCostRatio = 1.5;
/// Time to construct one model, at the most, ns.
constexpr double kMaxConstructionNs = 2000.0;

// Processor time, ns: unlike wall time, it leaves out the time this
// process waits while others run on a shared machine.
double CpuNanoseconds() {
  return static_cast<double>(std::clock()) * (1e9 / CLOCKS_PER_SEC);
}

const std::vector<FieldPoint>& Points() {
  static const std::vector<FieldPoint> points = RandomPoints(1000, 20050101);
  return points;
}

void EvaluateAll(const FieldModel& model) {
  for (const FieldPoint& p : Points()) {
    double X, Y, Z, F, H, D, I;
    model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, X, Y, Z, F, H,
                   D, I);
    benchmark::DoNotOptimize(X);
    benchmark::DoNotOptimize(Y);
    benchmark::DoNotOptimize(Z);
    benchmark::DoNotOptimize(F);
    benchmark::DoNotOptimize(H);
    benchmark::DoNotOptimize(D);
    benchmark::DoNotOptimize(I);
  }
}

void EvaluateAll(const ReferenceField& reference) {
  for (const FieldPoint& p : Points()) {
    double X, Y, Z;
    reference.Evaluate(p.altitude, p.latitude, p.longitude, p.year, X, Y, Z);
    benchmark::DoNotOptimize(X);
    benchmark::DoNotOptimize(Y);
    benchmark::DoNotOptimize(Z);
  }
}

void BM_FieldModelEvaluate(benchmark::State& state) {
  const FieldModel model;
  for (auto _ : state) EvaluateAll(model);
  state.SetItemsProcessed(state.iterations() * Points().size());
}
BENCHMARK(BM_FieldModelEvaluate);

void BM_GeographicLibEvaluate(benchmark::State& state) {
  const ReferenceField reference;
  for (auto _ : state) EvaluateAll(reference);
  state.SetItemsProcessed(state.iterations() * Points().size());
}
BENCHMARK(BM_GeographicLibEvaluate);

// Times evaluateOurs() and GeographicLib's evaluation of the same points,
// alternating within each iteration so that load from elsewhere on the
// machine hits both alike; reports both per evaluation and their ratio under
// ratioName.
template <class Ours>
void CompareWithReference(benchmark::State& state, Ours evaluateOurs,
                          const ReferenceField& reference,
                          const char* ratioName) {
  double ours = 0.0;
  double theirs = 0.0;
  for (auto _ : state) {
    const double start = CpuNanoseconds();
    evaluateOurs();
    const double middle = CpuNanoseconds();
    EvaluateAll(reference);
    theirs += CpuNanoseconds() - middle;
    ours += middle - start;
  }
  const double evaluations =
      static_cast<double>(state.iterations()) * Points().size();
  state.counters["norvane_ns"] = ours / evaluations;
  state.counters["geographiclib_ns"] = theirs / evaluations;
  state.counters[ratioName] = theirs / ours;
}

void BM_SpeedRatio(benchmark::State& state) {
  const FieldModel model;
  CompareWithReference(
      state, [&model] { EvaluateAll(model); }, ReferenceField(), "ratio");
}
BENCHMARK(BM_SpeedRatio);

void BM_FieldModelConstruct(benchmark::State& state) {
  const double start = CpuNanoseconds();
  for (auto _ : state) {
    FieldModel model;
    benchmark::DoNotOptimize(model);
    benchmark::ClobberMemory();
  }
  state.counters["construct_ns"] =
      (CpuNanoseconds() - start) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FieldModelConstruct);

#ifdef NORVANE_WMM_DATA_DIR
// Models from the official coefficient files: ours against GeographicLib's
// evaluation of the same file, alternating as above.  The degree-12 file is
// held to the compiled-in model's threshold, the degree-133 one to its own.
void BM_FileModelRatio(benchmark::State& state, const std::string& name) {
  const LoadedModel model(ReadCoefficientFile(
      std::string(NORVANE_WMM_DATA_DIR) + "/" + name + ".COF"));
  const auto evaluateOurs = [&model] {
    for (const FieldPoint& p : Points()) {
      benchmark::DoNotOptimize(
          model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, false));
    }
  };
  CompareWithReference(state, evaluateOurs,
                       ReferenceField(name, NORVANE_MODEL_DIR),
                       name == "WMM2025" ? "ratio" : "high_degree_ratio");
}
BENCHMARK_CAPTURE(BM_FileModelRatio, WMM2025, std::string("WMM2025"));
BENCHMARK_CAPTURE(BM_FileModelRatio, WMMHR2025, std::string("WMMHR2025"));

// A point's cost as the degree grows: WMMHR-2025 cut to degree 12 (the
// record's path), 13, 50 and 133 (the whole model, the any-degree path), the
// lower degrees built here from the loaded coefficients; without and with
// the rates.
void BM_DegreeGrowth(benchmark::State& state) {
  static const Coefficients full =
      ReadCoefficientFile(std::string(NORVANE_WMM_DATA_DIR) + "/WMMHR2025.COF");
  Coefficients cut = full;
  cut.degree = static_cast<int>(state.range(0));
  cut.rows.resize(
      static_cast<std::size_t>(CoefficientIndex(cut.degree, cut.degree)) + 1);
  const LoadedModel model(cut);
  const bool rates = state.range(1) != 0;
  const double start = CpuNanoseconds();
  for (auto _ : state) {
    for (const FieldPoint& p : Points()) {
      benchmark::DoNotOptimize(
          model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, rates));
    }
  }
  state.counters["point_ns"] =
      (CpuNanoseconds() - start) /
      (static_cast<double>(state.iterations()) * Points().size());
}
BENCHMARK(BM_DegreeGrowth)->ArgsProduct({{12, 13, 50, 133}, {0, 1}});

// A whole-world grid at 0.5 degrees, 361 x 721 points, one circle of
// latitude per row, as norvane-field --grid evaluates it.
void BM_FileModelGrid(benchmark::State& state, const std::string& name) {
  const LoadedModel model(ReadCoefficientFile(
      std::string(NORVANE_WMM_DATA_DIR) + "/" + name + ".COF"));
  const double step = 0.5 * kPi / 180.0;
  for (auto _ : state) {
    for (int i = 0; i <= 360; ++i) {
      const ModelCircle circle(model, 0.0, -kPi / 2 + i * step,
                               model.epoch() + 1.0);
      for (int j = 0; j <= 720; ++j)
        benchmark::DoNotOptimize(circle.Evaluate(j * step - kPi, false));
    }
  }
  state.SetItemsProcessed(state.iterations() * 361 * 721);
}
BENCHMARK_CAPTURE(BM_FileModelGrid, WMM2025, std::string("WMM2025"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FileModelGrid, WMMHR2025, std::string("WMMHR2025"))
    ->Unit(benchmark::kMillisecond);
#endif

#if defined(NORVANE_WMM_DATA_DIR) && defined(NORVANE_IGRF_DATA_DIR)
// IGRF-14 (degree 13, time-varying) against WMM-2025 (degree 12) and against
// GeographicLib evaluating IGRF-14's interval 2020 to 2025, written as a
// single-epoch model: all three on the same points, at dates in that
// interval, alternating as above.
struct IgrfAndWmm {
  TimeVaryingModel igrf;
  LoadedModel wmm;
  ReferenceField reference;
};

IgrfAndWmm& Models() {
  static IgrfAndWmm models = [] {
    const std::string shcPath =
        std::string(NORVANE_IGRF_DATA_DIR) + "/IGRF14.SHC";
    const ShcModel shc = ParseShc(ReadModelText(shcPath), shcPath);
    std::size_t i = 0;
    while (shc.epochs[i].epoch < 2020.0) ++i;
    Coefficients interval = ShcInterval(shc, i);
    interval.name = "igrf14_2020";
    WriteGeographicLibModel(interval, "/tmp/igrf14_2020");
    return IgrfAndWmm{TimeVaryingModel(shc),
                      LoadedModel(ReadCoefficientFile(
                          std::string(NORVANE_WMM_DATA_DIR) + "/WMM2025.COF")),
                      ReferenceField("igrf14_2020", "/tmp")};
  }();
  return models;
}

const std::vector<FieldPoint>& IntervalPoints() {
  static const std::vector<FieldPoint> points = [] {
    std::vector<FieldPoint> p = RandomPoints(1000, 20200101);
    for (FieldPoint& point : p)
      point.year = 2020.0 + (point.year - 2000.0) / 12 * 5;
    return p;
  }();
  return points;
}

void BM_IgrfEvaluation(benchmark::State& state) {
  const IgrfAndWmm& m = Models();
  double igrf = 0.0, wmm = 0.0, theirs = 0.0;
  for (auto _ : state) {
    const double start = CpuNanoseconds();
    for (const FieldPoint& p : IntervalPoints()) {
      benchmark::DoNotOptimize(
          m.igrf.Evaluate(p.altitude, p.latitude, p.longitude, p.year, false));
    }
    const double second = CpuNanoseconds();
    for (const FieldPoint& p : IntervalPoints()) {
      benchmark::DoNotOptimize(
          m.wmm.Evaluate(p.altitude, p.latitude, p.longitude, p.year, false));
    }
    const double third = CpuNanoseconds();
    for (const FieldPoint& p : IntervalPoints()) {
      double X, Y, Z;
      m.reference.Evaluate(p.altitude, p.latitude, p.longitude, p.year, X, Y,
                           Z);
      benchmark::DoNotOptimize(X);
    }
    theirs += CpuNanoseconds() - third;
    wmm += third - second;
    igrf += second - start;
  }
  const double evaluations =
      static_cast<double>(state.iterations()) * IntervalPoints().size();
  state.counters["igrf14_ns"] = igrf / evaluations;
  state.counters["wmm2025_ns"] = wmm / evaluations;
  state.counters["geographiclib_igrf14_ns"] = theirs / evaluations;
  state.counters["igrf_cost_ratio"] = igrf / wmm;
}
BENCHMARK(BM_IgrfEvaluation);

// A whole-world grid at 0.5 degrees, 361 x 721 points, one circle of
// latitude per row as norvane-field --grid evaluates it: IGRF-14 in 2022.5,
// WMM-2025 in 2026.0, and GeographicLib's circles of IGRF-14 in 2022.5.
void BM_IgrfGrid(benchmark::State& state) {
  const IgrfAndWmm& m = Models();
  const double step = 0.5 * kPi / 180.0;
  double igrf = 0.0, wmm = 0.0, theirs = 0.0;
  for (auto _ : state) {
    const double start = CpuNanoseconds();
    for (int i = 0; i <= 360; ++i) {
      const ModelCircle circle(m.igrf.At(2022.5), 0.0, -kPi / 2 + i * step,
                               2022.5);
      for (int j = 0; j <= 720; ++j)
        benchmark::DoNotOptimize(circle.Evaluate(j * step - kPi, false));
    }
    const double second = CpuNanoseconds();
    for (int i = 0; i <= 360; ++i) {
      const ModelCircle circle(m.wmm, 0.0, -kPi / 2 + i * step, 2026.0);
      for (int j = 0; j <= 720; ++j)
        benchmark::DoNotOptimize(circle.Evaluate(j * step - kPi, false));
    }
    const double third = CpuNanoseconds();
    for (int i = 0; i <= 360; ++i) {
      const GeographicLib::MagneticCircle circle =
          m.reference.Circle(0.0, -kPi / 2 + i * step, 2022.5);
      for (int j = 0; j <= 720; ++j) {
        double east, north, up;
        circle(j * 0.5 - 180.0, east, north, up);
        benchmark::DoNotOptimize(east);
      }
    }
    theirs += CpuNanoseconds() - third;
    wmm += third - second;
    igrf += second - start;
  }
  const double grids = static_cast<double>(state.iterations());
  state.counters["igrf14_ms"] = igrf / grids * 1e-6;
  state.counters["wmm2025_ms"] = wmm / grids * 1e-6;
  state.counters["geographiclib_igrf14_ms"] = theirs / grids * 1e-6;
  state.counters["igrf_cost_ratio"] = igrf / wmm;
}
BENCHMARK(BM_IgrfGrid)->Unit(benchmark::kMillisecond);
#endif

// Passes every report on to the usual display, first marking as errors the
// runs whose counters miss a threshold.  With repetitions only the median
// counts, so that one disturbed repetition does not fail the run.
class ThresholdReporter : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override {
    return display_->ReportContext(context);
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    bool repeated = false;
    for (const Run& run : runs) repeated |= run.aggregate_name == "median";
    std::vector<Run> checked = runs;
    for (Run& run : checked) {
      if (run.aggregate_name == (repeated ? "median" : "")) Check(run);
    }
    display_->ReportRuns(checked);
  }

  void Finalize() override { display_->Finalize(); }

  bool missed() const { return missed_; }

 private:
  void Check(Run& run) {
    const auto ratio = run.counters.find("ratio");
    if (ratio != run.counters.end() && ratio->second < kMinSpeedRatio) {
      Miss(run, "evaluation only " + std::to_string(ratio->second.value) +
                    " times as fast as GeographicLib's; want " +
                    std::to_string(kMinSpeedRatio));
    }
    const auto high = run.counters.find("high_degree_ratio");
    if (high != run.counters.end() && high->second < kMinHighDegreeSpeedRatio) {
      Miss(run, "degree 133 only " + std::to_string(high->second.value) +
                    " times as fast as GeographicLib's; want " +
                    std::to_string(kMinHighDegreeSpeedRatio));
    }
    const auto igrf = run.counters.find("igrf_cost_ratio");
    if (igrf != run.counters.end() && igrf->second > kMaxIgrfCostRatio) {
      Miss(run, "IGRF-14 takes " + std::to_string(igrf->second.value) +
                    " times WMM-2025's time; want at most " +
                    std::to_string(kMaxIgrfCostRatio));
    }
    const auto construct = run.counters.find("construct_ns");
    if (construct != run.counters.end() &&
        construct->second >= kMaxConstructionNs) {
      Miss(run, "construction takes " +
                    std::to_string(construct->second.value) + " ns; want < " +
                    std::to_string(kMaxConstructionNs));
    }
  }

  void Miss(Run& run, const std::string& why) {
    missed_ = true;
    run.error_occurred = true;
    run.error_message = why;
  }

  benchmark::BenchmarkReporter* display_ =
      benchmark::CreateDefaultDisplayReporter();
  bool missed_ = false;
};

}  // namespace
}  // namespace norvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  norvane::ThresholdReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.missed() ? 1 : 0;
}
