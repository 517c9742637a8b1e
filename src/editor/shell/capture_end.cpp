// The end of a recording started from the editor: the characters the hook library captured go
// into the work file as they come; when the recording ends its text becomes the macro's (or, when
// longer than a macro holds, a long-macro file that the macro names). The work file's rules are
// the player's too (shared/capture_file.h).
#include "editor/shell/main_win.h"
#include "editor/shell/macro_list.h"
#include "shared/protocol_messages.h"

namespace wdx::editor {

namespace {
constexpr char kCaptureCaption[] = "Capture";
}  // namespace

CaptureWorkFile& TMainWin::CaptureWork() {
  if (!captureWork_) captureWork_ = std::make_unique<CaptureWorkFile>(*context_.platform.files, context_.programFolder);
  return *captureWork_;
}

void TMainWin::BeginRecording(int macro, bool toProgram) {
  capture_.recording = true;
  capture_.ending = false;
  capture_.macro = macro;
  capture_.toProgram = toProgram;
  capture_.holdsLock = true;
  capture_.writeFailed = false;
}

void TMainWin::ReleaseCaptureLock(int changes) {
  if (!capture_.holdsLock) return;
  capture_.holdsLock = false;
  context_.lock->ReleaseSyncFile(changes);
}

void TMainWin::CaptureChar(std::uint64_t /*wparam*/, std::int64_t lparam) {
  const char ch = static_cast<char>(lparam & 0xFF);
  if (!capture_.recording || capture_.ending || ch == '\0') return;
  if (CaptureWork().Append(ch) || capture_.writeFailed) return;
  capture_.writeFailed = true;
  Box("The recorded keystrokes could not be written to " + CaptureWork().Path() + ".", kErrorCaption,
      platform::mb::kOk);
}

void TMainWin::CaptureDone(std::uint64_t /*wparam*/) {
  // The macro is the one this recording was started for, whatever number a message names.
  if (!capture_.recording || capture_.ending) return;
  capture_.ending = true;
  capture_.recording = false;
  PlayerLink& link = *context_.link;
  TGlobData& glob = *context_.glob;
  // The recording is over whatever follows: the hook library stops sending, the work file closes.
  glob.SetCaptureOn(false);
  link.UpCaptureOn();
  link.SetCapWind(Handle(), false);

  std::string topProgram;
  if (context_.platform.processes) {
    const platform::WindowHandle front = context_.platform.windows->GetForegroundWindow();
    topProgram = context_.platform.processes->ExeName(context_.platform.windows->GetWindowProcessId(front));
  }

  CaptureWorkFile& work = CaptureWork();
  const CaptureWorkFile::Result result = work.Finish(macro_rec::kMaxTextLength);
  if (!result.Kept()) {
    ReleaseCaptureLock(0);
    Box(work.Problem(result), kErrorCaption, platform::mb::kOk);
    return;
  }
  const int number = capture_.macro;
  const std::string keptIn = result.file.empty() ? work.Path() : result.file;
  TMacroRec record;
  if (number < 1 || number > context_.store->Count() || !context_.store->Library().ReadMacroRecord(number, record)) {
    ReleaseCaptureLock(0);
    Box("The recorded macro is no longer in the library.  Its keystrokes are kept in " + keptIn + ".", kErrorCaption,
        platform::mb::kOk);
    return;
  }
  record.SetLastChange(context_.platform.clock->Now());
  record.SetText(result.text);
  record.SetTextLength(static_cast<std::int16_t>(result.text.size()));
  if (capture_.toProgram) {
    record.SetScopeKind(scope::kProgram);
    record.SetScopeText(topProgram.substr(0, 30));
    record.SetWindowMatch(1);
  }
  if (!context_.store->Library().WriteMacroRecord(number, record, true)) {
    // The library said why; the keystrokes stay where they are.
    ReleaseCaptureLock(0);
    Box("The recorded keystrokes are kept in " + keptIn + ".", kErrorCaption, platform::mb::kOk);
    return;
  }
  if (result.kind == CaptureWorkFile::Result::Kind::kText) work.Remove();
  link.SetHotKeys();
  context_.platform.windows->BringToFront(Handle());
  ReleaseCaptureLock(1);
  RestoreAndShow();
  const std::string done = record.ActivationCode() == activation::kAbbrekey
                               ? "Wendrix 2000 capture is complete for Abbrekey: " + record.Abbrekey() + "."
                               : "Wendrix 2000 capture is complete for " +
                                     ActivationText(record.ActivationCode(), record.Abbrekey()) + ".";
  Box(done, kCaptureCaption, platform::mb::kOk);
  FillList();
  SelectMacro(number);
}

}  // namespace wdx::editor
