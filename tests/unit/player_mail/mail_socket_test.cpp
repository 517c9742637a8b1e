#include "player/mail/mail_socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "platform/memory/bsd_sockets.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "player/mail/mail_errors.h"
#include "server_process.h"

namespace wdx::mail {
namespace {

using testing::ScriptedServer;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class MailSocketTest : public ::testing::Test {
 protected:
  MailSocketTest() : desktop_(clock_), socket_(sockets_, desktop_) {
    socket_.SetWinsockLoaded(true);
    socket_.SetTimeOut(5);
    socket_.OnError = [this](const std::string& text) { errors_.push_back(text); };
  }
  void Connect(const std::string& server) {
    socket_.SetServer(server);
    socket_.Reset();
    socket_.Open();
    socket_.ConnectSocket();
  }

  platform::BsdSockets sockets_;
  platform::MemoryClock clock_;
  platform::MemoryDesktop desktop_;
  TagSocket socket_;
  std::vector<std::string> errors_;
};

TEST(MailSocketParts, ServerTextReplyCodesAndErrorTexts) {
  EXPECT_EQ(TagSocket::HostPart("mail.example.com:2525"), "mail.example.com");
  EXPECT_EQ(TagSocket::HostPart("mail.example.com"), "mail.example.com");
  EXPECT_EQ(TagSocket::PortPart("mail.example.com:2525"), 2525);
  EXPECT_EQ(TagSocket::PortPart("mail.example.com:smtp"), 0);
  EXPECT_EQ(TagSocket::PortPart("mail.example.com"), 0);
  EXPECT_EQ(TagSocket::PortPart("h:70000"), 0);
  EXPECT_EQ(TagSocket::PortPart("h:"), 0);

  std::uint32_t a = 0;
  EXPECT_TRUE(TagSocket::ParseDotted("127.0.0.1", a));
  EXPECT_EQ(a, 0x7F000001u);
  for (const char* bad : {"localhost", "127.0.0", "127.0.0.1.", "256.0.0.1", "1.2.3.4x", "", "1..2.3"})
    EXPECT_FALSE(TagSocket::ParseDotted(bad, a)) << bad;

  EXPECT_EQ(TagSocket::GetReplyCode("250 ok"), 250);
  EXPECT_EQ(TagSocket::GetReplyCode("354"), 354);
  EXPECT_EQ(TagSocket::GetReplyCode("25"), -1);
  EXPECT_EQ(TagSocket::GetReplyCode("2x0 ok"), -1);

  EXPECT_EQ(SocketErrorText(10061), "[10061] Connection refused");
  EXPECT_EQ(SocketErrorText(10013), "[10013] Permission denied.");
  EXPECT_EQ(SocketErrorText(11004), "[11004] Valid name, no data record of requested type");
  EXPECT_EQ(SocketErrorText(10000), "[0] No Error");
  EXPECT_EQ(SocketErrorText(10101), "Error #10101");
  EXPECT_EQ(SocketErrorText(57000), "Operation timed out");
}

TEST_F(MailSocketTest, LinesRepliesAndTheTranscript) {
  ScriptedServer server({"send 250-first", "send 250-second", "send 250 third", "read",
                         "raw 220 cr cr lf\\r\\r\\n", "send 250", "send 251-a", "send 251", "long 250 10000",
                         "send 354 go", "read"});
  socket_.SetTranscriptFile("unused-until-destroyed");
  std::vector<std::string> seen;
  socket_.OnLineReceived = [&](const std::string& line) { seen.push_back(line); };
  Connect(server.Address());
  EXPECT_EQ(socket_.ReadReply(), 250);
  EXPECT_EQ(socket_.LastReply(), "250 third");
  socket_.SendLine("HELO me");
  std::string line;
  EXPECT_EQ(socket_.ReadLine(line), 220);
  EXPECT_EQ(line, "220 cr cr lf");
  EXPECT_EQ(socket_.ReadReply(), 250);
  // A last line of only the code ends a multi-line reply too.
  EXPECT_EQ(socket_.ReadReply(), 251);
  EXPECT_EQ(socket_.LastReply(), "251");
  // A reply far longer than any buffer is read whole, and the next one is intact.
  EXPECT_EQ(socket_.ReadReply(), 250);
  EXPECT_EQ(socket_.LastReply().size(), 10004u);
  EXPECT_EQ(socket_.ReadReply(), 354);
  socket_.SendLine("QUIT");
  EXPECT_EQ(server.Finish(), (std::vector<std::string>{"C: HELO me", "C: QUIT", "END"}));
  EXPECT_EQ(seen.front(), "250-first");
  EXPECT_EQ(socket_.Transcript().front(), "250-first");
  EXPECT_EQ(socket_.Transcript()[3], "HELO me");
  socket_.SetTranscriptFile("");
  socket_.Close();
  EXPECT_EQ(sockets_.OpenStartups(), 0);
  EXPECT_EQ(sockets_.OpenSockets(), 0);
}

TEST_F(MailSocketTest, AnEndlessLineIsKeptUpToItsLimit) {
  ScriptedServer server({"long 250 100000", "send 221 bye"});
  Connect(server.Address());
  EXPECT_EQ(socket_.ReadReply(), 250);
  EXPECT_EQ(socket_.LastReply().size(), TagSocket::kMaxLineLength);
  EXPECT_EQ(socket_.ReadReply(), 221);
}

TEST_F(MailSocketTest, ARefusedConnectionFailsAtOnce) {
  socket_.SetTimeOut(20);
  auto start = Clock::now();
  try {
    Connect("127.0.0.1:" + std::to_string(testing::ClosedLoopbackPort()));
    FAIL() << "connected";
  } catch (const ESocketError& e) {
    EXPECT_STREQ(e.what(), "[10061] Connection refused");
  }
  EXPECT_LT(SecondsSince(start), 5.0);
  EXPECT_EQ(errors_, std::vector<std::string>{"[10061] Connection refused"});
  EXPECT_FALSE(socket_.IsConnected());
  socket_.Close();
  EXPECT_EQ(sockets_.OpenStartups(), 0);
  EXPECT_EQ(sockets_.OpenSockets(), 0);
}

// Servers that fall silent, stop in the middle of a line, or close: each ends in its own way,
// never later than the time-out.
TEST_F(MailSocketTest, SilentBrokenAndClosingServers) {
  struct Case {
    std::vector<std::string> script;
    std::string error;
    double minSeconds, maxSeconds;
  };
  const Case cases[] = {
      {{"sleep 10"}, "Operation timed out", 0.9, 4},
      {{"raw 220 no line end", "sleep 10"}, "Operation timed out", 0.9, 4},
      {{"close"}, "[10054] Connection reset by peer", 0, 0.9},
      {{"send 250-one", "close"}, "", 0, 0.9},
  };
  socket_.SetTimeOut(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script.front());
    errors_.clear();
    ScriptedServer server(c.script);
    Connect(server.Address());
    auto start = Clock::now();
    try {
      int code = socket_.ReadReply();
      // A reply that the peer's close ends is the lines that came.
      EXPECT_EQ(code, 250);
      EXPECT_EQ(socket_.LastReply(), "250-one");
      EXPECT_EQ(c.error, "");
    } catch (const MailException& e) {
      EXPECT_EQ(e.what(), c.error);
      EXPECT_EQ(errors_, std::vector<std::string>{c.error});
      EXPECT_FALSE(socket_.IsConnected());
    }
    double took = SecondsSince(start);
    EXPECT_GE(took, c.minSeconds);
    EXPECT_LE(took, c.maxSeconds);
    socket_.Close();
  }
  EXPECT_EQ(sockets_.OpenStartups(), 0);
}

// A message handler that runs during a wait can cancel it (the abort of a running macro).
TEST_F(MailSocketTest, CancelFromAMessageHandler) {
  ScriptedServer server({"sleep 10"});
  socket_.SetTimeOut(20);
  bool canceled = false;
  socket_.OnCancel = [&] { canceled = true; };
  platform::WindowHandle w = desktop_.CreateOwnWindow("Test", "", [&](const platform::Message&) {
    socket_.Cancel();
    return std::int64_t{0};
  });
  Connect(server.Address());
  desktop_.PostMessage(w, platform::msg::kUser, 0, 0);
  auto start = Clock::now();
  EXPECT_THROW(socket_.ReadReply(), ECanceledError);
  EXPECT_LT(SecondsSince(start), 2.0);
  EXPECT_TRUE(canceled);
  EXPECT_EQ(errors_, std::vector<std::string>{"Operation has been canceled"});
  EXPECT_FALSE(socket_.IsConnected());
  // Every later wait ends the same way until the next reset.
  socket_.Open();
  EXPECT_THROW(socket_.ConnectSocket(), ECanceledError);
  socket_.Close();
  EXPECT_EQ(sockets_.OpenSockets(), 0);
}

TEST_F(MailSocketTest, StreamsGoOutInChunksWithProgress) {
  ScriptedServer server({"data", "send 250 ok"});
  Connect(server.Address());
  std::string body;
  for (int i = 0; i < 3000; ++i) body += "line " + std::to_string(i) + "\r\n";
  body += ".\r\n";
  std::istringstream stream(body);
  std::vector<std::pair<int, std::int64_t>> progress;
  socket_.OnProgress = [&](int percent, std::int64_t sent) { progress.emplace_back(percent, sent); };
  socket_.SendStream(stream);
  EXPECT_EQ(socket_.ReadReply(), 250);
  std::size_t chunks = (body.size() + TagSocket::kChunkSize - 1) / TagSocket::kChunkSize;
  ASSERT_EQ(progress.size(), chunks + 1);
  EXPECT_EQ(progress[chunks - 1], std::make_pair(100, static_cast<std::int64_t>(body.size())));
  EXPECT_EQ(progress.back(), std::make_pair(0, std::int64_t{0}));
  EXPECT_EQ(server.Finish(), (std::vector<std::string>{"DATA " + std::to_string(body.size() - 3), "END"}));
}

TEST_F(MailSocketTest, HostAndServiceLookups) {
  ScriptedServer server({"send 220 via localhost"}, 2);
  Connect("localhost:" + std::to_string(server.Port()));
  EXPECT_EQ(socket_.Address(), 0x7F000001u);
  EXPECT_FALSE(socket_.LocalHost().empty());
  EXPECT_EQ(socket_.ReadReply(), 220);
  socket_.Close();
  // Without a port: the service look-up, and the default port when it finds nothing.
  socket_.SetServiceName("wdx-no-such-service");
  socket_.SetDefaultPort(static_cast<std::uint16_t>(server.Port()));
  Connect("127.0.0.1");
  EXPECT_EQ(socket_.Port(), server.Port());
  EXPECT_EQ(socket_.ReadReply(), 220);
  socket_.Close();
  socket_.SetServiceName("");
  EXPECT_THROW(Connect("127.0.0.1"), ESocketError);
  EXPECT_EQ(errors_.back(), "Service name is required");
}

TEST_F(MailSocketTest, LibraryAndUsageErrors) {
  struct Case {
    std::function<void()> act;
    std::string text;
  };
  const Case cases[] = {
      {[&] { socket_.SetServer(""), socket_.Open(); }, "Server property is required"},
      {[&] { std::string l; socket_.ReadLine(l); }, "You have to connect to the server first"},
      {[&] { socket_.SendLine("x"); }, "You have to connect to the server first"},
      {[&] { socket_.SetWinsockLoaded(false), socket_.SetServer("127.0.0.1:1"), socket_.Open(); },
       "Winsock is not loaded"},
      {[&] { sockets_.SetLibraryMissing(true), socket_.SetWinsockLoaded(true); }, "Winsock not found"},
      {[&] { sockets_.SetLibraryMissing(false), sockets_.SetMissingFunction("WSAStartup"), socket_.SetWinsockLoaded(true); },
       "Function WSAStartup not found"},
  };
  for (const Case& c : cases) {
    try {
      c.act();
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const MailException& e) {
      EXPECT_EQ(e.what(), c.text);
    }
  }
  EXPECT_FALSE(WinsockAvailable(sockets_));
  sockets_.SetMissingFunction("");
  EXPECT_TRUE(WinsockAvailable(sockets_));
  EXPECT_FALSE(sockets_.IsLoaded());
}

}  // namespace
}  // namespace wdx::mail
