#include "shared/remap_keys.h"

#include <fstream>
#include <system_error>

#include "shared/text_util.h"

namespace wdx {

namespace {

SwapTable MakeNeutral() {
  SwapTable t{};
  std::size_t k = 0;
  for (int c = 'A'; c <= 'Z'; ++c) t[k++] = static_cast<std::uint8_t>(c);
  for (int c = 'a'; c <= 'z'; ++c) t[k++] = static_cast<std::uint8_t>(c);
  for (int c = '0'; c <= '9'; ++c) t[k++] = static_cast<std::uint8_t>(c);
  for (int c = 32; c <= 47; ++c) t[k++] = static_cast<std::uint8_t>(c);
  for (int c = 58; c <= 64; ++c) t[k++] = static_cast<std::uint8_t>(c);
  for (int c = 91; c <= 96; ++c) t[k++] = static_cast<std::uint8_t>(c);
  t[k++] = 125;
  t[k++] = 126;
  return t;
}

}  // namespace

const SwapTable& NeutralSwapTable() {
  static const SwapTable neutral = MakeNeutral();
  return neutral;
}

bool SwapsInUse(const SwapTable& table) { return table != NeutralSwapTable(); }

std::string SwapFileName(std::string_view libraryPath) {
  std::string name(libraryPath);
  const std::string upper = UpperAscii(name);
  if (upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".WDX") == 0) return name.substr(0, name.size() - 4) + ".WDS";
  const std::size_t slash = name.find_last_of("\\/:");
  const std::size_t dot = name.find_last_of('.');
  std::string result =
      (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? name.substr(0, dot) + ".WDS" : name + ".WDS";
  // A library that is itself named .WDS keeps its own file apart.
  if (UpperAscii(result) == upper) result = name + ".WDS";
  return result;
}

bool LoadSwapKeys(const std::filesystem::path& file, SwapTable& table) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  SwapTable read{};
  in.read(reinterpret_cast<char*>(read.data()), static_cast<std::streamsize>(read.size()));
  if (in.gcount() != static_cast<std::streamsize>(read.size())) return false;
  table = read;
  return true;
}

bool SaveSwapKeys(const std::filesystem::path& file, const SwapTable& table) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
  out.close();
  return static_cast<bool>(out);
}

void GetSwapFile(const std::string& libraryPath, const std::function<std::filesystem::path(const std::string&)>& nativePath,
                 SwapTable& table) {
  const std::filesystem::path file = nativePath(SwapFileName(libraryPath));
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    LoadSwapKeys(file, table);
    return;
  }
  table = NeutralSwapTable();
  SaveSwapKeys(file, table);
}

}  // namespace wdx
