// A host's floating-point settings do not reach the page, and the module
// gives them back: rounding, flushing denormals and unmasked exceptions.

#include <fenv.h>
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <string>
#include <vector>

#include "display/Norvane.hpp"
#include "sim/StandInHost.hpp"

namespace norvane {
namespace {

// MXCSR bits: flush to zero, denormals are zero.
constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x0040;

std::vector<std::string> Page(const sim::VesselState& state) {
  sim::VesselState copy = state;
  VESSEL vessel(&copy);
  StandInDC dc;
  Norvane display(400, 260, &vessel);
  display.Update(&dc);
  std::vector<std::string> page;
  for (const DrawCall& call : dc.Calls()) {
    page.push_back(std::to_string(static_cast<int>(call.kind)) + " " +
                   std::to_string(call.x0) + "," + std::to_string(call.y0) +
                   "-" + std::to_string(call.x1) + "," + std::to_string(call.y1) +
                   " " + std::string(dc.Text(call)));
  }
  return page;
}

TEST(FloatingPointScopeTest, HostSettingsChangeNeitherPageNorStayChanged) {
  const sim::VesselState vessels[] = {
      {-1.8, 0.7, 6378137.0 + 4.0e5, 2.0},  // in orbit
      {0.0, 0.0, 0.0, 0.0},                 // at the Earth's centre: NaN, inf
      {0.1, -0.2, 6378137.0, 1e-310},       // a denormal heading
  };
  const struct {
    const char* name;
    int rounding;
    int trapped;  // exceptions unmasked
    unsigned sseBits;
  } settings[] = {
      {"upward", FE_UPWARD, 0, 0},
      {"toward zero", FE_TOWARDZERO, 0, 0},
      {"downward, flush to zero", FE_DOWNWARD, 0, kFlushToZero | kDenormalsAreZero},
      {"traps", FE_TONEAREST, FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW, 0},
  };
  for (const auto& vessel : vessels) {
    const std::vector<std::string> expected = Page(vessel);
    for (const auto& setting : settings) {
      SCOPED_TRACE(setting.name);
      fenv_t saved;
      fegetenv(&saved);
      fesetround(setting.rounding);
      _mm_setcsr(_mm_getcsr() | setting.sseBits);
      feenableexcept(setting.trapped);
      const unsigned sse = _mm_getcsr();
      const std::vector<std::string> page = Page(vessel);
      const unsigned after = _mm_getcsr();
      const int roundingAfter = fegetround();
      fesetenv(&saved);
      EXPECT_EQ(page, expected);
      EXPECT_EQ(after, sse);
      EXPECT_EQ(roundingAfter, setting.rounding);
    }
  }
}

}  // namespace
}  // namespace norvane
