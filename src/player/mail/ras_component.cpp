#include "player/mail/ras_component.h"

#include <algorithm>

namespace wdx::mail {
namespace {

using platform::RemoteAccess;
namespace rasstate = platform::rasstate;

constexpr std::uint32_t kWmSysCommand = 0x0112;
constexpr std::uint32_t kScMinimize = 0xF020;
constexpr const char* kDialogClass = "#32770";
constexpr const char* kBoxCaption = "Error";
constexpr std::uint32_t kPollMs = 50;

struct StatusEntry {
  std::uint32_t id;
  const char* text;
};

// The library's string id and our own text for the states worth showing.
StatusEntry StatusOf(std::uint32_t state) {
  switch (state) {
    case rasstate::kOpenPort:
      return {120, "Initializing..."};
    case rasstate::kConnectDevice:
    case rasstate::kDeviceConnected:
    case rasstate::kAllDevicesConnected:
      return {122, "Dialing..."};
    case rasstate::kAuthenticate:
    case rasstate::kStartAuthentication:
      return {124, "Verifying user name and password"};
    case rasstate::kAuthenticated:
      return {131, "User name and password verified"};
    case rasstate::kLogonNetwork:
      return {128, "Logging on to Network"};
    case rasstate::kConnected:
      return {129, "Successfully connected"};
    default:
      return {0, ""};
  }
}

}  // namespace

TagRas::TagRas(platform::RemoteAccess& ras, platform::MessageLoop& loop, platform::Clock& clock,
               platform::WindowSystem& windows, platform::MessageBoxes& boxes)
    : ras_(ras), loop_(loop), clock_(clock), windows_(windows), boxes_(boxes) {
  GetEntries();
}

ERASError TagRas::Error(std::uint32_t code) {
  std::string text;
  if (ras_.Has(RemoteAccess::Function::kGetErrorString)) {
    auto system = ras_.ErrorString(code);
    text = system ? *system : "RAS error no " + std::to_string(code);
  }
  return ERASError(text, code);
}

std::string TagRas::StatusText(std::uint32_t state) {
  StatusEntry entry = StatusOf(state);
  if (entry.id == 0) return std::string();
  auto own = ras_.LibraryString(entry.id);
  return own ? *own : std::string(entry.text);
}

void TagRas::GetEntries() {
  entries_.clear();
  if (!ras_.Has(RemoteAccess::Function::kEnumEntries)) return;
  std::vector<std::string> names;
  std::uint32_t rc = ras_.EnumEntries(kMaxEntries, names);
  if (rc != 0) {
    lastError_ = rc;
    return;
  }
  entries_ = std::move(names);
}

void TagRas::SetService(const std::string& name) {
  if (name.empty()) {
    service_.clear();
    return;
  }
  if (entries_.empty()) {
    boxes_.Show(platform::kNoWindow, "TagRas component was unable to detect\r\nRAS on your system.", kBoxCaption,
                platform::mb::kOk | platform::mb::kIconError);
    return;
  }
  if (connected_) {
    boxes_.Show(platform::kNoWindow, "This property can be set only before\r\nestablishing the connection", kBoxCaption,
                platform::mb::kOk | platform::mb::kIconError);
    return;
  }
  GetEntries();
  if (std::find(entries_.begin(), entries_.end(), name) == entries_.end()) {
    boxes_.Show(platform::kNoWindow, "Invalid service name", kBoxCaption, platform::mb::kOk | platform::mb::kIconError);
    service_.clear();
    return;
  }
  service_ = name;
}

bool TagRas::FindConnection() {
  if (!ras_.Has(RemoteAccess::Function::kEnumConnections)) return false;
  std::vector<platform::RasConnection> list;
  std::uint32_t rc = ras_.EnumConnections(kMaxConnections, list);
  if (rc != 0) {
    lastError_ = rc;
    Raise(rc);
  }
  for (const platform::RasConnection& c : list) {
    if (c.entryName == service_ && c.handle != connection_) {
      connection_ = c.handle;
      return true;
    }
  }
  if (forceService_ || !ras_.Has(RemoteAccess::Function::kGetProjectionInfo)) return false;
  for (const platform::RasConnection& c : list) {
    std::string address;
    rc = ras_.GetIpAddress(c.handle, address);
    if (rc != 0) Raise(rc);
    if (!address.empty()) {
      connection_ = c.handle;
      return true;
    }
  }
  return false;
}

void TagRas::ProcessDialEvents() {
  for (const platform::RasDialEvent& e : ras_.TakeDialEvents()) {
    if (connection_ != platform::kNoRasConnection && e.connection != connection_) continue;
    if (OnStatusChange) OnStatusChange(StatusText(e.state));
    bool wasConnected = connected_;
    if (!connected_) connected_ = e.state == rasstate::kConnected && e.error == 0;
    if (e.error != 0) {
      lastError_ = e.error;
      dialError_ = e.error;
      if (wasConnected) Raise(e.error);
    }
  }
}

void TagRas::Dial() {
  if (FindConnection() || service_.empty()) {
    connected_ = true;
    dialled_ = false;
    return;
  }
  if (!ras_.Has(RemoteAccess::Function::kGetEntryDialParams) ||
      !ras_.Has(RemoteAccess::Function::kSetEntryDialParams) || !ras_.Has(RemoteAccess::Function::kDial))
    return;
  dialled_ = true;
  connection_ = platform::kNoRasConnection;
  connected_ = false;
  canceled_ = false;
  dialError_ = 0;
  ras_.TakeDialEvents();  // notifications of an earlier dial mean nothing now

  platform::RasDialParams params;
  bool passwordSaved = false;
  std::uint32_t rc = ras_.GetEntryDialParams(service_, params, passwordSaved);
  if (rc != 0) Raise(rc);
  if (!passwordSaved) {
    params.password = password_;
    rc = ras_.SetEntryDialParams(params, removePassword_);
    if (rc != 0) Raise(rc);
  }
  rc = ras_.Dial(params, connection_);
  if (rc != 0) {
    HangUp();
    Raise(rc);
  }

  const std::uint32_t start = clock_.TickCount();
  const std::uint64_t limit = static_cast<std::uint64_t>(std::max(timeOut_, 0)) * 1000;
  bool timedOut = false;
  while (!connected_ && dialError_ == 0 && !canceled_) {
    loop_.WaitAndPump(kPollMs);
    ProcessDialEvents();
    if (!connected_ && dialError_ == 0 && !canceled_ && clock_.TickCount() - start >= limit) {
      timedOut = true;
      break;
    }
  }
  if (dialError_ != 0) {
    std::uint32_t error = dialError_;
    HangUp();
    Raise(error);
  }
  if (canceled_) throw ECanceledError();
  if (timedOut) {
    // An attempt that is still under way would come up later with nobody to hang it up.
    HangUp();
    throw ETimedOutError();
  }
  if (minimizeAtConnect_) {
    clock_.Sleep(1000);
    platform::WindowHandle dialog = windows_.FindWindow(kDialogClass, "");
    if (dialog != platform::kNoWindow) windows_.SendMessage(dialog, kWmSysCommand, kScMinimize, 0);
  }
}

void TagRas::HangUp() {
  if (!ras_.Has(RemoteAccess::Function::kHangUp)) return;
  if (!entries_.empty() && dialled_ && connection_ != platform::kNoRasConnection) {
    ras_.HangUp(connection_);
    dialled_ = false;
    if (OnDisconnected) OnDisconnected();
  }
  connected_ = false;
  connection_ = platform::kNoRasConnection;
}

void TagRas::Cancel() {
  HangUp();
  canceled_ = true;
}

}  // namespace wdx::mail
