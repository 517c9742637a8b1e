// Whole files read and written by the commands: a file is opened, used and closed within one
// call. Paths are native (platform::Files::NativePath).
#pragma once

#include <optional>
#include <string>

namespace wdx::player {

// The file's bytes; nullopt when it is no file or cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& nativePath);
// The same without a last Ctrl+Z, the old end-of-file mark of text files.
std::optional<std::string> ReadTextFile(const std::string& nativePath);
// Writes the bytes as the file's whole content; false when it could not be written whole.
bool WriteFileBytes(const std::string& nativePath, const std::string& bytes);
// Writes the line and CR LF as the file's whole content or after its end. A file that cannot
// be opened is left alone, and so is a write that fails.
void WriteLine(const std::string& nativePath, const std::string& line, bool append);

}  // namespace wdx::player
