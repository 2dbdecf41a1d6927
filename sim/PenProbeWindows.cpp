// Pens as the real GDI keeps them.

#include "sim/PenProbe.hpp"

namespace norvane::sim {

HGDIOBJ SelectedPen(HDC dc) { return GetCurrentObject(dc, OBJ_PEN); }

// Windows counts a process's GDI objects, not its pens alone; the display's
// pens are the only objects created between two counts.  Wine answers 0
// whatever the process holds, so under Wine a leaked pen goes unseen.
std::size_t LivePens() {
  return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

}  // namespace norvane::sim
