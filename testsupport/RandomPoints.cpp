#include "testsupport/RandomPoints.hpp"

#include <cmath>
#include <random>

#include "common/Pi.hpp"

namespace norvane {

std::vector<FieldPoint> RandomPoints(int count, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<FieldPoint> points;
  for (int i = 0; i < count; ++i) {
    FieldPoint p;
    const double u = unit(random);
    p.altitude = -10.0 + 40010.0 * u * u * u;
    p.longitude = -2.0 * kPi + 4.0 * kPi * unit(random);
    p.year = 2000.0 + 12.0 * unit(random);
    const double pole = i % 20 < 10 ? kPi / 2 : -kPi / 2;
    switch (i % 10) {
      case 0:
        p.latitude = pole;
        break;
      case 1:
        p.latitude = pole - std::copysign(1e-8 * unit(random), pole);
        break;
      case 2:  // 1e-8 to 1e-4 rad from the pole, log-uniform
        p.latitude =
            pole -
            std::copysign(std::pow(10.0, -8.0 + 4.0 * unit(random)), pole);
        break;
      default:
        p.latitude = -kPi / 2 + kPi * unit(random);
    }
    points.push_back(p);
  }
  return points;
}

}  // namespace norvane
