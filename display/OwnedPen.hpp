#pragma once
/**
 * \file OwnedPen.hpp
 * \brief A GDI pen that is deleted with its owner.
 */

#include "platform/Gdi.hpp"

namespace norvane {

/**
 * \brief A solid pen, one pixel wide, made at construction and deleted at
 *   destruction.  A member of this type is deleted even when a later member
 *   of its owner fails to be made.  When GDI cannot make the pen (out of
 *   handles) the handle is null and there is nothing to delete.  Not
 *   copyable.
 */
class OwnedPen {
 public:
  /// @param[in] colour 0x00BBGGRR.
  explicit OwnedPen(COLORREF colour) : pen_(CreatePen(PS_SOLID, 1, colour)) {}
  ~OwnedPen() {
    if (pen_ != nullptr) DeleteObject(pen_);
  }

  OwnedPen(const OwnedPen&) = delete;
  OwnedPen& operator=(const OwnedPen&) = delete;

  /// The pen's handle, for SelectObject; owned by this object; null when
  /// GDI could not make the pen.
  HPEN Handle() const { return pen_; }

 private:
  HPEN pen_;
};

}  // namespace norvane
