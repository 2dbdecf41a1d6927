// A host's floating-point settings do not reach the page, and the module
// gives them back: rounding, flushing denormals and unmasked exceptions.
// What the host does to them inside its own calls stays done.

#include <fenv.h>
#include <fpu_control.h>
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

// The page's drawing calls as text.  With flagsAfter, the host has only
// division by zero raised when it calls Update, and flagsAfter receives the
// exception flags raised when Update returns.
std::vector<std::string> Page(const sim::VesselState& state,
                              int* flagsAfter = nullptr) {
  sim::VesselState copy = state;
  VESSEL vessel(&copy);
  StandInDC dc;
  Norvane display(400, 260, &vessel);
  if (flagsAfter != nullptr) {
    feclearexcept(FE_ALL_EXCEPT);
    feraiseexcept(FE_DIVBYZERO);
  }
  display.Update(&dc);
  if (flagsAfter != nullptr) *flagsAfter = fetestexcept(FE_ALL_EXCEPT);
  std::vector<std::string> page;
  for (const DrawCall& call : dc.Calls()) {
    page.push_back(std::to_string(static_cast<int>(call.kind)) + " " +
                   std::to_string(call.x0) + "," + std::to_string(call.y0) +
                   "-" + std::to_string(call.x1) + "," +
                   std::to_string(call.y1) + " " + std::string(dc.Text(call)));
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
      {"downward, flush to zero", FE_DOWNWARD, 0,
       kFlushToZero | kDenormalsAreZero},
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

// A change a host makes to its own settings, and whether it is in force.
struct HostChange {
  const char* name;
  void (*make)();
  bool (*inForce)();
};

const HostChange kHostChanges[] = {
    {"rounding toward zero", [] { fesetround(FE_TOWARDZERO); },
     [] { return fegetround() == FE_TOWARDZERO; }},
    {"x87 at 24 bits",
     [] {
       fpu_control_t word;
       _FPU_GETCW(word);
       word = static_cast<fpu_control_t>((word & ~_FPU_EXTENDED) | _FPU_SINGLE);
       _FPU_SETCW(word);
     },
     [] {
       fpu_control_t word;
       _FPU_GETCW(word);
       return (word & _FPU_EXTENDED) == _FPU_SINGLE;
     }},
    {"flush to zero",
     [] { _mm_setcsr(_mm_getcsr() | kFlushToZero | kDenormalsAreZero); },
     [] {
       const unsigned both = kFlushToZero | kDenormalsAreZero;
       return (_mm_getcsr() & both) == both;
     }},
};

const HostChange* changeToMake = nullptr;
sim::HostCall callToMakeItIn = sim::HostCall::kTitle;

// The host's side of its call: its change, and an invalid operation of its
// own.
void MakeHostChange(sim::HostCall call) {
  if (call != callToMakeItIn) return;
  changeToMake->make();
  feraiseexcept(FE_INVALID);
}

// A host that changes its settings inside its own Title or GetEquPos keeps
// them, and keeps the exception flag it raised there besides the one it had;
// the module's own flags (inexact, at least) are gone.  The page is the one
// painted without the change.
TEST(FloatingPointScopeTest, ChangesTheHostMakesInItsOwnCallsStay) {
  const sim::VesselState vessel{-1.8, 0.7, 6378137.0 + 4.0e5, 2.0};
  const std::vector<std::string> expected = Page(vessel);
  for (const sim::HostCall call :
       {sim::HostCall::kTitle, sim::HostCall::kGetEquPos}) {
    for (const HostChange& change : kHostChanges) {
      SCOPED_TRACE(std::string(change.name) + (call == sim::HostCall::kTitle
                                                   ? " in Title"
                                                   : " in GetEquPos"));
      fenv_t saved;
      fegetenv(&saved);
      changeToMake = &change;
      callToMakeItIn = call;
      sim::SetHostCallHook(MakeHostChange);
      int flags = 0;
      const std::vector<std::string> page = Page(vessel, &flags);
      const bool inForce = change.inForce();
      sim::SetHostCallHook(nullptr);
      fesetenv(&saved);
      EXPECT_EQ(page, expected);
      EXPECT_TRUE(inForce);
      EXPECT_EQ(flags, FE_DIVBYZERO | FE_INVALID);
    }
  }
}

}  // namespace
}  // namespace norvane
