#include "tools/PointParser.hpp"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <utility>

namespace norvane::tools {
namespace {

constexpr std::size_t kMaxColumns = 4;
constexpr std::size_t kMaxQuotedBytes = 32;
constexpr const char* kColumnNames[kMaxColumns] = {"LAT", "LON", "ALT", "YEAR"};

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The token in quotes, safe to print on one line of a terminal.
std::string Quote(std::string_view token) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted = "'";
  for (std::size_t i = 0; i < token.size() && i < kMaxQuotedBytes; ++i) {
    const auto byte = static_cast<unsigned char>(token[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      quoted += static_cast<char>(byte);
    } else {
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0xF];
    }
  }
  if (token.size() > kMaxQuotedBytes) quoted += "...";
  quoted += '\'';
  return quoted;
}

ParsedLine Error(std::string message) {
  return {LineKind::kError, {}, std::move(message)};
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

ParsedLine ParsePointLine(std::string_view line, double defaultYear) {
  const std::size_t comment = line.find('#');
  if (comment != std::string_view::npos) line = line.substr(0, comment);

  std::string_view tokens[kMaxColumns];
  std::size_t count = 0;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsSpace(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && !IsSpace(line[i])) ++i;
    if (count < kMaxColumns) tokens[count] = line.substr(start, i - start);
    ++count;
  }
  if (count == 0) return {LineKind::kBlank, {}, {}};
  return ParsePointFields(tokens, count, defaultYear);
}

ParsedLine ParsePointFields(const std::string_view* fields, std::size_t count,
                            double defaultYear) {
  if (count < 3 || count > kMaxColumns)
    return Error("expected 3 or 4 numbers (LAT LON ALT [YEAR]), found " +
                 std::to_string(count) + (count == 1 ? " field" : " fields"));

  double values[kMaxColumns] = {0.0, 0.0, 0.0, defaultYear};
  for (std::size_t column = 0; column < count; ++column) {
    if (const char* problem = ParseFiniteNumber(fields[column], values[column]))
      return Error(std::string(kColumnNames[column]) + " " +
                   Quote(fields[column]) + " " + problem);
  }
  if (values[0] < -90.0 || values[0] > 90.0)
    return Error("LAT " + Quote(fields[0]) + " is outside [-90, 90]");
  return {LineKind::kPoint, {values[0], values[1], values[2], values[3]}, {}};
}

}  // namespace norvane::tools
