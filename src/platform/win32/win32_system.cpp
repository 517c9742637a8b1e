#include "platform/win32/win32_system.h"

#include <vector>

#include "platform/win32/front_input.h"
#include "platform/win32/windows_api.h"

namespace wdx::platform {

using win32::ToHwnd;

// --- Clock

double Win32Clock::Now() {
  // The local time as a file time counts 100 ns steps from 1601-01-01; whole days and the
  // milliseconds of the day are taken apart so the sum is exactly the stored day count.
  constexpr std::uint64_t kMsPerDay = 86400000;
  constexpr std::int64_t kDaysFrom1601To1899Dec30 = 109205;
  SYSTEMTIME st;
  GetLocalTime(&st);
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  const std::uint64_t ms = ((std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime) / 10000;
  return static_cast<double>(static_cast<std::int64_t>(ms / kMsPerDay) - kDaysFrom1601To1899Dec30) +
         static_cast<double>(ms % kMsPerDay) / static_cast<double>(kMsPerDay);
}

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(std::uint32_t ms) { ::Sleep(ms); }

// --- Input

void Win32Input::KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
  keybd_event(vk, scan, flags, 0);
}

void Win32Input::MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) {
  mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data), 0);
}

void Win32Input::SetCursorPos(Point p) { ::SetCursorPos(p.x, p.y); }

Point Win32Input::GetCursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return Point{p.x, p.y};
}

Point Win32Input::ScreenSize() { return Point{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

std::int16_t Win32Input::GetKeyState(std::uint8_t vk) { return ::GetKeyState(vk); }

std::int16_t Win32Input::GetAsyncKeyState(std::uint8_t vk) { return ::GetAsyncKeyState(vk); }

std::int16_t Win32Input::VkKeyScan(char c) { return VkKeyScanA(c); }

std::uint32_t Win32Input::MapVirtualKey(std::uint32_t code, KeyMapKind kind) {
  return MapVirtualKeyA(code, static_cast<UINT>(kind));
}

// --- Kernel objects

namespace {

const char* NameOrNull(const std::string& name) { return name.empty() ? nullptr : name.c_str(); }

WaitResult WaitOn(HANDLE h, std::uint32_t timeoutMs) {
  switch (WaitForSingleObject(h, timeoutMs)) {
    case WAIT_OBJECT_0:
      return WaitResult::kSignaled;
    case WAIT_TIMEOUT:
      return WaitResult::kTimeout;
    case WAIT_ABANDONED:
      return WaitResult::kAbandoned;
    default:
      return WaitResult::kFailed;
  }
}

class Win32SharedMemory : public SharedMemory {
 public:
  Win32SharedMemory(HANDLE mapping, void* view, std::size_t size) : mapping_(mapping), view_(view), size_(size) {}
  ~Win32SharedMemory() override {
    UnmapViewOfFile(view_);
    CloseHandle(mapping_);
  }
  std::uint8_t* Data() override { return static_cast<std::uint8_t*>(view_); }
  std::size_t Size() const override { return size_; }

 private:
  HANDLE mapping_;
  void* view_;
  std::size_t size_;
};

std::unique_ptr<SharedMemory> MapView(HANDLE mapping, std::size_t size) {
  if (!mapping) return nullptr;
  void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
  if (!view) {
    CloseHandle(mapping);
    return nullptr;
  }
  if (size == 0) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(view, &info, sizeof(info));
    size = info.RegionSize;
  }
  return std::make_unique<Win32SharedMemory>(mapping, view, size);
}

class Win32Mutex : public NamedMutex {
 public:
  explicit Win32Mutex(HANDLE h) : h_(h) {}
  ~Win32Mutex() override { CloseHandle(h_); }
  WaitResult Wait(std::uint32_t timeoutMs) override { return WaitOn(h_, timeoutMs); }
  bool Release() override { return ReleaseMutex(h_) != 0; }

 private:
  HANDLE h_;
};

class Win32Semaphore : public NamedSemaphore {
 public:
  explicit Win32Semaphore(HANDLE h) : h_(h) {}
  ~Win32Semaphore() override { CloseHandle(h_); }
  WaitResult Wait(std::uint32_t timeoutMs) override { return WaitOn(h_, timeoutMs); }
  bool Release(std::int32_t count) override { return ReleaseSemaphore(h_, count, nullptr) != 0; }

 private:
  HANDLE h_;
};

}  // namespace

std::unique_ptr<SharedMemory> Win32KernelObjects::CreateSharedMemory(const std::string& name, std::size_t size,
                                                                     bool* alreadyExisted) {
  if (alreadyExisted) *alreadyExisted = false;
  if (size == 0) return nullptr;
  const auto size64 = static_cast<std::uint64_t>(size);
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(size64 >> 32),
                                      static_cast<DWORD>(size64), NameOrNull(name));
  if (alreadyExisted) *alreadyExisted = mapping && GetLastError() == ERROR_ALREADY_EXISTS;
  return MapView(mapping, size);
}

std::unique_ptr<SharedMemory> Win32KernelObjects::OpenSharedMemory(const std::string& name, std::size_t size) {
  if (name.empty()) return nullptr;
  return MapView(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()), size);
}

std::unique_ptr<NamedMutex> Win32KernelObjects::CreateMutex(const std::string& name, bool initialOwner,
                                                            bool* alreadyExisted) {
  HANDLE h = CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, NameOrNull(name));
  if (alreadyExisted) *alreadyExisted = h && GetLastError() == ERROR_ALREADY_EXISTS;
  return h ? std::make_unique<Win32Mutex>(h) : nullptr;
}

std::unique_ptr<NamedMutex> Win32KernelObjects::OpenMutex(const std::string& name) {
  if (name.empty()) return nullptr;
  HANDLE h = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
  return h ? std::make_unique<Win32Mutex>(h) : nullptr;
}

std::unique_ptr<NamedSemaphore> Win32KernelObjects::CreateSemaphore(const std::string& name, std::int32_t initial,
                                                                    std::int32_t maximum, bool* alreadyExisted) {
  HANDLE h = CreateSemaphoreA(nullptr, initial, maximum, NameOrNull(name));
  if (alreadyExisted) *alreadyExisted = h && GetLastError() == ERROR_ALREADY_EXISTS;
  return h ? std::make_unique<Win32Semaphore>(h) : nullptr;
}

std::unique_ptr<NamedSemaphore> Win32KernelObjects::OpenSemaphore(const std::string& name) {
  if (name.empty()) return nullptr;
  HANDLE h = OpenSemaphoreA(SYNCHRONIZE | SEMAPHORE_MODIFY_STATE, FALSE, name.c_str());
  return h ? std::make_unique<Win32Semaphore>(h) : nullptr;
}

// --- Private-profile files

std::string Win32ProfileFiles::GetString(const std::string& file, const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  std::vector<char> buffer(bufferSize, '\0');
  DWORD got = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                       static_cast<DWORD>(bufferSize), file.c_str());
  return std::string(buffer.data(), got);
}

bool Win32ProfileFiles::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

std::string Win32ProfileFiles::ResolvePath(const std::string& file) {
  // A name without a folder lies in the Windows folder, as the profile functions look for it.
  if (file.find_first_of("\\/:") == std::string::npos) {
    char dir[MAX_PATH] = {};
    UINT len = GetWindowsDirectoryA(dir, MAX_PATH);
    std::string out(dir, len < MAX_PATH ? len : 0);
    if (!out.empty() && out.back() != '\\') out += '\\';
    return out + file;
  }
  char full[MAX_PATH] = {};
  DWORD len = GetFullPathNameA(file.c_str(), MAX_PATH, full, nullptr);
  return len > 0 && len < MAX_PATH ? std::string(full, len) : file;
}

// --- Message boxes

int Win32MessageBoxes::Show(WindowHandle owner, const std::string& text, const std::string& caption,
                            std::uint32_t flags) {
  // A message box takes the focus: the keys typed before it reach their window first.
  win32::LetFrontTakeItsKeys();
  return MessageBoxA(owner == kNoWindow ? nullptr : ToHwnd(owner), text.c_str(), caption.c_str(), flags);
}

}  // namespace wdx::platform
