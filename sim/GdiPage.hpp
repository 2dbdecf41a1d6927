#pragma once
/**
 * \file GdiPage.hpp
 * \brief An MFD surface as the stand-in host offers it on Windows: a memory
 *   device context over a 32-bit DIB section, set up the way the host sets
 *   up its MFDs before a display mode paints.
 *
 * The page starts black, with a light text colour, transparent text
 * background and a monospace font whose cell height is one row pitch
 * (height / 26) selected; the display mode sets none of these itself.
 * Coordinates are pixels, x to the right and y down from the top-left corner.
 */

#include <cstdint>
#include <string>

#include "platform/Gdi.hpp"

namespace norvane::sim {

/// The text colour the host selects into an MFD, 0x00BBGGRR.
constexpr COLORREF kPageTextColour = RGB(0x60, 0xFF, 0x60);

/**
 * \brief A device context painting into memory the caller can read back.
 */
class GdiPage {
 public:
  /**
   * @param[in] width,height size of the surface, pixels, 1 to 65535.
   */
  GdiPage(int width, int height);
  ~GdiPage();
  GdiPage(const GdiPage&) = delete;
  GdiPage& operator=(const GdiPage&) = delete;

  /// Whether every GDI object could be created; if not, nothing else works.
  bool Valid() const { return bits_ != nullptr; }

  /// The device context to paint on.
  HDC Dc() const { return dc_; }

  int Width() const { return width_; }    ///< pixels
  int Height() const { return height_; }  ///< pixels

  /**
   * The colour of one pixel.
   *
   * @param[in] x,y the pixel; outside the page the result is black.
   * @return 0x00BBGGRR.
   */
  COLORREF Pixel(int x, int y) const;

  /**
   * Writes the page as an uncompressed 24-bit BMP file.
   *
   * @param[in] path where to write.
   * @return false when the file could not be written completely.
   */
  bool WriteBmp(const std::string& path) const;

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  HGDIOBJ previousFont_ = nullptr;
  const std::uint32_t* bits_ = nullptr;  ///< top-down rows, 0x00RRGGBB
};

}  // namespace norvane::sim
