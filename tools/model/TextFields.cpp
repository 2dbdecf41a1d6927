#include "tools/model/TextFields.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/model/CoefficientFile.hpp"
#include "tools/model/Utf8Text.hpp"

namespace norvane {

std::string Quote(std::string_view text) {
  return "'" + Printable(text.substr(0, 40)) +
         (text.size() > 40 ? "...'" : "'");
}

const char* ParseDouble(std::string_view text, double& value) {
  // from_chars takes no '+'; allow one, but not before a sign.
  if (text.size() > 1 && text[0] == '+' && text[1] != '-')
    text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(),
                                         value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range)
    return "is out of range (too large or too small for a double)";
  if (ec != std::errc() || end != text.data() + text.size())
    return "is not a number";
  return std::isfinite(value) ? nullptr : "is not finite";
}

bool ParseInt(std::string_view text, int& value) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-')
    text.remove_prefix(1);
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

std::string ReadModelText(const std::string& path) {
  const auto fail = [&path](const std::string& fault) {
    return CoefficientFileError(path + ": " + fault);
  };
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw fail(std::string("cannot open: ") + std::strerror(errno));
  std::string text;
  char block[1 << 16];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
    if (text.size() + got > kMaxFileSize) {
      throw fail("larger than " + std::to_string(kMaxFileSize >> 20) +
                 " MiB, too large for a model file");
    }
    text.append(block, got);
  }
  if (std::ferror(file.get()))
    throw fail(std::string("cannot read: ") + std::strerror(errno));
  return text;
}

}  // namespace norvane
