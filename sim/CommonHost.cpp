#include "sim/CommonHost.hpp"

#include <stdio.h>
#include <string.h>

using norvane::sim::HostCall;
using norvane::sim::HostCallStarts;
using norvane::sim::VesselState;

void MFD::Title(HDC hDC, const char* title) const {
  HostCallStarts(HostCall::kTitle);
  if (title == nullptr) return;
  TextOutA(hDC, norvane::sim::kTitleX, norvane::sim::kTitleY, title,
           static_cast<int>(strlen(title)));
}

VESSEL::VESSEL(OBJHANDLE handle) : handle_(handle) {}

OBJHANDLE VESSEL::GetHandle() const { return handle_; }

OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude,
                            double& radius) const {
  HostCallStarts(HostCall::kGetEquPos);
  const auto* state = static_cast<const VesselState*>(handle_);
  if (state == nullptr) return nullptr;
  longitude = state->longitude;
  latitude = state->latitude;
  radius = state->radius;
  return handle_;
}

int vapiGetHeading(OBJHANDLE object, double* heading) {
  if (object == nullptr || heading == nullptr) return 0;
  *heading = static_cast<const VesselState*>(object)->heading;
  return 1;
}

// Version numbers are the date as YYYYMMDD ("Apr 25 2006" gives 20060425);
// text of any other form gives 0.
int Date2Int(const char* date) {
  HostCallStarts(HostCall::kDate2Int);
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                        "May", "Jun", "Jul", "Aug",
                                        "Sep", "Oct", "Nov", "Dec"};
  if (date == nullptr) return 0;
  char month[4] = {};
  int day = 0;
  int year = 0;
  char trailing = 0;
  if (sscanf(date, "%3s %d %d%c", month, &day, &year, &trailing) != 3 ||
      day < 1 || day > 31 || year < 1 || year > 9999) {
    return 0;
  }
  for (int m = 0; m < 12; ++m) {
    if (strcmp(month, kMonths[m]) == 0) {
      return year * 10000 + (m + 1) * 100 + day;
    }
  }
  return 0;
}
