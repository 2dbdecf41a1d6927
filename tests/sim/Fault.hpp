#pragma once
// The ways a test module breaks the plug-in contract; module number n is
// built with NORVANE_FAULT=n.

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
