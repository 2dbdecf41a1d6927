#pragma once
/**
 * \file ChartElement.hpp
 * \brief The field elements a chart can show, their units and the contour
 *   intervals charts of them use by default.
 */

#include <optional>
#include <string_view>

namespace norvane::chart {

/// An element of the field.
enum class Element { kD, kI, kH, kX, kY, kZ, kF };

/// What a chart shows: an element, or its annual change.
struct Quantity {
  Element element = Element::kD;
  bool rates = false;  ///< the annual change instead of the element
  /// The uncertainty of D, one standard deviation in degrees, by the
  /// model's published error model, instead of D; for D only.
  bool uncertainty = false;
};

/**
 * Reads an element's letter.
 *
 * @param[in] letter one of D I H X Y Z F.
 * @return the element, or nothing for any other text.
 */
std::optional<Element> ParseElement(std::string_view letter);

/// The element's letter: "D" ... "F".
const char* Letter(Element element);

/// The element's name, "declination" ... "total intensity".
const char* Name(Element element);

/**
 * The unit of a chart's values: "deg" for D and I, "nT" for the
 * intensities; per year for rates, where D and I are in arc-minutes a year
 * ("arcmin/yr"), the unit their change is usually quoted in.
 */
const char* Unit(const Quantity& quantity);

/// The unit as a chart's title writes it: "°", "nT", "'/yr", "nT/yr".
const char* UnitSymbol(const Quantity& quantity);

/**
 * The contour interval charts of the quantity use by default, in its unit:
 * 1 degree for D's uncertainty, 2 degrees for D and I, 1000 nT for the
 * intensities, 2 arc-minutes a year for the change of D and I and 10 nT a year
 * for that of the intensities.
 */
double DefaultInterval(const Quantity& quantity);

/**
 * Whether the quantity is an angle defined modulo 360 degrees: D is (it
 * runs once around the circle about each pole), its rate, its uncertainty
 * and I are not.
 */
bool IsCyclic(const Quantity& quantity);

}  // namespace norvane::chart
