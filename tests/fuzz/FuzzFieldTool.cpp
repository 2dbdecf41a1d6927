// norvane-field's whole run over a stream of any bytes: lines split across
// read blocks, lines too long, any mix of points, comments and garbage.
//
// Input: a count of significant digits (byte, modulo 18), flags (byte: bit 0
// radians, bit 1 header, bit 2 rates, bit 3 strict, bit 4 a circle of
// latitude, bit 5 its year before the model's validity), the circle's
// latitude (byte: degrees, modulo 181, less 90), a repeat count (byte: the
// stream is the rest of the input, 1 to 64 times over), then that rest.
// Repeating lets a short input make a stream of several read blocks, with
// lines longer than the longest the tool takes.
//
// Properties: one output line per input line (after the header, if any);
// every line that is not a result or blank is "error: ..." with a message of
// its own on the error stream; besides those, the error stream holds at
// most one line, the count of points outside the model's validity, and none
// when strict; the status is 1 exactly when there was an error.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Fuzz.hpp"
#include "tools/field/FieldTool.hpp"

namespace {

using norvane::fuzz::Require;

constexpr int kMaxDigits = 17;
constexpr int kMaxRepeats = 64;

// A stream's text, collected in memory.
class MemoryStream {
 public:
  MemoryStream() : file_(open_memstream(&data_, &size_)) {
    Require(file_ != nullptr, "memory stream opened");
  }
  ~MemoryStream() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(data_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  std::FILE* File() { return file_; }

  /// Closes the stream and gives its text.
  std::string_view Text() {
    std::fclose(file_);
    file_ = nullptr;
    return {data_, size_};
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

// A file descriptor reading the given bytes from the start.
int MemoryFile(std::string_view bytes) {
  const int fd = memfd_create("fuzz_field_tool", 0);
  Require(fd >= 0, "memory file created");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    Require(n > 0, "memory file written");
    done += static_cast<std::size_t>(n);
  }
  Require(lseek(fd, 0, SEEK_SET) == 0, "memory file rewound");
  return fd;
}

std::size_t CountLines(std::string_view text) {
  std::size_t lines = 0;
  for (const char c : text) lines += c == '\n';
  return lines + (!text.empty() && text.back() != '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  norvane::fuzz::FuzzInput input(data, size);
  norvane::tools::FieldToolOptions options;
  options.significantDigits = input.Take<std::uint8_t>() % (kMaxDigits + 1);
  const auto flags = input.Take<std::uint8_t>();
  options.radians = (flags & 1) != 0;
  options.header = (flags & 2) != 0;
  options.rates = (flags & 4) != 0;
  options.strict = (flags & 8) != 0;
  const double latitude = input.Take<std::uint8_t>() % 181 - 90.0;
  if ((flags & 16) != 0) {
    options.circle = norvane::tools::GeodeticPoint{
        latitude, 0.0, 0.0, (flags & 32) != 0 ? 2004.0 : 2006.0};
  }
  const int repeats = 1 + input.Take<std::uint8_t>() % kMaxRepeats;
  const std::string_view chunk(
      reinterpret_cast<const char*>(data) + (size - input.Remaining()),
      input.Remaining());
  std::string stream;
  for (int i = 0; i < repeats; ++i) stream += chunk;

  const int fd = MemoryFile(stream);
  MemoryStream out;
  MemoryStream err;
  int status = 0;
  {
    const norvane::TimeVaryingModel model;
    norvane::tools::FieldTool tool(model, options, out.File(), err.File());
    tool.RunStream(fd);
    status = tool.Finish();
  }
  close(fd);

  std::string_view results = out.Text();
  if (options.header) {
    const std::size_t headerEnd = results.find('\n');
    Require(headerEnd != std::string_view::npos, "the header is a line");
    results.remove_prefix(headerEnd + 1);
  }
  Require(results.empty() || results.back() == '\n', "whole lines out");
  Require(CountLines(results) == CountLines(stream),
          "one output line per input line");
  std::size_t errors = 0;
  for (std::size_t at = 0; at < results.size();) {
    const std::size_t end = results.find('\n', at);
    errors += results.compare(at, 7, "error: ") == 0;
    at = end + 1;
  }
  const std::string_view messages = err.Text();
  std::size_t lineMessages = 0;
  for (std::size_t at = 0; at < messages.size();) {
    lineMessages += messages.compare(at, 20, "norvane-field: line ") == 0;
    at = messages.find('\n', at) + 1;
  }
  Require(lineMessages == errors, "one message per bad line");
  const std::size_t others = CountLines(messages) - lineMessages;
  Require(others == 0 || (others == 1 && !options.strict &&
                          messages.find("outside the model's validity (") !=
                              std::string_view::npos),
          "at most the count of points outside, and not when strict");
  Require(status == (errors > 0 ? 1 : 0), "status 1 exactly for bad lines");
  return 0;
}
