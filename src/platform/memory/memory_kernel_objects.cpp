#include "platform/memory/memory_kernel_objects.h"

#include <vector>

namespace wdx::platform {

namespace {

enum class Kind { kMapping, kMutex, kSemaphore };

struct ObjectState {
  Kind kind;
  std::vector<std::uint8_t> bytes;  // mapping
  std::weak_ptr<int> owner;         // mutex: owning process
  int recursion = 0;                // mutex: times the owner took it
  std::int32_t count = 0;           // semaphore
  std::int32_t maximum = 0;         // semaphore
};

struct Context {
  std::string name;
  MemoryClock* clock;
  std::shared_ptr<int> process;
  std::shared_ptr<std::function<void(const std::string&)>> waitHook;
};

// Runs a wait: `ready` tries to take the object.
WaitResult Wait(const Context& ctx, std::uint32_t timeoutMs, const std::function<WaitResult()>& tryTake) {
  WaitResult r = tryTake();
  if (r != WaitResult::kTimeout) return r;
  if (*ctx.waitHook) {
    (*ctx.waitHook)(ctx.name);
    r = tryTake();
    if (r != WaitResult::kTimeout) return r;
  }
  if (timeoutMs == kInfinite) return WaitResult::kFailed;  // would hang for ever
  if (ctx.clock && timeoutMs > 0) ctx.clock->Advance(timeoutMs);
  return tryTake();
}

class MemorySharedMemory : public SharedMemory {
 public:
  MemorySharedMemory(std::shared_ptr<ObjectState> s, std::size_t size) : s_(std::move(s)), size_(size) {}
  std::uint8_t* Data() override { return s_->bytes.data(); }
  std::size_t Size() const override { return size_; }

 private:
  std::shared_ptr<ObjectState> s_;
  std::size_t size_;
};

class MemoryMutex : public NamedMutex {
 public:
  MemoryMutex(std::shared_ptr<ObjectState> s, Context ctx) : s_(std::move(s)), ctx_(std::move(ctx)) {}
  WaitResult Wait(std::uint32_t timeoutMs) override {
    return platform::Wait(ctx_, timeoutMs, [this] {
      std::shared_ptr<int> owner = s_->owner.lock();
      if (s_->recursion > 0 && owner == ctx_.process) {
        ++s_->recursion;
        return WaitResult::kSignaled;
      }
      if (s_->recursion > 0 && owner) return WaitResult::kTimeout;
      // Free, or its owner ended without releasing it.
      const bool abandoned = s_->recursion > 0;
      s_->owner = ctx_.process;
      s_->recursion = 1;
      return abandoned ? WaitResult::kAbandoned : WaitResult::kSignaled;
    });
  }
  bool Release() override {
    if (s_->recursion == 0 || s_->owner.lock() != ctx_.process) return false;
    if (--s_->recursion == 0) s_->owner.reset();
    return true;
  }

 private:
  std::shared_ptr<ObjectState> s_;
  Context ctx_;
};

class MemorySemaphore : public NamedSemaphore {
 public:
  MemorySemaphore(std::shared_ptr<ObjectState> s, Context ctx) : s_(std::move(s)), ctx_(std::move(ctx)) {}
  WaitResult Wait(std::uint32_t timeoutMs) override {
    return platform::Wait(ctx_, timeoutMs, [this] {
      if (s_->count <= 0) return WaitResult::kTimeout;
      --s_->count;
      return WaitResult::kSignaled;
    });
  }
  bool Release(std::int32_t count) override {
    if (count <= 0 || count > s_->maximum - s_->count) return false;
    s_->count += count;
    return true;
  }

 private:
  std::shared_ptr<ObjectState> s_;
  Context ctx_;
};

}  // namespace

struct KernelNamespace {
  std::map<std::string, std::weak_ptr<ObjectState>> objects;

  std::shared_ptr<ObjectState> Lookup(const std::string& name) {
    auto it = objects.find(name);
    if (it == objects.end()) return nullptr;
    auto s = it->second.lock();
    if (!s) objects.erase(it);
    return s;
  }
  // Finds or makes the object; null when the name belongs to an object of another kind.
  std::shared_ptr<ObjectState> CreateOrOpen(const std::string& name, Kind kind, bool* existed) {
    if (existed) *existed = false;
    if (auto s = name.empty() ? nullptr : Lookup(name)) {
      if (s->kind != kind) return nullptr;
      if (existed) *existed = true;
      return s;
    }
    auto s = std::make_shared<ObjectState>();
    s->kind = kind;
    if (!name.empty()) objects[name] = s;  // an unnamed object is private to its handle
    return s;
  }
};

MemoryKernelObjects::MemoryKernelObjects(MemoryClock* clock, std::shared_ptr<KernelNamespace> ns)
    : ns_(ns ? std::move(ns) : std::make_shared<KernelNamespace>()),
      clock_(clock),
      process_(std::make_shared<int>(0)),
      waitHook_(std::make_shared<std::function<void(const std::string&)>>()) {}

MemoryKernelObjects::~MemoryKernelObjects() = default;

bool MemoryKernelObjects::Exists(const std::string& name) const { return ns_->Lookup(name) != nullptr; }

std::unique_ptr<SharedMemory> MemoryKernelObjects::CreateSharedMemory(const std::string& name, std::size_t size,
                                                                      bool* alreadyExisted) {
  if (size == 0) return nullptr;
  bool existed = false;
  auto s = ns_->CreateOrOpen(name, Kind::kMapping, &existed);
  if (alreadyExisted) *alreadyExisted = existed;
  if (!s) return nullptr;
  if (!existed) s->bytes.assign(size, 0);  // a new mapping starts zeroed
  if (size > s->bytes.size()) return nullptr;  // a view cannot exceed the mapping
  return std::make_unique<MemorySharedMemory>(s, size);
}

std::unique_ptr<SharedMemory> MemoryKernelObjects::OpenSharedMemory(const std::string& name, std::size_t size) {
  auto s = ns_->Lookup(name);
  if (!s || s->kind != Kind::kMapping || size > s->bytes.size()) return nullptr;
  return std::make_unique<MemorySharedMemory>(s, size == 0 ? s->bytes.size() : size);
}

std::unique_ptr<NamedMutex> MemoryKernelObjects::CreateMutex(const std::string& name, bool initialOwner,
                                                             bool* alreadyExisted) {
  bool existed = false;
  auto s = ns_->CreateOrOpen(name, Kind::kMutex, &existed);
  if (alreadyExisted) *alreadyExisted = existed;
  if (!s) return nullptr;
  // Initial ownership is ignored for a mutex that already existed.
  if (!existed && initialOwner) {
    s->owner = process_;
    s->recursion = 1;
  }
  return std::make_unique<MemoryMutex>(s, Context{name, clock_, process_, waitHook_});
}

std::unique_ptr<NamedMutex> MemoryKernelObjects::OpenMutex(const std::string& name) {
  auto s = ns_->Lookup(name);
  if (!s || s->kind != Kind::kMutex) return nullptr;
  return std::make_unique<MemoryMutex>(s, Context{name, clock_, process_, waitHook_});
}

std::unique_ptr<NamedSemaphore> MemoryKernelObjects::CreateSemaphore(const std::string& name, std::int32_t initial,
                                                                     std::int32_t maximum, bool* alreadyExisted) {
  if (maximum <= 0 || initial < 0 || initial > maximum) return nullptr;
  bool existed = false;
  auto s = ns_->CreateOrOpen(name, Kind::kSemaphore, &existed);
  if (alreadyExisted) *alreadyExisted = existed;
  if (!s) return nullptr;
  if (!existed) {
    s->count = initial;
    s->maximum = maximum;
  }
  return std::make_unique<MemorySemaphore>(s, Context{name, clock_, process_, waitHook_});
}

std::unique_ptr<NamedSemaphore> MemoryKernelObjects::OpenSemaphore(const std::string& name) {
  auto s = ns_->Lookup(name);
  if (!s || s->kind != Kind::kSemaphore) return nullptr;
  return std::make_unique<MemorySemaphore>(s, Context{name, clock_, process_, waitHook_});
}

}  // namespace wdx::platform
