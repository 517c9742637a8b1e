// Dial-up networking: "<DIAL:<NAME:" dials a phone-book entry and ends the pass of its level
// when that fails; "<DIAL2:<NAME:" dials and plays the success or the failure part of its if
// block; "<HANG>" hangs up. A connection outlives the macro that made it; the player remembers
// the connections its dials made, and "<HANG>" ends the newest of them that is still up, never
// a connection another program made.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/remote_access.h"
#include "player/interpreter/block_scan.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "shared/stored_password.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

namespace f = cmd::dial;
using platform::RasConnectionHandle;
using platform::RemoteAccess;

constexpr char kStatusCaption[] = "Wendrix Dial-Up Networking";
constexpr char kErrorCaption[] = "Dial-Up Error";
constexpr char kMissingText[] =
    "Dial-Up Connections cannot be performed on this computer. The necessary Windows files have not been "
    "installed.  Missing RASAPI32.DLL";
constexpr char kHangUpFailed[] = "Dial-Up Networking Hang Up failed.";
constexpr char kNothingToHangUp[] = "There are no Dial-Up Networking connections to hang up.";
constexpr char kErrorTextFile[] = "WDRAS.INI";
constexpr char kErrorTextSection[] = "RAS Errors";
constexpr char kUnknownErrorText[] = "Unknown Erorr";
constexpr std::size_t kErrorTextBuffer = 250;
constexpr std::size_t kConnectionsListed = 100;
constexpr std::uint32_t kPollMs = 20;

// What a dial came to.
struct DialResult {
  bool connected = false;
  std::uint32_t error = 0;  // 0 with connected false: the run was aborted meanwhile
};

class DialUpFamily final : public CommandFamily {
 public:
  explicit DialUpFamily(Interpreter& in) {
    in.Claim<&DialUpFamily::Dial>(TagId::kDial, *this);
    in.Claim<&DialUpFamily::DialIf>(TagId::kDial2, *this);
    in.Claim<&DialUpFamily::HangUp>(TagId::kHang, *this);
  }

 private:
  static RemoteAccess* Ras(Interpreter& in) {
    platform::Platform* p = in.Host().GetPlatform();
    RemoteAccess* ras = p != nullptr ? p->remoteAccess : nullptr;
    return ras != nullptr && ras->Available() ? ras : nullptr;
  }

  static void Warn(Interpreter& in, const std::string& caption, const std::string& text) {
    if (in.State().logErrors) in.Host().LogError(text);
    if (in.State().showErrors) in.Host().DoAMessage(caption, text);
  }

  // The text of a dial-up error from WDRAS.INI in the program folder.
  static std::string ErrorText(Interpreter& in, std::uint32_t error) {
    platform::Platform* p = in.Host().GetPlatform();
    if (p == nullptr || p->profile == nullptr) return kUnknownErrorText;
    const std::string file = in.Host().ProgramFolder() + "\\" + kErrorTextFile;
    return p->profile->GetString(file, kErrorTextSection, std::to_string(error), kUnknownErrorText, kErrorTextBuffer);
  }

  // Dials the tag's entry with its user name and password and waits for the outcome, the
  // message queue moving. A failed dial's connection is hung up again.
  DialResult Connect(Interpreter& in, RemoteAccess& ras, const Level& level, const TagInfo& tag, bool owned,
                     std::string& entry) {
    const CommandFields fields = FieldsOf(level, tag, tag.id == TagId::kDial ? cmd::kDial : cmd::kDial2);
    std::string user(fields.Raw(f::kUser));
    std::string password(fields.Raw(f::kPassword));
    entry = std::string(fields.Raw(f::kEntry));
    if (user.find("%T") != std::string::npos) in.Host().ProcessStringVar(user, kShortStringMax);
    if (password.find("%T") != std::string::npos) in.Host().ProcessStringVar(password, kShortStringMax);
    platform::RasDialParams params{entry, user, DecodeStoredPassword(password), ""};

    std::unique_ptr<StatusWindow> status;
    if (MacroPrompts* prompts = in.Host().Prompts()) {
      status = prompts->ShowStatus(kStatusCaption, "Attempting Dial-Up Network Connection (" + entry + ")", owned);
    }
    in.Host().PauseForNoSpeed(0.5);

    ras.TakeDialEvents();  // what an earlier dial reported means nothing now
    RasConnectionHandle handle = platform::kNoRasConnection;
    DialResult result;
    result.error = ras.Dial(params, handle);
    while (result.error == 0 && !result.connected && !in.State().abortMacro) {
      for (const platform::RasDialEvent& e : ras.TakeDialEvents()) {
        if (handle != platform::kNoRasConnection && e.connection != handle) continue;
        if (e.error != 0) {
          result.error = e.error;
          break;
        }
        if (e.state == platform::rasstate::kConnected) result.connected = true;
      }
      if (result.error == 0 && !result.connected) {
        // Waits for the system without spinning, the queue (the abort key) still moving.
        platform::Platform* p = in.Host().GetPlatform();
        if (p != nullptr && p->loop != nullptr) {
          p->loop->WaitAndPump(kPollMs);
          in.Host().PumpMessages();
        } else {
          in.WaitMs(kPollMs);
        }
      }
    }
    if (result.connected) {
      dialled_.push_back(handle);
    } else if (handle != platform::kNoRasConnection) {
      ras.HangUp(handle);
    }
    return result;
  }

  Flow Dial(Interpreter& in, Level& level, const TagInfo& tag) {
    in.Host().PauseForNoSpeed(0.3);
    RemoteAccess* ras = Ras(in);
    if (ras == nullptr) {
      Warn(in, "Warning", kMissingText);
      return Flow::JumpTo(level.text.size());
    }
    std::string entry;
    const DialResult r = Connect(in, *ras, level, tag, true, entry);
    if (r.connected) return Flow::GoOn();
    if (r.error != 0) {
      const std::string text = CutShort("Dial-Up Network Connection to " + entry +
                                        " failed.  Error code: " + std::to_string(r.error) + ": " +
                                        ErrorText(in, r.error) + "  Macro will abort.");
      RunState& st = in.State();
      st.appendMacroName = true;
      if (st.logErrors) in.Host().LogError(text);
      if (st.showErrors) in.Host().MyMessage(kErrorCaption, text);
    }
    return Flow::JumpTo(level.text.size());
  }

  Flow DialIf(Interpreter& in, Level& level, const TagInfo& tag) {
    in.Host().PauseForNoSpeed(0.3);
    RemoteAccess* ras = Ras(in);
    bool connected = false;
    if (ras == nullptr) {
      if (in.State().logErrors) in.Host().LogError(kMissingText);
    } else {
      std::string entry;
      const DialResult r = Connect(in, *ras, level, tag, false, entry);
      connected = r.connected;
      if (r.error != 0 && in.State().logErrors) {
        in.Host().LogError(CutShort("Dial-Up Network Connection to " + entry + " failed.  Error code: " +
                                    std::to_string(r.error) + ": " + ErrorText(in, r.error)));
      }
    }
    return PlayIfBlock(in, level, tag, connected);
  }

  void HangUp(Interpreter& in, Level&, const TagInfo&) {
    RemoteAccess* ras = Ras(in);
    if (ras == nullptr) {
      Warn(in, "Warning", kMissingText);
      return;
    }
    std::vector<platform::RasConnection> up;
    if (ras->EnumConnections(kConnectionsListed, up) != 0) {
      Warn(in, kErrorCaption, kHangUpFailed);
      return;
    }
    // Forget what is no longer up; the newest of ours that is, is the one to end.
    std::erase_if(dialled_, [&](RasConnectionHandle h) {
      return std::none_of(up.begin(), up.end(), [h](const platform::RasConnection& c) { return c.handle == h; });
    });
    if (dialled_.empty()) {
      Warn(in, kErrorCaption, kNothingToHangUp);
      return;
    }
    const RasConnectionHandle handle = dialled_.back();
    dialled_.pop_back();
    if (ras->HangUp(handle) != 0) Warn(in, kErrorCaption, kHangUpFailed);
  }

  // The connections this player's dials made, oldest first. Kept from run to run: a connection
  // outlives the macro that made it.
  std::vector<RasConnectionHandle> dialled_;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeDialUpFamily(Interpreter& in) { return std::make_unique<DialUpFamily>(in); }

}  // namespace wdx::player
