#include "tools/common/OutputFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "tools/common/RemoveOnSignal.hpp"

namespace norvane::tools {
namespace {

// As many links as the kernel follows in one path (Linux's MAXSYMLINKS).
constexpr int kMaxLinks = 40;

std::string Directory(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseName(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

// Follows symbolic links from `path` to the file they end at, which need
// not exist; false (errno set) if a link cannot be read or the chain is too
// long.
bool FollowLinks(std::string path, std::string& target) {
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = std::move(path);
      return true;
    }
    std::string link(static_cast<std::size_t>(st.st_size) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) return false;
    link.resize(static_cast<std::size_t>(n));
    path = link.rfind('/', 0) == 0 ? link : Directory(path) + link;
  }
  errno = ELOOP;
  return false;
}

// Makes a unique file from a pattern ending in XXXXXX; -1 on failure.
int MakeUnique(std::string& pattern) {
  const int fd = ::mkstemp(pattern.data());
  if (fd >= 0) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  return fd;
}

// The pattern of a hidden name beside `target`; the name is shortened so
// that the result stays within a file name's usual 255 bytes.
std::string Beside(const std::string& target, const char* suffix) {
  return Directory(target) + "." + BaseName(target).substr(0, 200) + suffix +
         ".XXXXXX";
}

bool WriteFully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

OutputFile::OutputFile(std::string path, bool holdThrough)
    : path_(std::move(path)), hold_(holdThrough) {
  if (path_ == "-") {
    through_ = true;
    ownsFd_ = false;
    fd_ = STDOUT_FILENO;
    return;
  }
  if (path_.empty()) {
    Fail("an empty path names no file");
    return;
  }
  if (path_.back() == '/') {
    Fail("the path names a directory");
    return;
  }
  Open();
}

void OutputFile::Open() {
  struct stat st;
  if (::stat(path_.c_str(), &st) == 0) {
    existed_ = true;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    if (S_ISDIR(st.st_mode)) return Fail("it is a directory");
    // Opened by the path as given: the kernel's links such as /dev/stdout
    // name no file that could be replaced.
    if (!S_ISREG(st.st_mode)) return Through(path_);
  } else if (errno != ENOENT) {
    return Fail(std::strerror(errno));
  }
  std::string target;
  if (!FollowLinks(path_, target)) return Fail(std::strerror(errno));
  Temporary(target, existed_ ? &st : nullptr);
}

void OutputFile::Through(const std::string& target) {
  through_ = true;
  fd_ = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) Fail(std::strerror(errno));
}

void OutputFile::Temporary(const std::string& target, const struct stat* old) {
  target_ = target;
  std::string pattern = Beside(target, "");
  fd_ = MakeUnique(pattern);
  if (fd_ < 0) return Fail(std::strerror(errno));
  temporary_ = std::move(pattern);
  if (!RemoveOnSignal(temporary_.c_str())) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return Fail("too many output files at once");
  }
  if (old != nullptr) {
    // The owner first: changing it may clear set-id bits of the mode.  Only
    // root may give a file away, and others keep their own ownership.
    if (::fchown(fd_, old->st_uid, old->st_gid) != 0) {
      (void)!::fchown(fd_, static_cast<uid_t>(-1), old->st_gid);
    }
    ::fchmod(fd_, old->st_mode & 07777);
  } else {
    // mkstemp makes the file private; a new file gets the usual mode.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
}

OutputFile::~OutputFile() {
  if (fd_ >= 0 && ownsFd_) ::close(fd_);
  if (!temporary_.empty() && !placed_) ::unlink(temporary_.c_str());
  Unlist(temporary_);
  if (!backup_.empty()) ::unlink(backup_.c_str());
  Unlist(backup_);
}

void OutputFile::Unlist(std::string& path) {
  if (path.empty()) return;
  KeepOnSignal(path.c_str());
  path.clear();
}

bool OutputFile::Replaces(dev_t device, ino_t inode) const {
  return existed_ && device_ == device && inode_ == inode;
}

void OutputFile::Write(std::string_view bytes) {
  if (!Ok()) return;
  if (through_ && hold_) {
    held_.append(bytes);
  } else if (!WriteFully(fd_, bytes)) {
    Fail(std::strerror(errno));
  }
}

void OutputFile::Fail(const std::string& reason) {
  if (Ok()) error_ = "cannot write " + path_ + ": " + reason;
}

bool OutputFile::Close() {
  if (!Ok() || fd_ < 0) return Ok();
  if (!held_.empty() && !WriteFully(fd_, held_)) Fail(std::strerror(errno));
  held_.clear();
  if (Ok() && !through_ && ::fsync(fd_) != 0) Fail(std::strerror(errno));
  if (ownsFd_ && ::close(fd_) != 0) Fail(std::strerror(errno));
  fd_ = -1;
  return Ok();
}

bool OutputFile::Place() {
  if (!Ok() || through_) return Ok();
  if (existed_) {
    // A second name for the file replaced, to put it back should another
    // output of the run fail.
    std::string pattern = Beside(target_, ".old");
    const int fd = MakeUnique(pattern);
    if (fd >= 0) {
      ::close(fd);
      ::unlink(pattern.c_str());
      if (::link(target_.c_str(), pattern.c_str()) == 0) {
        backup_ = std::move(pattern);
        if (!RemoveOnSignal(backup_.c_str())) {
          ::unlink(backup_.c_str());
          backup_.clear();
        }
      }
    }
  }
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail(std::strerror(errno));
    return false;
  }
  placed_ = true;
  Unlist(temporary_);
  return true;
}

void OutputFile::Withdraw() {
  if (!placed_) return;
  if (!backup_.empty()) {
    std::rename(backup_.c_str(), target_.c_str());
  } else if (!existed_) {
    ::unlink(target_.c_str());
  }
  Unlist(backup_);
  placed_ = false;
}

void OutputFile::Keep() {
  if (!backup_.empty()) ::unlink(backup_.c_str());
  Unlist(backup_);
}

const OutputFile* PlaceAll(const std::vector<OutputFile*>& files) {
  // Temporary files first, so that nothing is written through for a run
  // that cannot complete its files.
  for (const bool through : {false, true}) {
    for (OutputFile* file : files) {
      if (file->WritesThrough() == through && !file->Close()) return file;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!files[i]->Place()) {
      for (std::size_t k = 0; k < i; ++k) files[k]->Withdraw();
      return files[i];
    }
  }
  for (OutputFile* file : files) file->Keep();
  return nullptr;
}

}  // namespace norvane::tools
