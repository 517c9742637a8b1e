#include "player/prompts/do_a_menu.h"

#include <algorithm>

namespace wdx::player {

namespace {
constexpr forms::Color kSilver = forms::Rgb(0xC0, 0xC0, 0xC0);
constexpr forms::Color kGrey = forms::Rgb(0x80, 0x80, 0x80);
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 20;
}  // namespace

TDoAMenu::TDoAMenu(MenuModel& model, std::function<void(int)> floatChoice, std::function<void()> userClose)
    : PromptForm("DoAMenu", "Choose A Macro"),
      model_(model),
      floatChoice_(std::move(floatChoice)),
      userClose_(std::move(userClose)) {
  SetBorderStyle(forms::BorderStyle::kToolWindow);
  SetToolWindow(true);
  SetStayOnTop(true);
  SetKeyPreview(true);
  forms::Font font;
  font.name = "Arial";
  font.height = 12;
  font.color = forms::kColorBlack;
  SetFont(font);
  forms::Font small = font;
  small.height = 9;
  MessageLabel.SetFont(small);
  MessageLabel.SetWordWrap(true);
  AbortButton.SetCancel(true);
  AbortButton.SetModalResult(forms::ModalResult::kCancel);
  for (forms::DrawListBox* list : {&Script, &Script2}) {
    list->SetItemHeight(kMenuRowHeight);
    const int offset = list == &Script ? 0 : kMenuListRows;
    list->onDrawItem = [this, offset](int index, const platform::Rect& r, bool selected, forms::Canvas& canvas) {
      DrawRow(index + offset, r, selected, canvas);
    };
    list->onDblClick = [this, list, offset] {
      if (list->itemIndex() >= 0) DoIt(list->itemIndex() + offset);
    };
  }
  AbortButton.onClick = [this] { model_.chosen = -1; };
  onKeyPress = [this](char& key) { FormKeyPress(key); };
  onShow = [this] { Shown(); };
  onCloseQuery = [this](bool& canClose) {
    if (!model_.floating) return;
    // The user's close box: the menu stays until its macro is no longer active.
    canClose = false;
    if (userClose_) userClose_();
  };
  FormShow();
}

void TDoAMenu::FormShow() {
  model_.chosen = -1;
  if (model_.floating) SetCaption(model_.caption);
  if (model_.style == MenuStyle::kIcons) {
    LayOutIconButtons();
  } else {
    LayOutLists();
  }
  if (model_.floating) {
    AbortButton.SetVisible(false);
    AbortButton.SetEnabled(false);
    MessageLabel.SetVisible(false);
    MessageLabel.SetEnabled(false);
  }
  const platform::Point at = PlaceMenu(model_.position, model_.place, width(), height(), model_.screen);
  SetBounds(at.x, at.y, width(), height());
  if (model_.position == kMenuAtPlace && model_.minimised) SetWindowState(forms::WindowState::kMinimized);
}

void TDoAMenu::LayOutIconButtons() {
  for (forms::Control* c : std::initializer_list<forms::Control*>{&Script, &Script2, &Name1Lab, &Scope1Lab, &Name2Lab,
                                                                  &Scope2Lab, &MessageLabel}) {
    c->SetVisible(false);
    c->SetEnabled(false);
  }
  const int count = static_cast<int>(model_.entries.size());
  const IconLayout l = LayOutIcons(count, model_.perRow, model_.vertical, model_.iconSize, !model_.floating);
  SetClientSize(l.clientWidth, l.clientHeight);
  for (int i = 0; i < count; ++i) {
    const MenuEntry& e = model_.entries[static_cast<std::size_t>(i)];
    auto button = std::make_unique<forms::SpeedButton>(this, "Speed" + std::to_string(i + 1), e.picture,
                                                       model_.iconSize, e.name);
    button->SetBounds(l.cells[static_cast<std::size_t>(i)].x, l.cells[static_cast<std::size_t>(i)].y, l.cell, l.cell);
    button->onClick = [this, i] { DoIt(i); };
    speedButtons.push_back(std::move(button));
  }
  AbortButton.SetBounds((l.clientWidth - kButtonWidth) / 2, l.clientHeight - 21, kButtonWidth, kButtonHeight);
}

void TDoAMenu::LayOutLists() {
  const bool text = model_.style == MenuStyle::kText;
  for (forms::Label* name : {&Name1Lab, &Name2Lab}) name->SetCaption(text ? "Macro Text" : "Name");
  const int count = static_cast<int>(model_.entries.size());
  const ListLayout l = player::LayOutLists(count, !model_.floating);
  SetClientSize(l.clientWidth, l.clientHeight);
  // The labels head the columns the rows draw: name after the key cell, scope at five sevenths.
  const int unit = (kMenuListWidth - 4) / 7;
  const int keyWidth = unit / 2;
  for (int list = 0; list < 2; ++list) {
    const int x = list == 0 ? 0 : kMenuSecondListLeft;
    forms::Label& name = list == 0 ? Name1Lab : Name2Lab;
    forms::Label& scope = list == 0 ? Scope1Lab : Scope2Lab;
    name.SetBounds(x + 2 + keyWidth + 2, 3, 5 * unit - keyWidth - 4, 15);
    scope.SetBounds(x + 2 + 5 * unit + 2, 3, 2 * unit - 4, 15);
    const bool shown = list == 0 || l.script2Height > 0;
    name.SetVisible(shown);
    scope.SetVisible(shown && !text);
  }
  Script.SetBounds(0, kMenuListTop, kMenuListWidth, l.scriptHeight);
  Script2.SetBounds(kMenuSecondListLeft, kMenuListTop, kMenuListWidth, std::max(l.script2Height, 8));
  Script2.SetVisible(l.script2Height > 0);
  std::vector<std::string> left, right;
  for (int i = 0; i < count; ++i) (i < kMenuListRows ? left : right).push_back(" ");
  Script.SetItems(left);
  Script2.SetItems(right);
  MessageLabel.SetBounds(4, l.clientHeight - 21, l.clientWidth - kButtonWidth - 12, 18);
  AbortButton.SetBounds(l.clientWidth - kButtonWidth - 4, l.clientHeight - 21, kButtonWidth, kButtonHeight);
}

void TDoAMenu::DrawRow(int position, const platform::Rect& r, bool selected, forms::Canvas& canvas) {
  if (position < 0 || position >= static_cast<int>(model_.entries.size())) return;
  const MenuEntry& e = model_.entries[static_cast<std::size_t>(position)];
  const int unit = (r.right - r.left) / 7;
  const int keyWidth = unit / 2;
  const forms::Color textColor = canvas.font.color;
  const int textTop = r.top + std::max(0, (r.bottom - r.top - canvas.TextHeight("0")) / 2);
  // The key cell.
  canvas.brushColor = kSilver;
  canvas.FillRect({r.left, r.top, r.left + keyWidth, r.bottom});
  canvas.font.color = forms::kColorBlack;
  canvas.WriteText(r.left + 2, textTop, std::string(1, SpeedKey(position)), {r.left, r.top, r.left + keyWidth, r.bottom});
  canvas.font.color = selected ? forms::kColorHighlightText : textColor;
  // The grid lines: after the key cell and along the bottom.
  canvas.brushColor = kGrey;
  canvas.FillRect({r.left + keyWidth, r.top, r.left + keyWidth + 1, r.bottom});
  canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom});
  const int textLeft = r.left + keyWidth + 2;
  if (model_.style == MenuStyle::kText) {
    canvas.WriteText(textLeft, textTop, e.text, {textLeft, r.top, r.right, r.bottom - 1});
    return;
  }
  canvas.FillRect({r.left + 5 * unit, r.top, r.left + 5 * unit + 1, r.bottom});
  const std::string name = forms::FitText(canvas, e.name, unit * 9 / 2);
  canvas.WriteText(textLeft, textTop, name, {textLeft, r.top, r.left + 5 * unit, r.bottom - 1});
  canvas.WriteText(r.left + 5 * unit + 2, textTop, e.scope, {r.left + 5 * unit + 2, r.top, r.right, r.bottom - 1});
}

void TDoAMenu::FormKeyPress(char& key) {
  const int p = PositionOfKey(key);
  if (p < 0) return;
  key = '\0';
  if (p < static_cast<int>(model_.entries.size())) DoIt(p);
}

void TDoAMenu::DoIt(int position) {
  if (position < 0 || position >= static_cast<int>(model_.entries.size())) return;
  const int macro = model_.entries[static_cast<std::size_t>(position)].macro;
  if (model_.floating) {
    if (floatChoice_) floatChoice_(macro);
    return;
  }
  model_.chosen = macro;
  SetModalResult(forms::ModalResult::kOk);
}

}  // namespace wdx::player
