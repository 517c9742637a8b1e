// An entry of a system library that is loaded when first asked for instead of at start. A
// linked library is loaded and set up in every program from its start; the dialog, shell,
// common-control, COM and sound libraries (and what they pull in) would keep megabytes resident
// in the player and lengthen its start, though it needs them only when a macro asks.
#pragma once

#include <windows.h>

namespace wdx::platform::win32 {

// An entry of a loaded module as the function type it is called through; nullptr when the
// module or the entry is missing.
template <class Fn>
Fn EntryOf(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// nullptr when the library or the entry cannot be had. The library stays loaded.
template <class Fn>
Fn LateEntry(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return EntryOf<Fn>(module, name);
}

// A system library held only while one call is made: for a call that comes a few times in a
// long life, where keeping the library (and what it pulls in) loaded would cost more resident
// memory than loading it again costs time. A library loaded for another reason stays loaded.
class BorrowedLibrary {
 public:
  explicit BorrowedLibrary(const char* library) : module_(LoadLibraryA(library)) {}
  ~BorrowedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  BorrowedLibrary(const BorrowedLibrary&) = delete;
  BorrowedLibrary& operator=(const BorrowedLibrary&) = delete;

  // nullptr when the library or the entry cannot be had; valid while this object lives.
  template <class Fn>
  Fn Entry(const char* name) const {
    return EntryOf<Fn>(module_, name);
  }

 private:
  HMODULE module_;
};

// OLE for the shell: a program asks for it at start (WantOle) on the thread that will use
// the shell, and it is set up there just before the first shell call that may need it
// (EnsureOle), so COM and its libraries are loaded only by a program that uses the shell. EndOle
// ends it when it was set up; then a later start asks anew.
struct LateOleState {
  bool wanted = false;
  bool initialised = false;
  DWORD thread = 0;
};

inline LateOleState& LateOle() {
  static LateOleState state;
  return state;
}

inline void WantOle() {
  LateOleState& s = LateOle();
  if (s.wanted) return;
  s.wanted = true;
  s.thread = GetCurrentThreadId();
}

// Only on the thread that asked: OLE belongs to one thread, and another thread's shell call
// must not set it up for that thread.
inline void EnsureOle() {
  LateOleState& s = LateOle();
  if (!s.wanted || s.initialised || GetCurrentThreadId() != s.thread) return;
  const auto init = LateEntry<HRESULT(WINAPI*)(LPVOID)>("ole32.dll", "OleInitialize");
  s.initialised = init != nullptr && SUCCEEDED(init(nullptr));
  // A failed set-up is not retried on every shell call.
  if (!s.initialised) s.wanted = false;
}

inline void EndOle() {
  LateOleState& s = LateOle();
  if (s.initialised && GetCurrentThreadId() == s.thread) {
    if (const auto uninit = LateEntry<void(WINAPI*)()>("ole32.dll", "OleUninitialize")) uninit();
  }
  s = LateOleState();
}

}  // namespace wdx::platform::win32
