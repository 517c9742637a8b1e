// The stand-in kernel objects: named file mappings, mutexes and semaphores in one name space
// (names compared with case, as Windows compares kernel object names). An object lives while
// a handle to it exists. Each MemoryKernelObjects is one process; two processes share objects
// by sharing a namespace (`MemoryKernelObjects editor(player.Namespace())`), and a mutex held
// by one process times out for the other.
//
// Everything runs on one thread, so a wait that cannot be satisfied at once asks the wait
// hook (the test playing the other process) once, and otherwise lets the time-out pass on the
// clock and returns kTimeout; an endless wait that nothing satisfies returns kFailed instead of
// hanging.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/kernel_objects.h"
#include "platform/memory/memory_clock.h"

namespace wdx::platform {

struct KernelNamespace;

class MemoryKernelObjects : public KernelObjects {
 public:
  explicit MemoryKernelObjects(MemoryClock* clock = nullptr, std::shared_ptr<KernelNamespace> ns = nullptr);
  ~MemoryKernelObjects() override;

  std::unique_ptr<SharedMemory> CreateSharedMemory(const std::string& name, std::size_t size,
                                                   bool* alreadyExisted = nullptr) override;
  std::unique_ptr<SharedMemory> OpenSharedMemory(const std::string& name, std::size_t size) override;
  std::unique_ptr<NamedMutex> CreateMutex(const std::string& name, bool initialOwner,
                                          bool* alreadyExisted = nullptr) override;
  std::unique_ptr<NamedMutex> OpenMutex(const std::string& name) override;
  std::unique_ptr<NamedSemaphore> CreateSemaphore(const std::string& name, std::int32_t initial, std::int32_t maximum,
                                                  bool* alreadyExisted = nullptr) override;
  std::unique_ptr<NamedSemaphore> OpenSemaphore(const std::string& name) override;

  // --- Test controls
  std::shared_ptr<KernelNamespace> Namespace() const { return ns_; }
  // True while some process holds a handle to an object of that name.
  bool Exists(const std::string& name) const;
  // Called with the object's name when a wait cannot be satisfied at once.
  void SetWaitHook(std::function<void(const std::string&)> hook) { *waitHook_ = std::move(hook); }

 private:
  std::shared_ptr<KernelNamespace> ns_;
  MemoryClock* clock_;
  std::shared_ptr<int> process_;  // identity of this process as a mutex owner
  std::shared_ptr<std::function<void(const std::string&)>> waitHook_;
};

}  // namespace wdx::platform
