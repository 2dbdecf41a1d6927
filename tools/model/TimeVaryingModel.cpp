#include "tools/model/TimeVaryingModel.hpp"

#include <algorithm>

#include "tools/model/ShcFile.hpp"
#include "model/Wmm2005.hpp"

namespace norvane {

Coefficients ShcInterval(const ShcModel& shc, std::size_t i) {
  const Coefficients& end = shc.epochs[i + 1];
  Coefficients interval = shc.epochs[i];
  const double years = end.epoch - interval.epoch;
  for (std::size_t k = 0; k < interval.rows.size(); ++k) {
    CoefficientRow& row = interval.rows[k];
    row.gDot = (end.rows[k].g - row.g) / years;
    row.hDot = (end.rows[k].h - row.h) / years;
  }
  return interval;
}

TimeVaryingModel::TimeVaryingModel()
    : intervals_(1), validity_(intervals_.front().validity()) {}

TimeVaryingModel::TimeVaryingModel(const Coefficients& coefficients)
    : intervals_{LoadedModel(coefficients)},
      validity_(intervals_.front().validity()) {}

TimeVaryingModel::TimeVaryingModel(const ShcModel& shc)
    : validity_{shc.epochs.front().epoch, shc.epochs.back().epoch,
                kWmm2005LowestAltitude, kWmm2005HighestAltitude} {
  const std::size_t count = shc.epochs.size();
  if (count == 1) {
    intervals_.emplace_back(shc.epochs.front());
    return;
  }
  intervals_.reserve(count - 1);
  for (std::size_t i = 0; i + 1 < count; ++i)
    intervals_.emplace_back(ShcInterval(shc, i));
}

const LoadedModel& TimeVaryingModel::At(double year) const {
  // The first interval whose epoch lies after the year, less one.
  const auto after = std::upper_bound(
      intervals_.begin() + 1, intervals_.end(), year,
      [](double y, const LoadedModel& m) { return y < m.epoch(); });
  return *(after - 1);
}

}  // namespace norvane
