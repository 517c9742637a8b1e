// TDoAMenu, "Choose A Macro": a menu of macros shown as a popup (modal; it closes with the
// chosen macro or none) or as a floating menu (modeless and always on top; a chosen entry runs
// at once and the menu stays). Its entries are owner-drawn rows in one or two lists, each with
// its speed key, or icon buttons; a key 0-9 or A-Z chooses the entry of that position.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/canvas.h"
#include "forms/controls.h"
#include "forms/draw_list.h"
#include "player/prompts/menu_layout.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

struct MenuEntry {
  int macro = 0;
  std::string text;   // text style
  std::string name;   // name-and-scope style; also the icon's hint
  std::string scope;
  forms::Picture picture;
};

// What the menu shows and where, and what the user chose.
struct MenuModel {
  MenuStyle style = MenuStyle::kNameAndScope;
  int iconSize = 16;
  int perRow = kMenuDefaultPerRow;
  bool vertical = false;
  std::vector<MenuEntry> entries;
  bool floating = false;
  std::string caption = "Choose A Macro";  // a floating menu shows its macro's nickname
  int position = kMenuCentred;
  platform::Point place;                 // kMenuAtPlace
  bool minimised = false;                // kMenuAtPlace: the menu starts as an icon
  platform::Rect screen{0, 0, 800, 600};
  // Result: the chosen macro, -1 for none.
  int chosen = -1;
};

class TDoAMenu : public PromptForm {
 public:
  // `floatChoice` runs a macro chosen from a floating menu; `userClose` is asked when the user
  // closes a floating menu (the menu stays; its macro is to be deactivated).
  TDoAMenu(MenuModel& model, std::function<void(int macro)> floatChoice, std::function<void()> userClose);

  forms::Label Name1Lab{this, "Name1Lab", "Name"};
  forms::Label Scope1Lab{this, "Scope1Lab", "Scope"};
  forms::Label Name2Lab{this, "Name2Lab", "Name"};
  forms::Label Scope2Lab{this, "Scope2Lab", "Scope"};
  forms::DrawListBox Script{this, "Script"};
  forms::DrawListBox Script2{this, "Script2"};
  forms::Label MessageLabel{this, "MessageLabel", "Double Click or Press Number or Letter"};
  forms::Button AbortButton{this, "AbortButton", "&Cancel"};
  std::vector<std::unique_ptr<forms::SpeedButton>> speedButtons;

  // Chooses the entry at position p (0-based): a popup closes, a floating menu runs it.
  void DoIt(int position);

 private:
  void FormShow();
  void FormKeyPress(char& key);
  void LayOutLists();
  void LayOutIconButtons();
  void DrawRow(int position, const platform::Rect& r, bool selected, forms::Canvas& canvas);

  MenuModel& model_;
  std::function<void(int)> floatChoice_;
  std::function<void()> userClose_;
};

}  // namespace wdx::player
