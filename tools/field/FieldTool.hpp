#pragma once
/**
 * \file FieldTool.hpp
 * \brief The work of norvane-field: points in, field elements out, one
 *   output line per input line.
 */

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/common/Geoid.hpp"
#include "tools/field/FieldFormatter.hpp"
#include "tools/field/Grid.hpp"
#include "tools/field/LineReader.hpp"
#include "tools/field/OutsideValidity.hpp"
#include "tools/field/PointParser.hpp"
#include "tools/model/TimeVaryingModel.hpp"
#include "tools/model/Uncertainty.hpp"

namespace norvane::tools {

/// How norvane-field was asked to work.
struct FieldToolOptions {
  double defaultYear = kWmm2005PageYear;  ///< year of lines without one
  int significantDigits = 0;              ///< 1..17, or 0 for the fixed default
  bool radians = false;  ///< D and I in radians instead of degrees
  bool header = false;   ///< print the column names first
  bool rates = false;    ///< append the seven rates of change
  bool strict = false;   ///< points outside the model's validity are errors
  bool gridVariation = false;  ///< append grid variation, GV
  /// Append each element's uncertainty by this error model, if given.
  std::optional<ErrorModel> uncertainty;
  /// Lines hold LON alone, on this circle: its latitude (degrees), altitude
  /// (km) and year; its longitude is unused.
  std::optional<GeodeticPoint> circle;
  /// Heights are above mean sea level, converted with this geoid (which
  /// must outlive the tool); nullptr for heights above the ellipsoid.
  const Geoid* geoid = nullptr;
  /// Threads that share out the points of a grid or of an input block,
  /// at least 1; the output is the same for any number.
  unsigned threads = 1;
};

/**
 * \brief Evaluates the field for lines of points and writes the results.
 *
 * For every input line exactly one output line: the field elements of a
 * point, an empty line for a blank or comment-only line, or "error: ..."
 * for a line that is not a valid point, in which case a message naming the
 * line also goes to the error stream.  A point's comment follows its
 * result, or its error, after " #".  Input is read in large blocks; a
 * block's lines, and a grid's points, are shared out among the threads in
 * pieces whose results are formatted into buffers of their own and written
 * in order, so that memory stays bounded and the output does not depend on
 * the number of threads.
 */
class FieldTool {
 public:
  /**
   * @param[in] model the model to evaluate; must outlive the tool.
   * @param[in] options output format, default year, and the circle if any.
   * @param[in] out stream for results, e.g. stdout.
   * @param[in] err stream for messages, e.g. stderr.
   */
  FieldTool(const TimeVaryingModel& model, const FieldToolOptions& options,
            std::FILE* out, std::FILE* err);

  // The circle refers to the tool's model.
  FieldTool(const FieldTool&) = delete;
  FieldTool& operator=(const FieldTool&) = delete;

  /**
   * Processes the point given as separate words (from the command line);
   * not for a circle.
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
   * Evaluates a grid, latitude by latitude from grid.lat0, each row from
   * grid.lon0: one line per point, "LAT LON" then the usual columns.
   *
   * @param[in] grid a grid that CheckGrid accepts.
   * @param[in] altitude height, km, above the WGS-84 ellipsoid or with a
   *   geoid above mean sea level.
   * @param[in] year decimal year.
   */
  void RunGrid(const PointGrid& grid, double altitude, double year);

  /**
   * Ends the run: says on the error stream how many points lay outside the
   * model's validity, if any did and the run is not strict, and checks the
   * output stream.
   *
   * @return 0 if every line was a valid point or blank, 1 if any line was
   *   bad or reading or writing failed.
   */
  int Finish();

 private:
  // What a piece of the run writes: its output lines, its messages for the
  // error stream, and what it found.
  struct Output {
    // Results; the first size of its capacity bytes are written.  Grown
    // without the zero-filling of a vector, which every piece's buffer
    // would pay for bytes it overwrites at once.
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0;
    std::size_t size = 0;
    std::string messages;
    OutsideCount outside;
    bool failed = false;

    // Empties it for the next piece, keeping the buffers' memory.
    void Clear();
  };

  // The output line of one input line.
  void ProcessLine(const InputLine& line, unsigned long long lineNumber,
                   Output& out) const;
  // The output line of a grid point, with its row's circle if heights are
  // above the ellipsoid.
  void ProcessGridPoint(GeodeticPoint point, const ModelCircle* circle,
                        unsigned long long lineNumber, Output& out) const;
  void Process(const ParsedLine& parsed, unsigned long long lineNumber,
               Output& out) const;
  // Makes the point's height one above the ellipsoid; fails it where the
  // geoid gives no height.
  bool ToEllipsoid(GeodeticPoint& point, unsigned long long lineNumber,
                   Output& out) const;
  // Whether to evaluate the point: counts it if outside the validity, and
  // fails it if the run is strict.
  bool Admit(const GeodeticPoint& point, unsigned long long lineNumber,
             Output& out) const;
  // Writes a point's columns; the circle's if given, else the model's.
  void Emit(const GeodeticPoint& point, const ModelCircle* circle,
            unsigned long long lineNumber, Output& out) const;
  void Fail(std::string_view error, unsigned long long lineNumber,
            Output& out) const;
  static void EndLine(const ParsedLine& parsed, Output& out);
  // Where `count` more output bytes may go.
  static char* Room(std::size_t count, Output& out);
  static void Append(std::string_view text, Output& out);
  // Writes a piece's results and messages and adds up what it found.
  void Take(const Output& out);

  const TimeVaryingModel& model_;
  Validity validity_;
  std::optional<ModelCircle> circle_;
  FieldToolOptions options_;
  FieldFormatter formatter_;
  std::FILE* out_;
  std::FILE* err_;
  OutsideCount outside_;
  unsigned long long linesRead_ = 0;
  bool failed_ = false;
};

}  // namespace norvane::tools
