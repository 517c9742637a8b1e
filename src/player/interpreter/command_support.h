// A platform facility for a command: the host's, or a failed run with a clear message when the
// host has none (a build or test host without that part of the platform).
#pragma once

#include <string>

#include "platform/platform.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {

template <class F>
F* Facility(Interpreter& in, F* platform::Platform::*member, const char* caption, const char* what) {
  platform::Platform* p = in.Host().GetPlatform();
  if (p != nullptr && p->*member != nullptr) return p->*member;
  in.Fail(caption, std::string("The ") + what + " is not available in this build. Macro will abort.");
  return nullptr;
}

}  // namespace wdx::player
