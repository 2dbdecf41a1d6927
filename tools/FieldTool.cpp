#include "tools/FieldTool.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/Angles.hpp"

namespace norvane::tools {
namespace {

FieldElements EvaluateAt(const FieldModel& model, const GeodeticPoint& p) {
  FieldElements f;
  model.Evaluate(p.altitude, Radians(p.latitude), Radians(p.longitude), p.year,
                 f.X, f.Y, f.Z, f.F, f.H, f.D, f.I);
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
      err_(err) {
  if (options_.header) std::fputs(formatter_.Header(), out_);
}

void FieldTool::RunWords(const std::vector<std::string_view>& words) {
  batch_ = Batch();
  Process(ParsePointFields(words.data(), words.size(), options_.defaultYear), 0,
          batch_);
  Write(batch_);
}

void FieldTool::RunStream(int fd) {
  LineReader reader(fd);
  std::vector<InputLine> lines;
  do {
    lines.clear();
    InputLine line;
    while (reader.Next(line)) lines.push_back(line);
    ProcessBlock(lines);
  } while (reader.Refill());
  if (reader.ReadError() != 0) {
    std::fprintf(err_, "norvane-field: cannot read input: %s\n",
                 std::strerror(reader.ReadError()));
    failed_ = true;
  }
}

int FieldTool::Finish() {
  if (std::fflush(out_) != 0 || std::ferror(out_)) {
    std::fprintf(err_, "norvane-field: cannot write output\n");
    failed_ = true;
  }
  return failed_ ? 1 : 0;
}

void FieldTool::ProcessBlock(const std::vector<InputLine>& lines) {
  batch_.size = 0;
  batch_.err.clear();
  ProcessLines(lines.data(), lines.size(), linesRead_ + 1, batch_);
  Write(batch_);
  std::fflush(out_);
  linesRead_ += lines.size();
}

void FieldTool::ProcessLines(const InputLine* lines, std::size_t count,
                             unsigned long long firstLineNumber,
                             Batch& batch) const {
  batch.failed = false;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned long long lineNumber = firstLineNumber + i;
    if (lines[i].tooLong) {
      Process({LineKind::kError,
               {},
               "line is longer than " +
                   std::to_string(LineReader::kMaxLineLength) + " bytes"},
              lineNumber, batch);
    } else {
      Process(ParsePointLine(lines[i].text, options_.defaultYear), lineNumber,
              batch);
    }
  }
}

void FieldTool::Process(const ParsedLine& parsed, unsigned long long lineNumber,
                        Batch& batch) const {
  std::string_view error = parsed.error;
  if (parsed.kind == LineKind::kBlank) {
    batch.Append("\n");
    return;
  }
  if (parsed.kind == LineKind::kPoint) {
    const FieldElements field = EvaluateAt(model_, parsed.point);
    if (IsFinite(field)) {
      char* const line = batch.Room(FieldFormatter::kMaxLineLength);
      batch.size +=
          static_cast<std::size_t>(formatter_.Format(field, line) - line);
      return;
    }
    error = "the field is not finite at this point and year";
  }
  batch.failed = true;
  batch.Append("error: ");
  batch.Append(error);
  batch.Append("\n");
  batch.err.append("norvane-field: ");
  batch.err.append(lineNumber == 0 ? "command line"
                                   : "line " + std::to_string(lineNumber));
  batch.err.append(": ").append(error).append("\n");
}

char* FieldTool::Batch::Room(std::size_t count) {
  if (out.size() - size < count)
    out.resize(std::max(2 * out.size(), size + count));
  return out.data() + size;
}

void FieldTool::Batch::Append(std::string_view text) {
  if (text.empty()) return;  // an empty buffer may have no storage yet
  std::memcpy(Room(text.size()), text.data(), text.size());
  size += text.size();
}

void FieldTool::Write(const Batch& batch) {
  if (batch.size > 0) std::fwrite(batch.out.data(), 1, batch.size, out_);
  std::fputs(batch.err.c_str(), err_);
  failed_ = failed_ || batch.failed;
}

}  // namespace norvane::tools
