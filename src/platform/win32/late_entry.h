// An entry of a system library that is loaded when first asked for instead of at start. A
// linked library is loaded and set up in every program from its start; the dialog, shell and
// common-control libraries (and what they pull in) would keep megabytes resident in the
// player, which needs them only when a macro asks.
#pragma once

#include <windows.h>

namespace wdx::platform::win32 {

// nullptr when the library or the entry cannot be had. The library stays loaded.
template <class Fn>
Fn LateEntry(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace wdx::platform::win32
