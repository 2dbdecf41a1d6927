#include "platform/StandInGdi.hpp"

#include <gtest/gtest.h>

namespace {

// A pen deleted while selected keeps drawing with the attributes it had,
// and its stale handle is refused afterwards instead of being used.
TEST(StandInGdiTest, PenDeletedWhileSelectedIsNotReadAgain) {
  StandInDC dc;
  const HPEN pen = CreatePen(PS_SOLID, 3, 0x00123456);
  ASSERT_EQ(SelectObject(&dc, pen), dc.DefaultPen());
  ASSERT_EQ(DeleteObject(pen), TRUE);
  LineTo(&dc, 4, 5);
  EXPECT_EQ(dc.Calls().back().pen.colour, 0x00123456u);
  EXPECT_EQ(dc.Calls().back().pen.width, 3);

  const std::size_t refused = norvane::gdi::RefusedCalls();
  EXPECT_EQ(SelectObject(&dc, pen), nullptr);
  EXPECT_EQ(DeleteObject(pen), FALSE);
  EXPECT_EQ(norvane::gdi::RefusedCalls(), refused + 2);
}

}  // namespace
