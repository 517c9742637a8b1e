// The interpreter's host for the commands that reach the network: the whole in-memory platform
// with real sockets (servers on the loopback address), the player's settings, the long-text
// window recorded, and text variables expanded as the player expands them (each "%Tn%").
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "clock_host.h"
#include "platform/memory/bsd_sockets.h"
#include "player/interpreter/interpreter.h"
#include "shared/settings.h"

namespace wdx::player::testing {

class CommandHost : public ClockHost {
 public:
  explicit CommandHost(platform::MemoryPlatform& mem) : ClockHost(mem), mem_(mem), platform_(mem.Get()) {
    platform_.sockets = &sockets;
    settings.emailName = "Wendy";
    settings.emailAddress = "wendy@example.com";
    settings.emailPath = kFolder + std::string("\\WENDMAIL.TXT");
    settings.emailLogPath = kFolder + std::string("\\MAILLOG.TXT");
    std::filesystem::create_directories(mem.NativePath(kFolder));
    state.currentMacroName = "Mail";
  }

  static constexpr const char* kFolder = "C:\\Wendrix";

  platform::Platform* GetPlatform() override { return &platform_; }
  const TSettingsRec* Settings() override { return &settings; }
  std::string ProgramFolder() override { return kFolder; }
  void MyMessage(const std::string& caption, const std::string& text) override {
    std::string shown = text;
    if (state.appendMacroName) {
      shown += " (Macro Name: " + state.currentMacroName + ")";
      state.appendMacroName = false;
    }
    longTexts.push_back({caption, shown});
  }
  void ProcessStringVar(std::string& text, std::size_t) override { Expand(text); }
  bool ProcessAnsiStringVar(std::string& text) override {
    Expand(text);
    return true;
  }

  // A file of the stand-in's disk.
  std::string Native(const std::string& windowsPath) const { return mem_.NativePath(windowsPath); }

  TSettingsRec settings;
  platform::BsdSockets sockets;
  std::vector<Box> longTexts;

 private:
  void Expand(std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::size_t close = text.compare(i, 2, "%T") == 0 ? text.find('%', i + 2) : std::string::npos;
      if (close != std::string::npos) {
        const int n = std::stoi("0" + text.substr(i + 2, close - i - 2));
        if (n >= 1 && n < VariableSet::kTextSlots) {
          out += state.vars.text[static_cast<std::size_t>(n)];
          i = close;
          continue;
        }
      }
      out += text[i];
    }
    text = out;
  }

  platform::MemoryPlatform& mem_;
  platform::Platform platform_;
};

// A host with an interpreter that has every family built in.
struct CommandRun {
  platform::MemoryPlatform mem;
  CommandHost host{mem};
  Interpreter in{host};
  // A top-level run with error logging on.
  void Play(const std::string& text) {
    host.state.abortMacro = false;
    host.state.appendMacroName = false;
    host.state.logErrors = true;
    host.state.showErrors = true;
    in.DoMacro(text);
  }
};

}  // namespace wdx::player::testing
