#include "sim/PageListing.hpp"

#include <cstdio>
#include <ostream>

#include "sim/Cp1252.hpp"

namespace norvane::sim {

std::string HexColour(COLORREF colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X",
                static_cast<unsigned>(colour & 0xFF),
                static_cast<unsigned>((colour >> 8) & 0xFF),
                static_cast<unsigned>((colour >> 16) & 0xFF));
  return text;
}

void WriteText(const StandInDC& dc, std::ostream& out) {
  for (const DrawCall& call : dc.Calls()) {
    if (call.kind == DrawCall::Kind::kText) {
      out << Cp1252ToUtf8(dc.Text(call)) << '\n';
    }
  }
}

void WriteDump(const StandInDC& dc, std::ostream& out) {
  for (const DrawCall& call : dc.Calls()) {
    if (call.kind == DrawCall::Kind::kText) {
      out << "text " << call.x0 << ' ' << call.y0 << ' '
          << Cp1252ToUtf8(dc.Text(call)) << '\n';
    } else if (call.kind == DrawCall::Kind::kLineTo) {
      out << "line " << call.x0 << ' ' << call.y0 << ' ' << call.x1 << ' '
          << call.y1 << ' ' << HexColour(call.pen.colour) << '\n';
    }
  }
}

}  // namespace norvane::sim
