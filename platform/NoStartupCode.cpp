// The module and the Windows stand-in host link no C runtime start-up code:
// their entries are their own, and msvcrt.dll sets itself up when it loads.
// The start-up code would also define _fltused, which the compiler refers to
// from every object that uses floating point; it marks nothing here.

extern "C" {
extern int _fltused;
int _fltused = 0;
}
