#pragma once
/**
 * \file IndexedPng.hpp
 * \brief A drawn image written as a PNG of at most 256 colours.
 */

#include <cairo.h>

#include "tools/common/OutputFile.hpp"

namespace norvane::chart {

/**
 * Writes an image surface as an 8-bit palette PNG.  A chart has few colours
 * of its own, and the blends of their anti-aliased edges are chosen from
 * the palette with dithering, so the file is a third of the size of a
 * true-colour one and looks the same.
 *
 * @param[in] image a finished CAIRO_FORMAT_RGB24 image surface.
 * @param[in,out] file where the PNG goes; failures are recorded there.
 * @return file.Ok().
 */
bool WriteIndexedPng(cairo_surface_t* image, tools::OutputFile& file);

}  // namespace norvane::chart
