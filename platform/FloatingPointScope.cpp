#include "platform/FloatingPointScope.hpp"

namespace norvane {
namespace {

#if defined(__i386__) || defined(__x86_64__)
// MXCSR: every exception masked, round to nearest, no flush to zero, denormal
// inputs kept, no exception flag set.
constexpr unsigned int kSseDefault = 0x1F80;
// x87 control word: every exception masked, round to nearest, 53-bit
// (double) precision.
constexpr unsigned short kX87Double = 0x027F;
#endif

}  // namespace

FloatingPointScope::FloatingPointScope() {
#if defined(__i386__) || defined(__x86_64__)
  // fnstenv also masks every x87 exception until the control word is loaded.
  __asm__ volatile("fnstenv %0" : "=m"(x87Environment_) : : "memory");
  __asm__ volatile("fldcw %0" : : "m"(kX87Double) : "memory");
  __asm__ volatile("stmxcsr %0" : "=m"(sseControl_) : : "memory");
  __asm__ volatile("ldmxcsr %0" : : "m"(kSseDefault) : "memory");
#endif
}

FloatingPointScope::~FloatingPointScope() {
#if defined(__i386__) || defined(__x86_64__)
  __asm__ volatile("ldmxcsr %0" : : "m"(sseControl_) : "memory");
  __asm__ volatile("fldenv %0" : : "m"(x87Environment_) : "memory");
#endif
}

}  // namespace norvane
