#pragma once
/**
 * \file ShcFile.hpp
 * \brief Reads a time-varying geomagnetic model from a file in the SHC
 *   layout, strictly: a file is read whole or not at all.
 *
 * The layout, whitespace-separated on every line:
 * - any number of comment lines, which start with `#`, and blank lines,
 *   here and anywhere below;
 * - the parameter line: the lowest and the highest degree, the number of
 *   epochs E, the spline order, the step between knots, the first and the
 *   last epoch (decimal years);
 * - the epoch line: the E epochs, increasing;
 * - one row `n m v1 .. vE` per coefficient: a Schmidt semi-normalised Gauss
 *   coefficient in nT at each epoch, for every n from the lowest to the
 *   highest degree and every m from 0 to n, in any order.  For m > 0 the
 *   first row of (n, m) gives g and a second one h; a row with a negative
 *   m gives h(n, -m) instead.
 *
 * Between epochs the coefficients are piecewise linear, so only spline
 * order 2 is read; a file of one epoch, whose coefficients do not change,
 * may give order 1 or 2.  Terms below the lowest degree are zero.  Numbers
 * are decimal and finite; a carriage return ends a line as a blank does.
 */

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/model/CoefficientFile.hpp"

namespace norvane {

/// A model as an SHC file gives it.
struct ShcModel {
  std::string name;  ///< the file's name without directory and extension
  /// The coefficients at each epoch, by increasing epoch: name and epoch
  /// set, the release date empty and the rates zero.
  std::vector<Coefficients> epochs;
};

/// Most epochs an SHC file may have.
constexpr int kMaxShcEpochs = 1000;

/// Most coefficient values an SHC file may have: terms (0, 0) to (N, N)
/// times epochs.
constexpr std::size_t kMaxShcValues = std::size_t{1} << 20;

/**
 * Whether a file's text is in the SHC layout rather than a coefficient
 * file's: its first line that is not blank is a comment or holds the seven
 * fields of a parameter line.
 *
 * @param[in] text the file's bytes; any bytes at all.
 * @return true for the SHC layout.
 */
bool IsShcText(std::string_view text);

/**
 * Parses the text of an SHC file.
 *
 * @param[in] text the file's bytes; any bytes at all.
 * @param[in] fileName how messages name the file; its last path component
 *   without the extension names the model.
 * @return the model, with at least one epoch.
 * @exception CoefficientFileError ("FILE:LINE: fault") on the first fault:
 *   a bad parameter or epoch line, a spline order other than 2 (or 1 for a
 *   single epoch), a row with a term outside the degrees, a missing or
 *   extra value, a value that is not a finite number, a term given twice
 *   or missing, or more than kMaxShcEpochs epochs or kMaxShcValues values.
 */
ShcModel ParseShc(std::string_view text, std::string_view fileName);

}  // namespace norvane
