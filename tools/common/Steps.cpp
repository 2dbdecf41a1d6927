#include "tools/common/Steps.hpp"

#include <cmath>

namespace norvane::tools {
namespace {

// How far short of the last value the last step may fall, in steps.
constexpr double kStepTolerance = 1e-9;

}  // namespace

std::uint64_t StepCount(double first, double last, double step) {
  return static_cast<std::uint64_t>(
             std::floor((last - first) / step + kStepTolerance)) +
         1;
}

double StepValue(double first, double last, double step, std::uint64_t i) {
  const double value = first + static_cast<double>(i) * step;
  return std::fabs(value - last) <= kStepTolerance * step ? last : value;
}

}  // namespace norvane::tools
