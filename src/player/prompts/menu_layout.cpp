#include "player/prompts/menu_layout.h"

#include <algorithm>

#include "shared/hot_keys.h"
#include "shared/text_util.h"

namespace wdx::player {

int IconSizeOf(char option) {
  switch (option) {
    case '1': return 24;
    case '2': return 32;
    case '3': return 48;
    case '4': return 64;
    default: return 16;
  }
}

MenuSpec MenuSpecOf(const TMacroRec& menu, int self, int macroLimit) {
  MenuSpec spec;
  const int stored = std::clamp<int>(menu.MenuItemCount(), 0, kMenuMaxEntries);
  for (int i = 1; i <= stored; ++i) {
    const int n = static_cast<std::uint16_t>(menu.MenuItem(i));
    if (n < 1 || n > macroLimit || n == self) continue;
    if (std::find(spec.entries.begin(), spec.entries.end(), n) != spec.entries.end()) continue;
    spec.entries.push_back(n);
  }
  const char style = menu.MenuOption(2);
  spec.style = style == '1' ? MenuStyle::kText : style == '2' ? MenuStyle::kIcons : MenuStyle::kNameAndScope;
  spec.iconSize = IconSizeOf(menu.MenuOption(3));
  const int perRow = menu.MenuIconsPerRow();
  spec.perRow = perRow >= 1 && perRow <= 20 ? perRow : kMenuDefaultPerRow;
  spec.vertical = menu.MenuVertical() != 0;
  return spec;
}

IconLayout LayOutIcons(int count, int perRow, bool vertical, int iconSize, bool popup) {
  IconLayout l;
  count = std::clamp(count, 0, kMenuMaxEntries);
  if (perRow < 1 || perRow > 20) perRow = kMenuDefaultPerRow;
  l.cell = iconSize + 4;
  const int lines = (count + perRow - 1) / perRow;
  const int room = popup ? kMenuButtonRoom : 0;
  const int across = count < perRow ? count : perRow;
  if (!vertical) {
    l.clientHeight = lines * l.cell + room;
    int cells = std::max(across, 1);
    if (popup) cells = std::max(cells, 4);
    l.clientWidth = cells * l.cell;
  } else {
    l.clientWidth = std::max(lines, popup ? 4 : 1) * l.cell;
    l.clientHeight = std::max(across, 1) * l.cell + room;
  }
  for (int i = 0; i < count; ++i) {
    const int along = i % perRow;
    const int line = i / perRow;
    l.cells.push_back(vertical ? platform::Point{line * l.cell, along * l.cell}
                               : platform::Point{along * l.cell, line * l.cell});
  }
  return l;
}

ListLayout LayOutLists(int count, bool popup) {
  ListLayout l;
  count = std::clamp(count, 0, kMenuMaxEntries);
  if (count <= kMenuListRows) {
    l.scriptHeight = count * kMenuRowHeight + 8;
    l.clientWidth = kMenuListWidth;
  } else {
    l.scriptHeight = kMenuListRows * kMenuRowHeight + 8;
    l.script2Height = (count - kMenuListRows) * kMenuRowHeight + 8;
    l.clientWidth = kMenuSecondListLeft + kMenuListWidth;
  }
  l.clientHeight = l.scriptHeight + kMenuListTop + (popup ? kMenuButtonRoom : 0);
  return l;
}

char SpeedKey(int position) {
  if (position < 0 || position >= kMenuMaxEntries) return '\0';
  return static_cast<char>(position < 10 ? '0' + position : 'A' + position - 10);
}

int PositionOfKey(char key) {
  const char k = UpperAscii(key);
  if (k >= '0' && k <= '9') return k - '0';
  if (k >= 'A' && k <= 'Z') return k - 'A' + 10;
  return -1;
}

platform::Point PlaceMenu(int position, platform::Point place, int width, int height, const platform::Rect& screen) {
  const int screenWidth = screen.right - screen.left;
  const int screenHeight = screen.bottom - screen.top;
  if (position == kMenuCentred) {
    return {screen.left + (screenWidth - width) / 2, screen.top + (screenHeight - height) / 2};
  }
  if (position == kMenuAtPlace) return place;
  int left = position;
  if (left + width > screen.right) left = position - width;
  return {std::max(left, 0), screen.bottom - height};
}

std::string EntryText(const TMacroRec& entry) {
  if (entry.ScopeKind() == scope::kPopupMenu) return ("POPUP MENU: " + entry.Nickname()).substr(0, 62);
  return entry.Text();
}

std::string EntryName(const TMacroRec& entry) {
  std::string name = Trim(entry.Nickname());
  if (!name.empty()) return name;
  switch (entry.ActivationCode()) {
    case activation::kNone: return "None";
    case activation::kFloatingMenu: return "Floating menu";
    case activation::kMouseClick: return "Mouse Click";
    case activation::kWindowTitle: return "Window Title";
    case activation::kTimed: return "Timed Macro";
    case activation::kAbbrekey: return entry.Abbrekey();
    default: return std::string(HotKeyName(entry.ActivationCode()));
  }
}

std::string EntryScope(const TMacroRec& entry) {
  switch (entry.ScopeKind()) {
    case scope::kGlobal: return "GLOBAL";
    case scope::kPopupMenu: return "Popup Menu";
    case scope::kFloatingMenu: return "Floating Menu";
    default: return entry.ScopeText();
  }
}

}  // namespace wdx::player
