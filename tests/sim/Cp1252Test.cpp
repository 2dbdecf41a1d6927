#include "sim/Cp1252.hpp"

#include <gtest/gtest.h>

namespace norvane::sim {
namespace {

TEST(Cp1252Test, MapsEveryKindOfByte) {
  const struct {
    std::string_view bytes;
    std::string_view utf8;
  } cases[] = {
      {"", ""},
      {"lat: 28.600 ", "lat: 28.600 "},
      {"\xB0", "\xC2\xB0"},                // degree sign
      {"48.000\xB5T", "48.000\xC2\xB5T"},  // micro sign
      {"\xA0", "\xC2\xA0"},                // first of the Latin-1 half
      {"\xFF", "\xC3\xBF"},                // ÿ, the last byte
      {"\x80", "\xE2\x82\xAC"},            // euro sign
      {"\x99", "\xE2\x84\xA2"},            // trade mark sign
      {"\x9F", "\xC5\xB8"},                // Ÿ
      {"\x83", "\xC6\x92"},                // ƒ, two bytes in UTF-8
      {"\x81\x8D\x8F\x90\x9D",             // undefined in Windows-1252
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"a\nb", "a\uFFFDb"},  // controls never break the line
      {std::string_view("\0\x1F\x7F", 3),
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {" ~", " ~"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1252ToUtf8(c.bytes), c.utf8) << c.bytes;
  }
}

}  // namespace
}  // namespace norvane::sim
