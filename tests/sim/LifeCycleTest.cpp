// The stand-in host's checks: each way a module can break the plug-in
// contract is reported, and the real module passes.

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "sim/LifeCycle.hpp"
#include "tests/sim/Fault.hpp"

namespace norvane::sim {
namespace {

// The module built with fault kNAME.
std::string FaultyModule(const std::string& name) {
  return std::string(NORVANE_FAULTY_MODULE_DIR) + "/faulty_module_" + name +
         ".so";
}

// The pen-leaking module leaks on purpose; the leak checker of the sanitizer
// build is told so while it runs.
class LeakAllowed {
 public:
  explicit LeakAllowed(bool allowed) : allowed_(allowed) {
#if defined(__SANITIZE_ADDRESS__)
    if (allowed_) __lsan_disable();
#endif
  }
  ~LeakAllowed() {
#if defined(__SANITIZE_ADDRESS__)
    if (allowed_) __lsan_enable();
#endif
  }
  LeakAllowed(const LeakAllowed&) = delete;
  LeakAllowed& operator=(const LeakAllowed&) = delete;

 private:
  bool allowed_;
};

std::string RunOn64(const std::string& module) {
  StandInDC dc;
  const VesselState vessel{0.1, 0.2, 6378137.0, 0.3};
  return RunModule(module, 64, 64, vessel, &dc);
}

TEST(LifeCycleTest, TheModulePasses) {
  EXPECT_EQ(RunOn64(NORVANE_MODULE_PATH), "");
  EXPECT_EQ(LiveDisplays(), 0);
}

TEST(LifeCycleTest, EachFaultIsReported) {
  const struct {
    const char* fault;
    const char* report;
  } cases[] = {
      {"NoFault", ""},
      {"NoEntry", "did not hand its instance handle to InitLib"},
      {"NoInit", "exports no vpcDLLInit"},
      {"NoMode", "registered no mode"},
      {"WrongName", "registered \"Other\", not \"Norvane\""},
      {"WrongKey", "selection key is 48, not 47"},
      {"NoDisplay", "answered 0 to the request for a display"},
      {"PenLeft", "1 pen(s) left undeleted"},
      {"PenNotRestored", "did not select the previous pen again"},
      {"Throws", "let an exception out"},
      {"StaysRegistered", "still registered after unload"},
      {"UnregistersTwice", "unregistered a mode that was not registered"},
      {"NoDelete", "cannot unload the module: the module is still loaded"},
  };
  static_assert(std::size(cases) == test::kFaultCount);
  for (const auto& c : cases) {
    const LeakAllowed leak(std::string(c.fault) == "PenLeft");
    const std::string report = RunOn64(FaultyModule(c.fault));
    if (*c.report == '\0') {
      EXPECT_EQ(report, "") << "fault " << c.fault;
    } else {
      EXPECT_NE(report.find(c.report), std::string::npos)
          << "fault " << c.fault << ": " << report;
    }
    EXPECT_EQ(LiveDisplays(), 0) << "fault " << c.fault;
  }
}

TEST(LifeCycleTest, BadModulesAndSizesAreReported) {
  StandInDC dc;
  const VesselState vessel{};
  const struct {
    std::string module;
    DWORD width;
    DWORD height;
    const char* report;
  } cases[] = {
      {"/nonexistent/Norvane.so", 64, 64, "cannot load the module"},
      {NORVANE_GDI_PATH, 64, 64, "InitLib"},
      {NORVANE_MODULE_PATH, 0, 64, "out of range"},
      {NORVANE_MODULE_PATH, 64, 65536, "out of range"},
  };
  for (const auto& c : cases) {
    const std::string report =
        RunModule(c.module, c.width, c.height, vessel, &dc);
    EXPECT_NE(report.find(c.report), std::string::npos)
        << c.module << ": " << report;
  }
}

}  // namespace
}  // namespace norvane::sim
