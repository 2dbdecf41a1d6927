#pragma once
/**
 * \file PageBitmap.hpp
 * \brief A memory device context over a 32-bit top-down DIB section, as a
 *   host gives its MFD surfaces, and its pixels as a BMP file.
 */

#include "platform/Gdi.hpp"

namespace norvane::winhost {

/**
 * \brief An MFD surface in memory: black, with a monospace font, a light
 *   green text colour (distinct from both needles) and a transparent text
 *   background selected, as a host prepares it before a module paints.
 */
class PageBitmap {
 public:
  /**
   * @param[in] width,height pixels, 1 to 65535 each.
   */
  PageBitmap(int width, int height);
  ~PageBitmap();

  PageBitmap(const PageBitmap&) = delete;
  PageBitmap& operator=(const PageBitmap&) = delete;

  /// False when GDI could not make the surface; nothing else then works.
  bool Ready() const { return bits_ != nullptr; }

  /// The device context to paint on.
  HDC Dc() const { return dc_; }

  /**
   * Writes the pixels as a 32-bit top-down BMP file.
   *
   * @param[in] path the file.
   * @return false when the file could not be written.
   */
  bool Write(const char* path) const;

 private:
  int width_;   ///< pixels
  int height_;  ///< pixels
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  HGDIOBJ previousFont_ = nullptr;
  void* bits_ = nullptr;  ///< BGRX, rows from the top
};

}  // namespace norvane::winhost
