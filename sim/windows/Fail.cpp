#include "sim/windows/Fail.hpp"

#include <stdarg.h>
#include <stdlib.h>

namespace norvane::winhost {

FILE* ErrorStream() { return &_iob[2]; }

void Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  fprintf(ErrorStream(), "norvane-sim: ");
  vfprintf(ErrorStream(), format, args);
  fprintf(ErrorStream(), "\n");
  va_end(args);
  exit(1);
}

}  // namespace norvane::winhost
