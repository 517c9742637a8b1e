// What a menu of macros shows and where: the entries a menu record lists, its display style,
// the geometry of its two lists or its icon buttons, the speed keys and the menu's place on the
// screen. Plain functions, so the form (do_a_menu.h) only puts their results on the screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"
#include "shared/macro_record.h"

namespace wdx::player {

inline constexpr int kMenuMaxEntries = 36;
inline constexpr int kMenuRowHeight = 17;
inline constexpr int kMenuListRows = 18;  // rows of the left list; the rest go to the right one
inline constexpr int kMenuListWidth = 300;
inline constexpr int kMenuSecondListLeft = 304;
inline constexpr int kMenuListTop = 20;        // below the column labels
inline constexpr int kMenuButtonRoom = 22;     // a popup's room for its Cancel button
inline constexpr int kMenuDefaultPerRow = 9;

// MenuPosition: centred, at the stored place, or (any other value) a screen x for a tray menu.
inline constexpr int kMenuCentred = -1;
inline constexpr int kMenuAtPlace = -2;

enum class MenuStyle { kText = 1, kIcons = 2, kNameAndScope = 3 };

struct MenuSpec {
  std::vector<int> entries;  // macro numbers, in key order
  MenuStyle style = MenuStyle::kNameAndScope;
  int iconSize = 16;
  int perRow = kMenuDefaultPerRow;
  bool vertical = false;
};

// The menu a record holds. The count is kept to 0..36 and to the entries stored; an entry that
// names no macro of the library (outside 1..macroLimit), the menu itself, or a macro listed
// before is left out, so every key chooses a macro that exists and a menu never opens itself.
MenuSpec MenuSpecOf(const TMacroRec& menu, int self, int macroLimit);
// Menu option "0".."4": 16, 24, 32, 48, 64 pixels; anything else 16.
int IconSizeOf(char option);

// Icon style: one button per entry, cell = icon size + 4, in rows of perRow (columns when
// vertical); a popup keeps room below for its Cancel button and is at least 4 cells wide.
struct IconLayout {
  int cell = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  std::vector<platform::Point> cells;  // top left of entry i (0-based)
};
IconLayout LayOutIcons(int count, int perRow, bool vertical, int iconSize, bool popup);

// List styles: up to 18 rows in one list 300 wide; more in a second list beside it.
struct ListLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  int scriptHeight = 0;
  int script2Height = 0;  // 0: the second list is hidden
};
ListLayout LayOutLists(int count, bool popup);

// The speed key of position p (0-based over both lists): "0".."9", then "A".."Z"; '\0' beyond.
char SpeedKey(int position);
// The position a typed key chooses (either case), or -1.
int PositionOfKey(char key);

// Where a form of this outer size stands: centred on the screen, at the stored place, or on the
// bottom edge with its left edge at x (its right edge when it would not fit), never left of 0.
platform::Point PlaceMenu(int position, platform::Point place, int width, int height, const platform::Rect& screen);

// What a row shows. Text style: "POPUP MENU: " + nickname (62 characters in all) for a popup
// menu, otherwise the macro's text. Name-and-scope style: the trimmed nickname, or a name from
// the activation; the scope by its kind.
std::string EntryText(const TMacroRec& entry);
std::string EntryName(const TMacroRec& entry);
std::string EntryScope(const TMacroRec& entry);

}  // namespace wdx::player
