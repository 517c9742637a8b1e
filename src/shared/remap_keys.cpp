#include "shared/remap_keys.h"

#include <system_error>

#include "shared/binary_file.h"
#include "shared/text_util.h"

namespace wdx {

namespace {

SwapTable MakeNeutral() {
  SwapTable t{};
  for (int c = 0; c < 256; ++c)
    if (const int slot = SwapSlot(static_cast<unsigned char>(c)); slot >= 0) t[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(c);
  return t;
}

}  // namespace

const SwapTable& NeutralSwapTable() {
  static const SwapTable neutral = MakeNeutral();
  return neutral;
}

bool SwapsInUse(const SwapTable& table) { return table != NeutralSwapTable(); }

std::string CompanionFileName(std::string_view libraryPath, std::string_view extension) {
  std::string name(libraryPath);
  const std::string upper = UpperAscii(name);
  if (upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".WDX") == 0)
    return name.substr(0, name.size() - 4) + std::string(extension);
  const std::size_t slash = name.find_last_of("\\/:");
  const std::size_t dot = name.find_last_of('.');
  std::string result = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                           ? name.substr(0, dot) + std::string(extension)
                           : name + std::string(extension);
  // A library that is itself named with the companion's extension keeps its own file apart.
  if (UpperAscii(result) == upper) result = name + std::string(extension);
  return result;
}

std::string SwapFileName(std::string_view libraryPath) { return CompanionFileName(libraryPath, ".WDS"); }

SwapFileState LoadSwapKeys(const std::filesystem::path& file, SwapTable& table) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return ec ? SwapFileState::kUnreadable : SwapFileState::kMissing;
  if (std::filesystem::is_directory(file, ec)) return SwapFileState::kUnreadable;
  BinaryFile in(file, BinaryFile::Mode::kRead);
  if (!in.IsOpen()) return SwapFileState::kUnreadable;
  SwapTable read{};
  if (in.ReadOn(read.data(), read.size()) != read.size()) return SwapFileState::kWrongSize;
  // One byte more means the file is something else than a table written by either program.
  char more = 0;
  if (in.ReadOn(&more, 1) != 0) return SwapFileState::kWrongSize;
  table = read;
  return SwapFileState::kLoaded;
}

bool SaveSwapKeys(const std::filesystem::path& file, const SwapTable& table) {
  BinaryFile out(file, BinaryFile::Mode::kCreate);
  return out.IsOpen() && out.WriteAt(0, table.data(), table.size()) && out.Close();
}

std::string SwapFileResult::Problem() const {
  switch (state) {
    case SwapFileState::kUnreadable:
      return "The remap-keys file " + file + " could not be read.  Keys are not remapped.";
    case SwapFileState::kWrongSize:
      return "The remap-keys file " + file + " is damaged (" + std::to_string(size) + " bytes instead of " +
             std::to_string(kSwapTableSize) + ").  Keys are not remapped; the file was left as it is.";
    default:
      return {};
  }
}

SwapFileResult GetSwapFile(const std::string& libraryPath,
                           const std::function<std::filesystem::path(const std::string&)>& nativePath,
                           SwapTable& table) {
  SwapFileResult result;
  result.file = SwapFileName(libraryPath);
  const std::filesystem::path file = nativePath(result.file);
  result.state = LoadSwapKeys(file, table);
  switch (result.state) {
    case SwapFileState::kLoaded:
      break;
    case SwapFileState::kMissing:
      table = NeutralSwapTable();
      SaveSwapKeys(file, table);
      break;
    case SwapFileState::kWrongSize: {
      std::error_code ec;
      result.size = std::filesystem::file_size(file, ec);
      table = NeutralSwapTable();
      break;
    }
    case SwapFileState::kUnreadable:
      table = NeutralSwapTable();
      break;
  }
  return result;
}

// --- The live table under its mutex

SwapMutexLock::SwapMutexLock(platform::KernelObjects& kernel, std::uint32_t waitMs)
    : mutex_(kernel.OpenMutex(kSwapMutexName)) {
  if (!mutex_) return;
  const platform::WaitResult r = mutex_->Wait(waitMs);
  // An abandoned mutex is owned all the same: its holder ended without giving it back.
  held_ = r == platform::WaitResult::kSignaled || r == platform::WaitResult::kAbandoned;
}

SwapMutexLock::~SwapMutexLock() {
  if (held_) mutex_->Release();
}

bool SharedSwapTable::Access(const std::function<void(TSwapKeysShare&)>& use) {
  const SwapMutexLock lock(kernel_);
  if (!lock.Held()) return false;
  const std::unique_ptr<platform::SharedMemory> block = kernel_.OpenSharedMemory(kSwapBlockName, kSwapBlockSize);
  if (!block || block->Size() < kSwapBlockSize) return false;
  TSwapKeysShare share(Bytes(block->Data(), block->Size()));
  use(share);
  return true;
}

std::optional<std::uint8_t> SharedSwapTable::Read(int slot) {
  if (slot < 0 || slot >= static_cast<int>(kSwapTableSize)) return std::nullopt;
  std::optional<std::uint8_t> value;
  Access([&](TSwapKeysShare& s) { value = s.Table()[static_cast<std::size_t>(slot)]; });
  return value;
}

bool SharedSwapTable::Write(int slot, std::uint8_t value) {
  if (slot < 0 || slot >= static_cast<int>(kSwapTableSize)) return false;
  return Access([&](TSwapKeysShare& s) {
    SwapTable t = s.Table();
    t[static_cast<std::size_t>(slot)] = value;
    s.SetTable(t);
  });
}

bool SharedSwapTable::WriteTable(const SwapTable& table) {
  return Access([&](TSwapKeysShare& s) { s.SetTable(table); });
}

std::optional<SwapTable> SharedSwapTable::ReadTable() {
  std::optional<SwapTable> table;
  Access([&](TSwapKeysShare& s) { table = s.Table(); });
  return table;
}

}  // namespace wdx
