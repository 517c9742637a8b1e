// The remaining facilities on Windows' own functions: clock, input, kernel objects,
// private-profile files and message boxes.
#pragma once

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/kernel_objects.h"
#include "platform/message_boxes.h"
#include "platform/profile_files.h"

namespace wdx::platform {

class Win32Clock : public Clock {
 public:
  double Now() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t ms) override;
};

class Win32Input : public Input {
 public:
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
  void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) override;
  void SetCursorPos(Point p) override;
  Point GetCursorPos() override;
  Point ScreenSize() override;
  std::int16_t GetKeyState(std::uint8_t vk) override;
  std::int16_t GetAsyncKeyState(std::uint8_t vk) override;
  std::int16_t VkKeyScan(char c) override;
  std::uint32_t MapVirtualKey(std::uint32_t code, KeyMapKind kind) override;
};

class Win32KernelObjects : public KernelObjects {
 public:
  std::unique_ptr<SharedMemory> CreateSharedMemory(const std::string& name, std::size_t size,
                                                   bool* alreadyExisted = nullptr) override;
  std::unique_ptr<SharedMemory> OpenSharedMemory(const std::string& name, std::size_t size) override;
  std::unique_ptr<NamedMutex> CreateMutex(const std::string& name, bool initialOwner,
                                          bool* alreadyExisted = nullptr) override;
  std::unique_ptr<NamedMutex> OpenMutex(const std::string& name) override;
  std::unique_ptr<NamedSemaphore> CreateSemaphore(const std::string& name, std::int32_t initial, std::int32_t maximum,
                                                  bool* alreadyExisted = nullptr) override;
  std::unique_ptr<NamedSemaphore> OpenSemaphore(const std::string& name) override;
};

class Win32ProfileFiles : public ProfileFiles {
 public:
  std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue, std::size_t bufferSize = 256) override;
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::string ResolvePath(const std::string& file) override;
};

class Win32MessageBoxes : public MessageBoxes {
 public:
  int Show(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t flags) override;
};

}  // namespace wdx::platform
