// What the fuzz targets share: a finding that is not a crash by itself (a key left down, a run
// that does not end) is reported by aborting, which libFuzzer records as a crash with its
// input; and the bytes of an input become files of the stand-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace wdx::fuzz {

[[noreturn]] inline void Finding(const std::string& what) {
  std::fprintf(stderr, "FINDING: %s\n", what.c_str());
  std::abort();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Writes the bytes to a native path, creating its folder.
inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Splits an input into the pieces separated by `separator` (a byte sequence the seeds use), so
// one input can feed several readers.
template <class F>
void ForEachPiece(std::string_view input, std::string_view separator, F&& f) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = input.find(separator, start);
    f(input.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return;
    start = end + separator.size();
  }
}

}  // namespace wdx::fuzz
