#include "tools/model/TextFields.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/model/CoefficientFile.hpp"

namespace norvane {

std::string Quote(std::string_view text) {
  std::string quoted = "'";
  for (std::size_t i = 0; i < text.size() && i < 40; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    quoted += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  }
  return quoted + (text.size() > 40 ? "...'" : "'");
}

bool ParseDouble(std::string_view text, double& value) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(),
                                         value, std::chars_format::general);
  return ec == std::errc() && end == text.data() + text.size() &&
         std::isfinite(value);
}

bool ParseInt(std::string_view text, int& value) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
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
  if (std::ferror(file.get())) throw fail("cannot read");
  return text;
}

}  // namespace norvane
