#include "player/core/abbrekeys_activation.h"

#include "platform/virtual_keys.h"
#include "player/core/protocol.h"
#include "player/core/run_coordinator.h"
#include "shared/protocol_messages.h"

namespace wdx::player {

AbbrekeyActivation::AbbrekeyActivation(platform::Platform& platform, TGlobData& block, TSettingsRec& settings,
                                       MacroLibrary& library, RunFrame& frame, WindowActivation& activation)
    : platform_(platform),
      block_(block),
      settings_(settings),
      library_(library),
      frame_(frame),
      activation_(activation) {}

void AbbrekeyActivation::Refresh() {
  if (built_ && builtRevision_ == block_.MacroTablesRevision()) return;
  std::vector<AbbrekeyMacro> macros;
  const int count = MacroLimit(block_);
  for (int i = 1; i <= count; ++i) {
    if (block_.ActivationCode(i) != activation::kAbbrekey || !block_.MacroActive(i)) continue;
    const auto n = static_cast<std::size_t>(i);
    macros.push_back({i, settings_.abbrekeys[n], settings_.caseModes[n], block_.ScopeKind(i), block_.ScopeText(i)});
  }
  index_.Build(std::move(macros));
  built_ = true;
  builtRevision_ = block_.MacroTablesRevision();
}

void AbbrekeyActivation::Typed(std::uint64_t flags, std::uint8_t c) {
  if (block_.MacroCount() <= 0 || !block_.AbbrekeysPresent()) return;
  // Caps Lock as the hook library saw it; a run sets it again from the lock state.
  if (flags != kAbbrekeyReset) frame_.State().capsWasOn = flags == kAbbrekeyCapsOn;
  Refresh();
  const AbbrekeyOptions o = AbbrekeyOptions::From(settings_);
  word_.Typed(flags, c, o, [this, &o] { return TestIt(o); });
}

bool AbbrekeyActivation::TestIt(const AbbrekeyOptions& o) {
  const AbbrekeyCandidates found = index_.Find(word_.Buffer(), o);
  if (found.count == 0) return false;
  RunState& state = frame_.State();
  if (state.popupShowing) {
    frame_.DoAMessage(kWarningCaption, kPopupShowingText);
    return false;
  }
  if (block_.CaptureOn()) {
    frame_.DoAMessage(kWarningCaption, kRecordingText);
    return false;
  }
  if (state.pauseShowing) {
    frame_.DoAMessage(kWarningCaption, kPauseText);
    return false;
  }
  // A macro that plays (a scheduled one, say) leaves no room for this one: the typed Abbrekey
  // stays as the user typed it instead of being erased for a text that would never come.
  if (state.macroPlaying) return false;
  platform::WindowSystem* windows = platform_.windows;
  const platform::WindowHandle front = windows ? windows->GetForegroundWindow() : platform::kNoWindow;
  const int chosen = ChooseAbbrekeyCandidate(
      index_, found, front != platform::kNoWindow, [&] { return activation_.UpperTitle(front); },
      [&] { return UpperAscii(activation_.GetTopProgram()); });
  if (chosen <= 0) return false;
  return RunAbbrekeyMacro(chosen, o);
}

void AbbrekeyActivation::WaitForShiftUp() {
  if (!platform_.input || !platform_.clock) return;
  const std::uint32_t start = platform_.clock->TickCount();
  // No messages are handled meanwhile; a Shift key that stays down (stuck, or held on purpose)
  // delays the run at most two seconds instead of hanging the player.
  while ((platform_.input->GetAsyncKeyState(vk::kShift) & 0x8000) &&
         platform_.clock->TickCount() - start < kAbbrekeyShiftWaitMs)
    platform_.clock->Sleep(1);
}

bool AbbrekeyActivation::RunAbbrekeyMacro(int number, const AbbrekeyOptions& o) {
  WaitForShiftUp();
  RunState& state = frame_.State();
  state.currentMacroNumber = number;
  TMacroRec record;
  // A record that cannot be read runs nothing and erases nothing.
  if (!library_.ReadMacroRecord(number, record)) return false;
  const auto n = static_cast<std::size_t>(number);
  const std::string& abbrekey = settings_.abbrekeys[n];
  const std::size_t erase = (o.useSuffix ? 1 : o.prefix.size()) + abbrekey.size();
  const bool remove = settings_.removals[n] != kRemovalKeep;

  // The first letter of the word decides the case, after prefix keys that begin it.
  const std::string& word = word_.Buffer();
  const std::string_view prefix = o.Prefix();
  const std::size_t first = !prefix.empty() && word.starts_with(prefix) ? prefix.size() : 0;
  const bool typedUpper = first < word.size() && word[first] >= 'A' && word[first] <= 'Z';
  const bool capitalise = settings_.caseModes[n] == kCaseFirstLetter && typedUpper;
  const bool retype = o.useSuffix && o.retypeSuffix;

  RunRequest run{AbbrekeyRunText(record.Text(), capitalise, retype, word_.Trigger()), record.Nickname(),
                 record.ActivationCode(), true, true};
  run.beforeText = [this, erase, remove] {
    if (!remove) return;
    for (std::size_t i = 0; i < erase; ++i) {
      frame_.PostVKey(vk::kBack, false);
      frame_.PostVKey(vk::kBack, true);
      frame_.PumpMessages();
    }
    frame_.PauseForNoSpeed(0.1);
  };
  const bool ran = frame_.StartRun(run);
  word_.Clear();
  return ran;
}

void AbbrekeyActivation::TypedForWait(std::uint64_t flags, std::uint8_t c) {
  RunState& state = frame_.State();
  std::string& buffer = state.waitTextBuffer;
  if (flags == 1) {
    buffer.clear();
    return;
  }
  if (c == '\b') {
    if (!buffer.empty()) buffer.pop_back();
    return;
  }
  buffer.push_back(static_cast<char>(c));
  const auto limit = static_cast<std::size_t>(std::max<std::int32_t>(state.waitTextLimit, 0));
  if (buffer.size() > limit) buffer.erase(0, buffer.size() - limit);
}

}  // namespace wdx::player
