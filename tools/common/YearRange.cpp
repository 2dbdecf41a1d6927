#include "tools/common/YearRange.hpp"

#include "tools/common/NumberParser.hpp"
#include "tools/common/Steps.hpp"

namespace norvane::tools {

const char* ParseYearRange(std::string_view text, YearRange& range) {
  const std::size_t first = text.find(':');
  const std::size_t second =
      first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos ||
      text.find(':', second + 1) != std::string_view::npos)
    return "is not FROM:TO:STEP";
  YearRange r;
  if (const char* problem = ParseYear(text.substr(0, first), r.first))
    return problem;
  if (const char* problem =
          ParseYear(text.substr(first + 1, second - first - 1), r.last))
    return problem;
  if (const char* problem = ParseFiniteNumber(text.substr(second + 1), r.step))
    return problem;
  if (!(r.step > 0.0)) return "has a step that is not positive";
  if (r.last < r.first) return "ends before it starts";
  // Compared before counting: the count of a huge span would not fit.
  if ((r.last - r.first) / r.step + 1.0 > static_cast<double>(kMaxRangeYears))
    return "has more than 100000 years";
  range = r;
  return nullptr;
}

std::uint64_t YearCount(const YearRange& range) {
  return StepCount(range.first, range.last, range.step);
}

double YearAt(const YearRange& range, std::uint64_t i) {
  return StepValue(range.first, range.last, range.step, i);
}

}  // namespace norvane::tools
