#include "shared/sync_stamp.h"

#include <array>
#include <fstream>
#include <system_error>

#include "shared/globals.h"

namespace wdx {

void TSyncRec::Decode(ConstBytes bytes) {
  counter = ReadI32(bytes, sync_rec::kCounter);
  state = ReadI16(bytes, sync_rec::kState);
  heartbeat = ReadDouble(bytes, sync_rec::kHeartbeat);
}

void TSyncRec::Encode(Bytes bytes) const {
  WriteI32(bytes, sync_rec::kCounter, counter);
  WriteI16(bytes, sync_rec::kState, state);
  WriteDouble(bytes, sync_rec::kHeartbeat, heartbeat);
}

bool SameHeartbeat(double a, double b) {
  std::array<std::uint8_t, 8> x{}, y{};
  WriteDouble(x, 0, a);
  WriteDouble(y, 0, b);
  return x == y;
}

std::string SyncStampFileName(std::string_view libraryPath) { return ReplaceExtension(libraryPath, "WDY"); }

bool ReadSyncStamp(const std::filesystem::path& file, TSyncRec& stamp) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    stamp.counter = 1;
    stamp.state = sync_state::kFree;
    return WriteSyncStamp(file, stamp);
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::array<std::uint8_t, kSyncRecSize> bytes{};
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  // A cut-off stamp (a write caught half-way on a share) is no stamp: keep what we knew.
  if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return false;
  stamp.Decode(bytes);
  return true;
}

bool WriteSyncStamp(const std::filesystem::path& file, const TSyncRec& stamp) {
  std::array<std::uint8_t, kSyncRecSize> bytes{};
  stamp.Encode(bytes);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    std::ofstream create(file, std::ios::binary | std::ios::app);
    if (!create) return false;
  }
  {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return false;
  }
  std::filesystem::resize_file(file, bytes.size(), ec);
  return !ec;
}

}  // namespace wdx
