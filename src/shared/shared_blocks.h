// The named objects that the player owns and shares with the hook library and the editor:
// the blocks WDBA1KGR (room for the hook library's copy of the hook-globals block), WDTT1KGR
// (the key remapping table, `TSwapKeysShare`) and WDKR1KGR (`TCbtShare`), the three mutexes and
// the player's single-instance marker. They are reached only through platform::KernelObjects,
// and their bytes only through the byte codec.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/kernel_objects.h"
#include "shared/byte_codec.h"

namespace wdx {

inline constexpr char kGlobBlockName[] = "WDBA1KGR";
inline constexpr char kSwapBlockName[] = "WDTT1KGR";
inline constexpr char kCbtBlockName[] = "WDKR1KGR";
inline constexpr char kPlayerInstanceMarkerName[] = "WDXEX321Z";
inline constexpr char kEditorInstanceMarkerName[] = "WDXED321Z";
inline constexpr char kGlobMutexName[] = "WD88aveR";
inline constexpr char kSecondMutexName[] = "WDKZaveR";
inline constexpr char kSwapMutexName[] = "WDQJaveR";  // the editor holds it while it copies the remap table

inline constexpr std::size_t kSwapBlockSize = 104;
inline constexpr std::size_t kCbtBlockSize = 17;
inline constexpr std::size_t kInstanceMarkerSize = 10;
inline constexpr std::size_t kSwapTableSize = 93;

// The texts the program block and the main window show (caption kSystemErrorCaption) before
// they stop the program, when a named object cannot be made.
inline constexpr char kSystemErrorCaption[] = "System Error";
inline constexpr char kMappedFileCreateError[] = "Memory Mapped File could not be created.  Wendrix will terminate.";
inline constexpr char kMappedFileMapError[] = "Memory Mapped File could not be mapped.  Wendrix will terminate.";
inline constexpr char kMutexCreateError[] = "Mutex could not be created.  Wendrix will terminate.";

namespace swapshare {
inline constexpr std::size_t kPlayerWindow = 0;  // int32
inline constexpr std::size_t kRemapHook = 4;     // int32, valid while a remap is active
inline constexpr std::size_t kTable = 8;         // 93 bytes, the remap table
inline constexpr std::size_t kClearedAtStart = 103;  // byte the player zeroes at start; nothing reads it
}  // namespace swapshare

namespace cbtshare {
inline constexpr std::size_t kPlayerWindow = 0;   // int32
inline constexpr std::size_t kCbtHook = 4;        // int32
inline constexpr std::size_t kPlayerWindow2 = 8;  // int32
inline constexpr std::size_t kPlayerWindow3 = 12; // int32
inline constexpr std::size_t kNtFlag = 16;        // byte
}  // namespace cbtshare

using SwapTable = std::array<std::uint8_t, kSwapTableSize>;

// The remap block WDTT1KGR, as a view over its mapped bytes.
class TSwapKeysShare {
 public:
  explicit TSwapKeysShare(Bytes bytes) : b_(bytes) { CheckRange(b_.size(), 0, kSwapBlockSize); }
  std::uint32_t PlayerWindow() const { return ReadU32(b_, swapshare::kPlayerWindow); }
  void SetPlayerWindow(std::uint32_t w) { WriteU32(b_, swapshare::kPlayerWindow, w); }
  std::uint32_t RemapHook() const { return ReadU32(b_, swapshare::kRemapHook); }
  void SetRemapHook(std::uint32_t h) { WriteU32(b_, swapshare::kRemapHook, h); }
  SwapTable Table() const;
  void SetTable(const SwapTable& table);
  std::uint8_t ClearedAtStart() const { return ReadU8(b_, swapshare::kClearedAtStart); }
  void SetClearedAtStart(std::uint8_t v) { WriteU8(b_, swapshare::kClearedAtStart, v); }

 private:
  Bytes b_;
};

// The CBT block WDKR1KGR, as a view over its mapped bytes.
class TCbtShare {
 public:
  explicit TCbtShare(Bytes bytes) : b_(bytes) { CheckRange(b_.size(), 0, kCbtBlockSize); }
  std::uint32_t PlayerWindow() const { return ReadU32(b_, cbtshare::kPlayerWindow); }
  std::uint32_t CbtHook() const { return ReadU32(b_, cbtshare::kCbtHook); }
  void SetCbtHook(std::uint32_t h) { WriteU32(b_, cbtshare::kCbtHook, h); }
  bool NtFlag() const { return ReadU8(b_, cbtshare::kNtFlag) != 0; }
  // The player window goes at offsets 0, 8 and 12.
  void SetPlayerWindow(std::uint32_t w);
  void SetNtFlag(bool nt) { WriteU8(b_, cbtshare::kNtFlag, nt ? 1 : 0); }

 private:
  Bytes b_;
};

// What the player's program block creates and holds until the process ends: WDBA1KGR (never
// mapped by the player) and the mutexes WD88aveR, WDKZaveR, WDQJaveR (created, not owned).
class ProgramBlockObjects {
 public:
  enum class Result { kOk, kBlockFailed, kMutexFailed };
  // Creates them in this order and stops at the first failure (the caller shows the matching
  // text and ends the program).
  Result Create(platform::KernelObjects& kernel);
  void Close();  // after the message loop ends

 private:
  std::unique_ptr<platform::SharedMemory> globBlock_;
  std::array<std::unique_ptr<platform::NamedMutex>, 3> mutexes_;
};

// The main window's blocks WDTT1KGR and WDKR1KGR, from FormCreate to FormClose.
class MainWindowBlocks {
 public:
  // Creates WDTT1KGR (player window at 0, byte 103 cleared); false when it cannot be made.
  bool CreateSwapBlock(platform::KernelObjects& kernel, std::uint32_t playerWindow);
  // Creates WDKR1KGR (player window at 0, 8 and 12, the NT flag at 16); the CBT hook handle is
  // written afterwards by the caller. False when it cannot be made.
  bool CreateCbtBlock(platform::KernelObjects& kernel, std::uint32_t playerWindow, bool nt);
  TSwapKeysShare Swap() { return TSwapKeysShare(Bytes(swap_->Data(), swap_->Size())); }
  TCbtShare Cbt() { return TCbtShare(Bytes(cbt_->Data(), cbt_->Size())); }
  bool HasSwap() const { return swap_ != nullptr; }
  bool HasCbt() const { return cbt_ != nullptr; }
  // Closes WDKR1KGR, then WDTT1KGR.
  void Close();

 private:
  std::unique_ptr<platform::SharedMemory> swap_;
  std::unique_ptr<platform::SharedMemory> cbt_;
};

// A program's single-instance marker: the player's WDXEX321Z unless another name is given (the
// editor's is WDXED321Z).
bool InstanceMarkerExists(platform::KernelObjects& kernel, const char* name = kPlayerInstanceMarkerName);
// Null when it cannot be created. The marker lives as long as the returned object.
std::unique_ptr<platform::SharedMemory> CreateInstanceMarker(platform::KernelObjects& kernel,
                                                             const char* name = kPlayerInstanceMarkerName);

}  // namespace wdx
