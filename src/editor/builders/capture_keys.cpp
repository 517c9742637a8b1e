#include "editor/builders/capture_keys.h"

#include <algorithm>

#include "editor/dialogs/dialog_layout.h"
#include "editor/shell/macro_list.h"
#include "shared/capture_file.h"
#include "shared/hot_keys.h"
#include "shared/macro_library.h"
#include "shared/text_util.h"

namespace wdx::editor {

namespace {

bool IsHotKeyIndex(int code) { return code >= 0 && code < kHotKeyCount; }

}  // namespace

CaptureChoices CaptureChoices::From(const TSettingsRec& s, bool forceProgram) {
  CaptureChoices c;
  c.keys = s.captureKeys;
  c.doubleAlt = s.captureDoubleAlt;
  c.mouse = s.captureMouse;
  c.relative = static_cast<std::uint8_t>(std::clamp(s.captureRelative, 1, 3));
  c.windowSize = s.captureWindowSize;
  c.clicksOnly = s.captureClicksOnly;
  c.time = s.captureTime;
  c.speed = std::clamp(s.captureSpeed, 1, 4);
  c.program = forceProgram || !s.captureGlobal;
  return c;
}

std::string CaptureActivationLabel(const TMacroRec& record) {
  const std::uint16_t code = record.ActivationCode();
  if (code == activation::kAbbrekey) return "Abbrekey: " + record.Abbrekey();
  return ActivationText(code, record.Abbrekey());
}

int StopKeyMacro(const TGlobData& glob) {
  const int count = std::clamp(glob.MacroCount(), 0, kGlobMaxMacros);
  for (int i = 1; i <= count; ++i)
    if (glob.ScopeKind(i) == scope::kSystem && glob.ScopeText(i).rfind('2', 0) == 0) return i;
  return 0;
}

std::vector<std::string> CaptureTargetTitles(platform::WindowSystem& windows) {
  std::vector<std::string> titles{kLastActiveWindow};
  for (const platform::WindowHandle w : windows.EnumTopLevelWindows()) {
    if (!windows.IsVisible(w) || windows.IsMinimized(w)) continue;
    std::string title = windows.GetTitle(w);
    if (!TrimView(title).empty()) titles.push_back(std::move(title));
  }
  return titles;
}

TCaptureKeys::TCaptureKeys(TMainWin& main, EditorContext& context, const DialogServices& services,
                           const CaptureRequest& request)
    : Form("CaptureKeys", "Capture Macro"),
      Recapture(request.recapture ? 1 : 0),
      CapturedMacro(request.macro),
      ForceProgramScope(request.forceProgramScope ? 1 : 0),
      main_(main),
      context_(context),
      services_(services),
      hotKeyLabel_(request.hotKeyLabel.empty() ? CaptureActivationLabel(main.CurMacro) : request.hotKeyLabel) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetClientSize(430, 446);
  const int m = layout::kMargin;
  NickLabel.SetBounds(m + 4, 12, 60, 17);
  NickName.SetBounds(76, 9, 346, layout::kEditHeight);
  NickName.SetMaxLength(50);
  KeyPanel.SetBounds(m, 38, 414, 62);
  HotKeyLabel.SetBounds(8, 5, 398, 17);
  forms::Font bold = HotKeyLabel.font();
  bold.bold = true;
  HotKeyLabel.SetFont(bold);
  HotLabel2.SetBounds(8, 23, 398, 17);
  HotLabel3.SetBounds(8, 41, 398, 17);

  OptionsGroup.SetBounds(m, 106, 304, 252);
  DoKey.SetBounds(12, 20, 250, 20);
  DoDouble.SetBounds(30, 42, 240, 20);
  DoTheMouse.SetBounds(12, 68, 250, 20);
  RelativeLabel.SetBounds(30, 92, 60, 17);
  RelativePanel.SetBounds(92, 88, 206, 24);
  RelativePanel.SetBevel(false);
  ToScreen.SetBounds(0, 3, 64, 20);
  ToWindow.SetBounds(66, 3, 68, 20);
  ToPosition.SetBounds(136, 3, 70, 20);
  DoSize.SetBounds(30, 114, 240, 20);
  ClicksOnly.SetBounds(30, 136, 240, 20);
  DoTime.SetBounds(12, 162, 250, 20);
  SpeedPanel.SetBounds(30, 184, 244, 60);
  SpeedPanel.SetBevel(false);
  ActualSpeed.SetBounds(0, 4, 116, 20);
  HalfSpeed.SetBounds(122, 4, 116, 20);
  DoubleSpeed.SetBounds(0, 30, 116, 20);
  QuadSpeed.SetBounds(122, 30, 120, 20);

  ScopeGroup.SetBounds(318, 106, 104, 74);
  ProgramButton.SetBounds(14, 22, 84, 20);
  GlobalButton.SetBounds(14, 46, 84, 20);

  ProgLabel.SetBounds(m + 4, 368, 300, 17);
  ProgList.SetBounds(m, 386, 414, layout::kEditHeight);

  StartButton.SetDefault(true);
  StartButton.SetBounds(184, 414, 100, layout::kButtonHeight);
  CancelButton.SetCancel(true);
  CancelButton.SetModalResult(forms::ModalResult::kCancel);
  CancelButton.SetBounds(290, 414, 64, layout::kButtonHeight);
  HelpButton.SetBounds(360, 414, 62, layout::kButtonHeight);

  for (forms::Control* c : std::initializer_list<forms::Control*>{&DoKey, &DoTheMouse, &ToScreen, &ToWindow,
                                                                   &ToPosition, &DoTime})
    c->onClick = [this] { EnableDisable(); };
  StartButton.onClick = [this] { StartButtonClick(); };
  HelpButton.onClick = [this] { HelpButtonClick(); };
  onShow = [this] { FormShow(); };
  onClose = [this](forms::CloseAction&) { FormClose(); };
}

void TCaptureKeys::FormShow() {
  services_.Centre(*this);
  CaptureStarted = 0;
  const TGlobData& glob = *context_.glob;
  HotKeyLabel.SetCaption(hotKeyLabel_);
  StopKeyMacro = editor::StopKeyMacro(glob);
  HotLabel2.SetCaption(StopKeyMacro > 0 && IsHotKeyIndex(glob.ActivationCode(StopKeyMacro))
                           ? "Press " + std::string(HotKeyName(glob.ActivationCode(StopKeyMacro))) + " to end capture"
                           : std::string());
  // Only a hot key of the macro's own ends the capture as well.
  const int code = main_.CurMacro.ActivationCode();
  HotLabel3.SetCaption(IsHotKeyIndex(code) ? "Or Press " + std::string(HotKeyName(code)) + " to end capture"
                                           : std::string());

  const CaptureChoices c = CaptureChoices::From(*context_.settings, ForceProgramScope != 0);
  DoKey.SetChecked(c.keys);
  DoDouble.SetChecked(c.doubleAlt);
  DoTheMouse.SetChecked(c.mouse);
  ToScreen.SetChecked(c.relative == 1);
  ToWindow.SetChecked(c.relative == 2);
  ToPosition.SetChecked(c.relative == 3);
  DoSize.SetChecked(c.windowSize);
  ClicksOnly.SetChecked(c.clicksOnly);
  DoTime.SetChecked(c.time);
  ActualSpeed.SetChecked(c.speed == 1);
  HalfSpeed.SetChecked(c.speed == 2);
  DoubleSpeed.SetChecked(c.speed == 3);
  QuadSpeed.SetChecked(c.speed == 4);
  ProgramButton.SetChecked(c.program);
  GlobalButton.SetChecked(!c.program);
  GlobalButton.SetEnabled(ForceProgramScope == 0);
  EnableDisable();

  NickName.SetText(Recapture != 0 ? main_.CurMacro.Nickname() : std::string());
  SetFocus(&NickName);
  ProgList.SetItems(CaptureTargetTitles(*context_.platform.windows));
  ProgList.SetItemIndex(0);
}

void TCaptureKeys::EnableDisable() {
  DoDouble.SetEnabled(DoKey.checked());
  const bool mouse = DoTheMouse.checked();
  for (forms::Control* c : std::initializer_list<forms::Control*>{&RelativeLabel, &ToScreen, &ToWindow, &ToPosition,
                                                                   &ClicksOnly})
    c->SetEnabled(mouse);
  DoSize.SetEnabled(mouse && ToWindow.checked());
  for (forms::RadioButton* r : {&ActualSpeed, &HalfSpeed, &DoubleSpeed, &QuadSpeed}) r->SetEnabled(DoTime.checked());
}

CaptureChoices TCaptureKeys::Choices() const {
  CaptureChoices c;
  c.keys = DoKey.checked();
  c.doubleAlt = DoDouble.checked();
  c.mouse = DoTheMouse.checked();
  c.relative = ToWindow.checked() ? 2 : ToPosition.checked() ? 3 : 1;
  c.windowSize = DoSize.checked();
  c.clicksOnly = ClicksOnly.checked();
  c.time = DoTime.checked();
  c.speed = HalfSpeed.checked() ? 2 : DoubleSpeed.checked() ? 3 : QuadSpeed.checked() ? 4 : 1;
  c.program = ProgramButton.checked();
  return c;
}

std::optional<std::string> TCaptureKeys::Refusal() const {
  // One recording at a time, whichever program started it: both write the same work file.
  if (context_.glob->CaptureOn() || main_.Recording().recording) return std::string(kCaptureRunningText);
  // A recording nothing can end would hold the library lock for good.
  const int stop = StopKeyMacro > 0 ? context_.glob->ActivationCode(StopKeyMacro) : -1;
  if (!IsHotKeyIndex(stop) && !IsHotKeyIndex(main_.CurMacro.ActivationCode())) return std::string(kNoStopKeyText);
  return std::nullopt;
}

void TCaptureKeys::StartButtonClick() {
  if (const std::optional<std::string> refusal = Refusal()) {
    main_.Box(*refusal, kErrorCaption, platform::mb::kOk);
    return;
  }
  CaptureWorkFile& work = main_.CaptureWork();
  const CaptureWorkFile::LeftoverNotice leftover = work.KeepLeftoverBeforeStart();
  if (!leftover.text.empty()) main_.Box(leftover.text, leftover.caption, platform::mb::kOk);
  if (!leftover.mayStart) return;
  // The work file first: a recording with nowhere to go changes nothing.
  if (!work.Create()) {
    main_.Box("The work file " + work.Path() + " could not be created.  Capture not allowed.", kErrorCaption,
              platform::mb::kOk);
    return;
  }
  PlayerLink& link = *context_.link;
  TGlobData& glob = *context_.glob;
  link.SetCapWind(main_.Handle(), true);
  const CaptureChoices choices = Choices();

  if (Recapture == 0) {
    glob.SetMacroCount(glob.MacroCount() + 1);
    link.UpNumKeys();
    main_.CurMacro.SetActive(1);
    MacroAdded = 1;
  }
  TMacroRec& record = main_.CurMacro;
  record.SetNickname(NickName.text().substr(0, 50));
  record.SetScopeKind(scope::kGlobal);
  record.SetScopeText("");
  record.SetWindowMatch(0);

  if (choices.time)
    for (const char c : CaptureSpeedTag(choices.speed)) work.Append(c);
  // The end names the program in front by its file: the process functions must be at hand.
  if (choices.program && context_.platform.processes) context_.platform.processes->Bind();
  SetUpHookLibrary(choices);
  CaptureStarted = 1;
  main_.BeginRecording(CapturedMacro, choices.program);
  SetModalResult(forms::ModalResult::kOk);
}

void TCaptureKeys::SetUpHookLibrary(const CaptureChoices& choices) {
  TGlobData& glob = *context_.glob;
  glob.SetCaptureMacro(static_cast<std::int16_t>(CapturedMacro));
  // The bytes the hook library keeps for itself start cleared; the options are set.
  glob.BeginCaptureFields();
  glob.WriteStopKey(1, StopKeyOf(StopKeyMacro > 0 ? glob.ActivationCode(StopKeyMacro) : -1));
  const int code = main_.CurMacro.ActivationCode();
  glob.WriteStopKey(2, StopKeyOf(IsHotKeyIndex(code) ? code : -1));
  glob.SetSecondStopKeyOn(IsHotKeyIndex(code));
  glob.WriteCaptureOptions({choices.keys, choices.mouse, choices.clicksOnly, choices.relative, choices.time});
  glob.SetWindowRelativeMouse(choices.WindowSizeBytes());
  glob.SetDoubleAlt(choices.doubleAlt);
  context_.link->UpCapture();
}

void TCaptureKeys::FrontWindow() {
  const int chosen = ProgList.itemIndex();
  platform::WindowSystem& windows = *context_.platform.windows;
  if (chosen <= 0) {
    main_.SetWindowState(forms::WindowState::kMinimized);
    return;
  }
  const std::string& title = ProgList.item(chosen);
  for (const platform::WindowHandle w : windows.EnumTopLevelWindows()) {
    if (windows.GetTitle(w) == title) {
      windows.BringToFront(w);
      return;
    }
  }
}

void TCaptureKeys::FormClose() {
  // Without a start the lock goes back unchanged; a started recording gives it back at its end.
  if (CaptureStarted == 0) context_.lock->ReleaseSyncFile(0);
}

void TCaptureKeys::HelpButtonClick() {
  if (services_.help != nullptr) services_.help->ShowKeyword(Handle(), services_.HelpFile(), "Capture Macro");
}

CaptureResult CaptureMacro(TMainWin& main, EditorContext& context, const CaptureRequest& request) {
  const DialogServices services = DialogServices::Of(context.platform, context.programFolder);
  TCaptureKeys dialog(main, context, services, request);
  dialog.SetOwner(main.Handle());
  context.forms->ShowModal(dialog);
  CaptureResult result{dialog.CaptureStarted != 0, dialog.MacroAdded != 0};
  if (!result.started) return result;
  // With the dialog gone: the window the recording starts in, then the hook library records.
  dialog.FrontWindow();
  context.glob->SetCaptureOn(true);
  context.link->UpCaptureOn();
  return result;
}

}  // namespace wdx::editor
