// The macro control commands: "<MACRUN:" plays another macro of the library as a nested level,
// "<MACDEL:", "<MACACT:" and "<MACDEACT:" change the library, "<SWAP:" switches to another
// library, "<MSTOP>" stops the run and "<TERME>" stops it and ends the player afterwards.
//
// Only "<MSTOP>", "<TERME>" and a chain of macros that run each other without end abort the
// run; the other failures are reported and the run goes on.
#include "player/interpreter/macro_control.h"

#include <memory>
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/macro_record.h"
#include "shared/protocol_messages.h"

namespace wdx::player {

namespace {

constexpr std::size_t kShortText = 255;
constexpr std::size_t kMacroTextMax = 5000;

constexpr char kRunCaption[] = "Macro Run Error";
constexpr char kDeleteCaption[] = "Macro Delete Error";
constexpr char kActivateCaption[] = "Macro Activate Error";
constexpr char kDeactivateCaption[] = "Macro Deactivate Error";
constexpr char kSwapCaption[] = "Macro Swap Error";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// A report that lets the run go on: logged and shown as the run's switches say, without the
// macro's name and without aborting.
void Report(Interpreter& in, const std::string& caption, const std::string& message) {
  const RunState& st = in.State();
  if (st.logErrors) in.Host().LogError(message);
  if (st.showErrors) in.Host().DoAMessage(caption, message);
}

class MacroControlFamily final : public CommandFamily {
 public:
  explicit MacroControlFamily(Interpreter& in) {
    in.Claim<&MacroControlFamily::Run>(TagId::kMacrun, *this);
    in.Claim<&MacroControlFamily::Delete>(TagId::kMacdel, *this);
    in.Claim<&MacroControlFamily::Activate>(TagId::kMacact, *this);
    in.Claim<&MacroControlFamily::Activate>(TagId::kMacdeact, *this);
    in.Claim<&MacroControlFamily::Swap>(TagId::kSwap, *this);
    in.Claim<&MacroControlFamily::Stop>(TagId::kMstop, *this);
    in.Claim<&MacroControlFamily::Stop>(TagId::kTerme, *this);
  }

  void ResetForRun() override { runDepth_ = 0; }

 private:
  // The field of the tag, its text variables expanded.
  static std::string Field(Interpreter& in, const Level& level, const TagInfo& tag, const CommandLayout& layout) {
    std::string text(FieldsOf(level, tag, layout).Raw(0));
    if (text.find("%T") != std::string::npos) in.Host().ProcessStringVar(text, kShortText);
    return text;
  }

  static LibraryControl* LibraryOf(Interpreter& in, const char* caption) {
    LibraryControl* library = in.Host().Library();
    if (library == nullptr) in.Fail(caption, "The macro library is not available in this build. Macro will abort.");
    return library;
  }

  // The first macro after `after` whose nickname is exactly `nickname`, or 0.
  static int Find(LibraryControl& library, const std::string& nickname, int after = 0) {
    const int count = library.MacroCount();
    for (int i = after + 1; i <= count; ++i)
      if (library.Nickname(i) == nickname) return i;
    return 0;
  }

  Flow Run(Interpreter& in, Level& level, const TagInfo& tag) {
    const std::string nickname = Field(in, level, tag, cmd::kMacrun);
    LibraryControl* library = LibraryOf(in, kRunCaption);
    if (library == nullptr) return Flow::GoOn();
    const int i = Find(*library, nickname);
    const std::int16_t kind = i > 0 ? library->ScopeKind(i) : 0;
    if (i > 0 && kind == scope::kSystem) {
      const std::string which = library->ScopeText(i);
      if (which.rfind('5', 0) == 0) {
        // Closing at once would pull the player out from under the run; it ends afterwards.
        in.State().terminateAfterRun = true;
        return Flow::GoOn();
      }
      if (which.rfind('1', 0) == 0) {
        library->OpenEditor();
        return Flow::GoOn();
      }
    }
    const bool runnable = i > 0 && kind != scope::kSystem && kind != scope::kPopupMenu && kind != scope::kFloatingMenu;
    std::optional<std::string> text = runnable ? library->MacroText(i) : std::nullopt;
    if (!text) {
      Report(in, kRunCaption, "Cannot run macro " + Quoted(nickname) + " because macro does not exist.");
      return Flow::GoOn();
    }
    // A macro that runs itself, directly or through others, would nest until the stack is gone.
    if (runDepth_ >= kMacroRunDepthMax) {
      in.Fail(kRunCaption, "Cannot run macro " + Quoted(nickname) + " because the macros run each other more than " +
                               std::to_string(kMacroRunDepthMax) + " levels deep. Macro will abort.");
      return Flow::GoOn();
    }
    if (text->size() > kMacroTextMax) text->resize(kMacroTextMax);
    ++runDepth_;
    in.DoMacro(*text, 1, 1, 1, false, false, 0);
    --runDepth_;
    return Flow::GoOn();
  }

  // Network mode: the library is taken into account afresh when nobody else holds it.
  static void Refresh(LibraryControl& library) {
    if (!library.FileInUse()) library.ReleaseSyncFile(0);
  }

  static Flow Delete(Interpreter& in, Level& level, const TagInfo& tag) {
    const std::string nickname = Field(in, level, tag, cmd::kMacdel);
    LibraryControl* library = LibraryOf(in, kDeleteCaption);
    if (library == nullptr) return Flow::GoOn();
    Refresh(*library);
    const int i = Find(*library, nickname);
    if (i == 0) return Flow::GoOn();
    if (library->FileInUse()) {
      Report(in, kDeleteCaption,
             "Cannot delete macro " + Quoted(nickname) + " because the macro file is in use by another user.");
      return Flow::GoOn();
    }
    library->DeleteMacro(i);
    library->ReleaseSyncFile(1);
    library->TellEditor(editor_notice::kReloadAll, 0);
    return Flow::GoOn();
  }

  static Flow Activate(Interpreter& in, Level& level, const TagInfo& tag) {
    const bool activate = tag.id == TagId::kMacact;
    const std::string nickname = Field(in, level, tag, activate ? cmd::kMacact : cmd::kMacdeact);
    const char* caption = activate ? kActivateCaption : kDeactivateCaption;
    LibraryControl* library = LibraryOf(in, caption);
    if (library == nullptr) return Flow::GoOn();
    Refresh(*library);
    for (int i = Find(*library, nickname); i > 0; i = Find(*library, nickname, i)) {
      // A macro already in the wanted state is passed over.
      if (library->Active(i) == activate) continue;
      if (library->FileInUse()) {
        Report(in, caption,
               std::string("Cannot ") + (activate ? "activate" : "deactivate") + " macro " + Quoted(nickname) +
                   " because the macro file is in use by another user.");
        continue;
      }
      library->SetMacroActive(i, activate);
      library->ReleaseSyncFile(1);
      return Flow::GoOn();
    }
    return Flow::GoOn();
  }

  static Flow Swap(Interpreter& in, Level& level, const TagInfo& tag) {
    const std::string path = Field(in, level, tag, cmd::kSwap);
    LibraryControl* library = LibraryOf(in, kSwapCaption);
    if (library == nullptr) return Flow::GoOn();
    // A file that cannot be opened would leave the player with no macros at all.
    if (const std::optional<std::string> error = library->SwitchLibrary(path)) Report(in, kSwapCaption, *error);
    return Flow::GoOn();
  }

  static Flow Stop(Interpreter& in, Level& level, const TagInfo& tag) {
    RunState& st = in.State();
    st.abortMacro = true;
    if (tag.id == TagId::kTerme) st.terminateAfterRun = true;
    return Flow::JumpTo(level.text.size());
  }

  int runDepth_ = 0;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeMacroControlFamily(Interpreter& in) {
  return std::make_unique<MacroControlFamily>(in);
}

}  // namespace wdx::player
