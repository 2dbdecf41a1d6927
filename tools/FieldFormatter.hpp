#pragma once
/**
 * \file FieldFormatter.hpp
 * \brief Prints the seven field elements of one point as one text line.
 */

#include <cstddef>

namespace norvane::tools {

/// The field at one point, as FieldModel::Evaluate returns it.
struct FieldElements {
  double X;  ///< north component, nT
  double Y;  ///< east component, nT
  double Z;  ///< vertical component, nT, positive downward
  double F;  ///< total intensity, nT
  double H;  ///< horizontal intensity, nT
  double D;  ///< declination, radians, positive east of true north
  double I;  ///< inclination, radians, positive below the horizontal
};

/**
 * \brief Formats field elements as "X Y Z F H D I", one space apart.
 *
 * By default the intensities get three decimals and the angles six, as
 * fixed-point numbers.  With a count of significant digits
 * every column gets that many, in std::to_chars general format (scientific
 * only for very large or small values; trailing zeros dropped); 17 digits
 * read back to the same double.  Either way the text is what std::to_chars
 * writes: correctly rounded and independent of the locale.
 */
class FieldFormatter {
 public:
  /// Longest line Format writes, newline included.
  static constexpr std::size_t kMaxLineLength = 7 * 330;

  /**
   * @param[in] significantDigits 1..17 for that many significant digits in
   *   every column; 0 for the fixed default.
   * @param[in] radians true to print D and I in radians, false for degrees.
   */
  FieldFormatter(int significantDigits, bool radians);

  /**
   * Writes one line, newline included.
   *
   * @param[in] field finite field elements.
   * @param[out] out room for kMaxLineLength characters.
   * @return one past the last character written.
   */
  char* Format(const FieldElements& field, char* out) const;

  /**
   * The column names, in the units this formatter prints, newline included:
   * "X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg" (or D_rad I_rad).
   */
  const char* Header() const;

 private:
  char* Number(double value, int decimals, char* out) const;

  int significantDigits_;
  bool radians_;
};

}  // namespace norvane::tools
