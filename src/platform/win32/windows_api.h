// <windows.h> for the adapter, without the A/W name macros that would rename our own methods
// (CreateMutex, PostMessage, FindWindow...). The adapter calls the A functions by their names.
#pragma once

#include <windows.h>

#undef CreateMutex
#undef CreateSemaphore
#undef OpenMutex
#undef OpenSemaphore
#undef PostMessage
#undef SendMessage
#undef FindWindow
#undef GetClassName
#undef VkKeyScan
#undef MapVirtualKey
#undef MessageBox

#include <cstdint>

#include "platform/types.h"

namespace wdx::platform::win32 {

// Window handles are 32-bit significant: truncating is safe, and widening sign-extends as
// Windows does for handles that cross between 32- and 64-bit programs.
inline WindowHandle ToHandle(HWND h) {
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(h));
}
inline HWND ToHwnd(WindowHandle w) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(w)));
}

}  // namespace wdx::platform::win32
