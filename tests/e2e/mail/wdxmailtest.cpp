// wdxmailtest.exe: the mail code of the player on the real platform (Winsock, the message
// loop, the registry), driven by run.sh under Wine against servers on the loopback address.
//
//   wdxmailtest send SERVER         sends the test message (text, 8-bit subject, copies, a
//                                   blind copy, a binary attachment); prints SENT or
//                                   ERROR <text>
//   wdxmailtest dialogue SERVER     connects, sends a small message, disconnects; prints SENT
//                                   or ERROR <text> (the failure dialogues)
//   wdxmailtest cancel SERVER       a timer cancels the wait for a silent server's greeting
//   wdxmailtest refused PORT        a connection nobody takes fails at once
//   wdxmailtest roundtrip           the test message encoded and decoded again is equal
//   wdxmailtest ras                 the dial-up component on the system's remote access (Wine
//                                   has none: the system's answers are shown and must not fail)
//   wdxmailtest bench SERVER N MB   N small messages, then one with an MB-megabyte attachment;
//                                   prints the figures
//
// Checks print "ok   ..." or "FAIL ..."; the exit code is the number of failures. Output goes
// to stdout in binary mode (an LF stays an LF).
#include <fcntl.h>
#include <io.h>

#include "platform/win32/windows_api.h"

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

#include "platform/win32/win32_platform.h"
#include "player/mail/mail_errors.h"
#include "player/mail/ras_component.h"
#include "player/mail/smtp_client.h"

namespace {

using namespace wdx::mail;
using Clock = std::chrono::steady_clock;

int g_failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++g_failures;
}

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The attachment's bytes: check_received.py makes the same.
std::string AttachmentBytes(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 31 + 7) & 0xFF);
  return s;
}

void FillTestMessage(TmsMessage& m, wdx::platform::Registry& registry) {
  m.Clear();
  m.Sender().SetName("Wendrix User");
  m.Sender().SetAddress("user@example.com");
  m.Recipients().AddAddress("ann@example.com", "Ann");
  m.Recipients().AddAddress("bob@example.com", "Bob, Jr.");
  m.CC().AddAddress("dee@example.com", "D\xE9" "e");
  m.BCC().AddAddress("hidden@example.com", "Hidden");
  m.Headers().Add(kPlayerMailerHeader);
  m.SetSubject("Gr\xFC\xDF" "e \x80 Bericht");
  m.Body() = {"Hello Ann,", ".dot line", "Gr\xFC\xDF" "e"};
  TmsAttItem item;
  item.SetFileName("C:\\data\\figures.bin", registry);
  item.SetData(AttachmentBytes(200000));
  m.Attachments().Add(item);
}

struct Mail {
  wdx::platform::Win32Platform real;
  wdx::platform::Platform p = real.Get();
  TmsMessage message{*p.registry};
  TmsSMTP smtp{*p.sockets, *p.loop};

  Mail() {
    smtp.SetTimeOut(5);
    smtp.SetMailMessage(&message);
  }
  // Connect, send, disconnect: "SENT" or "ERROR " and the exception's text.
  std::string Send(const std::string& server) {
    smtp.SetServer(server);
    try {
      smtp.SetWinsockLoaded(true);
      smtp.Connect();
      smtp.SendMail();
      smtp.Disconnect();
      smtp.SetWinsockLoaded(false);
    } catch (const MailException& e) {
      return std::string("ERROR ") + e.what();
    }
    return "SENT";
  }
};

int Send(const std::string& server) {
  Mail mail;
  FillTestMessage(mail.message, *mail.p.registry);
  std::printf("%s\n", mail.Send(server).c_str());
  return 0;
}

int Dialogue(const std::string& server) {
  Mail mail;
  mail.smtp.SetTimeOut(1);
  mail.message.Sender().SetAddress("user@example.com");
  mail.message.Recipients().AddAddress("ann@example.com", "Ann");
  mail.message.Body() = {"short"};
  std::string result = mail.Send(server);
  std::printf("%s\n", result.c_str());
  Check(!mail.smtp.IsConnected(), "the client is disconnected afterwards");
  return g_failures;
}

int Cancel(const std::string& server) {
  Mail mail;
  mail.smtp.SetTimeOut(30);
  FillTestMessage(mail.message, *mail.p.registry);
  using wdx::platform::Message;
  auto w = mail.p.windows->CreateOwnWindow("WdxMailTestTimer", "", [&](const Message& m) -> std::int64_t {
    if (m.message == wdx::platform::msg::kTimer) {
      mail.p.loop->KillTimer(m.window, 1);
      mail.smtp.Cancel();
    }
    return 0;
  });
  Check(w != wdx::platform::kNoWindow && mail.p.loop->SetTimer(w, 1, 500), "a window with a timer");
  auto start = Clock::now();
  std::string result = mail.Send(server);
  double took = Seconds(start);
  Check(result == "ERROR Operation has been canceled", "a timer's Cancel ends the wait: " + result);
  Check(took > 0.3 && took < 5, "within the timer's time (" + std::to_string(took) + " s)");
  Check(!mail.smtp.IsConnected(), "the client is disconnected afterwards");
  mail.p.windows->DestroyOwnWindow(w);
  return g_failures;
}

int Refused(const std::string& port) {
  Mail mail;
  mail.smtp.SetTimeOut(20);
  FillTestMessage(mail.message, *mail.p.registry);
  auto start = Clock::now();
  std::string result = mail.Send("127.0.0.1:" + port);
  Check(result == "ERROR [10061] Connection refused", "a refused connection: " + result);
  Check(Seconds(start) < 5, "fails at once, not after the time-out");
  Check(WinsockAvailable(*mail.p.sockets), "Winsock is available");
  return g_failures;
}

int RoundTrip() {
  Mail mail;
  FillTestMessage(mail.message, *mail.p.registry);
  TmsMessage sent = mail.message;
  std::stringstream text;
  mail.message.Encode(text);
  // The dots a server takes off the data.
  std::string unstuffed;
  for (std::string line; std::getline(text, line);) unstuffed += (line.rfind('.', 0) == 0 ? line.substr(1) : line) + "\n";
  TmsMessage back(*mail.p.registry);
  std::istringstream in(unstuffed);
  back.Decode(in);
  Check(back.Subject() == sent.Subject(), "the subject comes back");
  Check(back.Body() == sent.Body(), "the body comes back");
  Check(back.Recipients().GetCount() == 2 && back.CC().GetCount() == 1 && back.BCC().GetCount() == 0,
        "To and CC come back, the blind copy stays out");
  Check(back.Attachments().GetCount() == 1 && back.Attachments().GetItem(0).Data() == AttachmentBytes(200000) &&
            back.Attachments().GetItem(0).FileName() == "figures.bin",
        "the attachment comes back");
  return g_failures;
}

int Ras() {
  wdx::platform::Win32Platform real;
  wdx::platform::Platform p = real.Get();
  wdx::platform::RemoteAccess& system = *p.remoteAccess;
  using Function = wdx::platform::RemoteAccess::Function;
  Check(system.Available(), "the remote-access library loads");
  TagRas ras(system, *p.loop, *p.clock, *p.windows, *p.boxes);
  std::printf("     %zu phone-book entries (last error %u)\n", ras.Entries().size(), ras.LastError());
  std::vector<wdx::platform::RasConnection> up;
  std::uint32_t rc = system.EnumConnections(TagRas::kMaxConnections, up);
  std::printf("     connections: %zu (answer %u)\n", up.size(), rc);
  try {
    ras.Dial();
    Check(ras.Connected() && !ras.Dialled(), "without a service nothing is dialled");
    ras.Cancel();
  } catch (const MailException& e) {
    Check(false, std::string("without a service nothing is dialled: ") + e.what());
  }
  if (system.Has(Function::kDial)) {
    wdx::platform::RasConnectionHandle h = wdx::platform::kNoRasConnection;
    rc = system.Dial({"Wendrix Test Entry", "", "", ""}, h);
    std::printf("     a dial of an entry the system lacks: answer %u, \"%s\"\n", rc, ras.Error(rc).what());
    Check(rc != 0, "a dial of an entry the system lacks fails with the system's answer");
    if (h != wdx::platform::kNoRasConnection) system.HangUp(h);
  }
  return g_failures;
}

int Bench(const std::string& server, int count, int megabytes) {
  Mail mail;
  mail.smtp.SetTimeOut(60);
  mail.smtp.SetServer(server);
  mail.message.Sender().SetAddress("user@example.com");
  mail.message.Recipients().AddAddress("ann@example.com", "Ann");
  mail.message.Body() = {"A short message."};
  try {
    mail.smtp.SetWinsockLoaded(true);
    mail.smtp.Connect();
    auto start = Clock::now();
    for (int i = 0; i < count; ++i) mail.smtp.SendMail();
    double took = Seconds(start);
    std::printf("FIGURE %.1f messages per second (%d messages, one connection)\n", count / took, count);
    TmsAttItem item;
    item.SetFileName("big.bin", *mail.p.registry);
    item.SetData(AttachmentBytes(static_cast<std::size_t>(megabytes) * 1024 * 1024));
    mail.message.Attachments().Add(item);
    start = Clock::now();
    mail.smtp.SendMail();
    took = Seconds(start);
    std::printf("FIGURE %.1f MB/s for a %d MB attachment (%.2f s, encoding included)\n", megabytes / took, megabytes,
                took);
    mail.smtp.Disconnect();
  } catch (const MailException& e) {
    Check(false, std::string("benchmark: ") + e.what());
  }
  return g_failures;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::string mode = argc > 1 ? argv[1] : "";
  std::string arg = argc > 2 ? argv[2] : "";
  if (mode == "send") return Send(arg);
  if (mode == "dialogue") return Dialogue(arg);
  if (mode == "cancel") return Cancel(arg);
  if (mode == "refused") return Refused(arg);
  if (mode == "roundtrip") return RoundTrip();
  if (mode == "ras") return Ras();
  if (mode == "bench" && argc > 4) return Bench(arg, std::atoi(argv[3]), std::atoi(argv[4]));
  std::fprintf(stderr, "usage: wdxmailtest send|dialogue|cancel SERVER | refused PORT | roundtrip | bench SERVER N MB\n");
  return 2;
}
