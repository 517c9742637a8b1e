// Network drives: "<NWC" maps a drive letter to a share, "<NWD" takes a mapping away and
// "<NWT" does whichever of the two the drive's state calls for. No result stops the macro;
// with the status letter "S" every result is shown (and a failure logged), without it nothing.
#include <string>

#include "platform/network_drives.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/stored_password.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

namespace f = cmd::net_drive;
using platform::NetworkDrives;
namespace nr = platform::netresult;

constexpr char kCaption[] = "Network Drives";

struct Options {
  bool permanent = false;
  bool showStatus = false;
  bool force = false;
};

Options OptionsOf(std::string_view letters) {
  return {letters.find(f::kPermanent) != std::string_view::npos, letters.find(f::kShowStatus) != std::string_view::npos,
          letters.find(f::kForce) != std::string_view::npos};
}

std::string Expanded(Interpreter& in, std::string_view field) {
  std::string text(field);
  if (text.find("%T") != std::string::npos) in.Host().ProcessStringVar(text, kShortStringMax);
  return text;
}

// The box shows `text`; the log line is the caption followed by `logText`. Only failures are
// logged.
void Report(Interpreter& in, const std::string& caption, const std::string& text, const std::string& logText) {
  if (!logText.empty() && in.State().logErrors) in.Host().LogError(caption + logText);
  in.Host().DoAMessage(caption, text);
}

void Map(Interpreter& in, NetworkDrives& drives, const std::string& user, const std::string& storedPassword,
         const std::string& connection, const Options& o) {
  const std::string drive = connection.substr(0, 2);
  const std::string path = connection.size() > 2 ? connection.substr(2) : std::string();
  const std::uint32_t rc = drives.Connect(drive, path, user, DecodeStoredPassword(storedPassword), o.permanent);
  if (!o.showStatus) return;
  const std::string caption = "Map " + drive + " to " + path;
  std::string text;
  std::string gap = ".  ";
  switch (rc) {
    case 0:
      Report(in, caption, "Drive mapped succesfully.", "");
      return;
    case nr::kAccessDenied:
      text = "Map Failed.  Access to the nework device was denied.";
      gap = ". ";
      break;
    case nr::kBadDeviceType:
      text = "Map Failed.  Nework device specified is not compatible with a drive.";
      break;
    case nr::kBadNetName:
      text = "Map Failed.  The specified networkd device was invalid.";
      break;
    case nr::kAlreadyAssigned:
      text = "Map Failed.  Drive was already assigned to a nework device.";
      gap = ". ";
      break;
    case nr::kInvalidPassword:
      text = "Map Failed.  The specified password was invalid.";
      break;
    case nr::kBusy:
      text = "Map Failed.  The network router was busy--possibly initializing.  Try again.";
      break;
    case nr::kBadDevice:
      text = "Map Failed.  The specified drive was invalid.";
      break;
    case nr::kNoNetwork:
      text = "Map Failed.  No network exists.";
      break;
    default:
      text = "Map Failed.  Unknown Error #" + std::to_string(rc);
      break;
  }
  Report(in, caption, text, gap + text);
}

void Unmap(Interpreter& in, NetworkDrives& drives, const std::string& drive, const Options& o) {
  const std::uint32_t rc = drives.Disconnect(drive, o.permanent, o.force);
  if (!o.showStatus) return;
  const std::string caption = "Unmap Network Drive " + drive;
  std::string text;
  switch (rc) {
    case 0:
      Report(in, caption, "Drive succesfully unmapped.", "");
      return;
    case nr::kDeviceInUse:
      text = "Unmap Failed.  Nework device is in use by an active process.";
      break;
    case nr::kNotConnected:
      text = "Unmap Failed.  Drive is not currently connected to a nework device.";
      break;
    case nr::kOpenFiles:
      text = "Unmap Failed.  There are open files on the network device and the \"Force\" option was not used.";
      break;
    default:
      text = "Unmap Failed.  Unknown Error #" + std::to_string(rc);
      break;
  }
  Report(in, caption, text, ".  " + text);
}

// Whether a drive of that letter is mapped now; the letter compares without case, as Windows
// lists its drives in capitals whatever the tag holds.
bool IsDriveConnected(NetworkDrives& drives, const std::string& connection) {
  std::vector<platform::NetworkConnection> list;
  if (connection.empty() || !drives.Connected(list)) return false;
  for (const platform::NetworkConnection& c : list) {
    if (!c.local.empty() && !c.remote.empty() && UpperAscii(c.local.substr(0, 1)) == UpperAscii(connection.substr(0, 1))) {
      return true;
    }
  }
  return false;
}

NetworkDrives* DrivesOf(Interpreter& in) {
  return Facility(in, &platform::Platform::networkDrives, kCaption, "network drive facility");
}

Flow ConnectOrToggle(Interpreter& in, Level& level, const TagInfo& tag) {
  NetworkDrives* drives = DrivesOf(in);
  if (drives == nullptr) return Flow::GoOn();
  const CommandFields fields = FieldsOf(level, tag, cmd::kNwc);
  Options o = OptionsOf(fields.Raw(f::kOptions));
  o.force = false;
  const std::string user = Expanded(in, fields.Raw(f::kUser));
  const std::string password = Expanded(in, fields.Raw(f::kPassword));
  const std::string connection = Expanded(in, fields.Raw(f::kConnection));
  if (tag.id == TagId::kNwt && IsDriveConnected(*drives, connection)) {
    Unmap(in, *drives, connection.substr(0, 2), o);
  } else {
    Map(in, *drives, user, password, connection, o);
  }
  return Flow::GoOn();
}

void Disconnect(Interpreter& in, Level& level, const TagInfo& tag) {
  NetworkDrives* drives = DrivesOf(in);
  if (drives == nullptr) return;
  const CommandFields fields = FieldsOf(level, tag, cmd::kNwd);
  Unmap(in, *drives, Expanded(in, fields.Raw(f::kDrive)), OptionsOf(fields.Raw(f::kOptions)));
}

class NetworkDriveFamily final : public CommandFamily {
 public:
  explicit NetworkDriveFamily(Interpreter& in) {
    in.Claim<&ConnectOrToggle>(TagId::kNwc, *this);
    in.Claim<&ConnectOrToggle>(TagId::kNwt, *this);
    in.Claim<&Disconnect>(TagId::kNwd, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeNetworkDriveFamily(Interpreter& in) { return std::make_unique<NetworkDriveFamily>(in); }

}  // namespace wdx::player
