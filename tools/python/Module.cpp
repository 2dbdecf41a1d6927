/**
 * \file Module.cpp
 * \brief norvane._core: the tools' model layer for Python.  The package's
 *   __init__.py turns Python's arguments (broadcast arrays, dates) into the
 *   flat arrays of decimal years and degrees taken here, and the outcomes
 *   into results, warnings and exceptions.
 */

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tools/common/Angles.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "tools/model/ModelFile.hpp"
#include "tools/model/Poles.hpp"
#include "tools/model/TimeVaryingModel.hpp"
#include "tools/model/Uncertainty.hpp"
#include "tools/common/CurrentYear.hpp"
#include "tools/common/Geoid.hpp"
#include "tools/common/ParallelFor.hpp"
#include "tools/common/Steps.hpp"
#include "tools/field/Grid.hpp"
#include "tools/field/PointArrays.hpp"

namespace py = pybind11;
using norvane::TimeVaryingModel;
using norvane::tools::ArrayOutcome;
using norvane::tools::ArrayRequest;
using norvane::tools::kElementColumns;

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The request for `height` ("ellipsoid" or "msl"): ValueError for other
// words, OSError when the geoid grid cannot be read.
ArrayRequest Request(bool rates, bool strict, const std::string& height) {
  norvane::tools::HeightReference reference;
  if (const char* problem =
          norvane::tools::ParseHeightReference(height, reference))
    throw py::value_error("height '" + height + "' " + problem);
  ArrayRequest request;
  request.rates = rates;
  request.strict = strict;
  if (reference == norvane::tools::HeightReference::kMeanSeaLevel) {
    try {
      static const norvane::tools::Geoid geoid;
      request.geoid = &geoid;
    } catch (const norvane::tools::GeoidError& e) {
      PyErr_SetString(PyExc_OSError, e.what());
      throw py::error_already_set();
    }
  }
  return request;
}

// The threads for `threads`: None for the machine's hardware threads, else
// 1 to kMaxThreads; ValueError for other numbers.
unsigned Threads(const std::optional<long long>& threads) {
  if (!threads) return norvane::tools::HardwareThreads();
  if (*threads < 1 || *threads > norvane::tools::kMaxThreads)
    throw py::value_error("threads " + std::to_string(*threads) +
                          " is not a whole number from 1 to " +
                          std::to_string(norvane::tools::kMaxThreads));
  return static_cast<unsigned>(*threads);
}

// (values, failed index or -1, error, summary of points outside or "").
py::tuple Outcome(py::array values, const ArrayOutcome& outcome,
                  const TimeVaryingModel& model) {
  const bool failed = outcome.failed != ArrayOutcome::kNone;
  return py::make_tuple(
      values, failed ? static_cast<long long>(outcome.failed) : -1LL,
      outcome.error,
      outcome.outside.points > 0
          ? norvane::tools::SummaryText(model.validity(), outcome.outside)
          : std::string());
}

// Pointers to the `columns` rows of a C-ordered array of shape
// (columns, ...).
std::vector<double*> Columns(py::array_t<double>& values, int columns,
                             std::size_t count) {
  std::vector<double*> pointers(static_cast<std::size_t>(columns));
  for (int k = 0; k < columns; ++k)
    pointers[static_cast<std::size_t>(k)] =
        values.mutable_data() + static_cast<std::size_t>(k) * count;
  return pointers;
}

class Model {
 public:
  explicit Model(std::shared_ptr<const TimeVaryingModel> model, bool compiledIn)
      : model_(std::move(model)), compiledIn_(compiledIn) {}

  // A model file read as norvane-field --model reads it.  The file
  // errors name the file then a colon and a space; parse errors name a line
  // after the file ("FILE:LINE: fault").
  static Model FromFile(const std::string& path) {
    try {
      return Model(std::make_shared<const TimeVaryingModel>(
                       norvane::ReadModelFile(path)),
                   false);
    } catch (const norvane::CoefficientFileError& e) {
      const std::string message = e.what();
      if (message.compare(0, path.size() + 2, path + ": ") == 0) {
        PyErr_SetString(PyExc_OSError, message.c_str());
        throw py::error_already_set();
      }
      throw py::value_error(message);
    }
  }

  static Model Wmm2005() {
    return Model(std::make_shared<const TimeVaryingModel>(), true);
  }

  const TimeVaryingModel& Loaded() const { return *model_; }
  bool CompiledIn() const { return compiledIn_; }

  py::tuple Points(const Doubles& latitude, const Doubles& longitude,
                   const Doubles& altitude, const Doubles& year, bool rates,
                   bool strict, const std::string& height,
                   std::optional<long long> threads) const {
    const std::size_t count = static_cast<std::size_t>(latitude.size());
    for (const Doubles* a : {&longitude, &altitude, &year})
      if (static_cast<std::size_t>(a->size()) != count)
        throw py::value_error("the four arrays must have one length");
    ArrayRequest request = Request(rates, strict, height);
    request.threads = Threads(threads);
    const int columns = rates ? 2 * kElementColumns : kElementColumns;
    py::array_t<double> values(
        {static_cast<py::ssize_t>(columns), static_cast<py::ssize_t>(count)});
    std::vector<double*> out = Columns(values, columns, count);
    ArrayOutcome outcome;
    {
      py::gil_scoped_release released;
      outcome = norvane::tools::EvaluatePoints(
          *model_, count, latitude.data(), longitude.data(), altitude.data(),
          year.data(), request, out.data());
    }
    return Outcome(values, outcome, *model_);
  }

  py::tuple GridValues(const norvane::tools::PointGrid& grid, double altitude,
                       double year, bool rates, bool strict,
                       const std::string& height,
                       std::optional<long long> threads) const {
    const std::string problem = norvane::tools::CheckGrid(grid);
    if (!problem.empty()) throw py::value_error("grid: " + problem);
    ArrayRequest request = Request(rates, strict, height);
    request.threads = Threads(threads);
    const std::uint64_t rows =
        norvane::tools::StepCount(grid.lat0, grid.lat1, grid.dlat);
    const std::uint64_t cols =
        norvane::tools::StepCount(grid.lon0, grid.lon1, grid.dlon);
    py::array_t<double> lat(static_cast<py::ssize_t>(rows));
    py::array_t<double> lon(static_cast<py::ssize_t>(cols));
    for (std::uint64_t i = 0; i < rows; ++i)
      lat.mutable_data()[i] =
          norvane::tools::StepValue(grid.lat0, grid.lat1, grid.dlat, i);
    for (std::uint64_t j = 0; j < cols; ++j)
      lon.mutable_data()[j] =
          norvane::tools::StepValue(grid.lon0, grid.lon1, grid.dlon, j);
    const int columns = rates ? 2 * kElementColumns : kElementColumns;
    py::array_t<double> values({static_cast<py::ssize_t>(columns),
                                static_cast<py::ssize_t>(rows),
                                static_cast<py::ssize_t>(cols)});
    std::vector<double*> out =
        Columns(values, columns, static_cast<std::size_t>(rows * cols));
    ArrayOutcome outcome;
    {
      py::gil_scoped_release released;
      outcome = norvane::tools::EvaluateGridArrays(*model_, grid, altitude,
                                                   year, request, out.data());
    }
    return py::make_tuple(lat, lon, Outcome(values, outcome, *model_));
  }

  // (north dip, south dip, north geomagnetic, south geomagnetic, moment),
  // poles as (latitude, longitude) in degrees, a dip pole not found as
  // None, the moment in A m^2, as norvane-field --poles finds them.
  py::tuple Poles(double year, double altitude) const {
    const auto pair = [](const std::optional<norvane::PolePosition>& p) {
      return p ? py::object(py::make_tuple(p->latitude, p->longitude))
               : py::object(py::none());
    };
    const norvane::LoadedModel& interval = model_->At(year);
    std::optional<norvane::PolePosition> north, south;
    {
      py::gil_scoped_release released;
      north = norvane::FindDipPole(interval, norvane::DipPole::kNorth, altitude,
                                   year);
      south = norvane::FindDipPole(interval, norvane::DipPole::kSouth, altitude,
                                   year);
    }
    const norvane::GeomagneticPoles dipole =
        norvane::CentredDipolePoles(interval.Dipole(year));
    return py::make_tuple(pair(north), pair(south), pair(dipole.north),
                          pair(dipole.south), dipole.moment);
  }

  // The 1-sigma uncertainty at points of horizontal intensity H (nT), as
  // rows sX sY sZ sF sH (nT), sD sI (degrees), as norvane-field
  // --uncertainty gives them; ValueError for a model without a published
  // error model.
  py::array_t<double> Uncertainties(const Doubles& horizontal) const {
    const std::optional<norvane::ErrorModel> errors =
        norvane::PublishedErrorModel(model_->name());
    if (!errors)
      throw py::value_error("the model " + model_->name() +
                            " has no published error model");
    const std::size_t count = static_cast<std::size_t>(horizontal.size());
    py::array_t<double> values({static_cast<py::ssize_t>(kElementColumns),
                                static_cast<py::ssize_t>(count)});
    double* out = values.mutable_data();
    for (std::size_t i = 0; i < count; ++i) {
      const norvane::FieldElements e =
          norvane::Uncertainty(*errors, horizontal.data()[i]);
      const double row[] = {e.X,
                            e.Y,
                            e.Z,
                            e.F,
                            e.H,
                            norvane::tools::Degrees(e.D),
                            norvane::tools::Degrees(e.I)};
      for (int k = 0; k < kElementColumns; ++k)
        out[static_cast<std::size_t>(k) * count + i] = row[k];
    }
    return values;
  }

 private:
  std::shared_ptr<const TimeVaryingModel> model_;
  bool compiledIn_;
};

}  // namespace

PYBIND11_MODULE(_core, m) {
  m.doc() = "The field model of the norvane tools; use the norvane package.";
  m.def("current_year", &norvane::tools::CurrentYear,
        "The current time, UTC, as a decimal year, as the tools take 'now'.");
  py::class_<Model>(m, "_Model")
      .def(py::init(&Model::FromFile), py::arg("path"))
      .def_static("wmm2005", &Model::Wmm2005)
      .def_property_readonly("name",
                             [](const Model& m) { return m.Loaded().name(); })
      // The first epoch: a coefficient file's one, an SHC file's first.
      .def_property_readonly(
          "epoch", [](const Model& m) { return m.Loaded().validity().from; })
      .def_property_readonly("degree",
                             [](const Model& m) { return m.Loaded().degree(); })
      .def_property_readonly("compiled_in", &Model::CompiledIn)
      .def_property_readonly(
          "validity",
          [](const Model& m) {
            const norvane::Validity v = m.Loaded().validity();
            return std::make_tuple(v.from, v.until, v.lowest, v.highest);
          })
      .def("poles", &Model::Poles, py::arg("year"), py::arg("alt"))
      .def("uncertainties", &Model::Uncertainties, py::arg("H"))
      .def("points", &Model::Points, py::arg("lat"), py::arg("lon"),
           py::arg("alt"), py::arg("year"), py::arg("rates"), py::arg("strict"),
           py::arg("height"), py::arg("threads"))
      .def(
          "grid",
          [](const Model& m, double lat0, double lat1, double dlat, double lon0,
             double lon1, double dlon, double alt, double year, bool rates,
             bool strict, const std::string& height,
             std::optional<long long> threads) {
            return m.GridValues({lat0, lat1, dlat, lon0, lon1, dlon}, alt, year,
                                rates, strict, height, threads);
          },
          py::arg("lat0"), py::arg("lat1"), py::arg("dlat"), py::arg("lon0"),
          py::arg("lon1"), py::arg("dlon"), py::arg("alt"), py::arg("year"),
          py::arg("rates"), py::arg("strict"), py::arg("height"),
          py::arg("threads"));
}
