#include "player/mail/ras_component.h"

#include <gtest/gtest.h>

#include "platform/memory/bsd_sockets.h"
#include "platform/memory/memory_platform.h"
#include "player/mail/mail_socket.h"
#include "server_process.h"

namespace wdx::mail {
namespace {

using platform::MemoryRemoteAccess;
using Step = MemoryRemoteAccess::Step;
namespace rasstate = platform::rasstate;
using Function = platform::RemoteAccess::Function;

class RasComponentTest : public ::testing::Test {
 protected:
  RasComponentTest() {
    ras_.entries = {"Office", "Home ISP"};
    ras_.scripts["Home ISP"] = {{0, rasstate::kOpenPort, 0},         {500, rasstate::kConnectDevice, 0},
                                {4000, rasstate::kAuthenticate, 0},  {5000, rasstate::kAuthenticated, 0},
                                {5500, rasstate::kLogonNetwork, 0},  {6000, rasstate::kConnected, 0}};
    ras_.errorTexts[676] = "The line is busy.";
  }
  // A component made after the test has set up the phone book.
  TagRas& Component() {
    if (!component_) {
      component_ = std::make_unique<TagRas>(ras_, mem_.desktop, mem_.clock, mem_.desktop, mem_.boxes);
      component_->OnStatusChange = [this](const std::string& s) { statuses_.push_back(s); };
      component_->OnDisconnected = [this] { ++disconnects_; };
    }
    return *component_;
  }
  std::string DialError() {
    try {
      Component().Dial();
    } catch (const MailException& e) {
      return e.what();
    }
    return "";
  }

  platform::MemoryPlatform mem_;
  MemoryRemoteAccess& ras_ = mem_.remoteAccess;
  std::unique_ptr<TagRas> component_;
  std::vector<std::string> statuses_;
  int disconnects_ = 0;
};

TEST_F(RasComponentTest, DialsAnEntryAndHangsItUp) {
  TagRas& ras = Component();
  ras.SetService("Home ISP");
  ras.SetPassword("secret");
  ras.SetRemovePassword(false);
  EXPECT_EQ(DialError(), "");
  EXPECT_TRUE(ras.Connected());
  EXPECT_TRUE(ras.Dialled());
  EXPECT_EQ(statuses_, (std::vector<std::string>{"Initializing...", "Dialing...", "Verifying user name and password",
                                                 "User name and password verified", "Logging on to Network",
                                                 "Successfully connected"}));
  // The entry had no saved password: the component's is stored with it.
  ASSERT_EQ(ras_.storedParams.size(), 1u);
  EXPECT_EQ(ras_.storedParams[0].first.password, "secret");
  EXPECT_FALSE(ras_.storedParams[0].second);
  ASSERT_EQ(ras_.dials.size(), 1u);
  EXPECT_EQ(ras_.dials[0].entryName, "Home ISP");
  ras.Cancel();
  EXPECT_EQ(ras_.hangUps.size(), 1u);
  EXPECT_EQ(disconnects_, 1);
  EXPECT_FALSE(ras.Connected());
  EXPECT_TRUE(ras_.connections.empty());

  // A saved password is used as it is.
  EXPECT_EQ(DialError(), "");
  EXPECT_EQ(ras_.storedParams.size(), 1u);
  EXPECT_EQ(ras_.dials.back().password, "secret");
}

// A connection that is up already is used, and never hung up by the component.
TEST_F(RasComponentTest, ConnectionsThatAreUpAlready) {
  ras_.connections = {{0x77, "Office", ""}, {0x78, "Other", "192.168.5.9"}};
  TagRas& ras = Component();
  ras.SetService("Office");
  EXPECT_EQ(DialError(), "");
  EXPECT_TRUE(ras.Connected());
  EXPECT_FALSE(ras.Dialled());
  EXPECT_EQ(ras.Connection(), 0x77);
  ras.Cancel();
  EXPECT_TRUE(ras_.hangUps.empty());
  EXPECT_EQ(ras_.connections.size(), 2u);

  // Another entry's connection with an address counts only without ForceService.
  ras.SetService("Home ISP");
  ras.SetForceService(false);
  EXPECT_EQ(DialError(), "");
  EXPECT_EQ(ras.Connection(), 0x78);
  EXPECT_TRUE(ras_.dials.empty());
  ras.SetForceService(true);
  EXPECT_EQ(DialError(), "");
  EXPECT_EQ(ras_.dials.size(), 1u);

  // No service: nothing to dial.
  ras.Cancel();
  ras.SetService("");
  EXPECT_EQ(DialError(), "");
  EXPECT_TRUE(ras.Connected());
  EXPECT_EQ(ras_.dials.size(), 1u);
}

TEST_F(RasComponentTest, FailedDials) {
  TagRas& ras = Component();
  ras.SetService("Home ISP");
  // The line is busy after two seconds: the system's text, and the attempt hung up.
  ras_.scripts["Home ISP"] = {{0, rasstate::kOpenPort, 0}, {2000, rasstate::kConnectDevice, 676}};
  EXPECT_EQ(DialError(), "The line is busy.");
  EXPECT_EQ(ras.LastError(), 676u);
  EXPECT_EQ(ras_.hangUps.size(), 1u);
  EXPECT_FALSE(ras.Connected());

  // An error the system has no text for.
  ras_.scripts["Home ISP"] = {{0, rasstate::kConnectDevice, 678}};
  EXPECT_EQ(DialError(), "RAS error no 678");

  // A dial refused at once.
  ras_.dialError = 633;
  try {
    ras.Dial();
    FAIL() << "dialled";
  } catch (const ERASError& e) {
    EXPECT_EQ(e.Code(), 633u);
  }
  ras_.dialError = 0;

  // No answer at all: the time-out (on the platform's clock), and the attempt is hung up.
  ras_.scripts["Home ISP"] = {};
  std::uint32_t before = mem_.clock.TickCount();
  EXPECT_EQ(DialError(), "Operation timed out");
  EXPECT_GE(mem_.clock.TickCount() - before, 120000u);
  EXPECT_EQ(ras_.hangUps.size(), 3u);  // a dial refused at once left nothing to hang up
}

TEST_F(RasComponentTest, ACancelFromAMessageHandlerEndsTheDial) {
  TagRas& ras = Component();
  ras.SetService("Home ISP");
  platform::WindowHandle w = mem_.desktop.CreateOwnWindow("T", "", [&](const platform::Message&) {
    ras.Cancel();
    return std::int64_t{0};
  });
  mem_.desktop.PostMessage(w, platform::msg::kUser, 0, 0);
  EXPECT_EQ(DialError(), "Operation has been canceled");
  EXPECT_EQ(ras_.hangUps.size(), 1u);
}

TEST_F(RasComponentTest, ServiceNamesAndMissingPieces) {
  TagRas& ras = Component();
  ras.SetService("Nowhere");
  EXPECT_EQ(ras.Service(), "");
  ras.SetService("Office");
  ras_.connections = {{0x77, "Office", ""}};
  ras.Dial();
  ras.SetService("Home ISP");
  EXPECT_EQ(ras.Service(), "Office");
  ASSERT_EQ(mem_.boxes.shown.size(), 2u);
  EXPECT_EQ(mem_.boxes.shown[0].text, "Invalid service name");
  EXPECT_EQ(mem_.boxes.shown[1].text, "This property can be set only before\r\nestablishing the connection");

  // Without the library: no entries, every name refused, and a dial does nothing.
  ras_.available = false;
  TagRas none(ras_, mem_.desktop, mem_.clock, mem_.desktop, mem_.boxes);
  EXPECT_TRUE(none.Entries().empty());
  none.SetService("Office");
  EXPECT_EQ(mem_.boxes.shown.back().text, "TagRas component was unable to detect\r\nRAS on your system.");
  EXPECT_EQ(none.Error(600).what(), std::string());

  // A library without the dial function: no dial and no error.
  ras_.available = true;
  ras_.connections.clear();
  ras_.missing = {Function::kDial};
  TagRas noDial(ras_, mem_.desktop, mem_.clock, mem_.desktop, mem_.boxes);
  noDial.SetService("Home ISP");
  noDial.Dial();
  EXPECT_FALSE(noDial.Connected());
  EXPECT_TRUE(ras_.dials.empty());
}

TEST_F(RasComponentTest, StatusTextsAndLists) {
  TagRas& ras = Component();
  EXPECT_EQ(ras.StatusText(rasstate::kConnected), "Successfully connected");
  EXPECT_EQ(ras.StatusText(7), "");
  ras_.libraryStrings[129] = "Connected (system text)";
  EXPECT_EQ(ras.StatusText(rasstate::kConnected), "Connected (system text)");

  // More entries or connections than the lists hold.
  ras_.entries.assign(26, "E");
  ras.GetEntries();
  EXPECT_TRUE(ras.Entries().empty());
  EXPECT_EQ(ras.LastError(), platform::kRasBufferTooSmall);
  ras_.connections.assign(11, {1, "E", ""});
  EXPECT_THROW(ras.FindConnection(), ERASError);
}

TEST_F(RasComponentTest, MinimizesTheSystemsDialogAfterConnecting) {
  platform::WindowHandle dialog = mem_.desktop.AddForeignWindow("Connecting", "#32770", 9);
  TagRas& ras = Component();
  ras.SetService("Home ISP");
  ras.SetMinimizeAtConnect(true);
  EXPECT_EQ(DialError(), "");
  ASSERT_EQ(mem_.desktop.foreignMessages.size(), 1u);
  EXPECT_EQ(mem_.desktop.foreignMessages[0].window, dialog);
  EXPECT_EQ(mem_.desktop.foreignMessages[0].message, 0x0112u);
  EXPECT_EQ(mem_.desktop.foreignMessages[0].wparam, 0xF020u);
}

// A socket with a dial-up component dials before it connects and hangs up when it closes; a
// dial that fails leaves nothing connected.
TEST_F(RasComponentTest, ASocketDialsFirstAndHangsUpWhenItCloses) {
  platform::BsdSockets sockets;
  TagSocket socket(sockets, mem_.desktop);
  TagRas& ras = Component();
  ras.SetService("Home ISP");
  socket.SetRAS(&ras);
  socket.SetWinsockLoaded(true);
  testing::ScriptedServer server({"send 220 ready"});
  socket.SetServer(server.Address());
  socket.Open();
  EXPECT_EQ(ras_.dials.size(), 1u);
  socket.ConnectSocket();
  EXPECT_EQ(socket.ReadReply(), 220);
  socket.Close();
  EXPECT_EQ(ras_.hangUps.size(), 1u);

  ras_.dialError = 633;
  EXPECT_THROW(socket.Open(), ERASError);
  EXPECT_FALSE(socket.IsConnected());
}

}  // namespace
}  // namespace wdx::mail
