#include "fuzz_inputs.h"

#include <algorithm>
#include <sstream>
#include <string>

#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_registry.h"
#include "player/mail/mail_errors.h"
#include "player/mail/smtp_client.h"

namespace wdx::mail::fuzz {
namespace {

// A socket library whose one connection receives the input and swallows what is sent.
class InputSockets : public platform::Sockets {
 public:
  InputSockets(const std::uint8_t* data, std::size_t size) : data_(reinterpret_cast<const char*>(data), size) {}

  platform::SocketLibraryLoad Load() override {
    loaded_ = true;
    return {true, {}};
  }
  void Unload() override { loaded_ = false; }
  bool IsLoaded() const override { return loaded_; }
  int Startup() override { return 0; }
  void Cleanup() override {}
  int LocalHostName(std::string& name) override {
    name = "fuzz.test";
    return 0;
  }
  int ResolveHost(const std::string&, std::uint32_t& address) override {
    address = 0x7F000001;
    return 0;
  }
  int ServicePort(const std::string&, const std::string&, std::uint16_t& port) override {
    port = 25;
    return 0;
  }
  int Create(platform::SocketHandle& socket) override {
    socket = 1;
    return 0;
  }
  int Connect(platform::SocketHandle, std::uint32_t, std::uint16_t) override { return 0; }
  int ConnectResult(platform::SocketHandle) override { return 0; }
  int Wait(platform::SocketHandle, bool read, bool write, std::uint32_t, platform::SocketReady& ready) override {
    ready = {read, write, false};
    return 0;
  }
  int Send(platform::SocketHandle, const char*, std::size_t size, std::size_t& sent) override {
    sent = size;
    return 0;
  }
  int Receive(platform::SocketHandle, char* buffer, std::size_t size, std::size_t& received) override {
    // Pieces of 1 to 7 bytes, so that lines and replies are split everywhere.
    std::size_t piece = 1 + (turn_++ % 7);
    received = std::min({size, piece, data_.size() - pos_});
    data_.copy(buffer, received, pos_);
    pos_ += received;
    return 0;
  }
  void Close(platform::SocketHandle) override {}

 private:
  std::string data_;
  std::size_t pos_ = 0;
  std::size_t turn_ = 0;
  bool loaded_ = false;
};

}  // namespace

void DecodeMessage(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  platform::MemoryRegistry registry;
  try {
    TmsMessage message(registry);
    std::istringstream in(text);
    message.Decode(in);
  } catch (const MailException&) {
  }
  try {
    TmsArticle article(registry);
    std::istringstream in(text);
    article.Decode(in);
  } catch (const MailException&) {
  }
}

void TalkToServer(const std::uint8_t* data, std::size_t size) {
  InputSockets sockets(data, size);
  platform::MemoryClock clock;
  platform::MemoryDesktop desktop(clock);
  platform::MemoryRegistry registry;
  TmsMessage message(registry);
  message.Sender().SetAddress("user@example.com");
  message.Recipients().AddAddress("ann@example.com", "Ann");
  message.CC().AddAddress("cc@example.com", "");
  message.BCC().AddAddress("hidden@example.com", "");
  message.Body() = {"text", "."};
  TmsSMTP smtp(sockets, desktop);
  smtp.SetMailMessage(&message);
  smtp.SetServer("127.0.0.1:25");
  smtp.OnAddressRejected = [&](const std::string&, const std::string& reply, bool& proceed) {
    proceed = !reply.empty() && reply.back() == '+';
  };
  try {
    smtp.SetWinsockLoaded(true);
    smtp.Connect();
    smtp.SendMail();
    smtp.SendMail();
    smtp.Disconnect();
  } catch (const MailException&) {
  }
}

}  // namespace wdx::mail::fuzz
