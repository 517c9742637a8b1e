// The companion files of the current library that the editor keeps: its categories (.WDC, a
// text file only the editor reads) and its remap keys (.WDS), which the editor copies into the
// player's remap block WDTT1KGR so that the hook library remaps with the library's table.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel_objects.h"
#include "shared/shared_blocks.h"

namespace wdx::editor {

// The two entries every category list starts with; they are never saved.
inline constexpr char kAllCategoriesName[] = " *All Categories* ";
inline constexpr char kUnassignedName[] = " *Unassigned* ";

struct Category {
  std::string name;
  std::int32_t id = 0;  // 0 for the two fixed entries
  bool operator==(const Category&) const = default;
};

// The categories of a library as the category list shows them: sorted by name without regard
// to case, the two fixed entries among them. Ids of real categories are greater than 0.
class CategoryList {
 public:
  CategoryList() { Init(); }

  // InitCat: only the two fixed entries; the highest id is 1.
  void Init();
  // Adds a category in its sorted place; the index it went to.
  int Add(std::string name, std::int32_t id);

  // LoadCatFile: pairs of lines, name then id (decimal; text that is no number reads as 0 and
  // the pair is skipped, as is a name without its id line at the end). A file that cannot be
  // opened leaves only the fixed entries.
  void Load(const std::filesystem::path& file);
  // SaveCatFile: every real category in list order, its name line and its id line, CR LF after
  // each. False when the file cannot be created.
  bool Save(const std::filesystem::path& file) const;

  const std::vector<Category>& entries() const { return entries_; }
  std::vector<std::string> Names() const;
  std::int32_t MaxCategoryId() const { return maxId_; }

 private:
  std::vector<Category> entries_;
  std::int32_t maxId_ = 1;
};

// A number as the editor reads it from a file or a field: the whole text (blanks around it
// aside) a decimal number of 32 bits, else 0.
std::int32_t DecimalOrZero(std::string_view text);

// The categories file of a library: ".WDX" becomes ".WDC".
std::string CategoriesFileName(std::string_view libraryPath);

// GetSwapFile: the library's remap-keys file (created with the neutral table when missing)
// into the player's remap block.
void GetSwapFile(platform::KernelObjects& kernel, const std::string& libraryPath,
                 const std::function<std::filesystem::path(const std::string&)>& nativePath);

}  // namespace wdx::editor
