#include "display/Norvane.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "common/Pi.hpp"
#include "sim/StandInHost.hpp"

namespace norvane {
namespace {

constexpr double kDegree = kPi / 180.0;
constexpr double kInf = std::numeric_limits<double>::infinity();

// One recorded call as text, so a whole page compares at once and a
// mismatch shows where it is.
std::string Describe(const StandInDC& dc, const DrawCall& call) {
  char text[64];
  switch (call.kind) {
    case DrawCall::Kind::kSelect:
      std::snprintf(text, sizeof text, "select %d %d %06X", call.pen.style,
                    call.pen.width, static_cast<unsigned>(call.pen.colour));
      return text;
    case DrawCall::Kind::kMoveTo:
      std::snprintf(text, sizeof text, "move %d,%d", call.x0, call.y0);
      return text;
    case DrawCall::Kind::kLineTo:
      std::snprintf(text, sizeof text, "line %d,%d-%d,%d %06X", call.x0,
                    call.y0, call.x1, call.y1,
                    static_cast<unsigned>(call.pen.colour));
      return text;
    case DrawCall::Kind::kText:
      std::snprintf(text, sizeof text, "text %d,%d ", call.x0, call.y0);
      return text + std::string(dc.Text(call));
  }
  return {};
}

class NorvaneTest : public ::testing::Test {
 protected:
  // Paints one page of a display of the given size; returns its calls.
  std::vector<std::string> Paint(DWORD width, DWORD height) {
    Norvane display(width, height, &vessel);
    display.Update(&dc);
    std::vector<std::string> page;
    for (const DrawCall& call : dc.Calls()) page.push_back(Describe(dc, call));
    return page;
  }

  std::vector<const DrawCall*> CallsOf(DrawCall::Kind kind) const {
    std::vector<const DrawCall*> found;
    for (const DrawCall& call : dc.Calls()) {
      if (call.kind == kind) found.push_back(&call);
    }
    return found;
  }

  sim::VesselState state{0.0, 0.0, 6378137.0, 0.0};
  VESSEL vessel{&state};
  StandInDC dc;
};

// Field at 40 N 105 W on the ellipsoid for 2006.0: X 20735.978, Y 3524.012,
// Z 49225.329, H 21033.294, F 53530.668 nT, D 0.168338, I 1.166991 rad.
// Heading 0.5 rad; magnetic heading 0.5 - D = 0.331662 rad.  The host's own
// pen is selected before and after; the display's two pens are deleted with
// it, and no call is refused (no pen used or deleted twice).
TEST_F(NorvaneTest, PaintsTheWholePage) {
  state = {-105 * kDegree, 40 * kDegree, 6378137.0, 0.5};
  const std::size_t pensBefore = gdi::LivePens();
  const std::size_t refusedBefore = gdi::RefusedCalls();
  const HPEN hostPen = CreatePen(PS_SOLID, 2, 0x0000FF00);
  SelectObject(&dc, hostPen);
  const std::vector<std::string> expected = {
      "select 0 2 00FF00",
      "text 5,0 Norvane",
      "text 5,10 lat:    40.000 \xB0",
      "text 5,20 lon:  -105.000 \xB0",
      "text 5,30 rad:     6.378Mm",
      "text 5,40 x:      20.736\xB5T",
      "text 5,50 y:       3.524\xB5T",
      "text 5,60 z:      49.225\xB5T",
      "text 5,70 h:      21.033\xB5T",
      "text 5,80 ti:     53.531\xB5T",
      "text 5,90 dec:     9.645 \xB0",
      "text 5,100 dip:    66.864 \xB0",
      "text 5,110 THead:    28.648 \xB0",
      "text 5,120 MHead:    19.003 \xB0",
      "select 0 1 FFFFFF",
      "move 100,100",
      "line 100,100-61,29 FFFFFF",
      "select 0 1 0000FF",
      "move 100,100",
      "line 100,100-73,24 0000FF",
      "select 0 2 00FF00",
  };
  EXPECT_EQ(Paint(200, 260), expected);
  SelectObject(&dc, dc.DefaultPen());
  DeleteObject(hostPen);
  EXPECT_EQ(gdi::LivePens(), pensBefore);
  EXPECT_EQ(gdi::RefusedCalls(), refusedBefore);
}

// The two heading rows for headings that wrap; at 40 N 105 W the
// declination is 0.168338 rad, so heading 0.05 gives a magnetic heading of
// 2 pi - 0.118338 rad.
TEST_F(NorvaneTest, WrapsHeadingsIntoOneTurn) {
  const struct {
    double heading;
    const char* trueRow;
    const char* magneticRow;
  } cases[] = {
      {-0.1, "THead:   354.270 \xB0", nullptr},
      {0.05, "THead:     2.865 \xB0", "MHead:   353.220 \xB0"},
  };
  state = {-105 * kDegree, 40 * kDegree, 6378137.0, 0.0};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heading);
    dc.Clear();
    state.heading = c.heading;
    const std::vector<std::string> page = Paint(100, 260);
    ASSERT_GE(page.size(), 13u);
    EXPECT_EQ(page[11], std::string("text 5,110 ") + c.trueRow);
    if (c.magneticRow != nullptr) {
      EXPECT_EQ(page[12], std::string("text 5,120 ") + c.magneticRow);
    }
  }
}

TEST_F(NorvaneTest, ConsumesOnlyBracketsCommaAndFullStop) {
  Norvane display(100, 100, &vessel);
  for (DWORD key : {26u, 27u, 51u, 52u}) {
    EXPECT_TRUE(display.ConsumeKeyBuffered(key)) << key;
  }
  for (DWORD key : {0u, 25u, 28u, 50u, 53u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(display.ConsumeKeyBuffered(key)) << key;
  }
}

// Headings and positions the host should never report still give a full
// page: twelve rows, the host's pen back, and only needles that are finite.
// At the body's centre the field is NaN, so the magnetic needle is missing;
// just off it the field overflows to infinities but the declination is
// finite.
TEST_F(NorvaneTest, PaintsDegenerateStatesWithoutFault) {
  const struct {
    const char* name;
    DWORD width;
    sim::VesselState state;
    std::size_t needles;
  } cases[] = {
      {"NaN heading", 100, {0.0, 0.0, 6378137.0, std::nan("")}, 0},
      {"+inf heading", 100, {0.0, 0.0, 6378137.0, kInf}, 0},
      {"-inf heading", 100, {0.0, 0.0, 6378137.0, -kInf}, 0},
      {"huge heading", 100, {0.0, 0.0, 6378137.0, 1e300}, 2},
      {"body's centre", 100, {0.3, 0.0, 0.0, 1.0}, 1},
      {"next to the centre", 100, {0.3, 0.7, 0.0, 1.0}, 2},
      {"NaN position", 100, {std::nan(""), 0.0, kInf, 1.0}, 1},
      {"width 2^32 - 1", 0xFFFFFFFFu, {0.0, 0.0, 6378137.0, 1.0}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dc.Clear();
    state = c.state;
    Paint(c.width, 260);
    EXPECT_EQ(CallsOf(DrawCall::Kind::kText).size(), 13u);
    EXPECT_EQ(CallsOf(DrawCall::Kind::kLineTo).size(), c.needles);
    EXPECT_EQ(dc.SelectedPen(), dc.DefaultPen());
  }
}

// GDI out of handles: one of the display's pens cannot be made, or cannot be
// selected.  After every page the host's pen is selected again, a needle is
// drawn only in its own colour, and once the display is gone every pen it
// made is deleted and none of them is left selected.
TEST_F(NorvaneTest, GivesTheHostItsPenBackWhenGdiFails) {
  const struct {
    const char* name;
    gdi::Failing function;
    std::size_t call;  // which call from the display's construction fails
    std::vector<COLORREF> lines;
  } cases[] = {
      {"first pen not made", gdi::Failing::kCreatePen, 1, {0x0000FF}},
      {"second pen not made", gdi::Failing::kCreatePen, 2, {0xFFFFFF}},
      {"first pen not selected", gdi::Failing::kSelectObject, 1, {0x0000FF}},
      {"second pen not selected", gdi::Failing::kSelectObject, 2, {0xFFFFFF}},
  };
  state = {-105 * kDegree, 40 * kDegree, 6378137.0, 0.5};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t pensBefore = gdi::LivePens();
    const std::size_t refusedBefore = gdi::RefusedCalls();
    const HPEN hostPen = CreatePen(PS_SOLID, 2, 0x0000FF00);
    ASSERT_NE(SelectObject(&dc, hostPen), nullptr);
    {
      gdi::FailCall(c.function, c.call);
      Norvane display(200, 260, &vessel);
      for (int page = 0; page < 2; ++page) {
        dc.Clear();
        display.Update(&dc);
        EXPECT_EQ(dc.SelectedPen(), hostPen);
        std::vector<COLORREF> lines;
        for (const DrawCall* line : CallsOf(DrawCall::Kind::kLineTo)) {
          lines.push_back(line->pen.colour);
        }
        // The failure hits the first page only; the second draws what the
        // first did when a pen is missing, both needles otherwise.
        if (page == 0 || c.function == gdi::Failing::kCreatePen) {
          EXPECT_EQ(lines, c.lines);
        } else {
          EXPECT_EQ(lines.size(), 2u);
        }
      }
    }
    gdi::FailCall(c.function, 0);
    EXPECT_EQ(dc.SelectedPen(), hostPen);
    EXPECT_EQ(gdi::LivePens(), pensBefore + 1);
    SelectObject(&dc, dc.DefaultPen());
    DeleteObject(hostPen);
    EXPECT_EQ(gdi::LivePens(), pensBefore);
    EXPECT_EQ(gdi::RefusedCalls(), refusedBefore);
  }
}

}  // namespace
}  // namespace norvane
