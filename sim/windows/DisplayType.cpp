#include "sim/windows/DisplayType.hpp"

#include <string.h>

#include "sim/windows/TypeInfo.hpp"

// The runtime's cast, as the compiler calls it for a dynamic_cast that needs
// the object's type information; null when the cast fails.
extern "C" void* __RTDynamicCast(void* object, long vfptrOffset,
                                 void* sourceType, void* targetType,
                                 int isReference);

namespace norvane::winhost {
namespace {

// A display mode of the host's own, which no module's display is.
class HostMode : public MFD {
 public:
  using MFD::MFD;
  void Update(HDC) override {}
};

// A newer interface a host may ask a display for; the module implements
// none.
class NewerInterface {
 public:
  virtual ~NewerInterface() = default;
  virtual int Revision() const = 0;
};

}  // namespace

const char* DisplayTypeFault(MFD* display) {
  if (dynamic_cast<HostMode*>(display) != nullptr) {
    return "dynamic_cast to a mode of the host's own did not give null";
  }
  if (dynamic_cast<NewerInterface*>(display) != nullptr) {
    return "dynamic_cast to an interface it lacks did not give null";
  }
  // From an MFD* the compiler casts to MFD* without the runtime.
  auto* mfd = const_cast<std::type_info*>(&typeid(MFD));
  if (__RTDynamicCast(display, 0, mfd, mfd, 0) != display) {
    return "the runtime's dynamic_cast to MFD* did not give the display";
  }
  if (dynamic_cast<void*>(display) != display) {
    return "dynamic_cast<void*> did not give the display";
  }
  if (strcmp(typeid(*display).name(), "class norvane::Norvane") != 0) {
    return "typeid does not name class norvane::Norvane";
  }
  return nullptr;
}

}  // namespace norvane::winhost
