#include "tools/FixedChars.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace norvane::tools {
namespace {

std::string Expected(double value, int decimals) {
  char text[kMaxFixedCharsLength];
  return std::string(text, std::to_chars(text, text + sizeof text, value,
                                         std::chars_format::fixed, decimals)
                               .ptr);
}

std::string Actual(double value, int decimals) {
  char text[kMaxFixedCharsLength];
  return std::string(text, FixedChars(text, value, decimals));
}

// Values on both sides of every boundary of the fast path: zeros,
// subnormals, exact ties of three and six decimals, 2^32, and the ends.
std::vector<double> EdgeValues() {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {0.0,
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::min(),
                                0.0005,
                                0.0625,
                                0.1875,
                                2.5,
                                4294967296.0,
                                std::nextafter(4294967296.0, 0.0),
                                std::nextafter(4294967296.0, kInf),
                                std::numeric_limits<double>::max(),
                                kInf,
                                std::numeric_limits<double>::quiet_NaN()};
  for (int j = 1; j < 2000; j += 2) {
    values.push_back(j / 16.0);    // ties at three decimals
    values.push_back(j / 128.0);   // ties at six decimals
    values.push_back(j * 0.0005);  // near-ties, either side
  }
  const std::size_t count = values.size();
  for (std::size_t i = 0; i < count; ++i) values.push_back(-values[i]);
  return values;
}

TEST(FixedCharsTest, MatchesToCharsOnEdges) {
  for (const double value : EdgeValues()) {
    for (int decimals = 0; decimals <= 9; ++decimals) {
      ASSERT_EQ(Actual(value, decimals), Expected(value, decimals))
          << value << " " << decimals;
    }
  }
}

TEST(FixedCharsTest, MatchesToCharsOnRandomDoubles) {
  std::mt19937_64 random(2005);
  for (int i = 0; i < 300000; ++i) {
    // Random mantissa and sign, binary exponents from 2^-40 to 2^40.
    const std::uint64_t bits =
        (random() & 0x800FFFFFFFFFFFFFu) |
        static_cast<std::uint64_t>(1023 - 40 + random() % 81) << 52;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    const int decimals = i % 10;
    ASSERT_EQ(Actual(value, decimals), Expected(value, decimals))
        << value << " " << decimals;
  }
}

}  // namespace
}  // namespace norvane::tools
