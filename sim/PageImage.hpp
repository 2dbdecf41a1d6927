#pragma once
/**
 * \file PageImage.hpp
 * \brief A recorded page as a picture of the MFD surface.
 *
 * The page is drawn as an MFD shows it: black background, text in light
 * green in a monospace font sized so that one line fills the page's row
 * pitch (display/PageLayout.hpp), its top-left corner at the recorded
 * position, the single-byte text read as Windows-1252; lines of solid pens in
 * the pen's colour and width (at least 1 pixel).
 */

#include <string>

#include "platform/StandInGdi.hpp"

namespace norvane::sim {

/**
 * Writes the page as a PNG image of width × height pixels.
 *
 * @param[in] dc the recorded page.
 * @param[in] width,height size of the surface, pixels; the image library
 *   takes at most 32767 each.
 * @param[in] file where to write.
 * @param[out] error why nothing could be written; untouched on success.
 * @return true when the file was written.
 */
bool WritePng(const StandInDC& dc, DWORD width, DWORD height,
              const std::string& file, std::string& error);

/**
 * Writes the page as an SVG image of width × height pixels.
 *
 * @param[in] dc the recorded page.
 * @param[in] width,height size of the surface, pixels.
 * @param[in] file where to write.
 * @param[out] error why nothing could be written; untouched on success.
 * @return true when the file was written.
 */
bool WriteSvg(const StandInDC& dc, DWORD width, DWORD height,
              const std::string& file, std::string& error);

}  // namespace norvane::sim
