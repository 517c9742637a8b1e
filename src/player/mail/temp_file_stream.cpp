#include "player/mail/temp_file_stream.h"

#include <chrono>
#include <random>
#include <string>
#include <system_error>

#include "player/mail/mail_errors.h"

namespace wdx::mail {

TTempFileStream::TTempFileStream() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) throw EInOutError("No temporary folder");
  std::random_device device;
  std::mt19937 rng(device() ^ static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = folder / ("ms" + std::to_string(rng() % 0x10000) + ".tmp");
    if (std::filesystem::exists(candidate, ec)) continue;
    stream_.open(candidate, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
    if (stream_.is_open()) {
      path_ = candidate;
      return;
    }
  }
  throw EInOutError("Cannot create a temporary file in \"" + folder.string() + "\"");
}

TTempFileStream::~TTempFileStream() {
  stream_.close();
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

}  // namespace wdx::mail
