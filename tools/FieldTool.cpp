#include "tools/FieldTool.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/Wmm2005.hpp"
#include "tools/Angles.hpp"

namespace norvane::tools {
namespace {

bool IsFinite(const FieldElements& f) {
  return std::isfinite(f.X) && std::isfinite(f.Y) && std::isfinite(f.Z) &&
         std::isfinite(f.F) && std::isfinite(f.H) && std::isfinite(f.D) &&
         std::isfinite(f.I);
}

// The bounds of the model's validity that `outside` counts, as words:
// "after 2010.0, above 850 km", each with its count if `counted`.
std::string Bounds(unsigned long long before, unsigned long long after,
                   unsigned long long below, unsigned long long above,
                   bool counted) {
  const struct {
    unsigned long long count;
    const char* words;
  } bounds[] = {{before, "before 2005.0"},
                {after, "after 2010.0"},
                {below, "below -1 km"},
                {above, "above 850 km"}};
  static_assert(kWmm2005ValidFrom == 2005.0 && kWmm2005ValidUntil == 2010.0 &&
                    kWmm2005LowestAltitude == -1.0 &&
                    kWmm2005HighestAltitude == 850.0,
                "the words name the model's bounds");
  std::string text;
  for (const auto& bound : bounds) {
    if (bound.count == 0) continue;
    if (!text.empty()) text += ", ";
    if (counted) text += std::to_string(bound.count) + " ";
    text += bound.words;
  }
  return text;
}

}  // namespace

FieldTool::FieldTool(const FieldToolOptions& options, std::FILE* out,
                     std::FILE* err)
    : options_(options),
      formatter_(options.significantDigits, options.radians),
      out_(out),
      err_(err) {
  if (options_.circle) {
    const GeodeticPoint& c = *options_.circle;
    circle_.emplace(model_, c.altitude, Radians(c.latitude), c.year);
  }
  if (options_.header) std::fputs(formatter_.Header(options_.rates), out_);
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
    std::fprintf(err_,
                 "norvane-field: %llu point%s outside the model's validity "
                 "(2005.0 to 2010.0, -1 to 850 km): %s\n",
                 outside_.points, outside_.points == 1 ? " lay" : "s lay",
                 Bounds(outside_.before, outside_.after, outside_.below,
                        outside_.above, true)
                     .c_str());
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
  const bool before = point.year < kWmm2005ValidFrom;
  const bool after = point.year > kWmm2005ValidUntil;
  const bool below = point.altitude < kWmm2005LowestAltitude;
  const bool above = point.altitude > kWmm2005HighestAltitude;
  if (before || after || below || above) {
    if (options_.strict) {
      Fail("the point lies outside the model's validity: " +
               Bounds(before, after, below, above, false),
           lineNumber);
      EndLine(parsed);
      return;
    }
    ++outside_.points;
    outside_.before += before;
    outside_.after += after;
    outside_.below += below;
    outside_.above += above;
  }
  FieldElements field;
  FieldElements rates;
  if (!Evaluate(point, field, rates)) {
    Fail("the field is not finite at this point and year", lineNumber);
  } else {
    char* const line = Room(FieldFormatter::kMaxLength);
    size_ += static_cast<std::size_t>(
        formatter_.Format(field, options_.rates ? &rates : nullptr, line) -
        line);
  }
  EndLine(parsed);
}

bool FieldTool::Evaluate(const GeodeticPoint& p, FieldElements& f,
                         FieldElements& rates) const {
  double dX = 0.0, dY = 0.0, dZ = 0.0;
  if (circle_ && options_.rates) {
    circle_->EvaluateWithRates(Radians(p.longitude), f.X, f.Y, f.Z, f.F, f.H,
                               f.D, f.I, dX, dY, dZ);
  } else if (circle_) {
    circle_->Evaluate(Radians(p.longitude), f.X, f.Y, f.Z, f.F, f.H, f.D,
                      f.I);
  } else if (options_.rates) {
    model_.EvaluateWithRates(p.altitude, Radians(p.latitude),
                             Radians(p.longitude), p.year, f.X, f.Y, f.Z,
                             f.F, f.H, f.D, f.I, dX, dY, dZ);
  } else {
    model_.Evaluate(p.altitude, Radians(p.latitude), Radians(p.longitude),
                    p.year, f.X, f.Y, f.Z, f.F, f.H, f.D, f.I);
  }
  if (options_.rates) rates = RatesOfChange(f, dX, dY, dZ);
  return IsFinite(f);
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
