// The message loop of the program's main thread, nested pumping and timers.
//
// Macros run inside message handlers and must keep the program responsive: after every
// character and command the interpreter calls PumpPending, which delivers what is queued
// (posted messages, due timers) and returns. Timers fire only while messages are pumped.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wdx::platform {

class MessageLoop {
 public:
  virtual ~MessageLoop() = default;

  // Runs until Quit; returns the quit code.
  virtual int Run() = 0;
  // Delivers every message pending now (including due timers) and returns. Returns false
  // once a quit has been requested, so nested loops can unwind.
  virtual bool PumpPending() = 0;
  // Waits until at least one message is pending (or timeoutMs passes), then pumps.
  virtual bool WaitAndPump(std::uint32_t timeoutMs) = 0;
  virtual void Quit(int code) = 0;
  virtual bool QuitRequested() const = 0;

  // Starts or restarts (re-enabling restarts the interval) a timer of `w` that delivers
  // msg::kTimer with wparam = id every intervalMs while messages are pumped.
  virtual bool SetTimer(WindowHandle w, std::uint32_t id, std::uint32_t intervalMs) = 0;
  virtual void KillTimer(WindowHandle w, std::uint32_t id) = 0;
};

}  // namespace wdx::platform
