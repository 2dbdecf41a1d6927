// Pens as the recording stand-in GDI keeps them.

#include "sim/PenProbe.hpp"

namespace norvane::sim {

HGDIOBJ SelectedPen(HDC dc) { return dc->SelectedPen(); }

std::size_t LivePens() { return gdi::LivePens(); }

}  // namespace norvane::sim
