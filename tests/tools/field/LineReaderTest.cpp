#include "tools/field/LineReader.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

namespace norvane::tools {
namespace {

constexpr std::size_t kMax = LineReader::kMaxLineLength;

// Every line the reader hands out for `input`; "!" marks one cut as too long.
// The lines of a block are held as handed out and copied only before the
// next Refill, as the reader allows.
std::vector<std::string> ReadAll(const std::string& input) {
  const std::string path =
      testing::TempDir() +
      testing::UnitTest::GetInstance()->current_test_info()->name();
  std::ofstream(path, std::ios::binary) << input;
  const int fd = ::open(path.c_str(), O_RDONLY);
  EXPECT_GE(fd, 0);
  LineReader reader(fd);
  std::vector<std::string> lines;
  std::vector<InputLine> block;
  do {
    block.clear();
    InputLine line;
    while (reader.Next(line)) block.push_back(line);
    for (const InputLine& held : block)
      lines.push_back(std::string(held.text) + (held.tooLong ? "!" : ""));
  } while (reader.Refill());
  EXPECT_EQ(reader.ReadError(), 0);
  ::close(fd);
  return lines;
}

TEST(LineReaderTest, SplitsLines) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(ReadAll(""), Lines{});
  EXPECT_EQ(ReadAll("\n"), Lines{""});
  EXPECT_EQ(ReadAll("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ReadAll("a\r\nb\r\n"), (Lines{"a\r", "b\r"}));
  EXPECT_EQ(ReadAll(std::string("a\0b\n", 4)), Lines{std::string("a\0b", 3)});
}

TEST(LineReaderTest, KeepsLinesWholeAcrossBlocks) {
  std::string input;
  std::vector<std::string> expected;
  for (int i = 0; input.size() < 3 * LineReader::kBlockSize; ++i) {
    expected.push_back(std::to_string(i) + std::string(i % 97, '.'));
    input += expected.back() + '\n';
  }
  EXPECT_EQ(ReadAll(input), expected);
}

TEST(LineReaderTest, CutsLinesThatAreTooLong) {
  const std::string limit(kMax, 'x');
  const std::vector<std::string> expected = {limit, limit + "!", "next",
                                             std::string(kMax, 'z') + "!"};
  EXPECT_EQ(ReadAll(limit + "\n" + limit + "y\nnext\n" +
                    std::string(3 * LineReader::kBlockSize, 'z')),
            expected);
}

}  // namespace
}  // namespace norvane::tools
