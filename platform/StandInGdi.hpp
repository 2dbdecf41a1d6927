#pragma once
/**
 * \file StandInGdi.hpp
 * \brief A recording stand-in for the part of Windows GDI that the module
 *   uses, for platforms without GDI.
 *
 * It declares the GDI names with their Windows meanings.  Drawing on a device
 * context does not rasterise anything: each call is appended, in order, to the
 * context's call log, which hosts and tests read back.  Pens are tracked in a
 * process-wide registry, so a caller can tell whether every pen created was
 * deleted, and a bad handle is refused (FALSE or null) instead of being used.
 *
 * Coordinates are pixels, x to the right and y down from the top-left corner.
 * Not thread-safe: like a device context, one context is used by one thread.
 */

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#define NORVANE_GDI_API __attribute__((visibility("default")))

using BOOL = int;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using COLORREF = std::uint32_t;  ///< 0x00BBGGRR
using LPCSTR = const char*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr int PS_SOLID = 0;

struct POINT {
  long x;
  long y;
};
using LPPOINT = POINT*;

struct StandInPen;
class StandInDC;
using HPEN = StandInPen*;
using HGDIOBJ = void*;
using HDC = StandInDC*;

/**
 * Creates a pen.
 *
 * @param[in] style pen style; only PS_SOLID is drawn.
 * @param[in] width line width, pixels.
 * @param[in] colour 0x00BBGGRR.
 * @return the new pen; the caller deletes it with DeleteObject.  Null, as
 *   when GDI is out of handles, for a call made to fail (gdi::FailCall).
 */
NORVANE_GDI_API HPEN CreatePen(int style, int width, COLORREF colour);

/**
 * Deletes a pen made by CreatePen.
 *
 * @param[in] object the pen.
 * @return TRUE; FALSE, deleting nothing, for a handle that is not a live
 *   pen (null, never created, or already deleted).
 */
NORVANE_GDI_API BOOL DeleteObject(HGDIOBJ object);

/**
 * Selects a pen into a device context.
 *
 * @param[in] dc the device context.
 * @param[in] object a live pen, or the context's default pen.
 * @return the pen selected before; null, selecting nothing, when either
 *   handle is bad or the call was made to fail (gdi::FailCall).
 */
NORVANE_GDI_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

/**
 * Moves the current position.
 *
 * @param[in] dc the device context.
 * @param[in] x,y new position, pixels.
 * @param[out] previous receives the old position unless null.
 * @return TRUE; FALSE for a null context.
 */
NORVANE_GDI_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);

/**
 * Draws a line with the selected pen from the current position, which then
 * moves to the line's end.  A pen deleted while selected still draws with
 * the attributes it had.
 *
 * @param[in] dc the device context.
 * @param[in] x,y end of the line, pixels.
 * @return TRUE; FALSE for a null context.
 */
NORVANE_GDI_API BOOL LineTo(HDC dc, int x, int y);

/**
 * Draws single-byte text with its top-left corner at (x, y).
 *
 * @param[in] dc the device context.
 * @param[in] x,y position, pixels.
 * @param[in] text the bytes; need not be zero-terminated.
 * @param[in] length number of bytes to draw.
 * @return TRUE; FALSE, recording nothing, for a null context or text, or a
 *   negative length.
 */
NORVANE_GDI_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);

/// A pen's attributes.
struct StandInPen {
  int style;
  int width;        ///< pixels
  COLORREF colour;  ///< 0x00BBGGRR
};

/// One recorded GDI call.
struct DrawCall {
  enum class Kind { kSelect, kMoveTo, kLineTo, kText };
  Kind kind;
  int x0;  ///< kLineTo: start; kMoveTo, kText: position
  int y0;
  int x1;  ///< kLineTo: end
  int y1;
  StandInPen pen;          ///< kLineTo, kSelect: the pen selected (after)
  std::size_t textOffset;  ///< kText: bytes in the context's text store
  std::size_t textLength;
};

/**
 * \brief A device context that records what is drawn on it.
 *
 * A new context has its own default pen selected (solid, 1 pixel, black) and
 * the current position at (0, 0).  Clear() forgets the calls but keeps the
 * storage, so a context reused for many pages stops allocating.
 */
class NORVANE_GDI_API StandInDC {
 public:
  StandInDC();
  StandInDC(const StandInDC&) = delete;
  StandInDC& operator=(const StandInDC&) = delete;

  /// The calls since construction or the last Clear(), in order.
  const std::vector<DrawCall>& Calls() const { return calls_; }

  /**
   * The bytes of a recorded text call.
   *
   * @param[in] call a kText entry of Calls().
   */
  std::string_view Text(const DrawCall& call) const;

  /// Forgets the recorded calls, keeping their storage.
  void Clear();

  /// The context's own default pen, selected at construction.
  HGDIOBJ DefaultPen() { return &defaultPen_; }

  /// The pen selected now.
  HGDIOBJ SelectedPen() const { return selected_; }

 private:
  friend HGDIOBJ SelectObject(HDC, HGDIOBJ);
  friend BOOL MoveToEx(HDC, int, int, LPPOINT);
  friend BOOL LineTo(HDC, int, int);
  friend BOOL TextOutA(HDC, int, int, LPCSTR, int);

  StandInPen defaultPen_;
  HGDIOBJ selected_;
  // The selected pen's attributes as of its selection: the pen itself may be
  // deleted while selected, and lines drawn then must not read it.
  StandInPen selectedPen_;
  int x_ = 0;
  int y_ = 0;
  std::vector<DrawCall> calls_;
  std::string text_;
};

namespace norvane::gdi {

/// Number of pens created and not yet deleted, process-wide.
NORVANE_GDI_API std::size_t LivePens();

/// Number of calls refused for a bad handle since the process started.
NORVANE_GDI_API std::size_t RefusedCalls();

/// The calls whose failure a test can ask for.
enum class Failing { kCreatePen, kSelectObject };

/**
 * Makes one coming call of a function fail as real GDI's does when it runs
 * out of handles: CreatePen returns null, SelectObject returns null and
 * selects nothing.  A failed call is not counted as refused.  One pending
 * failure per function; asking again replaces it.
 *
 * @param[in] function the function.
 * @param[in] call which of its calls from now fails: 1 the next, 2 the one
 *   after; 0 cancels the pending failure.
 */
NORVANE_GDI_API void FailCall(Failing function, std::size_t call);

}  // namespace norvane::gdi
