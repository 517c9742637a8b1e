// The editor over the in-memory desktop with the direct text editor installed: a library is
// written, the editor starts, a row is chosen and "Modify Directly" opens its macro.
#pragma once

#include <functional>
#include <string>

#include "../editor_shell/editor_fixture.h"
#include "editor/direct/mod_hot_keys.h"
#include "forms/user.h"

namespace wdx::editor::testing {

class DirectFixture : public EditorFixture {
 public:
  using Script = std::function<void(TModHotKeys&)>;

  void StartWith(const std::vector<MacroSpec>& macros) {
    WriteLibrary(macros);
    Start();
    InstallDirectEditor(Main(), editor->Context());
    TakeNotices();
  }
  // Chooses the row of macro `n` and "Modify Directly"; `script` plays the user in the editor,
  // `inner` in the forms the editor opens in turn.
  void Modify(int n, Script script, std::vector<forms::ScriptedRunner::Script> inner = {}) {
    Main().SelectMacro(n);
    runner.Then([script](forms::Form& f) { script(static_cast<TModHotKeys&>(f)); });
    for (auto& s : inner) runner.Then(std::move(s));
    forms::user::ChooseMenu(Main(), "MenuEnterKey");
  }
  static void Type(forms::Control& c, const std::string& text) { forms::user::EnterText(c, text); }
  static void Click(forms::Control& c) { forms::user::Click(c); }
};

}  // namespace wdx::editor::testing
