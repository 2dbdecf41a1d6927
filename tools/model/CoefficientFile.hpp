#pragma once
/**
 * \file CoefficientFile.hpp
 * \brief Reads a geomagnetic model from a coefficient file in the standard
 *   WMM.COF layout, strictly: a file is read whole or not at all.
 *
 * The layout, whitespace-separated on every line:
 * - a header: the epoch (decimal year), the model's name (one word) and
 *   its release date, MM/DD/YYYY;
 * - one row `n m g h gdot hdot` per term, for n = 1..N and, within each n,
 *   m = 0..n, in that order: Schmidt quasi-normalised Gauss coefficients in
 *   nT and their secular variation in nT/year; h and hdot are 0 for m = 0;
 *   blank lines between them are ignored;
 * - one or more lines of nines only, at least ten of them (the layout has
 *   48), which end the coefficients: a file without one may have been cut
 *   short and is refused;
 * - then nothing but blank lines.
 *
 * Numbers are decimal, as std::from_chars reads them (an optional leading
 * `+` before no other sign), and finite.  The name is valid UTF-8, and a
 * UTF-8 byte-order mark before the header is skipped.  A carriage return
 * at the end of a line counts as whitespace, so CRLF files read as well.
 */

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/Wmm2005.hpp"

namespace norvane {

/// A model as its coefficient file gives it.
struct Coefficients {
  std::string name;         ///< the model's name, e.g. "WMM-2025"
  std::string releaseDate;  ///< as written, MM/DD/YYYY
  double epoch = 0.0;       ///< decimal year the coefficients refer to
  int degree = 0;           ///< highest degree and order N, >= 1
  /// Terms (0, 0) to (N, N), at CoefficientIndex(n, m); row (0, 0) is zero.
  std::vector<CoefficientRow> rows;
};

/// Why a coefficient file was refused: "FILE:LINE: fault" in what().
class CoefficientFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Highest degree a coefficient file may have.
constexpr int kMaxFileDegree = 200;

/// Largest coefficient file read, bytes: a degree-200 file is about 1.3 MB.
constexpr std::size_t kMaxFileSize = std::size_t{16} << 20;

/**
 * Parses the text of a coefficient file.
 *
 * @param[in] text the file's bytes; any bytes at all.
 * @param[in] fileName how messages name the file.
 * @return the model.
 * @exception CoefficientFileError on the first fault: a bad header, a row
 *   that is missing, out of order or repeated, a field that is not a finite
 *   number, an h or hdot term for m = 0, a degree over kMaxFileDegree, no
 *   rows at all, or no line of nines after them.
 */
Coefficients ParseCoefficients(std::string_view text,
                               std::string_view fileName);

/**
 * Reads and parses a coefficient file.
 *
 * @param[in] path the file.
 * @return the model.
 * @exception CoefficientFileError if the file cannot be read, is larger
 *   than kMaxFileSize, or ParseCoefficients refuses it.
 */
Coefficients ReadCoefficientFile(const std::string& path);

}  // namespace norvane
