#pragma once
/**
 * \file CliChecks.hpp
 * \brief Checks of command-line values that both tools make, as CLI11
 *   validators, so that an option's text is refused in the words the
 *   tools' own parsers use.
 */

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>

#include "tools/common/ParallelFor.hpp"

namespace norvane::tools {

/**
 * A check that one of the tools' parsers reads an option's text.
 *
 * @param[in] name the value's name in the usage text (e.g. "YEAR"), or "".
 * @param[in] parse the parser: nullptr when the whole text reads, else a
 *   reason such as "is not a number".
 * @return the check; it refuses a text with "'TEXT' REASON".
 */
template <typename Value>
CLI::Validator Accepts(const char* name,
                       const char* (*parse)(std::string_view, Value&)) {
  return CLI::Validator(
      [parse](std::string& text) -> std::string {
        Value value;
        const char* problem = parse(text, value);
        return problem ? "'" + text + "' " + problem : std::string();
      },
      name);
}

/**
 * A check that a path names something: an empty one, as from an unset
 * shell variable, is refused with "the path is empty".
 */
inline CLI::Validator NonEmptyPath() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        return text.empty() ? "the path is empty" : std::string();
      },
      "");
}

/**
 * Adds --threads N, the threads that share out a tool's work: 1 to
 * kMaxThreads, by default the machine's hardware threads.
 *
 * @param[in,out] app the tool's options.
 * @param[out] threads set to HardwareThreads() now, and to N when given.
 * @param[in] work what is shared out, for the help text, e.g. "the rows of
 *   the evaluation grid".
 * @param[in] result what is the same for any N, e.g. "the chart".
 */
inline void AddThreadsOption(CLI::App& app, unsigned& threads,
                             const std::string& work,
                             const std::string& result) {
  threads = HardwareThreads();
  app.add_option("--threads", threads,
                 "share out " + work +
                     " among N threads (default: the machine's hardware "
                     "threads); " +
                     result + " is the same for any N")
      ->type_name("N")
      ->check(Accepts("", ParseThreadCount));
}

}  // namespace norvane::tools
