#include "player/core/macro_recorder.h"

#include <algorithm>

#include "player/core/hot_key_router.h"
#include "player/core/protocol.h"
#include "player/prompts/cap_complete.h"
#include "shared/hot_keys.h"
#include "shared/protocol_messages.h"

namespace wdx::player {

MacroRecorder::MacroRecorder(platform::Platform& platform, hook::HookLibrary& hook, TGlobData& block,
                             TSettingsRec& settings, MacroLibrary& library, RunFrame& frame, LibrarySync& sync,
                             WindowActivation& activation, HotKeyRouter& hotKeys, const CommandLineOptions& options,
                             const std::string& programFolder)
    : platform_(platform),
      hook_(hook),
      block_(block),
      settings_(settings),
      library_(library),
      frame_(frame),
      sync_(sync),
      activation_(activation),
      hotKeys_(hotKeys),
      options_(options),
      programFolder_(programFolder),
      work_(*platform.files, programFolder) {}

void MacroRecorder::Tell(int code, int argument) {
  if (editor_ != nullptr) editor_->Tell(static_cast<std::uint32_t>(code), argument);
}

bool MacroRecorder::Refused() {
  const char* refusal = options_.browseMode ? kCaptureBrowseModeText
                        : capturing_        ? kCaptureInProgressText
                        : block_.MacroCount() >= kGlobMaxMacros ? kCaptureLibraryFullText
                                                                : nullptr;
  if (refusal != nullptr) frame_.DoAMessage(kErrorCaption, refusal);
  return refusal != nullptr;
}

bool MacroRecorder::KeepLeftoverRecording() {
  // A recording of an earlier session that never ended is kept before the work file starts
  // afresh.
  const CaptureWorkFile::LeftoverNotice notice = work_.KeepLeftoverBeforeStart();
  if (!notice.text.empty()) frame_.DoAMessage(notice.caption, notice.text);
  return notice.mayStart;
}

bool MacroRecorder::TakeLibraryLock() {
  if (!settings_.networkMode) return true;
  // A lock obtained at once is given back and asked for again: the first request may have
  // found another user's change and reloaded the library.
  if (!sync_.FileInUse()) sync_.ReleaseSyncFile(0);
  return !sync_.FileInUse();
}

bool MacroRecorder::ReservePlaceholder() {
  const std::int32_t number = block_.MacroCount() + 1;
  block_.SetMacroCount(number);
  hook_.WdxUpNumKeys(block_);
  Tell(editor_notice::kDataGroup, data_group::kMacroCount);

  // A record of its own: nothing of another macro (its category, icon, options) comes along.
  TMacroRec record;
  record.SetActive(1);
  record.SetNickname(kPlaceholderNickname);
  record.SetScopeKind(scope::kGlobal);
  record.SetScopeText("");
  record.SetWindowMatch(1);
  record.SetAbbrekey(kPlaceholderAbbrekey);
  record.SetActivationCode(activation::kAbbrekey);
  record.SetCaseMode(static_cast<std::int16_t>(settings_.defaultCaseMode & 0xFFFF));
  record.SetLastChange(platform_.clock->Now());
  if (!library_.WriteMacroRecord(-1, record) || !library_.ReadMacroRecord(number, placeholder_)) {
    block_.SetMacroCount(number - 1);
    hook_.WdxUpNumKeys(block_);
    Tell(editor_notice::kDataGroup, data_group::kMacroCount);
    return false;
  }
  macro_ = number;
  return true;
}

int MacroRecorder::StopHotKey() const {
  const int count = std::clamp(block_.MacroCount(), 0, kGlobMaxMacros);
  for (int i = 1; i <= count; ++i)
    if (block_.ScopeKind(i) == scope::kSystem && block_.ScopeText(i).rfind('2', 0) == 0) return block_.ActivationCode(i);
  return -1;
}

void MacroRecorder::SetUpHookLibrary() {
  block_.SetCaptureMacro(static_cast<std::int16_t>(macro_));
  block_.WriteCaptureOptions({settings_.captureKeys, settings_.captureMouse, settings_.captureClicksOnly,
                              static_cast<std::uint8_t>(settings_.captureRelative & 0xFF), settings_.captureTime});
  block_.SetWindowRelativeMouse(settings_.captureMouse && settings_.captureRelative == 2 && settings_.captureWindowSize);
  block_.SetDoubleAlt(settings_.captureDoubleAlt);
  block_.BeginCaptureFields();
  // The characters come here, whichever program recorded last.
  block_.SetCaptureWindow(frame_.MainWindow(), false);
  hook_.WdxUpWindow2(block_);
  // Without a system macro "2" no key stops the recording (the tray icon still does).
  block_.WriteStopKey(1, StopKeyOf(StopHotKey()));
  hook_.WdxUpCapture(block_);
  Tell(editor_notice::kDataGroup, data_group::kCaptureSetUp);
}

void MacroRecorder::StartACapture() {
  if (Refused() || !KeepLeftoverRecording() || !TakeLibraryLock()) return;
  // The work file first: a recording that has nowhere to go reserves nothing.
  if (!work_.Create()) {
    frame_.DoAMessage(kErrorCaption, "The work file " + work_.Path() + " could not be created.  Capture not allowed.");
    if (settings_.networkMode) sync_.ReleaseSyncFile(0);
    return;
  }
  doneSeen_ = false;
  writeFailed_ = false;
  if (!ReservePlaceholder()) {
    work_.Close();
    if (settings_.networkMode) sync_.ReleaseSyncFile(0);
    return;
  }
  program_ = activation_.GetTopProgram();
  if (settings_.captureTime)
    for (const char c : CaptureSpeedTag(settings_.captureSpeed)) work_.Append(c);
  SetUpHookLibrary();
  capturing_ = true;
  if (settings_.capturePrompt) {
    const int stop = StopHotKey();
    frame_.DoAMessage(kStartCaptureCaption, "Wendrix 2000 macro capture will now start.\r\n\r\nUse " +
                                                std::string(HotKeyName(stop)) + " to stop the capture.");
  }
  if (settings_.showRecordingIcon && tray_ != nullptr) tray_->SetRecording(true);
  block_.SetCaptureOn(true);
  hook_.WdxUpCaptureOn(block_);
  Tell(editor_notice::kDataGroup, data_group::kCaptureOn);
}

void MacroRecorder::Captured(std::uint8_t c) {
  if (!capturing_ || doneSeen_ || c == 0) return;
  if (work_.Append(static_cast<char>(c)) || writeFailed_) return;
  writeFailed_ = true;
  frame_.DoAMessage(kErrorCaption, "The recorded keystrokes could not be written to " + work_.Path() + ".");
}

int MacroRecorder::FindPlaceholder() const {
  const int count = std::clamp(block_.MacroCount(), 0, kGlobMaxMacros);
  TMacroRec now;
  if (macro_ >= 1 && macro_ <= count && library_.ReadMacroRecord(macro_, now) && now == placeholder_) return macro_;
  for (int i = count; i >= 1; --i)
    if (i != macro_ && library_.ReadMacroRecord(i, now) && now == placeholder_) return i;
  return 0;
}

void MacroRecorder::DropPlaceholder() {
  const int number = FindPlaceholder();
  if (number == 0) return;
  if (number == block_.MacroCount() && library_.DeleteMacroRecord(number)) {
    block_.SetMacroCount(number - 1);
    hook_.WdxUpNumKeys(block_);
    Tell(editor_notice::kDataGroup, data_group::kMacroCount);
    return;
  }
  // Not the last one any more: it stays, but nothing starts it.
  TMacroRec record = placeholder_;
  record.SetActivationCode(activation::kNone);
  library_.WriteMacroRecord(number, record);
}

bool MacroRecorder::StoreRecording(const TMacroRec& record) {
  const int number = FindPlaceholder();
  if (number != 0) return library_.WriteMacroRecord(number, record);
  // The placeholder was removed meanwhile: the recording becomes a new macro.
  const std::int32_t added = block_.MacroCount() + 1;
  if (added > kGlobMaxMacros) return false;
  block_.SetMacroCount(added);
  hook_.WdxUpNumKeys(block_);
  Tell(editor_notice::kDataGroup, data_group::kMacroCount);
  if (library_.WriteMacroRecord(-1, record)) return true;
  block_.SetMacroCount(added - 1);
  hook_.WdxUpNumKeys(block_);
  Tell(editor_notice::kDataGroup, data_group::kMacroCount);
  return false;
}

void MacroRecorder::EndRecording(std::int32_t changes) {
  hotKeys_.SetHotKeys();
  if (settings_.networkMode) sync_.ReleaseSyncFile(changes);
  capturing_ = false;
  macro_ = 0;
}

void MacroRecorder::SetSecWind(platform::WindowHandle w, bool on) {
  block_.SetSecondaryWindow(on ? w : frame_.MainWindow(), on);
  hook_.WdxUpWindow2(block_);
  Tell(editor_notice::kDataGroup, data_group::kSecondaryWindow);
}

void MacroRecorder::ShowDialog(TMacroRec& record) {
  forms::FormRunner* runner = frame_.Forms();
  if (runner == nullptr) return;
  CaptureCompleteModel model = CaptureCompleteModel::ForLibrary(block_, settings_.captureGlobal);
  const platform::Point screen = platform_.input ? platform_.input->ScreenSize() : platform::Point{640, 480};
  TCapComplete dialog(model, *platform_.boxes, platform_.help, programFolder_ + "\\WENDRIX.HLP", screen.x, screen.y,
                      [this](platform::WindowHandle w, bool on) { SetSecWind(w, on); });
  {
    PromptFrame shown(frame_, *runner);
    shown.Show(dialog);
  }
  if (dialog.accepted) model.ApplyTo(record, program_);
}

void MacroRecorder::Done(int /*macro*/) {
  // Only the recording this player started ends here, once: a stray or repeated message (or
  // one naming another macro) never rewrites a record.
  if (!capturing_ || doneSeen_) return;
  doneSeen_ = true;
  program_ = activation_.GetTopProgram();
  if (settings_.showRecordingIcon && tray_ != nullptr) tray_->SetRecording(false);
  block_.SetCaptureOn(false);
  hook_.WdxUpCaptureOn(block_);
  Tell(editor_notice::kDataGroup, data_group::kCaptureOn);

  const CaptureWorkFile::Result result = work_.Finish(macro_rec::kMaxTextLength);
  if (!result.Kept()) {
    frame_.DoAMessage(kErrorCaption, work_.Problem(result));
    DropPlaceholder();
    EndRecording(1);
    return;
  }
  TMacroRec record = placeholder_;
  record.SetText(result.text);
  record.SetTextLength(static_cast<std::int16_t>(result.text.size()));
  record.SetLastChange(platform_.clock->Now());
  ShowDialog(record);
  if (StoreRecording(record)) {
    if (result.kind == CaptureWorkFile::Result::Kind::kText) work_.Remove();
  } else {
    frame_.DoAMessage(kErrorCaption, "The recorded macro could not be stored.  Its keystrokes are kept in " +
                                         (result.file.empty() ? work_.Path() : result.file) + ".");
  }
  EndRecording(1);
}

}  // namespace wdx::player
