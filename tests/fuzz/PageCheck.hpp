#pragma once
/**
 * \file PageCheck.hpp
 * \brief Painting one compass page on a stand-in device context and checking
 *   that it stays within what a page may draw.
 */

#include <cstdint>

#include "host/HostApi.hpp"

namespace norvane::fuzz {

/**
 * Has a display paint one page on a fresh stand-in context and checks the
 * drawing: the title and exactly twelve rows, each row shorter than the
 * display's line buffer and placed within the surface's height, in order; at
 * most two needles, each a single line from the common origin to a point
 * inside the width-by-width square; no call refused for a bad handle; and the
 * context's pen at the end is the one selected before.  A broken check is a
 * finding.
 *
 * @param[in] display the display object.
 * @param[in] width,height size of its surface, pixels.
 * @return the number of needles drawn.
 */
int PaintAndCheck(MFD& display, std::uint16_t width, std::uint16_t height);

}  // namespace norvane::fuzz
