#include "tools/field/FieldTool.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "tools/common/Angles.hpp"
#include "tools/common/Steps.hpp"
#include "tools/field/OutsideValidity.hpp"

namespace norvane::tools {
namespace {

// The "LAT LON " that starts a grid line: shortest round-trip decimals, at
// most 24 characters each.
constexpr std::size_t kGridPrefixLength = 2 * 25;
char* GridPrefix(double latitude, double longitude, char* out) {
  out = std::to_chars(out, out + 24, latitude).ptr;
  *out++ = ' ';
  out = std::to_chars(out, out + 24, longitude).ptr;
  *out++ = ' ';
  return out;
}

}  // namespace

FieldTool::FieldTool(const TimeVaryingModel& model,
                     const FieldToolOptions& options, std::FILE* out,
                     std::FILE* err)
    : model_(model),
      validity_(model.validity()),
      options_(options),
      formatter_(options.significantDigits, options.radians),
      out_(out),
      err_(err) {
  if (options_.circle) {
    const GeodeticPoint& c = *options_.circle;
    circle_.emplace(model_.At(c.year), c.altitude, Radians(c.latitude), c.year);
  }
  if (options_.header) {
    std::fputs(formatter_
                   .Header(options_.rates, options_.gridVariation,
                           options_.uncertainty.has_value())
                   .c_str(),
               out_);
  }
}

void FieldTool::RunWords(const std::vector<std::string_view>& words) {
  Process(ParsePointFields(words.data(), words.size(), options_.defaultYear),
          0);
  Write();
}

void FieldTool::RunStream(int fd) {
  LineReader reader(fd);
  do {
    InputLine line;
    while (reader.Next(line)) {
      ++linesRead_;
      if (line.tooLong) {
        ParsedLine tooLong{};
        tooLong.kind = LineKind::kError;
        tooLong.error = "line is longer than " +
                        std::to_string(LineReader::kMaxLineLength) + " bytes";
        Process(tooLong, linesRead_);
      } else if (circle_) {
        Process(ParseLongitudeLine(line.text), linesRead_);
      } else {
        Process(ParsePointLine(line.text, options_.defaultYear), linesRead_);
      }
    }
    Write();
    std::fflush(out_);
  } while (reader.Refill());
  if (reader.ReadError() != 0) {
    std::fprintf(err_, "norvane-field: cannot read input: %s\n",
                 std::strerror(reader.ReadError()));
    failed_ = true;
  }
}

int FieldTool::Finish() {
  if (outside_.points > 0) {
    std::fprintf(err_, "norvane-field: %s\n",
                 SummaryText(validity_, outside_).c_str());
  }
  if (std::fflush(out_) != 0 || std::ferror(out_)) {
    std::fprintf(err_, "norvane-field: cannot write output\n");
    failed_ = true;
  }
  return failed_ ? 1 : 0;
}

void FieldTool::Process(const ParsedLine& parsed,
                        unsigned long long lineNumber) {
  if (parsed.kind == LineKind::kBlank) {
    Append("\n");
    return;
  }
  if (parsed.kind == LineKind::kError) {
    Fail(parsed.error, lineNumber);
    EndLine(parsed);
    return;
  }
  GeodeticPoint point = parsed.point;
  if (circle_) {
    point.latitude = options_.circle->latitude;
    point.altitude = options_.circle->altitude;
    point.year = options_.circle->year;
  }
  // Along a circle the height above the ellipsoid is one only when given
  // so; heights above the geoid take each point alone.
  const ModelCircle* circle = options_.geoid ? nullptr
                              : circle_      ? &*circle_
                                             : nullptr;
  if (ToEllipsoid(point, lineNumber) && Admit(point, lineNumber))
    Emit(point, circle, lineNumber);
  EndLine(parsed);
}

bool FieldTool::ToEllipsoid(GeodeticPoint& point,
                            unsigned long long lineNumber) {
  if (!options_.geoid) return true;
  point.altitude = options_.geoid->EllipsoidHeight(
      point.latitude, point.longitude, point.altitude);
  if (!std::isnan(point.altitude)) return true;
  Fail(Geoid::kNoHeight, lineNumber);
  return false;
}

void FieldTool::RunGrid(const PointGrid& grid, double altitude, double year) {
  const std::uint64_t rows = StepCount(grid.lat0, grid.lat1, grid.dlat);
  const std::uint64_t columns = StepCount(grid.lon0, grid.lon1, grid.dlon);
  const ParsedLine unlabelled{};
  for (std::uint64_t i = 0; i < rows; ++i) {
    GeodeticPoint point{StepValue(grid.lat0, grid.lat1, grid.dlat, i), 0.0,
                        altitude, year};
    std::optional<ModelCircle> circle;
    if (!options_.geoid)
      circle.emplace(model_.At(year), altitude, Radians(point.latitude), year);
    for (std::uint64_t j = 0; j < columns; ++j) {
      point.longitude = StepValue(grid.lon0, grid.lon1, grid.dlon, j);
      point.altitude = altitude;
      ++linesRead_;
      char* const start = Room(kGridPrefixLength);
      size_ += static_cast<std::size_t>(
          GridPrefix(point.latitude, point.longitude, start) - start);
      if (ToEllipsoid(point, linesRead_) && Admit(point, linesRead_))
        Emit(point, circle ? &*circle : nullptr, linesRead_);
      EndLine(unlabelled);
      if (size_ >= LineReader::kBlockSize) Write();
    }
  }
  Write();
}

bool FieldTool::Admit(const GeodeticPoint& point,
                      unsigned long long lineNumber) {
  const Beyond beyond = BoundsBeyond(validity_, point.year, point.altitude);
  if (!beyond.Any()) return true;
  if (options_.strict) {
    Fail(RefusalText(validity_, beyond), lineNumber);
    return false;
  }
  outside_.Add(beyond);
  return true;
}

void FieldTool::Emit(const GeodeticPoint& p, const ModelCircle* circle,
                     unsigned long long lineNumber) {
  const FieldAndRates r =
      circle ? circle->Evaluate(Radians(p.longitude), options_.rates)
             : model_.Evaluate(p.altitude, Radians(p.latitude),
                               Radians(p.longitude), p.year, options_.rates);
  if (!AllFinite(r.field)) {
    Fail("the field is not finite at this point and year", lineNumber);
    return;
  }
  const double gv =
      Radians(GridVariation(Degrees(r.field.D), p.latitude, p.longitude));
  const FieldElements sigma =
      options_.uncertainty ? Uncertainty(*options_.uncertainty, r.field.H)
                           : FieldElements{};
  char* const line = Room(FieldFormatter::kMaxLength);
  size_ += static_cast<std::size_t>(
      formatter_.Format(r.field, options_.rates ? &r.rates : nullptr,
                        options_.gridVariation ? &gv : nullptr,
                        options_.uncertainty ? &sigma : nullptr, line) -
      line);
}

void FieldTool::Fail(std::string_view error, unsigned long long lineNumber) {
  failed_ = true;
  Append("error: ");
  Append(error);
  messages_.append("norvane-field: ");
  messages_.append(lineNumber == 0 ? "command line"
                                   : "line " + std::to_string(lineNumber));
  messages_.append(": ").append(error).append("\n");
}

void FieldTool::EndLine(const ParsedLine& parsed) {
  if (parsed.labelled) {
    Append(" #");
    Append(parsed.label);
  }
  Append("\n");
}

char* FieldTool::Room(std::size_t count) {
  if (buffer_.size() - size_ < count)
    buffer_.resize(std::max(2 * buffer_.size(), size_ + count));
  return buffer_.data() + size_;
}

void FieldTool::Append(std::string_view text) {
  if (text.empty()) return;  // an empty buffer may have no storage yet
  std::memcpy(Room(text.size()), text.data(), text.size());
  size_ += text.size();
}

void FieldTool::Write() {
  if (size_ > 0) std::fwrite(buffer_.data(), 1, size_, out_);
  std::fputs(messages_.c_str(), err_);
  size_ = 0;
  messages_.clear();
}

}  // namespace norvane::tools
