// The virtual table of the C runtime's type_info class, which msvcrt.dll
// does not export.
//
// With run-time type information, every polymorphic class carries a type
// descriptor whose first field points to this table, so that a host's
// dynamic_cast and typeid work on the display objects it gets from the
// module.  The runtime's __RTDynamicCast and __RTtypeid tell descriptors apart
// by the decorated class names they hold and never call through this table,
// so any definition links and none is read.  Its one slot, the deleting
// destructor's, is null: a type_info is never destroyed through it.

extern "C" {
extern const void* const kTypeInfoVtable[1] __asm__("??_7type_info@@6B@");
const void* const kTypeInfoVtable[1] = {nullptr};
}
