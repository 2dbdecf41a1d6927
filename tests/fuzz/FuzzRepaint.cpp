// One compass display: a surface of any size up to 65535 x 65535 pixels, a
// vessel anywhere (longitude, latitude and distance from the centre of any
// value: NaN, infinite, huge, denormal) with any heading, one repaint and one
// buffered key of any code.
//
// Input: width, height (uint16); longitude, latitude (rad), radius (m),
// heading (rad) as doubles; key code (uint32).
//
// Properties: the repaint ends (the run's timeout catches a hang) and draws
// a title, twelve rows and at most two needles with the pens balanced (see
// PageCheck.hpp); a non-finite heading draws no needle, a vessel well away
// from the centre with a finite position and heading draws both; only the
// keys 26, 27, 51 and 52 are consumed; the display's two pens and its host
// object are gone after it.

#include <cmath>
#include <cstdint>

#include "Fuzz.hpp"
#include "PageCheck.hpp"
#include "common/Pi.hpp"
#include "display/Norvane.hpp"
#include "sim/StandInHost.hpp"

namespace {

using norvane::kPi;
using norvane::fuzz::Require;

// Where the field model gives finite results (see FuzzFieldModel.cpp).
constexpr double kLowestRadius = 378137.0;  // m; 6000 km below the equator
constexpr double kHighestRadius = 1e303;    // m

bool SensiblePosition(const norvane::sim::VesselState& state) {
  return std::isfinite(state.longitude) &&
         std::fabs(state.latitude) <= kPi / 2 && state.radius > kLowestRadius &&
         state.radius < kHighestRadius;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  norvane::fuzz::FuzzInput input(data, size);
  const auto width = input.Take<std::uint16_t>();
  const auto height = input.Take<std::uint16_t>();
  norvane::sim::VesselState state;
  state.longitude = input.Take<double>();
  state.latitude = input.Take<double>();
  state.radius = input.Take<double>();
  state.heading = input.Take<double>();
  const auto key = input.Take<std::uint32_t>();

  const std::size_t pensBefore = norvane::gdi::LivePens();
  {
    VESSEL vessel(&state);
    norvane::Norvane display(width, height, &vessel);
    Require(norvane::gdi::LivePens() == pensBefore + 2, "two pens made");

    const int needles = norvane::fuzz::PaintAndCheck(display, width, height);
    if (!std::isfinite(state.heading)) {
      Require(needles == 0, "no needle for a non-finite heading");
    } else if (SensiblePosition(state)) {
      Require(needles == 2, "both needles for a sensible vessel");
    }

    const bool ours = key == 26 || key == 27 || key == 51 || key == 52;
    Require(display.ConsumeKeyBuffered(key) == ours,
            "only [ ] , . are consumed");
  }
  Require(norvane::gdi::LivePens() == pensBefore, "pens deleted");
  Require(norvane::sim::LiveDisplays() == 0, "display destroyed");
  return 0;
}
