#include "player/prompts/choice_menu.h"

#include <algorithm>

#include "player/prompts/message_lines.h"
#include "player/prompts/message_windows.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr int kDesignWidth = 208;
constexpr int kDesignHeight = 260;
constexpr int kButtonWidth = 61;
constexpr int kButtonHeight = 21;

char Letter(int position) { return static_cast<char>('A' + position); }

}  // namespace

std::vector<std::string> ChoiceMenuItems(std::string_view items) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (;;) {
    const std::size_t cr = items.find('\r', from);
    const bool last = cr == std::string_view::npos;
    std::string line(items.substr(from, last ? std::string_view::npos : cr - from));
    if (last) line = Trim(line);
    if (!TrimView(line).empty() && lines.size() < kChoiceMenuMaxItems) lines.push_back(CutShort(line));
    if (last) break;
    // The character after the carriage return is its line feed.
    from = cr + 2;
    if (from > items.size()) break;
  }
  return lines;
}

TShowAMenu::TShowAMenu(const ChoiceMenuText& menu, std::function<int(std::string_view)> width, int screenWidth,
                       int screenHeight)
    : PromptForm("ShowAMenu", menu.title),
      menu_(menu),
      width_(std::move(width)),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetClientSize(kDesignWidth, kDesignHeight);
  TheMessage.SetBounds(4, 4, kDesignWidth - 8, kLineHeight);
  TheMessage.SetWordWrap(true);
  for (int k = 0; k < kChoiceMenuMaxItems; ++k) {
    const std::string number = std::to_string(k + 1);
    Radio[k] = std::make_unique<forms::RadioButton>(&RadioPanel, "Radio" + number);
    Check[k] = std::make_unique<forms::CheckBox>(&CheckPanel, "Check" + number);
    Radio[k]->SetBounds(4, 6 + k * kItemHeight, kDesignWidth - 16, 17);
    Check[k]->SetBounds(4, 6 + k * kItemHeight, kDesignWidth - 16, 17);
  }
  RadioPanel.SetBounds(4, 24, kDesignWidth - 8, kChoiceMenuMaxItems * kItemHeight + 12);
  CheckPanel.SetBounds(4, 24, kDesignWidth - 8, kChoiceMenuMaxItems * kItemHeight + 12);
  OkButton.SetBounds((kDesignWidth - kButtonWidth) / 2, RadioPanel.bottom() + 4, kButtonWidth, kButtonHeight);
  OkButton.SetDefault(true);
  OkButton.onClick = [this] { OkButtonClick(); };
  onShow = [this] { FormShow(); };
}

void TShowAMenu::FormShow() {
  // Centred for the size the form has before it fits its items.
  CentreOnScreen(*this, screenWidth_, screenHeight_);
  result.clear();
  SetCaption(menu_.title);

  const std::vector<std::string> items = ChoiceMenuItems(menu_.items);
  const int count = static_cast<int>(items.size());
  itemCount_ = count;
  int widest = 0;
  for (const std::string& item : items) widest = std::max(widest, width_(item));
  menuWidth = std::max(widest + 30, kMinWidth);
  // A line as wide as the menu already wraps.
  lineCount = MessageLineCount(menu_.message, menuWidth - 1, width_);

  TheMessage.SetHeight(lineCount * kLineHeight);
  TheMessage.SetVisible(lineCount > 0);
  TheMessage.SetCaption(menu_.message);
  const int panelWidth = menuWidth - 8;
  for (forms::Panel* panel : {&RadioPanel, &CheckPanel}) {
    panel->SetBounds(4, TheMessage.height() + 8, panelWidth, count * kItemHeight + 12);
  }
  TheMessage.SetWidth(panelWidth);
  OkButton.SetTop(RadioPanel.bottom() + 4);
  OkButton.SetLeft((menuWidth - OkButton.width()) / 2);
  SetClientSize(menuWidth, OkButton.bottom() + 4);

  const bool radios = menu_.kind == 1;
  RadioPanel.SetVisible(radios);
  RadioPanel.SetEnabled(radios);
  CheckPanel.SetVisible(!radios);
  CheckPanel.SetEnabled(!radios);
  const std::string chosen = UpperAscii(menu_.current);
  for (int k = 0; k < kChoiceMenuMaxItems; ++k) {
    const bool used = k < count;
    for (forms::Control* box : {static_cast<forms::Control*>(Radio[k].get()), static_cast<forms::Control*>(Check[k].get())}) {
      box->SetWidth(panelWidth - 8);
      box->SetEnabled(used);
      box->SetVisible(used);
      box->SetCaption(used ? items[static_cast<std::size_t>(k)] : std::string());
    }
    const bool preset = used && chosen.find(Letter(k)) != std::string::npos;
    // Kind 1: radio buttons exclude each other, so the last letter in item order wins.
    if (radios && preset) Radio[k]->SetChecked(true);
    if (menu_.kind == 2 && preset) Check[k]->SetChecked(true);
  }
  Shown();
}

void TShowAMenu::OkButtonClick() {
  result.clear();
  for (int k = 0; k < kChoiceMenuMaxItems; ++k) {
    const bool chosen = menu_.kind == 1 ? Radio[k]->checked() : Check[k]->checked();
    if (chosen && k < itemCount_) result += Letter(k);
  }
  Close();
}

}  // namespace wdx::player
