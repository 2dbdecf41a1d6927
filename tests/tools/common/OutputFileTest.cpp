// The tools' output files: what each kind of path gets, that a run's files
// are placed together or not at all, and that a signal leaves no temporary
// file behind.

#include "tools/common/OutputFile.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace norvane::tools {
namespace {

// A fresh directory of the running test's own.
std::string FreshDirectory() {
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  const std::string path = testing::TempDir() + "OutputFileTest." +
                           test->name() + "." + std::to_string(::getpid());
  ::mkdir(path.c_str(), 0755);
  return path + "/";
}

std::vector<std::string> Names(const std::string& directory) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(directory.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Slurp(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

void Put(const std::string& path, const std::string& text, mode_t mode) {
  std::ofstream(path, std::ios::binary) << text;
  ::chmod(path.c_str(), mode);
}

struct stat LinkInfo(const std::string& path) {
  struct stat info {};
  ::lstat(path.c_str(), &info);
  return info;
}

// Writes `text` to one output and places it: "" or the error.
std::string WriteOne(const std::string& path, const std::string& text) {
  OutputFile file(path);
  file.Write(text);
  return PlaceAll({&file}) == nullptr ? std::string() : file.Error();
}

TEST(OutputFileTest, ReplacesRegularFilesKeepingTheirMode) {
  const std::string dir = FreshDirectory();
  Put(dir + "private", "old", 0600);
  Put(dir + "script", "old", 0751);
  for (const char* name : {"private", "script", "new"}) {
    const mode_t before = LinkInfo(dir + name).st_mode;
    EXPECT_EQ(WriteOne(dir + name, "new"), "") << name;
    EXPECT_EQ(Slurp(dir + name), "new") << name;
    const mode_t after = LinkInfo(dir + name).st_mode;
    EXPECT_TRUE(S_ISREG(after)) << name;
    if (before != 0) {
      EXPECT_EQ(after & 07777, before & 07777) << name;
    }
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(LinkInfo(dir + "new").st_mode & 0777, 0666 & ~mask);
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"new", "private", "script"}));
}

TEST(OutputFileTest, FollowsSymbolicLinksToTheFileTheyName) {
  const std::string dir = FreshDirectory();
  ::mkdir((dir + "sub").c_str(), 0755);
  Put(dir + "sub/target", "old", 0640);
  ASSERT_EQ(::symlink("sub/target", (dir + "link").c_str()), 0);
  ASSERT_EQ(::symlink("link", (dir + "link2").c_str()), 0);
  ASSERT_EQ(::symlink("sub/absent", (dir + "dangling").c_str()), 0);
  EXPECT_EQ(WriteOne(dir + "link2", "through two links"), "");
  EXPECT_TRUE(S_ISLNK(LinkInfo(dir + "link").st_mode));
  EXPECT_TRUE(S_ISLNK(LinkInfo(dir + "link2").st_mode));
  EXPECT_EQ(Slurp(dir + "sub/target"), "through two links");
  EXPECT_EQ(LinkInfo(dir + "sub/target").st_mode & 0777, 0640u);
  EXPECT_EQ(WriteOne(dir + "dangling", "made"), "");
  EXPECT_TRUE(S_ISLNK(LinkInfo(dir + "dangling").st_mode));
  EXPECT_EQ(Slurp(dir + "sub/absent"), "made");
  EXPECT_EQ(Names(dir + "sub"), (std::vector<std::string>{"absent", "target"}));
}

TEST(OutputFileTest, WritesThroughWhatIsNotARegularFile) {
  const std::string dir = FreshDirectory();
  const std::string fifo = dir + "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string read;
  std::thread reader([&] { read = Slurp(fifo); });
  {
    OutputFile file(fifo, true);
    ASSERT_TRUE(file.Ok()) << file.Error();
    EXPECT_TRUE(file.WritesThrough());
    file.Write("held ");
    file.Write("until placed");
    EXPECT_EQ(PlaceAll({&file}), nullptr) << file.Error();
  }
  reader.join();
  EXPECT_EQ(read, "held until placed");
  EXPECT_TRUE(S_ISFIFO(LinkInfo(fifo).st_mode));

  // A write error there fails the output: /dev/full, never replaced.
  const struct stat full = LinkInfo("/dev/full");
  OutputFile file("/dev/full");
  file.Write("anything");
  EXPECT_EQ(PlaceAll({&file}), &file);
  EXPECT_EQ(file.Error(), "cannot write /dev/full: No space left on device");
  EXPECT_TRUE(S_ISCHR(LinkInfo("/dev/full").st_mode));
  EXPECT_EQ(LinkInfo("/dev/full").st_ino, full.st_ino);
  EXPECT_EQ(Names(dir), std::vector<std::string>{"fifo"});
}

TEST(OutputFileTest, RefusesPathsThatNameNoFileBeforeAnyWrite) {
  const std::string dir = FreshDirectory();
  const struct {
    std::string path, error;
  } cases[] = {
      {dir, "cannot write " + dir + ": the path names a directory"},
      {dir + ".", "cannot write " + dir + ".: it is a directory"},
      {"", "cannot write : an empty path names no file"},
      {dir + "absent/file",
       "cannot write " + dir + "absent/file: No such file or directory"},
  };
  for (const auto& c : cases) {
    const OutputFile file(c.path);
    EXPECT_FALSE(file.Ok()) << c.path;
    EXPECT_EQ(file.Error(), c.error);
  }
  EXPECT_TRUE(Names(dir).empty());
}

// One failed output withdraws the others: a new file goes, a replaced one
// comes back, and no temporary file or second name stays.
TEST(OutputFileTest, PlacesARunsFilesTogetherOrNotAtAll) {
  const std::string dir = FreshDirectory();
  Put(dir + "old", "old", 0600);
  {
    OutputFile replaced(dir + "old");
    OutputFile made(dir + "made");
    OutputFile broken(dir + "broken");
    for (OutputFile* file : {&replaced, &made, &broken}) file->Write("new");
    broken.Fail("the encoder broke");
    EXPECT_EQ(PlaceAll({&replaced, &made, &broken}), &broken);
  }
  EXPECT_EQ(Names(dir), std::vector<std::string>{"old"});
  {
    OutputFile replaced(dir + "old");
    OutputFile made(dir + "made");
    OutputFile blocked(dir + "blocked");
    for (OutputFile* file : {&replaced, &made, &blocked}) file->Write("new");
    // The path turns into a directory before the rename.
    ::mkdir((dir + "blocked").c_str(), 0755);
    EXPECT_EQ(PlaceAll({&replaced, &made, &blocked}), &blocked);
  }
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"blocked", "old"}));
  EXPECT_EQ(Slurp(dir + "old"), "old");
  EXPECT_EQ(LinkInfo(dir + "old").st_mode & 0777, 0600u);
}

TEST(OutputFileTest, ASignalRemovesTheTemporaryFiles) {
  const std::string dir = FreshDirectory();
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      OutputFile a(dir + "a");
      OutputFile b(dir + "b");
      a.Write("half");
      std::raise(signal);
      ::_exit(0);  // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    EXPECT_TRUE(Names(dir).empty()) << signal;
  }
}

}  // namespace
}  // namespace norvane::tools
