#include "player/interpreter/file_io.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace wdx::player {

std::optional<std::string> ReadFileBytes(const std::string& nativePath) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(nativePath, ec)) return std::nullopt;
  std::ifstream file(nativePath, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes;
  char block[64 * 1024];
  while (file.read(block, sizeof block) || file.gcount() > 0) bytes.append(block, static_cast<std::size_t>(file.gcount()));
  return bytes;
}

std::optional<std::string> ReadTextFile(const std::string& nativePath) {
  std::optional<std::string> text = ReadFileBytes(nativePath);
  if (text && !text->empty() && text->back() == '\x1A') text->pop_back();
  return text;
}

bool WriteFileBytes(const std::string& nativePath, const std::string& bytes) {
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

void WriteLine(const std::string& nativePath, const std::string& line, bool append) {
  std::ofstream out(nativePath, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  if (out) out << line << "\r\n";
}

}  // namespace wdx::player
