#include "player/mail/smtp_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "mail_fixture.h"
#include "platform/memory/bsd_sockets.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "python_reader.h"
#include "server_process.h"
#include "smtp_sink.h"

namespace wdx::mail {
namespace {

using testing::ScriptedServer;
using testing::ServerProcess;
using testing::SmtpSink;
using Script = std::vector<std::string>;

std::string RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

class SmtpClientTest : public testing::UsualMessageTest {
 protected:
  SmtpClientTest() : desktop_(clock_), smtp_(sockets_, desktop_) {
    smtp_.SetWinsockLoaded(true);
    smtp_.SetTimeOut(5);
    smtp_.SetMailMessage(&msg_);
    smtp_.SetEncodeOptions({&boundaries_, {}});
    smtp_.OnError = [this](const std::string& text) { errors_.push_back(text); };
    msg_.Body() = {"Hello Ann,", ".dot line", "bye"};
  }
  // Connect, send, disconnect; the text of the exception that ended it, or "".
  std::string SendTo(const std::string& server) {
    smtp_.SetServer(server);
    try {
      smtp_.Connect();
      smtp_.SendMail();
      smtp_.Disconnect();
    } catch (const MailException& e) {
      return e.what();
    }
    return "";
  }

  platform::BsdSockets sockets_;
  platform::MemoryClock clock_;
  platform::MemoryDesktop desktop_;
  BoundaryGenerator boundaries_{7};
  TmsSMTP smtp_;
  std::vector<std::string> errors_;
};

// A message with text, an 8-bit subject, copies, a blind copy and a binary attachment goes to
// a real SMTP server; what it received reads back as what was built.
TEST_F(SmtpClientTest, ARealServerReceivesTheMessageAsBuilt) {
  SmtpSink sink;
  msg_.SetSubject("Gr\xFC\xDF" "e \x80 Bericht");
  msg_.Recipients().AddAddress("bob@example.com", "Bob, Jr.");
  msg_.CC().AddAddress("dee@example.com", "D\xE9" "e");
  msg_.BCC().AddAddress("hidden@example.com", "Hidden");
  const std::string binary = RandomBytes(100000, 3);
  msg_.Attachments().Add(Item("C:\\data\\figures.jpg", binary));
  msg_.Attachments().Add(Item("notes.txt", "n\xE9 = 1\r\n.dot\r\n"));
  const TmsMessage sent = msg_;
  EXPECT_EQ(SendTo(sink.Address()), "");
  EXPECT_FALSE(smtp_.IsConnected());

  SmtpSink::Received r = sink.Next();
  EXPECT_EQ(r.envelope, (std::vector<std::string>{"user@example.com", "ann@example.com", "bob@example.com",
                                                  "dee@example.com", "hidden@example.com"}));
  EXPECT_EQ(r.data.find("hidden"), std::string::npos);

  testing::Parsed p = testing::ReadWithPython(r.data, false);
  EXPECT_TRUE(p.defects.empty()) << ::testing::PrintToString(p.defects);
  EXPECT_EQ(p.headers["Subject"], sent.Subject());
  EXPECT_EQ(p.addresses, (std::vector<std::vector<std::string>>{{"from", "Wendrix User", "user@example.com"},
                                                                {"to", "Ann", "ann@example.com"},
                                                                {"to", "Bob, Jr.", "bob@example.com"},
                                                                {"cc", "D\xE9" "e", "dee@example.com"}}));
  ASSERT_EQ(p.parts.size(), 3u);
  EXPECT_EQ(p.parts[0].payload, "Hello Ann,\r\n.dot line\r\nbye\r\n");
  EXPECT_EQ(p.parts[1].fileName, "figures.jpg");
  EXPECT_EQ(p.parts[1].type, "image/jpeg");
  EXPECT_EQ(p.parts[1].payload, binary);
  EXPECT_EQ(p.parts[2].payload, "n\xE9 = 1\r\n.dot\r\n");

  // Our own decoder reads the received message back as well.
  TmsMessage back(registry_);
  std::istringstream in(r.data);
  back.Decode(in);
  EXPECT_EQ(back.Subject(), sent.Subject());
  EXPECT_EQ(back.Body(), sent.Body());
  ASSERT_EQ(back.Attachments().GetCount(), 2u);
  EXPECT_EQ(back.Attachments().GetItem(0).Data(), binary);
  EXPECT_EQ(back.CC().GetItem(0).Name(), "D\xE9" "e");
}

// A refused recipient ends the send and the session; with a handler that lets it go on, the
// message reaches the other recipients. Either way the next send starts a session of its own.
TEST_F(SmtpClientTest, RefusedRecipients) {
  SmtpSink sink({"nobody@example.com"});
  msg_.Recipients().AddAddress("nobody@example.com", "");
  EXPECT_EQ(SendTo(sink.Address()), "550 5.1.1 Recipient refused");
  EXPECT_FALSE(smtp_.IsConnected());

  std::vector<std::string> rejected;
  smtp_.OnAddressRejected = [&](const std::string& address, const std::string& reply, bool& proceed) {
    rejected.push_back(address + " " + reply);
    proceed = true;
  };
  EXPECT_EQ(SendTo(sink.Address()), "");
  EXPECT_EQ(rejected, std::vector<std::string>{"nobody@example.com 550 5.1.1 Recipient refused"});
  EXPECT_EQ(sink.Next().envelope, (std::vector<std::string>{"user@example.com", "ann@example.com"}));
}

// The dialogue itself: HELO with the local name, the envelope in list order, the data with an
// empty line before ".", QUIT; events in their order; the work file gone afterwards.
TEST_F(SmtpClientTest, TheDialogueAndItsEvents) {
  ScriptedServer server({"send 220 ready", "read", "send 250 hi", "read", "send 250 ok", "read", "send 250 ok",
                         "read", "send 250 ok", "read", "send 250 ok", "read", "send 250 ok", "read", "send 354 go",
                         "data", "send 250 sent", "read", "send 221 bye"});
  msg_.Recipients().AddAddress("bob@example.com", "Bob");
  msg_.CC().AddAddress("dee@example.com", "Dee");
  msg_.BCC().AddAddress("hidden@example.com", "Hidden");
  std::vector<std::string> events;
  std::filesystem::path work;
  smtp_.OnPrepare = [&] { events.push_back("prepare"); };
  smtp_.OnSending = [&] { events.push_back("sending"); };
  smtp_.OnProgress = [&](int percent, std::int64_t) { events.push_back(std::to_string(percent) + "%"); };
  smtp_.OnMailSent = [&] { events.push_back("sent"); };
  smtp_.OnClosing = [&] { events.push_back("closing"); };
  EXPECT_EQ(SendTo(server.Address()), "");
  std::vector<std::string> lines = server.Finish();
  std::string helo = "C: HELO " + smtp_.LocalHost();
  std::ostringstream encoded;
  TmsMessage copy = msg_;
  BoundaryGenerator again(7);
  copy.Encode(encoded, {&again, {}});
  // The server counts the data's bytes up to "."; the client added an empty line.
  std::string dataSize = "DATA " + std::to_string(encoded.str().size() + 2);
  EXPECT_EQ(lines, (std::vector<std::string>{helo, "C: MAIL FROM:<user@example.com>", "C: RCPT TO:<ann@example.com>",
                                             "C: RCPT TO:<bob@example.com>", "C: RCPT TO:<dee@example.com>",
                                             "C: RCPT TO:<hidden@example.com>", "C: DATA", dataSize, "C: QUIT",
                                             "END"}));
  EXPECT_EQ(events, (std::vector<std::string>{"prepare", "sending", "100%", "0%", "sent", "closing"}));
}

// Each failing server gives its text, never takes longer than the time-out, and leaves the
// client disconnected.
TEST_F(SmtpClientTest, FailureDialogues) {
  struct Replies {
    Script greeting{"send 220 ready"}, helo{"send 250 hi"}, mail{"send 250 ok"}, rcpt{"send 250 ok"},
        data{"send 354 go"}, dot{"send 250 sent"}, quit{"send 221 bye"};
  };
  auto script = [](const Replies& r) {
    Script s = r.greeting;
    for (const Script* step : {&r.helo, &r.mail, &r.rcpt, &r.data}) {
      s.push_back("read");
      s.insert(s.end(), step->begin(), step->end());
    }
    s.push_back("data");
    s.insert(s.end(), r.dot.begin(), r.dot.end());
    s.push_back("read");
    s.insert(s.end(), r.quit.begin(), r.quit.end());
    s.push_back("drain");
    return s;
  };
  struct Case {
    const char* name;
    std::function<void(Replies&)> change;
    std::string error;
  };
  const std::string longRefusal = ("554 " + std::string(10000, 'x')).substr(0, kShortStringMax);
  const Case cases[] = {
      {"greeting refused", [](Replies& r) { r.greeting = {"send 554 go away"}; }, "554 go away"},
      {"HELO refused, bare HELO taken", [](Replies& r) { r.helo = {"send 500 no", "read", "send 250 ok"}; }, ""},
      {"HELO refused twice", [](Replies& r) { r.helo = {"send 500 no", "read", "send 501 still no"}; },
       "501 still no"},
      {"multi-line HELO reply", [](Replies& r) { r.helo = {"send 250-a", "send 250-b", "send 250 c"}; }, ""},
      {"multi-line refusal", [](Replies& r) { r.mail = {"send 550-first", "send 550 last"}; }, "550 last"},
      {"recipient refused", [](Replies& r) { r.rcpt = {"send 550 no such user"}; }, "550 no such user"},
      {"DATA answered 250", [](Replies& r) { r.data = {"send 250 not 354"}; }, "250 not 354"},
      {"message refused", [](Replies& r) { r.dot = {"send 552 too big"}; }, "552 too big"},
      {"QUIT refused", [](Replies& r) { r.quit = {"send 500 what"}; }, "500 what"},
      {"closes at once", [](Replies& r) { r.greeting = {"close"}; }, "[10054] Connection reset by peer"},
      {"closes after MAIL", [](Replies& r) { r.mail = {"send 421 closing", "close"}; }, "421 closing"},
      {"closes after the data", [](Replies& r) { r.dot = {"close"}; }, "[10054] Connection reset by peer"},
      {"silent greeting", [](Replies& r) { r.greeting = {"sleep 5"}; }, "Operation timed out"},
      {"greeting without line end", [](Replies& r) { r.greeting = {"raw 220 no end", "sleep 5"}; },
       "Operation timed out"},
      {"silent after DATA", [](Replies& r) { r.data = {"sleep 5"}; }, "Operation timed out"},
      {"reply of 10 000 characters", [](Replies& r) { r.greeting = {"long 220 10000"}; }, ""},
      {"refusal of 10 000 characters", [](Replies& r) { r.greeting = {"long 554 10000"}; }, longRefusal},
  };
  smtp_.SetTimeOut(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Replies replies;
    c.change(replies);
    ScriptedServer server(script(replies));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SendTo(server.Address()), c.error);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(smtp_.IsConnected());
  }
  EXPECT_EQ(sockets_.OpenSockets(), 0);
  EXPECT_EQ(sockets_.OpenStartups(), 0);
}

TEST_F(SmtpClientTest, MessagesThatCannotBeSent) {
  ScriptedServer server({"send 220 ready", "read", "send 250 hi", "read", "send 221 bye"});
  smtp_.SetServer(server.Address());
  smtp_.Connect();
  smtp_.SetMailMessage(nullptr);
  EXPECT_THROW(smtp_.SendMail(), ESocketError);
  EXPECT_EQ(errors_, std::vector<std::string>{"MailMessage property must be assigned"});
  // A message the check refuses raises before anything is sent; the session goes on.
  msg_.Recipients().Clear();
  smtp_.SetMailMessage(&msg_);
  try {
    smtp_.SendMail();
    ADD_FAILURE() << "sent without recipients";
  } catch (const EMessageError& e) {
    EXPECT_STREQ(e.what(), "At least one Recipient, CC or BCC must be entered");
  }
  EXPECT_TRUE(smtp_.IsConnected());
  smtp_.Disconnect();
  EXPECT_EQ(server.Finish(), (std::vector<std::string>{"C: HELO " + smtp_.LocalHost(), "C: QUIT", "END"}));

  // Sending needs a connection; a server is needed to connect.
  msg_.Recipients().AddAddress("ann@example.com", "Ann");
  EXPECT_THROW(smtp_.SendMail(), ESocketError);
  EXPECT_EQ(errors_.back(), "You have to connect to the server first");
  smtp_.SetServer("");
  EXPECT_THROW(smtp_.Connect(), ESocketError);
  EXPECT_EQ(errors_.back(), "Server property is required");
}

}  // namespace
}  // namespace wdx::mail
