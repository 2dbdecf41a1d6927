#pragma once
// The ways a test module breaks the plug-in contract; the module of fault kX
// is faulty_module_X, built with NORVANE_FAULT=kX (tests/sim/CMakeLists.txt
// lists them).

namespace norvane::sim::test {

enum Fault : int {
  kNoFault,
  kNoEntry,           // built without the loader's entry hooks
  kNoInit,            // exports no vpcDLLInit
  kNoMode,            // vpcDLLInit registers nothing
  kWrongName,         // registers "Other"
  kWrongKey,          // registers key 48
  kNoDisplay,         // the message procedure answers 0
  kPenLeft,           // the display never deletes its pen
  kPenNotRestored,    // Update leaves its own pen selected
  kThrows,            // Update throws
  kStaysRegistered,   // vpcDLLExit does nothing
  kUnregistersTwice,  // vpcDLLExit unregisters twice
  kNoDelete,          // linked so that it never leaves the process
  kFaultCount
};

}  // namespace norvane::sim::test
