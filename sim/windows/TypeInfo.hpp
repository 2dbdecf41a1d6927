#pragma once
/**
 * \file TypeInfo.hpp
 * \brief msvcrt.dll's type_info, which typeid yields in the platform's ABI,
 *   for a program built without the platform's C++ headers.
 *
 * A type_info is the type descriptor of a class: its virtual table (which
 * nothing calls), a slot the runtime fills with the undecorated name, then
 * the decorated name.  Only what the runtime exports is declared.
 */

class type_info {
 public:
  type_info(const type_info&) = delete;
  type_info& operator=(const type_info&) = delete;
  virtual ~type_info();

  /**
   * The class's name as the platform's compiler spells it, such as
   * "class MFD"; made and kept by the runtime at the first call.
   */
  const char* name() const;
};

namespace std {
using ::type_info;
}  // namespace std
