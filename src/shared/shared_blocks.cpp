#include "shared/shared_blocks.h"

#include <cstring>

#include "shared/glob_data.h"

namespace wdx {

SwapTable TSwapKeysShare::Table() const {
  SwapTable t{};
  CheckRange(b_.size(), swapshare::kTable, kSwapTableSize);
  std::memcpy(t.data(), b_.data() + swapshare::kTable, kSwapTableSize);
  return t;
}

void TSwapKeysShare::SetTable(const SwapTable& table) {
  CheckRange(b_.size(), swapshare::kTable, kSwapTableSize);
  std::memcpy(b_.data() + swapshare::kTable, table.data(), kSwapTableSize);
}

void TCbtShare::SetPlayerWindow(std::uint32_t w) {
  WriteU32(b_, cbtshare::kPlayerWindow, w);
  WriteU32(b_, cbtshare::kPlayerWindow2, w);
  WriteU32(b_, cbtshare::kPlayerWindow3, w);
}

ProgramBlockObjects::Result ProgramBlockObjects::Create(platform::KernelObjects& kernel) {
  globBlock_ = kernel.CreateSharedMemory(kGlobBlockName, kGlobDataSize);
  if (!globBlock_) return Result::kBlockFailed;
  const char* names[] = {kGlobMutexName, kSecondMutexName, kSwapMutexName};
  for (std::size_t i = 0; i < mutexes_.size(); ++i) {
    mutexes_[i] = kernel.CreateMutex(names[i], false);
    if (!mutexes_[i]) return Result::kMutexFailed;
  }
  return Result::kOk;
}

void ProgramBlockObjects::Close() {
  globBlock_.reset();
  for (auto& m : mutexes_) m.reset();
}

bool MainWindowBlocks::CreateSwapBlock(platform::KernelObjects& kernel, std::uint32_t playerWindow) {
  swap_ = kernel.CreateSharedMemory(kSwapBlockName, kSwapBlockSize);
  if (!swap_ || swap_->Size() < kSwapBlockSize) {
    swap_.reset();
    return false;
  }
  TSwapKeysShare s = Swap();
  s.SetPlayerWindow(playerWindow);
  s.SetClearedAtStart(0);
  return true;
}

bool MainWindowBlocks::CreateCbtBlock(platform::KernelObjects& kernel, std::uint32_t playerWindow, bool nt) {
  cbt_ = kernel.CreateSharedMemory(kCbtBlockName, kCbtBlockSize);
  if (!cbt_ || cbt_->Size() < kCbtBlockSize) {
    cbt_.reset();
    return false;
  }
  TCbtShare c = Cbt();
  c.SetPlayerWindow(playerWindow);
  c.SetNtFlag(nt);
  return true;
}

void MainWindowBlocks::Close() {
  cbt_.reset();
  swap_.reset();
}

bool InstanceMarkerExists(platform::KernelObjects& kernel, const char* name) {
  return kernel.OpenSharedMemory(name, kInstanceMarkerSize) != nullptr;
}

std::unique_ptr<platform::SharedMemory> CreateInstanceMarker(platform::KernelObjects& kernel, const char* name) {
  return kernel.CreateSharedMemory(name, kInstanceMarkerSize);
}

}  // namespace wdx
