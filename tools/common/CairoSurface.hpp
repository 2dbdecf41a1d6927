#pragma once
/**
 * \file CairoSurface.hpp
 * \brief Drawing on a cairo surface and letting go of cairo's process-wide
 *   caches, for the tooling that writes images (the stand-in host's page,
 *   the charts).
 */

#include <cairo.h>
#include <fontconfig/fontconfig.h>

namespace norvane {

/**
 * Draws on a surface through a new cairo context.
 *
 * @param[in] surface the surface to draw on; drawing on a surface already in
 *   error does nothing.
 * @param[in] draw called once with the context, which it must not keep.
 * @return the first error of the drawing, else the surface's status.
 */
template <class Draw>
cairo_status_t DrawOnSurface(cairo_surface_t* surface, Draw draw) {
  cairo_t* cr = cairo_create(surface);
  draw(cr);
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  return status != CAIRO_STATUS_SUCCESS ? status
                                        : cairo_surface_status(surface);
}

/**
 * Frees the font caches that cairo and fontconfig keep for the process.
 * Call it with no cairo object left, once an image is written: kept, the
 * caches stay allocated until exit, where the sanitizer build's leak checker
 * reports them.
 */
inline void ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace norvane
