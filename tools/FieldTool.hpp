#pragma once
/**
 * \file FieldTool.hpp
 * \brief The work of norvane-field: points in, field elements out, one
 *   output line per input line.
 */

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "model/FieldModel.hpp"
#include "tools/FieldFormatter.hpp"
#include "tools/LineReader.hpp"
#include "tools/PointParser.hpp"

namespace norvane::tools {

/// How norvane-field was asked to work.
struct FieldToolOptions {
  double defaultYear = 2006.0;  ///< decimal year of lines without one
  int significantDigits = 0;    ///< 1..17, or 0 for the fixed default
  bool radians = false;         ///< D and I in radians instead of degrees
  bool header = false;          ///< print the column names first
};

/**
 * \brief Evaluates the field for lines of points and writes the results.
 *
 * For every input line exactly one output line: the field elements of a
 * point, an empty line for a blank or comment-only line, or "error: ..."
 * for a line that is not a valid point, in which case a message naming the
 * line also goes to the error stream.  Input is read in large blocks, and
 * each block's results are formatted into one buffer and written at once.
 */
class FieldTool {
 public:
  /**
   * @param[in] options output format and default year.
   * @param[in] out stream for results, e.g. stdout.
   * @param[in] err stream for messages, e.g. stderr.
   */
  FieldTool(const FieldToolOptions& options, std::FILE* out, std::FILE* err);

  /**
   * Processes the point given as separate words (from the command line).
   *
   * @param[in] words LAT LON ALT [YEAR], as typed.
   */
  void RunWords(const std::vector<std::string_view>& words);

  /**
   * Processes every line readable from a file descriptor until its end.
   *
   * @param[in] fd an open file descriptor, e.g. 0 for standard input.
   */
  void RunStream(int fd);

  /**
   * Checks the output stream after the runs.
   *
   * @return 0 if every line was a valid point or blank, 1 if any line was
   *   bad or reading or writing failed.
   */
  int Finish();

 private:
  // The output of a run of consecutive lines.
  struct Batch {
    std::vector<char> out;  // results; the first `size` bytes are written
    std::size_t size = 0;
    std::string err;      // messages for the error stream
    bool failed = false;  // some line was bad

    char* Room(std::size_t count);  // where `count` more bytes may go
    void Append(std::string_view text);
  };

  void ProcessBlock(const std::vector<InputLine>& lines);
  void ProcessLines(const InputLine* lines, std::size_t count,
                    unsigned long long firstLineNumber, Batch& batch) const;
  void Process(const ParsedLine& parsed, unsigned long long lineNumber,
               Batch& batch) const;
  void Write(const Batch& batch);

  FieldModel model_;
  FieldToolOptions options_;
  FieldFormatter formatter_;
  std::FILE* out_;
  std::FILE* err_;
  Batch batch_;  // output of one block, reused
  unsigned long long linesRead_ = 0;
  bool failed_ = false;
};

}  // namespace norvane::tools
