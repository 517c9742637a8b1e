#include "player/mail/smtp_client.h"

#include "player/mail/mail_errors.h"
#include "player/mail/temp_file_stream.h"

namespace wdx::mail {
namespace {

// An address goes into a command line as it is; a line break inside it would end the command
// and start another.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

}  // namespace

// ---- protocol base ----

void TmsMailBase::Connect() {
  if (IsConnected()) return;
  try {
    Open();
    Login();
  } catch (...) {
    Close();
    throw;
  }
}

void TmsMailBase::Disconnect() {
  if (!IsConnected()) return;
  try {
    Logout();
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

// ---- SMTP ----

TmsSMTP::TmsSMTP(platform::Sockets& sockets, platform::MessageLoop& loop) : TmsMailBase(sockets, loop) {
  SetDefaultPort(kDefaultPort);
  SetServiceName("smtp");
}

void TmsSMTP::Expect(int replyClass) {
  if (ReadReply() / 100 != replyClass) throw EServerError(LastReply());
}

void TmsSMTP::Command(const std::string& line, int replyClass) {
  SendLine(line);
  Expect(replyClass);
}

void TmsSMTP::Open() {
  if (Server().empty()) RaiseSocketError(sid::kServerRequired);
  Reset();
  TagSocket::Open();
}

void TmsSMTP::Login() {
  ConnectSocket();
  Expect(2);
  SendLine("HELO " + LocalHost());
  if (ReadReply() / 100 != 2) Command("HELO", 2);
}

void TmsSMTP::Logout() {
  loop().PumpPending();
  Command("QUIT", 2);
}

void TmsSMTP::SendEnvelope() {
  const TmsMessage& m = *message_;
  if (!m.Sender().Address().empty()) Command("MAIL FROM:<" + OneLine(m.Sender().Address()) + ">", 2);
  Lines addresses = envelope_;
  if (addresses.empty()) {
    for (const TmsAddressList* list : {&m.Recipients(), &m.CC(), &m.BCC()})
      for (const TmsMailAddress& a : *list) addresses.push_back(a.Address());
  }
  for (const std::string& address : addresses) {
    SendLine("RCPT TO:<" + OneLine(address) + ">");
    if (ReadReply() / 100 == 2) continue;
    bool proceed = false;
    if (OnAddressRejected) OnAddressRejected(address, LastReply(), proceed);
    if (!proceed) throw EServerError(LastReply());
  }
  Command("DATA", 3);
}

void TmsSMTP::SendMail() {
  if (message_ == nullptr) RaiseSocketError(sid::kMailMessageRequired);
  message_->Check();
  try {
    TTempFileStream temp;
    if (OnPrepare) OnPrepare();
    EncodeOptions options = encodeOptions_;
    if (!options.processMessages) options.processMessages = [this] { loop().PumpPending(); };
    message_->Encode(temp.stream(), options);
    if (OnSending) OnSending();
    SendEnvelope();
    SendStream(temp.stream());
    SendLine("");
    Command(".", 2);
    if (OnMailSent) OnMailSent();
  } catch (...) {
    // The session is somewhere in the middle: the next send starts a new one.
    Close();
    throw;
  }
}

}  // namespace wdx::mail
