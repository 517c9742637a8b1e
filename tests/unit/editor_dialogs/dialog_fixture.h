// What the dialog tests share: the in-memory platform on an 800 x 600 screen, the scripted
// runner, and the services every dialog gets.
#pragma once

#include <string>

#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"
#include "forms/scripted_runner.h"
#include "forms/user.h"
#include "platform/memory/memory_platform.h"

namespace wdx::editor::testing {

class DialogTest {
 protected:
  DialogTest() {
    mem.input.SetScreenSize({800, 600});
    services = DialogServices::Of(mem.Get(), "C:\\WENDRIX\\");
  }

  template <class T>
  static T& Get(forms::Form& f, const char* name) {
    T* c = f.FindAs<T>(name);
    if (c == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *c;
  }
  static void Type(forms::Form& f, const char* name, const std::string& text) {
    forms::user::EnterText(Get<forms::Edit>(f, name), text);
  }
  static void Click(forms::Form& f, const char* name) { forms::user::Click(*f.Find(name)); }

  platform::MemoryPlatform mem;
  forms::ScriptedRunner runner{mem.desktop, mem.desktop};
  DialogServices services;
};

}  // namespace wdx::editor::testing
