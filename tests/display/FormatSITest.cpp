#include "display/FormatSI.hpp"

#include <gtest/gtest.h>

#include <string>

namespace norvane {
namespace {

std::string Format(double value) {
  char line[260];
  FormatSI(line, sizeof line, "%9.3f%c", value);
  return line;
}

TEST(FormatSITest, ScalesIntoOneToThousand) {
  EXPECT_EQ(Format(4.8e-5), "   48.000\xB5");
  EXPECT_EQ(Format(6378137), "    6.378M");
}

}  // namespace
}  // namespace norvane
