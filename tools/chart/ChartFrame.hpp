#pragma once
/**
 * \file ChartFrame.hpp
 * \brief What the layers of a drawn chart share: where the map sits on the
 *   image, the font size everything is measured in, the colours, and the
 *   helpers that draw geographic rings and text.
 */

#include <cairo.h>

#include <string>
#include <vector>

#include "tools/chart/ChartImage.hpp"
#include "tools/chart/Projection.hpp"

namespace norvane::chart {

/// A colour, each component from 0 to 1.
struct Colour {
  double r, g, b;
};
constexpr Colour kPositive{0.80, 0.08, 0.08};
constexpr Colour kNegative{0.08, 0.22, 0.78};
constexpr Colour kZero{0.0, 0.52, 0.0};
constexpr Colour kInk{0.1, 0.1, 0.1};
constexpr Colour kPaper{1, 1, 1};
constexpr Colour kLand{0.95, 0.94, 0.89};
constexpr Colour kCoast{0.55, 0.55, 0.52};
constexpr Colour kGraticule{0.72, 0.72, 0.72};
constexpr Colour kCaution{0.80, 0.80, 0.80};
constexpr Colour kUnreliable{0.62, 0.62, 0.62};
constexpr Colour kPath{0.45, 0.10, 0.55};

/// How opaque the weak-field zones' shades are laid over the map, 0 to 1.
constexpr double kWeakZoneOpacity = 0.55;

/// Every this many levels a contour is heavier and labelled first.
constexpr int kMajorEvery = 5;

/// How far a polar map's meridian labels stand outside its circle, in font
/// sizes.
constexpr double kMeridianLabelGap = 1.4;

/**
 * The colour of a contour at a level: positive red, negative blue, zero
 * green.
 *
 * @param[in] value the level, in the quantity's unit.
 */
Colour LevelColour(double value);

/**
 * Makes a colour the source of what is drawn next, opaque.
 *
 * @param[in] cr the context drawn on.
 * @param[in] colour the colour.
 */
void SetColour(cairo_t* cr, Colour colour);

/**
 * A contour level as written on the chart: whole numbers without a decimal
 * point and without a sign on zero ("-0" is "0"), others as %g.
 *
 * @param[in] value the level, in the quantity's unit.
 */
std::string FormatLevel(double value);

/**
 * Writes text aligned on a point in the current colour.
 *
 * @param[in] cr the context drawn on; its font size becomes @p size.
 * @param[in] text the text, UTF-8.
 * @param[in] at the point, pixels.
 * @param[in] size font size, pixels.
 * @param[in] alignX, alignY which point of the text's ink box lies on
 *   @p at: 0 its left or top, 0.5 its centre, 1 its right or bottom.
 * @param[in] halo whether to clear a white box under the text first.
 */
void ShowText(cairo_t* cr, const std::string& text, Pixel at, double size,
              double alignX = 0.5, double alignY = 0.5, bool halo = false);

/**
 * The chart's layout on the image and the drawing helpers its layers
 * share.  The font size scales with the image, and every length on the chart
 * is a multiple of it.
 */
class ChartFrame {
 public:
  /**
   * Lays the map out below the titles and above the key; polar maps keep a
   * ring around their circle for the meridians' labels.
   *
   * @param[in] content what is drawn; kept by reference, so it must outlive
   *   the frame.
   * @param[in] width, height image size, pixels.
   */
  ChartFrame(const ChartContent& content, int width, int height);

  /// What is drawn.
  const ChartContent& Content() const { return content_; }
  /// Image width, pixels.
  double ImageWidth() const { return width_; }
  /// Image height, pixels.
  double ImageHeight() const { return height_; }
  /// The font size, pixels: the unit of every length on the chart.
  double Font() const { return font_; }
  /// Where the map lies on the image.
  const Projection& Map() const { return projection_; }

  /// Whether the map is a polar circle rather than a rectangle.
  bool Polar() const;

  /// Whether the chart shades the zones of weak horizontal field: D and H
  /// charts of the field itself.
  bool ShowsWeakZones() const;

  /// The centre of the map, pixels.
  Pixel Centre() const;

  /// The parallels of the graticule, degrees, north positive.
  std::vector<double> Parallels() const;

  /**
   * Where a polar map writes a parallel's latitude: on the meridian 165° W,
   * between two graticule meridians.
   *
   * @param[in] lat the parallel, degrees, north positive.
   * @return the label's centre, pixels.
   */
  Pixel LatitudeLabel(double lat) const;

  /**
   * Whether a pixel lies on the map and not on a latitude's label.
   *
   * @param[in] p the pixel, x to the right and y down from the image's top
   *   left.
   */
  bool Inside(Pixel p) const;

  /**
   * Whether a point lies within the map's latitudes.
   *
   * @param[in] p the point, degrees.
   */
  bool OnMap(const GeoPoint& p) const;

  /**
   * Whether a ring comes within a degree of the map's latitudes, and so may
   * show.
   *
   * @param[in] ring the ring's points, degrees.
   */
  bool Reaches(const std::vector<GeoPoint>& ring) const;

  /**
   * Replaces the path by the map's outline, its circle or rectangle.
   *
   * @param[in] cr the context drawn on.
   */
  void MapOutline(cairo_t* cr) const;

  /**
   * Adds a closed ring to the path; on polar maps long edges are cut into
   * short ones, as parallels are curved there.
   *
   * @param[in] cr the context drawn on.
   * @param[in] ring the ring's points, degrees, in order.
   */
  void Ring(cairo_t* cr, const std::vector<GeoPoint>& ring) const;

  /**
   * Continues the path from one point to another, straight on the map's
   * grid of longitude and latitude: in steps of at most a degree of
   * longitude on polar maps, in one line elsewhere.  The path must already
   * stand at the projected @p from.
   *
   * @param[in] cr the context drawn on.
   * @param[in] from, to the ends, degrees.
   */
  void LineTo(cairo_t* cr, const GeoPoint& from, const GeoPoint& to) const;

 private:
  Projection Layout() const;

  const ChartContent& content_;
  double width_, height_;
  double font_;
  Projection projection_;
};

}  // namespace norvane::chart
