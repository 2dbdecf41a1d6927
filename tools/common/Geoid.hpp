#pragma once
/**
 * \file Geoid.hpp
 * \brief Heights above mean sea level: the EGM96 geoid, read through PROJ
 *   from the grid egm96_15.gtx that Debian's proj-data installs.
 */

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>

namespace norvane::tools {

/// What a height is measured from.
enum class HeightReference {
  kEllipsoid,    ///< the WGS-84 ellipsoid, as the models take it
  kMeanSeaLevel  ///< the EGM96 geoid
};

/**
 * Reads a height reference as the tools' --height option and the Python
 * module's `height` argument take it.
 *
 * @param[in] text "ellipsoid" or "msl".
 * @param[out] reference the reference; untouched on failure.
 * @return nullptr, or why the text is not a reference.
 */
const char* ParseHeightReference(std::string_view text,
                                 HeightReference& reference);

/// Why the geoid grid cannot be used: the reason in what().
class GeoidError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/**
 * \brief The EGM96 geoid on its 15-minute grid, bilinearly interpolated by
 *   PROJ's vertical grid shift.
 *
 * One object may be used from several threads: its calls take turns.
 */
class Geoid {
 public:
  /// The grid's file name, searched where PROJ looks for its data.
  static constexpr const char* kGridName = "egm96_15.gtx";

  /// Why a point has no height above the ellipsoid.
  static constexpr const char* kNoHeight =
      "the geoid gives no height at this point";

  /**
   * Opens the grid.
   *
   * @exception GeoidError if PROJ cannot find or read it.
   */
  Geoid();
  ~Geoid();
  Geoid(const Geoid&) = delete;
  Geoid& operator=(const Geoid&) = delete;

  /**
   * The geoid's height above the ellipsoid, N.
   *
   * @param[in] latitude geodetic latitude, degrees, -90 to 90.
   * @param[in] longitude degrees, east positive; any value.
   * @return N, metres; NaN where the grid gives none (a NaN input).
   */
  double Undulation(double latitude, double longitude) const;

  /**
   * A height above mean sea level as a height above the ellipsoid: H + N.
   *
   * @param[in] latitude geodetic latitude, degrees, -90 to 90.
   * @param[in] longitude degrees, east positive; any value.
   * @param[in] height height above the geoid, km.
   * @return height above the WGS-84 ellipsoid, km; NaN where N is.
   */
  double EllipsoidHeight(double latitude, double longitude,
                         double height) const;

 private:
  struct Proj;
  std::unique_ptr<Proj> proj_;
  mutable std::mutex mutex_;  // PROJ's objects are not for concurrent use
};

}  // namespace norvane::tools
