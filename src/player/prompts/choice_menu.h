// TShowAMenu, the choice menu of "<MENU:": the menu's message above up to ten items, as radio
// buttons (one choice) or check boxes (several), and Ok. The choice is the items' letters,
// "A" for the first item to "J" for the tenth.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/controls.h"
#include "player/interpreter/macro_prompts.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

inline constexpr int kChoiceMenuMaxItems = 10;

// The items of a menu's text: its lines (CR LF between), the blank ones left out, at most ten,
// each at most 255 characters; the last line is trimmed.
std::vector<std::string> ChoiceMenuItems(std::string_view items);

class TShowAMenu : public PromptForm {
 public:
  static constexpr int kMinWidth = 200;
  static constexpr int kItemHeight = 20;
  static constexpr int kLineHeight = 16;

  // `width` measures a text in the form's font.
  TShowAMenu(const ChoiceMenuText& menu, std::function<int(std::string_view)> width, int screenWidth,
             int screenHeight);

  forms::Label TheMessage{this, "TheMessage"};
  forms::Panel RadioPanel{this, "RadioPanel"};
  forms::Panel CheckPanel{this, "CheckPanel"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  std::array<std::unique_ptr<forms::RadioButton>, kChoiceMenuMaxItems> Radio;
  std::array<std::unique_ptr<forms::CheckBox>, kChoiceMenuMaxItems> Check;

  // The letters chosen; empty until Ok.
  std::string result;
  int lineCount = 0;
  int menuWidth = 0;

 private:
  void FormShow();
  void OkButtonClick();

  ChoiceMenuText menu_;
  int itemCount_ = 0;
  std::function<int(std::string_view)> width_;
  int screenWidth_;
  int screenHeight_;
};

}  // namespace wdx::player
