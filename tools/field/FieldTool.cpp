#include "tools/field/FieldTool.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "tools/common/Angles.hpp"
#include "tools/common/PiecesInOrder.hpp"
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

// Input lines to a piece: a read block holds some thousands.
constexpr std::uint64_t kLinesPerPiece = 256;
// Grid points to a block of pieces: tens of megabytes of text at most.
constexpr std::uint64_t kGridBlock = std::uint64_t{1} << 15;

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
  Output out;
  Process(ParsePointFields(words.data(), words.size(), options_.defaultYear), 0,
          out);
  Take(out);
}

void FieldTool::RunStream(int fd) {
  LineReader reader(fd);
  std::vector<InputLine> lines;
  do {
    lines.clear();
    for (InputLine line; reader.Next(line);) lines.push_back(line);
    const unsigned long long first = linesRead_ + 1;
    PiecesInOrder<Output>(
        lines.size(), kLinesPerPiece, options_.threads, 0,
        [&](Output& out, std::uint64_t begin, std::uint64_t end) {
          out.Clear();
          for (std::uint64_t i = begin; i < end; ++i)
            ProcessLine(lines[i], first + i, out);
        },
        [this](const Output& out) {
          Take(out);
          return true;
        });
    linesRead_ += lines.size();
    std::fflush(out_);
  } while (reader.Refill());
  if (reader.ReadError() != 0) {
    std::fprintf(err_, "norvane-field: cannot read input: %s\n",
                 std::strerror(reader.ReadError()));
    failed_ = true;
  }
}

void FieldTool::ProcessLine(const InputLine& line,
                            unsigned long long lineNumber, Output& out) const {
  if (line.tooLong) {
    ParsedLine tooLong{};
    tooLong.kind = LineKind::kError;
    tooLong.error = "line is longer than " +
                    std::to_string(LineReader::kMaxLineLength) + " bytes";
    Process(tooLong, lineNumber, out);
  } else if (circle_) {
    Process(ParseLongitudeLine(line.text), lineNumber, out);
  } else {
    Process(ParsePointLine(line.text, options_.defaultYear), lineNumber, out);
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

void FieldTool::Process(const ParsedLine& parsed, unsigned long long lineNumber,
                        Output& out) const {
  if (parsed.kind == LineKind::kBlank) {
    Append("\n", out);
    return;
  }
  if (parsed.kind == LineKind::kError) {
    Fail(parsed.error, lineNumber, out);
    EndLine(parsed, out);
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
  if (ToEllipsoid(point, lineNumber, out) && Admit(point, lineNumber, out))
    Emit(point, circle, lineNumber, out);
  EndLine(parsed, out);
}

bool FieldTool::ToEllipsoid(GeodeticPoint& point, unsigned long long lineNumber,
                            Output& out) const {
  if (!options_.geoid) return true;
  point.altitude = options_.geoid->EllipsoidHeight(
      point.latitude, point.longitude, point.altitude);
  if (!std::isnan(point.altitude)) return true;
  Fail(Geoid::kNoHeight, lineNumber, out);
  return false;
}

void FieldTool::RunGrid(const PointGrid& grid, double altitude, double year) {
  const std::uint64_t rows = StepCount(grid.lat0, grid.lat1, grid.dlat);
  const std::uint64_t columns = StepCount(grid.lon0, grid.lon1, grid.dlon);
  const unsigned long long first = linesRead_;
  PiecesInOrder<Output>(
      rows * columns, GridPieceSize(columns), options_.threads, kGridBlock,
      [&](Output& out, std::uint64_t begin, std::uint64_t end) {
        out.Clear();
        std::uint64_t row = begin / columns, column = begin % columns;
        GeodeticPoint point{0.0, 0.0, altitude, year};
        std::optional<ModelCircle> circle;
        for (std::uint64_t i = begin; i < end; ++i) {
          if (i == begin || column == 0) {
            point.latitude = StepValue(grid.lat0, grid.lat1, grid.dlat, row);
            if (!options_.geoid)
              circle.emplace(model_.At(year), altitude, Radians(point.latitude),
                             year);
          }
          point.longitude = StepValue(grid.lon0, grid.lon1, grid.dlon, column);
          ProcessGridPoint(point, circle ? &*circle : nullptr, first + i + 1,
                           out);
          if (++column == columns) {
            column = 0;
            ++row;
          }
        }
      },
      [this](const Output& out) {
        Take(out);
        return true;
      });
  linesRead_ += rows * columns;
}

void FieldTool::ProcessGridPoint(GeodeticPoint point, const ModelCircle* circle,
                                 unsigned long long lineNumber,
                                 Output& out) const {
  char* const start = Room(kGridPrefixLength, out);
  out.size += static_cast<std::size_t>(
      GridPrefix(point.latitude, point.longitude, start) - start);
  if (ToEllipsoid(point, lineNumber, out) && Admit(point, lineNumber, out))
    Emit(point, circle, lineNumber, out);
  Append("\n", out);
}

bool FieldTool::Admit(const GeodeticPoint& point, unsigned long long lineNumber,
                      Output& out) const {
  const Beyond beyond = BoundsBeyond(validity_, point.year, point.altitude);
  if (!beyond.Any()) return true;
  if (options_.strict) {
    Fail(RefusalText(validity_, beyond), lineNumber, out);
    return false;
  }
  out.outside.Add(beyond);
  return true;
}

void FieldTool::Emit(const GeodeticPoint& p, const ModelCircle* circle,
                     unsigned long long lineNumber, Output& out) const {
  const FieldAndRates r =
      circle ? circle->Evaluate(Radians(p.longitude), options_.rates)
             : model_.Evaluate(p.altitude, Radians(p.latitude),
                               Radians(p.longitude), p.year, options_.rates);
  if (!AllFinite(r.field)) {
    Fail("the field is not finite at this point and year", lineNumber, out);
    return;
  }
  const double gv =
      Radians(GridVariation(Degrees(r.field.D), p.latitude, p.longitude));
  const FieldElements sigma =
      options_.uncertainty ? Uncertainty(*options_.uncertainty, r.field.H)
                           : FieldElements{};
  char* const line = Room(FieldFormatter::kMaxLength, out);
  out.size += static_cast<std::size_t>(
      formatter_.Format(r.field, options_.rates ? &r.rates : nullptr,
                        options_.gridVariation ? &gv : nullptr,
                        options_.uncertainty ? &sigma : nullptr, line) -
      line);
}

void FieldTool::Fail(std::string_view error, unsigned long long lineNumber,
                     Output& out) const {
  out.failed = true;
  Append("error: ", out);
  Append(error, out);
  out.messages.append("norvane-field: ");
  out.messages.append(lineNumber == 0 ? "command line"
                                      : "line " + std::to_string(lineNumber));
  out.messages.append(": ").append(error).append("\n");
}

void FieldTool::EndLine(const ParsedLine& parsed, Output& out) {
  if (parsed.labelled) {
    Append(" #", out);
    Append(parsed.label, out);
  }
  Append("\n", out);
}

char* FieldTool::Room(std::size_t count, Output& out) {
  if (out.capacity - out.size < count) {
    const std::size_t capacity = std::max(2 * out.capacity, out.size + count);
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (out.size > 0) std::memcpy(grown.get(), out.buffer.get(), out.size);
    out.buffer = std::move(grown);
    out.capacity = capacity;
  }
  return out.buffer.get() + out.size;
}

void FieldTool::Append(std::string_view text, Output& out) {
  if (text.empty()) return;  // an empty buffer may have no storage yet
  std::memcpy(Room(text.size(), out), text.data(), text.size());
  out.size += text.size();
}

void FieldTool::Output::Clear() {
  size = 0;
  messages.clear();
  outside = OutsideCount();
  failed = false;
}

void FieldTool::Take(const Output& out) {
  if (out.size > 0) std::fwrite(out.buffer.get(), 1, out.size, out_);
  std::fputs(out.messages.c_str(), err_);
  outside_.Add(out.outside);
  failed_ = failed_ || out.failed;
}

}  // namespace norvane::tools
