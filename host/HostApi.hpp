#pragma once
/**
 * \file HostApi.hpp
 * \brief The host simulator's plug-in interface, as the module uses it.
 *
 * The host implements everything declared here; the module only calls it.
 * A host build defines NORVANE_HOST_IMPLEMENTATION so that these names are
 * exported from the host executable instead of imported by the module.
 */

#include <stdint.h>

#include "platform/Gdi.hpp"
#include "platform/Loader.hpp"

#if defined(_WIN32)
#if defined(NORVANE_HOST_IMPLEMENTATION)
#define NORVANE_HOST_API __declspec(dllexport)
#else
#define NORVANE_HOST_API __declspec(dllimport)
#endif
#else
#define NORVANE_HOST_API __attribute__((visibility("default")))
#endif

/// Opaque handle of a simulation object (a vessel, a body).
using OBJHANDLE = void*;

/// Opaque handle of a scenario file, for status reading and writing.
using FILEHANDLE = void*;

/// One entry of an MFD button menu (host-defined; unused by the module).
struct MFDBUTTONMENU {
  const char* line1;
  const char* line2;
  char selchar;
};

/**
 * Message procedure of a display mode.
 *
 * @param[in] msg message code; 1 asks for a new display object.
 * @param[in] mfd identifier of the MFD.
 * @param[in] wparam for code 1: surface width in bits 0-15, height in bits
 *   16-31, pixels.
 * @param[in] lparam for code 1: the VESSEL pointer.
 * @return for code 1 the new display object's address (an MFD*), or 0.
 */
using MFDModeMsgProc = intptr_t (*)(uint32_t msg, uint32_t mfd,
                                    uintptr_t wparam, uintptr_t lparam);

/// Registration record of a display mode.
struct MFDMODESPEC {
  const char* name;  ///< mode name, zero-terminated; must outlive the mode
  DWORD key;         ///< selection key, PC scan-code set 1
  MFDModeMsgProc msgproc;  ///< creates the mode's display objects
};

class VESSEL;

/**
 * \brief Base class of display modes.  The host owns each display object and
 *   destroys it through the virtual destructor.
 */
class NORVANE_HOST_API MFD {
 public:
  /**
   * @param[in] w,h size of the MFD surface, pixels.
   * @param[in] vessel the vessel the MFD belongs to; must outlive the object.
   */
  MFD(DWORD w, DWORD h, VESSEL* vessel);
  virtual ~MFD();

  /**
   * Paints the whole surface.
   *
   * @param[in] hDC device context of the MFD surface.
   */
  virtual void Update(HDC hDC) = 0;

  /**
   * Offers a buffered key press.
   *
   * @param[in] key key code, PC scan-code set 1.
   * @return true when the key was consumed; default false.
   */
  virtual bool ConsumeKeyBuffered(DWORD key);

  /// Offers the immediate keyboard state; default false (not consumed).
  virtual bool ConsumeKeyImmediate(char* keyState);

  /// Offers a button event; default false (not consumed).
  virtual bool ConsumeButton(int button, int event);

  /// Label of a button; default none (null).
  virtual char* ButtonLabel(int button);

  /// Button menu; default none: sets nothing and returns 0 entries.
  virtual int ButtonMenu(const MFDBUTTONMENU** menu) const;

  /// Reads the mode's status from a scenario; default nothing.
  virtual void ReadStatus(FILEHANDLE scenario);

  /// Writes the mode's status to a scenario; default nothing.
  virtual void WriteStatus(FILEHANDLE scenario) const;

  /// Keeps the status while the MFD is switched away; default nothing.
  virtual void StoreStatus() const;

  /// Restores the kept status; default nothing.
  virtual void RecallStatus();

  /**
   * Paints the title line at the top of the surface.
   *
   * @param[in] hDC device context of the MFD surface.
   * @param[in] title zero-terminated single-byte text.
   */
  void Title(HDC hDC, const char* title) const;

 protected:
  DWORD surfaceWidth;   ///< pixels
  DWORD surfaceHeight;  ///< pixels
  VESSEL* surfaceVessel;

 private:
  /**
   * Room for whatever else a host keeps in its MFD base.  A display object
   * is allocated by the module with the size this declaration gives MFD,
   * and the host's constructor fills the base as the host declares it: were
   * the host's base larger, it would write into the display's own fields
   * or past the object.  So the base is declared larger than any host's is
   * expected to be, and the module never reads this room.
   *
   * After the vtable pointer, the three fields above and this array take
   * 256 bytes on 32-bit Windows (a base of 260 bytes) and 504 bytes on
   * 64-bit Windows (a base of 512 bytes, the two DWORDs sharing one
   * pointer's room).  A host's base holds a few fields of this kind: the
   * surface, the vessel, handles, button state; 256 bytes on the host's own
   * 32-bit platform is several times that, for the cost of one allocation
   * per display.  The room is counted in pointers because such state is
   * mostly pointers and handles, which double in size on 64-bit Windows.
   */
  [[maybe_unused]] void* hostState_[64 - 3];
};

/**
 * \brief A vessel in the simulation, as seen by a plug-in.
 */
class NORVANE_HOST_API VESSEL {
 public:
  /// @param[in] handle the host's handle of the vessel object.
  explicit VESSEL(OBJHANDLE handle);

  /// The vessel's object handle.
  OBJHANDLE GetHandle() const;

  /**
   * The vessel's position in the equatorial frame of the body it moves about.
   *
   * @param[out] longitude radians, east positive.
   * @param[out] latitude radians, north positive.
   * @param[out] radius distance from the body's centre, metres.
   * @return the reference body's handle.
   */
  OBJHANDLE GetEquPos(double& longitude, double& latitude,
                      double& radius) const;

 private:
  OBJHANDLE handle_;
};

/**
 * Registers a display mode.
 *
 * @param[in] spec the mode's record; read during the call only.
 * @return the mode identifier, for vapiUnregisterMFDMode.
 */
NORVANE_HOST_API int vapiRegisterMFDMode(MFDMODESPEC& spec);

/**
 * Unregisters a display mode.
 *
 * @param[in] mode identifier from vapiRegisterMFDMode.
 * @return true when the mode was registered.
 */
NORVANE_HOST_API bool vapiUnregisterMFDMode(int mode);

/**
 * An object's true heading.
 *
 * @param[in] object the object's handle.
 * @param[out] heading radians from true north, clockwise; not normalised.
 * @return nonzero on success.
 */
NORVANE_HOST_API int vapiGetHeading(OBJHANDLE object, double* heading);

/**
 * Tells the host the module's instance handle; called once at attach.
 *
 * @param[in] instance the module's instance handle.
 */
NORVANE_HOST_API void InitLib(HINSTANCE instance);

/**
 * Turns a date into a version number.
 *
 * @param[in] date text of the form "Apr 25 2006".
 * @return the version number.
 */
NORVANE_HOST_API int Date2Int(const char* date);
