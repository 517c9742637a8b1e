// Named kernel objects shared between processes: file mappings, mutexes and semaphores.
// Closing is destruction: an object lives while any process holds a handle to it, so a
// crashed process never leaves one behind to block a new start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace wdx::platform {

enum class WaitResult { kSignaled, kTimeout, kAbandoned, kFailed };
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

class SharedMemory {
 public:
  virtual ~SharedMemory() = default;
  virtual std::uint8_t* Data() = 0;
  virtual std::size_t Size() const = 0;
};

class NamedMutex {
 public:
  virtual ~NamedMutex() = default;
  virtual WaitResult Wait(std::uint32_t timeoutMs) = 0;
  virtual bool Release() = 0;
};

class NamedSemaphore {
 public:
  virtual ~NamedSemaphore() = default;
  virtual WaitResult Wait(std::uint32_t timeoutMs) = 0;
  virtual bool Release(std::int32_t count) = 0;
};

class KernelObjects {
 public:
  virtual ~KernelObjects() = default;
  // Create returns the existing object when the name is taken (alreadyExisted tells);
  // Open returns null when no such object exists.
  virtual std::unique_ptr<SharedMemory> CreateSharedMemory(const std::string& name, std::size_t size,
                                                           bool* alreadyExisted = nullptr) = 0;
  virtual std::unique_ptr<SharedMemory> OpenSharedMemory(const std::string& name, std::size_t size) = 0;
  virtual std::unique_ptr<NamedMutex> CreateMutex(const std::string& name, bool initialOwner,
                                                  bool* alreadyExisted = nullptr) = 0;
  virtual std::unique_ptr<NamedMutex> OpenMutex(const std::string& name) = 0;
  virtual std::unique_ptr<NamedSemaphore> CreateSemaphore(const std::string& name, std::int32_t initial,
                                                          std::int32_t maximum, bool* alreadyExisted = nullptr) = 0;
  virtual std::unique_ptr<NamedSemaphore> OpenSemaphore(const std::string& name) = 0;
};

}  // namespace wdx::platform
