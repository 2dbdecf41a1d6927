#pragma once
/**
 * \file FloatingPointScope.hpp
 * \brief The floating-point environment the module computes in, whatever
 *   the host has set.
 *
 * The module runs inside the host's process, on the host's thread, with the
 * host's floating-point control settings.  A host or a graphics runtime it
 * uses may have lowered the x87 unit's precision (to 24 bits, say), changed
 * the rounding mode, flushed denormals to zero or unmasked exceptions; any
 * of these would change the page or trap on the NaNs and infinities that
 * nonsense input produces.  Inside a FloatingPointScope the processor works
 * in IEEE double precision, rounds to nearest, keeps denormals and masks
 * every exception: on x86 that is the SSE control register and the x87
 * unit, which C runtimes use for some mathematical functions and read for
 * the rounding of printed numbers.  On other processors the scope does
 * nothing.
 *
 * A scope covers the module's own arithmetic only.  Calls into the host or
 * GDI belong outside it: they run in the host's environment, so that the
 * exception flags they raise and any change they make to the environment
 * stay, instead of being undone when the scope ends.
 *
 * Nothing in the language stops a compiler from moving arithmetic across the
 * calls that enter and leave a scope; code that uses one is built so that
 * the compiler must not (platform/CMakeLists.txt).
 */

namespace norvane {

/**
 * \brief While it lives, the IEEE default floating-point environment; at its
 *   end the caller's environment, control and status flags, exactly as it
 *   was.  Not copyable; scopes nest.
 */
class FloatingPointScope {
 public:
  FloatingPointScope();
  ~FloatingPointScope();

  FloatingPointScope(const FloatingPointScope&) = delete;
  FloatingPointScope& operator=(const FloatingPointScope&) = delete;

 private:
#if defined(__i386__) || defined(__x86_64__)
  unsigned int sseControl_;  ///< the caller's MXCSR
  /// The caller's x87 environment, as fnstenv stores it (28 bytes).
  unsigned char x87Environment_[28];
#endif
};

}  // namespace norvane
