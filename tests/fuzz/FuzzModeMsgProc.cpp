// The display mode's message procedure, called up to four times with any
// message code, MFD identifier and surface parameter, and a vessel that is
// either null or a valid stand-in vessel anywhere with any heading.
//
// Input: call count - 1 (byte, modulo 4); per call: message code, MFD
// identifier (uint32), surface parameter (uint64), vessel choice (byte: odd
// for a vessel), longitude, latitude, radius, heading (doubles).
//
// Properties: a call makes a display exactly when the code asks for one and
// a vessel is given; each display paints a sound page (see PageCheck.hpp)
// while the others live, and deleting them all leaves no display and no pen.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Fuzz.hpp"
#include "PageCheck.hpp"
#include "module/ModuleExports.hpp"
#include "sim/StandInHost.hpp"

namespace {

using norvane::fuzz::Require;

constexpr std::size_t kMaxCalls = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  norvane::fuzz::FuzzInput input(data, size);
  const std::size_t calls = 1 + input.Take<std::uint8_t>() % kMaxCalls;
  const std::size_t pensBefore = norvane::gdi::LivePens();

  std::array<norvane::sim::VesselState, kMaxCalls> states;
  std::vector<std::unique_ptr<VESSEL>> vessels;
  std::vector<std::unique_ptr<MFD>> displays;
  for (std::size_t i = 0; i < calls; ++i) {
    const auto msg = input.Take<std::uint32_t>();
    const auto mfd = input.Take<std::uint32_t>();
    const auto wparam =
        static_cast<std::uintptr_t>(input.Take<std::uint64_t>());
    const bool withVessel = (input.Take<std::uint8_t>() & 1) != 0;
    states[i].longitude = input.Take<double>();
    states[i].latitude = input.Take<double>();
    states[i].radius = input.Take<double>();
    states[i].heading = input.Take<double>();
    VESSEL* vessel = nullptr;
    if (withVessel) {
      vessels.push_back(std::make_unique<VESSEL>(&states[i]));
      vessel = vessels.back().get();
    }

    const std::intptr_t result = norvane::ModeMsgProc(
        msg, mfd, wparam, reinterpret_cast<std::uintptr_t>(vessel));
    Require((result != 0) == (msg == norvane::kMsgCreateDisplay && withVessel),
            "a display exactly for a request with a vessel");
    if (result == 0) continue;
    displays.emplace_back(reinterpret_cast<MFD*>(result));
    norvane::fuzz::PaintAndCheck(*displays.back(),
                                 static_cast<std::uint16_t>(wparam),
                                 static_cast<std::uint16_t>(wparam >> 16));
  }
  Require(norvane::sim::LiveDisplays() == static_cast<int>(displays.size()),
          "one host object per display");
  Require(norvane::gdi::LivePens() == pensBefore + 2 * displays.size(),
          "two pens per display");
  displays.clear();
  Require(norvane::sim::LiveDisplays() == 0, "displays destroyed");
  Require(norvane::gdi::LivePens() == pensBefore, "pens deleted");
  return 0;
}
