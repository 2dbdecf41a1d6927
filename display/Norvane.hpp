#pragma once
/**
 * \file Norvane.hpp
 * \brief The compass display mode: the field at the vessel, as text and two
 *   needles.
 */

#include <stddef.h>
#include <stdint.h>

#include "display/OwnedPen.hpp"
#include "host/HostApi.hpp"
#include "model/FieldModel.hpp"

namespace norvane {

/**
 * \brief One compass page on one MFD.
 *
 * Every repaint asks the host for the vessel's position and true heading,
 * evaluates the field model there for the decimal year 2006.0 and paints a
 * title, twelve rows (position, field components in tesla, declination,
 * inclination, true and magnetic heading) and two needles from a common
 * origin: white towards true north, red towards magnetic north, relative to
 * the vessel's nose (heading 0 points up, 90 degrees left).  Nothing is kept
 * from one repaint to the next.
 */
class Norvane : public MFD {
 public:
  /**
   * Sets up the model in the IEEE default floating-point environment; the
   * host's constructor and GDI run in the caller's.  A pen that GDI cannot
   * make (out of handles) stays null and its needle is not drawn.  When
   * making a pen throws (only off Windows, where the GDI may), what was made
   * before is deleted again.  An exception from the host's MFD constructor
   * passes through untouched (ModeMsgProc says what becomes of the storage).
   *
   * @param[in] w,h size of the MFD surface, pixels; taken as signed 32-bit
   *   values wherever they are used (a value of 2^31 or more counts as
   *   negative).
   * @param[in] v the vessel; not owned, must outlive the display object.
   */
  Norvane(DWORD w, DWORD h, VESSEL* v);

  /// Deletes penMagnetic, then penTrue (the reverse of their declaration).
  ~Norvane() override = default;

  /**
   * Storage for a display object, from the C runtime's heap: the module
   * needs no C++ runtime, and the host's delete of an MFD* frees it here,
   * through the virtual destructor.
   *
   * @param[in] size bytes.
   * @return the storage, or null when there is none; a new-expression then
   *   constructs nothing and yields null.
   */
  static void* operator new(size_t size) noexcept;

  /// @param[in] storage from operator new, or null.
  static void operator delete(void* storage) noexcept;

  Norvane(const Norvane&) = delete;
  Norvane& operator=(const Norvane&) = delete;

  /**
   * Paints one page.  The pen selected in hDC before the call is selected
   * again after it, also when GDI could not make or select one of the
   * display's pens (out of handles); font, text colour and background are
   * the host's.  Whatever the host reports, every row is printed; a needle
   * whose heading or end point is not finite (a non-finite heading, or a
   * vessel at the body's centre, where the field is undefined), or whose own
   * pen is missing, is left out.
   *
   * The page's own arithmetic (the model, the headings, the rows' text and
   * positions, the needles' ends) runs in the IEEE default floating-point
   * environment (FloatingPointScope), and the exception flags it raises are
   * dropped.  The host's calls (the title, the vessel's position and
   * heading, GDI) run in the caller's environment: what they change in it,
   * control settings or exception flags, stays as they left it.
   *
   * @param[in] hDC device context of the MFD surface.
   */
  void Update(HDC hDC) override;

  /**
   * Swallows the keys [, ], comma and full stop; does nothing with them.
   *
   * @param[in] key key code, PC scan-code set 1.
   * @return true for 26, 27, 51 and 52; false for any other code.
   */
  bool ConsumeKeyBuffered(DWORD key) override;

 private:
  VESSEL* vessel;
  int32_t width;   ///< pixels
  int32_t height;  ///< pixels
  FieldModel model;
  OwnedPen penTrue;      ///< white, true-north needle
  OwnedPen penMagnetic;  ///< red, magnetic-north needle
};

}  // namespace norvane
