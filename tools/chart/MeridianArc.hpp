#pragma once
/**
 * \file MeridianArc.hpp
 * \brief The field along a short arc of a meridian, interpolated from
 *   circles of latitude, for models whose points are dear.
 *
 * A circle of latitude costs about one point to set up and then little per
 * longitude, so the field on every meridian of a band between two
 * latitudes comes from a few circles across the band.  The field's
 * components are smooth in latitude over a band much narrower than the
 * model's shortest wavelength, so a polynomial through them at Chebyshev
 * points converges fast; the elements are worked out from the interpolated
 * components, never interpolated themselves.
 */

#include <array>
#include <optional>
#include <vector>

#include "tools/chart/FieldGrid.hpp"
#include "tools/model/FieldElements.hpp"
#include "tools/model/LoadedModel.hpp"

namespace norvane::chart {

/// Interpolation points across a band; odd, so that every other one makes
/// a coarser set of the same kind, which gauges the interpolation's error.
constexpr int kArcNodes = 11;

/// The X, Y, Z components of the field and of its rates, at one point.
using Components = std::array<double, 6>;

/**
 * \brief The field along one meridian of a band: fraction 0 at the band's
 *   first latitude, 1 at its last.
 */
class MeridianArc {
 public:
  /// @param[in] nodes the components at the band's interpolation points.
  explicit MeridianArc(const std::array<Components, kArcNodes>& nodes)
      : nodes_(nodes) {}

  /**
   * The elements at a point of the arc.
   *
   * @param[in] t fraction of the way along the arc, 0 to 1.
   * @param[in] coarse whether to interpolate through every other point
   *   only: the difference from the full interpolation bounds the full
   *   one's error many times over.
   * @return the field and its rates (0 when the band has none).
   */
  FieldAndRates At(double t, bool coarse) const;

 private:
  std::array<Components, kArcNodes> nodes_;
};

/**
 * \brief Circles of latitude across a band, each set up the first time it
 *   is needed.
 */
class BandCircles {
 public:
  /**
   * @param[in] source the model and request; FieldSource::CirclesPay().
   * @param[in] latitude0, latitude1 the band's edges, geodetic degrees.
   */
  BandCircles(const FieldSource& source, double latitude0, double latitude1);

  /**
   * @param[in] longitude degrees, any value.
   * @return the field along the band at that longitude.
   */
  MeridianArc Arc(double longitude);

 private:
  const ModelCircle& Circle(int node);

  const FieldSource& source_;
  const double latitude0_, latitude1_;
  std::vector<std::optional<ModelCircle>> circles_;
};

/**
 * @return the fraction along a band of interpolation point k of
 *   kArcNodes: 0 for the first, 1 for the last, Chebyshev points between.
 */
double ArcNode(int k);

}  // namespace norvane::chart
