#pragma once
// Runs the norvane-chart executable, for the end-to-end tests.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace norvane::chart {

/// A scratch path named after the running test (ctest runs tests at once).
inline std::string ScratchPath(const std::string& suffix) {
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) {
    if (c == '/') c = '_';  // parameterised tests' names
  }
  return testing::TempDir() + name + suffix;
}

inline std::string ReadFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

struct ChartRun {
  int status;       // exit status
  std::string err;  // standard error
};

/// Runs norvane-chart with the arguments, as a shell would split them.
inline ChartRun RunChart(const std::string& arguments) {
  const std::string err = ScratchPath(".err");
  const std::string command =
      std::string(NORVANE_CHART) + " " + arguments + " >/dev/null 2>" + err;
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(err)};
}

}  // namespace norvane::chart
