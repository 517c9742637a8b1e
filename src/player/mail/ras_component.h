// Makes sure a dial-up connection to one phone-book entry is up before a socket connects, and
// hangs it up again when the socket closes. A connection that is up already (this entry's,
// or with ForceService off any that has an IP address) is used and never hung up; only a
// connection this component dialled is. The dial waits with the message queue moving, at most
// TimeOut seconds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/message_loop.h"
#include "platform/remote_access.h"
#include "platform/window_system.h"
#include "player/mail/mail_errors.h"

namespace wdx::mail {

class TagRas {
 public:
  static constexpr int kDefaultTimeOut = 120;
  // Phone-book entries and connections listed at the most.
  static constexpr std::size_t kMaxEntries = 25;
  static constexpr std::size_t kMaxConnections = 10;

  TagRas(platform::RemoteAccess& ras, platform::MessageLoop& loop, platform::Clock& clock,
         platform::WindowSystem& windows, platform::MessageBoxes& boxes);

  const std::string& Service() const { return service_; }
  // An entry of the phone book; refusals are shown in a message box and change nothing
  // (an unknown name clears the service).
  void SetService(const std::string& name);
  bool ForceService() const { return forceService_; }
  void SetForceService(bool on) { forceService_ = on; }
  bool MinimizeAtConnect() const { return minimizeAtConnect_; }
  void SetMinimizeAtConnect(bool on) { minimizeAtConnect_ = on; }
  const std::string& Password() const { return password_; }
  void SetPassword(std::string password) { password_ = std::move(password); }
  bool RemovePassword() const { return removePassword_; }
  void SetRemovePassword(bool on) { removePassword_ = on; }
  int TimeOut() const { return timeOut_; }
  void SetTimeOut(int seconds) { timeOut_ = seconds; }

  std::function<void(const std::string& status)> OnStatusChange;
  std::function<void()> OnDisconnected;

  // Lists the phone book's entries again.
  void GetEntries();
  const std::vector<std::string>& Entries() const { return entries_; }
  // Finds a connection to use; it becomes this component's connection.
  bool FindConnection();
  // Makes sure a connection is up (ERASError, ETimedOutError or ECanceledError when not).
  void Dial();
  // Hangs up the connection when this component dialled it.
  void HangUp();
  // Hangs up and ends a dial that is waiting (it raises ECanceledError).
  void Cancel();
  // Takes the dial's progress notifications that have arrived.
  void ProcessDialEvents();

  bool Connected() const { return connected_; }
  bool Dialled() const { return dialled_; }
  platform::RasConnectionHandle Connection() const { return connection_; }
  std::uint32_t LastError() const { return lastError_; }

  // The text shown for a connection state.
  std::string StatusText(std::uint32_t state);
  // The exception for a dial-up error, with the system's text.
  ERASError Error(std::uint32_t code);

 private:
  [[noreturn]] void Raise(std::uint32_t code) { throw Error(code); }

  platform::RemoteAccess& ras_;
  platform::MessageLoop& loop_;
  platform::Clock& clock_;
  platform::WindowSystem& windows_;
  platform::MessageBoxes& boxes_;
  std::string service_;
  bool forceService_ = true;
  bool minimizeAtConnect_ = false;
  std::string password_;
  bool removePassword_ = true;
  int timeOut_ = kDefaultTimeOut;
  std::vector<std::string> entries_;
  platform::RasConnectionHandle connection_ = platform::kNoRasConnection;
  std::uint32_t lastError_ = 0;
  std::uint32_t dialError_ = 0;
  bool connected_ = false;
  bool canceled_ = false;
  bool dialled_ = false;
};

}  // namespace wdx::mail
