#include "tools/chart/OutputFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace norvane::chart {

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
  const std::size_t slash = path_.rfind('/');
  const std::string directory =
      slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
  const std::string name =
      slash == std::string::npos ? path_ : path_.substr(slash + 1);
  if (name.empty()) {
    Fail("not a file name");
    return;
  }
  temporary_ = directory + "." + name + ".XXXXXX";
  std::vector<char> pattern(temporary_.begin(), temporary_.end());
  pattern.push_back('\0');
  fd_ = ::mkstemp(pattern.data());
  if (fd_ < 0) {
    Fail(std::strerror(errno));
    return;
  }
  temporary_ = pattern.data();
  // mkstemp makes the file private; give it the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Write(std::string_view bytes) {
  while (Ok() && !bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Fail(std::strerror(errno));
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void OutputFile::Fail(const std::string& reason) {
  if (Ok()) error_ = "cannot write " + path_ + ": " + reason;
}

bool OutputFile::Commit() {
  if (Ok() && ::close(fd_) != 0) Fail(std::strerror(errno));
  fd_ = -1;
  if (Ok() && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    Fail(std::strerror(errno));
  }
  if (Ok()) temporary_.clear();
  Discard();
  return Ok();
}

void OutputFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace norvane::chart
