// The end of a recording started from the editor: the characters the hook library captured go
// into the work file as they come; when the recording ends its text becomes the macro's (or, when
// longer than a macro holds, a file of its own that the macro names).
#include <filesystem>
#include <fstream>
#include <iterator>

#include "editor/shell/main_win.h"
#include "shared/hot_keys.h"
#include "shared/protocol_messages.h"

namespace wdx::editor {

namespace {
constexpr char kCaptureCaption[] = "Capture";
constexpr char kCaptureReadFailedText[] = "The recorded keystrokes could not be read.  The macro was not changed.";
constexpr char kCaptureCopyFailedText[] =
    "The recorded keystrokes could not be saved to a file of their own.  The macro was not changed.";
}  // namespace

void TMainWin::CaptureChar(std::uint64_t wparam, std::int64_t lparam) {
  capture_.macro = static_cast<int>(wparam & 0xFFFF);
  const char ch = static_cast<char>(lparam & 0xFF);
  if (capture_.ending || ch == '\0') return;
  if (!capture_.file.is_open()) {
    if (capture_.fileName.empty()) capture_.fileName = context_.programFolder + "\\" + kCaptureWorkFile;
    capture_.file.open(context_.platform.files->NativePath(capture_.fileName), std::ios::binary | std::ios::app);
  }
  capture_.file.put(ch);
  capture_.file.flush();
}

void TMainWin::CaptureDone(std::uint64_t wparam) {
  if (capture_.ending) return;
  capture_.ending = true;
  PlayerLink& link = *context_.link;
  TGlobData& glob = *context_.glob;
  // The recording is over whatever follows: the hook library stops sending, the work file closes.
  glob.SetCaptureOn(false);
  link.UpCaptureOn();
  link.SetCapWind(Handle(), false);
  if (capture_.file.is_open()) capture_.file.close();

  std::string topProgram;
  if (context_.platform.processes) {
    const platform::WindowHandle front = context_.platform.windows->GetForegroundWindow();
    topProgram = context_.platform.processes->ExeName(context_.platform.windows->GetWindowProcessId(front));
  }

  // A number that names no macro of this library would write a record elsewhere: refused.
  const int number = static_cast<int>(wparam & 0xFFFF);
  TMacroRec record;
  if (number < 1 || number > context_.store->Count() || !context_.store->Library().ReadMacroRecord(number, record)) {
    context_.lock->ReleaseSyncFile(0);
    return;
  }
  capture_.macro = number;
  record.SetLastChange(context_.platform.clock->Now());

  if (capture_.fileName.empty()) capture_.fileName = context_.programFolder + "\\" + kCaptureWorkFile;
  const std::filesystem::path work = context_.platform.files->NativePath(capture_.fileName);
  std::error_code ec;
  std::string text;
  {
    std::ifstream in(work, std::ios::binary);
    if (in.is_open()) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if ((!in.is_open() && std::filesystem::exists(work, ec)) || in.bad()) {
      context_.lock->ReleaseSyncFile(0);
      Box(kCaptureReadFailedText, kErrorCaption, platform::mb::kOk);
      return;
    }
  }
  if (text.size() <= macro_rec::kMaxTextLength) {
    record.SetText(text);
    record.SetTextLength(static_cast<std::int16_t>(text.size()));
    std::filesystem::remove(work, ec);
  } else {
    // The first free WD<i>.TXT beside the program keeps the whole recording.
    std::string kept;
    for (int i = 0;; ++i) {
      kept = context_.programFolder + "\\WD" + std::to_string(i) + ".TXT";
      if (!std::filesystem::exists(context_.platform.files->NativePath(kept), ec)) break;
    }
    std::filesystem::copy_file(work, context_.platform.files->NativePath(kept), ec);
    if (ec) {
      context_.lock->ReleaseSyncFile(0);
      Box(kCaptureCopyFailedText, kErrorCaption, platform::mb::kOk);
      return;
    }
    std::filesystem::remove(work, ec);
    const std::string tag = "<TFILE:" + kept + ">";
    record.SetText(tag);
    record.SetTextLength(static_cast<std::int16_t>(tag.size()));
  }
  if (capture_.toProgram) {
    record.SetScopeKind(scope::kProgram);
    record.SetScopeText(topProgram.substr(0, 30));
    record.SetWindowMatch(1);
  }
  context_.store->Library().WriteMacroRecord(number, record, true);
  link.SetHotKeys();
  context_.platform.windows->BringToFront(Handle());
  context_.lock->ReleaseSyncFile(1);
  RestoreAndShow();
  const std::string done = record.ActivationCode() == activation::kAbbrekey
                               ? "Wendrix 2000 capture is complete for Abbrekey: " + record.Abbrekey() + "."
                               : "Wendrix 2000 capture is complete for " +
                                     std::string(HotKeyName(record.ActivationCode())) + ".";
  Box(done, kCaptureCaption, platform::mb::kOk);
  FillList();
  SelectMacro(number);
}

}  // namespace wdx::editor
