#pragma once
/**
 * \file Uncertainty.hpp
 * \brief The published error models of the models that have one: how far
 *   each element may be from the true field, one standard deviation.
 */

#include <optional>
#include <string_view>

#include "tools/model/FieldElements.hpp"

namespace norvane {

/**
 * One model's error model: one standard deviation per element, the same
 * everywhere, except declination's, sqrt(a^2 + (b / H)^2), which grows
 * without bound as the horizontal intensity H weakens.
 */
struct ErrorModel {
  double X;             ///< north component, nT
  double Y;             ///< east component, nT
  double Z;             ///< vertical component, nT
  double H;             ///< horizontal intensity, nT
  double F;             ///< total intensity, nT
  double I;             ///< inclination, degrees
  double declinationA;  ///< a of declination's formula, degrees
  double declinationB;  ///< b of declination's formula, degrees x nT
};

/// Largest uncertainty of declination, degrees: where H is 0 it has no
/// value, and any direction is as likely as another.
constexpr double kMaxDeclinationUncertainty = 180.0;

/**
 * The published error model of a model.
 *
 * @param[in] modelName the name in the model's coefficient file, e.g.
 *   "WMM-2025"; compared exactly.
 * @return the error model, or nothing for a model without a published one
 *   (WMM-2005, WMM-2010, the IGRF, anything unknown).
 */
std::optional<ErrorModel> PublishedErrorModel(std::string_view modelName);

/**
 * The uncertainty of declination.
 *
 * @param[in] model the error model.
 * @param[in] H horizontal intensity at the point, nT, >= 0.
 * @return sqrt(a^2 + (b / H)^2) degrees, at most
 *   kMaxDeclinationUncertainty (which it is where H is 0); NaN for a NaN H.
 */
double DeclinationUncertainty(const ErrorModel& model, double H);

/**
 * The uncertainty of all seven elements at a point.
 *
 * @param[in] model the error model.
 * @param[in] H horizontal intensity at the point, nT, >= 0.
 * @return one standard deviation per element, X to H in nT, D and I in
 *   radians, as FieldElements holds them.
 */
FieldElements Uncertainty(const ErrorModel& model, double H);

}  // namespace norvane
