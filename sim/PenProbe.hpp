#pragma once
/**
 * \file PenProbe.hpp
 * \brief What the stand-in host can see of a module's pens: the one selected
 *   in a device context and how many exist.
 */

#include <cstddef>

#include "platform/Gdi.hpp"

namespace norvane::sim {

/**
 * The pen selected in a device context now.
 *
 * @param[in] dc the device context.
 * @return the pen's handle, compared by identity only.
 */
HGDIOBJ SelectedPen(HDC dc);

/**
 * How many pens (on Windows: drawing objects) the process holds now; the
 * difference between two counts is what was created and not deleted.
 *
 * @return a count of objects.
 */
std::size_t LivePens();

}  // namespace norvane::sim
