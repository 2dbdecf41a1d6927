#pragma once
/**
 * \file FieldFormatter.hpp
 * \brief Prints the seven field elements of one point, and optionally their
 *   seven rates of change and their seven uncertainties, as the columns of
 *   one text line.
 */

#include <cstddef>
#include <string>

#include "tools/model/FieldElements.hpp"

namespace norvane::tools {

/**
 * \brief Formats field elements as "X Y Z F H D I", one space apart, with
 *   their rates "dX dY dZ dF dH dD dI" after them and then grid variation
 *   "GV" when given.
 *
 * By default the intensities (and their rates) get three decimals and the
 * angles (and theirs) six, as fixed-point numbers.  With a count of
 * significant digits every column gets that many, in std::to_chars general
 * format (scientific only for very large or small values; trailing zeros
 * dropped); 17 digits read back to the same double.  Either way the text is
 * what std::to_chars writes: correctly rounded and independent of the
 * locale.  A rate that is not finite prints as `nan`.
 */
class FieldFormatter {
 public:
  /// Longest text Format writes: twenty-two columns.
  static constexpr std::size_t kMaxLength = 22 * 331;

  /**
   * @param[in] significantDigits 1..17 for that many significant digits in
   *   every column; 0 for the fixed default.
   * @param[in] radians true to print D and I (and their rates) in radians,
   *   false for degrees.
   */
  FieldFormatter(int significantDigits, bool radians);

  /**
   * Writes the columns, without a newline.
   *
   * @param[in] field finite field elements.
   * @param[in] rates their rates of change (units per year), or nullptr for
   *   none.
   * @param[in] gridVariation grid variation, radians, printed as D is (NaN
   *   as `nan`), or nullptr for none.
   * @param[in] uncertainty one standard deviation of each element, in the
   *   field's units, or nullptr for none.
   * @param[out] out room for kMaxLength characters.
   * @return one past the last character written.
   */
  char* Format(const FieldElements& field, const FieldElements* rates,
               const double* gridVariation, const FieldElements* uncertainty,
               char* out) const;

  /**
   * The column names, in the units this formatter prints, newline included:
   * "X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg" (or D_rad I_rad), then with
   * rates "dX_nT/yr ... dD_deg/yr dI_deg/yr", then with grid variation
   * "GV_deg" (or GV_rad), then with uncertainties "sX_nT ... sD_deg
   * sI_deg".
   *
   * @param[in] rates whether the rates' columns follow.
   * @param[in] gridVariation whether grid variation follows.
   * @param[in] uncertainty whether the uncertainties' columns follow.
   */
  std::string Header(bool rates, bool gridVariation, bool uncertainty) const;

 private:
  char* Number(double value, int decimals, char* out) const;
  char* Columns(const FieldElements& elements, char* out) const;

  int significantDigits_;
  bool radians_;
};

}  // namespace norvane::tools
