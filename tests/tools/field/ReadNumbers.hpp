#pragma once
// Reads back the numbers of one line of the tool's output.

#include <charconv>
#include <string>
#include <vector>

namespace norvane::tools {

/// The space-separated numbers of `line`, each read to the nearest double.
inline std::vector<double> ReadNumbers(const std::string& line) {
  std::vector<double> numbers;
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end) {
    double value = 0;
    p = std::from_chars(p, end, value).ptr + 1;
    numbers.push_back(value);
  }
  return numbers;
}

}  // namespace norvane::tools
