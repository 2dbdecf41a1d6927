#include "tools/field/LineReader.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace norvane::tools {

// A partial line of at most kMaxLineLength bytes is kept across refills, so
// the buffer always has room for a whole block after it.
LineReader::LineReader(int fd)
    : fd_(fd), buffer_(kBlockSize + kMaxLineLength + 1) {}

bool LineReader::Next(InputLine& line) {
  while (begin_ < end_) {
    const char* const first = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const auto* newline =
        static_cast<const char*>(std::memchr(first, '\n', available));
    if (newline != nullptr) {
      const auto length = static_cast<std::size_t>(newline - first);
      begin_ += length + 1;
      if (skipping_) {
        skipping_ = false;
        continue;
      }
      line = {{first, length}, length > kMaxLineLength};
      if (line.tooLong) line.text = line.text.substr(0, kMaxLineLength);
      return true;
    }
    if (skipping_) {
      begin_ = end_;
      return false;
    }
    if (available > kMaxLineLength) {
      line = {{first, kMaxLineLength}, true};
      skipping_ = true;
      begin_ = end_;
      return true;
    }
    if (endOfInput_) {
      line = {{first, available}, false};
      begin_ = end_;
      return true;
    }
    return false;
  }
  return false;
}

bool LineReader::Refill() {
  if (endOfInput_) return false;
  const std::size_t kept = end_ - begin_;
  std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
  begin_ = 0;
  end_ = kept;
  ssize_t count;
  do {
    count = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
  } while (count < 0 && errno == EINTR);
  if (count < 0) readError_ = errno;
  if (count <= 0) {
    endOfInput_ = true;
  } else {
    end_ += static_cast<std::size_t>(count);
  }
  return true;
}

}  // namespace norvane::tools
