// The mail protocol base (connect = open and log in, disconnect = log out and close) and the
// SMTP client that sends one message per call: HELO, the envelope, the encoded message.
//
// Every protocol failure raises EServerError with the server's last reply line; the socket
// layer's failures pass through. A failed connect or send leaves the client disconnected, so
// the next one starts a clean session.
#pragma once

#include <functional>
#include <string>

#include "player/mail/encode_options.h"
#include "player/mail/mail_message.h"
#include "player/mail/mail_socket.h"

namespace wdx::mail {

class TmsMailBase : public TagSocket {
 public:
  using TagSocket::TagSocket;

  // Nothing when connected; otherwise Open and Login.
  void Connect();
  // When connected: Logout, then Close (also when the logout fails).
  void Disconnect();

 protected:
  virtual void Login() = 0;
  virtual void Logout() = 0;
};

class TmsSMTP : public TmsMailBase {
 public:
  static constexpr std::uint16_t kDefaultPort = 25;

  TmsSMTP(platform::Sockets& sockets, platform::MessageLoop& loop);

  TmsMessage* MailMessage() const { return message_; }
  void SetMailMessage(TmsMessage* message) { message_ = message; }
  // When it holds entries, they replace the message's To, CC and BCC addresses in the envelope.
  Lines& EnvelopeRecipients() { return envelope_; }
  // How messages are encoded (boundaries); the message queue is pumped meanwhile unless the
  // options say otherwise.
  void SetEncodeOptions(EncodeOptions options) { encodeOptions_ = std::move(options); }

  std::function<void()> OnPrepare, OnSending, OnMailSent;
  // A recipient that the server refused; setting proceed goes on with the next one.
  std::function<void(const std::string& address, const std::string& reply, bool& proceed)> OnAddressRejected;

  void Open() override;
  // Sends MailMessage over the open connection.
  void SendMail();

 protected:
  void Login() override;
  void Logout() override;

 private:
  // Sends a command and raises EServerError unless the reply is of class `replyClass`.
  void Command(const std::string& line, int replyClass);
  void Expect(int replyClass);
  void SendEnvelope();

  TmsMessage* message_ = nullptr;
  Lines envelope_;
  EncodeOptions encodeOptions_;
};

}  // namespace wdx::mail
