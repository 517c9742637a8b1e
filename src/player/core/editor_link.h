// How the player finds, tells, brings up and ends the editor Wendforge. The editor is the first
// top-level window whose upper-cased title contains "WENDRIX EDITOR". Once found it is
// remembered (until the editor says it is closing, or its window is gone); a search that finds
// nothing is repeated at the next use (but only once for a whole run of notices, such as a
// library load's); when no editor runs nothing is sent and nothing waits.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"
#include "platform/window_system.h"

namespace wdx::player {

class WindowActivation;

inline constexpr char kEditorTitleMark[] = "WENDRIX EDITOR";
inline constexpr char kEditorProgram[] = "wendforge.exe";
inline constexpr char kEditorStartToken[] = "-RXB";

// The editor's start parameters: the start token, " /RH" and the player's window in decimal.
std::string EditorStartParameters(platform::WindowHandle player);

// The editor as the rest of the player sees it.
class EditorPeer {
 public:
  virtual ~EditorPeer() = default;
  // Posts UM_CONTROL (code, argument) to the editor when one runs (editor_notice codes).
  virtual void Tell(std::uint32_t code, std::int64_t argument) = 0;
  // The editor said it is closing: it is searched for again at the next use.
  virtual void Forget() = 0;
  // Brings the running editor to the front, else starts it, minimized or shown normally.
  virtual void BringUpOrStart(bool minimized) = 0;
  // The player is closing: the editor ends with it.
  virtual void Quit() = 0;
  // Whether an editor runs now (searched for when not known).
  virtual bool Runs() { return false; }
  // Between these a search that found no editor is not repeated: a library load tells the
  // editor of every macro, which would walk every top-level window once per macro. They nest.
  virtual void BeginNotices() = 0;
  virtual void EndNotices() = 0;
};

// A run of notices for the duration of a scope.
class EditorNotices {
 public:
  explicit EditorNotices(EditorPeer& editor) : editor_(editor) { editor_.BeginNotices(); }
  ~EditorNotices() { editor_.EndNotices(); }
  EditorNotices(const EditorNotices&) = delete;
  EditorNotices& operator=(const EditorNotices&) = delete;

 private:
  EditorPeer& editor_;
};

class EditorLink final : public EditorPeer {
 public:
  // The editor is started from `programFolder`; `activation` forces it to the front.
  EditorLink(platform::WindowSystem& windows, platform::Shell* shell, WindowActivation& activation,
             std::string programFolder);
  // The player's main window: the editor's owner when started, and how it finds the player.
  void SetPlayerWindow(platform::WindowHandle w) { player_ = w; }

  void Tell(std::uint32_t code, std::int64_t argument) override;
  void Forget() override;
  void BringUpOrStart(bool minimized) override;
  void Quit() override;
  void BeginNotices() override { ++notices_; }
  void EndNotices() override;

  bool Runs() override { return Find(); }
  // Searches when not searched yet (or when the remembered window is gone); true when found.
  bool Find();
  bool Found() const { return found_; }
  bool Searched() const { return searched_; }
  platform::WindowHandle Window() const { return window_; }

 private:
  void Post(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam);

  platform::WindowSystem& windows_;
  platform::Shell* shell_;
  WindowActivation& activation_;
  std::string programFolder_;
  platform::WindowHandle player_ = platform::kNoWindow;
  platform::WindowHandle window_ = platform::kNoWindow;
  bool found_ = false;
  bool searched_ = false;
  int notices_ = 0;                  // depth of the runs of notices
  bool missedInNotices_ = false;     // a search of this run of notices found no editor
};

}  // namespace wdx::player
