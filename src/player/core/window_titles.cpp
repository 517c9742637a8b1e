#include "player/core/window_titles.h"

#include "player/core/run_coordinator.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {
constexpr std::size_t kTitleMax = 255;
}  // namespace

WindowTitles::WindowTitles(platform::Platform& platform, MacroLibrary& library, TGlobData& block, RunFrame& frame)
    : platform_(platform), library_(library), block_(block), frame_(frame) {}

platform::WindowHandle WindowTitles::LastForeground() const {
  return lastForeground_ != platform::kNoWindow ? lastForeground_ : frame_.MainWindow();
}

platform::WindowHandle WindowTitles::LastOtherForeground() const {
  return lastOtherForeground_ != platform::kNoWindow ? lastOtherForeground_ : frame_.MainWindow();
}

void WindowTitles::ForegroundChanged(platform::WindowHandle w) {
  if (w == platform::kNoWindow || !platform_.windows) return;
  std::string title = platform_.windows->GetTitle(w);
  if (title.size() > kTitleMax) title.resize(kTitleMax);
  if (title.empty()) return;
  lastForeground_ = w;
  if (UpperAscii(block_.ForegroundProgram()) != kPlayerExeName) lastOtherForeground_ = w;
  CheckForWindowMacros(title);
}

void WindowTitles::CheckForWindowMacros(const std::string& title) {
  const std::string upper = UpperAscii(title);
  const auto matches = [&](int i, bool programScoped) {
    if (!block_.MacroActive(i) || block_.ActivationCode(i) != activation::kWindowTitle) return false;
    if ((block_.ScopeKind(i) == scope::kProgram) != programScoped) return false;
    // An empty scope text would match every title: it names no window.
    const std::string scopeText = UpperAscii(block_.ScopeText(i));
    return !scopeText.empty() && upper.find(scopeText) != std::string::npos;
  };
  const int limit = MacroLimit(block_);
  bool ran = false;
  TMacroRec record;
  for (int i = 1; i <= limit; ++i) {
    if (!matches(i, true) || frame_.State().macroPlaying) continue;
    if (!library_.ReadMacroRecord(i, record)) continue;
    const std::string program = UpperAscii(record.ProgramName());
    if (program.empty() || UpperAscii(block_.ForegroundProgram()).find(program) == std::string::npos) continue;
    RunWindowMacro(i, record);
    ran = true;
  }
  if (ran) return;
  for (int i = 1; i <= limit; ++i) {
    if (!matches(i, false) || frame_.State().macroPlaying) continue;
    if (library_.ReadMacroRecord(i, record)) RunWindowMacro(i, record);
  }
}

void WindowTitles::RunWindowMacro(int number, const TMacroRec& record) {
  frame_.State().currentMacroNumber = number;
  frame_.StartRun({record.Text(), record.Nickname(), record.ActivationCode(), true, false});
}

}  // namespace wdx::player
