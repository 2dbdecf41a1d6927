#include "tools/FieldTool.hpp"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

#include "tools/Angles.hpp"
#include "tools/LineReader.hpp"

namespace norvane::tools {
namespace {

constexpr std::size_t kOutputBufferSize = LineReader::kBlockSize;

FieldElements EvaluateAt(const FieldModel& model, const GeodeticPoint& p) {
  FieldElements f;
  model.Evaluate(p.altitude, Radians(p.latitude), Radians(p.longitude),
                 p.year, f.X, f.Y, f.Z, f.F, f.H, f.D, f.I);
  return f;
}

bool IsFinite(const FieldElements& f) {
  return std::isfinite(f.X) && std::isfinite(f.Y) && std::isfinite(f.Z) &&
         std::isfinite(f.F) && std::isfinite(f.H) && std::isfinite(f.D) &&
         std::isfinite(f.I);
}

}  // namespace

FieldTool::FieldTool(const FieldToolOptions& options, std::FILE* out,
                     std::FILE* err)
    : options_(options),
      formatter_(options.significantDigits, options.radians),
      out_(out),
      err_(err),
      output_(kOutputBufferSize) {
  if (options_.header) Append(formatter_.Header());
}

void FieldTool::RunWords(const std::vector<std::string_view>& words) {
  Process(ParsePointFields(words.data(), words.size(), options_.defaultYear));
}

void FieldTool::RunStream(int fd) {
  LineReader reader(fd);
  InputLine line;
  do {
    while (reader.Next(line)) {
      ++lineNumber_;
      if (line.tooLong) {
        ReportError("line is longer than " +
                    std::to_string(LineReader::kMaxLineLength) + " bytes");
      } else {
        Process(ParsePointLine(line.text, options_.defaultYear));
      }
    }
    Flush();
  } while (reader.Refill());
  if (reader.ReadError() != 0) {
    std::fprintf(err_, "norvane-field: cannot read input: %s\n",
                 std::strerror(reader.ReadError()));
    failed_ = true;
  }
}

int FieldTool::Finish() {
  Flush();
  if (std::fflush(out_) != 0 || std::ferror(out_)) {
    std::fprintf(err_, "norvane-field: cannot write output\n");
    failed_ = true;
  }
  return failed_ ? 1 : 0;
}

void FieldTool::Process(const ParsedLine& parsed) {
  switch (parsed.kind) {
    case LineKind::kBlank:
      Append("\n");
      return;
    case LineKind::kError:
      ReportError(parsed.error);
      return;
    case LineKind::kPoint:
      break;
  }
  const FieldElements field = EvaluateAt(model_, parsed.point);
  if (!IsFinite(field)) {
    ReportError("the field is not finite at this point and year");
    return;
  }
  if (output_.size() - used_ < FieldFormatter::kMaxLineLength) Flush();
  used_ = static_cast<std::size_t>(
      formatter_.Format(field, output_.data() + used_) - output_.data());
}

void FieldTool::ReportError(const std::string& message) {
  failed_ = true;
  if (lineNumber_ == 0) {
    std::fprintf(err_, "norvane-field: command line: %s\n", message.c_str());
  } else {
    std::fprintf(err_, "norvane-field: line %llu: %s\n", lineNumber_,
                 message.c_str());
  }
  Append("error: ");
  Append(message);
  Append("\n");
}

void FieldTool::Append(std::string_view text) {
  if (output_.size() - used_ < text.size()) Flush();
  if (output_.size() < text.size()) {
    std::fwrite(text.data(), 1, text.size(), out_);
    return;
  }
  std::memcpy(output_.data() + used_, text.data(), text.size());
  used_ += text.size();
}

void FieldTool::Flush() {
  if (used_ > 0) std::fwrite(output_.data(), 1, used_, out_);
  used_ = 0;
  std::fflush(out_);
}

}  // namespace norvane::tools
