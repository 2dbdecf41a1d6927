#include "tools/common/CurrentYear.hpp"

#include <cmath>
#include <ctime>

#include "tools/common/NumberParser.hpp"

namespace norvane::tools {

double CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm utc;
  if (now == static_cast<std::time_t>(-1) || gmtime_r(&now, &utc) == nullptr)
    return NAN;
  const long long year = utc.tm_year + 1900LL;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const double seconds = utc.tm_yday * 86400.0 + utc.tm_hour * 3600.0 +
                         utc.tm_min * 60.0 + utc.tm_sec;
  return static_cast<double>(year) + seconds / ((leap ? 366 : 365) * 86400.0);
}

const char* ParseYearOrNow(std::string_view text, double& year) {
  if (text != "now") return ParseYear(text, year);
  year = CurrentYear();
  return std::isfinite(year) ? nullptr : "cannot be read from the clock";
}

}  // namespace norvane::tools
