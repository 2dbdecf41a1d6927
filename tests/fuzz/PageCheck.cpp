#include "PageCheck.hpp"

#include <string_view>

#include "Fuzz.hpp"
#include "sim/StandInHost.hpp"

namespace norvane::fuzz {
namespace {

constexpr int kRows = 12;
constexpr std::size_t kLineBuffer = 260;  // the display's, terminator included

}  // namespace

int PaintAndCheck(MFD& display, std::uint16_t width, std::uint16_t height) {
  const std::size_t refusedBefore = gdi::RefusedCalls();
  StandInDC dc;
  display.Update(&dc);

  int texts = 0;
  int lines = 0;
  int moves = 0;
  int lastRowY = 0;
  const int origin = width / 2;
  for (const DrawCall& call : dc.Calls()) {
    switch (call.kind) {
      case DrawCall::Kind::kText: {
        const std::string_view text = dc.Text(call);
        if (texts == 0) {
          Require(text == "Norvane" && call.x0 == sim::kTitleX &&
                      call.y0 == sim::kTitleY,
                  "the title comes first");
        } else {
          Require(text.size() < kLineBuffer &&
                      text.find('\0') == std::string_view::npos,
                  "a row fits the line buffer");
          Require(call.y0 >= lastRowY && call.y0 <= height,
                  "rows go down the surface, in order");
          lastRowY = call.y0;
        }
        ++texts;
        break;
      }
      case DrawCall::Kind::kMoveTo:
        Require(call.x0 == origin && call.y0 == origin,
                "a needle starts at the origin");
        ++moves;
        break;
      case DrawCall::Kind::kLineTo:
        Require(moves == lines + 1 && call.x0 == origin && call.y0 == origin,
                "a needle is one line from the origin");
        Require(call.x1 >= 0 && call.x1 <= width && call.y1 >= 0 &&
                    call.y1 <= width,
                "a needle ends inside the surface's width square");
        ++lines;
        break;
      case DrawCall::Kind::kSelect:
        break;
    }
  }
  Require(texts == 1 + kRows, "a title and twelve rows");
  Require(lines <= 2 && moves == lines, "at most two needles");
  Require(dc.SelectedPen() == dc.DefaultPen(), "pen selection balanced");
  Require(gdi::RefusedCalls() == refusedBefore, "no bad handle passed");
  return lines;
}

}  // namespace norvane::fuzz
