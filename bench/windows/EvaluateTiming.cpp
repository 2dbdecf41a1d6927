// evaluate-timing-*.exe: the time of one field evaluation as the Windows DLL
// computes it, for choosing its summation path.  Evaluates the model at a
// fixed spread of points, best of several rounds, with the performance
// counter; prints nanoseconds per evaluation.  C runtime only, like the
// module.

#include <stdio.h>
#include <stdlib.h>

#include "model/FieldModel.hpp"
#include "platform/Loader.hpp"

extern "C" void __getmainargs(int*, char***, char***, int, int*);

namespace {

constexpr int kPoints = 4096;
constexpr int kRounds = 40;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

extern "C" void TimingEntry() {
  static norvane::FieldModel model;
  static double latitude[kPoints], longitude[kPoints], altitude[kPoints];
  for (int i = 0; i < kPoints; ++i) {
    latitude[i] = -1.5 + 3.0 * i / kPoints;
    longitude[i] = -3.1 + 6.2 * ((i * 37) % kPoints) / kPoints;
    altitude[i] = (i % 100) * 10.0;
  }
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double best = 1e300;
  double sink = 0.0;
  for (int round = 0; round < kRounds; ++round) {
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kPoints; ++i) {
      double X, Y, Z, F, H, D, I;
      model.Evaluate(altitude[i], latitude[i], longitude[i], 2006.0, X, Y, Z, F,
                     H, D, I);
      sink += X;
    }
    QueryPerformanceCounter(&stop);
    const double seconds = Seconds(start, stop, frequency);
    if (seconds < best) best = seconds;
  }
  printf("%.1f ns per evaluation (best of %d rounds of %d points; sum %g)\n",
         best / kPoints * 1e9, kRounds, kPoints, sink);
  exit(0);
}
