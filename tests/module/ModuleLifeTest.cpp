// The module loaded from its shared library: its exports, displays, the
// version, and what detach does.  Attach and registration are held to the
// stand-in host's life-cycle checks (tests/sim/LifeCycleTest.cpp).

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "module/ModuleEntry.hpp"
#include "sim/ModuleLoader.hpp"
#include "sim/StandInHost.hpp"

#if !defined(__SANITIZE_ADDRESS__)
namespace {

// While not negative, the process-wide malloc (which the module's allocation
// of a display, the stand-in GDI's pens and operator new bind to at load)
// gives that many more blocks and then no memory.  AddressSanitizer brings
// its own allocator, which cannot be replaced: there the release build's
// run of NoMemoryForADisplayCreatesNothing stands for both.
long mallocsLeft = -1;

}  // namespace

extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* malloc(std::size_t size) {
  if (mallocsLeft == 0) return nullptr;
  if (mallocsLeft > 0) --mallocsLeft;
  return __libc_malloc(size);
}
#endif

namespace norvane::sim {
namespace {

using InitExit = void (*)(HINSTANCE);
using VersionFunction = int (*)();

std::uintptr_t Packed(DWORD width, DWORD height) {
  return std::uintptr_t{width} | (std::uintptr_t{height} << 16);
}

class ModuleLifeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHost();
    std::string error;
    module_ = LoadModule(NORVANE_MODULE_PATH, error);
    ASSERT_NE(module_, nullptr) << error;
  }

  void TearDown() override {
    if (module_ != nullptr) Unload();
  }

  void Unload() {
    std::string error;
    EXPECT_TRUE(UnloadModule(module_, error)) << error;
    module_ = nullptr;
  }

  template <typename Function>
  Function Export(const char* name) const {
    return reinterpret_cast<Function>(GetProcAddress(module_, name));
  }

  // vpcDLLInit, then the registered mode's message procedure.
  MFDModeMsgProc Init() {
    Export<InitExit>("vpcDLLInit")(module_);
    return RegisteredModes().empty() ? nullptr
                                     : RegisteredModes().front().msgproc;
  }

  HINSTANCE module_ = nullptr;
  VesselState state_{0.0, 0.5, 6378137.0, 0.0};
  VESSEL vessel_{&state_};
};

TEST_F(ModuleLifeTest, ExitByTheHostBeforeUnloadUnregistersOnce) {
  Init();
  Export<InitExit>("vpcDLLExit")(module_);
  EXPECT_TRUE(RegisteredModes().empty());
  Unload();
  EXPECT_EQ(StaleUnregisterCalls(), 0);
}

TEST_F(ModuleLifeTest, VersionIsTheDateAndAskedForOnce) {
  const auto version = Export<VersionFunction>("GetModuleVersion");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version(), 20060425);
  EXPECT_EQ(version(), 20060425);
  EXPECT_EQ(Date2IntCalls(), 1);
}

// The module's own exports are found through its handle; a dependency's (the
// C library's malloc) are not, though dlsym alone finds them.
TEST_F(ModuleLifeTest, LooksUpOnlyItsOwnExports) {
  const struct {
    const char* name;
    bool found;
  } cases[] = {{"vpcDLLInit", true},       {"vpcDLLExit", true},
               {"GetModuleVersion", true}, {"ExitModule", false},
               {"malloc", false},          {"NoSuchExport", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(GetProcAddress(module_, c.name) != nullptr, c.found) << c.name;
  }
  EXPECT_NE(dlsym(module_, "malloc"), nullptr);
}

TEST_F(ModuleLifeTest, OtherMessagesAndNoVesselCreateNothing) {
  const MFDModeMsgProc proc = Init();
  ASSERT_NE(proc, nullptr);
  const std::size_t pens = gdi::LivePens();
  const struct {
    std::uint32_t msg;
    VESSEL* vessel;
  } cases[] = {
      {0, &vessel_}, {2, &vessel_}, {0xFFFFFFFFu, &vessel_}, {1, nullptr}};
  for (const auto& c : cases) {
    EXPECT_EQ(proc(c.msg, 0, Packed(400, 200),
                   reinterpret_cast<std::uintptr_t>(c.vessel)),
              0)
        << c.msg;
  }
  EXPECT_EQ(LiveDisplays(), 0);
  EXPECT_EQ(gdi::LivePens(), pens);
}

#if !defined(__SANITIZE_ADDRESS__)
// Each allocation a display needs fails in turn (its storage, then each pen's
// in the stand-in GDI, whose CreatePen throws): the answer is 0, no exception
// leaves the message procedure, and nothing made before the failure is left.
TEST_F(ModuleLifeTest, NoMemoryForADisplayCreatesNothing) {
  const MFDModeMsgProc proc = Init();
  ASSERT_NE(proc, nullptr);
  const std::size_t pens = gdi::LivePens();
  long failures = 0;
  for (long granted = 0;; ++granted) {
    mallocsLeft = granted;
    const std::intptr_t answer = proc(
        1, 0, Packed(400, 200), reinterpret_cast<std::uintptr_t>(&vessel_));
    mallocsLeft = -1;
    if (answer != 0) {
      delete reinterpret_cast<MFD*>(answer);
      break;
    }
    ++failures;
    EXPECT_EQ(LiveDisplays(), 0) << granted;
    EXPECT_EQ(gdi::LivePens(), pens) << granted;
  }
  // The storage and at least one block for each pen.
  EXPECT_GE(failures, 3);
}
#endif

// The size packed into the first parameter is the surface the display paints:
// the rows and the needles' origin and tip at heading 0, worked out by hand
// for each size.  The tip lies a tenth of the width below the top, but 0.5 -
// 0.4 is a little less than 0.1 in binary, so a whole tenth truncates one
// pixel short (400 wide: 39, not 40).
TEST_F(ModuleLifeTest, DisplayPaintsOnThePackedSurface) {
  const MFDModeMsgProc proc = Init();
  ASSERT_NE(proc, nullptr);
  const struct {
    DWORD width;
    DWORD height;
    std::vector<int> rowY;
    int origin;  // x and y
    int tipY;
  } cases[] = {
      {400, 200, {7, 15, 23, 30, 38, 46, 53, 61, 69, 76, 84, 92}, 200, 39},
      {260, 260, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}, 130, 25},
      {1,
       65535,
       {2520, 5041, 7561, 10082, 12602, 15123, 17644, 20164, 22685, 25205,
        27726, 30246},
       0,
       0},
      {65535, 1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 32767, 6553},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const std::size_t pens = gdi::LivePens();
    const std::intptr_t answer =
        proc(1, 0, Packed(c.width, c.height),
             reinterpret_cast<std::uintptr_t>(&vessel_));
    ASSERT_NE(answer, 0);
    std::unique_ptr<MFD> display(reinterpret_cast<MFD*>(answer));
    EXPECT_EQ(LiveDisplays(), 1);
    EXPECT_EQ(gdi::LivePens(), pens + 2);

    StandInDC dc;
    const HGDIOBJ penBefore = dc.SelectedPen();
    display->Update(&dc);
    EXPECT_EQ(dc.SelectedPen(), penBefore);

    std::vector<int> rowY;
    std::vector<DrawCall> lines;
    for (const DrawCall& call : dc.Calls()) {
      if (call.kind == DrawCall::Kind::kText) rowY.push_back(call.y0);
      if (call.kind == DrawCall::Kind::kLineTo) lines.push_back(call);
    }
    ASSERT_EQ(rowY.size(), 13u);
    EXPECT_EQ(rowY[0], kTitleY);
    rowY.erase(rowY.begin());
    EXPECT_EQ(rowY, c.rowY);
    ASSERT_EQ(lines.size(), 2u);
    for (const DrawCall& line : lines) {
      EXPECT_EQ(line.x0, c.origin);
      EXPECT_EQ(line.y0, c.origin);
    }
    // Heading 0: the white needle points straight up.
    EXPECT_EQ(lines[0].pen.colour, 0x00FFFFFFu);
    EXPECT_EQ(lines[0].x1, c.origin);
    EXPECT_EQ(lines[0].y1, c.tipY);
    EXPECT_EQ(lines[1].pen.colour, 0x000000FFu);

    display.reset();
    EXPECT_EQ(LiveDisplays(), 0);
    EXPECT_EQ(gdi::LivePens(), pens);
  }
}

// The entry chooses the exit callback among the exports of the library whose
// handle it is given; a library with neither "ExitModule" nor "vpcDLLExit"
// gets none, and its detach does nothing.
TEST_F(ModuleLifeTest, DetachRunsTheExitCallbackFoundAtAttach) {
  Init();
  void* gdi = dlopen(NORVANE_GDI_PATH, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(gdi, nullptr);
  const struct {
    HINSTANCE library;
    bool unregisters;
  } cases[] = {{gdi, false}, {module_, true}};
  for (const auto& c : cases) {
    const std::size_t modes = RegisteredModes().size();
    const int initCalls = InitLibCalls();
    EXPECT_EQ(ModuleEntry(c.library, kModuleAttach), 1);
    EXPECT_EQ(InitLibCalls(), initCalls + 1);
    EXPECT_EQ(LastInitLibInstance(), c.library);
    for (const unsigned long other : {2ul, 3ul}) {
      EXPECT_EQ(ModuleEntry(c.library, other), 1);
    }
    EXPECT_EQ(RegisteredModes().size(), modes);
    EXPECT_EQ(ModuleEntry(c.library, kModuleDetach), 1);
    EXPECT_EQ(RegisteredModes().empty(), c.unregisters);
    EXPECT_EQ(StaleUnregisterCalls(), 0);
  }
  dlclose(gdi);
  Unload();
  EXPECT_EQ(StaleUnregisterCalls(), 0);
}

}  // namespace
}  // namespace norvane::sim
