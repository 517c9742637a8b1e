// The real platform for the Windows programs: one object in the program's entry point.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_window_system.h"

namespace wdx::platform {

class Win32Platform {
 public:
  Platform Get();

  Win32WindowSystem windows;
  Win32MessageLoop loop;
  Win32Clock clock;
  Win32Input input;
  Win32KernelObjects kernel;
  Win32ProfileFiles profile;
  Win32MessageBoxes boxes;
  Win32Registry registry;
};

}  // namespace wdx::platform
