#pragma once
/**
 * \file Projection.hpp
 * \brief The map projections of the charts, fitted into a frame of pixels.
 */

#include <optional>
#include <string_view>

namespace norvane::chart {

/// The projections a chart may use.
enum class ProjectionKind {
  kPlateCarree,  ///< longitude and latitude as x and y, the whole globe
  kMercator,     ///< conformal cylinder, cut at 80° N and S
  kNorthPolar,   ///< stereographic on the north pole, down to 55° N
  kSouthPolar,   ///< stereographic on the south pole, up to 55° S
};

/**
 * Reads a projection's name.
 *
 * @param[in] name plate-carree, mercator, north-polar or south-polar.
 * @return the projection, or nothing for any other name.
 */
std::optional<ProjectionKind> ParseProjection(std::string_view name);

/// The projection's name as ParseProjection reads it.
const char* ProjectionName(ProjectionKind kind);

/// A point of the image, pixels from its top-left corner, y down.
struct Pixel {
  double x;
  double y;
};

/**
 * \brief A projection scaled and centred into a frame of the image.
 *
 * Cylindrical maps have 180° W at their left edge and 180° E at their right
 * one; polar maps have 0° E at the bottom (north) or top (south) and are
 * seen from above their pole, so east runs anticlockwise on the north map
 * and clockwise on the south one.
 */
class Projection {
 public:
  /// Latitude at which Mercator maps are cut, degrees.
  static constexpr double kMercatorLimit = 80.0;
  /// Latitude down to which polar maps reach, degrees.
  static constexpr double kPolarLimit = 55.0;

  /**
   * @param[in] kind the projection.
   * @param[in] left, top, width, height the frame, pixels; the map is the
   *   largest that fits, centred.
   */
  Projection(ProjectionKind kind, double left, double top, double width,
             double height);

  ProjectionKind Kind() const { return kind_; }
  bool Polar() const;

  /// Southern and northern latitudes of the map, degrees.
  double MinLatitude() const;
  double MaxLatitude() const;

  /**
   * Projects a point.
   *
   * @param[in] lon longitude, degrees; on cylindrical maps -180 and 180 are
   *   the left and right edges, and values beyond them lie off the map.
   * @param[in] lat latitude, degrees; cylindrical maps clamp it to their
   *   latitudes.
   * @return the pixel.
   */
  Pixel Project(double lon, double lat) const;

  /// The map's bounding box in the image, pixels.
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }

 private:
  double MercatorY(double lat) const;    // unscaled, radians of the cylinder
  double PolarRadius(double lat) const;  // unscaled

  ProjectionKind kind_;
  double left_, top_, width_, height_;  // the map itself
  double scale_;                        // pixels per unscaled unit
};

}  // namespace norvane::chart
