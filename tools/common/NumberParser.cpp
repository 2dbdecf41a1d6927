#include "tools/common/NumberParser.hpp"

#include <GeographicLib/Utility.hpp>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <exception>
#include <string>
#include <system_error>

namespace norvane::tools {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// yyyy-mm or yyyy-mm-dd, digits only.
bool IsDate(std::string_view token) {
  constexpr std::string_view kShape = "dddd-dd-dd";
  if (token.size() != 7 && token.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    if (kShape[i] == 'd' ? !IsDigit(token[i]) : token[i] != kShape[i])
      return false;
  }
  return true;
}

}  // namespace

const char* ParseFiniteNumber(std::string_view token, double& value) {
  const char* first = token.data();
  const char* const last = first + token.size();
  // from_chars takes no '+'; allow one, but not "+-1".
  if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
    ++first;
  double parsed = 0.0;
  const auto [end, ec] = std::from_chars(first, last, parsed);
  if (ec == std::errc::result_out_of_range) return "is out of range";
  if (ec != std::errc() || end != last) return "is not a number";
  if (!std::isfinite(parsed)) return "is not finite";
  value = parsed;
  return nullptr;
}

const char* ParseYear(std::string_view token, double& year) {
  const char* problem = ParseFiniteNumber(token, year);
  if (problem == nullptr || problem != std::string_view("is not a number"))
    return problem;
  if (!IsDate(token)) return "is not a number or a date";
  try {
    year = GeographicLib::Utility::fractionalyear<double>(std::string(token));
    return nullptr;
  } catch (const std::exception&) {
    return "is not a valid date";
  }
}

}  // namespace norvane::tools
