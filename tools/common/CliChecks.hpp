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

}  // namespace norvane::tools
